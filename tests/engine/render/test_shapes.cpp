// 2D shapes: point-in tests of triangles and quads (edges inside, degenerate triangles empty),
// areas, perimeters, corners, bounding rectangles, a rotated sprite's quad. The float rectangle
// is tested with the textures.
#include <gtest/gtest.h>

#include "engine/render/FRect.h"
#include "engine/render/Shape.h"
#include "engine/render/SpriteRect.h"

using Orvex::FRect;
using Orvex::My2DQuad;
using Orvex::My2DTriangle;

namespace {

D3DXVECTOR2 v(float x, float y) { return D3DXVECTOR2(x, y); }

My2DQuad square(float size) { return My2DQuad(v(0, 0), v(size, 0), v(size, size), v(0, size)); }

void expectRect(FRect const& r, float left, float top, float right, float bottom) {
    EXPECT_FLOAT_EQ(r.left, left);
    EXPECT_FLOAT_EQ(r.top, top);
    EXPECT_FLOAT_EQ(r.right, right);
    EXPECT_FLOAT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(Shapes, TriangleHoldsInnerAndEdgePointsOnly) {
    My2DTriangle t(v(0, 0), v(10, 0), v(0, 10));
    EXPECT_FALSE(t.isDegenerate());
    EXPECT_TRUE(t.containsPoint(v(2, 2)));
    EXPECT_TRUE(t.containsPoint(v(5, 5)));   // on the hypotenuse
    EXPECT_TRUE(t.containsPoint(v(0, 0)));   // a corner
    EXPECT_FALSE(t.containsPoint(v(6, 6)));
    EXPECT_FALSE(t.containsPoint(v(-0.01f, 3)));
    // The winding does not matter.
    My2DTriangle reversed(v(0, 10), v(10, 0), v(0, 0));
    EXPECT_TRUE(reversed.containsPoint(v(2, 2)));
    EXPECT_FALSE(reversed.containsPoint(v(6, 6)));
    EXPECT_FLOAT_EQ(t.area(), 50.0f);
    EXPECT_NEAR(t.perimeter(), 20.0f + 14.142136f, 1e-4f);
}

TEST(Shapes, DegenerateTrianglesHoldNothing) {
    My2DTriangle twoEqual(v(1, 1), v(1, 1), v(5, 2));
    EXPECT_TRUE(twoEqual.isDegenerate());
    EXPECT_FALSE(twoEqual.containsPoint(v(1, 1)));
    EXPECT_FLOAT_EQ(twoEqual.area(), 0.0f);
    My2DTriangle byDefault;
    EXPECT_TRUE(byDefault.isDegenerate());
    EXPECT_FALSE(byDefault.containsPoint(v(0, 0)));
    // Distinct collinear points are not degenerate: points on their line are inside.
    My2DTriangle collinear(v(0, 0), v(1, 1), v(2, 2));
    EXPECT_FALSE(collinear.isDegenerate());
    EXPECT_FLOAT_EQ(collinear.area(), 0.0f);
    EXPECT_TRUE(collinear.containsPoint(v(1.5f, 1.5f)));
    EXPECT_FALSE(collinear.containsPoint(v(1, 0)));
}

TEST(Shapes, QuadIsTheUnionOfItsTwoTriangles) {
    My2DQuad q = square(2);
    EXPECT_TRUE(q.containsPoint(v(1, 1)));          // on the shared diagonal
    EXPECT_TRUE(q.containsPoint(v(1.5f, 0.2f)));    // first triangle
    EXPECT_TRUE(q.containsPoint(v(0.2f, 1.5f)));    // second triangle
    EXPECT_TRUE(q.containsPoint(v(2, 2)));
    EXPECT_FALSE(q.containsPoint(v(2.01f, 1)));
    EXPECT_FALSE(q.containsPoint(v(1, -0.01f)));
    EXPECT_FLOAT_EQ(q.area(), 4.0f);
    EXPECT_FLOAT_EQ(q.perimeter(), 8.0f);
    EXPECT_EQ(q.getCorner(2), v(2, 2));
    EXPECT_EQ(q.getCorner(99), v(1, 1)) << "past the corners: the centre";
    expectRect(q.getBoundingRect(), 0, 0, 2, 2);
    // Through the base class.
    Orvex::My2DGeom const& shape = q;
    EXPECT_TRUE(shape.containsPoint(v(1, 1)));
}

TEST(Shapes, RotatedSpritePlacementGivesItsQuad) {
    // A 20 x 10 sprite at (100, 50) turned 90 degrees about its middle (flags 1 and 4: the
    // position names where the centre goes).
    Orvex::SpriteRect placement(v(100, 50), v(20, 10), 90.0f, v(0.5f, 0.5f),
                                Orvex::SpriteRect::kCentreRelative | Orvex::SpriteRect::kPositionIsCentre);
    My2DQuad q = Orvex::makeQuad(placement);
    D3DXVECTOR2 centre = q.getCorner(4);
    EXPECT_NEAR(centre.x, 100.0f, 1e-3f);
    EXPECT_NEAR(centre.y, 50.0f, 1e-3f);
    FRect box = Orvex::boundingRectOfSpriteRect(placement);
    EXPECT_NEAR(box.left, 95.0f, 1e-3f);
    EXPECT_NEAR(box.right, 105.0f, 1e-3f);
    EXPECT_NEAR(box.top, 40.0f, 1e-3f);
    EXPECT_NEAR(box.bottom, 60.0f, 1e-3f);
    EXPECT_TRUE(q.containsPoint(v(100, 58)));    // inside the turned sprite
    EXPECT_FALSE(q.containsPoint(v(108, 50)));   // inside the unturned one only
    EXPECT_NEAR(q.area(), 200.0f, 1e-2f);
    // An absolute centre (flag 2): turning 90 degrees about the top-left corner (10, 20).
    box = Orvex::boundingRectOfSpriteRect(
        Orvex::SpriteRect(v(10, 20), v(40, 30), 90.0f, v(10, 20), Orvex::SpriteRect::kCentreAbsolute));
    expectRect(box, -20, 20, 10, 60);
}
