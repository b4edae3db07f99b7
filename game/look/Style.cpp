// Style defaults, the parameter blend and the wobble table.
#include "game/look/Style.h"

#include <algorithm>

namespace Solitaire {

namespace {

float blend(float lower, float upper, float p) { return lower + (upper - lower) * p; }

D3DXVECTOR2 blend(D3DXVECTOR2 const& lower, D3DXVECTOR2 const& upper, float p) {
    return {blend(lower.x, upper.x, p), blend(lower.y, upper.y, p)};
}

}  // namespace

Style::Style(std::wstring const& name) : Orvex::NamedObject(name) { setDefaults(); }

void Style::setDefaults() {
    static_cast<StyleValues&>(*this) = StyleValues{};
    applyParam(param);
}

void Style::applyParam(float const& p) {
    pileOffset = blend(pileOffsetMin, pileOffsetMax, p);
    randomOffset = blend(randomOffsetMin, randomOffsetMax, p);
    randomRotation = blend(randomRotationMin, randomRotationMax, p);
    tipOffset = blend(tipOffsetMin, tipOffsetMax, p);
    tipRotation = blend(tipRotationMin, tipRotationMax, p);
}

D3DXCOLOR const& Style::shadingColour(int index) const { return shading[std::clamp(index, 0, 1)]; }

Style::SelectWobble const* Style::wobbleForMark(int const& markFlag) const {
    for (int i = 0; i < kSelectKinds; ++i) {
        if (markFlag == (1 << i)) return &wobbles[i];
    }
    return nullptr;
}

}  // namespace Solitaire
