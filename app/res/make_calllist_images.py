#!/usr/bin/env python3
"""Draws the call list's icons and the header's sort arrows.

The pictures are small vector drawings (polygons, circles, strokes) rendered
with 4 x 4 supersampling into 32-bit icons with alpha; the .ico and .bmp files
beside this script are its output and are what the resource compiler reads.
Run it again after changing a drawing:

    python3 app/res/make_calllist_images.py

Standard library only, so that remaking the images needs nothing installed.
"""

import math
import os
import struct

SUPERSAMPLE = 4

# Colours (r, g, b).
INK = (40, 40, 48)
WHITE = (255, 255, 255)
PAPER = (250, 250, 246)
GREY = (150, 150, 156)
LIGHT_GREY = (214, 214, 220)
GREEN = (34, 150, 60)
LIGHT_GREEN = (120, 210, 110)
BLUE = (36, 96, 200)
LIGHT_BLUE = (150, 190, 245)
NAVY = (20, 50, 120)
RED = (206, 36, 36)
LIGHT_RED = (250, 140, 130)
ORANGE = (236, 130, 24)
YELLOW = (246, 204, 40)
LIGHT_YELLOW = (255, 236, 150)
BROWN = (150, 96, 40)
TAN = (214, 170, 110)
PURPLE = (120, 70, 170)


