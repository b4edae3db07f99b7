// The drawing operations on the real device: a texture of distinct texels tiled, stretched,
// clamped, fitted and turned into its target as the draw modes say, compared pixel by pixel
// with the grid each mode should give; both batchers, engine and raw textures.
#include "tests/engine/render/RenderFixture.h"

#include <functional>
#include <utility>

#include "engine/render/D3DXSprite.h"
#include "engine/render/Texture2D.h"

namespace rendertest {
namespace {

// Texel (x, y) of the test textures: every texel its own colour.
uint32_t texel(unsigned x, unsigned y) { return 0xFF000000u | (x * 50 + 30) << 16 | (y * 50 + 30) << 8 | 0x40; }

std::vector<uint32_t> texels(unsigned width, unsigned height) {
    std::vector<uint32_t> out;
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) out.push_back(texel(x, y));
    return out;
}

class SpriteModeTest : public SpriteTest {
protected:
    // One batch around f.
    template <class F>
    void batch(F f) {
        clear();
        ASSERT_TRUE(sprite->Begin(D3DXSPRITE_ALPHABLEND, nullptr));
        f();
        sprite->End();
    }
};

TEST_F(SpriteModeTest, RepeatScaleClampAndStretchGiveTheirGridsInARectangle) {
    using Expected = uint32_t (*)(unsigned, unsigned);
    struct Case {
        unsigned width, height;  // of the texture, drawn whole
        Orvex::FRect target;
        Orvex::u8 modeX, modeY;
        unsigned x0, y0, x1, y1;  // where the grid lands
        Expected expected;
    } const cases[] = {
        // Repeat tiles at natural size with cut remainders; scale stretches over the target.
        {4, 4, {10, 10, 20, 16}, Orvex::SDP_REPEAT, Orvex::SDP_REPEAT, 10, 10, 20, 16,
         [](unsigned x, unsigned y) { return texel(x % 4, y % 4); }},
        {2, 2, {30, 10, 38, 22}, Orvex::SDP_SCALE, Orvex::SDP_SCALE, 30, 10, 38, 22,
         [](unsigned x, unsigned y) { return texel(x / 4, y / 6); }},
        // Clamp centres; stretch fits 8 x 8 keeping the aspect (scale 2, the slack below moved above).
        {4, 2, {50, 10, 60, 20}, Orvex::SDP_CLAMP, Orvex::SDP_CLAMP, 53, 14, 57, 16, texel},
        {4, 2, {50, 10, 58, 18}, Orvex::SDP_STRETCH, Orvex::SDP_STRETCH | Orvex::SDP_ALIGN_BACK, 50, 14, 58, 18,
         [](unsigned x, unsigned y) { return texel(x / 2, y / 2); }},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(&c - cases);
        IDirect3DTexture9* t = makeTexture(c.width, c.height, texels(c.width, c.height));
        RECT const source{0, 0, static_cast<LONG>(c.width), static_cast<LONG>(c.height)};
        batch([&] { sprite->drawInRectD3D(t, &source, c.target, c.modeX, c.modeY, 0xFFFFFFFF); });
        EXPECT_TRUE(matches(c.x0, c.y0, c.x1, c.y1, c.expected));
    }
}

TEST_F(SpriteModeTest, RepeatIntAndRepeatScaleThroughAPlacement) {
    IDirect3DTexture9* t = makeTexture(4, 4, texels(4, 4));
    RECT const source{0, 0, 4, 4};
    Orvex::SpriteRect const wide(D3DXVECTOR2(5, 40), D3DXVECTOR2(20, 8), 0.0f, D3DXVECTOR2(0, 0), 0);
    batch([&] { sprite->drawSpriteRectD3D(t, &source, wide, Orvex::SDP_REPEAT_INT, Orvex::SDP_REPEAT_INT, 0xFFFFFFFF); });
    EXPECT_TRUE(matches(5, 40, 25, 48, [](unsigned x, unsigned y) { return texel(x % 4, y % 4); }));
    // Tiled across (four tiles and a half), each tile stretched to twice the height.
    Orvex::SpriteRect const cut(D3DXVECTOR2(5, 40), D3DXVECTOR2(18, 8), 0.0f, D3DXVECTOR2(0, 0), 0);
    batch([&] { sprite->drawSpriteRectD3D(t, &source, cut, Orvex::SDP_REPEAT, Orvex::SDP_SCALE, 0xFFFFFFFF); });
    EXPECT_TRUE(matches(5, 40, 23, 48, [](unsigned x, unsigned y) { return texel(x % 4, y / 2); }));
    // No source: nothing drawn by the raw-texture form.
    batch([&] { sprite->drawSpriteRectD3D(t, nullptr, wide, Orvex::SDP_SCALE, Orvex::SDP_SCALE, 0xFFFFFFFF); });
    EXPECT_TRUE(matches(0, 0, 0, 0, [](unsigned, unsigned) { return 0u; }));
}

TEST_F(SpriteModeTest, EngineTextureTurnedAQuarterAboutItsCorner) {
    auto* texture = new Orvex::Texture2D(L"modes");
    ASSERT_TRUE(texture->create(4, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    IDirect3DTexture9* raw = *texture->getD3DTexture();
    ASSERT_NE(raw, nullptr);
    testsupport::fillTexture(raw, 4, 2, texel);
    // An 8 x 4 target at (40, 50) turned 90 degrees about its top-left corner: its X axis runs
    // down the screen, its Y axis to the left, so it covers x 36..40, y 50..58.
    Orvex::SpriteRect const turned(D3DXVECTOR2(40, 50), D3DXVECTOR2(8, 4), 90.0f, D3DXVECTOR2(0, 0), 0);
    batch([&] { sprite->drawSpriteRect(texture, nullptr, turned, Orvex::SDP_SCALE, Orvex::SDP_SCALE, 0xFFFFFFFF); });
    EXPECT_TRUE(matches(36, 50, 40, 58, [](unsigned x, unsigned y) { return texel(y / 2, (3 - x) / 2); }));
    // The same texture tiled at natural size into a rectangle, through the D3DX wrapper.
    Orvex::D3DXSprite d3dx;
    ASSERT_TRUE(d3dx.create());
    clear();
    ASSERT_TRUE(d3dx.Begin(D3DXSPRITE_ALPHABLEND, nullptr));
    d3dx.drawInRect(texture, nullptr, Orvex::FRect(60, 60, 66, 62), Orvex::SDP_REPEAT, Orvex::SDP_SCALE, 0xFFFFFFFF);
    d3dx.End();
    EXPECT_TRUE(matches(60, 60, 66, 62, [](unsigned x, unsigned y) { return texel(x % 4, y); }));
    // A null texture draws nothing.
    batch([&] { sprite->drawInRect(nullptr, nullptr, Orvex::FRect(0, 0, 10, 10), Orvex::SDP_SCALE, Orvex::SDP_SCALE,
                                   0xFFFFFFFF); });
    EXPECT_TRUE(matches(0, 0, 0, 0, [](unsigned, unsigned) { return 0u; }));
    texture->release();
}

// What a drawing reaches, as both batchers measure it: the box around its quads, past the target
// where a picture at natural size overhangs it; unknown once a 3D sprite is drawn.
TEST_F(SpriteModeTest, ReachIsTheBoxAroundWhatWasDrawn) {
    Orvex::D3DXSprite d3dx;
    ASSERT_TRUE(d3dx.create());
    IDirect3DTexture9* t = makeTexture(16, 8, texels(16, 8));
    RECT const whole{0, 0, 16, 8};
    struct Case {
        char const* what;
        std::function<void(Orvex::BaseSprite&)> draw;
        bool known;
        Orvex::FRect reach;
    } const cases[] = {
        {"nothing", [](Orvex::BaseSprite&) {}, true, {0, 0, 0, 0}},
        {"clamped: the 16x8 picture centred on a 4x4 target",
         [&](Orvex::BaseSprite& s) { s.drawInRectD3D(t, &whole, {50, 10, 54, 14}, Orvex::SDP_CLAMP, Orvex::SDP_CLAMP, ~0u); },
         true, {44, 8, 60, 16}},
        {"turned a quarter about its corner",
         [&](Orvex::BaseSprite& s) {
             Orvex::SpriteRect const turned(D3DXVECTOR2(40, 50), D3DXVECTOR2(8, 4), 90.0f, D3DXVECTOR2(0, 0), 0);
             s.drawSpriteRectD3D(t, &whole, turned, Orvex::SDP_SCALE, Orvex::SDP_SCALE, ~0u);
         },
         true, {36, 50, 40, 58}},
        {"a 3D sprite", [&](Orvex::BaseSprite& s) { s.drawSprite3D(t, &whole, nullptr, nullptr, nullptr, nullptr, ~0u); },
         false, {}},
    };
    for (Orvex::BaseSprite* s : {static_cast<Orvex::BaseSprite*>(sprite), static_cast<Orvex::BaseSprite*>(&d3dx)})
        for (Case const& c : cases) {
            SCOPED_TRACE(c.what);
            ASSERT_TRUE(s->Begin(D3DXSPRITE_ALPHABLEND, nullptr));
            s->startReach();
            c.draw(*s);
            Orvex::FRect reach;
            EXPECT_EQ(s->takeReach(reach), c.known);
            s->End();
            if (!c.known) continue;
            for (auto [have, want] : {std::pair{reach.left, c.reach.left}, {reach.top, c.reach.top},
                                      {reach.right, c.reach.right}, {reach.bottom, c.reach.bottom}})
                EXPECT_NEAR(have, want, 1e-3f);
        }
}

}  // namespace
}  // namespace rendertest
