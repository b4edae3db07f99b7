// Evaluating splines: the five interpolation functions against their definitions (Catmull-Rom
// written out here), component masks, the order of several entries, and wild parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/render/Spline.h"
#include "tests/engine/render/SplineSupport.h"

using Orvex::Spline;
using Orvex::SplineInterpolator;
using Orvex::SplinePoint;
using Orvex::u32;
using splinetest::allFinite;
using splinetest::near3;

namespace {

// Four control points with distinct positions and user data; every point carries the same
// interpolator entries.
class InterpolateTest : public ::testing::Test {
protected:
    void build(std::initializer_list<SplineInterpolator> entries) {
        float const positions[4][3] = {{0, 0, 0}, {10, 0, 0}, {20, 10, 0}, {30, 10, 5}};
        auto& points = spline.getControlPoints();
        points.clear();
        for (int i = 0; i < 4; ++i) {
            SplinePoint p;
            for (int c = 0; c < 3; ++c) p.position[c] = positions[i][c];
            for (int c = 0; c < 4; ++c) p.userData[c] = float(i * 4 + c);
            p.flags = 1u << i;
            int j = 0;
            for (SplineInterpolator const& e : entries) p.interpolators[j++] = e;
            for (; j < int(SplinePoint::kInterpolatorCount); ++j) p.interpolators[j] = SplineInterpolator();
            points.push_back(p);
        }
        spline.rebuildTables();
    }
    SplinePoint const& P(int i) const { return *spline.getPoint(i); }

    // Catmull-Rom: 0.5 (2 b + (c - a) f + (2a - 5b + 4c - d) f^2 + (-a + 3b - 3c + d) f^3).
    double catmull(int i, int component, double f) const {
        double const a = P(i - 1).component(u32(component)), b = P(i).component(u32(component)),
                     c = P(i + 1).component(u32(component)), d = P(i + 2).component(u32(component));
        return 0.5 * (2 * b + (c - a) * f + (2 * a - 5 * b + 4 * c - d) * f * f + (-a + 3 * b - 3 * c + d) * f * f * f);
    }

