#!/usr/bin/env python3
"""The campaign's table: writes its chapters and levels into data/Level/Level.dat, the skeletons
of its story scenes into data/Story/Story.str, one chapter button per chapter into
data/GUI/Kategorie.gui and one header colour per chapter into data/GUI/Levelauswahl.gui.

Chapters 0 .. 20. Chapter N (N < 20) ends with its rest scene, due once the chapter counts as
finished ("KAPITEL_N_FINISHED"), which starts "MINIGAME_N"; the mini-game's end opens chapter
N + 1 ("MINIGAME_N_FINISHED"), whose intro scene then starts its level 0. Chapter 0's intro is
the hand-made "STORY_INTRO"; chapter 0's rest is "STORY_RAST" and chapter 1's intro "STORY_TURM"
(their old names). The gods come with the intros of chapters 2, 5, 8 and 11 ("GOD0" .. "GOD3").
Locks of the three colours after gold come in later chapters (LOCKED): from its chapter on, every
level of the game is the locked variant, and the first such level after the chapter's first brings
a scene ("STORY_SCHLOSS_<colour>") that starts that level ("START_NEXT_LEVEL") and then shows the
lock's tutorial ("START_TUTORIAL"). Passing the campaign's last level brings the homecoming
("STORY_HEIMKEHR"), which puts the main menu behind it as it starts ("ON_START_MENU").
Texts are written by hand in data/texte.lng ("STORY_KAPITEL_n_1/2", "STORY_RAST_n_1/2") and
data/Level/Level.lng ("GAME_KAPITEL_n"); this script writes none.

Level goals need play and grow with the chapter: a goal never holds on the dealt table (points
lie above the rule file's start score, remaining cards below the dealt count, cleared cards above
none), and none asks for more than a game can give: cleared and remaining cards are counted on
the tableau (a card laid off from the stock or the waste clears none), so a cleared-cards goal
stays below the cards dealt onto it. The written blocks sit between marker comments; the rest of each file is left as it is.

Usage: tools/make_campaign.py [repository root]   (default: this repository)
"""
import os
import re
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

CHAPTERS = 21
MINIGAMES = 20
# Chapter in whose intro each god comes.
GOD_CHAPTERS = {2: 0, 5: 1, 8: 2, 11: 3}

# name: rule file, cards dealt, cards dealt onto the tableau, start score, deals extra cards, the
# game it is a variant of
VARIANTS = {
    "GOLFPLATZ": ("Golfplatz.sol", 52, 35, 1000, False, "GOLFPLATZ"),
    "GOLDRAUSCH": ("Goldrausch.sol", 52, 28, 1000, False, "GOLDRAUSCH"),
    "GOLDRAUSCH_DREI": ("GoldrauschDrei.sol", 52, 28, 500, False, "GOLDRAUSCH_DREI"),
    "SPINNE": ("Spinne.sol", 104, 54, 1000, False, "SPINNE"),
    "ZELLEN": ("Zellen.sol", 52, 53, 1000, True, "ZELLEN"),
    "PAARE": ("Paare.sol", 52, 28, 1000, False, "PAARE"),
    "HERZREIHE": ("Herzreihe.sol", 13, 13, 1000, False, "HERZREIHE"),
    # The row of hearts with its jack face down: the first level after the god of hearts came,
    # whose power turns the jack up (campaign only).
    "HERZREIHE_VERDECKT": ("HerzreiheVerdeckt.sol", 13, 13, 1000, False, "HERZREIHE"),
    # The locked variants (campaign only); each deals its key where it is sure to be reached.
    "HERZREIHE_SILBER": ("HerzreiheSilber.sol", 13, 13, 1000, False, "HERZREIHE"),
    "PAARE_KUPFER": ("PaareKupfer.sol", 52, 28, 1000, False, "PAARE"),
    "ZELLEN_BLAU": ("ZellenBlau.sol", 52, 53, 1000, True, "ZELLEN"),
}
# Lock colour (1 silver, 2 copper, 3 blue; gold, 0, is the cells' own): the game, its locked
# variant, the chapter from which on it is dealt and the colour's word in the scene's name.
LOCKED = [
    (1, "HERZREIHE", "HERZREIHE_SILBER", 4, "SILBER"),
    (2, "PAARE", "PAARE_KUPFER", 8, "KUPFER"),
    (3, "ZELLEN", "ZELLEN_BLAU", 13, "BLAU"),
]
ORDER = ["ZELLEN", "GOLDRAUSCH_DREI", "SPINNE", "GOLFPLATZ", "GOLDRAUSCH", "PAARE", "HERZREIHE"]


