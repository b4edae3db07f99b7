// A render target of its own: draws into a Texture2D ("RT_RENDER", D3DPOOL_DEFAULT render target)
// through ID3DXRenderToSurface. Its owner (a font, a table renderer) calls render, and the
// listeners of signalRender draw between BeginScene and EndScene; or the owner draws itself
// between begin and end. The viewport sits at the rectangle's top-left corner.
//
// Lifetime: the constructor makes nothing; the owner's first release() makes the target. A lost
// device releases everything, the reset makes it again; a shutdown of the device object releases
// it too and the next device makes it again. While not valid, render, begin and end do nothing
// and answer false.
#pragma once

#include "engine/core/Types.h"
#include "engine/render/Texture2D.h"
#include "port/d3dx9/d3dx9.h"
#include "signals/sigslot.h"

namespace Orvex {

class RenderToTexture : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // format 0: the display mode's format; depthFormat 0 with useDepth: D3DFMT_D24S8.
    RenderToTexture(RECT const& rect, D3DFORMAT const& format, D3DFORMAT const& depthFormat, u8 const& useDepth);
    ~RenderToTexture() override;
    RenderToTexture(RenderToTexture const&) = delete;
    RenderToTexture& operator=(RenderToTexture const&) = delete;

    // Makes the target, the surface and the renderer (when enabled and the device exists).
    void create();
    // Releases everything, then creates again.
    void release();
    void onLostDevice();

    // Emits signalRender between the renderer's BeginScene and EndScene; false when not valid
    // or when the scene could not begin.
    bool render();
    // The caller draws between begin and end. A failed begin leaves no event or scene open.
    bool begin();
    bool end();

    Texture2D& getTexture() { return target_; }
    IDirect3DSurface9** getSurface() { return &surface_; }
    bool isValid() const { return valid_ != 0; }
    D3DVIEWPORT9 const& getViewport() const { return viewport_; }
    u32 getWidth() const { return width_; }
    u32 getHeight() const { return height_; }
    void setEnabled(bool on) { enabled_ = on ? 1 : 0; }
    bool isEnabled() const { return enabled_ != 0; }

    sigslot::signal1<RenderToTexture&> signalRender;
    sigslot::signal1<RenderToTexture&> signalCreated;

private:
    void onTextureLost(BaseTexture* texture);
    void onTextureRestored(BaseTexture* texture);
    // A new device after a shutdown: made again when the owner had asked for the target.
    void onDeviceCreated();

    ID3DXRenderToSurface* renderer_ = nullptr;
    IDirect3DSurface9* surface_ = nullptr;
    Texture2D target_;
    D3DVIEWPORT9 viewport_{};
    u32 width_ = 0;
    u32 height_ = 0;
    RECT rect_{};
    D3DFORMAT format_ = D3DFMT_UNKNOWN;
    D3DFORMAT depthFormat_ = D3DFMT_UNKNOWN;
    u8 useDepth_ = 0;
    u8 valid_ = 0;
    u8 enabled_ = 1;
    // The owner asked for the target (release was called once).
    u8 requested_ = 0;
};

}  // namespace Orvex
