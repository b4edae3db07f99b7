// Piles: the room of arrangement chains, laying cards and runs, pairs, the cards a pile and its
// linked piles hold, the top and first card over linked piles, turning all cards, moving the
// pile with its cards, its bounds, scale, places given before the cell is known, draw orders and
// undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/cards/Anordnung.h"
#include "game/cards/PileWords.h"
#include "game/cards/Placing.h"
#include "game/cards/RenderOrder.h"
#include "game/look/Style.h"
#include "port/win32/win32_text.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/cards/PileBuilder.h"

namespace Solitaire {
namespace {

using cardtest::managedCard;
using cardtest::makePile;
using PileTest = cardtest::CardTableFixture;

std::wstring const kChain =
    L"<STAPEL NAME=\"P\"><ANORDNUNG NAME=\"A\" MAX_CARDS=\"%A\"><NEXT>\"|B|\"</NEXT></ANORDNUNG>"
    L"<ANORDNUNG NAME=\"B\" MAX_CARDS=\"%B\"/></STAPEL>";

std::wstring chain(int a, int b) {
    std::wstring text = kChain;
    text.replace(text.find(L"%A"), 2, std::to_wstring(a));
    text.replace(text.find(L"%B"), 2, std::to_wstring(b));
    return text;
}

TEST_F(PileTest, FreeCapacityAddsUpTheChainAndAnyUnlimitedPartOpensIt) {
    struct Case {
        int maxA, maxB, inA, inB;
        int capacity, capacityWithoutCards;
    } const cases[] = {
        {7, -1, 3, 0, -1, -1},
        {7, 5, 3, 1, 8, 12},
        {1, 1, 1, 1, 0, 2},
        {0, 0, 0, 0, 0, 0},
    };
    for (Case const& c : cases) {
        manager().createDiscardPile();
        Kartenstapel* pile = makePile(chain(c.maxA, c.maxB));
        Anordnung& a = *pile->findArrangement(L"A");
        Anordnung& b = *pile->findArrangement(L"B");
        for (int i = 0; i < c.inA; ++i) insertCard(a, managedCard(i));
        for (int i = 0; i < c.inB; ++i) insertCard(b, managedCard(i));
        EXPECT_EQ(pile->freeCapacity(true), c.capacity) << c.maxA << " " << c.maxB;
        EXPECT_EQ(pile->freeCapacity(false), c.capacityWithoutCards) << c.maxA << " " << c.maxB;
    }
    manager().createDiscardPile();
    EXPECT_EQ(makePile(L"<STAPEL NAME=\"LEER\"/>")->freeCapacity(true), 0);
}

// The empty place's picture: a stock's turn-over arrows only while a click on it fetches its cards
// back; every other pile its own type's.
TEST_F(PileTest, OnlyAStockThatFetchesItsCardsBackShowsItsOwnEmptyPicture) {
    struct Case {
        wchar_t const* attributes;
        int clicks;  // on the empty place first
        int picture;
    } const cases[] = {
        {L"STAPELTYP=\"VORRAT\" CLICK_ON_LEER=\"HOLEN_VERKN_ALLE STAPEL_VERDECKEN\"", 0, kPileVorrat},
        {L"STAPELTYP=\"VORRAT\"", 0, kPileTableau},
        {L"STAPELTYP=\"VORRAT\" CLICK_ON_LEER=\"STAPEL_VERDECKEN\"", 0, kPileTableau},
        {L"STAPELTYP=\"VORRAT\" CLICK_ON_LEER=\"HOLEN_VERKN_ALLE HOLEN_xMULT\" REST_COUNT_HOLEN=\"1\"", 0,
         kPileVorrat},
        {L"STAPELTYP=\"VORRAT\" CLICK_ON_LEER=\"HOLEN_VERKN_ALLE HOLEN_xMULT\" REST_COUNT_HOLEN=\"1\"", 1,
         kPileTableau},
        {L"STAPELTYP=\"MUELL\"", 0, kPileMuell},
        {L"STAPELTYP=\"BASIS\" CLICK_ON_LEER=\"HOLEN_VERKN_ALLE\"", 0, kPileBasis},
    };
    for (Case const& c : cases) {
        Kartenstapel* pile =
            makePile(L"<STAPEL NAME=\"P\" " + std::wstring(c.attributes) + L"><ANORDNUNG NAME=\"A\"/></STAPEL>");
        for (int i = 0; i < c.clicks; ++i) pile->onClickEmpty();
        EXPECT_EQ(pile->getEmptyPictureType(), c.picture) << port::toUtf8(c.attributes) << ", " << c.clicks;
    }
}

TEST_F(PileTest, CardsFillTheFirstArrangementThenItsSuccessorAndARunKeepsItsOrder) {
    Kartenstapel* pile = makePile(chain(2, 2));
    Anordnung& a = *pile->findArrangement(L"A");
    Anordnung& b = *pile->findArrangement(L"B");
    int slot = 7;
    // The successor waits while the arrangement before it has room.
    EXPECT_EQ(findFreeSlot(b, slot), nullptr);
    EXPECT_EQ(slot, -1);
    std::vector<Karte*> cards;
    for (int i = 0; i < 5; ++i) cards.push_back(managedCard(12 - i));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(findFreeSlot(a, slot), i < 2 ? &a : &b);
        EXPECT_EQ(slot, i);
        EXPECT_TRUE(pile->addCard(cards[i], nullptr, true, false));
        EXPECT_EQ(cards[i]->pile, pile);
        EXPECT_EQ(cards[i]->tag, L"P");
    }
    EXPECT_FALSE(pile->addCard(cards[4], nullptr, true, false));
    EXPECT_EQ(cards[4]->pile, nullptr);
    EXPECT_EQ(a.cards, (std::vector<Karte*>{cards[0], cards[1]}));
    EXPECT_EQ(b.cards, (std::vector<Karte*>{cards[2], cards[3]}));
    // Links run along the chain: each card lies on the one before it.
    EXPECT_EQ(cards[2]->links, std::vector<Karte*>{cards[1]});
    EXPECT_EQ(pile->collectFreeCards(), std::vector<Karte*>{cards[3]});

