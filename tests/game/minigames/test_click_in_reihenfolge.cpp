// The click-in-order game on the shipped data ("MINIGAME_6": 1; then 2 and 3; either opens 4;
// then 5), played by clicks.
#include <gtest/gtest.h>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/ClickInReihenfolge.h"
#include "game/minigames/MinispielManager.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::ClickInReihenfolge;

class ClickInReihenfolgeTest : public minigametest::MinigameFixture {
protected:
    ClickInReihenfolge* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<ClickInReihenfolge>(L"MINIGAME_6");
        ASSERT_NE(game, nullptr);
    }

    void stone(int number) {
        click(middleOf(game->getElements()[static_cast<std::size_t>(number - 1)]->getScreenRect()));
    }
};

TEST_F(ClickInReihenfolgeTest, WonByClickingTheStonesInTheirOrder) {
    keep("reihenfolge_start");
    for (int number : {1, 3, 2, 4}) stone(number);
    EXPECT_EQ(game->getDone(), (std::vector<long>{1, 3, 2, 4}));
    EXPECT_FALSE(game->isFinished(false));
    stone(5);
    EXPECT_TRUE(game->isFinished(false));
    ticks(kSettleFrames);
    tick();
    keep("reihenfolge_geloest");
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(ClickInReihenfolgeTest, AStoneThatIsNotOpenDoesNothing) {
    stone(2);
    stone(5);
    EXPECT_TRUE(game->getDone().empty());
    EXPECT_EQ(game->getOpen(), (std::vector<long>{1}));
    stone(1);
    stone(1);
    EXPECT_EQ(game->getDone(), (std::vector<long>{1}));
    EXPECT_EQ(game->getOpen(), (std::vector<long>{2, 3}));
}

TEST_F(ClickInReihenfolgeTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

}  // namespace
