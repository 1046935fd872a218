#!/usr/bin/env python3
"""Draws the main frame's icons: the program's icon, the list windows' icon
and the 16 by 16 pictures of the menu commands.

The pictures are character grids, as in make_images.py, whose palette and
icon writer this script shares; small badges (plus, minus, star, ...) are laid
over a few base pictures so that related commands look related. The .ico
files beside this script are its output. Run it again after editing a grid:

    python3 app/res/make_frame_images.py
"""

import os
import sys

sys.dont_write_bytecode = True  # nothing beside the images but the images
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_images  # noqa: E402

# Colours the frame's pictures need beyond the shared palette.
make_images.PALETTE.update(
    {
        "g": (0, 130, 60),  # the deep green of "go"
        "G": (120, 210, 110),
        "v": (90, 40, 140),  # the violet of the reports
        "V": (170, 130, 220),
        "t": (0, 110, 120),  # the teal of the program's icon
        "T": (60, 190, 200),
        "a": (200, 235, 240),
    }
)


def overlay(base, badge, left, top):
    """The base picture with the badge's non-background pixels over it."""
    rows = [list(line) for line in base]
    for y, line in enumerate(badge):
        for x, ch in enumerate(line):
            if ch != ".":
                rows[top + y][left + x] = ch
    return ["".join(line) for line in rows]


# ---------------------------------------------------------------------------
# Base pictures, 16 by 16.

PAGE = [
    "..kkkkkkkkk.....",
    "..kWWWWWWWkk....",
    "..kWWWWWWWkLk...",
    "..kWWWWWWWkkkk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kkkkkkkkkkkk..",
    "................",
]

LIST_PAGE = [
    "..kkkkkkkkk.....",
    "..kWWWWWWWkk....",
    "..kWBBWddWkLk...",
    "..kWWWWWWWkkkk..",
    "..kWBBWdddddWk..",
    "..kWWWWWWWWWWk..",
    "..kWBBWddddWWk..",
    "..kWWWWWWWWWWk..",
    "..kWBBWdddddWk..",
    "..kWWWWWWWWWWk..",
    "..kWBBWdddWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kkkkkkkkkkkk..",
    "................",
]

WINDOW = [
    "................",
    "bbbbbbbbbbbbbbbb",
    "bBBBBBBBBBBBWBWb",
    "bbbbbbbbbbbbbbbb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bbbbbbbbbbbbbbbb",
    "................",
]

CLOCK = [
    "................",
    ".....kkkkkk.....",
    "...kkWWWWWWkk...",
    "..kWWWWkWWWWWk..",
    "..kWWWWkWWWWWk..",
    ".kWWWWWkWWWWWWk.",
    ".kWWWWWkWWWWWWk.",
    ".kWWWWWkkkkkWWk.",
    ".kWWWWWWWWWWWWk.",
    ".kWWWWWWWWWWWWk.",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "...kkWWWWWWkk...",
    ".....kkkkkk.....",
    "................",
    "................",
]

FLOPPY = [
    "................",
    ".bbbbbbbbbbbbbb.",
    ".bBdWWWWWWWWdBb.",
    ".bBdWWWWWWWWdBb.",
    ".bBdWWWWWWWWdBb.",
    ".bBdWWWWWWWWdBb.",
    ".bBBddddddddBBb.",
    ".bBBBBBBBBBBBBb.",
    ".bBBmmmmmmmmBBb.",
    ".bBBmmbbmmmmBBb.",
    ".bBBmmbbmmmmBBb.",
    ".bBBmmbbmmmmBBb.",
    ".bBBmmmmmmmmBBb.",
    ".bbbbbbbbbbbbbb.",
    "................",
    "................",
]

# ---------------------------------------------------------------------------
# Badges, laid over the base pictures.

PLUS = [
    "..nnn..",
    "..nNn..",
    "nnnNnnn",
    "nNNNNNn",
    "nnnNnnn",
    "..nNn..",
    "..nnn..",
]

MINUS = [
    "rrrrrrr",
    "rRRRRRr",
    "rrrrrrr",
]

STAR = [
    "...y...",
    "..yYy..",
    "yyYYYyy",
    ".yYYYy.",
    ".yYyYy.",
    "yy...yy",
]

