// The device beyond single draws: state blocks, device loss and Reset, display modes, buffers and
// indexed draws, transformed vertices, StretchRect, reference counts and program overrides.
#include "tests/support/gl/DeviceFixture.h"

#include "tests/port/d3d9/GlProgram.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/win32_sdl.h"
#include "tests/support/SdlEvents.h"
#include "tests/support/gl/TestMatrices.h"

#include <cstdlib>
#include <string>

namespace {

using testsupport::kRgb;

class DeviceTest : public testsupport::DrawingFixture {
protected:
    DWORD state(D3DRENDERSTATETYPE which) {
        DWORD value = 0;
        device->GetRenderState(which, &value);
        return value;
    }
};

using testsupport::translationMatrix;

TEST_F(DeviceTest, PixelStateBlockRestoresStencilAndBlendButNotTransforms) {
    device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
    device->SetRenderState(D3DRS_STENCILMASK, 2);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);  // a vertex state
    D3DMATRIX world = translationMatrix(1, 2, 3);
    device->SetTransform(D3DTS_WORLD, &world);

    IDirect3DStateBlock9* pixel = nullptr;
    ASSERT_EQ(device->CreateStateBlock(D3DSBT_PIXELSTATE, &pixel), D3D_OK);
    IDirect3DStateBlock9* all = nullptr;
    ASSERT_EQ(device->CreateStateBlock(D3DSBT_ALL, &all), D3D_OK);

    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device->SetRenderState(D3DRS_STENCILMASK, 8);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    D3DMATRIX moved = translationMatrix(7, 8, 9);
    device->SetTransform(D3DTS_WORLD, &moved);

    ASSERT_EQ(pixel->Apply(), D3D_OK);
    EXPECT_EQ(state(D3DRS_STENCILENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(state(D3DRS_STENCILMASK), 2u);
    EXPECT_EQ(state(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(state(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CW));  // not a pixel state
    D3DMATRIX now{};
    device->GetTransform(D3DTS_WORLD, &now);
    EXPECT_EQ(now._41, 7.0f);

    ASSERT_EQ(all->Apply(), D3D_OK);
    device->GetTransform(D3DTS_WORLD, &now);
    EXPECT_EQ(now._41, 1.0f);
    EXPECT_EQ(state(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));

    // Capture takes the present state into the block.
    device->SetRenderState(D3DRS_STENCILREF, 5);
    ASSERT_EQ(pixel->Capture(), D3D_OK);
    device->SetRenderState(D3DRS_STENCILREF, 6);
    pixel->Apply();
    EXPECT_EQ(state(D3DRS_STENCILREF), 5u);
    pixel->Release();
    all->Release();
}

TEST_F(DeviceTest, AllStateBlockKeepsTexturesAlive) {
    IDirect3DTexture9* texture = makeTexture(2, 2, [](UINT, UINT) { return 0xFFFFFFFFu; });
    device->SetTexture(0, texture);
    IDirect3DStateBlock9* all = nullptr;
    device->CreateStateBlock(D3DSBT_ALL, &all);
    device->SetTexture(0, nullptr);
    EXPECT_EQ(texture->Release(), 1u);  // the block still holds it
    all->Apply();
    IDirect3DBaseTexture9* bound = nullptr;
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, texture);
    bound->Release();
    device->SetTexture(0, nullptr);
    EXPECT_EQ(all->Release(), 0u);  // and with it the texture
}

TEST_F(DeviceTest, LostDeviceNeedsResetAfterDefaultResourcesAreReleased) {
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DTexture9* managed = makeTexture(4, 4, [](UINT, UINT) { return 0xFF00FF00u; });
    EXPECT_EQ(port::d3d9::defaultPoolResources(device), 1u);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);

    port::d3d9::loseDevice(device);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    D3DPRESENT_PARAMETERS pp = presentParameters(40, 30);
    EXPECT_EQ(device->Reset(&pp), D3DERR_INVALIDCALL);  // the render target is still alive
    target->Release();
    ASSERT_EQ(device->Reset(&pp), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);

    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 40u);
    EXPECT_EQ(desc.Height, 30u);
    backBuffer->Release();
    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 40u);
    EXPECT_EQ(state(D3DRS_LIGHTING), static_cast<DWORD>(TRUE));  // states are back at their defaults