    manager().createDiscardPile();
    Kartenstapel* column = makePile(L"<STAPEL NAME=\"S\"><ANORDNUNG NAME=\"F\"/></STAPEL>");
    Karte* bottom = managedCard(12);
    ASSERT_TRUE(column->addCard(bottom, nullptr, true, false));
    std::vector<Karte*> run{managedCard(11), managedCard(10), managedCard(9)};
    run[1]->linkTo(run[0]);
    EXPECT_FALSE(column->addRun({}, nullptr));
    ASSERT_TRUE(column->addRun(run, bottom));
    EXPECT_EQ(column->getRootArrangement()->cards, (std::vector<Karte*>{bottom, run[0], run[1], run[2]}));
    EXPECT_EQ(run[0]->links, std::vector<Karte*>{bottom});
    EXPECT_EQ(run[2]->links, std::vector<Karte*>{run[1]});
    EXPECT_EQ(column->collectFreeCards(), std::vector<Karte*>{run[2]});
}

TEST_F(PileTest, CardsOfAPileAndOfItsLinkedPiles) {
    Kartenstapel* pile = makePile(
        L"<STAPEL NAME=\"P\"><ANORDNUNG NAME=\"A\"/><VERKNÜPFT>\"|Q|\" \"|P|\" \"|FEHLT|\" \"|Q|\"</VERKNÜPFT></STAPEL>");
    Kartenstapel* linked = makePile(L"<STAPEL NAME=\"Q\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* up = managedCard(1, 0, true);
    Karte* down = managedCard(2, 0, false);
    Karte* other = managedCard(3);
    pile->addCard(up, nullptr, true, false);
    pile->addCard(down, nullptr, true, false);
    linked->addCard(other, nullptr, true, false);
    struct Case {
        bool hidden, visible;
        std::vector<Karte*> expected;
    } const cases[] = {{false, false, {}}, {true, false, {down}}, {false, true, {up}}, {true, true, {up, down}}};
    for (Case const& c : cases) {
        std::vector<Karte*> out;
        pile->getCards(out, c.hidden, c.visible);
        EXPECT_EQ(out, c.expected) << c.hidden << c.visible;
    }
    // One level deep, each card once; the pile itself and unknown names add nothing.
    EXPECT_EQ(pile->getCardsWithLinked(), (std::vector<Karte*>{up, down, other}));
    EXPECT_EQ(linked->getCardsWithLinked(), std::vector<Karte*>{other});
}

// A and B name each other, C holds cards; D and E, both empty, name each other; F names an
// empty pile first and C second.
TEST_F(PileTest, TheTopAndTheFirstCardAskTheLinkedPilesAndEndOnACycle) {
    auto pileNamed = [](wchar_t const* name, wchar_t const* linked) {
        return makePile(std::wstring(L"<STAPEL NAME=\"") + name + L"\"><ANORDNUNG NAME=\"A\"/><VERKNÜPFT>" + linked +
                        L"</VERKNÜPFT></STAPEL>");
    };
    Kartenstapel* a = pileNamed(L"A", L"\"|B|\"");
    Kartenstapel* b = pileNamed(L"B", L"\"|A|\" \"|C|\"");
    Kartenstapel* c = pileNamed(L"C", L"");
    Kartenstapel* d = pileNamed(L"D", L"\"|E|\"");
    pileNamed(L"E", L"\"|D|\"");
    Kartenstapel* f = pileNamed(L"F", L"\"|E|\" \"|C|\"");
    Karte* bottom = managedCard(1);
    Karte* top = managedCard(2);
    c->addCard(bottom, nullptr, true, false);
    c->addCard(top, nullptr, true, false);
    struct Case {
        Kartenstapel* pile;
        Karte* topCard;    // the first linked pile, and its first, while empty
        Karte* firstCard;  // breadth-first over all linked piles
    } const cases[] = {
        {c, top, bottom},
        {b, nullptr, bottom},  // B asks A, which asks B again
        {a, nullptr, bottom},
        {d, nullptr, nullptr},
        {f, nullptr, bottom},  // E is empty and names only D
    };
    for (Case const& each : cases) {
        std::string const name(each.pile->getName().begin(), each.pile->getName().end());
        EXPECT_EQ(each.pile->getTopCard(), each.topCard) << name;
        EXPECT_EQ(each.pile->findFirstCard(), each.firstCard) << name;
    }
    Karte* own = managedCard(3);
    b->addCard(own, nullptr, true, false);
    EXPECT_EQ(a->getTopCard(), own);
    EXPECT_EQ(a->findFirstCard(), own);
}

TEST_F(PileTest, TurningAllCardsReachesEveryArrangementButNoLinkedPile) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\"><ANORDNUNG NAME=\"A\" MAX_CARDS=\"1\"><NEXT>\"|B|\"</NEXT>"
                                  L"</ANORDNUNG><ANORDNUNG NAME=\"B\"/><VERKNÜPFT>\"|Q|\"</VERKNÜPFT></STAPEL>");
    Kartenstapel* linked = makePile(L"<STAPEL NAME=\"Q\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* first = managedCard(1, 0, false);
    Karte* second = managedCard(2, 0, false);
    Karte* other = managedCard(3, 0, false);
    pile->addCard(first, nullptr, true, false);
    pile->addCard(second, nullptr, true, false);
    linked->addCard(other, nullptr, true, false);
    ASSERT_EQ(pile->getArrangements()[1]->cards, std::vector<Karte*>{second});
    pile->setAllCardsFaceUp(true, 0.0f);
    EXPECT_TRUE(first->isFaceUp());
    EXPECT_TRUE(second->isFaceUp());
    EXPECT_FALSE(other->isFaceUp());
    // With a speed the turn runs, and nothing waits for a delay.
    pile->setAllCardsFaceUp(false, 2.0f);
    EXPECT_FALSE(first->isFaceUp());
    EXPECT_GT(first->face.current, 0.5f);
    EXPECT_EQ(first->pendingMask & Karte::kPendingFace, 0);
}

// A pile placed anew carries its cards (and its linked piles') along at once: a glide under way
// keeps running from where it was relative to the pile, and a glide waiting for its delay lands
// where the pile now is.
TEST_F(PileTest, MovingThePileMovesItsCardsAtOnce) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\" POSITION=\"100 100\"><ANORDNUNG NAME=\"A\"/>"
                                  L"<VERKNÜPFT>\"|Q|\"</VERKNÜPFT></STAPEL>");
    Kartenstapel* linked = makePile(L"<STAPEL NAME=\"Q\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* gliding = managedCard(1);
    Karte* waiting = managedCard(2);
    Karte* other = managedCard(3);
    pile->addCard(gliding, nullptr, true, false);
    pile->addCard(waiting, nullptr, true, false);
    linked->addCard(other, nullptr, true, false);
    gliding->moveTo({0.0f, 0.0f}, 0.0f, 0.0f);
    gliding->moveTo({200.0f, 50.0f}, 1.0f, 0.0f);
    gliding->position.update(0.25f);
    waiting->moveTo({120.0f, 130.0f}, 1.0f, 0.5f);
    D3DXVECTOR2 const start = gliding->position.start, current = gliding->position.current;
    D3DXVECTOR2 const otherAt = other->position.current;
    float const t = gliding->position.t;

    pile->setPosition({130.0f, 90.0f});
    D3DXVECTOR2 const by{30.0f, -10.0f};
    EXPECT_EQ(pile->position, D3DXVECTOR2(130.0f, 90.0f));
    EXPECT_EQ(gliding->position.start, start + by);
    EXPECT_EQ(gliding->position.current, current + by);
    EXPECT_EQ(gliding->position.goal, D3DXVECTOR2(230.0f, 40.0f));
    EXPECT_EQ(gliding->position.t, t);
    EXPECT_EQ(waiting->pending.position, D3DXVECTOR2(150.0f, 120.0f));
    EXPECT_EQ(other->position.current, otherAt + by);
    // The same place again, or no number, moves nothing.
    pile->setPosition({130.0f, 90.0f});
    pile->setPosition({std::nanf(""), 0.0f});
    EXPECT_EQ(gliding->position.goal, D3DXVECTOR2(230.0f, 40.0f));
    EXPECT_EQ(pile->position, D3DXVECTOR2(130.0f, 90.0f));
}