LENS = [
    "..kkk...",
    ".kcecck.",
    "kceeccck",
    "kcecccck",
    "kcccccck",
    ".kcccck.",
    "..kkkkhh",
    "......hh",
]

PENCIL = [
    "......kk",
    ".....kOk",
    "....kOOk",
    "...kOOk.",
    "..kOOk..",
    ".kppk...",
    "kkkk....",
]

PLAY_ARROW = [
    "gg....",
    "gGg...",
    "gGGg..",
    "gGGGg.",
    "gGGg..",
    "gGg...",
    "gg....",
]

BACK_ARROW = [
    "..B....",
    ".BB....",
    "BBBBBBb",
    ".BB...b",
    "..B...b",
    "......b",
    ".bbbbbb",
]

# ---------------------------------------------------------------------------
# The menu commands.

NEW = overlay(PAGE, STAR, 9, 0)
CREATE = overlay(LIST_PAGE, LENS, 8, 8)
APPEND = overlay(LIST_PAGE, PLUS, 9, 9)
REMOVE = overlay(LIST_PAGE, MINUS, 9, 12)
SAVE = FLOPPY
SAVE_AS = overlay(FLOPPY, PENCIL, 8, 8)
PLAY_HISTORY = overlay(CLOCK, BACK_ARROW, 0, 9)
RUN_SCHEDULED = overlay(CLOCK, PLAY_ARROW, 10, 9)

OPEN = [
    "................",
    "................",
    ".hhhh...........",
    "hpppph..........",
    "hppppphhhhhhh...",
    "hpppppppppppph..",
    "hppphhhhhhhhhhhh",
    "hpphlllllllllllh",
    "hpphllllllllllh.",
    "hphlllllllllllh.",
    "hphllllllllllh..",
    "hhllllllllllll..",
    "hhlllllllllllh..",
    "hhhhhhhhhhhhh...",
    "................",
    "................",
]

COPY = [
    "kkkkkkkk........",
    "kWWWWWWk........",
    "kWddddWk........",
    "kWWWWWWk........",
    "kWdddkkkkkkkk...",
    "kWWWWkWWWWWWk...",
    "kWddWkWddddWk...",
    "kWWWWkWWWWWWk...",
    "kWdddkWdddWWk...",
    "kkkkkkWWWWWWk...",
    ".....kWddddWk...",
    ".....kWWWWWWk...",
    ".....kWdddWWk...",
    ".....kkkkkkkk...",
    "................",
    "................",
]

PASTE = [
    ".....kkkk.......",
    ".hhhhkmmkhhhh...",
    "hupppkkkkpppuh..",
    "huppppppppppuh..",
    "hupppkkkkkkkkkk.",
    "hupppkWWWWWWWWk.",
    "hupppkWddddddWk.",
    "hupppkWWWWWWWWk.",
    "hupppkWdddddWWk.",
    "hupppkWWWWWWWWk.",
    "hupppkWddddddWk.",
    "hupppkWWWWWWWWk.",
    "huuuukWdddddWWk.",
    ".hhhhkWWWWWWWWk.",
    ".....kkkkkkkkkk.",
    "................",
]

TRIM = [
    "................",
    ".kk.......kk....",
    ".kmk.....kmk....",
    "..kmk...kmk.....",
    "...kmk.kmk......",
    "....kmkmk.......",
    ".....kmk........",
    "....kmkmk.......",
    "...RRk.kRR......",
    "..R..R.R..R.....",
    "..R..R.R..R.....",
    "...RR...RR......",
    "..........dddddd",
    "..........dWdWdW",
    "..........dddddd",
    "................",
]

ACCESS_PANEL = [
    "................",
    "bbbbbbbbbbbbbbbb",
    "bBBBBBBBBBBBWBWb",
    "bbbbbbbbbbbbbbbb",
    "bOOOOObWWWWWWWWb",
    "bppppbbWWWWWWWWb",
    "bpOpppbWWWWWWWWb",
    "bppppbbWWWWWWWWb",
    "bpOpppbWWWWWWWWb",
    "bppppbbWWWWWWWWb",
    "bpOpppbWWWWWWWWb",
    "bppppbbWWWWWWWWb",
    "bpppppbWWWWWWWWb",
    "bpppppbWWWWWWWWb",
    "bbbbbbbbbbbbbbbb",
    "................",
]

