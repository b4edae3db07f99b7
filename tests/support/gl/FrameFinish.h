// Ends a benchmark frame the way every drawing benchmark does: one back-buffer pixel copied to a
// render target and read back, so the GL work of a frame is done before the next one starts, then
// Present. Header-only, for benchmark programs.
#pragma once

#include "port/d3d9/d3d9.h"

#include <initializer_list>

namespace testsupport {

class FrameFinish {
public:
    explicit FrameFinish(IDirect3DDevice9* device) : device_(device) {
        device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer_);
        device->CreateRenderTarget(1, 1, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &target_, nullptr);
        device->CreateOffscreenPlainSurface(1, 1, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy_, nullptr);
    }
    ~FrameFinish() {
        for (IDirect3DSurface9* s : {backBuffer_, target_, copy_})
            if (s) s->Release();
    }
    FrameFinish(FrameFinish const&) = delete;
    FrameFinish& operator=(FrameFinish const&) = delete;

    bool ready() const { return backBuffer_ && target_ && copy_; }
    void operator()() {
        RECT corner{0, 0, 1, 1};
        device_->StretchRect(backBuffer_, &corner, target_, nullptr, D3DTEXF_NONE);
        device_->GetRenderTargetData(target_, copy_);
        device_->Present(nullptr, nullptr, nullptr, nullptr);
    }

private:
    IDirect3DDevice9* device_;
    IDirect3DSurface9* backBuffer_ = nullptr;
    IDirect3DSurface9* target_ = nullptr;
    IDirect3DSurface9* copy_ = nullptr;
};

}  // namespace testsupport
