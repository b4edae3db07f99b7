#!/usr/bin/env python3
"""Writes the GUI's own pictures and their texture list into data/GUI/.

Every picture is drawn here from simple shapes, so the data carries nothing taken from
elsewhere; the PNG writer is the test pictures' (make_test_pictures.py). The output is the same
on every run.

Pictures:
  gui_white.png          16x16 opaque white: a window's look coloured by "MODULATE_COLOR"
  gui_button.png         64x32 blue button body with a light 2-pixel border, transparent corners
  gui_button_mark.png    64x32 the same in orange (the highlighted look)
  gui_button_press.png   64x32 the same in dark blue (pressed)
  gui_button_disable.png 64x32 the same in grey (disabled)
  gui_frame.png          64x64 dark panel with a 4-pixel light frame
  gui_label.png          64x16 half-transparent dark strip behind a text
  gui_disc_shape.png     64x64 opaque white disc of radius 30 on a transparent ground: a shape
                         mask for clipping and hit tests
  gui_slider_track.png   64x16 dark groove with a light 1-pixel rim (slider track)
  gui_slider_knob.png    16x24 light knob with a darker rim and a middle notch
  gui_progress_back.png  64x16 dark bar ground with a light 1-pixel rim
  gui_progress_fill.png  64x16 green fill, lighter towards the top
  gui_scroll_track.png   16x64 dark scroll track with a light 1-pixel rim
  gui_scroll_thumb.png   16x32 light grey thumb with transparent corners
  gui_arrow_up.png, gui_arrow_down.png, gui_arrow_left.png, gui_arrow_right.png
                         32x32 scroll buttons: a blue rounded body in a gold rim holding a white
                         arrow (shaft and head) pointing that way, edges smoothed
  gui_check_off.png      16x16 checkbox, unchecked: light 2-pixel border around dark grey
  gui_check_on.png       16x16 checkbox, checked: the same border around green
  gui_check_mark.png     16x16 hover overlay of a checkbox: a light border, transparent inside
  gui_frame_corner.png   16x16 flat gold: the corners of a nine-part frame
  gui_frame_edge.png     16x16 flat brown: its border strips
  gui_frame_fill.png     16x16 flat dark blue: its centre
  gui_tooltip.png        32x32 pale yellow note with a dark 1-pixel border
gui_textures.tex: a texture list ("TEXTUR2D" elements) naming each picture.

Tutorial pictures of the tests' demo pages, with their own list tut_textures.tex, and the demo
screens' frame animations, all written into tests/engine/gui/data/:
  tut_pfeil.png          64x32 yellow arrow pointing right (shaft to x 40, head to the tip at the
                         right edge's middle) on a transparent ground
  tut_seite.png          64x64 light paper page with a 2-pixel brown border
  gui_anzeige.png        320x16 a level meter in five 64x16 frames side by side: a dark ground
                         with a light rim holding four lamps, of which frame k lights the first k
                         in orange (the "ANIMATION" progress bar shows the frame of its ratio)
  tut_seite_ecke.png     256x64 four 64x64 frames side by side of the tutorial page whose lower
                         right corner folds over, 0, 6, 12 and 18 pixels deep
gui_animationen.ani: the meter sheet as a texture and the animation "gui_anzeige" over its five
frames, standing still (the bar sets the frame).
tut_animationen.ani: the page sheet as a texture and the animation "tut_seite_ecke" playing the
fold forward and back.

Usage: tools/make_gui_pictures.py [output folder [tutorial output folder]]
       (defaults: data/GUI and tests/engine/gui/data in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_menu_pictures import Canvas, polygon, rounded_rect, segment, turned, union, vertical
from make_test_pictures import png_bytes

BUTTON_COLOURS = {
    "gui_button.png": (0x30, 0x60, 0xC0),
    "gui_button_mark.png": (0xE0, 0x80, 0x20),
    "gui_button_press.png": (0x20, 0x30, 0x80),
    "gui_button_disable.png": (0x80, 0x80, 0x80),
}


def white(x, y):
    return (0xFF, 0xFF, 0xFF, 0xFF)


def button(colour):
    def pixel(x, y):
        corner = (x < 3 or x >= 61) and (y < 3 or y >= 29)
        if corner:
            return (0, 0, 0, 0)
        if x < 2 or x >= 62 or y < 2 or y >= 30:
            return (0xE0, 0xE0, 0xF0, 0xFF)
        return colour + (0xFF,)
    return pixel


def frame(x, y):
    if x < 4 or x >= 60 or y < 4 or y >= 60:
        return (0xC8, 0xC8, 0xB0, 0xFF)
    return (0x28, 0x28, 0x30, 0xFF)


def label(x, y):
    return (0x10, 0x10, 0x18, 0x80)


def disc_shape(x, y):
    dx, dy = x - 31.5, y - 31.5
    return (0xFF, 0xFF, 0xFF, 0xFF) if dx * dx + dy * dy <= 30 * 30 else (0, 0, 0, 0)


def rimmed(w, h, rim, inside):
    def pixel(x, y):
        return rim if x == 0 or y == 0 or x == w - 1 or y == h - 1 else inside
    return pixel


def knob(x, y):
    if x == 0 or y == 0 or x == 15 or y == 23:
        return (0x60, 0x60, 0x70, 0xFF)
    if 7 <= x <= 8 and 6 <= y <= 17:
        return (0x80, 0x80, 0x90, 0xFF)
    return (0xE8, 0xE8, 0xF0, 0xFF)


def progress_fill(x, y):
    light = 0x40 + (15 - y) * 6
    return (0x20, 0x90 + light // 2, 0x30, 0xFF)


def thumb(x, y):
    corner = (x < 2 or x >= 14) and (y < 2 or y >= 30)
    return (0, 0, 0, 0) if corner else (0xB0, 0xB4, 0xC0, 0xFF)


ARROW_SIZE = 32
ARROW_TURNS = {"up": 0.0, "right": 0.5, "down": 1.0, "left": 1.5}  # half turns from pointing up


def arrow(direction):
    """A scroll button: the arrow is drawn pointing up and turned about the middle."""
    c = Canvas(ARROW_SIZE, ARROW_SIZE)
    c.paint(rounded_rect(1, 1, 31, 31, 8), (0xE8, 0xC4, 0x58, 0xFF))
    c.paint(rounded_rect(3, 3, 29, 29, 6), vertical((0x44, 0x78, 0xD8), (0x1C, 0x3A, 0x88), 3, 29))
    up = union(segment(16, 25, 16, 13, 6), polygon([(16, 5), (26, 17), (6, 17)]))
    c.paint(turned(up, 16, 16, math.pi * ARROW_TURNS[direction]), (0xFF, 0xFF, 0xFF, 0xFF))
    return c.png()


def flat(colour):
    return lambda x, y: colour + (0xFF,)


def check_box(inside):
    def pixel(x, y):
        if x < 2 or x >= 14 or y < 2 or y >= 14:
            return (0xE0, 0xE0, 0xE0, 0xFF)
        return inside
    return pixel


def tooltip(x, y):
    if x < 1 or x >= 31 or y < 1 or y >= 31:
        return (0x40, 0x38, 0x20, 0xFF)
    return (0xFF, 0xF4, 0xB0, 0xFF)


ARROW_COLOUR = (0xFF, 0xD0, 0x20, 0xFF)


def tut_arrow(x, y):
    cy = 15.5
    if x < 40:
        return ARROW_COLOUR if abs(y - cy) <= 4 else (0, 0, 0, 0)
    half = 16 * (63 - x) / 23.0
    return ARROW_COLOUR if abs(y - cy) <= half else (0, 0, 0, 0)


def tut_page(x, y):
    if x < 2 or x >= 62 or y < 2 or y >= 62:
        return (0x70, 0x48, 0x20, 0xFF)
    return (0xF0, 0xE8, 0xC8, 0xFF)


METER_FRAMES = 5
METER_LIT = (0xFF, 0xB0, 0x20, 0xFF)
METER_DARK = (0x40, 0x34, 0x28, 0xFF)


def meter(x, y):
    """Frame x // 64 of the level meter: that many of its four lamps lit."""
    frame, fx = divmod(x, 64)
    if fx == 0 or y == 0 or fx == 63 or y == 15:
        return (0xA0, 0xA0, 0xB0, 0xFF)
    lamp, lx = divmod(fx - 3, 15)
    if 0 <= lamp < 4 and lx < 13 and 3 <= y <= 12:
        return METER_LIT if lamp < frame else METER_DARK
    return (0x18, 0x18, 0x20, 0xFF)


