// State the device keeps between draws: the draw framebuffer's attachments, the vertex
// attributes and the textures of the units (GL names reused after a delete), the depth-stencil
// surface attached only while depth or stencil is used, the uniforms of override programs, the
// render states made into GL state only when changed, and the built-in program's variants with
// and without alpha test.
#include "tests/support/gl/DeviceFixture.h"

#include "tests/port/d3d9/DepthQuad.h"
#include "tests/port/d3d9/GlProgram.h"

#include "port/d3d9/d3d9_port.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

// Mesa hands out fresh names unless told to reuse them as other drivers do; set before the
// first context of this program.
bool const kReuseNames = setenv("force_gl_names_reuse", "true", 0) == 0;

using testsupport::kRgb;

using d3d9test::linkProgram;

class AttachmentTest : public testsupport::DrawingFixture {
protected:
    void SetUp() override {
        DrawingFixture::SetUp();
        if (!device) return;
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    }

    void drawAt(float x0, float y0, float x1, float y1, float z, D3DCOLOR color) {
        d3d9test::drawAt(device, x0, y0, x1, y1, z, color);
    }

    // Whether the framebuffer the last draw went to has a depth-stencil attachment.
    static bool depthAttached() {
        GLint type = GL_NONE;
        glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
        return type != GL_NONE;
    }

    // Depth and stencil set, tested and kept across draws that leave them out, on the current
    // target and depth surface (the attachments checked where they are the device's to make).
    void depthStencilSequence(bool checkAttachments);

    IDirect3DTexture9* makeTarget() {
        IDirect3DTexture9* target = nullptr;
        EXPECT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target,
                                        nullptr),
                  D3D_OK);
        return target;
    }
};

// GL hands a deleted texture's name to the next texture: a target made after another was
// released must get the draws, not the framebuffer's memory of the old one.
TEST_F(AttachmentTest, ReleasedRenderTargetsNameReusedByTheNextGetsItsDraws) {
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetRenderTarget(0, &backBuffer), D3D_OK);
    IDirect3DTexture9* first = makeTarget();
    ASSERT_NE(first, nullptr);
    unsigned const name = port::gl::textureName(first);
    IDirect3DSurface9* surface = nullptr;
    first->GetSurfaceLevel(0, &surface);
    device->SetRenderTarget(0, surface);
    drawAt(0, 0, 16, 16, 0.5f, 0xFFFF0000);
    device->SetRenderTarget(0, backBuffer);
    surface->Release();
    EXPECT_EQ(first->Release(), 0u);

    IDirect3DTexture9* second = makeTarget();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(kReuseNames);
    if (port::gl::textureName(second) != name) GTEST_SKIP() << "the GL driver did not reuse the texture name";
    second->GetSurfaceLevel(0, &surface);
    device->SetRenderTarget(0, surface);
    drawAt(4, 4, 8, 8, 0.5f, 0xFF00FF00);
    auto pixels = readTarget();
    ASSERT_EQ(pixels.size(), 256u);
    EXPECT_EQ(pixel(pixels, 5, 5, 16) & kRgb, 0x00FF00u);
    EXPECT_EQ(pixel(pixels, 12, 12, 16) & kRgb, 0u);  // a new target starts black, not red
    device->SetRenderTarget(0, backBuffer);
    surface->Release();
    second->Release();
    backBuffer->Release();
}

// The same for a depth-stencil surface: the new one's values decide the depth test.
TEST_F(AttachmentTest, ReleasedDepthSurfacesNameReusedByTheNextIsTested) {
    IDirect3DSurface9* autoDepth = nullptr;
    ASSERT_EQ(device->GetDepthStencilSurface(&autoDepth), D3D_OK);
    auto makeDepth = [&] {
        IDirect3DSurface9* depth = nullptr;
        EXPECT_EQ(device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &depth,
                                                    nullptr),
                  D3D_OK);
        return depth;
    };
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    IDirect3DSurface9* first = makeDepth();
    ASSERT_NE(first, nullptr);
    device->SetDepthStencilSurface(first);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawAt(0, 0, 8, 8, 0.5f, 0xFFFF0000);
    device->SetDepthStencilSurface(autoDepth);
    EXPECT_EQ(first->Release(), 0u);

    IDirect3DSurface9* second = makeDepth();
    ASSERT_NE(second, nullptr);
    device->SetDepthStencilSurface(second);
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 0.0f, 0);  // everything fails LESS
    drawAt(8, 0, 16, 8, 0.5f, 0xFF00FF00);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 4, 4) & kRgb, 0xFF0000u);
    EXPECT_EQ(pixel(pixels, 12, 4) & kRgb, 0u);
    device->SetDepthStencilSurface(autoDepth);
    second->Release();
    autoDepth->Release();
}

