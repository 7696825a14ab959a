"""Pixel art of the button symbols. One character per pixel, top row first; the palette maps
each character to a colour. '.' is the button face, so the symbols sit on the face colour."""

FACE = (192, 192, 192)

PALETTE = {
    ".": FACE,
    "#": (24, 24, 24),       # outlines and plain symbols
    "g": (16, 150, 40),      # play
    "r": (200, 24, 24),      # stop, muted cross
    "b": (30, 80, 190),      # info, speaker
    "w": (255, 255, 255),
    "y": (240, 200, 40),     # about
    "d": (90, 90, 90),       # shading
}

PLAY = [
    "...............",
    ".....#.........",
    ".....##........",
    ".....#g#.......",
    ".....#gg#......",
    ".....#ggg#.....",
    ".....#ggg#.....",
    ".....#gg#......",
    ".....#g#.......",
    ".....##........",
    ".....#.........",
    "...............",
]

PREVIOUS = [
    "...............",
    "...............",
    "..##....#....#.",
    "..##...##...##.",
    "..##..###..###.",
    "..##.####.####.",
    "..##.####.####.",
    "..##..###..###.",
    "..##...##...##.",
    "..##....#....#.",
    "...............",
    "...............",
]

NEXT = [row[::-1] for row in PREVIOUS]

PAUSE = [
    "...............",
    "...............",
    "....##...##....",
    "....##...##....",
    "....##...##....",
    "....##...##....",
    "....##...##....",
    "....##...##....",
    "....##...##....",
    "....##...##....",
    "...............",
    "...............",
]

STOP = [
    "...............",
    "...............",
    "...#########...",
    "...#rrrrrrr#...",
    "...#rrrrrrr#...",
    "...#rrrrrrr#...",
    "...#rrrrrrr#...",
    "...#rrrrrrr#...",
    "...#rrrrrrr#...",
    "...#########...",
    "...............",
    "...............",
]

INFO = [
    ".....bbbbb.....",
    "...bbbbbbbbb...",
    "..bbbbbwbbbbb..",
    ".bbbbbbbbbbbbb.",
    ".bbbbbwwbbbbbb.",
    ".bbbbbbwbbbbbb.",
    ".bbbbbbwbbbbbb.",
    ".bbbbbbwbbbbbb.",
    "..bbbbbwbbbbb..",
    "..bbbbwwwbbbb..",
    "...bbbbbbbbb...",
    ".....bbbbb.....",
]

# The window grows downwards for the options; the shrink symbol points back up.
EXPAND = [
    "...............",
    "...............",
    "..###########..",
    "...............",
    "..###########..",
    "...#########...",
    "....#######....",
    ".....#####.....",
    "......###......",
    ".......#.......",
    "...............",
    "...............",
]

SHRINK = list(reversed(EXPAND))

ABOUT = [
    "....yyyyy....",
    "..yyyyyyyyy..",
    ".yyyy###yyyy.",
    ".yyy#yyy#yyy.",
    "yyyyyyyy#yyyy",
    "yyyyyyy#yyyyy",
    "yyyyyy#yyyyyy",
    "yyyyyy#yyyyyy",
    ".yyyyyyyyyyy.",
    ".yyyyy#yyyyy.",
    "..yyyyyyyyy..",
    "....yyyyy....",
]

# Shown on the button that switches the sound off: the speaker is playing.
SPEAKER_ON = [
    "...............",
    "......#........",
    ".....##...#....",
    "....#b#....#...",
    "####bb#..#..#..",
    "#bb#bb#...#.#..",
    "#bb#bb#...#.#..",
    "####bb#..#..#..",
    "....#b#....#...",
    ".....##...#....",
    "......#........",
    "...............",
]

# Shown on the button that switches the sound on again: the speaker is muted.
SPEAKER_OFF = [
    "...............",
    "......#........",
    ".....##........",
    "....#b#........",
    "####bb#..r..r..",
    "#bb#bb#...rr...",
    "#bb#bb#...rr...",
    "####bb#..r..r..",
    "....#b#........",
    ".....##........",
    "......#........",
    "...............",
]

# Image number -> art, for the run-length coded 256-colour button images.
BUTTONS = {
    1: PLAY,
    2: PREVIOUS,
    3: NEXT,
    4: PAUSE,
    5: STOP,
    6: INFO,
    7: EXPAND,
    8: SHRINK,
    11: SPEAKER_OFF,
    12: SPEAKER_ON,
}
