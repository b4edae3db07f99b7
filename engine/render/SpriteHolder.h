// The device object's sprite pair: the D3DX sprite followed by the engine batcher. The device
// object constructs it and calls recreate once the device exists; the font renderer takes the
// ID3DXSprite through getD3DXSprite, everything else draws through getSprite.
#pragma once

#include "engine/render/D3DXSprite.h"
#include "engine/render/Sprite.h"

namespace Orvex {

class SpriteHolder {
public:
    SpriteHolder() = default;
    SpriteHolder(SpriteHolder const&) = delete;
    SpriteHolder& operator=(SpriteHolder const&) = delete;

    // The address of the D3DX sprite's ID3DXSprite pointer.
    ID3DXSprite** getD3DXSprite() { return &d3dxSprite_.getSpriteRef(); }
    D3DXSprite& getD3DXSpriteObject() { return d3dxSprite_; }
    Sprite& getSprite() { return sprite_; }
    // create of both sprites; true when both succeeded.
    bool recreate();

private:
    D3DXSprite d3dxSprite_;
    Sprite sprite_;
};

}  // namespace Orvex
