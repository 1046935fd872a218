#!/usr/bin/env python3
"""Draws the two toolbar bitmaps of the score forms manager: the forms bar
(export, import, new form, score location, delete) and the question bar
(add predefined question, new question, edit question, delete question).

The pictures are character grids in the palette of make_images.py, whose
writer this script borrows; the .bmp files beside it are its output and are
what the resource compiler reads. Run it again after editing a grid:

    python3 app/res/make_scoreforms_images.py
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_images import RED_X, TOOLBAR_GREY, bmp_bytes, strip  # noqa: E402

# A score form: a sheet with ruled answer lines.
FORM = [
    "..kkkkkkkkkk....",
    "..kWWWWWWWWkk...",
    "..kWbbWddddWkk..",
    "..kWbbWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWbbWddddddk..",
    "..kWbbWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWbbWddddddk..",
    "..kWbbWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kkkkkkkkkkkk..",
    "................",
    "................",
]


def with_badge(picture, badge, left, top):
    """The picture with the badge's non-background pixels laid over it."""
    rows = [list(row) for row in picture]
    for y, line in enumerate(badge):
        for x, ch in enumerate(line):
            if ch != ".":
                rows[top + y][left + x] = ch
    return ["".join(row) for row in rows]


ARROW_OUT = [
    "....n....",
    "....Nn...",
    "NNNNNNn..",
    "NNNNNNNn.",
    "NNNNNNn..",
    "....Nn...",
    "....n....",
]
ARROW_IN = [line[::-1] for line in ARROW_OUT]
PLUS = [
    "..nnn..",
    "..nNn..",
    "nnnNnnn",
    "nNNNNNn",
    "nnnNnnn",
    "..nNn..",
    "..nnn..",
]
STAR = [
    "...Y...",
    "Y..Y..Y",
    ".Y.Y.Y.",
    "..YYY..",
    "YYYYYYY",
    "..YYY..",
    ".Y.Y.Y.",
]
PENCIL = [
    "........kk",
    ".......kqqk",
    "......kOOk.",
    ".....kOOk..",
    "....kOOk...",
    "...kOOk....",
    "..kOOk.....",
    ".kppk......",
    ".kkk.......",
    "k..........",
]

EXPORT_FORMS = with_badge(FORM, ARROW_OUT, 7, 8)
IMPORT_FORMS = with_badge(FORM, ARROW_IN, 0, 8)
NEW_FORM = with_badge(FORM, STAR, 9, 0)

# Where the scores go: a drawer of a filing cabinet with a folder tab.
SCORE_LOCATION = [
    "................",
    "..oooo..........",
    ".oppppo.........",
    ".oppppoooooooo..",
    ".opppppppppppo..",
    ".oWWWWWWWWWWWWo.",
    ".oWddddddddddWo.",
    ".oWdLLLLLLLLdWo.",
    ".oWddddkkddddWo.",
    ".oWWWWWWWWWWWWo.",
    ".oWddddddddddWo.",
    ".oWdLLLLLLLLdWo.",
    ".oWddddkkddddWo.",
    ".oooooooooooooo.",
    "................",
]

# A question on a sheet: the question bar's pictures.
QUESTION = [
    "..kkkkkkkkkk....",
    "..kWWWWWWWWkk...",
    "..kWWWBBBWWWkk..",
    "..kWWBWWWBWWWk..",
    "..kWWWWWWBWWWk..",
    "..kWWWWWBWWWWk..",
    "..kWWWWBWWWWWk..",
    "..kWWWWBWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWBWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kkkkkkkkkkkk..",
    "................",
    "................",
]
PREDEFINED_QUESTION = with_badge(
    with_badge(QUESTION, ["bbbbbbb", "beeeeeb", "bbbbbbb"], 0, 11), PLUS, 9, 8
)
NEW_QUESTION = with_badge(QUESTION, STAR, 9, 0)
EDIT_QUESTION = with_badge(QUESTION, PENCIL, 5, 5)
DELETE_QUESTION = with_badge(QUESTION, [line[3:12] for line in RED_X[5:14]], 7, 6)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {
        "forms_toolbar.bmp": bmp_bytes(
            strip([EXPORT_FORMS, IMPORT_FORMS, NEW_FORM, SCORE_LOCATION, RED_X], 16, 15),
            TOOLBAR_GREY,
        ),
        "form_questions_toolbar.bmp": bmp_bytes(
            strip([PREDEFINED_QUESTION, NEW_QUESTION, EDIT_QUESTION, DELETE_QUESTION], 16, 15),
            TOOLBAR_GREY,
        ),
    }
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
