#!/usr/bin/env python3
"""Draws the question tree's item pictures and its toolbar's buttons.

    python3 app/res/make_questions_images.py

The pictures are character grids in the palette of make_images.py, whose
writers this script uses; the .bmp files beside it are its output and are
what the resource compiler reads. Standard library only.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_images import BLUE_FOLDER, MAGENTA, RED_X, TOOLBAR_GREY, bmp_bytes, strip  # noqa: E402

# ---------------------------------------------------------------------------
# Tree items, 16 x 18: a group, a scaled question, a yes/no question.

# The groups: a yellow folder, apart from the Access Panel's blue ones.
YELLOW_FOLDER = [row.translate(str.maketrans("bcB", "ylY")) for row in BLUE_FOLDER] + [
    "................",
    "................",
]

# A scaled question: rising bars of a score.
SCALE_BARS = [
    "................",
    "................",
    "............bb..",
    "...........bBBb.",
    "...........bBBb.",
    "........bb.bBBb.",
    ".......bBBbbBBb.",
    ".......bBBbbBBb.",
    "....bb.bBBbbBBb.",
    "...bBBbbBBbbBBb.",
    "...bBBbbBBbbBBb.",
    ".bbbBBbbBBbbBBb.",
    "bNNbBBbbBBbbBBb.",
    "bNNbBBbbBBbbBBb.",
    "bbbbbbbbbbbbbbb.",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
]

# A yes/no question: a green tick beside a red cross.
YES_NO = [
    "................",
    "................",
    "..........n.....",
    ".........nN.....",
    "........nN......",
    ".n.....nN.......",
    ".nN...nN........",
    "..nN.nN.........",
    "...nNN..........",
    "....n...rr....rr",
    ".........rR..rR.",
    "..........rRrR..",
    "...........rR...",
    "..........rRrR..",
    ".........rR..rR.",
    "........rr....rr",
    "................",
    "................",
]

# ---------------------------------------------------------------------------
# Toolbar buttons, 16 x 15: Export, Import, New Question Group, New Question,
# Edit Question, Delete selected items.

PAGE_ARROW_OUT = [
    "kkkkkkkk........",
    "kWWWWWWkk.......",
    "kWWWWWWkWk......",
    "kWddddWkkkk.....",
    "kWWWWWWWWWk..n..",
    "kWddddddWWk..nn.",
    "kWWWWWWnnnnnnNNn",
    "kWddddWnNNNNNNNN",
    "kWWWWWWnnnnnnNNn",
    "kWddddddWWk..nn.",
    "kWWWWWWWWWk..n..",
    "kWddddddWWk.....",
    "kWWWWWWWWWk.....",
    "kkkkkkkkkkk.....",
    "................",
]

PAGE_ARROW_IN = [
    ".....kkkkkkkk...",
    ".....kWWWWWWkk..",
    ".....kWWWWWWkWk.",
    ".....kWddddWkkkk",
    "..b..kWWWWWWWWWk",
    "..bb.kWddddddWWk",
    "bbbBbbbWWWWWWWWk",
    "BBBBBBBBWddddWWk",
    "bbbBbbbWWWWWWWWk",
    "..bb.kWddddddWWk",
    "..b..kWWWWWWWWWk",
    ".....kWddddddWWk",
    ".....kWWWWWWWWWk",
    ".....kkkkkkkkkkk",
    "................",
]

NEW_GROUP = [
    "..........Y.....",
    ".........YlY....",
    "..yyyyy..YlY....",
    ".yllllly..Y.....",
    ".ylllllyyyyyyyy.",
    ".ylWWWWWWWWWWlly",
    ".ylWllllllllllly",
    ".yllllllllllllYy",
    ".yllllllllllllYy",
    ".yllllllllllllYy",
    ".yllllllllllllYy",
    ".yllllllllllllYy",
    ".yYYYYYYYYYYYYYy",
    "..yyyyyyyyyyyyy.",
    "................",
]

NEW_QUESTION = [
    "kkkkkkkkk.......",
    "kWWWWWWWkk......",
    "kWWWWWWWkWk.....",
    "kWWWbbbWkkkk....",
    "kWWbWWWbWWWk....",
    "kWWWWWWbWWWk....",
    "kWWWWWbWWWWk....",
    "kWWWWbWWWWWk.N..",
    "kWWWWbWWWWWk.N..",
    "kWWWWWWWWWWNNNNN",
    "kWWWWbWWWWWk.N..",
    "kWWWWWWWWWWk.N..",
    "kWWWWWWWWWWk....",
    "kkkkkkkkkkkk....",
    "................",
]

PENCIL = [
    "...........kk...",
    "..........kqqk..",
    ".........kOqqqk.",
    "........kOOOqk..",
    ".......kOOOOk...",
    "......kOOOOk....",
    ".....kOOOOk.....",
    "....kOOOOk......",
    "...kOOOOk.......",
    "..kpOOOk........",
    "..kppOk.........",
    ".kkppk..........",
    ".kkkk...........",
    "................",
    "................",
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {
        "questions_tree.bmp": bmp_bytes(strip([YELLOW_FOLDER, SCALE_BARS, YES_NO], 16, 18), MAGENTA),
        "questions_toolbar.bmp": bmp_bytes(
            strip([PAGE_ARROW_OUT, PAGE_ARROW_IN, NEW_GROUP, NEW_QUESTION, PENCIL, RED_X], 16, 15),
            TOOLBAR_GREY,
        ),
    }
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
