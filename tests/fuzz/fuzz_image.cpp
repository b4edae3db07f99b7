// Fuzzes the image file readers (PNG, JPEG, BMP, TGA, DDS) below the texture functions, so no
// device is needed. Beyond not crashing: a decoded file was also accepted by the header read,
// and its pixels have the size that read reported, within the side limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <string>

#include "port/d3dx9/DxPixels.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    D3DXIMAGE_INFO header{};
    bool const known = port::dx::imageInfo(data, size, header);
    port::dx::Image image;
    D3DXIMAGE_INFO info{};
    std::string error;
    if (!port::dx::decodeImage(data, size, image, info, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (!known || image.width != header.Width || image.height != header.Height || image.width > 16384 ||
        image.height > 16384 || image.argb.size() != static_cast<std::size_t>(image.width) * image.height)
        std::abort();
    return 0;
}
