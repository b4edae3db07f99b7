// Pixel access on locked textures (formats, bounds, sampling), opaque-pixel lists with random
// picks, format names, half floats, creation and load parameters, the texture settings record,
// and the float rectangle.
#include "tests/engine/render/RenderFixture.h"

#include <cmath>
#include <limits>

#include "engine/render/FRect.h"
#include "engine/render/TextureFormat.h"
#include "engine/render/TextureSettings.h"
#include "port/crt/crt.h"
#include "port/win32/kernel.h"

using Orvex::FRect;
using Orvex::Texture2D;
using Orvex::XMLNode;
using namespace rendertest;

namespace {

class TexturePixelTest : public RenderFixture {};

// A made texture of that format, locked whole.
bool makeLocked(Texture2D& t, unsigned width, unsigned height, D3DFORMAT format) {
    if (!t.create(width, height, 1, 0, format, D3DPOOL_MANAGED)) return false;
    D3DLOCKED_RECT locked{};
    return t.lockRect(0, locked, RECT{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)}, 0);
}

::testing::AssertionResult near(D3DXCOLOR const& a, D3DXCOLOR const& b, float tolerance) {
    if (std::fabs(a.r - b.r) <= tolerance && std::fabs(a.g - b.g) <= tolerance && std::fabs(a.b - b.b) <= tolerance &&
        std::fabs(a.a - b.a) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.r << ", " << a.g << ", " << a.b << ", " << a.a << ") vs (" << b.r
                                         << ", " << b.g << ", " << b.b << ", " << b.a << ")";
}

}  // namespace

TEST_F(TexturePixelTest, PixelsRoundTripInEveryTableFormat) {
    struct Case {
        D3DFORMAT format;
        D3DXCOLOR expected;  // what (0.25, 0.5, 0.75, 0.5) reads back as
        float tolerance;
    };
    D3DXCOLOR const in(0.25f, 0.5f, 0.75f, 0.5f);
    Case const cases[] = {
        {D3DFMT_A8R8G8B8, in, 1.0f / 255},
        {D3DFMT_X8R8G8B8, D3DXCOLOR(0.25f, 0.5f, 0.75f, 1.0f), 1.0f / 255},
        {D3DFMT_R5G6B5, D3DXCOLOR(0.25f, 0.5f, 0.75f, 1.0f), 1.0f / 31},
        {D3DFMT_X1R5G5B5, D3DXCOLOR(0.25f, 0.5f, 0.75f, 1.0f), 1.0f / 31},
        {D3DFMT_A4R4G4B4, in, 1.0f / 15},
        {D3DFMT_A16B16G16R16, in, 1.0f / 65535},
        {D3DFMT_A8L8, D3DXCOLOR(0.25f, 0.25f, 0.25f, 0.5f), 1.0f / 255},
        {D3DFMT_L16, D3DXCOLOR(0.25f, 0.25f, 0.25f, 0.25f), 1.0f / 65535},
        {D3DFMT_R16F, D3DXCOLOR(0.25f, 0.25f, 0.25f, 0.25f), 0.0f},
        {D3DFMT_A16B16G16R16F, in, 0.0f},
        {D3DFMT_R32F, D3DXCOLOR(0.25f, 0.25f, 0.25f, 0.25f), 0.0f},
        {D3DFMT_A32B32G32R32F, in, 0.0f},
    };
    for (Case const& c : cases) {
        TextureRef t;
        ASSERT_TRUE(makeLocked(*t, 4, 2, c.format)) << c.format;
        EXPECT_TRUE(t->setPixel(in, 3, 1)) << c.format;
        D3DXCOLOR out;
        EXPECT_TRUE(t->getPixel(out, 3, 1)) << c.format;
        EXPECT_TRUE(near(out, c.expected, c.tolerance)) << c.format;
        EXPECT_FALSE(t->canSuspend()) << "written pixels exist only in the texture";
        t->unlockRect(0);
    }
}

