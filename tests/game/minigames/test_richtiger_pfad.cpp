// The path game on the shipped data ("MINIGAME_5": three gates, the first leads to the chest),
// played by clicks.
#include <gtest/gtest.h>

#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/RichtigenPfadAnklicken.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::RichtigenPfadAnklicken;

class RichtigerPfadTest : public minigametest::MinigameFixture {
protected:
    RichtigenPfadAnklicken* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<RichtigenPfadAnklicken>(L"MINIGAME_5");
        ASSERT_NE(game, nullptr);
    }

    void tickPath(std::size_t index) {
        click(middleOf(game->getAreas()[index]->checkBox->getScreenRect()));
    }
    void check() { clickPart(L"RICHTIGER_WEG_OK"); }
};

TEST_F(RichtigerPfadTest, WonByTickingThePathToTheChest) {
    keep("pfad_start");
    tickPath(0);
    check();
    EXPECT_TRUE(game->isFinished(false));
    EXPECT_EQ(log.count(L"ended"), 0u);
    wait(1.0);
    keep("pfad_geloest");
    // The goal picture lies over the paths.
    EXPECT_NE(game->getWorkWindow()->getDrawOptions().getTexBackground(), nullptr);
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(RichtigerPfadTest, AWrongPathFailsAndStartsOverWithItsTickKept) {
    tickPath(0);
    tickPath(2);
    EXPECT_FALSE(game->getAreas()[0]->checkBox->isChecked());
    check();
    EXPECT_EQ(log.count(L"failed"), 1u);
    EXPECT_FALSE(game->isFinished(false));
    EXPECT_TRUE(game->getAreas()[2]->checkBox->isChecked());
    check();
    EXPECT_EQ(log.count(L"failed"), 2u);
}

TEST_F(RichtigerPfadTest, OkWithNothingTickedSolves) {
    check();
    EXPECT_TRUE(game->isFinished(false));
}

TEST_F(RichtigerPfadTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

}  // namespace
