// Placing arrangements: fan offsets by card kind, the select step, over-full halving and its
// ratio (with "MAX_ANZ_FILL_KARTEN" 0), jitter entries that are missing, spline ends, centred
// cards, the spline direction, anchors after previous arrangements (MEDIAN and the others, also
// on a "NEXT" cycle), and a pile place given before any cell size is known.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/Anordnung.h"
#include "game/cards/StapelLayout.h"
#include "tests/game/cards/CardTestSupport.h"

namespace {

using Solitaire::Anordnung;
using Solitaire::Karte;
using Solitaire::StapelLayout;

using cardtest::kNaN;

// A pile layout with card step (1, 2), cell 10 x 20, at (100, 50) and no jitter.
struct Pile {
    StapelLayout layout;
    Pile() {
        layout.cardStep = {1.0f, 2.0f};
        layout.jitter = {0.0f, 0.0f};
        layout.rotationJitter = 0.0f;
        layout.setCellSize({10.0f, 20.0f});
        layout.setTablePosition({100.0f, 50.0f});
    }
    std::unique_ptr<Anordnung> arrangement(std::wstring const& keys) {
        Orvex::XMLNode node;
        EXPECT_TRUE(node.loadFromText(L"<ANORDNUNG " + keys + L"</ANORDNUNG>"));
        return std::make_unique<Anordnung>(node, nullptr, &layout);
    }
};

// Cards by letter: V face up, H face down, S face up and marked, E an EXTRA card face up.
std::vector<cardtest::CardPtr> cardsFor(std::string const& kinds) {
    std::vector<cardtest::CardPtr> cards;
    for (char k : kinds) {
        auto card = cardtest::makeCard(0, k == 'E' ? 4 : 0);
        card->setFaceUp(k != 'H', 0.0f, 0.0f);
        if (k == 'S') card->markState = 2;
        cards.push_back(std::move(card));
    }
    return cards;
}

TEST(ArrangementPlace, FanOffsetsByCardKind) {
    struct Case {
        char const* kinds;
        bool selectOffset;
        float fillRatio;
        std::vector<float> ys;  // placeOffset y of each place, in card steps (sy = 2)
    };
    Case const cases[] = {
        {"VVV", true, 0.0f, {0.0f, 0.2f, 0.4f}},
        {"HHV", true, 0.0f, {0.0f, 0.2f, 0.4f}},
        {"SVV", true, 0.0f, {0.0f, 0.4f, 0.6f}},   // the select step is 0.2
        {"SVV", false, 0.0f, {0.0f, 0.2f, 0.4f}},  // without the pile's select offsets
        {"VHS", true, 2.0f, {0.0f, 0.1f, 0.2f}},   // over-full: visible and hidden halved
        {"SSV", true, 2.0f, {0.0f, 0.4f, 0.8f}},   // the select step is not
        {"VEV", true, 0.0f, {0.0f, 0.2f, 0.2f}},   // hidden extra cards take no place
    };
    for (Case const& c : cases) {
        Pile pile;
        pile.layout.useSelectOffset = c.selectOffset;
        auto a = pile.arrangement(L">");
        auto cards = cardsFor(c.kinds);
        for (auto& card : cards) a->addCardEntry(card.get());
        a->setFillRatio(c.fillRatio);
        for (std::size_t i = 0; i < c.ys.size(); ++i) {
            EXPECT_NEAR(a->placeOffset(static_cast<int>(i), 3).y, c.ys[i], 1e-6f) << c.kinds << " place " << i;
        }
    }
}

TEST(ArrangementPlace, GoalsFromAnchorCellAndPosition) {
    Pile pile;
    auto a = pile.arrangement(L"POSITION=\"1 0.5\" ROTATION=\"10\">");
    auto cards = cardsFor("VV");
    for (auto& card : cards) a->addCardEntry(card.get());
    a->place(0.0f, {});
    // x = ox * cw + A.x + cw * (1 * sx); y = oy * ch + A.y + ch * (0.5 * sy).
    EXPECT_FLOAT_EQ(cards[0]->position.goal.x, 100.0f + 10.0f);
    EXPECT_FLOAT_EQ(cards[0]->position.goal.y, 50.0f + 20.0f);
    EXPECT_FLOAT_EQ(cards[1]->position.goal.y, 0.2f * 20.0f + 50.0f + 20.0f);
    EXPECT_FLOAT_EQ(cards[1]->rotation.goal, 10.0f);
    // Excluded cards keep their goals.
    cards[0]->moveTo({0.0f, 0.0f}, 0.0f, 0.0f);
    a->place(0.0f, {cards[0].get()});
    EXPECT_EQ(cards[0]->position.goal.x, 0.0f);
}

TEST(ArrangementPlace, FillRatioNeverDividesByZero) {
    struct Case {
        int cards;
        int maxFill;
        float ratio;
    };
    Case const cases[] = {{10, 5, 2.0f}, {3, 6, 0.5f}, {10, 0, 0.0f}, {0, 0, 0.0f}, {10, -1, 0.0f}};
    for (Case const& c : cases) EXPECT_EQ(Anordnung::computeFillRatio(c.cards, c.maxFill), c.ratio) << c.maxFill;
    Pile pile;
    auto a = pile.arrangement(L">");
    for (float bad : {kNaN, std::numeric_limits<float>::infinity(), -3.0f}) {
        a->setFillRatio(bad);
        EXPECT_EQ(a->fillRatio, 0.0f) << bad;
    }
}

TEST(ArrangementPlace, CardsWithoutJitterEntriesArePlacedWithoutJitter) {
    Pile pile;
    pile.layout.jitter = {4.0f, 4.0f};
    pile.layout.rotationJitter = 5.0f;
    auto a = pile.arrangement(L">");
    auto cards = cardsFor("VVV");
    a->addCardEntry(cards[0].get());
    // A list written directly (as a restore or a load may) has no entries for the others.
    a->cards.push_back(cards[1].get());
    a->cards.push_back(cards[2].get());
    a->place(0.0f, {});
    EXPECT_FLOAT_EQ(cards[2]->position.goal.y, 0.4f * 20.0f + 50.0f);
    EXPECT_FLOAT_EQ(cards[2]->rotation.goal, 0.0f);
    // Adding again first pads the entries, so the lists run in step.
    a->addCardEntry(cards[0].get());
    EXPECT_EQ(a->cardOffsets.size(), a->cards.size());
    EXPECT_EQ(a->cardTurns.size(), a->cards.size());
}

TEST(ArrangementPlace, SplineEndsCentringAndDirection) {
    // A straight spline of length 10 along x (with step (1, 2) the x offset is in card steps).
    std::wstring const line = L"<SPLINE><CONTROLPOINT/><CONTROLPOINT POSITION=\"10 0\"/></SPLINE>";
    struct Case {
        std::wstring keys;
        char const* kinds;
        int maxCards;
        std::vector<float> xs;
    };
    Case const cases[] = {
        {L"", "VVV", -1, {0.0f, 5.0f, 10.0f}},
        {L"SPLINE_START_AT_0_END_AT_END=\"0\"", "VVV", -1, {0.0f, 2.5f, 5.0f}},
        {L"SPLINE_START_AT_0_END_AT_END=\"1 0\"", "VVV", -1, {0.0f, 10.0f / 3.0f, 20.0f / 3.0f}},
        {L"CARDS_CENTERED_ON_SPLINE=\"1\"", "V", -1, {5.0f}},
        {L"CARDS_CENTERED_ON_SPLINE=\"1\"", "VV", -1, {2.5f, 7.5f}},
        {L"CARDS_CENTERED_ON_SPLINE=\"1\"", "VVV", -1, {10.0f / 6.0f, 5.0f, 50.0f / 6.0f}},
        // Three cards of five places: the middle three places' share, around the middle.
        {L"CARDS_CENTERED_ON_SPLINE=\"1\"", "VVV", 5, {3.0f, 5.0f, 7.0f}},
        {L"CARDS_CENTERED_ON_SPLINE=\"1\"", "V", 13, {5.0f}},
        {L"SPLINE_POW=\"2\"", "VVV", -1, {0.0f, 2.5f, 10.0f}},
        {L"", "VV", 5, {0.0f, 10.0f * 0.25f}},  // five places: the missing ones count as hidden
    };
    for (Case const& c : cases) {
        Pile pile;
        auto a = pile.arrangement(c.keys + L" MAX_CARDS=\"" + std::to_wstring(c.maxCards) + L"\">" + line);
        auto cards = cardsFor(c.kinds);
        for (auto& card : cards) a->addCardEntry(card.get());
        int const places = c.maxCards == -1 ? static_cast<int>(cards.size()) : c.maxCards;
        for (std::size_t i = 0; i < c.xs.size(); ++i) {
            EXPECT_NEAR(a->placeOffset(static_cast<int>(i), places).x, c.xs[i], 1e-4f) << c.kinds << " place " << i;
        }
    }
    Pile pile;
    auto up = pile.arrangement(L"USE_SPLINE_DIRECTION=\"1\" SPLINE_ROTATION_OFFSET=\"3\">"
                               L"<SPLINE><CONTROLPOINT/><CONTROLPOINT POSITION=\"0 10\"/></SPLINE>");
    auto cards = cardsFor("V");
    up->addCardEntry(cards[0].get());
    EXPECT_NEAR(up->placeOffset(0, 1).rotation, 93.0f, 1e-3f);
}

TEST(ArrangementPlace, AnchorsAfterPreviousArrangements) {
    // Two predecessors ending at x 100 + 10 * 1 and x 100 + 10 * 5 (their POSITION x 1 and 5).
    struct Case {
        wchar_t const* mode;
        float x;
    };
    Case const cases[] = {{L"MIN", 110.0f}, {L"MAX", 150.0f}, {L"MEDIAN", 130.0f}, {L"VERH", 120.0f}};
    for (Case const& c : cases) {
        Pile pile;
        auto left = pile.arrangement(L"NAME=\"L\" POSITION=\"1 0\"><NEXT>\"|N|\"</NEXT>");
        auto right = pile.arrangement(L"NAME=\"R\" POSITION=\"5 0\"><NEXT>\"|N|\"</NEXT>");
        auto next = pile.arrangement(std::wstring(L"NAME=\"N\" CENTER_MODE=\"") + c.mode +
                                     L" MIN\" CENTER_MODE_VERH=\"0.25\">");
        std::vector<Anordnung*> const all{left.get(), right.get(), next.get()};
        for (Anordnung* a : all) a->linkSuccessors(all);
        EXPECT_FLOAT_EQ(next->anchor().x, c.x) << c.mode;
        EXPECT_FLOAT_EQ(next->anchor().y, 50.0f) << c.mode;
    }
    // A cycle of two arrangements still gives an anchor.
    Pile pile;
    auto a = pile.arrangement(L"NAME=\"A\"><NEXT>\"|B|\"</NEXT>");
    auto b = pile.arrangement(L"NAME=\"B\"><NEXT>\"|A|\"</NEXT>");
    std::vector<Anordnung*> const both{a.get(), b.get()};
    for (Anordnung* x : both) x->linkSuccessors(both);
    EXPECT_TRUE(std::isfinite(a->anchor().x));
    EXPECT_EQ(a->countCards(), 0);
    EXPECT_EQ(a->freeCapacity(true), 2048);
    EXPECT_EQ(a->chainDepth(false), 0);
}

TEST(PileLayout, TablePlaceGivenBeforeTheCellSizeStaysFinite) {
    StapelLayout layout;
    layout.setTablePosition({50.0f, 80.0f});
    EXPECT_TRUE(std::isfinite(layout.relativePosition.x));
    EXPECT_EQ(layout.position.x, 50.0f);
    EXPECT_TRUE(layout.isPositionPending());
    layout.setCellSize({0.0f, 20.0f});
    EXPECT_EQ(layout.position.x, 50.0f);
    layout.setCellSize({10.0f, 20.0f});
    EXPECT_EQ(layout.relativePosition.x, 5.0f);
    EXPECT_EQ(layout.relativePosition.y, 4.0f);
    EXPECT_FALSE(layout.isPositionPending());
    layout.setCellSize({20.0f, 40.0f});
    EXPECT_EQ(layout.position.x, 100.0f) << "from now on the place follows the cell";
    layout.setCellSize({kNaN, 1.0f});
    EXPECT_EQ(layout.cardSize.x, 20.0f);
}

}  // namespace
