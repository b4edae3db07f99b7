// The convex hull of a picture's opaque pixels and the test of a point against it.
#include "game/minigames/OpaqueHull.h"

#include <algorithm>
#include <cmath>

#include "engine/render/Texture2D.h"

namespace Solitaire {

namespace {

float cross(D3DXVECTOR2 const& o, D3DXVECTOR2 const& a, D3DXVECTOR2 const& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

float distanceToSegment(D3DXVECTOR2 const& p, D3DXVECTOR2 const& a, D3DXVECTOR2 const& b) {
    D3DXVECTOR2 const ab(b.x - a.x, b.y - a.y);
    float const length2 = ab.x * ab.x + ab.y * ab.y;
    float t = length2 > 0.0f ? ((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / length2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    float const dx = p.x - (a.x + ab.x * t);
    float const dy = p.y - (a.y + ab.y * t);
    return std::sqrt(dx * dx + dy * dy);
}

// Andrew's monotone chain: the hull's corners in turning order, collinear points dropped.
std::vector<D3DXVECTOR2> hullOf(std::vector<D3DXVECTOR2> points) {
    std::sort(points.begin(), points.end(),
              [](D3DXVECTOR2 const& a, D3DXVECTOR2 const& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3) return points;
    std::vector<D3DXVECTOR2> hull(points.size() * 2);
    std::size_t k = 0;
    for (D3DXVECTOR2 const& p : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0.0f) --k;
        hull[k++] = p;
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0.0f) --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

}  // namespace

void OpaqueHull::build(Orvex::Texture2D& texture, RECT const& source) {
    corners_.clear();
    texture_ = &texture;
    source_ = source;
    if (!texture.hasPixelList()) return;
    long const width = static_cast<long>(texture.getWidth());
    long const height = static_cast<long>(texture.getHeight());
    long const left = std::max(0L, static_cast<long>(source.left));
    long const right = std::min(width, static_cast<long>(source.right));
    long const top = std::max(0L, static_cast<long>(source.top));
    long const bottom = std::min(height, static_cast<long>(source.bottom));
    std::vector<Orvex::u32> const& list = texture.getPixelList();
    std::vector<D3DXVECTOR2> points;
    for (long y = top; y < bottom; ++y) {
        auto const row = static_cast<Orvex::u32>(y * width);
        auto const first = std::lower_bound(list.begin(), list.end(), row + static_cast<Orvex::u32>(left));
        auto const end = std::lower_bound(first, list.end(), row + static_cast<Orvex::u32>(right));
        if (first == end) continue;
        float const x0 = static_cast<float>(*first - row);
        float const x1 = static_cast<float>(*(end - 1) - row) + 1.0f;
        float const y0 = static_cast<float>(y);
        points.insert(points.end(), {{x0, y0}, {x0, y0 + 1.0f}, {x1, y0}, {x1, y0 + 1.0f}});
    }
    corners_ = hullOf(std::move(points));
}

bool OpaqueHull::isFor(Orvex::Texture2D const* texture, RECT const& source) const {
    return texture == texture_ && source.left == source_.left && source.top == source_.top &&
           source.right == source_.right && source.bottom == source_.bottom;
}

bool OpaqueHull::contains(D3DXVECTOR2 const& point, float margin) const {
    std::size_t const n = corners_.size();
    if (n == 0) return false;
    if (n >= 3) {
        bool inside = true;
        for (std::size_t i = 0; i < n && inside; ++i) inside = cross(corners_[i], corners_[(i + 1) % n], point) >= 0.0f;
        if (inside) return true;
    }
    float nearest = distanceToSegment(point, corners_[0], corners_[n > 1 ? 1 : 0]);
    for (std::size_t i = 1; i < n; ++i) nearest = std::min(nearest, distanceToSegment(point, corners_[i], corners_[(i + 1) % n]));
    return nearest <= margin;
}

}  // namespace Solitaire
