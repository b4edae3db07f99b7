// Spline tables and lookups: extension points, lengths, distances along loops and open
// splines, averaged directions and frames, and the degenerate shapes (no point, one point, a
// loop of two points, a loop of length 0, coincident and vertical points).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/render/Spline.h"
#include "tests/engine/render/SplineSupport.h"

using Orvex::Spline;
using Orvex::SplinePoint;
using splinetest::allFinite;
using splinetest::near3;
using splinetest::setPositions;

namespace {

float const kInf = std::numeric_limits<float>::infinity();
float const kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(SplineTest, WithoutPointsTheDefaultPointAndWithOneItsPoint) {
    Spline empty;
    EXPECT_EQ(empty.getPoint(0), nullptr);
    SplinePoint const fallback = empty.getPointAt(1.5f);
    EXPECT_TRUE(near3(fallback.position, 0, 0, 0));
    EXPECT_TRUE(near3(fallback.direction, 0, 0, 1));
    EXPECT_TRUE(near3(fallback.normal, 0, 1, 0));
    EXPECT_TRUE(near3(fallback.binormal, 1, 0, 0));
    EXPECT_EQ(empty.getLength(), 0.0f);
    EXPECT_EQ(empty.parameterAtDistance(3.0f), 0.0f);

    Spline single;
    setPositions(single, {{4, 5, 6}}, false);
    for (float t : {-3.0f, 0.0f, 0.7f, 12.0f}) EXPECT_TRUE(near3(single.getPointAt(t).position, 4, 5, 6)) << t;
    for (int i : {-5, 0, 9}) EXPECT_EQ(single.getPoint(i), &single.getControlPoints()[0]);
}

TEST(SplineTest, AnOpenSplineContinuesItsEndSegmentsStraightOn) {
    Spline line;
    setPositions(line, {{0, 0, 0}, {1, 0, 0}}, false);
    struct Case {
        int index;
        float x;
    };
    for (Case c : {Case{-9, -2}, Case{-2, -2}, Case{-1, -1}, Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 3}, Case{5, 3}})
        EXPECT_TRUE(near3(line.getPoint(c.index)->position, c.x, 0, 0)) << c.index;
    EXPECT_FLOAT_EQ(line.getLength(), 1.0f);
}

TEST(SplineTest, ALoopRepeatsItsPointsAroundBothEnds) {
    Spline square;
    setPositions(square, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true);
    auto const& p = square.getControlPoints();
    struct Case {
        int index;
        SplinePoint const* expected;
    };
    // Before: points (2n-3) mod n, (2n-2) mod n, n-1; after: 0, 1, 2.
    for (Case c : {Case{-100, &p[1]}, Case{-3, &p[1]}, Case{-2, &p[2]}, Case{-1, &p[3]}, Case{4, &p[0]},
                   Case{5, &p[1]}, Case{6, &p[2]}, Case{100, &p[2]}})
        EXPECT_TRUE(near3(square.getPoint(c.index)->position, c.expected->position[0], c.expected->position[1],
                          c.expected->position[2]))
            << c.index;
    EXPECT_FLOAT_EQ(square.getLength(), 4.0f);
}

TEST(SplineTest, DistancesMapToParametersByChordLength) {
    Spline square;
    setPositions(square, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true);
    Spline open;  // length 10: 4 + 6
    setPositions(open, {{0, 0, 0}, {4, 0, 0}, {4, 6, 0}}, false);
    struct Case {
        char const* what;
        Spline const* spline;
        float distance;
        float parameter;
    };
    Case const cases[] = {
        {"loop, start", &square, 0.0f, 0.0f},
        {"loop, inside", &square, 2.25f, 2.25f},
        {"loop, its length", &square, 4.0f, 4.0f},
        {"loop, beyond", &square, 4.5f, 0.5f},
        {"loop, twice round", &square, 8.0f, 4.0f},
        {"loop, before the start", &square, -1.0f, 3.0f},
        {"loop, far before the start", &square, -9.0f, 3.0f},
        {"loop, not a number", &square, kNaN, 0.0f},
        {"loop, infinite", &square, kInf, 0.0f},
        {"open, inside the first segment", &open, 2.0f, 0.5f},
        {"open, inside the second", &open, 7.0f, 1.5f},
        {"open, beyond the end", &open, 12.0f, 2.0f},
        {"open, before the start", &open, -3.0f, 0.0f},
        {"open, infinite", &open, kInf, 2.0f},
    };
    for (Case const& c : cases) EXPECT_NEAR(c.spline->parameterAtDistance(c.distance), c.parameter, 1e-5) << c.what;
    // Wrapping a huge distance is one step, not a loop of subtractions (which would never end
    // once the distance swallows the length in float precision).
    for (float far : {1e30f, -1e30f, 3.0e9f}) {
        float const t = square.parameterAtDistance(far);
        EXPECT_GE(t, 0.0f) << far;
        EXPECT_LE(t, 4.0f) << far;
    }
}

TEST(SplineTest, ALoopOfLengthZeroGivesParameterZero) {
    Spline dot;
    setPositions(dot, {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}, true);
    EXPECT_EQ(dot.getLength(), 0.0f);
    for (float d : {-5.0f, 0.0f, 5.0f, 1e20f}) EXPECT_EQ(dot.parameterAtDistance(d), 0.0f) << d;
    for (int i = -4; i < 8; ++i) EXPECT_TRUE(allFinite(*dot.getPoint(i))) << i;
}

