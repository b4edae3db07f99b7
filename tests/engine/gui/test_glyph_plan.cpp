// The plan of run-time glyph tables: parameters, which characters are built, cell sizes with a
// background, texture sizes and packing, and the cases that had no bound (no cell at all,
// cells larger than the texture).
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "engine/gui/GlyphTablePlan.h"
#include "port/gdi/wingdi.h"
#include "tests/engine/gui/FontFixture.h"

namespace fonttest {
namespace {

using namespace Orvex;

std::vector<u8> select(std::wstring const& params, std::wstring const& typeable = L"",
                       std::vector<u16> const& language = {}) {
    XMLNode node = parse(params);
    return selectCharacters(GlyphTableParams(node), typeable, language);
}

int count(std::vector<u8> const& marks) { return std::accumulate(marks.begin(), marks.end(), 0); }

TEST(GlyphPlan, CharacterSelection) {
    // Without a range: the defaults (32..128 and eleven more), the keyboard's and the texts'.
    std::vector<u8> const defaults = select(L"<CREATE_PARAMS/>", L"\x0141", {0x3042, 0});
    EXPECT_EQ(count(defaults), 97 + 11 + 2);
    for (u16 u : {32, 128, 0xE4, 0xDF, 0x20AC, 0x221E, 0x141, 0x3042}) EXPECT_TRUE(defaults[u]) << u;
    EXPECT_FALSE(defaults[0]);
    // One range without DEFAULT_RANGES: only that range.
    EXPECT_EQ(count(select(L"<CREATE_PARAMS><RANGE START=\"65\" END=\"70\"/></CREATE_PARAMS>")), 6);
    // A range without keys is 32..256; ADD 0 removes; defaults come after and stay.
    std::vector<u8> const cut =
        select(L"<CREATE_PARAMS DEFAULT_RANGES=\"1\"><RANGE/><RANGE START=\"40\" END=\"200\" ADD=\"0\"/></CREATE_PARAMS>");
    EXPECT_TRUE(cut[33]);
    EXPECT_TRUE(cut[100]) << "a default character";
    EXPECT_FALSE(cut[150]);
    EXPECT_TRUE(cut[256]);
    // START alone is one character; START above END nothing; code units from 65535 on ignored.
    EXPECT_EQ(count(select(L"<CREATE_PARAMS><RANGE START=\"70\"/><RANGE START=\"90\" END=\"80\"/>"
                           L"<RANGE START=\"65530\" END=\"70000\"/></CREATE_PARAMS>")),
              1 + 5);
}

TEST(GlyphPlan, ParametersAndCells) {
    XMLNode node = parse(L"<CREATE_PARAMS SIZE_TABLES=\"256\" SPACE=\"2\"><FONTSTYLE DRAW_HG=\"1\" RADIUS=\"2\" "
                         L"SHADOW=\"1\"/></CREATE_PARAMS>");
    GlyphTableParams const p(node);
    EXPECT_TRUE(p.sizeGiven);
    EXPECT_EQ(p.textureWidth, 256u);
    EXPECT_EQ(p.textureHeight, 256u);
    EXPECT_EQ(p.space, 2);
    EXPECT_EQ(static_cast<DWORD>(p.style.colorVG), 0xFFFFFFFFu) << "white unless the style names a colour";
    HaloExtents const halo = haloExtents(p.style);
    GlyphCell cell;
    cell.a = -1.0f;
    cell.b = 6.0f;
    cell.c = -2.0f;
    // |a| + b + max(c, 0), widened by 1 left and 3 right.
    EXPECT_EQ(cellWidth(cell, halo), 7 + 4);
    EXPECT_FLOAT_EQ(halo.top, -1.0f);
    EXPECT_FLOAT_EQ(halo.bottom, 3.0f);
    EXPECT_EQ(cellWidth(cell, HaloExtents{}), 7);
}

TEST(GlyphPlan, TextureSizes) {
    struct Case {
        double e;
        u32 w, h;
    };
    for (Case const& c : std::vector<Case>{{9.3, 512, 256}, {9.6, 512, 512}, {11.2, 1024, 1024}, {12.7, 1024, 1024}}) {
        u32 w = 0, h = 0;
        textureSizeFromExponent(c.e, w, h);
        EXPECT_EQ(w, c.w) << c.e;
        EXPECT_EQ(h, c.h) << c.e;
    }
    u32 w = 0, h = 0;
    // No cell: no logarithm of nothing.
    EXPECT_FALSE(estimateTextureSize({}, 20, 0, w, h));
    EXPECT_FALSE(estimateTextureSize({0, 0}, 20, 0, w, h));
    // One small cell of a tall font: the estimate grows until the cell fits.
    ASSERT_TRUE(estimateTextureSize({10}, 20, 0, w, h));
    EXPECT_GE(w, 10u);
    EXPECT_GE(h, 20u);
}

TEST(GlyphPlan, PackingInRowsAndPages) {
    std::vector<GlyphCell> cells(kGlyphUnits);
    for (u32 u : {65u, 66u, 67u, 68u, 69u}) {
        cells[u].present = 1;
        cells[u].b = 10.0f;
    }
    PackResult const r = packCells(cells, HaloExtents{}, 8, 1, 30, 20);
    EXPECT_EQ(r.pages, 2u);
    EXPECT_EQ(cells[65].rect.left, 0);
    EXPECT_EQ(cells[66].rect.left, 11);
    EXPECT_EQ(cells[67].rect.left, 0);
    EXPECT_EQ(cells[67].rect.top, 9) << "a new row: down by the cell height and the space";
    EXPECT_EQ(cells[68].rect.left, 11);
    EXPECT_EQ(cells[68].rect.right, 21);
    EXPECT_EQ(cells[69].page, 1);
    EXPECT_EQ(cells[69].rect.top, 0);
    EXPECT_EQ(cells[0].placed, 0);
}

// A cell larger than the texture would open a new texture for every character after it:
// such cells are left out, and the pages stay bounded.
TEST(GlyphPlan, CellsThatCannotFitAreLeftOut) {
    std::vector<GlyphCell> cells(kGlyphUnits);
    for (u32 u = 100; u < 200; ++u) {
        cells[u].present = 1;
        cells[u].b = u == 150 ? 90.0f : 10.0f;
    }
    PackResult const tall = packCells(cells, HaloExtents{}, 40, 0, 64, 32);
    EXPECT_EQ(tall.oversized, 100u);
    EXPECT_EQ(tall.pages, 0u);
    PackResult const wide = packCells(cells, HaloExtents{}, 10, 0, 64, 64);
    EXPECT_EQ(wide.oversized, 1u);
    EXPECT_EQ(cells[150].placed, 0);
    EXPECT_EQ(wide.pages, 3u) << "36 cells a page";
    // Many cells on small pages stop at the page limit.
    for (u32 u = 0; u < 5000; ++u) cells[u].present = 1;
    PackResult const many = packCells(cells, HaloExtents{}, 10, 0, 16, 16);
    EXPECT_EQ(many.pages, kMaxGlyphPages);
    EXPECT_GT(many.overflow, 0u);
}

}  // namespace
}  // namespace fonttest

