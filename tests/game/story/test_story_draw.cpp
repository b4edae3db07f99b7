// Story and tutorials on the real device, read back: an element's rectangle and colour in the
// story window, the shipped intro at its first switch, in the middle of a glide and at its last
// switch (kept as screenshots in the build folder for a person to look at), and the shipped
// user tutorial's pile arrows ending at the piles' anchors mapped into the window.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "engine/core/Random.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/SolitaireCamera.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/story/GameTutorialFixture.h"

namespace {

using Solitaire::StoryPart;

constexpr float kFrame = 1.0f / 60.0f;

int channel(uint32_t p, int shift) { return static_cast<int>(p >> shift & 0xFF); }
// The arrows' and the panel rim's gold (and its darker edge).
bool isGold(uint32_t p) {
    return channel(p, 16) >= 0x70 && channel(p, 16) >= channel(p, 8) && channel(p, 8) >= 0x40 &&
           channel(p, 16) >= channel(p, 0) + 0x50;
}

// The game object's slot on the story window: the playing scene draws after the window has.
struct StoryPainter : sigslot::has_slots<> {
    StoryPart* scene = nullptr;
    void onDrawn(Orvex::GUIWindow& window, bool const& drawn) {
        if (scene && drawn) scene->draw(window);
    }
};

class StoryDrawTest : public storytest::GameTutorialFixture {
protected:
    void SetUp() override {
        GameTutorialFixture::SetUp();
        story().clear();
        forgetPictures();
        ASSERT_TRUE(openDevice(width, height));
        ASSERT_TRUE(loadFonts(L"data\\font.fnt"));
        Orvex::XMLNode texts;
        ASSERT_TRUE(texts.load(L"data\\texte.lng"));
        Orvex::OrvexEngine::getInstance()->getLanguage()->load(texts);
        guitest::loadFile(L"data\\GUI\\Vorlagen.gui");
        guitest::loadFile(L"data\\GUI\\Tutorial.gui");
        window = gui.findWindow(L"T_STORY_BILD");
        ASSERT_NE(window, nullptr);
        window->jumpToGoal(L"AN");
        window->selfDrawn.connect(&painter, &StoryPainter::onDrawn);
        std::filesystem::create_directories("screenshots");
    }
    void TearDown() override {
        story().clear();
        forgetPictures();
        GameTutorialFixture::TearDown();
        closeDevice();
    }

    static Solitaire::StoryManager& story() { return Solitaire::StoryManager::instance(); }
    uint32_t at(std::vector<uint32_t> const& pixels, int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)];
    }
    // Frames of the scene and the GUI.
    void run(float seconds) {
        for (float t = 0.0f; t < seconds; t += kFrame) {
            if (painter.scene) painter.scene->update(kFrame);
            gui.update(kFrame);
            engine().update(kFrame);
        }
    }

    unsigned width = 640;
    unsigned height = 480;
    Orvex::GUIWindow* window = nullptr;
    StoryPainter painter;
};

