#!/usr/bin/env python3
"""Draws the application's bitmaps and icon from the pixel art below.

The pictures are kept as character grids so that a change is made here and
reviewed as text; the .bmp and .ico files beside this script are its output
and are what the resource compiler reads. Run it again after editing a grid:

    python3 app/res/make_images.py

Standard library only, so that remaking the images needs nothing installed.
"""

import os
import struct

# One colour per character, shared by every picture. '.' is the background of
# each picture and is given per file: magenta where the image lists cut the
# pictures out, the toolbar grey that the toolbar turns into the button face,
# and transparency in the icon.
PALETTE = {
    "K": (0, 0, 0),
    "k": (64, 64, 64),
    "d": (128, 128, 128),
    "m": (168, 168, 172),
    "L": (228, 228, 228),
    "W": (255, 255, 255),
    "b": (0, 40, 128),
    "B": (40, 100, 210),
    "c": (130, 180, 250),
    "e": (205, 228, 255),
    "o": (150, 70, 0),
    "O": (240, 130, 20),
    "p": (255, 195, 100),
    "y": (150, 110, 0),
    "Y": (250, 210, 20),
    "l": (255, 245, 150),
    "r": (140, 0, 0),
    "R": (220, 30, 30),
    "q": (255, 130, 130),
    "n": (0, 100, 0),
    "N": (40, 170, 40),
    "s": (245, 200, 160),
    "S": (215, 155, 115),
    "h": (110, 60, 20),
    "u": (185, 130, 70),
}

MAGENTA = (255, 0, 255)
TOOLBAR_GREY = (192, 192, 192)

# ---------------------------------------------------------------------------
# Tree items: 16 pixels wide each. The image lists take 17 rows of the 18, so
# every picture keeps to the top 16 rows.

BLUE_FOLDER = [
    "................",
    "................",
    ".bbbbb..........",
    "bcccccb.........",
    "bccccccbbbbbbbb.",
    "bcWWWWWWWWWWWWcb",
    "bcWccccccccccccb",
    "bcccccccccccccBb",
    "bcccccccccccccBb",
    "bcccccccccccccBb",
    "bcccccccccccccBb",
    "bcccccccccccccBb",
    "bcccccccccccccBb",
    "bBBBBBBBBBBBBBBb",
    ".bbbbbbbbbbbbbb.",
    "................",
]

# The hot lists' groups: the same folder, so the two trees read alike.
ORANGE_FOLDER = [row.translate(str.maketrans("bcB", "opO")) for row in BLUE_FOLDER]

PERSON = [
    "................",
    "......kkkk......",
    ".....khhhhk.....",
    "....khhhhhhk....",
    "....khsssshk....",
    "....kssssssk....",
    "....ksKssKsk....",
    "....kssssssk....",
    ".....kssssk.....",
    "......kssk......",
    "...kkkNNNNkkk...",
    "..kNNNNNNNNNNk..",
    ".kNNNNNNNNNNNNk.",
    ".kNNNNNNNNNNNNk.",
    ".kNNNNNNNNNNNNk.",
    ".kkkkkkkkkkkkkk.",
]

LENS = [
    "................",
    "....yyyyy.......",
    "...yYYYYYy......",
    "..yYeeeeeYy.....",
    ".yYeWWeeeeYy....",
    ".yYeWeeeeeYy....",
    ".yYeeeeeeeYy....",
    ".yYeeeeeeeYy....",
    ".yYeeeeeeeYy....",
    "..yYeeeeeYy.....",
    "...yYYYYYyKk....",
    "....yyyyyKKKk...",
    ".........kKKKk..",
    "..........kKKKk.",
    "...........kKKKk",
    "............kkk.",
]

# ---------------------------------------------------------------------------
# Group headers of the Access Panel: 25 pixels wide each; the image list takes
# 22 rows of the 23.

