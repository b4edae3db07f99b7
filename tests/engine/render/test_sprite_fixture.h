// The sprite tests' device: the render tests' device at 128x96, the game's "Sprite" effect
// (data/FX/sprite.fx, point-filtered so scaled pieces map texels exactly) or a copy of it with
// another "TEX_COUNT", an engine batcher, textures of one colour or of a texel grid released
// after the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/render/Effect.h"
#include "engine/render/Sprite.h"
#include "tests/engine/render/RenderFixture.h"

namespace spritetest {

using Orvex::kSpriteAlphaTest;
using Orvex::kSpriteCulling;
using Orvex::kSpriteImmediate;
using Orvex::u32;

class SpriteTest : public rendertest::RenderFixture {
protected:
    static constexpr unsigned kWidth = 128;
    static constexpr unsigned kHeight = 96;
    static constexpr uint32_t kClear = 0xFF101010;

    SpriteTest() : RenderFixture(kWidth, kHeight) {}
    void SetUp() override;
    void TearDown() override;

    // The sprite effect from data/FX/sprite.fx, its "TEX_COUNT" replaced when texCount is not
    // empty; released by TearDown.
    Orvex::Effect* loadSpriteEffect(std::string const& texCount = "", bool pointFilter = true);

    void clear(uint32_t colour = kClear) const { RenderFixture::clear(colour); }
    // A managed A8R8G8B8 texture: one colour, or texels row by row; released by TearDown.
    IDirect3DTexture9* makeTexture(unsigned width, unsigned height, std::vector<uint32_t> const& texels);
    // Pixels of the rectangle [x0, x1) x [y0, y1) that differ from colour (up to 6 reported).
    ::testing::AssertionResult filled(std::vector<uint32_t> const& pixels, unsigned x0, unsigned y0, unsigned x1,
                                      unsigned y1, uint32_t colour) const;
    // Every pixel of the target read back: expected(x - x0, y - y0) inside the rectangle, the
    // clear colour elsewhere.
    ::testing::AssertionResult matches(unsigned x0, unsigned y0, unsigned x1, unsigned y1,
                                       std::function<uint32_t(unsigned, unsigned)> const& expected) const;
    // Places a sprite of its source size at (x, y).
    bool drawAt(IDirect3DTexture9* texture, float x, float y, uint32_t colour = 0xFFFFFFFF, RECT const* source = nullptr);

    Orvex::Sprite* sprite = nullptr;
    Orvex::Effect* effect = nullptr;

private:
    std::vector<IDirect3DTexture9*> textures_;
    std::vector<Orvex::Effect*> effects_;
};

}  // namespace spritetest
