// RenderToTexture: the target texture, its surface and the D3DX renderer, made and released
// with the device, and the scene around the owner's drawing.
#include "engine/render/RenderToTexture.h"

#include "engine/platform/D3DInterface.h"
#include "engine/render/DeviceObjects.h"

namespace Orvex {

namespace {
constexpr D3DCOLOR kEventColour = 0xFFFFFFFF;
constexpr wchar_t kEventName[] = L"RenderToTexture";
}  // namespace

RenderToTexture::RenderToTexture(RECT const& rect, D3DFORMAT const& format, D3DFORMAT const& depthFormat,
                                 u8 const& useDepth)
    : width_(static_cast<u32>(rect.right - rect.left)),
      height_(static_cast<u32>(rect.bottom - rect.top)),
      rect_(rect),
      format_(format),
      depthFormat_(depthFormat),
      useDepth_(useDepth) {
    target_.setName(L"RT_RENDER");
    target_.signalLost.connect(this, &RenderToTexture::onTextureLost);
    target_.signalRestored.connect(this, &RenderToTexture::onTextureRestored);
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(this, &RenderToTexture::onLostDevice);
    d3d.signalDeviceReset.connect(this, &RenderToTexture::create);
    d3d.signalDeviceShutdown.connect(this, &RenderToTexture::onLostDevice);
    d3d.signalDeviceCreated.connect(this, &RenderToTexture::onDeviceCreated);
}

RenderToTexture::~RenderToTexture() { onLostDevice(); }

void RenderToTexture::create() {
    if (!enabled_ || valid_) return;
    D3DInterface& d3d = D3DInterface::getInstance();
    IDirect3DDevice9* device = d3d.getDevice();
    if (!device) return;
    D3DFORMAT const fmt = format_ != D3DFMT_UNKNOWN ? format_ : d3d.getDisplayMode().Format;
    if (!target_.create(width_, height_, 1, D3DUSAGE_RENDERTARGET, fmt, D3DPOOL_DEFAULT)) return;
    IDirect3DTexture9* texture = target_.getTexture();
    if (!texture || FAILED(device->GetViewport(&viewport_))) return;
    viewport_.X = static_cast<DWORD>(rect_.left);
    viewport_.Y = static_cast<DWORD>(rect_.top);
    viewport_.Width = width_;
    viewport_.Height = height_;
    releaseCom(surface_);
    if (FAILED(texture->GetSurfaceLevel(0, &surface_))) {
        surface_ = nullptr;
        return;
    }
    D3DFORMAT const depth = useDepth_ ? (depthFormat_ != D3DFMT_UNKNOWN ? depthFormat_ : D3DFMT_D24S8) : D3DFMT_UNKNOWN;
    releaseCom(renderer_);
    if (FAILED(D3DXCreateRenderToSurface(device, width_, height_, fmt, useDepth_ ? TRUE : FALSE, depth, &renderer_))) {
        renderer_ = nullptr;
        return;
    }
    valid_ = 1;
    signalCreated.emit(*this);
}

void RenderToTexture::onLostDevice() {
    valid_ = 0;
    target_.reset(true);
    releaseCom(surface_);
    releaseCom(renderer_);
}

void RenderToTexture::release() {
    requested_ = 1;
    onLostDevice();
    create();
}

void RenderToTexture::onDeviceCreated() {
    if (requested_) create();
}

void RenderToTexture::onTextureLost(BaseTexture* texture) {
    if (texture != &target_) return;
    releaseCom(surface_);
    valid_ = 0;
}

void RenderToTexture::onTextureRestored(BaseTexture* texture) {
    if (texture != &target_) return;
    releaseCom(surface_);
    IDirect3DTexture9* restored = target_.getTexture();
    if (!restored || FAILED(restored->GetSurfaceLevel(0, &surface_))) {
        surface_ = nullptr;
        valid_ = 0;
    }
}

bool RenderToTexture::render() {
    if (!valid_) return false;
    PixEvent event(kEventColour, kEventName);
    if (FAILED(renderer_->BeginScene(surface_, &viewport_))) return false;
    signalRender.emit(*this);
    return SUCCEEDED(renderer_->EndScene(D3DX_FILTER_NONE));
}

bool RenderToTexture::begin() {
    if (!valid_) return false;
    D3DPERF_BeginEvent(kEventColour, kEventName);
    if (SUCCEEDED(renderer_->BeginScene(surface_, &viewport_))) return true;
    // The caller will not call end after a failed begin: close the event here.
    D3DPERF_EndEvent();
    return false;
}

bool RenderToTexture::end() {
    if (!valid_) return false;
    HRESULT const hr = renderer_->EndScene(D3DX_FILTER_NONE);
    D3DPERF_EndEvent();
    return SUCCEEDED(hr);
}

}  // namespace Orvex