TEST_F(StoryDrawTest, AnElementFillsItsShareOfTheStoryWindowInItsColour) {
    Orvex::XMLNode list = storytest::parse(
        L"<ANIMATIONS><TEXTURES><TEXTUR2D NAME=\"STORY_TEST_WEISS\"><FILE FILENAME=\"data\\GUI\\gui_white.png\"/>"
        L"</TEXTUR2D></TEXTURES><ANIMATION_2D NAME=\"STORY_TEST_WEISS\" PLAY=\"1\"><FRAMES TEXTUR=\"STORY_TEST_WEISS\">"
        L"<FRAME_PARAMS ANZ_FRAMES=\"1\" SPALTEN=\"1\"/></FRAMES></ANIMATION_2D></ANIMATIONS>");
    Orvex::Texture2DAnimationManager::instance().load(list);
    Orvex::XMLNode node = storytest::parse(
        L"<STORY_PART NAME=\"S\"><SWITCH/>"
        L"<PART_PART NAME=\"GRUEN\" ANIMATION=\"STORY_TEST_WEISS\">"
        L"<POSITION L=\"0.25\" T=\"0.25\" R=\"0.5\" B=\"0.75\"/><COLOR COLOR=\"FF00FF00\"/></PART_PART>"
        L"<PART_PART NAME=\"ROT\" ANIMATION=\"STORY_TEST_WEISS\" RELATIV_TO=\"GRUEN\"><POSITION L=\"0\" T=\"0\" R=\"0.5\" B=\"0.25\"/><COLOR COLOR=\"80FF0000\"/></PART_PART>"
        L"<PART_PART NAME=\"UNSICHTBAR\" ANIMATION=\"STORY_TEST_WEISS\" VISIBLE=\"0\">"
        L"<POSITION L=\"0.6\" T=\"0.25\" R=\"0.9\" B=\"0.75\"/></PART_PART></STORY_PART>");
    auto* scene = new StoryPart(node, L"draw test");
    painter.scene = scene;
    std::vector<uint32_t> const pixels = shootScreen("screenshots/story_element_colours.png");
    // The window is 640 x 480: green from (160, 120) to (320, 360), red at half alpha over its
    // top left quarter (160, 120)-(240, 180) of it, the invisible one nowhere.
    EXPECT_EQ(at(pixels, 250, 300), 0xFF00FF00u);
    EXPECT_EQ(at(pixels, 161, 300), 0xFF00FF00u);
    EXPECT_EQ(at(pixels, 318, 358), 0xFF00FF00u);
    EXPECT_EQ(at(pixels, 157, 300), 0xFF000000u);
    EXPECT_EQ(at(pixels, 323, 300), 0xFF000000u);
    EXPECT_EQ(at(pixels, 250, 363), 0xFF000000u);
    uint32_t const mixed = at(pixels, 200, 150);  // red at 128/255 over green
    EXPECT_NEAR(channel(mixed, 16), 0x80, 2);
    EXPECT_NEAR(channel(mixed, 8), 0x7F, 2);
    EXPECT_EQ(at(pixels, 500, 300), 0xFF000000u);
    painter.scene = nullptr;
    scene->release();
}

TEST_F(StoryDrawTest, TheIntroAsAPlayerSeesIt) {
    Orvex::seedRandom(7);
    Orvex::XMLNode root;
    ASSERT_TRUE(root.load(L"data\\Story\\Story.str"));
    story().load(root);
    painter.scene = story().startNextScene(profile);
    ASSERT_NE(painter.scene, nullptr);
    run(0.2f);
    std::vector<uint32_t> const night = shootScreen("screenshots/story_intro_switch0.png");
    run(1.05f + 1.2f);  // into switch 1: dawn comes, the sun rises, the panel slides up
    EXPECT_EQ(painter.scene->currentSwitch, 1);
    std::vector<uint32_t> const dawn = shootScreen("screenshots/story_intro_glide.png");
    // The sky at the top middle brightens from the night's blue.
    uint32_t const skyBefore = at(night, 320, 20), skyAfter = at(dawn, 320, 20);
    EXPECT_GT(channel(skyAfter, 0), channel(skyBefore, 0));
    EXPECT_LT(channel(skyBefore, 16), 0x30);
    // The panel's gold rim is on its way up: gold somewhere in the lower half.
    int gold = 0;
    for (unsigned y = height / 2; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) gold += isGold(at(dawn, static_cast<int>(x), static_cast<int>(y)));
    EXPECT_GT(gold, 50);
    run(3.5f);
    EXPECT_EQ(painter.scene->currentSwitch, 2);
    EXPECT_FALSE(painter.scene->click(0.5f, 0.5f));
    run(1.0f);
    EXPECT_FALSE(painter.scene->click(0.5f, 0.5f));
    EXPECT_EQ(painter.scene->currentSwitch, 4);
    run(0.3f);
    shootScreen("screenshots/story_intro_last.png");
    painter.scene = nullptr;
}

