// The game's own screens as the game loads them at start (the frame texture of
// data/Menu/rects.tex, data/GUI/Rand.gui and Loadscreen.gui, data/texte.lng, data/font.fnt,
// data/GUI/menus.mnu with its GUI files, the pointers of data/Menu/mouse.ani, data/Menu/dot.tex)
// on the device at 1024 x 768: they load without a log line, hold every name the game looks up,
// have every text in German and English, switch from the start screen to the main menu and its
// exit question by input alone, and are drawn into screenshots in the build folder
// (game_loading_*.png, game_start_*.png, game_main_menu_*.png, game_exit_question_*.png at three
// screen sizes) that probes check where the layout puts them.
#include <algorithm>
#include <functional>
#include <string>

#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/LanguageManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/gui/GuiTestSupport.h"
#include "tests/engine/gui/MenuFixture.h"

using Orvex::FRect;
using Orvex::GUIWindow;
using guitest::narrow;

namespace {

struct ScreenSize {
    unsigned width;
    unsigned height;
};

class GameScreensTest : public guitest::MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        ASSERT_TRUE(openDevice(screen().width, screen().height));
        Orvex::GUITooltipParam::setLanguageSource(&language);
        logtest::LogWatch watch;
        loadAsTheGameDoes();
        loadLines = watch.lines();
    }
    void TearDown() override {
        menus.clear();
        gui.clear();
        Orvex::Texture2DAnimationManager::instance().releaseAnimations();
        Orvex::GUITooltipParam::setLanguageSource(nullptr);
        closeDevice();
        MenuFixture::TearDown();
    }

    // The start-up files in the game's order, with the game's texture load parameters.
    void loadAsTheGameDoes() {
        Orvex::TextureManager& textures = Orvex::D3DInterface::getInstance().getTextureManager();
        Orvex::XMLNode frames;
        ASSERT_TRUE(frames.load(L"Data\\Menu\\rects.tex"));
        textures.loadTextures(frames, Orvex::TextureLoadParams(1, 0xFFFFFFFFu, true, true));
        guitest::loadFile(L"data\\GUI\\Rand.gui");
        guitest::loadFile(L"data\\GUI\\Loadscreen.gui");
        Orvex::XMLNode texts;
        ASSERT_TRUE(texts.load(L"data\\texte.lng"));
        language.load(texts);
        ASSERT_TRUE(loadFonts(L"data\\font.fnt"));
        loadMenuFile(L"data\\GUI\\menus.mnu");
        Orvex::XMLNode pointers;
        ASSERT_TRUE(pointers.load(L"data\\menu\\mouse.ani"));
        Orvex::Texture2DAnimationManager::instance().load(pointers);
        Orvex::XMLNode dot;
        ASSERT_TRUE(dot.load(L"data\\menu\\dot.tex"));
        textures.loadTextures(dot, Orvex::TextureLoadParams(0, 0xFFFFFFFFu, true, true));
    }

    virtual ScreenSize screen() const { return {1024, 768}; }

    static Orvex::Texture2D* texture(std::wstring const& name) {
        return Orvex::D3DInterface::getInstance().getTextureManager().findTexture(name);
    }

    std::vector<uint32_t> shoot(std::string const& file, GUIWindow* only = nullptr) {
        return shootScreen(file, 0xFF808080, only);
    }

    uint32_t at(std::vector<uint32_t> const& pixels, float x, float y) const {
        return pixels[static_cast<unsigned>(y) * screen().width + static_cast<unsigned>(x)];
    }
    // Pixels inside the window's rectangle that are near white (its caption's letters).
    int lightPixelsIn(std::vector<uint32_t> const& pixels, std::wstring const& window) const {
        FRect const r = gui.findWindow(window)->getScreenRect();
        int light = 0;
        for (float y = r.top; y < r.bottom; ++y)
            for (float x = r.left; x < r.right; ++x) light += guitest::nearRgb(at(pixels, x, y), 0xFFFFFFFF, 24);
        return light;
    }

    Orvex::LanguageManager language;
    std::vector<std::wstring> loadLines;
};

// Counts a window's left clicks.
class ClickCount : public sigslot::has_slots<> {
public:
    explicit ClickCount(GUIWindow& w) { w.leftClicked.connect(this, &ClickCount::onClicked); }
    int clicks = 0;

private:
    void onClicked(GUIWindow&) { ++clicks; }
};

