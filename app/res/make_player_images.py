#!/usr/bin/env python3
"""Draws the player's icons: the transport and bookmark buttons (32 x 32), the
three top buttons whose pictures carry their captions (64, 130 and 86 x 16),
and the status icons (16 x 16).

The pictures are described below as shapes (polygons, rectangles, circles) and
captions in a small pixel font, so that a change is made here and reviewed as
text; the .ico files beside this script are its output and are what the
resource compiler reads. Run it again after editing a shape:

    python3 app/res/make_player_images.py

Standard library only, so that remaking the images needs nothing installed.
Each shape is filled where its outline holds the pixel's centre; a filled
pixel next to an empty one takes a darker shade of its colour, which outlines
every shape by one pixel; the fill is shaded lighter at the top.
"""

import os
import struct

NAVY = (30, 80, 180)
GREEN = (40, 160, 40)
AMBER = (235, 150, 20)
RED = (205, 30, 30)
ORANGE = (240, 170, 40)
GOLD = (220, 180, 40)
PAPER = (255, 250, 215)
WHITE = (255, 255, 255)
GREY = (140, 140, 140)
TEXT = (20, 20, 20)
PENCIL = (240, 130, 20)


class Picture:
    """A picture of width x height pixels; None is a transparent pixel."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[None] * width for _ in range(height)]
        # Pixels that keep their colour exactly: captions and fine lines.
        self.plain = [[False] * width for _ in range(height)]

    def put(self, x, y, colour, plain=False):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour
            self.plain[y][x] = plain

    def polygon(self, points, colour):
        for y in range(self.height):
            for x in range(self.width):
                if inside(points, x + 0.5, y + 0.5):
                    self.put(x, y, colour)

    def rect(self, x0, y0, x1, y1, colour, plain=False):
        """Fills the pixels x0 <= x < x1, y0 <= y < y1."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour, plain)

    def circle(self, cx, cy, r, colour):
        for y in range(self.height):
            for x in range(self.width):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            self.put(x, y, colour, plain=True)

    def text(self, x, y, caption, colour=TEXT):
        """Writes caption with its top row at y; returns the x after it."""
        for ch in caption:
            glyph = FONT[ch]
            for row, line in enumerate(glyph):
                for col, mark in enumerate(line):
                    if mark == "#":
                        self.put(x + col, y + row, colour, plain=True)
            x += len(glyph[0]) + 1
        return x

    def finished(self):
        """The pixels with outlines and shading applied."""
        out = [row[:] for row in self.pixels]
        for y in range(self.height):
            for x in range(self.width):
                colour = self.pixels[y][x]
                if colour is None or self.plain[y][x]:
                    continue
                edge = any(
                    not (0 <= x + dx < self.width and 0 <= y + dy < self.height)
                    or self.pixels[y + dy][x + dx] is None
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                )
                if edge:
                    out[y][x] = shade(colour, 0.55)
                else:
                    out[y][x] = shade(colour, 1.25 - 0.4 * y / self.height)
        return out


def inside(points, px, py):
    """Even-odd rule: whether (px, py) lies inside the polygon."""
    result = False
    n = len(points)
    for i in range(n):
        x0, y0 = points[i]
        x1, y1 = points[(i + 1) % n]
        if (y0 > py) != (y1 > py):
            cross = x0 + (py - y0) * (x1 - x0) / (y1 - y0)
            if px < cross:
                result = not result
    return result


def shade(colour, factor):
    return tuple(max(0, min(255, round(c * factor))) for c in colour)


