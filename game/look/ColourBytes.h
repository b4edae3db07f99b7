// Colours as the sprite batcher takes them: float components to bytes and packed A, R, G, B.
// Cards, piles and particles draw with the same conversion, so a colour read from data looks the
// same on each of them.
#pragma once

#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

// A colour component as a byte: 255 from 1.0 up, 0 at or below 0 (and for NaN), else truncated.
unsigned char colourByte(float c);
D3DCOLOR toColour(D3DXCOLOR const& c);

}  // namespace Solitaire
