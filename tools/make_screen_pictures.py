#!/usr/bin/env python3
"""Writes the pictures of the achievement, options, profile and help screens into data/Menu/, with
their texture and animation lists. Drawn from simple shapes with the menu pictures' canvas
(make_menu_pictures.py), so nothing is taken from elsewhere; the output is the same on every run.

Pictures and the names the lists give them:
  erfolge_medaillen.png  256x2048: one 64-pixel row per achievement of data/achivement.acv (in its
                         order), four cells a row: no medal (a grey disc), bronze, silver, gold; the
                         achievement's sign in the middle. The medal is 48 pixels wide in its cell,
                         so the achievement screen's cells keep room above it for the achievement's
                         name and count. erfolge.ani makes each cell a one-frame
                         animation "NIX_" / "BRONZE_" / "SILBER_" / "GOLD_" + the achievement's name
  hilfe_s<n>_<s>.png     512x320 "H_HELP_S<n>_<s>": the help pages' pictures, each explaining one
                         thing of play without words: 0_0 a card carried onto a pile, 0_1 a double
                         click sending an ace home, 1_0 undo and redo, 1_1 the hint, 2_0 the four
                         powers charging, 3_0 a level earning three stars
  profil_knoepfe.png     512x256 the profile list's buttons (400x56): "P_Leer" (a pale paper
                         strip), "P_Leer_M" (pointed at), "P_Leer_A" (the active profile, gold) and
                         "P_Leer_AM" (the active one pointed at)
  optionen_kartenset1.png 256x160 "O_KARTENSET1": the first card set fanned, its preview
  erfolge_popup.png      512x128 "ACH_POPUP": the medal popup's plate
Lists: screens.tex (help pictures, profile buttons, card set preview, popup plate), erfolge.ani.

Usage: tools/make_screen_pictures.py [output folder]   (default: data/Menu in this repo)
"""
import math
import os
import re
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import (Canvas, arc, band, circle, grown, moved, polygon, rounded_rect, segment,
                                suit_shape, turned, union, vertical, SUIT_COLOURS)

FOLDER = "data\\Menu"
HEADER = "<!-- {} (written by tools/make_screen_pictures.py). -->"
HERE = os.path.dirname(os.path.abspath(__file__))

MEDALS = ("NIX", "BRONZE", "SILBER", "GOLD")
MEDAL_COLOURS = {  # face top, face bottom, rim
    "NIX": ((0x70, 0x74, 0x7A), (0x48, 0x4C, 0x52), (0x90, 0x94, 0x9A)),
    "BRONZE": ((0xE0, 0x9A, 0x5A), (0x8A, 0x4E, 0x1E), (0xF6, 0xC8, 0x96)),
    "SILBER": ((0xF0, 0xF2, 0xF6), (0x8C, 0x94, 0xA0), (0xFF, 0xFF, 0xFF)),
    "GOLD": ((0xFF, 0xE0, 0x60), (0xC0, 0x80, 0x10), (0xFF, 0xF6, 0xC0)),
}
CELL = 64
# The medal inside its cell: a transparent border of MEDAL_MARGIN all round.
MEDAL_MARGIN = 8


def achievement_names():
    with open(os.path.join(HERE, "..", "data", "achivement.acv"), encoding="latin-1") as f:
        return re.findall(r'<ACHIVEMENT NAME="([A-Z0-9_]+)"', f.read())


# ---- signs ----

def star(cx, cy, outer, inner, points=5, turn=-math.pi / 2):
    corners = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = turn + i * math.pi / points
        corners.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(corners)


def arrow(ax, ay, bx, by, width, head):
    angle = math.atan2(by - ay, bx - ax)
    shaft = segment(ax, ay, bx - head * 0.6 * math.cos(angle), by - head * 0.6 * math.sin(angle), width)
    left = (bx - head * math.cos(angle - 0.5), by - head * math.sin(angle - 0.5))
    right = (bx - head * math.cos(angle + 0.5), by - head * math.sin(angle + 0.5))
    return union(shaft, polygon([(bx, by), left, right]))


def card(cx, cy, w, h):
    return rounded_rect(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2, min(w, h) * 0.12)


