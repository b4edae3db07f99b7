// Fuzzes the image file readers (PNG, JPEG, BMP, TGA, DDS) below the texture functions, so no
// device is needed. Beyond not crashing: a decoded file was also accepted by the header read,
// and its pixels have the size that read reported, within the side limit; a PNG the header read
// accepted declares that size in its first bytes (declaredImageSize); a refusal gives its reason.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <string>

#include "port/d3dx9/DxPixels.h"
#include "port/d3dx9/d3dx9_port.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    D3DXIMAGE_INFO header{};
    std::string why;
    bool const known = port::dx::imageInfo(data, size, header, why);
    if (!known && why.empty()) std::abort();
    uint32_t width = 0;
    uint32_t height = 0;
    bool const declared =
        port::dx::declaredImageSize(data, std::min(size, port::dx::kImageHeadBytes), width, height);
    if (known && header.ImageFileFormat == D3DXIFF_PNG &&
        (!declared || width != header.Width || height != header.Height))
        std::abort();
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
