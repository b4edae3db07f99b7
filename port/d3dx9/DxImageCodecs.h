// The image file formats behind decodeImage and encodeImage, one library each: PNG through libpng
// (DxPng.cpp), JPEG through libjpeg-turbo (DxJpeg.cpp), BMP through SDL and TGA through SDL2_image
// (DxBmpTga.cpp). DDS is read in DxImageFile.cpp. Every header reader checks the declared size
// against the bytes present, so a decoder never allocates for pixels the file does not hold.
#pragma once

#include "port/d3dx9/DxPixels.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace port::dx {

// Largest width or height of an image file we read.
constexpr UINT kMaxImageSide = 16384;

// What a header tells before any pixel is decoded.
struct ImageHeader {
    UINT width = 0;
    UINT height = 0;
    bool alpha = false;
};

// Header readers: false (reason in error) for data that is not the format, is damaged, declares a
// size outside 1..kMaxImageSide or holds fewer bytes than its pixels need.
// Decoders take the header their reader accepted and check the pixels they get against it.
bool isPng(uint8_t const* data, std::size_t size);
// The size in the IHDR chunk that starts the file, without reading on (declaredImageSize).
bool readPngSize(uint8_t const* data, std::size_t size, uint32_t& width, uint32_t& height);
bool readPngHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error);
bool decodePng(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error);
bool encodePng(Image const& image, std::vector<unsigned char>& bytes);

bool isJpeg(uint8_t const* data, std::size_t size);
bool readJpegHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error);
bool decodeJpeg(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error);
bool encodeJpeg(Image const& image, int quality, std::vector<unsigned char>& bytes);

bool isBmp(uint8_t const* data, std::size_t size);
bool readBmpHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error);
bool decodeBmp(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error);
bool encodeBmp(Image const& image, std::vector<unsigned char>& bytes);

// TGA has no signature: the header reader is also the test for the format.
bool readTgaHeader(uint8_t const* data, std::size_t size, ImageHeader& header, std::string& error);
bool decodeTga(uint8_t const* data, std::size_t size, ImageHeader const& header, Image& image, std::string& error);
bool encodeTga(Image const& image, std::vector<unsigned char>& bytes);

// True when both sides are within 1..kMaxImageSide; otherwise false with the reason in error.
bool checkImageSize(char const* kind, uint64_t width, uint64_t height, std::string& error);

// Little-endian fields of the image files' headers.
inline uint32_t le16(uint8_t const* p) { return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8); }
inline uint32_t le32(uint8_t const* p) { return le16(p) | (le16(p + 2) << 16); }

}  // namespace port::dx