class TutorialDrawTest : public StoryDrawTest {
protected:
    void SetUp() override {
        StoryDrawTest::SetUp();
        Orvex::XMLNode file;
        ASSERT_TRUE(file.load(L"data\\tutorial.tut"));
        engine().loadTemplates(file);
        ASSERT_TRUE(file.load(L"data\\loctutorials.tut"));
        tutorials().loadUserTutorials(file, L"data\\loctutorials.tut");
        Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
        cards().createDiscardPile();
        ASSERT_TRUE(cards().loadGameDefinitionFile(L"data\\Level\\Herzreihe.sol"));
        cards().startGame(&camera, L"1", true, {}, {}, 0.0f);
        mapper.table = cards().computeTableRect();
        tutorials().mapTablePoint.connect(&mapper, &Mapper::map);
    }
    void TearDown() override {
        tutorials().closeTutorial();
        cards().createDiscardPile();
        cards().setCamera(nullptr);
        StoryDrawTest::TearDown();
    }
    static Solitaire::Kartenmanager& cards() { return Solitaire::Kartenmanager::instance(); }
    // The table's rectangle laid into the window's upper part, as the camera and the table
    // renderer would.
    struct Mapper : sigslot::has_slots<> {
        Orvex::FRect table;
        void map(D3DXVECTOR2& p) {
            p.x = 40.0f + (p.x - table.left) / (table.right - table.left) * 560.0f;
            p.y = 40.0f + (p.y - table.top) / (table.bottom - table.top) * 200.0f;
        }
    };
    D3DXVECTOR2 mapped(wchar_t const* pile) {
        D3DXVECTOR2 p = cards().findPile(pile)->getAnchorPosition();
        mapper.map(p);
        return p;
    }
    int goldNear(std::vector<uint32_t> const& pixels, D3DXVECTOR2 const& p, int radius) const {
        int n = 0;
        for (int y = static_cast<int>(p.y) - radius; y <= static_cast<int>(p.y) + radius; ++y)
            for (int x = static_cast<int>(p.x) - radius; x <= static_cast<int>(p.x) + radius; ++x)
                if (x >= 0 && y >= 0 && x < static_cast<int>(width) && y < static_cast<int>(height))
                    n += isGold(at(pixels, x, y));
        return n;
    }
    void next() {
        Orvex::GUIWindow* weiter = gui.findWindow(L"T_Weiter");
        ASSERT_NE(weiter, nullptr);
        EXPECT_TRUE(tutorials().onGuiClick(*weiter));
    }

    Solitaire::SolitaireCamera camera;
    Mapper mapper;
};

TEST_F(TutorialDrawTest, PileArrowsEndAtThePilesMappedAnchors) {
    window->jumpToGoal(L"AUS");
    ASSERT_TRUE(show(L"SOLITAIRE_HERZREIHE"));
    run(0.5f);
    shootScreen("screenshots/tutorial_herzreihe_ziel.png");
    next();  // the thirteen places
    run(1.0f);
    std::vector<uint32_t> const places = shootScreen("screenshots/tutorial_herzreihe_plaetze.png");
    for (wchar_t const* pile : {L"PLATZ1", L"PLATZ7", L"PLATZ13"})
        EXPECT_GT(goldNear(places, mapped(pile), 36), 20) << guitest::narrow(pile);
    next();  // the goal pile alone
    run(1.0f);
    std::vector<uint32_t> const goal = shootScreen("screenshots/tutorial_herzreihe_ziel_stapel.png");
    EXPECT_GT(goldNear(goal, mapped(L"STAPEL_ZIEL"), 36), 20);
    EXPECT_EQ(goldNear(goal, mapped(L"PLATZ1"), 12), 0);
    // The long text of the page is shown; the short text is the aim alone.
    EXPECT_EQ(tutorials().getTutorialText(L"SOLITAIRE_HERZREIHE", false),
              L"Lege die Herzen der Reihe nach ab, vom Ass bis zum König.\n\n");
    next();
    EXPECT_EQ(onScreen(), "-");
}

}  // namespace
