// The engine's float rectangle: four floats stored as left, right, top, bottom (in that order),
// built from (left, top, right, bottom), from a position and a size, from four values in
// left-top-right-bottom order or from a Win32 RECT; with the union, growth, move-inside and
// overlap operations that culling and placement use.
#pragma once

#include "port/d3dx9/d3dx9math.h"
#include "port/win32/windows_types.h"

namespace Orvex {

class FRect {
public:
    float left = 0.0f;
    float right = 0.0f;
    float top = 0.0f;
    float bottom = 0.0f;

    FRect() = default;
    // Arguments in left, top, right, bottom order; stored as left, right, top, bottom.
    FRect(float l, float t, float r, float b) : left(l), right(r), top(t), bottom(b) {}

    // (x, x + w, y, y + h).
    static FRect fromPosSize(D3DXVECTOR2 const& pos, D3DXVECTOR2 const& size);
    // Four values in left, top, right, bottom order.
    static FRect fromLTRB(float const* v);
    static FRect fromRECT(RECT const& r);

    void clear() { left = right = top = bottom = 0.0f; }
    float getWidth() const { return right - left; }
    float getHeight() const { return bottom - top; }

    // The smallest rectangle holding both (per edge min/max).
    void unite(FRect const& o);
    // The part both share (per edge max/min); empty or inverted when they do not overlap.
    FRect intersection(FRect const& o) const;
    // left and top move out by v.x, right and bottom by v.y.
    void extend(D3DXVECTOR2 const& v);
    // Per axis, size kept: moves forward when the low edge lies before the bounds, then back
    // when the high edge lies past them (a rect larger than the bounds ends on their high edge).
    void moveInside(FRect const& bounds);
    // Each rectangle normalised per axis; touching edges overlap.
    bool overlaps(FRect const& o) const;

    bool operator==(FRect const& o) const = default;
};

}  // namespace Orvex