// Every window, its children included.
void collect(GUIWindow* w, std::vector<GUIWindow*>& out) {
    out.push_back(w);
    for (GUIWindow* child : w->getChildren()) collect(child, out);
}

}  // namespace

TEST_F(GameScreensTest, LoadWithoutALogLineAndHoldEveryNameTheGameLooksUp) {
    for (std::wstring const& line : loadLines) ADD_FAILURE() << narrow(line);

    struct Window {
        wchar_t const* name;
        std::function<bool(GUIWindow*)> kind;
    };
    auto plain = [](GUIWindow* w) { return w != nullptr; };
    Window const windows[] = {
        {L"R_RANDMENU", plain},
        {L"R_RANDCENTER", plain},
        {L"LoadingScreens", plain},
        {L"L_SplashScreen", plain},
        {L"LS_SplashProgress", [](GUIWindow* w) { return dynamic_cast<Orvex::GUIProgressBar*>(w) != nullptr; }},
        {L"TOOLTIP", [](GUIWindow* w) { return dynamic_cast<Orvex::GUITooltip*>(w) != nullptr; }},
        {L"TMPWINDOW", [](GUIWindow* w) { return w && w->findTooltipParam(L"KARTEN_TOOLTIP") != nullptr; }},
        {L"I_DRAW", plain},
        {L"I_RenderWindow", plain},
        {L"I_RenderWindowOverlay", plain},
        {L"H_Exit", [](GUIWindow* w) { return dynamic_cast<Orvex::GUIButton*>(w) != nullptr; }},
        {L"B_OK", [](GUIWindow* w) { return dynamic_cast<Orvex::GUIButton*>(w) != nullptr; }},
    };
    for (Window const& w : windows) EXPECT_TRUE(w.kind(gui.findWindow(w.name))) << narrow(w.name);

    // The in-game screen and the shop: every window the game names, of its kind, with the goals
    // the game sends it to.
    auto label = [](GUIWindow* w) { return dynamic_cast<Orvex::GUILabel*>(w) != nullptr; };
    auto bar = [](GUIWindow* w) { return dynamic_cast<Orvex::GUIProgressBar*>(w) != nullptr; };
    auto goals = [](std::vector<wchar_t const*> names) {
        return [names](GUIWindow* w) {
            return w && std::all_of(names.begin(), names.end(), [w](wchar_t const* g) { return w->hasGoal(g); });
        };
    };
    using Kind = std::function<bool(GUIWindow*)>;
    std::vector<std::pair<std::wstring, Kind>> hud = {
        {L"I_Points", label},        {L"I_Points2", label},       {L"I_Time", label},
        {L"I_Multiplier", [&](GUIWindow* w) { return label(w) && goals({L"ST", L"FG"})(w); }},
        {L"I_VariantLabel_Label", label}, {L"I_LevelName", label}, {L"I_Help_TZ", plain},
        {L"I_Statistiken_TZ", plain}, {L"I_TIPP", bar},           {L"I_HG", goals({L"ST_ALT", L"ST", L"FG"})},
        {L"I_GameName", [&](GUIWindow* w) { return label(w) && goals({L"AN", L"AUS"})(w); }},
        {L"I_Help", [&](GUIWindow* w) { return label(w) && goals({L"AN", L"AUS", L"CENTER"})(w); }},
        {L"I_Statistiken", [&](GUIWindow* w) { return label(w) && goals({L"AN", L"AUS"})(w); }},
        {L"I_END_GAME", goals({L"AN", L"AUS"})}, {L"I_Shop", goals({L"AN", L"AUS"})},
        {L"I_GODS", goals({L"AN", L"AUS"})}, {L"I_STORY", goals({L"AN", L"AUS"})},
        {L"I_FREIESSPIEL", goals({L"AN", L"AUS"})}, {L"I_GesMed", goals({L"NIX"})},
        {L"I_Info", plain}, {L"I_Combo", plain}, {L"I_Item", plain}, {L"I_PointsANI", plain}, {L"I_ComboANI", plain},
        {L"I_ItemANI", plain}, {L"I_Goals", plain},
        {L"S_JOKER", plain}, {L"S_WILDCARD", plain}, {L"S_WILDCARD_NEXT", plain}, {L"S_WILDCARD_PREV", plain},
        {L"S_MONEY", label}, {L"S_PRICE_JOKER", label}, {L"S_PRICE_WILDCARD", label},
    };
    for (wchar_t const* button : {L"I_Shuffle", L"I_Undo_Step", L"I_Redo_Step", L"I_Undo_Start", L"I_Redo_End",
                                  L"I_Load", L"I_Save"})
        hud.emplace_back(button, goals({L"ST", L"FG"}));
    for (int god = 0; god < 4; ++god) {
        hud.emplace_back(L"I_GODS_" + std::to_wstring(god + 1),
                         [&](GUIWindow* w) { return bar(w) && w->findTooltipParam(L"DEF"); });
        hud.emplace_back(L"GOD" + std::to_wstring(god), goals({L"AN", L"AUS"}));
    }
    for (int n = 1; n <= 3; ++n) {
        std::wstring const prefix = L"I_Goal" + std::to_wstring(n);
        for (wchar_t const* part : {L"_Label", L"_Counter"}) {
            hud.emplace_back(prefix + part, label);
            EXPECT_NE(gui.findWindow(L"I_Goals")->findChild(prefix + part), nullptr) << "the goals are the panel's";
        }
        for (wchar_t const* part : {L"_Star", L"_Haken"}) hud.emplace_back(prefix + part, goals({L"ON", L"OFF", L"INVISIBLE"}));
    }
    for (wchar_t const* medal : {L"I_ABSCHLUSS_NIX", L"I_ABSCHLUSS_BRONZE", L"I_ABSCHLUSS_SILBER", L"I_ABSCHLUSS_GOLD",
                                 L"I_ABSCHLUSS_PERFEKT"})
        hud.emplace_back(medal, goals({L"AN", L"AUS", L"WEG"}));
    for (wchar_t const* star : {L"I_BRONZE_STERN", L"I_SILBER_STERN", L"I_GOLD_STERN", L"I_PERFEKT_STERN"})
        hud.emplace_back(star, plain);
    for (auto const& [name, kind] : hud) EXPECT_TRUE(kind(gui.findWindow(name))) << narrow(name);
    EXPECT_NE(Orvex::Texture2DAnimationManager::instance().findAnimation(L"I_ABSCHLUSS_STERN"), nullptr);
    EXPECT_NE(texture(L"S_KartenBG_M"), nullptr);
    EXPECT_EQ(gui.findWindow(L"LoadingScreens")->findChild(L"LS_SplashProgress"),
              gui.findWindow(L"L_SplashScreen")->findChild(L"LS_SplashProgress"))
        << "the bar is drawn with the splash";

    for (wchar_t const* name : {L"RECTS", L"R_LEFT", L"R_RIGHT", L"R_TOP", L"R_BOTTOM", L"DOT"})
        EXPECT_NE(texture(name), nullptr) << narrow(name);

    for (wchar_t const* name : {L"STARTMENU", L"HAUPTMENU", L"BEENDENMENU", L"INGAMEMENU", L"SHOPMENU"})
        EXPECT_NE(menus.findMenu(name), nullptr) << narrow(name);
    EXPECT_EQ(history(), "*STARTMENU");

    EXPECT_NE(Orvex::D3DXFontInterface::instance().findFont(L"PauseFont"), nullptr);
    EXPECT_NE(Orvex::D3DXFontInterface::instance().findFontStyle(L"PauseText"), nullptr);
}

