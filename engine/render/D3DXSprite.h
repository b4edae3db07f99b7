// The sprite interface over the platform's ID3DXSprite. Begin nests: inner Begin/End pairs only
// count, the outer End draws. The D3DX font renderer draws its text through this object's
// ID3DXSprite (getSpriteRef). The effect handed to Begin is ignored.
#pragma once

#include "engine/render/BaseSprite.h"

namespace Orvex {

class D3DXSprite : public BaseSprite {
public:
    D3DXSprite() { measureReach(); }
    ~D3DXSprite() override;

    // (Re)creates the ID3DXSprite on the device object's device, connects the device signals.
    bool create() override;
    bool Begin(u32 flags, Effect* effect) override;
    // False while an outer Begin is still open; at the outer End the ID3DXSprite's result.
    bool End() override;
    void resumeBatch() override;
    bool flushBatch() override;
    bool isInBegin() override { return count_ > 0; }
    void onLostDevice() override;
    void onResetDevice() override;

    bool DrawSprite2D(IDirect3DTexture9* const& texture, RECT const* source, D3DXMATRIX const* transform,
                      D3DCOLOR const& colour) override;
    using BaseSprite::DrawSprite2D;
    bool drawSprite3D(IDirect3DTexture9* const& texture, RECT const* source, D3DXVECTOR3 const* scaling,
                      D3DXQUATERNION const* rotation, D3DXVECTOR3 const* translation, D3DXVECTOR3 const* centre,
                      D3DCOLOR const& colour) override;

    // The ID3DXSprite pointer member (null until create).
    ID3DXSprite*& getSpriteRef() { return sprite_; }
    u32 getFlags() const { return flags_; }

    // Lets go of the ID3DXSprite before the device is shut down; create makes it again.
    void releaseSprite();

private:

    u32 flags_ = 0;
    ID3DXSprite* sprite_ = nullptr;
    u32 count_ = 0;
    u32 savedCount_ = 0;
};

}  // namespace Orvex
