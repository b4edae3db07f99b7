// The game object's start-up on the test data: what it loads and keeps, the loading screen, and
// the first frames.
#include <gtest/gtest.h>

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
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

}  // namespace
