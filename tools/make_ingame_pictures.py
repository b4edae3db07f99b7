#!/usr/bin/env python3
"""Writes the pictures of the in-game screen and the shop, their texture lists and the medal
star's animation into data/Menu/.

Every picture is drawn here from simple shapes with the drawing of make_menu_pictures.py, so the
data carries nothing taken from elsewhere. The output is the same on every run.

Pictures and the names the lists give them:
  ingame_leiste.png    512x64 "I_LEISTE": the strip along the top of the table, dark with a gold
                       line at its foot (drawn stretched across the screen)
  ingame_hg.png        512x192 "I_HG_BILD": the panel along the bottom, its upper corners rounded,
                       with a gold rim; drawn in white, the HUD's looks tint it
  ingame_knoepfe.png   256x640 "I_KNOEPFE": round buttons with a symbol (arrows, a shuffle circle,
                       a tray, an "i", a cart, a light bulb), one row each, four columns for the
                       states (normal, pointed at, pressed, disabled): parts "I_K_<name>_N",
                       "_M", "_P", "_D" for the names UNDO_START, UNDO, REDO, REDO_END, SHUFFLE,
                       SAVE, LOAD, INFO, SHOP, TIPP
  ingame_ziele.png     256x64 "I_ZIELE": parts "I_STERN" (a five-pointed star, white to gold),
                       "I_HAKEN" (a tick on a box), "I_KOMBO" (two arrows into one), "I_ZIELE_HG"
                       (a rounded tile behind a goal row)
  ingame_goetter.png   128x128 "I_GOETTER_BALKEN": parts "I_GOTT_LEER" (a dark tile with a gold rim,
                       the empty bar) and "I_GOTT_VOLL" (an amber glow rising to gold, its filling)
  ingame_medaillen.png 640x128 "I_MEDAILLEN": parts "I_MEDAILLE_NIX" (an empty grey ring),
                       "I_MEDAILLE_BRONZE", "_SILBER", "_GOLD", "_PERFEKT" (discs on ribbons, the
                       perfect one with a laurel)
  ingame_stern.png     512x64 eight frames of a turning, pulsing star: the animation
                       "I_ABSCHLUSS_STERN" of ingame.ani, which the medal stars show
  shop_glanz.png       128x176 "S_KartenBG_M": a soft gold glow around a card's outline, laid
                       over the offer under the pointer
The god badges are those of mouse_goetter.png (make_menu_pictures.py), named again in
ingame.tex as "I_GOETTER" with parts "I_GOTT_0" .. "I_GOTT_3".
Lists: ingame.tex, shop.tex, ingame.ani.

Usage: tools/make_ingame_pictures.py [output folder]   (default: data/Menu in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import (BUTTON_STYLES, FOLDER, Canvas, arc, band, circle, grown, moved, part, polygon,
                                rounded_rect, segment, text_file, texture, turned, union, vertical)

HEADER = "<!-- {} (written by tools/make_ingame_pictures.py). -->"

GOLD = (0xF0, 0xC8, 0x58, 255)
DARK_GOLD = (0x8A, 0x64, 0x1C, 255)
WHITE = (0xFA, 0xFA, 0xF4, 255)


# ---- the strip and the panel ----

def strip_picture():
    canvas = Canvas(512, 64)
    canvas.paint(lambda x, y: -1.0 if y < 58 else 1.0, vertical((0x26, 0x1C, 0x12), (0x12, 0x0C, 0x08), 0, 58))
    canvas.paint(lambda x, y: -1.0 if 58 <= y < 61 else 1.0, GOLD)
    canvas.paint(lambda x, y: -1.0 if 61 <= y < 64 else 1.0, (0, 0, 0, 90))
    return canvas.png()


def panel_picture():
    canvas = Canvas(512, 192)
    body = rounded_rect(0, 0, 512, 230, 26)
    canvas.paint(body, vertical((0x2A, 0x22, 0x1A), (0x0E, 0x0A, 0x06), 0, 192))
    canvas.paint(band(body, 3.0), GOLD)
    canvas.paint(band(grown(body, -7.0), 1.2), (0xFF, 0xFF, 0xFF, 40))
    return canvas.png()


# ---- buttons ----

BUTTONS = ["UNDO_START", "UNDO", "REDO", "REDO_END", "SHUFFLE", "SAVE", "LOAD", "INFO", "SHOP", "TIPP"]
STATES = "NMPD"


def arrow_head(tx, ty, direction, size):
    """A triangle pointing along direction (radians, screen angle) with its tip at (tx, ty)."""
    ux, uy = math.cos(direction), math.sin(direction)
    bx, by = tx - ux * size, ty - uy * size
    return polygon([(tx, ty), (bx - uy * size * 0.7, by + ux * size * 0.7), (bx + uy * size * 0.7, by - ux * size * 0.7)])


def icon(name, cx, cy):
    """The symbol of a button, centred on (cx, cy), about 36 pixels across."""
    if name in ("UNDO", "REDO"):
        s = -1.0 if name == "UNDO" else 1.0
        return union(segment(cx - 12 * s, cy, cx + 4 * s, cy, 6.0), arrow_head(cx + 15 * s, cy, 0 if s > 0 else math.pi, 12))
    if name in ("UNDO_START", "REDO_END"):
        s = -1.0 if name == "UNDO_START" else 1.0
        return union(arrow_head(cx + 4 * s, cy, 0 if s > 0 else math.pi, 11),
                     arrow_head(cx + 15 * s, cy, 0 if s > 0 else math.pi, 11),
                     segment(cx + 17 * s, cy - 12, cx + 17 * s, cy + 12, 4.5))
    if name == "SHUFFLE":
        parts = []
        for start in (math.radians(200), math.radians(20)):
            parts.append(arc(cx, cy, 13.0, 5.0, start, start + math.radians(120)))
            tip = start + math.radians(140)
            parts.append(arrow_head(cx + 13 * math.cos(tip), cy + 13 * math.sin(tip), tip + math.pi / 2, 9))
        return union(*parts)
    if name in ("SAVE", "LOAD"):
        tray = union(segment(cx - 15, cy + 8, cx - 15, cy + 15, 4.0), segment(cx - 15, cy + 15, cx + 15, cy + 15, 4.0),
                     segment(cx + 15, cy + 8, cx + 15, cy + 15, 4.0))
        if name == "SAVE":
            return union(tray, segment(cx, cy - 16, cx, cy + 0, 5.0), arrow_head(cx, cy + 8, math.pi / 2, 10))
        return union(tray, segment(cx, cy + 8, cx, cy - 6, 5.0), arrow_head(cx, cy - 16, -math.pi / 2, 10))
    if name == "INFO":
        return union(circle(cx, cy - 11, 3.8), segment(cx, cy - 3, cx, cy + 14, 6.0), segment(cx - 5, cy - 3, cx, cy - 3, 4.0))
    if name == "SHOP":  # a shopping cart
        basket = polygon([(cx - 12, cy - 8), (cx + 16, cy - 8), (cx + 12, cy + 6), (cx - 8, cy + 6)])
        return union(basket, segment(cx - 18, cy - 14, cx - 12, cy - 8, 3.5), segment(cx - 8, cy + 6, cx - 10, cy + 10, 3.0),
                     circle(cx - 6, cy + 14, 3.5), circle(cx + 9, cy + 14, 3.5))
    # TIPP: a light bulb
    return union(circle(cx, cy - 5, 11.0), rounded_rect(cx - 6, cy + 4, cx + 6, cy + 15, 2),
                 segment(cx - 5, cy + 18, cx + 5, cy + 18, 3.0))


def button_sheet():
    canvas = Canvas(256, 64 * len(BUTTONS))
    for row, name in enumerate(BUTTONS):
        for column, state in enumerate(STATES):
            top_colour, bottom_colour, rim = BUTTON_STYLES[state]
            cx, cy = column * 64 + 32.0, row * 64 + 32.0
            box = (column * 64, row * 64, column * 64 + 64, row * 64 + 64)
            disc = circle(cx, cy, 29.0)
            canvas.paint(grown(moved(disc, 1.5, 2.0), 1.0), (0, 0, 0, 90), box)
            canvas.paint(disc, vertical(top_colour, bottom_colour, cy - 29, cy + 29), box)
            canvas.paint(circle(cx, cy - 11, 17.0), (255, 255, 255, 30), box)
            canvas.paint(band(disc, 2.5), rim + (255,), box)
            symbol = icon(name, cx, cy + (1.5 if state == "P" else 0.0))
            ink = (0x2A, 0x18, 0x04, 255) if state == "M" else (0xFF, 0xF6, 0xDC, 255)
            if state == "D":
                ink = (0xB8, 0xBC, 0xC0, 255)
            canvas.paint(grown(symbol, 1.5), (0, 0, 0, 70), box)
            canvas.paint(symbol, ink, box)
    return canvas.png()


# ---- goals, medals and the star ----

def star_shape(cx, cy, outer, inner, turn=0.0):
    points = []
    for i in range(10):
        a = turn - math.pi / 2 + i * math.pi / 5
        r = outer if i % 2 == 0 else inner
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(points)


def goals_picture():
    canvas = Canvas(256, 64)
    star = star_shape(32, 34, 28, 12)
    canvas.paint(grown(star, 2.0), DARK_GOLD, (0, 0, 64, 64))
    canvas.paint(star, vertical((0xFF, 0xFF, 0xF0), (0xF4, 0xC0, 0x40), 6, 62), (0, 0, 64, 64))
    box = rounded_rect(72, 8, 120, 56, 8)
    canvas.paint(box, (0x10, 0x10, 0x10, 150), (64, 0, 128, 64))
    canvas.paint(band(box, 3.0), WHITE, (64, 0, 128, 64))
    tick = union(segment(80, 32, 92, 46, 8.0), segment(92, 46, 116, 14, 8.0))
    canvas.paint(grown(tick, 2.0), (0x08, 0x30, 0x10, 255), (64, 0, 128, 64))
    canvas.paint(tick, (0x60, 0xE0, 0x70, 255), (64, 0, 128, 64))
    combo = union(arrow_head(182, 32, 0.0, 14), segment(140, 14, 168, 32, 6.0), segment(140, 50, 168, 32, 6.0))
    canvas.paint(combo, GOLD, (128, 0, 192, 64))
    tile = rounded_rect(194, 4, 254, 60, 10)
    canvas.paint(tile, (255, 255, 255, 36), (192, 0, 256, 64))
    canvas.paint(band(tile, 1.5), (255, 255, 255, 90), (192, 0, 256, 64))
    return canvas.png()


def god_bar_picture():
    canvas = Canvas(128, 128)
    empty = rounded_rect(2, 2, 62, 126, 12)
    canvas.paint(empty, (0x0C, 0x0C, 0x14, 200), (0, 0, 64, 128))
    canvas.paint(band(empty, 2.0), DARK_GOLD, (0, 0, 64, 128))
    full = rounded_rect(66, 2, 126, 126, 12)
    canvas.paint(full, vertical((0xFF, 0xE6, 0x80), (0xC0, 0x50, 0x10), 2, 126), (64, 0, 128, 128))
    canvas.paint(band(full, 2.0), GOLD, (64, 0, 128, 128))
    return canvas.png()


MEDALS = [  # name, face top, face bottom, rim
    ("NIX", None, None, (0x90, 0x90, 0x98)),
    ("BRONZE", (0xE8, 0xA0, 0x60), (0x8A, 0x4A, 0x1C), (0x5A, 0x30, 0x10)),
    ("SILBER", (0xF4, 0xF6, 0xFA), (0x98, 0xA0, 0xAC), (0x5A, 0x60, 0x6C)),
    ("GOLD", (0xFF, 0xEC, 0x90), (0xC8, 0x8C, 0x1C), (0x70, 0x4C, 0x08)),
    ("PERFEKT", (0xFF, 0xF8, 0xD0), (0xE0, 0xA8, 0x30), (0x60, 0x38, 0x90)),
]


def medal_picture():
    canvas = Canvas(640, 128)
    for i, (name, top, bottom, rim) in enumerate(MEDALS):
        cx, cy = i * 128 + 64.0, 70.0
        box = (i * 128, 0, i * 128 + 128, 128)
        if top is None:
            canvas.paint(band(circle(cx, cy, 44.0), 6.0), rim + (200,), box)
            canvas.paint(union(segment(cx - 18, cy - 18, cx + 18, cy + 18, 6.0), segment(cx - 18, cy + 18, cx + 18, cy - 18, 6.0)),
                         rim + (200,), box)
            continue
        for side in (-1, 1):
            ribbon = polygon([(cx + side * 8, 0), (cx + side * 30, 0), (cx + side * 14, cy - 20), (cx - side * 6, cy - 20)])
            canvas.paint(ribbon, (0x30, 0x50, 0xB0, 255) if side < 0 else (0xC0, 0x30, 0x40, 255), box)
        disc = circle(cx, cy, 46.0)
        canvas.paint(grown(disc, 2.0), (0, 0, 0, 80), box)
        canvas.paint(disc, vertical(top, bottom, cy - 46, cy + 46), box)
        canvas.paint(band(disc, 4.0), rim + (255,), box)
        canvas.paint(band(grown(disc, -9.0), 1.5), (255, 255, 255, 110), box)
        canvas.paint(star_shape(cx, cy + 2, 22, 9), rim + (230,), box)
        if name == "PERFEKT":
            for side in (-1, 1):
                for k in range(5):
                    a = math.radians(120 + k * 22) if side < 0 else math.radians(60 - k * 22)
                    lx, ly = cx + 38 * math.cos(a), cy + 38 * math.sin(a)
                    canvas.paint(turned(rounded_rect(lx - 8, ly - 3.5, lx + 8, ly + 3.5, 3.5), lx, ly, -a + math.pi / 2),
                                 (0x40, 0xA0, 0x40, 255), box)
    return canvas.png()


STAR_FRAMES = 8


def star_sheet():
    canvas = Canvas(64 * STAR_FRAMES, 64)
    for frame in range(STAR_FRAMES):
        phase = frame / STAR_FRAMES
        cx, cy = frame * 64 + 32.0, 32.0
        box = (frame * 64, 0, frame * 64 + 64, 64)
        pulse = 1.0 + 0.08 * math.sin(2 * math.pi * phase)
        glow = circle(cx, cy, 27.0 * pulse)
        canvas.paint(glow, lambda x, y, cx=cx, cy=cy: (0xFF, 0xE8, 0x80, 90 * max(0.0, 1.0 - math.hypot(x - cx, y - cy) / 28.0)), box)
        star = star_shape(cx, cy, 24 * pulse, 10 * pulse, turn=phase * 2 * math.pi / 5)
        canvas.paint(grown(star, 1.5), DARK_GOLD, box)
        canvas.paint(star, vertical((0xFF, 0xFF, 0xE8), (0xF0, 0xB8, 0x30), cy - 24, cy + 24), box)
    return canvas.png()


# ---- the shop ----

def glow_picture():
    canvas = Canvas(128, 176)
    card = rounded_rect(10, 10, 118, 166, 10)

    def colour(x, y):
        d = abs(card(x, y))
        return (0xFF, 0xD8, 0x60, 255 * max(0.0, 1.0 - d / 9.0))
    canvas.paint(grown(card, 9.0), colour)
    return canvas.png()


# ---- lists ----

def ingame_list():
    buttons = [part(f"I_K_{name}_{state}", column * 64, row * 64, 64, 64)
               for row, name in enumerate(BUTTONS) for column, state in enumerate(STATES)]
    goals = [part("I_STERN", 0, 0, 64, 64), part("I_HAKEN", 64, 0, 64, 64), part("I_KOMBO", 128, 0, 64, 64),
             part("I_ZIELE_HG", 192, 0, 64, 64)]
    medals = [part(f"I_MEDAILLE_{name}", i * 128, 0, 128, 128) for i, (name, *_rest) in enumerate(MEDALS)]
    gods = [part(f"I_GOTT_{god}", god * 64, 0, 64, 64) for god in range(4)]
    lines = [HEADER.format("The in-game screen's pictures"), "<TEXTURES>"]
    lines += texture("I_LEISTE", "ingame_leiste.png")
    lines += texture("I_HG_BILD", "ingame_hg.png")
    lines += texture("I_KNOEPFE", "ingame_knoepfe.png", buttons)
    lines += texture("I_ZIELE", "ingame_ziele.png", goals)
    lines += texture("I_GOETTER_BALKEN", "ingame_goetter.png",
                     [part("I_GOTT_LEER", 0, 0, 64, 128), part("I_GOTT_VOLL", 64, 0, 64, 128)])
    lines += texture("I_MEDAILLEN", "ingame_medaillen.png", medals)
    lines += texture("I_GOETTER", "mouse_goetter.png", gods)
    return text_file(lines + ["</TEXTURES>"])


def shop_list():
    lines = [HEADER.format("The shop's pictures"), "<TEXTURES>"] + texture("S_KartenBG_M", "shop_glanz.png")
    return text_file(lines + ["</TEXTURES>"])


def star_list():
    lines = [HEADER.format("The medal star"), "<ANIMATIONS>", "\t<TEXTURES>"]
    lines += ["\t" + line for line in texture("I_STERN_BILDER", "ingame_stern.png")]
    lines += ["\t</TEXTURES>",
              '\t<ANIMATION_2D NAME="I_ABSCHLUSS_STERN" ANIMSPEED="12" PLAY="1">',
              '\t\t<FRAMES TEXTUR="I_STERN_BILDER">',
              f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="{STAR_FRAMES}" SPALTEN="{STAR_FRAMES}" RECT_START="0 0 64 64"/>',
              '\t\t</FRAMES>', '\t</ANIMATION_2D>', "</ANIMATIONS>"]
    return text_file(lines)


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Menu")
    os.makedirs(out, exist_ok=True)
    files = {
        "ingame_leiste.png": strip_picture(),
        "ingame_hg.png": panel_picture(),
        "ingame_knoepfe.png": button_sheet(),
        "ingame_ziele.png": goals_picture(),
        "ingame_goetter.png": god_bar_picture(),
        "ingame_medaillen.png": medal_picture(),
        "ingame_stern.png": star_sheet(),
        "shop_glanz.png": glow_picture(),
        "ingame.tex": ingame_list(),
        "shop.tex": shop_list(),
        "ingame.ani": star_list(),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    assert FOLDER == "data\\Menu"
    main()
