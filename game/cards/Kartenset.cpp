// Card-set defaults and the shape lookup.
#include "game/cards/Kartenset.h"

namespace Solitaire {

Kartenset::Kartenset(std::wstring const& name) : Orvex::NamedObject(name) {}

Orvex::Texture2D* Kartenset::getShapeTexture(int const& suit, int const& value) const {
    if (suit == 4) {
        if (value >= 0 && value < kExtraFaceCount && extraFaces[value]) return extraFaces[value];
    }
    return shape;
}

}  // namespace Solitaire
