// Glyph tables read from font files and bitmap text layout, without a device: letters and their
// defaults, damaged letters, the index's limits, words and lines, wrapping, alignment,
// clipping and measuring.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/gui/BitmapFont.h"
#include "engine/gui/BitmapFontData.h"
#include "engine/gui/BitmapFontText.h"
#include "tests/engine/gui/FontFixture.h"

namespace fonttest {
namespace {

using Orvex::BitmapFontData;
using Orvex::BitmapFontText;

class GlyphTableTest : public FontManagerFixture {
protected:
    BitmapFontData* table(std::wstring const& name) { return fonts.getBitmapFonts().findBitmapFontData(name); }
};

TEST_F(GlyphTableTest, LettersAndTheirDefaults) {
    load(L"<FONTS><BITMAPFONT_DATA NAME=\"t\" ZERO_SIZE=\"32\" OFFSETS=\"1 2\">"
         L"<LETTER TYPE=\"A\" L=\"10\" W=\"5\" T=\"1\" B=\"9\"/>"
         L"<LETTER L=\"3\"><TYPE>\"|B|\"</TYPE></LETTER>"
         L"<LETTER L=\"99\"/>"
         L"<LETTER TYPE=\"A\" L=\"20\" R=\"30\" ABC=\"-1 8\"/>"
         L"</BITMAPFONT_DATA></FONTS>");
    BitmapFontData* t = table(L"t");
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->loaded);
    EXPECT_FLOAT_EQ(t->unitScale, 0.03125f);
    EXPECT_FLOAT_EQ(t->offsets[0], 1.0f);
    EXPECT_FLOAT_EQ(t->offsets[1], 2.0f);
    EXPECT_FLOAT_EQ(t->offsets[2], 0.0f);
    ASSERT_EQ(t->glyphs.size(), 3u) << "the letter without a character is skipped";
    Orvex::BitmapGlyph const& first = t->glyphs[0];
    EXPECT_EQ(first.right, 15);
    EXPECT_FLOAT_EQ(first.width, 5.0f);
    EXPECT_FLOAT_EQ(first.height, 8.0f);
    EXPECT_FLOAT_EQ(first.b, 5.0f);
    EXPECT_EQ(t->findGlyph(L'B'), &t->glyphs[1]);
    // The later letter of a character wins; both stay.
    ASSERT_EQ(t->findGlyph(L'A'), &t->glyphs[2]);
    EXPECT_FLOAT_EQ(t->glyphs[2].a, -1.0f);
    EXPECT_FLOAT_EQ(t->glyphs[2].b, 8.0f);
    EXPECT_FLOAT_EQ(t->glyphs[2].c, 0.0f);
    // A character without a letter shows the first one.
    EXPECT_EQ(t->findGlyph(L'z'), &t->glyphs[0]);
}

// Right below left (or bottom above top) would give negative widths: such a letter becomes
// empty, keeps its place in the index, and the file and letter are named once.
TEST_F(GlyphTableTest, InvertedLettersBecomeEmpty) {
    load(L"<FONTS><BITMAPFONT_DATA NAME=\"inv\"><LETTER TYPE=\"a\" L=\"5\" W=\"3\"/>"
         L"<LETTER TYPE=\"b\" L=\"20\" R=\"10\" T=\"4\" H=\"-9\"/><LETTER TYPE=\"c\" L=\"5\" R=\"2\"/>"
         L"</BITMAPFONT_DATA></FONTS>",
         L"kaputt.fnt");
    BitmapFontData* t = table(L"inv");
    ASSERT_EQ(t->glyphs.size(), 3u);
    for (Orvex::BitmapGlyph const* g : {t->findGlyph(L'b'), t->findGlyph(L'c')}) {
        EXPECT_FLOAT_EQ(g->width, 0.0f);
        EXPECT_FLOAT_EQ(g->height, 0.0f);
        EXPECT_FLOAT_EQ(g->b, 0.0f);
    }
    EXPECT_EQ(loggedCount(L"glyph table \"inv\""), 1);
    EXPECT_TRUE(logged({L"kaputt.fnt", L"2 letter(s)", L"LETTER 2"}));
}

// The index covers every code unit, 0xFFFF included; letters past what a signed 16-bit index
// can reach are refused with one line.
TEST_F(GlyphTableTest, IndexLimits) {
    std::wstring file = L"<FONTS><BITMAPFONT_DATA NAME=\"voll\">";
    file += L"<LETTER TYPE=\"\xFFFF\" W=\"7\"/>";
    for (unsigned i = 0; i < BitmapFontData::kMaxGlyphs + 9; ++i)
        file += L"<LETTER TYPE=\"" + std::wstring(1, static_cast<wchar_t>(0x4E00 + i % 0x5000)) + L"\" W=\"1\"/>";
    file += L"</BITMAPFONT_DATA></FONTS>";
    load(file, L"gross.fnt");
    BitmapFontData* t = table(L"voll");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->glyphs.size(), BitmapFontData::kMaxGlyphs);
    ASSERT_NE(t->findGlyph(static_cast<wchar_t>(0xFFFF)), nullptr);
    EXPECT_FLOAT_EQ(t->findGlyph(static_cast<wchar_t>(0xFFFF))->width, 7.0f);
    EXPECT_TRUE(logged({L"gross.fnt", L"10 letter(s) past"}));
    // Every reachable entry points at a letter.
    for (unsigned u = 0; u < BitmapFontData::kIndexSize; ++u)
        ASSERT_NE(t->findGlyph(static_cast<wchar_t>(u)), nullptr) << u;
}

