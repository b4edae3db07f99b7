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
Nothing here is shipped: the file is made where asked.
"""
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


def write_data(path, mib):
    """A profile of quick saves of 4,096 cards each, as many as mib MiB of card texts take."""
    lock = b"n" * 256
    left = int(mib * (1 << 20)) // 256
    with open(path, "wb") as out:
        out.write(HEAD + b'\t<PROFIL NAME="Voll">\r\n\t\t<PROFILE_DATA>\r\n')
        variant = 0
        while left > 0:
            out.write(b'\t\t\t<VARIANT_DATA CAT_NAME="K" GAME_NAME="G" VAR_NAME="V%d"><QUICK_SAVE>\r\n' % variant)
            count = min(left, 4096)
            left -= count
            out.write(b"".join(b'<KARTE ID="%d" LOCK="' % i + lock + b'"/>\r\n' for i in range(count)))
            out.write(b"\t\t\t</QUICK_SAVE></VARIANT_DATA>\r\n")
            variant += 1
        out.write(b"\t\t</PROFILE_DATA>\r\n\t</PROFIL>\r\n" + TAIL)


def main():
    if sys.argv[1:2] in (["--help"], ["-h"]):
        print(__doc__)
        return
    if len(sys.argv) != 4 or sys.argv[2] not in ("name", "value", "attribute", "element", "elements", "data"):
        sys.exit(__doc__)
    path, case = sys.argv[1], sys.argv[2]
    if case == "data":
        write_data(path, float(sys.argv[3]))
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
