// Card links: symmetry and deduplication, collecting with limits, bridging, pruning, the drag
// distances of a carried run, and 10^5
// random link, unlink, bridge, prune and rebuild operations that must keep every pair of lists
// symmetric, free of duplicates and self links, with offsets beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "engine/core/XMLNode.h"
#include "game/cards/Anordnung.h"
#include "tests/game/cards/CardTestSupport.h"

namespace {

using Solitaire::Anordnung;
using Solitaire::Karte;
using cardtest::CardPtr;
using cardtest::makeCards;

int count(std::vector<Karte*> const& list, Karte const* card) {
    return static_cast<int>(std::count(list.begin(), list.end(), card));
}

// Empty when every invariant holds, else the first broken one.
std::string brokenLinks(std::vector<CardPtr> const& cards) {
    for (CardPtr const& owner : cards) {
        Karte const* c = owner.get();
        for (Karte const* below : c->links) {
            if (below == c) return "self link";
            if (count(c->links, below) != 1) return "duplicate link";
            if (count(below->backLinks, c) != 1) return "link without its back link";
        }
        for (Karte const* above : c->backLinks) {
            if (above == c) return "self back link";
            if (count(c->backLinks, above) != 1) return "duplicate back link";
            if (count(above->links, c) != 1) return "back link without its link";
        }
        if (!c->linkOffsets.empty() && c->linkOffsets.size() != c->links.size()) return "offsets out of step";
        if (!c->backLinkOffsets.empty() && c->backLinkOffsets.size() != c->backLinks.size())
            return "back offsets out of step";
        if (c->linkGuard) return "guard left set";
    }
    return {};
}

TEST(CardLinks, LinkToIsSymmetricOnceHoweverOftenCalled) {
    auto cards = makeCards(2);
    Karte* x = cards[0].get();
    Karte* y = cards[1].get();
    for (int i = 0; i < 3; ++i) {
        x->linkTo(y);
        y->linkFrom(x);
    }
    x->linkTo(x);
    x->linkTo(nullptr);
    EXPECT_EQ(x->links, std::vector<Karte*>{y});
    EXPECT_EQ(y->backLinks, std::vector<Karte*>{x});
    EXPECT_TRUE(x->backLinks.empty());
    EXPECT_EQ(brokenLinks(cards), "");
}

// A run of three picked at its middle card counts from it; spreading reaches the cards lying on
// a card (each once, also where the links run in a circle) and no card beneath it.
TEST(CardLinks, DragDistancesCountFromTheCardAndSpreadUpwards) {
    auto cards = makeCards(5);
    Karte* a = cards[0].get();
    Karte* b = cards[1].get();
    Karte* c = cards[2].get();
    Karte* d = cards[3].get();
    Karte* below = cards[4].get();
    Karte::LinkedCards const run{{a, 0}, {b, 1}, {c, 2}, {b, 1}};
    struct Case {
        Karte* from;
        int distance;
        int expected[3];
    } const cases[] = {{a, 1, {1, 2, 3}}, {b, 1, {2, 1, 2}}, {c, 7, {3, 2, 1}}, {b, 0, {0, 0, 0}}};
    for (Case const& each : cases) {
        each.from->setDragDistance(each.distance, run);
        EXPECT_EQ(a->dragDistance, each.expected[0]);
        EXPECT_EQ(b->dragDistance, each.expected[1]);
        EXPECT_EQ(c->dragDistance, each.expected[2]);
    }

    a->linkTo(below);
    b->linkTo(a);
    c->linkTo(b);
    d->linkTo(b);
    a->linkTo(c);  // a circle: the walk visits each card once
    b->spreadDragDistance(4, false);
    EXPECT_EQ(b->dragDistance, 4);
    EXPECT_EQ(c->dragDistance, 0);
    b->spreadDragDistance(5, true);
    for (Karte const* card : {a, b, c, d}) EXPECT_EQ(card->dragDistance, 5);
    EXPECT_EQ(below->dragDistance, 0);
}

TEST(CardLinks, CollectLinkedLimitsCountCardsPerDirection) {
    // A chain 0 <- 1 <- 2 <- 3 (each lies on the one before), and 4 lying on 1 as well.
    auto cards = makeCards(5);
    for (int i = 1; i < 4; ++i) cards[i]->linkTo(cards[i - 1].get());
    cards[4]->linkTo(cards[1].get());
    struct Case {
        int from;
        bool together;
        int limitLinks;
        int limitBack;
        std::vector<std::pair<int, int>> expected;  // (card, distance)
    };
    Case const cases[] = {
        {1, true, 0, 0, {{1, 0}}},
        {1, true, 1, 0, {{1, 0}, {0, 1}}},
        {1, true, 0, -1, {{1, 0}, {2, 1}, {4, 1}, {3, 2}}},
        {1, true, 0, 2, {{1, 0}, {2, 1}, {4, 1}}},
        {3, true, -1, 0, {{3, 0}, {2, 1}, {1, 2}, {0, 3}}},
        {2, true, -1, -1, {{2, 0}, {1, 1}, {3, 1}, {0, 2}, {4, 2}}},
        // Apart: from 2 down to 0, then from 2 up to 3; 4 is reached only through 1 upwards.
        {2, false, -1, -1, {{2, 0}, {1, 1}, {0, 2}, {3, 1}}},
    };
    for (Case const& c : cases) {
        Karte::LinkedCards out;
        cards[c.from]->collectLinked(out, c.together, c.limitLinks, c.limitBack);
        std::vector<std::pair<int, int>> got;
        for (auto const& [card, distance] : out) got.emplace_back(card->getIndex(), distance);
        EXPECT_EQ(got, c.expected) << "from " << c.from << " limits " << c.limitLinks << "," << c.limitBack;
    }
    Karte::LinkedCards ends;
    cards[3]->linkEnds(ends);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].first, cards[0].get());
}

