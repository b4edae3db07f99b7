#!/usr/bin/env python3
"""Writes the game's menu pictures, their texture lists and the cursor animations into data/Menu/.

Every picture is drawn here from simple shapes (rounded rectangles, circles, arcs, polygons,
each edge smoothed by its distance to the pixel centre), so the data carries nothing taken from
elsewhere; the PNG writer is the test pictures' (make_test_pictures.py). The output is the same
on every run.

Pictures and the names the lists give them:
  rects.png          1024x512 "RECTS": nine-slice frames in 100x100 cells, one 90x90 frame (three
                     by three 30-pixel pieces) at each cell's top-left corner. Rows are frame
                     styles (0 rounded corners, 1 square corners, 2 wide round corners); each row
                     holds three layers of three frames: columns 0-2 bodies (a dark panel with a
                     light rim, a paper panel with a brown rim, a plain white shape), columns 3-5
                     light on the body (an inner glow, an inner line, an inset white shape),
                     columns 6-8 edges (a 2-pixel outline, an inner shade, a 6-pixel border).
                     The white pictures take their colour from the drawing colour. The nine
                     pieces of the dark panel (style 0, column 0) are also named "PANEL_TL",
                     "PANEL_T", "PANEL_TR", "PANEL_L", "PANEL_C", "PANEL_R", "PANEL_BL",
                     "PANEL_B", "PANEL_BR" for the screens' nine-part frames.
  hintergrund.png    512x512 "R_HINTERGRUND": green baize, lighter in the middle, a fine weave
  rand_links.png     256x512 "R_LEFT": dark wood with a gold trim along its right edge, and
  rand_rechts.png, rand_oben.png, rand_unten.png ("R_RIGHT", "R_TOP", "R_BOTTOM") the same
                     turned so the trim faces the middle of the screen
  karten.png         512x256 "SM_KARTEN": four cards (spades, hearts, clubs, diamonds) fanned
  knoepfe.png        512x512 "KNOEPFE": rounded buttons, parts "KNOPF_N", "KNOPF_M", "KNOPF_P",
                     "KNOPF_D" (320x52: normal, pointed at, pressed, disabled) and "KNOPF_KLEIN_N"
                     .. "KNOPF_KLEIN_D" (180x52)
  balken.png         512x64 the loading bar: parts "LS_GRUND" (a dark rimmed groove, 512x32) and
                     "LS_FUELLUNG" (its gold filling, 512x32)
  dot.png            32x32 "DOT": a white dot with a soft edge
  mouse_zeiger.png   256x256 the four pointers, one row each, four frames from resting to pressed:
                     white, gold, red, and a small plain one like the system's
  mouse_pfeile.png   1024x512 nine yellow arrows, eight frames each (two animations a row, 64x64
                     frames), pointing to the top left, top, top right, left, every way, right,
                     bottom left, bottom, bottom right, nudging that way and back
  mouse_goetter.png  256x64 the four power pointers on round badges: an eye (uncover), a turning
                     back arrow (undo), two chasing arrows (shuffle), a cross (remove)
Lists: rects.tex, menu.tex (backdrop, borders, cards, buttons, loading bar), dot.tex, and
mouse.ani ("PFEIL_LT" .. "PFEIL_RB", "MOUSE_CURSOR1" .. "MOUSE_CURSOR4" played once forward
while a button is held and backward after, "MOUSE_GOD0" .. "MOUSE_GOD3" single frames).

Usage: tools/make_menu_pictures.py [output folder]   (default: data/Menu in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

from make_test_pictures import png_bytes

FOLDER = "data\\Menu"  # where the lists say the pictures lie


# ---- drawing: straight-alpha RGBA floats, shapes as signed distances (negative inside) ----

class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def paint(self, sdf, colour, box=None, alpha=1.0):
        """Lays colour (r, g, b, a as 0..255, or a function of x, y giving one) over the shape,
        its edge smoothed over one pixel; box (x0, y0, x1, y1) limits the pixels visited."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        for y in range(y0, y1):
            row = y * self.w
            for x in range(x0, x1):
                cover = 0.5 - sdf(x + 0.5, y + 0.5)
                if cover <= 0.0:
                    continue
                c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                a = min(cover, 1.0) * alpha * c[3] / 255.0
                if a <= 0.0:
                    continue
                d = self.px[row + x]
                out = a + d[3] * (1.0 - a)
                keep = d[3] * (1.0 - a)
                for i in range(3):
                    d[i] = (c[i] / 255.0 * a + d[i] * keep) / out
                d[3] = out

    def png(self):
        def pixel(x, y):
            p = self.px[y * self.w + x]
            if p[3] <= 0.0:
                return (0, 0, 0, 0)
            return tuple(int(round(min(max(v, 0.0), 1.0) * 255)) for v in p)
        return png_bytes(self.w, self.h, pixel)