namespace fonttest {
namespace {

using namespace Orvex;

// GDI answers are checked: a context that is no device context measures nothing.
TEST(GlyphPlan, GdiFailuresAreReported) {
    std::vector<GlyphCell> cells(kGlyphUnits);
    std::vector<u8> marks(kGlyphUnits, 1);
    EXPECT_FALSE(measureGlyphs(reinterpret_cast<HDC>(static_cast<std::uintptr_t>(0x5A5A)), cells, marks));
    EXPECT_FALSE(measureGlyphs(nullptr, cells, marks));
    HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HFONT font = CreateFontW(20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    EXPECT_TRUE(measureGlyphs(dc, cells, marks));
    EXPECT_TRUE(cells[L'A'].present);
    EXPECT_GT(cells[L'A'].b, 5.0f);
    EXPECT_FALSE(cells[0xE000].present) << "a private-use code unit the face lacks";
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

TEST(GlyphPlan, GivenTextureSizesAreBounded) {
    XMLNode node = parse(L"<CREATE_PARAMS SIZE_TABLES=\"99999 0\"/>");
    GlyphTableParams const p(node);
    EXPECT_EQ(p.textureWidth, kMaxGivenTextureSize);
    EXPECT_EQ(p.textureHeight, 1u);
    EXPECT_TRUE(logged({L"SIZE_TABLES"}));
}

}  // namespace
}  // namespace fonttest
