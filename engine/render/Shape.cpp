// Triangle and quad geometry.
#include "engine/render/Shape.h"

#include <algorithm>
#include <cmath>

namespace Orvex {

namespace {

bool samePoint(D3DXVECTOR2 const& a, D3DXVECTOR2 const& b) { return a.x == b.x && a.y == b.y; }

// z of the cross product (b - a) x (c - a).
float cross(D3DXVECTOR2 const& a, D3DXVECTOR2 const& b, D3DXVECTOR2 const& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

float distance(D3DXVECTOR2 const& a, D3DXVECTOR2 const& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The point lies on the same side of the edge a->b as the opposite corner (or on the edge).
bool sameSide(D3DXVECTOR2 const& a, D3DXVECTOR2 const& b, D3DXVECTOR2 const& opposite, D3DXVECTOR2 const& p) {
    return cross(a, b, opposite) * cross(a, b, p) >= 0.0f;
}

}  // namespace

My2DTriangle::My2DTriangle() : p0(0.0f, 0.0f), p1(0.0f, 0.0f), p2(0.0f, 0.0f) {}

My2DTriangle::My2DTriangle(D3DXVECTOR2 const& a, D3DXVECTOR2 const& b, D3DXVECTOR2 const& c)
    : p0(a), p1(b), p2(c), degenerate(samePoint(a, b) || samePoint(b, c) || samePoint(c, a) ? 1 : 0) {}

bool My2DTriangle::containsPoint(D3DXVECTOR2 point) const {
    if (degenerate) return false;
    if (cross(p0, p1, p2) == 0.0f) {
        // Distinct collinear corners: every edge test would pass for every point of the plane,
        // so only the points of the segment they span count.
        return cross(p0, p1, point) == 0.0f && cross(p0, p2, point) == 0.0f &&
               point.x >= std::min({p0.x, p1.x, p2.x}) && point.x <= std::max({p0.x, p1.x, p2.x}) &&
               point.y >= std::min({p0.y, p1.y, p2.y}) && point.y <= std::max({p0.y, p1.y, p2.y});
    }
    return sameSide(p1, p2, p0, point) && sameSide(p0, p2, p1, point) && sameSide(p0, p1, p2, point);
}

float My2DTriangle::area() const { return std::fabs(cross(p0, p1, p2)) * 0.5f; }

float My2DTriangle::perimeter() const { return distance(p1, p2) + distance(p0, p1) + distance(p2, p0); }

My2DQuad::My2DQuad(D3DXVECTOR2 const& p0, D3DXVECTOR2 const& p1, D3DXVECTOR2 const& p2, D3DXVECTOR2 const& p3)
    : t1(p0, p1, p2), t2(p0, p2, p3) {}

bool My2DQuad::containsPoint(D3DXVECTOR2 point) const { return t1.containsPoint(point) || t2.containsPoint(point); }

float My2DQuad::area() const { return t1.area() + t2.area(); }

float My2DQuad::perimeter() const {
    return distance(t1.p0, t1.p1) + distance(t1.p1, t1.p2) + distance(t1.p2, t2.p2) + distance(t2.p2, t1.p0);
}

D3DXVECTOR2 My2DQuad::getCorner(u32 index) const {
    switch (index) {
    case 0: return t1.p0;
    case 1: return t1.p1;
    case 2: return t1.p2;
    case 3: return t2.p2;
    default:
        return D3DXVECTOR2((t1.p0.x + t1.p1.x + t1.p2.x + t2.p2.x) * 0.25f,
                           (t1.p0.y + t1.p1.y + t1.p2.y + t2.p2.y) * 0.25f);
    }
}

FRect My2DQuad::getBoundingRect() const {
    D3DXVECTOR2 const c[4] = {t1.p0, t1.p1, t1.p2, t2.p2};
    FRect r(c[0].x, c[0].y, c[0].x, c[0].y);
    for (D3DXVECTOR2 const& p : c) {
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.top = std::min(r.top, p.y);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

}  // namespace Orvex
