// The game object's connections and small slots: every window's click reaches the dispatcher,
// the mouse reaches the menus, the hover sound, the god bars, the tutorial pause and point
// mapping, and the table's rectangles at 1024 x 768.
#include <gtest/gtest.h>

#include "engine/core/PerfTimer.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/SoundManager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/GameFixture.h"

namespace {

using apptest::GameFixture;
using Solitaire::SolitaireGame2;

class GameWiringTest : public GameFixture {
protected:
    Orvex::MouseState mouse(float x, float y, bool down = false) {
        Orvex::MouseState state;
        state.x = x;
        state.y = y;
        state.setButtonDown(0, down);
        pointerAt(x, y);
        return state;
    }
    void move(float x, float y) {
        Orvex::MouseState state = mouse(x, y);
        Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
        game->getTableInput().onMouseMove(state, axis);
        step(0.0);
    }
    void click(float x, float y) {
        Orvex::OrvexMouseButton const left = Orvex::OMB_LEFT;
        Orvex::MouseState down = mouse(x, y, true);
        game->getTableInput().onMouseDown(down, left);
        Orvex::MouseState up = mouse(x, y);
        game->getTableInput().onMouseUp(up, left);
    }
};

// Every window of the GUI, named by the game or not, has the dispatcher on its click.
TEST_F(GameWiringTest, EveryWindowsClickReachesTheDispatcher) {
    std::vector<Orvex::GUIWindow*> all;
    Orvex::GUISystem::instance().collectAllWindows(all);
    ASSERT_GT(all.size(), 20u);
    for (Orvex::GUIWindow* window : all) {
        std::size_t const before = window->leftClicked.connection_count();
        window->leftClicked.disconnect(game.get());
        EXPECT_LT(window->leftClicked.connection_count(), before) << port::toUtf8(window->getName());
    }
}

// The mouse slots hand the press and release to the GUI: a click on the start screen's button,
// which the game never names, follows its menu link.
TEST_F(GameWiringTest, ClickOnAButtonReachesTheMenus) {
    struct Probe : sigslot::has_slots<sigslot::single_threaded> {
        int clicks = 0;
        void onClick(Orvex::GUIWindow&) { ++clicks; }
    } probe;
    find(L"S_WEITER")->leftClicked.connect(&probe, &Probe::onClick);
    step(0.1);
    click(150, 120);
    step(0.1);
    EXPECT_EQ(probe.clicks, 1);
    EXPECT_EQ(Orvex::GUIMenuManagerN::instance().getActiveMenu()->getName(), L"HAUPTMENU");
}

TEST_F(GameWiringTest, HoverSoundPlaysOncePerChangeAndNotOverIgnoredButtons) {
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    step(0.1);
    struct {
        float x, y;
        std::size_t playing;
    } const moves[] = {
        {10, 10, 0},    // the screen: no button
        {150, 120, 1},  // onto "S_WEITER"
        {160, 125, 1},  // still over it
        {150, 180, 1},  // "S_STUMM" ignores input: silent
        {155, 120, 2},  // back onto "S_WEITER"
        {10, 10, 2},
    };
    for (auto const& m : moves) {
        move(m.x, m.y);
        EXPECT_EQ(sounds.getActiveCount(), m.playing) << m.x << " " << m.y;
    }
}

TEST_F(GameWiringTest, GodBarsAreKeptByNumberWithGapsForMissingOnes) {
    std::vector<Orvex::GUIProgressBar*> const& bars = game->getPowersAndShop().getGodBars();
    ASSERT_EQ(bars.size(), 4u);  // the god count the entry point sets
    EXPECT_NE(bars[0], nullptr);
    EXPECT_NE(bars[1], nullptr);
    EXPECT_EQ(bars[2], nullptr);  // no "I_GODS_3"
    EXPECT_NE(bars[3], nullptr);
}

TEST_F(GameWiringTest, RunningTutorialStopsTheGameClock) {
    Solitaire::SolTutorialManager& tutorials = Solitaire::SolTutorialManager::instance();
    Orvex::PerfTimer& timer = Orvex::PerfTimer::frameTimer();
    tutorials.tutorialStarted.emit();
    EXPECT_EQ(timer.getPauseMask(), 1u << 7);
    timer.advance(0.5);
    EXPECT_EQ(timer.getGameDelta(), 0.0);
    tutorials.tutorialClosed.emit();
    EXPECT_EQ(timer.getPauseMask(), 0u);
    timer.advance(0.5);
    EXPECT_GT(timer.getGameDelta(), 0.0);
}

TEST_F(GameWiringTest, TutorialPointsAreMappedFromTheTableIntoTheWindow) {
    D3DXVECTOR2 const table(200.0f, 150.0f);
    D3DXVECTOR2 const expected =
        game->getRenderer()->toWindowPoint(game->getCamera()->worldToScreen(table, false));
    D3DXVECTOR2 point = table;
    Solitaire::SolTutorialManager::instance().mapTablePoint.emit(point);
    EXPECT_FLOAT_EQ(point.x, expected.x);
    EXPECT_FLOAT_EQ(point.y, expected.y);
}

TEST(GameTableRect, InnerRectangleAtTheDesignSize) {
    struct {
        Orvex::FRect window, inner;
    } const cases[] = {
        // 15 pixels at the sides, 60 above and 170 below at 1024 x 768.
        {{0, 0, 1024, 768}, {15, 60, 1009, 598}},
        {{0, 0, 2048, 1536}, {30, 120, 2018, 1196}},
        {{100, 50, 1124, 818}, {115, 110, 1109, 648}},
    };
    for (auto const& c : cases) {
        Orvex::FRect const inner = SolitaireGame2::innerTableRect(c.window);
        EXPECT_NEAR(inner.left, c.inner.left, 1e-3);
        EXPECT_NEAR(inner.top, c.inner.top, 1e-3);
        EXPECT_NEAR(inner.right, c.inner.right, 1e-3);
        EXPECT_NEAR(inner.bottom, c.inner.bottom, 1e-3);
    }
}

// At 1024 x 768 with the table window over the whole screen, the re-layout hands the camera the
// screen, the window and the inner table rectangle, and the renderer the window as viewport.
class GameLayoutTest : public GameFixture {
protected:
    void SetUp() override { start(1024, 768); }
};

TEST_F(GameLayoutTest, TableRectanglesFollowTheDisplaySize) {
    Solitaire::SolitaireCamera* camera = game->getCamera();
    Orvex::FRect const view = camera->getViewRect();
    EXPECT_EQ(view.right, 1024.0f);
    EXPECT_EQ(view.bottom, 768.0f);
    EXPECT_EQ(camera->getRelativeRect().right, 1024.0f);
    EXPECT_NEAR(camera->tableArea.left, 15.0f, 1e-3);
    EXPECT_NEAR(camera->tableArea.right, 1009.0f, 1e-3);
    EXPECT_NEAR(camera->tableArea.top, 60.0f, 1e-3);
    EXPECT_NEAR(camera->tableArea.bottom, 598.0f, 1e-3);
    RECT const viewport = game->getRenderer()->getViewport();
    EXPECT_EQ(viewport.right, 1024);
    EXPECT_EQ(viewport.bottom, 768);
}

}  // namespace
