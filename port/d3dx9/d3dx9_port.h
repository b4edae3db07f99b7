// Extras of the D3DX layer that D3DX itself does not have: what the image readers left out of a
// file that still loaded, for the caller that knows the file's name to log; the size an image
// file's first bytes declare, for a caller that refuses a picture too large before reading it;
// and texture creation from a file in two steps, the decode and the texture, for a caller that
// keeps decoded files to make their textures again without decoding (the engine's store of
// pictures: D3DX itself keeps nothing between calls).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "port/d3dx9/d3dx9tex.h"

namespace port::dx {

// The pixels of a decoded image file (DxPixels.h); callers above the layer only hold it.
struct Image;

// The information of an image file, as D3DXGetImageInfoFromFileInMemory gives it; false with the
// reason in error (not an image we read, damaged, or a size its data cannot hold).
bool imageInfo(void const* data, std::size_t size, D3DXIMAGE_INFO& info, std::string& error);
// The image file decoded, read-only for any number of textures; null with the reason in error.
std::shared_ptr<Image const> decodeImageFile(void const* data, std::size_t size, D3DXIMAGE_INFO& info,
                                             std::string& error);
// D3DXCreateTextureFromFileInMemoryEx on a file decoded already (fileInfo is what the decode
// gave): size, levels, format, filter and colour key as asked; info, when given, gets the file's
// information with the texture's format.
HRESULT createTextureFromImage(IDirect3DDevice9* device, Image const& image, D3DXIMAGE_INFO const& fileInfo,
                               UINT width, UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                               DWORD filter, DWORD mipFilter, D3DCOLOR colorKey, D3DXIMAGE_INFO* info,
                               IDirect3DTexture9** texture);

// The first bytes of an image file that hold its size where the format puts it at the start: a
// PNG's signature and IHDR chunk (width and height, bit depth, colour type ... and its CRC).
constexpr std::size_t kImageHeadBytes = 33;

// The width and height that the first bytes of an image file declare (kImageHeadBytes suffice),
// as they stand, unchecked; false when the bytes do not say: not a PNG's signature and IHDR, or
// cut short (the other formats are judged once read whole).
bool declaredImageSize(void const* head, std::size_t size, uint32_t& width, uint32_t& height);

// While one lives on the thread, the image readers (header reads and decodes, through any D3DX
// function) note in it what they left out of a file they still read: chunks of no use skipped
// in bulk, data past the pixels the header gives. The innermost one collects; without one a
// note goes to the port log, which cannot name the file. Not shared between threads.
class ImageNotes {
public:
    ImageNotes();
    ~ImageNotes();
    ImageNotes(ImageNotes const&) = delete;
    ImageNotes& operator=(ImageNotes const&) = delete;

    // The notes, "; " between them, each once; empty when nothing was left out.
    std::string text() const;
    // The same notes one by one, in their order.
    std::vector<std::string> const& each() const { return each_; }

    // Called by the readers.
    static void note(std::string const& what);

private:
    std::vector<std::string> each_;
    ImageNotes* outer_;
};

}  // namespace port::dx