// The bounds hold the pile's cell and each of its cards where it is now or where it is going.
TEST_F(PileTest, TheBoundsHoldThePileAndItsCardsNowOrWhereTheyGo) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\" POSITION=\"100 100\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* card = managedCard(1);
    pile->addCard(card, nullptr, true, false);
    D3DXVECTOR2 const cell = pile->cardSize;
    ASSERT_GT(cell.x, 0.0f);
    card->moveTo({100.0f, 100.0f}, 0.0f, 0.0f);
    card->moveTo({100.0f + 2.0f * cell.x, 100.0f}, 1.0f, 0.0f);
    Orvex::FRect now, going;
    pile->getBounds(now, true);
    pile->getBounds(going, false);
    EXPECT_FLOAT_EQ(now.left, 100.0f - cell.x * 0.5f);
    EXPECT_FLOAT_EQ(now.right, 100.0f + cell.x * 0.5f);
    EXPECT_FLOAT_EQ(going.left, 100.0f - cell.x * 0.5f);
    EXPECT_FLOAT_EQ(going.right, 100.0f + cell.x * 2.5f);
    EXPECT_FLOAT_EQ(going.top, 100.0f - cell.y * 0.5f);
    EXPECT_FLOAT_EQ(going.bottom, 100.0f + cell.y * 0.5f);
}

