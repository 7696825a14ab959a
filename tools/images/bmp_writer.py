"""Writes Windows BMP files: 4-bit uncompressed and 8-bit run-length coded (RLE8)."""

import struct


def _file(info_header, palette, pixels):
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 14 + len(info_header) + len(table)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return header + info_header + table + pixels


def _info(width, height, bits, compression, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image_size,
                       2835, 2835, colours, 0)


def rle8_row(row):
    """One row as RLE8 pairs: runs of two or more as (count, value); other stretches of three or
    more as an absolute run padded to an even length; the rest as runs of one."""
    out = bytearray()
    i = 0
    n = len(row)
    while i < n:
        run = 1
        while i + run < n and run < 255 and row[i + run] == row[i]:
            run += 1
        if run >= 2:
            out += bytes((run, row[i]))
            i += run
            continue
        j = i + 1  # collect a literal stretch that ends where a run of two begins
        while j < n and j - i < 255 and not (j + 1 < n and row[j] == row[j + 1]):
            j += 1
        literal = row[i:j]
        if len(literal) >= 3:
            out += bytes((0, len(literal))) + bytes(literal)
            if len(literal) % 2:
                out += b"\0"
        else:
            for value in literal:
                out += bytes((1, value))
        i = j
    return bytes(out)


def write_rle8(rows, palette):
    """rows: top row first, each a list of palette indices. The palette is padded to 256."""
    height, width = len(rows), len(rows[0])
    palette = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    data = bytearray()
    for k, row in enumerate(reversed(rows)):
        data += rle8_row(row)
        data += b"\0\1" if k == height - 1 else b"\0\0"
    return _file(_info(width, height, 8, 1, len(data), 256), palette, bytes(data))


def write_4bit(rows, palette):
    """rows: top row first, each a list of palette indices 0..15. The palette is padded to 16."""
    height, width = len(rows), len(rows[0])
    palette = list(palette) + [(0, 0, 0)] * (16 - len(palette))
    stride = (width * 4 + 31) // 32 * 4
    data = bytearray()
    for row in reversed(rows):
        packed = bytearray(stride)
        for x, value in enumerate(row):
            packed[x // 2] |= value << (0 if x % 2 else 4)
        data += packed
    return _file(_info(width, height, 4, 0, len(data), 16), palette, bytes(data))
