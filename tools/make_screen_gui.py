#!/usr/bin/env python3
"""Writes the GUI files of the achievement, options, profile and help screens into data/GUI/:
Erfolge.gui (ACHIVEMENTS_MENU and the medal popup), Optionen.gui (OPTIONENMENU and the
USE_SETTINGS_MENU dialog), Profile.gui (PROFILMENU), Hilfe.gui (HILFEMENU and CREDITSMENU).

Every screen follows the main menu's pattern (Hauptmenu.gui): a window in the largest 4:3
rectangle in the middle of the screen, hidden at "AUS" and shown at "AN", holding a nine-part
frame of the "PANEL_" pieces placed in pixels of a 1024 x 768 screen; the frame's content is
placed in pixels of the frame. The achievement screen has a window per achievement of
data/achivement.acv, which is why these files are written by a script.

Usage: tools/make_screen_gui.py [output folder]   (default: data/GUI in this repo)
"""
import os
import re
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

HERE = os.path.dirname(os.path.abspath(__file__))
SCREEN_W, SCREEN_H = 1024, 768
PIECES = ("TOP", "T"), ("BOTTOM", "B"), ("LEFT", "L"), ("RIGHT", "R"), ("TOP_LEFT", "TL"), ("TOP_RIGHT", "TR"), \
    ("BOTTOM_LEFT", "BL"), ("BOTTOM_RIGHT", "BR"), ("FILL", "C")


def rect(x, y, w, h, pw, ph):
    return (f'<GUIRECT><POS_TL X_REL="{x} {pw}" Y_REL="{y} {ph}"/>'
            f'<SIZE X_REL="{w} {pw}" Y_REL="{h} {ph}"/></GUIRECT>')


def screen(name, layer, speed, body, tab="\t"):
    """The 4:3 window of a screen, hidden at "AUS"."""
    goals = "".join(
        f'\n{tab}\t\t<ANIMATION_GOAL NAME="{goal}" SPEED="{speed}" INTERPOLATE_GUIRECTS="0">'
        f'\n{tab}\t\t\t<OPTIONS VISIBLE="{visible}" INPUT_IGNORE="1"/>'
        f'\n{tab}\t\t\t<DRAWOPTIONS EBENE="{layer}" ALPHA="{visible}" MODULATE_COLOR="FFFFFFFF"/>'
        f'\n{tab}\t\t</ANIMATION_GOAL>' for goal, visible in (("AN", 1), ("AUS", 0)))
    return (f'{tab}<WINDOW NAME="{name}">\n{tab}\t<WINDOW_PARAMS ANIMATION_GOAL="AUS">\n'
            f'{tab}\t\t<GUIRECT PARAMS_X="AS_VERH" PARAMS_Y="AS_VERH"><POS_CC X_REL="0.5" Y_REL="0.5"/>'
            f'<SIZE X_REL="1" Y_REL="1"/><PARAMS X_REL="4 3" Y_REL="3 4"/></GUIRECT>\n'
            f'{tab}\t\t<OPTIONS INPUT_IGNORE="1"/>\n'
            f'{tab}\t\t<DRAWOPTIONS EBENE="{layer}" MODULATE_COLOR="FFFFFFFF"/>{goals}\n'
            f'{tab}\t</WINDOW_PARAMS>\n{body}{tab}</WINDOW>\n')


def frame(name, x, y, w, h, children, tab="\t\t"):
    pieces = "".join(f'{tab}\t\t<TEXTURES_2D_{side} TEX_NORMAL="PANEL_{piece}"/>\n' for side, piece in PIECES)
    return (f'{tab}<WINDOW NAME="{name}" TYPE="FRAME">\n{tab}\t<WINDOW_PARAMS>\n'
            f'{tab}\t\t{rect(x, y, w, h, SCREEN_W, SCREEN_H)}\n'
            f'{tab}\t\t<DRAWOPTIONS MODULATE_COLOR="FFFFFFFF"/>\n{tab}\t</WINDOW_PARAMS>\n'
            f'{tab}\t<FRAME_PARAMS>\n{tab}\t\t<RAND_SIZE REL="0" OFF="30"/>\n{pieces}{tab}\t</FRAME_PARAMS>\n'
            + "".join(children) + f'{tab}</WINDOW>\n')


def label(name, x, y, w, h, pw, ph, text_id, font="MenuText", style="MenuHell", flags="CENTER VCENTER", extra="",
          params="", tab="\t\t\t"):
    return (f'{tab}<WINDOW NAME="{name}" TYPE="LABEL">\n{tab}\t<WINDOW_PARAMS>\n'
            f'{tab}\t\t{rect(x, y, w, h, pw, ph)}\n{tab}\t\t<OPTIONS INPUT_IGNORE="3"{extra}/>\n{params}'
            f'{tab}\t</WINDOW_PARAMS>\n'
            f'{tab}\t<LABEL_PARAMS FONT_NAME="{font}" FONT_STYLENAME="{style}" TEXT_ID="{text_id}" FLAGS="{flags}"/>\n'
            f'{tab}</WINDOW>\n')


