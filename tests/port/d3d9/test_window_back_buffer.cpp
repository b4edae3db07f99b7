// The back buffer drawn in the window's own framebuffer or, where the window cannot serve the
// present parameters, in a texture: the choice and its log line, and the same pixels either way
// (rows top first) through viewport, scissor, Clear, ColorFill, StretchRect, reads, winding,
// depth values kept across targets, the automatic depth-stencil kept in the window's own (frames
// that test depth or stencil copy nothing), the back buffer's move into its texture for draws
// with a depth surface of another kind and back at Present; the look at a presented picture.
#include "tests/support/gl/DeviceFixture.h"

#include "port/d3d9/d3d9_port.h"
#include "tests/port/d3d9/DepthQuad.h"
#include "tests/support/PortLogCapture.h"

#include <string>

namespace {

using testsupport::kRgb;
using port::d3d9::backBufferOnWindow;

bool logged(std::vector<std::wstring> const& lines, std::wstring const& part) {
    for (auto const& line : lines)
        if (line.find(part) != std::wstring::npos) return true;
    return false;
}

class WindowChoiceTest : public testsupport::DrawingFixture {};

// Back buffers the window can be (its size, 8-bit RGB, no multisampling) are; others stay
// textures. Each change of the choice is logged once, a Reset that keeps it logs nothing.
TEST_F(WindowChoiceTest, WindowServesTheParametersItCanGive) {
    EXPECT_TRUE(backBufferOnWindow(device));
    struct Case {
        char const* name;
        UINT width, height;
        D3DFORMAT format;
        D3DMULTISAMPLE_TYPE samples;
        bool onWindow;
        wchar_t const* log;  // part of the line logged at the change, null: nothing logged
    } const cases[] = {
        {"same again", kWidth, kHeight, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, true, nullptr},
        {"alpha format", kWidth, kHeight, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, true, nullptr},
        {"smaller than the window", 32, 24, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, false, L"the window is 64x48"},
        {"16-bit", kWidth, kHeight, D3DFMT_R5G6B5, D3DMULTISAMPLE_NONE, false, L"not 8-bit RGB"},
        {"multisampled", kWidth, kHeight, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONMASKABLE, false, L"multisampling"},
        {"multisampled again", kWidth, kHeight, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONMASKABLE, false, nullptr},
        {"window again", kWidth, kHeight, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, true, L"the window's framebuffer"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::PortLogCapture log;
        D3DPRESENT_PARAMETERS pp = presentParameters(c.width, c.height);
        pp.BackBufferFormat = c.format;
        pp.MultiSampleType = c.samples;
        ASSERT_EQ(device->Reset(&pp), D3D_OK);
        EXPECT_EQ(backBufferOnWindow(device), c.onWindow);
        auto lines = log.taken();
        if (c.log) {
            EXPECT_EQ(lines.size(), 1u);
            EXPECT_TRUE(logged(lines, c.log));
        } else {
            EXPECT_TRUE(lines.empty());
        }
        // Either way the picture reads with its top row first.
        device->SetRenderState(D3DRS_ZENABLE, FALSE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        clear(0xFF000000);
        drawQuad(0, 0, 8, 4, 0xFFFF0000);
        auto pixels = readTarget();
        ASSERT_EQ(pixels.size(), static_cast<size_t>(c.width) * c.height);
        EXPECT_EQ(pixel(pixels, 1, 1, c.width) & kRgb, 0xFF0000u);
        EXPECT_EQ(pixel(pixels, 1, c.height - 2, c.width) & kRgb, 0u);
    }
}

// A window resized by the program (no loss) no longer fits a back buffer of the old size.
TEST_F(WindowChoiceTest, ResizedWindowKeepsTheBackBufferInATexture) {
    SetWindowPos(window, nullptr, 0, 0, 80, 60, SWP_NOMOVE);
    D3DPRESENT_PARAMETERS pp = presentParameters();
    ASSERT_EQ(device->Reset(&pp), D3D_OK);
    EXPECT_FALSE(backBufferOnWindow(device));
}

// The same scenes on both kinds of back buffer: the window's framebuffer (the fixture's
// device) and a texture (the window made larger than the back buffer).
class BackBufferTest : public testsupport::DrawingFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        DrawingFixture::SetUp();
        if (!device || GetParam()) return;
        SetWindowPos(window, nullptr, 0, 0, 80, 60, SWP_NOMOVE);
        D3DPRESENT_PARAMETERS pp = presentParameters();
        ASSERT_EQ(device->Reset(&pp), D3D_OK);
        device->SetRenderState(D3DRS_ZENABLE, FALSE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
    }

    void drawAt(float x0, float y0, float x1, float y1, float z, D3DCOLOR color) {
        d3d9test::drawAt(device, x0, y0, x1, y1, z, color);
    }

    // A render-target texture of the back buffer's size and its level (both referenced).
    IDirect3DTexture9* makeTargetTexture(IDirect3DSurface9** level) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device->CreateTexture(kWidth, kHeight, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                        &texture, nullptr),
                  D3D_OK);
        if (texture) texture->GetSurfaceLevel(0, level);
        return texture;
    }