PLAYER_PANEL = [
    "................",
    "bbbbbbbbbbbbbbbb",
    "bBBBBBBBBBBBWBWb",
    "bbbbbbbbbbbbbbbb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bbbbbbbbbbbbbbbb",
    "beeeeeeeeeeeeeeb",
    "beeeBeeeeBeeeeeb",
    "beeBBBeBeBBeBeeb",
    "beBBBBBBBBBBBBeb",
    "beeBBBeBeBBeBeeb",
    "beeeBeeeeBeeeeeb",
    "bbbbbbbbbbbbbbbb",
    "................",
]

CASCADE = [
    "bbbbbbbbbb......",
    "bBBBBBBBBb......",
    "bbbbbbbbbb......",
    "bWWbbbbbbbbbb...",
    "bWWbBBBBBBBBb...",
    "bWWbbbbbbbbbb...",
    "bWWbWWbbbbbbbbbb",
    "bbbbWWbBBBBBBBBb",
    "....bWbbbbbbbbbb",
    "....bbbWWWWWWWWb",
    ".......bWWWWWWWb",
    ".......bWWWWWWWb",
    ".......bWWWWWWWb",
    ".......bWWWWWWWb",
    ".......bbbbbbbbb",
    "................",
]

TILE = [
    "................",
    "bbbbbbbbbbbbbbbb",
    "bBBBBBBBBBBBBBBb",
    "bbbbbbbbbbbbbbbb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bbbbbbbbbbbbbbbb",
    "................",
    "bbbbbbbbbbbbbbbb",
    "bBBBBBBBBBBBBBBb",
    "bbbbbbbbbbbbbbbb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bWWWWWWWWWWWWWWb",
    "bbbbbbbbbbbbbbbb",
]

ABOUT = [
    "................",
    ".....bbbbbb.....",
    "...bbBBBBBBbb...",
    "..bBBBBWWBBBBb..",
    "..bBBBBWWBBBBb..",
    ".bBBBBBBBBBBBBb.",
    ".bBBBBWWWBBBBBb.",
    ".bBBBBBWWBBBBBb.",
    ".bBBBBBWWBBBBBb.",
    ".bBBBBBWWBBBBBb.",
    "..bBBBBWWBBBBb..",
    "..bBBBWWWWBBBb..",
    "...bbBBBBBBbb...",
    ".....bbbbbb.....",
    "................",
    "................",
]

CUSTOM_REPORT = [
    "..kkkkkkkkkkkk..",
    "..kvvvvvvvvvvk..",
    "..kvVVVVVVVVvk..",
    "..kvvvvvvvvvvk..",
    "..kWWWWWWWWWWk..",
    "..kWddddddddWk..",
    "..kWWWWWWWWWWk..",
    "..kWdddddddWWk..",
    "..kWWWWWWWWWWk..",
    "..kWddWWWWWWWk..",
    "..kWddWWVVWWWk..",
    "..kWddWWVVWVVk..",
    "..kWddWWVVWVVk..",
    "..kWWWWWWWWWWk..",
    "..kkkkkkkkkkkk..",
    "................",
]

STATISTICS = [
    "................",
    "k...............",
    "k..........vv...",
    "k..........VV...",
    "k..........VV...",
    "k......BB..VV...",
    "k......cc..VV...",
    "k......cc..VV...",
    "k..NN..cc..VV...",
    "k..GG..cc..VV...",
    "k..GG..cc..VV...",
    "k..GG..cc..VV...",
    "k..GG..cc..VV...",
    "kkkkkkkkkkkkkkk.",
    "................",
    "................",
]

CHARTS = [
    "................",
    ".....kkkkkk.....",
    "...kkRRkYYYkk...",
    "..kRRRRkYYYYYk..",
    "..kRRRRkYYYYYk..",
    ".kRRRRRkYYYYYYk.",
    ".kRRRRRkYYYYYYk.",
    ".kRRRRRkkkkkkkk.",
    ".kRRRRkBBBBBBBk.",
    ".kRRRkBBBBBBBBk.",
    "..kRkBBBBBBBBk..",
    "..kkBBBBBBBBBk..",
    "...kkBBBBBBkk...",
    ".....kkkkkk.....",
    "................",
    "................",
]