def levels_of(chapter):
    """The variants of a chapter's levels, the locked ones in place of their games."""
    locked = {game: variant for _, game, variant, first, _ in LOCKED if chapter >= first}
    return [locked.get(v, v) for v in plain_levels_of(chapter)]


def plain_levels_of(chapter):
    if chapter == 0:
        # The first level teaches the golf course; two short rows of hearts finish the chapter.
        return ["GOLFPLATZ", "HERZREIHE", "HERZREIHE"]
    if chapter == 1:
        # The long journey: thirteen levels over two pages.
        return [ORDER[i % len(ORDER)] for i in range(13)]
    if chapter == 2:
        return ["HERZREIHE_VERDECKT", "ZELLEN", "GOLDRAUSCH_DREI", "SPINNE"]
    count = 4 + chapter // 4
    return [ORDER[(chapter * 3 + i) % len(ORDER)] for i in range(count)]


def goals_of(chapter, level, variant):
    """Three star goals (type, attributes) of a level; they grow with the chapter."""
    _, cards, tableau, start, extra, game = VARIANTS[variant]
    d = chapter
    # A share of the cards dealt, below the tableau's cards (a won game clears them all).
    cleared = max(3, min(tableau - 1, round(cards * (0.12 + 0.025 * d))))
    points = start + 300 + 150 * d
    rest = max(1, min(tableau - 1, round(tableau * (0.85 - 0.03 * d))))
    rest_ratio = round(max(0.15, 0.85 - 0.03 * d), 2)
    goal_ratio = round(min(0.9, 0.2 + 0.03 * d), 2)
    combo = 2 + d // 4
    empty = 1 + d // 6
    time = 900 - 25 * d
    if chapter == 0:
        # Three hearts on the arc earn the first star of the short rows.
        if level == 0:
            return [("GOALCARDS", {"MIN_CARDS": cleared}), ("POINTS", {"MIN_POINTS": points}), ("WIN", {})]
        if level == 1:
            return [("GOALCARDS", {"MIN_CARDS": 3}), ("POINTS", {"MIN_POINTS": points}), ("WIN", {})]
        return [("GOALCARDS", {"MIN_CARDS": 3}), ("EMPTY_TABLEAU_STAPEL", {"MIN_STAPEL": 6}), ("TIME", {"MAX_TIME": time})]
    if extra and (chapter + level) % 2 == 0:
        return [("EXTRACARDS", {"MIN_EXTRACARDS": 1}), ("STAPEL_EMPTY", {"MIN_STAPEL": empty}),
                ("REMOVE_ALL_TABLEAU_STAPEL", {})]
    # Remaining cards are the tableau's, so a count is safe only where every card is dealt onto
    # the tableau; elsewhere the share of the dealt tableau.
    if game == "HERZREIHE":
        rest_goal = ("RESTCARDS", {"MAX_CARDS": rest})
    else:
        rest_goal = ("RESTCARDS", {"MAX_CARDS_VERH": rest_ratio})
    kinds = [
        [("GOALCARDS", {"MIN_CARDS": cleared}), ("POINTS", {"MIN_POINTS": points}), ("WIN", {})],
        [("GOALCARDS", {"MIN_CARDS": cleared}), rest_goal, ("COMBO", {"MIN_COMBO": combo})],
        [("CARDS_ON_GOAL", {"MIN_CARDS_VERH": goal_ratio}), ("RESTCARDS", {"MAX_CARDS_VERH": rest_ratio}),
         ("EMPTY_TABLEAU_STAPEL", {"MIN_STAPEL": empty})],
        [("POINTS", {"MIN_POINTS": points}), ("TIME", {"MAX_TIME": time}), ("NOTHING", {})],
        [("POINTS", {"MIN_POINTS": points}), ("STAPEL_EMPTY", {"MIN_STAPEL": empty}), ("REMOVE_ALL_TABLEAU_STAPEL", {})],
    ]
    # Chapter 1 opens with points, a time and the filler.
    return kinds[(chapter + level + 2) % len(kinds)]


