// Pixel formats, DXT decoding, scaling and colour keys for the D3DX texture functions.
#include "port/d3dx9/DxPixels.h"

#include "port/d3d9/d3d9_port.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace port::dx {

namespace {

// Expands an n-bit channel to 8 bits by repeating its high bits.
uint32_t expand(uint32_t value, unsigned bits) {
    if (bits == 0) return 0;
    if (bits >= 8) return value >> (bits - 8);
    uint32_t v = value << (8 - bits);
    for (unsigned shift = bits; shift < 8; shift += bits) v |= v >> shift;
    return v & 0xFF;
}

uint32_t pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

uint32_t rgb565(uint16_t v) { return pack(255, expand(v >> 11, 5), expand((v >> 5) & 63, 6), expand(v & 31, 5)); }

uint16_t read16(uint8_t const* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t read32(uint8_t const* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

float halfToFloat(uint16_t h) {
    uint32_t sign = (h >> 15) & 1, exponent = (h >> 10) & 31, mantissa = h & 1023;
    float v = exponent == 0    ? std::ldexp(static_cast<float>(mantissa), -24)
              : exponent == 31 ? (mantissa ? NAN : INFINITY)
                               : std::ldexp(static_cast<float>(mantissa | 1024), static_cast<int>(exponent) - 25);
    return sign ? -v : v;
}

uint32_t unit8(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= 1.0f) return 255;
    return static_cast<uint32_t>(v * 255.0f + 0.5f);
}

}  // namespace

// Format facts come from the device layer's table (one list for every layer).
UINT bytesPerPixel(D3DFORMAT format) {
    port::d3d9::PixelFormat const* p = port::d3d9::pixelFormat(format);
    return p ? p->bytesPerPixel : 0;
}

bool isDxt(D3DFORMAT format) {
    port::d3d9::PixelFormat const* p = port::d3d9::pixelFormat(format);
    return p && p->blockBytes != 0;
}

bool canWrite(D3DFORMAT format) {
    port::d3d9::PixelFormat const* p = port::d3d9::pixelFormat(format);
    return p && p->writable;
}

bool hasAlphaChannel(D3DFORMAT format) {
    port::d3d9::PixelFormat const* p = port::d3d9::pixelFormat(format);
    return p && p->alpha;
}

void decodeDxt(D3DFORMAT format, uint8_t const* blocks, std::size_t pitch, UINT width, UINT height, uint32_t* argb) {
    // One decoder serves the device and D3DX; it writes bytes R, G, B, A.
    std::vector<uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    port::d3d9::decodeDxt(format, blocks, static_cast<unsigned>(pitch), width, height, rgba.data());
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        uint8_t const* p = &rgba[i * 4];
        argb[i] = static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                  static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
}

void zeroPixels(PixelWords& argb, std::size_t count) {
    argb.clear();
    argb.resize(count);
    if (count) std::memset(argb.data(), 0, count * sizeof(uint32_t));
}

bool readPixels(D3DFORMAT format, void const* bitsIn, int pitch, UINT width, UINT height, PixelWords& argb) {
    zeroPixels(argb, static_cast<std::size_t>(width) * height);
    auto const* bits = static_cast<uint8_t const*>(bitsIn);
    if (isDxt(format)) {
        decodeDxt(format, bits, static_cast<std::size_t>(pitch), width, height, argb.data());
        return true;
    }
    UINT bpp = bytesPerPixel(format);
    if (bpp == 0) return false;
    for (UINT y = 0; y < height; ++y) {
        uint8_t const* row = bits + static_cast<std::ptrdiff_t>(y) * pitch;
        for (UINT x = 0; x < width; ++x) {
            uint8_t const* p = row + x * bpp;
            uint32_t out = 0;
            switch (format) {
                case D3DFMT_A8R8G8B8: out = read32(p); break;
                case D3DFMT_X8R8G8B8: out = read32(p) | 0xFF000000u; break;
                case D3DFMT_A8B8G8R8: out = pack(p[3], p[0], p[1], p[2]); break;
                case D3DFMT_X8B8G8R8: out = pack(255, p[0], p[1], p[2]); break;
                case D3DFMT_R8G8B8: out = pack(255, p[2], p[1], p[0]); break;
                case D3DFMT_R5G6B5: out = rgb565(read16(p)); break;
                case D3DFMT_X1R5G5B5:
                case D3DFMT_A1R5G5B5: {
                    uint16_t v = read16(p);
                    uint32_t a = format == D3DFMT_X1R5G5B5 || (v & 0x8000) ? 255 : 0;
                    out = pack(a, expand((v >> 10) & 31, 5), expand((v >> 5) & 31, 5), expand(v & 31, 5));
                    break;
                }
                case D3DFMT_A4R4G4B4:
                case D3DFMT_X4R4G4B4: {
                    uint16_t v = read16(p);
                    uint32_t a = format == D3DFMT_X4R4G4B4 ? 255 : expand(v >> 12, 4);
                    out = pack(a, expand((v >> 8) & 15, 4), expand((v >> 4) & 15, 4), expand(v & 15, 4));
                    break;
                }
                case D3DFMT_A8: out = pack(p[0], 0, 0, 0); break;
                case D3DFMT_L8: out = pack(255, p[0], p[0], p[0]); break;
                case D3DFMT_A8L8: out = pack(p[1], p[0], p[0], p[0]); break;
                case D3DFMT_L16: out = pack(255, p[1], p[1], p[1]); break;
                case D3DFMT_G16R16: out = pack(255, p[1], p[3], 0); break;
                case D3DFMT_A16B16G16R16: out = pack(p[7], p[1], p[3], p[5]); break;
                case D3DFMT_R16F: {
                    uint32_t v = unit8(halfToFloat(read16(p)));
                    out = pack(255, v, v, v);
                    break;
                }
                case D3DFMT_R32F: {
                    float f;
                    std::memcpy(&f, p, 4);
                    uint32_t v = unit8(f);
                    out = pack(255, v, v, v);
                    break;
                }
                case D3DFMT_A16B16G16R16F:
                    out = pack(unit8(halfToFloat(read16(p + 6))), unit8(halfToFloat(read16(p))),
                               unit8(halfToFloat(read16(p + 2))), unit8(halfToFloat(read16(p + 4))));
                    break;
                case D3DFMT_A32B32G32R32F: {
                    float f[4];
                    std::memcpy(f, p, 16);
                    out = pack(unit8(f[3]), unit8(f[0]), unit8(f[1]), unit8(f[2]));
                    break;
                }
                default: return false;
            }
            argb[static_cast<std::size_t>(y) * width + x] = out;
        }
    }
    return true;
}

bool writePixels(D3DFORMAT format, uint32_t const* argb, UINT width, UINT height, void* bitsOut, int pitch) {
    if (!canWrite(format)) return false;
    UINT bpp = bytesPerPixel(format);
    auto* bits = static_cast<uint8_t*>(bitsOut);
    if (format == D3DFMT_A8R8G8B8) {  // the words as they are: most pictures are stored so
        for (UINT y = 0; y < height; ++y)
            std::memcpy(bits + static_cast<std::ptrdiff_t>(y) * pitch, argb + static_cast<std::size_t>(y) * width,
                        static_cast<std::size_t>(width) * 4);
        return true;
    }
    for (UINT y = 0; y < height; ++y) {
        uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * pitch;
        for (UINT x = 0; x < width; ++x) {
            uint32_t c = argb[static_cast<std::size_t>(y) * width + x];
            uint32_t a = c >> 24, r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            uint8_t* p = row + x * bpp;
            uint32_t v = 0;
            switch (format) {
                case D3DFMT_A8R8G8B8: v = c; break;
                case D3DFMT_X8R8G8B8: v = c | 0xFF000000u; break;
                case D3DFMT_A8B8G8R8: v = (a << 24) | (b << 16) | (g << 8) | r; break;
                case D3DFMT_X8B8G8R8: v = 0xFF000000u | (b << 16) | (g << 8) | r; break;
                case D3DFMT_R8G8B8: p[0] = static_cast<uint8_t>(b); p[1] = static_cast<uint8_t>(g); p[2] = static_cast<uint8_t>(r); continue;
                case D3DFMT_R5G6B5: v = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3); break;
                case D3DFMT_X1R5G5B5: v = 0x8000 | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3); break;
                case D3DFMT_A1R5G5B5: v = ((a >= 128) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3); break;
                case D3DFMT_A4R4G4B4: v = ((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4); break;
                case D3DFMT_X4R4G4B4: v = 0xF000 | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4); break;
                case D3DFMT_A8L8: v = (a << 8) | ((r * 77 + g * 150 + b * 29) >> 8); break;
                case D3DFMT_A8: v = a; break;
                case D3DFMT_L8: v = (r * 77 + g * 150 + b * 29) >> 8; break;
                default: return false;
            }
            for (UINT k = 0; k < bpp; ++k) p[k] = static_cast<uint8_t>(v >> (8 * k));
        }
    }
    return true;
}

