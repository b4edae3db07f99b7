#!/usr/bin/env python3
"""Writes the in-game screen's and the shop's sound samples into data/Sounds/, with the tones of
make_sounds.py (16-bit mono PCM WAV at 22050 Hz, the same on every run).

  ingame_gott0.wav .. ingame_gott3.wav  a power is ready: a rising chime, one key per god
                                        ("GOD_0_READY" .. "GOD_3_READY")
  shop_kauf.wav                         a purchase: two bright clinks and a ring ("BUY_JOKER",
                                        "BUY_WILDCARDS")

Usage: tools/make_ingame_sounds.py [output folder]   (default: data/Sounds in this repo)
"""
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_sounds import sequence, tone, write

BELL = ((1, 1.0), (2, 0.4), (3, 0.15))
# The root of each god's chime (C, D, E and G), so the four are told apart by ear.
GOD_ROOTS = (523, 587, 659, 784)


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    folder = args[0] if args else os.path.join(here, "..", "data", "Sounds")
    os.makedirs(folder, exist_ok=True)
    for god, root in enumerate(GOD_ROOTS):
        chime = sequence([(root, 0.07), (root * 1.25, 0.07), (root * 1.5, 0.07), (root * 2, 0.35)], level=0.28,
                         decay=3, harmonics=BELL)
        write(folder, f"ingame_gott{god}.wav", chime)
    clink = tone(2637, 0.05, level=0.3, decay=40, harmonics=BELL) + tone(3136, 0.05, level=0.3, decay=40, harmonics=BELL)
    write(folder, "shop_kauf.wav", clink + tone(1568, 0.4, level=0.25, decay=6, harmonics=BELL))


if __name__ == "__main__":
    main()