def level_dat_block(nl):
    lines = []
    t = "\t"
    # The campaign keeps the one card set whatever the player chose (its name in data/Styles.sty).
    lines.append(t + '<KATEGORIE NAME="KAMPAGNE" SHOW_IN_AUSWAHL="0" IS_STORY="1" OVERRIDE_GAMESTYLE="KLASSISCH">')
    taught = set()
    for c in range(CHAPTERS):
        extra = ""
        if c == CHAPTERS - 1:
            extra = ' SHOW_EXTRA_BANNER="1"'
        lines.append(t * 2 + '<GAME NAME="KAPITEL_%d"%s>' % (c, extra))
        for i, variant in enumerate(levels_of(c)):
            rule, _, _, _, _, game = VARIANTS[variant]
            a = [
                ('NAME', "LEVEL_%d" % i),
                ('FILE', "data\\Level\\" + rule),
                ('HELP_FILE', "REGELN_" + game),
                ('GAMENAME', "NAME_" + variant),
                ('TEXT_ID', "NAME_" + variant),
                ('UNLOCKS_PRE', "K%d_L%d_BEGONNEN" % (c, i)),
            ]
            last = c == CHAPTERS - 1 and i == len(levels_of(c)) - 1
            a.append(('UNLOCKS', "K%d_L%d_BESTANDEN" % (c, i)))
            if last:
                # The campaign's last level: passing it marks the campaign done.
                a.append(('UNLOCKS_POST', "KAMPAGNE_BESTANDEN"))
            if variant != game:
                # A variant of a game shows the game's preview; the game's tutorial taught it.
                a.append(('PREVIEW_FILE', "data\\Level\\" + VARIANTS[game][0].replace(".sol", ".png")))
            elif variant not in taught:
                a.append(('START_TUTORIAL', "SOLITAIRE_" + variant))
                taught.add(variant)
            if c in GOD_CHAPTERS and i == 0:
                # The level after a god came: its own tutorial file says what a god bar does.
                a.append(('TUTORIAL_FILE', "data\\Level\\Goetter.tut"))
                a.append(('SHOW_TUTORIAL', "GOETTER_%d" % GOD_CHAPTERS[c]))
            attrs = " ".join('%s="%s"' % kv for kv in a)
            lines.append(t * 3 + "<VARIANTE %s>" % attrs)
            for star, (kind, targets) in enumerate(goals_of(c, i, variant), start=1):
                more = "".join(' %s="%s"' % (k, v) for k, v in targets.items())
                lines.append(t * 4 + '<GOAL STARS="STAR%d" TYPE="%s"%s/>' % (star, kind, more))
            lines.append(t * 3 + "</VARIANTE>")
        lines.append(t * 2 + "</GAME>")
    lines.append(t + "</KATEGORIE>")
    return nl.join(lines)


def rest_name(c):
    return "STORY_RAST" if c == 0 else "STORY_RAST_%d" % c


def intro_name(c):
    return "STORY_TURM" if c == 1 else "STORY_KAPITEL_%d" % c


def text_ids(name):
    if name in ("STORY_RAST", "STORY_TURM"):
        return [name + "_1", name + "_2"]
    return [name + "_1", name + "_2"]


# The scenery of a scene by its chapter: the sky's colour (0 night, 1 dawn, 2 day) and the
# picture that rises with the first click.
SCENERY = ["TURM", "SONNE", "WOLKE"]
# The intros whose first text speaks of their picture: the tower ("STORY_TURM_1",
# "STORY_KAPITEL_2_1", "STORY_KAPITEL_20_1"). It stands on the horizon from the start.
TOLD_PICTURES = {1: "TURM", 2: "TURM", 20: "TURM"}


