// The render tests' device: the device object's own device (Orvex::D3DInterface), opened
// headless at the fixture's size for each test and shut down after it together with what was
// made on it (effects, animation registry, texture lists, the fixture's textures). Test files
// (images written by our own code, effect sources) go to a temporary folder; the texture
// settings and clock, the user folder and the captured port log start fresh for each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/render/Effect.h"
#include "engine/render/EffectManager.h"
#include "engine/render/Sprite.h"
#include "engine/render/Texture2D.h"
#include "port/d3d9/d3d9.h"
#include "tests/support/gl/DeviceFixture.h"
#include "tests/support/gl/FlatEffect.h"

namespace Orvex {
class RenderManager;
}

namespace rendertest {

using Orvex::kSpriteAlphaTest;
using Orvex::kSpriteCulling;
using Orvex::kSpriteImmediate;
using Orvex::u32;
using testsupport::colorNear;
using testsupport::flatEffect;

// <EFFECT NAME="name"attributes><FILE FILENAME="path" />extra</EFFECT>
std::wstring effectDefinition(std::wstring const& name, std::wstring const& path, std::wstring const& extra = L"",
                              std::wstring const& attributes = L"");
// A property tree parsed from text; a parse failure fails the test.
Orvex::XMLNode parse(std::wstring const& text);

// A pixel source: 0xAARRGGBB at (x, y).
using PixelFn = std::function<uint32_t(unsigned, unsigned)>;
// 24-bit bottom-up BMP (alpha dropped).
std::string bmp24(unsigned width, unsigned height, PixelFn const& pixel);
// A BMP header claiming a size with no pixels behind it.
std::string bmpHeaderOnly(unsigned width, unsigned height);
// RGBA PNG.
std::string png(unsigned width, unsigned height, PixelFn const& pixel);
// The picture most texture tests use: a 2x2 colour checker per 4x4 block, alpha 0 in the top-left block.
uint32_t quadrants(unsigned x, unsigned y);

// Fills a texture's level 0 (a lockable 32-bit texture of that size) with one colour, or with
// texels row by row.
void fillTexels(IDirect3DTexture9* texture, unsigned width, unsigned height, std::vector<uint32_t> const& texels);

// One texel, or level 0, through readPixel as packed colours (0xDEADBEEF where it fails).
uint32_t pixelOf(Orvex::Texture2D& texture, unsigned x, unsigned y);
std::vector<uint32_t> readAll(Orvex::Texture2D& texture);

// How many of the engine log's recent lines contain text (and also `also`, when given: a line of
// this test's file that says more, where the more alone could match an earlier test's line).
std::size_t loggedCount(std::wstring const& text, std::wstring const& also = {});
// r against (left, top, right, bottom).
::testing::AssertionResult rectIs(RECT const& r, LONG left, LONG top, LONG right, LONG bottom);
// A placement of that size at (x, y): no turn, centre at the top-left corner.
Orvex::SpriteRect placement(float x, float y, float w, float h);
// A console line run by a render manager: its reply, its help text when arguments are missing,
// "?" for a command it does not have.
std::wstring runCommand(Orvex::RenderManager& manager, std::wstring const& line);

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

// A 2D or 3D vertex of the sprite layout (48 bytes).
struct SpriteVertex {
    float x, y, z, w;
    uint32_t diffuse;
    float u, v;
    float slot;
    float centre[4];
};
static_assert(sizeof(SpriteVertex) == 48);

class RenderFixture : public ::testing::Test {
protected:
    static constexpr unsigned kWidth = 64;
    static constexpr unsigned kHeight = 48;

    // The back buffer's size (X8R8G8B8, windowed) and the colour clear() and matches() assume.
    explicit RenderFixture(unsigned width = kWidth, unsigned height = kHeight, uint32_t background = 0xFF000000)
        : width_(width), height_(height), background_(background) {}

    void SetUp() override;
    void TearDown() override;

