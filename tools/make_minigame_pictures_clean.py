#!/usr/bin/env python3
"""Writes the pictures of the cleaning, blowing and ring mini-games and their animation list into
data/Games/ (every file name begins with "clean").

Everything is drawn here from simple shapes with the menu pictures' drawing code
(make_menu_pictures.py), the lists written as the other mini-games' (make_minigame_pictures.py);
the output is the same on every run.

Cleaning ("MINIGAME_17"; the game's and its passes' own texture lists in minigames.min name
them):
  clean_schmutzig.png  512x384: a view through a wooden window frame (sky, sun, hills, a tree)
                       under brown grime: the picture before any pass
  clean_nass.png       512x384: the same view washed, still foamy: the first pass's overlay
  clean_blank.png      512x384: the same view clear and shining: the second pass's overlay
  clean_maske.png      64x48: a pass's starting mask: black (to clean) inside, white (clean
                       already) on the two-pixel border the frame covers
  clean_werkzeug.png   256x64: the tools, two frames each in 64x64 cells: a yellow sponge
                       ("MG_WASCHEN_SCHWAMM") and a blue cloth ("MG_WASCHEN_TUCH")
Blowing ("MINIGAME_18"):
  clean_wiese.png      512x384: a meadow with a path ("MG_PUSTEN_WIESE")
  clean_pusten.png     192x64: a leaf ("MG_PUSTEN_BLATT"), a blossom ("MG_PUSTEN_BLUETE") and a puff
                       of wind, the blower's cursor ("MG_PUSTEN_WIND"), in 64x64 cells
Ring ("MINIGAME_19"):
  clean_ring_grund.png 256x256: a round stone plate ("MG_RING_GRUND")
  clean_ring_1.png, clean_ring_2.png, clean_ring_3.png   96x96, 176x176, 256x256: one round
                       picture (a sun over a house and a tree) cut into a disc of radius 48 and
                       rings 48-88 and 88-128 ("MG_RING_1" .. "MG_RING_3"), each a square of its
                       outer diameter, transparent outside its ring
List: clean.ani (the animations, with the pictures they cut frames from).

Usage: tools/make_minigame_pictures_clean.py [output folder]   (default: data/Games in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import Canvas, circle, noise, polygon, rounded_rect, segment, union
from make_minigame_pictures import text_file, texture
from make_test_pictures import png_bytes

VIEW_W, VIEW_H = 512, 384
FRAME = 16  # the window frame's width; two mask pixels
MASK_W, MASK_H = 64, 48
RING_RADII = (48, 88, 128)


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# ---- cleaning: one view in three states ----

def view(x, y):
    """The clean view at a pixel as RGB floats 0..255."""
    if x < FRAME or y < FRAME or x >= VIEW_W - FRAME or y >= VIEW_H - FRAME or abs(x - VIEW_W / 2) < FRAME / 2:
        grain = 10 * noise(x // 3, y, 11)
        return (0x8A + grain, 0x5C + grain, 0x34 + grain)
    sky = mix((0x58, 0x9C, 0xE8), (0xC4, 0xE2, 0xF8), y / 240.0)
    if math.hypot(x - 380, y - 90) < 36:
        sky = (0xFF, 0xDC, 0x48)
    hill = 250 - 40 * math.cos(x / VIEW_W * math.pi * 2) - 18 * math.sin(x / 70.0)
    if y > hill:
        sky = (0x4C + 6 * noise(x, y, 5), 0x9C, 0x44)
    if abs(x - 150) < 8 and 200 < y < 290:
        sky = (0x70, 0x4C, 0x2C)
    if math.hypot(x - 150, y - 180) < 42:
        sky = (0x2C, 0x7C, 0x34)
    return sky


def smooth_noise(x, y, cell, seed):
    """The noise of a lattice of cells, blended between its corners."""
    gx, gy = x / cell, y / cell
    ix, iy = int(gx), int(gy)
    fx, fy = gx - ix, gy - iy
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    top = noise(ix, iy, seed) * (1 - fx) + noise(ix + 1, iy, seed) * fx
    bottom = noise(ix, iy + 1, seed) * (1 - fx) + noise(ix + 1, iy + 1, seed) * fx
    return top * (1 - fy) + bottom * fy


def grime(x, y):
    """How dirty a pixel looks: 0.45 everywhere, soft blotches up to 0.8."""
    blot = max(0.0, smooth_noise(x, y, 32, 7)) * 0.35
    return 0.45 + blot


def dirty_view(x, y):
    c = view(x, y)
    if x < FRAME or y < FRAME or x >= VIEW_W - FRAME or y >= VIEW_H - FRAME or abs(x - VIEW_W / 2) < FRAME / 2:
        return tuple(clamp(v) for v in c) + (255,)
    return tuple(clamp(v) for v in mix(c, (0x6A, 0x52, 0x30), grime(x, y))) + (255,)


def wet_view(x, y):
    c = view(x, y)
    if x < FRAME or y < FRAME or x >= VIEW_W - FRAME or y >= VIEW_H - FRAME or abs(x - VIEW_W / 2) < FRAME / 2:
        return tuple(clamp(v) for v in c) + (255,)
    foam = 0.35
    for cx, cy, r in ((120, 80, 14), (300, 140, 10), (420, 260, 16), (200, 300, 12), (80, 250, 9)):
        if abs(math.hypot(x - cx, y - cy) - r) < 2:
            foam = 0.8
    return tuple(clamp(v) for v in mix(c, (0xE4, 0xF0, 0xFF), foam)) + (255,)


def shiny_view(x, y):
    c = view(x, y)
    if x < FRAME or y < FRAME or x >= VIEW_W - FRAME or y >= VIEW_H - FRAME or abs(x - VIEW_W / 2) < FRAME / 2:
        return tuple(clamp(v) for v in c) + (255,)
    streak = (x + y) % 180
    if 20 < streak < 34:
        c = mix(c, (0xFF, 0xFF, 0xFF), 0.55)
    return tuple(clamp(v) for v in c) + (255,)


def mask(x, y):
    border = x < 2 or y < 2 or x >= MASK_W - 2 or y >= MASK_H - 2
    return (255, 255, 255, 255) if border else (0, 0, 0, 255)


def tools_picture():
    c = Canvas(256, 64)
    for frame in (0, 1):
        ox = frame * 64
        tilt = 3 if frame else -3
        box = (ox, 0, ox + 64, 64)
        sponge = polygon([(ox + 10, 20 + tilt), (ox + 54, 20 - tilt), (ox + 54, 46 - tilt), (ox + 10, 46 + tilt)])
        c.paint(sponge, (0xB0, 0x90, 0x10, 255), box)
        c.paint(lambda x, y, s=sponge: s(x, y) + 2, (0xF8, 0xD8, 0x30, 255), box)
        for hx, hy in ((22, 30), (34, 38), (44, 28), (28, 40)):
            c.paint(circle(ox + hx, hy, 2.5), (0xC8, 0xA4, 0x18, 255), box)
        ox = 128 + frame * 64
        box = (ox, 0, ox + 64, 64)
        cloth = rounded_rect(ox + 12, 14 + frame * 2, ox + 52, 50 - frame * 2, 6)
        c.paint(cloth, (0x20, 0x50, 0xA0, 255), box)
        c.paint(lambda x, y, s=cloth: s(x, y) + 2, (0x40, 0x80, 0xE0, 255), box)
        for k in range(3):
            c.paint(segment(ox + 16, 22 + k * 8 + frame, ox + 48, 22 + k * 8 + frame, 1.5), (0x90, 0xC0, 0xFF, 255), box)
    return c.png()


# ---- blowing ----

def meadow(x, y):
    grass = (0x58 + 14 * noise(x // 2, y // 2, 21), 0xA0 + 10 * noise(x, y // 3, 22), 0x48)
    path = abs(y - (192 + 60 * math.sin(x / 90.0))) < 26
    if path:
        grass = (0xC8 + 10 * noise(x, y, 23), 0xB0, 0x80)
    return tuple(clamp(v) for v in grass) + (255,)


def blowing_picture():
    c = Canvas(192, 64)
    leaf = union(polygon([(8, 32), (32, 10), (56, 32), (32, 54)]), circle(32, 32, 16))
    c.paint(leaf, (0x50, 0x38, 0x10, 255), (0, 0, 64, 64))
    c.paint(lambda x, y: leaf(x, y) + 2, (0xE0, 0x80, 0x20, 255), (0, 0, 64, 64))
    c.paint(segment(14, 32, 50, 32, 2), (0x90, 0x48, 0x10, 255), (0, 0, 64, 64))
    for k in range(5):
        a = k * 2 * math.pi / 5 - math.pi / 2
        c.paint(circle(96 + 14 * math.cos(a), 32 + 14 * math.sin(a), 11), (0xF4, 0xA8, 0xD0, 255), (64, 0, 128, 64))
    c.paint(circle(96, 32, 7), (0xF8, 0xE0, 0x40, 255), (64, 0, 128, 64))
    for k, (r, w) in enumerate(((22, 3), (14, 3), (6, 3))):
        arc = circle(136, 32, r + 8)
        c.paint(lambda x, y, a=arc, w=w: abs(a(x, y)) - w / 2 if x > 136 else 99, (0xE8, 0xF4, 0xFF, 220 - k * 40),
                (128, 0, 192, 64))
    return c.png()


# ---- ring ----

def round_picture(x, y):
    """The ring game's whole picture about (128, 128), radius 128."""
    d = math.hypot(x - 128, y - 128)
    if d > 128:
        return None
    c = mix((0x50, 0x90, 0xE0), (0xB8, 0xDC, 0xF8), y / 170.0)
    if math.hypot(x - 178, y - 66) < 26:
        c = (0xFF, 0xD4, 0x40)
    if y > 170 + 10 * math.sin(x / 30.0):
        c = (0x48, 0x98, 0x40)
    if 92 <= x <= 150 and 140 <= y <= 196:
        c = (0xE4, 0xC8, 0x98)
    if 104 < y < 142 and abs(x - 121) < (y - 104) * 1.0:
        c = (0xA8, 0x34, 0x24)
    if 112 <= x <= 128 and 168 <= y <= 196:
        c = (0x6C, 0x44, 0x24)
    if abs(x - 60) < 6 and 140 < y < 190:
        c = (0x70, 0x4C, 0x2C)
    if math.hypot(x - 60, y - 126) < 24:
        c = (0x2C, 0x7C, 0x34)
    if d > 124 or 46 < d < 50 or 86 < d < 90:
        c = (0xF0, 0xE8, 0xD8)
    return c


