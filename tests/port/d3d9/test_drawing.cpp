// Pixels drawn through the device and read back: texel-exact quads, blending, alpha test,
// nested stencil clipping, render-target textures, locked rectangles and texture formats.
#include "tests/support/gl/DeviceFixture.h"

#include <cstring>
#include <utility>

namespace {

using testsupport::kRgb;

uint32_t texel(UINT x, UINT y) { return 0xFF000000u | (x * 16u) << 16 | (y * 16u) << 8 | ((x + y) * 8u); }

class DrawingTest : public testsupport::DrawingFixture {};

// Point sampling at integer coordinates, and linear sampling moved by half a pixel (D3D9's pixel
// centres are at integers), both copy texels one to one.
TEST_F(DrawingTest, QuadAtIntegerCoordinatesCopiesTexelsExactly) {
    IDirect3DTexture9* texture = makeTexture(16, 16, texel);
    ASSERT_NE(texture, nullptr);
    device->SetTexture(0, texture);
    for (auto [filter, offset] : {std::pair(D3DTEXF_POINT, 0.0f), std::pair(D3DTEXF_LINEAR, -0.5f)}) {
        SCOPED_TRACE(filter);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
        drawQuad(8 + offset, 4 + offset, 24 + offset, 20 + offset, 0xFFFFFFFF);
        auto pixels = readTarget();
        for (int y = 0; y < static_cast<int>(kHeight); ++y)
            for (int x = 0; x < static_cast<int>(kWidth); ++x) {
                bool inside = x >= 8 && x < 24 && y >= 4 && y < 20;
                uint32_t expected = inside ? texel(static_cast<UINT>(x - 8), static_cast<UINT>(y - 4)) : 0xFF102030;
                ASSERT_EQ(pixel(pixels, x, y) & kRgb, expected & kRgb) << "at " << x << "," << y;
            }
    }
    device->SetTexture(0, nullptr);
    texture->Release();
}

TEST_F(DrawingTest, TextureTimesDiffuseAndSelectArg) {
    IDirect3DTexture9* texture = makeTexture(1, 1, [](UINT, UINT) { return 0xFF80FF40u; });
    device->SetTexture(0, texture);
    drawQuad(0, 0, 8, 8, 0xFFFF8000);  // modulate (default stage 0)
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    drawQuad(8, 0, 16, 8, 0xFF123456);
    device->SetTexture(0, nullptr);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    drawQuad(16, 0, 24, 8, 0xFF654321);  // no texture: the diffuse colour
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 2, 2) & kRgb, 0x808000u);
    EXPECT_EQ(pixel(pixels, 10, 2) & kRgb, 0x123456u);
    EXPECT_EQ(pixel(pixels, 18, 2) & kRgb, 0x654321u);
    texture->Release();
}

TEST_F(DrawingTest, AlphaBlendingAndAlphaTest) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    drawQuad(0, 0, 16, 16, 0x80FF0000);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    drawQuad(16, 0, 32, 16, 0xFF00FF00);  // additive
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetRenderState(D3DRS_ALPHAREF, 0x80);
    drawQuad(0, 16, 8, 24, 0x80FFFFFF);   // equal: dropped
    drawQuad(8, 16, 16, 24, 0x81FFFFFF);  // greater: drawn
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    drawQuad(16, 16, 24, 24, 0x00FFFFFF);  // test off: drawn whatever the alpha
    auto pixels = readTarget();
    uint32_t mixed = pixel(pixels, 4, 4);
    EXPECT_NEAR(static_cast<int>((mixed >> 16) & 0xFF), 128, 1);
    EXPECT_EQ((mixed >> 8) & 0xFF, 0u);
    EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 127, 1);
    EXPECT_EQ(pixel(pixels, 20, 4) & kRgb, 0x00FFFFu);
    EXPECT_EQ(pixel(pixels, 40, 4) & kRgb, 0x0000FFu);
    EXPECT_EQ(pixel(pixels, 4, 20) & kRgb, 0x0000FFu);
    EXPECT_EQ(pixel(pixels, 12, 20) & kRgb, 0xFFFFFFu);
    EXPECT_EQ(pixel(pixels, 20, 20) & kRgb, 0xFFFFFFu);
}