    IDirect3DDevice9* device() const;
    // Clears target, depth and stencil.
    void clear() const { clear(background_); }
    void clear(uint32_t colour) const;
    // The render target (A8R8G8B8, rows top first; the back buffer reads opaque).
    std::vector<uint32_t> readTarget() const { return testsupport::readRenderTarget(device()); }
    uint32_t at(std::vector<uint32_t> const& pixels, unsigned x, unsigned y) const {
        return pixels[static_cast<std::size_t>(y) * width_ + x];
    }
    // Pixels of the rectangle [x0, x1) x [y0, y1) that differ from colour (up to 6 reported).
    ::testing::AssertionResult filled(std::vector<uint32_t> const& pixels, unsigned x0, unsigned y0, unsigned x1,
                                      unsigned y1, uint32_t colour) const;
    // Every pixel of the target read back: expected(x - x0, y - y0) inside the rectangle, the
    // background elsewhere.
    ::testing::AssertionResult matches(unsigned x0, unsigned y0, unsigned x1, unsigned y1,
                                       std::function<uint32_t(unsigned, unsigned)> const& expected) const;
    // A managed A8R8G8B8 texture: one colour, or texels row by row; released by TearDown.
    IDirect3DTexture9* makeTexture(unsigned width, unsigned height, std::vector<uint32_t> const& texels);

    // Writes bytes to a file below the temporary folder; returns its Windows-style path.
    std::wstring write(std::string const& relative, std::string const& bytes) const;
    // The Windows-style path of a file below the temporary folder.
    std::wstring pathOf(std::string const& relative) const;
    // An effect definition of a file below the temporary folder.
    std::wstring definition(std::wstring const& name, std::string const& file, std::wstring const& extra = L"",
                            std::wstring const& attributes = L"") const {
        return effectDefinition(name, pathOf(file), extra, attributes);
    }

    // True when one of the engine log's recent lines contains text.
    static bool logged(std::wstring const& text) { return loggedCount(text) > 0; }
    // Message boxes logged since the last call (headless they go to the port log).
    std::vector<std::wstring> takeBoxes();

    // Draws each quad (4 vertices: top-left, top-right, bottom-left, bottom-right) with every pass
    // of the technique, through the FVF given.
    void drawQuads(ID3DXEffect& effect, char const* technique, std::vector<SpriteVertex> const& vertices,
                   DWORD fvf) const;

    std::filesystem::path folder;
    std::vector<std::wstring> logLines;
    Orvex::EffectManager& effectManager = Orvex::EffectManager::getInstance();

private:
    unsigned width_;
    unsigned height_;
    uint32_t background_;
    std::vector<IDirect3DTexture9*> textures_;
};

// The engine batcher at 128x96 with the game's "Sprite" effect (data/FX/sprite.fx, point-filtered
// so scaled pieces map texels exactly) or a copy of it with another "TEX_COUNT".
class SpriteTest : public RenderFixture {
protected:
    static constexpr unsigned kWidth = 128;
    static constexpr unsigned kHeight = 96;
    static constexpr uint32_t kClear = 0xFF101010;

    SpriteTest() : RenderFixture(kWidth, kHeight, kClear) {}
    void SetUp() override;
    void TearDown() override;

    // The sprite effect with SPRITE_TEX_COUNT texCount when not empty (sprite.fx's own default,
    // eight slots, otherwise); released by TearDown.
    Orvex::Effect* loadSpriteEffect(std::string const& texCount = "", bool pointFilter = true);
    // Places a sprite of its source size at (x, y).
    bool drawAt(IDirect3DTexture9* texture, float x, float y, uint32_t colour = 0xFFFFFFFF, RECT const* source = nullptr);

    Orvex::Sprite* sprite = nullptr;
    Orvex::Effect* effect = nullptr;

private:
    std::vector<Orvex::Effect*> effects_;
};

}  // namespace rendertest
