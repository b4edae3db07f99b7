// A pile's rule tests: a card laid on a card (words, wrap, PAIRS, EXTRA), whole 13-card runs,
// which runs a pile takes, which cards may be picked (locked, moving, face-down cards), accepted
// sequences and the shuffle's cards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/RuleWords.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/cards/RuleTableBuilder.h"
#include "tests/game/cards/Suits.h"

namespace Solitaire {
namespace {

using cardtest::Dealt;
using cardtest::deal;
using cardtest::looseRun;
using cardtest::managedCard;
using cardtest::rulePile;
using cardtest::runFrom;
using RuleMatchingPileTest = cardtest::CardTableFixture;

using namespace cardtest::suits;
constexpr int kNone = -1;

void lock(Karte* card) { card->setLocks(D3DXVECTOR4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f, 0.0f); }

TEST_F(RuleMatchingPileTest, ACardLaidOnACard) {
    struct Case {
        wchar_t const* pile;  // attributes
        Dealt lower;
        Dealt upper;          // suit kNone: the lower card alone (the empty-pile rules)
        wchar_t const* colour;
        wchar_t const* value;
        bool accepted;
    } const cases[] = {
        // Wrap: a KÖNIG on an ASS going down only with the wrap in force.
        {L"WRAP_AROUND=\"1\"", {kPik, 0}, {kHerz, 12}, L"ALLES", L"WERT_TOP_MINUS", true},
        {L"", {kPik, 0}, {kHerz, 12}, L"ALLES", L"WERT_TOP_MINUS", false},
        {L"WRAP_AROUND=\"1\" WRAP_MODE=\"ASS X\"", {kPik, 0}, {kHerz, 12}, L"ALLES", L"WERT_TOP_MINUS", false},
        {L"WRAP_AROUND=\"1\"", {kPik, 12}, {kHerz, 0}, L"ALLES", L"WERT_TOP_PLUS", true},
        {L"WRAP_AROUND=\"1\"", {kPik, 12}, {kHerz, 0}, L"ALLES", L"PLUS_MINUS", true},
        {L"WRAP_AROUND=\"1\"", {kPik, 0}, {kHerz, 12}, L"ALLES", L"PLUS_MINUS", true},
        {L"", {kPik, 5}, {kHerz, 4}, L"ALLES", L"PLUS_MINUS", true},
        {L"", {kPik, 5}, {kHerz, 7}, L"ALLES", L"PLUS_MINUS", false},
        {L"", {kPik, 5}, {kHerz, 5}, L"ALLES", L"WERT_TOP", true},
        // Colours: the relative ones compare the two cards and pass a lone card.
        {L"", {kPik, 7}, {kHerz, 6}, L"ALLE_WECHSEL", L"ALLES", true},
        {L"", {kPik, 7}, {kHerz, 6}, L"ALLE_SELBE", L"ALLES", false},
        {L"", {kPik, 7}, {kNone, 0}, L"ALLE_WECHSEL", L"ALLES", true},
        {L"", {kPik, 7}, {kNone, 0}, L"ALLE_SELBE", L"ALLES", true},
        {L"", {kKaro, 7}, {kPik, 6}, L"ROT_SCHWARZ", L"ALLES", true},
        {L"", {kKreuz, 7}, {kPik, 6}, L"ROT_SCHWARZ", L"ALLES", false},
        {L"", {kKreuz, 7}, {kKreuz, 6}, L"FARBE_TOP", L"ALLES", true},
        {L"", {kPik, 7}, {kKreuz, 6}, L"FARBE_TOP", L"ALLES", false},
        {L"", {kPik, 7}, {kKreuz, 6}, L"FARBE_VORHERIGE_TOP", L"ALLES", true},
        {L"", {kPik, 7}, {kKreuz, 6}, L"NICHTS", L"ALLES", false},
        // A suit rule looks at the lower card; alone, at the card itself.
        {L"", {kHerz, 7}, {kPik, 6}, L"HERZ", L"ALLES", true},
        {L"", {kPik, 7}, {kHerz, 6}, L"HERZ", L"ALLES", false},
        {L"", {kHerz, 7}, {kNone, 0}, L"HERZ", L"ALLES", true},
        {L"", {kKaro, 7}, {kPik, 6}, L"ROT", L"ALLES", true},
        // A single value looks at the upper card; ZAHLEN is ASS..ZEHN here, FIGUREN BUBE..KÖNIG.
        {L"", {kPik, 5}, {kHerz, 11}, L"ALLES", L"DAME", true},
        {L"", {kPik, 11}, {kHerz, 5}, L"ALLES", L"DAME", false},
        {L"", {kPik, 5}, {kHerz, 0}, L"ALLES", L"ZAHLEN", true},
        {L"", {kPik, 5}, {kHerz, 10}, L"ALLES", L"ZAHLEN", false},
        {L"", {kPik, 5}, {kHerz, 10}, L"ALLES", L"FIGUREN", true},
        {L"", {kPik, 5}, {kHerz, 0}, L"ALLES", L"FIGUREN", false},
        {L"", {kPik, 12}, {kNone, 0}, L"ALLES", L"KÖNIG", true},
        {L"", {kPik, 5}, {kHerz, 0}, L"ALLES", L"NICHTS", false},
        {L"", {kPik, 5}, {kHerz, 9}, L"ALLES", L"kASS", true},  // bounds judge no pair
        // EXTRA cards only with EXTRA cards.
        {L"", {kExtra, 1}, {kHerz, 1}, L"ALLES", L"ALLES", false},
        {L"", {kHerz, 1}, {kExtra, 1}, L"ALLES", L"ALLES", false},
        {L"", {kExtra, 1}, {kExtra, 2}, L"ALLES", L"ALLES", true},
        // PAIRS: sums (counted from 1) to the rule's value.
        {L"PAIRS=\"1\"", {kPik, 11}, {kHerz, 0}, L"ALLES", L"KÖNIG", true},
        {L"PAIRS=\"1\"", {kPik, 9}, {kHerz, 2}, L"ALLES", L"KÖNIG", true},
        {L"PAIRS=\"1\"", {kPik, 12}, {kHerz, 12}, L"ALLES", L"KÖNIG", false},
        {L"PAIRS=\"1\"", {kPik, 12}, {kHerz, 12}, L"ALLES", L"GROESSER_KOENIG", true},
        {L"PAIRS=\"1\"", {kPik, 12}, {kHerz, 3}, L"ALLES", L"GROESSER_KOENIG", false},
        {L"PAIRS=\"1\"", {kPik, 7}, {kHerz, 4}, L"ALLES", L"GROESSER_KOENIG", true},
        {L"PAIRS=\"1\"", {kPik, 7}, {kHerz, 7}, L"ALLES", L"VORHERIGE", true},
        {L"PAIRS=\"1\"", {kPik, 7}, {kHerz, 7}, L"ALLES", L"PLUS_MINUS", false},
        {L"PAIRS=\"1\"", {kPik, 7}, {kHerz, 5}, L"HERZ", L"KÖNIG", false},
        {L"PAIRS=\"1\"", {kPik, 12}, {kNone, 0}, L"ALLES", L"GROESSER_KOENIG", true},
    };
    int row = 0;
    for (Case const& c : cases) {
        Kartenstapel* pile = rulePile(L"P" + std::to_wstring(row++), c.pile);
        Karte* lower = managedCard(c.lower.value, c.lower.suit);
        Karte* upper = c.upper.suit == kNone ? nullptr : managedCard(c.upper.value, c.upper.suit);
        bool wholeRun = false;
        EXPECT_EQ(pile->acceptsCardOn(lower, upper, parseColourRule(c.colour), parseValueRule(c.value), wholeRun, {}),
                  c.accepted)
            << "row " << row - 1;
        EXPECT_FALSE(wholeRun);
    }
}

std::vector<Dealt> rising(int count, int from, int step) {
    std::vector<Dealt> cards;
    for (int i = 0; i < count; ++i) cards.push_back({kHerz, from + step * i});
    return cards;
}

TEST_F(RuleMatchingPileTest, WholeRunsOfThirteenCards) {
    struct Case {
        wchar_t const* rule;
        std::vector<Dealt> run;
        bool accepted;
    } const cases[] = {
        {L"STAPEL_GEORDNET_PLUS", rising(13, 0, 1), true},
        {L"STAPEL_GEORDNET_PLUS", rising(12, 0, 1), false},
        {L"STAPEL_GEORDNET_PLUS", rising(14, 0, 1), false},
        {L"STAPEL_GEORDNET_PLUS", rising(13, 12, -1), false},
        {L"STAPEL_GEORDNET_MINUS", rising(13, 12, -1), true},
        {L"STAPEL_GEORDNET_MINUS", rising(12, 12, -1), false},
    };
    for (Case const& c : cases) {
        Kartenstapel* goal = rulePile(L"G", L"ACCEPT_KARTEN_WERT_LEER=\"" + std::wstring(c.rule) + L"\"");
        Karte::LinkedCards const run = looseRun(c.run);
        EXPECT_EQ(goal->acceptsCards(run, nullptr), c.accepted) << c.rule << " " << run.size();
        bool wholeRun = false;
        goal->acceptsCardOn(run.front().first, nullptr, kColourAlles, parseValueRule(c.rule), wholeRun, run);
        EXPECT_TRUE(wholeRun);
    }
    // One card out of order breaks the run.
    std::vector<Dealt> broken = rising(13, 0, 1);
    std::swap(broken[5], broken[6]);
    EXPECT_FALSE(rulePile(L"G", L"ACCEPT_KARTEN_WERT_LEER=\"STAPEL_PLUS\"")->acceptsCards(looseRun(broken), nullptr));
}

TEST_F(RuleMatchingPileTest, ARunNeedsBothNameListsAndTheTargetsRules) {
    struct Case {
        wchar_t const* source;
        wchar_t const* target;
        bool accepted;
    } const cases[] = {
        {L"<ZIELSTAPEL>\"|T|\"</ZIELSTAPEL>", L"<QUELLSTAPEL>\"|S|\"</QUELLSTAPEL>", true},
        {L"", L"<QUELLSTAPEL>\"|S|\"</QUELLSTAPEL>", false},
        {L"<ZIELSTAPEL>\"|T|\"</ZIELSTAPEL>", L"", false},
        {L"<ZIELSTAPEL>\"|X|\"</ZIELSTAPEL>", L"<QUELLSTAPEL>\"|S|\"</QUELLSTAPEL>", false},
    };
    for (Case const& c : cases) {
        manager().createDiscardPile();
        Kartenstapel* source = cardtest::makePile(L"<STAPEL NAME=\"S\"><ANORDNUNG NAME=\"A\"/>" +
                                                  std::wstring(c.source) + L"</STAPEL>");
        Kartenstapel* target = cardtest::makePile(L"<STAPEL NAME=\"T\"><ANORDNUNG NAME=\"A\"/>" +
                                                  std::wstring(c.target) + L"</STAPEL>");
        Karte* card = deal(source, {{kHerz, 3}}).front();
        EXPECT_EQ(target->acceptsCards(runFrom(card), nullptr), c.accepted) << c.source << " " << c.target;
    }
    // A run from the pile itself needs a card to be laid on.
    Kartenstapel* pile = rulePile(L"P", L"");
    std::vector<Karte*> cards = deal(pile, {{kHerz, 3}, {kHerz, 2}});
    Karte* loose = managedCard(1, kHerz);
    pile->addCard(loose, nullptr, false, false);
    EXPECT_FALSE(pile->acceptsCards(runFrom(loose), nullptr));
}

TEST_F(RuleMatchingPileTest, WhatAPileTakes) {
    // Every target holds (bottom up) its cards; the run is loose and judged by the target.
    wchar_t const* const kGoal =
        L"IS_ZIELSTAPEL=\"ZIEL\" ACCEPT_KARTEN_FARBE=\"VORHERIGE\" ACCEPT_KARTEN_WERT=\"VORHERIGE_PLUS\"";
    struct Case {
        wchar_t const* name;
        wchar_t const* attributes;
        int maxCards;
        std::vector<Dealt> held;
        std::vector<Dealt> run;
        bool jokerOnTop;
        bool jokerCarried;
        bool lockTop;
        bool accepted;
    } const cases[] = {
        {L"empty pile takes a king", L"ACCEPT_KARTEN_WERT_LEER=\"KÖNIG\"", -1, {}, {{kPik, 12}}, false, false, false, true},
        {L"empty pile refuses a queen", L"ACCEPT_KARTEN_WERT_LEER=\"KÖNIG\"", -1, {}, {{kPik, 11}}, false, false, false, false},
        {L"fits", L"ACCEPT_KARTEN_FARBE=\"ALLE_WECHSEL\" ACCEPT_KARTEN_WERT=\"WERT_TOP_MINUS\"", -1,
         {{kPik, 8}}, {{kHerz, 7}, {kKreuz, 6}}, false, false, false, true},
        {L"run out of order", L"ACCEPT_KARTEN_FARBE=\"ALLE_WECHSEL\" ACCEPT_KARTEN_WERT=\"WERT_TOP_MINUS\"", -1,
         {{kPik, 8}}, {{kHerz, 7}, {kKreuz, 2}}, false, false, false, false},
        {L"run order unchecked", L"ACCEPT_STAPEL_CHECK=\"0\" ACCEPT_KARTEN_WERT=\"WERT_TOP_MINUS\"", -1,
         {{kPik, 8}}, {{kHerz, 7}, {kKreuz, 2}}, false, false, false, true},
        {L"does not fit", L"ACCEPT_KARTEN_WERT=\"WERT_TOP_MINUS\"", -1, {{kPik, 8}}, {{kHerz, 5}}, false, false, false,
         false},
        {L"only face-down cards", L"", -1, {{kPik, 8, false}}, {{kHerz, 5}}, false, false, false, false},
        {L"locked top card", L"", -1, {{kPik, 8}}, {{kHerz, 5}}, false, false, true, false},
        {L"full", L"", 1, {{kPik, 8}}, {{kHerz, 5}}, false, false, false, false},
        {L"full but pairs", L"PAIRS=\"1\" ACCEPT_KARTEN_WERT=\"KÖNIG\"", 1, {{kPik, 8}}, {{kHerz, 3}}, false, false,
         false, true},
        {L"too long", L"ACCEPT_STAPEL_SIZE=\"1\"", -1, {{kPik, 8}}, {{kHerz, 5}, {kHerz, 4}}, false, false, false,
         false},
        {L"too short", L"MIN_ACCEPT_STAPEL_SIZE=\"2\"", -1, {{kPik, 8}}, {{kHerz, 5}}, false, false, false, false},
        // Jokers: carried onto face-up cards, or lying on the pile, skip the rules.
        {L"joker carried", L"ACCEPT_KARTEN_FARBE=\"NICHTS\"", -1, {{kPik, 8}}, {{kHerz, 5}}, false, true, false, true},
        {L"joker lying", L"ACCEPT_KARTEN_FARBE=\"NICHTS\"", -1, {{kPik, 8}}, {{kHerz, 5}}, true, false, false, true},
        {L"joker lying, pile full", L"ACCEPT_KARTEN_FARBE=\"NICHTS\"", 1, {{kPik, 8}}, {{kHerz, 5}}, true, false, false,
         false},
        // On a goal pile a dealt joker is the card it is: it takes only the card after its own.
        {L"onto a joker on a goal pile", kGoal, -1, {{kHerz, 1}}, {{kHerz, 2}}, true, false, false, true},
        {L"onto a joker on a goal pile, not after its card", kGoal, -1, {{kPik, 1}}, {{kKaro, 2}}, true, false, false,
         false},
    };
    int row = 0;
    for (Case const& c : cases) {
        Kartenstapel* pile = rulePile(L"P" + std::to_wstring(row++), c.attributes, c.maxCards);
        std::vector<Karte*> held = deal(pile, c.held);
        if (!held.empty()) {
            held.back()->isJoker = c.jokerOnTop;
            if (c.lockTop) lock(held.back());
        }
        Karte::LinkedCards const run = looseRun(c.run);
        run.front().first->isJoker = c.jokerCarried;
        EXPECT_EQ(pile->acceptsCards(run, nullptr), c.accepted) << c.name;
    }
}

// Read as the cards they are, jokers follow the pile's rules like any card: the automatic moves
// ask this first, so a joker goes where its card belongs and a card onto a joker it follows.
TEST_F(RuleMatchingPileTest, JokersReadAsTheCardsTheyAre) {
    struct Case {
        wchar_t const* name;
        Dealt lying;
        Dealt carried;
        bool jokerLying, jokerCarried;
        bool wild;      // acceptsCards: a joker fits anything and takes anything
        bool asTheyAre;
    } const cases[] = {
        {L"a card that follows", {kHerz, 5}, {kHerz, 6}, false, false, true, true},
        {L"a card that does not", {kHerz, 5}, {kPik, 6}, false, false, false, false},
        {L"a joker where its card follows", {kHerz, 5}, {kHerz, 6}, false, true, true, true},
        {L"a joker where its card does not", {kPik, 5}, {kHerz, 6}, false, true, true, false},
        {L"onto a joker, following its card", {kHerz, 6}, {kHerz, 7}, true, false, true, true},
        {L"onto a joker, not following its card", {kKreuz, 9}, {kHerz, 7}, true, false, true, false},
    };
    int row = 0;
    for (Case const& c : cases) {
        Kartenstapel* goal = rulePile(L"G" + std::to_wstring(row++),
                                      L"ACCEPT_KARTEN_FARBE=\"VORHERIGE\" ACCEPT_KARTEN_WERT=\"VORHERIGE_PLUS\"");
        deal(goal, {c.lying}).front()->isJoker = c.jokerLying;
        Karte::LinkedCards const run = looseRun({c.carried});
        run.front().first->isJoker = c.jokerCarried;
        EXPECT_EQ(goal->acceptsCards(run, nullptr), c.wild) << c.name;
        EXPECT_EQ(goal->acceptsCardsAsTheyAre(run), c.asTheyAre) << c.name;
    }
}

TEST_F(RuleMatchingPileTest, APartnerCardNarrowsTheCandidates) {
    Kartenstapel* fan = rulePile(L"F", L"ACCEPT_KARTEN_WERT=\"WERT_TOP_MINUS\"");
    Kartenstapel* cell = rulePile(L"Z", L"");
    Karte* eight = deal(fan, {{kPik, 8}}).front();
    Karte* nine = deal(cell, {{kPik, 9}}).front();
    Karte::LinkedCards const seven = looseRun({{kHerz, 7}});
    EXPECT_TRUE(fan->acceptsCards(seven, eight));
    EXPECT_FALSE(fan->acceptsCards(seven, nine));                // not a card of this pile
    EXPECT_FALSE(fan->acceptsCards(runFrom(eight), eight));      // onto itself
    nine->isJoker = true;
    EXPECT_TRUE(cell->acceptsCards(looseRun({{kHerz, 1}}), nine));  // a joker takes anything
}

TEST_F(RuleMatchingPileTest, WildcardPilesOfferTheirFaceUpCardsAndRefuseEachOther) {
    Kartenstapel* wild = cardtest::makePile(
        L"<STAPEL NAME=\"W\" STAPELTYP=\"WILDCARD\"><ANORDNUNG NAME=\"A\"/><QUELLSTAPEL>\"|J|\"</QUELLSTAPEL></STAPEL>");
    Kartenstapel* joker = cardtest::makePile(
        L"<STAPEL NAME=\"J\" STAPELTYP=\"JOKER\"><ANORDNUNG NAME=\"A\"/><ZIELSTAPEL>\"|W|\"</ZIELSTAPEL></STAPEL>");
    std::vector<Karte*> held = deal(wild, {{kPik, 3}, {kPik, 4, false}, {kPik, 5}});
    EXPECT_EQ(wild->getTargetCards(), (std::vector<Karte*>{held[0], held[2]}));
    Karte* carried = deal(joker, {{kHerz, 6}}).front();
    EXPECT_FALSE(wild->acceptsCards(runFrom(carried), nullptr));
}

struct PickCase {
    wchar_t const* name;
    wchar_t const* attributes;
    std::vector<Dealt> cards;
    int picked;  // index of the picked card
    enum Extra { kNothing, kLockPicked, kLockAbove, kPickedMoving, kAboveMoving } extra;
    bool pickable;
};

TEST_F(RuleMatchingPileTest, PickingUp) {
    wchar_t const* const ordered = L"MOVE_STAPEL_FARBE=\"ALLE_WECHSEL\" MOVE_STAPEL_WERT=\"WERT_TOP_MINUS\"";
    PickCase const cases[] = {
        {L"top card", L"", {{kPik, 8}, {kHerz, 7}}, 1, PickCase::kNothing, true},
        {L"run", L"", {{kPik, 8}, {kHerz, 7}}, 0, PickCase::kNothing, true},
        {L"face down", L"", {{kPik, 8, false}, {kHerz, 7}}, 0, PickCase::kNothing, false},
        {L"locked", L"", {{kPik, 8}, {kHerz, 7}}, 1, PickCase::kLockPicked, false},
        {L"locked card in the run", L"", {{kPik, 8}, {kHerz, 7}}, 0, PickCase::kLockAbove, false},
        {L"locked, order unchecked", L"MOVE_STAPEL_CHECK=\"0\"", {{kPik, 8}, {kHerz, 7}}, 0, PickCase::kLockAbove,
         false},
        {L"moving", L"", {{kPik, 8}, {kHerz, 7}}, 1, PickCase::kPickedMoving, false},
        {L"moving card in the run", L"", {{kPik, 8}, {kHerz, 7}, {kPik, 6}}, 0, PickCase::kAboveMoving, false},
        {L"moving last card of the run", L"", {{kPik, 8}, {kHerz, 7}}, 0, PickCase::kAboveMoving, true},
        {L"pile keeps its cards", L"CAN_MOVE_STAPEL=\"0\"", {{kPik, 8}}, 0, PickCase::kNothing, false},
        {L"ordered run", ordered, {{kPik, 8}, {kHerz, 7}, {kKreuz, 6}}, 0, PickCase::kNothing, true},
        {L"run out of order", ordered, {{kPik, 8}, {kHerz, 7}, {kKreuz, 2}}, 0, PickCase::kNothing, false},
        {L"run out of order, unchecked", L"MOVE_STAPEL_CHECK=\"0\" MOVE_STAPEL_FARBE=\"NICHTS\"",
         {{kPik, 8}, {kHerz, 7}}, 0, PickCase::kNothing, true},
        {L"one card may lie on it", L"MOVE_STAPEL_MAX_SIZE=\"1\"", {{kPik, 8}, {kHerz, 7}}, 0, PickCase::kNothing, true},
        {L"two lie on it", L"MOVE_STAPEL_MAX_SIZE=\"1\"", {{kPik, 8}, {kHerz, 7}, {kHerz, 6}}, 0, PickCase::kNothing,
         false},
        {L"no count limit with MOVE_STAPEL 0", L"MOVE_STAPEL=\"0\" MOVE_STAPEL_MAX_SIZE=\"1\"",
         {{kPik, 8}, {kHerz, 7}, {kHerz, 6}}, 0, PickCase::kNothing, true},
        // A joker pile gives each joker, the first found under those found after it too.
        {L"nothing may lie on it", L"MOVE_STAPEL_MAX_SIZE=\"0\"", {{kHerz, 6}, {kKreuz, 9}}, 0, PickCase::kNothing,
         false},
        {L"under another joker", L"STAPELTYP=\"JOKER\" MOVE_STAPEL_MAX_SIZE=\"0\"", {{kHerz, 6}, {kKreuz, 9}}, 0,
         PickCase::kNothing, true},
        {L"under another wildcard, face down", L"STAPELTYP=\"WILDCARD\" MOVE_STAPEL_MAX_SIZE=\"0\"",
         {{kHerz, 6, false}, {kKreuz, 9}}, 0, PickCase::kNothing, false},
        {L"under another wildcard, locked", L"STAPELTYP=\"WILDCARD\" MOVE_STAPEL_MAX_SIZE=\"0\"",
         {{kHerz, 6}, {kKreuz, 9}}, 0, PickCase::kLockPicked, false},
    };
    int row = 0;
    for (PickCase const& c : cases) {
        Kartenstapel* pile = rulePile(L"P" + std::to_wstring(row++), c.attributes);
        std::vector<Karte*> cards = deal(pile, c.cards);
        Karte* picked = cards[static_cast<std::size_t>(c.picked)];
        Karte* above = cards[static_cast<std::size_t>(c.picked) + (c.extra == PickCase::kAboveMoving ? 1 : 0)];
        if (c.extra == PickCase::kLockPicked) lock(picked);
        if (c.extra == PickCase::kLockAbove) lock(cards.back());
        if (c.extra == PickCase::kPickedMoving) picked->flightTime = 1.0f;
        if (c.extra == PickCase::kAboveMoving) above->flightTime = 1.0f;
        EXPECT_EQ(pile->canPickCard(picked), c.pickable) << c.name;
        if (!c.pickable || !pile->isSpecialPile()) continue;
        Karte::LinkedCards run;
        pile->collectCarriedRun(picked, run);
        EXPECT_EQ(run, (Karte::LinkedCards{{picked, 0}})) << c.name << ": the card alone";
    }
}

TEST_F(RuleMatchingPileTest, EmptyLinkedPilesSetHowManyCardsMayLieOnThePickedCard) {
    Kartenstapel* pile = cardtest::makePile(
        L"<STAPEL NAME=\"P\" MOVE_STAPEL_MAX_SIZE=\"5\" MOVE_STAPEL_MAX_SIZE_ANZ_VERKN_LEER=\"1\">"
        L"<ANORDNUNG NAME=\"A\"/><VERKNÜPFT>\"|Z1|\" \"|Z2|\" \"|Z3|\" \"|FEHLT|\"</VERKNÜPFT></STAPEL>");
    rulePile(L"Z1", L"");
    rulePile(L"Z2", L"");
    Kartenstapel* full = rulePile(L"Z3", L"");
    deal(full, {{kKreuz, 1}});
    std::vector<Karte*> cards = deal(pile, {{kPik, 9}, {kPik, 8}, {kHerz, 7}, {kHerz, 6}});
    EXPECT_EQ(pile->getMaxMovableRun(), 2);
    EXPECT_FALSE(pile->canPickCard(cards[0]));
    EXPECT_TRUE(pile->canPickCard(cards[1]));
    Karte::LinkedCards carried;
    pile->collectCarriedRun(cards[1], carried);
    EXPECT_EQ(carried.size(), 3u);
    pile->rules.moveRun = 0;
    EXPECT_EQ(pile->getMaxMovableRun(), 0);
}

TEST_F(RuleMatchingPileTest, APileWaitingForItsLinkedPilesGivesNothing) {
    Kartenstapel* pile = cardtest::makePile(L"<STAPEL NAME=\"P\" ONLY_ACTIVE_IF_VERK_LEER=\"1\"><ANORDNUNG NAME=\"A\"/>"
                                            L"<VERKNÜPFT>\"|P|\" \"|Q|\"</VERKNÜPFT></STAPEL>");
    Kartenstapel* linked = rulePile(L"Q", L"");
    Karte* card = deal(pile, {{kPik, 3}}).front();
    EXPECT_TRUE(pile->canPickCard(card));  // itself does not count
    deal(linked, {{kPik, 4}});
    EXPECT_FALSE(pile->canPickCard(card));
}

TEST_F(RuleMatchingPileTest, AcceptedSequencesAndTheShufflesCards) {
    // Only the top card may be picked (nothing may lie on a picked card).
    Kartenstapel* pile = rulePile(
        L"P", L"ACCEPT_KARTEN_FARBE=\"ALLE_WECHSEL\" ACCEPT_KARTEN_WERT=\"WERT_TOP_MINUS\" MOVE_STAPEL_MAX_SIZE=\"0\"");
    std::vector<Karte*> cards = deal(pile, {{kPik, 10, false}, {kPik, 9}, {kHerz, 8}, {kKreuz, 7}, {kKreuz, 6}});
    struct Case {
        int card;
        bool inSequence;
    } const sequences[] = {{1, false}, {2, false}, {3, false}, {4, false}};
    for (Case const& c : sequences)
        EXPECT_EQ(pile->isInAcceptedSequence(cards[static_cast<std::size_t>(c.card)]), c.inSequence) << c.card;
    Kartenstapel* orderedPile = rulePile(L"Q", L"ACCEPT_KARTEN_FARBE=\"ALLE_WECHSEL\" ACCEPT_KARTEN_WERT=\"WERT_TOP_MINUS\"");
    std::vector<Karte*> ordered = deal(orderedPile, {{kPik, 9}, {kHerz, 8}, {kKreuz, 7}});
    EXPECT_TRUE(orderedPile->isInAcceptedSequence(ordered[0]));
    EXPECT_TRUE(orderedPile->isInAcceptedSequence(ordered[2]));  // with the card beneath

    struct MixCase {
        unsigned flags;
        std::vector<int> cards;
    } const mixes[] = {
        {1, {0}},
        {2, {1, 2, 3, 4}},
        {3, {0, 1, 2, 3, 4}},
        {2 | 8, {4}},            // only pickable (the top card)
        {2 | 4, {1, 2, 3}},      // only not pickable
        {2 | 4 | 8, {1, 2, 3, 4}},
        {2 | 16, {1, 2, 3, 4}},  // none of them lies in an accepted sequence
        {2 | 32, {}},
        {0, {}},
    };
    for (MixCase const& m : mixes) {
        pile->rules.shuffleFlags = m.flags;
        std::vector<Karte*> expected;
        for (int i : m.cards) expected.push_back(cards[static_cast<std::size_t>(i)]);
        EXPECT_EQ(pile->getMixCards(), expected) << m.flags;
    }
}

TEST_F(RuleMatchingPileTest, TheEmptyClickFetchesOnlyWhatIsThere) {
    Kartenstapel* stock = cardtest::makePile(
        L"<STAPEL NAME=\"V\" CLICK_ON_LEER=\"HOLEN_VERKN_VERDECKT HOLEN_xMULT\" REST_COUNT_HOLEN=\"1\">"
        L"<ANORDNUNG NAME=\"A\"/><VERKNÜPFT>\"|M|\"</VERKNÜPFT></STAPEL>");
    Kartenstapel* waste = rulePile(L"M", L"");
    EXPECT_FALSE(stock->emptyClickFetches());  // nothing to fetch
    deal(waste, {{kPik, 3}});
    EXPECT_TRUE(stock->emptyClickFetches());
    stock->rules.restCount = 0;  // spent
    EXPECT_FALSE(stock->emptyClickFetches());
    stock->rules.clickOnEmpty = kEmptyHolenAlle;  // no limit without "HOLEN_xMULT"
    EXPECT_TRUE(stock->emptyClickFetches());
    stock->rules.clickOnEmpty = kEmptyStapelMischen;  // no fetch at all
    EXPECT_FALSE(stock->emptyClickFetches());
}

TEST_F(RuleMatchingPileTest, ADeckWhoseFiltersAdmitNoCardStaysEmpty) {
    readKeys(L"<S KARTEN_WERT=\"g10 k2\" ANZAHL_KARTEN=\"52\"/>");
    manager().createDeck();  // ends
    EXPECT_TRUE(manager().cards.empty());
    readKeys(L"<S KARTEN_WERT=\"ZAHLEN\" KARTEN_FARBE=\"ROT\" ANZAHL_KARTEN=\"30\"/>");
    manager().createDeck();
    ASSERT_EQ(manager().cards.size(), 30u);  // one pass of 20, then part of the next
    EXPECT_EQ(manager().cards[20]->suit, kKaro);
    EXPECT_EQ(manager().cards[20]->value, 0);
}

TEST_F(RuleMatchingPileTest, DealWishesFollowTheCardBeforeThem) {
    struct Case {
        wchar_t const* pile;
        wchar_t const* colour;
        wchar_t const* value;
        std::vector<std::pair<int, int>> wishes;  // (colour, value) of the copies
    } const cases[] = {
        {L"", L"ALLE_WECHSEL", L"VORHERIGE_MINUS", {{kColourRot, 7}}},
        {L"", L"VORHERIGE", L"PLUS_MINUS", {{kPik, 7}, {kPik, 9}}},
        {L"", L"VORHERIGE_FARBE", L"kDAME", {}},
        {L"PAIRS=\"1\"", L"ALLES", L"KÖNIG", {{kColourAlles, 3}}},
    };
    for (Case const& c : cases) {
        manager().createDiscardPile();
        Kartenstapel* pile = cardtest::makePile(
            L"<STAPEL NAME=\"P\" " + std::wstring(c.pile) + L"><ANORDNUNG NAME=\"A\" MAX_CARDS=\"3\"><WUENSCHE>"
            L"<WUNSCH POSITION=\"0\" FARBE=\"HERZ\" WERT=\"ASS\"/>"
            L"<WUNSCH POSITION=\"1\" FARBE=\"" + c.colour + L"\" WERT=\"" + c.value + L"\"/>"
            L"<WUNSCH POSITION=\"2\" FARBE=\"KARO\" WERT=\"VORHERIGE\"/>"
            L"</WUENSCHE></ANORDNUNG></STAPEL>");
        deal(pile, {{kPik, 8}, {kHerz, 1}});
        std::vector<KartenWunsch> wishes;
        pile->collectDealWishes(wishes);
        // The first wish has no card before it, the third's place is not dealt yet: both unchanged.
        ASSERT_EQ(wishes.size(), c.wishes.size() + 2) << c.colour;
        EXPECT_EQ(wishes.front().valueRule, kValueAss);
        EXPECT_EQ(wishes.back().valueRule, kValueVorherige);
        for (std::size_t i = 0; i < c.wishes.size(); ++i) {
            EXPECT_EQ(wishes[i + 1].colourRule, c.wishes[i].first) << c.colour;
            EXPECT_EQ(wishes[i + 1].valueRule, c.wishes[i].second) << c.value;
        }
    }
}

}  // namespace
}  // namespace Solitaire
