// Showing hints (charges, refusals, cycling, the goal-first and joker-avoiding modes, the marks
// of each record kind, none after the reset) and the shuffle power.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/cards/Anordnung.h"
#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/PileWords.h"
#include "game/look/GameStyle.h"
#include "port/crt/crt.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/cards/RuleTableBuilder.h"
#include "tests/game/cards/Suits.h"

namespace Solitaire {
namespace {

using cardtest::deal;
using cardtest::makePile;
using cardtest::rulePile;

using namespace cardtest::suits;

class ShowHintTest : public cardtest::CardTableFixture {
protected:
    void SetUp() override {
        CardTableFixture::SetUp();
        style().setDefaults();
        style().tippPoints = -50.0f;
        style().autoMultiplier = false;
        manager().setGameStyle(&style());
        manager().setGameStatus(kGameRunning);
        manager().setScore(1000.0f, 0.0f);
        manager().setPointsBalance(1000.0f, false);
    }
    void TearDown() override {
        manager().setGameStyle(nullptr);
        CardTableFixture::TearDown();
    }
    static void setHintIndex(int index) {
        PlayState state = manager().getPlayState();
        state.hintIndex = index;
        manager().setPlayState(state);
    }
    static GameStyle& style() {
        static GameStyle* const kept = new GameStyle(L"HINT_TEST");  // kept for the whole run
        return *kept;
    }