// A turned card (a fan along a path) reaches as far as its turned corners: a quarter turn swaps
// its width and height, an eighth of a turn widens both to (w + h) / sqrt 2; a turn still
// waiting counts where it goes.
TEST_F(PileTest, TheBoundsHoldATurnedCardByItsTurnedCorners) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\" POSITION=\"0 0\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* card = managedCard(1);
    pile->addCard(card, nullptr, true, false);
    card->moveTo({1000.0f, 0.0f}, 0.0f, 0.0f);
    D3DXVECTOR2 const cell = card->cardSize;
    ASSERT_GT(cell.y, cell.x);
    float const diagonal = (cell.x + cell.y) / std::sqrt(2.0f);
    struct Case {
        float degrees;
        float delay;
        D3DXVECTOR2 box;
    } const cases[] = {{0.0f, 0.0f, cell}, {90.0f, 0.0f, {cell.y, cell.x}}, {-45.0f, 0.0f, {diagonal, diagonal}},
                       {90.0f, 0.5f, {cell.y, cell.x}}};
    for (Case const& c : cases) {
        card->rotateTo(c.degrees, 0.0f, c.delay, false);
        Orvex::FRect going;
        pile->getBounds(going, false);
        EXPECT_NEAR(going.right - 1000.0f, c.box.x * 0.5f, 1e-3f) << c.degrees << " " << c.delay;
        EXPECT_NEAR(going.bottom, std::max(c.box.y, pile->cardSize.y) * 0.5f, 1e-3f) << c.degrees << " " << c.delay;
        card->setWaitTimer(0.0f, 0);
    }
}

