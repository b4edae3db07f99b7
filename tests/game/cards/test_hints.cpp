// The hint list: a known position's list written out by hand, the weights and fractions, the
// click records, and the empty-pile click that must not keep a lost game alive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/cards/RuleTableBuilder.h"
#include "tests/game/cards/Suits.h"

namespace Solitaire {
namespace {

using cardtest::Dealt;
using cardtest::deal;
using cardtest::makePile;
using HintTest = cardtest::CardTableFixture;

using namespace cardtest::suits;

wchar_t const* const kAllNames =
    L"\"|T1|\" \"|T2|\" \"|T3|\" \"|T4|\" \"|T5|\" \"|T6|\" \"|G|\" \"|V|\" \"|M|\"";
wchar_t const* const kTableau =
    L"STAPELTYP=\"TABLEAU\" ACCEPT_KARTEN_FARBE=\"ALLE_WECHSEL\" ACCEPT_KARTEN_WERT=\"VORHERIGE_MINUS\" "
    L"ACCEPT_KARTEN_WERT_LEER=\"KÖNIG\" MOVE_STAPEL_FARBE=\"ALLE_WECHSEL\" MOVE_STAPEL_WERT=\"VORHERIGE_MINUS\"";
wchar_t const* const kGoal =
    L"STAPELTYP=\"BASIS\" IS_ZIELSTAPEL=\"ZIEL\" ACCEPT_KARTEN_FARBE=\"VORHERIGE\" ACCEPT_KARTEN_WERT=\"VORHERIGE_PLUS\" "
    L"ACCEPT_KARTEN_WERT_LEER=\"ASS\" ACCEPT_STAPEL_SIZE=\"1\" MOVE_STAPEL_MAX_SIZE=\"0\"";

// A pile that may give cards to and take cards from every pile of the table.
Kartenstapel* tablePile(std::wstring const& name, std::wstring const& attributes) {
    return makePile(L"<STAPEL NAME=\"" + name + L"\" " + attributes + L"><ANORDNUNG NAME=\"A\"/><QUELLSTAPEL>" +
                    kAllNames + L"</QUELLSTAPEL><ZIELSTAPEL>" + kAllNames + L"</ZIELSTAPEL></STAPEL>");
}

struct Expected {
    char kind;  // 'c' card click, 'e' empty click, 'm' move
    Karte* card;
    Kartenstapel* source;
    Kartenstapel* target;
    Karte* targetCard;
    std::size_t runLength;
    int direction;
    float fraction;
};

void expectList(std::vector<HintRecord> const& hints, std::vector<Expected> const& expected) {
    ASSERT_EQ(hints.size(), expected.size());
    for (std::size_t i = 0; i < hints.size(); ++i) {
        HintRecord const& h = hints[i];
        Expected const& e = expected[i];
        char const kind = h.clickCard ? 'c' : h.clickEmpty ? 'e' : h.isMove ? 'm' : '?';
        EXPECT_EQ(kind, e.kind) << i;
        EXPECT_EQ(int(h.clickCard) + int(h.clickEmpty) + int(h.isMove), 1) << i;
        EXPECT_EQ(h.card, e.card) << i;
        EXPECT_EQ(h.sourcePile, e.source) << i;
        EXPECT_EQ(h.targetPile, e.target) << i;
        EXPECT_EQ(h.targetCard, e.targetCard) << i;
        EXPECT_EQ(h.run.size(), e.runLength) << i;
        if (!h.run.empty()) {
            EXPECT_EQ(h.run.front().first, h.card) << i;
        }
        EXPECT_EQ(h.direction, e.direction) << i;
        EXPECT_NEAR(h.weight, e.fraction, 1e-6f) << i;
    }
}

TEST_F(HintTest, AKnownPositionGivesItsListInOrder) {
    Kartenstapel* t1 = tablePile(L"T1", kTableau);
    Kartenstapel* t2 = tablePile(L"T2", kTableau);
    tablePile(L"T3", kTableau);
    Kartenstapel* t4 = tablePile(L"T4", kTableau);
    Kartenstapel* t5 = tablePile(L"T5", kTableau);
    Kartenstapel* t6 = tablePile(L"T6", kTableau);
    Kartenstapel* goal = tablePile(L"G", kGoal);
    Karte* nine = deal(t1, {{kPik, 8}})[0];
    std::vector<Karte*> eightSeven = deal(t2, {{kHerz, 7}, {kKreuz, 6}});
    Karte* two = deal(t4, {{kHerz, 1}})[0];
    Karte* hidden = deal(t5, {{kPik, 4, false}})[0];
    Karte* eightDiamonds = deal(t6, {{kKaro, 7}})[0];
    Karte* ace = deal(goal, {{kHerz, 0}})[0];

    ASSERT_EQ(manager().rebuildHints(), 5);
    float const total = 100 + 100 + 50 + 50 + 1;
    expectList(manager().getHints(),
               {
                   {'m', two, t4, goal, ace, 1, 1, 100 / total},
                   {'c', hidden, t5, nullptr, nullptr, 0, 0, 200 / total},
                   {'m', eightSeven[0], t2, t1, nine, 2, 0, 250 / total},
                   {'m', eightDiamonds, t6, t1, nine, 1, 0, 300 / total},
                   // The seven already lies on a fitting card: moving it gains nothing.
                   {'m', eightSeven[1], t2, t6, eightDiamonds, 1, 0, 1.0f},
               });
    EXPECT_EQ(manager().getPlayState().hintIndex, 0);
}

TEST_F(HintTest, WeightsByWhereAMoveStartsAndEnds) {
    // A card leaving a goal pile for a tableau pile weighs 5 and points away (-1).
    Kartenstapel* goal = tablePile(L"G", std::wstring(kGoal) + L" ACCEPT_STAPEL_SIZE=\"-1\"");
    goal->rules.moveMaxSize = -1;
    Kartenstapel* t1 = tablePile(L"T1", kTableau);
    Karte* queen = deal(t1, {{kPik, 11}})[0];
    Karte* jack = deal(goal, {{kHerz, 10}})[0];
    std::vector<HintRecord> out;
    EXPECT_EQ(goal->collectMoves(manager().piles, out, HintWeights{}), 3);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].card, jack);
    EXPECT_EQ(out[0].targetCard, queen);
    EXPECT_EQ(out[0].weight, 5.0f);
    EXPECT_EQ(out[0].direction, -1);