PANEL_PERSON = [
    ".........................",
    ".........kkkkkkk.........",
    ".......kkhhhhhhhkk.......",
    "......khhhhhhhhhhhk......",
    ".....khhhhhhhhhhhhhk.....",
    ".....khhsssssssssshk.....",
    ".....khsssssssssssSk.....",
    ".....ksssKKsssKKsssk.....",
    ".....ksssssssssssssk.....",
    ".....ksssssssssssssk.....",
    "......kssssrrrssssk......",
    ".......ksssssssssk.......",
    "........kSsssssSk........",
    "..........ksssk..........",
    ".....kkkkkBsssBkkkkk.....",
    "...kBBBBBBBsssBBBBBBBk...",
    "..kBBBBBBBBBsBBBBBBBBBk..",
    "..kBBBBBBBBBBBBBBBBBBBk..",
    "..kBBBBBBBBBBBBBBBBBBBk..",
    "..kBBBBBBBBBBBBBBBBBBBk..",
    "..kBBBBBBBBBBBBBBBBBBBk..",
    "..kkkkkkkkkkkkkkkkkkkkk..",
]

OPEN_FOLDER = [
    ".........................",
    ".........................",
    ".yyyyyyy.................",
    "yllllllly................",
    "ylllllllyyyyyyyyyyyyy....",
    "ylllllllllllllllllllly...",
    "yllWWWWWWWWWWWWWWWWlly...",
    "yllWWWWWWWWWWWWWWWWlly...",
    "ylllyyyyyyyyyyyyyyyyyyyyy",
    "ylllyYYYYYYYYYYYYYYYYYYYy",
    "ylllyYYYYYYYYYYYYYYYYYYYy",
    "yllyYYYYYYYYYYYYYYYYYYYy.",
    "yllyYYYYYYYYYYYYYYYYYYYy.",
    "yllyYYYYYYYYYYYYYYYYYYYy.",
    "ylyYYYYYYYYYYYYYYYYYYYy..",
    "ylyYYYYYYYYYYYYYYYYYYYy..",
    "ylyYYYYYYYYYYYYYYYYYYYy..",
    "yyYYYYYYYYYYYYYYYYYYYy...",
    "yyOOOOOOOOOOOOOOOOOOOy...",
    "yyyyyyyyyyyyyyyyyyyyyy...",
    ".........................",
    ".........................",
]

DISK_DRIVE = [
    ".........................",
    ".........................",
    ".........................",
    ".........................",
    "....kkkkkkkkkkkkkkkkkkkk.",
    "...kLLLLLLLLLLLLLLLLLLkk.",
    "..kLLLLLLLLLLLLLLLLLLkdk.",
    ".kkkkkkkkkkkkkkkkkkkkddk.",
    ".kWWWWWWWWWWWWWWWWWWkddk.",
    ".kmmmmmmmmmmmmmmmmmmkddk.",
    ".kmmkkkkkkkkkkkkmmmmkddk.",
    ".kmmWWWWWWWWWWWWmmmmkddk.",
    ".kmmmmmmmmmmmmmmmmmmkddk.",
    ".kmmmmmmmmmmmmmmNNmmkddk.",
    ".kmmmmmmmmmmmmmmmmmmkdk..",
    ".kddddddddddddddddddkk...",
    ".kkkkkkkkkkkkkkkkkkkk....",
    ".........................",
    ".........................",
    ".........................",
    ".........................",
    ".........................",
]

ROSETTE = [
    ".........................",
    "..........rrrrr..........",
    "........rrqRqRqrr........",
    "......rrRqRqRqRqRrr......",
    ".....rqRqRqRqRqRqRqr.....",
    ".....rRqRqyyyyyqRqRr.....",
    "....rqRqRyYYYYYyRqRqr....",
    "....rRqRyYYlYYYYyRqRr....",
    "....rqRqyYlYYYYYyqRqr....",
    "....rRqRyYYYYYYYyRqRr....",
    "....rqRqyYYYYYYYyqRqr....",
    "....rRqRqyYYYYYyRqRqr....",
    ".....rRqRqyyyyyRqRqr.....",
    ".....rqRqRqRqRqRqRqr.....",
    "......rrRRqRqRqRRrr......",
    "......rRRrrrrrrrRRr......",
    ".....rRRRr.....rRRRr.....",
    ".....rRRRr.....rRRRr.....",
    "....rRRRr.......rRRRr....",
    "....rRRRr.......rRRRr....",
    "...rRRRRr.......rRRRRr...",
    "...rr..rr.......rr..rr...",
]

