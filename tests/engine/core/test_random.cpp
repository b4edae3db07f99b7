// The engine's visual random generator: ranges, distribution and independence from rand().
#include <gtest/gtest.h>

#include <vector>

#include "engine/core/Random.h"
#include "port/crt/crt.h"

TEST(Random, FloatsStayInTheirRangeWhicheverWayRound) {
    Orvex::seedRandom(1);
    float const lo = -180.0f, hi = 180.0f;
    double sum = 0.0;
    for (int i = 0; i < 20000; ++i) {
        float v = Orvex::randomFloat(lo, hi);
        ASSERT_GE(v, lo);
        ASSERT_LE(v, hi);
        sum += v;
        float w = Orvex::randomFloat(1.0f, -1.0f);
        ASSERT_GE(w, -1.0f);
        ASSERT_LE(w, 1.0f);
        double d = Orvex::randomDouble(0.0, 1.0);
        ASSERT_GE(d, 0.0);
        ASSERT_LE(d, 1.0);
    }
    EXPECT_NEAR(sum / 20000.0, 0.0, 5.0);  // mean of a uniform on [-180, 180]
    EXPECT_EQ(Orvex::randomFloat(2.5f, 2.5f), 2.5f);
    EXPECT_EQ(Orvex::randomDouble(-4.0, -4.0), -4.0);

    // The pointer form draws as the reference form; null pointers give 0.
    float const a = 10.0f, b = 20.0f;
    Orvex::seedRandom(7);
    float const byRef = Orvex::randomFloat(a, b);
    Orvex::seedRandom(7);
    EXPECT_EQ(Orvex::randomFloat(&a, &b), byRef);
    EXPECT_EQ(Orvex::randomFloat(nullptr, nullptr), 0.0f);
}

// Picking an index below a count (background pictures, sequence elements) must reach every
// index about equally often, the last one included.
TEST(Random, IntegersCoverTheHalfOpenRangeEvenly) {
    Orvex::seedRandom(3);
    int counts[4] = {0, 0, 0, 0};
    int const draws = 30000;
    for (int i = 0; i < draws; ++i) {
        int v = Orvex::randomInt(0, 3);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 2);
        ++counts[v];
    }
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(counts[k], draws / 3, draws / 30) << "index " << k;
    EXPECT_EQ(Orvex::randomInt(5, 5), 5);
    for (int i = 0; i < 1000; ++i) {
        int v = Orvex::randomInt(5, 2);
        ASSERT_GE(v, 3);
        ASSERT_LE(v, 5);
        int w = Orvex::randomInt(0, 1);
        ASSERT_EQ(w, 0);
        int x = Orvex::randomInt(-2147483647 - 1, 2147483647);
        ASSERT_LT(x, 2147483647);
    }
}

TEST(Random, RoundedIntegersIncludeBothEnds) {
    Orvex::seedRandom(5);
    int counts[3] = {0, 0, 0};
    for (int i = 0; i < 20000; ++i) {
        int v = Orvex::randomIntRounded(0, 2);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 2);
        ++counts[v];
    }
    // The middle value gets half the draws, each end a quarter.
    EXPECT_NEAR(counts[1], 10000, 600);
    EXPECT_NEAR(counts[0], 5000, 500);
    EXPECT_NEAR(counts[2], 5000, 500);
    EXPECT_EQ(Orvex::randomIntRounded(9, 9), 9);
}

TEST(Random, ReproducibleBySeedAndLeavesTheRuntimeGeneratorAlone) {
    Orvex::seedRandom(42);
    std::vector<double> first;
    for (int i = 0; i < 20; ++i) first.push_back(Orvex::randomUnit());
    Orvex::seedRandom(42);
    for (double v : first) EXPECT_EQ(Orvex::randomUnit(), v);

    msvc::srand(1);
    for (int i = 0; i < 100; ++i) {
        Orvex::randomFloat(0.0f, 1.0f);
        Orvex::randomInt(0, 10);
    }
    EXPECT_EQ(msvc::rand(), 41);
}
