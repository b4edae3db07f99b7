// Evaluating a spline: the five interpolation functions and getPointAt, which runs a point's
// interpolators and takes the components each one claims.
#include <algorithm>
#include <cmath>

#include "engine/render/Spline.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

namespace {

// Parameters beyond this size would overflow the segment index; NaN counts as 0.
constexpr float kParameterLimit = 1073741824.0f;

struct Segment {
    s32 index;
    float fraction;
};

Segment segmentOf(float t) {
    if (std::isnan(t)) t = 0.0f;
    t = std::clamp(t, -kParameterLimit, kParameterLimit);
    s32 const i = static_cast<s32>(t);
    return {i, t - static_cast<float>(i)};
}

using Vector3Field = float (SplinePoint::*)[3];

// Catmull-Rom of one three-component field through four points, written into out.
void catmullField(SplinePoint& out, Vector3Field field, SplinePoint const* const (&p)[4], float f) {
    D3DXVECTOR3 v[4];
    for (int j = 0; j < 4; ++j) v[j] = D3DXVECTOR3((p[j]->*field)[0], (p[j]->*field)[1], (p[j]->*field)[2]);
    D3DXVECTOR3 r;
    D3DXVec3CatmullRom(&r, &v[0], &v[1], &v[2], &v[3], f);
    (out.*field)[0] = r.x;
    (out.*field)[1] = r.y;
    (out.*field)[2] = r.z;
}

using Base = SplinePoint (*)(float, Spline const&, float);

// The look-ahead frame: direction towards the point h further on.
SplinePoint lookAhead(Base base, float t, Spline const& spline, float param) {
    float h = std::isnan(param) ? 0.0f : std::clamp(param, -1.0f, 1.0f);
    SplinePoint q = base(t, spline, 0.0f);
    SplinePoint const r = base(t + h, spline, 0.0f);
    for (int c = 0; c < 3; ++c) q.direction[c] = r.position[c] - q.position[c];
    splineFrameFromDirection(q);
    return q;
}

}  // namespace

SplinePoint splineInterpolateNone(float t, Spline const& spline, float) {
    SplinePoint const* p = spline.getPoint(segmentOf(t).index);
    return p ? *p : SplinePoint();
}

SplinePoint splineInterpolateLinear(float t, Spline const& spline, float) {
    Segment const s = segmentOf(t);
    SplinePoint const* a = spline.getPoint(s.index);
    if (!a) return SplinePoint();
    SplinePoint out = *a;
    SplinePoint const* b = spline.getPoint(s.index + 1);
    if (!b) return out;
    for (u32 k = 0; k < SplinePoint::kComponentCount; ++k) {
        float const from = a->component(k);
        out.component(k) = from + (b->component(k) - from) * s.fraction;
    }
    return out;
}

SplinePoint splineInterpolateCatmull(float t, Spline const& spline, float) {
    Segment const s = segmentOf(t);
    SplinePoint const* p1 = spline.getPoint(s.index);
    if (!p1) return SplinePoint();
    SplinePoint out = *p1;
    SplinePoint const* const p[4] = {spline.getPoint(s.index - 1), p1, spline.getPoint(s.index + 1),
                                     spline.getPoint(s.index + 2)};
    if (!p[0] || !p[2] || !p[3]) return out;
    for (Vector3Field field : {&SplinePoint::position, &SplinePoint::normal, &SplinePoint::direction, &SplinePoint::binormal})
        catmullField(out, field, p, s.fraction);
    D3DXVECTOR4 u[4];
    for (int j = 0; j < 4; ++j) u[j] = D3DXVECTOR4(p[j]->userData[0], p[j]->userData[1], p[j]->userData[2], p[j]->userData[3]);
    D3DXVECTOR4 w;
    D3DXVec4CatmullRom(&w, &u[0], &u[1], &u[2], &u[3], s.fraction);
    out.userData[0] = w.x;
    out.userData[1] = w.y;
    out.userData[2] = w.z;
    out.userData[3] = w.w;
    return out;
}

SplinePoint splineInterpolateLinearPlus(float t, Spline const& spline, float param) {
    return lookAhead(splineInterpolateLinear, t, spline, param);
}

SplinePoint splineInterpolateCatmullPlus(float t, Spline const& spline, float param) {
    return lookAhead(splineInterpolateCatmull, t, spline, param);
}

SplinePoint Spline::getPointAt(float t) const {
    SplinePoint const* s = getPoint(segmentOf(t).index);
    if (!s) return SplinePoint();
    SplinePoint result = *s;
    for (SplineInterpolator const& entry : s->interpolators) {
        if (!entry.function) break;
        if (entry.mask == 0) continue;
        SplinePoint const value = entry.function(t, *this, entry.param);
        for (u32 k = 0; k < SplinePoint::kComponentCount; ++k)
            if (entry.mask & (1u << k)) result.component(k) = value.component(k);
    }
    return result;
}

}  // namespace Orvex
