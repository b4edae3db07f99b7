// Shared parts of the effect tests: device set-up through the device object, temporary effect
// sources, captured message boxes and pixel read-back.
#include "tests/engine/render/test_effect_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/core/AppInfo.h"
#include "engine/platform/D3DInterface.h"
#include "port/win32/HostPath.h"
#include "port/win32/log.h"
#include "tests/support/TestSupport.h"

namespace effecttest {

std::string flatEffect(std::string const& colour) {
    return "#ifndef VALUE\n#define VALUE 0\n#endif\n"
           "int g_Value = VALUE;\n"
           "float4 g_Colour = " + colour + ";\n"
           "float4x4 g_Unused;\n"
           "glsl_vertex VS {\n"
           "  out vec4 colour;\n"
           "  void main() { gl_Position = port_screenToClip(in_Position); colour = in_Diffuse; }\n"
           "}\n"
           "glsl_pixel PS {\n"
           "  in vec4 colour;\n"
           "  out vec4 result;\n"
           "  void main() { result = g_Colour * colour; }\n"
           "}\n"
           "technique Flat < int TEX_COUNT = 2; > { pass P0 { VertexShader = VS; PixelShader = PS; } }\n"
           "technique Other { pass P0 { AlphaBlendEnable = true; VertexShader = VS; PixelShader = PS; } }\n";
}

::testing::AssertionResult colourNear(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            char text[64];
            std::snprintf(text, sizeof(text), "0x%08X is not near 0x%08X", actual, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

void EffectTest::SetUp() {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{kWidth, kHeight, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    ASSERT_TRUE(d3d.init());
    folder = testsupport::makeTempDir("effects");
    // The user folder was resolved at static initialisation, before the test main pointed
    // XDG_DATA_HOME at this process's temporary home: resolve it again.
    Orvex::AppInfo::getInstance().setUserFolderKind(Orvex::AppInfo::USER_FOLDER_APPDATA);
    ASSERT_NE(Orvex::AppInfo::getInstance().getUserFolder().find(port::windowsPath(testsupport::homeDir().string())),
              std::wstring::npos);
    Orvex::AppInfo::getInstance().createUserFolder();
    Orvex::Effect::useCompiledCache = 0;
    Orvex::Effect::writeCompiledCache = 1;
    port::setLogSink([this](port::LogLevel, std::wstring const& line) { logLines.push_back(line); });
}

void EffectTest::TearDown() {
    port::setLogSink({});
    manager.clear();
    Orvex::Effect::useCompiledCache = 1;
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
}

std::wstring EffectTest::write(std::string const& relative, std::string const& text) {
    testsupport::writeFile(folder / relative, text);
    return pathOf(relative);
}

std::wstring EffectTest::pathOf(std::string const& relative) const {
    return port::windowsPath((folder / relative).string());
}

Orvex::XMLNode EffectTest::parse(std::wstring const& text) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return node;
}

std::wstring EffectTest::definition(std::wstring const& name, std::string const& file, std::wstring const& extra,
                                    std::wstring const& attributes) const {
    return L"<EFFECT NAME=\"" + name + L"\"" + attributes + L"><FILE FILENAME=\"" + pathOf(file) + L"\" />" + extra +
           L"</EFFECT>";
}

std::vector<std::wstring> EffectTest::takeBoxes() {
    std::vector<std::wstring> boxes;
    for (std::wstring const& line : logLines)
        if (line.rfind(L"MessageBox ", 0) == 0) boxes.push_back(line);
    logLines.clear();
    return boxes;
}

IDirect3DDevice9* EffectTest::device() const { return Orvex::D3DInterface::getInstance().getDevice(); }

void EffectTest::clear(uint32_t colour) const {
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0);
}

std::vector<uint32_t> EffectTest::readTarget() const {
    std::vector<uint32_t> pixels;
    IDirect3DSurface9* target = nullptr;
    if (device()->GetRenderTarget(0, &target) != D3D_OK) return pixels;
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device()->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                    nullptr),
              D3D_OK);
    if (copy && device()->GetRenderTargetData(target, copy) == D3D_OK) {
        D3DLOCKED_RECT locked{};
        if (copy->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
            pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
            for (UINT y = 0; y < desc.Height; ++y)
                std::memcpy(&pixels[static_cast<size_t>(y) * desc.Width],
                            static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, desc.Width * 4);
            copy->UnlockRect();
        }
    }
    if (copy) copy->Release();
    target->Release();
    for (uint32_t& p : pixels) p |= 0xFF000000u;  // X8R8G8B8: the unused byte reads as opaque
    return pixels;
}

IDirect3DTexture9* EffectTest::makeTexture(unsigned width, unsigned height, std::vector<uint32_t> const& texels) const {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device()->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    if (!texture) return nullptr;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            uint32_t texel = texels.size() == 1 ? texels[0] : texels[y * width + x];
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] = texel;
        }
    texture->UnlockRect(0);
    return texture;
}

void EffectTest::drawQuads(ID3DXEffect& effect, char const* technique, std::vector<SpriteVertex> const& vertices,
                           DWORD fvf) const {
    std::vector<SpriteVertex> triangles;
    for (size_t q = 0; q + 3 < vertices.size(); q += 4)
        for (int i : {0, 1, 2, 1, 3, 2}) triangles.push_back(vertices[q + i]);
    device()->SetFVF(fvf);
    ASSERT_EQ(effect.SetTechnique(technique), S_OK) << technique;
    UINT passes = 0;
    ASSERT_EQ(effect.Begin(&passes, 0), S_OK);
    for (UINT pass = 0; pass < passes; ++pass) {
        effect.BeginPass(pass);
        device()->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(triangles.size() / 3), triangles.data(),
                                  sizeof(SpriteVertex));
        effect.EndPass();
    }
    effect.End();
}

std::vector<SpriteVertex> EffectTest::quad2D(float left, float top, float right, float bottom, uint32_t diffuse,
                                             float slot) {
    return {{left, top, 0, 1, diffuse, 0, 0, slot, {0, 0, 0, 0}},
            {right, top, 0, 1, diffuse, 1, 0, slot, {0, 0, 0, 0}},
            {left, bottom, 0, 1, diffuse, 0, 1, slot, {0, 0, 0, 0}},
            {right, bottom, 0, 1, diffuse, 1, 1, slot, {0, 0, 0, 0}}};
}

}  // namespace effecttest
