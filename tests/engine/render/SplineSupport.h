// Helpers of the spline tests: splines built from positions, and point comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "engine/render/Spline.h"

namespace splinetest {

struct P3 {
    float x, y, z;
};

// Control points at the positions (default points otherwise), then the tables.
inline void setPositions(Orvex::Spline& spline, std::initializer_list<P3> positions, bool loop, bool average = true) {
    spline.setLoop(loop);
    spline.setAverage(average);
    auto& points = spline.getControlPoints();
    points.clear();
    for (P3 const& p : positions) {
        Orvex::SplinePoint point;
        point.position[0] = p.x;
        point.position[1] = p.y;
        point.position[2] = p.z;
        points.push_back(point);
    }
    spline.rebuildTables();
}

inline ::testing::AssertionResult near3(float const* v, double x, double y, double z, double tolerance = 1e-4) {
    if (std::fabs(v[0] - x) <= tolerance && std::fabs(v[1] - y) <= tolerance && std::fabs(v[2] - z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << v[0] << ", " << v[1] << ", " << v[2] << ") instead of (" << x << ", "
                                         << y << ", " << z << ")";
}

inline bool allFinite(Orvex::SplinePoint const& p) {
    for (Orvex::u32 k = 0; k < Orvex::SplinePoint::kComponentCount; ++k)
        if (!std::isfinite(p.component(k))) return false;
    return true;
}

}  // namespace splinetest