TEST_F(PileTest, APairLeavesForThePairGoalAndAJokerLeavesFirst) {
    for (bool joker : {false, true}) {
        manager().createDiscardPile();
        Kartenstapel* goal = makePile(L"<STAPEL NAME=\"G\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
        Kartenstapel* pile = makePile(
            L"<STAPEL NAME=\"P\" PAIRS=\"1\"><ANORDNUNG NAME=\"A\"/><PAIR_GOAL>\"|FEHLT|\" \"|G|\"</PAIR_GOAL></STAPEL>");
        Karte* open = managedCard(8);
        open->isJoker = joker;
        ASSERT_TRUE(pile->addCard(open, nullptr, true, false));  // nothing open before: stays
        Karte* partner = managedCard(3);
        EXPECT_TRUE(pile->addCard(partner, nullptr, true, false));
        std::vector<Karte*> left;
        pile->getCards(left, true, true);
        EXPECT_TRUE(left.empty());
        std::vector<Karte*> paired;
        goal->getCards(paired, true, true);
        EXPECT_EQ(paired, joker ? (std::vector<Karte*>{open, partner}) : (std::vector<Karte*>{partner, open}));
        EXPECT_EQ(open->pile, goal);
        EXPECT_EQ(partner->tag, L"G");
    }
}

TEST_F(PileTest, DrawOrdersStackCardsAboveThePileAndEndOnALinkCycle) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\" RENDER_INDEX=\"0.5\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* lower = managedCard(1);
    Karte* upper = managedCard(2);
    pile->addCard(lower, nullptr, true, false);
    pile->addCard(upper, nullptr, true, false);
    RenderOrder orders;
    orders.update(manager().cards);
    EXPECT_FLOAT_EQ(lower->renderOrder, 1.5f);
    EXPECT_FLOAT_EQ(upper->renderOrder, 2.5f);

    // The upper layer lies above everything; a running glide lifts the card.
    upper->upperLayer = true;
    lower->position.t = 0.5f;
    orders.update(manager().cards);
    EXPECT_FLOAT_EQ(lower->renderOrder, 26.5f);
    // A card of the other layer is passed through to what lies below it (nothing here); lying
    // on a card, the upper one does not start from the pile's index.
    EXPECT_FLOAT_EQ(upper->renderOrder, 1000.0f + 1.0f);

    // Links that close a circle end with a finite order.
    upper->upperLayer = false;
    lower->position.t = 1.0f;
    lower->linkTo(upper);
    orders.update(manager().cards);
    EXPECT_TRUE(std::isfinite(lower->renderOrder));
    EXPECT_TRUE(std::isfinite(upper->renderOrder));
    // A card without a pile stands at its own number.
    Karte* loose = managedCard(5);
    orders.update(manager().cards);
    EXPECT_FLOAT_EQ(loose->renderOrder, static_cast<float>(loose->getIndex()) + 1.0f);

    // A carried run lies above the table and the upper layer, in its order from the held card.
    lower->dragDistance = 1;
    upper->dragDistance = 2;
    loose->upperLayer = true;
    orders.update(manager().cards);
    EXPECT_FLOAT_EQ(lower->renderOrder, RenderOrder::kCarriedLayer + 1.0f);
    EXPECT_FLOAT_EQ(upper->renderOrder, RenderOrder::kCarriedLayer + 2.0f);
    EXPECT_GT(lower->renderOrder, loose->renderOrder);
}

