// The device object's sprite pair: the D3DX sprite followed by the engine batcher. The device
// object owns one (D3DInterface::getSprite); its sprites are created through recreate whenever
// the device is created (at once when the device exists already). The font renderer takes the
// ID3DXSprite through getD3DXSprite; everything else draws through getSprite.
// SpriteHolder.cpp holds the pair; SpriteHolder_device.cpp the device object's accessor
// D3DInterface::getSprite, kept here so that the platform library need not link this one.
#pragma once

#include "engine/render/D3DXSprite.h"
#include "engine/render/Sprite.h"
#include "signals/sigslot.h"

namespace Orvex {

class SpriteHolder : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Connects to the device object's device-created signal; recreates at once when the device
    // exists.
    SpriteHolder();
    SpriteHolder(SpriteHolder const&) = delete;
    SpriteHolder& operator=(SpriteHolder const&) = delete;
    ~SpriteHolder() override = default;

    // The address of the D3DX sprite's ID3DXSprite pointer.
    ID3DXSprite** getD3DXSprite() { return &d3dxSprite_.getSpriteRef(); }
    D3DXSprite& getD3DXSpriteObject() { return d3dxSprite_; }
    Sprite& getSprite() { return sprite_; }
    // create of both sprites; true when both succeeded.
    bool recreate();
    // Releases both sprites' device objects (and the batcher's effect) so the device can go.
    void release();

private:
    void onDeviceCreated() { recreate(); }

    D3DXSprite d3dxSprite_;
    Sprite sprite_;
};

}  // namespace Orvex
