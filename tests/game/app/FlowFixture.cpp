// The game on a copy of its data with the flow tests' catalogue, button panel and plain menus.
#include "tests/game/app/FlowFixture.h"

#include <algorithm>

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/platform/DirectInputInterface.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/TableRenderer.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

namespace apptest {

namespace {

namespace fs = std::filesystem;

// The panel's buttons in rows along the bottom of a 1024 x 768 screen, below the table.
constexpr std::size_t kPerRow = 12;
constexpr float kButtonWidth = 80.0f;
constexpr float kButtonHeight = 22.0f;
constexpr float kFirstRow = 604.0f;
constexpr float kRowStep = 26.0f;
constexpr float kColumnStep = 84.0f;
constexpr double kFrame = 1.0 / 30.0;
// A card's flight to the goal pile and the move's resolution.
constexpr double kMoveSeconds = 0.6;

// The menus the game opens: a plain one for each the data does not hold (id 2: over the screen).
struct PlainMenu {
    char const* name;
    int id;
};
constexpr PlainMenu kPlainMenus[] = {
    {"AUSWERTUNGMENU", 1},      {"LEVELAUSWAHLMENU", 1}, {"FREIESSPIELMENU", 1},   {"PROFILMENU", 1},
    {"STATISTIKENGAMEMENU", 1}, {"STATISTIKENMENU", 1},  {"SHOPMENU", 2},          {"OPTIONENMENU", 1},
    {"USE_SETTINGS_MENU", 2},   {"KATEGORIEMENU", 1},    {"MINIGAMEMENU", 1},      {"HILFEMENU", 1},
    {"CREDITSMENU", 1},         {"TUTORIALMENU", 2},     {"ACHIVEMENTS_MENU", 1},  {"ACHIVEMENTS_MENU2", 1},
    {"EXTRASMENUW_SAVED", 2},   {"WALLPAPER_FOLDER", 1},
};

std::string number(float v) { return std::to_string(static_cast<int>(v)); }

void replaceAll(std::string& text, std::string const& from, std::string const& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Every button of the panel a light square above the screens; "FT_WALLPAPER" carries a user id.
std::string panelFile() {
    std::string gui = "<!-- The flow tests' buttons. -->\n<GUI><WINDOW NAME=\"FT_Tafel\"><WINDOW_PARAMS><GUIRECT><POS_TL/>"
                      "<SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT><OPTIONS INPUT_IGNORE=\"1\"/><DRAWOPTIONS EBENE=\"90\"/>"
                      "</WINDOW_PARAMS>\n";
    std::vector<std::string> const& names = FlowFixture::panelButtonNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        float const x = 8.0f + static_cast<float>(i % kPerRow) * kColumnStep;
        float const y = kFirstRow + static_cast<float>(i / kPerRow) * kRowStep;
        std::string const user = names[i] == "FT_WALLPAPER" ? " USER_ID=\"Tapete\"" : "";
        gui += "<WINDOW NAME=\"" + names[i] + "\" TYPE=\"BUTTON\"" + user + "><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"" +
               number(x) + "\" Y_OFF=\"" + number(y) + "\"/><SIZE X_OFF=\"" + number(kButtonWidth) + "\" Y_OFF=\"" +
               number(kButtonHeight) + "\"/></GUIRECT><DRAWOPTIONS TEX_NORMAL=\"gui_white\" MODULATE_COLOR=\"FFB0C4DE\"/>"
               "</WINDOW_PARAMS></WINDOW>\n";
    }
    return gui + "</WINDOW></GUI>\n";
}

// A goal of a test window: shown or hidden at its place.
std::string goal(char const* name, bool visible, std::string const& rect) {
    return "<ANIMATION_GOAL NAME=\"" + std::string(name) + "\" SPEED=\"1000\">" + rect + "<OPTIONS VISIBLE=\"" +
           (visible ? "1" : "0") + "\"/></ANIMATION_GOAL>";
}

std::string rect(int x, int y, int w, int h) {
    return "<GUIRECT><POS_TL X_OFF=\"" + std::to_string(x) + "\" Y_OFF=\"" + std::to_string(y) + "\"/><SIZE X_OFF=\"" +
           std::to_string(w) + "\" Y_OFF=\"" + std::to_string(h) + "\"/></GUIRECT>";
}

std::string label(char const* name, char const* textId, int x, int y, std::string const& goals = std::string()) {
    std::string const r = rect(x, y, 200, 20);
    return "<WINDOW NAME=\"" + std::string(name) + "\" TYPE=\"LABEL\"><WINDOW_PARAMS>" + r +
           "<OPTIONS INPUT_IGNORE=\"3\"/>" + goals + "</WINDOW_PARAMS><LABEL_PARAMS FONT_NAME=\"MenuKlein\" TEXT_ID=\"" +
           textId + "\"/></WINDOW>";
}

// Windows of the screens other parts of the game fill, which the flow reaches by name: the seed
// field, the banner and the help panel, the HUD button with the story looks, the shop's labels,
// the version label, the resolution slider and the highscore frame. Left of the table, at a layer
// below the screens.
std::string extrasFile() {
    std::string const bannerRect = rect(300, 20, 400, 30);
    std::string const helpRect = rect(300, 60, 400, 30);
    std::string const hgRect = rect(2, 2, 4, 4);
    return "<!-- Windows of other screens the flow tests reach by name. -->\n<GUI>"
           "<TEXTURES FILE=\"data\\GUI\\FlowTest.tex\"/>"
           "<WINDOW NAME=\"FT_Extras\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT>"
           "<OPTIONS INPUT_IGNORE=\"3\"/><DRAWOPTIONS EBENE=\"3\"/></WINDOW_PARAMS>" +
           label("FG_SEED", "OK", 2, 300) +
           label("I_GameName", "FT_BANNER", 300, 20,
                 goal("AN", true, bannerRect) + goal("AUS", false, bannerRect)) +
           label("I_Help", "FT_HILFE", 300, 60,
                 goal("AN", true, helpRect) + goal("AUS", false, helpRect) + goal("CENTER", true, helpRect)) +
           "<WINDOW NAME=\"I_HG\"><WINDOW_PARAMS>" + hgRect + goal("ST", true, hgRect) + goal("FG", true, hgRect) +
           goal("ST_ALT", true, hgRect) + "</WINDOW_PARAMS></WINDOW>" +
           label("S_MONEY", "FT_ZAHL", 2, 330) + label("S_PRICE_JOKER", "FT_ZAHL", 2, 350) +
           label("S_PRICE_WILDCARD", "FT_ZAHL", 2, 370) + label("C_Version", "VERSION", 2, 390) +
           "<WINDOW NAME=\"STG_StatistikenGameFrame\"><WINDOW_PARAMS>" + rect(2, 410, 4, 4) + "</WINDOW_PARAMS></WINDOW>"
           "<WINDOW TYPE=\"SLIDER\" NAME=\"AufloesungSlider\"><WINDOW_PARAMS>" + rect(2, 430, 100, 10) +
           "</WINDOW_PARAMS><SLIDER_PARAMS VALUE_RANGE=\"0 1\" VALUE=\"0\" HORIZONTAL=\"1\" SHOW_BUTTONS=\"0\">"
           "<SLIDER_INNEN NAME=\"FT_Knauf\"><WINDOW_PARAMS>" + rect(0, 0, 8, 10) + "</WINDOW_PARAMS></SLIDER_INNEN>"
           "<SLIDER_AUSSEN NAME=\"FT_Bahn\"/></SLIDER_PARAMS></WINDOW>"
           "</WINDOW></GUI>\n";
}

// The picture the wallpaper button saves.
std::string const kTextureList =
    "<TEXTURES><TEXTUR2D NAME=\"FT_WALLPAPER\"><FILE FILENAME=\"data\\GUI\\gui_white.png\"/>"
    "<FILE_INFO Format=\"A8R8G8B8\" Pool=\"MANAGED\"/></TEXTUR2D></TEXTURES>\n";

// The test texts, ahead of the game's (the first text of a name wins).
std::string const kTexts =
    "\t<TEXT NAME=\"FT_ZAHL\" LANG=\"GER\">\"|Zahl %s|\"</TEXT>\r\n"
    "\t<TEXT NAME=\"FT_BANNER\" LANG=\"GER\">\"|Level %s|\"</TEXT>\r\n"
    "\t<TEXT NAME=\"FT_HILFE\" LANG=\"GER\">\"|Hilfe|\"</TEXT>\r\n"
    "\t<TEXT NAME=\"VERSION\" LANG=\"GER\">\"|Version %d.%d|\"</TEXT>\r\n";

// The menu file with the panel's GUI file and the plain menus the data lacks.
std::string menuFile(std::string menus) {
    std::string const guiLine = "\t<GUI FILE=\"data\\GUI\\Warnung.gui\"/>";
    std::size_t const at = menus.find(guiLine);
    if (at != std::string::npos)
        menus.insert(at + guiLine.size(),
                     "\n\t<GUI FILE=\"data\\GUI\\FlowTest.gui\"/>\n\t<GUI FILE=\"data\\GUI\\FlowExtras.gui\"/>");
    std::string plain;
    for (PlainMenu const& menu : kPlainMenus) {
        if (menus.find("GUIMENU NAME=\"" + std::string(menu.name) + "\"") != std::string::npos) continue;
        plain += "\t\t<GUIMENU NAME=\"" + std::string(menu.name) + "\" MENU_ID=\"" + std::to_string(menu.id) + "\"" +
                 (menu.id == 2 ? "><INVERT_STATE ID_MASK=\"0\"/></GUIMENU>\n" : "/>\n");
    }
    std::size_t const end = menus.rfind("</GUIMENUS>");
    if (end != std::string::npos) menus.insert(end, plain);
    return menus;
}

}  // namespace

std::vector<std::string> const& FlowFixture::panelButtonNames() {
    static std::vector<std::string> const names = {
        "FG_StartButton", "FG_Preview",        "HSE_SPIELEN",    "HSE_DELETE",       "HSE_COPYSEED",    "I_END_GAME",
        "P_NEUSTART",     "A_RESTART",         "P_HILFE",        "I_Info",           "P_ENDE",          "STG_RESET",
        "ST_RESET",       "H_HELP_CREDITS",    "H_HELP_S12",     "H_HELP_S",         "H_PREV",          "H_NEXT",
        "P_NEUButton",    "P_DELButton",       "P_Back",         "NP_CancelButton",  "NP_OKButton",     "O_UPDATE",
        "O_Back",         "ResetStory",        "H_ResetTut",     "O_Tutorial_Reset", "H_Exit",          "B_OK",
        "US_OK",          "US_CANCEL",         "O_CARDSET_PREV", "O_CARDSET_NEXT",   "O_CARDBACK_PREV", "O_CARDBACK_NEXT",
        "A_BACK",         "A_NEXT",            "I_Undo_Start",   "I_Undo_Step",      "I_Redo_Step",     "I_Redo_End",
        "I_Load",         "I_Save",            "I_Shuffle",      "I_TIPP",           "LA_CLOSE",        "I_Shop",
        "T_STORY_CLICK",  "T_END_STORY_CLICK", "FT_WALLPAPER",   "FT_KNOPF",         "LB_OK",  "P_LoeschenJa",
    };
    return names;
}

void FlowFixture::SetUp() {}

void FlowFixture::TearDown() {
    Solitaire::SolTutorialManager::instance().tutorialStarted.disconnect(&tutorialLog);
    Solitaire::SolTutorialManager::instance().closeTutorial();
    Solitaire::SolTutorialManager::instance().setProfile(nullptr);
    if (game) stop();
    Solitaire::ProfilManager::instance().setFilePath(L"");
    Solitaire::SolitaireManager::instance().clear();
    std::error_code ec;
    fs::remove_all(stage, ec);
}

void FlowFixture::startFlow(std::string const& profileText) {
    stage = testsupport::makeTempDir("flow");
    fs::copy(testsupport::sourceDir() / "data", stage / "data", fs::copy_options::recursive);
    fs::copy_file(testsupport::sourceDir() / "tests/game/app/flow_data/Level.dat", stage / "data/Level/Level.dat",
                  fs::copy_options::overwrite_existing);
    testsupport::writeFile(stage / "data/GUI/FlowTest.gui", panelFile());
    testsupport::writeFile(stage / "data/GUI/FlowExtras.gui", extrasFile());
    testsupport::writeFile(stage / "data/GUI/FlowTest.tex", kTextureList);
    std::string menus = menuFile(testsupport::readFile(stage / "data/GUI/menus.mnu"));
    if (firstMenu != "STARTMENU") replaceAll(menus, "ACTIVE_MENU=\"STARTMENU\"", "ACTIVE_MENU=\"" + firstMenu + "\"");
    testsupport::writeFile(stage / "data/GUI/menus.mnu", menus);
    std::string texts = testsupport::readFile(stage / "data/texte.lng");
    std::size_t const top = texts.find('\n', texts.find("<TEXTE"));
    texts.insert(top + 1, kTexts + extraTexts);
    testsupport::writeFile(stage / "data/texte.lng", texts);
    for (DataEdit const& edit : dataEdits) {
        std::string text = testsupport::readFile(stage / edit.file);
        EXPECT_NE(text.find(edit.from), std::string::npos) << edit.file << ": " << edit.from;
        replaceAll(text, edit.from, edit.to);
        testsupport::writeFile(stage / edit.file, text);
    }
    fs::path const profiles = stage / "profile.prf";
    if (!profileText.empty()) testsupport::writeFile(profiles, profileText);
    Solitaire::ProfilManager::instance().setFilePath(port::windowsPath(profiles.string()));
    startOn(stage, kFlowWidth, kFlowHeight);
    // The data's own tutorial strips would open over the screens under test: a test adds the
    // strips it wants to see (addStrip).
    if (!withDataTutorials) Orvex::TutorialManager::instance().clear();
    tutorialLog.fixture = this;
    tutorialLog.shown.clear();
    Solitaire::SolTutorialManager::instance().tutorialStarted.connect(&tutorialLog, &TutorialLog::onShown);
    step(kFrame);
    // A player with a profile leaves the start screen for the main menu.
    if (startAtMainMenu && firstMenu == "STARTMENU" && Solitaire::ProfilManager::instance().getActiveProfile())
        showMenu(L"HAUPTMENU");
}

Orvex::GUIWindow* FlowFixture::button(std::wstring const& name) const {
    Orvex::GUIWindow* panel = find(L"FT_Tafel");
    return panel ? panel->findChild(name) : nullptr;
}

Orvex::MouseState FlowFixture::mouseAt(float x, float y, int held) {
    pointerAt(x, y);
    Orvex::MouseState state;
    state.x = x;
    state.y = y;
    if (held >= 0) state.setButtonDown(held, true);
    return state;
}

void FlowFixture::moveTo(float x, float y) {
    Orvex::MouseState state = mouseAt(x, y);
    Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
    game->getTableInput().onMouseMove(state, axis);
}

void FlowFixture::pressAt(float x, float y, Orvex::OrvexMouseButton button) {
    moveTo(x, y);
    Orvex::MouseState state = mouseAt(x, y, static_cast<int>(button));
    game->getTableInput().onMouseDown(state, button);
}

void FlowFixture::releaseAt(float x, float y, Orvex::OrvexMouseButton button) {
    Orvex::MouseState state = mouseAt(x, y);
    game->getTableInput().onMouseUp(state, button);
}

void FlowFixture::doubleClickAt(float x, float y) {
    // As the window system tells of it: a click, then the second press as a double click.
    pressAt(x, y);
    releaseAt(x, y);
    Orvex::MouseState state = mouseAt(x, y, Orvex::OMB_LEFT);
    Orvex::OrvexMouseButton const left = Orvex::OMB_LEFT;
    game->getTableInput().onMouseDoubleClick(state, left);
    releaseAt(x, y);
}

void FlowFixture::click(Orvex::GUIWindow* window) {
    ASSERT_NE(window, nullptr);
    Orvex::FRect const r = window->getScreenRect();
    float const x = (r.left + r.right) * 0.5f;
    float const y = (r.top + r.bottom) * 0.5f;
    pressAt(x, y);
    releaseAt(x, y);
}

void FlowFixture::endLevel() {
    click(L"I_END_GAME");
    if (activeMenu() == L"LEVELBEENDENMENU") click(L"LB_OK");
}

void FlowFixture::settle(double seconds) {
    for (double t = 0.0; t < seconds; t += kFrame) step(kFrame);
}

Solitaire::Karte* FlowFixture::heart(int value) const {
    for (Solitaire::Karte* card : Solitaire::Kartenmanager::instance().cards)
        if (card->getValue() == value) return card;
    return nullptr;
}

D3DXVECTOR2 FlowFixture::pointOf(Solitaire::Karte const& card) const {
    Orvex::FRect const r = Solitaire::computeScreenRect(card, Solitaire::Kartenmanager::instance().getCamera());
    return game->getRenderer()->toWindowPoint(D3DXVECTOR2((r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f));
}

void FlowFixture::dismissPanels() {
    for (int i = 0; i < 2; ++i)
        if (game->getHud().getGameNameBlend().target > 0.5f || game->getHud().getHelpBlend().target > 0.5f) {
            pressAt(kQuietX, kQuietY);
            releaseAt(kQuietX, kQuietY);
        }
}

void FlowFixture::moveHearts(int count) {
    Solitaire::Kartenstapel* goal = Solitaire::Kartenmanager::instance().findPile(L"STAPEL_ZIEL");
    ASSERT_NE(goal, nullptr);
    dismissPanels();
    for (int value = 0; value < count; ++value) {
        Solitaire::Karte* card = heart(value);
        ASSERT_NE(card, nullptr);
        D3DXVECTOR2 const from = pointOf(*card);
        if (value == 0) {
            Orvex::FRect const r = Solitaire::computeScreenRect(*goal, Solitaire::Kartenmanager::instance().getCamera());
            D3DXVECTOR2 const to =
                game->getRenderer()->toWindowPoint(D3DXVECTOR2((r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f));
            pressAt(from.x, from.y);
            step(kFrame);
            for (int i = 1; i <= 4; ++i) {
                moveTo(from.x + (to.x - from.x) * static_cast<float>(i) / 4.0f, from.y + (to.y - from.y) * static_cast<float>(i) / 4.0f);
                step(kFrame);
            }
            releaseAt(to.x, to.y);
        } else {
            doubleClickAt(from.x, from.y);
        }
        settle(kMoveSeconds);
    }
}

int FlowFixture::heartsOnGoal() const {
    Solitaire::Kartenstapel* goal = Solitaire::Kartenmanager::instance().findPile(L"STAPEL_ZIEL");
    if (!goal) return 0;
    std::vector<Solitaire::Karte*> cards;
    goal->getCards(cards, true, true);
    return static_cast<int>(cards.size());
}

void FlowFixture::addStrip(std::wstring const& name) {
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(L"<STRIP NAME=\"" + name + L"\"/>"));
    auto* strip = new Orvex::TutorialStrip(node);
    Orvex::TutorialManager::instance().addStrip(strip);
    strip->release();
}

void FlowFixture::TutorialLog::onShown() {
    Orvex::TutorialStrip const* strip = Solitaire::SolTutorialManager::instance().getCurrentStrip();
    // The menu the tutorial's own menu came over.
    std::wstring menu = fixture->activeMenu();
    if (menu == L"TUTORIALMENU")
        if (Orvex::GUIMenuN const* under = Orvex::GUIMenuManagerN::instance().getHistoryMenu(-1)) menu = under->getName();
    shown.push_back({strip ? strip->getName() : L"", fixture->game->getRunning().currentLevel, menu});
}

std::wstring FlowFixture::activeMenu() const {
    Orvex::GUIMenuN const* menu = Orvex::GUIMenuManagerN::instance().getActiveMenu();
    return menu ? menu->getName() : L"(none)";
}

Solitaire::Profil* FlowFixture::profile() const { return Solitaire::ProfilManager::instance().getActiveProfile(); }

float FlowFixture::achievement(wchar_t const* name) const {
    Solitaire::Achivement const* a = Solitaire::AchivementManager::instance().find(name);
    return a ? a->getValue() : -1.0f;
}

}  // namespace apptest
