// The sprite pair.
#include "engine/render/SpriteHolder.h"

#include "engine/platform/D3DInterface.h"

namespace Orvex {

SpriteHolder::SpriteHolder() {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceCreated.connect(this, &SpriteHolder::onDeviceCreated);
    if (d3d.getDevice()) recreate();
}

void SpriteHolder::release() {
    d3dxSprite_.releaseSprite();
    sprite_.release();
}

bool SpriteHolder::recreate() {
    bool const d3dx = d3dxSprite_.create();
    bool const engine = sprite_.create();
    return d3dx && engine;
}

}  // namespace Orvex