def scene(name, chapter, needed, end, unlock_post, rest, picture=None, told=False):
    """told: the first text speaks of the picture, which then stands where the click would raise it."""
    t = "\t"
    sky = 0 if rest else (2 if chapter % 2 else 1)
    if not rest and not picture:
        picture = SCENERY[chapter % len(SCENERY)]
    post = ' UNLOCK_POST="%s"' % unlock_post if unlock_post else ""
    out = [t + '<STORY_PART NAME="%s" SKIP_PART="WEITER"%s>' % (name, post)]
    out.append(t * 2 + '<NEEDED_UNLOCKS>"|%s|"</NEEDED_UNLOCKS>' % needed)
    out.append(t * 2 + "<START_END_PARAM %s>" % end)
    out.append(t * 3 + '<ACHIVEMENT ACHIVEMENT="STORY_GESEHEN" INC_ACHIVEMENT="1"/>')
    out.append(t * 2 + "</START_END_PARAM>")
    first, second = text_ids(name)
    out.append(t * 2 + "<SWITCH>")
    out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="HIMMEL" USE_COLOR="%d" START_MUSIK="1"/>' % sky)
    if picture:
        out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="BILD" USE_DRAW_RECT="0"/>')
    out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="FIGUR" USE_DRAW_RECT="1"/>')
    out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="TAFEL" USE_DRAW_RECT="1" USE_COLOR="1"/>')
    out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="TEXT1"/>')
    out.append(t * 2 + "</SWITCH>")
    out.append(t * 2 + '<SWITCH PLAY_SOUND="%s">' % ("STORY_GLOCKE" if rest else "STORY_WIND"))
    if picture:
        out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="BILD" USE_DRAW_RECT="1" SPEED="0.5" UEBERSCHWING_PERC="5" UEBERSCHWING_TIME="0.5"/>')
    out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="TEXT1" VISIBLE="0"/>')
    out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="TEXT2"/>')
    out.append(t * 2 + "</SWITCH>")
    out.append(t * 2 + '<SWITCH SWITCH_AT="1" TIMER="1.5"%s>' % ("" if rest else ' PLAY_SOUND="STORY_ENDE"'))
    out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="TAFEL" USE_DRAW_RECT="0" USE_COLOR="0" SPEED="1.5"/>')
    out.append(t * 3 + '<SWITCH_PARM PART_PART_NAME="TEXT2" VISIBLE="0"/>')
    out.append(t * 2 + "</SWITCH>")
    out.append(t * 2 + '<PART_PART NAME="HIMMEL" VORLAGE="HIMMEL"/>')
    if rest:
        for lc, tc in ((0.2, 0.2), (0.55, 0.1), (0.75, 0.25)):
            out.append(t * 2 + '<PART_PART NAME="STERN" VORLAGE="STERN">')
            out.append(t * 3 + '<POSITION TYPE="CATMULL" LC="%s" TC="%s" W="0.03" H="0.04" DISTANCE="0.01 0.04" TIME_FAKTOR="0.2 0.5"/>' % (lc, tc))
            out.append(t * 2 + "</PART_PART>")
    else:
        sizes = {"TURM": ("0.18", "0.48", "0.7", "0.25"), "SONNE": ("0.22", "0.293", "0.78", "0.08"),
                 "WOLKE": ("0.32", "0.21", "0.7", "0.1")}
        w, h, low, high = sizes[picture]
        if told:
            low = high
        left = "0.62" if chapter % 2 else "0.1"
        out.append(t * 2 + '<PART_PART NAME="BILD" ANIMATION="STORY_%s">' % picture)
        out.append(t * 3 + '<POSITION L="%s" T="%s" W="%s" H="%s"/>' % (left, low, w, h))
        out.append(t * 3 + '<POSITION L="%s" T="%s" W="%s" H="%s"/>' % (left, high, w, h))
        out.append(t * 2 + "</PART_PART>")
    out.append(t * 2 + '<PART_PART NAME="HUEGEL" VORLAGE="HUEGEL"/>')
    walker = 0.45 if rest else 0.3 + (chapter % 4) * 0.08
    out.append(t * 2 + '<PART_PART NAME="FIGUR" VORLAGE="FIGUR">')
    out.append(t * 3 + '<POSITION L="%.2f" T="0.53" W="0.09" H="0.18"/>' % walker)
    out.append(t * 2 + "</PART_PART>")
    out.append(t * 2 + '<PART_PART NAME="TAFEL" VORLAGE="TAFEL"/>')
    out.append(t * 2 + '<PART_PART NAME="TEXT1" VORLAGE="TEXT" RELATIV_TO="TAFEL" TEXT_ID="%s"/>' % first)
    out.append(t * 2 + '<PART_PART NAME="TEXT2" VORLAGE="TEXT" RELATIV_TO="TAFEL" TEXT_ID="%s"/>' % second)
    out.append(t * 2 + '<PART_PART NAME="WEITER" VORLAGE="WEITER"/>')
    out.append(t + "</STORY_PART>")
    return out