    // Between goal piles: 10, direction 0; onto a pairs pile: direction +1.
    Kartenstapel* second = tablePile(L"T2", L"IS_ZIELSTAPEL=\"ZIEL\"");
    (void)second;
    out.clear();
    goal->collectMoves(manager().piles, out, HintWeights{});
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].weight, 10.0f);
    EXPECT_EQ(out[1].direction, 0);
    Kartenstapel* pairs = tablePile(L"T3", L"PAIRS=\"1\"");
    (void)pairs;
    out.clear();
    t1->collectMoves(manager().piles, out, HintWeights{});
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back().targetPile, pairs);
    EXPECT_EQ(out.back().direction, 1);
    EXPECT_EQ(out.back().weight, 50.0f);
}

TEST_F(HintTest, AnOpenFaceDownCardOffersOnlyItsClick) {
    Kartenstapel* stock = tablePile(L"V", L"STAPELTYP=\"VORRAT\"");
    Kartenstapel* t1 = tablePile(L"T1", L"");
    std::vector<Karte*> cards = deal(stock, {{kPik, 3}, {kPik, 4, false}});
    deal(t1, {{kHerz, 9}});
    std::vector<HintRecord> out;
    EXPECT_EQ(stock->collectMoves(manager().piles, out, HintWeights{}), 1);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].card, cards[1]);
    EXPECT_EQ(out[0].weight, 25.0f);  // not a tableau pile
    // Locked, or a pile whose face-down cards do nothing on a click: no click record.
    cards[1]->setLocks(D3DXVECTOR4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f, 0.0f);
    out.clear();
    EXPECT_EQ(stock->collectMoves(manager().piles, out, HintWeights{}), 0);
}

