// Image files in memory: PNG, JPEG, BMP and TGA through their libraries (DxImageCodecs.h); DDS
// (DXT1/DXT3/DXT5 and uncompressed RGB, luminance and alpha layouts) read here. Every other format
// is refused. Sizes and data lengths are checked before anything is read, so broken files fail
// with a message instead of reading past the end or allocating for pixels they do not hold.
// What a reader leaves out of a file it still reads goes to the innermost ImageNotes.
#include "port/d3dx9/DxImageCodecs.h"
#include "port/d3dx9/d3dx9_port.h"
#include "port/win32/win32_log.h"
#include "port/win32/win32_text.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace port::dx {

namespace {

thread_local ImageNotes* tNotes = nullptr;

// The parts of a DDS header this reader uses.
struct DdsHeader {
    UINT width = 0, height = 0, mipLevels = 1;
    uint32_t pixelFlags = 0, fourCC = 0, bitCount = 0;
    uint32_t masks[4] = {};  // r, g, b, a
    uint32_t caps2 = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
};

constexpr std::size_t kDdsDataOffset = 4 + 124;
constexpr uint32_t kDdpfAlphaPixels = 0x1, kDdpfAlpha = 0x2, kDdpfFourCC = 0x4, kDdpfRgb = 0x40, kDdpfLuminance = 0x20000;

bool isDds(uint8_t const* p, std::size_t size) { return size >= 4 && std::memcmp(p, "DDS ", 4) == 0; }

// The Direct3D format of an uncompressed layout, or UNKNOWN for masks without a name.
D3DFORMAT maskFormat(DdsHeader const& h) {
    uint32_t r = h.masks[0], g = h.masks[1], b = h.masks[2], a = (h.pixelFlags & (kDdpfAlphaPixels | kDdpfAlpha)) ? h.masks[3] : 0;
    if (h.bitCount == 32 && r == 0xFF0000 && g == 0xFF00 && b == 0xFF) return a ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    if (h.bitCount == 32 && r == 0xFF && g == 0xFF00 && b == 0xFF0000) return a ? D3DFMT_A8B8G8R8 : D3DFMT_X8B8G8R8;
    if (h.bitCount == 24 && r == 0xFF0000 && g == 0xFF00 && b == 0xFF) return D3DFMT_R8G8B8;
    if (h.bitCount == 16 && r == 0xF800 && g == 0x7E0 && b == 0x1F) return D3DFMT_R5G6B5;
    if (h.bitCount == 16 && r == 0x7C00 && g == 0x3E0 && b == 0x1F) return a ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
    if (h.bitCount == 16 && r == 0xF00 && g == 0xF0 && b == 0xF) return a ? D3DFMT_A4R4G4B4 : D3DFMT_X4R4G4B4;
    if (h.bitCount == 8 && (h.pixelFlags & kDdpfLuminance)) return D3DFMT_L8;
    if (h.bitCount == 16 && (h.pixelFlags & kDdpfLuminance) && a) return D3DFMT_A8L8;
    if (h.bitCount == 8 && (h.pixelFlags & kDdpfAlpha)) return D3DFMT_A8;
    return D3DFMT_UNKNOWN;
}

bool readDdsHeader(uint8_t const* p, std::size_t size, DdsHeader& h, std::string& error) {
    if (size < kDdsDataOffset || le32(p + 4) != 124) {
        error = "DDS header is cut short";
        return false;
    }
    h.height = le32(p + 12);
    h.width = le32(p + 16);
    uint32_t flags = le32(p + 8);
    h.mipLevels = (flags & 0x20000) && le32(p + 28) ? le32(p + 28) : 1;
    h.pixelFlags = le32(p + 80);
    h.fourCC = le32(p + 84);
    h.bitCount = le32(p + 88);
    for (int i = 0; i < 4; ++i) h.masks[i] = le32(p + 92 + 4 * i);
    h.caps2 = le32(p + 112);
    if (!checkImageSize("DDS", h.width, h.height, error)) return false;
    if (h.pixelFlags & kDdpfFourCC) {
        h.format = static_cast<D3DFORMAT>(h.fourCC);
        if (!isDxt(h.format)) {
            error = "DDS pixel format is not supported (only DXT1 to DXT5 and plain RGB)";
            return false;
        }
    } else if (h.pixelFlags & (kDdpfRgb | kDdpfLuminance | kDdpfAlpha)) {
        h.format = maskFormat(h);
        if (h.format == D3DFMT_UNKNOWN) {
            error = "DDS pixel masks are not supported";
            return false;
        }
    } else {
        error = "DDS pixel format is missing";
        return false;
    }
    return true;
}

// The readers of the formats other than DDS; TGA has no signature and is tried last.
struct Codec {
    D3DXIMAGE_FILEFORMAT kind;
    bool (*matches)(uint8_t const*, std::size_t);
    bool (*readHeader)(uint8_t const*, std::size_t, ImageHeader&, std::string&);
    bool (*decode)(uint8_t const*, std::size_t, ImageHeader const&, Image&, std::string&);
};
constexpr Codec kCodecs[] = {
    {D3DXIFF_PNG, isPng, readPngHeader, decodePng},
    {D3DXIFF_JPG, isJpeg, readJpegHeader, decodeJpeg},
    {D3DXIFF_BMP, isBmp, readBmpHeader, decodeBmp},
    {D3DXIFF_TGA, nullptr, readTgaHeader, decodeTga},
};

Codec const& codecFor(uint8_t const* p, std::size_t size) {
    for (Codec const& c : kCodecs)
        if (!c.matches || c.matches(p, size)) return c;
    return kCodecs[std::size(kCodecs) - 1];
}

bool codecInfo(Codec const& codec, uint8_t const* p, std::size_t size, ImageHeader& header, D3DXIMAGE_INFO& info,
               std::string& error) {
    if (!codec.readHeader(p, size, header, error)) return false;
    info.Width = header.width;
    info.Height = header.height;
    info.Depth = 1;
    info.MipLevels = 1;
    info.ResourceType = D3DRTYPE_TEXTURE;
    info.ImageFileFormat = codec.kind;
    bool rgb24 = codec.kind == D3DXIFF_BMP || codec.kind == D3DXIFF_TGA;
    info.Format = header.alpha ? D3DFMT_A8R8G8B8 : rgb24 ? D3DFMT_R8G8B8 : D3DFMT_X8R8G8B8;
    return true;
}

}  // namespace