def button(name, x, y, pw, ph, text_id, small=True, w=None, tooltip=None, user_id=None, tab="\t\t\t"):
    """A button in the look of the menus' buttons ("KNOPF_" pictures), placed and sized here."""
    look = "KNOPF_KLEIN" if small else "KNOPF"
    w = w or (180 if small else 320)
    tip = f'<TOOLTIP TEXT_ID="{tooltip}"/>' if tooltip else ""
    user = f' USER_ID="{user_id}"' if user_id else ""
    return (f'{tab}<WINDOW NAME="{name}" TYPE="BUTTON"{user}>\n'
            f'{tab}\t<WINDOW_PARAMS>{rect(x, y, w, 52, pw, ph)}{tip}\n'
            f'{tab}\t\t<DRAWOPTIONS TEX_NORMAL="{look}_N" TEX_MARK="{look}_M" TEX_PRESS="{look}_P" '
            f'TEX_DISABLE="{look}_D" MODULATE_COLOR="FFFFFFFF" ACTIVE_BLEND="0.12" INACTIVE_BLEND="0.25"/>\n'
            f'{tab}\t</WINDOW_PARAMS>\n'
            f'{tab}\t<BUTTON_PARAMS><LABEL_PARAMS FONT_NAME="MenuKnopf" FONT_STYLENAME="MenuHell" '
            f'FONT_STYLENAME_MARK="MenuDunkel" TEXT_ID="{text_id}" FLAGS="CENTER VCENTER"/></BUTTON_PARAMS>\n'
            f'{tab}</WINDOW>\n')


def arrow_button(name, x, y, pw, ph, texture, size=40, tab="\t\t\t"):
    return (f'{tab}<WINDOW NAME="{name}" TYPE="BUTTON">\n'
            f'{tab}\t<WINDOW_PARAMS>{rect(x, y, size, size, pw, ph)}'
            f'<DRAWOPTIONS TEX_NORMAL="{texture}" MODULATE_COLOR="FFFFFFFF" ACTIVE_BLEND="0.12" INACTIVE_BLEND="0.25"/>'
            f'</WINDOW_PARAMS>\n{tab}</WINDOW>\n')


def checkbox(name, x, y, w, pw, ph, text_id, tab="\t\t\t"):
    """A check box: the box a square as tall as the row (its picture kept square whatever the
    screen's shape), the text beside it."""
    h = 36
    return (f'{tab}<WINDOW NAME="{name}" TYPE="CHECKBOX">\n'
            f'{tab}\t<WINDOW_PARAMS>{rect(x, y, w, h, pw, ph)}\n'
            f'{tab}\t\t<DRAWOPTIONS><DRAW_TYPE X="STRETCH ALIGN_FRONT" Y="STRETCH"/></DRAWOPTIONS>\n'
            f'{tab}\t</WINDOW_PARAMS>\n'
            f'{tab}\t<CHECKBOX_PARAMS CHECKBOX_LOC="LEFT">\n'
            f'{tab}\t\t<CHECKBOX_BUTTON_PARAMS ENABLE_TIMER="0.2">\n'
            f'{tab}\t\t\t<CHECKBOX_SIZE REL="{h} {w}" OFF="0"/>\n'
            f'{tab}\t\t\t<TEXTURES_2D TEX_NORMAL="gui_check_off" TEX_PRESS="gui_check_on" TEX_MARK="gui_check_mark"/>\n'
            f'{tab}\t\t</CHECKBOX_BUTTON_PARAMS>\n'
            f'{tab}\t\t<LABEL_PARAMS FONT_NAME="MenuText" FONT_STYLENAME="MenuHell" TEXT_ID="{text_id}" FLAGS="LEFT VCENTER"/>\n'
            f'{tab}\t</CHECKBOX_PARAMS>\n{tab}</WINDOW>\n')


# A slider's caption line above its track, and the track's row (arrows, track, knob).
CAPTION_H, TRACK_H = 30, 30


