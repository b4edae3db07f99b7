#!/usr/bin/env python3
"""Writes the particle effects' own picture and its animation list into data/Particles/.

The picture is drawn here from simple shapes (nothing taken from elsewhere); the PNG writer is
the test pictures' (make_test_pictures.py). The output is the same on every run.

Pictures:
  partikel_spark.png  128x32 sheet of four 32x32 white sparks: a soft round glow with four rays
                      that grow from frame to frame (tinted by each particle's colour)
partikel.ani: the sheet's texture and the animations "SPARK" (the four frames, looping) and
"GLOW" (the first frame alone).

Usage: tools/make_particle_pictures.py [output folder]   (default: data/Particles in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_test_pictures import png_bytes

CELL = 32
FRAMES = 4


def spark(x, y):
    frame = x // CELL
    dx = (x % CELL) + 0.5 - CELL / 2
    dy = y + 0.5 - CELL / 2
    r = math.hypot(dx, dy)
    glow = max(0.0, 1.0 - r / (CELL * 0.3)) ** 2
    ray_length = CELL * (0.25 + 0.07 * frame)
    ray = 0.0
    if r < ray_length:
        thin = min(abs(dx), abs(dy))
        ray = max(0.0, 1.0 - thin / 1.5) * (1.0 - r / ray_length)
    alpha = min(1.0, glow + ray)
    return (255, 255, 255, int(round(alpha * 255)))


ANIMATIONS = """<!-- The particle effects' pictures (written by tools/make_particle_pictures.py). -->
<ANIMATIONS>
\t<TEXTURES>
\t\t<TEXTUR2D NAME="partikel_spark">
\t\t\t<FILE FILENAME="data\\Particles\\partikel_spark.png"/>
\t\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>
\t\t</TEXTUR2D>
\t</TEXTURES>
\t<ANIMATION_2D NAME="SPARK" ANIMSPEED="12" PLAY="1">
\t\t<FRAMES TEXTUR="partikel_spark">
\t\t\t<FRAME_PARAMS ANZ_FRAMES="4" SPALTEN="4"/>
\t\t</FRAMES>
\t</ANIMATION_2D>
\t<ANIMATION_2D NAME="GLOW" ANIMSPEED="1" PLAY="1">
\t\t<FRAMES TEXTUR="partikel_spark">
\t\t\t<FRAME_PARAMS ANZ_FRAMES="1" SPALTEN="4"/>
\t\t</FRAMES>
\t</ANIMATION_2D>
</ANIMATIONS>
"""


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Particles")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "partikel_spark.png"), "wb") as f:
        f.write(png_bytes(CELL * FRAMES, CELL, spark))
    with open(os.path.join(out, "partikel.ani"), "wb") as f:
        f.write(ANIMATIONS.replace("\n", "\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