// The GUI's clipping: bit 0 set everywhere, each clipping window writes its shape into the next
// bit where its parent's bit is set, and content is drawn where the innermost bit is set.
TEST_F(DrawingTest, StencilReplaceThenEqualClipsNestedTwice) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 1);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    auto writeShape = [&](int parentBit, int bit, float x0, float y0, float x1, float y1) {
        device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
        device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
        device->SetRenderState(D3DRS_STENCILREF, 0xFFFFFFFF);
        device->SetRenderState(D3DRS_STENCILMASK, 1u << parentBit);
        device->SetRenderState(D3DRS_STENCILWRITEMASK, 1u << bit);
        device->SetRenderState(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
        device->SetRenderState(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
        device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE);
        device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
        drawQuad(x0, y0, x1, y1, 0xFFFFFFFF);
    };
    writeShape(0, 1, 0, 0, 32, 48);   // outer window: left half
    writeShape(1, 2, 16, 8, 48, 24);  // inner window, clipped by the outer one: x 16..32, y 8..24
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    device->SetRenderState(D3DRS_STENCILMASK, 1u << 2);
    device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    drawQuad(0, 0, 64, 48, 0xFFFF0000);  // content of the inner window
    auto pixels = readTarget();
    for (int y = 0; y < static_cast<int>(kHeight); ++y)
        for (int x = 0; x < static_cast<int>(kWidth); ++x) {
            bool visible = x >= 16 && x < 32 && y >= 8 && y < 24;
            ASSERT_EQ(pixel(pixels, x, y) & kRgb, visible ? 0xFF0000u : 0u) << "at " << x << "," << y;
        }
}

TEST_F(DrawingTest, RenderTargetTextureIsDrawnIntoAndSampled) {
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device->CreateTexture(32, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &surface), D3D_OK);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetRenderTarget(0, &backBuffer), D3D_OK);
    D3DVIEWPORT9 viewport{4, 4, 8, 8, 0, 1};
    device->SetViewport(&viewport);

    ASSERT_EQ(device->SetRenderTarget(0, surface), D3D_OK);
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.X, 0u);  // SetRenderTarget resets the viewport to the whole target
    EXPECT_EQ(viewport.Width, 32u);
    EXPECT_EQ(viewport.Height, 16u);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    drawQuad(0, 0, 8, 4, 0xFF0000FF);  // top-left corner blue
    auto inTarget = readTarget();
    EXPECT_EQ(inTarget.size(), 32u * 16u);
    EXPECT_EQ(pixel(inTarget, 1, 1, 32) & kRgb, 0x0000FFu);
    EXPECT_EQ(pixel(inTarget, 20, 10, 32) & kRgb, 0x00FF00u);

    ASSERT_EQ(device->SetRenderTarget(0, backBuffer), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device->SetTexture(0, target);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    drawQuad(10, 10, 42, 26, 0xFFFFFFFF);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 11, 11) & kRgb, 0x0000FFu);  // the top row stays on top
    EXPECT_EQ(pixel(pixels, 17, 13) & kRgb, 0x0000FFu);
    EXPECT_EQ(pixel(pixels, 18, 14) & kRgb, 0x00FF00u);
    EXPECT_EQ(pixel(pixels, 41, 25) & kRgb, 0x00FF00u);
    EXPECT_EQ(pixel(pixels, 9, 9) & kRgb, 0u);

    D3DLOCKED_RECT locked{};
    EXPECT_EQ(target->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // render targets are not lockable
    device->SetTexture(0, nullptr);
    surface->Release();
    backBuffer->Release();
    EXPECT_EQ(target->Release(), 0u);
}

