// BMP and TGA files. Pixels are decoded by SDL (BMP) and SDL2_image (TGA); both allocate the whole
// picture before they read it, so the headers are read here first and the file must hold every
// pixel they declare. Writing both formats is plain enough to do here: 32-bit with alpha.
#include "port/d3dx9/DxImageCodecs.h"

#include <SDL.h>
#include <SDL_image.h>

#include <climits>
#include <cstring>

namespace port::dx {

namespace {

constexpr std::size_t kBmpFileHeader = 14;
constexpr std::size_t kBmpCoreHeader = 12;   // the old OS/2 header with 16-bit sizes
constexpr std::size_t kBmpMasksOffset = 54;  // bit-field masks, inside or right after the info header
constexpr std::size_t kBmpV4Header = 108;
constexpr uint32_t kBmpRgb = 0, kBmpBitFields = 3;
constexpr std::size_t kTgaHeader = 18;
constexpr uint64_t kTgaMaxRunPixels = 128;  // one run-length packet covers at most this many pixels

void put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

bool cutShort(char const* kind, uint64_t needed, std::size_t size, std::string& error) {
    if (needed <= size) return false;
    error = std::string(kind) + " pixel data is cut short (" + std::to_string(size) + " of " + std::to_string(needed) +
            " bytes)";
    return true;
}

// Takes an SDL surface (freed here) into ARGB words, checked against the header that was read.
bool takeSurface(SDL_Surface* surface, char const* kind, ImageHeader const& header, Image& image, std::string& error) {
    if (!surface) {
        error = std::string(kind) + ": " + SDL_GetError();
        return false;
    }
    SDL_Surface* argb = nullptr;
    if (static_cast<UINT>(surface->w) == header.width && static_cast<UINT>(surface->h) == header.height)
        argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(surface);
    if (!argb) {
        error = std::string(kind) + ": the decoded picture does not match its header";
        return false;
    }
    image.width = header.width;
    image.height = header.height;
    image.argb.resize(static_cast<std::size_t>(header.width) * header.height);
    for (UINT y = 0; y < header.height; ++y)
        std::memcpy(image.argb.data() + std::size_t{y} * header.width,
                    static_cast<uint8_t const*>(argb->pixels) + std::size_t{y} * static_cast<std::size_t>(argb->pitch),
                    std::size_t{header.width} * 4);
    SDL_FreeSurface(argb);
    return true;
}

SDL_RWops* memoryOf(uint8_t const* data, std::size_t size) { return SDL_RWFromConstMem(data, static_cast<int>(size)); }

}  // namespace

bool isBmp(uint8_t const* data, std::size_t size) { return size >= 2 && data[0] == 'B' && data[1] == 'M'; }

bool readBmpHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error) {
    if (size < kBmpFileHeader + 4 || size > INT_MAX) {
        error = "BMP header is cut short";
        return false;
    }
    uint32_t const pixelOffset = le32(data + 10), infoSize = le32(data + 14);
    int64_t width = 0, height = 0;
    uint32_t bits = 0, compression = kBmpRgb, alphaMask = 0;
    bool const known = infoSize == kBmpCoreHeader || infoSize == 40 || infoSize == 52 || infoSize == 56 ||
                       infoSize == kBmpV4Header || infoSize == 124;
    if (!known || size < kBmpFileHeader + infoSize) {
        error = "BMP header is cut short or of an unknown kind";
        return false;
    }
    if (infoSize == kBmpCoreHeader) {
        width = le16(data + 18);
        height = le16(data + 20);
        bits = le16(data + 24);
    } else {
        width = static_cast<int32_t>(le32(data + 18));
        height = static_cast<int32_t>(le32(data + 22));  // negative: rows stored top-down
        bits = le16(data + 28);
        compression = le32(data + 30);
        if (infoSize >= 56) alphaMask = le32(data + kBmpMasksOffset + 12);
    }
    if (height < 0) height = -height;
    if (!checkImageSize("BMP", width < 0 ? 0 : width, height, error)) return false;
    bool const plain = compression == kBmpRgb && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
    bool const masked = compression == kBmpBitFields && (bits == 16 || bits == 32);
    if (!plain && !masked) {
        error = "BMP with " + std::to_string(bits) + " bits per pixel and compression " + std::to_string(compression) +
                " is not supported";
        return false;
    }
    uint64_t const pitch = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (cutShort("BMP", pitch * static_cast<uint64_t>(height) + pixelOffset, size, error)) return false;
    header.width = static_cast<UINT>(width);
    header.height = static_cast<UINT>(height);
    header.alpha = bits == 32 && (compression == kBmpRgb || alphaMask != 0);
    return true;
}

