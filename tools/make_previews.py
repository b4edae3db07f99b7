#!/usr/bin/env python3
"""Writes the preview pictures of the catalogue's variants into data/Level/.

Each picture is 370 x 278 and shows the variant's table as dealt, drawn from its rule file:
every pile at its "POSITION_REL" (in card cells, a cell being 1 x 1.4), face-down cards as
blue backs with a lattice and face-up ones as white faces with a suit in the corner (the top
card of a pile a large one in its middle too), a tableau pile fanned downwards, an empty pile as
an outline, on a green table; edges are smoothed. The suits follow the deck the file asks for
("KARTEN_FARBE"), else a repeatable sequence mixes them. The pile fields come from the file and its "KARTEN_FILE" includes
and the templates they name ("VORLAGE"). The running game's F8 key overwrites a preview with a
picture of the real table. The output is the same on every run.
The pictures made are the previews the catalogue (data/Level/Level.dat) names: a variant's
"PREVIEW_FILE", else its rule file's name with ".png", and a game's "PREVIEW_FILE"; the preview
"Foo.png" shows the table of "Foo.sol" beside it.

Usage: tools/make_previews.py [output folder]   (default: data/Level in this repo)
"""
import os
import re
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import SUIT_COLOURS, Canvas, band, rounded_rect, suit_shape

WIDTH, HEIGHT = 370, 278
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FELT, BACK, LATTICE = (0x1E, 0x6B, 0x3A, 0xFF), (0x2C, 0x4C, 0xB0, 0xFF), (0x5A, 0x7A, 0xD0, 0xFF)
FACE, EDGE, OUTLINE = (0xF6, 0xF4, 0xEE, 0xFF), (0x30, 0x30, 0x30, 0xFF), (0x9C, 0xD0, 0xA8, 0xFF)
SUITS = ["club", "diamond", "spade", "heart"]
DECK_SUITS = {"KREUZ": "club", "KARO": "diamond", "PIK": "spade", "HERZ": "heart"}
FAN_STEP = 0.25  # cells per fanned card

DECK = re.compile(r'<SOLITAIRE\s[^>]*KARTEN_FARBE="([A-Z]+)"')
TAG = re.compile(r'<(STAPEL_VORLAGE|STAPEL|KARTEN_FILE|KARTEN_FILE_POST)\s([^>]*)>')
ATTR = re.compile(r'([A-Z_]+)="([^"]*)"')
CATALOGUE_TAG = re.compile(r'<(VARIANTE|GAME)\s([^>]*)>')
COMMENT = re.compile(r'<!--.*?-->', re.S)


def catalogue_previews():
    """The names ("Foo" for data/Level/Foo.png) of the preview pictures the catalogue names."""
    text = COMMENT.sub("", open(os.path.join(ROOT, "data", "Level", "Level.dat"), encoding="utf-8-sig").read())
    names = set()
    for tag, attrs in CATALOGUE_TAG.findall(text):
        fields = dict(ATTR.findall(attrs))
        if "PREVIEW" in fields:
            continue  # a picture the game registers itself
        own = os.path.splitext(fields.get("FILE", ""))[0] + ".png" if tag == "VARIANTE" else ""
        name = os.path.splitext(fields.get("PREVIEW_FILE", own).replace("\\", "/").split("/")[-1])[0]
        if name:
            names.add(name)
    return sorted(names)


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


def deck_suit(name):
    text = open(os.path.join(ROOT, "data/Level/%s.sol" % name), encoding="utf-8-sig").read()
    found = DECK.search(text)
    return DECK_SUITS.get(found.group(1)) if found else None


def lattice(x, y):
    return LATTICE if int(x + y) % 6 < 1 or int(x - y + 600) % 6 < 1 else BACK


def picture(name):
    piles = layout(name)
    only = deck_suit(name)
    right = max(x + 1.0 for x, _, _, _, _ in piles)
    bottom = max(y + 1.4 + (FAN_STEP * (h + s - 1) if f and h + s > 1 else 0.0) for _, y, h, s, f in piles)
    scale = min((WIDTH - 20) / right, (HEIGHT - 20) / bottom)
    left, top = (WIDTH - right * scale) / 2, (HEIGHT - bottom * scale) / 2
    canvas = Canvas(WIDTH, HEIGHT)
    canvas.paint(lambda x, y: -1.0, FELT)
    w, h = 0.9 * scale, 1.26 * scale
    radius = 0.08 * w
    dealt = 0
    for x, y, hidden, shown, fanned in piles:
        count = hidden + shown
        x0 = left + x * scale
        if not count:
            body = rounded_rect(x0, top + y * scale, x0 + w, top + y * scale + h, radius)
            canvas.paint(band(body, 1.2), OUTLINE, (x0 - 2, top + y * scale - 2, x0 + w + 2, top + y * scale + h + 2))
            continue
        for i in range(count) if fanned else [count - 1]:
            y0 = top + (y + (FAN_STEP * i if fanned else 0.0)) * scale
            box = (x0 - 2, y0 - 2, x0 + w + 2, y0 + h + 2)
            body = rounded_rect(x0, y0, x0 + w, y0 + h, radius)
            if i < hidden:
                canvas.paint(body, lattice, box)
            else:
                dealt = (dealt * 1103515245 + 12345) & 0x7FFFFFFF  # a repeatable shuffle of suits
                suit = only or SUITS[(dealt >> 16) % 4]
                canvas.paint(body, FACE, box)
                corner = 0.2 * w
                canvas.paint(suit_shape(suit, x0 + 0.2 * w, y0 + 0.17 * w, corner), SUIT_COLOURS[suit], box)
                if i == count - 1:
                    canvas.paint(suit_shape(suit, x0 + w / 2, y0 + h / 2, 0.42 * w), SUIT_COLOURS[suit], box)
            canvas.paint(band(body, 0.8), EDGE, box)
    return canvas.png()


def main():
    args = command_line.arguments(__doc__, 1)
    out = args[0] if args else os.path.join(ROOT, "data", "Level")
    os.makedirs(out, exist_ok=True)
    for name in catalogue_previews():
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(picture(name))


if __name__ == "__main__":
    main()
