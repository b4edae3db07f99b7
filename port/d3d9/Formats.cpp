// The pixel-format table of every layer, and Direct3D formats as GL stores them. Memory layouts
// are Direct3D's (little-endian words, e.g. A8R8G8B8 is the bytes B, G, R, A); GL upload formats
// are chosen to read those bytes unchanged, with swizzles for alpha-only, luminance and X
// formats. DXT blocks are decoded on upload.
#include "port/d3d9/Internal.h"

namespace port::d3d9 {
namespace {

// Row flags.
constexpr unsigned kAlpha = 1;
constexpr unsigned kWritable = 2;

FormatInfo make(D3DFORMAT format, unsigned bpp, unsigned flags, GLenum internal, GLenum upload, GLenum type,
                std::initializer_list<GLint> swizzle = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}) {
    FormatInfo info;
    info.format = format;
    info.bytesPerPixel = bpp;
    info.alpha = (flags & kAlpha) != 0;
    info.writable = (flags & kWritable) != 0;
    info.internalFormat = internal;
    info.uploadFormat = upload;
    info.uploadType = type;
    int i = 0;
    for (GLint s : swizzle) info.swizzle[i++] = s;
    return info;
}

// Formats that are only read or written on the CPU (file data, locked pixels of other formats).
FormatInfo cpuOnly(D3DFORMAT format, unsigned bpp, unsigned flags) { return make(format, bpp, flags, 0, 0, 0); }

FormatInfo block(D3DFORMAT format, unsigned bytes) {
    FormatInfo info = make(format, 0, kAlpha, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE);
    info.blockBytes = bytes;
    return info;
}

FormatInfo depth(D3DFORMAT format) {
    FormatInfo info = make(format, 4, 0, GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8);
    info.depth = true;
    return info;
}

constexpr unsigned kAW = kAlpha | kWritable;
constexpr std::initializer_list<GLint> kOpaque = {GL_RED, GL_GREEN, GL_BLUE, GL_ONE};

std::vector<FormatInfo> const& table() {
    static std::vector<FormatInfo> formats = {
        make(D3DFMT_A8R8G8B8, 4, kAW, GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV),
        make(D3DFMT_X8R8G8B8, 4, kWritable, GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, kOpaque),
        make(D3DFMT_A8B8G8R8, 4, kAW, GL_RGBA8, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8_REV),
        make(D3DFMT_X8B8G8R8, 4, kWritable, GL_RGBA8, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8_REV, kOpaque),
        make(D3DFMT_R5G6B5, 2, kWritable, GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5),
        make(D3DFMT_X1R5G5B5, 2, kWritable, GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, kOpaque),
        make(D3DFMT_A1R5G5B5, 2, kAW, GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV),
        make(D3DFMT_A4R4G4B4, 2, kAW, GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV),
        make(D3DFMT_X4R4G4B4, 2, kWritable, GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, kOpaque),
        make(D3DFMT_A2R10G10B10, 4, kAlpha, GL_RGB10_A2, GL_BGRA, GL_UNSIGNED_INT_2_10_10_10_REV),
        make(D3DFMT_A2B10G10R10, 4, kAlpha, GL_RGB10_A2, GL_RGBA, GL_UNSIGNED_INT_2_10_10_10_REV),
        make(D3DFMT_A8, 1, kAW, GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED}),
        make(D3DFMT_L8, 1, kWritable, GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_ONE}),
        make(D3DFMT_A8L8, 2, kAW, GL_RG8, GL_RG, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_GREEN}),
        make(D3DFMT_L16, 2, 0, GL_R16, GL_RED, GL_UNSIGNED_SHORT, {GL_RED, GL_RED, GL_RED, GL_ONE}),
        make(D3DFMT_G16R16, 4, 0, GL_RG16, GL_RG, GL_UNSIGNED_SHORT, {GL_RED, GL_GREEN, GL_ONE, GL_ONE}),
        make(D3DFMT_A16B16G16R16, 8, kAlpha, GL_RGBA16, GL_RGBA, GL_UNSIGNED_SHORT),
        make(D3DFMT_R16F, 2, 0, GL_R16F, GL_RED, GL_HALF_FLOAT, {GL_RED, GL_ONE, GL_ONE, GL_ONE}),
        make(D3DFMT_G16R16F, 4, 0, GL_RG16F, GL_RG, GL_HALF_FLOAT, {GL_RED, GL_GREEN, GL_ONE, GL_ONE}),
        make(D3DFMT_A16B16G16R16F, 8, kAlpha, GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT),
        make(D3DFMT_R32F, 4, 0, GL_R32F, GL_RED, GL_FLOAT, {GL_RED, GL_ONE, GL_ONE, GL_ONE}),
        make(D3DFMT_G32R32F, 8, 0, GL_RG32F, GL_RG, GL_FLOAT, {GL_RED, GL_GREEN, GL_ONE, GL_ONE}),
        make(D3DFMT_A32B32G32R32F, 16, kAlpha, GL_RGBA32F, GL_RGBA, GL_FLOAT),
        cpuOnly(D3DFMT_R8G8B8, 3, kWritable),
        cpuOnly(D3DFMT_R3G3B2, 1, 0),
        cpuOnly(D3DFMT_V8U8, 2, 0),
        cpuOnly(D3DFMT_V16U16, 4, 0),
        block(D3DFMT_DXT1, 8),
        block(D3DFMT_DXT2, 16),
        block(D3DFMT_DXT3, 16),
        block(D3DFMT_DXT4, 16),
        block(D3DFMT_DXT5, 16),
        depth(D3DFMT_D24S8),
        depth(D3DFMT_D24X8),
        depth(D3DFMT_D24X4S4),
        depth(D3DFMT_D16),
        depth(D3DFMT_D16_LOCKABLE),
        depth(D3DFMT_D32),
        depth(D3DFMT_D15S1),
        depth(D3DFMT_D24FS8),
        depth(D3DFMT_D32F_LOCKABLE),
    };
    return formats;
}