TEST_F(PileTest, BridgingUnlinkLeavesTheCardAboveOnTheCardBelow) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* a = managedCard(1);
    Karte* b = managedCard(2);
    Karte* c = managedCard(3);
    for (Karte* card : {a, b, c}) pile->addCard(card, nullptr, true, false);
    b->unlink(true, true, true);
    EXPECT_TRUE(b->links.empty() && b->backLinks.empty());
    EXPECT_EQ(c->links, std::vector<Karte*>{a});
    EXPECT_EQ(a->backLinks, std::vector<Karte*>{c});
    // Taken off its pile, the card is no longer held; the chain is linked anew without it.
    EXPECT_TRUE(pile->removeCard(b, true));
    EXPECT_EQ(b->pile, nullptr);
    EXPECT_FALSE(pile->removeCard(b, true));
    EXPECT_EQ(pile->getRootArrangement()->cards, (std::vector<Karte*>{a, c}));
}

TEST_F(PileTest, ScaleAndMarksReachEveryCard) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* up = managedCard(1, 0, true);
    Karte* down = managedCard(2, 0, false);
    pile->addCard(up, nullptr, true, false);
    pile->addCard(down, nullptr, true, false);
    pile->setScale(0.5f);
    EXPECT_FLOAT_EQ(up->scale.current, 0.5f);
    EXPECT_FLOAT_EQ(down->scale.current, 0.5f);
    pile->setScale(std::nanf(""));
    EXPECT_FLOAT_EQ(pile->getScale(), 0.5f);
    pile->setMarkState(kMarkAccepted, 1.0f);
    EXPECT_EQ(pile->getMarkState(), kMarkAccepted);
    EXPECT_EQ(up->getMarkState(), kMarkAccepted);
    EXPECT_EQ(down->getMarkState(), kMarkAccepted);
}

TEST_F(PileTest, APlaceGivenBeforeTheCellIsKnownWaitsForIt) {
    auto* noCell = new Kartenset(L"TEST_NO_CELL");
    StyleSettings::instance().addKartenset(noCell);
    noCell->release();
    StyleSettings::instance().setKartenset(noCell);
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\" POSITION=\"150 280\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    EXPECT_TRUE(std::isfinite(pile->relativePosition.x) && std::isfinite(pile->relativePosition.y));
    EXPECT_FLOAT_EQ(pile->position.x, 150.0f);
    StyleSettings::instance().setKartenset(cardtest::tableCardSet());
    EXPECT_FLOAT_EQ(pile->relativePosition.x, 1.5f);
    EXPECT_FLOAT_EQ(pile->relativePosition.y, 2.0f);
    EXPECT_FLOAT_EQ(pile->position.y, 280.0f);
}

TEST_F(PileTest, TheCardStepIsTheStylesPileOffsetTimesTheCardSetsFactor) {
    auto* wide = new Kartenset(L"TEST_WIDE");
    wide->cellSize = D3DXVECTOR2(200.0f, 100.0f);
    wide->offsetFactor = D3DXVECTOR2(2.0f, 0.5f);
    StyleSettings::instance().addKartenset(wide);
    wide->release();
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\" POSITION_REL=\"1 2\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* card = managedCard(1);
    pile->addCard(card, nullptr, true, false);
    Style const& style = *StyleSettings::instance().getStyle();
    StyleSettings::instance().setKartenset(wide);
    EXPECT_FLOAT_EQ(pile->cardStep.x, style.pileOffset.x * 2.0f);
    EXPECT_FLOAT_EQ(pile->cardStep.y, style.pileOffset.y * 0.5f);
    EXPECT_EQ(pile->cardSize, D3DXVECTOR2(200.0f, 100.0f));
    EXPECT_EQ(pile->position, D3DXVECTOR2(200.0f, 200.0f));
    // The change lays the cards out again at once.
    EXPECT_FLOAT_EQ(card->position.goal.x, 200.0f);
    StyleSettings::instance().setKartenset(cardtest::tableCardSet());
    EXPECT_EQ(pile->position, D3DXVECTOR2(100.0f, 280.0f));
    EXPECT_FLOAT_EQ(card->position.goal.x, 100.0f);
}