TEST_F(GameScreensTest, EveryTextShownIsThereInGermanAndEnglish) {
    std::vector<std::wstring> ids = {L"PAUSE"};
    std::vector<GUIWindow*> top;
    gui.getWindows(top);
    std::vector<GUIWindow*> all;
    for (GUIWindow* w : top) collect(w, all);
    for (GUIWindow* w : all) {
        auto* label = dynamic_cast<Orvex::GUILabel*>(w);
        if (label && label->isTextIdMode()) ids.push_back(label->getTextId());
        EXPECT_FALSE(label && !label->isTextIdMode() && !label->getText().empty())
            << narrow(w->getName()) << " shows a text of its own instead of one of the language file";
    }
    EXPECT_GE(ids.size(), 16u);
    for (wchar_t const* code : {L"GER", L"ENG"}) {
        Orvex::Language* lang = language.findLanguage(code);
        ASSERT_NE(lang, nullptr) << narrow(code);
        for (std::wstring const& id : ids) EXPECT_NE(lang->findText(id), nullptr) << narrow(code) << " " << narrow(id);
    }
}

TEST_F(GameScreensTest, FromTheStartScreenToTheMainMenuAndItsExitQuestionByInputAlone) {
    settle();
    ClickCount below(*gui.findWindow(L"H_Optionen"));
    EXPECT_EQ(shown(), "R_RANDMENU SM_Fenster TOOLTIP");
    struct Step {
        char const* what;
        std::function<void()> input;
        char const* history;
        char const* shown;
    };
    Step const steps[] = {
        {"a click on the start screen", [&] { click(L"SM_Fenster"); }, "STARTMENU *HAUPTMENU", "H_Fenster R_RANDMENU TOOLTIP"},
        {"the exit button", [&] { click(L"H_Exit"); }, "STARTMENU HAUPTMENU *BEENDENMENU",
         "B_Abdunkeln B_Fenster H_Fenster R_RANDMENU TOOLTIP"},
        {"the veil keeps clicks from the menu below", [&] { click(L"H_Optionen"), click(L"H_Exit"); },
         "STARTMENU HAUPTMENU *BEENDENMENU", "B_Abdunkeln B_Fenster H_Fenster R_RANDMENU TOOLTIP"},
        {"no", [&] { click(L"B_CANCEL"); }, "STARTMENU *HAUPTMENU BEENDENMENU", "H_Fenster R_RANDMENU TOOLTIP"},
        {"Escape asks again", [&] { key(L"ESCAPE"); }, "STARTMENU HAUPTMENU *BEENDENMENU",
         "B_Abdunkeln B_Fenster H_Fenster R_RANDMENU TOOLTIP"},
        {"Escape goes back", [&] { key(L"ESCAPE"); }, "STARTMENU *HAUPTMENU BEENDENMENU", "H_Fenster R_RANDMENU TOOLTIP"},
        {"the table hides the menus and their frame",
         [&] { menus.activateMenu(L"INGAMEMENU", -1.0); }, "STARTMENU HAUPTMENU *INGAMEMENU",
         "I_DRAW I_HUD I_RenderWindow I_RenderWindowOverlay TOOLTIP"},
        {"the shop keeps the table in sight", [&] { menus.activateMenu(L"SHOPMENU", -1.0); },
         "STARTMENU HAUPTMENU INGAMEMENU *SHOPMENU",
         "I_DRAW I_HUD I_RenderWindow I_RenderWindowOverlay S_Abdunkeln S_Fenster TOOLTIP"},
        {"Escape goes back to the table", [&] { key(L"ESCAPE"); }, "STARTMENU HAUPTMENU INGAMEMENU SHOPMENU *INGAMEMENU",
         "I_DRAW I_HUD I_RenderWindow I_RenderWindowOverlay TOOLTIP"},
        {"so does the shop's back button", [&] { menus.activateMenu(L"SHOPMENU", -1.0), settle(), click(L"S_Zurueck"); },
         "STARTMENU HAUPTMENU INGAMEMENU SHOPMENU INGAMEMENU SHOPMENU *INGAMEMENU",
         "I_DRAW I_HUD I_RenderWindow I_RenderWindowOverlay TOOLTIP"},
        {"and back", [&] { menus.activateMenu(L"HAUPTMENU", -1.0); },
         "STARTMENU HAUPTMENU INGAMEMENU SHOPMENU INGAMEMENU SHOPMENU INGAMEMENU *HAUPTMENU",
         "H_Fenster R_RANDMENU TOOLTIP"},
    };
    for (Step const& s : steps) {
        SCOPED_TRACE(s.what);
        s.input();
        settle();
        EXPECT_EQ(history(), s.history);
        EXPECT_EQ(shown(), s.shown);
    }
    EXPECT_EQ(below.clicks, 0);
}