    // The managed texture survived and still draws.
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetTexture(0, managed);
    drawQuad(0, 0, 40, 30, 0xFFFFFFFF);
    EXPECT_EQ(pixel(readTarget(), 20, 15, 40) & kRgb, 0x00FF00u);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    device->SetTexture(0, nullptr);
    managed->Release();
}

TEST_F(DeviceTest, WindowResizedFromOutsideMakesTheDeviceNeedAReset) {
    SetWindowPos(window, nullptr, 0, 0, 80, 60, SWP_NOMOVE);  // the program's own resize: no loss
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    SDL_SetWindowSize(port::win32::sdlWindow(window), 100, 70);
    testsupport::pushWindowEvent(SDL_GetWindowID(port::win32::sdlWindow(window)), SDL_WINDOWEVENT_SIZE_CHANGED, 100, 70);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    D3DPRESENT_PARAMETERS pp = presentParameters(100, 70);
    ASSERT_EQ(device->Reset(&pp), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

TEST_F(DeviceTest, AdapterOffersTheForcedResolutions) {
    UINT count = d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);
    ASSERT_GT(count, 0u);
    UINT const wanted[][2] = {{1024, 768}, {1280, 720}, {1280, 1024}, {1680, 1050}, {1920, 1080}, {3840, 2160}};
    for (auto const& size : wanted) {
        bool found = false;
        for (UINT i = 0; i < count; ++i) {
            D3DDISPLAYMODE mode{};
            ASSERT_EQ(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, i, &mode), D3D_OK);
            if (mode.Width == size[0] && mode.Height == size[1]) found = true;
            EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
        }
        EXPECT_TRUE(found) << size[0] << "x" << size[1];
    }
    D3DDISPLAYMODE mode{};
    EXPECT_EQ(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, count, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_A8R8G8B8), 0u);
    EXPECT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_GT(mode.Width, 0u);
}

// The desktop's size: a headless display has none and stands in with 1920 x 1080; a test names
// one through ORVEX_DESKTOP_SIZE, and a value that is no size is not taken. The adapter's display
// mode and the screen metrics tell the same size.
TEST_F(DeviceTest, TheDesktopSizeComesFromTheEnvironmentOrTheHeadlessStandIn) {
    struct {
        char const* value;  // null: unset
        int width, height;
        bool known;
    } const cases[] = {{nullptr, 1920, 1080, false}, {"1366x768", 1366, 768, true}, {"1280x720", 1280, 720, true},
                       {"1280", 1920, 1080, false},   {"0x720", 1920, 1080, false},  {"99999x99999", 1920, 1080, false},
                       {"1280x720x2", 1920, 1080, false}};
    for (auto const& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(unset)");
        if (c.value)
            setenv("ORVEX_DESKTOP_SIZE", c.value, 1);
        else
            unsetenv("ORVEX_DESKTOP_SIZE");
        int w = 0, h = 0;
        EXPECT_EQ(port::win32::desktopSize(w, h), c.known);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
        D3DDISPLAYMODE mode{};
        ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
        EXPECT_EQ(mode.Width, static_cast<UINT>(c.width));
        EXPECT_EQ(mode.Height, static_cast<UINT>(c.height));
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height);
    }
    unsetenv("ORVEX_DESKTOP_SIZE");
}

// The sprite batcher's layout: XYZRHW, DIFFUSE, three coordinate sets of sizes 2, 1 and 4.
struct SpriteVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
    float slot;
    float centre[4];
};

