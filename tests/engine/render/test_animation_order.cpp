// Frame order lists: single indexes, ranges both ways, repeats (fixed and "rand"), skipped
// indexes, the length bound, and "RANDOM_SHUFFLE" with the runtime's generator (golden orders
// after msvc::srand, worked out independently of the implementation).
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/Random.h"
#include "port/crt/crt.h"
#include "tests/engine/render/AnimationSupport.h"

using Orvex::parseFrameOrder;
using namespace rendertest;

namespace {

// An "ORDER" node with one value per instruction.
Orvex::XMLNode order(std::vector<std::wstring> const& values, std::wstring const& attributes = L"") {
    std::wstring text = L"<ORDER " + attributes + L">";
    for (auto const& v : values) text += L"\"|" + v + L"|\" ";
    return parse(text + L"</ORDER>");
}

std::vector<Orvex::u32> run(std::vector<std::wstring> const& values, Orvex::u32 count, std::wstring const& attributes = L"") {
    return parseFrameOrder(order(values, attributes), count);
}

using Ids = std::vector<Orvex::u32>;

}  // namespace

TEST(AnimationOrder, RangesRepeatsAndSingleIndexes) {
    EXPECT_EQ(run({L"0 - 3", L"2", L"3 x 1 - 0"}, 8), (Ids{0, 1, 2, 3, 2, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(run({L"5 - 2"}, 8), (Ids{5, 4, 3, 2}));
    EXPECT_EQ(run({L"2 x 4"}, 8), (Ids{4, 4}));
    EXPECT_EQ(run({L"7", L"0", L"7"}, 8), (Ids{7, 0, 7}));
    // Without a number after "x" the range is the default 0 .. 1.
    EXPECT_EQ(run({L"2 x"}, 8), (Ids{0, 1, 0, 1}));
}

TEST(AnimationOrder, IndexesOutsideTheSourceAreSkipped) {
    EXPECT_EQ(run({L"2 - 6"}, 4), (Ids{2, 3}));
    EXPECT_EQ(run({L"6 - 2"}, 4), (Ids{3, 2}));
    EXPECT_EQ(run({L"9", L"1", L"x 9 - 7"}, 4), (Ids{1}));
    EXPECT_TRUE(run({L"0 - 3"}, 0).empty());
    // Negative numbers: "-" switches to the second number, so "-1" alone means 0 .. 1.
    EXPECT_EQ(run({L"-1"}, 4), (Ids{0, 1}));
}

TEST(AnimationOrder, RepeatsOfZeroOrLessAppendNothing) {
    EXPECT_TRUE(run({L"0 x 0 - 3"}, 4).empty());
    EXPECT_TRUE(run({L"-2 x 0 - 3"}, 4).empty());
    EXPECT_EQ(run({L"0 x 0 - 3", L"1"}, 4), (Ids{1}));
}

TEST(AnimationOrder, RandRepeatDrawsFromTheEngineGenerator) {
    Orvex::seedRandom(5);
    for (int i = 0; i < 50; ++i) {
        Ids ids = run({L"rand 2 4 x 1"}, 4);
        EXPECT_GE(ids.size(), 2u);
        EXPECT_LE(ids.size(), 4u);
        EXPECT_TRUE(std::all_of(ids.begin(), ids.end(), [](Orvex::u32 v) { return v == 1; }));
    }
    EXPECT_EQ(run({L"rand 3 x 2"}, 4), (Ids{2, 2, 2}));
    // The runtime generator is not touched.
    msvc::srand(77);
    run({L"rand 1 9 x 0"}, 4);
    int const next = msvc::rand();
    msvc::srand(77);
    EXPECT_EQ(msvc::rand(), next);
}

TEST(AnimationOrder, RandomShuffleUsesTheRuntimeGenerator) {
    msvc::srand(1);
    EXPECT_EQ(run({L"0 - 7"}, 8, L"RANDOM_SHUFFLE=\"1\""), (Ids{4, 1, 6, 2, 0, 5, 7, 3}));
    msvc::srand(1234);
    EXPECT_EQ(run({L"0 - 9"}, 10, L"RANDOM_SHUFFLE=\"1\""), (Ids{2, 8, 7, 6, 5, 0, 9, 1, 3, 4}));
    msvc::srand(1);
    EXPECT_EQ(run({L"0 - 3", L"2 - 0"}, 4, L"RANDOM_SHUFFLE=\"1\""), (Ids{2, 1, 0, 2, 0, 1, 3}));
    // Without the key the order stays and no number is drawn.
    msvc::srand(1);
    EXPECT_EQ(run({L"0 - 7"}, 8, L"RANDOM_SHUFFLE=\"0\""), (Ids{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(msvc::rand(), 41);
}

TEST(AnimationOrder, HugeRepeatsStopAtTheLengthBound) {
    Ids ids = run({L"2000000000 x 0 - 3", L"1"}, 4);
    EXPECT_EQ(ids.size(), Orvex::Texture2DAnimation::kMaxOrderLength);
    EXPECT_EQ(ids[4], 0u);
}

TEST(AnimationOrder, AnAnimationHoldsAtMostTheFrameBound) {
    std::wstring many;
    for (Orvex::u32 i = 0; i < Orvex::Texture2DAnimation::kMaxFrames + 10; ++i) many += L"<FRAME/>";
    EXPECT_EQ(make(L"<ANIMATION_2D>" + many + L"</ANIMATION_2D>")->getFrameCount(), Orvex::Texture2DAnimation::kMaxFrames);
}

TEST(AnimationOrder, ReordersTheWholeAnimationAndSheetsInOrder) {
    auto a = make(frames(4, L"", L"<ORDER>\"|3 - 0|\" \"|2 x 1|\"</ORDER>"));
    EXPECT_EQ(frameIds(*a), (std::vector<int>{3, 2, 1, 0, 1, 1}));
    msvc::srand(1);
    auto shuffled = make(frames(8, L"", L"<ORDER RANDOM_SHUFFLE=\"1\">\"|0 - 7|\"</ORDER>"));
    EXPECT_EQ(frameIds(*shuffled), (std::vector<int>{4, 1, 6, 2, 0, 5, 7, 3}));
}