Image scaleImage(Image const& src, UINT width, UINT height, DWORD filter) {
    if (src.width == width && src.height == height) return src;
    Image out;
    out.width = width;
    out.height = height;
    out.argb.assign(static_cast<std::size_t>(width) * height, 0);
    if (src.width == 0 || src.height == 0) return out;
    DWORD kind = filter == D3DX_DEFAULT ? D3DX_FILTER_TRIANGLE : (filter & 0xFF);
    if (kind == D3DX_FILTER_NONE) {
        for (UINT y = 0; y < std::min(height, src.height); ++y)
            for (UINT x = 0; x < std::min(width, src.width); ++x)
                out.argb[static_cast<std::size_t>(y) * width + x] = src.argb[static_cast<std::size_t>(y) * src.width + x];
        return out;
    }
    double sx = static_cast<double>(src.width) / width, sy = static_cast<double>(src.height) / height;
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            uint32_t result;
            if (kind == D3DX_FILTER_POINT) {
                UINT px = std::min(src.width - 1, static_cast<UINT>((x + 0.5) * sx));
                UINT py = std::min(src.height - 1, static_cast<UINT>((y + 0.5) * sy));
                result = src.argb[static_cast<std::size_t>(py) * src.width + px];
            } else if (sx >= 1.0 && sy >= 1.0) {
                // Box: average the source pixels whose centres fall into this pixel's area.
                UINT x0 = static_cast<UINT>(x * sx), x1 = std::max(x0 + 1, static_cast<UINT>((x + 1) * sx));
                UINT y0 = static_cast<UINT>(y * sy), y1 = std::max(y0 + 1, static_cast<UINT>((y + 1) * sy));
                x1 = std::min(x1, src.width);
                y1 = std::min(y1, src.height);
                uint64_t sum[4] = {}, n = 0;
                for (UINT yy = y0; yy < y1; ++yy)
                    for (UINT xx = x0; xx < x1; ++xx, ++n) {
                        uint32_t c = src.argb[static_cast<std::size_t>(yy) * src.width + xx];
                        for (int k = 0; k < 4; ++k) sum[k] += (c >> (8 * k)) & 0xFF;
                    }
                result = 0;
                for (int k = 0; k < 4; ++k) result |= static_cast<uint32_t>((sum[k] + n / 2) / n) << (8 * k);
            } else {
                // Bilinear between the four nearest source pixel centres.
                double fx = std::clamp((x + 0.5) * sx - 0.5, 0.0, src.width - 1.0);
                double fy = std::clamp((y + 0.5) * sy - 0.5, 0.0, src.height - 1.0);
                UINT x0 = static_cast<UINT>(fx), y0 = static_cast<UINT>(fy);
                UINT x1 = std::min(x0 + 1, src.width - 1), y1 = std::min(y0 + 1, src.height - 1);
                double tx = fx - x0, ty = fy - y0;
                auto at = [&](UINT px, UINT py) { return src.argb[static_cast<std::size_t>(py) * src.width + px]; };
                result = 0;
                for (int k = 0; k < 4; ++k) {
                    auto ch = [&](uint32_t c) { return static_cast<double>((c >> (8 * k)) & 0xFF); };
                    double top = ch(at(x0, y0)) * (1 - tx) + ch(at(x1, y0)) * tx;
                    double bottom = ch(at(x0, y1)) * (1 - tx) + ch(at(x1, y1)) * tx;
                    result |= static_cast<uint32_t>(top * (1 - ty) + bottom * ty + 0.5) << (8 * k);
                }
            }
            out.argb[static_cast<std::size_t>(y) * width + x] = result;
        }
    }
    return out;
}

void applyColorKey(Image& image, D3DCOLOR key) {
    if (key == 0) return;
    for (auto& c : image.argb)
        if (c == key) c = 0;
}

}  // namespace port::dx