TEST_F(DeviceTest, IndexedDrawsFromARingBufferWithDiscardAndNoOverwrite) {
    static_assert(sizeof(SpriteVertex) == 48);
    IDirect3DVertexBuffer9* vb = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(8 * 4 * 48, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vb,
                                         nullptr),
              D3D_OK);
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(8 * 6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &ib, nullptr),
              D3D_OK);
    uint16_t* indices = nullptr;
    ASSERT_EQ(ib->Lock(0, 0, reinterpret_cast<void**>(&indices), 0), D3D_OK);
    for (uint16_t q = 0; q < 8; ++q)
        for (uint16_t k : {0, 1, 2, 1, 3, 2}) *indices++ = static_cast<uint16_t>(4 * q + k);
    ib->Unlock();
    auto writeQuad = [&](UINT quad, DWORD flags, float x, D3DCOLOR color) {
        SpriteVertex* v = nullptr;
        ASSERT_EQ(vb->Lock(quad * 192, 192, reinterpret_cast<void**>(&v), flags), D3D_OK);
        float xs[4] = {x, x + 8, x, x + 8}, ys[4] = {0, 0, 8, 8};
        for (int i = 0; i < 4; ++i) v[i] = SpriteVertex{xs[i], ys[i], 0, 1, color, 0, 0, 0, {0, 0, 0, 0}};
        vb->Unlock();
    };
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetStreamSource(0, vb, 0, 48);
    device->SetIndices(ib);
    device->SetFVF(0x2C0344);
    writeQuad(0, D3DLOCK_DISCARD, 0, 0xFFFF0000);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 32, 0, 2), D3D_OK);
    writeQuad(1, D3DLOCK_NOOVERWRITE, 16, 0xFF00FF00);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 32, 6, 2), D3D_OK);
    writeQuad(2, D3DLOCK_NOOVERWRITE, 32, 0xFF0000FF);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 8, 0, 32, 0, 2), D3D_OK);  // base vertex: quad 2
    // Locks held at once (the buffer is written where GL keeps it) reach the draws made after
    // the last unlock.
    void* outer = nullptr;
    ASSERT_EQ(vb->Lock(3 * 192, 192, &outer, D3DLOCK_NOOVERWRITE), D3D_OK);
    writeQuad(4, D3DLOCK_NOOVERWRITE, 48, 0xFFFFFF00);
    float const xs[4] = {8, 16, 8, 16}, ys[4] = {24, 24, 32, 32};
    for (int i = 0; i < 4; ++i)
        static_cast<SpriteVertex*>(outer)[i] = SpriteVertex{xs[i], ys[i], 0, 1, 0xFF00FFFF, 0, 0, 0, {0, 0, 0, 0}};
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 32, 18, 4), D3D_OK);  // quads 3 and 4
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 4, 4) & kRgb, 0xFF0000u);
    EXPECT_EQ(pixel(pixels, 20, 4) & kRgb, 0x00FF00u);
    EXPECT_EQ(pixel(pixels, 36, 4) & kRgb, 0x0000FFu);
    EXPECT_EQ(pixel(pixels, 12, 28) & kRgb, 0x00FFFFu);
    EXPECT_EQ(pixel(pixels, 52, 4) & kRgb, 0xFFFF00u);
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);  // no lock left
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 32, 40, 4), D3DERR_INVALIDCALL);  // past the end
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    vb->Release();
    ib->Release();
}

TEST_F(DeviceTest, TransformedVerticesFollowWorldViewProjection) {
    struct Vertex {
        float x, y, z;
        D3DCOLOR color;
    };
    // An orthographic projection of 64x48 units onto the viewport, y up as in Direct3D.
    D3DMATRIX projection{};
    projection._11 = 2.0f / kWidth;
    projection._22 = 2.0f / kHeight;
    projection._33 = 1.0f;
    projection._44 = 1.0f;
    D3DMATRIX world = translationMatrix(-32.0f, -24.0f, 0.5f);  // (0,0) is the bottom-left corner
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    Vertex v[4] = {{0, 0, 0, 0xFFFFFF00}, {16, 0, 0, 0xFFFFFF00}, {0, 8, 0, 0xFFFFFF00}, {16, 8, 0, 0xFFFFFF00}};
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(Vertex)), D3D_OK);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 1, 47) & kRgb, 0xFFFF00u);  // bottom-left on screen
    EXPECT_EQ(pixel(pixels, 14, 41) & kRgb, 0xFFFF00u);
    EXPECT_EQ(pixel(pixels, 1, 38) & kRgb, 0u);
    EXPECT_EQ(pixel(pixels, 17, 46) & kRgb, 0u);
}