    IDirect3DSurface9* backBuffer() {
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
        return surface;
    }

    struct Expect {
        int x, y;
        uint32_t colour;
    };
    static void expectPixels(std::vector<uint32_t> const& pixels, std::initializer_list<Expect> expected,
                             UINT width = kWidth) {
        for (Expect const& e : expected)
            EXPECT_EQ(pixel(pixels, e.x, e.y, width) & kRgb, e.colour) << e.x << "," << e.y;
    }
};

TEST_P(BackBufferTest, ChosenAsAsked) { EXPECT_EQ(backBufferOnWindow(device), GetParam()); }

// Viewport, scissor rectangle and Clear rectangles count rows from the top.
TEST_P(BackBufferTest, ViewportScissorAndClearRectanglesFromTheTop) {
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    clear(0xFF000000);
    D3DVIEWPORT9 viewport{8, 4, 16, 12, 0.0f, 1.0f};
    device->SetViewport(&viewport);
    drawAt(0, 0, 64, 48, 0.5f, 0xFFFF0000);  // only the viewport is drawn
    D3DRECT rect{40, 2, 44, 6};
    device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);  // clipped to the viewport: nothing
    viewport = D3DVIEWPORT9{0, 0, kWidth, kHeight, 0.0f, 1.0f};
    device->SetViewport(&viewport);
    device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    RECT scissor{30, 30, 50, 40};
    device->SetScissorRect(&scissor);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    drawAt(0, 0, 64, 48, 0.5f, 0xFF0000FF);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    expectPixels(readTarget(), {{8, 4, 0xFF0000},
                                {23, 15, 0xFF0000},
                                {7, 4, 0},
                                {8, 3, 0},
                                {24, 15, 0},
                                {23, 16, 0},
                                {40, 2, 0x00FF00},
                                {43, 5, 0x00FF00},
                                {43, 6, 0},
                                {30, 30, 0x0000FF},
                                {49, 39, 0x0000FF},
                                {49, 40, 0},
                                {30, 29, 0}});
}