TEST_F(HintTest, FractionsOfWeights100And50And50) {
    // Two cards that may go onto each other; the four may also go to the goal pile (100).
    tablePile(L"G", L"IS_ZIELSTAPEL=\"ZIEL\" STAPELTYP=\"BASIS\" ACCEPT_KARTEN_WERT_LEER=\"4\"");
    tablePile(L"T1", L"ACCEPT_KARTEN_FARBE_LEER=\"NICHTS\"");
    Kartenstapel* t2 = tablePile(L"T2", L"ACCEPT_KARTEN_FARBE_LEER=\"NICHTS\"");
    Kartenstapel* t3 = tablePile(L"T3", L"ACCEPT_KARTEN_FARBE_LEER=\"NICHTS\"");
    Karte* four = deal(t2, {{kHerz, 3}})[0];
    deal(t3, {{kHerz, 4}});
    ASSERT_EQ(manager().rebuildHints(), 3);
    EXPECT_EQ(manager().getHints()[0].card, four);
    EXPECT_FLOAT_EQ(manager().getHints()[0].weight, 0.5f);
    EXPECT_FLOAT_EQ(manager().getHints()[1].weight, 0.75f);
    EXPECT_FLOAT_EQ(manager().getHints()[2].weight, 1.0f);
}

TEST_F(HintTest, TheEmptyStockClickCountsOnlyWhileItFetches) {
    struct Case {
        wchar_t const* name;
        int restCount;
        bool wasteHolds;
        bool record;
    } const cases[] = {
        {L"unlimited, waste holds cards", -1, true, true},
        {L"one redeal left", 1, true, true},
        {L"redeals spent", 0, true, false},
        {L"nothing to fetch", -1, false, false},
    };
    for (Case const& c : cases) {
        manager().createDiscardPile();
        Kartenstapel* stock = makePile(
            L"<STAPEL NAME=\"V\" STAPELTYP=\"VORRAT\" CAN_MOVE_STAPEL=\"0\" CLICK_ON_LEER=\"HOLEN_VERKN_VERDECKT "
            L"HOLEN_xMULT\" REST_COUNT_HOLEN=\"" +
            std::to_wstring(c.restCount) + L"\"><ANORDNUNG NAME=\"A\"/><VERKNÜPFT>\"|M|\"</VERKNÜPFT></STAPEL>");
        Kartenstapel* waste = tablePile(L"M", L"CAN_MOVE_STAPEL=\"0\"");
        if (c.wasteHolds) deal(waste, {{kPik, 3}, {kPik, 5}});
        // Nothing else can move: with no record the game is lost.
        EXPECT_EQ(manager().rebuildHints(), c.record ? 1 : 0) << c.name;
        if (!c.record) continue;
        HintRecord const& hint = manager().getHints().front();
        EXPECT_TRUE(hint.clickEmpty);
        EXPECT_EQ(hint.sourcePile, stock);
        EXPECT_EQ(hint.card, nullptr);
        std::vector<HintRecord> out;
        EXPECT_EQ(stock->collectMoves(manager().piles, out, HintWeights{}), 2);
        EXPECT_EQ(out.front().weight, 10.0f);
    }
}

TEST_F(HintTest, AnEmptyPileOffersItsClickBesideTheMovesOfItsLinkedCards) {
    Kartenstapel* empty = makePile(L"<STAPEL NAME=\"V\" CLICK_ON_LEER=\"HOLEN_VERKN_ALLE\"><ANORDNUNG NAME=\"A\"/>"
                                   L"<VERKNÜPFT>\"|M|\"</VERKNÜPFT></STAPEL>");
    Kartenstapel* linked = tablePile(L"M", L"");
    tablePile(L"T1", L"");
    deal(linked, {{kPik, 3}});
    // The linked card may go onto the empty T1 (by M's and T1's lists): one move, and the click.
    std::vector<HintRecord> out;
    EXPECT_EQ(empty->collectMoves(manager().piles, out, HintWeights{}), 3);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(out[0].isMove);
    EXPECT_TRUE(out[1].clickEmpty);
}

TEST_F(HintTest, WildcardAndJokerPilesOfferNoMovesOfTheirOwn) {
    Kartenstapel* wild = tablePile(L"W", L"STAPELTYP=\"WILDCARD\"");
    tablePile(L"T1", L"");
    deal(wild, {{kHerz, 3}});
    EXPECT_EQ(manager().rebuildHints(), 0);
}

}  // namespace
}  // namespace Solitaire
