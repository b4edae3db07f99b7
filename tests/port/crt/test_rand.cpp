// rand/srand and random_shuffle must reproduce the Windows runtime exactly: deals are golden.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "port/crt/crt.h"

TEST(CrtRand, SeedOneGivesTheKnownSequence) {
    msvc::srand(1);
    int const expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(msvc::rand(), value);
    msvc::srand(1);  // reseeding restarts the sequence
    EXPECT_EQ(msvc::rand(), 41);
}

// Draws with srand(1) (rand: 41, 18467, 6334, 26500, 19169, ...), worked by hand:
// i=1 k=2: 41 % 2 = 1 -> swap(1,1); i=2 k=3: 18467 < 32766 accepted, 18467 % 3 = 2 -> swap(2,2);
// i=3 k=4: 6334 % 4 = 2 -> swap(3,2) giving 0 1 3 2; i=4 k=5: 26500 / 5 = 5300 < 32767 / 5 = 6553,
// 26500 % 5 = 0 -> swap(4,0) giving 4 1 3 2 0; i=5 k=6: 19169 % 6 = 5 -> swap(5,5).
TEST(CrtRandomShuffle, SmallDecksMatchHandWorkedDraws) {
    std::vector<int> four{0, 1, 2, 3};
    msvc::srand(1);
    msvc::random_shuffle(four.begin(), four.end());
    EXPECT_EQ(four, (std::vector<int>{0, 1, 3, 2}));

    std::vector<int> six{0, 1, 2, 3, 4, 5};
    msvc::srand(1);
    msvc::random_shuffle(six.begin(), six.end());
    EXPECT_EQ(six, (std::vector<int>{4, 1, 3, 2, 0, 5}));
    // Exactly one rand() per position: the next value is the sixth of the sequence.
    EXPECT_EQ(msvc::rand(), 15724);

    std::vector<int> none;  // empty and single ranges draw nothing
    std::vector<int> one{7};
    msvc::srand(1);
    msvc::random_shuffle(none.begin(), none.end());
    msvc::random_shuffle(one.begin(), one.end());
    EXPECT_EQ(msvc::rand(), 41);
}

// For k = 3 the values 32766 and 32767 lie in the uneven top of the 15-bit range and are drawn
// again. Seed 3200710209 makes the first rand() 32766 (solved from the generator's inverse
// multiplier); its sequence is 32766, 30764, 19989: the draw rejects 32766, takes 30764 % 3 = 2.
TEST(CrtRandomShuffle, RejectsTheUnevenTopOfTheRange) {
    msvc::srand(3200710209u);
    EXPECT_EQ(msvc::rand(), 32766);
    msvc::srand(3200710209u);
    EXPECT_EQ(msvc::randomIndex(2), 2);
    EXPECT_EQ(msvc::rand(), 19989);
}

// Ranges wider than 15 bits stack two rand() values: with srand(1), k = 32769 gives
// ret = 41 * 32768 + 18467 = 1361955 and 1361955 % 32769 = 18426. k = 32768 still needs one.
TEST(CrtRandomShuffle, WideRangesStackSeveralDraws) {
    msvc::srand(1);
    EXPECT_EQ(msvc::randomIndex(32768), 18426);
    EXPECT_EQ(msvc::rand(), 6334);
    msvc::srand(1);
    EXPECT_EQ(msvc::randomIndex(32767), 41);
    EXPECT_EQ(msvc::rand(), 18467);
}

TEST(CrtRandomShuffle, LargeRangeStaysAPermutation) {
    std::vector<int> deck(40000);
    std::iota(deck.begin(), deck.end(), 0);
    msvc::srand(7);
    msvc::random_shuffle(deck.begin(), deck.end());
    std::vector<int> sorted = deck;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 40000; ++i) ASSERT_EQ(sorted[static_cast<std::size_t>(i)], i);
    // Positions beyond 32768 must be reachable from the wide draws, not just the low 15 bits.
    int high = 0;
    for (int i = 0; i < 1000; ++i) high += deck[static_cast<std::size_t>(i)] >= 32768 ? 1 : 0;
    EXPECT_GT(high, 100);
}
