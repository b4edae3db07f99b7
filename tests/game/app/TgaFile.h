// Pictures for the game application's tests, written as uncompressed 32-bit TGA files (the
// texture loader reads them; no encoder needed): a picture is a size and a colour per pixel.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace apptest {

// Top-down 32-bit TGA of width x height with colour(x, y) as 0xAARRGGBB.
inline std::string makeTga(unsigned width, unsigned height, std::function<uint32_t(unsigned, unsigned)> const& colour) {
    std::string bytes(18, '\0');
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x28;  // top-down, eight alpha bits
    bytes.reserve(18 + std::size_t(width) * height * 4);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            uint32_t const c = colour(x, y);
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>((c >> 8) & 0xFF);
            bytes += static_cast<char>((c >> 16) & 0xFF);
            bytes += static_cast<char>(c >> 24);
        }
    return bytes;
}

inline std::string solidTga(unsigned width, unsigned height, uint32_t colour) {
    return makeTga(width, height, [colour](unsigned, unsigned) { return colour; });
}

}  // namespace apptest