def slider(name, x, y, w, pw, ph, value_range, value, change, granularity, text_id, tab="\t\t\t"):
    """A slider with its caption (the value label the game fills) in a line above the track; the
    knob sits in the middle of the track's height."""
    top = y + CAPTION_H + 4
    return (f'{tab}<WINDOW NAME="{name}" TYPE="SLIDER">\n'
            f'{tab}\t<WINDOW_PARAMS>{rect(x, top, w, TRACK_H, pw, ph)}<OPTIONS LAYOUTMANAGER="DEFAULT"/></WINDOW_PARAMS>\n'
            f'{tab}\t<SLIDER_PARAMS VALUE_RANGE="{value_range}" VALUE="{value}" VALUE_CHANGE="{change}" '
            f'GRANULARITAET="{granularity}" HORIZONTAL="1" SHOW_BUTTONS="1" SHOW_LABEL="1" USE_LOADED_SLIDER_POS="1">\n'
            f'{tab}\t\t<LABEL NAME="{name}_TEXT"><WINDOW_PARAMS><GUIRECT><POS_TL Y_REL="-{CAPTION_H + 4} {TRACK_H}"/>'
            f'<SIZE X_REL="1" Y_REL="{CAPTION_H} {TRACK_H}"/></GUIRECT></WINDOW_PARAMS>'
            f'<LABEL_PARAMS FONT_NAME="MenuKlein" FONT_STYLENAME="MenuHell" '
            f'FONT_STYLENAME_DISABLED="MenuHell" TEXT_ID="{text_id}" FLAGS="CENTER VCENTER"/></LABEL>\n'
            f'{tab}\t\t<BUTTON_LEFT NAME="{name}_LINKS"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF="24" Y_OFF="24"/>'
            f'</GUIRECT><DRAWOPTIONS TEX_NORMAL="gui_arrow_left" MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS></BUTTON_LEFT>\n'
            f'{tab}\t\t<BUTTON_RIGHT NAME="{name}_RECHTS"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF="24" Y_OFF="24"/>'
            f'</GUIRECT><DRAWOPTIONS TEX_NORMAL="gui_arrow_right" MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS></BUTTON_RIGHT>\n'
            f'{tab}\t\t<SLIDER_INNEN NAME="{name}_KNAUF"><WINDOW_PARAMS><GUIRECT><POS_TL Y_REL="0.1"/>'
            f'<SIZE X_OFF="16" Y_REL="0.8"/></GUIRECT><DRAWOPTIONS TEX_NORMAL="gui_slider_knob" MODULATE_COLOR="FFFFFFFF"/>'
            f'</WINDOW_PARAMS></SLIDER_INNEN>\n'
            f'{tab}\t\t<SLIDER_AUSSEN NAME="{name}_BAHN"><WINDOW_PARAMS><DRAWOPTIONS TEX_NORMAL="gui_slider_track" '
            f'MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS></SLIDER_AUSSEN>\n'
            f'{tab}\t</SLIDER_PARAMS>\n{tab}</WINDOW>\n')


def question(prefix, children):
    """A dialog over the screen it is asked from: a dark veil that keeps clicks from the screen
    below (prefix + "_Abdunkeln"), and the panel prefix + "_Rahmen" in the middle of the 4:3 window
    prefix + "_Fenster", as the exit question of Beenden.gui."""
    return ('\t<WINDOW NAME="' + prefix + '_Abdunkeln">\n\t\t<WINDOW_PARAMS ANIMATION_GOAL="AUS">\n'
            '\t\t\t<GUIRECT><POS_TL/><SIZE X_REL="1" Y_REL="1"/></GUIRECT>\n'
            '\t\t\t<DRAWOPTIONS EBENE="40" TEX_NORMAL="gui_white" MODULATE_COLOR="90000000"/>\n'
            + "".join(f'\t\t\t<ANIMATION_GOAL NAME="{g}" SPEED="4" INTERPOLATE_GUIRECTS="0"><OPTIONS VISIBLE="{v}"/>'
                      f'<DRAWOPTIONS EBENE="40" ALPHA="{v}" MODULATE_COLOR="90000000"/></ANIMATION_GOAL>\n'
                      for g, v in (("AN", 1), ("AUS", 0)))
            + '\t\t</WINDOW_PARAMS>\n\t</WINDOW>\n'
            + screen(prefix + "_Fenster", 41, 4, frame(prefix + "_Rahmen", 252, 264, 520, 240, children)))


def gui_file(comment, textures, body, animations=()):
    head = [f"<!-- {comment} -->", "<GUI>"]
    head += [f'\t<TEXTURES FILE="{t}"/>' for t in textures]
    head += [f'\t<ANIMATION FILE="{a}"/>' for a in animations]
    return "\r\n".join(head + [body.rstrip("\n").replace("\n", "\r\n"), "</GUI>"]) + "\r\n"


def achievement_names():
    with open(os.path.join(HERE, "..", "data", "achivement.acv"), encoding="latin-1") as f:
        return re.findall(r'<ACHIVEMENT NAME="([A-Z0-9_]+)"', f.read())


# ---- achievements ----

ACH_W, ACH_H = 960, 736
# Six rows of six hold the 32 achievements the medal sheet has room for, between the overall bar
# and the text box.
COLUMNS, CELL_W, CELL_H, GRID_X, GRID_Y = 6, 150, 94, 30, 100
TILE_W, TILE_H = CELL_W - 10, CELL_H - 6
# A tile: what it counts ("Name"), its count ("Progress"), and below them the 64-pixel medal cell
# (its medal 48 wide in the middle) standing on the tile's bottom.
NAME_H, MEDAL_CELL, MEDAL = 18, 64, 48


