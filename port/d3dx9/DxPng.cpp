// PNG reading and writing through libpng's simplified interface, which keeps libpng's error jumps
// inside libpng. Pixels go straight into 0xAARRGGBB words (BGRA bytes on a little-endian machine).
#include "port/d3dx9/DxImageCodecs.h"

#include <png.h>

#include <bit>
#include <cstring>

namespace port::dx {

static_assert(std::endian::native == std::endian::little, "ARGB words are read and written as BGRA bytes");

namespace {

// Deflate expands at most this much, so a PNG smaller than its rows / this holds too few pixels.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr std::size_t kIhdrDepthOffset = 24;  // signature, chunk length and type, width, height

struct PngReader {
    png_image png{};
    PngReader() { png.version = PNG_IMAGE_VERSION; }
    ~PngReader() { png_image_free(&png); }
    PngReader(PngReader const&) = delete;
    PngReader& operator=(PngReader const&) = delete;
    bool begin(uint8_t const* data, std::size_t size, std::string& error) {
        if (png_image_begin_read_from_memory(&png, data, size)) return true;
        error = std::string("PNG: ") + png.message;
        return false;
    }
};

// Bytes of the filtered rows the file's deflate stream must produce (bit depth and colour type
// from IHDR, which libpng has checked by now).
uint64_t rawRowBytes(uint8_t const* data, UINT width, UINT height) {
    unsigned depth = data[kIhdrDepthOffset];
    unsigned channels = 1;
    switch (data[kIhdrDepthOffset + 1]) {
        case 2: channels = 3; break;  // RGB
        case 4: channels = 2; break;  // grey and alpha
        case 6: channels = 4; break;  // RGBA
        default: break;               // grey, palette
    }
    return static_cast<uint64_t>(height) * (1 + (static_cast<uint64_t>(width) * channels * depth + 7) / 8);
}

}  // namespace

bool isPng(uint8_t const* data, std::size_t size) { return size >= 8 && png_sig_cmp(data, 0, 8) == 0; }

bool readPngHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error) {
    PngReader reader;
    if (!reader.begin(data, size, error) || !checkImageSize("PNG", reader.png.width, reader.png.height, error))
        return false;
    if (size * kMaxDeflateRatio < rawRowBytes(data, reader.png.width, reader.png.height)) {
        error = "PNG pixel data is cut short";
        return false;
    }
    header.width = reader.png.width;
    header.height = reader.png.height;
    header.alpha = (reader.png.format & PNG_FORMAT_FLAG_ALPHA) != 0;  // alpha channel or tRNS
    return true;
}

bool decodePng(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error) {
    PngReader reader;
    if (!reader.begin(data, size, error)) return false;
    if (reader.png.width != header.width || reader.png.height != header.height) {
        error = "PNG size changed between reads";
        return false;
    }
    reader.png.format = PNG_FORMAT_BGRA;
    image.width = header.width;
    image.height = header.height;
    image.argb.assign(static_cast<std::size_t>(header.width) * header.height, 0);
    if (!png_image_finish_read(&reader.png, nullptr, image.argb.data(), 0, nullptr)) {
        error = std::string("PNG: ") + reader.png.message;
        image = Image{};
        return false;
    }
    return true;
}

bool encodePng(Image const& image, std::vector<unsigned char>& bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_BGRA;
    png_alloc_size_t length = 0;
    if (!png_image_write_get_memory_size(png, length, 0, image.argb.data(), 0, nullptr)) return false;
    bytes.resize(length);
    bool ok = png_image_write_to_memory(&png, bytes.data(), &length, 0, image.argb.data(), 0, nullptr) != 0;
    bytes.resize(ok ? length : 0);
    return ok;
}

}  // namespace port::dx