# ---------------------------------------------------------------------------
# The hot-lists toolbar: 16 by 15 each, in button order.

SCISSORS = [
    "....k.....k.....",
    "....dk...kd.....",
    "....dk...kd.....",
    ".....dk.kd......",
    ".....dk.kd......",
    "......dkd.......",
    "......kKk.......",
    ".......k........",
    "......bbb.......",
    ".....bb.bb......",
    "..bbbb...bbbb...",
    ".b...b...b...b..",
    ".b...b...b...b..",
    ".b...b...b...b..",
    "..bbb.....bbb...",
]

TWO_PAGES = [
    "kkkkkkkk........",
    "kWWWWWWk........",
    "kWddddWk........",
    "kWWWWWWk........",
    "kWddkkkkkkkk....",
    "kWWWkWWWWWWk....",
    "kWddkWddddWk....",
    "kWWWkWWWWWWk....",
    "kWddkWddddWk....",
    "kWWWkWWWWWWk....",
    "kkkkkWddddWk....",
    "....kWWWWWWk....",
    "....kWddddWk....",
    "....kWWWWWWk....",
    "....kkkkkkkk....",
]

CLIPBOARD = [
    ".....kkkk.......",
    "..hhkkLLkkhh....",
    ".hukLLLLLLkuh...",
    ".huukkkkkkuuh...",
    ".huuuuuuuuuuh...",
    ".huuuukkkkkkkk..",
    ".huuuukWWWWWWk..",
    ".huuuukWddddWk..",
    ".huuuukWWWWWWk..",
    ".huuuukWddddWk..",
    ".huuuukWWWWWWk..",
    ".huuuukWddddWk..",
    ".huuuukWWWWWWk..",
    "..hhhhkkkkkkkk..",
    "................",
]

RED_X = [
    "................",
    ".rRr.......rRr..",
    ".RRRr.....rRRR..",
    ".rRRRr...rRRRr..",
    "..rRRRr.rRRRr...",
    "...rRRRrRRRr....",
    "....rRRRRRr.....",
    ".....rRRRr......",
    "....rRRRRRr.....",
    "...rRRRrRRRr....",
    "..rRRRr.rRRRr...",
    ".rRRRr...rRRRr..",
    ".RRRr.....rRRR..",
    ".rRr.......rRr..",
    "................",
]

CHECKED_PAGE = [
    "kkkkkkkkk.......",
    "kWWWWWWWk.......",
    "kWddddWWk....nn.",
    "kWWWWWWWk...nNn.",
    "kWddddWWk..nNNn.",
    "kWWWWWWWk.nNNn..",
    "kWddddWWknNNn...",
    "knnWWWWWnNNn....",
    "nNNnddWnNNn.....",
    "nNNNnWnNNnk.....",
    "knNNNnNNnWk.....",
    "kWnNNNNnWWk.....",
    "kWWnNNnWWWk.....",
    "kWWWnnWWWWk.....",
    "kkkkkkkkkkk.....",
]

# ---------------------------------------------------------------------------
# The browse button's icon: a folder with a lens over it.

BROWSE_16 = [
    "................",
    ".yyyyy..........",
    "ylllllyyyyyyyy..",
    "yllllllllllllly.",
    "yYYYYYYYYYYYYYy.",
    "yYYYYYYYYYYYYOy.",
    "yYYYYYYYKKKKYOy.",
    "yYYYYYYKWeeeKOy.",
    "yYYYYYYKeeeeKOy.",
    "yYYYYYYKeeeeKOy.",
    "yYYYYYYKeeeeKOy.",
    "yOOOOOOOKKKKKky.",
    "yyyyyyyyyyyyKKk.",
    "............kKKk",
    ".............kKK",
    "..............kK",
]

