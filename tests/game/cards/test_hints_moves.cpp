// Automatic moves: finishing to the goal piles (which ends, also where two piles would pass a
// card to and fro), moving a run to a goal pile or to any pile, and two cards swapping places.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/game/cards/PlayTable.h"
#include "tests/game/cards/RuleTableBuilder.h"
#include "tests/game/cards/Suits.h"

namespace Solitaire {
namespace {

using cardtest::deal;
using cardtest::makePile;
using cardtest::runFrom;
using AutoMoveTest = cardtest::PlayTable;

using namespace cardtest::suits;

std::wstring names(std::vector<std::wstring> const& list) {
    std::wstring out;
    for (std::wstring const& name : list) out += L"\"|" + name + L"|\" ";
    return out;
}

Kartenstapel* pileBetween(std::wstring const& name, std::wstring const& attributes,
                          std::vector<std::wstring> const& others) {
    return makePile(L"<STAPEL NAME=\"" + name + L"\" " + attributes + L"><ANORDNUNG NAME=\"A\"/><QUELLSTAPEL>" +
                    names(others) + L"</QUELLSTAPEL><ZIELSTAPEL>" + names(others) + L"</ZIELSTAPEL></STAPEL>");
}

wchar_t const* const kFoundationGoal = L"IS_ZIELSTAPEL=\"ZIEL\" ACCEPT_KARTEN_FARBE=\"VORHERIGE\" "
                             L"ACCEPT_KARTEN_WERT=\"VORHERIGE_PLUS\" ACCEPT_KARTEN_WERT_LEER=\"ASS\"";

TEST_F(AutoMoveTest, FinishingMovesEveryCardToTheGoalOnce) {
    // Thirteen hearts, one per pile in a mixed order, and one goal pile.
    int const order[13] = {4, 12, 0, 7, 2, 9, 1, 11, 3, 6, 10, 5, 8};
    std::vector<std::wstring> all{L"G"};
    for (int i = 0; i < 13; ++i) all.push_back(L"T" + std::to_wstring(i));
    std::vector<Kartenstapel*> columns;
    for (int i = 0; i < 13; ++i) {
        columns.push_back(pileBetween(all[static_cast<std::size_t>(i) + 1], L"", all));
        deal(columns.back(), {{kHerz, order[i]}});
    }
    Kartenstapel* goal = pileBetween(L"G", kFoundationGoal, all);
    EXPECT_TRUE(manager().autoFinish(nullptr));
    std::vector<Karte*> onGoal;
    goal->getCards(onGoal, true, true);
    ASSERT_EQ(onGoal.size(), 13u);
    for (int v = 0; v < 13; ++v) EXPECT_EQ(onGoal[static_cast<std::size_t>(v)]->value, v);
    expectInvariants();
    EXPECT_FALSE(manager().autoFinish(nullptr));  // nothing left to move
}

TEST_F(AutoMoveTest, FinishingEndsWherePilesWouldPassACardToAndFro) {
    // Two goal piles that both take an ace, and two pairs piles that take anything from each
    // other: moved by "any accepting pile", the ace and the three would never rest.
    std::vector<std::wstring> const all{L"G1", L"G2", L"P1", L"P2", L"T"};
    Kartenstapel* g1 = pileBetween(L"G1", kFoundationGoal, all);
    Kartenstapel* g2 = pileBetween(L"G2", kFoundationGoal, all);
    Kartenstapel* p1 = pileBetween(L"P1", L"PAIRS=\"1\"", all);
    Kartenstapel* p2 = pileBetween(L"P2", L"PAIRS=\"1\"", all);
    Kartenstapel* t = pileBetween(L"T", L"", all);
    Karte* ace = deal(t, {{kPik, 0}})[0];
    Karte* three = deal(p1, {{kKreuz, 2}})[0];
    EXPECT_TRUE(manager().autoFinish(nullptr));
    EXPECT_EQ(ace->pile, g1);
    EXPECT_EQ(three->pile, p2);  // moved once, not back
    std::vector<Karte*> held;
    g2->getCards(held, true, true);
    EXPECT_TRUE(held.empty());
    // The goal pile's ace never leaves for the other goal pile.
    EXPECT_FALSE(manager().autoFinish(g1));
    EXPECT_EQ(ace->pile, g1);
    (void)p1;
}

TEST_F(AutoMoveTest, MovingARunToAGoalPileOrToAnyPile) {
    std::vector<std::wstring> const all{L"T1", L"T2", L"T3", L"G"};
    Kartenstapel* t1 = pileBetween(L"T1", L"", all);
    Kartenstapel* t2 = pileBetween(L"T2", L"ACCEPT_KARTEN_FARBE_LEER=\"NICHTS\"", all);
    Kartenstapel* t3 = pileBetween(L"T3", L"", all);
    Kartenstapel* goal = pileBetween(L"G", kFoundationGoal, all);
    std::vector<Karte*> column = deal(t1, {{kPik, 9}, {kHerz, 0}});
    Karte* ace = column[1];

    // A goal pile first; the run's cards wait one delay per run moved before.
    Karte::LinkedCards run = runFrom(ace);
    EXPECT_TRUE(manager().moveRunToGoalPile(ace, t1, run, 3, true));
    EXPECT_EQ(ace->pile, goal);
    EXPECT_FLOAT_EQ(ace->waitTime, 3 * Kartenmanager::kGoalMoveCardDelay);
    EXPECT_TRUE(ace->links.empty());
    EXPECT_TRUE(column[0]->backLinks.empty());

    // Any pile: the first in pile order that takes it, the source skipped (T2 takes nothing).
    Karte* ten = column[0];
    EXPECT_FALSE(manager().moveRunToGoalPile(ten, t1, runFrom(ten), 0, true));
    EXPECT_TRUE(manager().moveRunToAnyPile(ten, t1, runFrom(ten), 0, false));
    EXPECT_EQ(ten->pile, t3);
    // A card its pile does not let go is not moved.
    t3->rules.canMoveRun = false;
    EXPECT_FALSE(manager().moveRunToAnyPile(ten, t3, runFrom(ten), 0, false));
    EXPECT_EQ(ten->pile, t3);
    expectInvariants();
    (void)t2;
}

TEST_F(AutoMoveTest, TwoCardsSwapTheirPlaces) {
    Kartenstapel* left = makePile(L"<STAPEL NAME=\"L\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Kartenstapel* right = makePile(L"<STAPEL NAME=\"R\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    std::vector<Karte*> a = deal(left, {{kPik, 1, false}, {kPik, 2}, {kPik, 3}});
    std::vector<Karte*> b = deal(right, {{kHerz, 7}, {kHerz, 8, false}});
    Anordnung* la = left->getRootArrangement();
    Anordnung* ra = right->getRootArrangement();

    EXPECT_TRUE(manager().swapCards(a[1], la, b[1], ra));
    EXPECT_EQ(la->cards, (std::vector<Karte*>{a[0], b[1], a[2]}));
    EXPECT_EQ(ra->cards, (std::vector<Karte*>{b[0], a[1]}));
    EXPECT_EQ(b[1]->pile, left);
    EXPECT_EQ(a[1]->pile, right);
    EXPECT_EQ(b[1]->tag, L"L");
    EXPECT_TRUE(b[1]->isFaceUp());   // took the other's face
    EXPECT_FALSE(a[1]->isFaceUp());
    EXPECT_EQ(b[1]->links, (std::vector<Karte*>{a[0]}));
    EXPECT_EQ(a[2]->links, (std::vector<Karte*>{b[1]}));
    EXPECT_EQ(a[1]->links, (std::vector<Karte*>{b[0]}));
    expectInvariants();

    // Neighbours in one pile swap too.
    EXPECT_TRUE(manager().swapCards(a[0], la, a[2], la));
    EXPECT_EQ(la->cards, (std::vector<Karte*>{a[2], b[1], a[0]}));
    expectInvariants();

    // Refused: jokers, wildcards, EXTRA cards, a card its arrangement does not hold.
    Karte* extra = cardtest::managedCard(1, kExtra);
    right->addCard(extra, nullptr, true, false);
    a[0]->isJoker = true;
    EXPECT_FALSE(manager().swapCards(a[0], la, b[0], ra));
    a[0]->isJoker = false;
    b[0]->isWildcard = true;
    EXPECT_FALSE(manager().swapCards(a[0], la, b[0], ra));
    b[0]->isWildcard = false;
    EXPECT_FALSE(manager().swapCards(a[0], la, extra, ra));
    EXPECT_FALSE(manager().swapCards(a[0], ra, b[0], ra));
    EXPECT_EQ(la->cards, (std::vector<Karte*>{a[2], b[1], a[0]}));
}

}  // namespace
}  // namespace Solitaire
