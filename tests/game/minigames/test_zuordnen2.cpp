// The placing game on the shipped data ("MINIGAME_1": three shapes onto their shadows), played by
// dragging with input events.
#include <gtest/gtest.h>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen2.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::MinispielZuordnen2;

class Zuordnen2Test : public minigametest::MinigameFixture {
protected:
    MinispielZuordnen2* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<MinispielZuordnen2>(L"MINIGAME_1");
        ASSERT_NE(game, nullptr);
    }

    void put(MinispielZuordnen2::Gegenstand* piece, MinispielZuordnen2::Gebiet* shadow) {
        drag(reachablePointOf(*piece->window), middleOf(shadow->window->getScreenRect()));
    }
};

TEST_F(Zuordnen2Test, WonWhenEveryShapeLiesOnItsShadow) {
    keep("zuordnen2_start");
    for (auto* piece : game->getItems()) put(piece, piece->target.get());
    EXPECT_EQ(log.count(L"move"), 3u);
    EXPECT_EQ(log.count(L"wrong"), 0u);
    EXPECT_TRUE(game->isFinished(false));
    keep("zuordnen2_geloest");
    for (auto* piece : game->getItems()) {
        // Placed pieces lie in the work window and take no input any more.
        EXPECT_EQ(piece->window->getParent(), game->getWorkWindow());
        EXPECT_FALSE(piece->window->getOptions().enabled);
    }
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(Zuordnen2Test, AWrongShadowSignalsAWrongMoveAndLeavesTheShapeWhereItWasDropped) {
    auto* piece = game->getItems()[0];
    auto* other = game->getAreas()[1] == piece->target ? game->getAreas()[0] : game->getAreas()[1];
    put(piece, other);
    EXPECT_EQ(log.linesOf(L"move").size(), 1u);
    EXPECT_EQ(log.count(L"wrong"), 1u);
    EXPECT_EQ(piece->area, other);
    EXPECT_TRUE(piece->window->getOptions().enabled);
    EXPECT_NE(piece->window->getParent(), game->getWorkWindow());
    EXPECT_FALSE(game->isFinished(false));
}

TEST_F(Zuordnen2Test, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

}  // namespace
