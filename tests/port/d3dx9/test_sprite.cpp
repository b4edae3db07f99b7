// ID3DXSprite, ID3DXLine and ID3DXRenderToSurface drawing into the device, checked by reading
// pixels back.
#include "port/d3dx9/d3dx9.h"
#include "tests/support/gl/DeviceFixture.h"
#include "port/d3d9/d3d9_gl.h"
#include "port/d3d9/d3d9_port.h"
#include "tests/support/gl/TestMatrices.h"

namespace {

using SpriteTest = testsupport::DeviceFixture;
using testsupport::colorNear;

uint32_t texel(UINT x, UINT y) { return 0xFF000000u | ((x * 60) << 16) | ((y * 60) << 8) | 0x40; }

TEST_F(SpriteTest, DrawsTexelsOneToOneWithTranslationAndColourModulation) {
    IDirect3DTexture9* texture = makeTexture(4, 4, texel);
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), S_OK);
    clear(0xFF000000);
    device->BeginScene();
    ASSERT_EQ(sprite->Begin(0), S_OK);
    D3DXMATRIX move;
    move = testsupport::translationMatrix(10.0f, 5.0f, 0.0f);
    sprite->SetTransform(&move);
    D3DXVECTOR3 position(2.0f, 1.0f, 0.0f);
    ASSERT_EQ(sprite->Draw(texture, nullptr, nullptr, &position, 0xFFFF80FF), S_OK);  // green halved
    ASSERT_EQ(sprite->End(), S_OK);
    device->EndScene();
    auto pixels = readTarget();
    for (UINT y = 0; y < 4; ++y) {
        for (UINT x = 0; x < 4; ++x) {
            uint32_t t = texel(x, y);
            uint32_t g = (((t >> 8) & 0xFF) * 0x80 + 127) / 255;
            uint32_t expected = (t & 0xFFFF00FFu) | (g << 8);
            EXPECT_TRUE(colorNear(pixel(pixels, 12 + x, 6 + y), expected)) << x << "," << y;
        }
    }
    EXPECT_EQ(pixel(pixels, 11, 6), 0xFF000000u);
    EXPECT_EQ(pixel(pixels, 16, 6), 0xFF000000u);
    EXPECT_EQ(pixel(pixels, 12, 5), 0xFF000000u);
    EXPECT_EQ(pixel(pixels, 12, 10), 0xFF000000u);
    sprite->Release();
    texture->Release();
}

TEST_F(SpriteTest, ScalesAboutCentreAndBlendsByVertexAlpha) {
    IDirect3DTexture9* texture = makeTexture(4, 4, [](UINT, UINT) { return 0xFFFFFFFFu; });
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), S_OK);
    clear(0xFF0000FF);
    device->BeginScene();
    ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), S_OK);
    // Scale 2 about the origin, centre (2, 2) of the sprite at (20, 20): covers 16..24.
    D3DXVECTOR2 scaling(2.0f, 2.0f);
    D3DXMATRIX m;
    D3DXMatrixTransformation2D(&m, nullptr, 0.0f, &scaling, nullptr, 0.0f, nullptr);
    sprite->SetTransform(&m);
    D3DXVECTOR3 centre(2.0f, 2.0f, 0.0f), position(10.0f, 10.0f, 0.0f);
    ASSERT_EQ(sprite->Draw(texture, nullptr, &centre, &position, 0x80FF0000), S_OK);
    ASSERT_EQ(sprite->End(), S_OK);
    device->EndScene();
    auto pixels = readTarget();
    // Red at half alpha over blue: (128, 0, 127).
    EXPECT_TRUE(colorNear(pixel(pixels, 16, 16), 0xFF80007F));
    EXPECT_TRUE(colorNear(pixel(pixels, 23, 23), 0xFF80007F));
    EXPECT_EQ(pixel(pixels, 15, 16), 0xFF0000FFu);
    EXPECT_EQ(pixel(pixels, 24, 20), 0xFF0000FFu);
    // End restored the blend state it changed.
    DWORD blend = 1;
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    EXPECT_EQ(blend, FALSE);
    sprite->Release();
    texture->Release();
}

