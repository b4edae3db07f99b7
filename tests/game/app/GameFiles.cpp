// The game application's test data tree (see GameFiles.h).
#include "tests/game/app/GameFiles.h"

#include <cstdio>

#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/TgaFile.h"
#include "tests/support/TestSupport.h"

namespace apptest {

namespace {

std::string const kCursorNames[17] = {"PFEIL_LT",      "PFEIL_CT",      "PFEIL_RT",      "PFEIL_LC",   "PFEIL_CC",
                                      "PFEIL_RC",      "PFEIL_LB",      "PFEIL_CB",      "PFEIL_RB",   "MOUSE_CURSOR1",
                                      "MOUSE_CURSOR2", "MOUSE_CURSOR3", "MOUSE_CURSOR4", "MOUSE_GOD0", "MOUSE_GOD1",
                                      "MOUSE_GOD2",    "MOUSE_GOD3"};

std::string colourText(uint32_t c) {
    char text[9];
    std::snprintf(text, sizeof(text), "%08X", c);
    return text;
}

std::string texture(std::string const& name, std::string const& file) {
    return "<TEXTUR2D NAME=\"" + name + "\"><FILE FILENAME=\"" + file +
           "\"/><FILE_INFO Format=\"A8R8G8B8\" Pool=\"MANAGED\"/></TEXTUR2D>";
}

std::string rectXml(float x, float y, float w, float h) {
    return "<GUIRECT><POS_TL X_OFF=\"" + std::to_string(x) + "\" Y_OFF=\"" + std::to_string(y) + "\"/><SIZE X_OFF=\"" +
           std::to_string(w) + "\" Y_OFF=\"" + std::to_string(h) + "\"/></GUIRECT>";
}

std::string fullRect() { return "<GUIRECT><POS_TL X_REL=\"0\" Y_REL=\"0\"/><SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT>"; }

// A screen of a menu: hidden ("AUS") until its menu shows it ("AN"), at once.
std::string screen(std::string const& name, int layer, uint32_t colour, std::string const& children) {
    std::string const layered = "<DRAWOPTIONS EBENE=\"" + std::to_string(layer) + "\" MODULATE_COLOR=\"" +
                                colourText(colour) + "\"";
    return "<WINDOW NAME=\"" + name + "\"><WINDOW_PARAMS ANIMATION_GOAL=\"AUS\">" + fullRect() + layered +
           " TEX_NORMAL=\"weiss\"/><ANIMATION_GOAL NAME=\"AN\" SPEED=\"1000\">" + fullRect() +
           "<OPTIONS VISIBLE=\"1\"/>" + layered + " ALPHA=\"1\"/></ANIMATION_GOAL><ANIMATION_GOAL NAME=\"AUS\" SPEED=\"1000\">" +
           fullRect() + "<OPTIONS VISIBLE=\"0\"/>" + layered + " ALPHA=\"0\"/></ANIMATION_GOAL></WINDOW_PARAMS>" + children +
           "</WINDOW>";
}

std::string window(std::string const& name, std::string const& type, float x, float y, float w, float h,
                   std::string const& extra = "") {
    return "<WINDOW NAME=\"" + name + "\"" + (type.empty() ? "" : " TYPE=\"" + type + "\"") + "><WINDOW_PARAMS>" +
           rectXml(x, y, w, h) + "<DRAWOPTIONS TEX_NORMAL=\"weiss\" MODULATE_COLOR=\"" + colourText(kWindowColour) + "\"/>" + extra +
           "</WINDOW_PARAMS></WINDOW>";
}

// A window over the whole of its parent, drawing nothing of its own.
std::string fullWindow(std::string const& name) {
    return "<WINDOW NAME=\"" + name + "\"><WINDOW_PARAMS>" + fullRect() + "</WINDOW_PARAMS></WINDOW>";
}

// An information panel: goals "AUS" (hidden) and "CENTER" (shown).
std::string panel(std::string const& name) {
    std::string const r = rectXml(100, 100, 60, 30);
    return "<WINDOW NAME=\"" + name + "\"><WINDOW_PARAMS ANIMATION_GOAL=\"AUS\">" + r +
           "<ANIMATION_GOAL NAME=\"CENTER\" SPEED=\"1\">" + r + "<OPTIONS VISIBLE=\"1\"/></ANIMATION_GOAL>" +
           "<ANIMATION_GOAL NAME=\"AUS\" SPEED=\"1\">" + r + "<OPTIONS VISIBLE=\"0\"/></ANIMATION_GOAL>" +
           "</WINDOW_PARAMS></WINDOW>";
}

// A mono 16-bit PCM WAV of a short tone.
std::string wav(unsigned samples) {
    auto put = [](std::string& b, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    std::string b = "RIFF";
    put(b, 36 + samples * 2, 4);
    b += "WAVEfmt ";
    put(b, 16, 4);
    put(b, 1, 2);
    put(b, 1, 2);
    put(b, 22050, 4);
    put(b, 44100, 4);
    put(b, 2, 2);
    put(b, 16, 2);
    b += "data";
    put(b, samples * 2, 4);
    for (unsigned i = 0; i < samples; ++i) put(b, (i / 25) % 2 ? 0x2000u : 0xE000u, 2);
    return b;
}

// A medal: hidden at "AUS", shown at "AN", gone at "WEG".
std::string medal(std::string const& name) {
    std::string const r = rectXml(0, 0, 10, 10);
    return "<WINDOW NAME=\"" + name + "\"><WINDOW_PARAMS ANIMATION_GOAL=\"AUS\">" + r +
           "<ANIMATION_GOAL NAME=\"AN\" SPEED=\"1\">" + r + "<OPTIONS VISIBLE=\"1\"/></ANIMATION_GOAL>" +
           "<ANIMATION_GOAL NAME=\"AUS\" SPEED=\"1\">" + r + "<OPTIONS VISIBLE=\"0\"/></ANIMATION_GOAL>" +
           "<ANIMATION_GOAL NAME=\"WEG\" SPEED=\"1\">" + r + "<OPTIONS VISIBLE=\"0\"/></ANIMATION_GOAL>" +
           "</WINDOW_PARAMS></WINDOW>";
}

std::string progressBar(std::string const& name, float x, float y, float w, float h) {
    return "<WINDOW NAME=\"" + name + "\" TYPE=\"PROGRESSBAR\"><WINDOW_PARAMS>" + rectXml(x, y, w, h) +
           "<DRAWOPTIONS TEX_NORMAL=\"weiss\" MODULATE_COLOR=\"FF000000\"/></WINDOW_PARAMS>"
           "<PROGRESSBAR_PARAMS MAX_WERT=\"1\" AKT_WERT=\"0\" TYP=\"LEFT_RIGHT\" CUT_TEXTURE=\"0\">"
           "<TEXTURES_2D_PROGRESS TEX_NORMAL=\"weiss\"/></PROGRESSBAR_PARAMS></WINDOW>";
}

std::string menu(std::string const& name, std::string const& windows, std::string const& links = "") {
    return "<GUIMENU NAME=\"" + name + "\" MENU_ID=\"1\"><LINKED_GUI_WINDOWS>" + windows + "</LINKED_GUI_WINDOWS>" +
           links + "</GUIMENU>";
}

}  // namespace

uint32_t rectsColour(unsigned row, unsigned column, unsigned piece) {
    return 0xFF000000u | ((column * 25u + 10u) << 16) | ((row * 100u + 20u) << 8) | (piece * 25u + 5u);
}

uint32_t cursorColour(int index, int frame) {
    return 0xFF000000u | (static_cast<uint32_t>(index) * 14u + 8u) << 16 | (frame ? 0xC000u : 0x4000u) | 0x30u;
}

GameFiles::GameFiles() {
    std::string const sprite = port::toUtf8(port::windowsPath((testsupport::sourceDir() / "data/FX/sprite.fx").string()));
    files["data/FX/effecte.fxf"] =
        "<EFFECTE><EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" + sprite +
        "\"/><MACROS><MACRO NAME=\"SPRITE_POINT_FILTER\" DEFINITION=\"1\"/></MACROS></EFFECT></EFFECTE>";

    // Pictures.
    files["data/GUI/weiss.tga"] = solidTga(4, 4, 0xFFFFFFFF);
    files["data/GUI/links.tga"] = solidTga(4, 4, kBandLeft);
    files["data/GUI/rechts.tga"] = solidTga(4, 4, kBandRight);
    files["data/GUI/oben.tga"] = solidTga(4, 4, kBandTop);
    files["data/GUI/unten.tga"] = solidTga(4, 4, kBandBottom);
    files["data/GUI/bilder.tex"] = "<TEXTURES>" + texture("weiss", "data\\GUI\\weiss.tga") + "</TEXTURES>";
    files["data/GUI/rand.tex"] = "<TEXTURES>" + texture("R_LEFT", "data\\GUI\\links.tga") +
                                 texture("R_RIGHT", "data\\GUI\\rechts.tga") + texture("R_TOP", "data\\GUI\\oben.tga") +
                                 texture("R_BOTTOM", "data\\GUI\\unten.tga") + "</TEXTURES>";

    // The screen frame: the bands fill the margins around the centre window.
    float const m = kFrameMargin;
    files["data/GUI/Rand.gui"] =
        "<GUI><TEXTURES FILE=\"data\\GUI\\bilder.tex\"/><TEXTURES FILE=\"data\\GUI\\rand.tex\"/>"
        "<WINDOW NAME=\"R_RANDMENU\"><WINDOW_PARAMS>" + fullRect() +
        "<DRAWOPTIONS EBENE=\"0\" MODULATE_COLOR=\"FFFFFFFF\"/></WINDOW_PARAMS>"
        "<WINDOW NAME=\"R_RANDCENTER\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"" + std::to_string(m) + "\" Y_OFF=\"" +
        std::to_string(m) + "\"/><SIZE X_REL=\"1\" Y_REL=\"1\" X_OFF=\"" + std::to_string(-2 * m) + "\" Y_OFF=\"" +
        std::to_string(-2 * m) + "\"/></GUIRECT><DRAWOPTIONS TEX_NORMAL=\"weiss\" MODULATE_COLOR=\"00000000\"/>"
        "</WINDOW_PARAMS></WINDOW></WINDOW></GUI>";

    files["data/GUI/Loadscreen.gui"] =
        "<GUI><WINDOW NAME=\"LoadingScreens\"><WINDOW_PARAMS>" + fullRect() +
        "<OPTIONS INPUT_IGNORE=\"3\"/><DRAWOPTIONS EBENE=\"50\"/></WINDOW_PARAMS>"
        "<WINDOW NAME=\"L_SplashScreen\"><WINDOW_PARAMS>" + fullRect() +
        "<OPTIONS VISIBLE=\"0\"/><DRAWOPTIONS TEX_NORMAL=\"weiss\" MODULATE_COLOR=\"" + colourText(kSplashColour) +
        "\"/></WINDOW_PARAMS>" + progressBar("LS_SplashProgress", 20, 20, 100, 10) + "</WINDOW></WINDOW></GUI>";

    std::string ingame = fullWindow("I_DRAW") + fullWindow("I_RenderWindow") + fullWindow("I_RenderWindowOverlay") +
                         window("TMPWINDOW", "", 0, 0, 8, 8) + panel("I_GameName") + panel("I_Help") +
                         progressBar("I_GODS_1", 10, 200, 40, 8) + progressBar("I_GODS_2", 60, 200, 40, 8) +
                         progressBar("I_GODS_4", 160, 200, 40, 8) + progressBar("I_TIPP", 210, 200, 40, 8);
    for (char const* name : {"I_ABSCHLUSS_NIX", "I_ABSCHLUSS_BRONZE", "I_ABSCHLUSS_SILBER", "I_ABSCHLUSS_GOLD",
                             "I_ABSCHLUSS_PERFEKT"})
        ingame += medal(name);
    files["data/GUI/screens.gui"] =
        "<GUI><TEXTURES FILE=\"data\\GUI\\bilder.tex\"/>" +
        screen("S_START", 1, kStartScreenColour,
               window("S_WEITER", "BUTTON", 100, 100, 120, 40) + window("S_STUMM", "BUTTON", 100, 160, 120, 40,
                                                                      "<OPTIONS INPUT_IGNORE=\"1\"/>")) +
        screen("H_HAUPT", 1, kMainScreenColour, window("H_KNOPF", "BUTTON", 20, 20, 60, 30)) +
        screen("I_SPIEL", 2, 0xFF204020, ingame) + screen("T_TUTORIAL", 3, 0x00000000, "") +
        screen("A_AUSWERTUNG", 3, 0xFF404040, "") + "</GUI>";
    files["data/GUI/menus.mnu"] =
        "<MENUES><GUI FILE=\"data\\GUI\\screens.gui\"/><GUIMENUS ACTIVE_MENU=\"STARTMENU\">" +
        menu("STARTMENU", "\"|S_START|\"",
             "<GUIMENULINK NAME=\"WEITER\"><TRIGGER_WINDOW_LCLICK>\"|S_WEITER|\"</TRIGGER_WINDOW_LCLICK>"
             "<ACTIVATE_MENUS>\"|HAUPTMENU|\"</ACTIVATE_MENUS></GUIMENULINK>") +
        menu("HAUPTMENU", "\"|H_HAUPT|\"") + menu("INGAMEMENU", "\"|I_SPIEL|\"") +
        "<GUIMENU NAME=\"TUTORIALMENU\" MENU_ID=\"2\"><LINKED_GUI_WINDOWS>\"|T_TUTORIAL|\"</LINKED_GUI_WINDOWS>"
        "<INVERT_STATE ID_MASK=\"0\"/></GUIMENU>" + menu("AUSWERTUNGMENU", "\"|A_AUSWERTUNG|\"") +
        "</GUIMENUS></MENUES>";

    // The hover sound.
    files["data/Sounds/over.wav"] = wav(2205);
    files["data/Sounds/sounds.snd"] =
        "<SOUNDS><SOUND><ENTRY NAME=\"OverButton\" VOLUME=\"1\">\"|data\\Sounds\\over.wav|\"</ENTRY></SOUND></SOUNDS>";

    // Texts and the pause font.
    files["data/texte.lng"] =
        "<TEXTE DEF_LANGUAGE=\"GER\"><TEXT NAME=\"PAUSE\" LANG=\"GER\">\"|Pause|\"</TEXT>"
        "<TEXT NAME=\"PUNKTE\" LANG=\"GER\">\"|Punkte: %s|\"</TEXT></TEXTE>";
    files["data/font.fnt"] =
        "<FONTS><FONTSTYLE NAME=\"PauseText\" COLOR_VG=\"FFFFFFFF\" COLOR_HG=\"00000000\"/>"
        "<D3DXFONT NAME=\"PauseFont\" FONT_NAME=\"Arial\" HEIGHT=\"24\"/></FONTS>";

    // Cursors: two frames each, played once (the pointer pictures play back on release).
    std::string animations = "<ANIMATIONS><TEXTURES>";
    for (int i = 0; i < 17; ++i) {
        std::string const file = "data/menu/cursor" + std::to_string(i) + ".tga";
        files[file] = makeTga(8, 4, [i](unsigned x, unsigned) { return cursorColour(i, x >= 4 ? 1 : 0); });
        animations += texture("cursor" + std::to_string(i), "data\\menu\\cursor" + std::to_string(i) + ".tga");
    }
    animations += "</TEXTURES>";
    for (int i = 0; i < 17; ++i)
        animations += "<ANIMATION_2D NAME=\"" + kCursorNames[i] + "\" ANIMSPEED=\"10\" PLAY=\"1\" PLAY_TYPE=\"ONCE\">"
                      "<FRAMES TEXTUR=\"cursor" + std::to_string(i) +
                      "\"><FRAME_PARAMS ANZ_FRAMES=\"2\" SPALTEN=\"2\"/></FRAMES></ANIMATION_2D>";
    files["data/menu/mouse.ani"] = animations + "</ANIMATIONS>";

    // The frame texture: two rows of nine cells.
    files["Data/Menu/rects.tga"] = makeTga(900, 200, [](unsigned x, unsigned y) {
        unsigned const cx = x % 100;
        unsigned const cy = y % 100;
        unsigned const piece = cx < 90 && cy < 90 ? cx / 30 + 3 * (cy / 30) : 9;
        return rectsColour(y / 100, x / 100, piece);
    });
    files["Data/Menu/rects.tex"] = "<TEXTURES>" + texture("RECTS", "Data\\Menu\\rects.tga") + "</TEXTURES>";
}

void GameFiles::write(std::filesystem::path const& folder) const {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (auto const& [path, bytes] : files) testsupport::writeFile(folder / path, bytes);
}

}  // namespace apptest
