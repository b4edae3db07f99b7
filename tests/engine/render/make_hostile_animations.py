#!/usr/bin/env python3
"""Writes a copy of the game's data with hostile animation data, for measuring the game by hand
(never shipped): the start screen's GUI file names an animation list and windows that show one
of its animations.

    tests/engine/render/make_hostile_animations.py KIND FOLDER
    build-rel/bench/startup_watch -- build-rel/game/app/solitaire -SEARCHPATH FOLDER -SEARCHPATH FOLDER/data

KIND:
  reload   one "RELOAD_ON_CLONE" animation of 100,000 empty children (1.4 MB), in 500 windows
  formula  one animation whose speed formula is a balanced sum of 32,768 terms (0.4 MB), in 25 windows
  list     30,000 named animations without frames (0.9 MB), the last in one window
"""
import pathlib
import shutil
import sys

ROOT = pathlib.Path(__file__).resolve().parents[3]


def balanced(depth):
    if depth == 0:
        return "TIME"
    half = balanced(depth - 1)
    return "( " + half + " + " + half + " )"


def hostile(kind):
    """The list's text, the animation the windows show and how many windows show it."""
    sheet = '<FRAMES TEXTUR="SM_KARTEN"/>'
    if kind == "reload":
        children = "<EMPTY_CHILD/>" * 100000
        return ('<ANIMATIONS><ANIMATION_2D NAME="HOSTILE" RELOAD_ON_CLONE="1" ANIMSPEED="5 10">'
                + sheet + children + "</ANIMATION_2D></ANIMATIONS>", "HOSTILE", 500)
    if kind == "formula":
        return ('<ANIMATIONS><ANIMATION_2D NAME="HOSTILE" PLAY="1" ANIMSPEED_TERM="' + balanced(15) + '">'
                + sheet + sheet + "</ANIMATION_2D></ANIMATIONS>", "HOSTILE", 25)
    if kind == "list":
        names = "".join('<ANIMATION_2D NAME="A%d"/>\n' % i for i in range(30000))
        return "<ANIMATIONS>" + names + "</ANIMATIONS>", "A29999", 1
    raise SystemExit("unknown kind " + kind)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    kind, folder = sys.argv[1], pathlib.Path(sys.argv[2])
    text, shown, windows = hostile(kind)
    data = folder / "data"
    if data.exists():
        shutil.rmtree(data)
    shutil.copytree(ROOT / "data", data)
    (data / "Menu" / "hostile.ani").write_text(text, encoding="cp1252", newline="\r\n")
    gui = data / "GUI" / "Startmenu.gui"
    page = gui.read_text(encoding="cp1252")
    page = page.replace("<GUI>", '<GUI>\n\t<ANIMATION FILE="data\\Menu\\hostile.ani"/>', 1)
    shown_windows = "".join(
        '<WINDOW NAME="HOSTILE_%d"><WINDOW_PARAMS><GUIRECT><POS_TL X_REL="%f" Y_REL="0.02"/>'
        '<SIZE X_REL="0.02" Y_REL="0.02"/></GUIRECT><OPTIONS INPUT_IGNORE="3"/>'
        '<DRAWOPTIONS ANI_NORMAL="%s"/></WINDOW_PARAMS></WINDOW>\n' % (i, (i % 45) * 0.022, shown)
        for i in range(windows))
    page = page.replace('<WINDOW NAME="SM_Mitte">', shown_windows + '<WINDOW NAME="SM_Mitte">', 1)
    gui.write_text(page, encoding="cp1252", newline="")
    print(folder)


if __name__ == "__main__":
    main()
