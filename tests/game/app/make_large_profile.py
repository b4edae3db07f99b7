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
  near       in place of the second profile, profiles "Voll0", "Voll1" ... of lists of names of 256
             characters and nothing else, so that the file is MIB KiB (not MiB) under what a file
             keeps (96 MiB, counted as the game charges it once started: what it always writes,
             the first chapter, every profile with its statistics and achievements as written
             once it is made active)
  small      the same, MIB MiB under it, with a thousand profiles "Klein0", "Klein1" ... of a name
             alone before "Berta"
  hostile    a UTF-8 file: 202 profiles with every chapter of the campaign passed with three stars,
             and in every variant a hundred highscores whose names and game names are 256 emoji
             with statistics of the longest counters (MIB is not used)
The charges of "near" and "small" are those of the x86-64 build (XMLNode::elementCost ...: an
element 88 bytes, an attribute 40, a value 24, and 4 a character), within a few bytes (the date of
the highscore written at the start). Nothing here is shipped: the file is made where asked.
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


# What a read of the saved file charges (XMLNode::elementCost, attributeCost, valueCost).
def element(name):
    return 88 + 4 * len(name)


def attribute(name, units):
    return 40 + 4 * len(name) + 4 * units


def value(units):
    return 24 + 4 * units


KEPT = 96 << 20  # Profil::kMaxKeptBytes
COUNTERS = ("MOUSE_KM", "CLICK", "DBL_CLICK", "FAIL_DBL_CLICK", "STARTED", "WON", "END", "UNDOS", "TIPPS",
            "MOVED", "MIX", "MAX_COMBO", "ANZ_COMBOS", "COMBOS")
# A profile as the game charges it (Profil::measure): its element, name and points, the elements it
# always writes, the god charges, and the first chapter of three levels where it has none.
PROFILE = (element("PROFIL") + attribute("NAME", 40) + attribute("POINTS", 16) + element("TUTORIAL") +
           attribute("SHOW", 1) + sum(element(e) for e in ("SOLITAIRE_TUTORIALS", "STORY", "KAMPAGNE", "UNLOCKS",
                                                         "PROFILE_DATA", "STATISTIK", "ACHIVEMENT_DATA",
                                                         "PERCENT_GODS")) + 4 * value(22))
CHAPTER = element("KAPITEL") + attribute("KAPITEL", 4) + attribute("RESULT", 1)
LEVEL = element("LEVEL") + attribute("LEVEL", 4) + attribute("RESULT", 1) + attribute("STARS_FOUND", 10)


def achievement_names():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "data", "achivement.acv")
    with open(path, "rb") as source:
        return list(dict.fromkeys(re.findall(rb'<ACHIVEMENT\b[^>]*?\bNAME="([^"]*)"', source.read())))


def live_charge():
    """What every profile is charged beside PROFILE: its statistics and achievements as the game
    writes them once it is made active, which any profile may be."""
    statistics = (element("STATISTIK") + attribute("NAME", 16) + sum(attribute(c, 10) for c in COUNTERS) +
                  attribute("TIME", 24))
    achievements = sum(element("ACHIVEMENT") + attribute("NAME", len(n)) + attribute("VALUE", 16) +
                       attribute("UNLOCKED", 1) for n in achievement_names())
    return statistics + achievements


def fixed_charge():
    """What the file's element, "Anna", "Berta" and the highscore of HEAD and TAIL are charged."""
    rest = (element("PROFILE") + attribute("ACTIVE_PROFIL", 40) + element("HIGHSCORES") +
            element("VARIANT_HIGHSCORES") + attribute("CAT_NAME", 9) + attribute("GAME_NAME", 6) +
            attribute("VAR_NAME", 6) + element("HIGHSCORE") + attribute("NAME", 4) + attribute("GAME_NAME", 0) +
            attribute("SCORE", 3) + attribute("DATE", 16))
    anna = PROFILE + live_charge() + CHAPTER + LEVEL + value(4)
    return rest + anna + PROFILE + live_charge() + CHAPTER + 3 * LEVEL