TEST(CardLinks, UnlinkWithBridgeLeavesTheUpperCardOnTheLower) {
    // m lies on a and b; c and d lie on m.
    auto cards = makeCards(5);
    Karte *a = cards[0].get(), *b = cards[1].get(), *m = cards[2].get(), *c = cards[3].get(), *d = cards[4].get();
    m->linkTo(a);
    m->linkTo(b);
    c->linkTo(m);
    d->linkTo(m);
    m->unlink(true, true, true);
    EXPECT_TRUE(m->links.empty());
    EXPECT_TRUE(m->backLinks.empty());
    EXPECT_EQ(c->links, (std::vector<Karte*>{a, b}));
    EXPECT_EQ(d->links, (std::vector<Karte*>{a, b}));
    EXPECT_EQ(a->backLinks, (std::vector<Karte*>{c, d}));
    EXPECT_EQ(brokenLinks(cards), "");

    // Without bridge only the chosen side goes.
    m->linkTo(a);
    c->linkTo(m);
    m->unlink(false, false, true);
    EXPECT_EQ(m->links, std::vector<Karte*>{a});
    EXPECT_TRUE(m->backLinks.empty());
}

TEST(CardLinks, PruneKeepsOrDropsTheGivenSet) {
    auto cards = makeCards(4);
    Karte* m = cards[0].get();
    m->linkTo(cards[1].get());
    m->linkTo(cards[2].get());
    cards[3]->linkTo(m);
    m->pruneLinks({cards[1].get(), cards[3].get()}, true);
    EXPECT_EQ(m->links, std::vector<Karte*>{cards[1].get()});
    EXPECT_EQ(m->backLinks, std::vector<Karte*>{cards[3].get()});
    m->pruneLinks({cards[3].get()}, false);
    EXPECT_TRUE(m->backLinks.empty());
    EXPECT_EQ(brokenLinks(cards), "");
}

TEST(CardLinks, OffsetsFollowTheLinkedCardsGoals) {
    auto cards = makeCards(2);
    cards[0]->moveTo({10.0f, 10.0f}, 0.0f, 0.0f);
    cards[1]->moveTo({10.0f, 14.0f}, 0.0f, 0.0f);
    cards[1]->linkTo(cards[0].get());
    ASSERT_EQ(cards[1]->linkOffsets.size(), 1u);
    EXPECT_EQ(cards[1]->linkOffsets[0].y, -4.0f);
    EXPECT_EQ(cards[0]->backLinkOffsets[0].y, 4.0f);
    // Placing the pair from its bottom card carries the upper card along.
    cards[0]->moveTo({50.0f, 0.0f}, 0.0f, 0.0f);
    cards[0]->placeLinked(0.0f);
    EXPECT_EQ(cards[1]->position.goal.x, 50.0f);
    EXPECT_EQ(cards[1]->position.goal.y, 4.0f);
}

