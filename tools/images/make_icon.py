#!/usr/bin/env python3
"""Writes the program's desktop icon as a PNG: a music note over green hills in a blue valley
sky, drawn on a 48 x 48 grid. Other sizes sample that grid (4 x 4 samples a pixel, for smooth
edges). Standard library only. Usage: make_icon.py OUTPUT.png [SIZE]"""
import struct
import sys
import zlib

SIZE = 48
SKY_TOP, SKY_BOTTOM = (70, 130, 200), (170, 210, 240)
HILL_BACK, HILL_FRONT = (60, 140, 70), (40, 110, 50)
NOTE = (250, 250, 250)
OUTLINE = (30, 30, 60)


def hill(x, centre, height, width):
    d = (x - centre) / width
    return SIZE - height * max(0.0, 1.0 - d * d)


def note_covers(x, y):
    head = ((x - 20) / 6.0) ** 2 + ((y - 31) / 4.5) ** 2 <= 1.0
    stem = 24 <= x <= 26 and 10 <= y <= 31
    flag = 26 <= x <= 26 + (y - 10) * 0.8 and 10 <= y <= 18 and x <= 33
    return head or stem or flag


def pixel(x, y):
    if note_covers(x, y):
        return NOTE
    if any(note_covers(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
        return OUTLINE
    if y >= hill(x, 38, 20, 26):
        return HILL_FRONT
    if y >= hill(x, 8, 24, 30):
        return HILL_BACK
    t = y / (SIZE - 1)
    return tuple(round(a + (b - a) * t) for a, b in zip(SKY_TOP, SKY_BOTTOM))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def scaled_pixel(x, y, size):
    if size == SIZE:
        return pixel(x, y)
    steps = 4
    scale = SIZE / size
    samples = [pixel((x + (i + 0.5) / steps) * scale - 0.5, (y + (j + 0.5) / steps) * scale - 0.5)
               for i in range(steps) for j in range(steps)]
    return tuple(round(sum(s[k] for s in samples) / len(samples)) for k in range(3))


def main():
    size = int(sys.argv[2]) if len(sys.argv) > 2 else SIZE
    rows = b"".join(b"\0" + bytes(c for x in range(size) for c in scaled_pixel(x, y, size))
                    for y in range(size))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9))
    png += chunk(b"IEND", b"")
    with open(sys.argv[1], "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
