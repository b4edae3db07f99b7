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
  lists    five lists of 4,096 named animations without frames, named by the start screen's
           GUI file before the game reads its own lists (pointer, particles, mini-games, story)
  copies   one "RELOAD_ON_CLONE" animation of 16,384 shuffled frames in the four animation slots
           of a chain of 4,000 templates, each built on the one before (copies of copies), and
           of one window built on the last
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
    if kind == "lists":
        return "", "H4_4095", 1
    if kind == "copies":
        return ('<ANIMATIONS><ANIMATION_2D NAME="HOSTILE" RELOAD_ON_CLONE="1">' + sheet +
                '<ORDER RANDOM_SHUFFLE="1">"|16384 x 0|"</ORDER></ANIMATION_2D></ANIMATIONS>', "HOSTILE", 1)
    raise SystemExit("unknown kind " + kind)


def template_chain(count, shown):
    """Templates HT_0 .. HT_count-1, each built on the one before; HT_0 names the animation in
    its four animation slots."""
    slots = 'ANI_NORMAL="%s" ANI_MARK="%s" ANI_BACKGROUND="%s" ANI_FOREGROUND="%s"' % ((shown,) * 4)
    chain = ['<WINDOW NAME="HT_0"><WINDOW_PARAMS><DRAWOPTIONS %s/></WINDOW_PARAMS></WINDOW>' % slots]
    chain += ['<WINDOW NAME="HT_%d" VORLAGE_PRE="HT_%d ALL"/>' % (i, i - 1) for i in range(1, count)]
    return "<VORLAGEN>\n" + "\n".join(chain) + "\n</VORLAGEN>\n"


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    kind, folder = sys.argv[1], pathlib.Path(sys.argv[2])
    text, shown, windows = hostile(kind)
    data = folder / "data"
    if data.exists():
        shutil.rmtree(data)
    shutil.copytree(ROOT / "data", data)
    lists = ["hostile.ani"] if kind != "lists" else ["hostile%d.ani" % i for i in range(5)]
    for i, name in enumerate(lists):
        if kind == "lists":
            text = "<ANIMATIONS>" + "".join('<ANIMATION_2D NAME="H%d_%d"/>\n' % (i, n) for n in range(4096)) + "</ANIMATIONS>"
        (data / "Menu" / name).write_text(text, encoding="cp1252", newline="\r\n")
    gui = data / "GUI" / "Startmenu.gui"
    page = gui.read_text(encoding="cp1252")
    head = "<GUI>" + "".join('\n\t<ANIMATION FILE="data\\Menu\\%s"/>' % name for name in lists)
    if kind == "copies":
        head += "\n" + template_chain(4000, shown)
    page = page.replace("<GUI>", head, 1)
    shown_windows = "".join(
        '<WINDOW NAME="HOSTILE_%d"><WINDOW_PARAMS><GUIRECT><POS_TL X_REL="%f" Y_REL="0.02"/>'
        '<SIZE X_REL="0.02" Y_REL="0.02"/></GUIRECT><OPTIONS INPUT_IGNORE="3"/>'
        '<DRAWOPTIONS ANI_NORMAL="%s"/></WINDOW_PARAMS></WINDOW>\n' % (i, (i % 45) * 0.022, shown)
        if kind != "copies" else
        '<WINDOW NAME="HOSTILE_%d" VORLAGE_PRE="HT_3999 ALL"><WINDOW_PARAMS><GUIRECT><POS_TL X_REL="%f" Y_REL="0.02"/>'
        '<SIZE X_REL="0.02" Y_REL="0.02"/></GUIRECT><OPTIONS INPUT_IGNORE="3"/></WINDOW_PARAMS></WINDOW>\n'
        % (i, (i % 45) * 0.022)
        for i in range(windows))
    page = page.replace('<WINDOW NAME="SM_Mitte">', shown_windows + '<WINDOW NAME="SM_Mitte">', 1)
    gui.write_text(page, encoding="cp1252", newline="")
    print(folder)


if __name__ == "__main__":
    main()
