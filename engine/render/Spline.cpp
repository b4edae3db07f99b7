// Splines: construction, the tables (extension points, length, directions, frames) and the
// lookups by index and by distance.
#include "engine/render/Spline.h"

#include <cmath>

namespace Orvex {

namespace {

struct Vec {
    float x, y, z;
};

Vec positionOf(SplinePoint const& p) { return {p.position[0], p.position[1], p.position[2]}; }
Vec directionOf(SplinePoint const& p) { return {p.direction[0], p.direction[1], p.direction[2]}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(Vec a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float lengthOf(Vec v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

void setPosition(SplinePoint& p, Vec v) {
    p.position[0] = v.x;
    p.position[1] = v.y;
    p.position[2] = v.z;
}
void setDirection(SplinePoint& p, Vec v) {
    p.direction[0] = v.x;
    p.direction[1] = v.y;
    p.direction[2] = v.z;
}

SplinePoint movedCopy(SplinePoint const& p, Vec position) {
    SplinePoint copy = p;
    setPosition(copy, position);
    return copy;
}

// Step directions inside one list: each point but the last towards its successor.
void chordDirections(std::vector<SplinePoint>& list) {
    for (std::size_t j = 0; j + 1 < list.size(); ++j) setDirection(list[j], positionOf(list[j + 1]) - positionOf(list[j]));
}

std::vector<Vec> directionsOf(std::vector<SplinePoint> const& list) {
    std::vector<Vec> out;
    out.reserve(list.size());
    for (SplinePoint const& p : list) out.push_back(directionOf(p));
    return out;
}

Vec mean(Vec a, Vec b) { return (a + b) * 0.5f; }

}  // namespace

Spline::Spline() { rebuildTables(); }

Spline::Spline(Spline const& other)
    : NamedObject(other),
      points_(other.points_),
      before_(other.before_),
      after_(other.after_),
      length_(other.length_),
      loop_(other.loop_),
      average_(other.average_),
      hasDefinition_(other.hasDefinition_),
      definition_(other.definition_),
      sourceName_(other.sourceName_) {}

void Spline::rebuildTables() {
    before_.clear();
    after_.clear();
    std::size_t const n = points_.size();
    if (n < 2) return;

    if (loop_) {
        before_ = {points_[(2 * n - 3) % n], points_[(2 * n - 2) % n], points_[n - 1]};
        after_ = {points_[0], points_[1 % n], points_[2 % n]};
    } else {
        Vec const p0 = positionOf(points_[0]);
        Vec const d = positionOf(points_[1]) - p0;
        before_ = {movedCopy(points_[0], p0 - d * 2.0f), movedCopy(points_[0], p0 - d)};
        Vec const last = positionOf(points_[n - 1]);
        Vec const g = last - positionOf(points_[n - 2]);
        after_ = {movedCopy(points_[n - 1], last + g), movedCopy(points_[n - 1], last + g * 2.0f)};
    }
    std::size_t const e = before_.size();

    length_ = 0.0f;
    for (std::size_t i = 1; i < n; ++i) length_ += lengthOf(positionOf(points_[i]) - positionOf(points_[i - 1]));
    if (loop_) length_ += lengthOf(positionOf(points_[n - 1]) - positionOf(points_[0]));

    chordDirections(before_);
    chordDirections(points_);
    chordDirections(after_);
    setDirection(before_[e - 1], positionOf(points_[0]) - positionOf(before_[e - 1]));
    setDirection(points_[n - 1], positionOf(after_[0]) - positionOf(points_[n - 1]));
    setDirection(after_[e - 1], positionOf(after_[e - 1]) - positionOf(after_[e - 2]));

    if (average_) computeDirections(static_cast<u32>(e));

    for (auto* list : {&before_, &points_, &after_})
        for (SplinePoint& p : *list) splineFrameFromDirection(p);

    changed.emit(*this);
}

void Spline::computeDirections(u32 e) {
    std::size_t const n = points_.size();
    std::vector<Vec> const D = directionsOf(points_);
    std::vector<Vec> const B = directionsOf(before_);
    std::vector<Vec> const A = directionsOf(after_);
    for (std::size_t i = 1; i + 1 < n; ++i) setDirection(points_[i], mean(D[i - 1], D[i + 1]));
    setDirection(points_[0], mean(B[e - 1], D[1]));
    setDirection(points_[n - 1], mean(D[n - 1], A[0]));
    setDirection(before_[e - 1], mean(D[0], B[e - 2]));
    setDirection(after_[0], mean(A[1], D[n - 1]));
    if (loop_) {
        // The chord after the next one, wrapped: a loop of two points has no third point.
        Vec const wrapped = mean(D[0], D[2 % n]);
        setDirection(before_[1], wrapped);
        setDirection(after_[1], wrapped);
    }
}

SplinePoint const* Spline::getPoint(s32 index) const {
    s32 const n = static_cast<s32>(points_.size());
    if (n == 0) return nullptr;
    if (n == 1) return &points_[0];
    s32 const e = static_cast<s32>(before_.size());
    if (e == 0) return &points_[index <= 0 ? 0 : (index < n ? index : n - 1)];
    if (index < -e) return &before_[0];
    if (index >= n + e) return &after_[static_cast<std::size_t>(e - 1)];
    if (index < 0) return &before_[static_cast<std::size_t>(e + index)];
    if (index < n) return &points_[static_cast<std::size_t>(index)];
    return &after_[static_cast<std::size_t>(index - n)];
}

float Spline::parameterAtDistance(float const& distance) const {
    float const L = length_;
    std::size_t const n = points_.size();
    float d = distance;
    if (std::isnan(d)) d = 0.0f;
    if (loop_) {
        if (d < 0.0f || d > L) {
            if (!(L > 0.0f) || !std::isfinite(d)) {
                d = 0.0f;
            } else {
                float const r = std::fmod(d, L);
                d = d < 0.0f ? (r < 0.0f ? r + L : r) : (r == 0.0f ? L : r);
            }
        }
    } else {
        if (d < 0.0f) d = 0.0f;
        if (d > L) d = L;
    }

    std::size_t const m = loop_ ? n + 1 : n;
    float acc = 0.0f;
    for (std::size_t i = 1; i < m; ++i) {
        Vec const a = positionOf(points_[i - 1]);
        Vec const b = positionOf(points_[i == n ? 0 : i]);
        float const len = lengthOf(b - a);
        if (acc + len >= d) return static_cast<float>(i - 1) + (len > 0.0f ? (d - acc) / len : 0.0f);
        acc += len;
    }
    if (loop_) return static_cast<float>(n);
    return n < 2 ? 0.0f : static_cast<float>(n - 1);
}

}  // namespace Orvex
