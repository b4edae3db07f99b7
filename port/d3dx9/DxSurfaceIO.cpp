// Moving pixels into and out of surfaces. An A8R8G8B8 texture level is written straight from the
// image, without a lock's copy; otherwise a lock is tried first; a render target is read through
// a system-memory copy (GetRenderTargetData), a render target is written by drawing the image
// into it, and a surface that refuses a write lock is filled through a system-memory surface and
// UpdateSurface.
#include "port/d3d9/d3d9_gl.h"
#include "port/d3d9/d3d9_port.h"
#include "port/d3dx9/DxCom.h"
#include "port/d3dx9/DxPixels.h"

namespace port::dx {

namespace {

RECT wholeOr(IDirect3DSurface9* surface, RECT const* rect, D3DSURFACE_DESC& desc) {
    surface->GetDesc(&desc);
    if (rect) return *rect;
    return RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
}

bool validRect(RECT const& r, D3DSURFACE_DESC const& desc) {
    return r.left >= 0 && r.top >= 0 && r.right > r.left && r.bottom > r.top && static_cast<UINT>(r.right) <= desc.Width &&
           static_cast<UINT>(r.bottom) <= desc.Height;
}

bool readLocked(IDirect3DSurface9* surface, D3DFORMAT format, RECT const& r, Image& image) {
    D3DLOCKED_RECT locked;
    if (FAILED(surface->LockRect(&locked, &r, D3DLOCK_READONLY))) return false;
    image.width = static_cast<UINT>(r.right - r.left);
    image.height = static_cast<UINT>(r.bottom - r.top);
    bool ok = readPixels(format, locked.pBits, locked.Pitch, image.width, image.height, image.argb);
    surface->UnlockRect();
    return ok;
}

// Render targets take no CPU writes: the image is drawn into them as a point-sampled quad,
// with every state the draw touches saved and restored.
bool drawIntoTarget(IDirect3DSurface9* surface, RECT const& r, Image const& image) {
    IDirect3DDevice9* device = nullptr;
    if (FAILED(surface->GetDevice(&device))) return false;
    IDirect3DTexture9* texture = nullptr;
    IDirect3DStateBlock9* saved = nullptr;
    IDirect3DSurface9* previous = nullptr;
    D3DVIEWPORT9 viewport{};
    bool ok = false;
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(device->CreateTexture(image.width, image.height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                        nullptr)) &&
        SUCCEEDED(texture->LockRect(0, &locked, nullptr, 0))) {
        writePixels(D3DFMT_A8R8G8B8, image.argb.data(), image.width, image.height, locked.pBits, locked.Pitch);
        texture->UnlockRect(0);
        device->CreateStateBlock(D3DSBT_ALL, &saved);
        device->GetRenderTarget(0, &previous);
        device->GetViewport(&viewport);
        unsigned program = port::gl::programOverride(device);
        if (SUCCEEDED(device->SetRenderTarget(0, surface))) {
            struct Vertex {
                float x, y, z, rhw, u, v;
            };
            // Moved by half a pixel: each pixel centre samples a texel centre.
            float x0 = r.left - 0.5f, y0 = r.top - 0.5f, x1 = r.right - 0.5f, y1 = r.bottom - 0.5f;
            Vertex quad[4] = {{x0, y0, 0, 1, 0, 0}, {x1, y0, 0, 1, 1, 0}, {x0, y1, 0, 1, 0, 1}, {x1, y1, 0, 1, 1, 1}};
            port::gl::setProgramOverride(device, 0);
            for (auto [state, value] : {std::pair{D3DRS_ALPHABLENDENABLE, DWORD(FALSE)}, {D3DRS_ALPHATESTENABLE, FALSE},
                                        {D3DRS_STENCILENABLE, FALSE}, {D3DRS_ZENABLE, D3DZB_FALSE},
                                        {D3DRS_CULLMODE, D3DCULL_NONE}, {D3DRS_SCISSORTESTENABLE, FALSE},
                                        {D3DRS_COLORWRITEENABLE, 0xFu}, {D3DRS_FILLMODE, D3DFILL_SOLID}})
                device->SetRenderState(state, value);
            device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
            device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
            device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
            device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
            device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
            device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
            device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
            device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
            device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
            device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
            device->SetTexture(0, texture);
            device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
            bool scene = SUCCEEDED(device->BeginScene());
            ok = SUCCEEDED(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)));
            if (scene) device->EndScene();
            port::gl::setProgramOverride(device, program);
        }
        if (previous) device->SetRenderTarget(0, previous);
        device->SetViewport(&viewport);
        if (saved) saved->Apply();
    }
    safeRelease(saved);
    safeRelease(previous);
    safeRelease(texture);
    device->Release();
    return ok;
}

}  // namespace

bool readSurface(IDirect3DSurface9* surface, RECT const* rect, Image& image) {
    if (!surface) return false;
    D3DSURFACE_DESC desc;
    RECT r = wholeOr(surface, rect, desc);
    if (!validRect(r, desc)) return false;
    if (!(desc.Usage & D3DUSAGE_RENDERTARGET) && readLocked(surface, desc.Format, r, image)) return true;
    // Render targets (and surfaces that refuse a lock): a system-memory copy first.
    IDirect3DDevice9* device = nullptr;
    if (FAILED(surface->GetDevice(&device))) return false;
    IDirect3DSurface9* copy = nullptr;
    bool ok = SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                            &copy, nullptr)) &&
              SUCCEEDED(device->GetRenderTargetData(surface, copy)) && readLocked(copy, desc.Format, r, image);
    safeRelease(copy);
    device->Release();
    return ok;
}

bool writeSurface(IDirect3DSurface9* surface, RECT const* rect, Image const& image) {
    if (!surface) return false;
    D3DSURFACE_DESC desc;
    RECT r = wholeOr(surface, rect, desc);
    if (!validRect(r, desc) || image.width != static_cast<UINT>(r.right - r.left) ||
        image.height != static_cast<UINT>(r.bottom - r.top) || !canWrite(desc.Format))
        return false;
    if (desc.Usage & D3DUSAGE_RENDERTARGET) return drawIntoTarget(surface, r, image);
    // The image's words are A8R8G8B8's own bytes: a texture level takes them as they are.
    if (desc.Format == D3DFMT_A8R8G8B8 &&
        SUCCEEDED(port::d3d9::writeTextureLevel(surface, r, image.argb.data(), image.width * 4)))
        return true;
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(surface->LockRect(&locked, &r, 0))) {
        bool ok = writePixels(desc.Format, image.argb.data(), image.width, image.height, locked.pBits, locked.Pitch);
        surface->UnlockRect();
        return ok;
    }
    IDirect3DDevice9* device = nullptr;
    if (FAILED(surface->GetDevice(&device))) return false;
    IDirect3DSurface9* staging = nullptr;
    bool ok = false;
    if (SUCCEEDED(device->CreateOffscreenPlainSurface(image.width, image.height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                      &staging, nullptr)) &&
        SUCCEEDED(staging->LockRect(&locked, nullptr, 0))) {
        ok = writePixels(desc.Format, image.argb.data(), image.width, image.height, locked.pBits, locked.Pitch);
        staging->UnlockRect();
        POINT at{r.left, r.top};
        ok = ok && SUCCEEDED(device->UpdateSurface(staging, nullptr, surface, &at));
    }
    safeRelease(staging);
    device->Release();
    return ok;
}

}  // namespace port::dx
