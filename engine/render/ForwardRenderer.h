// The first pass of the render manager's frame: a render target of the manager's target size,
// cleared to a configurable colour, into which the listeners of signalRender draw the scene;
// the post effects take it over from there.
//
// "FORWARD_RENDERING" node keys: "CLEAR_COLOR" (hex AARRGGBB), "USE_ALPHA" (A8R8G8B8 target, else
// X8R8G8B8; a change re-creates the target), "ENABLE".
//
// The target is D3DPOOL_DEFAULT: released on device-lost, on the device object's shutdown and
// when disabled; made on device-reset, device-created, when enabled and when the manager's target
// size changes.
#pragma once

#include "engine/core/Types.h"
#include "port/d3d9/d3d9.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {

class Camera;
class D3DInterface;
class RenderManager;
class XMLNode;

class ForwardRenderer : public sigslot::has_slots<sigslot::single_threaded> {
public:
    explicit ForwardRenderer(RenderManager* owner);
    ~ForwardRenderer() override;
    ForwardRenderer(ForwardRenderer const&) = delete;
    ForwardRenderer& operator=(ForwardRenderer const&) = delete;

    void create();
    void onLostDevice();
    void setEnabled(bool const& on);
    bool isEnabled() const { return enabled_ != 0; }
    bool isCreated() const { return created_ != 0; }
    // False unless the target and its surface exist.
    bool getTarget(IDirect3DTexture9*& texture, IDirect3DSurface9*& surface) const;
    void readXML(XMLNode& node);

    // Target set, pre-render signal, scene begun, cleared, render signal, scene ended. The
    // camera is handed on by the render manager and not read here.
    void render(Camera* camera);

    D3DXCOLOR const& getClearColor() const { return clearColor_; }
    // The clear colour as D3DCOLOR (each channel clamped, rounded to nearest).
    D3DCOLOR getClearColorValue() const;

    sigslot::signal1<ForwardRenderer&> signalPreRender;
    sigslot::signal1<ForwardRenderer&> signalRender;

private:
    void onTargetResized(RenderManager& owner);

    D3DInterface* d3d_;
    IDirect3DTexture9* target_ = nullptr;
    IDirect3DSurface9* surface_ = nullptr;
    u8 created_ = 0;
    RenderManager* owner_;
    D3DXCOLOR clearColor_{128.0f / 255.0f, 128.0f / 255.0f, 128.0f / 255.0f, 1.0f};
    u8 enabled_ = 1;
    u8 useAlpha_ = 1;
};

}  // namespace Orvex