// ColorFill and StretchRect into and out of the back buffer, and GetRenderTargetData of both.
TEST_P(BackBufferTest, CopiesToAndFromTheBackBufferKeepRowsTopFirst) {
    IDirect3DSurface9* back = backBuffer();
    ASSERT_TRUE(back);
    ASSERT_EQ(device->ColorFill(back, nullptr, 0xFF000000), D3D_OK);
    RECT top{0, 0, 64, 8};
    ASSERT_EQ(device->ColorFill(back, &top, 0xFFFF0000), D3D_OK);
    RECT corner{56, 40, 64, 48};
    ASSERT_EQ(device->ColorFill(back, &corner, 0xFF0000FF), D3D_OK);

    IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(device->CreateRenderTarget(32, 24, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &target, nullptr),
              D3D_OK);
    RECT from{32, 0, 64, 48};  // the right half at half its height
    ASSERT_EQ(device->StretchRect(back, &from, target, nullptr, D3DTEXF_NONE), D3D_OK);
    IDirect3DSurface9* copy = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(32, 24, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr), D3D_OK);
    ASSERT_EQ(device->GetRenderTargetData(target, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto row = [&](int y) { return reinterpret_cast<uint32_t const*>(static_cast<uint8_t const*>(locked.pBits) + y * locked.Pitch); };
    EXPECT_EQ(row(0)[0] & kRgb, 0xFF0000u);
    EXPECT_EQ(row(3)[0] & kRgb, 0xFF0000u);
    EXPECT_EQ(row(4)[0] & kRgb, 0u);
    EXPECT_EQ(row(23)[31] & kRgb, 0x0000FFu);
    EXPECT_EQ(row(23)[24] & kRgb, 0x0000FFu);
    EXPECT_EQ(row(23)[23] & kRgb, 0u);
    EXPECT_EQ(row(19)[31] & kRgb, 0u);
    copy->UnlockRect();

    RECT into{0, 24, 32, 48};  // the copy back, into the lower left quarter
    ASSERT_EQ(device->StretchRect(target, nullptr, back, &into, D3DTEXF_NONE), D3D_OK);
    expectPixels(readTarget(), {{0, 0, 0xFF0000},
                                {63, 7, 0xFF0000},
                                {0, 8, 0},
                                {63, 47, 0x0000FF},
                                {0, 24, 0xFF0000},
                                {31, 27, 0xFF0000},
                                {0, 28, 0},
                                {31, 47, 0x0000FF},
                                {23, 47, 0},
                                {31, 43, 0}});
    EXPECT_EQ(back->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);  // not lockable either way
    copy->Release();
    target->Release();
    back->Release();
}

// Depth values follow their surface: the automatic depth-stencil used with a texture target and
// back, and a depth surface of its own used with the back buffer, keep what was written.
TEST_P(BackBufferTest, DepthValuesFollowTheirSurfaceBetweenTargets) {
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 0.5f, 0);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    drawAt(0, 0, 32, 16, 0.3f, 0xFFFF0000);  // top left: depth 0.3

    IDirect3DSurface9* textureSurface = nullptr;
    IDirect3DTexture9* texture = makeTargetTexture(&textureSurface);
    ASSERT_TRUE(texture);
    IDirect3DSurface9* back = backBuffer();
    device->SetRenderTarget(0, textureSurface);  // the automatic depth-stencil stays
    drawAt(0, 0, 64, 48, 0.4f, 0xFF00FF00);      // dropped where 0.3 was written, writes 0.4 elsewhere
    expectPixels(readTarget(), {{4, 4, 0}, {31, 15, 0}, {32, 4, 0x00FF00}, {4, 16, 0x00FF00}, {63, 47, 0x00FF00}});

    device->SetRenderTarget(0, back);
    drawAt(0, 0, 64, 48, 0.45f, 0xFFFFFFFF);  // behind 0.4 and 0.3: dropped everywhere
    drawAt(0, 0, 64, 48, 0.35f, 0xFF0000FF);  // in front of 0.4, behind 0.3
    IDirect3DSurface9* own = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &own,
                                                nullptr),
              D3D_OK);
    IDirect3DSurface9* automatic = nullptr;
    device->GetDepthStencilSurface(&automatic);
    device->SetDepthStencilSurface(own);
    RECT lower{0, 40, 64, 48};
    D3DRECT lowerRect{lower.left, lower.top, lower.right, lower.bottom};
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 0);
    device->Clear(1, &lowerRect, D3DCLEAR_ZBUFFER, 0, 0.0f, 0);  // bottom rows: nothing passes
    drawAt(56, 0, 64, 48, 0.9f, 0xFFFFFF00);                       // right column but its bottom
    device->SetDepthStencilSurface(automatic);
    drawAt(0, 44, 8, 48, 0.36f, 0xFFFF00FF);  // behind the 0.35 written at the bottom left: dropped
    expectPixels(readTarget(), {{4, 4, 0xFF0000},
                                {40, 4, 0x0000FF},
                                {4, 30, 0x0000FF},
                                {60, 4, 0xFFFF00},
                                {60, 39, 0xFFFF00},
                                {60, 40, 0x0000FF},
                                {4, 46, 0x0000FF}});
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    automatic->Release();
    own->Release();
    back->Release();
    textureSurface->Release();
    texture->Release();
}