def power_sign(god, cx, cy, s):
    """The sign of a god's power, as its pointer badge shows it (make_menu_pictures.py): an eye
    (uncover), an arrow turning back (undo), two arrows chasing round (shuffle), a cross (remove)."""
    if god == 0:
        upper, lower = circle(cx, cy + s * 0.5, s * 0.62), circle(cx, cy - s * 0.5, s * 0.62)

        def lens(x, y):  # where both discs overlap: an eye
            return max(upper(x, y), lower(x, y))
        return union(band(lens, s * 0.07), circle(cx, cy, s * 0.12))
    if god == 1:
        sweep = arc(cx + s * 0.05, cy + s * 0.075, s * 0.33, s * 0.15, math.radians(200), math.radians(80))
        head = polygon([(cx - s * 0.5, cy - s * 0.05), (cx - s * 0.1, cy - s * 0.05), (cx - s * 0.3, cy + s * 0.23)])
        return union(sweep, turned(head, cx - s * 0.3, cy + s * 0.03, math.radians(-15)))
    if god == 2:
        shapes = []
        r = s * 0.35
        for start in (math.radians(20), math.radians(200)):
            shapes.append(arc(cx, cy, r, s * 0.13, start, start + math.radians(120)))
            tip = start + math.radians(138)
            back = tip - math.radians(22)
            tx, ty = cx + r * math.cos(tip), cy + r * math.sin(tip)
            bx, by = cx + r * math.cos(back), cy + r * math.sin(back)
            nx, ny = math.cos(back), math.sin(back)
            wing = s * 0.18
            shapes.append(polygon([(tx, ty), (bx + nx * wing, by + ny * wing), (bx - nx * wing, by - ny * wing)]))
        return union(*shapes)
    return union(segment(cx - s * 0.3, cy - s * 0.3, cx + s * 0.3, cy + s * 0.3, s * 0.18),
                 segment(cx - s * 0.3, cy + s * 0.3, cx + s * 0.3, cy - s * 0.3, s * 0.18))


def sign(name, cx, cy, s):
    """The achievement's sign, about s pixels across, as one shape."""
    if name.startswith("AC_TIME"):
        return union(band(circle(cx, cy, s * 0.42), s * 0.08), segment(cx, cy, cx, cy - s * 0.3, s * 0.07),
                     segment(cx, cy, cx + s * 0.22, cy, s * 0.07))
    if name.startswith(("UNDO", "REDO")):
        back = name.startswith("UNDO")
        sweep = arc(cx, cy + s * 0.06, s * 0.3, s * 0.09, math.pi * 1.1, math.pi * 1.9)
        tip_x = cx - s * 0.3 if back else cx + s * 0.3
        head = polygon([(tip_x - s * 0.16, cy + s * 0.02), (tip_x + s * 0.16, cy + s * 0.02), (tip_x, cy + s * 0.24)])
        return union(sweep, head)
    if name.startswith("SHUFFLE"):
        return union(arrow(cx - s * 0.35, cy - s * 0.2, cx + s * 0.35, cy + s * 0.2, s * 0.08, s * 0.2),
                     arrow(cx - s * 0.35, cy + s * 0.2, cx + s * 0.35, cy - s * 0.2, s * 0.08, s * 0.2))
    if name.startswith("TIPP"):
        return union(circle(cx, cy - s * 0.08, s * 0.26), rounded_rect(cx - s * 0.12, cy + s * 0.14, cx + s * 0.12,
                                                                     cy + s * 0.34, s * 0.04))
    if name.startswith("GOD"):
        return power_sign(int(name[3]), cx, cy, s)
    if name in ("MAX_COMBO", "COMBOS"):
        return polygon([(cx + s * 0.1, cy - s * 0.45), (cx - s * 0.25, cy + s * 0.05), (cx - s * 0.02, cy + s * 0.05),
                        (cx - s * 0.12, cy + s * 0.45), (cx + s * 0.25, cy - s * 0.08), (cx + s * 0.02, cy - s * 0.08)])
    if name.startswith("SCORE"):
        return union(band(circle(cx, cy, s * 0.38), s * 0.07), star(cx, cy, s * 0.2, s * 0.09))
    if name.startswith("EXTRACARDS"):
        shapes = [band(card(cx, cy, s * 0.5, s * 0.7), s * 0.06), star(cx, cy, s * 0.18, s * 0.08)]
        digits = re.findall(r"(\d+)$", name)
        for i in range(int(digits[0]) + 1 if digits else 0):
            shapes.append(circle(cx - s * 0.36 + i * s * 0.24, cy + s * 0.45, s * 0.06))
        return union(*shapes)
    if name.startswith(("STARS", "LEVEL")):
        if name == "LEVEL_PLAYED":
            return union(segment(cx - s * 0.2, cy - s * 0.4, cx - s * 0.2, cy + s * 0.4, s * 0.07),
                         polygon([(cx - s * 0.2, cy - s * 0.4), (cx + s * 0.35, cy - s * 0.22), (cx - s * 0.2, cy - s * 0.04)]))
        if name == "LEVEL_PERFECT":
            return union(star(cx - s * 0.26, cy + s * 0.08, s * 0.17, s * 0.07), star(cx, cy - s * 0.12, s * 0.2, s * 0.08),
                         star(cx + s * 0.26, cy + s * 0.08, s * 0.17, s * 0.07))
        return star(cx, cy, s * 0.4, s * 0.17)
    if name.startswith("STORY"):
        # An open book: two pages meeting at the spine.
        return union(polygon([(cx - s * 0.44, cy - s * 0.28), (cx - s * 0.04, cy - s * 0.18), (cx - s * 0.04, cy + s * 0.34),
                              (cx - s * 0.44, cy + s * 0.24)]),
                     polygon([(cx + s * 0.44, cy - s * 0.28), (cx + s * 0.04, cy - s * 0.18), (cx + s * 0.04, cy + s * 0.34),
                              (cx + s * 0.44, cy + s * 0.24)]))
    # The card achievements: a card with an arrow or a mark.
    shapes = [band(card(cx - s * 0.06, cy, s * 0.46, s * 0.64), s * 0.06)]
    if name == "KARTEN_MOVE_ERROR":
        shapes += [segment(cx + s * 0.08, cy - s * 0.1, cx + s * 0.38, cy + s * 0.2, s * 0.07),
                   segment(cx + s * 0.38, cy - s * 0.1, cx + s * 0.08, cy + s * 0.2, s * 0.07)]
    elif name == "KARTEN_MOVE_TO_ZIEL":
        shapes.append(arrow(cx - s * 0.2, cy + s * 0.35, cx + s * 0.38, cy - s * 0.35, s * 0.07, s * 0.2))
    elif name == "KARTEN_ABGEBAUT":
        shapes.append(band(card(cx + s * 0.12, cy - s * 0.08, s * 0.46, s * 0.64), s * 0.06))
    else:
        shapes.append(arrow(cx - s * 0.35, cy + s * 0.1, cx + s * 0.4, cy + s * 0.1, s * 0.07, s * 0.2))
    return union(*shapes)


