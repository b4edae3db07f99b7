// The card and pile base: index and marking.
#include "game/cards/KartenObjekt.h"

#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

KartenObjekt::KartenObjekt(int const& objectIndex) : index(objectIndex) {}

void KartenObjekt::setMarkState(int const& flags, float const& speed) {
    markState = flags;
    markSpeed = speed;
    Kartenset const* cardSet = StyleSettings::instance().getKartenset();
    if (cardSet && flags == kMarkTip1) markColour = cardSet->tipColour1;
    else if (cardSet && flags == kMarkTip2) markColour = cardSet->tipColour2;
    else markColour = D3DXCOLOR(0.0f, 0.0f, 0.0f, 0.0f);
}

}  // namespace Solitaire
