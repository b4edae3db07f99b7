// Small 2D shapes for hit tests and placement: a triangle and a convex quad behind one abstract
// shape. A sprite placement becomes a quad through makeQuad (SpriteRect.h), so game code can ask
// whether a point lies on a rotated sprite and get its bounding rectangle.
//
// Points on an edge count as inside. A triangle with two equal corners is degenerate and holds
// no point; three distinct collinear corners are not degenerate and hold the points of the
// segment they span.
#pragma once

#include "engine/core/Types.h"
#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

class My2DGeom {
public:
    virtual ~My2DGeom() = default;
    virtual bool containsPoint(D3DXVECTOR2 point) const = 0;
    virtual float area() const = 0;
    virtual float perimeter() const = 0;
};

class My2DTriangle : public My2DGeom {
public:
    // All corners (0, 0): degenerate.
    My2DTriangle();
    My2DTriangle(D3DXVECTOR2 const& a, D3DXVECTOR2 const& b, D3DXVECTOR2 const& c);

    bool containsPoint(D3DXVECTOR2 point) const override;
    float area() const override;
    float perimeter() const override;

    bool isDegenerate() const { return degenerate != 0; }

    D3DXVECTOR2 p0;
    D3DXVECTOR2 p1;
    D3DXVECTOR2 p2;
    u32 degenerate = 1;
};

// A convex quad whose corners p0..p3 follow its outline (a sprite: top-left, top-right,
// bottom-right, bottom-left), held as the triangles (p0, p1, p2) and (p0, p2, p3).
class My2DQuad : public My2DGeom {
public:
    My2DQuad() = default;
    My2DQuad(D3DXVECTOR2 const& p0, D3DXVECTOR2 const& p1, D3DXVECTOR2 const& p2, D3DXVECTOR2 const& p3);

    bool containsPoint(D3DXVECTOR2 point) const override;
    float area() const override;
    float perimeter() const override;

    // 0..3 give p0..p3; any other index the centre (the average of the corners).
    D3DXVECTOR2 getCorner(u32 index) const;
    FRect getBoundingRect() const;

    My2DTriangle t1;
    My2DTriangle t2;
};

}  // namespace Orvex
