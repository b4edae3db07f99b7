// ForwardRenderer: the scene target, its device lifetime, its settings and the scene pass.
#include "engine/render/ForwardRenderer.h"

#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/DeviceObjects.h"
#include "engine/render/RenderManager.h"

namespace Orvex {

namespace {

DWORD channelByte(float c) {
    if (c >= 1.0f) return 255;
    if (c <= 0.0f) return 0;
    return static_cast<DWORD>(c * 255.0f + 0.5f);
}

}  // namespace

ForwardRenderer::ForwardRenderer(RenderManager* owner) : d3d_(&D3DInterface::getInstance()), owner_(owner) {
    connectDeviceObjects(this, &ForwardRenderer::onLostDevice, &ForwardRenderer::create);
    if (owner_) owner_->targetChanged.connect(this, &ForwardRenderer::onTargetResized);
    if (d3d_->isDeviceCreated()) create();
}

ForwardRenderer::~ForwardRenderer() { onLostDevice(); }

void ForwardRenderer::create() {
    IDirect3DDevice9* device = d3d_->getDevice();
    if (created_ || !enabled_ || !device || !owner_) return;
    u32 w = 0;
    u32 h = 0;
    owner_->getTargetSize(w, h);
    if (FAILED(device->CreateTexture(w, h, 1, D3DUSAGE_RENDERTARGET, useAlpha_ ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8,
                                     D3DPOOL_DEFAULT, &target_, nullptr)) ||
        !target_ || FAILED(target_->GetSurfaceLevel(0, &surface_))) {
        releaseCom(surface_);
        releaseCom(target_);
        return;
    }
    created_ = 1;
}

void ForwardRenderer::onLostDevice() {
    releaseCom(surface_);
    releaseCom(target_);
    created_ = 0;
}

void ForwardRenderer::setEnabled(bool const& on) {
    if (on == (enabled_ != 0)) return;
    enabled_ = on ? 1 : 0;
    onLostDevice();
    if (on && d3d_->isDeviceCreated()) create();
}

bool ForwardRenderer::getTarget(IDirect3DTexture9*& texture, IDirect3DSurface9*& surface) const {
    if (!target_ || !surface_) return false;
    texture = target_;
    surface = surface_;
    return true;
}

void ForwardRenderer::onTargetResized(RenderManager&) {
    if (!d3d_->isDeviceCreated()) return;
    onLostDevice();
    create();
}

void ForwardRenderer::readXML(XMLNode& node) {
    if (XMLAttribute const* colour = node.getAttribute(L"CLEAR_COLOR")) {
        u32 const argb = colour->getHex();
        clearColor_ = D3DXCOLOR(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                                ((argb >> 24) & 0xFF) / 255.0f);
    }
    if (node.getAttribute(L"USE_ALPHA")) {
        u8 const useAlpha = node.getAttributeBool(L"USE_ALPHA", useAlpha_ != 0) ? 1 : 0;
        if (useAlpha != useAlpha_) {
            useAlpha_ = useAlpha;
            onLostDevice();
            if (d3d_->isDeviceCreated()) create();
        }
    }
    setEnabled(node.getAttributeBool(L"ENABLE", enabled_ != 0));
}

D3DCOLOR ForwardRenderer::getClearColorValue() const {
    return (channelByte(clearColor_.a) << 24) | (channelByte(clearColor_.r) << 16) | (channelByte(clearColor_.g) << 8) |
           channelByte(clearColor_.b);
}

void ForwardRenderer::render(Camera*) {
    PixEvent event(0xFF00FF00, L"render Forward");
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!device || !surface_) return;
    device->SetRenderTarget(0, surface_);
    signalPreRender.emit(*this);
    device->BeginScene();
    // Only the buffers that exist can be cleared (a clear naming a missing one fails whole).
    IDirect3DSurface9* depth = nullptr;
    DWORD flags = D3DCLEAR_TARGET;
    if (SUCCEEDED(device->GetDepthStencilSurface(&depth)) && depth) flags |= D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    releaseCom(depth);
    device->Clear(0, nullptr, flags, getClearColorValue(), 1.0f, 0);
    signalRender.emit(*this);
    device->EndScene();
}

}  // namespace Orvex
