#!/usr/bin/env python3
"""Draws the program icon (a note on a round blue face) as a Windows .ico with 16 x 16 and
32 x 32 images, 32 bits with alpha, stored the way Windows XP reads them (BMP, not PNG).
Usage: make_ico.py OUTPUT.ico"""
import math
import struct
import sys


def pixel(x, y, size):
    """RGBA of the icon at pixel centre (x, y) for an icon of the given size."""
    u = (x + 0.5) / size
    v = (y + 0.5) / size
    # the face: a disc with a lighter rim
    d = math.hypot(u - 0.5, v - 0.5)
    if d > 0.48:
        return (0, 0, 0, 0)
    colour = (40, 90, 200) if d < 0.42 else (110, 160, 240)
    # the note: a filled head and a stem with a flag, in white
    head = ((u - 0.42) / 0.13) ** 2 + ((v - 0.68) / 0.10) ** 2 <= 1.0
    stem = 0.51 <= u <= 0.57 and 0.22 <= v <= 0.68
    flag = 0.57 <= u <= 0.72 and 0.22 <= v <= 0.34 - (u - 0.57) * 0.5
    if head or stem or flag:
        colour = (255, 255, 255)
    return colour + (255,)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up, as in a BMP
        rows.append(b"".join(struct.pack("<BBBB", b, g, r, a)
                             for r, g, b, a in (pixel(x, y, size) for x in range(size))))
    mask_stride = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + bytes(mask_stride * size)


def main():
    sizes = (16, 32)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