TEST_F(SpriteTest, SourceRectangleAndSortByTextureAndMisuse) {
    IDirect3DTexture9* texture = makeTexture(8, 8, [](UINT x, UINT) { return x < 4 ? 0xFFFF0000u : 0xFF00FF00u; });
    ID3DXSprite* sprite = nullptr;
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), S_OK);
    EXPECT_EQ(sprite->Draw(texture, nullptr, nullptr, nullptr, 0xFFFFFFFF), D3DERR_INVALIDCALL);  // outside Begin
    EXPECT_EQ(sprite->End(), D3DERR_INVALIDCALL);
    clear(0xFF000000);
    device->BeginScene();
    ASSERT_EQ(sprite->Begin(D3DXSPRITE_SORT_TEXTURE), S_OK);
    EXPECT_EQ(sprite->Begin(0), D3DERR_INVALIDCALL);
    RECT right = {4, 0, 8, 8};
    D3DXVECTOR3 p(30.0f, 0.0f, 0.0f);
    EXPECT_EQ(sprite->Draw(texture, &right, nullptr, &p, 0xFFFFFFFF), S_OK);
    EXPECT_EQ(sprite->Draw(nullptr, nullptr, nullptr, nullptr, 0xFFFFFFFF), D3DERR_INVALIDCALL);
    EXPECT_EQ(sprite->Flush(), S_OK);
    EXPECT_EQ(sprite->End(), S_OK);
    device->EndScene();
    auto pixels = readTarget();
    EXPECT_TRUE(colorNear(pixel(pixels, 30, 0), 0xFF00FF00));
    EXPECT_TRUE(colorNear(pixel(pixels, 33, 7), 0xFF00FF00));
    EXPECT_EQ(pixel(pixels, 34, 0), 0xFF000000u);
    sprite->Release();
    texture->Release();
}

TEST_F(SpriteTest, LineOfWidthTwo) {
    ID3DXLine* line = nullptr;
    ASSERT_EQ(D3DXCreateLine(device, &line), S_OK);
    ASSERT_EQ(line->SetWidth(2.0f), S_OK);
    clear(0xFF000000);
    device->BeginScene();
    ASSERT_EQ(line->Begin(), S_OK);
    D3DXVECTOR2 points[3] = {{5.0f, 10.0f}, {30.0f, 10.0f}, {30.0f, 30.0f}};
    ASSERT_EQ(line->Draw(points, 3, 0xFFFF0000), S_OK);
    ASSERT_EQ(line->End(), S_OK);
    device->EndScene();
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 15, 9), 0xFFFF0000u);
    EXPECT_EQ(pixel(pixels, 15, 10), 0xFFFF0000u);
    EXPECT_EQ(pixel(pixels, 15, 8), 0xFF000000u);
    EXPECT_EQ(pixel(pixels, 15, 11), 0xFF000000u);
    EXPECT_EQ(pixel(pixels, 29, 20), 0xFFFF0000u);
    EXPECT_EQ(pixel(pixels, 30, 20), 0xFFFF0000u);
    EXPECT_EQ(pixel(pixels, 32, 20), 0xFF000000u);
    EXPECT_EQ(line->Draw(points, 1, 0xFFFFFFFF), D3DERR_INVALIDCALL);
    line->Release();
}