// A picture's bytes live in GL alone after their first write: a later lock reads them back
// (whole or in part, per format), and a texture locked again and again keeps what it wrote.
TEST_F(DeviceTest, LocksAfterTheFirstWriteReadThePixelsBackFromGl) {
    struct Case { D3DFORMAT format; unsigned bytes; };
    for (Case const c : {Case{D3DFMT_A8R8G8B8, 4}, Case{D3DFMT_R5G6B5, 2}, Case{D3DFMT_L8, 1}, Case{D3DFMT_A8, 1}}) {
        SCOPED_TRACE(static_cast<int>(c.format));
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(device->CreateTexture(8, 4, 2, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
        auto byteAt = [&](unsigned x, unsigned y, unsigned k) { return static_cast<uint8_t>(x * 31 + y * 7 + k * 3 + 1); };
        for (UINT level = 0; level < 2; ++level) {
            D3DLOCKED_RECT locked{};
            ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
            for (unsigned y = 0; y < (level ? 2u : 4u); ++y)
                for (unsigned x = 0; x < (level ? 4u : 8u) * c.bytes; ++x)
                    static_cast<uint8_t*>(locked.pBits)[y * locked.Pitch + x] = byteAt(x, y, level);
            ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
        }
        for (int round = 0; round < 3; ++round) {  // read back, then kept
            for (UINT level = 0; level < 2; ++level) {
                D3DLOCKED_RECT locked{};
                RECT part{1, 0, 3, 2};
                ASSERT_EQ(texture->LockRect(level, &locked, round == 1 ? &part : nullptr, D3DLOCK_READONLY), D3D_OK);
                uint8_t const* bytes = static_cast<uint8_t const*>(locked.pBits);
                unsigned const x0 = round == 1 ? 1 : 0;
                EXPECT_EQ(bytes[0], byteAt(x0 * c.bytes, 0, level)) << "round " << round << " level " << level;
                EXPECT_EQ(bytes[locked.Pitch + c.bytes - 1], byteAt(x0 * c.bytes + c.bytes - 1, 1, level))
                    << "round " << round << " level " << level;
                ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
            }
        }
        texture->Release();
    }
}

// Rows written straight into part of a texture level land as a lock would have left them, the
// rest of the level as it was: in a level GL alone holds, and in one a lock keeps in memory
// (locked again after its first write). Surfaces no lock could write are refused.
TEST_F(DeviceTest, RowsWrittenIntoATextureLevelReadBackAsALockLeavesThem) {
    uint32_t const rows[] = {0xFF110000u, 0xFF220000u, 0xDEADBEEFu, 0xFF330000u, 0xFF440000u, 0xDEADBEEFu};
    for (int locksBefore : {1, 2}) {
        SCOPED_TRACE(locksBefore);
        IDirect3DTexture9* texture = makeTexture(4, 4, [](UINT x, UINT y) { return 0xFF000000u | (x << 8) | y; });
        ASSERT_NE(texture, nullptr);
        if (locksBefore == 2) readTexture(texture);
        IDirect3DSurface9* level = nullptr;
        ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
        // A pitch of three words: the third word of each row is not the picture's.
        EXPECT_EQ(port::d3d9::writeTextureLevel(level, RECT{1, 2, 3, 4}, rows, 12), D3D_OK);
        std::vector<uint32_t> const pixels = readTexture(texture);
        EXPECT_EQ(pixel(pixels, 1, 2, 4), 0xFF110000u);
        EXPECT_EQ(pixel(pixels, 2, 3, 4), 0xFF440000u);
        EXPECT_EQ(pixel(pixels, 0, 2, 4), 0xFF000002u);  // beside the rectangle, as filled
        EXPECT_EQ(pixel(pixels, 3, 3, 4), 0xFF000303u);
        for (RECT const outside : {RECT{3, 0, 5, 1}, RECT{-1, 0, 1, 1}, RECT{2, 2, 2, 3}})
            EXPECT_EQ(port::d3d9::writeTextureLevel(level, outside, rows, 12), D3DERR_INVALIDCALL);
        level->Release();
        texture->Release();
    }

    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DTexture9* blocks = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &blocks, nullptr), D3D_OK);
    IDirect3DSurface9* plain = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &plain, nullptr), D3D_OK);
    IDirect3DSurface9* targetLevel = nullptr;
    IDirect3DSurface9* blockLevel = nullptr;
    ASSERT_EQ(target->GetSurfaceLevel(0, &targetLevel), D3D_OK);
    ASSERT_EQ(blocks->GetSurfaceLevel(0, &blockLevel), D3D_OK);
    for (IDirect3DSurface9* refused : {targetLevel, blockLevel, plain, static_cast<IDirect3DSurface9*>(nullptr)})
        EXPECT_EQ(port::d3d9::writeTextureLevel(refused, RECT{0, 0, 1, 1}, rows, 12), D3DERR_INVALIDCALL);
    for (IUnknown* held : std::initializer_list<IUnknown*>{targetLevel, blockLevel, plain, target, blocks}) held->Release();
}

