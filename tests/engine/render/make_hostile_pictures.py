#!/usr/bin/env python3
"""Makes a folder of hostile pictures to start the game with, searched before the tree's data:

    tests/engine/render/make_hostile_pictures.py OUT CASE
    build-rel/game/app/solitaire -SEARCHPATH OUT -SEARCHPATH . -SEARCHPATH data

OUT receives data/GUI/menus.mnu (the tree's, naming one more GUI file), data/GUI/Hostile.gui
(naming data/GUI/hostile.tex, with a window drawing each texture over the start screen) and the
texture list with its pictures. CASE is one of
  uniform SIDE        one uniform SIDE x SIDE RGBA PNG under one texture name
                      (16384: 1.07 MB of file, 1 GB of pixels)
  names SIDE COUNT    one uniform SIDE x SIDE RGBA PNG under COUNT texture names
                      (8192 4: 0.28 MB named four times)
  files SIDE COUNT    COUNT such PNGs (files of their own), one texture name each
  texts COUNT         one 1 x 1 PNG with COUNT compressed text chunks of 8 MB each, under one
                      texture name (300: 2.3 MB of file)
  tail MIB COUNT      one 1 x 1 PNG whose pixel data inflates to MIB MiB, under COUNT texture
                      names with colour keys of their own (1024 16: 1 MB named 16 times)
Nothing here is shipped: the folder is made where asked, for measuring.
"""
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def uniform_png(side):
    """A side x side RGBA picture of one colour, deflated row by row."""
    row = b"\0" + b"\x30\x60\x90\xff" * side
    packer = zlib.compressobj(9)
    data = b"".join(packer.compress(row) for _ in range(side)) + packer.flush()
    header = struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def run_deflated(length, byte=0):
    """length bytes of one value, deflated without keeping them all in memory."""
    packer = zlib.compressobj(9)
    block = bytes([byte]) * (1 << 20)
    out = []
    while length > 0:
        out.append(packer.compress(block[:min(length, len(block))]))
        length -= len(block)
    out.append(packer.flush())
    return b"".join(out)


def texts_png(count):
    """A 1 x 1 RGBA picture behind count zTXt chunks, each inflating to 7,900,000 bytes (within libpng's 8,000,000 a chunk)."""
    text = chunk(b"zTXt", b"Comment\0\0" + run_deflated(7900000, ord("x")))
    header = struct.pack(">IIBBBBB", 1, 1, 8, 6, 0, 0, 0)
    pixels = chunk(b"IDAT", zlib.compress(b"\0\x30\x60\x90\xff"))
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + text * count + pixels + chunk(b"IEND", b"")


def tail_png(mib):
    """A 1 x 1 RGBA picture whose one deflate stream goes on past its row to mib MiB."""
    data = run_deflated(mib << 20)
    header = struct.pack(">IIBBBBB", 1, 1, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) < 4 or sys.argv[2] not in ("uniform", "names", "files", "texts", "tail"):
        sys.exit(__doc__)
    out, case, size = sys.argv[1], sys.argv[2], int(sys.argv[3])
    count = int(sys.argv[4]) if case in ("names", "files", "tail") else 1
    picture = texts_png(size) if case == "texts" else tail_png(size) if case == "tail" else uniform_png(size)
    files = ["hostile%d.png" % i for i in range(count)] if case == "files" else ["hostile.png"] * count
    for name in set(files):
        write(os.path.join(out, "data", "GUI", name), picture)
    # A colour key of its own makes each name a picture of its own, decoded on its own.
    keys = ['ColorKey="FF0000%02X" ' % i if case == "tail" else "" for i in range(count)]
    textures = "".join(
        '\t<TEXTUR2D NAME="hostile_%d"><FILE FILENAME="data\\GUI\\%s"/>'
        '<FILE_INFO %sFormat="A8R8G8B8" Pool="MANAGED"/></TEXTUR2D>\n' % (i, name, keys[i])
        for i, name in enumerate(files))
    write(os.path.join(out, "data", "GUI", "hostile.tex"), ("<TEXTURES>\n" + textures + "</TEXTURES>\n").encode())
    # The game loads pictures suspended and decodes them when first drawn: a window shows each.
    windows = "".join(
        '\t<WINDOW NAME="hostile_window_%d"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF="%d" Y_OFF="0"/>'
        '<SIZE X_OFF="64" Y_OFF="64"/></GUIRECT><DRAWOPTIONS TEX_NORMAL="hostile_%d"/></WINDOW_PARAMS></WINDOW>\n'
        % (i, 64 * i, i) for i in range(count))
    write(os.path.join(out, "data", "GUI", "Hostile.gui"),
          ('<GUI>\n\t<TEXTURES FILE="data\\GUI\\hostile.tex"/>\n' + windows + '</GUI>\n').encode())
    with open(os.path.join(ROOT, "data", "GUI", "menus.mnu"), "rb") as f:
        menus = f.read()
    anchor = b'\t<GUI FILE="data\\GUI\\Startmenu.gui"/>'
    assert anchor in menus, "menus.mnu names no start menu file"
    menus = menus.replace(anchor, anchor + b'\n\t<GUI FILE="data\\GUI\\Hostile.gui"/>', 1)
    write(os.path.join(out, "data", "GUI", "menus.mnu"), menus)


if __name__ == "__main__":
    main()
