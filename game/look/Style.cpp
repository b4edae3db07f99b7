// Style defaults, the parameter blend and the wobble table.
#include "game/look/Style.h"

#include <algorithm>

#include "engine/core/Utils.h"

namespace Solitaire {

Style::Style(std::wstring const& name) : Orvex::NamedObject(name) { setDefaults(); }

void Style::setDefaults() {
    static_cast<StyleValues&>(*this) = StyleValues{};
    applyParam(param);
}

void Style::applyParam(float const& p) {
    pileOffset = Orvex::lerp(pileOffsetMin, pileOffsetMax, p);
    randomOffset = Orvex::lerp(randomOffsetMin, randomOffsetMax, p);
    randomRotation = Orvex::lerp(randomRotationMin, randomRotationMax, p);
    tipOffset = Orvex::lerp(tipOffsetMin, tipOffsetMax, p);
    tipRotation = Orvex::lerp(tipRotationMin, tipRotationMax, p);
}

D3DXCOLOR const& Style::shadingColour(int index) const { return shading[std::clamp(index, 0, 1)]; }

Style::SelectWobble const* Style::wobbleForMark(int const& markFlag) const {
    for (int i = 0; i < kSelectKinds; ++i) {
        if (markFlag == (1 << i)) return &wobbles[i];
    }
    return nullptr;
}

}  // namespace Solitaire
