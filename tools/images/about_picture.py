"""The About picture, 70 x 89 pixels in 16 colours: a pair of beamed notes over a green valley
with a river, hills on both sides, the sun and a small house. The notes are pixel art; the
landscape is drawn from a few curves so that it stays easy to change."""

import math

WIDTH, HEIGHT = 70, 89

PALETTE = [
    (150, 200, 245),  # 0 sky, upper
    (190, 225, 250),  # 1 sky, lower
    (250, 220, 60),   # 2 sun
    (255, 255, 255),  # 3 cloud, highlights
    (110, 150, 200),  # 4 far hills
    (90, 170, 70),    # 5 near hills, light
    (50, 120, 50),    # 6 near hills, dark
    (60, 110, 200),   # 7 river
    (20, 20, 40),     # 8 notes
    (200, 60, 50),    # 9 roof
    (240, 230, 200),  # 10 wall
    (120, 80, 40),    # 11 door, trunks
    (30, 80, 35),     # 12 trees
    (140, 190, 230),  # 13 river highlight
    (100, 100, 120),  # 14 note shine
    (170, 210, 100),  # 15 meadow
]

# Two eighth notes joined by a beam; '#' note colour, '+' shine.
NOTES = [
    "......##############",
    "......##############",
    "......##############",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "......##..........##",
    "..######......######",
    ".##+####.....##+####",
    "#########...########",
    "########....########",
    ".######......######.",
    "..####........####..",
]

HOUSE = [
    "....99....",
    "...9999...",
    "..999999..",
    ".99999999.",
    "9999999999",
    ".aaaaaaaa.",
    ".aa.aa.aa.",
    ".aaaaabaa.",
    ".aaaaabaa.",
]

CODES = {"#": 8, "+": 14, "9": 9, "a": 10, "b": 11}


def _stamp(pixels, art, left, top):
    for dy, row in enumerate(art):
        for dx, ch in enumerate(row):
            if ch != ".":
                pixels[top + dy][left + dx] = CODES[ch]


def picture():
    """Rows of palette indices, top row first."""
    px = [[0] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            # Sky: two blues, mixed in a checker pattern where they meet.
            if y < 20 or (y < 28 and (x + y) % 2 == 0 and y < 24):
                px[y][x] = 0
            else:
                px[y][x] = 1
            far = 44 + 5 * math.sin(x * 0.11 + 0.6)
            # The valley: the ground rises towards both edges.
            near = 70 - 26 * (abs(x - 36) / 36.0) ** 1.6
            if y >= near:
                px[y][x] = 5 if (x < 36) == (y < near + 6) else 15
                if y > 80 or (y - near) > 14:
                    px[y][x] = 6 if (x * 3 + y) % 7 == 0 else 5
            elif y >= far:
                px[y][x] = 4
    # Sun with a white rim towards the sky.
    for y in range(2, 18):
        for x in range(50, 68):
            d = math.hypot(x - 59, y - 9)
            if d <= 6:
                px[y][x] = 2
            elif d <= 7 and y < 9:
                px[y][x] = 3
    # Cloud.
    for x, y, r in ((8, 34, 4), (13, 32, 5), (19, 34, 4)):
        for yy in range(y - r, y + r):
            for xx in range(x - r, x + r):
                if math.hypot(xx - x, yy - y) < r and 0 <= xx < WIDTH and yy < 37:
                    px[yy][xx] = 3
    # River winding down the middle of the valley, widening towards the front.
    for y in range(66, HEIGHT):
        centre = 36 + 5 * math.sin((y - 66) * 0.25)
        half = 1 + (y - 66) * 0.22
        for x in range(WIDTH):
            if abs(x - centre) <= half:
                px[y][x] = 13 if (x + y) % 5 == 0 else 7
    # Trees on the right slope.
    for tx, ty in ((52, 60), (57, 62), (62, 58)):
        for dy in range(5):
            for dx in range(-2 + dy // 2, 3 - dy // 2):
                px[ty + 4 - dy][tx + dx] = 12
        px[ty + 5][tx] = 11
    _stamp(px, HOUSE, 8, 55)
    _stamp(px, NOTES, 24, 6)
    return px
