// The first-time tutorials of the locks in a deal and of the cards they set free: one tutorial
// per lock kind ("LOCKED_CARDS_FOUND_0" .. "_3", "CARD_UNLOCKED_0" .. "_3"). The kinds are asked
// in order, those with a count other than 0, until one is actually shown: the tutorials refuse
// one the profile has seen, and the next kind gets its turn.
#pragma once

#include <functional>
#include <string>

#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

// The kind whose tutorial show accepted, or -1 when none was.
inline int showFirstKindTutorial(D3DXVECTOR4 const& counts, std::wstring const& prefix,
                                 std::function<bool(std::wstring const&)> const& show) {
    float const kinds[4] = {counts.x, counts.y, counts.z, counts.w};
    for (int k = 0; k < 4; ++k)
        if (kinds[k] != 0.0f && show(prefix + std::to_wstring(k))) return k;
    return -1;
}

}  // namespace Solitaire
