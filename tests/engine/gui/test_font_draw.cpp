// Text drawn through the real device and read back: device fonts aligned, wrapped and measured,
// shadow and halo where the style puts them, scaling with the screen height, German letters
// and the euro sign, bitmap fonts built at run time against their device font, characters
// outside a glyph table, the data's font file (faces of the system only), and device loss.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/gui/BitmapFont.h"
#include "engine/gui/BitmapFontData.h"
#include "engine/gui/D3DXFont.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteHolder.h"
#include "port/d3d9/d3d9_port.h"
#include "tests/engine/gui/FontFixture.h"
#include "tests/support/TestSupport.h"

namespace fonttest {
namespace {

using namespace Orvex;

constexpr uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000;

bool inside(RECT const& inner, RECT const& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string show(RECT const& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

FontStyle redBackground(std::wstring const& keys) {
    XMLNode node = parse(L"<FONTSTYLE COLOR_VG=\"FFFFFFFF\" COLOR_HG=\"FFFF0000\" DRAW_HG=\"1\" " + keys + L"/>");
    return FontStyle(node);
}

class DeviceFontDrawTest : public FontDrawFixture {
protected:
    void SetUp() override {
        FontDrawFixture::SetUp();
        load(L"<FONTS><D3DXFONT NAME=\"d\" HEIGHT=\"20\" SCALE_WITH_SCREEN=\"0\"/>"
             L"<D3DXFONT NAME=\"fett\" HEIGHT=\"40\" SIZE=\"700\" SCALE_WITH_SCREEN=\"0\"/></FONTS>");
    }
};

TEST_F(DeviceFontDrawTest, AlignedAndWrappedTextLiesInItsMeasuredRectangle) {
    RECT const box{20, 8, 236, 88};
    struct Case {
        u32 format;
        std::wstring text;
    };
    for (Case const& c : std::vector<Case>{{0, L"Hand"},
                                           {kTextCenter, L"Hand"},
                                           {kTextRight, L"Hand"},
                                           {kTextVCenter, L"Hand"},
                                           {kTextCenter | kTextVCenter, L"Hand"},
                                           {kTextBottom | kTextRight, L"Hand"},
                                           {kTextWordBreak | kTextCenter, L"Neues Spiel mit drei Karten am Tisch"}}) {
        RECT const measured = measure(L"d", c.text, box, c.format);
        RECT const drawn = ink(drawText(L"d", c.text, box, c.format, white()));
        EXPECT_TRUE(inside(drawn, measured)) << c.format << " ink " << show(drawn) << " in " << show(measured);
        EXPECT_GT(drawn.right - drawn.left, (measured.right - measured.left) / 2) << c.format;
        LONG const h = (c.format & kTextRight)    ? measured.right - box.right
                       : (c.format & kTextCenter) ? (measured.left + measured.right - box.left - box.right) / 2
                                                  : measured.left - box.left;
        LONG const v = (c.format & kTextBottom)    ? measured.bottom - box.bottom
                       : (c.format & kTextVCenter) ? (measured.top + measured.bottom - box.top - box.bottom) / 2
                                                   : measured.top - box.top;
        EXPECT_EQ(h, 0) << c.format;
        EXPECT_EQ(v, 0) << c.format;
    }
    // Wrapped: more than one line, none wider than the box.
    RECT const one = measure(L"d", L"Hand", box, 0);
    RECT const wrapped = measure(L"d", L"Neues Spiel mit drei Karten am Tisch", box, kTextWordBreak);
    EXPECT_GE(wrapped.bottom - wrapped.top, 2 * (one.bottom - one.top));
    EXPECT_LE(wrapped.right - wrapped.left, box.right - box.left);
}

TEST_F(DeviceFontDrawTest, ShadowAndHaloWhereTheStylePutsThem) {
    RECT const box{40, 20, 240, 90};
    std::vector<uint32_t> const plain = drawText(L"fett", L"HI", box, 0, white());
    RECT const text = inkOf(plain, kWhite);
    ASSERT_GT(text.right, text.left);
    // A drop shadow of (2, 3): red reaches 2 further right and 3 further down, nowhere left or up.
    std::vector<uint32_t> const shadow = drawText(L"fett", L"HI", box, 0, redBackground(L"SHADOW=\"2 3\""));
    RECT const red = inkOf(shadow, kRed);
    EXPECT_EQ(red.right, text.right + 2) << show(red) << " " << show(text);
    EXPECT_EQ(red.bottom, text.bottom + 3);
    EXPECT_GE(red.left, text.left + 2);
    EXPECT_GE(red.top, text.top + 3);
    EXPECT_EQ(inkOf(shadow, kWhite).right, text.right) << "the text itself stays in place";
    // A halo of 8 directions, 2 rings, radius 2: red on every side, two pixels out.
    std::vector<uint32_t> const halo = drawText(L"fett", L"HI", box, 0, redBackground(L"SAMPLES=\"8\" RINGS=\"2\" RADIUS=\"2\""));
    RECT const ring = inkOf(halo, kRed);
    EXPECT_EQ(ring.left, text.left - 2) << show(ring) << " " << show(text);
    EXPECT_EQ(ring.right, text.right + 2);
    EXPECT_EQ(ring.top, text.top - 2);
    EXPECT_EQ(ring.bottom, text.bottom + 2);
    // Measuring ignores the background.
    EXPECT_EQ(show(measure(L"fett", L"HI", box, 0)), show([&] {
                  RECT r = box;
                  fonts.drawText(L"fett", L"HI", r, kTextCalcRect, redBackground(L"SAMPLES=\"8\" RINGS=\"2\" RADIUS=\"2\""));
                  return r;
              }()));
}

TEST_F(DeviceFontDrawTest, GermanLettersAndTheEuroSignDraw) {
    RECT const box{10, 10, 250, 90};
    RECT const plainA = ink(drawText(L"fett", L"A", box, 0, white()));
    RECT const umlautA = ink(drawText(L"fett", L"\x00C4", box, 0, white()));
    EXPECT_LT(umlautA.top, plainA.top) << "the dots stand above the A";
    EXPECT_EQ(umlautA.bottom, plainA.bottom);
    for (wchar_t c : std::wstring(L"\x00E4\x00F6\x00FC\x00D6\x00DC\x00DF\x20AC")) {
        RECT const drawn = ink(drawText(L"fett", std::wstring(1, c), box, 0, white()));
        EXPECT_GT(drawn.right - drawn.left, 4) << static_cast<int>(c);
        EXPECT_GT(drawn.bottom - drawn.top, 8) << static_cast<int>(c);
    }
}

// The data's font file: every font draws, the mono face is monospaced, the glyph-table font
// draws its letters at their size, and a lost device brings every font back to the same pixels.
class DataFontsTest : public FontDrawFixture {
protected:
    // At the reference height every font has its own size.
    DataFontsTest() : FontDrawFixture(256, 768) {}
    void SetUp() override {
        FontDrawFixture::SetUp();
        ASSERT_TRUE(fonts.loadFile(L"data\\font.fnt"));
    }
    std::vector<std::vector<uint32_t>> drawAll() {
        std::vector<std::vector<uint32_t>> out;
        for (std::wstring const& name : kFonts) {
            out.push_back(drawText(name, L"12:30 Karo", RECT{4, 4, 252, 92}, 0, white()));
            out.push_back(frame([&] {
                RECT r{4, 4, 252, 92};
                fonts.drawTextWithStyleName(name, L"+45", r, kTextCenter | kTextVCenter, L"halo");
            }));
        }
        return out;
    }
    std::vector<std::wstring> const kFonts{L"default", L"titel", L"klein", L"mono", L"punkte", L"knopf"};
};

TEST_F(DataFontsTest, EveryFontDraws) {
    for (std::wstring const& name : kFonts) {
        ASSERT_NE(fonts.findFont(name), nullptr) << std::string(name.begin(), name.end());
        RECT const drawn = ink(drawText(name, L"12:30", RECT{4, 4, 252, 92}, 0, white()));
        EXPECT_GT(drawn.right - drawn.left, 10) << std::string(name.begin(), name.end());
    }
    EXPECT_NE(dynamic_cast<BitmapFont*>(fonts.findFont(L"knopf"))->glyphTable(), nullptr);
    // The mono face (fontconfig finds the packaged one by its name): every letter takes the
    // same room.
    EXPECT_EQ(measure(L"mono", L"iiii", RECT{0, 0, 200, 50}, 0).right, measure(L"mono", L"MMMM", RECT{0, 0, 200, 50}, 0).right);
    EXPECT_NE(measure(L"default", L"iiii", RECT{0, 0, 200, 50}, 0).right,
              measure(L"default", L"MMMM", RECT{0, 0, 200, 50}, 0).right);
    // The glyph-table face: "8" covers its full 10 x 14 letter after its space of 1.
    RECT const eight = inkOf(drawText(L"punkte", L"8", RECT{20, 20, 200, 90}, 0, white()), kWhite);
    EXPECT_EQ(show(eight), show(RECT{21, 20, 31, 34}));
}

// The data carries no font file: the faces are the system's, found by name.
TEST_F(DataFontsTest, TheDataHoldsNoFontFiles) {
    for (auto const& entry : std::filesystem::recursive_directory_iterator(testsupport::sourceDir() / "data")) {
        std::string const extension = entry.path().extension().string();
        EXPECT_TRUE(extension != ".ttf" && extension != ".otf" && extension != ".ttc") << entry.path();
    }
    EXPECT_EQ(fonts.findFontResource(L"DejaVu Sans Mono"), nullptr) << "no face of its own";
}

TEST_F(DataFontsTest, DeviceLossKeepsEveryFontsPixels) {
    auto const before = drawAll();
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    port::d3d9::loseDevice(d3d.getDevice());
    EXPECT_FALSE(d3d.checkDevice());
    ASSERT_TRUE(d3d.checkDevice());
    auto const after = drawAll();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_GT(ink(before[i]).right, 0) << i;
        EXPECT_TRUE(after[i] == before[i]) << "font " << i / 2;
    }
}

// A bitmap font built from the face draws the string its device font draws.
class RuntimeGlyphsTest : public FontDrawFixture {
protected:
    void SetUp() override {
        FontDrawFixture::SetUp();
        load(L"<FONTS><D3DXFONT NAME=\"d\" HEIGHT=\"24\" SCALE_WITH_SCREEN=\"0\"/>"
             L"<BITMAPFONT NAME=\"b\" HEIGHT=\"24\" SCALE_WITH_SCREEN=\"0\" CREATE_BITMAP_FONT_DATA=\"1\"/>"
             L"<BITMAPFONT NAME=\"gross\" HEIGHT=\"24\" SCALE_WITH_SCREEN=\"0\" CREATE_BITMAP_FONT_DATA=\"1\">"
             L"<CREATE_PARAMS><RANGE START=\"65\" END=\"90\"/></CREATE_PARAMS></BITMAPFONT></FONTS>");
    }
    static int brightness(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
};

TEST_F(RuntimeGlyphsTest, SameStringAsTheDeviceFont) {
    for (std::wstring const text : {L"Karten 1234", L"\x00C4pfel \x20AC 5"}) {
        RECT const box{8, 20, 248, 80};
        std::vector<uint32_t> const device = drawText(L"d", text, box, 0, white());
        std::vector<uint32_t> const bitmap = drawText(L"b", text, box, 0, white());
        RECT const a = ink(device), b = ink(bitmap);
        EXPECT_LE(std::abs(a.left - b.left), 1) << show(a) << " " << show(b);
        EXPECT_LE(std::abs(a.right - b.right), 2) << show(a) << " " << show(b);
        EXPECT_LE(std::abs(a.top - b.top), 1) << show(a) << " " << show(b);
        EXPECT_LE(std::abs(a.bottom - b.bottom), 1) << show(a) << " " << show(b);
        // Pixel by pixel: the same ink, edges blended a little differently.
        int differ = 0, lit = 0;
        for (std::size_t i = 0; i < device.size(); ++i) {
            lit += brightness(device[i]) > 128;
            differ += std::abs(brightness(device[i]) - brightness(bitmap[i])) > 96;
        }
        EXPECT_GT(lit, 100);
        EXPECT_LT(differ, lit / 5) << differ << " of " << lit;
    }
}

// A generated table is built when a text first asks for it, not when the font is made: a font
// that no screen shows renders no glyphs. A device reset of a scaling font builds it again on use.
TEST_F(RuntimeGlyphsTest, TheTableIsBuiltWhenATextFirstAsksForIt) {
    auto* font = dynamic_cast<BitmapFont*>(fonts.findFont(L"gross"));
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->isBuildPending());
    EXPECT_GT(ink(drawText(L"gross", L"KARO", RECT{8, 20, 248, 80}, 0, white())).right, 0);
    EXPECT_FALSE(font->isBuildPending());
    ASSERT_NE(font->glyphTable(), nullptr);
    font->scaleWithScreen = true;
    font->onResetDevice();
    EXPECT_TRUE(font->isBuildPending());
    EXPECT_NE(font->glyphTable(), nullptr);
    EXPECT_FALSE(font->isBuildPending());
}

// The first use inside a running batch of the D3DX sprite, which already holds a text of the
// device font: the build draws that batch first and resumes it, so both texts show as apart.
TEST_F(RuntimeGlyphsTest, TheFirstUseInsideARunningBatchKeepsTheBatch) {
    auto twoTexts = [&](std::wstring const& second) {
        RECT left{8, 20, 120, 80}, right{130, 20, 248, 80};
        fonts.drawText(L"d", L"Karo", left, 0, white());
        fonts.drawText(second, L"Pik", right, 0, white());
    };
    std::vector<uint32_t> const apart = frame([&] { twoTexts(L"b"); });
    load(L"<FONTS><BITMAPFONT NAME=\"neu\" HEIGHT=\"24\" SCALE_WITH_SCREEN=\"0\" CREATE_BITMAP_FONT_DATA=\"1\"/></FONTS>");
    ASSERT_TRUE(dynamic_cast<BitmapFont*>(fonts.findFont(L"neu"))->isBuildPending());
    std::vector<uint32_t> const together = frame([&] {
        Orvex::BaseSprite& sprite = Orvex::D3DInterface::getInstance().getSprite().getD3DXSpriteObject();
        ASSERT_TRUE(sprite.Begin(0x10, nullptr));
        twoTexts(L"neu");
        sprite.End();
    });
    EXPECT_GT(ink(together).right, 130);
    EXPECT_LT(ink(together).left, 120);
    EXPECT_TRUE(together == apart);
}

// A table of A to Z only: a character outside it shows the first letter ("A").
TEST_F(RuntimeGlyphsTest, CharactersOutsideTheTableShowTheFirstLetter) {
    auto* font = dynamic_cast<BitmapFont*>(fonts.findFont(L"gross"));
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font->glyphTable(), nullptr);
    EXPECT_EQ(font->glyphTable()->glyphs.size(), 26u);
    RECT const box{8, 20, 248, 80};
    std::vector<uint32_t> const outside = drawText(L"gross", L"B\x20AC" L"C", box, 0, white());
    EXPECT_GT(ink(outside).right - ink(outside).left, 30);
    EXPECT_TRUE(outside == drawText(L"gross", L"BAC", box, 0, white()));
}

// Nothing the face can give, or cells that fit no texture: no table, one line, no endless pages.
TEST_F(RuntimeGlyphsTest, BuildsThatCannotPlaceAGlyph) {
    load(L"<FONTS><BITMAPFONT NAME=\"privat\" HEIGHT=\"20\" CREATE_BITMAP_FONT_DATA=\"1\">"
         L"<CREATE_PARAMS><RANGE START=\"57344\" END=\"57350\"/></CREATE_PARAMS></BITMAPFONT>"
         L"<BITMAPFONT NAME=\"eng\" HEIGHT=\"40\" SCALE_WITH_SCREEN=\"0\" CREATE_BITMAP_FONT_DATA=\"1\">"
         L"<CREATE_PARAMS SIZE_TABLES=\"8\"/></BITMAPFONT></FONTS>");
    EXPECT_EQ(dynamic_cast<BitmapFont*>(fonts.findFont(L"privat"))->glyphTable(), nullptr);
    EXPECT_TRUE(logged({L"\"privat\"", L"none of the chosen characters"}));
    EXPECT_EQ(dynamic_cast<BitmapFont*>(fonts.findFont(L"eng"))->glyphTable(), nullptr);
    EXPECT_TRUE(logged({L"\"eng\"", L"larger than the 8x8 texture"}));
    EXPECT_EQ(ink(drawText(L"eng", L"Karo", RECT{0, 0, 200, 90}, 0, white())).right, 0);
}

// Text scales with the screen height against 768.
class ScaledFontsTest : public FontDrawFixture {
protected:
    ScaledFontsTest() : FontDrawFixture(128, 384) {}
};

TEST_F(ScaledFontsTest, HeightFollowsTheScreen) {
    load(L"<FONTS><D3DXFONT NAME=\"d\" HEIGHT=\"20\"/><BITMAPFONT NAME=\"b\" HEIGHT=\"20\" CREATE_BITMAP_FONT_DATA=\"1\">"
         L"<CREATE_PARAMS><RANGE START=\"65\" END=\"90\"/></CREATE_PARAMS></BITMAPFONT></FONTS>");
    auto heights = [&] {
        std::vector<LONG> out;
        for (std::wstring const name : {L"d", L"b"}) {
            RECT const r = measure(name, L"H", RECT{0, 0, 120, 300}, 0);
            out.push_back(r.bottom - r.top);
            out.push_back(ink(drawText(name, L"H", RECT{0, 0, 120, 300}, 0, white())).bottom);
        }
        return out;
    };
    auto* device = dynamic_cast<D3DXFont*>(static_cast<FontDrawInterface&>(fonts).findFont(L"d"));
    D3DXFONT_DESCW desc{};
    device->getDeviceFont()->GetDescW(&desc);
    EXPECT_EQ(desc.Height, 10);
    std::vector<LONG> const half = heights();
    reopen(128, 768);
    device->getDeviceFont()->GetDescW(&desc);
    EXPECT_EQ(desc.Height, 20);
    std::vector<LONG> const full = heights();
    for (std::size_t i = 0; i < half.size(); ++i) {
        EXPECT_GE(half[i], 8) << i;
        EXPECT_NEAR(full[i], 2 * half[i], 2) << i;
    }
}

}  // namespace
}  // namespace fonttest
