// The mini-games' shared rules that need no window: the definition file's numbers, the grid of
// the sorting and symbol games, and where a dragged item lands.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIRect.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/DragAreas.h"
#include "game/minigames/GridLayout.h"
#include "game/minigames/MinispielKeys.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

namespace minigame = Solitaire::minigame;

Orvex::XMLNode element(std::wstring const& key, std::wstring const& value) {
    Orvex::XMLNode node(L"MINISPIEL");
    node.setAttribute(key, value);
    return node;
}

// "a" or "a b" = a / b; bad values keep the default (here 7) with one log line.
struct RatioCase {
    wchar_t const* text;
    float value;
    bool logged;
};
void PrintTo(RatioCase const& c, std::ostream* out) { *out << '"' << minigametest::narrow(c.text) << '"'; }

class MinigameRatioTest : public ::testing::TestWithParam<RatioCase> {};

TEST_P(MinigameRatioTest, ReadsOneNumberOrAQuotient) {
    logtest::LogWatch watch;
    float value = 7.0f;
    minigame::readRatio(element(L"K", GetParam().text), L"K", value);
    EXPECT_FLOAT_EQ(value, GetParam().value) << std::wstring(GetParam().text);
    EXPECT_EQ(watch.lines().size(), GetParam().logged ? 1u : 0u) << std::wstring(GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Texts, MinigameRatioTest,
                         ::testing::Values(RatioCase{L"2.5", 2.5f, false}, RatioCase{L"1 4", 0.25f, false},
                                           RatioCase{L"-3 4 9", -0.75f, false}, RatioCase{L"", 7.0f, false},
                                           RatioCase{L"abc", 0.0f, false}, RatioCase{L"5 0", 7.0f, true},
                                           RatioCase{L"inf", 7.0f, true}, RatioCase{L"1 1e-300", 7.0f, true},
                                           RatioCase{L"nan 2", 7.0f, true}));

// Pairs: one number stands for both ends; counts outside their bounds keep the default.
struct PairCase {
    wchar_t const* text;
    int first;
    int second;
    bool logged;
};
void PrintTo(PairCase const& c, std::ostream* out) { *out << '"' << minigametest::narrow(c.text) << '"'; }

class MinigamePairTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(MinigamePairTest, ReadsOneOrTwoCountsWithinBounds) {
    logtest::LogWatch watch;
    int first = 10;
    int second = 10;
    minigame::readPair(element(L"ANZAHL", GetParam().text), L"ANZAHL", first, second, 0, 500);
    EXPECT_EQ(first, GetParam().first);
    EXPECT_EQ(second, GetParam().second);
    EXPECT_EQ(watch.lines().size(), GetParam().logged ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Texts, MinigamePairTest,
                         ::testing::Values(PairCase{L"4", 4, 4, false}, PairCase{L"4 8", 4, 8, false},
                                           PairCase{L"8 4", 8, 4, false}, PairCase{L"", 10, 10, false},
                                           PairCase{L"-1 3", 10, 10, true}, PairCase{L"3 2000000000", 10, 10, true}));

TEST(MinigameKeysTest, ACountBeyondItsBoundIsReadAsTheBoundWithALogLineNamingFileAndLine) {
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(L"<A>\n<MINISPIEL RUNDEN=\"99999\"/></A>"));
    minigame::setDefinitionSource(L"spiele.min");
    logtest::LogWatch watch;
    int rounds = 5;
    minigame::readCount(*node.getChild(L"MINISPIEL"), L"RUNDEN", rounds, 0, 1000);
    minigame::setDefinitionSource(L"data\\Games\\minigames.min");
    EXPECT_EQ(rounds, 1000);
    ASSERT_EQ(watch.lines().size(), 1u);
    EXPECT_TRUE(logtest::contains(watch.lines()[0], L"spiele.min\" at line 2"));
}

TEST(MinigameKeysTest, ChildrenBeyondTheCapAreSkippedWithOneLine) {
    Orvex::XMLNode node(L"MINISPIEL");
    for (int i = 0; i < 5; ++i) node.addChild(L"FORM");
    logtest::LogWatch watch;
    int made = 0;
    minigame::readChildren(node, L"FORM", 3, L"forms", [&](Orvex::XMLNode&) { ++made; });
    EXPECT_EQ(made, 3);
    EXPECT_EQ(watch.lines().size(), 1u);
}

// The grid: columns as given or the rounded square root; rows are the ceiling (7 areas in 3
// columns take 3 rows, where trunc(7 / 3 + 0.5) would give 2 and lose the last area's row).
struct GridCase {
    int areas;
    int columns;
    int expectedColumns;
    int expectedRows;
};
void PrintTo(GridCase const& c, std::ostream* out) { *out << c.areas << " areas, columns " << c.columns; }

class GridShapeTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(GridShapeTest, HoldsEveryArea) {
    minigame::GridShape const grid = minigame::GridShape::of(GetParam().areas, GetParam().columns);
    EXPECT_EQ(grid.columns, GetParam().expectedColumns);
    EXPECT_EQ(grid.rows, GetParam().expectedRows);
    EXPECT_GE(grid.columns * grid.rows, GetParam().areas);
}

INSTANTIATE_TEST_SUITE_P(Shapes, GridShapeTest,
                         ::testing::Values(GridCase{5, -1, 2, 3}, GridCase{7, 3, 3, 3}, GridCase{4, -1, 2, 2},
                                           GridCase{9, -1, 3, 3}, GridCase{1, -1, 1, 1}, GridCase{0, -1, 1, 1},
                                           GridCase{6, 4, 4, 2}, GridCase{3, 5, 5, 1}));

TEST(GridLayoutTest, ACellTakesItsShareAndKeepsTheOffsetAsAMargin) {
    Orvex::GUIRect rect;
    rect.getParamsX().offX = 10.0f;
    rect.getParamsX().offY = 8.0f;
    minigame::placeInCell(rect, 1, 2, minigame::GridShape::of(5, -1));
    Orvex::FRect out;
    rect.calcRect(out, Orvex::FRect(0.0f, 0.0f, 400.0f, 600.0f), 400.0f, 600.0f);
    EXPECT_FLOAT_EQ(out.left, 210.0f);
    EXPECT_FLOAT_EQ(out.right, 390.0f);
    EXPECT_FLOAT_EQ(out.top, 408.0f);
    EXPECT_FLOAT_EQ(out.bottom, 592.0f);
}

TEST(GridLayoutTest, ZeroColumnsMakeNoGridWithOneLine) {
    logtest::LogWatch watch;
    int columns = -1;
    EXPECT_FALSE(minigame::readArrangement(element(L"ANORDNUNG", L"0"), columns));
    EXPECT_EQ(watch.lines().size(), 1u);
    EXPECT_TRUE(minigame::readArrangement(element(L"ANORDNUNG", L"3 x"), columns));
    EXPECT_EQ(columns, 3);
    EXPECT_TRUE(minigame::readArrangement(element(L"ANORDNUNG", L""), columns));
    EXPECT_EQ(columns, -1);
}

// Where an item lands: the area it overlaps most; on an equal overlap the later area.
struct LandingCase {
    Orvex::FRect item;
    int expected;
};
void PrintTo(LandingCase const& c, std::ostream* out) {
    *out << c.item.left << "," << c.item.top << " lands on " << c.expected;
}

class LandingTest : public ::testing::TestWithParam<LandingCase> {};

TEST_P(LandingTest, TheLargestOverlapWins) {
    // Two areas side by side and a third below the first.
    Orvex::GUIWindow a(L"a");
    Orvex::GUIWindow b(L"b");
    Orvex::GUIWindow c(L"c");
    a.setPixelRect(0.0f, 0.0f, 100.0f, 100.0f);
    b.setPixelRect(100.0f, 0.0f, 100.0f, 100.0f);
    c.setPixelRect(0.0f, 100.0f, 100.0f, 100.0f);
    EXPECT_EQ(minigame::largestOverlap(GetParam().item, {&a, &b, &c}), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Items, LandingTest,
                         ::testing::Values(LandingCase{Orvex::FRect(10.0f, 10.0f, 50.0f, 50.0f), 0},
                                           LandingCase{Orvex::FRect(80.0f, 10.0f, 130.0f, 50.0f), 1},
                                           LandingCase{Orvex::FRect(70.0f, 10.0f, 110.0f, 50.0f), 0},
                                           LandingCase{Orvex::FRect(80.0f, 10.0f, 120.0f, 50.0f), 1},
                                           LandingCase{Orvex::FRect(10.0f, 80.0f, 50.0f, 120.0f), 2},
                                           LandingCase{Orvex::FRect(300.0f, 300.0f, 340.0f, 340.0f), -1},
                                           LandingCase{Orvex::FRect(100.0f, 50.0f, 140.0f, 90.0f), 1}));

}  // namespace
