// Small shared helpers.
#include "engine/core/Utils.h"

#include <algorithm>

namespace Orvex {

bool intersectRects(RECT const& a, RECT const& b, RECT& out) {
    RECT const overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                       std::min(a.bottom, b.bottom)};
    if (overlap.left >= overlap.right || overlap.top >= overlap.bottom) {
        out = RECT{0, 0, 0, 0};
        return false;
    }
    out = overlap;
    return true;
}

}  // namespace Orvex