TEST_F(GlyphTableTest, DamagedFileKeepsWhatWasReadWithOneLine) {
    Orvex::XMLNode root;
    root.loadFromText(L"<FONTS>\r\n<FONTSTYLE NAME=\"gut\"/>\r\n<D3DXFONT NAME=\"ok\"/>\r\n<D3DXFONT NAME=\"x\" \r\n", L"halb.fnt");
    fonts.loadConfig(root, L"halb.fnt");
    EXPECT_NE(fonts.findFontStyle(L"gut"), nullptr);
    EXPECT_NE(fonts.findFont(L"ok"), nullptr);
    EXPECT_EQ(loggedCount(L"halb.fnt"), 1);
    EXPECT_TRUE(logged({L"halb.fnt", L"line"}));
}

// Letters 10 wide (a 0, b 10, c 0), the blank 5, "-" 4 with c 1, a line height of 10.
class BitmapLayoutTest : public FontManagerFixture {
protected:
    void SetUp() override {
        FontManagerFixture::SetUp();
        load(L"<FONTS><BITMAPFONT_DATA NAME=\"raster\" ZERO_SIZE=\"10\">"
             L"<LETTER TYPE=\"#\" L=\"0\" W=\"10\" H=\"10\"/>"
             L"<LETTER TYPE=\" \" ABC=\"0 5 0\"/><LETTER TYPE=\"-\" L=\"10\" W=\"4\" H=\"10\" ABC=\"0 4 1\"/>"
             L"<LETTER TYPE=\"a\" L=\"20\" W=\"10\" H=\"10\"/><LETTER TYPE=\"b\" L=\"30\" W=\"10\" H=\"10\"/>"
             L"<LETTER TYPE=\"/\" L=\"40\" W=\"10\" H=\"10\"/><LETTER TYPE=\"j\" L=\"50\" W=\"10\" H=\"10\" ABC=\"-2 10 0\"/>"
             L"</BITMAPFONT_DATA><BITMAPFONT NAME=\"f\" BITMAPFONT_DATA=\"raster\" HEIGHT=\"10\" "
             L"SCALE_WITH_SCREEN=\"0\"/></FONTS>");
        font = fonts.findFont(L"f");
        ASSERT_NE(font, nullptr);
    }
    BitmapFontText lay(std::wstring const& text, RECT rect, Orvex::u32 format) {
        BitmapFontText t(font, white());
        t.text = text;
        t.rect = rect;
        t.measured = rect;
        t.format = format;
        t.layout();
        return t;
    }
    // Per line: the letters' left edges.
    static std::vector<std::vector<float>> lefts(BitmapFontText const& t) {
        std::vector<std::vector<float>> out;
        for (auto const& line : t.lines) {
            out.emplace_back();
            for (auto const& letter : line.letters) out.back().push_back(letter.dst.left);
        }
        return out;
    }
    static Orvex::FontStyle white() { return Orvex::FontStyle(); }
    Orvex::Font* font = nullptr;
};

constexpr RECT kWide{0, 0, 200, 100};
constexpr Orvex::u32 kNoClip = Orvex::kTextNoClip;