// Work between draws that sets GL state of its own (Clear, copies, Present, a new render
// target) must not leave it to the next draw, whose render states did not change.
TEST_F(AttachmentTest, DrawsKeepTheirStatesAfterWorkThatSetsGlStateBetweenThem) {
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetRenderTarget(0, &backBuffer), D3D_OK);
    IDirect3DSurface9* plain = nullptr;
    ASSERT_EQ(device->CreateRenderTarget(8, 8, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &plain, nullptr), D3D_OK);
    struct Between {
        char const* name;
        std::function<void()> work;
    } const cases[] = {
        {"Clear", [&] { device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0); }},
        {"ColorFill", [&] { device->ColorFill(plain, nullptr, 0xFF00FF00); }},
        {"StretchRect", [&] {
             RECT const corner{0, 0, 8, 8};
             device->StretchRect(backBuffer, &corner, plain, nullptr, D3DTEXF_NONE);
         }},
        {"Present", [&] { device->Present(nullptr, nullptr, nullptr, nullptr); }},
        {"render target texture", [&] {
             IDirect3DTexture9* target = makeTarget();
             if (target) target->Release();
         }},
    };
    for (Between const& c : cases) {
        SCOPED_TRACE(c.name);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
        RECT const left{0, 0, 32, 48};
        device->SetScissorRect(&left);
        device->SetRenderState(D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_ALPHA);
        drawAt(0, 0, 64, 16, 0.5f, 0xFFFFFFFF);
        c.work();
        drawAt(0, 16, 64, 32, 0.5f, 0xFFFFFFFF);
        device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
        device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
        auto pixels = readTarget();
        for (int y : {8, 24}) {
            EXPECT_EQ(pixel(pixels, 8, y) & kRgb, 0xFF0000u) << "y " << y;  // red only
            EXPECT_EQ(pixel(pixels, 40, y) & kRgb, 0u) << "y " << y;        // outside the scissor
        }
    }
    plain->Release();
    backBuffer->Release();
}

// A vertex buffer made after another was released may get its GL name: draws read the new one.
TEST_F(AttachmentTest, ReleasedVertexBuffersNameReusedByTheNextIsRead) {
    auto makeQuad = [&](float x0, D3DCOLOR colour) {
        IDirect3DVertexBuffer9* vb = nullptr;
        EXPECT_EQ(device->CreateVertexBuffer(4 * sizeof(testsupport::ScreenVertex), D3DUSAGE_WRITEONLY,
                                             testsupport::kScreenFvf, D3DPOOL_MANAGED, &vb, nullptr),
                  D3D_OK);
        void* data = nullptr;
        if (!vb || vb->Lock(0, 0, &data, 0) != D3D_OK) return vb;
        testsupport::ScreenVertex const v[4] = {{x0, 0, 0.5f, 1, colour, 0, 0},
                                                {x0 + 8, 0, 0.5f, 1, colour, 1, 0},
                                                {x0, 8, 0.5f, 1, colour, 0, 1},
                                                {x0 + 8, 8, 0.5f, 1, colour, 1, 1}};
        std::memcpy(data, v, sizeof(v));
        vb->Unlock();
        return vb;
    };
    device->SetFVF(testsupport::kScreenFvf);
    IDirect3DVertexBuffer9* first = makeQuad(0, 0xFFFF0000);
    ASSERT_NE(first, nullptr);
    device->SetStreamSource(0, first, 0, sizeof(testsupport::ScreenVertex));
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    device->SetStreamSource(0, nullptr, 0, 0);
    EXPECT_EQ(first->Release(), 0u);
    IDirect3DVertexBuffer9* second = makeQuad(16, 0xFF00FF00);
    ASSERT_NE(second, nullptr);
    device->SetStreamSource(0, second, 0, sizeof(testsupport::ScreenVertex));
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    device->SetStreamSource(0, nullptr, 0, 0);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 4, 4) & kRgb, 0xFF0000u);
    EXPECT_EQ(pixel(pixels, 20, 4) & kRgb, 0x00FF00u);
    second->Release();
}

