// The sprite pair.
#include "engine/render/SpriteHolder.h"

namespace Orvex {

bool SpriteHolder::recreate() {
    bool const d3dx = d3dxSprite_.create();
    bool const engine = sprite_.create();
    return d3dx && engine;
}

}  // namespace Orvex
