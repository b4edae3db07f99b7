// The place a player takes for the object of a picture: the convex hull of the picture's opaque
// pixels (those in its texture's pixel list) inside one source rectangle of the texture. A drawing
// of thin strokes, such as a bird of two wings, is hit anywhere between its strokes, not only on
// the painted pixels; a transparent corner beside the object still misses.
//
// Points are texture pixel coordinates with fractions: pixel (x, y) covers x .. x + 1 and
// y .. y + 1. The hull is built from the first and the last opaque pixel of each row, each row
// found in the sorted pixel list by two binary searches, so a tall picture costs its rows times
// the list's logarithm. A margin widens the hull by that many pixels all round.
#pragma once

#include <vector>

#include "port/d3dx9/d3dx9math.h"
#include "port/win32/windows_types.h"

namespace Orvex {
class Texture2D;
}  // namespace Orvex

namespace Solitaire {

class OpaqueHull {
public:
    // Builds the hull of the texture's listed pixels inside the source rectangle (cut to the
    // texture). The pixel list must have been built; without it, or without an opaque pixel
    // there, the hull is empty and contains nothing.
    void build(Orvex::Texture2D& texture, RECT const& source);
    // Whether the hull was built from this texture and source rectangle.
    bool isFor(Orvex::Texture2D const* texture, RECT const& source) const;
    // Whether the point lies inside the hull or at most margin pixels from it.
    bool contains(D3DXVECTOR2 const& point, float margin) const;
    bool empty() const { return corners_.empty(); }
    std::vector<D3DXVECTOR2> const& getCorners() const { return corners_; }

private:
    // The hull's corners, in turning order (one corner: a point, two: a segment).
    std::vector<D3DXVECTOR2> corners_;
    Orvex::Texture2D const* texture_ = nullptr;
    RECT source_{0, 0, 0, 0};
};

}  // namespace Solitaire