def medal(canvas, left, top, size, level, name):
    top_colour, bottom_colour, rim = MEDAL_COLOURS[level]
    cx, cy, r = left + size / 2, top + size / 2, size * 0.44
    box = (left, top, left + size, top + size)
    canvas.paint(circle(cx + 1.5, cy + 2, r), (0, 0, 0, 80), box)
    canvas.paint(circle(cx, cy, r), vertical(top_colour, bottom_colour, cy - r, cy + r), box)
    canvas.paint(band(circle(cx, cy, r), size * 0.05), rim + (255,), box)
    ink = (0x30, 0x30, 0x34, 200) if level == "NIX" else (0x40, 0x24, 0x08, 230)
    canvas.paint(sign(name, cx, cy, size * 0.62), ink, box)


def medal_sheet(names):
    canvas = Canvas(CELL * len(MEDALS), 2048)
    for row, name in enumerate(names):
        for column, level in enumerate(MEDALS):
            medal(canvas, column * CELL + MEDAL_MARGIN, row * CELL + MEDAL_MARGIN, CELL - 2 * MEDAL_MARGIN, level, name)
    return canvas.png()


# ---- help pictures ----

TABLE = (0x1E, 0x5A, 0x32, 255)
FACE = (0xFA, 0xF8, 0xF0, 255)
BACK = (0x2C, 0x50, 0x9A, 255)
HAND = (0xFF, 0xE0, 0x60, 255)


def help_canvas():
    canvas = Canvas(512, 320)
    canvas.paint(rounded_rect(0, 0, 512, 320, 18), TABLE)
    canvas.paint(band(rounded_rect(0, 0, 512, 320, 18), 3), (0xC8, 0xA0, 0x40, 255))
    return canvas


def draw_card(canvas, cx, cy, suit=None, face_up=True, w=64, h=90):
    body = card(cx, cy, w, h)
    canvas.paint(grown(moved(body, 3, 4), 1), (0, 0, 0, 70))
    canvas.paint(body, FACE if face_up else BACK)
    canvas.paint(band(body, 1.2), (0x60, 0x60, 0x60, 255))
    if face_up and suit:
        canvas.paint(suit_shape(suit, cx, cy, w * 0.45), SUIT_COLOURS[suit])
    elif not face_up:
        canvas.paint(band(grown(body, -6), 1.5), (0xC0, 0xD0, 0xF0, 255))


