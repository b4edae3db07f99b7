// The render tests' device on the device object, the sprite batcher fixture, image writers and
// read-back helpers.
#include "tests/engine/render/RenderFixture.h"

#include <cstdio>

#include "engine/core/AppInfo.h"
#include "engine/core/Logger.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/RenderManager.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureSettings.h"
#include "port/d3dx9/DxPixels.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "port/win32/win32_log.h"
#include "tests/support/TestSupport.h"

namespace rendertest {

std::wstring effectDefinition(std::wstring const& name, std::wstring const& path, std::wstring const& extra,
                              std::wstring const& attributes) {
    return L"<EFFECT NAME=\"" + name + L"\"" + attributes + L"><FILE FILENAME=\"" + path + L"\" />" + extra +
           L"</EFFECT>";
}

Orvex::XMLNode parse(std::wstring const& text) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return node;
}

namespace {

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, unsigned v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

std::string bmpHeader(unsigned width, unsigned height, unsigned dataSize) {
    std::string s = "BM";
    for (unsigned v : {54 + dataSize, 0u, 54u, 40u, width, height}) put32(s, v);
    put16(s, 1);
    put16(s, 24);
    for (unsigned v : {0u, dataSize, 2835u, 2835u, 0u, 0u}) put32(s, v);
    return s;
}

// f(x, y) of one colour, or of texels row by row.
auto texelsOf(std::vector<uint32_t> const& texels, unsigned width) {
    return [&texels, width](UINT x, UINT y) {
        return texels.size() == 1 ? texels[0] : texels[static_cast<std::size_t>(y) * width + x];
    };
}

// Pixels of [x0, x1) x [y0, y1) against expected(x, y), up to six reported.
::testing::AssertionResult compare(std::vector<uint32_t> const& pixels, unsigned width, unsigned x0, unsigned y0,
                                   unsigned x1, unsigned y1, std::function<uint32_t(unsigned, unsigned)> const& expected) {
    if (pixels.size() < static_cast<size_t>(width) * y1) return ::testing::AssertionFailure() << "no pixels";
    int wrong = 0;
    auto result = ::testing::AssertionSuccess();
    for (unsigned y = y0; y < y1; ++y)
        for (unsigned x = x0; x < x1; ++x) {
            uint32_t const got = pixels[static_cast<size_t>(y) * width + x], want = expected(x, y);
            if (got == want) continue;
            if (wrong++ == 0) result = ::testing::AssertionFailure();
            char text[96];
            std::snprintf(text, sizeof(text), " (%u,%u)=0x%08X want 0x%08X", x, y, got, want);
            if (wrong <= 6) result << text;
        }
    if (wrong) result << "; " << wrong << " pixels wrong";
    return result;
}

}  // namespace

std::string bmp24(unsigned width, unsigned height, PixelFn const& pixel) {
    unsigned const pitch = (width * 3 + 3) & ~3u;
    std::string s = bmpHeader(width, height, pitch * height);
    for (unsigned row = 0; row < height; ++row) {
        std::string line;
        for (unsigned x = 0; x < width; ++x) {
            uint32_t const c = pixel(x, height - 1 - row);
            for (int shift : {0, 8, 16}) line += static_cast<char>((c >> shift) & 0xFF);
        }
        line.resize(pitch, '\0');
        s += line;
    }
    return s;
}

std::string bmpHeaderOnly(unsigned width, unsigned height) { return bmpHeader(width, height, 0); }

std::string png(unsigned width, unsigned height, PixelFn const& pixel) {
    port::dx::Image image;
    image.width = width;
    image.height = height;
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) image.argb.push_back(pixel(x, y));
    std::vector<unsigned char> bytes;
    EXPECT_EQ(port::dx::encodeImage(D3DXIFF_PNG, image, bytes), S_OK);
    return std::string(bytes.begin(), bytes.end());
}

