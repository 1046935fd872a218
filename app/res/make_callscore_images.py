#!/usr/bin/env python3
"""Draws the call-score tree's toolbar bitmap: Play, Delete, Manage Call Score
Forms and Validate Links, four 16 x 15 pictures on the toolbar grey. The tree's
item pictures are those of the Access Panel's other trees (tree_items.bmp).

The pictures are character grids in the palette of make_images.py, whose
helpers and shared pictures this script uses; the .bmp beside it is its
output. Run it again after editing a grid:

    python3 app/res/make_callscore_images.py
"""

import os

from make_images import CHECKED_PAGE, RED_X, TOOLBAR_GREY, bmp_bytes, strip

GREEN_PLAY = [
    "................",
    "...nn...........",
    "...nNn..........",
    "...nNNn.........",
    "...nNNNn........",
    "...nNNNNn.......",
    "...nNNNNNn......",
    "...nNNNNNNn.....",
    "...nNNNNNn......",
    "...nNNNNn.......",
    "...nNNNn........",
    "...nNNn.........",
    "...nNn..........",
    "...nn...........",
    "................",
]

# A score form: a page of questions with their marks, and a pencil.
SCORE_FORM = [
    "kkkkkkkkkkk.....",
    "kWWWWWWWWWk.....",
    "kWBBWddddWk.....",
    "kWWWWWWWWWk.....",
    "kWNNWddddWk..oo.",
    "kWWWWWWWWWk.oOOo",
    "kWRRWddddWkoOOo.",
    "kWWWWWWWWWoOOo..",
    "kWYYWdddWoOOo...",
    "kWWWWWWWWoOo....",
    "kWBBWddWsSo.....",
    "kWWWWWWWss......",
    "kWWWWWWWWWk.....",
    "kkkkkkkkkkk.....",
    "................",
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    data = bmp_bytes(strip([GREEN_PLAY, RED_X, SCORE_FORM, CHECKED_PAGE], 16, 15), TOOLBAR_GREY)
    with open(os.path.join(here, "callscore_toolbar.bmp"), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