TEST_F(TexturePixelTest, PixelAccessStaysInsideTheLockedArea) {
    TextureRef t;
    ASSERT_TRUE(t->create(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    D3DXCOLOR c(1, 1, 1, 1);
    EXPECT_FALSE(t->getPixel(c, 0, 0)) << "not locked";
    D3DLOCKED_RECT locked{};
    EXPECT_FALSE(t->lockRect(0, locked, RECT{4, 4, 12, 8}, 0)) << "area past the level";
    EXPECT_FALSE(t->lockRect(0, locked, RECT{4, 4, 2, 8}, 0)) << "inverted area";
    ASSERT_TRUE(t->lockRect(0, locked, RECT{2, 2, 6, 5}, 0));
    EXPECT_FALSE(t->lockRect(0, locked, RECT{0, 0, 1, 1}, 0)) << "already locked";
    EXPECT_TRUE(t->setPixel(c, 3, 2));
    EXPECT_FALSE(t->setPixel(c, 4, 0)) << "x = lockedWidth";
    EXPECT_FALSE(t->setPixel(c, 0, 3)) << "y = lockedHeight";
    EXPECT_FALSE(t->readPixel(c, 0, 0)) << "readPixel needs an unlocked texture";
    EXPECT_TRUE(t->unlockRect(0));
    ASSERT_TRUE(t->readPixel(c, 5, 4));
    EXPECT_EQ(static_cast<DWORD>(c), 0xFFFFFFFFu);
    EXPECT_FALSE(t->readPixel(c, 8, 0));
}

TEST_F(TexturePixelTest, SamplingHoldsTheEdgesAndInterpolates) {
    TextureRef t;
    ASSERT_TRUE(makeLocked(*t, 4, 1, D3DFMT_A8R8G8B8));
    for (unsigned x = 0; x < 4; ++x) t->setPixel(D3DXCOLOR(x / 3.0f, 0, 0, 1), x, 0);
    // The edges hold (u = 1 and the last column read the last texel, NaN the first); a linear ramp
    // stays linear for both filters.
    float const nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        D3DXVECTOR2 uv;
        Orvex::u32 mode;
        float red;
    } const cases[] = {{{1.0f, 0.0f}, Texture2D::kSampleNearest, 1.0f},
                       {{0.99f, 0.0f}, Texture2D::kSampleBilinear, 1.0f},
                       {{0.375f, 0.0f}, Texture2D::kSampleBilinear, 0.5f},
                       {{0.375f, 0.0f}, Texture2D::kSampleBicubic, 0.5f},
                       {{nan, -5.0f}, Texture2D::kSampleBicubic, 0.0f}};
    D3DXCOLOR c;
    for (Case const& k : cases) {
        ASSERT_TRUE(t->sampleColor(c, k.uv, k.mode));
        EXPECT_NEAR(c.r, k.red, 1.0f / 255) << "u " << k.uv.x << " mode " << k.mode;
    }
    t->unlockRect(0);
    EXPECT_FALSE(t->sampleColor(c, D3DXVECTOR2(0, 0), 0)) << "needs a lock";
}

TEST_F(TexturePixelTest, PixelListPicksOpaquePixels) {
    TextureRef t;
    ASSERT_TRUE(t->loadFromFile(write("list.png", png(16, 8, quadrants))));
    t->buildPixelList(128);
    ASSERT_TRUE(t->hasPixelList());
    EXPECT_EQ(t->getPixelList().size(), 16u * 8 - 4 * 4 * 2) << "the two transparent red blocks are left out";
    EXPECT_FALSE(t->isInPixelList(0, 0));
    EXPECT_TRUE(t->isInPixelList(4, 0));
    unsigned x = 0, y = 0;
    t->pixelIndexToXY(16 * 5 + 3, x, y);
    EXPECT_EQ(x, 3u);
    EXPECT_EQ(y, 5u);

    msvc::srand(7);
    unsigned const first = static_cast<unsigned>(msvc::rand());
    msvc::srand(7);
    EXPECT_EQ(t->randomPixel(), t->getPixelList()[first % t->getPixelList().size()]);

    // Strictly inside (4, 4)-(8, 8): x 5..7, y 5..7, all in the opaque blue block.
    for (int i = 0; i < 50; ++i) {
        unsigned const index = t->randomPixelInRect(RECT{4, 4, 8, 8});
        t->pixelIndexToXY(index, x, y);
        EXPECT_TRUE(x > 4 && x < 8 && y > 4 && y < 8) << x << "," << y;
    }
    EXPECT_EQ(t->randomPixelInRect(RECT{0, 0, 4, 4}), 0u) << "only transparent pixels there";
}

TEST_F(TexturePixelTest, LargePixelListsDrawWithSeveralRandCalls) {
    TextureRef t;
    ASSERT_TRUE(t->create(200, 200, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    D3DLOCKED_RECT locked{};
    ASSERT_TRUE(t->lockRect(0, locked, RECT{0, 0, 200, 200}, 0));
    for (unsigned y = 0; y < 200; ++y)
        for (unsigned x = 0; x < 200; ++x) t->setPixel(D3DXCOLOR(0, 0, 0, 1), x, y);
    t->unlockRect(0);
    t->buildPixelList(255);
    ASSERT_EQ(t->getPixelList().size(), 40000u);
    msvc::srand(3);
    unsigned const sum = static_cast<unsigned>(msvc::rand()) + static_cast<unsigned>(msvc::rand());
    msvc::srand(3);
    EXPECT_EQ(t->randomPixel(), sum % 40000u);
}

TEST(TextureFormatTest, NamesAndNumbers) {
    EXPECT_EQ(Orvex::parseD3DFormat(L"A8R8G8B8"), D3DFMT_A8R8G8B8);
    EXPECT_EQ(Orvex::parseD3DFormat(L"D3DFMT_A8R8G8B8"), D3DFMT_A8R8G8B8);
    EXPECT_EQ(Orvex::parseD3DFormat(L"77"), D3DFMT_D24X8);
    EXPECT_EQ(Orvex::parseD3DFormat(L"a8r8g8b8"), D3DFMT_UNKNOWN) << "exact comparison";
    EXPECT_EQ(Orvex::parseD3DFormat(L"PURPLE"), D3DFMT_UNKNOWN);
    EXPECT_EQ(Orvex::d3dFormatToString(D3DFMT_R32F), L"D3DFMT_R32F");
    EXPECT_EQ(Orvex::d3dFormatToString(D3DFMT_R8G8B8), L"D3DFMT_UNKNOWN");
}

TEST(TextureFormatTest, HalfFloats) {
    EXPECT_EQ(Orvex::floatToHalf(1.0f), 0x3C00);
    EXPECT_EQ(Orvex::floatToHalf(65504.0f), 0x7BFF);
    EXPECT_EQ(Orvex::floatToHalf(70000.0f), 0x7C00);
    EXPECT_EQ(Orvex::floatToHalf(1.0f + 1.0f / 4096), 0x3C00) << "the mantissa is truncated";
    EXPECT_EQ(Orvex::floatToHalf(std::ldexp(1.0f, -24)), 0x0001) << "smallest subnormal";
    EXPECT_EQ(Orvex::floatToHalf(std::ldexp(1.0f, -15)), 0x0200);
    EXPECT_TRUE(std::isnan(Orvex::halfToFloat(Orvex::floatToHalf(std::numeric_limits<float>::quiet_NaN()))));
    for (unsigned h : {0x0001u, 0x03FFu, 0x0400u, 0x3555u, 0x7BFFu, 0x8001u, 0xC000u})
        EXPECT_EQ(Orvex::floatToHalf(Orvex::halfToFloat(static_cast<uint16_t>(h))), h);
    EXPECT_TRUE(std::isinf(Orvex::halfToFloat(0x7C00)));
}

TEST(TextureParamsTest, CreationKeys) {
    XMLNode node;
    ASSERT_TRUE(node.loadFromText(L"<FILE_INFO MipLevels=\"3\" Pool=\"DEFAULT\" Filter=\"LINEAR\" MipFilter=\"WOBBLY\""
                                  L" ColorKey=\"FFFF00FF\" Format=\"R32F\" Width=\"64\">"
                                  L"<Usage>\"|RENDERTARGET|\" \"|AUTOGENMIPMAP|\" \"|NONSENSE|\"</Usage></FILE_INFO>"));
    Orvex::TextureCreateParams const p(node);
    EXPECT_EQ(p.MipLevels, 3u);
    EXPECT_EQ(p.Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(p.Filter, static_cast<DWORD>(D3DX_FILTER_LINEAR));
    EXPECT_EQ(p.MipFilter, static_cast<DWORD>(D3DX_FILTER_NONE)) << "an unknown word keeps the field";
    EXPECT_EQ(p.ColorKey, 0xFFFF00FFu);
    EXPECT_EQ(p.Format, D3DFMT_R32F);
    EXPECT_EQ(p.Usage, static_cast<DWORD>(D3DUSAGE_RENDERTARGET | D3DUSAGE_AUTOGENMIPMAP));
    EXPECT_EQ(p.Width, 64u);
    EXPECT_EQ(p.Height, static_cast<UINT>(D3DX_DEFAULT));
}

TEST(TextureParamsTest, SizeLimitsApplyOnlyWithAGlobalFlag) {
    XMLNode quality;
    ASSERT_TRUE(quality.loadFromText(L"<QUALTIY MIN_SIZE=\"32 0\" MAX_SIZE=\"128\"/>"));
    Orvex::TextureLoadParams const limits(quality);
    EXPECT_EQ(limits.useMin, 0) << "a minimum with its flag 0";
    EXPECT_EQ(limits.useMax, 1);

    Orvex::TextureModuleSettings& settings = Orvex::TextureModuleSettings::get();
    settings = Orvex::TextureModuleSettings();
    settings.globalScaleEnabled = true;
    settings.globalScale = 0.25f;
    D3DXVECTOR2 scale(1, 1);
    Orvex::u32 w = 1024, h = 100;
    limits.computeScale(scale, w, h);
    EXPECT_EQ(w, 128u) << "256 after scaling, then held at the maximum";
    EXPECT_EQ(h, 25u);
    EXPECT_FLOAT_EQ(scale.x, 0.125f);
    EXPECT_FLOAT_EQ(scale.y, 0.25f);
    settings = Orvex::TextureModuleSettings();
}

TEST(TextureSettingsTest, RecordReadsWritesAndApplies) {
    // The keys it writes are checked with the settings file.
    Orvex::TextureInitParams record;
    XMLNode changed;
    ASSERT_TRUE(changed.loadFromText(L"<TEXINITPARAMS SUSPEND_ON_TEX_LOAD=\"1\" OVERRIDE_AUTO_SUSPEND=\"1\""
                                     L" OVERRIDE_AUTO_SUSPEND_TIME=\"750\" ACTUAL_TICKCOUNT=\"4000\"/>"));
    record.read(changed);
    EXPECT_TRUE(record.suspendOnTexLoad);
    EXPECT_FALSE(record.suspendOnTexCreate);
    EXPECT_EQ(record.overrideAutoSuspendTime, 750u);
    record.apply();
    Orvex::TextureModuleSettings const& settings = Orvex::TextureModuleSettings::get();
    EXPECT_TRUE(settings.suspendOnLoad);
    EXPECT_FALSE(settings.suspendOnCreate);
    EXPECT_TRUE(settings.overrideAutoSuspend);
    EXPECT_EQ(settings.overrideAutoSuspendTime, 750u);
    EXPECT_EQ(Orvex::getTextureTickCount(), 4000u);

    // All-ones starts the texture clock at the system tick count.
    record.actualTickCount = Orvex::TextureInitParams::kUseTickCount;
    DWORD const before = GetTickCount();
    record.apply();
    Orvex::u32 const started = Orvex::getTextureTickCount();
    EXPECT_LE(started - before, GetTickCount() - before);
    Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
}

TEST(FRectTest, ConstructionAndOperations) {
    FRect const r(1, 2, 3, 4);
    EXPECT_EQ(FRect::fromPosSize(D3DXVECTOR2(5, 6), D3DXVECTOR2(10, 20)), FRect(5, 6, 15, 26));
    float const ltrb[4] = {1, 2, 3, 4};
    EXPECT_EQ(FRect::fromLTRB(ltrb), r);
    EXPECT_EQ(FRect::fromRECT(RECT{1, 2, 3, 4}), r);

    FRect a(5, 0, 15, 1);
    a.moveInside(FRect(0, 0, 10, 1));
    EXPECT_EQ(a, FRect(0, 0, 10, 1));
    FRect b(-20, 0, 30, 1);
    b.moveInside(FRect(0, 0, 10, 1));
    EXPECT_EQ(b, FRect(-40, 0, 10, 1));
    EXPECT_TRUE(FRect(0, 0, 10, 10).overlaps(FRect(10, 10, 20, 20))) << "touching edges overlap";
    EXPECT_FALSE(FRect(0, 0, 10, 10).overlaps(FRect(11, 0, 20, 10)));
    EXPECT_TRUE(FRect(10, 10, 0, 0).overlaps(FRect(5, 5, 6, 6))) << "normalised";
    FRect u(0, 0, 1, 1);
    u.unite(FRect(-1, 2, 0.5f, 3));
    EXPECT_EQ(u, FRect(-1, 0, 1, 3));
    EXPECT_EQ(FRect(0, 0, 10, 10).intersection(FRect(5, -5, 20, 8)), FRect(5, 0, 10, 8));
    EXPECT_EQ(FRect(5, -5, 20, 8).intersection(FRect(0, 0, 10, 10)), FRect(5, 0, 10, 8)) << "either way round";
    EXPECT_EQ(FRect(0, 0, 1, 1).intersection(FRect(2, 2, 3, 3)), FRect(2, 2, 1, 1)) << "apart: inverted, drawn as empty";
    FRect e(0, 0, 1, 1);
    e.extend(D3DXVECTOR2(1, 2));
    EXPECT_EQ(e, FRect(-1, -1, 3, 3));
    e.clear();
    EXPECT_EQ(e, FRect());
}
