// JPEG reading and writing through libjpeg-turbo. Its errors jump back (setjmp) into the function
// that started the work, whose frame holds only C structures past that point. A premature end of
// data, which libjpeg only warns about and fills with grey, is taken as a damaged file.
#include "port/d3dx9/DxImageCodecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace port::dx {

namespace {

// Each scan of a progressive file passes over every coefficient: bound the passes.
constexpr int kMaxJpegScans = 500;
// Every 8x8 block of every component costs at least one bit of entropy-coded data.
constexpr uint64_t kMinBitsPerBlock = 1;

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool cutShort;
    char message[JMSG_LENGTH_MAX];
};

JpegErrors& errorsOf(j_common_ptr info) { return *reinterpret_cast<JpegErrors*>(info->err); }

[[noreturn]] void failJpeg(j_common_ptr info) {
    info->err->format_message(info, errorsOf(info).message);
    std::longjmp(errorsOf(info).jump, 1);
}

// Warnings and trace messages stay quiet; only a premature end of data is remembered.
void noteJpegMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) errorsOf(info).cutShort = true;
}

void limitScans(j_common_ptr info) {
    if (!info->is_decompressor || reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxJpegScans) return;
    std::snprintf(errorsOf(info).message, JMSG_LENGTH_MAX, "more than %d scans", kMaxJpegScans);
    std::longjmp(errorsOf(info).jump, 1);
}

void setUpErrors(JpegErrors& errors) {
    std::memset(&errors, 0, sizeof errors);
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failJpeg;
    errors.manager.emit_message = noteJpegMessage;
}

// Why a read header cannot be decoded safely, or null.
char const* headerProblem(jpeg_decompress_struct const& info, std::size_t size) {
    if (info.arith_code) return "arithmetic-coded JPEG is not supported";
    uint64_t blocks = 0;
    for (int i = 0; i < info.num_components; ++i)
        blocks += static_cast<uint64_t>(info.comp_info[i].width_in_blocks) * info.comp_info[i].height_in_blocks;
    if (static_cast<uint64_t>(size) * 8 < blocks * kMinBitsPerBlock) return "JPEG pixel data is cut short";
    return nullptr;
}

// Reads the header and, with `image`, the pixels. C objects only in this frame: errors jump here.
bool readJpeg(uint8_t const* data, std::size_t size, ImageHeader& header, Image* image, std::string& error) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    jpeg_progress_mgr progress{};
    std::memset(&info, 0, sizeof info);
    setUpErrors(errors);
    progress.progress_monitor = limitScans;
    info.err = &errors.manager;
    char const* problem = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        error = std::string("JPEG: ") + errors.message;
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    problem = headerProblem(info, size);
    if (!problem && !checkImageSize("JPEG", info.image_width, info.image_height, error)) problem = "";
    if (!problem && image) {
        info.out_color_space = JCS_EXT_BGRA;  // 0xAARRGGBB words, alpha 0xFF
        jpeg_start_decompress(&info);
        if (info.output_width != info.image_width || info.output_height != info.image_height ||
            info.output_components != 4)
            problem = "JPEG output does not match its header";
    }
    if (!problem && image && !errors.cutShort) {
        image->width = info.output_width;
        image->height = info.output_height;
        zeroPixels(image->argb, static_cast<std::size_t>(info.output_width) * info.output_height);
        while (!errors.cutShort && info.output_scanline < info.output_height) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(image->argb.data() + std::size_t{info.output_scanline} * info.output_width);
            jpeg_read_scanlines(&info, &row, 1);
        }
        if (!errors.cutShort) jpeg_finish_decompress(&info);
    }
    if (!problem && errors.cutShort) problem = "JPEG pixel data is cut short";
    if (!problem) {
        header.width = info.image_width;
        header.height = info.image_height;
        header.alpha = false;
    }
    jpeg_destroy_decompress(&info);
    if (problem && *problem) error = problem;
    return problem == nullptr;
}

}  // namespace

bool isJpeg(uint8_t const* data, std::size_t size) { return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF; }

bool readJpegHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error) {
    return readJpeg(data, size, header, nullptr, error);
}

bool decodeJpeg(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error) {
    ImageHeader read;
    if (!readJpeg(data, size, read, &image, error)) {
        image = Image{};
        return false;
    }
    if (read.width != header.width || read.height != header.height) {
        error = "JPEG size changed between reads";
        image = Image{};
        return false;
    }
    return true;
}

bool encodeJpeg(Image const& image, int quality, std::vector<unsigned char>& bytes) {
    jpeg_compress_struct info;
    JpegErrors errors;
    unsigned char* out = nullptr;
    unsigned long length = 0;
    std::memset(&info, 0, sizeof info);
    setUpErrors(errors);
    info.err = &errors.manager;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(out);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out, &length);
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto const* pixels = image.argb.data() + std::size_t{info.next_scanline} * image.width;
        JSAMPROW row = const_cast<JSAMPROW>(reinterpret_cast<JSAMPLE const*>(pixels));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    bytes.assign(out, out + length);
    std::free(out);
    return true;
}

}  // namespace port::dx
