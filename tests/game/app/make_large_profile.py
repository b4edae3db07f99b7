#!/usr/bin/env python3
"""Writes a large profile file (8-bit text) to start the game with, for measuring:

    tests/game/app/make_large_profile.py FILE CASE MIB
    HOME=... build-rel/game/app/solitaire -SEARCHPATH . -SEARCHPATH data

FILE is the profile file to write (the game's is ~/.local/share/Orvex/Velquorandix/profile.prf
under HOME). The file holds the active profile "Anna" (a campaign level passed, an unlock), then a
second profile whose one text is MIB MiB of "x", then the profile "Berta" and a highscore.
CASE says which part is large:
  name       the second profile's "NAME" (255: a file of 255 MiB, the largest the game reads)
  value      one value of its "UNLOCKS"
  attribute  the name of an attribute of it (an attribute name MIB MiB long)
  element    the name of an element inside it
  elements   its "PROFILE_DATA", holding MIB MiB of empty elements "<A/>"
  data       in place of the second profile, the profile "Voll" whose per-variant data hold MIB MiB
             of quick-saved cards, each with a "LOCK" of 256 characters, the longest text a
             profile keeps (MIB may be a fraction: 26.188 makes a file read whole within a few KB
             of a read's 128 MB)
  alone      only "Voll" of "data", active, its quick saves in the catalogue's variants (past what a
             read takes from MIB 27 on)
  first      "Voll" of "alone" first, "Anna" and the rest after it
  highscores in place of the second profile, profiles of lists of names of 256 characters, MIB MiB
             of them (a read takes four times that), and after "Berta" a hundred highscores of
             names of 256 characters with statistics in every variant of data/Level/Level.dat
Nothing here is shipped: the file is made where asked.
"""
import os
import re
import sys

HEAD = (b'<PROFILE ACTIVE_PROFIL="Anna">\r\n'
        b'\t<PROFIL NAME="Anna" POINTS="125">\r\n'
        b'\t\t<KAMPAGNE>\r\n\t\t\t<KAPITEL KAPITEL="0" RESULT="1">\r\n'
        b'\t\t\t\t<LEVEL LEVEL="0" RESULT="3" STARS_FOUND="2"/>\r\n'
        b'\t\t\t</KAPITEL>\r\n\t\t</KAMPAGNE>\r\n'
        b'\t\t<UNLOCKS>\r\n\t\t\t"|GOD0|"\r\n\t\t</UNLOCKS>\r\n'
        b'\t</PROFIL>\r\n')
TAIL = (b'\t<PROFIL NAME="Berta" POINTS="7"/>\r\n'
        b'\t<HIGHSCORES>\r\n'
        b'\t\t<VARIANT_HIGHSCORES CAT_NAME="KLASSIKER" GAME_NAME="SPINNE" VAR_NAME="SPINNE">\r\n'
        b'\t\t\t<HIGHSCORE NAME="Anna" SCORE="900"/>\r\n'
        b'\t\t</VARIANT_HIGHSCORES>\r\n'
        b'\t</HIGHSCORES>\r\n'
        b'</PROFILE>\r\n')
CHUNK = b"x" * (1 << 20)


def write_data(path, mib, case="data"):
    """A profile of quick saves of 4,096 cards each, as many as mib MiB of card texts take, after
    "Anna" (data), alone (alone) or before "Anna" (first)."""
    lock = b"n" * 256
    left = int(mib * (1 << 20)) // 256
    anna = HEAD[HEAD.index(b"\t<PROFIL"):]
    with open(path, "wb") as out:
        if case == "data":
            out.write(HEAD)
        else:
            out.write(b'<PROFILE ACTIVE_PROFIL="Voll">\r\n')
        out.write(b'\t<PROFIL NAME="Voll">\r\n\t\t<PROFILE_DATA>\r\n')
        # Alone or first the profile is the active one, whose quick saves the game keeps only for the
        # variants of its catalogue.
        names = variants() if case != "data" else []
        variant = 0
        while left > 0:
            if variant < len(names):
                out.write(b'\t\t\t<VARIANT_DATA CAT_NAME="%s" GAME_NAME="%s" VAR_NAME="%s"><QUICK_SAVE>\r\n' % names[variant])
            else:
                out.write(b'\t\t\t<VARIANT_DATA CAT_NAME="K" GAME_NAME="G" VAR_NAME="V%d"><QUICK_SAVE>\r\n' % variant)
            count = min(left, 4096)
            left -= count
            out.write(b"".join(b'<KARTE ID="%d" LOCK="' % i + lock + b'"/>\r\n' for i in range(count)))
            out.write(b"\t\t\t</QUICK_SAVE></VARIANT_DATA>\r\n")
            variant += 1
        out.write(b"\t\t</PROFILE_DATA>\r\n\t</PROFIL>\r\n")
        if case == "alone":
            out.write(b"</PROFILE>\r\n")
        else:
            out.write((anna if case == "first" else b"") + TAIL)