TEST_F(GameScreensTest, KeysLeadOnAndReturnConfirmsTheExitQuestion) {
    ClickCount ok(*gui.findWindow(L"B_OK"));
    struct Step {
        wchar_t const* key;
        char const* history;
        int okClicks;
    };
    Step const steps[] = {
        {L"SPACE", "STARTMENU *HAUPTMENU", 0},
        {L"RETURN", "STARTMENU *HAUPTMENU", 0},
        {L"ESCAPE", "STARTMENU HAUPTMENU *BEENDENMENU", 0},
        {L"RETURN", "STARTMENU HAUPTMENU *BEENDENMENU", 1},
    };
    for (Step const& s : steps) {
        SCOPED_TRACE(narrow(s.key));
        key(s.key);
        settle();
        EXPECT_EQ(history(), s.history);
        EXPECT_EQ(ok.clicks, s.okClicks) << "Return clicks \"B_OK\", which the game answers";
    }
}

// The screens at a 4:3, a 16:9 and a 5:4 size: the baize fills the largest 4:3 rectangle in the
// middle (the game covers the rest with the border bands), the screens lie inside it.
class GameScreenSizesTest : public GameScreensTest, public testing::WithParamInterface<ScreenSize> {
protected:
    ScreenSize screen() const override { return GetParam(); }
    std::string shot(char const* name) const {
        return std::string("game_") + name + "_" + std::to_string(GetParam().width) + "x" +
               std::to_string(GetParam().height) + ".png";
    }
};