TEST_F(PileTest, ArrangingWithAFillLimitOfZeroPlacesCardsAtFinitePoints) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\" MAX_ANZ_FILL_KARTEN=\"0\" POSITION_REL=\"1 1\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    std::vector<Karte*> cards{managedCard(1), managedCard(2), managedCard(3)};
    for (Karte* card : cards) pile->addCard(card, nullptr, true, false);
    pile->arrange(0.0f);
    for (Karte* card : cards) {
        EXPECT_TRUE(std::isfinite(card->position.goal.x) && std::isfinite(card->position.goal.y));
        EXPECT_FLOAT_EQ(card->position.goal.x, 100.0f);
    }
    EXPECT_LT(cards[0]->position.goal.y, cards[2]->position.goal.y);

    // One card alone is placed; the others keep their goals.
    D3DXVECTOR2 const kept = cards[0]->position.goal;
    cards[0]->moveTo(D3DXVECTOR2(-5.0f, -5.0f), 0.0f, 0.0f);
    cards[2]->moveTo(D3DXVECTOR2(-5.0f, -5.0f), 0.0f, 0.0f);
    pile->arrange(cards[0], 0.0f);
    EXPECT_EQ(cards[0]->position.goal, kept);
    EXPECT_FLOAT_EQ(cards[2]->position.goal.x, -5.0f);
}

TEST_F(PileTest, UndoRestoresThePlaceAndScaleAndStepsTheArrangements) {
    Kartenstapel* pile = makePile(L"<STAPEL NAME=\"P\" POSITION_REL=\"1 1\"><ANORDNUNG NAME=\"A\"/></STAPEL>");
    Karte* card = managedCard(1);
    pile->saveUndoState();
    pile->addCard(card, nullptr, true, false);
    pile->setRelativePosition(D3DXVECTOR2(3.0f, 4.0f));
    pile->setScale(2.0f);
    pile->saveUndoState();
    EXPECT_EQ(pile->stepHistory(-1), -1);
    EXPECT_FLOAT_EQ(pile->relativePosition.x, 1.0f);
    EXPECT_FLOAT_EQ(pile->position.y, 140.0f);
    EXPECT_FLOAT_EQ(pile->getScale(), 1.0f);
    EXPECT_TRUE(pile->getRootArrangement()->cards.empty());
    EXPECT_EQ(pile->stepHistory(5), 1);
    EXPECT_EQ(pile->getRootArrangement()->cards, std::vector<Karte*>{card});
    pile->discardFrom(0);
    EXPECT_EQ(pile->getUndoIndex(), -1);
    EXPECT_EQ(pile->getRootArrangement()->getUndoIndex(), -1);
}

TEST_F(PileTest, ADefinitionBeyondTheLimitsKeepsWhatFitsWithOneLine) {
    std::wstring text = L"<STAPEL NAME=\"VIELE\">";
    for (int i = 0; i < Kartenstapel::kMaxArrangements + 6; ++i) text += L"<ANORDNUNG NAME=\"A" + std::to_wstring(i) + L"\"/>";
    text += L"<QUELLSTAPEL>";
    for (int i = 0; i < Kartenstapel::kMaxNamesPerList + 1; ++i) text += L"\"|N|\" ";
    text += L"</QUELLSTAPEL></STAPEL>";
    logtest::LogWatch watch;
    Kartenstapel* pile = makePile(text);
    EXPECT_EQ(pile->getArrangements().size(), static_cast<std::size_t>(Kartenstapel::kMaxArrangements));
    EXPECT_EQ(pile->rules.sourcePiles.size(), static_cast<std::size_t>(Kartenstapel::kMaxNamesPerList));
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"VIELE"));
    EXPECT_TRUE(logtest::contains(errors[0], L"1 further problems"));
}

}  // namespace
}  // namespace Solitaire