def write_near(path, under, small=0):
    """Profiles of lists of names of 256 characters, and `small` profiles of a name alone, under
    `under` bytes short of what a file keeps."""
    name = b"n" * 256
    each = PROFILE + live_charge() + CHAPTER + 3 * LEVEL
    left = KEPT - under - fixed_charge() - small * each
    with open(path, "wb") as out:
        out.write(HEAD)
        profile = 0
        while left > each + value(0):
            left -= each
            out.write(b'\t<PROFIL NAME="Voll%d">\r\n' % profile)
            for list_name in (b"TUTORIAL", b"SOLITAIRE_TUTORIALS", b"STORY", b"UNLOCKS"):
                count = min(left // value(256), 4096)
                out.write(b"<" + list_name + b">\r\n" + (b'"|' + name + b'|"\r\n') * count)
                left -= count * value(256)
                if count < 4096 and left >= value(0):
                    # The last value takes what is left, to four bytes.
                    units = min((left - value(0)) // 4, 255)
                    out.write(b'"|' + b"n" * units + b'|"\r\n')
                    left -= value(units)
                out.write(b"</" + list_name + b">\r\n")
            out.write(b"\t</PROFIL>\r\n")
            profile += 1
        for i in range(small):
            out.write(b'\t<PROFIL NAME="Klein%d"/>\r\n' % i)
        out.write(TAIL)


def levels_of():
    """The levels of the campaign's chapters, in order (data/Level/Level.dat)."""
    level = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "data", "Level", "Level.dat")
    with open(level, "rb") as source:
        data = source.read()
    campaign = data[data.index(b'NAME="KAMPAGNE"'):]
    following = campaign.find(b"<KATEGORIE")
    games = re.split(rb"<GAME\b", campaign[:following] if following > 0 else campaign)[1:]
    return [game.count(b"<VARIANTE") for game in games]


def write_hostile(path):
    """202 profiles with every chapter passed, a hundred highscores of emoji names in every variant."""
    emoji = "\U0001F600".encode("utf-8") * 256
    counters = b" ".join(b'%s="4294967295"' % c.encode() for c in COUNTERS)
    entry = (b'<HIGHSCORE NAME="' + emoji + b'" GAME_NAME="' + emoji + b'" SCORE="%d" DATE="23 59 31 12 2026">'
             b'<STATISTIK ' + counters + b' TIME="1.2345678901234567e+300"/></HIGHSCORE>\r\n')
    with open(path, "wb") as out:
        out.write(b"\xEF\xBB\xBF" + b'<PROFILE ACTIVE_PROFIL="P0">\r\n')
        campaign = b"".join(b'<KAPITEL KAPITEL="%d" RESULT="2">' % c +
                            b"".join(b'<LEVEL LEVEL="%d" RESULT="4" STARS_FOUND="0"/>' % l for l in range(n)) +
                            b"</KAPITEL>\r\n" for c, n in enumerate(levels_of()))
        for profile in range(202):
            out.write(b'\t<PROFIL NAME="P%d"><KAMPAGNE>\r\n' % profile + campaign + b"</KAMPAGNE></PROFIL>\r\n")
        out.write(b"\t<HIGHSCORES>\r\n")
        for category, game, variant in variants():
            out.write(b'\t\t<VARIANT_HIGHSCORES CAT_NAME="%s" GAME_NAME="%s" VAR_NAME="%s">\r\n' % (category, game, variant))
            out.write(b"".join(entry % (1000 - i) for i in range(100)) + b"\t\t</VARIANT_HIGHSCORES>\r\n")
        out.write(b"\t</HIGHSCORES>\r\n</PROFILE>\r\n")


def main():
    if sys.argv[1:2] in (["--help"], ["-h"]):
        print(__doc__)
        return
    cases = ("name", "value", "attribute", "element", "elements", "data", "alone", "first", "highscores", "near",
             "small", "hostile")
    if len(sys.argv) != 4 or sys.argv[2] not in cases:
        sys.exit(__doc__)
    path, case = sys.argv[1], sys.argv[2]
    if case in ("data", "alone", "first"):
        write_data(path, float(sys.argv[3]), case)
        return
    if case == "highscores":
        write_highscores(path, float(sys.argv[3]))
        return
    if case in ("near", "small"):
        write_near(path, int(float(sys.argv[3]) * (1 << (10 if case == "near" else 20))), 1000 if case == "small" else 0)
        return
    if case == "hostile":
        write_hostile(path)
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
