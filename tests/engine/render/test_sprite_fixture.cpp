// Device, effect, textures and read-back for the sprite tests.
#include "tests/engine/render/test_sprite_fixture.h"

#include <cstdio>

#include "port/win32/HostPath.h"
#include "tests/support/TestSupport.h"

namespace spritetest {

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
    for (IDirect3DTexture9* t : textures_) t->Release();
    textures_.clear();
    for (Orvex::Effect* e : effects_) e->release();
    effects_.clear();
    RenderFixture::TearDown();
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
    std::wstring const macros =
        pointFilter ? L"<MACROS><MACRO NAME=\"SPRITE_POINT_FILTER\" DEFINITION=\"1\" /></MACROS>" : L"";
    Orvex::XMLNode node =
        parse(rendertest::effectDefinition(L"Sprite", port::windowsPath(source.string()), macros, L" PRE_COMPILE=\"0\""));
    auto* loaded = new Orvex::Effect(false);
    if (!loaded->load(node)) {
        ADD_FAILURE() << "the sprite effect did not load";
        loaded->release();
        return nullptr;
    }
    effects_.push_back(loaded);
    return loaded;
}

IDirect3DTexture9* SpriteTest::makeTexture(unsigned width, unsigned height, std::vector<uint32_t> const& texels) {
    IDirect3DTexture9* texture = RenderFixture::makeTexture(width, height, texels);
    if (texture) textures_.push_back(texture);
    return texture;
}

namespace {

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

::testing::AssertionResult SpriteTest::filled(std::vector<uint32_t> const& pixels, unsigned x0, unsigned y0,
                                              unsigned x1, unsigned y1, uint32_t colour) const {
    return compare(pixels, kWidth, x0, y0, x1, y1, [colour](unsigned, unsigned) { return colour; });
}

::testing::AssertionResult SpriteTest::matches(unsigned x0, unsigned y0, unsigned x1, unsigned y1,
                                               std::function<uint32_t(unsigned, unsigned)> const& expected) const {
    return compare(readTarget(), kWidth, 0, 0, kWidth, kHeight, [&](unsigned x, unsigned y) {
        return x >= x0 && x < x1 && y >= y0 && y < y1 ? expected(x - x0, y - y0) : kClear;
    });
}

bool SpriteTest::drawAt(IDirect3DTexture9* texture, float x, float y, uint32_t colour, RECT const* source) {
    D3DXVECTOR2 const position(x, y);
    return sprite->DrawSprite2D(texture, source, nullptr, nullptr, 0.0f, &position, colour);
}

}  // namespace spritetest
