// Undo and redo steps of the whole table: the refusal against the score the player sees, the
// steps of an automatic finish, and a redeal given back with its step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Style.h"
#include "game/cards/StyleSettings.h"
#include "tests/game/cards/PlayTable.h"

namespace Solitaire {
namespace {

class UndoStepsTest : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        saved_ = look();
    }
    void TearDown() override {
        look() = saved_;
        PlayTable::TearDown();
    }
    static StyleValues& look() { return *StyleSettings::instance().getStyle(); }

private:
    StyleValues saved_;
};

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

// Fourteen hearts, one on each column, and a goal pile that takes them from the ace up: a finish
// moves thirteen (the second ace stays).
std::wstring finishTable() {
    std::wstring columns;
    for (int i = 1; i <= 14; ++i) columns += L"\"|T" + std::to_wstring(i) + L"|\" ";
    std::wstring text = L"<SOLITAIRE NAME=\"F\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"14\" AUTO_CHECK_END=\"0\">"
                        L"<STAPEL NAME=\"G\" STAPELTYP=\"BASIS\" IS_ZIELSTAPEL=\"ZIEL\" ACCEPT_KARTEN_FARBE=\"VORHERIGE\" "
                        L"ACCEPT_KARTEN_WERT=\"VORHERIGE_PLUS\" ACCEPT_KARTEN_WERT_LEER=\"ASS\"><ANORDNUNG NAME=\"A\"/>"
                        L"<QUELLSTAPEL>" + columns + L"</QUELLSTAPEL></STAPEL>";
    for (int i = 1; i <= 14; ++i)
        text += L"<STAPEL NAME=\"T" + std::to_wstring(i) +
                L"\" INIT_KARTEN_SICHTBAR=\"1\"><ANORDNUNG NAME=\"A\"/><ZIELSTAPEL>\"|G|\"</ZIELSTAPEL></STAPEL>";
    return text + L"</SOLITAIRE>";
}

TEST_F(UndoStepsTest, AFinishOfThirteenCardsIsUndoneOneCardAtATime) {
    struct Case {
        bool spaced;  // "USE_AUTOCHECKAUTOFINISH": the resolutions wait a step's time per move
        int resolvedAfterFrames;
    } const cases[] = {{false, 0}, {true, 90}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.spaced);
        look().useAutoCheckAutoFinish = c.spaced;
        look().revealWaitTimer = 0.1f;
        startText(finishTable());
        frames(2);
        Orvex::s32 const start = manager().getUndoIndex();
        ASSERT_TRUE(manager().autoFinish(nullptr));
        EXPECT_EQ(manager().autoMoveCount, -1);
        EXPECT_EQ(manager().getUndoIndex(), start + 13);
        if (c.spaced) {
            // Thirteen moves wait 13 x 0.1 s for their resolution.
            EXPECT_TRUE(manager().resolutionPending);
            EXPECT_NEAR(manager().resolutionDelay, 1.3f, 1.0e-4f);
            EXPECT_EQ(manager().goalCardCount, 0);
        }
        frames(c.resolvedAfterFrames);
        EXPECT_EQ(manager().goalCardCount, 13);
        for (std::size_t left = 12; left + 1 > 0; --left) {
            ASSERT_EQ(manager().undoSteps(-1, true, false), -1);
            std::vector<Karte*> held;
            pile(L"G").getCards(held, true, true);
            ASSERT_EQ(held.size(), left);
            if (left > 0) EXPECT_EQ(held.back()->value, static_cast<int>(left) - 1);
            EXPECT_EQ(manager().goalCardCount, static_cast<int>(left));
        }
        EXPECT_EQ(manager().getUndoIndex(), start);
        expectInvariants();
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
