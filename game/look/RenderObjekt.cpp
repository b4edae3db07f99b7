// The render queue: items in the order queued, sorted stably by their keys.
#include "game/look/RenderObjekt.h"

#include <algorithm>

namespace Solitaire {

void RenderQueue::add(RenderObjekt* object, float order) {
    if (object) items_.push_back({object, order});
}

void RenderQueue::sortItems() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](RenderItem const& a, RenderItem const& b) { return a.order < b.order; });
}

}  // namespace Solitaire