def rounded_rect(left, top, right, bottom, radius):
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hw, hh = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius

    def sdf(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return sdf


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sdf(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2.0
    return sdf


def arc(cx, cy, radius, width, start, end):
    """A ring piece from angle start to end (radians, counted clockwise on screen from +x)."""
    ends = [(cx + radius * math.cos(a), cy + radius * math.sin(a)) for a in (start, end)]
    span = (end - start) % (2 * math.pi)

    def sdf(x, y):
        a = (math.atan2(y - cy, x - cx) - start) % (2 * math.pi)
        if a <= span:
            return abs(math.hypot(x - cx, y - cy) - radius) - width / 2.0
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - width / 2.0
    return sdf


def polygon(points):
    n = len(points)

    def sdf(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
            if (ay > y) != (by > y) and x < ax + (y - ay) * dx / (by - ay):
                inside = not inside
        return -best if inside else best
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def grown(shape, by):
    return lambda x, y: shape(x, y) - by


def band(shape, inner, outer=0.0):
    """The part of a shape between `outer` and `inner` pixels inside its edge."""
    return lambda x, y: max(shape(x, y) + outer, -(shape(x, y) + inner))


def turned(shape, cx, cy, angle):
    """The shape turned by angle (radians) about (cx, cy)."""
    c, s = math.cos(angle), math.sin(angle)

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        return shape(cx + dx * c + dy * s, cy - dx * s + dy * c)
    return sdf


def moved(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


def vertical(top, bottom, y0, y1):
    """A colour running from top at y0 to bottom at y1."""
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3)) + (255,)
    return colour


def noise(x, y, seed):
    """A repeatable value in [-1, 1) for a pixel."""
    n = (int(x) * 73856093) ^ (int(y) * 19349663) ^ (seed * 83492791)
    n = (n ^ (n >> 13)) * 1274126177 & 0xFFFFFFFF
    return ((n ^ (n >> 16)) & 0xFFFF) / 32768.0 - 1.0


# ---- the nine-slice frames ----

CELL = 100
FRAME = 90
RADII = (14, 3, 26)  # corner radius per style row


def frame_picture(canvas, row, column):
    ox, oy = column * CELL, row * CELL
    box = (ox, oy, ox + FRAME, oy + FRAME)
    shape = rounded_rect(ox, oy, ox + FRAME, oy + FRAME, RADII[row])

    def inside_fade(strength, start, length):
        def colour(x, y):
            depth = -shape(x, y)
            return (255, 255, 255, 255 * strength * max(0.0, min(1.0, 1.0 - (depth - start) / length)))
        return colour

    if column == 0:
        canvas.paint(shape, (0x1C, 0x28, 0x3A, 255), box)
        canvas.paint(band(shape, 2.5), (0xC0, 0xCC, 0xDC, 255), box)
    elif column == 1:
        canvas.paint(shape, (0xEE, 0xE2, 0xC0, 255), box)
        canvas.paint(band(shape, 3.0), (0x6E, 0x4A, 0x28, 255), box)
    elif column == 2:
        canvas.paint(shape, (255, 255, 255, 255), box)
    elif column == 3:
        canvas.paint(shape, inside_fade(0.55, 2.0, 12.0), box)
    elif column == 4:
        canvas.paint(band(shape, 6.75, 5.25), (255, 255, 255, 255), box)
    elif column == 5:
        canvas.paint(grown(shape, -4.0), (255, 255, 255, 255), box)
    elif column == 6:
        canvas.paint(band(shape, 2.0), (255, 255, 255, 255), box)
    elif column == 7:
        canvas.paint(shape, inside_fade(0.8, 0.0, 14.0), box)
    else:
        canvas.paint(band(shape, 6.0), (255, 255, 255, 255), box)


def rects_picture():
    canvas = Canvas(1024, 512)
    for row in range(len(RADII)):
        for column in range(9):
            frame_picture(canvas, row, column)
    return canvas.png()


PANEL_PIECES = ("TL", "T", "TR", "L", "C", "R", "BL", "B", "BR")


# ---- the menu backdrop, the borders, the cards ----

def baize(x, y):
    r = math.hypot((x - 256) / 256.0, (y - 256) / 256.0)
    t = min(1.0, r / 1.25) ** 1.6
    weave = 3.0 * noise(x, y, 1) + 2.0 * math.sin(x * 1.7) * math.sin(y * 1.7)
    centre, edge = (0x2E, 0x7A, 0x46), (0x0E, 0x36, 0x20)
    return tuple(int(max(0, min(255, centre[i] + (edge[i] - centre[i]) * t + weave))) for i in range(3)) + (255,)


def wood(along, across):
    """Dark wood: grain along `along`, a gold trim near across = 1 (0 is the outer edge)."""
    trim_from, trim_to = 0.93, 0.965
    if across >= trim_to:
        shade = 0.35 + 0.4 * (1.0 - across) / (1.0 - trim_to)
        return (int(0x30 * shade), int(0x20 * shade), int(0x10 * shade), 255)
    if across >= trim_from:
        t = (across - trim_from) / (trim_to - trim_from)
        light = 1.0 - abs(t - 0.35) * 1.4
        return (int(0xA0 + 0x5F * light), int(0x78 + 0x5A * light), int(0x28 + 0x40 * light), 255)
    grain = math.sin(across * 90.0 + math.sin(along * 0.031) * 2.5 + noise(0, int(across * 400), 3))
    v = 0.82 + 0.1 * grain + 0.04 * noise(int(along), int(across * 400), 2)
    return (int(0x4A * v), int(0x2C * v), int(0x16 * v), 255)


def border_pictures():
    """R_LEFT, R_RIGHT, R_TOP, R_BOTTOM, each with its trim towards the middle of the screen."""
    tall, wide = (256, 512), (512, 256)
    return {
        "rand_links.png": png_bytes(*tall, lambda x, y: wood(y, (x + 0.5) / tall[0])),
        "rand_rechts.png": png_bytes(*tall, lambda x, y: wood(y, 1.0 - (x + 0.5) / tall[0])),
        "rand_oben.png": png_bytes(*wide, lambda x, y: wood(x, (y + 0.5) / wide[1])),
        "rand_unten.png": png_bytes(*wide, lambda x, y: wood(x, 1.0 - (y + 0.5) / wide[1])),
    }


def heart(cx, cy, size, upside_down=False):
    s = -1.0 if upside_down else 1.0
    lobes = [circle(cx - 0.25 * size, cy - s * 0.12 * size, 0.27 * size),
             circle(cx + 0.25 * size, cy - s * 0.12 * size, 0.27 * size)]
    point = polygon([(cx - 0.5 * size, cy - s * 0.02 * size), (cx + 0.5 * size, cy - s * 0.02 * size),
                     (cx, cy + s * 0.55 * size)])
    return union(*lobes, point)


def suit_shape(suit, cx, cy, size):
    if suit == "heart":
        return heart(cx, cy, size)
    if suit == "diamond":
        return polygon([(cx, cy - 0.55 * size), (cx + 0.4 * size, cy), (cx, cy + 0.55 * size),
                        (cx - 0.4 * size, cy)])
    stem = polygon([(cx, cy + 0.05 * size), (cx + 0.22 * size, cy + 0.6 * size), (cx - 0.22 * size, cy + 0.6 * size)])
    if suit == "spade":
        return union(heart(cx, cy - 0.05 * size, size, upside_down=True), stem)
    leaves = [circle(cx, cy - 0.28 * size, 0.22 * size), circle(cx - 0.26 * size, cy + 0.08 * size, 0.22 * size),
              circle(cx + 0.26 * size, cy + 0.08 * size, 0.22 * size), circle(cx, cy, 0.12 * size)]
    return union(*leaves, stem)


SUIT_COLOURS = {"spade": (0x18, 0x18, 0x20, 255), "club": (0x18, 0x18, 0x20, 255),
                "heart": (0xC8, 0x18, 0x20, 255), "diamond": (0xC8, 0x18, 0x20, 255)}


def cards_picture():
    canvas = Canvas(512, 256)
    card_w, card_h = 112, 156
    pivot = (256.0, 420.0)
    for i, (suit, angle) in enumerate((("spade", -27), ("heart", -9), ("club", 9), ("diamond", 27))):
        a = math.radians(angle)
        cx, cy = 256.0, 118.0  # card centre before turning about the pivot
        dx, dy = cx - pivot[0], cy - pivot[1]
        mx = pivot[0] + dx * math.cos(a) - dy * math.sin(a)
        my = pivot[1] + dx * math.sin(a) + dy * math.cos(a)

        def on_card(shape):
            return turned(moved(shape, mx - cx, my - cy), mx, my, a)
        box = (mx - 110, my - 110, mx + 110, my + 110)
        body = rounded_rect(cx - card_w / 2, cy - card_h / 2, cx + card_w / 2, cy + card_h / 2, 10)
        canvas.paint(grown(on_card(moved(body, 4, 5)), 2.0), (0, 0, 0, 70), box)
        canvas.paint(on_card(body), (0xFA, 0xF8, 0xF0, 255), box)
        canvas.paint(on_card(band(body, 1.5)), (0x9A, 0x96, 0x8C, 255), box)
        canvas.paint(on_card(band(grown(body, -6.0), 1.2)), (0xD8, 0xC8, 0xA0, 255), box)
        colour = SUIT_COLOURS[suit]
        for shape in (suit_shape(suit, cx, cy + 4, 56), suit_shape(suit, cx - 38, cy - 52, 20),
                      turned(suit_shape(suit, cx + 38, cy + 52, 20), cx + 38, cy + 52, math.pi)):
            canvas.paint(on_card(shape), colour, box)
    return canvas.png()


# ---- buttons and the loading bar ----

BUTTON_STYLES = {  # top colour, bottom colour, rim
    "N": ((0x2C, 0x60, 0x92), (0x14, 0x32, 0x56), (0xB8, 0xD0, 0xE8)),
    "M": ((0xF4, 0xC8, 0x52), (0xC2, 0x86, 0x18), (0xFF, 0xF2, 0xC4)),
    "P": ((0x10, 0x28, 0x46), (0x22, 0x4C, 0x78), (0x90, 0xA8, 0xC8)),
    "D": ((0x6C, 0x70, 0x76), (0x48, 0x4C, 0x52), (0x9A, 0x9E, 0xA4)),
}
BUTTON_H = 52
BUTTON_ROWS = "NMPD"
BIG_W, SMALL_W = 320, 180


def button(canvas, left, top, width, style):
    top_colour, bottom_colour, rim = BUTTON_STYLES[style]
    shape = rounded_rect(left + 1, top + 1, left + width - 1, top + BUTTON_H - 1, 14)
    box = (left, top, left + width, top + BUTTON_H)
    canvas.paint(shape, vertical(top_colour, bottom_colour, top + 2, top + BUTTON_H - 2), box)
    sheen = rounded_rect(left + 5, top + 4, left + width - 5, top + BUTTON_H * 0.48, 10)
    canvas.paint(sheen, (255, 255, 255, 34), box)
    canvas.paint(band(shape, 2.0), rim + (255,), box)


def button_sheet():
    canvas = Canvas(512, 512)
    for i, style in enumerate(BUTTON_ROWS):
        button(canvas, 0, i * 64, BIG_W, style)
        button(canvas, 0, 256 + i * 64, SMALL_W, style)
    return canvas.png()


def bar_picture():
    canvas = Canvas(512, 64)
    groove = rounded_rect(1, 1, 511, 31, 14)
    canvas.paint(groove, (0x0C, 0x16, 0x10, 225))
    canvas.paint(band(groove, 2.0), (0xC8, 0xB0, 0x70, 255))
    filling = rounded_rect(5, 37, 507, 59, 10)
    canvas.paint(filling, vertical((0xFF, 0xE2, 0x84), (0xBC, 0x84, 0x1E), 37, 59))
    canvas.paint(rounded_rect(9, 39, 503, 47, 4), (255, 255, 255, 60))
    return canvas.png()


def dot(x, y):
    r = math.hypot(x + 0.5 - 16, y + 0.5 - 16)
    return (255, 255, 255, int(round(255 * max(0.0, min(1.0, (14.0 - r) / 4.0)))))


# ---- pointers ----

POINTER = [(0, 0), (0, 36), (9, 28), (15, 42), (22, 39), (16, 26), (27, 26)]
POINTER_FRAMES = 4
POINTERS = [  # fill at rest, fill pressed, outline, scale
    ((0xFF, 0xFF, 0xFF), (0xC4, 0xD8, 0xFF), (0x10, 0x10, 0x10), 1.0),
    ((0xFF, 0xD8, 0x50), (0xD8, 0x98, 0x1C), (0x4A, 0x2C, 0x08), 1.0),
    ((0xE0, 0x30, 0x38), (0xA0, 0x10, 0x18), (0xFF, 0xFF, 0xFF), 1.0),
    ((0xFF, 0xFF, 0xFF), (0xE0, 0xE0, 0xE0), (0x00, 0x00, 0x00), 0.72),
]


def pointer_sheet():
    canvas = Canvas(256, 256)
    for row, (rest, pressed, outline, scale) in enumerate(POINTERS):
        for frame in range(POINTER_FRAMES):
            press = frame / (POINTER_FRAMES - 1.0)
            s = scale * (1.0 - 0.14 * press)
            ox, oy = frame * 64 + 3, row * 64 + 3
            shape = polygon([(ox + px * s, oy + py * s) for px, py in POINTER])
            fill = tuple(rest[i] + (pressed[i] - rest[i]) * press for i in range(3))
            box = (frame * 64, row * 64, frame * 64 + 64, row * 64 + 64)
            canvas.paint(grown(shape, 2.0), outline + (255,), box)
            canvas.paint(shape, vertical(fill, tuple(v * 0.82 for v in fill), oy, oy + 42 * s), box)
    return canvas.png()


ARROWS = ["LT", "CT", "RT", "LC", "CC", "RC", "LB", "CB", "RB"]
ARROW_FRAMES = 8
ARROW_FILL = (0xFF, 0xD8, 0x30, 255)
ARROW_EDGE = (0x48, 0x2C, 0x00, 255)


def arrow_shape(cx, cy, angle, length=1.0):
    """An arrow pointing along angle: shaft behind the centre, head in front."""
    shape = polygon([(-18 * length, -5), (4, -5), (4, -13), (22, 0), (4, 13), (4, 5), (-18 * length, 5)])
    return turned(moved(shape, cx, cy), cx, cy, -angle)


def arrow_sheet():
    canvas = Canvas(1024, 512)
    for index, name in enumerate(ARROWS):
        dx = {"L": -1, "C": 0, "R": 1}[name[0]]
        dy = {"T": -1, "C": 0, "B": 1}[name[1]]
        for frame in range(ARROW_FRAMES):
            phase = math.sin(2 * math.pi * frame / ARROW_FRAMES)
            left, top = (index % 2) * 512 + frame * 64, (index // 2) * 64
            box = (left, top, left + 64, top + 64)
            cx, cy = left + 32.0, top + 32.0
            if dx == 0 and dy == 0:
                reach = 1.0 + 0.08 * phase
                parts = [segment(cx - 16 * reach, cy, cx + 16 * reach, cy, 6.0),
                         segment(cx, cy - 16 * reach, cx, cy + 16 * reach, 6.0)]
                for a in (0.0, math.pi / 2, math.pi, 3 * math.pi / 2):
                    ux, uy = math.cos(a), math.sin(a)
                    parts.append(polygon([(cx + 26 * reach * ux, cy + 26 * reach * uy),
                                          (cx + 14 * reach * ux - 9 * uy, cy + 14 * reach * uy + 9 * ux),
                                          (cx + 14 * reach * ux + 9 * uy, cy + 14 * reach * uy - 9 * ux)]))
                shape = union(*parts)
            else:
                norm = math.hypot(dx, dy)
                shift = 4.0 * phase
                shape = arrow_shape(cx + dx / norm * shift, cy + dy / norm * shift, math.atan2(-dy, dx), 0.7)
            canvas.paint(grown(shape, 2.0), ARROW_EDGE, box)
            canvas.paint(shape, ARROW_FILL, box)
    return canvas.png()


def god_sheet():
    canvas = Canvas(256, 64)
    for god in range(4):
        cx, cy = god * 64 + 32.0, 32.0
        box = (god * 64, 0, god * 64 + 64, 64)
        canvas.paint(circle(cx, cy, 29.0), (0x14, 0x1C, 0x30, 220), box)
        canvas.paint(arc(cx, cy, 28.0, 2.5, 0.0, 2 * math.pi - 1e-6), (0xE8, 0xD8, 0xA0, 255), box)
        if god == 0:  # uncover: an eye
            lower, upper = circle(cx, cy + 14, 22), circle(cx, cy - 14, 22)

            def lid(x, y):
                return max(lower(x, y), upper(x, y))
            canvas.paint(grown(lid, 1.5), (0x10, 0x10, 0x10, 255), box)
            canvas.paint(lid, (0xFA, 0xFA, 0xF4, 255), box)
            canvas.paint(circle(cx, cy, 7.5), (0x30, 0x80, 0xD0, 255), box)
            canvas.paint(circle(cx, cy, 3.5), (0x08, 0x08, 0x10, 255), box)
            canvas.paint(circle(cx + 2.5, cy - 2.5, 1.6), (255, 255, 255, 255), box)
        elif god == 1:  # undo: an arrow turning back
            green = (0x50, 0xD0, 0x70, 255)
            canvas.paint(arc(cx + 2, cy + 3, 13.0, 6.0, math.radians(200), math.radians(80)), green, box)
            head = polygon([(cx - 20, cy - 2), (cx - 4, cy - 2), (cx - 12, cy + 9)])
            canvas.paint(turned(head, cx - 12, cy + 1, math.radians(-15)), green, box)
        elif god == 2:  # shuffle: two arrows chasing round
            orange = (0xFF, 0xA0, 0x30, 255)
            for start in (math.radians(20), math.radians(200)):
                canvas.paint(arc(cx, cy, 14.0, 5.0, start, start + math.radians(120)), orange, box)
                tip = start + math.radians(138)
                tx, ty = cx + 14 * math.cos(tip), cy + 14 * math.sin(tip)
                back = tip - math.radians(22)
                bx, by = cx + 14 * math.cos(back), cy + 14 * math.sin(back)
                nx, ny = math.cos(back), math.sin(back)
                canvas.paint(polygon([(tx, ty), (bx + nx * 7, by + ny * 7), (bx - nx * 7, by - ny * 7)]), orange, box)
        else:  # remove: a cross
            cross = union(segment(cx - 12, cy - 12, cx + 12, cy + 12, 7.0), segment(cx - 12, cy + 12, cx + 12, cy - 12, 7.0))
            canvas.paint(grown(cross, 2.0), (0x30, 0x04, 0x04, 255), box)
            canvas.paint(cross, (0xE8, 0x30, 0x30, 255), box)
    return canvas.png()


# ---- lists ----

HEADER = "<!-- {} (written by tools/make_menu_pictures.py). -->"


def texture(name, picture, extra=()):
    lines = [f'\t<TEXTUR2D NAME="{name}">', f'\t\t<FILE FILENAME="{FOLDER}\\{picture}"/>',
             '\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>']
    lines += [f'\t\t{line}' for line in extra]
    lines.append('\t</TEXTUR2D>')
    return lines


def part(name, left, top, width, height):
    return f'<TEX_PART NAME="{name}"><TEX_RECT L="{left}" T="{top}" W="{width}" H="{height}"/></TEX_PART>'


def text_file(lines):
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def rects_list():
    pieces = [part(f"PANEL_{piece}", (i % 3) * 30, (i // 3) * 30, 30, 30) for i, piece in enumerate(PANEL_PIECES)]
    return text_file([HEADER.format("The frame texture of the game's panels"), "<TEXTURES>"] +
                     texture("RECTS", "rects.png", pieces) + ["</TEXTURES>"])


def menu_list():
    buttons = []
    for i, style in enumerate(BUTTON_ROWS):
        buttons.append(part(f"KNOPF_{style}", 0, i * 64, BIG_W, BUTTON_H))
        buttons.append(part(f"KNOPF_KLEIN_{style}", 0, 256 + i * 64, SMALL_W, BUTTON_H))
    lines = [HEADER.format("The menus' pictures"), "<TEXTURES>"]
    lines += texture("R_HINTERGRUND", "hintergrund.png")
    for name, picture in (("R_LEFT", "rand_links.png"), ("R_RIGHT", "rand_rechts.png"), ("R_TOP", "rand_oben.png"),
                          ("R_BOTTOM", "rand_unten.png")):
        lines += texture(name, picture)
    lines += texture("SM_KARTEN", "karten.png")
    lines += texture("KNOEPFE", "knoepfe.png", buttons)
    lines += texture("BALKEN", "balken.png", [part("LS_GRUND", 0, 0, 512, 32), part("LS_FUELLUNG", 0, 32, 512, 32)])
    return text_file(lines + ["</TEXTURES>"])


def dot_list():
    return text_file([HEADER.format("The dot picture"), "<TEXTURES>"] + texture("DOT", "dot.png") + ["</TEXTURES>"])


def animation(name, texture_name, left, top, frames, speed, extra=""):
    return [f'\t<ANIMATION_2D NAME="{name}" ANIMSPEED="{speed}" PLAY="1"{extra}>',
            f'\t\t<FRAMES TEXTUR="{texture_name}">',
            f'\t\t\t<FRAME_PARAMS ANZ_FRAMES="{frames}" SPALTEN="{frames}" '
            f'RECT_START="{left} {top} {left + 64} {top + 64}"/>',
            '\t\t</FRAMES>', '\t</ANIMATION_2D>']


def mouse_list():
    lines = [HEADER.format("The pointers and arrows"), "<ANIMATIONS>", "\t<TEXTURES>"]
    for name, picture in (("MOUSE_ZEIGER", "mouse_zeiger.png"), ("MOUSE_PFEILE", "mouse_pfeile.png"),
                          ("MOUSE_GOETTER", "mouse_goetter.png")):
        lines += ["\t" + line for line in texture(name, picture)]
    lines.append("\t</TEXTURES>")
    for index, name in enumerate(ARROWS):
        lines += animation(f"PFEIL_{name}", "MOUSE_PFEILE", (index % 2) * 512, (index // 2) * 64, ARROW_FRAMES, 10)
    for row in range(len(POINTERS)):
        lines += animation(f"MOUSE_CURSOR{row + 1}", "MOUSE_ZEIGER", 0, row * 64, POINTER_FRAMES, 24,
                           ' PLAY_TYPE="ONCE"')
    for god in range(4):
        lines += animation(f"MOUSE_GOD{god}", "MOUSE_GOETTER", god * 64, 0, 1, 1)
    return text_file(lines + ["</ANIMATIONS>"])


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    out = args[0] if args else os.path.join(here, "..", "data", "Menu")
    os.makedirs(out, exist_ok=True)
    files = {
        "rects.png": rects_picture(),
        "hintergrund.png": png_bytes(512, 512, baize),
        "karten.png": cards_picture(),
        "knoepfe.png": button_sheet(),
        "balken.png": bar_picture(),
        "dot.png": png_bytes(32, 32, dot),
        "mouse_zeiger.png": pointer_sheet(),
        "mouse_pfeile.png": arrow_sheet(),
        "mouse_goetter.png": god_sheet(),
        "rects.tex": rects_list(),
        "menu.tex": menu_list(),
        "dot.tex": dot_list(),
        "mouse.ani": mouse_list(),
    }
    files.update(border_pictures())
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