TEST_F(DeviceTest, StretchRectAndColorFillBetweenSurfaces) {
    IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(device->CreateRenderTarget(16, 16, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &target, nullptr), D3D_OK);
    ASSERT_EQ(device->ColorFill(target, nullptr, 0xFF0000FF), D3D_OK);
    RECT half{0, 0, 8, 16};
    ASSERT_EQ(device->ColorFill(target, &half, 0xFFFF0000), D3D_OK);
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetRenderTarget(0, &backBuffer);
    RECT dest{32, 16, 64, 48};  // scaled twice as large
    ASSERT_EQ(device->StretchRect(target, nullptr, backBuffer, &dest, D3DTEXF_NONE), D3D_OK);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 33, 17) & kRgb, 0xFF0000u);
    EXPECT_EQ(pixel(pixels, 47, 40) & kRgb, 0xFF0000u);
    EXPECT_EQ(pixel(pixels, 48, 40) & kRgb, 0x0000FFu);
    EXPECT_EQ(pixel(pixels, 31, 17) & kRgb, 0u);
    RECT outside{0, 0, 32, 32};
    EXPECT_EQ(device->StretchRect(target, &outside, backBuffer, nullptr, D3DTEXF_NONE), D3DERR_INVALIDCALL);
    backBuffer->Release();
    target->Release();
}

