#!/usr/bin/env python3
"""Writes the pictures of the building, turning-tiles, memory and Sequenz mini-games and their
animation list into data/Games/ (every file name begins with "tiles").

Every picture is drawn here from simple shapes with the menu pictures' drawing code
(make_menu_pictures.py), so the data carries nothing taken from elsewhere; the output is the same
on every run.

Pictures (names as the list gives them):
  tiles_bauen_hg.png   384x384: a light wooden table top, the building game's field
                       ("TILES_BAUEN_HG"); square, so the 2 x 2 board's cells are square
  tiles_bauen.png      512x256: the building pieces at 128 pixels a cell: a blue bar two cells
                       high ("TILES_BAUEN_LANG", 0 0 128 256), an orange half cell above the
                       diagonal from top left to bottom right (its top and right quarters,
                       "TILES_BAUEN_HALB_OBEN"), a green half cell below it (bottom and left,
                       "TILES_BAUEN_HALB_UNTEN") and a red full cell ("TILES_BAUEN_VOLL")
  tiles_drehbild.png   512x512: a landscape of 480x320 at its top-left corner (sky, sun, a
                       house, a tree, hills and a path), "TILES_DREHBILD_LANDSCHAFT": 3 x 2
                       square tiles, each with an up and a down
  tiles_memory.png     512x256: cards of 128x128: the back (a blue card with gold diamonds), a
                       sun, a moon, a star and the star's outline (the star pair's second face):
                       "TILES_MEMORY_RUECKSEITE", "_SONNE", "_MOND", "_STERN", "_STERN_UMRISS"
  tiles_sequenz.png    512x512: four round pads of 128x128 (red, green, blue, yellow), lit in
                       row 0 and resting in row 1 ("TILES_SEQUENZ_FELD_1" .. "_4": two frames,
                       lit then resting, played once, resting at the start); in row 2 a ring of
                       light ("TILES_SEQUENZ_LICHT") and an eye ("TILES_SEQUENZ_AUGE", shown
                       while the game demonstrates)
List: tiles.ani (the textures and the animations).

Test data (tests/game/minigames/data/, for the turning-tiles and memory tests): tiles_weiss.png,
an opaque white card of 64x32 (drawn at an alpha over black, its pixels are that alpha; its
proportions are 2 : 1), and tiles_test.ani naming it "TILES_TEST_WEISS".

Usage: tools/make_minigame_pictures_tiles.py [output folder]   (default: data/Games in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_test_pictures import MINIGAME_TEST_DATA, png_bytes, write_files
from make_menu_pictures import Canvas, band, circle, grown, noise, polygon, rounded_rect, segment, union, vertical

FOLDER = "data\\Games"  # where the list says the pictures lie
CELL = 128


def star(cx, cy, outer, inner, points=5, turn=-math.pi / 2):
    corners = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = turn + i * math.pi / points
        corners.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(corners)


def shade(colour, factor):
    return tuple(max(0, min(255, int(c * factor))) for c in colour[:3]) + (colour[3] if len(colour) > 3 else 255,)


# ---- building ----

def building_background():
    c = Canvas(384, 384)

    def wood(x, y):
        grain = 10 * math.sin(y * 0.09 + 3 * math.sin(x * 0.013)) + 6 * noise(x // 3, y, 17)
        plank = 14 if (int(x) // 96) % 2 else 0
        return (int(0xC8 + grain - plank), int(0x9C + grain * 0.8 - plank), int(0x68 + grain * 0.5 - plank), 255)
    c.paint(lambda x, y: -1, wood)
    for left in range(96, 384, 96):
        c.paint(segment(left, 0, left, 384, 1.5), (0x70, 0x50, 0x30, 160))
    c.paint(lambda x, y: band(rounded_rect(0, 0, 384, 384, 6), 6)(x, y), (0x50, 0x34, 0x1C, 255))
    return c.png()


def block(c, shape, colour, box):
    c.paint(shape, shade(colour, 0.55), box)
    c.paint(grown(shape, -5), colour, box)
    c.paint(lambda x, y: max(grown(shape, -5)(x, y), -(grown(shape, -5)(x, y) + 8)), shade(colour, 1.25), box)


def building_pieces():
    c = Canvas(512, 256)
    block(c, rounded_rect(2, 2, 126, 254, 6), (0x30, 0x70, 0xD0, 255), (0, 0, 128, 256))
    c.paint(segment(12, 128, 116, 128, 2), (0x20, 0x40, 0x80, 200), (0, 120, 128, 136))
    block(c, polygon([(130, 2), (254, 2), (254, 126)]), (0xF0, 0x90, 0x20, 255), (128, 0, 256, 128))
    block(c, polygon([(130, 130), (254, 254), (130, 254)]), (0x40, 0xB0, 0x50, 255), (128, 128, 256, 256))
    block(c, rounded_rect(258, 2, 382, 126, 6), (0xD0, 0x30, 0x30, 255), (256, 0, 384, 128))
    return c.png()


# ---- turning tiles ----

def landscape():
    c = Canvas(512, 512)
    box = (0, 0, 480, 320)
    c.paint(lambda x, y: -1, vertical((0x50, 0x90, 0xE0), (0xC0, 0xE0, 0xF8), 0, 200), box)
    c.paint(circle(70, 62, 34), (0xFF, 0xD8, 0x30, 255), box)
    for i in range(8):
        a = i * math.pi / 4
        c.paint(segment(70 + 44 * math.cos(a), 62 + 44 * math.sin(a), 70 + 58 * math.cos(a), 62 + 58 * math.sin(a), 6),
                (0xFF, 0xC8, 0x20, 255), box)
    c.paint(union(circle(230, 60, 22), circle(258, 50, 28), circle(288, 62, 20)), (0xFF, 0xFF, 0xFF, 235), box)
    c.paint(union(segment(380, 90, 394, 100, 4), segment(394, 100, 408, 90, 4)), (0x28, 0x28, 0x30, 255), box)
    c.paint(lambda x, y: (205 - 25 * math.sin(x / 480 * math.pi * 2 + 0.5)) - y,
            lambda x, y: (0x50 + int(8 * noise(x, y, 4)), 0xA0, 0x40, 255), box)
    c.paint(lambda x, y: (250 - 12 * math.sin(x / 480 * math.pi * 3)) - y,
            lambda x, y: (0x40 + int(8 * noise(x, y, 5)), 0x88, 0x38, 255), box)
    c.paint(polygon([(210, 320), (270, 320), (250, 230), (236, 230)]), (0xD8, 0xC0, 0x88, 255), box)
    c.paint(rounded_rect(60, 190, 170, 280, 2), (0xE8, 0xD8, 0xB0, 255), box)
    c.paint(polygon([(50, 192), (115, 140), (180, 192)]), (0xB0, 0x38, 0x28, 255), box)
    c.paint(rounded_rect(100, 232, 128, 280, 2), (0x78, 0x48, 0x28, 255), box)
    c.paint(rounded_rect(72, 206, 92, 226, 1), (0x60, 0x80, 0xB0, 255), box)
    c.paint(rounded_rect(138, 206, 158, 226, 1), (0x60, 0x80, 0xB0, 255), box)
    c.paint(rounded_rect(372, 200, 388, 290, 2), (0x70, 0x48, 0x28, 255), box)
    c.paint(union(circle(380, 170, 42), circle(352, 196, 28), circle(408, 196, 28)), (0x28, 0x78, 0x30, 255), box)
    c.paint(circle(395, 160, 6), (0xD0, 0x20, 0x20, 255), box)
    return c.png()


# ---- memory ----

def card_face(c, left, top, colour=(0xF6, 0xEE, 0xDA, 255)):
    box = (left, top, left + CELL, top + CELL)
    body = rounded_rect(left + 6, top + 6, left + CELL - 6, top + CELL - 6, 12)
    c.paint(body, (0x70, 0x60, 0x48, 255), box)
    c.paint(grown(body, -3), colour, box)
    return box


def memory_cards():
    c = Canvas(512, 256)
    box = card_face(c, 0, 0, (0x28, 0x48, 0x98, 255))
    diamonds = union(*[polygon([(x, y - 12), (x + 10, y), (x, y + 12), (x - 10, y)])
                       for x in range(24, 120, 20) for y in range(24, 120, 24)])
    c.paint(lambda x, y: max(diamonds(x, y), rounded_rect(14, 14, 114, 114, 8)(x, y)), (0xE0, 0xB8, 0x40, 255), box)
    box = card_face(c, 128, 0)
    c.paint(circle(192, 64, 24), (0xF8, 0xC0, 0x20, 255), box)
    for i in range(12):
        a = i * math.pi / 6
        c.paint(segment(192 + 32 * math.cos(a), 64 + 32 * math.sin(a), 192 + 44 * math.cos(a), 64 + 44 * math.sin(a), 5),
                (0xF0, 0x90, 0x10, 255), box)
    box = card_face(c, 256, 0)
    c.paint(lambda x, y: max(circle(318, 64, 38)(x, y), -circle(336, 52, 34)(x, y)), (0x58, 0x68, 0xB8, 255), box)
    box = card_face(c, 384, 0)
    c.paint(star(448, 68, 46, 19), (0xE0, 0x40, 0x30, 255), box)
    box = card_face(c, 0, 128)
    c.paint(band(star(64, 196, 46, 19), 5), (0xE0, 0x40, 0x30, 255), box)
    return c.png()


# ---- Sequenz ----

PADS = ((0xE0, 0x30, 0x30), (0x30, 0xB0, 0x40), (0x30, 0x70, 0xE0), (0xF0, 0xC8, 0x20))


def sequence_sheet():
    c = Canvas(512, 512)
    for i, colour in enumerate(PADS):
        for row, light in ((0, 1.0), (1, 0.55)):
            cx, cy = i * CELL + 64, row * CELL + 64
            box = (i * CELL, row * CELL, i * CELL + CELL, row * CELL + CELL)
            c.paint(circle(cx, cy, 58), (0x20, 0x20, 0x28, 255), box)
            c.paint(circle(cx, cy, 52), shade(colour + (255,), light), box)
            if row == 0:
                c.paint(circle(cx, cy, 50), lambda x, y, cx=cx, cy=cy: (255, 255, 255,
                        max(0, int(200 - 4.5 * math.hypot(x - cx + 14, y - cy + 14)))), box)
            else:
                c.paint(circle(cx - 16, cy - 16, 14), (255, 255, 255, 60), box)
    cx, cy, box = 64, 320, (0, 256, 128, 384)
    c.paint(lambda x, y: abs(math.hypot(x - cx, y - cy) - 54) - 9,
            lambda x, y: (255, 230, 90, max(0, int(255 - 22 * abs(math.hypot(x - cx, y - cy) - 54)))), box)
    cx, cy, box = 192, 320, (128, 256, 256, 384)
    eye = lambda x, y: max(circle(cx, cy + 55, 80)(x, y), circle(cx, cy - 55, 80)(x, y))
    c.paint(eye, (0x20, 0x20, 0x28, 255), box)
    c.paint(grown(eye, -4), (0xF8, 0xF8, 0xF0, 255), box)
    c.paint(circle(cx, cy, 19), (0x30, 0x70, 0xC0, 255), box)
    c.paint(circle(cx, cy, 8), (0x10, 0x10, 0x18, 255), box)
    return c.png()


# ---- list ----

def texture(name, picture):
    return [f'\t\t<TEXTUR2D NAME="{name}">', f'\t\t\t<FILE FILENAME="{FOLDER}\\{picture}"/>',
            '\t\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>', '\t\t</TEXTUR2D>']


def still(name, texture_name, left, top, width, height):
    return [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="1" PLAY="1">',
            f'\t\t<FRAMES TEXTUR="{texture_name}">',
            f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="1" SPALTEN="1" RECT_START="{left} {top} {left + width} {top + height}"/>',
            '\t\t</FRAMES>', '\t</ANIMATION_2D>']


def lit_then_resting(name, texture_name, left):
    # Two frames one above the other, a third of a second lit; resting until it is played.
    return [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="3" PLAY_TYPE="ONCE" START_FRAME="1">',
            f'\t\t<FRAMES TEXTUR="{texture_name}">',
            f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="2" SPALTEN="1" RECT_START="{left} 0 {left + CELL} {CELL}"/>',
            '\t\t</FRAMES>', '\t</ANIMATION_2D>']


def animation_list():
    lines = ["<!-- The building, turning-tiles, memory and Sequenz mini-games' animations (written by",
             "     tools/make_minigame_pictures_tiles.py). -->", "<ANIMATIONS>", "\t<TEXTURES>"]
    for name, picture in (("TILES_BAUEN_HG", "tiles_bauen_hg.png"), ("TILES_BAUEN", "tiles_bauen.png"),
                          ("TILES_DREHBILD", "tiles_drehbild.png"), ("TILES_MEMORY", "tiles_memory.png"),
                          ("TILES_SEQUENZ", "tiles_sequenz.png")):
        lines += texture(name, picture)
    lines.append("\t</TEXTURES>")
    lines += still("TILES_BAUEN_HG", "TILES_BAUEN_HG", 0, 0, 384, 384)
    lines += still("TILES_BAUEN_LANG", "TILES_BAUEN", 0, 0, CELL, 2 * CELL)
    lines += still("TILES_BAUEN_HALB_OBEN", "TILES_BAUEN", CELL, 0, CELL, CELL)
    lines += still("TILES_BAUEN_HALB_UNTEN", "TILES_BAUEN", CELL, CELL, CELL, CELL)
    lines += still("TILES_BAUEN_VOLL", "TILES_BAUEN", 2 * CELL, 0, CELL, CELL)
    lines += still("TILES_DREHBILD_LANDSCHAFT", "TILES_DREHBILD", 0, 0, 480, 320)
    for i, name in enumerate(("RUECKSEITE", "SONNE", "MOND", "STERN")):
        lines += still(f"TILES_MEMORY_{name}", "TILES_MEMORY", i * CELL, 0, CELL, CELL)
    lines += still("TILES_MEMORY_STERN_UMRISS", "TILES_MEMORY", 0, CELL, CELL, CELL)
    for i in range(len(PADS)):
        lines += lit_then_resting(f"TILES_SEQUENZ_FELD_{i + 1}", "TILES_SEQUENZ", i * CELL)
    lines += still("TILES_SEQUENZ_LICHT", "TILES_SEQUENZ", 0, 2 * CELL, CELL, CELL)
    lines += still("TILES_SEQUENZ_AUGE", "TILES_SEQUENZ", CELL, 2 * CELL, CELL, CELL)
    lines.append("</ANIMATIONS>")
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


TEST_FOLDER = "tests\\game\\minigames\\data"
TEST_CARD = (64, 32)


def test_pictures():
    width, height = TEST_CARD
    lines = ["<!-- A white card for the turning-tiles and memory tests (written by",
             "     tools/make_minigame_pictures_tiles.py). -->", "<ANIMATIONS>", "\t<TEXTURES>"]
    lines += [line.replace(FOLDER, TEST_FOLDER) for line in texture("TILES_TEST_WEISS", "tiles_weiss.png")]
    lines.append("\t</TEXTURES>")
    lines += still("TILES_TEST_WEISS", "TILES_TEST_WEISS", 0, 0, width, height)
    lines.append("</ANIMATIONS>")
    return {
        "tiles_weiss.png": png_bytes(width, height, lambda x, y: (255, 255, 255, 255)),
        "tiles_test.ani": ("\r\n".join(lines) + "\r\n").encode("ascii"),
    }


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Games")
    os.makedirs(out, exist_ok=True)
    files = {
        "tiles_bauen_hg.png": building_background(),
        "tiles_bauen.png": building_pieces(),
        "tiles_drehbild.png": landscape(),
        "tiles_memory.png": memory_cards(),
        "tiles_sequenz.png": sequence_sheet(),
        "tiles.ani": animation_list(),
    }
    write_files(out, files)
    if not args:
        write_files(MINIGAME_TEST_DATA, test_pictures())


if __name__ == "__main__":
    main()