class Canvas:
    """An RGBA picture drawn at SUPERSAMPLE times its size, then reduced."""

    def __init__(self, size):
        self.size = size
        self.scale = SUPERSAMPLE
        n = size * self.scale
        self.n = n
        self.px = [[(0, 0, 0, 0.0)] * n for _ in range(n)]

    def _blend(self, x, y, colour, alpha=1.0):
        r0, g0, b0, a0 = self.px[y][x]
        a = alpha + a0 * (1 - alpha)
        if a <= 0:
            return
        mix = lambda c, c0: (c * alpha + c0 * a0 * (1 - alpha)) / a
        self.px[y][x] = (mix(colour[0], r0), mix(colour[1], g0), mix(colour[2], b0), a)

    def fill(self, inside, colour, alpha=1.0):
        """Paints every subpixel whose centre (in picture units) is inside."""
        s = self.scale
        for y in range(self.n):
            fy = (y + 0.5) / s
            for x in range(self.n):
                if inside((x + 0.5) / s, fy):
                    self._blend(x, y, colour, alpha)

    # Shapes in picture units (0 .. size).
    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)

    def frame(self, x0, y0, x1, y1, colour, width=1.0):
        self.fill(
            lambda x, y: x0 <= x < x1
            and y0 <= y < y1
            and not (x0 + width <= x < x1 - width and y0 + width <= y < y1 - width),
            colour,
        )

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1, colour)

    def circle(self, cx, cy, r, colour):
        self.ellipse(cx, cy, r, r, colour)

    def ring(self, cx, cy, r, width, colour, start=0.0, sweep=360.0):
        """A circular band; start and sweep in degrees, clockwise from 3 o'clock."""

        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if not (r - width / 2 <= d <= r + width / 2):
                return False
            angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
            return (angle - start) % 360 <= sweep

        self.fill(inside, colour)

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit

        self.fill(inside, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2

        self.fill(inside, colour)

    def wave(self, x0, x1, cy, amplitude, cycles, width, colour):
        steps = 24
        last = None
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = cy - amplitude * math.sin(2 * math.pi * cycles * i / steps)
            if last:
                self.line(last[0], last[1], x, y, width, colour)
            last = (x, y)

    def pixels(self):
        """The picture at its own size: rows of (r, g, b, a 0..255)."""
        s = self.scale
        rows = []
        for py in range(self.size):
            row = []
            for px in range(self.size):
                r = g = b = a = 0.0
                for y in range(py * s, py * s + s):
                    for x in range(px * s, px * s + s):
                        cr, cg, cb, ca = self.px[y][x]
                        r += cr * ca
                        g += cg * ca
                        b += cb * ca
                        a += ca
                if a > 0:
                    row.append((round(r / a), round(g / a), round(b / a), round(a / (s * s) * 255)))
                else:
                    row.append((0, 0, 0, 0))
            rows.append(row)
        return rows


# ---------------------------------------------------------------------------
# Shared parts, drawn on a 24-unit grid and scaled by k for other sizes.


def envelope(c, k, x, y, w, h):
    c.rect(x * k, y * k, (x + w) * k, (y + h) * k, INK)
    c.rect((x + 1) * k, (y + 1) * k, (x + w - 1) * k, (y + h - 1) * k, PAPER)
    c.line((x + 1) * k, (y + 1.5) * k, (x + w / 2) * k, (y + h * 0.6) * k, 1.2 * k, INK)
    c.line((x + w - 1) * k, (y + 1.5) * k, (x + w / 2) * k, (y + h * 0.6) * k, 1.2 * k, INK)


def page(c, k, x, y, w, h):
    fold = 4
    outline = [(x, y), (x + w - fold, y), (x + w, y + fold), (x + w, y + h), (x, y + h)]
    c.polygon([(px * k, py * k) for px, py in outline], INK)
    inner = [
        (x + 1, y + 1),
        (x + w - fold - 0.5, y + 1),
        (x + w - 1, y + fold + 0.5),
        (x + w - 1, y + h - 1),
        (x + 1, y + h - 1),
    ]
    c.polygon([(px * k, py * k) for px, py in inner], PAPER)


def wave_badge(c, k, x, y):
    c.circle((x + 5) * k, (y + 5) * k, 5 * k, GREEN)
    c.wave((x + 1.5) * k, (x + 8.5) * k, (y + 5) * k, 2.2 * k, 1.5, 1.3 * k, WHITE)


def zel_badge(c, k, x, y):
    c.circle((x + 5) * k, (y + 5) * k, 5 * k, ORANGE)
    z = [(2.5, 2.5), (7.5, 2.5), (7.5, 3.8), (4.4, 6.2), (7.5, 6.2), (7.5, 7.5), (2.5, 7.5),
         (2.5, 6.2), (5.6, 3.8), (2.5, 3.8)]
    c.polygon([((x + px) * k, (y + py) * k) for px, py in z], WHITE)


def arrow_out(c, k):
    c.polygon([(p[0] * k, p[1] * k) for p in [(13, 7), (19, 7), (19, 4), (23.5, 9), (19, 14),
                                              (19, 11), (13, 11)]], BLUE)


def exclamation(c, k, cx, colour):
    c.polygon([((cx - 1.8) * k, 3 * k), ((cx + 1.8) * k, 3 * k), ((cx + 1) * k, 14.5 * k),
               ((cx - 1) * k, 14.5 * k)], colour)
    c.circle(cx * k, 18.5 * k, 1.9 * k, colour)


def folder(c, k, body, tab, dark):
    c.polygon([(p[0] * k, p[1] * k) for p in [(1, 5), (9, 5), (11, 7.5), (23, 7.5), (23, 20),
                                              (1, 20)]], dark)
    c.polygon([(p[0] * k, p[1] * k) for p in [(2, 6), (8.5, 6), (10.5, 8.5), (22, 8.5),
                                              (22, 19), (2, 19)]], tab)
    c.polygon([(p[0] * k, p[1] * k) for p in [(2, 11), (22, 11), (22, 19), (2, 19)]], body)


# ---------------------------------------------------------------------------
# The button icons, 24 x 24.


def icon_play(c, k=1):
    c.circle(12 * k, 12 * k, 11 * k, GREEN)
    c.circle(12 * k, 12 * k, 9.5 * k, LIGHT_GREEN)
    c.polygon([(9 * k, 6.5 * k), (18 * k, 12 * k), (9 * k, 17.5 * k)], NAVY)


def icon_refresh(c, k=1):
    c.ring(12 * k, 12 * k, 8 * k, 3 * k, BLUE, start=200, sweep=140)
    c.ring(12 * k, 12 * k, 8 * k, 3 * k, BLUE, start=20, sweep=140)
    c.polygon([(17 * k, 1.5 * k), (22 * k, 7.5 * k), (14.5 * k, 8 * k)], BLUE)
    c.polygon([(7 * k, 22.5 * k), (2 * k, 16.5 * k), (9.5 * k, 16 * k)], BLUE)


def icon_search(c, k=1):
    c.line(14 * k, 14 * k, 21.5 * k, 21.5 * k, 4 * k, BROWN)
    c.circle(10 * k, 10 * k, 8 * k, INK)
    c.circle(10 * k, 10 * k, 6.3 * k, LIGHT_BLUE)
    c.ellipse(8 * k, 7.5 * k, 2.5 * k, 1.5 * k, WHITE)


def icon_email_wav(c, k=1):
    envelope(c, k, 1, 4, 18, 13)
    wave_badge(c, k, 13, 13)


def icon_email_zel(c, k=1):
    envelope(c, k, 1, 4, 18, 13)
    zel_badge(c, k, 13, 13)


def icon_export_wav(c, k=1):
    page(c, k, 2, 1, 14, 19)
    arrow_out(c, k)
    wave_badge(c, k, 13, 13)


def icon_export_zel(c, k=1):
    page(c, k, 2, 1, 14, 19)
    arrow_out(c, k)
    zel_badge(c, k, 13, 13)


def icon_mark(c, k=1):
    c.circle(12 * k, 12 * k, 11 * k, RED)
    c.circle(12 * k, 12 * k, 9.5 * k, LIGHT_RED)
    exclamation(c, k, 12, RED)


def icon_unmark(c, k=1):
    c.circle(12 * k, 12 * k, 11 * k, GREY)
    c.circle(12 * k, 12 * k, 9.5 * k, LIGHT_GREY)
    exclamation(c, k, 12, GREY)
    c.line(5 * k, 19 * k, 19 * k, 5 * k, 2.5 * k, RED)


def icon_annotate(c, k=1):
    page(c, k, 2, 1, 15, 20)
    for y in (7, 10.5, 14):
        c.line(5 * k, y * k, 12 * k, y * k, 1.2 * k, GREY)
    c.line(11 * k, 21 * k, 21 * k, 9 * k, 4 * k, ORANGE)
    c.line(19.5 * k, 10.8 * k, 21.8 * k, 8.2 * k, 4 * k, RED)
    c.polygon([(9.2 * k, 23 * k), (9.8 * k, 18.8 * k), (12.6 * k, 21.2 * k)], INK)


def icon_delete(c, k=1):
    c.rect(5 * k, 7 * k, 19 * k, 22 * k, INK)
    c.rect(6.2 * k, 8 * k, 17.8 * k, 21 * k, LIGHT_GREY)
    for x in (9, 12, 15):
        c.line(x * k, 10 * k, x * k, 19 * k, 1.3 * k, GREY)
    c.rect(3 * k, 4 * k, 21 * k, 6.5 * k, INK)
    c.rect(9 * k, 2 * k, 15 * k, 4.5 * k, INK)
    c.line(13 * k, 10 * k, 23 * k, 20 * k, 3 * k, RED)
    c.line(23 * k, 10 * k, 13 * k, 20 * k, 3 * k, RED)


def icon_reports(c, k=1):
    c.rect(2 * k, 21 * k, 22 * k, 22.5 * k, INK)
    c.rect(2 * k, 2 * k, 3.5 * k, 22 * k, INK)
    for x, h, colour in ((5.5, 8, BLUE), (10, 14, GREEN), (14.5, 10, ORANGE), (19, 17, RED)):
        c.rect(x * k, (21 - h) * k, (x + 3.5) * k, 21 * k, colour)


def icon_score_forms(c, k=1):
    c.rect(3 * k, 3 * k, 21 * k, 23 * k, BROWN)
    c.rect(4.5 * k, 4.5 * k, 19.5 * k, 21.5 * k, PAPER)
    c.rect(8 * k, 1 * k, 16 * k, 5 * k, GREY)
    for y in (9, 13.5, 18):
        c.line(6.5 * k, y * k, 8 * k, (y + 1.5) * k, 1.3 * k, GREEN)
        c.line(8 * k, (y + 1.5) * k, 10.5 * k, (y - 1.5) * k, 1.3 * k, GREEN)
        c.line(12 * k, y * k, 17.5 * k, y * k, 1.3 * k, GREY)


def icon_archive(c, k=1):
    c.rect(2 * k, 4 * k, 22 * k, 9 * k, BROWN)
    c.rect(3 * k, 9 * k, 21 * k, 22 * k, BROWN)
    c.rect(4 * k, 10 * k, 20 * k, 21 * k, TAN)
    c.rect(3 * k, 5 * k, 21 * k, 8 * k, TAN)
    c.rect(9 * k, 12 * k, 15 * k, 15 * k, BROWN)
    c.rect(10 * k, 13 * k, 14 * k, 14 * k, PAPER)


def icon_watcher(c, k=1):
    c.polygon([(1 * k, 12 * k), (6 * k, 6 * k), (12 * k, 4.5 * k), (18 * k, 6 * k),
               (23 * k, 12 * k), (18 * k, 18 * k), (12 * k, 19.5 * k), (6 * k, 18 * k)], INK)
    c.polygon([(2.8 * k, 12 * k), (7 * k, 7.2 * k), (12 * k, 6 * k), (17 * k, 7.2 * k),
               (21.2 * k, 12 * k), (17 * k, 16.8 * k), (12 * k, 18 * k), (7 * k, 16.8 * k)], WHITE)
    c.circle(12 * k, 12 * k, 5 * k, BLUE)
    c.circle(12 * k, 12 * k, 2.3 * k, INK)
    c.circle(10.5 * k, 10.3 * k, 1.1 * k, WHITE)


# ---------------------------------------------------------------------------
# The list kinds and the cells, 16 x 16 (the 24-unit drawings at two thirds,
# or drawings of their own).

K16 = 16 / 24


def kind_folder(c):
    folder(c, K16, LIGHT_BLUE, BLUE, NAVY)


def kind_custom(c):
    page(c, K16, 3, 1, 16, 21)
    for y in (7, 11, 15):
        c.circle(7 * K16, y * K16, 1.3 * K16, BLUE)
        c.line(10 * K16, y * K16, 15.5 * K16, y * K16, 1.5 * K16, GREY)
    c.polygon([(p[0] * K16, p[1] * K16) for p in [(19, 13), (20.6, 17), (24, 17), (21.2, 19.4),
                                                  (22.4, 23), (19, 20.8), (15.6, 23), (16.8, 19.4),
                                                  (14, 17), (17.4, 17)]], ORANGE)


def kind_history(c):
    c.circle(8, 8, 7.5, INK)
    c.circle(8, 8, 6.4, WHITE)
    for i in range(12):
        a = math.radians(i * 30)
        c.circle(8 + 5.3 * math.cos(a), 8 + 5.3 * math.sin(a), 0.45, GREY)
    c.line(8, 8, 8, 3.6, 1.3, INK)
    c.line(8, 8, 11.2, 9.8, 1.3, RED)


def kind_longest(c):
    for y, w, colour in ((2, 14, RED), (6, 11, ORANGE), (10, 8, YELLOW)):
        c.rect(1, y, 1 + w, y + 3, colour)
    c.rect(1, 14, 15, 15, INK)


def cell_plain(c):
    """The blank cell: nothing to see, so rows without a mark stay clean."""


def cell_important(c):
    c.polygon([(6, 1), (10, 1), (9, 10.5), (7, 10.5)], RED)
    c.circle(8, 13.3, 1.7, RED)


def cell_bookmark(c):
    c.polygon([(4, 1), (12, 1), (12, 15), (8, 11), (4, 15)], BLUE)
    c.polygon([(5.2, 2.2), (10.8, 2.2), (10.8, 12.2), (8, 9.4), (5.2, 12.2)], LIGHT_BLUE)


def cell_iso(c):
    c.circle(8, 8, 7.5, GREY)
    c.circle(8, 8, 6.5, LIGHT_GREY)
    c.ring(8, 8, 4.5, 1.6, LIGHT_BLUE, start=200, sweep=80)
    c.ring(8, 8, 4.5, 1.6, LIGHT_YELLOW, start=20, sweep=80)
    c.circle(8, 8, 2.2, GREY)
    c.circle(8, 8, 1.2, WHITE)


def cell_folder(c):
    folder(c, K16, LIGHT_YELLOW, YELLOW, BROWN)


def cell_zip(c):
    c.rect(2, 2, 14, 15, PURPLE)
    c.rect(3, 3, 13, 14, (200, 170, 235))
    for y in range(3, 12, 2):
        c.rect(7, y, 8, y + 1, INK)
        c.rect(8, y + 1, 9, y + 2, INK)
    c.rect(6.5, 11, 9.5, 14, INK)


def cell_encrypted(c):
    c.ring(8, 6, 3.6, 1.8, GREY, start=180, sweep=180)
    c.rect(4.4 - 0.9, 6, 4.4 + 0.9, 8.5, GREY)
    c.rect(11.6 - 0.9, 6, 11.6 + 0.9, 8.5, GREY)
    c.rect(2.5, 8, 13.5, 15, YELLOW)
    c.frame(2.5, 8, 13.5, 15, BROWN)
    c.circle(8, 11, 1.3, INK)
    c.rect(7.4, 11, 8.6, 13.5, INK)


# ---------------------------------------------------------------------------
# Output


def icon_image(rows):
    """One icon image: 32-bit colour with alpha, then the AND mask that
    renderers without alpha use; both bottom-up, mask rows padded to 4 bytes."""
    size = len(rows)
    colours = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colours += bytes((b, g, r, a))
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colours) + len(mask), 0, 0, 0, 0)
    return info + bytes(colours) + bytes(mask)


