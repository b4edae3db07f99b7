#!/usr/bin/env python3
"""Writes the puzzle mini-games' pictures (jigsaw, sliding gap, swap) and their animations into
data/Games/.

Every picture is drawn here from simple shapes with the menu pictures' drawing code
(make_menu_pictures.py), so the data carries nothing taken from elsewhere; the output is the same
on every run.

Pictures (names as the list gives them):
  puzzles_puzzle.png  512x512: the jigsaw.
                      (0, 0)-(256, 192) a landscape (sky, sun, hills, a house, a tree) cut into
                      four quarters of 128x96, each with round transparent corners (radius 16), so
                      a press there reaches the piece beneath ("MG_PUZZLE_1" top left,
                      "MG_PUZZLE_2" top right, "MG_PUZZLE_3" bottom left, "MG_PUZZLE_4" bottom
                      right); (256, 0)-(512, 192) the whole landscape without gaps in a gold rim,
                      the end picture ("MG_PUZZLE_ENDE"); (0, 192)-(128, 288) a decoy, a quarter
                      of a night sky ("MG_PUZZLE_FALSCH"); (0, 288)-(272, 496) a wooden frame,
                      8 pixels wide, open in the middle ("MG_PUZZLE_RAHMEN"); (288, 192) and
                      (320, 192) two 32x32 dots, grey (a piece still loose, "MG_PUZZLE_OFFEN")
                      and green (placed, "MG_PUZZLE_FERTIG")
  puzzles_schiebe.png 512x128: the sliding gap's 128x128 cells: a grey stone block
                      ("MG_SCHIEBE_STEIN") and a wooden crate ("MG_SCHIEBE_KISTE"), each with 12
                      transparent pixels around it, and the target's marker, a light green square
                      in a green rim with a flag, filling its cell ("MG_SCHIEBE_ZIEL"): drawn under
                      the tiles, its rim shows around the tile on the target
  puzzles_tausch.png  384x256: the swap picture, a sailing boat on the sea under the sun with an
                      island, cut into six 128x128 tiles ("MG_TAUSCH_1" .. "MG_TAUSCH_6", left to
                      right, then top to bottom)
List: puzzles.ani (the animations, with the pictures they cut frames from).

Usage: tools/make_minigame_pictures_puzzles.py [output folder]   (default: data/Games in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import Canvas, circle, noise, polygon, rounded_rect, segment, union, vertical
from make_minigame_pictures import star

FOLDER = "data\\Games"  # where the list says the pictures lie

PIECE_W, PIECE_H, CORNER = 128, 96, 16


# ---- the jigsaw ----

def landscape(c, ox, oy, box):
    """The 256x192 landscape with its top-left corner at (ox, oy), painted inside box."""
    c.paint(lambda x, y: -1, vertical((0x58, 0x98, 0xE0), (0xC0, 0xDC, 0xF4), oy, oy + 120), box)
    c.paint(circle(ox + 200, oy + 44, 24), (0xFF, 0xD0, 0x38, 255), box)
    c.paint(lambda x, y: (oy + 120 - 22 * math.sin((x - ox) / 256 * math.pi * 2 + 0.6)) - y,
            (0x70, 0xB0, 0x50, 255), box)
    c.paint(lambda x, y: (oy + 146 - 12 * math.cos((x - ox) / 256 * math.pi * 3)) - y,
            lambda x, y: (0x48 + int(8 * noise(x, y, 7)), 0x90, 0x38, 255), box)
    c.paint(rounded_rect(ox + 40, oy + 96, ox + 112, oy + 150, 2), (0xE8, 0xD0, 0xA0, 255), box)
    c.paint(polygon([(ox + 32, oy + 98), (ox + 76, oy + 60), (ox + 120, oy + 98)]), (0xB0, 0x30, 0x28, 255), box)
    c.paint(rounded_rect(ox + 68, oy + 120, ox + 86, oy + 150, 2), (0x70, 0x48, 0x28, 255), box)
    c.paint(rounded_rect(ox + 48, oy + 106, ox + 62, oy + 120, 1), (0x50, 0x70, 0x98, 255), box)
    c.paint(rounded_rect(ox + 178, oy + 104, ox + 188, oy + 160, 2), (0x78, 0x50, 0x30, 255), box)
    c.paint(union(circle(ox + 183, oy + 92, 26), circle(ox + 166, oy + 106, 18), circle(ox + 200, oy + 106, 18)),
            (0x28, 0x78, 0x30, 255), box)
    c.paint(polygon([(ox + 80, oy + 192), (ox + 96, oy + 150), (ox + 104, oy + 150), (ox + 136, oy + 192)]),
            (0xD8, 0xC0, 0x88, 255), box)


def piece_shape(left, top):
    return rounded_rect(left, top, left + PIECE_W, top + PIECE_H, CORNER)


def jigsaw_picture():
    c = Canvas(512, 512)
    # The quarters: the landscape painted into each quarter's rounded shape only.
    whole = Canvas(256, 192)
    landscape(whole, 0, 0, (0, 0, 256, 192))
    for qy in (0, PIECE_H):
        for qx in (0, PIECE_W):
            shape = piece_shape(qx, qy)
            c.paint(shape, lambda x, y: tuple(round(v * 255) for v in whole.px[int(y) * 256 + int(x)]),
                    (qx, qy, qx + PIECE_W, qy + PIECE_H))
    # The end picture: the landscape whole, in a gold rim, with two sparkles.
    box = (256, 0, 512, 192)
    landscape(c, 256, 0, box)
    rim = rounded_rect(256, 0, 512, 192, 6)
    c.paint(lambda x, y: max(rim(x, y), -(rim(x, y) + 5)), (0xE0, 0xB0, 0x30, 255), box)
    for sx, sy in ((300, 40), (470, 150)):
        c.paint(star(sx, sy, 12, 4, 4), (0xFF, 0xF4, 0xB0, 255), box)
    # The decoy: a night sky with the moon and stars, shaped like a piece.
    box = (0, 192, 128, 288)
    shape = piece_shape(0, 192)
    c.paint(shape, vertical((0x10, 0x18, 0x40), (0x30, 0x38, 0x70), 192, 288), box)
    c.paint(lambda x, y: max(shape(x, y), circle(84, 224, 18)(x, y)), (0xF0, 0xF0, 0xD0, 255), box)
    c.paint(lambda x, y: max(shape(x, y), circle(92, 218, 16)(x, y)), (0x10, 0x18, 0x40, 255), box)
    for sx, sy in ((24, 214), (44, 262), (106, 270), (60, 236)):
        c.paint(star(sx, sy, 5, 2), (0xFF, 0xFF, 0xE0, 255), box)
    # The frame: 272x208, 8 pixels of wood around an open middle.
    box = (0, 288, 272, 496)
    outer = rounded_rect(0, 288, 272, 496, 4)
    inner = rounded_rect(8, 296, 264, 488, 1)
    c.paint(lambda x, y: max(outer(x, y), -inner(x, y)),
            lambda x, y: (0x80 + int(10 * noise(x, y // 3, 2)), 0x58, 0x30, 255), box)
    # The status dots.
    for i, colour in enumerate(((0x90, 0x90, 0x98, 255), (0x30, 0xC0, 0x40, 255))):
        cx, cy = 288 + i * 32 + 16, 208
        box = (288 + i * 32, 192, 320 + i * 32, 224)
        c.paint(circle(cx, cy, 13), (0x20, 0x20, 0x20, 255), box)
        c.paint(circle(cx, cy, 11), colour, box)
    return c.png()


# ---- the sliding gap ----

def sliding_picture():
    c = Canvas(512, 128)
    # The tiles leave 12 transparent pixels on every side, where the marker of the target shows.
    box = (0, 0, 128, 128)
    c.paint(rounded_rect(12, 12, 116, 116, 10), (0x50, 0x50, 0x58, 255), box)
    c.paint(rounded_rect(16, 16, 112, 112, 8), lambda x, y: (0x98 + int(12 * noise(x, y, 4)), 0x98, 0xA0, 255), box)
    c.paint(lambda x, y: abs(y - 64 - 6 * math.sin(x / 14)) - 1.5, (0x70, 0x70, 0x78, 255), (20, 20, 108, 108))
    box = (128, 0, 256, 128)
    c.paint(rounded_rect(140, 12, 244, 116, 4), (0x6A, 0x44, 0x20, 255), box)
    c.paint(rounded_rect(148, 20, 236, 108, 2), lambda x, y: (0xC0 + int(10 * noise(x, y // 4, 6)), 0x88, 0x48, 255),
            box)
    c.paint(union(segment(150, 22, 234, 106, 10), segment(234, 22, 150, 106, 10)), (0x6A, 0x44, 0x20, 255), box)
    # The marker fills its cell: a green square around a flag.
    box = (256, 0, 384, 128)
    c.paint(rounded_rect(258, 2, 382, 126, 10), (0x30, 0xA0, 0x40, 255), box)
    c.paint(rounded_rect(264, 8, 376, 120, 6), (0xD8, 0xF8, 0xD0, 255), box)
    c.paint(segment(306, 30, 306, 100, 5), (0x50, 0x40, 0x30, 255), box)
    c.paint(polygon([(308, 30), (346, 42), (308, 56)]), (0x30, 0xB0, 0x40, 255), box)
    return c.png()


# ---- the swap puzzle ----

def swap_picture():
    c = Canvas(384, 256)
    c.paint(lambda x, y: -1, vertical((0x40, 0x80, 0xD8), (0xB0, 0xD8, 0xF8), 0, 150))
    c.paint(circle(300, 60, 34), (0xFF, 0xC8, 0x30, 255))
    c.paint(union(circle(70, 50, 20), circle(96, 42, 26), circle(124, 54, 18)), (0xFF, 0xFF, 0xFF, 235))
    c.paint(lambda x, y: 150 - y, lambda x, y: (0x20, 0x60 + int(10 * noise(x, y, 8)), 0xA8, 255))
    for wy in (176, 206, 236):
        c.paint(lambda x, y, wy=wy: abs(y - wy - 4 * math.sin(x / 14)) - 1.2, (0x80, 0xB8, 0xE8, 255))
    c.paint(union(circle(330, 152, 46)), (0xE0, 0xC8, 0x80, 255), (270, 100, 384, 160))
    c.paint(rounded_rect(322, 104, 330, 150, 2), (0x70, 0x50, 0x30, 255))
    c.paint(union(circle(326, 100, 18), circle(312, 108, 12), circle(340, 108, 12)), (0x30, 0x90, 0x38, 255))
    c.paint(polygon([(110, 170), (250, 170), (230, 196), (130, 196)]), (0x90, 0x30, 0x28, 255))
    c.paint(segment(180, 60, 180, 172, 5), (0x50, 0x38, 0x20, 255))
    c.paint(polygon([(184, 66), (240, 160), (184, 160)]), (0xF8, 0xF4, 0xE8, 255))
    c.paint(polygon([(176, 80), (126, 160), (176, 160)]), (0xE8, 0xD8, 0xC0, 255))
    c.paint(polygon([(180, 56), (200, 62), (180, 68)]), (0xE0, 0x30, 0x30, 255))
    return c.png()


# ---- the list ----

def texture(name, picture):
    return [f'\t\t<TEXTUR2D NAME="{name}">', f'\t\t\t<FILE FILENAME="{FOLDER}\\{picture}"/>',
            '\t\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>', '\t\t</TEXTUR2D>']


def still(name, texture_name, left, top, width, height):
    return [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="1" PLAY="1">',
            f'\t\t<FRAMES TEXTUR="{texture_name}">',
            f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="1" SPALTEN="1" RECT_START="{left} {top} {left + width} {top + height}"/>',
            '\t\t</FRAMES>', '\t</ANIMATION_2D>']


def animation_list():
    lines = ["<!-- The puzzle mini-games' animations (written by tools/make_minigame_pictures_puzzles.py). -->",
             "<ANIMATIONS>", "\t<TEXTURES>"]
    for name, picture in (("MG_PUZZLE_BILD", "puzzles_puzzle.png"), ("MG_SCHIEBE_BILD", "puzzles_schiebe.png"),
                          ("MG_TAUSCH_BILD", "puzzles_tausch.png")):
        lines += texture(name, picture)
    lines.append("\t</TEXTURES>")
    for i, (qx, qy) in enumerate(((0, 0), (PIECE_W, 0), (0, PIECE_H), (PIECE_W, PIECE_H))):
        lines += still(f"MG_PUZZLE_{i + 1}", "MG_PUZZLE_BILD", qx, qy, PIECE_W, PIECE_H)
    lines += still("MG_PUZZLE_ENDE", "MG_PUZZLE_BILD", 256, 0, 256, 192)
    lines += still("MG_PUZZLE_FALSCH", "MG_PUZZLE_BILD", 0, 192, PIECE_W, PIECE_H)
    lines += still("MG_PUZZLE_RAHMEN", "MG_PUZZLE_BILD", 0, 288, 272, 208)
    lines += still("MG_PUZZLE_OFFEN", "MG_PUZZLE_BILD", 288, 192, 32, 32)
    lines += still("MG_PUZZLE_FERTIG", "MG_PUZZLE_BILD", 320, 192, 32, 32)
    for i, name in enumerate(("STEIN", "KISTE", "ZIEL")):
        lines += still(f"MG_SCHIEBE_{name}", "MG_SCHIEBE_BILD", i * 128, 0, 128, 128)
    for i in range(6):
        lines += still(f"MG_TAUSCH_{i + 1}", "MG_TAUSCH_BILD", (i % 3) * 128, (i // 3) * 128, 128, 128)
    return ("\r\n".join(lines + ["</ANIMATIONS>"]) + "\r\n").encode("ascii")


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Games")
    os.makedirs(out, exist_ok=True)
    files = {
        "puzzles_puzzle.png": jigsaw_picture(),
        "puzzles_schiebe.png": sliding_picture(),
        "puzzles_tausch.png": swap_picture(),
        "puzzles.ani": animation_list(),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
