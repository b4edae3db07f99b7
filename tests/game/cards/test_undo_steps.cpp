// Undo and redo steps of the whole table: the refusal against the score the player sees, and a
// redeal given back with its step.
#include <gtest/gtest.h>

#include <vector>

#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/game/cards/PlayTable.h"

namespace Solitaire {
namespace {

using UndoStepsTest = cardtest::PlayTable;

TEST_F(UndoStepsTest, AnUndoIsRefusedWhenItCostsMoreThanTheShownScoreOrTheBalance) {
    struct Case {
        float score, bonus, balance;
        bool undone;
    } const cases[] = {
        {70.0f, -50.0f, 1000.0f, false},  // shown 20, the undo costs 50
        {100.0f, -50.0f, 1000.0f, true},  // shown 50
        {1000.0f, 0.0f, 49.0f, false},
        {50.0f, 0.0f, 50.0f, true},
    };
    for (Case const& c : cases) {
        startText(cardtest::kGoalTable);
        style().undoPoints = -50.0f;
        move(pile(L"T"), pile(L"Z"), 1);
        Orvex::s32 const index = manager().getUndoIndex();
        manager().score = c.score;
        manager().bonusScore = c.bonus;
        manager().pointsBalance = c.balance;
        EXPECT_EQ(manager().undoSteps(-1, false, false), c.undone ? -1 : 0) << c.score << " " << c.bonus;
        EXPECT_EQ(manager().getUndoIndex(), c.undone ? index - 1 : index);
        EXPECT_EQ(manager().score, c.undone ? c.score - 50.0f : c.score);
        EXPECT_GE(manager().getScore(), 0.0f);
    }
}

TEST_F(UndoStepsTest, AnUndoneRedealIsGivenBackAndTheGameGoesOn) {
    start(L"data\\Level\\GoldrauschDrei.sol", L"3");
    frames(2);
    // Nothing moves but the one redeal left.
    cardtest::layStuckGoldrauschDrei(manager());
    Kartenstapel& stock = pile(L"STAPEL_VORRAT");
    stock.rules.restCount = 1;
    manager().saveUndoState();
    ASSERT_EQ(manager().rebuildHints(), 1);
    ASSERT_TRUE(manager().onClickEmpty(&stock));
    manager().saveUndoState();
    ASSERT_EQ(manager().undoSteps(-1, true, false), -1);
    EXPECT_EQ(manager().rebuildHints(), 1) << "the redeal is offered again";
    EXPECT_FALSE(manager().checkEnd());
    EXPECT_EQ(manager().gameStatus, 0);
    EXPECT_TRUE(manager().onClickEmpty(&stock));
}

}  // namespace
}  // namespace Solitaire
