// PostEffectRenderer: device objects, the quad, and one frame of the pass chain.
#include "engine/render/PostEffectRenderer.h"

#include <cstring>
#include <utility>

#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/DeviceObjects.h"
#include "engine/render/PostEffect.h"
#include "engine/render/PostEffectValues.h"
#include "engine/render/RenderManager.h"

namespace Orvex {

PostEffectRenderer::PostEffectRenderer(RenderManager* owner) : d3d_(&D3DInterface::getInstance()), owner_(owner) {
    connectDeviceObjects(this, &PostEffectRenderer::release, &PostEffectRenderer::create);
    if (owner_) owner_->targetChanged.connect(this, &PostEffectRenderer::onTargetChanged);
    if (d3d_->isDeviceCreated()) create();
}

PostEffectRenderer::~PostEffectRenderer() {
    release();
    effects_.clear();
}

void PostEffectRenderer::resetQuad() {
    u32 w = 0;
    u32 h = 0;
    if (owner_) owner_->getTargetSize(w, h);
    float const right = static_cast<float>(w) - 0.5f;
    float const bottom = static_cast<float>(h) - 0.5f;
    quad_[0] = {-0.5f, -0.5f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    quad_[1] = {right, -0.5f, 1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f};
    quad_[2] = {-0.5f, bottom, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f};
    quad_[3] = {right, bottom, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    uMax_ = vMax_ = 1.0f;
}

void PostEffectRenderer::writeQuad() {
    void* data = nullptr;
    // A failed lock keeps the old vertices.
    if (!vertexBuffer_ || FAILED(vertexBuffer_->Lock(0, kQuadBytes, &data, D3DLOCK_DISCARD)) || !data) return;
    std::memcpy(data, quad_, kQuadBytes);
    vertexBuffer_->Unlock();
}

void PostEffectRenderer::create() {
    IDirect3DDevice9* device = d3d_->getDevice();
    if (created_ || !enabled_ || !device || !owner_) return;
    u32 w = 0;
    u32 h = 0;
    owner_->getTargetSize(w, h);
    resetQuad();
    bool ok = w > 0 && h > 0 &&
              SUCCEEDED(device->CreateVertexBuffer(kQuadBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT,
                                                   &vertexBuffer_, nullptr));
    if (ok) writeQuad();
    for (auto [texture, surface] : {std::pair{&sourceTexture_, &sourceSurface_}, std::pair{&targetTexture_, &targetSurface_}})
        ok = ok &&
             SUCCEEDED(device->CreateTexture(w, h, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, texture,
                                             nullptr)) &&
             SUCCEEDED((*texture)->GetSurfaceLevel(0, surface));
    if (!ok) {
        created_ = 1;  // so release lets go of what was made
        release();
        return;
    }
    created_ = 1;
}

void PostEffectRenderer::forgetOriginals() {
    originalTexture_ = nullptr;
    originalSurface_ = nullptr;
    releaseCom(ownSurface_);
    hasPicture_ = false;
}

void PostEffectRenderer::release() {
    if (!created_) return;
    releaseCom(sourceSurface_);
    releaseCom(sourceTexture_);
    releaseCom(targetSurface_);
    releaseCom(targetTexture_);
    forgetOriginals();
    releaseCom(vertexBuffer_);
    created_ = 0;
}

void PostEffectRenderer::setEnabled(bool on) {
    if (on == (enabled_ != 0)) return;
    enabled_ = on ? 1 : 0;
    release();
    if (on && d3d_->isDeviceCreated()) create();
}

void PostEffectRenderer::readConfig(XMLNode& node) { setEnabled(node.getAttributeBool(L"ENABLE", enabled_ != 0)); }

void PostEffectRenderer::onTargetChanged(RenderManager&) {
    if (d3d_->isDeviceCreated()) {
        release();
        create();
    }
    for (PostEffect* effect : effects_) effect->refreshConstants();
}

void PostEffectRenderer::setLastResult(IDirect3DTexture9*& texture, IDirect3DSurface9*& surface) {
    if (!created_) return;
    D3DPERF_SetMarker(kPostEffectMarkerColour, L"SETLASTRESULT");
    forgetOriginals();
    originalTexture_ = texture;
    originalSurface_ = surface;
    // A scene texture handed in without its surface: the picture is its level 0.
    if (!originalSurface_ && originalTexture_ && SUCCEEDED(originalTexture_->GetSurfaceLevel(0, &ownSurface_)))
        originalSurface_ = ownSurface_;
    if (!originalSurface_) return;
    hasPicture_ = SUCCEEDED(d3d_->getDevice()->StretchRect(originalSurface_, nullptr, sourceSurface_, nullptr, D3DTEXF_NONE));
}

void PostEffectRenderer::render(Camera* camera) {
    if (!created_ || !hasPicture_) return;
    if (uMax_ != 1.0f || vMax_ != 1.0f) {
        resetQuad();
        writeQuad();
    }
    PixEvent event(kPostEffectEventColour, L"render Posteffect Passes");
    IDirect3DDevice9* device = d3d_->getDevice();
    IDirect3DSurface9* saved = nullptr;
    if (FAILED(device->GetRenderTarget(0, &saved))) saved = nullptr;
    for (PostEffect* effect : effects_) effect->render(camera);
    if (saved) device->SetRenderTarget(0, saved);
    releaseCom(saved);
}

bool PostEffectRenderer::getOriginal(IDirect3DTexture9*& texture, IDirect3DSurface9*& surface) {
    if (!created_ || !originalTexture_ || !originalSurface_) return false;
    texture = originalTexture_;
    surface = originalSurface_;
    return true;
}

}  // namespace Orvex