TEST(SplineTest, ALoopOfTwoPointsUsesOnlyItsTwoPoints) {
    // The averaged direction of the second extension points takes the chord after the next
    // one; with two points that chord wraps round to the first (reading a third point would run
    // past the list).
    Spline pair;
    setPositions(pair, {{0, 0, 0}, {2, 0, 0}}, true);
    EXPECT_FLOAT_EQ(pair.getLength(), 4.0f);
    EXPECT_NEAR(pair.parameterAtDistance(3.0f), 1.5f, 1e-6);
    EXPECT_TRUE(near3(pair.getPoint(3)->direction, 2, 0, 0)) << "after-point 1: (D0 + D0) / 2";
    EXPECT_TRUE(near3(pair.getPoint(-2)->direction, 2, 0, 0)) << "before-point 1 likewise";
    for (int i = -4; i < 6; ++i) EXPECT_TRUE(allFinite(*pair.getPoint(i))) << i;
    for (float t = -1.0f; t <= 3.0f; t += 0.25f) EXPECT_TRUE(allFinite(pair.getPointAt(t))) << t;
}

TEST(SplineTest, DirectionsAreAveragedChordsAndFramesFollowThem) {
    // Chords: D0 (1,0,0), D1 (0,0,1), D2 (0,0,2), and the straight continuations before and
    // after: (1,0,0) and (0,0,2).
    Spline bend;
    setPositions(bend, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {1, 0, 3}}, false);
    struct Case {
        int index;
        splinetest::P3 direction;
    };
    Case const averaged[] = {
        {-2, {1, 0, 0}},      // before-point 0 keeps its chord
        {-1, {1, 0, 0}},      // (D0 + B0) / 2
        {0, {0.5f, 0, 0.5f}},  // (B1 + D1) / 2
        {1, {0.5f, 0, 1}},    // (D0 + D2) / 2
        {2, {0, 0, 1.5f}},    // (D1 + D3) / 2
        {3, {0, 0, 2}},       // (D3 + A0) / 2
        {4, {0, 0, 2}},       // (A1 + D3) / 2
        {5, {0, 0, 2}},       // after-point 1 keeps its chord
    };
    for (Case const& c : averaged) {
        SplinePoint const& p = *bend.getPoint(c.index);
        EXPECT_TRUE(near3(p.direction, c.direction.x, c.direction.y, c.direction.z)) << c.index;
        // binormal = u x (0,1,0) = (-u.z, 0, u.x); normal = binormal x u.
        double const l = std::sqrt(c.direction.x * c.direction.x + c.direction.z * c.direction.z);
        double const ux = c.direction.x / l, uz = c.direction.z / l;
        EXPECT_TRUE(near3(p.binormal, -uz, 0, ux)) << c.index;
        EXPECT_TRUE(near3(p.normal, 0, uz * uz + ux * ux, 0)) << c.index;
    }
    Spline plain;
    setPositions(plain, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {1, 0, 3}}, false, false);
    EXPECT_TRUE(near3(plain.getPoint(1)->direction, 0, 0, 1)) << "without averaging the chord itself";
    EXPECT_TRUE(near3(plain.getPoint(3)->direction, 0, 0, 2));
}

TEST(SplineTest, PointsWithoutAUsableDirectionKeepAnUprightFrame) {
    Spline stutter;  // the second and third points coincide
    setPositions(stutter, {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}}, false, false);
    SplinePoint const& still = *stutter.getPoint(1);
    EXPECT_TRUE(near3(still.direction, 0, 0, 0));
    EXPECT_TRUE(near3(still.binormal, 1, 0, 0));
    EXPECT_TRUE(near3(still.normal, 0, 1, 0));
    for (int i = -3; i < 7; ++i) EXPECT_TRUE(allFinite(*stutter.getPoint(i))) << i;

    Spline up;  // a direction along the y axis has no binormal u x (0,1,0)
    setPositions(up, {{0, 0, 0}, {0, 1, 0}}, false);
    EXPECT_TRUE(near3(up.getPoint(0)->binormal, 1, 0, 0));
    EXPECT_TRUE(near3(up.getPoint(0)->normal, 0, 0, 1));
}

TEST(SplineTest, ChangedIsAnnouncedOncePerRebuildWithTwoPointsOrMore) {
    struct Counter : sigslot::has_slots<> {
        int count = 0;
        void onChanged(Spline&) { ++count; }
    } counter;
    Spline spline;
    spline.changed.connect(&counter, &Counter::onChanged);
    setPositions(spline, {{0, 0, 0}}, false);
    EXPECT_EQ(counter.count, 0);
    setPositions(spline, {{0, 0, 0}, {1, 0, 0}}, false);
    EXPECT_EQ(counter.count, 1);

    Spline copy(spline);
    EXPECT_EQ(copy.getName(), spline.getName());
    EXPECT_EQ(copy.getLength(), spline.getLength());
    EXPECT_TRUE(near3(copy.getPoint(-2)->position, -2, 0, 0));
    copy.rebuildTables();
    EXPECT_EQ(counter.count, 1) << "a copy starts without listeners";
}

}  // namespace
