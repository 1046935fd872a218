#!/usr/bin/env python3
"""Draws the two pictures of the about box into 24-bit bitmaps.

    python3 app/res/make_dialog_images.py

The pictures are computed from simple shapes (a rounded square with the
waveform of a call, a disc with the maker's letter) so that a change is made
here and reviewed as text; the .bmp files beside this script are its output.
Standard library only.
"""

import math
import os
import struct

SIZE = 48
WHITE = (255, 255, 255)
BLUE_TOP = (40, 100, 210)
BLUE_BOTTOM = (0, 40, 128)
ORANGE_TOP = (250, 170, 60)
ORANGE_BOTTOM = (200, 90, 0)

# The maker's letter on a 7 x 9 grid, scaled up three times.
LETTER_B = [
    "######.",
    "##...##",
    "##...##",
    "##..##.",
    "######.",
    "##...##",
    "##...##",
    "##...##",
    "######.",
]


def blend(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def inside_rounded_square(x, y, size, radius):
    cx = min(max(x, radius), size - 1 - radius)
    cy = min(max(y, radius), size - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def product_picture():
    """A blue rounded square with the bars of a call's waveform."""
    pixels = [[WHITE] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if inside_rounded_square(x, y, SIZE, 9):
                pixels[y][x] = blend(BLUE_TOP, BLUE_BOTTOM, y / (SIZE - 1))
    middle = SIZE // 2
    for bar in range(9):
        x = 8 + bar * 4
        height = round(4 + 13 * abs(math.sin(bar * 0.9 + 0.4)) * (1 - abs(bar - 4) / 6))
        for y in range(middle - height, middle + height + 1):
            for dx in range(2):
                pixels[y][x + dx] = WHITE
    return pixels


def maker_picture():
    """An orange disc with the maker's letter in white."""
    pixels = [[WHITE] * SIZE for _ in range(SIZE)]
    centre = (SIZE - 1) / 2
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - centre) ** 2 + (y - centre) ** 2 <= (SIZE / 2 - 1) ** 2:
                pixels[y][x] = blend(ORANGE_TOP, ORANGE_BOTTOM, y / (SIZE - 1))
    scale = 3
    left = (SIZE - len(LETTER_B[0]) * scale) // 2 + 1
    top = (SIZE - len(LETTER_B) * scale) // 2
    for row, line in enumerate(LETTER_B):
        for column, cell in enumerate(line):
            if cell != "#":
                continue
            for dy in range(scale):
                for dx in range(scale):
                    pixels[top + row * scale + dy][left + column * scale + dx] = WHITE
    return pixels


def write_bmp(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(here, "about_product.bmp"), product_picture())
    write_bmp(os.path.join(here, "about_maker.bmp"), maker_picture())


if __name__ == "__main__":
    main()
