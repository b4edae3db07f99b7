// PNG reading and writing through libpng. Reading feeds the file to libpng's progressive reader:
// it reads the chunks pictures use (the header, palette, transparency and the colour chunks that
// set the gamma), skips every other chunk unread (text chunks are not inflated: 300 compressed
// ones hold 2.4 GB), and inflates the pixel data only up to the rows the header gives (a 1 x 1
// header can hide a gigabyte behind its one row). Pixels come out as libpng's simplified reader
// gives them for PNG_FORMAT_BGRA, the same transformations in the same order, straight into
// 0xAARRGGBB words (BGRA bytes on a little-endian machine). Writing uses the simplified writer.
//
// libpng reports errors by a long jump back to the one setjmp of runPng, through libpng's frames
// and our callbacks; neither holds anything that needs destroying at that point.
#include "port/d3dx9/DxImageCodecs.h"
#include "port/d3dx9/d3dx9_port.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>

namespace port::dx {

static_assert(std::endian::native == std::endian::little, "ARGB words are read and written as BGRA bytes");

namespace {

// Deflate expands at most this much, so a PNG smaller than its rows / this holds too few pixels.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr std::size_t kSignatureBytes = 8;
constexpr std::size_t kIhdrWidthOffset = kSignatureBytes + 8;  // after the chunk's length and type
constexpr std::size_t kIhdrDepthOffset = kIhdrWidthOffset + 8;  // after width and height
constexpr uint32_t kIhdrLength = 13;
// Ancillary chunks besides the transparency that libpng reads for the colours (as its simplified
// reader does, less the compressed colour profile it does not use); the rest is skipped unread.
constexpr png_byte kColourChunks[] = "bKGD\0cHRM\0gAMA\0sBIT\0sRGB";
constexpr int kColourChunkCount = 5;
// Bytes a chunk libpng keeps may take (the largest, a palette, takes 768).
constexpr png_alloc_size_t kMaxChunkBytes = 64 * 1024;
// Skipped chunks of more bytes than this make a note: ordinary files carry a few small ones.
constexpr uint64_t kNotedSkippedBytes = 64 * 1024;

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

uint32_t be32(uint8_t const* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// A note of the chunks libpng skips unread when they are many bytes (walked here: libpng skips
// them without a word).
void noteSkippedChunks(uint8_t const* data, std::size_t size) {
    static constexpr char const* kRead[] = {"IHDR", "PLTE", "IDAT", "IEND", "tRNS",
                                            "bKGD", "cHRM", "gAMA", "sBIT", "sRGB"};
    uint64_t bytes = 0;
    uint64_t chunks = 0;
    for (std::size_t at = kSignatureBytes; size - at >= 12;) {
        uint64_t const length = be32(data + at);
        char const* type = reinterpret_cast<char const*>(data + at + 4);
        if (std::memcmp(type, "IEND", 4) == 0 || length > size - at - 12) break;
        bool read = false;
        for (char const* name : kRead) read = read || std::memcmp(type, name, 4) == 0;
        if (!read) {
            bytes += length;
            ++chunks;
        }
        at += 12 + length;
    }
    if (bytes > kNotedSkippedBytes)
        ImageNotes::note("PNG: " + std::to_string(chunks) + " chunks of " + std::to_string(bytes) +
                         " bytes that pictures do not use were skipped");
}

// One read of a file by libpng's progressive reader: up to the header, or through the rows.
struct PngRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    bool decode = false;
    // Set by the callbacks.
    bool headerRead = false;
    bool rowsDone = false;
    UINT width = 0, height = 0;
    bool alpha = false;
    int lastPass = 0;
    // decode: the size the header read gave and width x height words to fill.
    UINT expectedWidth = 0, expectedHeight = 0;
    uint32_t* pixels = nullptr;
    std::string error;
    std::string afterRows;  // libpng's first word on what follows the rows

    PngRead() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, onError, onWarning);
        if (png) info = png_create_info_struct(png);
    }
    ~PngRead() { png_destroy_read_struct(&png, &info, nullptr); }
    PngRead(PngRead const&) = delete;
    PngRead& operator=(PngRead const&) = delete;

    static PngRead& of(png_structp png) { return *static_cast<PngRead*>(png_get_error_ptr(png)); }

    static void onError(png_structp png, png_const_charp message) {
        PngRead& read = of(png);
        if (read.error.empty()) read.error.assign("PNG: ").append(message);
        if (read.rowsDone && read.afterRows.empty()) read.afterRows.assign(message);
        png_longjmp(png, 1);
    }
    static void onWarning(png_structp png, png_const_charp message) {
        PngRead& read = of(png);
        if (read.rowsDone && read.afterRows.empty()) read.afterRows.assign(message);
    }