bool imageInfo(void const* data, std::size_t size, D3DXIMAGE_INFO& info, std::string& error) {
    auto const* p = static_cast<uint8_t const*>(data);
    if (!p || size == 0) {
        error = "no image data";
        return false;
    }
    if (isDds(p, size)) {
        DdsHeader h;
        if (!readDdsHeader(p, size, h, error)) return false;
        info.Width = h.width;
        info.Height = h.height;
        info.Depth = 1;
        info.MipLevels = h.mipLevels;
        info.Format = h.format;
        info.ResourceType = (h.caps2 & 0x200) ? D3DRTYPE_CUBETEXTURE : (h.caps2 & 0x200000) ? D3DRTYPE_VOLUMETEXTURE
                                                                                          : D3DRTYPE_TEXTURE;
        info.ImageFileFormat = D3DXIFF_DDS;
        return true;
    }
    ImageHeader header;
    return codecInfo(codecFor(p, size), p, size, header, info, error);
}

bool decodeImage(void const* data, std::size_t size, Image& image, D3DXIMAGE_INFO& info, std::string& error) {
    auto const* p = static_cast<uint8_t const*>(data);
    if (!p || size == 0) {
        error = "no image data";
        return false;
    }
    if (isDds(p, size)) {
        DdsHeader h;
        if (!readDdsHeader(p, size, h, error) || !imageInfo(data, size, info, error)) return false;
        std::size_t pitch, rows;
        if (isDxt(h.format)) {
            pitch = ((h.width + 3) / 4) * (h.format == D3DFMT_DXT1 ? 8u : 16u);
            rows = (h.height + 3) / 4;
        } else {
            pitch = (static_cast<std::size_t>(h.width) * h.bitCount + 7) / 8;
            rows = h.height;
        }
        if (size - kDdsDataOffset < pitch * rows) {
            error = "DDS pixel data is cut short";
            return false;
        }
        image.width = h.width;
        image.height = h.height;
        if (!readPixels(h.format, p + kDdsDataOffset, static_cast<int>(pitch), h.width, h.height, image.argb)) {
            error = "DDS pixel format is not supported";
            return false;
        }
        return true;
    }
    Codec const& codec = codecFor(p, size);
    ImageHeader header;
    return codecInfo(codec, p, size, header, info, error) && codec.decode(p, size, header, image, error);
}

std::shared_ptr<Image const> decodeImageFile(void const* data, std::size_t size, D3DXIMAGE_INFO& info,
                                             std::string& error) {
    auto image = std::make_shared<Image>();
    if (!decodeImage(data, size, *image, info, error)) return nullptr;
    return image;
}

bool declaredImageSize(void const* head, std::size_t size, uint32_t& width, uint32_t& height) {
    auto const* p = static_cast<uint8_t const*>(head);
    return p && readPngSize(p, size, width, height);
}

bool checkImageSize(char const* kind, uint64_t width, uint64_t height, std::string& error) {
    if (width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide) return true;
    error = std::string(kind) + " size " + std::to_string(width) + "x" + std::to_string(height) + " is out of range";
    return false;
}

ImageNotes::ImageNotes() : outer_(tNotes) { tNotes = this; }

ImageNotes::~ImageNotes() { tNotes = outer_; }

void ImageNotes::note(std::string const& what) {
    if (!tNotes) {
        port::logLine(port::LogLevel::Warning, L"D3DX: " + port::fromUtf8(what));
        return;
    }
    std::vector<std::string>& each = tNotes->each_;
    // Header and pixels are read apart, and a header more than once: each says it once.
    for (std::string const& said : each)
        if (said.find(what) != std::string::npos) return;
    each.push_back(what);
}

std::string ImageNotes::text() const {
    std::string joined;
    for (std::string const& note : each_) joined += (joined.empty() ? "" : "; ") + note;
    return joined;
}

}  // namespace port::dx