def empty_pile(canvas, cx, cy, w=64, h=90):
    canvas.paint(band(card(cx, cy, w, h), 2), (0xA0, 0xD0, 0xA8, 200))


def pointer(canvas, x, y, double=False):
    shape = polygon([(x, y), (x + 26, y + 20), (x + 13, y + 21), (x + 20, y + 36), (x + 14, y + 39), (x + 7, y + 24),
                     (x, y + 32)])
    canvas.paint(grown(shape, 2), (0, 0, 0, 255))
    canvas.paint(shape, (255, 255, 255, 255))
    if double:
        for r in (10, 17):
            canvas.paint(band(circle(x, y, r), 1.5), HAND)


def help_carry():
    c = help_canvas()
    draw_card(c, 110, 200, "spade")
    for i in range(3):
        draw_card(c, 380, 110 + i * 26, None, face_up=False)
    draw_card(c, 380, 188, "heart")
    c.paint(arrow(150, 170, 330, 210, 5, 22), HAND)
    draw_card(c, 110, 200, "spade")
    pointer(c, 112, 205)
    return c.png()


def help_home():
    c = help_canvas()
    for i, suit in enumerate(("spade", "heart", "club")):
        empty_pile(c, 90 + i * 90, 70)
    draw_card(c, 90, 70, "spade")
    draw_card(c, 300, 230, "heart")
    c.paint(arrow(290, 185, 190, 95, 5, 22), HAND)
    pointer(c, 302, 236, double=True)
    return c.png()


def help_undo():
    c = help_canvas()
    draw_card(c, 160, 160, "club")
    draw_card(c, 352, 160, "club")
    c.paint(arc(256, 150, 70, 8, math.pi * 1.15, math.pi * 1.85), HAND)
    c.paint(polygon([(180, 155), (208, 140), (206, 172)]), HAND)
    c.paint(arc(256, 170, 70, 8, math.pi * 0.15, math.pi * 0.85), (0xA0, 0xD0, 0xFF, 255))
    c.paint(polygon([(332, 165), (304, 150), (306, 182)]), (0xA0, 0xD0, 0xFF, 255))
    return c.png()


def help_hint():
    c = help_canvas()
    draw_card(c, 140, 170, "diamond")
    draw_card(c, 360, 150, None, face_up=False)
    draw_card(c, 360, 176, "spade")
    for r, a in ((60, 60), (48, 90), (38, 140)):
        c.paint(circle(140, 170, r), (0xFF, 0xF0, 0x80, a))
    draw_card(c, 140, 170, "diamond")
    c.paint(union(circle(256, 70, 30), rounded_rect(242, 96, 270, 120, 5)), HAND)
    c.paint(arrow(170, 150, 325, 170, 4, 18), (0xFF, 0xF0, 0x80, 255))
    return c.png()


def help_powers():
    c = help_canvas()
    colours = ((0x60, 0xA0, 0xFF), (0xFF, 0x80, 0x60), (0x80, 0xE0, 0x80), (0xE0, 0x80, 0xFF))
    for i, colour in enumerate(colours):
        x = 80 + i * 118
        c.paint(rounded_rect(x - 20, 60, x + 20, 260, 10), (0x10, 0x20, 0x18, 255))
        fill = 200 * (i + 1) / 4
        c.paint(rounded_rect(x - 16, 256 - fill, x + 16, 256, 8), colour + (255,))
        c.paint(band(rounded_rect(x - 20, 60, x + 20, 260, 10), 2), (0xC8, 0xA0, 0x40, 255))
    c.paint(star(434, 50, 22, 9), HAND)
    return c.png()


def help_stars():
    c = help_canvas()
    for i in range(3):
        c.paint(star(156 + i * 100, 130, 44, 18), (0, 0, 0, 90))
        c.paint(star(152 + i * 100, 126, 44, 18), HAND)
    c.paint(rounded_rect(120, 210, 392, 250, 12), (0x10, 0x20, 0x18, 255))
    c.paint(rounded_rect(124, 214, 388, 246, 10), (0xFF, 0xC8, 0x40, 255))
    return c.png()


HELP_PAGES = {(0, 0): help_carry, (0, 1): help_home, (1, 0): help_undo, (1, 1): help_hint, (2, 0): help_powers,
              (3, 0): help_stars}


# ---- profile buttons, card set preview, popup plate ----

