// The click-the-shown-object game on the shipped data ("MINIGAME_2": three shapes, two rounds),
// played by input events through the window.
#include <gtest/gtest.h>

#include "game/minigames/MinispielManager.h"
#include "game/minigames/ObjekteAnklicken.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::ObjekteAnklicken;

class ObjekteAnklickenTest : public minigametest::MinigameFixture {
protected:
    ObjekteAnklicken* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = dynamic_cast<ObjekteAnklicken*>(begin(L"MINIGAME_2"));
        ASSERT_NE(game, nullptr);
    }

    // The middle of the round's target (its box turns about it).
    D3DXVECTOR2 target() const {
        return middleOf(Orvex::boundingRectOfSpriteRect(game->getObjects()[0]->getSpriteRect()));
    }
};

TEST_F(ObjekteAnklickenTest, WonByClickingTheShownObjectInEveryRound) {
    keep("objekt_klicken_hilfe");
    closeHelp();
    keep("objekt_klicken_start");
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(game->getRound(), round);
        click(target());
    }
    EXPECT_EQ(log.count(L"move"), 2u);
    EXPECT_TRUE(game->isFinished(false));
    keep("objekt_klicken_geloest");
    waitForTheEnd(*game);
    expectWon();
    tick();
    EXPECT_EQ(active(), nullptr);
}

TEST_F(ObjekteAnklickenTest, LostWhenTheTimeRunsOutAndTheSecondSkipButtonIsClicked) {
    closeHelp();
    loseByTime();
    expectSkipped();
    tick();
    EXPECT_EQ(active(), nullptr);
}

}  // namespace
