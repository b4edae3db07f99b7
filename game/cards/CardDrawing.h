// Pieces of drawing cards and piles that picking and the tests share: the card's camera-mapped
// quad, the bounded shadow work per card, the mark fade and the per-pixel shape test (and, from
// the look, the colour bytes). Implemented in Karte_render.cpp.
#pragma once

#include "engine/render/SpriteRect.h"
#include "game/look/ColourBytes.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class Texture2D;
}

namespace Solitaire {

class Karte;
struct RenderContext;

// Most shadow copies drawn per card, whatever samples x rings a style asks for.
constexpr int kMaxShadowDraws = 64;
// Alpha (of 255) a shape texel must exceed to count as the card.
constexpr int kShapeAlphaThreshold = 32;

// The card's quad on the screen: camera-mapped rectangle plus the context's offset, turned by
// the card's angle about its centre.
Orvex::SpriteRect cardQuad(Karte const& card, RenderContext const& context);

// The samples and rings a shadow is drawn with, bounded so that samples x rings stays within
// kMaxShadowDraws; negative counts become 0.
struct ShadowDraws {
    int samples = 0;
    int rings = 0;
};
ShadowDraws boundShadowDraws(int samples, int rings);

// The fade f of a highlighted card's mark: max(0, min((level - 1) / falloff, 1 - min)); a
// falloff below 1 counts as 1.
float markFade(int highlightLevel, int falloff, float markMin);

// Whether the shape covers the point (u, v) given as fractions of its width and height: the
// texel's alpha exceeds kShapeAlphaThreshold. A shape whose pixels cannot be read covers all.
bool shapeCovers(Orvex::Texture2D* shape, float u, float v);

}  // namespace Solitaire