// Direct3D's clockwise triangles (on screen, rows down) are its front faces on either kind of
// back buffer and in a texture target: culling and two-sided stencil pick the same triangles.
TEST_P(BackBufferTest, WindingOfTrianglesAsOnScreen) {
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    auto triangles = [&](D3DCOLOR colour) {  // left: clockwise on screen; right: counter-clockwise
        testsupport::ScreenVertex v[6] = {{0, 0, 0.5f, 1, colour, 0, 0},  {30, 0, 0.5f, 1, colour, 0, 0},
                                          {0, 40, 0.5f, 1, colour, 0, 0}, {34, 0, 0.5f, 1, colour, 0, 0},
                                          {34, 40, 0.5f, 1, colour, 0, 0}, {64, 0, 0.5f, 1, colour, 0, 0}};
        device->SetFVF(testsupport::kScreenFvf);
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(v[0])), D3D_OK);
    };
    IDirect3DSurface9* textureSurface = nullptr;
    IDirect3DTexture9* texture = makeTargetTexture(&textureSurface);
    ASSERT_TRUE(texture);
    IDirect3DSurface9* back = backBuffer();
    for (IDirect3DSurface9* target : {back, textureSurface}) {
        SCOPED_TRACE(target == back ? "back buffer" : "texture target");
        device->SetRenderTarget(0, target);
        struct Case {
            DWORD cull;
            uint32_t left, right;
        } const cases[] = {{D3DCULL_CCW, 0xFF0000, 0}, {D3DCULL_CW, 0, 0xFF0000}, {D3DCULL_NONE, 0xFF0000, 0xFF0000}};
        for (Case const& c : cases) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
            device->SetRenderState(D3DRS_CULLMODE, c.cull);
            triangles(0xFFFF0000);
            expectPixels(readTarget(), {{4, 4, c.left}, {56, 4, c.right}});
        }
        // Two-sided stencil: clockwise faces write 2, counter-clockwise ones 1; then colour
        // where the stencil holds 1.
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
        device->SetRenderState(D3DRS_TWOSIDEDSTENCILMODE, TRUE);
        device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
        device->SetRenderState(D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS);
        device->SetRenderState(D3DRS_STENCILREF, 2);
        device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE);
        device->SetRenderState(D3DRS_CCW_STENCILPASS, D3DSTENCILOP_INCR);
        triangles(0xFF000000);
        device->SetRenderState(D3DRS_TWOSIDEDSTENCILMODE, FALSE);
        device->SetRenderState(D3DRS_STENCILREF, 1);
        device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
        device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
        drawAt(0, 0, 64, 48, 0.5f, 0xFF00FF00);
        device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
        expectPixels(readTarget(), {{4, 4, 0}, {56, 4, 0x00FF00}, {32, 44, 0}});
    }
    device->SetRenderTarget(0, back);
    back->Release();
    textureSurface->Release();
    texture->Release();
}

// Depth and stencil cleared by rectangle with the back buffer's colour, and a frame that tests
// depth on the back buffer keeps its picture through Present.
TEST_P(BackBufferTest, DepthClearedBesideAndPictureKeptThroughPresent) {
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
    D3DRECT top{0, 0, 64, 8};
    device->Clear(1, &top, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 0.0f, 0);  // top rows: nothing passes
    drawAt(0, 40, 64, 48, 0.5f, 0xFFFFFFFF);  // bottom rows, Z off
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    drawAt(0, 0, 32, 48, 0.5f, 0xFFFF0000);  // left half, except the top rows
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    std::initializer_list<Expect> const picture = {{4, 4, 0x0000FF},  {40, 4, 0x0000FF}, {4, 20, 0xFF0000},
                                                   {4, 44, 0xFF0000}, {40, 20, 0},       {40, 44, 0xFFFFFF}};
    expectPixels(readTarget(), picture);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    expectPixels(readTarget(), picture);
    drawAt(60, 0, 64, 48, 0.5f, 0xFF00FF00);  // after Present, Z off again
    expectPixels(readTarget(), {{62, 4, 0x00FF00}, {62, 44, 0x00FF00}, {4, 44, 0xFF0000}});
}

