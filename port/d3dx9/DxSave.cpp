// Writing textures and surfaces as image files (PNG through libpng, JPEG through libjpeg-turbo,
// BMP and TGA), for screenshots and saved pictures. The file is written in one piece after
// encoding, so a failed encode leaves no half-written file behind.
#include "port/d3dx9/DxCom.h"
#include "port/d3dx9/DxImageCodecs.h"
#include "port/win32/win32_paths.h"

#include <cstdio>
#include <vector>

namespace port::dx {

HRESULT encodeImage(D3DXIMAGE_FILEFORMAT format, Image const& image, std::vector<unsigned char>& bytes,
                    int jpegQuality) {
    bytes.clear();
    bool ok = false;
    switch (format) {
        case D3DXIFF_PNG: ok = encodePng(image, bytes); break;
        case D3DXIFF_BMP:
        case D3DXIFF_DIB: ok = encodeBmp(image, bytes); break;
        case D3DXIFF_TGA: ok = encodeTga(image, bytes); break;
        case D3DXIFF_JPG: ok = encodeJpeg(image, jpegQuality, bytes); break;
        default: logLine("saving: image file format " + std::to_string(format) + " is not supported"); return D3DERR_INVALIDCALL;
    }
    return ok ? S_OK : E_FAIL;
}

}  // namespace port::dx

namespace {

HRESULT saveImage(LPCWSTR file, D3DXIMAGE_FILEFORMAT format, port::dx::Image const& image) {
    std::vector<unsigned char> encoded;
    HRESULT hr = port::dx::encodeImage(format, image, encoded);
    if (FAILED(hr)) return hr;
    std::string path = port::hostPath(file);
    // Only a regular file (or a new one): a FIFO in its place must not block the game.
    std::FILE* out = port::openRegularFile(path, "wb");
    if (!out) {
        port::dx::logLine("saving: cannot write " + path);
        return E_FAIL;
    }
    bool written = std::fwrite(encoded.data(), 1, encoded.size(), out) == encoded.size();
    written = std::fclose(out) == 0 && written;
    return written ? S_OK : E_FAIL;
}

}  // namespace

HRESULT D3DXSaveSurfaceToFileW(LPCWSTR destFile, D3DXIMAGE_FILEFORMAT destFormat, IDirect3DSurface9* srcSurface,
                               const PALETTEENTRY*, const RECT* srcRect) {
    if (!destFile || !srcSurface) return D3DERR_INVALIDCALL;
    port::dx::Image image;
    if (!port::dx::readSurface(srcSurface, srcRect, image)) return D3DERR_INVALIDCALL;
    return saveImage(destFile, destFormat, image);
}

HRESULT D3DXSaveTextureToFileW(LPCWSTR destFile, D3DXIMAGE_FILEFORMAT destFormat, IDirect3DBaseTexture9* srcTexture,
                               const PALETTEENTRY* srcPalette) {
    if (!destFile || !srcTexture || srcTexture->GetType() != D3DRTYPE_TEXTURE) return D3DERR_INVALIDCALL;
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(static_cast<IDirect3DTexture9*>(srcTexture)->GetSurfaceLevel(0, &surface))) return D3DERR_INVALIDCALL;
    HRESULT hr = D3DXSaveSurfaceToFileW(destFile, destFormat, surface, srcPalette, nullptr);
    surface->Release();
    return hr;
}