def ring_picture(index):
    inner = RING_RADII[index - 1] if index > 0 else 0
    outer = RING_RADII[index]
    side = 2 * outer
    offset = 128 - outer

    def pixel(x, y):
        px, py = x + offset + 0.5, y + offset + 0.5
        d = math.hypot(px - 128, py - 128)
        if d < inner or d > outer:
            return (0, 0, 0, 0)
        c = round_picture(px, py)
        if c is None:
            return (0, 0, 0, 0)
        return tuple(clamp(v) for v in c) + (255,)
    return png_bytes(side, side, pixel)


def plate(x, y):
    d = math.hypot(x - 127.5, y - 127.5)
    if d > 127:
        return (0, 0, 0, 0)
    v = 0x80 + 14 * noise(x // 2, y // 2, 31) - (12 if d > 118 else 0)
    return (clamp(v), clamp(v - 6), clamp(v - 14), 255)


# ---- the list ----

def animation(name, texture_name, left, top, width, height, frames=1, speed=1):
    return [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="{speed}" PLAY="1">',
            f'\t\t<FRAMES TEXTUR="{texture_name}">',
            f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="{frames}" SPALTEN="{frames}" '
            f'RECT_START="{left} {top} {left + width} {top + height}"/>',
            '\t\t</FRAMES>', '\t</ANIMATION_2D>']


def animation_list():
    lines = ["<!-- The cleaning, blowing and ring games' animations (written by "
             "tools/make_minigame_pictures_clean.py). -->", "<ANIMATIONS>", "\t<TEXTURES>"]
    for name, picture in (("MG_CLEAN_WERKZEUG", "clean_werkzeug.png"), ("MG_CLEAN_WIESE", "clean_wiese.png"),
                          ("MG_CLEAN_PUSTEN", "clean_pusten.png"), ("MG_CLEAN_RING_GRUND", "clean_ring_grund.png"),
                          ("MG_CLEAN_RING_1", "clean_ring_1.png"), ("MG_CLEAN_RING_2", "clean_ring_2.png"),
                          ("MG_CLEAN_RING_3", "clean_ring_3.png")):
        lines += texture(name, picture, "\t\t")
    lines.append("\t</TEXTURES>")
    lines += animation("MG_WASCHEN_SCHWAMM", "MG_CLEAN_WERKZEUG", 0, 0, 64, 64, 2, 4)
    lines += animation("MG_WASCHEN_TUCH", "MG_CLEAN_WERKZEUG", 128, 0, 64, 64, 2, 4)
    lines += animation("MG_PUSTEN_WIESE", "MG_CLEAN_WIESE", 0, 0, VIEW_W, VIEW_H)
    lines += animation("MG_PUSTEN_BLATT", "MG_CLEAN_PUSTEN", 0, 0, 64, 64)
    lines += animation("MG_PUSTEN_BLUETE", "MG_CLEAN_PUSTEN", 64, 0, 64, 64)
    lines += animation("MG_PUSTEN_WIND", "MG_CLEAN_PUSTEN", 128, 0, 64, 64)
    lines += animation("MG_RING_GRUND", "MG_CLEAN_RING_GRUND", 0, 0, 256, 256)
    for i, r in enumerate(RING_RADII):
        lines += animation(f"MG_RING_{i + 1}", f"MG_CLEAN_RING_{i + 1}", 0, 0, 2 * r, 2 * r)
    return text_file(lines + ["</ANIMATIONS>"])


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Games")
    os.makedirs(out, exist_ok=True)
    files = {
        "clean_schmutzig.png": png_bytes(VIEW_W, VIEW_H, dirty_view),
        "clean_nass.png": png_bytes(VIEW_W, VIEW_H, wet_view),
        "clean_blank.png": png_bytes(VIEW_W, VIEW_H, shiny_view),
        "clean_maske.png": png_bytes(MASK_W, MASK_H, mask),
        "clean_werkzeug.png": tools_picture(),
        "clean_wiese.png": png_bytes(VIEW_W, VIEW_H, meadow),
        "clean_pusten.png": blowing_picture(),
        "clean_ring_grund.png": png_bytes(256, 256, plate),
        "clean_ring_1.png": ring_picture(0),
        "clean_ring_2.png": ring_picture(1),
        "clean_ring_3.png": ring_picture(2),
        "clean.ani": animation_list(),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
