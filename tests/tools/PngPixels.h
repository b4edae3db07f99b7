// Reading a PNG the tools wrote back into RGBA pixels (libpng's simplified reader), so tests can
// look at what a picture shows and compare two files by their pixels, not their bytes.
#pragma once

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace toolstest {

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // row by row, four bytes a pixel; empty when unreadable

    bool empty() const { return rgba.empty(); }
    std::uint8_t const* at(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    bool operator==(Pixels const& o) const { return width == o.width && height == o.height && rgba == o.rgba; }
};

inline Pixels readPng(std::filesystem::path const& path) {
    Pixels out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.string().c_str())) return out;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> buffer(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        png_image_free(&image);
        return out;
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgba = std::move(buffer);
    return out;
}

// Pixels at least this opaque.
inline int countOpaque(Pixels const& p, int minAlpha) {
    int n = 0;
    for (std::size_t i = 3; i < p.rgba.size(); i += 4) n += p.rgba[i] >= minAlpha;
    return n;
}

}  // namespace toolstest