TEST_F(BitmapLayoutTest, WordsAndSeparators) {
    using L = std::vector<std::vector<float>>;
    struct Case {
        std::wstring text;
        L expected;
    };
    for (Case const& c : std::vector<Case>{
             {L"a-b", L{{0, 10, 15}}},                 // hyphen, then b directly
             {L"a/b", L{{0, 10, 20, 25}}},             // slash, a blank, then b
             {L"a\\b", L{{0, 10, 20, 25}}},           // "\" shows the first letter, a blank follows
             {L"a  b", L{{0, 10, 15}}},                // two blanks give one
             {L"a\r\nb", L{{0}, {0}}},                 // CR LF is one break
             {L"a\n\nb", L{{0}, {}, {0}}},             // an empty line between stays
             {L"\n\na\n", L{{0}}},                     // leading and trailing breaks add nothing
             {L"ja", L{{-2, 8}}},                      // a negative a reaches left of the pen
         }) {
        EXPECT_EQ(lefts(lay(c.text, kWide, kNoClip)), c.expected) << testing::PrintToString(c.text);
    }
    // The line top of the third line of "a\n\nb" is two line heights down.
    EXPECT_FLOAT_EQ(lay(L"a\n\nb", kWide, kNoClip).lines[2].letters[0].dst.top, 20.0f);
}

TEST_F(BitmapLayoutTest, WrappingAndAlignment) {
    // 45 wide: "aa bb" is 45 and fits only with room for the half pixel kept free.
    EXPECT_EQ(lay(L"aa bb", RECT{0, 0, 45, 50}, kNoClip | Orvex::kTextWordBreak).lines.size(), 2u);
    EXPECT_EQ(lay(L"aa bb", RECT{0, 0, 46, 50}, kNoClip | Orvex::kTextWordBreak).lines.size(), 1u);
    BitmapFontText const wrapped = lay(L"aa bb", RECT{0, 0, 30, 50}, kNoClip | Orvex::kTextWordBreak);
    ASSERT_EQ(wrapped.lines.size(), 2u);
    EXPECT_EQ(wrapped.lines[1].letters.size(), 2u) << "no leading blank on the new line";
    EXPECT_EQ(lay(L"aaaaaaa", RECT{0, 0, 30, 50}, kNoClip | Orvex::kTextWordBreak).lines.size(), 1u);
    struct Case {
        Orvex::u32 format;
        float left, top;
    };
    using namespace Orvex;
    for (Case const& c : std::vector<Case>{{0, 10, 20},
                                           {kTextCenter, 90, 20},
                                           {kTextRight, 170, 20},
                                           {kTextCenter | kTextRight, 170, 20},
                                           {kTextVCenter, 10, 65},
                                           {kTextBottom, 10, 110},
                                           {kTextVCenter | kTextBottom, 10, 110}}) {
        BitmapFontText const t = lay(L"ab", RECT{10, 20, 190, 120}, kNoClip | c.format);
        EXPECT_FLOAT_EQ(t.lines[0].letters[0].dst.left, c.left) << c.format;
        EXPECT_FLOAT_EQ(t.lines[0].letters[0].dst.top, c.top) << c.format;
    }
}

TEST_F(BitmapLayoutTest, MeasuringAndClipping) {
    using namespace Orvex;
    RECT const box{10, 20, 190, 120};
    auto measure = [&](std::wstring const& text, u32 format = 0) {
        return lay(text, box, format | kTextCalcRect | kTextNoClip).measured;
    };
    RECT m = measure(L"ab");
    EXPECT_EQ((std::vector<LONG>{m.left, m.top, m.right, m.bottom}), (std::vector<LONG>{10, 20, 30, 30}));
    m = measure(L"ab", kTextCenter | kTextVCenter);
    EXPECT_EQ((std::vector<LONG>{m.left, m.top, m.right, m.bottom}), (std::vector<LONG>{90, 65, 110, 75}));
    m = measure(L"");
    EXPECT_EQ((std::vector<LONG>{m.left, m.top, m.right, m.bottom}), (std::vector<LONG>{100, 70, 100, 70}));
    m = measure(L"   ");
    EXPECT_EQ((std::vector<LONG>{m.left, m.top, m.right, m.bottom}), (std::vector<LONG>{190, 120, 10, 20}));
    // Clipped: a letter half outside is cut with its source, one wholly outside dropped.
    BitmapFontText const t = lay(L"abab", RECT{0, 0, 15, 10}, 0);
    ASSERT_EQ(t.lines[0].letters.size(), 2u);
    Orvex::BitmapLetterLayout const& cut = t.lines[0].letters[1];
    EXPECT_FLOAT_EQ(cut.dst.right, 15.0f);
    EXPECT_FLOAT_EQ(cut.src.left, 30.0f);
    EXPECT_FLOAT_EQ(cut.src.right, 35.0f);
    BitmapFontText const low = lay(L"a", RECT{0, 5, 15, 100}, 0);
    EXPECT_FLOAT_EQ(low.lines[0].letters[0].src.top, 0.0f);
    BitmapFontText const high = lay(L"a", RECT{0, -5, 15, 5}, 0);
    EXPECT_FLOAT_EQ(high.lines[0].letters[0].src.bottom, 10.0f);
    EXPECT_FLOAT_EQ(lay(L"a", RECT{0, 0, 15, 4}, 0).lines[0].letters[0].src.bottom, 4.0f);
}