def lock_scenes():
    """(chapter, level, colour, scene name) of each lock colour's scene: the chapter's first locked
    level after its first (the intro starts level 0 by itself)."""
    out = []
    for colour, _, variant, first, word in LOCKED:
        level = levels_of(first).index(variant, 1)
        out.append((first, level, colour, "STORY_SCHLOSS_" + word))
    return out


def story_block(nl):
    out = []
    for c in range(CHAPTERS):
        if c >= 1:
            # The intro of chapter c, once the mini-game of chapter c - 1 has ended: it starts the
            # chapter's first level (with its tutorial when the level has one).
            end = 'ON_END_MENU="LEVELAUSWAHLMENU" START_LEVEL="1" CHAPTER="%d" LEVEL="0"' % c
            out += scene(intro_name(c), c, "MINIGAME_%d_FINISHED" % (c - 1), end,
                         ("GOD%d" % GOD_CHAPTERS[c]) if c in GOD_CHAPTERS else "", False,
                         TOLD_PICTURES.get(c), c in TOLD_PICTURES)
        for chapter, level, colour, name in lock_scenes():
            if chapter != c:
                continue
            # Due as the locked level starts (its "UNLOCKS_PRE"), in place of it: the level the
            # game was starting starts at the scene's end, then the lock's tutorial shows.
            end = 'START_NEXT_LEVEL="1" START_TUTORIAL="1" TUTORIAL="LOCKED_CARDS_FOUND_%d"' % colour
            out += scene(name, c, "K%d_L%d_BEGONNEN" % (c, level), end, "", False)
        if c == CHAPTERS - 1:
            # The homecoming, once the last level is passed: the main menu comes behind it as it
            # starts, so the journey ends where the game began.
            out += scene("STORY_HEIMKEHR", c, "KAMPAGNE_BESTANDEN", 'ON_START_MENU="HAUPTMENU"', "", False, "TURM", True)
        if c < MINIGAMES:
            end = 'START_MINIGAME="1" MINIGAME="%d"' % c
            out += scene(rest_name(c), c, "KAPITEL_%d_FINISHED" % c, end, "", True)
    return nl.join(out)


