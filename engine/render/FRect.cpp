// The float rectangle's operations.
#include "engine/render/FRect.h"

#include <algorithm>

namespace Orvex {

namespace {

// Shifts [low, high] forward onto boundLow when it starts before it, then back onto boundHigh
// when it ends past it.
void moveAxisInside(float& low, float& high, float boundLow, float boundHigh) {
    if (boundLow > low) {
        high += boundLow - low;
        low = boundLow;
    }
    if (high > boundHigh) {
        low -= high - boundHigh;
        high = boundHigh;
    }
}

}  // namespace

FRect FRect::fromPosSize(D3DXVECTOR2 const& pos, D3DXVECTOR2 const& size) {
    return FRect(pos.x, pos.y, pos.x + size.x, pos.y + size.y);
}

FRect FRect::fromLTRB(float const* v) { return FRect(v[0], v[1], v[2], v[3]); }

FRect FRect::fromRECT(RECT const& r) {
    return FRect(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                 static_cast<float>(r.bottom));
}

void FRect::unite(FRect const& o) {
    left = std::min(left, o.left);
    top = std::min(top, o.top);
    right = std::max(right, o.right);
    bottom = std::max(bottom, o.bottom);
}

FRect FRect::intersection(FRect const& o) const {
    return FRect(std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                 std::min(bottom, o.bottom));
}

void FRect::extend(D3DXVECTOR2 const& v) {
    left -= v.x;
    top -= v.x;
    right += v.y;
    bottom += v.y;
}

void FRect::moveInside(FRect const& bounds) {
    moveAxisInside(left, right, bounds.left, bounds.right);
    moveAxisInside(top, bottom, bounds.top, bounds.bottom);
}

bool FRect::overlaps(FRect const& o) const {
    auto apart = [](float a0, float a1, float b0, float b1) {
        return std::min(a0, a1) > std::max(b0, b1) || std::min(b0, b1) > std::max(a0, a1);
    };
    return !apart(left, right, o.left, o.right) && !apart(top, bottom, o.top, o.bottom);
}

}  // namespace Orvex
