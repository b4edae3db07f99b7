// The hints and automatic moves on the shipped variants: every listed move can be made, the
// tiny variant wins by finishing to its goal pile, a Klondike-like table whose only move left is
// a spent redeal is lost, and the carry limits the variant files ask for.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "game/cards/Anordnung.h"
#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "port/crt/crt.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/cards/PlayTable.h"

namespace Solitaire {
namespace {

using VariantHintTest = cardtest::CardTableFixture;

struct EndListener : sigslot::has_slots<> {
    int won = 0;
    int lost = 0;
    void onEnd(bool const& win, GameEndParms const&) { ++(win ? won : lost); }
};

TEST_F(VariantHintTest, EveryListedMoveCanBeMade) {
    for (wchar_t const* file : {L"Goldrausch", L"GoldrauschDrei", L"Golfplatz", L"Herzreihe", L"Paare", L"Spinne",
                                L"Zellen"}) {
        for (wchar_t const* seed : {L"1", L"2", L"12345"}) {
            manager().createDiscardPile();
            load(std::wstring(L"data\\Level\\") + file + L".sol");
            manager().startGame(nullptr, seed, true, {}, {}, 0.0f);
            int const count = manager().rebuildHints();
            EXPECT_GT(count, 0) << file;
            std::set<std::tuple<Karte*, Kartenstapel*, Karte*>> moves;
            for (HintRecord const& hint : manager().getHints()) {
                if (hint.clickCard) {
                    EXPECT_FALSE(hint.card->isFaceUp()) << file;
                    EXPECT_TRUE(hint.card->backLinks.empty()) << file;
                } else if (hint.clickEmpty) {
                    EXPECT_TRUE(hint.sourcePile->emptyClickFetches()) << file;
                } else {
                    ASSERT_TRUE(hint.isMove);
                    EXPECT_TRUE(hint.sourcePile->canPickCard(hint.card)) << file;
                    EXPECT_TRUE(hint.targetPile->acceptsCards(hint.run, hint.targetCard)) << file;
                    EXPECT_TRUE(moves.emplace(hint.card, hint.targetPile, hint.targetCard).second) << "twice";
                }
                EXPECT_GT(hint.weight, 0.0f);
                EXPECT_LE(hint.weight, 1.0f + 1e-6f);
            }
            EXPECT_NEAR(manager().getHints().back().weight, 1.0f, 1e-5f) << file;
        }
    }
}

TEST_F(VariantHintTest, TheTinyVariantWinsByFinishing) {
    load(L"data\\Level\\Herzreihe.sol");
    EndListener listener;
    manager().gameEnd.connect(&listener, &EndListener::onEnd);
    manager().startGame(nullptr, L"7", true, {}, {}, 0.0f);
    manager().resolveAfterMove(false);
    ASSERT_GT(manager().rebuildHints(), 0);
    EXPECT_TRUE(manager().autoFinish(nullptr));
    std::vector<Karte*> onGoal;
    pile(L"STAPEL_ZIEL").getCards(onGoal, true, true);
    EXPECT_EQ(onGoal.size(), 13u);
    manager().resolveAfterMove(true);
    manager().rebuildHints();
    EXPECT_TRUE(manager().checkWin());
    EXPECT_TRUE(manager().checkEnd());
    EXPECT_EQ(manager().getGameStatus(), 1);
    EXPECT_EQ(listener.won, 1);
    EXPECT_EQ(listener.lost, 0);
    EXPECT_FALSE(manager().autoFinish(nullptr));
}

TEST_F(VariantHintTest, ASpentRedealIsNoMoveAndTheGameIsLost) {
    for (int redeals : {1, 0}) {
        manager().createDiscardPile();
        load(L"data\\Level\\GoldrauschDrei.sol");
        EndListener listener;
        manager().gameEnd.connect(&listener, &EndListener::onEnd);
        manager().startGame(nullptr, L"3", true, {}, {}, 0.0f);
        cardtest::layStuckGoldrauschDrei(manager());
        pile(L"STAPEL_VORRAT").rules.restCount = redeals;
        manager().resolveAfterMove(true);
        EXPECT_EQ(manager().rebuildHints(), redeals) << redeals;
        manager().checkEnd();
        EXPECT_EQ(listener.lost, redeals == 0 ? 1 : 0);
        EXPECT_EQ(manager().getGameStatus(), redeals == 0 ? -1 : 0);
        manager().gameEnd.disconnect(&listener);
    }
}

TEST_F(VariantHintTest, CarryLimitsOfTheVariantFiles) {
    load(L"data\\Level\\Goldrausch.sol");
    manager().startGame(nullptr, L"1", true, {}, {}, 0.0f);
    EXPECT_EQ(pile(L"STAPEL_MUELL").getMaxMovableRun(), 0);  // the waste gives its top card only
    EXPECT_EQ(pile(L"BASIS1").getMaxMovableRun(), 0);
    EXPECT_EQ(pile(L"TABLEAU1").getMaxMovableRun(), -1);

    manager().createDiscardPile();
    load(L"data\\Level\\Zellen.sol");
    manager().startGame(nullptr, L"1", true, {}, {}, 0.0f);
    // Four empty cells: four cards may lie on the card picked.
    EXPECT_EQ(pile(L"TABLEAU1").getMaxMovableRun(), 4);
    Karte* parked = pile(L"TABLEAU1").collectFreeCards().front();
    pile(L"TABLEAU1").removeCard(parked, true);
    parked->unlink(false, true, true);
    pile(L"ZELLE1").addCard(parked, nullptr, true, false);
    EXPECT_EQ(pile(L"TABLEAU1").getMaxMovableRun(), 3);
}

using ShuffleSoakTest = cardtest::PlayTable;

TEST_F(ShuffleSoakTest, ShufflesKeepEveryVariantSoundAndUndoPutsTheCardsBack) {
    // Variants without face-down cards shuffle nothing ("MISCHEN_MODE" takes face-down cards).
    int mixes = 0;
    for (std::wstring const& file : cardtest::kVariants) {
        start(file, L"5");
        frames(1);  // the first update resolves the deal and renews its step
        for (unsigned round = 0; round < 12; ++round) {
            std::vector<std::tuple<Kartenstapel*, Anordnung*, bool>> before;
            for (Karte* card : manager().cards)
                before.emplace_back(card->pile, manager().findArrangementOfCard(card), card->isFaceUp());
            msvc::srand(round);
            if (!manager().mix()) continue;
            ++mixes;
            expectInvariants();
            manager().undoSteps(-1, true, false);
            expectInvariants();
            for (std::size_t i = 0; i < manager().cards.size(); ++i) {
                Karte* card = manager().cards[i];
                EXPECT_EQ(card->pile, std::get<0>(before[i])) << cardtest::narrow(file) << " card " << i;
                EXPECT_EQ(manager().findArrangementOfCard(card), std::get<1>(before[i]));
                EXPECT_EQ(card->isFaceUp(), std::get<2>(before[i]));
            }
        }
    }
    EXPECT_GE(mixes, 4 * 12);
}

}  // namespace
}  // namespace Solitaire
