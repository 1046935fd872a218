#!/usr/bin/env python3
"""Draws the scoring dialog's pictures: the three 16 x 16 icons beside the
scorer, a question's bias and the total, and the six 120 x 16 mark pictures
of a scaled question (five stars, as many filled as half the mark, and the
mark's word).

The mark pictures are 8-bit bitmaps whose colour table starts with the white
background: the dialog loads them with their first pixel's colour made the
window colour, which only works through a colour table. Stars are drawn with
4 x 4 supersampling; words in a small pixel font. Run it again after changing
a drawing:

    python3 app/res/make_scoring_images.py

Standard library only, so that remaking the images needs nothing installed.
"""

import math
import os
import struct

from make_calllist_images import Canvas, draw, ico_bytes

INK = (40, 40, 48)
WHITE = (255, 255, 255)
RED = (206, 36, 36)
GOLD = (246, 188, 24)
GOLD_EDGE = (176, 120, 10)
EMPTY = (228, 228, 232)
EMPTY_EDGE = (150, 150, 158)
BLUE = (36, 96, 200)
LIGHT_BLUE = (150, 190, 245)
ORANGE = (236, 130, 24)
GREEN = (34, 150, 60)

MARK_WIDTH, MARK_HEIGHT = 120, 16
# The button draws its radio circle left of the picture; with the picture
# starting about 17 pixels in (as Wine draws it), the star centres fall in the middle of the
# click bands (20-33, 34-46, 47-59, 60-72, 73 on).
STAR_FIRST_X, STAR_STEP, STAR_RADIUS = 11.0, 13.0, 6.4
WORD_X = 72

# Capitals and tall letters 8 rows high, small letters 5; base line row 7.
FONT = {
    "E": ["####", "#...", "#...", "###.", "#...", "#...", "#...", "####"],
    "F": ["####", "#...", "#...", "###.", "#...", "#...", "#...", "#..."],
    "G": [".###.", "#...#", "#....", "#....", "#.###", "#...#", "#...#", ".###."],
    "P": ["###.", "#..#", "#..#", "###.", "#...", "#...", "#...", "#..."],
    "a": ["....", "....", "....", ".##.", "...#", ".###", "#..#", ".###"],
    "c": ["...", "...", "...", ".##", "#..", "#..", "#..", ".##"],
    "d": ["...#", "...#", "...#", ".###", "#..#", "#..#", "#..#", ".###"],
    "e": ["....", "....", "....", ".##.", "#..#", "####", "#...", ".###"],
    "i": [".", "#", ".", "#", "#", "#", "#", "#"],
    "l": ["#", "#", "#", "#", "#", "#", "#", "#"],
    "n": ["...", "...", "...", "##.", "#.#", "#.#", "#.#", "#.#"],
    "o": ["....", "....", "....", ".##.", "#..#", "#..#", "#..#", ".##."],
    "r": ["...", "...", "...", "#.#", "##.", "#..", "#..", "#.."],
    "s": ["...", "...", "...", ".##", "#..", ".#.", "..#", "##."],
    "t": ["...", ".#.", ".#.", "###", ".#.", ".#.", ".#.", "..#"],
    "x": ["...", "...", "...", "#.#", "#.#", ".#.", "#.#", "#.#"],
}

WORDS = {0: ("Failed", RED), 2: ("Poor", INK), 4: ("Fair", INK), 6: ("Passed", INK),
         8: ("Good", INK), 10: ("Excellent", INK)}
RESOURCE_NAMES = {0: "mark_0", 2: "mark_2", 4: "mark_4", 6: "mark_6", 8: "mark_8", 10: "mark_10"}


def star_points(cx, cy, r):
    points = []
    for i in range(10):
        angle = math.radians(-90 + 36 * i)
        radius = r if i % 2 == 0 else r * 0.45
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def inside_polygon(points, x, y):
    hit = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def mark_picture(mark):
    """Rows of (r, g, b) on white."""
    s = 4
    rows = [[WHITE] * MARK_WIDTH for _ in range(MARK_HEIGHT)]
    filled = mark // 2
    for k in range(5):
        cx = STAR_FIRST_X + STAR_STEP * k
        outer = star_points(cx, 8.0, STAR_RADIUS)
        inner = star_points(cx, 8.2, STAR_RADIUS - 1.5)
        fill, edge = (GOLD, GOLD_EDGE) if k < filled else (EMPTY, EMPTY_EDGE)
        for py in range(MARK_HEIGHT):
            for px in range(int(cx - 8), int(cx + 9)):
                acc = [0.0, 0.0, 0.0]
                for sy in range(s):
                    for sx in range(s):
                        x = px + (sx + 0.5) / s
                        y = py + (sy + 0.5) / s
                        if inside_polygon(inner, x, y):
                            colour = fill
                        elif inside_polygon(outer, x, y):
                            colour = edge
                        else:
                            colour = rows[py][px]
                        for c in range(3):
                            acc[c] += colour[c]
                rows[py][px] = tuple(round(a / (s * s)) for a in acc)
    word, colour = WORDS[mark]
    x = WORD_X
    for ch in word:
        glyph = FONT[ch]
        for gy, line in enumerate(glyph):
            for gx, bit in enumerate(line):
                if bit == "#":
                    rows[4 + gy][x + gx] = colour
        x += len(glyph[0]) + 1
    return rows


def bmp8_bytes(rows):
    """An 8-bit bitmap; colour 0 is the first pixel's colour (the background)."""
    palette = [rows[0][0]]
    index = {rows[0][0]: 0}
    for row in rows:
        for colour in row:
            if colour not in index:
                index[colour] = len(palette)
                palette.append(colour)
    if len(palette) > 256:
        raise ValueError("too many colours for an 8-bit picture: %d" % len(palette))
    width, height = len(rows[0]), len(rows)
    stride = (width + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        pixels += bytes(index[c] for c in row) + b"\0" * (stride - width)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + bytes(pixels)


def icon_user(c):
    """A person: head and shoulders."""
    c.circle(8, 5, 3.4, BLUE)
    c.circle(8, 5, 2.2, LIGHT_BLUE)
    c.ellipse(8, 15.5, 6.5, 6, BLUE)
    c.ellipse(8, 15.5, 5.2, 4.8, LIGHT_BLUE)


def icon_bias(c):
    """A percent sign."""
    c.ring(4.5, 4.5, 2.4, 1.6, ORANGE)
    c.ring(11.5, 11.5, 2.4, 1.6, ORANGE)
    c.line(12.5, 2, 3.5, 14, 1.8, ORANGE)


def icon_total(c):
    """A sum sign."""
    c.polygon([(3, 2), (13, 2), (13, 5), (11.6, 5), (11.6, 3.6), (6.2, 3.6), (9.6, 8),
               (6.2, 12.4), (11.6, 12.4), (11.6, 11), (13, 11), (13, 14), (3, 14), (3, 13.2),
               (7.6, 8), (3, 2.8)], GREEN)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {
        "score_user.ico": ico_bytes([draw(icon_user, 16)]),
        "score_bias.ico": ico_bytes([draw(icon_bias, 16)]),
        "score_total.ico": ico_bytes([draw(icon_total, 16)]),
    }
    for mark, name in RESOURCE_NAMES.items():
        outputs[name + ".bmp"] = bmp8_bytes(mark_picture(mark))
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