TEST_F(DrawingTest, LockedRectangleShowsUpInTheNextDraw) {
    IDirect3DTexture9* texture = makeTexture(16, 16, [](UINT, UINT) { return 0xFFFF0000u; });
    device->SetTexture(0, texture);
    drawQuad(0, 0, 16, 16, 0xFFFFFFFF);
    EXPECT_EQ(pixel(readTarget(), 5, 5) & kRgb, 0xFF0000u);

    RECT area{4, 6, 8, 9};
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, &area, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 64);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] = 0xFF00FF00u;
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);

    drawQuad(0, 0, 16, 16, 0xFFFFFFFF);
    auto pixels = readTarget();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool green = x >= 4 && x < 8 && y >= 6 && y < 9;
            ASSERT_EQ(pixel(pixels, x, y) & kRgb, green ? 0x00FF00u : 0xFF0000u) << x << "," << y;
        }
    // A read-only lock sees the bytes; an area outside the level is refused.
    ASSERT_EQ(texture->LockRect(0, &locked, &area, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<uint32_t*>(locked.pBits), 0xFF00FF00u);
    texture->UnlockRect(0);
    RECT outside{10, 10, 20, 12};
    EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    device->SetTexture(0, nullptr);
    texture->Release();
}

struct FormatCase {
    D3DFORMAT format;
    uint32_t bytes;      // one texel in memory (little-endian)
    uint32_t expected;   // A8R8G8B8 after sampling
};

TEST_F(DrawingTest, TextureFormatsSampleAsDirect3DDefinesThem) {
    FormatCase const cases[] = {
        {D3DFMT_X8R8G8B8, 0x00123456u, 0xFF123456u}, {D3DFMT_A8, 0x80u, 0x80000000u},
        {D3DFMT_L8, 0x40u, 0xFF404040u},             {D3DFMT_A8L8, 0x8040u, 0x80404040u},
        {D3DFMT_R5G6B5, 0xF800u, 0xFFFF0000u},       {D3DFMT_A1R5G5B5, 0x801Fu, 0xFF0000FFu},
        {D3DFMT_A4R4G4B4, 0x80F0u, 0x8800FF00u},
    };
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    int x = 0;
    for (FormatCase const& c : cases) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK) << c.format;
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        std::memcpy(locked.pBits, &c.bytes, c.format == D3DFMT_X8R8G8B8 ? 4 : (c.format == D3DFMT_A8 || c.format == D3DFMT_L8) ? 1 : 2);
        texture->UnlockRect(0);
        device->SetTexture(0, texture);
        drawQuad(static_cast<float>(x), 0, static_cast<float>(x + 4), 4, 0xFFFFFFFF);
        device->SetTexture(0, nullptr);
        texture->Release();
        x += 4;
    }
    // The back buffer keeps the alpha written (its format has no alpha to show, GL stores it).
    auto pixels = readTarget(/*glAlpha=*/true);
    x = 0;
    for (FormatCase const& c : cases) {
        uint32_t got = pixel(pixels, x + 1, 1);
        for (int shift = 0; shift < 32; shift += 8)
            EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((c.expected >> shift) & 0xFF), 1)
                << "format " << c.format << " byte " << shift / 8;
        x += 4;
    }
}

TEST_F(DrawingTest, Dxt1BlocksAreDecoded) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 8);
    uint8_t block[8] = {0x00, 0xF8, 0x1F, 0x00, 0x00, 0x00, 0x00, 0x55};  // red, blue; row 3 all colour 1
    std::memcpy(locked.pBits, block, 8);
    texture->UnlockRect(0);
    device->SetTexture(0, texture);
    drawQuad(0, 0, 4, 4, 0xFFFFFFFF);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 0, 0) & kRgb, 0xFF0000u);
    EXPECT_EQ(pixel(pixels, 0, 3) & kRgb, 0x0000FFu);
    device->SetTexture(0, nullptr);
    texture->Release();
}

}  // namespace
