// Device, effect, textures and read-back for the sprite tests.
#include "tests/engine/render/test_sprite_fixture.h"

#include <cstdio>
#include <cstring>

#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "port/win32/HostPath.h"
#include "tests/support/TestSupport.h"

namespace spritetest {

void SpriteTest::SetUp() {
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{kWidth, kHeight, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    ASSERT_TRUE(d3d.init());
    Orvex::Effect::useCompiledCache = 0;
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
    for (IDirect3DTexture9* t : textures_) t->Release();
    textures_.clear();
    for (Orvex::Effect* e : effects_) e->release();
    effects_.clear();
    Orvex::Effect::useCompiledCache = 1;
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.shutdown();
    d3d.getInitParams() = Orvex::D3DInitParams();
}

Orvex::Effect* SpriteTest::loadSpriteEffect(std::string const& texCount, bool pointFilter) {
    std::filesystem::path source = testsupport::sourceDir() / "data" / "FX" / "sprite.fx";
    if (!texCount.empty()) {
        std::string text = testsupport::readFile(source);
        std::string const key = "int TEX_COUNT = 8;";
        std::size_t const at = text.find(key);
        EXPECT_NE(at, std::string::npos) << "sprite.fx declares no TEX_COUNT of 8";
        if (at == std::string::npos) return nullptr;
        text.replace(at, key.size(), "int TEX_COUNT = " + texCount + ";");
        source = testsupport::makeTempDir("fx_" + texCount) / "sprite.fx";
        testsupport::writeFile(source, text);
    }
    std::wstring definition = L"<EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" +
                              port::windowsPath(source.string()) + L"\" />";
    if (pointFilter) definition += L"<MACROS><MACRO NAME=\"SPRITE_POINT_FILTER\" DEFINITION=\"1\" /></MACROS>";
    definition += L"</EFFECT>";
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(definition));
    auto* loaded = new Orvex::Effect(false);
    if (!loaded->load(node)) {
        ADD_FAILURE() << "the sprite effect did not load";
        loaded->release();
        return nullptr;
    }
    effects_.push_back(loaded);
    return loaded;
}

IDirect3DDevice9* SpriteTest::device() const { return Orvex::D3DInterface::getInstance().getDevice(); }

void SpriteTest::clear(uint32_t colour) const {
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, colour, 1.0f, 0);
}

std::vector<uint32_t> SpriteTest::readTarget() const {
    std::vector<uint32_t> pixels;
    IDirect3DSurface9* target = nullptr;
    if (device()->GetRenderTarget(0, &target) != D3D_OK || !target) return pixels;
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    device()->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy, nullptr);
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
    for (uint32_t& p : pixels) p |= 0xFF000000u;
    return pixels;
}

IDirect3DTexture9* SpriteTest::makeTexture(unsigned width, unsigned height, std::vector<uint32_t> const& texels) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device()->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    if (!texture) return nullptr;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] =
                texels.size() == 1 ? texels[0] : texels[y * width + x];
    texture->UnlockRect(0);
    textures_.push_back(texture);
    return texture;
}

::testing::AssertionResult SpriteTest::filled(std::vector<uint32_t> const& pixels, unsigned x0, unsigned y0,
                                              unsigned x1, unsigned y1, uint32_t colour) const {
    if (pixels.size() != static_cast<size_t>(kWidth) * kHeight) return ::testing::AssertionFailure() << "no pixels";
    int wrong = 0;
    auto result = ::testing::AssertionSuccess();
    for (unsigned y = y0; y < y1; ++y)
        for (unsigned x = x0; x < x1; ++x) {
            uint32_t const p = at(pixels, x, y);
            if (p == colour) continue;
            if (wrong++ == 0) result = ::testing::AssertionFailure();
            if (wrong <= 4) {
                char text[80];
                std::snprintf(text, sizeof(text), " (%u,%u)=0x%08X", x, y, p);
                result << text;
            }
        }
    if (wrong) {
        char text[64];
        std::snprintf(text, sizeof(text), "; %d pixels differ from 0x%08X", wrong, colour);
        result << text;
    }
    return result;
}

bool SpriteTest::drawAt(IDirect3DTexture9* texture, float x, float y, uint32_t colour, RECT const* source) {
    D3DXVECTOR2 const position(x, y);
    return sprite->DrawSprite2D(texture, source, nullptr, nullptr, 0.0f, &position, colour);
}

}  // namespace spritetest