FOLD_DEPTHS = (0, 6, 12, 18)


def page_fold(x, y):
    """Frame x // 64 of the tutorial page: its lower right corner folded over by that depth."""
    frame, fx = divmod(x, 64)
    depth = FOLD_DEPTHS[frame]
    # Distance into the corner along the diagonal: beyond the fold line the page is gone, just
    # inside it the folded-over back shows.
    into = (fx - (64 - depth)) + (y - (64 - depth))
    if depth and into > depth:
        return (0, 0, 0, 0)
    if depth and into > 0 and fx >= 64 - depth and y >= 64 - depth:
        return (0xC8, 0xB8, 0x90, 0xFF)
    return tut_page(fx, y)


def animation_list(comment, folder, texture, animations):
    lines = [f'<!-- {comment} (written by tools/make_gui_pictures.py). -->', '<ANIMATIONS>', '\t<TEXTURES>',
             f'\t\t<TEXTUR2D NAME="{texture[:-4]}">', f'\t\t\t<FILE FILENAME="{folder}\\{texture}"/>',
             '\t\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>', '\t\t</TEXTUR2D>', '\t</TEXTURES>']
    for name, attributes, frames, columns in animations:
        lines.append(f'\t<ANIMATION_2D NAME="{name}" {attributes}>')
        lines.append(f'\t\t<FRAMES TEXTUR="{texture[:-4]}">')
        lines.append(f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="{frames}" SPALTEN="{columns}"/>')
        lines.append('\t\t</FRAMES>')
        lines.append('\t</ANIMATION_2D>')
    lines.append('</ANIMATIONS>')
    return "\r\n".join(lines) + "\r\n"


def texture_list(names, folder):
    lines = ['<!-- The GUI\'s own pictures (written by tools/make_gui_pictures.py). -->', '<TEXTURES>']
    for name in names:
        lines.append(f'\t<TEXTUR2D NAME="{name[:-4]}">')
        lines.append(f'\t\t<FILE FILENAME="{folder}\\{name}"/>')
        lines.append('\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>')
        lines.append('\t</TEXTUR2D>')
    lines.append('</TEXTURES>')
    return "\r\n".join(lines) + "\r\n"


def main():
    args = command_line.arguments(__doc__, 2)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "GUI")
    tutorial_out = args[1] if len(args) > 1 else os.path.join(here, "..", "tests", "engine", "gui", "data")
    os.makedirs(out, exist_ok=True)
    os.makedirs(tutorial_out, exist_ok=True)
    pictures = {"gui_white.png": png_bytes(16, 16, white)}
    for name, colour in BUTTON_COLOURS.items():
        pictures[name] = png_bytes(64, 32, button(colour))
    pictures["gui_frame.png"] = png_bytes(64, 64, frame)
    pictures["gui_label.png"] = png_bytes(64, 16, label)
    pictures["gui_disc_shape.png"] = png_bytes(64, 64, disc_shape)
    pictures["gui_slider_track.png"] = png_bytes(64, 16, rimmed(64, 16, (0xA0, 0xA0, 0xB0, 0xFF), (0x20, 0x20, 0x28, 0xFF)))
    pictures["gui_slider_knob.png"] = png_bytes(16, 24, knob)
    pictures["gui_progress_back.png"] = png_bytes(64, 16, rimmed(64, 16, (0xA0, 0xA0, 0xB0, 0xFF), (0x18, 0x18, 0x20, 0xFF)))
    pictures["gui_progress_fill.png"] = png_bytes(64, 16, progress_fill)
    pictures["gui_scroll_track.png"] = png_bytes(16, 64, rimmed(16, 64, (0x70, 0x70, 0x80, 0xFF), (0x28, 0x28, 0x30, 0xFF)))
    pictures["gui_scroll_thumb.png"] = png_bytes(16, 32, thumb)
    for direction in ("up", "down", "left", "right"):
        pictures[f"gui_arrow_{direction}.png"] = arrow(direction)
    pictures["gui_check_off.png"] = png_bytes(16, 16, check_box((0x30, 0x30, 0x30, 0xFF)))
    pictures["gui_check_on.png"] = png_bytes(16, 16, check_box((0x20, 0xC0, 0x40, 0xFF)))
    pictures["gui_check_mark.png"] = png_bytes(16, 16, check_box((0, 0, 0, 0)))
    pictures["gui_frame_corner.png"] = png_bytes(16, 16, flat((0xD0, 0xA0, 0x20)))
    pictures["gui_frame_edge.png"] = png_bytes(16, 16, flat((0x80, 0x60, 0x40)))
    pictures["gui_frame_fill.png"] = png_bytes(16, 16, flat((0x20, 0x30, 0x40)))
    pictures["gui_tooltip.png"] = png_bytes(32, 32, tooltip)
    for name, data in pictures.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    with open(os.path.join(out, "gui_textures.tex"), "wb") as f:
        f.write(texture_list(list(pictures), "data\\GUI").encode("ascii"))
    tutorial = {"tut_pfeil.png": png_bytes(64, 32, tut_arrow), "tut_seite.png": png_bytes(64, 64, tut_page)}
    for name, data in tutorial.items():
        with open(os.path.join(tutorial_out, name), "wb") as f:
            f.write(data)
    with open(os.path.join(tutorial_out, "tut_textures.tex"), "wb") as f:
        f.write(texture_list(list(tutorial), "tests\\engine\\gui\\data").encode("ascii"))
    demo = "tests\\engine\\gui\\data"
    with open(os.path.join(tutorial_out, "gui_anzeige.png"), "wb") as f:
        f.write(png_bytes(64 * METER_FRAMES, 16, meter))
    with open(os.path.join(tutorial_out, "gui_animationen.ani"), "wb") as f:
        f.write(animation_list("The GUI's frame animations", demo, "gui_anzeige.png",
                               [("gui_anzeige", 'PLAY="0" PLAY_TYPE="ONCE"', METER_FRAMES, METER_FRAMES)])
                .encode("ascii"))
    with open(os.path.join(tutorial_out, "tut_seite_ecke.png"), "wb") as f:
        f.write(png_bytes(64 * len(FOLD_DEPTHS), 64, page_fold))
    with open(os.path.join(tutorial_out, "tut_animationen.ani"), "wb") as f:
        f.write(animation_list("The tutorial pages' frame animations", demo, "tut_seite_ecke.png",
                               [("tut_seite_ecke", 'ANIMSPEED="4" PLAY="1" PLAY_TYPE="FORWARD_BACKWARD"',
                                 len(FOLD_DEPTHS), len(FOLD_DEPTHS))]).encode("ascii"))


if __name__ == "__main__":
    main()
