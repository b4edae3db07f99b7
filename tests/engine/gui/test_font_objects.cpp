// Font objects from their elements: styles and their blend, the background copies of a style,
// font keys and scaled sizes, and the manager's tables and dispatch order.
#include <gtest/gtest.h>

#include <vector>

#include "engine/gui/BitmapFont.h"
#include "engine/gui/BitmapFontInterface.h"
#include "engine/gui/D3DXFont.h"
#include "engine/gui/FontResourceHandle.h"
#include "engine/gui/FontStyle.h"
#include "engine/platform/D3DInterface.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/gui/FontFixture.h"
#include "tests/support/TestSupport.h"

namespace fonttest {
namespace {

using Orvex::FontStyle;
using Orvex::HaloOffset;

FontStyle styleOf(std::wstring const& element) {
    Orvex::XMLNode node = parse(element);
    return FontStyle(node);
}

TEST(FontStyle, ShadowAndColoursFromTheirKeys) {
    struct Case {
        std::wstring element;
        float x, y;
    };
    for (Case const& c : std::vector<Case>{{L"<FONTSTYLE SHADOW=\"2\"/>", 2, 2},
                                           {L"<FONTSTYLE SHADOW=\"2 3\"/>", 2, 3},
                                           {L"<FONTSTYLE SHADOW=\"2\"><SHADOW Y=\"5\"/></FONTSTYLE>", 2, 5},
                                           {L"<FONTSTYLE><SHADOW X=\"-1\"/></FONTSTYLE>", -1, 0}}) {
        FontStyle const s = styleOf(c.element);
        EXPECT_FLOAT_EQ(s.shadowX, c.x) << c.element;
        EXPECT_FLOAT_EQ(s.shadowY, c.y) << c.element;
    }
    FontStyle const red = styleOf(L"<FONTSTYLE COLOR_VG=\"80FF0000\" COLOR_HG=\"0xFFFFFFFF\"/>");
    EXPECT_FLOAT_EQ(red.colorVG.r, 1.0f);
    EXPECT_FLOAT_EQ(red.colorVG.g, 0.0f);
    EXPECT_NEAR(red.colorVG.a, 0.502f, 0.001f);
    EXPECT_EQ(static_cast<DWORD>(red.colorHG), 0xFFFFFFFFu);
    // Without colours: opaque black text, no background colour.
    FontStyle const plain = styleOf(L"<FONTSTYLE/>");
    EXPECT_EQ(static_cast<DWORD>(plain.colorVG), 0xFF000000u);
    EXPECT_EQ(static_cast<DWORD>(plain.colorHG), 0u);
}

TEST(FontStyle, BlendRunsFromTheFirstToTheSecond) {
    FontStyle const a = styleOf(L"<FONTSTYLE NAME=\"a\" COLOR_VG=\"FF000000\" SHADOW=\"0\" RADIUS=\"0\"/>");
    FontStyle const b = styleOf(L"<FONTSTYLE NAME=\"b\" COLOR_VG=\"FFFFFFFF\" SHADOW=\"4\" RADIUS=\"2\" DRAW_HG=\"1\"/>");
    FontStyle const start = FontStyle::blend(a, b, 0.0f), mid = FontStyle::blend(a, b, 0.5f), end = FontStyle::blend(a, b, 1.0f);
    EXPECT_EQ(static_cast<DWORD>(start.colorVG), 0xFF000000u);
    EXPECT_EQ(static_cast<DWORD>(end.colorVG), 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(mid.shadowX, 2.0f);
    EXPECT_FLOAT_EQ(mid.radius, 1.0f);
    EXPECT_EQ(mid.getName(), L"a");
    EXPECT_TRUE(start.drawHG);
}

std::vector<std::pair<int, int>> offsets(std::wstring const& element) {
    std::vector<std::pair<int, int>> out;
    for (HaloOffset const& o : Orvex::haloOffsets(styleOf(element))) out.emplace_back(o.dx, o.dy);
    return out;
}

TEST(FontStyle, BackgroundCopies) {
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(offsets(L"<FONTSTYLE SHADOW=\"2\"/>"), P{}) << "no background without DRAW_HG";
    EXPECT_EQ(offsets(L"<FONTSTYLE DRAW_HG=\"1\" SHADOW=\"2\"/>"), (P{{2, 2}}));
    EXPECT_EQ(offsets(L"<FONTSTYLE DRAW_HG=\"1\" SAMPLES=\"4\" RINGS=\"1\" RADIUS=\"1\"/>"),
              (P{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}));
    EXPECT_EQ(offsets(L"<FONTSTYLE DRAW_HG=\"1\" SAMPLES=\"8\" RINGS=\"2\" RADIUS=\"2\"/>").size(), 16u);
    // The rings sit around the shadow offset; each offset is truncated toward zero, and the
    // sine of 180 degrees in single precision lies just below 0 (1 - tiny truncates to 0).
    EXPECT_EQ(offsets(L"<FONTSTYLE DRAW_HG=\"1\" SAMPLES=\"2\" RINGS=\"1\" RADIUS=\"3\" SHADOW=\"1\"/>"),
              (P{{4, 1}, {-2, 0}}));
}

// Counts strictly between 0 and 1 would divide by a count truncated to 0: a fraction of a
// sample draws the shadow copy only, a fraction of a ring no halo.
TEST(FontStyle, FractionalCountsDrawNoHalo) {
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(offsets(L"<FONTSTYLE DRAW_HG=\"1\" SAMPLES=\"0.5\" RINGS=\"2\" RADIUS=\"2\" SHADOW=\"1\"/>"),
              (P{{1, 1}}));
    EXPECT_EQ(offsets(L"<FONTSTYLE DRAW_HG=\"1\" SAMPLES=\"4\" RINGS=\"0.5\" RADIUS=\"2\"/>"), P{});
    EXPECT_EQ(offsets(L"<FONTSTYLE DRAW_HG=\"1\" SAMPLES=\"4\" RINGS=\"0\" RADIUS=\"2\"/>"), P{});
}

class FontKeysTest : public FontManagerFixture {
protected:
    void TearDown() override {
        Orvex::D3DInterface::getInstance().getInitParams() = Orvex::D3DInitParams();
        FontManagerFixture::TearDown();
    }
    static void screenHeight(unsigned h) { Orvex::D3DInterface::getInstance().getInitParams().displayMode.Height = h; }
};

TEST_F(FontKeysTest, DefaultsAndScaledHeights) {
    Orvex::XMLNode empty = parse(L"<D3DXFONT/>");
    Orvex::D3DXFont font(empty);
    EXPECT_EQ(font.fontName, L"Arial");
    EXPECT_EQ(font.height, 15u);
    EXPECT_EQ(font.width, 0u);
    EXPECT_EQ(font.weight, 400u);
    EXPECT_FALSE(font.italic);
    EXPECT_TRUE(font.scaleWithScreen);
    struct Case {
        std::wstring element;
        unsigned screen;
        float height;
    };
    for (Case const& c : std::vector<Case>{{L"<D3DXFONT HEIGHT=\"15\"/>", 1080, 21.0f},
                                           {L"<D3DXFONT HEIGHT=\"20\"/>", 1080, 28.0f},
                                           {L"<D3DXFONT HEIGHT=\"20\"/>", 768, 20.0f},
                                           {L"<D3DXFONT HEIGHT=\"15\" SCALE_WITH_SCREEN=\"0\"/>", 1080, 15.0f}}) {
        screenHeight(c.screen);
        Orvex::XMLNode node = parse(c.element);
        Orvex::D3DXFont f(node);
        EXPECT_FLOAT_EQ(f.getHeight(true), c.height) << c.element << " at " << c.screen;
        EXPECT_FLOAT_EQ(f.getHeight(false), static_cast<float>(f.height));
    }
    EXPECT_EQ(Orvex::scaledFontWidth(0, 2048), 0u);
    EXPECT_EQ(Orvex::scaledFontWidth(10, 2048), 20u);
}

TEST_F(FontKeysTest, FirstDefinitionWinsAndBitmapFontsComeFirst) {
    std::wstring const file =
        L"<FONTS><FONTSTYLE NAME=\"s\" COLOR_VG=\"FFFF0000\"/><FONTSTYLE NAME=\"s\" COLOR_VG=\"FF00FF00\"/>"
        L"<D3DXFONT NAME=\"beide\" HEIGHT=\"12\"/><D3DXFONT NAME=\"beide\" HEIGHT=\"40\"/>"
        L"<BITMAPFONT_DATA NAME=\"leer\"/><BITMAPFONT NAME=\"beide\" BITMAPFONT_DATA=\"leer\"/></FONTS>";
    load(file);
    load(file);
    ASSERT_NE(fonts.findFontStyle(L"s"), nullptr);
    EXPECT_EQ(static_cast<DWORD>(fonts.findFontStyle(L"s")->colorVG), 0xFFFF0000u);
    EXPECT_NE(dynamic_cast<Orvex::BitmapFont*>(fonts.findFont(L"beide")), nullptr);
    auto* d3dx = dynamic_cast<Orvex::D3DXFont*>(static_cast<Orvex::FontDrawInterface&>(fonts).findFont(L"beide"));
    ASSERT_NE(d3dx, nullptr);
    EXPECT_EQ(d3dx->height, 12u);
    EXPECT_EQ(d3dx->getRefCount(), 1) << "the manager's reference only";
    auto* bitmap = dynamic_cast<Orvex::BitmapFont*>(fonts.findFont(L"beide"));
    EXPECT_EQ(bitmap->glyphTable(), fonts.getBitmapFonts().findBitmapFontData(L"leer"));
}

TEST_F(FontKeysTest, FontsKeepTheirResourceAndTable) {
    // A font file of the system, given by its full path.
    load(L"<FONTS><FONT_RESOURCE NAME=\"Mono\" FILENAME=\"" + port::windowsPath(testsupport::monoFontFile().string()) +
         L"\"/><D3DXFONT NAME=\"m\" FONT_NAME=\"Mono\"/><D3DXFONT NAME=\"n\" USE_FONT_RESOURCE=\"fehlt\"/></FONTS>");
    Orvex::FontResourceHandle* mono = fonts.findFontResource(L"Mono");
    ASSERT_NE(mono, nullptr);
    EXPECT_NE(mono->handle, nullptr);
    EXPECT_GE(mono->fontCount, 1u);
    EXPECT_EQ(fonts.findFont(L"m")->fontResource, mono);
    EXPECT_EQ(fonts.findFont(L"n")->fontResource, nullptr);
    EXPECT_EQ(mono->getRefCount(), 2);
}

TEST_F(FontKeysTest, UnreadableResourceInstallsNothingWithOneLine) {
    load(L"<FONTS><FONT_RESOURCE NAME=\"kaputt\" FILENAME=\"data\\Fonts\\fehlt.ttf\"/>"
         L"<FONT_RESOURCE NAME=\"bild\" FILENAME=\"data\\Fonts\\ziffern.png\"/></FONTS>");
    ASSERT_NE(fonts.findFontResource(L"kaputt"), nullptr);
    EXPECT_EQ(fonts.findFontResource(L"kaputt")->handle, nullptr);
    EXPECT_EQ(fonts.findFontResource(L"bild")->handle, nullptr);
    EXPECT_TRUE(logged({L"kaputt", L"fehlt.ttf"}));
    EXPECT_TRUE(logged({L"bild", L"ziffern.png"}));
}

}  // namespace
}  // namespace fonttest

namespace fonttest {
namespace {

// A renderer creates the fonts it holds when it becomes ready, and later ones as they come; it
// takes only its own kind and each name once.
TEST_F(FontKeysTest, RendererTakesAndCreatesItsFonts) {
    Orvex::BitmapFontInterface renderer;
    Orvex::XMLNode first = parse(L"<BITMAPFONT NAME=\"eins\" SCALE_WITH_SCREEN=\"0\"/>");
    Orvex::XMLNode second = parse(L"<BITMAPFONT NAME=\"zwei\" SCALE_WITH_SCREEN=\"0\"/>");
    Orvex::XMLNode device = parse(L"<D3DXFONT NAME=\"drei\"/>");
    auto* a = new Orvex::BitmapFont(first);
    auto* again = new Orvex::BitmapFont(first);
    auto* b = new Orvex::BitmapFont(second);
    auto* other = new Orvex::D3DXFont(device);
    EXPECT_TRUE(renderer.addFont(a));
    EXPECT_FALSE(renderer.addFont(again)) << "a name already taken";
    EXPECT_FALSE(renderer.addFont(other)) << "a device font";
    EXPECT_FALSE(renderer.addFont(nullptr));
    EXPECT_FALSE(a->isCreated());
    renderer.prepareFonts();
    EXPECT_TRUE(a->isCreated());
    EXPECT_TRUE(renderer.addFont(b));
    EXPECT_TRUE(b->isCreated()) << "made at once once the renderer is ready";
    EXPECT_TRUE(renderer.removeFont(a));
    EXPECT_FALSE(renderer.removeFont(a));
    EXPECT_FALSE(renderer.hasFont(L"eins"));
    EXPECT_TRUE(renderer.hasFont(L"zwei"));
    for (Orvex::Font* f : std::vector<Orvex::Font*>{a, again, b, other}) f->release();
}

}  // namespace
}  // namespace fonttest