// A stencil Clear with rectangles, or with none under a scissor rectangle, sets the stencil
// there and leaves it alone beside them; the device counts each operation that may change the
// stencil (clears of it, draws that write it), not those that only test it or clear colour.
TEST_P(BackBufferTest, StencilClearedInItsRectanglesOnlyAndItsChangesCounted) {
    using port::d3d9::stencilChanges;
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
    uint64_t changes = stencilChanges(device);
    auto counted = [&](uint64_t expected, char const* what) {
        uint64_t const now = stencilChanges(device);
        EXPECT_EQ(now - changes, expected) << what;
        changes = now;
    };
    D3DRECT const rects[] = {{4, 4, 20, 12}, {40, 30, 60, 44}};
    device->Clear(2, rects, D3DCLEAR_STENCIL, 0xFF00FF00, 1.0f, 1);
    counted(1, "a stencil clear with rectangles");
    RECT scissor{24, 0, 32, 48};
    device->SetScissorRect(&scissor);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0xFF00FF00, 1.0f, 1);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    counted(1, "a stencil clear under a scissor rectangle");
    device->Clear(1, rects, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 1);
    counted(0, "a colour clear");
    device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
    device->SetRenderState(D3DRS_STENCILREF, 1);
    device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    drawAt(0, 0, 64, 48, 0.5f, 0xFFFF0000);
    counted(0, "a draw testing the stencil");
    device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_NEVER);
    device->SetRenderState(D3DRS_STENCILFAIL, D3DSTENCILOP_INCR);
    drawAt(0, 0, 1, 1, 0.5f, 0xFF0000FF);
    device->SetRenderState(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    counted(1, "a draw that may write the stencil");
    expectPixels(readTarget(), {{4, 4, 0xFF0000},
                                {19, 11, 0xFF0000},
                                {20, 11, 0},
                                {19, 12, 0},
                                {3, 4, 0},
                                {40, 30, 0xFF0000},
                                {59, 43, 0xFF0000},
                                {60, 43, 0},
                                {24, 0, 0xFF0000},
                                {31, 47, 0xFF0000},
                                {23, 20, 0},
                                {32, 20, 0}});
    IDirect3DSurface9* automatic = nullptr;
    device->GetDepthStencilSurface(&automatic);
    device->SetDepthStencilSurface(automatic);
    automatic->Release();
    counted(1, "a depth-stencil surface set");
}

// Frames as the GUI draws them (a whole Clear, stencil marks, draws clipped by them, Present)
// with the automatic depth-stencil stay where they are: in the window, the window's depth-stencil
// holds it and nothing is copied between the window and storage of its own, frame after frame;
// a depth surface of another kind moves the back buffer out once, until Present.
TEST_P(BackBufferTest, StencilFramesWithTheAutomaticDepthStencilCopyNothing) {
    using port::d3d9::depthStencilOnWindow;
    using port::d3d9::windowStorageMoves;
    EXPECT_EQ(depthStencilOnWindow(device), GetParam());
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    auto frame = [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
        device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
        device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
        device->SetRenderState(D3DRS_STENCILREF, 1);
        device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE);
        device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
        drawAt(0, 0, 32, 48, 0.5f, 0xFF000000);  // marks the left half
        device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
        device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
        device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
        drawAt(0, 0, 64, 48, 0.5f, 0xFFFF0000);  // clipped to the mark
        device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
        expectPixels(readTarget(), {{4, 4, 0xFF0000}, {31, 47, 0xFF0000}, {32, 4, 0}, {63, 47, 0}});
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    };
    unsigned const before = windowStorageMoves(device);
    for (int i = 0; i < 3; ++i) frame();
    EXPECT_EQ(windowStorageMoves(device), before);

    IDirect3DSurface9* own = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &own,
                                                nullptr),
              D3D_OK);
    IDirect3DSurface9* automatic = nullptr;
    device->GetDepthStencilSurface(&automatic);
    device->SetDepthStencilSurface(own);
    frame();
    // Out of the window at the first stencil draw, back at Present; a texture back buffer never moves.
    EXPECT_EQ(windowStorageMoves(device), before + (GetParam() ? 2u : 0u));
    device->SetDepthStencilSurface(automatic);
    automatic->Release();
    own->Release();
}

// A frame that starts with a whole Clear and then tests depth keeps the cleared colour, also
// where nothing is drawn, and a Clear of part of the back buffer is not taken for a whole one.
TEST_P(BackBufferTest, ClearedColourSurvivesTheFirstDepthTest) {
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    for (bool partly : {false, true}) {
        SCOPED_TRACE(partly ? "then part of it" : "whole");
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF336699, 1.0f, 0);
        D3DRECT corner{48, 32, 64, 48};
        if (partly) device->Clear(1, &corner, D3DCLEAR_TARGET, 0xFFFFFF00, 1.0f, 0);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        drawAt(0, 0, 16, 16, 0.5f, 0xFFFF0000);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        expectPixels(readTarget(), {{4, 4, 0xFF0000}, {40, 8, 0x336699}, {50, 34, partly ? 0xFFFF00u : 0x336699u}});
    }
}

