// The one file that compiles stb_image and stb_image_write. Both are built static, so no stb
// symbol leaves this file: the rest of the port (and its tests) use the functions below.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include "port/d3dx9/DxCom.h"
#include "port/d3dx9/DxPixels.h"

#include <climits>

namespace port::dx {

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    auto const* bytes = static_cast<unsigned char const*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

bool stbImageInfo(void const* data, std::size_t size, int& width, int& height, int& channels) {
    if (!data || size == 0 || size > INT_MAX) return false;
    return stbi_info_from_memory(static_cast<stbi_uc const*>(data), static_cast<int>(size), &width, &height,
                                 &channels) != 0;
}

bool stbDecode(void const* data, std::size_t size, Image& image, std::string& error) {
    if (!data || size == 0 || size > INT_MAX) {
        error = "image data too large or empty";
        return false;
    }
    int w = 0, h = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(static_cast<stbi_uc const*>(data), static_cast<int>(size), &w, &h, &channels, 4);
    if (!rgba) {
        error = std::string("image decoding failed: ") + stbi_failure_reason();
        return false;
    }
    image.width = static_cast<UINT>(w);
    image.height = static_cast<UINT>(h);
    image.argb.resize(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < image.argb.size(); ++i) {
        stbi_uc const* q = rgba + 4 * i;
        image.argb[i] = (static_cast<uint32_t>(q[3]) << 24) | (static_cast<uint32_t>(q[0]) << 16) |
                        (static_cast<uint32_t>(q[1]) << 8) | q[2];
    }
    stbi_image_free(rgba);
    return true;
}

HRESULT encodeImage(D3DXIMAGE_FILEFORMAT format, Image const& image, std::vector<unsigned char>& bytes,
                    int jpegQuality) {
    std::vector<unsigned char> rgba(image.argb.size() * 4);
    for (std::size_t i = 0; i < image.argb.size(); ++i) {
        uint32_t c = image.argb[i];
        rgba[4 * i] = static_cast<unsigned char>(c >> 16);
        rgba[4 * i + 1] = static_cast<unsigned char>(c >> 8);
        rgba[4 * i + 2] = static_cast<unsigned char>(c);
        rgba[4 * i + 3] = static_cast<unsigned char>(c >> 24);
    }
    bytes.clear();
    int w = static_cast<int>(image.width), h = static_cast<int>(image.height), ok = 0;
    switch (format) {
        case D3DXIFF_PNG: ok = stbi_write_png_to_func(appendBytes, &bytes, w, h, 4, rgba.data(), w * 4); break;
        case D3DXIFF_BMP:
        case D3DXIFF_DIB: ok = stbi_write_bmp_to_func(appendBytes, &bytes, w, h, 4, rgba.data()); break;
        case D3DXIFF_TGA: ok = stbi_write_tga_to_func(appendBytes, &bytes, w, h, 4, rgba.data()); break;
        case D3DXIFF_JPG: ok = stbi_write_jpg_to_func(appendBytes, &bytes, w, h, 4, rgba.data(), jpegQuality); break;
        default: logLine("saving: image file format " + std::to_string(format) + " is not supported"); return D3DERR_INVALIDCALL;
    }
    return ok ? S_OK : E_FAIL;
}

}  // namespace port::dx