// Textures are bound to their units only when they differ from the last draw's. Work that binds
// a texture of its own (a new texture's upload) and a released texture whose name the next one
// gets must not leave a unit showing the wrong texture, on unit 0 (where uploads bind) and on a
// unit above it (stage 1 selecting its texture, sampled with set 0).
TEST_F(AttachmentTest, TextureUnitsShowTheirTexturesAfterUploadsAndReleasedNames) {
    auto solid = [&](uint32_t colour) { return makeTexture(4, 4, [colour](UINT, UINT) { return colour; }); };
    device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 0);
    for (DWORD stage : {0u, 1u}) {
        SCOPED_TRACE(stage);
        // The fixture's stage 0 shows the diffuse colour; stage 1 runs in its own round.
        device->SetTextureStageState(1, D3DTSS_COLOROP, stage == 1 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE);
        if (stage == 0) {
            device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
            device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        } else {
            device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
            device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        }
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        IDirect3DTexture9* red = solid(0xFFFF0000);
        ASSERT_NE(red, nullptr);
        device->SetTexture(stage, red);
        drawAt(0, 0, 8, 8, 0.5f, 0xFFFFFFFF);
        IDirect3DTexture9* green = solid(0xFF00FF00);  // uploaded between two draws of red
        ASSERT_NE(green, nullptr);
        drawAt(8, 0, 16, 8, 0.5f, 0xFFFFFFFF);
        unsigned const name = port::gl::textureName(red);
        device->SetTexture(stage, nullptr);
        EXPECT_EQ(red->Release(), 0u);
        IDirect3DTexture9* blue = solid(0xFF0000FF);  // may get red's name
        ASSERT_NE(blue, nullptr);
        ASSERT_TRUE(kReuseNames);
        bool const reused = port::gl::textureName(blue) == name;
        device->SetTexture(stage, blue);
        drawAt(16, 0, 24, 8, 0.5f, 0xFFFFFFFF);
        device->SetTexture(stage, green);
        drawAt(24, 0, 32, 8, 0.5f, 0xFFFFFFFF);
        device->SetTexture(stage, nullptr);
        auto pixels = readTarget();
        EXPECT_EQ(pixel(pixels, 4, 4) & kRgb, 0xFF0000u);
        EXPECT_EQ(pixel(pixels, 12, 4) & kRgb, 0xFF0000u);
        EXPECT_EQ(pixel(pixels, 20, 4) & kRgb, 0x0000FFu) << (reused ? "under red's name" : "");
        EXPECT_EQ(pixel(pixels, 28, 4) & kRgb, 0x00FF00u);
        green->Release();
        blue->Release();
    }
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
}

// Depth and stencil values survive the draws that leave them out (Z and stencil off, depth
// writes on): turned on later, both test against what was cleared and written before. A texture
// target has the depth surface attached only while used; the window's framebuffer (the back
// buffer where it can serve) always has its own.
TEST_F(AttachmentTest, DepthStencilAttachedOnlyWhileUsedKeepsItsValues) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(kWidth, kHeight, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                    &texture, nullptr),
              D3D_OK);
    IDirect3DSurface9* textureSurface = nullptr;
    IDirect3DSurface9* depth = nullptr;
    IDirect3DSurface9* backBuffer = nullptr;
    texture->GetSurfaceLevel(0, &textureSurface);
    ASSERT_EQ(device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, FALSE, &depth,
                                                nullptr),
              D3D_OK);
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    for (bool onTexture : {false, true}) {
        SCOPED_TRACE(onTexture ? "texture target" : "back buffer");
        bool window = !onTexture && port::d3d9::backBufferOnWindow(device);
        if (onTexture) {
            device->SetRenderTarget(0, textureSurface);
            device->SetDepthStencilSurface(depth);
        }
        depthStencilSequence(!window);
        device->SetRenderTarget(0, backBuffer);
    }
    backBuffer->Release();
    depth->Release();
    textureSurface->Release();
    texture->Release();
}

void AttachmentTest::depthStencilSequence(bool checkAttachments) {
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 0.5f, 0);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    drawAt(0, 0, 64, 48, 0.1f, 0xFF000080);  // Z off: neither tested nor written
    if (checkAttachments) {
        EXPECT_FALSE(depthAttached());
    }

    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    drawAt(0, 0, 16, 16, 0.3f, 0xFFFF0000);   // in front of the cleared 0.5: drawn, writes 0.3
    drawAt(16, 0, 32, 16, 0.7f, 0xFFFF0000);  // behind: dropped
    if (checkAttachments) {
        EXPECT_TRUE(depthAttached());
    }
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    drawAt(32, 0, 48, 16, 0.9f, 0xFF00FF00);  // Z off again: drawn
    if (checkAttachments) {
        EXPECT_FALSE(depthAttached());
    }

    device->SetRenderState(D3DRS_STENCILENABLE, TRUE);  // marks the left half with 1
    device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE);
    device->SetRenderState(D3DRS_STENCILREF, 1);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    drawAt(0, 16, 32, 48, 0.5f, 0xFFFFFFFF);
    if (checkAttachments) {
        EXPECT_TRUE(depthAttached());
    }
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    drawAt(48, 0, 64, 16, 0.5f, 0xFF0000FF);

    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);  // the 0.3 written earlier still holds
    drawAt(0, 0, 8, 16, 0.4f, 0xFFFFFF00);  // behind 0.3: dropped
    drawAt(8, 0, 16, 16, 0.2f, 0xFF00FFFF);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
    device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    drawAt(0, 16, 64, 48, 0.5f, 0xFFFF00FF);  // only where the stencil holds 1
    device->SetRenderState(D3DRS_STENCILENABLE, FALSE);

    auto pixels = readTarget();
    struct Expect {
        int x, y;
        uint32_t colour;
    } const expected[] = {{4, 4, 0xFF0000},   {12, 4, 0x00FFFF}, {20, 4, 0x000080},
                          {36, 4, 0x00FF00},  {52, 4, 0x0000FF}, {10, 30, 0xFF00FF},
                          {40, 30, 0x000080}, {4, 20, 0xFF00FF}};
    for (Expect const& e : expected) EXPECT_EQ(pixel(pixels, e.x, e.y) & kRgb, e.colour) << e.x << "," << e.y;
}

