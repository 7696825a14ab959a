"""Writes the program's images as BMP files into a folder: image1.bmp .. image12.bmp.
Images 1 to 8, 11 and 12 are 15 x 12 pixels, 256 colours, RLE8; image 9 is 13 x 12 and
image 10 (the About picture) 70 x 89, both 16 colours, uncompressed."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import about_picture  # noqa: E402
import bmp_writer  # noqa: E402
import button_art  # noqa: E402


def _indexed(art):
    """Palette and rows of indices for character art, colours in order of first use."""
    order = []
    for row in art:
        for ch in row:
            if ch not in order:
                order.append(ch)
    rows = [[order.index(ch) for ch in row] for row in art]
    return [button_art.PALETTE[ch] for ch in order], rows


def _check(art, width, height, name):
    if len(art) != height or any(len(row) != width for row in art):
        raise SystemExit(f"make_images: {name} is not {width} x {height}")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    files = {}
    for number, art in button_art.BUTTONS.items():
        _check(art, 15, 12, f"image {number}")
        palette, rows = _indexed(art)
        files[number] = bmp_writer.write_rle8(rows, palette)
    _check(button_art.ABOUT, 13, 12, "image 9")
    palette, rows = _indexed(button_art.ABOUT)
    files[9] = bmp_writer.write_4bit(rows, palette)
    files[10] = bmp_writer.write_4bit(about_picture.picture(), about_picture.PALETTE)
    for number, data in sorted(files.items()):
        with open(os.path.join(out, f"image{number}.bmp"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
