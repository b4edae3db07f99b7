#!/usr/bin/env python3
"""Writes the engine's font file data/font.fnt and the picture of its glyph-table font.

data/Fonts/ziffern.png  a 5x7 pixel face of our own (digits, "+", "-", ":", "/", "x"), each
                        letter drawn twice as large (10x14) in white with alpha, one row.
data/font.fnt           the font styles (plain, drop shadow, halo), the device fonts (their faces
                        found by fontconfig: "mono" is DejaVu Sans Mono of Debian's
                        fonts-dejavu-core, the others Arial's stand-in), the glyph table of
                        ziffern.png letter by letter, a bitmap font on it, a bitmap font built
                        at run time on one 512x512 page (the estimated size spreads the glyphs
                        over several pages, and every change of page within a text costs a draw
                        call), and the game screens' styles and fonts ("Menu..." and the pause
                        screen's "PauseFont" with the style "PauseText").

The output is the same on every run. Usage: tools/make_font_data.py [repository root]
"""
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_test_pictures import png_bytes  # noqa: E402

# 5 columns x 7 rows per letter, "#" is ink.
LETTERS = {
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    "+": [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
    "-": [".....", ".....", ".....", "#####", ".....", ".....", "....."],
    ":": [".....", "..#..", "..#..", ".....", "..#..", "..#..", "....."],
    "/": ["....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
}
SCALE = 2
CELL_W, CELL_H = 5 * SCALE, 7 * SCALE
GAP = 2  # free pixels between letters in the picture
ADVANCE_SIDE = 1  # a and c of every letter


def picture():
    order = list(LETTERS)
    width = len(order) * (CELL_W + GAP)
    height = CELL_H

    def pixel(x, y):
        index, lx = divmod(x, CELL_W + GAP)
        if lx >= CELL_W:
            return (0, 0, 0, 0)
        row = LETTERS[order[index]][y // SCALE]
        return (0xFF, 0xFF, 0xFF, 0xFF) if row[lx // SCALE] == "#" else (0xFF, 0xFF, 0xFF, 0)

    return order, width, height, png_bytes(width, height, pixel)


def font_file(order):
    lines = [
        "<!-- The engine's fonts: written by tools/make_font_data.py. -->",
        "<FONTS>",
        '\t<FONTSTYLE NAME="default" COLOR_VG="FFFFFFFF" COLOR_HG="00000000"/>',
        '\t<FONTSTYLE NAME="dunkel" COLOR_VG="FF202020" COLOR_HG="00000000"/>',
        '\t<FONTSTYLE NAME="schatten" COLOR_VG="FFFFFFFF" COLOR_HG="C0000000" DRAW_HG="1" SHADOW="2"/>',
        '\t<FONTSTYLE NAME="halo" COLOR_VG="FFFFE080" COLOR_HG="FF402000" DRAW_HG="1" RADIUS="2" SAMPLES="8" RINGS="2"/>',
        '\t<D3DXFONT NAME="default" FONT_NAME="Arial" HEIGHT="18"/>',
        '\t<D3DXFONT NAME="titel" FONT_NAME="Arial" HEIGHT="32" SIZE="700"/>',
        '\t<D3DXFONT NAME="klein" FONT_NAME="Arial" HEIGHT="13"/>',
        '\t<D3DXFONT NAME="mono" FONT_NAME="DejaVu Sans Mono" HEIGHT="16"/>',
        f'\t<BITMAPFONT_DATA NAME="Ziffern" TEXTUR="ziffern" ZERO_SIZE="{CELL_H}">',
        "\t\t<TEXTUREN>",
        '\t\t\t<TEXTUR2D NAME="ziffern"><FILE FILENAME="data\\Fonts\\ziffern.png"/></TEXTUR2D>',
        "\t\t</TEXTUREN>",
        f'\t\t<LETTER TYPE=" " TEXTUR="" ABC="0 {CELL_W // 2 + 2 * ADVANCE_SIDE} 0"/>',
    ]
    for index, letter in enumerate(order):
        left = index * (CELL_W + GAP)
        lines.append(f'\t\t<LETTER TYPE="{letter}" L="{left}" T="0" W="{CELL_W}" H="{CELL_H}" '
                     f'ABC="{ADVANCE_SIDE} {CELL_W} {ADVANCE_SIDE}"/>')
    lines += [
        "\t</BITMAPFONT_DATA>",
        '\t<BITMAPFONT NAME="punkte" FONT_NAME="Ziffern" HEIGHT="14"/>',
        '\t<BITMAPFONT NAME="knopf" FONT_NAME="Arial" HEIGHT="20" CREATE_BITMAP_FONT_DATA="1">',
        '\t\t<CREATE_PARAMS SPACE="1" SIZE_TABLES="512">',
        '\t\t\t<FONTSTYLE COLOR_VG="FFFFFFFF" COLOR_HG="FF000000" DRAW_HG="1" SHADOW="1"/>',
        "\t\t</CREATE_PARAMS>",
        "\t</BITMAPFONT>",
        "\t<!-- The game's screens: menus, dialogs, tooltips, the pause screen. -->",
        '\t<FONTSTYLE NAME="MenuHell" COLOR_VG="FFFFFFFF" COLOR_HG="B0000000" DRAW_HG="1" SHADOW="2"/>',
        '\t<FONTSTYLE NAME="MenuDunkel" COLOR_VG="FF2A1804" COLOR_HG="00000000"/>',
        '\t<FONTSTYLE NAME="MenuNotiz" COLOR_VG="FF302010" COLOR_HG="00000000"/>',
        '\t<FONTSTYLE NAME="PauseText" COLOR_VG="FFFFFFFF" COLOR_HG="FF000000" DRAW_HG="1" RADIUS="3" SAMPLES="8" RINGS="2"/>',
        '\t<D3DXFONT NAME="MenuTitel" FONT_NAME="Arial" HEIGHT="64" SIZE="700"/>',
        '\t<D3DXFONT NAME="MenuUeberschrift" FONT_NAME="Arial" HEIGHT="36" SIZE="700"/>',
        '\t<D3DXFONT NAME="MenuKnopf" FONT_NAME="Arial" HEIGHT="24" SIZE="700"/>',
        '\t<D3DXFONT NAME="MenuText" FONT_NAME="Arial" HEIGHT="24"/>',
        '\t<D3DXFONT NAME="MenuKlein" FONT_NAME="Arial" HEIGHT="17"/>',
        '\t<D3DXFONT NAME="PauseFont" FONT_NAME="Arial" HEIGHT="72" SIZE="700"/>',
        "\t<!-- The profile list: the active profile's row dark on gold, the others dark on paper. -->",
        '\t<FONTSTYLE NAME="ACTIVE_PROFIL_NORMAL" COLOR_VG="FF3A2000" COLOR_HG="00000000"/>',
        '\t<FONTSTYLE NAME="ACTIVE_PROFIL_MARKED" COLOR_VG="FF000000" COLOR_HG="60FFFFFF" DRAW_HG="1" SHADOW="1"/>',
        '\t<FONTSTYLE NAME="INACTIVE_PROFIL_NORMAL" COLOR_VG="FF4A4030" COLOR_HG="00000000"/>',
        '\t<FONTSTYLE NAME="INACTIVE_PROFIL_MARKED" COLOR_VG="FF201808" COLOR_HG="00000000"/>',
        '\t<D3DXFONT NAME="ActiveProfilFont" FONT_NAME="Arial" HEIGHT="26" SIZE="700"/>',
        '\t<D3DXFONT NAME="ProfilFont" FONT_NAME="Arial" HEIGHT="24"/>',
        "\t<!-- The results, campaign and free-play screens: a won highscore, the chosen and the other",
        "\t     buttons of the free-play columns (gold and light), one font per column and state. -->",
        '\t<FONTSTYLE NAME="HighscoreStyleWon" COLOR_VG="FFFFD860" COLOR_HG="B0000000" DRAW_HG="1" SHADOW="2"/>',
        '\t<FONTSTYLE NAME="ACTIVE_FG_NORMAL" COLOR_VG="FFFFD040" COLOR_HG="C0000000" DRAW_HG="1" SHADOW="2"/>',
        '\t<FONTSTYLE NAME="ACTIVE_FG_MARKED" COLOR_VG="FFFFF0A0" COLOR_HG="C0000000" DRAW_HG="1" SHADOW="2"/>',
        '\t<FONTSTYLE NAME="INACTIVE_FG_NORMAL" COLOR_VG="FFE8E0D0" COLOR_HG="A0000000" DRAW_HG="1" SHADOW="1"/>',
        '\t<FONTSTYLE NAME="INACTIVE_FG_MARKED" COLOR_VG="FFFFE8B0" COLOR_HG="A0000000" DRAW_HG="1" SHADOW="1"/>',
        '\t<D3DXFONT NAME="ActiveSolKategorieFont" FONT_NAME="Arial" HEIGHT="26" SIZE="700"/>',
        '\t<D3DXFONT NAME="SolKategorieFont" FONT_NAME="Arial" HEIGHT="24"/>',
        '\t<D3DXFONT NAME="ActiveSolGameFont" FONT_NAME="Arial" HEIGHT="22" SIZE="700"/>',
        '\t<D3DXFONT NAME="SolGameFont" FONT_NAME="Arial" HEIGHT="21"/>',
        '\t<D3DXFONT NAME="ActiveSolVariantFont" FONT_NAME="Arial" HEIGHT="20" SIZE="700"/>',
        '\t<D3DXFONT NAME="SolVariantFont" FONT_NAME="Arial" HEIGHT="19"/>',
    ]
    lines += new_profile_styles()
    lines += [
        "</FONTS>",
    ]
    return "\r\n".join(lines) + "\r\n"


def new_profile_styles():
    """The name field of the new-profile dialog: a free name light, a name that is taken red."""
    return [
        "\t<!-- The new-profile dialog's name: free, taken. -->",
        '\t<FONTSTYLE NAME="NP_FontStyle_OK" COLOR_VG="FFFFF4D0" COLOR_HG="B0000000" DRAW_HG="1" SHADOW="2"/>',
        '\t<FONTSTYLE NAME="NP_FontStyle_ERR" COLOR_VG="FFFF4A3A" COLOR_HG="B0000000" DRAW_HG="1" SHADOW="2"/>',
    ]


def main():
    args = command_line.arguments(__doc__, 1)
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    order, _, _, png = picture()
    os.makedirs(os.path.join(root, "data", "Fonts"), exist_ok=True)
    with open(os.path.join(root, "data", "Fonts", "ziffern.png"), "wb") as f:
        f.write(png)
    with open(os.path.join(root, "data", "font.fnt"), "w", newline="") as f:
        f.write(font_file(order))


if __name__ == "__main__":
    main()