PROFILE_LOOKS = (  # name, top, bottom, rim
    ("P_Leer", (0xF2, 0xEA, 0xD6), (0xD4, 0xC6, 0xA2), (0x8A, 0x74, 0x4A)),
    ("P_Leer_M", (0xFF, 0xF8, 0xE4), (0xEA, 0xD8, 0xAC), (0xC8, 0x98, 0x30)),
    ("P_Leer_A", (0xFF, 0xD8, 0x60), (0xC8, 0x88, 0x18), (0x6A, 0x40, 0x08)),
    ("P_Leer_AM", (0xFF, 0xE8, 0x90), (0xE0, 0xA0, 0x28), (0xFF, 0xF4, 0xC8)),
)


def profile_sheet():
    canvas = Canvas(512, 256)
    for i, (_, top_colour, bottom_colour, rim) in enumerate(PROFILE_LOOKS):
        top = i * 64
        shape = rounded_rect(2, top + 2, 398, top + 54, 12)
        canvas.paint(shape, vertical(top_colour, bottom_colour, top + 2, top + 54))
        canvas.paint(band(shape, 2.5), rim + (255,))
    return canvas.png()


def cardset_preview():
    canvas = Canvas(256, 160)
    for i, suit in enumerate(("spade", "heart", "club", "diamond")):
        draw_card(canvas, 58 + i * 46, 80, suit, w=70, h=100)
    return canvas.png()


def popup_plate():
    canvas = Canvas(512, 128)
    shape = rounded_rect(4, 4, 508, 124, 26)
    canvas.paint(grown(moved(shape, 3, 4), 1), (0, 0, 0, 90))
    canvas.paint(shape, vertical((0x2C, 0x3A, 0x5A), (0x14, 0x1C, 0x30), 4, 124))
    canvas.paint(band(shape, 3), (0xE8, 0xC0, 0x50, 255))
    return canvas.png()


# ---- lists ----

def texture(name, picture, extra=()):
    lines = [f'\t<TEXTUR2D NAME="{name}">', f'\t\t<FILE FILENAME="{FOLDER}\\{picture}"/>',
             '\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>']
    lines += [f'\t\t{line}' for line in extra]
    return lines + ['\t</TEXTUR2D>']


def part(name, left, top, width, height):
    return f'<TEX_PART NAME="{name}"><TEX_RECT L="{left}" T="{top}" W="{width}" H="{height}"/></TEX_PART>'


def text_file(lines):
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def screens_list():
    lines = [HEADER.format("The pictures of the help, profile, options and achievement screens"), "<TEXTURES>"]
    for (page, sub) in sorted(HELP_PAGES):
        lines += texture(f"H_HELP_S{page}_{sub}", f"hilfe_s{page}_{sub}.png")
    parts = [part(name, 0, i * 64, 400, 56) for i, (name, _, _, _) in enumerate(PROFILE_LOOKS)]
    lines += texture("PROFIL_KNOEPFE", "profil_knoepfe.png", parts)
    lines += texture("O_KARTENSET1", "optionen_kartenset1.png")
    lines += texture("ACH_POPUP", "erfolge_popup.png")
    return text_file(lines + ["</TEXTURES>"])


def medal_list(names):
    lines = [HEADER.format("The achievements' medal pictures"), "<ANIMATIONS>", "\t<TEXTURES>"]
    lines += ["\t" + line for line in texture("ERFOLGE_MEDAILLEN", "erfolge_medaillen.png")]
    lines.append("\t</TEXTURES>")
    for row, name in enumerate(names):
        for column, level in enumerate(MEDALS):
            left, top = column * CELL, row * CELL
            lines += [f'\t<ANIMATION_2D NAME="{level}_{name}" ANIMSPEED="1" PLAY="1">',
                      '\t\t<FRAMES TEXTUR="ERFOLGE_MEDAILLEN">',
                      f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="1" SPALTEN="1" RECT_START="{left} {top} {left + CELL} {top + CELL}"/>',
                      '\t\t</FRAMES>', '\t</ANIMATION_2D>']
    return text_file(lines + ["</ANIMATIONS>"])


def main():
    args = command_line.arguments(__doc__, 1)
    out = args[0] if args else os.path.join(HERE, "..", "data", "Menu")
    os.makedirs(out, exist_ok=True)
    names = achievement_names()
    assert len(names) * CELL <= 2048, "the medal sheet holds 32 achievements"
    files = {
        "erfolge_medaillen.png": medal_sheet(names),
        "erfolge.ani": medal_list(names),
        "profil_knoepfe.png": profile_sheet(),
        "optionen_kartenset1.png": cardset_preview(),
        "erfolge_popup.png": popup_plate(),
        "screens.tex": screens_list(),
    }
    for (page, sub), draw in HELP_PAGES.items():
        files[f"hilfe_s{page}_{sub}.png"] = draw()
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
