#!/usr/bin/env python3
"""Writes the pictures of the results, campaign and free-play screens and their texture lists into
data/Menu/, drawn from simple shapes with the menu pictures' canvas (make_menu_pictures.py), so the
data carries nothing taken from elsewhere. The output is the same on every run.

Pictures and the names their lists give them:
  auswertung.png     256x128 "AUSWERTUNG": the results screen's stars, parts "A_STERN_AN" (a gold
                     star, 96x96) and "A_STERN_AUS" (its grey outline, 96x96)
  levelauswahl.png   512x512 "LEVELAUSWAHL": the level screen, parts "LA_KACHEL" (a level's paper
                     tile, 200x190), "LA_KACHEL_M" (the same lit, pointed at), "LA_KACHEL_D" (the
                     same greyed, locked), "LA_SCHLOSS" (a padlock, 64x64), "LA_STERN_AN" and
                     "LA_STERN_AUS" (small stars, 48x48), "LA_PUNKT" and "LA_PUNKT_MARK" (page points,
                     32x32: grey, gold), "LA_PFEIL_L" and "LA_PFEIL_R" (page arrows, 64x64)
  freiesspiel.png    256x256 "FREIESSPIEL": the free-play screen, parts "FG_BANNER" (a red corner
                     ribbon, 96x32), "FG_BANNER2" (a gold ribbon under a game button, 256x24),
                     "FG_KNOPF" / "FG_KNOPF_M" (a slim list button, 240x40: resting, pointed at)
Lists: auswertung.tex, levelauswahl.tex, freiesspiel.tex (each loaded by its screen's GUI file).

Usage: tools/make_play_screen_pictures.py [output folder]   (default: data/Menu in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import (Canvas, band, circle, part, polygon, rounded_rect, segment, text_file, texture,
                                union, vertical)

HEADER = "<!-- {} (written by tools/make_play_screen_pictures.py). -->"
GOLD = (236, 190, 60, 255)
GOLD_DARK = (150, 100, 20, 255)
GREY = (120, 120, 120, 255)
PAPER = (238, 226, 196, 255)
BROWN = (110, 70, 30, 255)


def star(cx, cy, outer, inner):
    points = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(points)


def paint_star(canvas, left, top, size, lit):
    cx, cy = left + size / 2.0, top + size / 2.0 + size * 0.03
    shape = star(cx, cy, size * 0.46, size * 0.2)
    box = (left, top, left + size, top + size)
    if lit:
        canvas.paint(shape, vertical((255, 230, 120), (210, 140, 20), top, top + size), box)
        canvas.paint(band(shape, 2.5), GOLD_DARK, box)
    else:
        canvas.paint(shape, (60, 60, 60, 110), box)
        canvas.paint(band(shape, 2.5), GREY, box)


def results_sheet():
    canvas = Canvas(256, 128)
    paint_star(canvas, 0, 0, 96, True)
    paint_star(canvas, 128, 0, 96, False)
    return canvas.png()


def tile(canvas, left, top, fill, rim):
    shape = rounded_rect(left + 2, top + 2, left + 198, top + 188, 14)
    box = (left, top, left + 200, top + 190)
    canvas.paint(shape, fill, box)
    canvas.paint(band(shape, 4), rim, box)


def padlock(canvas, left, top):
    box = (left, top, left + 64, top + 64)
    canvas.paint(band(circle(left + 32, top + 26, 15), 6), (90, 90, 96, 255), box)
    canvas.paint(rounded_rect(left + 12, top + 28, left + 52, top + 60, 5), vertical((200, 170, 60), (140, 100, 20), top + 28, top + 60), box)
    canvas.paint(circle(left + 32, top + 42, 5), (40, 30, 10, 255), box)
    canvas.paint(segment(left + 32, top + 44, left + 32, top + 53, 4), (40, 30, 10, 255), box)


def page_point(canvas, left, top, colour):
    box = (left, top, left + 32, top + 32)
    canvas.paint(circle(left + 16, top + 16, 12), colour, box)
    canvas.paint(band(circle(left + 16, top + 16, 12), 2), (40, 30, 10, 255), box)


def page_arrow(canvas, left, top, right_way):
    box = (left, top, left + 64, top + 64)
    tip, back = (left + 54, left + 14) if right_way else (left + 10, left + 50)
    shape = polygon([(back, top + 10), (tip, top + 32), (back, top + 54)])
    canvas.paint(shape, vertical((255, 230, 120), (200, 130, 20), top + 10, top + 54), box)
    canvas.paint(band(shape, 3), GOLD_DARK, box)


def level_sheet():
    canvas = Canvas(512, 512)
    tile(canvas, 0, 0, PAPER, BROWN)
    tile(canvas, 256, 0, (255, 244, 214, 255), GOLD)
    tile(canvas, 0, 256, (170, 166, 158, 255), (90, 90, 90, 255))
    padlock(canvas, 256, 256)
    paint_star(canvas, 320, 256, 48, True)
    paint_star(canvas, 384, 256, 48, False)
    page_point(canvas, 256, 320, (150, 150, 150, 255))
    page_point(canvas, 288, 320, GOLD)
    page_arrow(canvas, 320, 320, False)
    page_arrow(canvas, 384, 320, True)
    return canvas.png()


def free_play_sheet():
    canvas = Canvas(256, 256)
    ribbon = polygon([(4, 2), (92, 2), (80, 16), (92, 30), (4, 30)])
    canvas.paint(ribbon, vertical((220, 50, 40), (150, 20, 20), 2, 30), (0, 0, 96, 32))
    canvas.paint(band(ribbon, 2), (90, 10, 10, 255), (0, 0, 96, 32))
    gold = rounded_rect(2, 34, 254, 54, 8)
    canvas.paint(gold, vertical((255, 226, 120), (190, 130, 30), 34, 54), (0, 32, 256, 56))
    for top, fill in ((64, (60, 44, 30, 235)), (112, (96, 70, 40, 245))):
        shape = rounded_rect(2, top + 2, 238, top + 38, 10)
        canvas.paint(shape, fill, (0, top, 240, top + 40))
        canvas.paint(band(shape, 2), GOLD, (0, top, 240, top + 40))
    return canvas.png()


def sheet_list(title, name, picture, parts):
    return text_file([HEADER.format(title), "<TEXTURES>"] + texture(name, picture, [part(*p) for p in parts]) +
                     ["</TEXTURES>"])


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Menu")
    os.makedirs(out, exist_ok=True)
    files = {
        "auswertung.png": results_sheet(),
        "levelauswahl.png": level_sheet(),
        "freiesspiel.png": free_play_sheet(),
        "auswertung.tex": sheet_list("The results screen's stars", "AUSWERTUNG", "auswertung.png",
                                     [("A_STERN_AN", 0, 0, 96, 96), ("A_STERN_AUS", 128, 0, 96, 96)]),
        "levelauswahl.tex": sheet_list("The level screen's pictures", "LEVELAUSWAHL", "levelauswahl.png", [
            ("LA_KACHEL", 0, 0, 200, 190), ("LA_KACHEL_M", 256, 0, 200, 190), ("LA_KACHEL_D", 0, 256, 200, 190),
            ("LA_SCHLOSS", 256, 256, 64, 64), ("LA_STERN_AN", 320, 256, 48, 48), ("LA_STERN_AUS", 384, 256, 48, 48),
            ("LA_PUNKT", 256, 320, 32, 32), ("LA_PUNKT_MARK", 288, 320, 32, 32), ("LA_PFEIL_L", 320, 320, 64, 64),
            ("LA_PFEIL_R", 384, 320, 64, 64)]),
        "freiesspiel.tex": sheet_list("The free-play screen's pictures", "FREIESSPIEL", "freiesspiel.png", [
            ("FG_BANNER", 0, 0, 96, 32), ("FG_BANNER2", 0, 32, 256, 24), ("FG_KNOPF", 0, 64, 240, 40),
            ("FG_KNOPF_M", 0, 112, 240, 40)]),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