def ico_bytes(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = [icon_image(rows) for rows in images]
    for rows, blob in zip(images, blobs):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def draw(function, size, *args):
    canvas = Canvas(size)
    function(canvas, *args)
    return canvas.pixels()


def sort_bitmap(up):
    """A 9 x 5 triangle in the 3-D shadow grey on the button face grey, the
    two colours the loader maps to the user's own."""
    face, shadow = (192, 192, 192), (128, 128, 128)
    width, height = 9, 5
    rows = []
    for y in range(height):
        half = y if up else height - 1 - y
        rows.append([shadow if abs(x - 4) <= half else face for x in range(width)])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b in row:
            pixels += bytes((b, g, r))
        pixels += b"\0" * (stride - width * 3)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + bytes(pixels)


BUTTONS = [
    ("calllist_play", icon_play),
    ("calllist_refresh", icon_refresh),
    ("calllist_search", icon_search),
    ("calllist_email_wav", icon_email_wav),
    ("calllist_email_zel", icon_email_zel),
    ("calllist_export_wav", icon_export_wav),
    ("calllist_export_zel", icon_export_zel),
    ("calllist_mark", icon_mark),
    ("calllist_unmark", icon_unmark),
    ("calllist_annotate", icon_annotate),
    ("calllist_delete", icon_delete),
    ("calllist_reports", icon_reports),
    ("calllist_score_forms", icon_score_forms),
    ("calllist_archive", icon_archive),
    ("calllist_watcher", icon_watcher),
]

SMALL = [
    ("listkind_folder", kind_folder),
    ("listkind_custom", kind_custom),
    ("listkind_history", kind_history),
    ("listkind_longest", kind_longest),
    ("cell_plain", cell_plain),
    ("cell_important", cell_important),
    ("cell_bookmark", cell_bookmark),
    ("cell_iso", cell_iso),
    ("cell_folder", cell_folder),
    ("cell_zip", cell_zip),
    ("cell_encrypted", cell_encrypted),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {}
    for name, function in BUTTONS:
        outputs[name + ".ico"] = ico_bytes([draw(function, 24)])
    for name, function in SMALL:
        outputs[name + ".ico"] = ico_bytes([draw(function, 16)])
    outputs["sort_up.bmp"] = sort_bitmap(True)
    outputs["sort_down.bmp"] = sort_bitmap(False)
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
