// ID3DXRenderToSurface: draws into a surface of a fixed size with an optional own depth-stencil
// surface. A surface that is no render target is drawn through an own render target and
// copied at EndScene. The previous render target, depth-stencil surface and viewport come back
// at EndScene.
#include "port/d3dx9/DxCom.h"
#include "port/d3dx9/DxPixels.h"

namespace port::dx {

namespace {

class RenderToSurface final : public DeviceObject<ID3DXRenderToSurface> {
public:
    RenderToSurface(IDirect3DDevice9* device, D3DXRTS_DESC const& desc) : DeviceObject(device), desc_(desc) {}

    bool createDepth() {
        if (!desc_.DepthStencil || depth_) return true;
        return SUCCEEDED(device_->CreateDepthStencilSurface(desc_.Width, desc_.Height, desc_.DepthStencilFormat,
                                                            D3DMULTISAMPLE_NONE, 0, FALSE, &depth_, nullptr));
    }

    HRESULT GetDesc(D3DXRTS_DESC* desc) override {
        if (!desc) return D3DERR_INVALIDCALL;
        *desc = desc_;
        return S_OK;
    }

    HRESULT BeginScene(IDirect3DSurface9* surface, const D3DVIEWPORT9* viewport) override {
        if (!surface || inScene_) return D3DERR_INVALIDCALL;
        if (!createDepth()) return D3DERR_INVALIDCALL;
        D3DSURFACE_DESC sd;
        if (FAILED(surface->GetDesc(&sd)) || sd.Width != desc_.Width || sd.Height != desc_.Height)
            return D3DERR_INVALIDCALL;
        IDirect3DSurface9* target = surface;
        if (!(sd.Usage & D3DUSAGE_RENDERTARGET)) {
            if (FAILED(device_->CreateRenderTarget(desc_.Width, desc_.Height, sd.Format, D3DMULTISAMPLE_NONE, 0, FALSE,
                                                   &intermediate_, nullptr)))
                return D3DERR_INVALIDCALL;
            target = intermediate_;
        }
        device_->GetRenderTarget(0, &savedTarget_);
        if (FAILED(device_->GetDepthStencilSurface(&savedDepth_))) savedDepth_ = nullptr;
        device_->GetViewport(&savedViewport_);
        if (FAILED(device_->SetRenderTarget(0, target))) {
            restore();
            return D3DERR_INVALIDCALL;
        }
        device_->SetDepthStencilSurface(depth_);
        if (viewport) device_->SetViewport(viewport);
        surface->AddRef();
        surface_ = surface;
        inScene_ = true;
        if (FAILED(device_->BeginScene())) {
            restore();
            return D3DERR_INVALIDCALL;
        }
        return S_OK;
    }

    HRESULT EndScene(DWORD) override {
        if (!inScene_) return D3DERR_INVALIDCALL;
        HRESULT hr = device_->EndScene();
        if (intermediate_) {
            Image image;
            if (!readSurface(intermediate_, nullptr, image) || !writeSurface(surface_, nullptr, image)) hr = E_FAIL;
        }
        restore();
        return hr;
    }

    HRESULT OnLostDevice() override {
        if (inScene_) {
            device_->EndScene();
            restore();
        }
        safeRelease(depth_);
        return S_OK;
    }
    HRESULT OnResetDevice() override { return createDepth() ? S_OK : D3DERR_INVALIDCALL; }

private:
    ~RenderToSurface() override {
        if (inScene_) restore();
        safeRelease(depth_);
    }

    void restore() {
        if (savedTarget_) device_->SetRenderTarget(0, savedTarget_);
        device_->SetDepthStencilSurface(savedDepth_);
        device_->SetViewport(&savedViewport_);
        safeRelease(savedTarget_);
        safeRelease(savedDepth_);
        safeRelease(intermediate_);
        safeRelease(surface_);
        inScene_ = false;
    }

    D3DXRTS_DESC desc_;
    IDirect3DSurface9* depth_ = nullptr;
    IDirect3DSurface9* surface_ = nullptr;
    IDirect3DSurface9* intermediate_ = nullptr;
    IDirect3DSurface9* savedTarget_ = nullptr;
    IDirect3DSurface9* savedDepth_ = nullptr;
    D3DVIEWPORT9 savedViewport_{};
    bool inScene_ = false;
};

}  // namespace

}  // namespace port::dx

HRESULT D3DXCreateRenderToSurface(IDirect3DDevice9* device, UINT width, UINT height, D3DFORMAT format,
                                  BOOL depthStencil, D3DFORMAT depthStencilFormat,
                                  ID3DXRenderToSurface** renderToSurface) {
    if (!device || !renderToSurface || width == 0 || height == 0) return D3DERR_INVALIDCALL;
    D3DXRTS_DESC desc{width, height, format, depthStencil, depthStencil ? depthStencilFormat : D3DFMT_UNKNOWN};
    auto* created = new port::dx::RenderToSurface(device, desc);
    if (!created->createDepth()) {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    *renderToSurface = created;
    return S_OK;
}