SCORES = [
    "................",
    ".......y........",
    "......yYy.......",
    "......yYy.......",
    ".....yYYYy......",
    "yyyyyYYYYYyyyyy.",
    ".yYYYYYYYYYYYy..",
    "..yYYYYYYYYYy...",
    "...yYYYYYYYy....",
    "...yYYYYYYYy....",
    "..yYYYyyyYYYy...",
    "..yYYy...yYYy...",
    ".yYy.......yYy..",
    ".yy.........yy..",
    "................",
    "................",
]

LONGEST_CALLS = [
    "................",
    "..kkk...........",
    ".kKKKk..........",
    ".kKKk...........",
    ".kKKk...........",
    "..kKKk..........",
    "...kKKk..kk.....",
    "....kKKkkKKk....",
    ".....kKKKKKk....",
    "......kkkkk.....",
    "................",
    "gggggggggggggggg",
    "gGGGGGGGGGGGGGGg",
    "gggggggggggggggg",
    "................",
    "................",
]

AGENT_SUMMARY = [
    "...hhhh.........",
    "..hhhhhh........",
    "..hssssh........",
    "..hsKsKs........",
    "..ssssss........",
    "...ssss..kkkkkkk",
    "..BBBBBB.kWWWWWk",
    ".BBBBBBBBkWddddk",
    ".BBBBBBBBkWWWWWk",
    ".BBBBBBBBkWdddWk",
    ".BBBBBBBBkWWWWWk",
    ".BBBBBBBBkWddddk",
    ".BBBBBBBBkWWWWWk",
    ".........kkkkkkk",
    "................",
    "................",
]

# ---------------------------------------------------------------------------
# The program's icon and the list windows' icon, 32 and 16 pixels: a call's
# waveform in the program's teal; the list windows show lines beside it.

APP_32 = [
    "................................",
    "................................",
    "....tttttttttttttttttttttttt....",
    "...tTTTTTTTTTTTTTTTTTTTTTTTTt...",
    "..tTTaaaaaaaaaaaaaaaaaaaaaaTTt..",
    "..tTaaaaaaaaaaaaaaaaaaaaaaaaTt..",
    "..tTaaaaaaaaaaaaaaaaaaaaaaaaTt..",
    "..tTaaaaaaaaaaaaaaaaaaaaaaaaTt..",
    "..tTaaaaaaaaaaaaataaaaaaaaaaTt..",
    "..tTaaaaaaaataaaataaaaaaaaaaTt..",
    "..tTaaaaaaaataaaattaaaaaaaaaTt..",
    "..tTaaaaaataattaattaataaaaaaTt..",
    "..tTaaaaaattattaattaattaaaaaTt..",
    "..tTaataattattttattattttaaaaTt..",
    "..tTtttttttttttttttttttttttTTt..",
    "..tTaataattattttattattttaaaaTt..",
    "..tTaaaaaattattaattaattaaaaaTt..",
    "..tTaaaaaataattaattaataaaaaaTt..",
    "..tTaaaaaaaataaaattaaaaaaaaaTt..",
    "..tTaaaaaaaataaaataaaaaaaaaaTt..",
    "..tTaaaaaaaaaaaaataaaaaaaaaaTt..",
    "..tTaaaaaaaaaaaaaaaaaaaaaaaaTt..",
    "..tTaaaaaaaaaaaaaaaaaaaaaaaaTt..",
    "..tTTaaaaaaaaaaaaaaaaaaaaaaTTt..",
    "...tTTTTTTTTTTTTTTTTTTTTTTTTt...",
    "....tttttttttttttttttttttttt....",
    "........ttt.........ttt.........",
    ".......tTTt.........tTTt........",
    "......tTTt...........tTTt.......",
    ".....tTTTTTTTTTTTTTTTTTTTTt.....",
    ".....tttttttttttttttttttttt.....",
    "................................",
]

APP_16 = [
    "................",
    ".tttttttttttttt.",
    "tTaaaaaaaaaaaaTt",
    "tTaaaaaaataaaaTt",
    "tTaaaataataaaaTt",
    "tTaatattattaaaTt",
    "tTtttttttttttTTt",
    "tTaatattattaaaTt",
    "tTaaaataataaaaTt",
    "tTaaaaaaataaaaTt",
    "tTaaaaaaaaaaaaTt",
    ".tttttttttttttt.",
    "...tt......tt...",
    "..tTTTTTTTTTTt..",
    "..tttttttttttt..",
    "................",
]