def variants():
    """(category, game, variant) of every variant of the shipped catalogue, in its order."""
    level = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "data", "Level", "Level.dat")
    names, category, game = [], None, None
    with open(level, "rb") as source:
        for kind, name in re.findall(rb'<(KATEGORIE|GAME|VARIANTE)\b[^>]*?NAME="([^"]*)"', source.read()):
            if kind == b"KATEGORIE":
                category = name
            elif kind == b"GAME":
                game = name
            else:
                names.append((category, game, name))
    return names


def write_highscores(path, mib):
    """Profiles of lists of names of 256 characters (mib MiB of them), then "Berta" and a hundred
    highscores of names of 256 characters with statistics in every variant."""
    value = b'"|' + b"n" * 256 + b'|"\r\n'
    left = int(mib * (1 << 20)) // len(value)
    entry = b'<HIGHSCORE NAME="' + b"h" * 256 + b'" GAME_NAME="' + b"g" * 256 + b'"><STATISTIK/></HIGHSCORE>\r\n'
    with open(path, "wb") as out:
        out.write(HEAD)
        profile = 0
        while left > 0:
            out.write(b'\t<PROFIL NAME="Voll%d">\r\n' % profile)
            for name in (b"TUTORIAL", b"SOLITAIRE_TUTORIALS", b"STORY", b"UNLOCKS"):
                count = min(left, 4096)
                left -= count
                out.write(b"<" + name + b">\r\n" + value * count + b"</" + name + b">\r\n")
            out.write(b"\t</PROFIL>\r\n")
            profile += 1
        out.write(TAIL[:TAIL.index(b"\t\t<VARIANT_HIGHSCORES")])
        for category, game, variant in variants():
            out.write(b'\t\t<VARIANT_HIGHSCORES CAT_NAME="%s" GAME_NAME="%s" VAR_NAME="%s">\r\n' % (category, game, variant))
            if (category, game, variant) == (b"KLASSIKER", b"SPINNE", b"SPINNE"):
                out.write(b'\t\t\t<HIGHSCORE NAME="Anna" SCORE="900"/>\r\n')
            out.write(entry * 100 + b"\t\t</VARIANT_HIGHSCORES>\r\n")
        out.write(b"\t</HIGHSCORES>\r\n</PROFILE>\r\n")


def main():
    if sys.argv[1:2] in (["--help"], ["-h"]):
        print(__doc__)
        return
    cases = ("name", "value", "attribute", "element", "elements", "data", "alone", "first", "highscores")
    if len(sys.argv) != 4 or sys.argv[2] not in cases:
        sys.exit(__doc__)
    path, case = sys.argv[1], sys.argv[2]
    if case in ("data", "alone", "first"):
        write_data(path, float(sys.argv[3]), case)
        return
    if case == "highscores":
        write_highscores(path, float(sys.argv[3]))
        return
    mib = int(sys.argv[3])
    # The long text is written between these two parts.
    before, after = {
        "name": (b'\t<PROFIL NAME="', b'" POINTS="3"/>\r\n'),
        "value": (b'\t<PROFIL NAME="Lang">\r\n\t\t<UNLOCKS>\r\n\t\t\t"|', b'|"\r\n\t\t</UNLOCKS>\r\n\t</PROFIL>\r\n'),
        "attribute": (b'\t<PROFIL NAME="Lang" ', b'="1"/>\r\n'),
        "element": (b'\t<PROFIL NAME="Lang">\r\n\t\t<', b'/>\r\n\t</PROFIL>\r\n'),
        "elements": (b'\t<PROFIL NAME="Lang">\r\n\t\t<PROFILE_DATA>', b'</PROFILE_DATA>\r\n\t</PROFIL>\r\n'),
    }[case]
    chunk = b"<A/>" * (len(CHUNK) // 4) if case == "elements" else CHUNK
    with open(path, "wb") as out:
        out.write(HEAD + before)
        for _ in range(mib):
            out.write(chunk)
        out.write(after + TAIL)


if __name__ == "__main__":
    main()