void rgb565(uint16_t c, uint8_t out[3]) {
    out[0] = static_cast<uint8_t>(((c >> 11) & 31) * 255 / 31);
    out[1] = static_cast<uint8_t>(((c >> 5) & 63) * 255 / 63);
    out[2] = static_cast<uint8_t>((c & 31) * 255 / 31);
}

// The colour part of a block: 4x4 RGBA into out (alpha left for the caller unless DXT1).
void decodeColorBlock(uint8_t const* b, bool dxt1, uint8_t out[16][4]) {
    uint16_t c0 = static_cast<uint16_t>(b[0] | (b[1] << 8));
    uint16_t c1 = static_cast<uint16_t>(b[2] | (b[3] << 8));
    uint8_t palette[4][4];
    rgb565(c0, palette[0]);
    rgb565(c1, palette[1]);
    palette[0][3] = palette[1][3] = 255;
    if (c0 > c1 || !dxt1) {
        for (int k = 0; k < 3; ++k) {
            palette[2][k] = static_cast<uint8_t>((2 * palette[0][k] + palette[1][k]) / 3);
            palette[3][k] = static_cast<uint8_t>((palette[0][k] + 2 * palette[1][k]) / 3);
        }
        palette[2][3] = palette[3][3] = 255;
    } else {
        for (int k = 0; k < 3; ++k) {
            palette[2][k] = static_cast<uint8_t>((palette[0][k] + palette[1][k]) / 2);
            palette[3][k] = 0;
        }
        palette[2][3] = 255;
        palette[3][3] = 0;
    }
    uint32_t bits = static_cast<uint32_t>(b[4] | (b[5] << 8) | (b[6] << 16)) | (static_cast<uint32_t>(b[7]) << 24);
    for (int i = 0; i < 16; ++i) {
        int index = (bits >> (2 * i)) & 3;
        for (int k = 0; k < 4; ++k) out[i][k] = palette[index][k];
    }
}

void decodeAlphaDxt5(uint8_t const* b, uint8_t out[16][4]) {
    uint8_t a[8];
    a[0] = b[0];
    a[1] = b[1];
    if (a[0] > a[1]) {
        for (int i = 1; i < 7; ++i) a[i + 1] = static_cast<uint8_t>(((7 - i) * a[0] + i * a[1]) / 7);
    } else {
        for (int i = 1; i < 5; ++i) a[i + 1] = static_cast<uint8_t>(((5 - i) * a[0] + i * a[1]) / 5);
        a[6] = 0;
        a[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) bits |= static_cast<uint64_t>(b[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i) out[i][3] = a[(bits >> (3 * i)) & 7];
}

}  // namespace

PixelFormat const* pixelFormat(D3DFORMAT format) {
    for (FormatInfo const& info : table())
        if (info.format == format) return &info;
    return nullptr;
}

FormatInfo const* formatInfo(D3DFORMAT format) {
    auto const* info = static_cast<FormatInfo const*>(pixelFormat(format));
    return info && info->internalFormat ? info : nullptr;
}

unsigned rowPitch(FormatInfo const& info, unsigned width) {
    if (info.blockBytes) return ((width + 3) / 4) * info.blockBytes;
    return width * info.bytesPerPixel;
}

unsigned rowCount(FormatInfo const& info, unsigned height) { return info.blockBytes ? (height + 3) / 4 : height; }

void decodeDxt(D3DFORMAT format, uint8_t const* blocks, unsigned pitch, unsigned width, unsigned height,
               uint8_t* rgba) {
    unsigned blocksX = (width + 3) / 4;
    unsigned blocksY = (height + 3) / 4;
    bool dxt1 = format == D3DFMT_DXT1;
    unsigned blockBytes = dxt1 ? 8 : 16;
    for (unsigned by = 0; by < blocksY; ++by) {
        for (unsigned bx = 0; bx < blocksX; ++bx) {
            uint8_t const* b = blocks + by * pitch + bx * blockBytes;
            uint8_t texels[16][4];
            if (dxt1) {
                decodeColorBlock(b, true, texels);
            } else {
                decodeColorBlock(b + 8, false, texels);
                if (format == D3DFMT_DXT2 || format == D3DFMT_DXT3) {
                    for (int i = 0; i < 16; ++i) {
                        int nibble = (b[i / 2] >> ((i & 1) * 4)) & 15;
                        texels[i][3] = static_cast<uint8_t>(nibble * 17);
                    }
                } else {
                    decodeAlphaDxt5(b, texels);
                }
            }
            for (unsigned i = 0; i < 16; ++i) {
                unsigned x = bx * 4 + (i & 3);
                unsigned y = by * 4 + i / 4;
                if (x >= width || y >= height) continue;
                uint8_t* p = rgba + (static_cast<size_t>(y) * width + x) * 4;
                for (int k = 0; k < 4; ++k) p[k] = texels[i][k];
            }
        }
    }
}

}  // namespace port::d3d9