uint32_t quadrants(unsigned x, unsigned y) {
    static constexpr uint32_t kColours[4] = {0x00FF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
    return kColours[(x / 4) % 2 + 2 * ((y / 4) % 2)];
}

void fillTexels(IDirect3DTexture9* texture, unsigned width, unsigned height, std::vector<uint32_t> const& texels) {
    testsupport::fillTexture(texture, width, height, texelsOf(texels, width));
}

void RenderFixture::SetUp() {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{width_, height_, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    ASSERT_TRUE(d3d.init());
    Orvex::Effect::useCompiledCache = 0;
    Orvex::Effect::writeCompiledCache = 1;
    folder = testsupport::makeTempDir("render");
    Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
    Orvex::setTextureTickCount(100000);
    // The user folder was resolved at static initialisation, before the test main pointed
    // XDG_DATA_HOME at this process's temporary home: resolve it again.
    Orvex::AppInfo& app = Orvex::AppInfo::getInstance();
    app.setUserFolderKind(Orvex::AppInfo::USER_FOLDER_APPDATA);
    ASSERT_NE(app.getUserFolder().find(port::windowsPath(testsupport::homeDir().string())), std::wstring::npos);
    app.createUserFolder();
    port::setLogSink([this](port::LogLevel, std::wstring const& line) { logLines.push_back(line); });
}

void RenderFixture::TearDown() {
    // Nothing made on the device may outlive it.
    port::setLogSink({});
    effectManager.clear();
    for (IDirect3DTexture9* t : textures_) t->Release();
    textures_.clear();
    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    registry.releaseAnimations();
    registry.getTextures().releaseAll();
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.getTextureManager().releaseAll();
    Orvex::Effect::useCompiledCache = 1;
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
    Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
}

IDirect3DDevice9* RenderFixture::device() const { return Orvex::D3DInterface::getInstance().getDevice(); }

void RenderFixture::clear(uint32_t colour) const {
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, colour, 1.0f, 0);
}

::testing::AssertionResult RenderFixture::filled(std::vector<uint32_t> const& pixels, unsigned x0, unsigned y0,
                                                 unsigned x1, unsigned y1, uint32_t colour) const {
    return compare(pixels, width_, x0, y0, x1, y1, [colour](unsigned, unsigned) { return colour; });
}

::testing::AssertionResult RenderFixture::matches(unsigned x0, unsigned y0, unsigned x1, unsigned y1,
                                                  std::function<uint32_t(unsigned, unsigned)> const& expected) const {
    return compare(readTarget(), width_, 0, 0, width_, height_, [&](unsigned x, unsigned y) {
        return x >= x0 && x < x1 && y >= y0 && y < y1 ? expected(x - x0, y - y0) : background_;
    });
}

IDirect3DTexture9* RenderFixture::makeTexture(unsigned width, unsigned height, std::vector<uint32_t> const& texels) {
    IDirect3DTexture9* texture = testsupport::makeTexture(device(), width, height, texelsOf(texels, width));
    if (texture) textures_.push_back(texture);
    return texture;
}

std::wstring RenderFixture::write(std::string const& relative, std::string const& bytes) const {
    testsupport::writeFile(folder / relative, bytes);
    return pathOf(relative);
}

std::wstring RenderFixture::pathOf(std::string const& relative) const {
    return port::windowsPath((folder / relative).string());
}

std::size_t loggedCount(std::wstring const& text, std::wstring const& also) {
    // The log keeps its last lines only; tests look for texts of their own (file and texture
    // names), so lines of earlier tests in the same process cannot match.
    std::size_t count = 0;
    for (std::wstring const& line : Orvex::Logger::getInstance().recentLines())
        if (line.find(text) != std::wstring::npos && line.find(also) != std::wstring::npos) ++count;
    return count;
}

::testing::AssertionResult rectIs(RECT const& r, LONG left, LONG top, LONG right, LONG bottom) {
    if (r.left == left && r.top == top && r.right == right && r.bottom == bottom) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

Orvex::SpriteRect placement(float x, float y, float w, float h) {
    return Orvex::SpriteRect(D3DXVECTOR2(x, y), D3DXVECTOR2(w, h), 0.0f, D3DXVECTOR2(0, 0), 0);
}

std::wstring runCommand(Orvex::RenderManager& manager, std::wstring const& line) {
    Orvex::TypedConsoleCommand typed(line);
    Orvex::ConsoleCommand* command = manager.findCommand(typed.getCommand());
    if (!command) return L"?";
    if (typed.getArgumentCount() < command->getMinimumArguments()) return command->getHelp();
    manager.executeCommand(*command, typed);
    return typed.getReply();
}

std::vector<std::wstring> RenderFixture::takeBoxes() {
    std::vector<std::wstring> boxes;
    for (std::wstring const& line : logLines)
        if (line.rfind(L"MessageBox ", 0) == 0) boxes.push_back(line);
    logLines.clear();
    return boxes;
}

uint32_t pixelOf(Orvex::Texture2D& texture, unsigned x, unsigned y) {
    D3DXCOLOR c;
    return texture.readPixel(c, x, y) ? static_cast<uint32_t>(static_cast<DWORD>(c)) : 0xDEADBEEFu;
}

std::vector<uint32_t> readAll(Orvex::Texture2D& texture) {
    std::vector<uint32_t> out;
    for (unsigned y = 0; y < texture.getHeight(); ++y)
        for (unsigned x = 0; x < texture.getWidth(); ++x) out.push_back(pixelOf(texture, x, y));
    return out;
}

void RenderFixture::drawQuads(ID3DXEffect& effect, char const* technique, std::vector<SpriteVertex> const& vertices,
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

void SpriteTest::SetUp() {
    RenderFixture::SetUp();
    if (HasFatalFailure()) return;
    sprite = new Orvex::Sprite();
    ASSERT_TRUE(sprite->create());
    ASSERT_TRUE(sprite->hasBuffers());
    effect = loadSpriteEffect();
    ASSERT_NE(effect, nullptr);
    sprite->setEffect(effect);
    clear();
}

void SpriteTest::TearDown() {
    delete sprite;
    sprite = nullptr;
    for (Orvex::Effect* e : effects_) e->release();
    effects_.clear();
    RenderFixture::TearDown();
}

Orvex::Effect* SpriteTest::loadSpriteEffect(std::string const& texCount, bool pointFilter) {
    std::filesystem::path const source = testsupport::sourceDir() / "data" / "FX" / "sprite.fx";
    std::wstring macros;
    if (!texCount.empty())
        macros += L"<MACRO NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"" + port::fromUtf8(texCount) + L"\" />";
    if (pointFilter) macros += L"<MACRO NAME=\"SPRITE_POINT_FILTER\" DEFINITION=\"1\" />";
    if (!macros.empty()) macros = L"<MACROS>" + macros + L"</MACROS>";
    Orvex::XMLNode node =
        parse(effectDefinition(L"Sprite", port::windowsPath(source.string()), macros, L" PRE_COMPILE=\"0\""));
    auto* loaded = new Orvex::Effect(false);
    if (!loaded->load(node)) {
        ADD_FAILURE() << "the sprite effect did not load";
        loaded->release();
        return nullptr;
    }
    effects_.push_back(loaded);
    return loaded;
}

bool SpriteTest::drawAt(IDirect3DTexture9* texture, float x, float y, uint32_t colour, RECT const* source) {
    D3DXVECTOR2 const position(x, y);
    return sprite->DrawSprite2D(texture, source, nullptr, nullptr, 0.0f, &position, colour);
}

}  // namespace rendertest
