#!/usr/bin/env python3
"""Writes the frame-animation test sheet and its animation list.

The sheet is a 64 x 32 RGBA PNG of eight 16 x 16 cells in four columns and two rows. Cell k is
one opaque colour (COLOURS[k]) with a one-pixel black border, so a test can tell every frame and
every cut edge from a pixel read. The ".ani" list beside it names the sheet as a texture and
defines a few animations over it. Output is the same on every run.

Usage: tools/make_animation_sheet.py [output folder]
       (default: tests/engine/render/data/animations beside this tool's repo)
"""
import os
import struct
import sys
import zlib
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

CELL = 16
COLUMNS = 4
ROWS = 2
# Opaque ARGB colours of the cells, in frame order.
COLOURS = [0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
           0xFF00FFFF, 0xFFFF00FF, 0xFFFF8000, 0xFF8000FF]
BORDER = 0xFF000000

ANI = """<!-- Test animations over walker_sheet.png (made by tools/make_animation_sheet.py):
     eight 16 x 16 cells, four columns, two rows. -->
<ANIMATIONS>
\t<TEXTURES>
\t\t<TEXTUR2D NAME="walker_sheet">
\t\t\t<FILE FILENAME="animations\\walker_sheet.png"/>
\t\t</TEXTUR2D>
\t</TEXTURES>
\t<ANIMATION_2D NAME="walker" ANIMSPEED="8" PLAY="1">
\t\t<FRAMES TEXTUR="walker_sheet">
\t\t\t<FRAME_PARAMS ANZ_FRAMES="8" SPALTEN="4"/>
\t\t</FRAMES>
\t</ANIMATION_2D>
\t<ANIMATION_2D NAME="walker_bounce" ANIMSPEED="4" PLAY_TYPE="FORWARD_BACKWARD">
\t\t<FRAMES TEXTUR="walker_sheet">
\t\t\t<FRAME_PARAMS ANZ_FRAMES="8" SPALTEN="4" CUT_RAND="1">
\t\t\t\t<ORDER>"|0 - 3|"</ORDER>
\t\t\t</FRAME_PARAMS>
\t\t</FRAMES>
\t</ANIMATION_2D>
\t<ANIMATION_2D NAME="walker_once" PLAY_TYPE="ONCE" REVERSE="1">
\t\t<FRAMES TEXTUR="walker_sheet">
\t\t\t<FRAME_PARAMS ANZ_FRAMES="4" SPALTEN="4"/>
\t\t</FRAMES>
\t</ANIMATION_2D>
</ANIMATIONS>
"""


def pixel(x, y):
    """The ARGB colour of sheet pixel (x, y)."""
    cx, cy = x % CELL, y % CELL
    if cx in (0, CELL - 1) or cy in (0, CELL - 1):
        return BORDER
    return COLOURS[(y // CELL) * COLUMNS + x // CELL]


def png(width, height, argb_at):
    """An RGBA PNG (colour type 6, 8 bits) of width x height pixels."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # filter: none
        for x in range(width):
            c = argb_at(x, y)
            rows += bytes(((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, (c >> 24) & 0xFF))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
            + chunk(b"IEND", b""))


def main():
    args = command_line.arguments(__doc__, 1)
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = args[0] if args else os.path.join(repo, "tests", "engine", "render", "data", "animations")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "walker_sheet.png"), "wb") as f:
        f.write(png(CELL * COLUMNS, CELL * ROWS, pixel))
    with open(os.path.join(out, "walker.ani"), "w", newline="\r\n") as f:
        f.write(ANI)


if __name__ == "__main__":
    main()