// Copies of depth surfaces are not clipped by a scissor rectangle a draw left on, and a colour
// copy after one is not limited to the depth surface's size.
TEST_P(BackBufferTest, DepthCopiesAreWholeAndLeaveColourCopiesWhole) {
    IDirect3DSurface9* depth[2] = {};
    for (auto*& d : depth)
        ASSERT_EQ(device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &d,
                                                    nullptr),
                  D3D_OK);
    IDirect3DSurface9* automatic = nullptr;
    device->GetDepthStencilSurface(&automatic);
    device->SetDepthStencilSurface(depth[0]);
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 0.0f, 0);  // nothing passes LESS
    RECT scissor{0, 0, 8, 8};
    device->SetScissorRect(&scissor);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    drawAt(0, 0, 64, 48, 0.5f, 0xFF000000);  // leaves GL's scissor test on
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    ASSERT_EQ(device->StretchRect(depth[0], nullptr, depth[1], nullptr, D3DTEXF_NONE), D3D_OK);

    IDirect3DSurface9* small = nullptr;
    IDirect3DSurface9* large = nullptr;
    ASSERT_EQ(device->CreateRenderTarget(16, 16, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &small, nullptr),
              D3D_OK);
    ASSERT_EQ(device->CreateRenderTarget(kWidth, kHeight, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &large,
                                         nullptr),
              D3D_OK);
    IDirect3DSurface9* smallDepth = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(16, 16, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &smallDepth,
                                                nullptr),
              D3D_OK);
    IDirect3DSurface9* smallDepth2 = nullptr;
    ASSERT_EQ(device->CreateDepthStencilSurface(16, 16, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &smallDepth2,
                                                nullptr),
              D3D_OK);
    ASSERT_EQ(device->StretchRect(smallDepth, nullptr, smallDepth2, nullptr, D3DTEXF_NONE), D3D_OK);
    ASSERT_EQ(device->ColorFill(small, nullptr, 0xFF00FF00), D3D_OK);
    RECT whole{0, 0, kWidth, kHeight};
    ASSERT_EQ(device->StretchRect(small, nullptr, large, &whole, D3DTEXF_NONE), D3D_OK);

    device->SetRenderTarget(0, large);
    expectPixels(readTarget(), {{2, 2, 0x00FF00}, {40, 30, 0x00FF00}, {63, 47, 0x00FF00}});
    device->SetDepthStencilSurface(depth[1]);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    drawAt(0, 0, 64, 48, 0.5f, 0xFFFF0000);  // the copied 0 everywhere: dropped
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    expectPixels(readTarget(), {{2, 2, 0x00FF00}, {40, 30, 0x00FF00}});
    IDirect3DSurface9* back = backBuffer();
    device->SetRenderTarget(0, back);
    device->SetDepthStencilSurface(automatic);
    for (IDirect3DSurface9* s : {back, automatic, smallDepth, smallDepth2, small, large, depth[0], depth[1]})
        s->Release();
}

// The look at a presented picture (what the main loop paces its frames by): only the present
// asked for is read; the same picture gives the same hash, one changed pixel another.
TEST_P(BackBufferTest, ALookAtThePresentedPictureTellsAChangedPixel) {
    using port::d3d9::lookAtNextPresent;
    using port::d3d9::lookedAtPicture;
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    auto present = [&](bool look, DWORD dotColour) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF204060, 1.0f, 0);
        drawAt(10, 10, 11, 11, 0.5f, dotColour);  // one pixel
        if (look) lookAtNextPresent(device);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    };
    uint64_t number = 0;
    lookedAtPicture(device, number);
    EXPECT_EQ(number, 0u) << "nothing looked at yet";
    present(false, 0xFFFFFFFF);
    lookedAtPicture(device, number);
    EXPECT_EQ(number, 0u) << "a present not asked for is not read";
    present(true, 0xFFFFFFFF);
    uint64_t first = 0;
    uint64_t const white = lookedAtPicture(device, first);
    EXPECT_GT(first, 0u);
    present(true, 0xFFFFFFFF);
    uint64_t second = 0;
    EXPECT_EQ(lookedAtPicture(device, second), white) << "the same picture";
    EXPECT_EQ(second, first + 1);
    present(true, 0xFFFFFFFE);
    EXPECT_NE(lookedAtPicture(device, second), white) << "one pixel's blue differs by one";
}

INSTANTIATE_TEST_SUITE_P(Kinds, BackBufferTest, ::testing::Values(true, false),
                         [](::testing::TestParamInfo<bool> const& info) {
                             return std::string(info.param ? "Window" : "Texture");
                         });

}  // namespace