def chapter_buttons(nl):
    """21 tiles in three columns of seven in the 620 x 420 column."""
    t = "\t"
    out = []
    w, h, gap_x, gap_y = 200, 56, 10, 4
    for n in range(1, CHAPTERS + 1):
        col, row = (n - 1) % 3, (n - 1) // 3
        x, y = col * (w + gap_x), row * (h + gap_y)
        out.append(t * 4 + '<WINDOW NAME="K_KategorieButton%d">' % n)
        out.append(t * 5 + '<WINDOW_PARAMS><GUIRECT><POS_TL X_REL="%d 620" Y_REL="%d 420"/><SIZE X_REL="%d 620" Y_REL="%d 420"/></GUIRECT>' % (x, y, w, h))
        out.append(t * 6 + '<DRAWOPTIONS TEX_NORMAL="LA_KACHEL" TEX_MARK="LA_KACHEL_M" TEX_PRESS="LA_KACHEL_M" TEX_DISABLE="LA_KACHEL_D" MODULATE_COLOR="FFFFFFFF" ACTIVE_BLEND="0.12" INACTIVE_BLEND="0.25"/>')
        out.append(t * 5 + "</WINDOW_PARAMS>")
        out.append(t * 5 + '<WINDOW NAME="K_KapitelName%d" TYPE="LABEL">' % n)
        out.append(t * 6 + '<WINDOW_PARAMS><GUIRECT><POS_TL X_REL="8 %d" Y_REL="3 %d"/><SIZE X_REL="%d %d" Y_REL="24 %d"/></GUIRECT><OPTIONS INPUT_IGNORE="3"/></WINDOW_PARAMS>' % (w, h, w - 16, w, h))
        out.append(t * 6 + '<LABEL_PARAMS FONT_NAME="MenuText" FONT_STYLENAME="MenuDunkel" TEXT_ID="K_KAPITEL_%d" FLAGS="CENTER VCENTER"/>' % n)
        out.append(t * 5 + "</WINDOW>")
        out.append(t * 5 + '<WINDOW NAME="InfoLabel" TYPE="LABEL">')
        out.append(t * 6 + '<WINDOW_PARAMS><GUIRECT><POS_TL X_REL="8 %d" Y_REL="28 %d"/><SIZE X_REL="%d %d" Y_REL="24 %d"/></GUIRECT><OPTIONS INPUT_IGNORE="3"/></WINDOW_PARAMS>' % (w, h, w - 16, w, h))
        out.append(t * 6 + '<LABEL_PARAMS FONT_NAME="MenuText" FONT_STYLENAME="MenuDunkel" TEXT_ID="LOCKED" FLAGS="CENTER VCENTER"/>')
        out.append(t * 5 + "</WINDOW>")
        out.append(t * 4 + "</WINDOW>")
    return nl.join(out)


HEADER_COLOURS = ["FF3A6A30", "FF30487A", "FF7A3040", "FF6A5A20", "FF503070", "FF2A6A6A", "FF7A5030"]


def header_goals(nl):
    # The header ignores input in every colour, as in its window's own state.
    t = "\t"
    return nl.join(t * 4 + '<ANIMATION_GOAL NAME="KAT%d" SPEED="4" INTERPOLATE_GUIRECTS="0"><OPTIONS INPUT_IGNORE="1"/><DRAWOPTIONS TEX_NORMAL="gui_white" MODULATE_COLOR="%s"/></ANIMATION_GOAL>'
                   % (n, HEADER_COLOURS[(n - 1) % len(HEADER_COLOURS)]) for n in range(1, CHAPTERS + 1))


BEGIN = "<!-- tools/make_campaign.py writes from here -->"
END = "<!-- tools/make_campaign.py writes up to here -->"


def replace_block(path, make, encoding="latin-1"):
    with open(path, "rb") as f:
        text = f.read().decode(encoding)
    nl = "\r\n" if "\r\n" in text else "\n"
    pattern = re.compile(r"([ \t]*)" + re.escape(BEGIN) + r".*?" + re.escape(END), re.S)
    m = pattern.search(text)
    if not m:
        raise SystemExit("%s: the markers are missing" % path)
    indent = m.group(1)
    block = indent + BEGIN + nl + make(nl) + nl + indent + END
    text = text[:m.start()] + block + text[m.end():]
    with open(path, "wb") as f:
        f.write(text.encode(encoding))


def main():
    args = command_line.arguments(__doc__, 1)
    root = args[0] if args else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    replace_block(os.path.join(root, "data", "Level", "Level.dat"), level_dat_block)
    replace_block(os.path.join(root, "data", "Story", "Story.str"), story_block)
    replace_block(os.path.join(root, "data", "GUI", "Kategorie.gui"), chapter_buttons)
    replace_block(os.path.join(root, "data", "GUI", "Levelauswahl.gui"), header_goals)


if __name__ == "__main__":
    main()