// Begin saves the caller's program override and End puts it back, unless the device was lost in
// between: Reset clears the override, and the old program may be gone with it. After
// OnLostDevice of every D3DX object the device resets, and after OnResetDevice they draw again.
TEST_F(SpriteTest, LineAndSpritePutBackTheProgramOverrideUnlessTheDeviceWasLost) {
    IDirect3DTexture9* texture = makeTexture(2, 2, [](UINT, UINT) { return 0xFF00FF00u; });
    ID3DXLine* line = nullptr;
    ID3DXSprite* sprite = nullptr;
    ID3DXRenderToSurface* rts = nullptr;
    ASSERT_EQ(D3DXCreateLine(device, &line), S_OK);
    ASSERT_EQ(D3DXCreateSprite(device, &sprite), S_OK);
    ASSERT_EQ(D3DXCreateRenderToSurface(device, 8, 8, D3DFMT_A8R8G8B8, TRUE, D3DFMT_D24S8, &rts), S_OK);
    constexpr unsigned kProgram = 4242;  // never drawn with
    port::gl::setProgramOverride(device, kProgram);
    ASSERT_EQ(line->Begin(), S_OK);
    EXPECT_EQ(port::gl::programOverride(device), 0u);  // lines draw with the built-in program
    ASSERT_EQ(line->End(), S_OK);
    EXPECT_EQ(port::gl::programOverride(device), kProgram);
    ASSERT_EQ(sprite->Begin(0), S_OK);
    ASSERT_EQ(sprite->End(), S_OK);
    EXPECT_EQ(port::gl::programOverride(device), kProgram);

    ASSERT_EQ(line->Begin(), S_OK);  // batches open when the device goes
    ASSERT_EQ(sprite->Begin(0), S_OK);
    port::d3d9::loseDevice(device);
    EXPECT_NE(device->TestCooperativeLevel(), D3D_OK);
    line->OnLostDevice();
    sprite->OnLostDevice();
    rts->OnLostDevice();
    EXPECT_EQ(port::d3d9::defaultPoolResources(device), 0u);
    D3DPRESENT_PARAMETERS pp = presentParameters();
    ASSERT_EQ(device->Reset(&pp), D3D_OK);
    line->OnResetDevice();
    sprite->OnResetDevice();
    EXPECT_EQ(rts->OnResetDevice(), S_OK);
    EXPECT_EQ(line->End(), S_OK);
    EXPECT_EQ(sprite->End(), S_OK);
    EXPECT_EQ(port::gl::programOverride(device), 0u);

    clear(0xFF000000);
    device->BeginScene();
    ASSERT_EQ(sprite->Begin(0), S_OK);
    ASSERT_EQ(sprite->Draw(texture, nullptr, nullptr, nullptr, 0xFFFFFFFF), S_OK);
    ASSERT_EQ(sprite->End(), S_OK);
    device->EndScene();
    EXPECT_EQ(pixel(readTarget(), 1, 1), 0xFF00FF00u);
    rts->Release();
    line->Release();
    sprite->Release();
    texture->Release();
}

TEST_F(SpriteTest, RenderToSurfaceDrawsIntoATextureAndRestoresTheTarget) {
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device->CreateTexture(16, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &surface), D3D_OK);
    ID3DXRenderToSurface* rts = nullptr;
    ASSERT_EQ(D3DXCreateRenderToSurface(device, 16, 8, D3DFMT_A8R8G8B8, TRUE, D3DFMT_D24S8, &rts), S_OK);
    clear(0xFF000000);
    D3DVIEWPORT9 vp = {0, 0, 16, 8, 0.0f, 1.0f};
    ASSERT_EQ(rts->BeginScene(surface, &vp), S_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF00FF00, 1.0f, 0);
    ASSERT_EQ(rts->EndScene(D3DX_FILTER_NONE), S_OK);
    // The back buffer is the target again, with its own viewport.
    D3DVIEWPORT9 restored{};
    device->GetViewport(&restored);
    EXPECT_EQ(restored.Width, kWidth);
    auto back = readTarget();
    EXPECT_EQ(pixel(back, 0, 0), 0xFF000000u);
    // The texture holds the clear colour.
    IDirect3DSurface9* copy = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(16, 8, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr), D3D_OK);
    ASSERT_EQ(device->GetRenderTargetData(surface, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<uint32_t*>(locked.pBits)[5], 0xFF00FF00u);
    copy->UnlockRect();
    // A surface of another size is refused.
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetRenderTarget(0, &backBuffer);
    EXPECT_EQ(rts->BeginScene(backBuffer, nullptr), D3DERR_INVALIDCALL);
    backBuffer->Release();
    copy->Release();
    rts->Release();
    surface->Release();
    target->Release();
}

TEST_F(SpriteTest, RenderToSurfaceIntoAPlainTextureGoesThroughACopy) {
    IDirect3DTexture9* texture = makeTexture(8, 8, [](UINT, UINT) { return 0xFF000000u; });
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    ID3DXRenderToSurface* rts = nullptr;
    ASSERT_EQ(D3DXCreateRenderToSurface(device, 8, 8, D3DFMT_A8R8G8B8, FALSE, D3DFMT_UNKNOWN, &rts), S_OK);
    ASSERT_EQ(rts->BeginScene(surface, nullptr), S_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF112233, 1.0f, 0);
    ASSERT_EQ(rts->EndScene(0), S_OK);
    auto pixels = readTexture(texture);
    ASSERT_EQ(pixels.size(), 64u);
    EXPECT_EQ(pixels[9], 0xFF112233u);
    rts->Release();
    surface->Release();
    texture->Release();
}

}  // namespace
