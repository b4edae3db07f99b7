#!/usr/bin/env python3
"""Writes the mini-games' pictures, their texture list and their animations into data/Games/.

Every picture is drawn here from simple shapes with the menu pictures' drawing code
(make_menu_pictures.py), so the data carries nothing taken from elsewhere; the output is the same
on every run.

Pictures (names as the lists give them):
  karten.png       512x128: four small cards 96x128 (heart, diamond, spade, club) with the suit at
                   the top and room for the value, which the game's label writes below it
                   ("MG_KARTE_HERZ" .. "MG_KARTE_KREUZ", animations of one frame)
  koerbe.png       512x304: two trays 240x240, a red and a black one with their suit faintly, each
                   with a clear strip of 48 below it where the game writes the tray's name
                   ("MG_KORB_ROT", "MG_KORB_SCHWARZ", 240x288)
  formen.png       512x256: a blue circle, a green square, an orange triangle and a yellow star
                   in 128x128 cells (row 0, "MG_FORM_KREIS" ...), their grey silhouettes below
                   ("MG_SCHATTEN_KREIS" ...)
  szene.png        800x300 (texture "MG_SZENE"): a house, a tree, the sun and a cloud on a hill,
                   drawn twice side by side; the differences are the parts' own pictures
  teile.png        256x256: the differences in 64x64 cells, row 0 plain (a bird, a flower, a lit
                   window, an apple), row 1 the same ringed in red (found); row 2 a grey and a
                   green dot ("MG_PUNKT_GRAU", "MG_PUNKT_GRUEN") and the second cursor, a ring
                   with a cross ("MG_ZWEITER_ZEIGER")
  symbole.png      512x128: a red heart, a red diamond, a black spade, a black club and a green
                   star in 100x100 cells ("MG_SYMBOL_HERZ" ...)
  pfad_1.png, pfad_2.png   400x300: three winding paths from three gates at the bottom to three
                   ends at the top, one of them a chest; the two differ in the glow of the gates
                   ("MG_PFADE", two frames)
  ziel_1.png, ziel_2.png   400x300: a star over the chest, transparent elsewhere, pulsing
                   ("MG_PFAD_ZIEL", two frames)
  reihenfolge.png  256x128 (texture "MG_STEINE"): a round stone 96x96 (part "MG_STEIN") and a
                   green tick over a light disc (part "MG_HAKEN")
Lists: minigames.tex (the pictures the GUI templates name) and minigames.ani (the animations,
with the pictures they cut frames from).

Usage: tools/make_minigame_pictures.py [output folder]   (default: data/Games in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import (Canvas, circle, polygon, rounded_rect, segment, suit_shape, union, vertical,
                                noise)

FOLDER = "data\\Games"  # where the lists say the pictures lie

RED = (0xC8, 0x18, 0x20, 255)
BLACK = (0x18, 0x18, 0x20, 255)
WHITE = (0xFA, 0xF8, 0xF0, 255)
SUITS = (("HERZ", "heart", RED), ("KARO", "diamond", RED), ("PIK", "spade", BLACK), ("KREUZ", "club", BLACK))


def star(cx, cy, outer, inner, points=5, turn=-math.pi / 2):
    corners = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = turn + i * math.pi / points
        corners.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(corners)


# ---- the sorting game ----

def cards_picture():
    c = Canvas(512, 128)
    for i, (_, suit, colour) in enumerate(SUITS):
        left = i * 128 + 16
        body = rounded_rect(left, 0, left + 96, 128, 10)
        c.paint(body, (0x60, 0x50, 0x40, 255), (left, 0, left + 96, 128))
        c.paint(rounded_rect(left + 2, 2, left + 94, 126, 8), WHITE, (left, 0, left + 96, 128))
        c.paint(suit_shape(suit, left + 48, 38, 44), colour, (left, 0, left + 96, 80))
    return c.png()


CAPTION_H = 48  # the clear strip under a tray, for its name


def trays_picture():
    c = Canvas(512, 256 + CAPTION_H)
    for i, (rim, suit, colour) in enumerate((((0x90, 0x20, 0x20), "heart", RED), ((0x30, 0x30, 0x38), "spade", BLACK))):
        left = i * 256 + 8
        box = (left, 8, left + 240, 248)
        c.paint(rounded_rect(left, 8, left + 240, 248, 24), rim + (255,), box)
        c.paint(rounded_rect(left + 8, 16, left + 232, 240, 18), (0xE8, 0xDC, 0xC0, 255), box)
        c.paint(suit_shape(suit, left + 120, 120, 120), colour[:3] + (48,), box)
    return c.png()


# ---- the placing and the click games ----

FORMS = ("KREIS", "QUADRAT", "DREIECK", "STERN")
FORM_COLOURS = ((0x30, 0x70, 0xE0, 255), (0x30, 0xB0, 0x50, 255), (0xF0, 0x80, 0x20, 255), (0xF0, 0xD0, 0x20, 255))


def form_shape(index, cx, cy):
    if index == 0:
        return circle(cx, cy, 52)
    if index == 1:
        return rounded_rect(cx - 48, cy - 48, cx + 48, cy + 48, 6)
    if index == 2:
        return polygon([(cx, cy - 54), (cx + 56, cy + 46), (cx - 56, cy + 46)])
    return star(cx, cy, 58, 24)


def forms_picture():
    c = Canvas(512, 256)
    for i, colour in enumerate(FORM_COLOURS):
        cx = i * 128 + 64
        box = (i * 128, 0, i * 128 + 128, 128)
        c.paint(form_shape(i, cx, 64), (0x20, 0x20, 0x20, 255), box)
        c.paint(lambda x, y, i=i, cx=cx: form_shape(i, cx, 64)(x, y) + 3, colour, box)
        c.paint(form_shape(i, cx, 192), (0x70, 0x70, 0x78, 200), (i * 128, 128, i * 128 + 128, 256))
    return c.png()


# ---- spot the differences ----

SCENE_W, SCENE_H = 400, 300


def scene_half(c, ox):
    box = (ox, 0, ox + SCENE_W, SCENE_H)
    c.paint(lambda x, y: -1, vertical((0x70, 0xA8, 0xE8), (0xC8, 0xE4, 0xF8), 0, 200), box)
    c.paint(circle(ox + 330, 60, 30), (0xFF, 0xD8, 0x40, 255), box)
    c.paint(union(circle(ox + 90, 60, 22), circle(ox + 115, 52, 26), circle(ox + 142, 62, 20)), (0xFF, 0xFF, 0xFF, 230), box)
    c.paint(lambda x, y: (200 - 30 * math.cos((x - ox) / SCENE_W * math.pi * 2)) - y,
            lambda x, y: (0x48 + int(8 * noise(x, y, 3)), 0x98, 0x40, 255), box)
    c.paint(rounded_rect(ox + 60, 140, ox + 170, 230, 2), (0xE0, 0xC8, 0x98, 255), box)
    c.paint(polygon([(ox + 50, 142), (ox + 115, 90), (ox + 180, 142)]), (0xA0, 0x38, 0x28, 255), box)
    c.paint(rounded_rect(ox + 100, 185, ox + 130, 230, 2), (0x70, 0x48, 0x28, 255), box)
    c.paint(rounded_rect(ox + 72, 160, ox + 94, 182, 1), (0x50, 0x60, 0x78, 255), box)
    c.paint(rounded_rect(ox + 272, 150, ox + 286, 230, 2), (0x78, 0x50, 0x30, 255), box)
    c.paint(union(circle(ox + 279, 130, 38), circle(ox + 252, 150, 26), circle(ox + 306, 150, 26)),
            (0x30, 0x80, 0x38, 255), box)


def scene_picture():
    c = Canvas(SCENE_W * 2, SCENE_H)
    scene_half(c, 0)
    scene_half(c, SCENE_W)
    return c.png()


def part_shape(index, cx, cy):
    if index == 0:  # a bird: two wings
        return union(segment(cx - 20, cy - 8, cx, cy + 4, 5), segment(cx, cy + 4, cx + 20, cy - 8, 5))
    if index == 1:  # a flower
        return union(circle(cx, cy - 8, 10), segment(cx, cy, cx, cy + 22, 4))
    if index == 2:  # a lit window
        return rounded_rect(cx - 11, cy - 11, cx + 11, cy + 11, 1)
    return union(circle(cx, cy + 2, 14), segment(cx, cy - 12, cx + 4, cy - 18, 3))  # an apple


PART_COLOURS = ((0x20, 0x20, 0x28, 255), (0xE0, 0x30, 0x70, 255), (0xFF, 0xE8, 0x60, 255), (0xD0, 0x20, 0x18, 255))


def parts_picture():
    c = Canvas(256, 256)
    for i, colour in enumerate(PART_COLOURS):
        for row in (0, 1):
            cx, cy = i * 64 + 32, row * 64 + 32
            box = (i * 64, row * 64, i * 64 + 64, row * 64 + 64)
            if i == 1:
                c.paint(segment(cx, cy, cx, cy + 22, 4), (0x30, 0x90, 0x30, 255), box)
                c.paint(circle(cx, cy - 8, 10), colour, box)
            else:
                c.paint(part_shape(i, cx, cy), colour, box)
            if row == 1:
                ring = circle(cx, cy, 27)
                c.paint(lambda x, y, ring=ring: abs(ring(x, y)) - 2.5, (0xE0, 0x10, 0x10, 255), box)
    for i, colour in enumerate(((0x90, 0x90, 0x98, 255), (0x30, 0xC0, 0x40, 255))):
        cx, cy = i * 64 + 32, 160
        c.paint(circle(cx, cy, 14), (0x20, 0x20, 0x20, 255), (i * 64, 128, i * 64 + 64, 192))
        c.paint(circle(cx, cy, 12), colour, (i * 64, 128, i * 64 + 64, 192))
    cx, cy, box = 160, 160, (128, 128, 192, 192)
    c.paint(lambda x, y: abs(circle(cx, cy, 22)(x, y)) - 3, (0xFF, 0x40, 0x20, 230), box)
    c.paint(union(segment(cx - 30, cy, cx - 10, cy, 3), segment(cx + 10, cy, cx + 30, cy, 3),
                  segment(cx, cy - 30, cx, cy - 10, 3), segment(cx, cy + 10, cx, cy + 30, 3)), (0xFF, 0x40, 0x20, 230), box)
    return c.png()


# ---- tick the right symbols ----

SYMBOLS = (("HERZ", "heart", RED), ("KARO", "diamond", RED), ("PIK", "spade", BLACK), ("KREUZ", "club", BLACK),
           ("STERN", None, (0x30, 0xA0, 0x40, 255)))


def symbols_picture():
    c = Canvas(512, 128)
    for i, (_, suit, colour) in enumerate(SYMBOLS):
        cx, box = i * 100 + 50, (i * 100, 0, i * 100 + 100, 100)
        shape = suit_shape(suit, cx, 46, 70) if suit else star(cx, 50, 44, 18)
        c.paint(lambda x, y, shape=shape: shape(x, y) - 3, (0xFF, 0xFF, 0xFF, 255), box)
        c.paint(shape, colour, box)
    return c.png()


# ---- choose the right path ----

# Each path: gate at the bottom, then points up to its end at the top. Path 1 leads to the chest.
PATHS = (
    [(70, 285), (70, 230), (200, 190), (320, 140), (330, 80), (330, 40)],
    [(200, 285), (200, 240), (90, 180), (70, 120), (200, 80), (200, 40)],
    [(330, 285), (330, 240), (310, 200), (150, 140), (60, 90), (70, 40)],
)
PATH_COLOURS = ((0xC0, 0x90, 0x50, 255), (0xB0, 0x80, 0x48, 255), (0xA8, 0x88, 0x58, 255))


def paths_picture(frame):
    c = Canvas(SCENE_W, SCENE_H)
    c.paint(lambda x, y: -1, lambda x, y: (0x50 + int(6 * noise(x, y, 5)), 0x88, 0x48, 255))
    for points, colour in zip(PATHS, PATH_COLOURS):
        road = union(*[segment(ax, ay, bx, by, 16) for (ax, ay), (bx, by) in zip(points, points[1:])])
        c.paint(road, (0x60, 0x48, 0x28, 255))
        c.paint(lambda x, y, road=road: road(x, y) + 3, colour)
    glow = 16 if frame == 0 else 22
    for points in PATHS:
        gx, gy = points[0]
        c.paint(circle(gx, gy - 6, glow), (0xFF, 0xF0, 0xA0, 120), (gx - 30, gy - 36, gx + 30, gy + 24))
        c.paint(rounded_rect(gx - 14, gy - 22, gx + 14, gy + 8, 4), (0x70, 0x40, 0x20, 255), (gx - 20, gy - 30, gx + 20, gy + 14))
    ends = [p[-1] for p in PATHS]
    cx, cy = ends[0]
    c.paint(rounded_rect(cx - 22, cy - 16, cx + 22, cy + 14, 4), (0x90, 0x58, 0x20, 255), (cx - 30, cy - 30, cx + 30, cy + 30))
    c.paint(rounded_rect(cx - 22, cy - 16, cx + 22, cy - 4, 3), (0xD8, 0xB0, 0x30, 255), (cx - 30, cy - 30, cx + 30, cy + 30))
    for ex, ey in ends[1:]:
        c.paint(circle(ex, ey, 16), (0x58, 0x58, 0x60, 255), (ex - 20, ey - 20, ex + 20, ey + 20))
    return c.png()


def goal_picture(frame):
    c = Canvas(SCENE_W, SCENE_H)
    cx, cy = PATHS[0][-1]
    size = 30 if frame == 0 else 36
    box = (cx - 50, cy - 50, cx + 50, cy + 50)
    c.paint(circle(cx, cy - 4, size + 10), (0xFF, 0xF0, 0x80, 90), box)
    c.paint(star(cx, cy - 4, size, size * 0.42), (0xFF, 0xD0, 0x20, 255), box)
    return c.png()


# ---- click in order ----

def order_picture():
    c = Canvas(256, 128)
    box = (0, 0, 128, 128)
    c.paint(circle(48, 48, 46), (0x50, 0x50, 0x58, 255), box)
    c.paint(circle(46, 46, 42), lambda x, y: (0x98 + int(10 * noise(x, y, 9)), 0x98, 0xA0, 255), box)
    box = (128, 0, 256, 128)
    c.paint(circle(176, 48, 44), (0xE0, 0xFF, 0xE0, 150), box)
    tick = union(segment(150, 50, 170, 72, 12), segment(170, 72, 206, 28, 12))
    c.paint(tick, (0x20, 0xA0, 0x30, 255), box)
    return c.png()


# ---- lists ----

HEADER = "<!-- {} (written by tools/make_minigame_pictures.py). -->"


def texture(name, picture, indent="\t", parts=()):
    lines = [f'{indent}<TEXTUR2D NAME="{name}">', f'{indent}\t<FILE FILENAME="{FOLDER}\\{picture}"/>',
             f'{indent}\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>']
    for part, (left, top, width, height) in parts:
        lines.append(f'{indent}\t<TEX_PART NAME="{part}"><TEX_RECT L="{left}" T="{top}" W="{width}" H="{height}"/></TEX_PART>')
    return lines + [f'{indent}</TEXTUR2D>']


def text_file(lines):
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def texture_list():
    lines = [HEADER.format("The mini-games' pictures that their windows name"), "<TEXTURES>"]
    lines += texture("MG_SZENE", "szene.png")
    lines += texture("MG_STEINE", "reihenfolge.png", parts=(("MG_STEIN", (0, 0, 96, 96)), ("MG_HAKEN", (128, 0, 96, 96))))
    return text_file(lines + ["</TEXTURES>"])


def still(name, texture_name, left, top, width, height):
    return [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="1" PLAY="1">',
            f'\t\t<FRAMES TEXTUR="{texture_name}">',
            f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="1" SPALTEN="1" RECT_START="{left} {top} {left + width} {top + height}"/>',
            '\t\t</FRAMES>', '\t</ANIMATION_2D>']


def two_frames(name, first, second, speed):
    lines = [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="{speed}" PLAY="1">']
    for texture_name in (first, second):
        lines += [f'\t\t<FRAME><FRAME_PART TEXTUR="{texture_name}" TEX_RECT="0 0 {SCENE_W} {SCENE_H}"/></FRAME>']
    return lines + ['\t</ANIMATION_2D>']


def animation_list():
    lines = [HEADER.format("The mini-games' animations"), "<ANIMATIONS>", "\t<TEXTURES>"]
    for name, picture in (("MG_KARTEN", "karten.png"), ("MG_KOERBE", "koerbe.png"), ("MG_FORMEN", "formen.png"),
                          ("MG_TEILE", "teile.png"), ("MG_SYMBOLE", "symbole.png"), ("MG_PFAD_1", "pfad_1.png"),
                          ("MG_PFAD_2", "pfad_2.png"), ("MG_ZIEL_1", "ziel_1.png"), ("MG_ZIEL_2", "ziel_2.png")):
        lines += texture(name, picture, "\t\t")
    lines.append("\t</TEXTURES>")
    for i, (name, _, _) in enumerate(SUITS):
        lines += still(f"MG_KARTE_{name}", "MG_KARTEN", i * 128 + 16, 0, 96, 128)
    lines += still("MG_KORB_ROT", "MG_KOERBE", 8, 8, 240, 240 + CAPTION_H)
    lines += still("MG_KORB_SCHWARZ", "MG_KOERBE", 264, 8, 240, 240 + CAPTION_H)
    for i, name in enumerate(FORMS):
        lines += still(f"MG_FORM_{name}", "MG_FORMEN", i * 128, 0, 128, 128)
        lines += still(f"MG_SCHATTEN_{name}", "MG_FORMEN", i * 128, 128, 128, 128)
    for i, name in enumerate(("VOGEL", "BLUME", "FENSTER", "APFEL")):
        lines += still(f"MG_TEIL_{name}", "MG_TEILE", i * 64, 0, 64, 64)
        lines += still(f"MG_TEIL_{name}_GEFUNDEN", "MG_TEILE", i * 64, 64, 64, 64)
    lines += still("MG_PUNKT_GRAU", "MG_TEILE", 0, 128, 64, 64)
    lines += still("MG_PUNKT_GRUEN", "MG_TEILE", 64, 128, 64, 64)
    lines += still("MG_ZWEITER_ZEIGER", "MG_TEILE", 128, 128, 64, 64)
    for i, (name, _, _) in enumerate(SYMBOLS):
        lines += still(f"MG_SYMBOL_{name}", "MG_SYMBOLE", i * 100, 0, 100, 100)
    lines += two_frames("MG_PFADE", "MG_PFAD_1", "MG_PFAD_2", 2)
    lines += two_frames("MG_PFAD_ZIEL", "MG_ZIEL_1", "MG_ZIEL_2", 4)
    return text_file(lines + ["</ANIMATIONS>"])


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Games")
    os.makedirs(out, exist_ok=True)
    files = {
        "karten.png": cards_picture(),
        "koerbe.png": trays_picture(),
        "formen.png": forms_picture(),
        "szene.png": scene_picture(),
        "teile.png": parts_picture(),
        "symbole.png": symbols_picture(),
        "pfad_1.png": paths_picture(0),
        "pfad_2.png": paths_picture(1),
        "ziel_1.png": goal_picture(0),
        "ziel_2.png": goal_picture(1),
        "reihenfolge.png": order_picture(),
        "minigames.tex": texture_list(),
        "minigames.ani": animation_list(),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
