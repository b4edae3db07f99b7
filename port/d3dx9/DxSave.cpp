// Writing textures and surfaces as image files (PNG, BMP, TGA, JPEG) through stb_image_write,
// for screenshots and saved pictures. The file is written in one piece after encoding, so a
// failed encode leaves no half-written file behind.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include "port/d3dx9/DxCom.h"
#include "port/d3dx9/DxPixels.h"
#include "port/win32/HostPath.h"

#include <cstdio>
#include <vector>

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    auto const* bytes = static_cast<unsigned char const*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

HRESULT saveImage(LPCWSTR file, D3DXIMAGE_FILEFORMAT format, port::dx::Image const& image) {
    std::vector<unsigned char> rgba(image.argb.size() * 4);
    for (std::size_t i = 0; i < image.argb.size(); ++i) {
        uint32_t c = image.argb[i];
        rgba[4 * i] = static_cast<unsigned char>(c >> 16);
        rgba[4 * i + 1] = static_cast<unsigned char>(c >> 8);
        rgba[4 * i + 2] = static_cast<unsigned char>(c);
        rgba[4 * i + 3] = static_cast<unsigned char>(c >> 24);
    }
    std::vector<unsigned char> encoded;
    int w = static_cast<int>(image.width), h = static_cast<int>(image.height), ok = 0;
    switch (format) {
        case D3DXIFF_PNG: ok = stbi_write_png_to_func(appendBytes, &encoded, w, h, 4, rgba.data(), w * 4); break;
        case D3DXIFF_BMP:
        case D3DXIFF_DIB: ok = stbi_write_bmp_to_func(appendBytes, &encoded, w, h, 4, rgba.data()); break;
        case D3DXIFF_TGA: ok = stbi_write_tga_to_func(appendBytes, &encoded, w, h, 4, rgba.data()); break;
        case D3DXIFF_JPG: ok = stbi_write_jpg_to_func(appendBytes, &encoded, w, h, 4, rgba.data(), 90); break;
        default: port::dx::logLine("saving: image file format " + std::to_string(format) + " is not supported"); return D3DERR_INVALIDCALL;
    }
    if (!ok) return E_FAIL;
    std::string path = port::hostPath(file);
    std::FILE* out = std::fopen(path.c_str(), "wb");
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
