#!/usr/bin/env python3
"""Writes the story scenes' pictures and the tutorials' arrow, with their animation lists, into
data/Story/ and data/Tutorial/.

Every picture is drawn here from simple shapes with the menu pictures' drawing helpers
(make_menu_pictures.py), so the data carries nothing taken from elsewhere. The output is the
same on every run.

data/Story (story.ani, one animation of one frame per picture unless said otherwise):
  himmel.png    256x192 "STORY_HIMMEL": a night sky going to dawn towards the bottom, with stars
  huegel.png    512x128 "STORY_HUEGEL": two rows of dark hills, open sky above them
  sonne.png     128x128 "STORY_SONNE": a warm sun with a soft halo
  wolke.png     256x128 "STORY_WOLKE": a white cloud of round puffs
  figur.png     256x96  "STORY_FIGUR": a little wanderer with a red cape, four 64x96 walking frames
  turm.png      128x256 "STORY_TURM": a stone tower with a flag and lit windows
  weiter.png    64x64   "STORY_WEITER": a round gold button with two chevrons (the skip element)
  tafel.png     512x128 "STORY_TAFEL": a dark text panel with a gold rim, a little transparent
  stern.png     32x32   "STORY_STERN": a small five-pointed star
data/Tutorial (tutorial.ani):
  pfeil.png     1024x64 "T_PFEIL": four 256x64 frames of a gold arrow pointing right, its glow
                swelling and ebbing; the animation "T_PFEIL_ANI" plays them round (the tutorial
                pages stretch it from the page to what they point at)

Usage: tools/make_story_pictures.py [data folder]   (default: data in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import Canvas, band, circle, grown, moved, noise, polygon, rounded_rect, segment, union, vertical


# ---- the story's pictures ----

def sky():
    canvas = Canvas(256, 192)
    canvas.paint(lambda x, y: -1.0, vertical((0x0A, 0x10, 0x30), (0xE0, 0x8A, 0x50), 0, 192))
    for i in range(40):
        x = (noise(i, 1, 5) + 1.0) * 128.0
        y = (noise(i, 2, 5) + 1.0) * 60.0
        r = 0.6 + 0.5 * (noise(i, 3, 5) + 1.0)
        canvas.paint(circle(x, y, r), (255, 250, 230, int(150 + 50 * noise(i, 4, 5))))
    return canvas.png()


def hills():
    canvas = Canvas(512, 128)

    def ridge(base, height, waves, phase):
        """Below a wavy line: negative (inside) under it."""
        return lambda x, y: (base - height * (0.5 + 0.5 * math.sin(x / 512.0 * waves * 2 * math.pi + phase))) - y

    canvas.paint(ridge(70, 40, 2.0, 0.7), (0x22, 0x3A, 0x2A, 255))
    canvas.paint(ridge(110, 36, 3.0, 2.1), (0x14, 0x26, 0x1A, 255))
    return canvas.png()


def sun():
    canvas = Canvas(128, 128)
    halo = circle(64, 64, 62)
    canvas.paint(halo, lambda x, y: (255, 200, 90, 110 * max(0.0, 1.0 - math.hypot(x - 64, y - 64) / 62.0) ** 1.5))
    canvas.paint(circle(64, 64, 30), (255, 214, 96, 255))
    canvas.paint(circle(58, 58, 18), (255, 236, 160, 200))
    return canvas.png()


def cloud():
    canvas = Canvas(256, 128)
    puffs = union(circle(70, 78, 34), circle(118, 58, 44), circle(170, 74, 36), circle(205, 88, 24),
                  rounded_rect(40, 70, 225, 110, 20))
    canvas.paint(moved(puffs, 4, 6), (0x80, 0x90, 0xA8, 90))
    canvas.paint(puffs, vertical((255, 255, 255), (0xD8, 0xE0, 0xEC), 14, 110))
    return canvas.png()


def walker(canvas, frame):
    ox = frame * 64
    swing = math.sin(frame / 4.0 * 2 * math.pi)
    skin, cloth, cape = (0xF0, 0xC8, 0xA0, 255), (0x30, 0x38, 0x58, 255), (0xB0, 0x20, 0x28, 255)
    hip = (ox + 32, 62)
    for side in (-1, 1):
        foot = (ox + 32 + side * swing * 12, 90)
        canvas.paint(segment(hip[0], hip[1], foot[0], foot[1], 7), cloth)
    canvas.paint(polygon([(ox + 30, 28), (ox + 16 - swing * 3, 66), (ox + 36, 64)]), cape)
    canvas.paint(rounded_rect(ox + 24, 28, ox + 40, 64, 5), cloth)
    canvas.paint(segment(ox + 34, 34, ox + 34 - swing * 10, 54, 5), skin)
    canvas.paint(circle(ox + 32, 18, 10), skin)
    canvas.paint(polygon([(ox + 21, 14), (ox + 43, 14), (ox + 32, 0)]), (0x4A, 0x2C, 0x16, 255))


def figure():
    canvas = Canvas(256, 96)
    for frame in range(4):
        walker(canvas, frame)
    return canvas.png()


def tower():
    canvas = Canvas(128, 256)
    stone = lambda x, y: (int(0x8A + 10 * noise(x // 6, y // 6, 9)), int(0x84 + 10 * noise(x // 6, y // 6, 9)),
                          int(0x7C + 10 * noise(x // 6, y // 6, 9)), 255)
    body = union(rounded_rect(28, 70, 100, 256, 2), *(rounded_rect(24 + i * 18, 56, 36 + i * 18, 74, 1) for i in range(5)))
    canvas.paint(body, stone)
    canvas.paint(band(body, 2.0), (0x4A, 0x44, 0x40, 255))
    for wx, wy in ((50, 100), (70, 150), (50, 200)):
        canvas.paint(rounded_rect(wx, wy, wx + 12, wy + 22, 6), (0xFF, 0xD0, 0x60, 255))
    canvas.paint(rounded_rect(62, 8, 66, 58, 1), (0x40, 0x30, 0x20, 255))
    canvas.paint(polygon([(66, 10), (104, 20), (66, 32)]), (0xC0, 0x28, 0x30, 255))
    return canvas.png()


def skip_button():
    canvas = Canvas(64, 64)
    disc = circle(32, 32, 29)
    canvas.paint(disc, vertical((0xF0, 0xD0, 0x70), (0xA0, 0x70, 0x20), 4, 60))
    canvas.paint(band(disc, 2.5), (0x5A, 0x3A, 0x10, 255))
    for dx in (-8, 8):
        canvas.paint(polygon([(22 + dx, 18), (34 + dx, 32), (22 + dx, 46), (17 + dx, 42), (25 + dx, 32), (17 + dx, 22)]),
                     (0x3A, 0x24, 0x08, 255))
    return canvas.png()


def panel():
    canvas = Canvas(512, 128)
    body = rounded_rect(4, 4, 508, 124, 18)
    canvas.paint(body, (0x14, 0x1A, 0x2C, 215))
    canvas.paint(band(body, 3.0), (0xD8, 0xB0, 0x50, 255))
    canvas.paint(band(grown(body, -7.0), 1.0), (0xD8, 0xB0, 0x50, 120))
    return canvas.png()


def star():
    canvas = Canvas(32, 32)
    points = []
    for i in range(10):
        r = 15.0 if i % 2 == 0 else 6.5
        a = -math.pi / 2 + i * math.pi / 5
        points.append((16 + r * math.cos(a), 16.5 + r * math.sin(a)))
    canvas.paint(polygon(points), (255, 240, 160, 255))
    return canvas.png()


# ---- the tutorials' arrow ----

def arrow_frame(canvas, frame):
    """The shaft takes most of the frame, as the pages stretch the arrow along its way."""
    ox = frame * 256
    glow = 0.5 + 0.5 * math.sin(frame / 4.0 * 2 * math.pi)
    shape = polygon([(ox + 6, 26), (ox + 212, 26), (ox + 212, 10), (ox + 252, 32), (ox + 212, 54), (ox + 212, 38),
                     (ox + 6, 38)])
    canvas.paint(grown(shape, 5.0), (255, 230, 120, int(60 + 70 * glow)))
    canvas.paint(shape, vertical((0xFF, 0xE6, 0x70), (0xD8, 0x90, 0x10), 8, 56))
    canvas.paint(band(shape, 2.0), (0x7A, 0x48, 0x08, 255))


def arrow_sheet():
    canvas = Canvas(1024, 64)
    for frame in range(4):
        arrow_frame(canvas, frame)
    return canvas.png()


# ---- the lists ----

def texture(folder, name, picture):
    return [f'\t\t<TEXTUR2D NAME="{name}">', f'\t\t\t<FILE FILENAME="{folder}\\{picture}"/>',
            '\t\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>', '\t\t</TEXTUR2D>']


def animation(name, texture_name, frames=1, speed=1, width=None, height=None):
    rect = f' RECT_START="0 0 {width} {height}"' if width else ""
    return [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="{speed}" PLAY="1">', f'\t\t<FRAMES TEXTUR="{texture_name}">',
            f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="{frames}" SPALTEN="{frames}"{rect}/>', '\t\t</FRAMES>',
            '\t</ANIMATION_2D>']


STORY_PICTURES = (("STORY_HIMMEL", "himmel.png", sky), ("STORY_HUEGEL", "huegel.png", hills),
                  ("STORY_SONNE", "sonne.png", sun), ("STORY_WOLKE", "wolke.png", cloud),
                  ("STORY_FIGUR", "figur.png", figure), ("STORY_TURM", "turm.png", tower),
                  ("STORY_WEITER", "weiter.png", skip_button), ("STORY_TAFEL", "tafel.png", panel),
                  ("STORY_STERN", "stern.png", star))


def story_list():
    lines = ["<!-- The story scenes' pictures (written by tools/make_story_pictures.py). -->", "<ANIMATIONS>",
             "\t<TEXTURES>"]
    for name, picture, _ in STORY_PICTURES:
        lines += texture("data\\Story", name, picture)
    lines.append("\t</TEXTURES>")
    for name, _, _ in STORY_PICTURES:
        if name == "STORY_FIGUR":
            lines += animation(name, name, frames=4, speed=8, width=64, height=96)
        else:
            lines += animation(name, name)
    return lines + ["</ANIMATIONS>"]


def tutorial_list():
    lines = ["<!-- The tutorial pages' arrow (written by tools/make_story_pictures.py). -->", "<ANIMATIONS>",
             "\t<TEXTURES>"]
    lines += texture("data\\Tutorial", "T_PFEIL", "pfeil.png")
    lines.append("\t</TEXTURES>")
    lines += animation("T_PFEIL_ANI", "T_PFEIL", frames=4, speed=6, width=256, height=64)
    return lines + ["</ANIMATIONS>"]


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    data = args[0] if args else os.path.join(here, "..", "data")
    story, tutorial = os.path.join(data, "Story"), os.path.join(data, "Tutorial")
    os.makedirs(story, exist_ok=True)
    os.makedirs(tutorial, exist_ok=True)
    for _, picture, draw in STORY_PICTURES:
        write(os.path.join(story, picture), draw())
    write(os.path.join(story, "story.ani"), ("\r\n".join(story_list()) + "\r\n").encode("ascii"))
    write(os.path.join(tutorial, "pfeil.png"), arrow_sheet())
    write(os.path.join(tutorial, "tutorial.ani"), ("\r\n".join(tutorial_list()) + "\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
