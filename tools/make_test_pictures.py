#!/usr/bin/env python3
"""Writes the engine's own test pictures and their texture list into
tests/engine/render/data/Textures/.

Every picture is drawn here from simple shapes (checkers, ramps, a disc, card-like tiles), so
the data carries nothing taken from elsewhere. PNG is written with zlib alone; the output is the
same on every run, so regenerating does not change committed files.

Pictures:
  checker.png     64x64 RGBA, 8x8 blocks of dark and light grey
  ramp.png        128x32 RGB (no alpha channel), red rising left to right, blue top to bottom
  disc.png        64x64 RGBA, an opaque orange disc of radius 24 on a transparent ground
  tiles.png       256x128 RGBA, eight 64x64 tiles (two rows of four) in distinct colours with a
                  white 2-pixel border and transparent 4x4 corners
textures.tex: a texture list ("TEXTUR2D" elements) naming each picture, with the eight tiles
as "TEX_PART"s of "tiles" (shared) and one copied ("CUT") part.

Usage: tools/make_test_pictures.py [output folder]
       (default: tests/engine/render/data/Textures in this repo)
"""
import os
import struct
import sys
import zlib
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

TILE_COLOURS = [
    (0xC0, 0x30, 0x30), (0x30, 0xA0, 0x40), (0x30, 0x50, 0xC0), (0xD0, 0xB0, 0x20),
    (0x90, 0x30, 0xA0), (0x20, 0xA0, 0xA0), (0xE0, 0x70, 0x20), (0x60, 0x60, 0x60),
]


def png_bytes(width, height, pixel, alpha=True):
    """PNG of pixel(x, y) -> (r, g, b, a); colour type 6 with alpha, else 2."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            r, g, b, a = pixel(x, y)
            rows.extend((r, g, b, a) if alpha else (r, g, b))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) +
            chunk(b"IEND", b""))


def write_files(folder, files):
    """Writes every name: bytes of files into the folder, made when missing."""
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


# Where the mini-game tests' own pictures lie.
MINIGAME_TEST_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "game", "minigames",
                                  "data")


def checker(x, y):
    v = 0x40 if (x // 8 + y // 8) % 2 == 0 else 0xC0
    return (v, v, v, 0xFF)


def ramp(x, y):
    return (x * 2, 0x80, y * 8, 0xFF)


def disc(x, y):
    dx, dy = x - 31.5, y - 31.5
    return (0xF0, 0x80, 0x10, 0xFF) if dx * dx + dy * dy <= 24 * 24 else (0, 0, 0, 0)


def tiles(x, y):
    tx, ty = x // 64, y // 64
    lx, ly = x % 64, y % 64
    if (lx < 4 or lx >= 60) and (ly < 4 or ly >= 60):
        return (0, 0, 0, 0)
    if lx < 2 or lx >= 62 or ly < 2 or ly >= 62:
        return (0xFF, 0xFF, 0xFF, 0xFF)
    r, g, b = TILE_COLOURS[ty * 4 + tx]
    return (r, g, b, 0xFF)


# Where the pictures lie, as the list names them (from the top of the source tree).
LIST_FOLDER = "tests\\engine\\render\\data\\Textures"


def texture_list():
    lines = ['<TEXTURES>']
    for name, extra in (("checker", ""), ("ramp", ""), ("disc", ' CLEAR_RGB="1"')):
        lines.append(f'\t<TEXTUR2D NAME="{name}"{extra}>')
        lines.append(f'\t\t<FILE FILENAME="{LIST_FOLDER}\\{name}.png"/>')
        lines.append('\t</TEXTUR2D>')
    lines.append('\t<TEXTUR2D NAME="tiles">')
    lines.append(f'\t\t<FILE FILENAME="{LIST_FOLDER}\\tiles.png"/>')
    lines.append('\t\t<FILE_INFO Format="A8R8G8B8" Pool="MANAGED"/>')
    for i in range(8):
        lines.append(f'\t\t<TEX_PART NAME="tile{i}"><TEX_RECT L="{(i % 4) * 64}" T="{(i // 4) * 64}" W="64" H="64"/>'
                     '</TEX_PART>')
    lines.append('\t\t<TEX_PART NAME="tile0_copy" CUT="1" L="0" T="0" W="64" H="64"/>')
    lines.append('\t</TEXTUR2D>')
    lines.append('</TEXTURES>')
    return "\r\n".join(lines) + "\r\n"


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "tests", "engine", "render", "data", "Textures")
    out = args[0] if args else default
    os.makedirs(out, exist_ok=True)
    pictures = {
        "checker.png": png_bytes(64, 64, checker),
        "ramp.png": png_bytes(128, 32, ramp, alpha=False),
        "disc.png": png_bytes(64, 64, disc),
        "tiles.png": png_bytes(256, 128, tiles),
    }
    for name, data in pictures.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    with open(os.path.join(out, "textures.tex"), "wb") as f:
        f.write(texture_list().encode("ascii"))


if __name__ == "__main__":
    main()
