// One control point of a spline: sixteen float components (numbered 0-15: position x y z,
// direction, normal, binormal, user data x y z w), a free 32-bit flag set, and up to
// kInterpolatorCount interpolators that say how which components run to the next point.
// A point is a plain value; evaluating a spline copies points and allocates nothing.
//
// Interpolators run in order while their entry has a function; an entry with a component mask
// of 0 is skipped. Each yields a whole point, of which the components in its mask are taken
// (later entries win). The five functions and their type numbers:
//   0 "NONE" (the segment's start point), 1 "LINEAR", 2 "LINEAR+" (linear, with the frame looking
//   ahead by the entry's param), 3 "CATMULL" (Catmull-Rom through the neighbours), 4 "CATMULL+".
#pragma once

#include <string_view>

#include "engine/core/Types.h"

namespace Orvex {

class Spline;
struct SplinePoint;

using SplineFunction = SplinePoint (*)(float t, Spline const& spline, float param);

enum SplineInterpolationType : u32 {
    kSplineNone = 0,
    kSplineLinear = 1,
    kSplineLinearPlus = 2,
    kSplineCatmull = 3,
    kSplineCatmullPlus = 4,
};

struct SplineInterpolator {
    SplineFunction function = nullptr;
    u32 type = kSplineNone;
    u32 mask = 0;  // bit k = component k
    float param = 0.0f;
};

// Component masks.
constexpr u32 kSplineMaskPosition = 0x0007;
constexpr u32 kSplineMaskDirection = 0x0038;
constexpr u32 kSplineMaskNormal = 0x01C0;
constexpr u32 kSplineMaskBinormal = 0x0E00;
constexpr u32 kSplineMaskUserData = 0xF000;
constexpr u32 kSplineMaskAll = 0xFFFF;

struct SplinePoint {
    static constexpr u32 kComponentCount = 16;
    static constexpr u32 kInterpolatorCount = 15;

    float position[3] = {0.0f, 0.0f, 0.0f};
    float direction[3] = {0.0f, 0.0f, 1.0f};
    float normal[3] = {0.0f, 1.0f, 0.0f};
    float binormal[3] = {1.0f, 0.0f, 0.0f};
    float userData[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    u32 flags = 0;
    SplineInterpolator interpolators[kInterpolatorCount];

    // Entry 0 is the LINEAR function with type 0 and every component.
    SplinePoint();

    // Component k (0-15); k is taken modulo 16.
    float& component(u32 k);
    float component(u32 k) const;
};

// The interpolation functions (i = trunc(t), f = t - i, P(k) = the spline's getPoint(k)).
SplinePoint splineInterpolateNone(float t, Spline const& spline, float param);
SplinePoint splineInterpolateLinear(float t, Spline const& spline, float param);
SplinePoint splineInterpolateLinearPlus(float t, Spline const& spline, float param);
SplinePoint splineInterpolateCatmull(float t, Spline const& spline, float param);
SplinePoint splineInterpolateCatmullPlus(float t, Spline const& spline, float param);

// Sets binormal and normal from the point's direction (left unnormalised): u = the direction
// normalised, binormal = u x (0,1,0), normal = binormal x u. Without a direction (zero or not
// finite) the frame is upright (binormal (1,0,0), normal (0,1,0)); along the y axis the
// binormal is (1,0,0).
void splineFrameFromDirection(SplinePoint& point);

// The mask of a component word ("POS_X", "DIRECTION", "USERDATA_W", ...); 0 for other words.
u32 splineComponentMask(std::wstring_view word);

}  // namespace Orvex