BROWSE_32 = [
    "................................",
    "................................",
    "................................",
    "................................",
    ".yyyyyyyyyyy....................",
    "yllllllllllly...................",
    "ylllllllllllyyyyyyyyyyyyyyyyy...",
    "ylllllllllllllllllllllllllllly..",
    "yllllllllllllllllllllllllllllly.",
    "yYYYYYYYYYYYYYYYYYYYYYYYYYYYYOy.",
    "yYYYYYYYYYYYYYYYYYYYYYYYYYYYYOy.",
    "yYYYYYYYYYYYYYYYYYYYYYYYYYYYYOy.",
    "yYYYYYYYYYYYYYYYYYYYYYYYYYYYYOy.",
    "yYYYYYYYYYYYYYYYYKKKKKKYYYYYYOy.",
    "yYYYYYYYYYYYYYYKKddddddKKYYYYOy.",
    "yYYYYYYYYYYYYYKddeeeeeeddKYYYOy.",
    "yYYYYYYYYYYYYKdeWWeeeeeeedKYYOy.",
    "yYYYYYYYYYYYYKdeWeeeeeeeedKYYOy.",
    "yYYYYYYYYYYYKdeeeeeeeeeeeedKYOy.",
    "yYYYYYYYYYYYKdeeeeeeeeeeeedKYOy.",
    "yYYYYYYYYYYYKdeeeeeeeeeeeedKYOy.",
    "yYYYYYYYYYYYKdeeeeeeeeeeeedKYOy.",
    "yYYYYYYYYYYYYKdeeeeeeeeeedKYYOy.",
    "yYYYYYYYYYYYYKdeeeeeeeeeedKYYOy.",
    "yOOOOOOOOOOOOOKddeeeeeeddKKkOOy.",
    "yyyyyyyyyyyyyyyKKddddddKKKKKkyy.",
    ".................KKKKKK.kKKKKk..",
    ".........................kKKKKk.",
    "..........................kKKKKk",
    "...........................kKKKK",
    "............................kKKK",
    ".............................kKk",
]


def strip(pictures, width, height):
    """Lays the pictures side by side, each padded below to the cell height."""
    for picture in pictures:
        if len(picture) > height:
            raise ValueError("picture taller than %d rows" % height)
        for line in picture:
            if len(line) != width:
                raise ValueError("row %r is not %d wide" % (line, width))
    rows = []
    for y in range(height):
        rows.append("".join(p[y] if y < len(p) else "." * width for p in pictures))
    return rows


def colour(ch, background):
    if ch == ".":
        return background
    if ch not in PALETTE:
        raise ValueError("no colour for %r" % ch)
    return PALETTE[ch]


def bmp_bytes(rows, background):
    """A 24-bit bottom-up Windows bitmap, rows padded to four bytes."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for line in reversed(rows):
        for ch in line:
            r, g, b = colour(ch, background)
            pixels += bytes((b, g, r))
        pixels += b"\0" * (stride - width * 3)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)


def icon_image(rows):
    """One icon image: 32-bit colour with alpha, then the AND mask that older
    renderers use; both bottom-up, the mask rows padded to four bytes."""
    size = len(rows)
    if any(len(line) != size for line in rows):
        raise ValueError("icon pictures are square")
    colours = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for line in reversed(rows):
        bits = bytearray(mask_stride)
        for x, ch in enumerate(line):
            if ch == ".":
                colours += bytes((0, 0, 0, 0))
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = colour(ch, None)
                colours += bytes((b, g, r, 255))
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colours) + len(mask), 0, 0, 0, 0)
    return info + bytes(colours) + bytes(mask)


def ico_bytes(pictures):
    images = [icon_image(rows) for rows in pictures]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for rows, image in zip(pictures, images):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {
        "tree_items.bmp": bmp_bytes(
            strip([BLUE_FOLDER, ORANGE_FOLDER, PERSON, LENS], 16, 18), MAGENTA
        ),
        "panel_groups.bmp": bmp_bytes(
            strip([PANEL_PERSON, OPEN_FOLDER, DISK_DRIVE, ROSETTE], 25, 23), MAGENTA
        ),
        "hotlists_toolbar.bmp": bmp_bytes(
            strip([SCISSORS, TWO_PAGES, CLIPBOARD, RED_X, CHECKED_PAGE], 16, 15),
            TOOLBAR_GREY,
        ),
        "browse_folder.ico": ico_bytes([BROWSE_16, BROWSE_32]),
    }
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