def achievement_cell(index, name):
    assert index < COLUMNS * 6, "six rows of achievements"
    x, y = GRID_X + (index % COLUMNS) * CELL_W, GRID_Y + (index // COLUMNS) * CELL_H
    t = "\t\t\t"
    tile = (TILE_W, TILE_H)
    medal_left, medal_top = (TILE_W - MEDAL) // 2, TILE_H - MEDAL_CELL + (MEDAL_CELL - MEDAL) // 2
    return (f'{t}<WINDOW NAME="{name}">\n{t}\t<WINDOW_PARAMS>\n'
            f'{t}\t\t{rect(x, y, TILE_W, TILE_H, ACH_W, ACH_H)}\n'
            f'{t}\t\t<DRAWOPTIONS MODULATE_COLOR="FFFFFFFF"><BACK_DRAW_TYPE X="CLAMP" Y="CLAMP ALIGN_BACK"/></DRAWOPTIONS>\n'
            f'{t}\t\t<TOOLTIP TEXT_ID="TT_ACH_{name}"/>\n{t}\t</WINDOW_PARAMS>\n'
            + label("Name", 0, 0, TILE_W, NAME_H, *tile, f"ACH_NAME_{name}", font="MenuKlein", tab=t + "\t")
            + label("Progress", 0, NAME_H - 2, TILE_W, NAME_H, *tile, "ACH_LEER", font="MenuKlein", tab=t + "\t")
            + label(f"TEXT_{name}", 0, NAME_H - 2, TILE_W, NAME_H, *tile, "ACH_PROZENT", font="MenuKlein",
                    extra=' VISIBLE="0"', tab=t + "\t")
            + f'{t}\t<WINDOW NAME="PARTIKEL_MASK"><WINDOW_PARAMS>{rect(medal_left, medal_top, MEDAL, MEDAL, *tile)}'
              f'<OPTIONS INPUT_IGNORE="3"/></WINDOW_PARAMS></WINDOW>\n'
            + f'{t}</WINDOW>\n')


def achievements_gui(names):
    children = [label("ACH_Titel", 20, 14, 920, 50, ACH_W, ACH_H, "ACH_TITEL", font="MenuUeberschrift"),
                label("ACH_CUP_TEXT", 40, 70, 260, 30, ACH_W, ACH_H, "ACH_GESAMT", flags="RIGHT VCENTER"),
                '\t\t\t<WINDOW NAME="ACH_CUP_GESAMT" TYPE="PROGRESSBAR">\n'
                f'\t\t\t\t<WINDOW_PARAMS>{rect(320, 74, 600, 24, ACH_W, ACH_H)}'
                '<DRAWOPTIONS TEX_NORMAL="gui_progress_back" MODULATE_COLOR="FFFFFFFF"/>'
                '<TOOLTIP TEXT_ID="ACH_CUP_TT"/></WINDOW_PARAMS>\n'
                '\t\t\t\t<PROGRESSBAR_PARAMS MAX_WERT="100" AKT_WERT="0" TYP="LEFT_RIGHT" CUT_TEXTURE="0">\n'
                '\t\t\t\t\t<TEXTURES_2D_PROGRESS TEX_NORMAL="gui_progress_fill"/>\n'
                '\t\t\t\t</PROGRESSBAR_PARAMS>\n\t\t\t</WINDOW>\n']
    children += [achievement_cell(i, name) for i, name in enumerate(names)]
    children += [label("ACHIVE_TEXT_BOX", 40, 666, 660, 56, ACH_W, ACH_H, "ACH_HINWEIS", font="MenuKlein",
                       flags="LEFT VCENTER WORDBREAK"),
                 button("ACH_Back", 740, 668, ACH_W, ACH_H, "ZURUECK")]
    body = screen("ACH_Fenster", 10, 3, frame("ACH_Rahmen", 32, 16, ACH_W, ACH_H, children))
    popup = (
        '\t<!-- The medal popup, above every screen; the game sends it to "AN" and back to "AUS". -->\n'
        '\t<WINDOW NAME="SOLITAIRE_ACHIVEMENT">\n\t\t<WINDOW_PARAMS ANIMATION_GOAL="AUS">\n'
        '\t\t\t<GUIRECT PARAMS_X="AS_VERH" PARAMS_Y="AS_VERH"><POS_CC X_REL="0.5" Y_REL="0.5"/><SIZE X_REL="1" Y_REL="1"/>'
        '<PARAMS X_REL="4 3" Y_REL="3 4"/></GUIRECT>\n'
        '\t\t\t<OPTIONS INPUT_IGNORE="3"/>\n\t\t\t<DRAWOPTIONS EBENE="90" MODULATE_COLOR="FFFFFFFF"/>\n'
        + "".join(f'\t\t\t<ANIMATION_GOAL NAME="{g}" SPEED="1" INTERPOLATE_GUIRECTS="0">'
                  f'<OPTIONS VISIBLE="{v}" INPUT_IGNORE="3"/><DRAWOPTIONS EBENE="90" ALPHA="{v}" MODULATE_COLOR="FFFFFFFF"/>'
                  f'</ANIMATION_GOAL>\n' for g, v in (("AN", 1), ("AUS", 0)))
        + '\t\t</WINDOW_PARAMS>\n'
        '\t\t<WINDOW NAME="SOLITAIRE_ACHIVEMENT_PLATTE">\n'
        f'\t\t\t<WINDOW_PARAMS>{rect(256, 24, 512, 128, SCREEN_W, SCREEN_H)}<OPTIONS INPUT_IGNORE="3"/>'
        '<DRAWOPTIONS TEX_NORMAL="ACH_POPUP" MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS>\n'
        f'\t\t\t<WINDOW NAME="SOLITAIRE_ACHIVEMENT_PIC"><WINDOW_PARAMS>{rect(24, 16, 96, 96, 512, 128)}'
        '<OPTIONS INPUT_IGNORE="3"/><DRAWOPTIONS MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS></WINDOW>\n'
        f'\t\t\t<WINDOW NAME="SOLITAIRE_ACHIVEMENT_PARTIKEL"><WINDOW_PARAMS>{rect(24, 16, 96, 96, 512, 128)}'
        '<OPTIONS INPUT_IGNORE="3"/></WINDOW_PARAMS></WINDOW>\n'
        + label("SOLITAIRE_ACHIVEMENT_KOPF", 136, 14, 360, 40, 512, 128, "ACH_NEUE_MEDAILLE", font="MenuKlein")
        + label("SOLITAIRE_ACHIVEMENT_LABEL", 136, 50, 360, 64, 512, 128, "ACH_LEER", flags="CENTER VCENTER WORDBREAK")
        + '\t\t</WINDOW>\n\t</WINDOW>\n')
    return gui_file("The achievement screen (\"ACHIVEMENTS_MENU\"): a window per achievement, named like it, with "
                    "its medal picture (the game sets \"NIX_\" .. \"GOLD_\" + name as its background), what it "
                    "counts \"Name\" (the text \"ACH_NAME_\" + name), its progress \"Progress\", a hidden label \"TEXT_\" + name whose text the game moves into the text box "
                    "\"ACHIVE_TEXT_BOX\" on hover, and \"PARTIKEL_MASK\" where the hover particle sits; the "
                    "overall bar \"ACH_CUP_GESAMT\". Below it the medal popup \"SOLITAIRE_ACHIVEMENT\". Written by "
                    "tools/make_screen_gui.py.",
                    ["data\\Menu\\menu.tex", "data\\Menu\\rects.tex", "data\\GUI\\gui_textures.tex", "data\\Menu\\screens.tex"],
                    body + popup, ["data\\Menu\\erfolge.ani"])


# ---- options and the confirmation dialog ----

OPT_W, OPT_H = 900, 720


def options_gui():
    p = (OPT_W, OPT_H)
    children = [label("O_Titel", 20, 14, 860, 50, *p, "O_TITEL", font="MenuUeberschrift"),
                label("O_GrafikTitel", 40, 70, 400, 30, *p, "O_GRAFIK", flags="LEFT VCENTER"),
                slider("AufloesungSlider", 40, 104, 400, *p, "0 5", 0, 1, 1, "O_AUFLOESUNG"),
                checkbox("O_Fullscreen", 40, 184, 400, *p, "O_VOLLBILD_BOX"),
                label("O_TonTitel", 480, 70, 380, 30, *p, "O_TON", flags="LEFT VCENTER"),
                slider("SoundSlider", 480, 104, 380, *p, "0 100", 75, 5, 1, "O_SOUND_VOLUME_PERC"),
                slider("MusicSlider", 480, 174, 380, *p, "0 100", 50, 5, 1, "O_MUSIC_VOLUME_PERC"),
                slider("RandomSlider", 480, 244, 380, *p, "0 100", 0, 5, 1, "O_RANDOM_PERC"),
                label("O_ZeigerTitel", 40, 326, 400, 30, *p, "O_ZEIGER", flags="LEFT VCENTER")]
    for k in range(4):
        x = 40 + k * 100
        children.append(f'\t\t\t<WINDOW NAME="O_Cursor{k}"><WINDOW_PARAMS>{rect(x + 20, 362, 48, 48, *p)}'
                        f'<DRAWOPTIONS MODULATE_COLOR="FFFFFFFF"/><TOOLTIP TEXT_ID="O_ZEIGER_{k}"/></WINDOW_PARAMS></WINDOW>\n')
        children.append(button(f"O_C{k}", x, 414, *p, f"O_ZEIGER_KURZ_{k}", w=88))
    children += [label("O_KartenTitel", 480, 326, 380, 30, *p, "O_KARTEN", flags="LEFT VCENTER"),
                 arrow_button("O_CARDSET_PREV", 480, 400, *p, "gui_arrow_left"),
                 f'\t\t\t<WINDOW NAME="O_CARDSET_PREVIEW"><WINDOW_PARAMS>{rect(524, 362, 160, 100, *p)}'
                 '<OPTIONS INPUT_IGNORE="3"/><DRAWOPTIONS MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS></WINDOW>\n',
                 arrow_button("O_CARDSET_NEXT", 688, 400, *p, "gui_arrow_right"),
                 arrow_button("O_CARDBACK_PREV", 736, 400, *p, "gui_arrow_left"),
                 f'\t\t\t<WINDOW NAME="O_CARDBACKPREVIEW"><WINDOW_PARAMS>{rect(778, 362, 72, 100, *p)}'
                 '<OPTIONS INPUT_IGNORE="3"/><DRAWOPTIONS MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS></WINDOW>\n',
                 arrow_button("O_CARDBACK_NEXT", 852, 400, *p, "gui_arrow_right", size=36),
                 label("O_TutorialTitel", 40, 490, 400, 30, *p, "O_HILFEN", flags="LEFT VCENTER"),
                 checkbox("O_Tutorial", 40, 526, 400, *p, "O_TUTORIAL"),
                 button("O_Tutorial_Reset", 40, 574, *p, "O_TUTORIAL_RESET", w=320),
                 button("ResetStory", 380, 574, *p, "O_STORY_RESET", w=280, tooltip="O_STORY_RESET_TT"),
                 button("O_Back", 680, 640, *p, "ZURUECK")]
    body = screen("O_Fenster", 10, 3, frame("O_Rahmen", 62, 24, OPT_W, OPT_H, children))
    dialog_children = [label("US_Frage", 30, 24, 460, 50, 520, 240, "US_FRAGE"),
                       label("US_LABEL", 30, 80, 460, 60, 520, 240, "US_COUNTDOWN", font="MenuKlein",
                             flags="CENTER VCENTER WORDBREAK"),
                       button("US_OK", 60, 160, 520, 240, "JA"),
                       button("US_CANCEL", 280, 160, 520, 240, "NEIN")]
    dialog = question("US", dialog_children)
    return gui_file("The options screen (\"OPTIONENMENU\"): display mode and full screen (applied when the screen "
                    "is left with \"O_Back\"), sound, music and style randomness, the pointer, the card set and card "
                    "back with their previews, the tutorial switch and the resets of the explanations and of the story's "
                    "hints seen (\"ResetStory\"; the scenes played stay played); and the dialog \"USE_SETTINGS_MENU\" that asks "
                    "to keep a new display mode while its countdown runs. Written by tools/make_screen_gui.py.",
                    ["data\\Menu\\menu.tex", "data\\Menu\\rects.tex", "data\\GUI\\gui_textures.tex", "data\\Menu\\screens.tex"], body + dialog)


# ---- profiles ----

PRO_W, PRO_H = 600, 640


def profiles_gui():
    p = (PRO_W, PRO_H)
    template = ('\t<VORLAGEN>\n'
                '\t\t<!-- One row of the profile list; the game copies it per profile and places the copy. -->\n'
                '\t\t<WINDOW NAME="P_ProfilNameVorlage" TYPE="BUTTON">\n'
                '\t\t\t<WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL="1" Y_REL="0.125"/></GUIRECT>'
                '<OPTIONS VISIBLE="0"/><DRAWOPTIONS TEX_NORMAL="P_Leer" TEX_MARK="P_Leer_M" MODULATE_COLOR="FFFFFFFF" '
                'ACTIVE_BLEND="0.12" INACTIVE_BLEND="0.25"/></WINDOW_PARAMS>\n'
                '\t\t\t<BUTTON_PARAMS><RAND_SIZE REL="0.1" OFF="0"/><LABEL_PARAMS FONT_NAME="ProfilFont" '
                'FONT_STYLENAME="INACTIVE_PROFIL_NORMAL" FONT_STYLENAME_MARK="INACTIVE_PROFIL_MARKED" '
                'FLAGS="LEFT VCENTER"/></BUTTON_PARAMS>\n'
                '\t\t</WINDOW>\n\t</VORLAGEN>\n')
    panel = ('\t\t\t<WINDOW NAME="P_ProfilePanel" TYPE="SCROLL_PANEL">\n'
             f'\t\t\t\t<WINDOW_PARAMS>{rect(40, 80, 520, 400, *p)}</WINDOW_PARAMS>\n'
             '\t\t\t\t<SCROLL_PANEL_PARAMS VERTICAL_SCROLL="1" HORIZONTAL_SCROLL="0" AUTO_SCROLL="1" SIZE_ABSOLUT="16">\n'
             '\t\t\t\t\t<PANEL NAME="P_ProfilePanel_FLAECHE"><WINDOW_PARAMS><DRAWOPTIONS TEX_NORMAL="gui_white" '
             'MODULATE_COLOR="40000000"/></WINDOW_PARAMS></PANEL>\n'
             '\t\t\t\t\t<VERTICAL_PARAMS>\n'
             + "".join(f'\t\t\t\t\t\t<{tag} NAME="P_Rollen_{i}"><WINDOW_PARAMS><DRAWOPTIONS TEX_NORMAL="{tex}" '
                       f'MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS></{tag}>\n'
                       for i, (tag, tex) in enumerate((("BUTTON_UP", "gui_arrow_up"), ("BUTTON_DOWN", "gui_arrow_down"),
                                                       ("SCROLL_BUTTON", "gui_scroll_thumb"),
                                                       ("SCROLL_UNDERGROUND", "gui_scroll_track"))))
             + '\t\t\t\t\t</VERTICAL_PARAMS>\n\t\t\t\t</SCROLL_PANEL_PARAMS>\n\t\t\t</WINDOW>\n')
    children = [label("P_Titel", 20, 14, 560, 50, *p, "P_TITEL", font="MenuUeberschrift"), panel,
                button("P_NEUButton", 40, 500, *p, "P_NEU", w=250),
                button("P_DELButton", 310, 500, *p, "P_LOESCHEN", w=250),
                button("P_Back", 210, 570, *p, "ZURUECK")]
    body = screen("P_Fenster", 10, 3, frame("P_Rahmen", 212, 64, PRO_W, PRO_H, children))
    ask = [label("P_LoeschenFrage", 30, 24, 460, 116, 520, 240, "P_LOESCHEN_FRAGE", flags="CENTER VCENTER WORDBREAK"),
           button("P_LoeschenJa", 60, 160, 520, 240, "JA"),
           button("P_LoeschenNein", 280, 160, 520, 240, "NEIN")]
    return gui_file("The profile screen (\"PROFILMENU\"): the list of profiles in the scroll panel "
                    "\"P_ProfilePanel\", one copy of the template \"P_ProfilNameVorlage\" per profile (the active one "
                    "in the looks \"P_Leer_A\" and \"P_Leer_AM\"), new, delete and back; and the question "
                    "\"PROFILLOESCHENMENU\" whether to delete the active profile (\"P_LoeschenFrage\" names it, "
                    "\"P_LoeschenJa\" deletes, \"P_LoeschenNein\" keeps it). Written by tools/make_screen_gui.py.",
                    ["data\\Menu\\menu.tex", "data\\Menu\\rects.tex", "data\\GUI\\gui_textures.tex", "data\\Menu\\screens.tex"],
                    template + body + question("P_Loeschen", ask))


# ---- help and credits ----

HELP_W, HELP_H = 960, 720
HELP_PAGES = 5
# The page whose sub-pages are the shipped games' rules (its button's user id, which the game knows).
HELP_RULES_PAGE, HELP_RULES_ID = 4, "H_SPIELREGELN"
PAGE_Y, PAGE_STEP = 80, 58
TEXT_Y, TEXT_H = 392, 230


def help_gui():
    p = (HELP_W, HELP_H)
    pages = [button(f"H_HELP_S{n}", 40, PAGE_Y + n * PAGE_STEP, *p, f"H_SEITE_{n}", w=220,
                    user_id=HELP_RULES_ID if n == HELP_RULES_PAGE else None) for n in range(HELP_PAGES)]
    pages.append(button("H_HELP_CREDITS", 40, PAGE_Y + HELP_PAGES * PAGE_STEP, *p, "H_MITWIRKENDE", w=220))
    below = PAGE_Y + HELP_PAGES * PAGE_STEP + 70
    text_panel = ('\t\t\t<WINDOW NAME="HILFE_PANEL" TYPE="SCROLL_PANEL">\n'
                  f'\t\t\t\t<WINDOW_PARAMS>{rect(290, TEXT_Y, 630, TEXT_H, *p)}</WINDOW_PARAMS>\n'
                  '\t\t\t\t<SCROLL_PANEL_PARAMS VERTICAL_SCROLL="1" HORIZONTAL_SCROLL="0" AUTO_SCROLL="1" SIZE_ABSOLUT="16">\n'
                  '\t\t\t\t\t<PANEL NAME="HILFE_PANEL_FLAECHE"><WINDOW_PARAMS><DRAWOPTIONS TEX_NORMAL="gui_white" '
                  'MODULATE_COLOR="30000000"/></WINDOW_PARAMS></PANEL>\n'
                  '\t\t\t\t\t<VERTICAL_PARAMS>\n'
                  + "".join(f'\t\t\t\t\t\t<{tag} NAME="H_Rollen_{i}"><WINDOW_PARAMS><DRAWOPTIONS TEX_NORMAL="{tex}" '
                            f'MODULATE_COLOR="FFFFFFFF"/></WINDOW_PARAMS></{tag}>\n'
                            for i, (tag, tex) in enumerate((("BUTTON_UP", "gui_arrow_up"),
                                                            ("BUTTON_DOWN", "gui_arrow_down"),
                                                            ("SCROLL_BUTTON", "gui_scroll_thumb"),
                                                            ("SCROLL_UNDERGROUND", "gui_scroll_track"))))
                  + '\t\t\t\t\t</VERTICAL_PARAMS>\n\t\t\t\t</SCROLL_PANEL_PARAMS>\n'
                  + label("H_HilfeLabel", 0, 0, 600, TEXT_H, 630, TEXT_H, "H_HILFETEXT", font="MenuKlein",
                          flags="LEFT TOP WORDBREAK", tab="\t\t\t\t")
                  + '\t\t\t</WINDOW>\n')
    children = [label("H_HilfeTitel", 20, 14, 920, 50, *p, "H_HILFE_TITEL", font="MenuUeberschrift"), *pages,
                # The pictures keep their shape: the help's 16:10 ones fill it, the games' 4:3
                # previews stand in its middle.
                f'\t\t\t<WINDOW NAME="H_HELP_FENSTER"><WINDOW_PARAMS>{rect(290, 80, 480, 300, *p)}'
                '<OPTIONS INPUT_IGNORE="3"/><DRAWOPTIONS MODULATE_COLOR="FFFFFFFF">'
                '<BACK_DRAW_TYPE X="STRETCH" Y="STRETCH"/></DRAWOPTIONS></WINDOW_PARAMS></WINDOW>\n',
                label("H_C_Credits", 290, 80, 630, 270, *p, "H_C_TEXT", font="MenuKlein", flags="LEFT TOP WORDBREAK"),
                label("H_C_Version", 290, 354, 630, 28, *p, "VERSION", font="MenuKlein", flags="LEFT VCENTER"),
                arrow_button("H_PREV", 800, 170, *p, "gui_arrow_left", size=48),
                arrow_button("H_NEXT", 800, 240, *p, "gui_arrow_right", size=48),
                text_panel,
                checkbox("H_HELP_CHECKBOX_2", 40, below, 240, *p, "H_TUTORIAL"),
                button("H_ResetTut", 40, below + 50, *p, "H_TUTORIAL_RESET", w=220),
                button("H_Credits", 40, below + 116, *p, "H_MEHR", w=220),
                button("HI_Back", 740, 640, *p, "ZURUECK")]
    body = screen("H_Hilfemenue", 10, 3, frame("H_HilfeRahmen", 32, 24, HELP_W, HELP_H, children))
    credits_children = [label("C_Titel", 20, 14, 760, 50, 800, 640, "C_TITEL", font="MenuUeberschrift"),
                        label("C_Text", 40, 80, 720, 460, 800, 640, "C_TEXT", font="MenuKlein",
                              flags="LEFT TOP WORDBREAK"),
                        label("C_Version", 40, 540, 500, 30, 800, 640, "VERSION", font="MenuKlein", flags="LEFT VCENTER"),
                        button("C_Back", 580, 570, 800, 640, "ZURUECK")]
    credits = screen("C_Fenster", 10, 3, frame("C_Rahmen", 112, 64, 800, 640, credits_children))
    return gui_file("The help screen (\"HILFEMENU\"): the page buttons \"H_HELP_S0\" .. \"H_HELP_S4\" and "
                    "\"H_HELP_CREDITS\", the picture window \"H_HELP_FENSTER\" showing the sub-page pictures "
                    "\"H_HELP_S\" page \"_\" sub-page, leafing with \"H_PREV\" and \"H_NEXT\", the credits page's "
                    "\"H_C_Credits\" and \"H_C_Version\", the page's text in \"HILFE_PANEL\". The page whose button "
                    f"has the user id \"{HELP_RULES_ID}\" shows the shipped games' rules, a game per sub-page. Then "
                    "the credits screen (\"CREDITSMENU\"). Written by tools/make_screen_gui.py.",
                    ["data\\Menu\\menu.tex", "data\\Menu\\rects.tex", "data\\GUI\\gui_textures.tex", "data\\Menu\\screens.tex"], body + credits)


def main():
    args = command_line.arguments(__doc__, 1)
    out = args[0] if args else os.path.join(HERE, "..", "data", "GUI")
    files = {"Erfolge.gui": achievements_gui(achievement_names()), "Optionen.gui": options_gui(),
             "Profile.gui": profiles_gui(), "Hilfe.gui": help_gui()}
    for name, text in files.items():
        with open(os.path.join(out, name), "w", encoding="ascii", newline="") as f:
            f.write(text)


if __name__ == "__main__":
    main()