    Spline spline;
};

SplineInterpolator entry(Orvex::SplineFunction function, u32 mask, float param = 0.0f) {
    SplineInterpolator e;
    e.function = function;
    e.mask = mask;
    e.param = param;
    return e;
}

TEST_F(InterpolateTest, NoneHoldsTheSegmentStart) {
    build({entry(Orvex::splineInterpolateNone, Orvex::kSplineMaskAll)});
    SplinePoint const at = spline.getPointAt(1.75f);
    EXPECT_TRUE(near3(at.position, 10, 0, 0));
    EXPECT_EQ(at.userData[3], 7.0f);
    EXPECT_EQ(at.flags, 2u) << "flags come from the segment's start point";
}

TEST_F(InterpolateTest, LinearBlendsAllSixteenComponents) {
    build({entry(Orvex::splineInterpolateLinear, Orvex::kSplineMaskAll)});
    SplinePoint const at = spline.getPointAt(1.25f);
    EXPECT_TRUE(near3(at.position, 12.5, 2.5, 0));
    for (u32 k = 0; k < SplinePoint::kComponentCount; ++k)
        EXPECT_NEAR(at.component(k), P(1).component(k) + (P(2).component(k) - P(1).component(k)) * 0.25, 1e-5) << k;
    // Truncation toward zero: -0.5 lies in segment 0, reaching back by half a segment.
    EXPECT_TRUE(near3(spline.getPointAt(-0.5f).position, -5, 0, 0));
}

TEST_F(InterpolateTest, CatmullRomRunsThroughTheNeighbours) {
    build({entry(Orvex::splineInterpolateCatmull, Orvex::kSplineMaskPosition | Orvex::kSplineMaskUserData)});
    for (float t : {0.0f, 0.3f, 1.0f, 1.5f, 2.9f}) {
        int const i = int(t);
        double const f = t - i;
        SplinePoint const at = spline.getPointAt(t);
        EXPECT_TRUE(near3(at.position, catmull(i, 0, f), catmull(i, 1, f), catmull(i, 2, f), 1e-3)) << t;
        for (int c = 12; c < 16; ++c) EXPECT_NEAR(at.component(u32(c)), catmull(i, c, f), 1e-3) << t;
    }
    EXPECT_TRUE(near3(spline.getPointAt(2.0f).position, 20, 10, 0)) << "through the control points";
}

TEST_F(InterpolateTest, LookAheadFramesPointAtTheFollowingPlace) {
    struct Case {
        char const* what;
        Orvex::SplineFunction function;
        Orvex::SplineFunction base;
        float param;
        float h;
    };
    Case const cases[] = {
        {"LINEAR+", Orvex::splineInterpolateLinearPlus, Orvex::splineInterpolateLinear, 0.25f, 0.25f},
        {"CATMULL+", Orvex::splineInterpolateCatmullPlus, Orvex::splineInterpolateCatmull, 0.25f, 0.25f},
        {"LINEAR+ looking back", Orvex::splineInterpolateLinearPlus, Orvex::splineInterpolateLinear, -0.5f, -0.5f},
        {"param limited to 1", Orvex::splineInterpolateCatmullPlus, Orvex::splineInterpolateCatmull, 5.0f, 1.0f},
    };
    for (Case const& c : cases) {
        build({entry(c.function, Orvex::kSplineMaskAll, c.param)});
        float const t = 1.4f;
        SplinePoint const here = c.base(t, spline, 0);
        SplinePoint const there = c.base(t + c.h, spline, 0);
        SplinePoint const at = spline.getPointAt(t);
        double const d[3] = {there.position[0] - here.position[0], there.position[1] - here.position[1],
                             there.position[2] - here.position[2]};
        EXPECT_TRUE(near3(at.position, here.position[0], here.position[1], here.position[2])) << c.what;
        EXPECT_TRUE(near3(at.direction, d[0], d[1], d[2])) << c.what << ": left unnormalised";
        double const l = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        double const u[3] = {d[0] / l, d[1] / l, d[2] / l};
        double const b[3] = {-u[2], 0, u[0]};
        EXPECT_TRUE(near3(at.binormal, b[0], b[1], b[2])) << c.what;
        EXPECT_TRUE(near3(at.normal, b[1] * u[2] - b[2] * u[1], b[2] * u[0] - b[0] * u[2], b[0] * u[1] - b[1] * u[0]))
            << c.what;
    }
}

TEST_F(InterpolateTest, ALookAheadOfZeroGivesAZeroDirectionAndAnUprightFrame) {
    build({entry(Orvex::splineInterpolateLinearPlus, Orvex::kSplineMaskAll, 0.0f)});
    SplinePoint const at = spline.getPointAt(0.5f);
    EXPECT_TRUE(near3(at.direction, 0, 0, 0));
    EXPECT_TRUE(near3(at.binormal, 1, 0, 0));
    EXPECT_TRUE(near3(at.normal, 0, 1, 0));
}

TEST_F(InterpolateTest, MasksChooseComponentsAndLaterEntriesWin) {
    struct Case {
        char const* what;
        std::initializer_list<SplineInterpolator> entries;
        double x, y, z;
        float userX;
    };
    // At t = 1.5 linear gives position (15, 5, 0) and user data x 6; the start point has
    // (10, 0, 0) and user data x 4.
    Case const cases[] = {
        {"x only", {entry(Orvex::splineInterpolateLinear, 0x0001)}, 15, 0, 0, 4},
        {"user data only", {entry(Orvex::splineInterpolateLinear, Orvex::kSplineMaskUserData)}, 10, 0, 0, 6},
        {"a later entry wins",
         {entry(Orvex::splineInterpolateLinear, Orvex::kSplineMaskAll), entry(Orvex::splineInterpolateNone, 0x0002)},
         15, 0, 0, 6},
        {"an empty mask is skipped",
         {entry(Orvex::splineInterpolateNone, 0), entry(Orvex::splineInterpolateLinear, 0x0003)}, 15, 5, 0, 4},
        {"an entry without a function ends the list",
         {entry(nullptr, 0), entry(Orvex::splineInterpolateLinear, Orvex::kSplineMaskAll)}, 10, 0, 0, 4},
    };
    for (Case const& c : cases) {
        build(c.entries);
        SplinePoint const at = spline.getPointAt(1.5f);
        EXPECT_TRUE(near3(at.position, c.x, c.y, c.z)) << c.what;
        EXPECT_EQ(at.userData[0], c.userX) << c.what;
    }
}

TEST_F(InterpolateTest, TheDefaultEntryBlendsEverythingLinearly) {
    SplinePoint const fresh;
    EXPECT_EQ(fresh.interpolators[0].function, &Orvex::splineInterpolateLinear);
    EXPECT_EQ(fresh.interpolators[0].type, Orvex::kSplineNone);
    EXPECT_EQ(fresh.interpolators[0].mask, 0xFFFFu);
    EXPECT_EQ(fresh.interpolators[1].function, nullptr);
    spline.getControlPoints() = {fresh, fresh};
    spline.getControlPoints()[1].position[0] = 8.0f;
    spline.rebuildTables();
    EXPECT_TRUE(near3(spline.getPointAt(0.25f).position, 2, 0, 0));
}

TEST_F(InterpolateTest, WildParametersGiveFinitePoints) {
    build({entry(Orvex::splineInterpolateCatmullPlus, Orvex::kSplineMaskAll, std::nanf("")),
           entry(Orvex::splineInterpolateLinear, Orvex::kSplineMaskUserData)});
    float const inf = std::numeric_limits<float>::infinity();
    for (float t : {std::nanf(""), inf, -inf, 3e9f, -3e9f, 1e38f}) {
        SplinePoint const at = spline.getPointAt(t);
        EXPECT_TRUE(std::isfinite(at.binormal[0]) && std::isfinite(at.normal[1])) << t;
    }
    EXPECT_TRUE(allFinite(spline.getPointAt(std::nanf(""))));
}

}  // namespace