# A small proportional font: capitals 9 rows high, small letters 6 above the
# base line (row 8), the tail of "y" two rows below it.
FONT = {
    " ": ["..."] * 9,
    "C": [".###.", "#...#", "#....", "#....", "#....", "#....", "#....", "#...#", ".###."],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#....", "#....", "#...."],
    "H": ["#...#", "#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", "#...#"],
    "R": ["####.", "#...#", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#", "#...#"],
    "a": [".....", ".....", ".....", ".###.", "....#", ".####", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".....", ".###.", "#...#", "#####", "#....", "#...#", ".###."],
    "f": ["..##", ".#..", ".#..", "####", ".#..", ".#..", ".#..", ".#..", ".#.."],
    "i": [".", "#", ".", "#", "#", "#", "#", "#", "#"],
    "l": ["#", "#", "#", "#", "#", "#", "#", "#", "#"],
    "o": [".....", ".....", ".....", ".###.", "#...#", "#...#", "#...#", "#...#", ".###."],
    "r": ["....", "....", "....", "#.##", "##..", "#...", "#...", "#...", "#..."],
    "s": ["....", "....", "....", ".###", "#...", ".##.", "...#", "...#", "###."],
    "t": ["...", ".#.", ".#.", "###", ".#.", ".#.", ".#.", ".#.", "..#"],
    "v": [".....", ".....", ".....", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "w": [".......", ".......", ".......", "#.....#", "#.....#", "#..#..#", "#..#..#",
          ".#.#.#.", ".#...#."],
    "y": [".....", ".....", ".....", "#...#", "#...#", "#...#", "#...#", ".####", "....#",
          "#...#", ".###."],
}


# ---------------------------------------------------------------------------
# Transport and bookmark buttons, 32 x 32.


def left_double_arrow(p):
    p.polygon([(16, 6), (4, 16), (16, 26)], NAVY)
    p.polygon([(28, 6), (16, 16), (28, 26)], NAVY)


def left_arrow_with_bar(p):
    p.rect(5, 6, 9, 26, NAVY)
    p.polygon([(25, 6), (10, 16), (25, 26)], NAVY)


def right_triangle(p):
    p.polygon([(9, 5), (26, 16), (9, 27)], GREEN)


def two_bars(p):
    p.rect(8, 6, 14, 26, AMBER)
    p.rect(18, 6, 24, 26, AMBER)


def square(p):
    p.rect(7, 7, 25, 25, RED)


def bar_with_right_arrow(p):
    p.polygon([(7, 6), (22, 16), (7, 26)], NAVY)
    p.rect(23, 6, 27, 26, NAVY)


def right_double_arrow(p):
    p.polygon([(4, 6), (16, 16), (4, 26)], NAVY)
    p.polygon([(16, 6), (28, 16), (16, 26)], NAVY)


def ribbon(p):
    p.polygon([(3, 3), (16, 3), (16, 28), (9.5, 21), (3, 28)], GREEN)


def ribbon_with_down_arrow(p):
    ribbon(p)
    p.rect(21, 5, 26, 17, NAVY)
    p.polygon([(17, 16), (30, 16), (23.5, 26)], NAVY)


def ribbon_with_up_arrow(p):
    ribbon(p)
    p.polygon([(17, 15), (30, 15), (23.5, 5)], NAVY)
    p.rect(21, 14, 26, 26, NAVY)


def ribbon_with_red_cross(p):
    ribbon(p)
    p.polygon([(18, 9), (21, 9), (30, 22), (27, 22)], RED)
    p.polygon([(27, 9), (30, 9), (21, 22), (18, 22)], RED)


# ---------------------------------------------------------------------------
# The top buttons: their captions with a picture, 16 rows high.


def file_caption(p):
    x = p.text(6, 3, "File")
    p.polygon([(x + 5, 7), (x + 14, 7), (x + 9.5, 12)], TEXT)


def calls_for_review_caption(p):
    p.rect(2, 3, 8, 5, ORANGE)
    p.rect(2, 5, 17, 14, ORANGE)
    p.rect(13, 11, 20, 14, GREEN)
    p.rect(15, 9, 18, 16, GREEN)
    p.text(24, 3, "Calls for Review")


def history_caption(p):
    p.circle(8, 8, 7, WHITE)
    p.line(8, 8, 8, 3, TEXT)
    p.line(8, 8, 11, 10, TEXT)
    p.polygon([(17, 3), (24, 8), (17, 13)], GREEN)
    p.text(28, 3, "History")


# ---------------------------------------------------------------------------
# Status icons, 16 x 16.


def blue_exclamation(p):
    p.polygon([(5, 1), (11, 1), (9.5, 10), (6.5, 10)], NAVY)
    p.rect(6, 12, 10, 16, NAVY)


def green_ribbon(p):
    p.polygon([(3, 1), (13, 1), (13, 16), (8, 11), (3, 16)], GREEN)


def note_pad_with_pencil(p):
    p.rect(1, 2, 12, 16, PAPER)
    for y in (5, 8, 11):
        p.rect(3, y, 10, y + 1, GREY, plain=True)
    p.polygon([(13, 0), (16, 3), (9, 10), (6, 10), (6, 7)], PENCIL)


def padlock(p):
    p.rect(4, 1, 12, 3, GREY)
    p.rect(4, 3, 6, 8, GREY)
    p.rect(10, 3, 12, 8, GREY)
    p.rect(2, 7, 14, 16, GOLD)
    p.rect(7, 10, 9, 13, TEXT, plain=True)


def empty(p):
    pass


# ---------------------------------------------------------------------------
# The icon file format: one image per file, 24-bit colours and the AND mask
# that makes the empty pixels clear, both bottom-up.


def icon_image(pixels):
    height, width = len(pixels), len(pixels[0])
    colours = bytearray()
    mask = bytearray()
    mask_stride = ((width + 31) // 32) * 4
    colour_stride = (width * 3 + 3) & ~3
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        line = bytearray()
        for x, colour in enumerate(row):
            if colour is None:
                line += bytes((0, 0, 0))
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = colour
                line += bytes((b, g, r))
        colours += line + bytes(colour_stride - len(line))
        mask += bits
    info = struct.pack(
        "<IiiHHIIiiII", 40, width, height * 2, 1, 24, 0, len(colours) + len(mask), 0, 0, 0, 0
    )
    return info + bytes(colours) + bytes(mask)


def ico_bytes(pixels):
    image = icon_image(pixels)
    height, width = len(pixels), len(pixels[0])
    if width > 255 or height > 255:
        raise ValueError("an icon directory holds sizes below 256")
    out = struct.pack("<HHH", 0, 1, 1)
    out += struct.pack("<BBBBHHII", width, height, 0, 0, 1, 24, len(image), 6 + 16)
    return out + image


PICTURES = [
    # file, width, height, drawing
    ("player_back30.ico", 32, 32, left_double_arrow),
    ("player_back10.ico", 32, 32, left_arrow_with_bar),
    ("player_play.ico", 32, 32, right_triangle),
    ("player_pause.ico", 32, 32, two_bars),
    ("player_stop.ico", 32, 32, square),
    ("player_forward10.ico", 32, 32, bar_with_right_arrow),
    ("player_forward30.ico", 32, 32, right_double_arrow),
    ("player_bookmark_start.ico", 32, 32, ribbon_with_down_arrow),
    ("player_bookmark_end.ico", 32, 32, ribbon_with_up_arrow),
    ("player_bookmark_clear.ico", 32, 32, ribbon_with_red_cross),
    ("player_file.ico", 64, 16, file_caption),
    ("player_review.ico", 130, 16, calls_for_review_caption),
    ("player_history.ico", 86, 16, history_caption),
    ("status_important.ico", 16, 16, blue_exclamation),
    ("status_bookmark.ico", 16, 16, green_ribbon),
    ("status_comment.ico", 16, 16, note_pad_with_pencil),
    ("status_encrypted.ico", 16, 16, padlock),
    ("status_off.ico", 16, 16, empty),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, width, height, draw in PICTURES:
        picture = Picture(width, height)
        draw(picture)
        with open(os.path.join(here, name), "wb") as f:
            f.write(ico_bytes(picture.finished()))


if __name__ == "__main__":
    main()
