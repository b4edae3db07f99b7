// The card as a render object: queueing, its screen quad and shape. Drawing the card's layers
// comes with the table renderer's drawing code.
#include <cmath>

#include "game/cards/Karte.h"
#include "game/cards/Kartenset.h"

namespace Solitaire {

void Karte::queueRender(RenderQueue& queue, RenderContext const&) {
    if (opacity.current == 0.0f) return;
    queue.add(this, getRenderOrder());
}

void Karte::render(RenderContext const&) {}

Orvex::SpriteRect Karte::getScreenQuad() {
    D3DXVECTOR2 const centre{position.current.x + markOffset.current.x, position.current.y + markOffset.current.y};
    float const turn = std::fabs(face.current - 0.5f) * 2.0f;
    D3DXVECTOR2 const size{cardSize.x * scale.current * turn, cardSize.y * scale.current};
    return Orvex::SpriteRect(centre, size, rotation.current + markRotation.current, D3DXVECTOR2(0.5f, 0.5f),
                             Orvex::SpriteRect::kCentreRelative | Orvex::SpriteRect::kPositionIsCentre);
}

Orvex::Texture2D* Karte::getShapeTexture() { return cardSet ? cardSet->getShapeTexture(suit, value) : nullptr; }

}  // namespace Solitaire
