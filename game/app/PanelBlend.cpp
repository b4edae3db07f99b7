// Panel blends.
#include "game/app/PanelBlend.h"

#include <algorithm>

namespace Solitaire {

void PanelBlend::move(float step) {
    if (target > current)
        current = std::min(current + step, target);
    else if (target < current)
        current = std::max(current - step, target);
    current = std::clamp(current, 0.0f, 1.0f);
}

}  // namespace Solitaire
