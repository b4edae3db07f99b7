// Moving pixels into and out of surfaces. A lock is tried first; a render target is read through
// a system-memory copy (GetRenderTargetData), and a surface that refuses a write lock is filled
// through a system-memory surface and UpdateSurface.
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
    D3DLOCKED_RECT locked;
    if (!(desc.Usage & D3DUSAGE_RENDERTARGET) && SUCCEEDED(surface->LockRect(&locked, &r, 0))) {
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
