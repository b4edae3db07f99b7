// Pixel work for the D3DX texture functions: images as 32-bit ARGB words, reading and writing
// Direct3D formats, DXT1/DXT3/DXT5 block decoding, scaling by D3DX filter, and getting pixels
// into and out of surfaces (through GetRenderTargetData / UpdateSurface where a lock is refused).
#pragma once

#include "port/d3dx9/d3dx9tex.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace port::dx {

// An allocator whose words start unset when a vector grows without a value: a decoder that
// writes the whole picture zeroes it first with one memset (zeroPixels) rather than a word at a
// time, which under the sanitizers cost a twelfth of a game object's start.
template <class T>
struct UnsetAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <class U>
    UnsetAllocator(UnsetAllocator<U> const&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using PixelWords = std::vector<uint32_t, UnsetAllocator<uint32_t>>;

// count words of transparent black.
void zeroPixels(PixelWords& argb, std::size_t count);

// Pixels as 0xAARRGGBB words, top row first.
struct Image {
    UINT width = 0;
    UINT height = 0;
    PixelWords argb;
};

// Facts from the format table of port/d3d9/d3d9_port.h.
// Bytes per pixel (0 for DXT and unknown formats).
UINT bytesPerPixel(D3DFORMAT format);
bool isDxt(D3DFORMAT format);
// True for formats writePixels can produce.
bool canWrite(D3DFORMAT format);
// Whether the format keeps alpha (A8R8G8B8, A4R4G4B4 ...).
bool hasAlphaChannel(D3DFORMAT format);

// Converts rows of `format` (DXT included) into ARGB; formats without alpha read as opaque.
bool readPixels(D3DFORMAT format, void const* bits, int pitch, UINT width, UINT height, PixelWords& argb);
// Converts ARGB into rows of `format`.
bool writePixels(D3DFORMAT format, uint32_t const* argb, UINT width, UINT height, void* bits, int pitch);

// Decodes DXT1/DXT2/DXT3/DXT4/DXT5 blocks (rows of `pitch` bytes) into ARGB.
void decodeDxt(D3DFORMAT format, uint8_t const* blocks, std::size_t pitch, UINT width, UINT height, uint32_t* argb);

// Scales to the size with a D3DX filter: NONE copies the overlap (the rest transparent black),
// POINT takes the nearest pixel, the others average the covered area (box) when shrinking and
// interpolate linearly when enlarging.
Image scaleImage(Image const& source, UINT width, UINT height, DWORD filter);
// Pixels equal to the key (alpha included) become transparent black; 0 is no key.
void applyColorKey(Image& image, D3DCOLOR key);

// Pixels of a rectangle of a surface (null: the whole surface).
bool readSurface(IDirect3DSurface9* surface, RECT const* rect, Image& image);
// Writes an image (of the rectangle's size) into a rectangle of a surface (null: whole surface).
bool writeSurface(IDirect3DSurface9* surface, RECT const* rect, Image const& image);

// Decoded image files: PNG, JPEG, BMP, TGA and DDS (DxImageFile.cpp); other formats are refused.
// imageInfo and decodeImageFile, for the layers above, are in d3dx9_port.h.
bool decodeImage(void const* data, std::size_t size, Image& image, D3DXIMAGE_INFO& info, std::string& error);

// Encodes as PNG, BMP/DIB, TGA or JPEG (quality 1..100) into bytes. D3DERR_INVALIDCALL (logged)
// for other formats, E_FAIL when encoding fails.
HRESULT encodeImage(D3DXIMAGE_FILEFORMAT format, Image const& image, std::vector<unsigned char>& bytes,
                    int jpegQuality = 90);

}  // namespace port::dx