    static void onHeader(png_structp png, png_infop info) {
        PngRead& read = of(png);
        read.headerRead = true;
        read.width = png_get_image_width(png, info);
        read.height = png_get_image_height(png, info);
        int const type = png_get_color_type(png, info);
        bool const trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
        read.alpha = (type & PNG_COLOR_MASK_ALPHA) != 0 || trns;
        if (!read.decode) {
            png_process_data_pause(png, 0);
            return;
        }
        if (read.width != read.expectedWidth || read.height != read.expectedHeight)
            png_error(png, "size changed between reads");
        // libpng's simplified reader for PNG_FORMAT_BGRA, in its order: palette, low grey depths
        // and tRNS expanded; grey to RGB; file gamma sRGB unless the file says (linear for 16
        // bits); 16 bits scaled to 8; opaque alpha added; output gamma sRGB; blue first.
        png_set_expand(png);
        if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
        bool const sixteen = png_get_bit_depth(png, info) == 16;
        png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, sixteen ? PNG_GAMMA_LINEAR : PNG_DEFAULT_sRGB);
        if (sixteen) png_set_scale_16(png);
        if (!read.alpha) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
        png_set_bgr(png);
        read.lastPass = png_set_interlace_handling(png) - 1;
        png_read_update_info(png, info);
        if (png_get_rowbytes(png, info) != static_cast<std::size_t>(read.width) * 4)
            png_error(png, "rows are not of four bytes a pixel");
    }

    static void onRow(png_structp png, png_bytep row, png_uint_32 y, int pass) {
        PngRead& read = of(png);
        if (y >= read.height || !read.pixels) return;
        png_progressive_combine_row(png, reinterpret_cast<png_bytep>(read.pixels + std::size_t{y} * read.width), row);
        if (pass == read.lastPass && y + 1 == read.height) read.rowsDone = true;
    }
};

// Feeds the file to libpng. False with the error once libpng stops with one before it is done
// with what was asked (an error past the rows costs the picture nothing).
bool runPng(PngRead& read, uint8_t const* data, std::size_t size) {
    if (setjmp(png_jmpbuf(read.png))) return read.decode ? read.rowsDone : read.headerRead;
    png_set_user_limits(read.png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(read.png, kMaxChunkBytes);
    png_set_benign_errors(read.png, 1);
    png_set_keep_unknown_chunks(read.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(read.png, PNG_HANDLE_CHUNK_AS_DEFAULT, kColourChunks, kColourChunkCount);
    png_set_progressive_read_fn(read.png, &read, PngRead::onHeader, read.decode ? PngRead::onRow : nullptr,
                                nullptr);
    png_process_data(read.png, read.info, const_cast<png_bytep>(data), size);
    return true;
}

// Reads up to the header (decode false) or through the rows into pixels; false with the reason.
bool readPng(PngRead& read, uint8_t const* data, std::size_t size, std::string& error) {
    if (!read.info) {
        error = "PNG: no memory for the reader";
        return false;
    }
    if (!runPng(read, data, size)) {
        error = read.error;
        return false;
    }
    if (!read.headerRead || (read.decode && !read.rowsDone)) {
        error = read.headerRead ? "PNG pixel data is cut short" : "PNG is cut short before its pixel data";
        return false;
    }
    return true;
}

}  // namespace

bool isPng(uint8_t const* data, std::size_t size) {
    return size >= kSignatureBytes && png_sig_cmp(data, 0, kSignatureBytes) == 0;
}

bool readPngSize(uint8_t const* data, std::size_t size, uint32_t& width, uint32_t& height) {
    // The PNG format puts IHDR first; libpng refuses a file that does not.
    if (size < kIhdrDepthOffset || !isPng(data, size) || be32(data + kSignatureBytes) != kIhdrLength ||
        std::memcmp(data + kSignatureBytes + 4, "IHDR", 4) != 0)
        return false;
    width = be32(data + kIhdrWidthOffset);
    height = be32(data + kIhdrWidthOffset + 4);
    return true;
}

bool readPngHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error) {
    PngRead read;
    if (!readPng(read, data, size, error) || !checkImageSize("PNG", read.width, read.height, error)) return false;
    if (size * kMaxDeflateRatio < rawRowBytes(data, read.width, read.height)) {
        error = "PNG pixel data is cut short";
        return false;
    }
    noteSkippedChunks(data, size);
    header.width = read.width;
    header.height = read.height;
    header.alpha = read.alpha;  // alpha channel or tRNS
    return true;
}

bool decodePng(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error) {
    image.width = header.width;
    image.height = header.height;
    zeroPixels(image.argb, static_cast<std::size_t>(header.width) * header.height);
    PngRead read;
    read.decode = true;
    read.expectedWidth = header.width;
    read.expectedHeight = header.height;
    read.pixels = image.argb.data();
    if (!readPng(read, data, size, error)) {
        image = Image{};
        return false;
    }
    // The skipped chunks were noted by the header read, which every decode follows.
    if (!read.afterRows.empty())
        ImageNotes::note("PNG: what follows the " + std::to_string(header.width) + "x" + std::to_string(header.height) +
                         " pixels of its header was not read (" + read.afterRows + ")");
    return true;
}

bool encodePng(Image const& image, std::vector<unsigned char>& bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_BGRA;
    // Screenshots are written on the game's thread: the fastest compression, about twice the
    // bytes in a fraction of the time.
    png.flags = PNG_IMAGE_FLAG_FAST;
    png_alloc_size_t length = 0;
    if (!png_image_write_get_memory_size(png, length, 0, image.argb.data(), 0, nullptr)) return false;
    bytes.resize(length);
    bool ok = png_image_write_to_memory(&png, bytes.data(), &length, 0, image.argb.data(), 0, nullptr) != 0;
    bytes.resize(ok ? length : 0);
    return ok;
}

}  // namespace port::dx