TEST(CardLinks, PlacingOverAGivenSetMovesOnlyItsMembers) {
    // 1 lies on 0, 2 on 1; a drag carries 1 and 2 only.
    auto cards = makeCards(3);
    for (int i = 0; i < 3; ++i) cards[i]->moveTo({0.0f, 10.0f * i}, 0.0f, 0.0f);
    cards[1]->linkTo(cards[0].get());
    cards[2]->linkTo(cards[1].get());
    cards[1]->moveTo({200.0f, 100.0f}, 0.0f, 0.0f);
    cards[1]->placeLinkedIn(0.0f, {{cards[1].get(), 0}, {cards[2].get(), 1}});
    EXPECT_EQ(cards[2]->position.goal.x, 200.0f);
    EXPECT_EQ(cards[2]->position.goal.y, 110.0f);
    EXPECT_EQ(cards[0]->position.goal.x, 0.0f) << "not in the set: stays";
}

TEST(CardLinks, CardSetChangePlacesLinkedCardsWithoutPile) {
    auto cards = makeCards(2);
    cards[0]->moveTo({5.0f, 5.0f}, 0.0f, 0.0f);
    cards[1]->moveTo({5.0f, 9.0f}, 0.0f, 0.0f);
    cards[1]->linkTo(cards[0].get());
    cards[0]->moveTo({40.0f, 5.0f}, 0.0f, 0.0f);
    auto* other = new Solitaire::Kartenset(L"OTHER_SET");
    other->cellSize = {30.0f, 45.0f};
    cards[1]->onKartensetChanged(other);
    EXPECT_EQ(cards[1]->cardSize.y, 45.0f);
    EXPECT_EQ(cards[1]->position.goal.x, 40.0f) << "the chain is placed from its bottom card";
    EXPECT_EQ(cards[1]->position.goal.y, 9.0f);
    cards[1]->onKartensetChanged(&cardtest::cardSet());
    other->release();
}

TEST(CardLinks, DestroyedCardLeavesNoPointerBehind) {
    auto cards = makeCards(3);
    cards[1]->linkTo(cards[0].get());
    cards[2]->linkTo(cards[1].get());
    cards[1].reset();
    cards.erase(cards.begin() + 1);
    EXPECT_TRUE(cards[0]->backLinks.empty());
    EXPECT_TRUE(cards[1]->links.empty());
}

TEST(CardLinks, RandomOperationsKeepListsSymmetric) {
    constexpr int kCards = 24;
    constexpr int kArrangements = 4;
    constexpr int kOperations = 100000;
    auto cards = makeCards(kCards);
    // A chain of arrangements 0 -> 1 -> 2 -> 3 -> 0 (a cycle on purpose).
    std::vector<std::unique_ptr<Anordnung>> arrangements;
    std::vector<Anordnung*> raw;
    for (int i = 0; i < kArrangements; ++i) {
        Orvex::XMLNode node(L"ANORDNUNG");
        node.setAttribute(L"NAME", L"A" + std::to_wstring(i));
        node.addChild(L"NEXT")->addValue(L"A" + std::to_wstring((i + 1) % kArrangements));
        arrangements.push_back(std::make_unique<Anordnung>(node, nullptr, nullptr));
        raw.push_back(arrangements.back().get());
    }
    for (Anordnung* a : raw) a->linkSuccessors(raw);

    std::mt19937 random(1234);
    auto pick = [&] { return cards[random() % kCards].get(); };
    for (int op = 0; op < kOperations; ++op) {
        switch (random() % 8) {
            case 0:
            case 1: pick()->linkTo(pick()); break;
            case 2: pick()->linkFrom(pick()); break;
            case 3: {
                Karte* c = pick();
                if (!c->links.empty()) c->unlinkBelow(c->links[random() % c->links.size()]);
                else c->unlinkAbove(pick());
                break;
            }
            case 4: pick()->unlink(random() % 2, random() % 2, random() % 2); break;
            case 5: pick()->pruneLinks({pick(), pick(), pick()}, random() % 2); break;
            case 6: {
                // Arrangements hold a few random cards (repeats and all) and re-link them.
                Anordnung* a = raw[random() % kArrangements];
                if (a->cards.size() > 6) a->removeCard(a->cards[random() % a->cards.size()]);
                a->addCardEntry(pick());
                break;
            }
            default: raw[random() % kArrangements]->rebuildLinks(); break;
        }
        std::string const broken = brokenLinks(cards);
        ASSERT_EQ(broken, "") << "after operation " << op;
    }
    for (Anordnung* a : raw) a->cards.clear();
}

}  // namespace
