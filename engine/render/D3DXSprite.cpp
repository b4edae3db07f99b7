// The ID3DXSprite wrapper.
#include "engine/render/D3DXSprite.h"

#include "engine/platform/D3DInterface.h"

namespace Orvex {

D3DXSprite::~D3DXSprite() { releaseSprite(); }

void D3DXSprite::releaseSprite() {
    if (sprite_) sprite_->Release();
    sprite_ = nullptr;
}

bool D3DXSprite::create() {
    releaseSprite();
    D3DInterface& d3d = D3DInterface::getInstance();
    // A second create must not connect twice (every slot would run twice).
    d3d.signalDeviceLost.disconnect(this);
    d3d.signalDeviceReset.disconnect(this);
    d3d.signalDeviceLost.connect(this, &D3DXSprite::onLostDevice);
    d3d.signalDeviceReset.connect(this, &D3DXSprite::onResetDevice);
    count_ = 0;
    savedCount_ = 0;
    if (!d3d.getDevice()) return false;
    return SUCCEEDED(D3DXCreateSprite(d3d.getDevice(), &sprite_)) && sprite_;
}

bool D3DXSprite::Begin(u32 flags, Effect* /*effect*/) {
    if (!sprite_) return false;
    if (count_ > 0) {
        ++count_;
        return true;
    }
    if (FAILED(sprite_->Begin(flags | D3DXSPRITE_DO_NOT_ADDREF_TEXTURE))) return false;
    flags_ = flags & ~static_cast<u32>(D3DXSPRITE_DO_NOT_ADDREF_TEXTURE);
    count_ = 1;
    return true;
}

bool D3DXSprite::End() {
    if (!sprite_) return false;
    if (count_ > 0) --count_;
    if (count_ > 0) return false;
    return SUCCEEDED(sprite_->End());
}

bool D3DXSprite::flushBatch() {
    savedCount_ = count_;
    if (count_ == 0) return true;
    count_ = 1;
    bool const ended = End();
    count_ = 0;
    return ended;
}

void D3DXSprite::resumeBatch() {
    if (savedCount_ == 0) return;
    Begin(flags_, nullptr);
    count_ = savedCount_;
}

void D3DXSprite::onLostDevice() {
    if (sprite_) sprite_->OnLostDevice();
}

void D3DXSprite::onResetDevice() {
    if (sprite_) sprite_->OnResetDevice();
}

bool D3DXSprite::DrawSprite2D(IDirect3DTexture9* const& texture, RECT const* source, D3DXMATRIX const* transform,
                              D3DCOLOR const& colour) {
    if (!sprite_ || !texture) return false;
    if (measuringReach()) noteReach(texture, source, transform);
    sprite_->SetTransform(transform);
    return SUCCEEDED(sprite_->Draw(texture, source, nullptr, nullptr, colour));
}

bool D3DXSprite::drawSprite3D(IDirect3DTexture9* const& texture, RECT const* source, D3DXVECTOR3 const* scaling,
                              D3DXQUATERNION const* rotation, D3DXVECTOR3 const* translation,
                              D3DXVECTOR3 const* centre, D3DCOLOR const& colour) {
    if (!sprite_ || !texture) return false;
    noteUnknownReach();
    D3DXMATRIX m;
    D3DXMatrixTransformation(&m, nullptr, nullptr, scaling, nullptr, rotation, translation);
    sprite_->SetTransform(&m);
    return SUCCEEDED(sprite_->Draw(texture, source, centre, nullptr, colour));
}

}  // namespace Orvex
