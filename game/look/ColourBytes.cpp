// Float colours to the sprite batcher's bytes.
#include "game/look/ColourBytes.h"

namespace Solitaire {

unsigned char colourByte(float c) {
    if (!(c > 0.0f)) return 0;
    if (c >= 1.0f) return 255;
    return static_cast<unsigned char>(c * 255.0f);
}

D3DCOLOR toColour(D3DXCOLOR const& c) {
    return D3DCOLOR_ARGB(colourByte(c.a), colourByte(c.r), colourByte(c.g), colourByte(c.b));
}

}  // namespace Solitaire