// Clearing depth or stencil attaches the surface even while Z and stencil are off.
TEST_F(AttachmentTest, ClearOfDepthReachesTheSurfaceWhileZIsOff) {
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 0.0f, 0);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    drawAt(0, 0, 16, 16, 0.5f, 0xFFFF0000);  // behind the cleared 0: dropped
    drawAt(16, 0, 32, 16, 0.0f, 0xFF00FF00);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 4, 4) & kRgb, 0u);
    EXPECT_EQ(pixel(pixels, 20, 4) & kRgb, 0x00FF00u);
}

// The uniforms the device sets are looked up again for a new override program, also one that
// gets the name of a deleted one (Mesa hands out fresh program names, other drivers do not).
TEST_F(AttachmentTest, OverrideProgramUnderAReusedNameGetsItsScreenMapping) {
    ASSERT_TRUE(port::gl::makeCurrent(device));
    std::string const fragment = "#version 330 core\nout vec4 result;\nvoid main() { result = vec4(0, 1, 0, 1); }\n";
    GLuint fixed = linkProgram("#version 330 core\nin vec4 in_Position;\n"
                               "void main() { gl_Position = vec4(in_Position.xy / 32.0 - 1.0, 0.0, 1.0); }\n",
                               fragment);
    port::gl::setProgramOverride(device, fixed);
    drawAt(0, 0, 8, 8, 0.5f, 0xFFFFFFFF);  // no port_ScreenToClip in this one
    port::gl::setProgramOverride(device, 0);
    glDeleteProgram(fixed);
    GLuint mapped = linkProgram(std::string("#version 330 core\n") + port::gl::kVertexPrelude +
                                    "in vec4 in_Position;\nvoid main() { gl_Position = port_screenToClip(in_Position); }\n",
                                fragment);
    port::gl::setProgramOverride(device, mapped);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    drawAt(40, 20, 48, 28, 0.5f, 0xFFFFFFFF);
    port::gl::setProgramOverride(device, 0);
    glDeleteProgram(mapped);
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 44, 24) & kRgb, 0x00FF00u);
    EXPECT_EQ(pixel(pixels, 36, 24) & kRgb, 0u);
}

// The built-in program without the alpha test is used while the test is off or passes
// everything, and the one with it again when it is turned back on.
TEST_F(AttachmentTest, AlphaTestSwitchesBetweenProgramVariants) {
    struct Step {
        BOOL enable;
        DWORD func;
        bool drawn;
    } const steps[] = {{TRUE, D3DCMP_GREATER, false}, {FALSE, D3DCMP_GREATER, true}, {TRUE, D3DCMP_GREATER, false},
                       {TRUE, D3DCMP_ALWAYS, true},   {TRUE, D3DCMP_NEVER, false},   {TRUE, D3DCMP_LESS, true},
                       {FALSE, D3DCMP_NEVER, true}};
    device->SetRenderState(D3DRS_ALPHAREF, 0x80);
    int x = 0;
    for (Step const& s : steps) {
        device->SetRenderState(D3DRS_ALPHATESTENABLE, s.enable);
        device->SetRenderState(D3DRS_ALPHAFUNC, s.func);
        drawAt(static_cast<float>(x), 0, static_cast<float>(x + 8), 8, 0.5f, 0x40FFFFFF);
        x += 8;
    }
    auto pixels = readTarget();
    for (size_t i = 0; i < std::size(steps); ++i)
        EXPECT_EQ(pixel(pixels, static_cast<int>(i) * 8 + 4, 4) & kRgb, steps[i].drawn ? 0xFFFFFFu : 0u) << "step " << i;
}

}  // namespace
