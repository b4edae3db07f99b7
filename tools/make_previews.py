#!/usr/bin/env python3
"""Writes the preview pictures of the catalogue's variants into data/Level/.

Each picture is 370 x 278 and shows the variant's table as dealt, drawn from its rule file:
every pile at its "POSITION_REL" (in card cells, a cell being 1 x 1.4), face-down cards as
blue backs and face-up ones as white faces, a tableau pile fanned downwards, an empty pile as
an outline, on a green table. The pile fields come from the file and its "KARTEN_FILE" includes
and the templates they name ("VORLAGE"). The running game's F8 key overwrites a preview with a
picture of the real table. The output is the same on every run.

Usage: tools/make_previews.py [output folder]   (default: data/Level in this repo)
"""
import os
import re
import sys

from make_test_pictures import png_bytes

WIDTH, HEIGHT = 370, 278
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FELT, BACK, FACE, EDGE, OUTLINE = (0x1E, 0x6B, 0x3A), (0x2C, 0x4C, 0xB0), (0xF4, 0xF4, 0xEE), (0x20, 0x20, 0x20), (0x9C, 0xD0, 0xA8)
FAN_STEP = 0.25  # cells per fanned card
VARIANTS = ["Goldrausch", "GoldrauschDrei", "Golfplatz", "Herzreihe", "Paare", "Spinne", "Zellen"]

TAG = re.compile(r'<(STAPEL_VORLAGE|STAPEL|KARTEN_FILE|KARTEN_FILE_POST)\s([^>]*)>')
ATTR = re.compile(r'([A-Z_]+)="([^"]*)"')


def read_file(path, piles, templates):
    text = open(os.path.join(ROOT, path.replace("\\", "/")), encoding="utf-8-sig").read()
    for tag, attrs in TAG.findall(text):
        fields = dict(ATTR.findall(attrs))
        if tag.startswith("KARTEN_FILE"):
            read_file(fields["FILE"], piles, templates)
        elif tag == "STAPEL_VORLAGE":
            templates[fields.get("NAME", "")] = fields
        else:
            merged = dict(templates.get(fields.get("VORLAGE", ""), {}))
            merged.update(fields)
            piles.append(merged)


def layout(name):
    piles, templates = [], {}
    read_file("data/Level/%s.sol" % name, piles, templates)
    placed = []
    for pile in piles:
        x, y = (float(v) for v in (pile.get("POSITION_REL", "0 0").split() + ["0"])[:2])
        hidden = int(pile.get("INIT_KARTEN_VERDECKT", "0"))
        shown = int(pile.get("INIT_KARTEN_SICHTBAR", "0"))
        fanned = pile.get("STAPELTYP") == "TABLEAU"
        placed.append((x, y * 1.4, hidden, shown, fanned))
    return placed


def picture(name):
    piles = layout(name)
    right = max(x + 1.0 for x, _, _, _, _ in piles)
    bottom = max(y + 1.4 + (FAN_STEP * (h + s - 1) if f and h + s > 1 else 0.0) for _, y, h, s, f in piles)
    scale = min((WIDTH - 20) / right, (HEIGHT - 20) / bottom)
    left, top = (WIDTH - right * scale) / 2, (HEIGHT - bottom * scale) / 2
    cards = []  # (x0, y0, x1, y1, colour or None for an outline), drawn in order
    for x, y, hidden, shown, fanned in piles:
        count = hidden + shown
        steps = range(count) if fanned else ([count - 1] if count else [])
        if not count:
            cards.append((x, y, None))
        for i in steps:
            cards.append((x, y + (FAN_STEP * i if fanned else 0.0), BACK if i < hidden else FACE))
    rects = [(left + x * scale, top + y * scale, left + (x + 0.9) * scale, top + (y + 1.26) * scale, c) for x, y, c in cards]

    def pixel(px, py):
        colour = FELT
        for x0, y0, x1, y1, fill in rects:
            if x0 <= px < x1 and y0 <= py < y1:
                edge = px < x0 + 1 or px >= x1 - 1 or py < y0 + 1 or py >= y1 - 1
                if fill is None:
                    if edge:
                        colour = OUTLINE
                else:
                    colour = EDGE if edge else fill
        return colour + (0xFF,)
    return png_bytes(WIDTH, HEIGHT, pixel, alpha=False)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "data", "Level")
    os.makedirs(out, exist_ok=True)
    for name in VARIANTS:
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(picture(name))


if __name__ == "__main__":
    main()