// One row copied out of the back buffer (a 1x1 read-back ends every measured frame) is that row,
// whichever way the back buffer's rows run in GL.
TEST_F(DeviceTest, StretchRectOfOneRowCopiesThatRow) {
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetRenderTarget(0, &backBuffer);
    ASSERT_EQ(device->ColorFill(backBuffer, nullptr, 0xFF0000FF), D3D_OK);
    RECT const band{0, 5, kWidth, 6};
    ASSERT_EQ(device->ColorFill(backBuffer, &band, 0xFFFF0000), D3D_OK);
    IDirect3DSurface9* row = nullptr;
    ASSERT_EQ(device->CreateRenderTarget(4, 1, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &row, nullptr), D3D_OK);
    IDirect3DSurface9* copy = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 1, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr), D3D_OK);
    struct Case {
        LONG top;
        uint32_t rgb;
    };
    for (Case c : {Case{5, 0xFF0000u}, Case{4, 0x0000FFu}, Case{6, 0x0000FFu}}) {
        RECT const from{2, c.top, 6, c.top + 1};
        ASSERT_EQ(device->StretchRect(backBuffer, &from, row, nullptr, D3DTEXF_NONE), D3D_OK);
        ASSERT_EQ(device->GetRenderTargetData(row, copy), D3D_OK);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        for (int x = 0; x < 4; ++x) EXPECT_EQ(static_cast<uint32_t*>(locked.pBits)[x] & kRgb, c.rgb) << c.top;
        copy->UnlockRect();
    }
    // A single row copied into a taller rectangle is stretched, not turned.
    RECT const tall{0, 10, 4, 14};
    RECT const one{0, 5, 4, 6};
    IDirect3DSurface9* square = nullptr;
    ASSERT_EQ(device->CreateRenderTarget(4, 4, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &square, nullptr),
              D3D_OK);
    ASSERT_EQ(device->StretchRect(backBuffer, &one, square, nullptr, D3DTEXF_NONE), D3D_OK);
    ASSERT_EQ(device->StretchRect(square, nullptr, backBuffer, &tall, D3DTEXF_NONE), D3D_OK);
    auto pixels = readTarget();
    for (int y = 10; y < 14; ++y) EXPECT_EQ(pixel(pixels, 1, y) & kRgb, 0xFF0000u) << y;
    EXPECT_EQ(pixel(pixels, 1, 9) & kRgb, 0x0000FFu);
    square->Release();
    copy->Release();
    row->Release();
    backBuffer->Release();
}

// The render target copied into level 0 of a SYSTEMMEM texture, as a screenshot does before it
// saves the texture; a texture in another pool is refused.
TEST_F(DeviceTest, RenderTargetDataIntoASystemMemoryTextureLevel) {
    IDirect3DSurface9* backBuffer = nullptr;
    device->GetRenderTarget(0, &backBuffer);
    ASSERT_EQ(device->ColorFill(backBuffer, nullptr, 0xFF0000FF), D3D_OK);
    RECT const corner{0, 0, 8, 4};
    ASSERT_EQ(device->ColorFill(backBuffer, &corner, 0xFFFF0000), D3D_OK);
    for (D3DPOOL pool : {D3DPOOL_SYSTEMMEM, D3DPOOL_MANAGED}) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(device->CreateTexture(kWidth, kHeight, 1, 0, D3DFMT_X8R8G8B8, pool, &texture, nullptr), D3D_OK);
        IDirect3DSurface9* level = nullptr;
        ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
        if (pool == D3DPOOL_SYSTEMMEM) {
            ASSERT_EQ(device->GetRenderTargetData(backBuffer, level), D3D_OK);
            std::vector<uint32_t> const pixels = readTexture(texture);
            ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kWidth) * kHeight);
            EXPECT_EQ(pixel(pixels, 1, 1), 0xFFFF0000u);
            EXPECT_EQ(pixel(pixels, 20, 20), 0xFF0000FFu);
        } else {
            EXPECT_EQ(device->GetRenderTargetData(backBuffer, level), D3DERR_INVALIDCALL);
        }
        level->Release();
        texture->Release();
    }
    backBuffer->Release();
}