LIST_32 = [
    "......kkkkkkkkkkkkkkkkkk........",
    "......kWWWWWWWWWWWWWWWWkk.......",
    "......kWWWWWWWWWWWWWWWWkLk......",
    "......kWWWWWWWWWWWWWWWWkLLk.....",
    "......kWWtttWWddddddddWkkkkk....",
    "......kWWtttWWWWWWWWWWWWWWWk....",
    "......kWWWWWWWWWWWWWWWWWWWWk....",
    "......kWWtttWWdddddddddddWWk....",
    "......kWWtttWWWWWWWWWWWWWWWk....",
    "......kWWWWWWWWWWWWWWWWWWWWk....",
    "......kWWtttWWddddddddddWWWk....",
    "......kWWtttWWWWWWWWWWWWWWWk....",
    "......kWWWWWWWWWWWWWWWWWWWWk....",
    "......kWWtttWWdddddddddWWWWk....",
    "......kWWtttWWWWWWWWWWWWWWWk....",
    "......kWWWWWWWWWWWWWWWWWWWWk....",
    "......kWWtttWWdddddddddddWWk....",
    "......kWWtttWWWWWWWWWWWWWWWk....",
    "......kWWWWWWWWWWWWWWWWWWWWk....",
    "......kWWWWWWWWWWWWWWWWWWWWk....",
    "......kWWWWWWWWWWWtWWWWWWWWk....",
    "......kWWWWWWWtWWWtWWWWWWWWk....",
    "......kWWWWtWWtWWWttWtWWWWWk....",
    "......kWWtWttWttWWttWttWWWWk....",
    "......kttttttttttttttttttttk....",
    "......kWWtWttWttWWttWttWWWWk....",
    "......kWWWWtWWtWWWttWtWWWWWk....",
    "......kWWWWWWWtWWWtWWWWWWWWk....",
    "......kWWWWWWWWWWWtWWWWWWWWk....",
    "......kWWWWWWWWWWWWWWWWWWWWk....",
    "......kkkkkkkkkkkkkkkkkkkkkk....",
    "................................",
]

LIST_16 = [
    "..kkkkkkkkk.....",
    "..kWWWWWWWkk....",
    "..kWttWddWkLk...",
    "..kWWWWWWWkkkk..",
    "..kWttWdddddWk..",
    "..kWWWWWWWWWWk..",
    "..kWttWddddWWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWtWWWWk..",
    "..kWWtWWtWtWWk..",
    "..kWtttttttttk..",
    "..kWWtWWtWtWWk..",
    "..kWWWWWtWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kkkkkkkkkkkk..",
    "................",
]

MENU_ICONS = {
    "frame_new.ico": NEW,
    "frame_create.ico": CREATE,
    "frame_open.ico": OPEN,
    "frame_save.ico": SAVE,
    "frame_save_as.ico": SAVE_AS,
    "frame_copy.ico": COPY,
    "frame_paste.ico": PASTE,
    "frame_remove.ico": REMOVE,
    "frame_trim.ico": TRIM,
    "frame_access_panel.ico": ACCESS_PANEL,
    "frame_player_panel.ico": PLAYER_PANEL,
    "frame_run_scheduled.ico": RUN_SCHEDULED,
    "frame_play_history.ico": PLAY_HISTORY,
    "frame_append.ico": APPEND,
    "frame_cascade.ico": CASCADE,
    "frame_tile.ico": TILE,
    "frame_about.ico": ABOUT,
    "frame_custom_report.ico": CUSTOM_REPORT,
    "frame_statistics.ico": STATISTICS,
    "frame_charts.ico": CHARTS,
    "frame_scores.ico": SCORES,
    "frame_longest_calls.ico": LONGEST_CALLS,
    "frame_agent_summary.ico": AGENT_SUMMARY,
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {name: make_images.ico_bytes([rows]) for name, rows in MENU_ICONS.items()}
    outputs["frame_app.ico"] = make_images.ico_bytes([APP_16, APP_32])
    outputs["frame_list.ico"] = make_images.ico_bytes([LIST_16, LIST_32])
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
