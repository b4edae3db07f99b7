// The project's own test pictures and texture list (tests/engine/render/data/Textures, made by
// tools/make_test_pictures.py) load through the archive search order and hold what the tool drew.
#include "tests/engine/render/RenderFixture.h"

#include "engine/core/GOBManager.h"
#include "engine/render/TextureManager.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

using Orvex::Texture2D;
using Orvex::TextureManager;
using namespace rendertest;

namespace {

class TextureDataTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
    }
};

}  // namespace

TEST_F(TextureDataTest, TextureListLoadsEveryPictureAndPart) {
    Orvex::XMLNode list;
    ASSERT_TRUE(list.load(L"tests\\engine\\render\\data\\Textures\\textures.tex"));
    TextureManager manager;
    manager.loadTextures(list);
    EXPECT_EQ(manager.getCount(), 4u + 9u);

    Texture2D* checker = manager.findTexture(L"checker");
    ASSERT_NE(checker, nullptr);
    EXPECT_EQ(pixelOf(*checker, 0, 0), 0xFF404040u);
    EXPECT_EQ(pixelOf(*checker, 8, 0), 0xFFC0C0C0u);

    Texture2D* ramp = manager.findTexture(L"ramp");
    ASSERT_NE(ramp, nullptr);
    EXPECT_EQ(ramp->getWidth(), 128u);
    EXPECT_EQ(ramp->getFormat(), D3DFMT_X8R8G8B8) << "an RGB file makes an X8R8G8B8 texture";
    EXPECT_EQ(pixelOf(*ramp, 100, 10), 0xFF000000u | (200u << 16) | (0x80u << 8) | 80u);

    Texture2D* disc = manager.findTexture(L"disc");
    ASSERT_NE(disc, nullptr);
    disc->buildPixelList(128);
    unsigned inside = 0;
    for (unsigned y = 0; y < 64; ++y)
        for (unsigned x = 0; x < 64; ++x) {
            float const dx = x - 31.5f, dy = y - 31.5f;
            if (dx * dx + dy * dy <= 24.0f * 24.0f) ++inside;
        }
    EXPECT_EQ(disc->getPixelList().size(), inside);
    EXPECT_TRUE(disc->isInPixelList(32, 32));
    EXPECT_FALSE(disc->isInPixelList(0, 0));

    static constexpr DWORD kTileColours[8] = {0xFFC03030u, 0xFF30A040u, 0xFF3050C0u, 0xFFD0B020u,
                                              0xFF9030A0u, 0xFF20A0A0u, 0xFFE07020u, 0xFF606060u};
    Texture2D* tiles = manager.findTexture(L"tiles");
    ASSERT_NE(tiles, nullptr);
    for (int i = 0; i < 8; ++i) {
        Texture2D* tile = manager.findTexture(L"tile" + std::to_wstring(i));
        ASSERT_NE(tile, nullptr) << i;
        RECT const r = tile->getRect();
        EXPECT_EQ(r.left, (i % 4) * 64);
        EXPECT_EQ(r.top, (i / 4) * 64);
        EXPECT_EQ(tile->getTexture(), tiles->getTexture());
        EXPECT_EQ(pixelOf(*tiles, static_cast<unsigned>(r.left + 32), static_cast<unsigned>(r.top + 32)),
                  kTileColours[i]);
    }
    Texture2D* copy = manager.findTexture(L"tile0_copy");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(pixelOf(*copy, 32, 32), kTileColours[0]);
    EXPECT_EQ(pixelOf(*copy, 0, 32), 0xFFFFFFFFu) << "border";
    EXPECT_EQ(pixelOf(*copy, 0, 0), 0u) << "transparent corner";
}