// A character without a letter of its own lays out as the first letter ("#"); a font whose
// table is missing lays out nothing and measures the inverted rectangle.
TEST_F(BitmapLayoutTest, CharactersOutsideTheTable) {
    BitmapFontText const t = lay(L"a\x20AC" L"b", kWide, kNoClip);
    ASSERT_EQ(t.lines[0].letters.size(), 3u);
    EXPECT_FLOAT_EQ(t.lines[0].letters[1].src.left, 0.0f);
    load(L"<FONTS><BITMAPFONT NAME=\"ohne\" BITMAPFONT_DATA=\"fehlt\"/></FONTS>");
    BitmapFontText none(fonts.findFont(L"ohne"), white());
    none.text = L"ab";
    none.rect = RECT{1, 2, 3, 4};
    none.format = Orvex::kTextCalcRect;
    none.layout();
    EXPECT_TRUE(none.lines.empty());
    EXPECT_EQ(none.measured.left, 3);
    EXPECT_EQ(none.measured.right, 1);
}

}  // namespace
}  // namespace fonttest

namespace fonttest {
namespace {

// Numbers from data beyond any sensible size are brought inside their bounds with a line, so
// nothing converts out of range, loops for billions of halo copies or allocates without end.
TEST_F(GlyphTableTest, ValuesOutOfRangeAreBroughtInside) {
    load(L"<FONTS><FONTSTYLE NAME=\"gross\" DRAW_HG=\"1\" SAMPLES=\"1e9\" RINGS=\"1e9\" RADIUS=\"nan\" SHADOW=\"1e30 -1e30\"/>"
         L"<D3DXFONT NAME=\"riesig\" HEIGHT=\"99999\" WIDTH=\"-4\"/>"
         L"<BITMAPFONT_DATA NAME=\"weit\" ZERO_SIZE=\"1e-30\" OFFSETS=\"1e30\">"
         L"<LETTER TYPE=\"a\" L=\"-2000000000\" R=\"2000000000\" H=\"2000000000\" ABC=\"1e38 -1e38 inf\"/>"
         L"</BITMAPFONT_DATA><BITMAPFONT NAME=\"w\" BITMAPFONT_DATA=\"weit\" SCALE_WITH_SCREEN=\"0\"/></FONTS>",
         L"grenzen.fnt");
    Orvex::FontStyle const* style = fonts.findFontStyle(L"gross");
    ASSERT_NE(style, nullptr);
    EXPECT_FLOAT_EQ(style->samples, Orvex::FontStyle::kMaxSamples);
    EXPECT_FLOAT_EQ(style->rings, Orvex::FontStyle::kMaxRings);
    EXPECT_FLOAT_EQ(style->radius, 0.0f);
    EXPECT_FLOAT_EQ(style->shadowX, Orvex::FontStyle::kMaxOffset);
    EXPECT_LE(Orvex::haloOffsets(*style).size(), 64u * 16u);
    EXPECT_TRUE(logged({L"\"gross\"", L"out of range"}));
    EXPECT_EQ(fonts.findFont(L"riesig")->height, static_cast<Orvex::u32>(Orvex::Font::kMaxSize));
    EXPECT_EQ(fonts.findFont(L"riesig")->width, 0u);
    BitmapFontData* t = table(L"weit");
    EXPECT_FLOAT_EQ(t->unitScale, 1.0f);
    EXPECT_EQ(t->glyphs[0].left, -BitmapFontData::kMaxCoordinate);
    EXPECT_FLOAT_EQ(t->glyphs[0].c, BitmapFontData::kMaxMetric);
    EXPECT_TRUE(logged({L"grenzen.fnt", L"\"weit\"", L"out of range"}));
    // Laid out in the widest rectangle there is: every edge stays a number.
    BitmapFontText text(fonts.findFont(L"w"), *style);
    text.text = L"aa a";
    text.rect = RECT{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    text.format = Orvex::kTextCalcRect | Orvex::kTextCenter | Orvex::kTextVCenter;
    text.layout();
    EXPECT_LE(text.measured.left, text.measured.right);
}

}  // namespace
}  // namespace fonttest
