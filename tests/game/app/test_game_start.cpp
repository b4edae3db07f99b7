// The game object's start-up on the test data: what it loads and keeps, the loading screen, and
// the first frames.
#include <gtest/gtest.h>

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/TutorialManager.h"
#include "engine/core/XMLNode.h"
#include "game/story/SolTutorialManager.h"
#include "tests/game/app/GameFixture.h"

namespace {

using apptest::GameFixture;
using GameStartTest = GameFixture;

TEST_F(GameStartTest, LoadsTheDataAndShowsTheStartMenu) {
    EXPECT_NE(game->getLoadingScreen().getWindow(), nullptr);
    for (int i = 0; i < Solitaire::CursorTable::kCursorCount; ++i)
        EXPECT_NE(game->getCursorTable().getCursor(i), nullptr) << i;
    EXPECT_NE(globals->getFrameTexture(), nullptr);
    Orvex::GUIMenuN* active = Orvex::GUIMenuManagerN::instance().getActiveMenu();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->getName(), L"STARTMENU");
    step(0.1);
    std::vector<uint32_t> pixels = frame();
    EXPECT_EQ(at(pixels, 60, 60), apptest::kStartScreenColour);
}

// A test process starts game after game and the tutorial manager lives for the process: a game the
// fixture stops while a strip shows must not leave it running (the next game's tutorials would only
// queue behind it).
TEST_F(GameStartTest, AGameStoppedWhileATutorialShowsLeavesNoTutorialRunning) {
    Orvex::XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<T><STRIP NAME=\"HINWEIS\"><PAGE NAME=\"a\"/></STRIP></T>", L"strips"));
    Orvex::TutorialManager::instance().loadTemplates(root);
    Solitaire::SolTutorialManager& tutorials = Solitaire::SolTutorialManager::instance();
    leaveStartScreen();
    ASSERT_TRUE(tutorials.showTutorial(L"HINWEIS", true, false, D3DXVECTOR2(0.0f, 0.0f)));
    ASSERT_TRUE(tutorials.isRunning());
    stop();
    EXPECT_FALSE(tutorials.isRunning());
    EXPECT_EQ(tutorials.getCurrentStrip(), nullptr);
    EXPECT_TRUE(tutorials.getPending().empty());
    start();
}

}  // namespace
