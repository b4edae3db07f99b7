// D3DX texture and surface functions: textures from image files in memory (PNG, JPEG, BMP, TGA
// through libpng, libjpeg-turbo, SDL and SDL2_image; DDS with DXT1/DXT3/DXT5 or uncompressed
// pixels decoded here; other formats refused), copies
// between surfaces with format conversion and scaling, and image files written from textures
// and surfaces (PNG, BMP, TGA, JPEG).
#pragma once

#include "port/d3dx9/d3dx9core.h"

#define D3DX_FILTER_NONE (1 << 0)
#define D3DX_FILTER_POINT (2 << 0)
#define D3DX_FILTER_LINEAR (3 << 0)
#define D3DX_FILTER_TRIANGLE (4 << 0)
#define D3DX_FILTER_BOX (5 << 0)
#define D3DX_FILTER_MIRROR_U (1 << 16)
#define D3DX_FILTER_MIRROR_V (2 << 16)
#define D3DX_FILTER_MIRROR_W (4 << 16)
#define D3DX_FILTER_MIRROR (7 << 16)
#define D3DX_FILTER_DITHER (1 << 19)
#define D3DX_FILTER_DITHER_DIFFUSION (2 << 19)
#define D3DX_FILTER_SRGB_IN (1 << 21)
#define D3DX_FILTER_SRGB_OUT (2 << 21)
#define D3DX_FILTER_SRGB (3 << 21)
#define D3DX_SKIP_DDS_MIP_LEVELS_MASK 0x1F
#define D3DX_SKIP_DDS_MIP_LEVELS_SHIFT 26

enum D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_HDR = 7,
    D3DXIFF_PFM = 8,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
};

// Size, levels and pixel format of an image file. The format is the file's (A8R8G8B8 for
// images with alpha, X8R8G8B8 for opaque ones, R8G8B8 for 24-bit BMP and TGA, the DXT format of
// a compressed DDS); after D3DXCreateTextureFromFileInMemoryEx it is the texture's own format.
struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

// A texture after the device's rules: D3DX_DEFAULT sizes become 256, levels 0 or D3DX_DEFAULT
// a full chain, D3DFMT_UNKNOWN A8R8G8B8.
HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture);

HRESULT D3DXGetImageInfoFromFileInMemory(LPCVOID data, UINT size, D3DXIMAGE_INFO* info);
HRESULT D3DXGetImageInfoFromFileW(LPCWSTR file, D3DXIMAGE_INFO* info);
inline HRESULT D3DXGetImageInfoFromFile(LPCWSTR file, D3DXIMAGE_INFO* info) {
    return D3DXGetImageInfoFromFileW(file, info);
}

// Width/Height: D3DX_DEFAULT (or 0) the file's size rounded up to powers of two,
// D3DX_DEFAULT_NONPOW2 the file's size, otherwise as given (the image is scaled by the filter;
// D3DX_FILTER_NONE copies without scaling, outside the image transparent black). MipLevels:
// 0 or D3DX_DEFAULT a full chain, D3DX_FROM_FILE the file's count. Format: D3DFMT_UNKNOWN takes
// A8R8G8B8 for images with alpha (or with a colour key), X8R8G8B8 otherwise; a format the device
// refuses falls back to A8R8G8B8. ColorKey: pixels equal to it (alpha included) become
// transparent black; 0 turns keying off. info receives the file's description with the format
// the texture really has.
HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice9* device, LPCVOID data, UINT size, UINT width,
                                            UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format,
                                            D3DPOOL pool, DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* info, PALETTEENTRY* palette,
                                            IDirect3DTexture9** texture);
HRESULT D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* device, LPCVOID data, UINT size,
                                          IDirect3DTexture9** texture);
HRESULT D3DXCreateTextureFromFileExW(IDirect3DDevice9* device, LPCWSTR file, UINT width, UINT height,
                                     UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                     DWORD mipFilter, D3DCOLOR colorKey, D3DXIMAGE_INFO* info,
                                     PALETTEENTRY* palette, IDirect3DTexture9** texture);
HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice9* device, LPCWSTR file, IDirect3DTexture9** texture);
inline HRESULT D3DXCreateTextureFromFile(IDirect3DDevice9* device, LPCWSTR file, IDirect3DTexture9** texture) {
    return D3DXCreateTextureFromFileW(device, file, texture);
}

// Copies pixels between rectangles (null: whole surfaces) with format conversion; different
// sizes are scaled by the filter (point, or box/linear for the others). A render-target source is
// read through GetRenderTargetData. Palettes are ignored.
HRESULT D3DXLoadSurfaceFromSurface(IDirect3DSurface9* destSurface, const PALETTEENTRY* destPalette,
                                   const RECT* destRect, IDirect3DSurface9* srcSurface,
                                   const PALETTEENTRY* srcPalette, const RECT* srcRect, DWORD filter,
                                   D3DCOLOR colorKey);
HRESULT D3DXLoadSurfaceFromMemory(IDirect3DSurface9* destSurface, const PALETTEENTRY* destPalette,
                                  const RECT* destRect, LPCVOID srcMemory, D3DFORMAT srcFormat, UINT srcPitch,
                                  const PALETTEENTRY* srcPalette, const RECT* srcRect, DWORD filter,
                                  D3DCOLOR colorKey);
HRESULT D3DXLoadSurfaceFromFileInMemory(IDirect3DSurface9* destSurface, const PALETTEENTRY* destPalette,
                                        const RECT* destRect, LPCVOID srcData, UINT srcDataSize,
                                        const RECT* srcRect, DWORD filter, D3DCOLOR colorKey,
                                        D3DXIMAGE_INFO* srcInfo);

// Fills the levels below srcLevel from it (box filter).
HRESULT D3DXFilterTexture(IDirect3DBaseTexture9* texture, const PALETTEENTRY* palette, UINT srcLevel,
                          DWORD filter);

// Writes level 0 of a texture (or a surface, or a rectangle of it) as an image file: PNG, BMP,
// TGA or JPEG. Formats without alpha are written opaque. Render-target textures and surfaces
// are read through GetRenderTargetData. The path is a Windows path.
HRESULT D3DXSaveTextureToFileW(LPCWSTR destFile, D3DXIMAGE_FILEFORMAT destFormat, IDirect3DBaseTexture9* srcTexture,
                               const PALETTEENTRY* srcPalette);
HRESULT D3DXSaveSurfaceToFileW(LPCWSTR destFile, D3DXIMAGE_FILEFORMAT destFormat, IDirect3DSurface9* srcSurface,
                               const PALETTEENTRY* srcPalette, const RECT* srcRect);
inline HRESULT D3DXSaveTextureToFile(LPCWSTR destFile, D3DXIMAGE_FILEFORMAT destFormat,
                                     IDirect3DBaseTexture9* srcTexture, const PALETTEENTRY* srcPalette) {
    return D3DXSaveTextureToFileW(destFile, destFormat, srcTexture, srcPalette);
}
inline HRESULT D3DXSaveSurfaceToFile(LPCWSTR destFile, D3DXIMAGE_FILEFORMAT destFormat,
                                     IDirect3DSurface9* srcSurface, const PALETTEENTRY* srcPalette,
                                     const RECT* srcRect) {
    return D3DXSaveSurfaceToFileW(destFile, destFormat, srcSurface, srcPalette, srcRect);
}
