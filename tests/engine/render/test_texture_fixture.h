// Textures on the render tests' device: small image files written by the tests themselves (BMP
// as raw bytes, PNG through the port's image encoder), the engine log searched for
// failure lines, pictures drawn with an ID3DXSprite.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/render/Texture2D.h"
#include "tests/engine/render/RenderFixture.h"

namespace texturetest {

// A pixel source: 0xAARRGGBB at (x, y).
using PixelFn = std::function<uint32_t(unsigned, unsigned)>;

// 24-bit bottom-up BMP (alpha dropped).
std::string bmp24(unsigned width, unsigned height, PixelFn const& pixel);
// A BMP header claiming a size with no pixels behind it.
std::string bmpHeaderOnly(unsigned width, unsigned height);
// RGBA PNG.
std::string png(unsigned width, unsigned height, PixelFn const& pixel);

// The picture most tests use: a 2x2 colour checker per 4x4 block, alpha 0 in the top-left block.
uint32_t quadrants(unsigned x, unsigned y);

// Holds the creation reference of a texture and releases it at scope end.
struct TextureRef {
    Orvex::Texture2D* texture;
    explicit TextureRef(Orvex::Texture2D* t = new Orvex::Texture2D()) : texture(t) {}
    ~TextureRef() {
        if (texture) texture->release();
    }
    TextureRef(TextureRef const&) = delete;
    TextureRef& operator=(TextureRef const&) = delete;
    Orvex::Texture2D* operator->() const { return texture; }
    Orvex::Texture2D& operator*() const { return *texture; }
};

class TextureTest : public rendertest::RenderFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // True when one of the engine log's recent lines contains text.
    static bool logged(std::wstring const& text);

    // One frame: clear to black, draw the texture at (x, y) through an ID3DXSprite, present.
    void drawFrame(IDirect3DTexture9* texture, float x, float y);
    // One texel, or level 0, through readPixel as packed colours (0xDEADBEEF where it fails).
    static uint32_t pixelOf(Orvex::Texture2D& texture, unsigned x, unsigned y);
    static std::vector<uint32_t> readAll(Orvex::Texture2D& texture);
};

}  // namespace texturetest