TEST_F(DeviceTest, ReferenceCountsFollowCom) {
    IDirect3DTexture9* texture = makeTexture(8, 8, [](UINT, UINT) { return 0u; });
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
    EXPECT_EQ(texture->AddRef(), 3u);  // the surface's reference is the texture's
    EXPECT_EQ(texture->Release(), 2u);
    IDirect3DTexture9* container = nullptr;
    ASSERT_EQ(level->GetContainer(IID_IDirect3DTexture9, reinterpret_cast<void**>(&container)), D3D_OK);
    EXPECT_EQ(container, texture);
    container->Release();
    IDirect3DResource9* resource = nullptr;
    ASSERT_EQ(level->QueryInterface(IID_IDirect3DResource9, reinterpret_cast<void**>(&resource)), S_OK);
    EXPECT_EQ(resource, level);
    EXPECT_EQ(texture->AddRef(), 4u);  // the query's reference went to the texture as well
    texture->Release();
    resource->Release();
    void* none = nullptr;
    EXPECT_EQ(level->QueryInterface(IID_IDirect3DTexture9, &none), E_NOINTERFACE);
    EXPECT_EQ(level->Release(), 1u);
    IDirect3DBaseTexture9* base = nullptr;
    ASSERT_EQ(texture->QueryInterface(IID_IDirect3DBaseTexture9, reinterpret_cast<void**>(&base)), S_OK);
    EXPECT_EQ(base->GetLevelCount(), 1u);
    base->Release();
    IDirect3DDevice9* owner = nullptr;
    texture->GetDevice(&owner);
    EXPECT_EQ(owner, device);
    owner->Release();
    EXPECT_EQ(texture->Release(), 0u);

    IDirect3DTexture9* chain = nullptr;
    ASSERT_EQ(device->CreateTexture(64, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &chain, nullptr), D3D_OK);
    EXPECT_EQ(chain->GetLevelCount(), 7u);
    D3DSURFACE_DESC desc{};
    chain->GetLevelDesc(6, &desc);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    chain->Release();
    IDirect3DTexture9* bad = nullptr;
    EXPECT_EQ(device->CreateTexture(8, 8, 1, 0, static_cast<D3DFORMAT>(12345), D3DPOOL_MANAGED, &bad, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(bad, nullptr);
}

TEST_F(DeviceTest, ResourcesOutlivingTheDeviceFailSafely) {
    IDirect3DTexture9* texture = makeTexture(4, 4, [](UINT, UINT) { return 0u; });
    EXPECT_EQ(device->Release(), 0u);
    device = nullptr;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    IDirect3DDevice9* owner = nullptr;
    EXPECT_EQ(texture->GetDevice(&owner), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->Release(), 0u);
}

TEST_F(DeviceTest, ProgramOverrideUsesTheScreenMappingAndAlphaTest) {
    ASSERT_TRUE(port::gl::makeCurrent(device));
    std::string vs = std::string("#version 330 core\n") + port::gl::kVertexPrelude + R"(
in vec4 in_Position;
in vec4 in_Diffuse;
out vec4 colour;
void main() { gl_Position = port_screenToClip(in_Position); colour = in_Diffuse.bgra; }
)";
    std::string fs = std::string("#version 330 core\n") + port::gl::kFragmentPrelude + R"(
in vec4 colour;
out vec4 result;
void main() { port_alphaTest(colour.a); result = colour; }
)";
    GLuint program = d3d9test::linkProgram(vs, fs);
    port::gl::setProgramOverride(device, program);
    D3DVIEWPORT9 viewport{16, 8, 32, 32, 0, 1};  // screen positions do not move with the viewport
    device->SetViewport(&viewport);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_ALPHAREF, 0x40);
    drawQuad(20, 10, 30, 20, 0xFF0000FF);  // shown with red and blue swapped by the program
    drawQuad(30, 10, 40, 20, 0x3F00FF00);  // below the reference: dropped
    port::gl::setProgramOverride(device, 0);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 20, 10) & kRgb, 0xFF0000u);
    EXPECT_EQ(pixel(pixels, 29, 19) & kRgb, 0xFF0000u);
    EXPECT_EQ(pixel(pixels, 30, 10) & kRgb, 0u);
    EXPECT_EQ(pixel(pixels, 19, 10) & kRgb, 0u);
    glDeleteProgram(program);
}

TEST(PerfEvents, LevelsShowWhetherEventsAreBalanced) {
    EXPECT_EQ(D3DPERF_EndEvent(), -1) << "nothing open";
    EXPECT_EQ(D3DPERF_BeginEvent(0xFFFFFFFF, L"outer"), 0);
    EXPECT_EQ(D3DPERF_BeginEvent(0xFFFFFFFF, L"inner"), 1);
    EXPECT_EQ(D3DPERF_EndEvent(), 1);
    EXPECT_EQ(D3DPERF_EndEvent(), 0);
    EXPECT_EQ(D3DPERF_EndEvent(), -1);
}

}  // namespace