bool decodeBmp(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error) {
    return takeSurface(SDL_LoadBMP_RW(memoryOf(data, size), 1), "BMP", header, image, error);
}

bool readTgaHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error) {
    if (size < kTgaHeader || size > INT_MAX) {
        error = "not an image file of a known format";
        return false;
    }
    unsigned const mapType = data[1], type = data[2], mapBits = data[7], bits = data[16], descriptor = data[17];
    uint64_t const mapLength = le16(data + 5);
    unsigned const kind = type & 7;
    bool const rle = type & 8;
    bool const mapBitsOk = mapBits == 15 || mapBits == 16 || mapBits == 24 || mapBits == 32;
    bool ok = (type & ~0xBu) == 0 && kind >= 1 && kind <= 3 && mapType <= 1 && (mapType == 0 || mapBitsOk) &&
              (descriptor & 0xD0) == 0;  // no interleaving, rows run left to right
    if (kind == 1) ok = ok && mapType == 1 && bits == 8 && mapLength >= 1 && mapLength <= 256;
    if (kind == 2) ok = ok && (bits == 15 || bits == 16 || bits == 24 || bits == 32);
    if (kind == 3) ok = ok && bits == 8;
    if (!ok) {
        error = "not an image file of a known format";
        return false;
    }
    uint64_t const width = le16(data + 12), height = le16(data + 14);
    if (!checkImageSize("TGA", width, height, error)) return false;
    uint64_t const pixelBytes = (bits + 7) / 8, pixels = width * height;
    uint64_t const offset = kTgaHeader + data[0] + (mapType ? mapLength * ((mapBits + 7) / 8) : 0);
    uint64_t const needed = rle ? (pixels + kTgaMaxRunPixels - 1) / kTgaMaxRunPixels * (1 + pixelBytes) : pixels * pixelBytes;
    if (cutShort("TGA", offset + needed, size, error)) return false;
    header.width = static_cast<UINT>(width);
    header.height = static_cast<UINT>(height);
    header.alpha = kind == 2 && bits == 32;
    return true;
}

bool decodeTga(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error) {
    SDL_RWops* memory = memoryOf(data, size);
    SDL_Surface* surface = memory ? IMG_LoadTGA_RW(memory) : nullptr;
    if (memory) SDL_RWclose(memory);
    return takeSurface(surface, "TGA", header, image, error);
}

bool encodeBmp(Image const& image, std::vector<unsigned char>& bytes) {
    uint32_t const pixelBytes = image.width * image.height * 4, offset = kBmpFileHeader + kBmpV4Header;
    bytes.clear();
    bytes.push_back('B');
    bytes.push_back('M');
    for (uint32_t v : {offset + pixelBytes, 0u, offset, uint32_t{kBmpV4Header}, image.width, image.height}) put32(bytes, v);
    put16(bytes, 1);   // planes
    put16(bytes, 32);  // bits per pixel
    for (uint32_t v : {kBmpBitFields, pixelBytes, 2835u, 2835u, 0u, 0u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u,
                       0x73524742u /* sRGB */})
        put32(bytes, v);
    bytes.resize(offset, 0);  // colour space end points and gamma: unused with sRGB
    for (UINT y = image.height; y-- > 0;)  // bottom row first
        for (UINT x = 0; x < image.width; ++x) put32(bytes, image.argb[std::size_t{y} * image.width + x]);
    return true;
}

bool encodeTga(Image const& image, std::vector<unsigned char>& bytes) {
    if (image.width > 0xFFFF || image.height > 0xFFFF) return false;
    bytes.assign(kTgaHeader, 0);
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = static_cast<unsigned char>(image.width);
    bytes[13] = static_cast<unsigned char>(image.width >> 8);
    bytes[14] = static_cast<unsigned char>(image.height);
    bytes[15] = static_cast<unsigned char>(image.height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x28;  // 8 alpha bits, top row first
    for (uint32_t c : image.argb) put32(bytes, c);
    return true;
}

}  // namespace port::dx