    // Three cards that each may go onto the next pile's empty place: three move records.
    std::vector<Karte*> threeMoves() {
        std::vector<Karte*> cards;
        for (int i = 0; i < 3; ++i) {
            Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P" + std::to_wstring(i) +
                                          L"\" ACCEPT_KARTEN_FARBE_LEER=\"NICHTS\"><ANORDNUNG NAME=\"A\"/>"
                                          L"<QUELLSTAPEL>\"|P0|\" \"|P1|\" \"|P2|\"</QUELLSTAPEL>"
                                          L"<ZIELSTAPEL>\"|P0|\" \"|P1|\" \"|P2|\"</ZIELSTAPEL></STAPEL>");
            cards.push_back(deal(pile, {{kHerz, i + 4}})[0]);
        }
        EXPECT_EQ(manager().rebuildHints(), 6);  // each card onto each other card
        return cards;
    }
};

TEST_F(ShowHintTest, NothingToShowCostsNothing) {
    EXPECT_EQ(manager().rebuildHints(), 0);
    EXPECT_FALSE(manager().showHint(false, true, false));
    EXPECT_EQ(manager().getScorePlus(), 1000.0f);
}

// The reset releases the cards and piles the hints name: the list goes with them, so a hint
// asked for before the next deal shows nothing instead of reaching for released cards.
TEST_F(ShowHintTest, TheResetTakesTheHintsWithTheTable) {
    threeMoves();
    manager().createDiscardPile();
    EXPECT_TRUE(manager().getHints().empty());
    manager().setGameStyle(&style());
    EXPECT_FALSE(manager().showHint(false, false, false));
    EXPECT_FALSE(manager().showHint(true, false, true));
}

TEST_F(ShowHintTest, APaidHintNeedsScoreAndBalance) {
    threeMoves();
    struct Case {
        float score;
        float bonus;
        float balance;
        bool shown;
    } const cases[] = {
        {40.0f, 0.0f, 1000.0f, false},  // a hint costing 50 with a score of 40
        {40.0f, 10.0f, 1000.0f, true},  // the time drain counts with the score
        {1000.0f, 0.0f, 49.0f, false},
        {50.0f, 0.0f, 50.0f, true},
    };
    for (Case const& c : cases) {
        manager().setScore(c.score, c.bonus);
        manager().setPointsBalance(c.balance, false);
        setHintIndex(0);
        EXPECT_EQ(manager().showHint(false, true, false), c.shown) << c.score << " " << c.balance;
        EXPECT_EQ(manager().getPlayState().hintIndex, c.shown ? 1 : 0);
        EXPECT_EQ(manager().getScorePlus(), c.shown ? std::max(0.0f, c.score - 50.0f) : c.score);
    }
    manager().setScore(0.0f, manager().getScoreMinus());
    EXPECT_TRUE(manager().showHint(false, false, false));  // unpaid: free
}

TEST_F(ShowHintTest, RepeatedHintsCycleThroughTheList) {
    threeMoves();
    std::vector<HintRecord> const list = manager().getHints();
    for (int shown = 0; shown < 8; ++shown) {
        HintRecord const& expected = list[static_cast<std::size_t>(shown) % list.size()];
        ASSERT_TRUE(manager().showHint(false, false, false));
        EXPECT_EQ(expected.card->getMarkState(), kMarkTip2) << shown;
        EXPECT_EQ(manager().getPlayState().hintIndex, (shown + 1) % 6);
    }
    manager().setGameStatus(kGameWon);  // decided: no more hints
    EXPECT_FALSE(manager().showHint(false, false, false));
}

TEST_F(ShowHintTest, GoalFirstAndAvoidingJokerPiles) {
    std::vector<Karte*> cards = threeMoves();
    EXPECT_FALSE(manager().showHint(true, true, false));  // no move towards a goal
    makePile(L"<STAPEL NAME=\"G\" IS_ZIELSTAPEL=\"ZIEL\"><ANORDNUNG NAME=\"A\"/><QUELLSTAPEL>\"|P1|\"</QUELLSTAPEL></STAPEL>");
    manager().findPile(L"P1")->rules.targetPiles.push_back(L"G");
    manager().rebuildHints();
    setHintIndex(3);
    ASSERT_TRUE(manager().showHint(true, true, false));
    EXPECT_EQ(cards[1]->getMarkState(), kMarkTip2);
    EXPECT_EQ(manager().getPlayState().hintIndex, 3);       // the cursor stays
    EXPECT_EQ(manager().getScorePlus(), 1000.0f);     // and it costs nothing

    // Every record takes a card off a joker pile: nothing to show while avoiding them.
    for (Kartenstapel* pile : manager().piles) pile->rules.pileType = kPileJoker;
    for (Karte* card : cards) card->isJoker = true;
    EXPECT_TRUE(isJokerOrWildcardMove(manager().getHints().front()));
    EXPECT_FALSE(manager().showHint(false, false, true));
    EXPECT_FALSE(manager().showHint(true, false, true));
    // Plain cards on plain piles again: the cursor passes the records that still touch a joker
    // or its pile.
    for (int i = 0; i < 2; ++i) {
        manager().findPile(L"P" + std::to_wstring(i))->rules.pileType = kPileTableau;
        cards[static_cast<std::size_t>(i)]->isJoker = false;
    }
    setHintIndex(0);
    EXPECT_TRUE(manager().showHint(false, false, true));
    std::size_t const count = manager().getHints().size();
    std::size_t const shown = (static_cast<std::size_t>(manager().getPlayState().hintIndex) + count - 1) % count;
    EXPECT_FALSE(isJokerOrWildcardMove(manager().getHints()[shown]));
}

TEST_F(ShowHintTest, AMoveFromOrToAWildcardOrJokerPileTouchesAJoker) {
    Kartenstapel* tableau = rulePile(L"T", L"");
    Kartenstapel* other = rulePile(L"U", L"");
    Karte* plain = deal(tableau, {{kHerz, 4}})[0];
    Karte* onOther = deal(other, {{kPik, 5}})[0];
    struct Case {
        wchar_t const* source;
        wchar_t const* target;
        bool touches;
    } const cases[] = {
        {L"TABLEAU", L"TABLEAU", false}, {L"JOKER", L"TABLEAU", true},  {L"TABLEAU", L"WILDCARD", true},
        {L"TABLEAU", L"WILDCARD_JOKER", true}, {L"BASIS", L"VORRAT", false},
    };
    for (Case const& c : cases) {
        tableau->rules.pileType = parsePileType(c.source);
        other->rules.pileType = parsePileType(c.target);
        HintRecord const record{
            .isMove = true, .sourcePile = tableau, .targetPile = other, .card = plain, .targetCard = onOther,
            .run = {{plain, 0}}};
        EXPECT_EQ(isJokerOrWildcardMove(record), c.touches) << tableau->rules.pileType << " " << other->rules.pileType;
    }
}

TEST_F(ShowHintTest, EachRecordKindShowsItsMarks) {
    Kartenstapel* source = rulePile(L"S", L"");
    Kartenstapel* target = rulePile(L"T", L"");
    std::vector<Karte*> run = deal(source, {{kPik, 9}, {kHerz, 8}, {kPik, 7}});
    std::vector<Karte*> onTarget = deal(target, {{kPik, 3}, {kPik, 10}});

    HintRecord move;
    move.isMove = true;
    move.sourcePile = source;
    move.targetPile = target;
    move.card = run[1];
    move.targetCard = onTarget[1];
    move.run = cardtest::runFrom(run[1]);
    manager().showHintRecord(move);
    EXPECT_EQ(run[0]->getMarkState(), 0);
    EXPECT_EQ(run[1]->getMarkState(), kMarkTip2);
    EXPECT_EQ(run[2]->getMarkState(), kMarkTip1);
    EXPECT_EQ(target->getMarkState(), kMarkTip2);
    EXPECT_EQ(onTarget[0]->getMarkState(), kMarkTip2);

    style().tipStyle = 1;  // cards only
    manager().showHintRecord(move);
    EXPECT_EQ(run[2]->getMarkState(), 0);
    EXPECT_EQ(target->getMarkState(), 0);
    EXPECT_EQ(onTarget[0]->getMarkState(), 0);
    EXPECT_EQ(onTarget[1]->getMarkState(), kMarkTip2);
    EXPECT_EQ(run[1]->getMarkState(), kMarkTip2);

    manager().showHintRecord(HintRecord::cardClick(source, run[0], 1.0f, 0));
    EXPECT_EQ(run[0]->getMarkState(), kMarkTip2);
    EXPECT_EQ(run[1]->getMarkState(), 0);

    HintRecord empty;
    empty.clickEmpty = true;
    empty.sourcePile = rulePile(L"V", L"");
    manager().showHintRecord(empty);
    EXPECT_EQ(empty.sourcePile->getMarkState(), kMarkTip1);
    EXPECT_EQ(run[0]->getMarkState(), 0);
}

using MixTest = ShowHintTest;

TEST_F(MixTest, AnOddCountMovesEveryCardAndTheShuffleCosts) {
    style().mischenPoints = -500.0f;
    std::vector<Karte*> cards;
    std::vector<Kartenstapel*> piles;
    for (int i = 0; i < 3; ++i) {
        piles.push_back(rulePile(L"P" + std::to_wstring(i), L"MISCHEN_MODE=\"SICHTBAR\""));
        cards.push_back(deal(piles.back(), {{kHerz, i}})[0]);
    }
    for (unsigned seed : {1u, 2u, 3u, 77u}) {
        msvc::srand(seed);
        std::vector<Kartenstapel*> before;
        for (Karte* card : cards) before.push_back(card->pile);
        int const undoBefore = manager().getUndoIndex();
        float const scoreBefore = manager().getScorePlus();
        ASSERT_TRUE(manager().mix());
        for (std::size_t i = 0; i < cards.size(); ++i) {
            EXPECT_NE(cards[i]->pile, before[i]) << seed;
            EXPECT_EQ(manager().findArrangementOfCard(cards[i])->getPile(), cards[i]->pile);
        }
        EXPECT_EQ(manager().getUndoIndex(), undoBefore + 1);
        EXPECT_EQ(manager().getScorePlus(), std::max(0.0f, scoreBefore - 500.0f));
    }
}

TEST_F(MixTest, SpecialCardsStayAndTooFewCardsDoNothing) {
    Kartenstapel* a = rulePile(L"A", L"MISCHEN_MODE=\"SICHTBAR VERDECKT\"");
    Kartenstapel* b = rulePile(L"B", L"MISCHEN_MODE=\"SICHTBAR\"");
    Kartenstapel* goal = rulePile(L"G", L"IS_ZIELSTAPEL=\"ZIEL\"");  // a goal pile shuffles nothing
    std::vector<Karte*> onA = deal(a, {{kPik, 1, false}, {kPik, 2}});
    Karte* joker = deal(b, {{kHerz, 5}})[0];
    joker->isJoker = true;
    Karte* extra = deal(b, {{kExtra, 0}})[0];
    Karte* kept = deal(goal, {{kHerz, 0}})[0];
    for (unsigned seed = 1; seed < 20; ++seed) {
        msvc::srand(seed);
        manager().mix();
        EXPECT_EQ(joker->pile, b);
        EXPECT_EQ(extra->pile, b);
        EXPECT_EQ(kept->pile, goal);
        EXPECT_EQ(b->getRootArrangement()->cards, (std::vector<Karte*>{joker, extra}));
    }
    (void)onA;

    manager().createDiscardPile();
    manager().setGameStyle(&style());
    Kartenstapel* lone = rulePile(L"L", L"MISCHEN_MODE=\"SICHTBAR\"");
    deal(lone, {{kPik, 4}, {kPik, 5, false}});
    int const undoBefore = manager().getUndoIndex();
    EXPECT_FALSE(manager().mix());  // one card: no points, no undo step
    EXPECT_EQ(manager().getUndoIndex(), undoBefore);
    EXPECT_EQ(manager().getScorePlus(), 1000.0f);
}

}  // namespace
}  // namespace Solitaire