INSTANTIATE_TEST_SUITE_P(Sizes, GameScreenSizesTest,
                         testing::Values(ScreenSize{1024, 768}, ScreenSize{1280, 720}, ScreenSize{1280, 1024}),
                         [](testing::TestParamInfo<ScreenSize> const& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST_P(GameScreenSizesTest, WhereTheirLayoutPutsThem) {
    float const w = static_cast<float>(GetParam().width), h = static_cast<float>(GetParam().height);
    FRect const centre = gui.findWindow(L"R_RANDCENTER")->getScreenRect();
    float const scale = std::min(w / 4.0f, h / 3.0f);
    EXPECT_NEAR(centre.right - centre.left, 4.0f * scale, 1.0f);
    EXPECT_NEAR(centre.bottom - centre.top, 3.0f * scale, 1.0f);
    EXPECT_NEAR(centre.left + centre.right, w, 1.0f) << "in the middle";
    EXPECT_NEAR(centre.top + centre.bottom, h, 1.0f);
    EXPECT_EQ(gui.findWindow(L"L_SplashScreen")->getScreenRect(), centre);

    // The loading screen as the game draws it while the bar is at 40 %.
    GUIWindow* splash = gui.findWindow(L"L_SplashScreen");
    dynamic_cast<Orvex::GUIProgressBar*>(gui.findWindow(L"LS_SplashProgress"))->setRatio(0.4f);
    splash->getOptions().visible = true;
    std::vector<uint32_t> pixels = shoot(shot("loading"), splash);
    splash->getOptions().visible = false;
    FRect const bar = gui.findWindow(L"LS_SplashProgress")->getScreenRect();
    float const barY = (bar.top + bar.bottom) / 2;
    EXPECT_GT((at(pixels, bar.left + 0.2f * (bar.right - bar.left), barY) >> 16) & 0xFF, 0xB0u)
        << "gold filling at 20 % of the bar";
    EXPECT_LT((at(pixels, bar.left + 0.7f * (bar.right - bar.left), barY) >> 16) & 0xFF, 0x40u) << "dark groove at 70 %";
    EXPECT_GT(lightPixelsIn(pixels, L"L_Titel"), 200) << "the game's name";
    EXPECT_GT(lightPixelsIn(pixels, L"LS_Text"), 50) << "\"loading\"";

    settle();
    pixels = shoot(shot("start"));
    for (wchar_t const* name : {L"SM_Karten", L"SM_Titel", L"SM_Weiter"}) {
        FRect const r = gui.findWindow(name)->getScreenRect();
        EXPECT_TRUE(r.left >= centre.left && r.right <= centre.right && r.top >= centre.top && r.bottom <= centre.bottom)
            << narrow(name);
    }
    EXPECT_GT(lightPixelsIn(pixels, L"SM_Titel"), 200);
    EXPECT_GT(lightPixelsIn(pixels, L"SM_Weiter"), 50);
    uint32_t const baize = at(pixels, centre.left + 20, centre.top + 20);
    EXPECT_GT((baize >> 8) & 0xFF, (baize >> 16) & 0xFF) << "green baize in the 4:3 rectangle's corner";

    click(L"SM_Fenster");
    settle();
    pixels = shoot(shot("main_menu"));
    FRect const panel = gui.findWindow(L"H_Rahmen")->getScreenRect();
    EXPECT_TRUE(panel.left >= centre.left && panel.right <= centre.right && panel.top >= centre.top &&
                panel.bottom <= centre.bottom);
    EXPECT_NEAR(panel.bottom - panel.top, (centre.bottom - centre.top) * 600.0f / 768.0f, 1.0f)
        << "the panel grows with the screen";
    EXPECT_TRUE(guitest::nearRgb(at(pixels, panel.left + 20, panel.top + 300), 0xFF1C283A, 6)) << "the panel's body";
    EXPECT_TRUE(guitest::nearRgb(at(pixels, panel.left + 1, panel.top + 300), 0xFFC0CCDC, 40)) << "its light rim";
    for (wchar_t const* button : {L"H_FreiesSpiel", L"H_Exit"}) {
        FRect const r = gui.findWindow(button)->getScreenRect();
        EXPECT_GE(r.left, panel.left);
        EXPECT_LE(r.bottom, panel.bottom);
        uint32_t const body = at(pixels, r.left + 8, (r.top + r.bottom) / 2);
        EXPECT_GT(body & 0xFF, (body >> 16) & 0xFF) << narrow(button) << ": a blue button";
        EXPECT_GT(lightPixelsIn(pixels, button), 30) << narrow(button) << ": its caption";
    }

    click(L"H_Exit");
    settle();
    pixels = shoot(shot("exit_question"));
    EXPECT_GT(lightPixelsIn(pixels, L"B_Frage"), 100);
    uint32_t const veiled = at(pixels, panel.left + 20, panel.top + 40);
    EXPECT_LT(veiled & 0xFF, 0x1C) << "the main menu lies darker under the veil";
}

TEST_F(GameScreensTest, TheFrameTextureHoldsNineSliceFramesInHundredPixelCells) {
    Orvex::Texture2D* rects = texture(L"RECTS");
    ASSERT_NE(rects, nullptr);
    auto alpha = [&](unsigned x, unsigned y) {
        D3DXCOLOR c;
        EXPECT_TRUE(rects->readPixel(c, x, y));
        return static_cast<int>(c.a * 255.0f + 0.5f);
    };
    for (unsigned row = 0; row < 3; ++row) {
        for (unsigned column : {0u, 2u, 5u}) {
            SCOPED_TRACE(testing::Message() << "style " << row << ", column " << column);
            EXPECT_EQ(alpha(column * 100 + 45, row * 100 + 45), 255) << "an opaque centre piece";
            EXPECT_EQ(alpha(column * 100 + 95, row * 100 + 45), 0) << "nothing between the cells";
        }
    }
    EXPECT_EQ(alpha(0 * 100 + 45, 0 * 100 + 45), 255) << "the pause screen darkens through this piece";
    Orvex::Texture2D* centre = texture(L"PANEL_C");
    ASSERT_NE(centre, nullptr);
    RECT const r = centre->getRect();
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right, 60);
    EXPECT_EQ(r.bottom, 60);
}

TEST_F(GameScreensTest, PointersPlayForwardWhileHeldAndBack) {
    Orvex::Texture2DAnimationManager& animations = Orvex::Texture2DAnimationManager::instance();
    struct Set {
        std::vector<std::wstring> names;
        unsigned frames;
    };
    Set const sets[] = {
        {{L"PFEIL_LT", L"PFEIL_CT", L"PFEIL_RT", L"PFEIL_LC", L"PFEIL_CC", L"PFEIL_RC", L"PFEIL_LB", L"PFEIL_CB",
          L"PFEIL_RB"},
         8},
        {{L"MOUSE_CURSOR1", L"MOUSE_CURSOR2", L"MOUSE_CURSOR3", L"MOUSE_CURSOR4"}, 4},
        {{L"MOUSE_GOD0", L"MOUSE_GOD1", L"MOUSE_GOD2", L"MOUSE_GOD3"}, 1},
    };
    for (Set const& set : sets) {
        for (std::wstring const& name : set.names) {
            SCOPED_TRACE(narrow(name));
            Orvex::Texture2DAnimation* a = animations.findAnimation(name);
            ASSERT_NE(a, nullptr);
            EXPECT_EQ(a->getFrameCount(), set.frames);
            EXPECT_TRUE(a->isPlaying());
            EXPECT_EQ(a->getFrameSize().x, 64.0f);
            EXPECT_EQ(a->getFrameSize().y, 64.0f);
            ASSERT_NE(a->getCurrentFrame()->texture, nullptr);
        }
    }
    Orvex::Texture2DAnimation* cursor = animations.findAnimation(L"MOUSE_CURSOR1");
    for (int i = 0; i < 60; ++i) cursor->update(1.0 / 60.0);
    EXPECT_EQ(cursor->getCurrentFrameIndex(), 3) << "held: the pressed look, and it stays";
    for (int i = 0; i < 60; ++i) cursor->update(-1.0 / 60.0);
    EXPECT_EQ(cursor->getCurrentFrameIndex(), 0) << "released: back to rest, and it stays";
    Orvex::Texture2DAnimation* arrow = animations.findAnimation(L"PFEIL_CT");
    for (int i = 0; i < 60; ++i) arrow->update(1.0 / 60.0);
    EXPECT_TRUE(arrow->isPlaying()) << "the arrows loop";
}
