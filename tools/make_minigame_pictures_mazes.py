#!/usr/bin/env python3
"""Writes the pictures of the maze, labyrinth and connect-the-dots mini-games, their texture list
and their animations into data/Games/.

Every picture is drawn here from simple shapes with the menu pictures' drawing code
(make_menu_pictures.py), so the data carries nothing taken from elsewhere; the output is the same
on every run.

Pictures (names as the lists give them):
  mazes_maske.png      6x6 (texture "MG_MAZE_MASKE"): the maze's mask, one pixel a room: opaque
                       dark red rooms, the start green at column 0, row 0, two blue goals (column
                       0, row 5 and column 5, row 4), a transparent hole at column 2, row 2
  mazes_hecke.png      192x192: a dark hedge behind the rooms ("MG_MAZE_HECKE")
  mazes_raum.png       512x128: 64x64 cells; row 0: the floor ("MG_MAZE_BODEN"), a wall along the
                       top, right, bottom and left edge ("MG_MAZE_WAND_0" .. "_3"), an open
                       side's worn edge, top, right, bottom ("MG_MAZE_OFFEN_0" .. "_2"); row 1: the
                       left one ("MG_MAZE_OFFEN_3"), the start flag ("MG_MAZE_START"), the goal
                       star ("MG_MAZE_ZIEL"), a footprint of the path ("MG_MAZE_SPUR")
  mazes_platten.png    384x64: the labyrinth's tiles in 64x64 cells, each drawn at rotation 0: a
                       straight path open up and down ("MG_LAB_GERADE"), a corner open up and
                       right ("MG_LAB_ECKE"), a T open up, right and down ("MG_LAB_T"), the
                       entrance open downward ("MG_LAB_EINGANG"), the start ring ("MG_LAB_START")
                       and the goal star ("MG_LAB_ZIEL")
  mazes_himmel.png     400x300: the night sky of connect the dots ("MG_PUNKTE_HIMMEL")
  mazes_punkte.png     128x64: a star point and a small grey point ("MG_PUNKT_STERN",
                       "MG_PUNKT_KLEIN"), white so the game's colours tint them
Lists: mazes.tex (the mask, a texture the maze names) and mazes.ani (the animations, with the
pictures they cut frames from).

Test data (tests/game/minigames/data/, for the maze's fault tests): mazes_punkt.png, a mask of one
green pixel, mazes_leer.png, a fully transparent 4x4 mask, and mazes_masken.tex naming them
"MG_TEST_MASKE_PUNKT" and "MG_TEST_MASKE_LEER".

Usage: tools/make_minigame_pictures_mazes.py [output folder]   (default: data/Games in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import Canvas, circle, polygon, rounded_rect, segment, union, vertical, noise
from make_minigame_pictures import star
from make_test_pictures import MINIGAME_TEST_DATA, png_bytes, write_files

FOLDER = "data\\Games"  # where the lists say the pictures lie
CELL = 64

# ---- the maze ----

ROOM = (0x50, 0x00, 0x00, 255)  # neither green nor blue: a plain room
START = (0x00, 0xFF, 0x00, 255)
GOAL = (0x00, 0x00, 0xFF, 255)
HOLE = (0, 0, 0, 0)
MASK_START = (0, 0)
MASK_GOALS = ((0, 5), (5, 4))
MASK_HOLE = (2, 2)


def mask_picture():
    def pixel(x, y):
        if (x, y) == MASK_START:
            return START
        if (x, y) in MASK_GOALS:
            return GOAL
        if (x, y) == MASK_HOLE:
            return HOLE
        return ROOM
    return png_bytes(6, 6, pixel)


def hedge_picture():
    c = Canvas(192, 192)
    c.paint(lambda x, y: -1, lambda x, y: (0x18 + int(14 * noise(x // 6, y // 6, 11)),
                                           0x40 + int(22 * noise(x // 6, y // 6, 12)), 0x18, 255))
    return c.png()


FLOOR = (0xD8, 0xC0, 0x90, 255)
HEDGE = (0x30, 0x60, 0x28, 255)
WORN = (0xE8, 0xD8, 0xB0, 255)
# Edge strips of a cell at (left, top), side 0 up, 1 right, 2 down, 3 left.


def edge_strip(left, top, side, width):
    if side == 0:
        return rounded_rect(left, top, left + CELL, top + width, 1)
    if side == 1:
        return rounded_rect(left + CELL - width, top, left + CELL, top + CELL, 1)
    if side == 2:
        return rounded_rect(left, top + CELL - width, left + CELL, top + CELL, 1)
    return rounded_rect(left, top, left + width, top + CELL, 1)


def cell_box(index):
    left, top = (index % 8) * CELL, (index // 8) * CELL
    return left, top, (left, top, left + CELL, top + CELL)


def room_sheet():
    c = Canvas(8 * CELL, 2 * CELL)
    left, top, box = cell_box(0)
    c.paint(lambda x, y: -1, lambda x, y: (0xD8 + int(10 * noise(x // 4, y // 4, 21)) - 5, 0xC0, 0x90, 255), box)
    for side in range(4):
        left, top, box = cell_box(1 + side)
        c.paint(edge_strip(left, top, side, 8), HEDGE, box)
        left, top, box = cell_box(5 + side)
        c.paint(edge_strip(left, top, side, 4), WORN, box, alpha=0.6)
    left, top, box = cell_box(9)
    cx, cy = left + 32, top + 32
    c.paint(segment(cx - 10, cy - 18, cx - 10, cy + 20, 4), (0x50, 0x38, 0x20, 255), box)
    c.paint(polygon([(cx - 8, cy - 18), (cx + 18, cy - 10), (cx - 8, cy - 2)]), (0x20, 0xC0, 0x30, 255), box)
    left, top, box = cell_box(10)
    c.paint(star(left + 32, top + 32, 24, 10), (0xFF, 0xD0, 0x20, 255), box)
    left, top, box = cell_box(11)
    c.paint(union(circle(left + 26, top + 36, 7), circle(left + 38, top + 26, 7)), (0x90, 0x20, 0x20, 200), box)
    return c.png()


# ---- the labyrinth ----

PATH_WIDTH = 22
TILE_GROUND = (0x40, 0x48, 0x58, 255)
TILE_PATH = (0xE8, 0xD8, 0xA8, 255)


def path_to(cx, cy, side):
    end = {0: (cx, cy - 32), 1: (cx + 32, cy), 2: (cx, cy + 32), 3: (cx - 32, cy)}[side]
    return segment(cx, cy, end[0], end[1], PATH_WIDTH)


def tile(c, index, sides, ground=True):
    left = index * CELL
    box = (left, 0, left + CELL, CELL)
    cx, cy = left + 32, 32
    if ground:
        c.paint(rounded_rect(left + 1, 1, left + CELL - 1, CELL - 1, 6), TILE_GROUND, box)
    c.paint(union(circle(cx, cy, PATH_WIDTH / 2), *[path_to(cx, cy, s) for s in sides]), TILE_PATH, box)


def tiles_sheet():
    c = Canvas(6 * CELL, CELL)
    tile(c, 0, (0, 2))
    tile(c, 1, (0, 1))
    tile(c, 2, (0, 1, 2))
    left = 3 * CELL
    box = (left, 0, left + CELL, CELL)
    c.paint(rounded_rect(left + 8, 8, left + CELL - 8, CELL - 1, 10), (0x70, 0x60, 0x50, 255), box)
    c.paint(segment(left + 32, 32, left + 32, CELL, PATH_WIDTH), TILE_PATH, box)
    left = 4 * CELL
    box = (left, 0, left + CELL, CELL)
    c.paint(lambda x, y: abs(circle(left + 32, 32, 18)(x, y)) - 5, (0x20, 0xD0, 0x40, 255), box)
    left = 5 * CELL
    box = (left, 0, left + CELL, CELL)
    c.paint(star(left + 32, 32, 22, 9), (0xFF, 0xC8, 0x20, 255), box)
    return c.png()


# ---- connect the dots ----

SKY_W, SKY_H = 400, 300


def sky_picture():
    c = Canvas(SKY_W, SKY_H)
    c.paint(lambda x, y: -1, vertical((0x08, 0x10, 0x30), (0x20, 0x30, 0x60), 0, SKY_H))
    for i in range(60):
        x = (i * 97 + 13) % SKY_W
        y = (i * 53 + 29) % SKY_H
        r = 0.8 + (i % 3) * 0.4
        c.paint(circle(x + 0.5, y + 0.5, r), (0xFF, 0xFF, 0xE0, 140), (x - 3, y - 3, x + 4, y + 4))
    return c.png()


def points_picture():
    c = Canvas(2 * CELL, CELL)
    c.paint(circle(32, 32, 26), (0x80, 0x80, 0x80, 255), (0, 0, CELL, CELL))
    c.paint(star(32, 33, 23, 10), (0xFF, 0xFF, 0xFF, 255), (0, 0, CELL, CELL))
    c.paint(circle(96, 32, 16), (0x80, 0x80, 0x80, 255), (CELL, 0, 2 * CELL, CELL))
    c.paint(circle(96, 32, 12), (0xFF, 0xFF, 0xFF, 255), (CELL, 0, 2 * CELL, CELL))
    return c.png()


# ---- lists ----

HEADER = "<!-- {} (written by tools/make_minigame_pictures_mazes.py). -->"


def texture(name, picture, indent="\t"):
    return [f'{indent}<TEXTUR2D NAME="{name}">', f'{indent}\t<FILE FILENAME="{FOLDER}\\{picture}"/>',
            f'{indent}\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>', f'{indent}</TEXTUR2D>']


def text_file(lines):
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def texture_list():
    lines = [HEADER.format("The maze's mask, a texture the maze names by \"TEXTUR\""), "<TEXTURES>"]
    lines += texture("MG_MAZE_MASKE", "mazes_maske.png")
    return text_file(lines + ["</TEXTURES>"])


def still(name, texture_name, left, top, width, height):
    return [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="1" PLAY="1">',
            f'\t\t<FRAMES TEXTUR="{texture_name}">',
            f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="1" SPALTEN="1" RECT_START="{left} {top} {left + width} {top + height}"/>',
            '\t\t</FRAMES>', '\t</ANIMATION_2D>']


def animation_list():
    lines = [HEADER.format("The maze, labyrinth and connect-the-dots animations"), "<ANIMATIONS>", "\t<TEXTURES>"]
    for name, picture in (("MG_MAZE_HECKE_BILD", "mazes_hecke.png"), ("MG_MAZE_RAUM", "mazes_raum.png"),
                          ("MG_LAB_PLATTEN", "mazes_platten.png"), ("MG_PUNKTE_HIMMEL_BILD", "mazes_himmel.png"),
                          ("MG_PUNKTE", "mazes_punkte.png")):
        lines += texture(name, picture, "\t\t")
    lines.append("\t</TEXTURES>")
    lines += still("MG_MAZE_HECKE", "MG_MAZE_HECKE_BILD", 0, 0, 192, 192)
    cells = ["MG_MAZE_BODEN"] + [f"MG_MAZE_WAND_{s}" for s in range(4)] + [f"MG_MAZE_OFFEN_{s}" for s in range(4)] + \
            ["MG_MAZE_START", "MG_MAZE_ZIEL", "MG_MAZE_SPUR"]
    for index, name in enumerate(cells):
        lines += still(name, "MG_MAZE_RAUM", (index % 8) * CELL, (index // 8) * CELL, CELL, CELL)
    for index, name in enumerate(("MG_LAB_GERADE", "MG_LAB_ECKE", "MG_LAB_T", "MG_LAB_EINGANG", "MG_LAB_START",
                                  "MG_LAB_ZIEL")):
        lines += still(name, "MG_LAB_PLATTEN", index * CELL, 0, CELL, CELL)
    lines += still("MG_PUNKTE_HIMMEL", "MG_PUNKTE_HIMMEL_BILD", 0, 0, SKY_W, SKY_H)
    lines += still("MG_PUNKT_STERN", "MG_PUNKTE", 0, 0, CELL, CELL)
    lines += still("MG_PUNKT_KLEIN", "MG_PUNKTE", CELL, 0, CELL, CELL)
    return text_file(lines + ["</ANIMATIONS>"])


TEST_FOLDER = "tests\\game\\minigames\\data"


def test_masks():
    lines = [HEADER.format("Masks for the maze's fault tests"), "<TEXTURES>"]
    for name, picture in (("MG_TEST_MASKE_PUNKT", "mazes_punkt.png"), ("MG_TEST_MASKE_LEER", "mazes_leer.png")):
        lines += [line.replace(FOLDER, TEST_FOLDER) for line in texture(name, picture)]
    return {
        "mazes_punkt.png": png_bytes(1, 1, lambda x, y: START),
        "mazes_leer.png": png_bytes(4, 4, lambda x, y: HOLE),
        "mazes_masken.tex": text_file(lines + ["</TEXTURES>"]),
    }


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Games")
    os.makedirs(out, exist_ok=True)
    files = {
        "mazes_maske.png": mask_picture(),
        "mazes_hecke.png": hedge_picture(),
        "mazes_raum.png": room_sheet(),
        "mazes_platten.png": tiles_sheet(),
        "mazes_himmel.png": sky_picture(),
        "mazes_punkte.png": points_picture(),
        "mazes.tex": texture_list(),
        "mazes.ani": animation_list(),
    }
    write_files(out, files)
    if not args:
        write_files(MINIGAME_TEST_DATA, test_masks())


if __name__ == "__main__":
    main()
