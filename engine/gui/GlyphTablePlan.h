// The plan of a glyph table built at run time: the build parameters ("CREATE_PARAMS":
// "FONTSTYLE", "SIZE_TABLES", "SPACE", "RANGE" with "START", "END", "ADD", "DEFAULT_RANGES"),
// which characters get a letter, how large each cell is, the texture size and where each cell
// goes. No device is needed here; BitmapFont_build.cpp measures (measureGlyphs) and renders.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/gui/BitmapFontData.h"
#include "engine/gui/FontStyle.h"
#include "port/win32/windows_types.h"

namespace Orvex {

class XMLNode;

// Largest texture side the estimate picks, and the most pages one table may use.
inline constexpr u32 kMaxGlyphTextureSize = 1024;
inline constexpr u32 kMaxGlyphPages = 64;
// Largest texture side "SIZE_TABLES" may ask for.
inline constexpr u32 kMaxGivenTextureSize = 4096;
// Code units a table can hold a letter for (0 to 65534).
inline constexpr u32 kGlyphUnits = 0xFFFF;

struct GlyphRange {
    u32 start = 32;
    u32 end = 256;
    bool add = true;
};

struct GlyphTableParams {
    explicit GlyphTableParams(XMLNode const& createParams);

    // White text, no background, unless the parameters name a style.
    FontStyle style;
    bool sizeGiven = false;
    u32 textureWidth = 0;
    u32 textureHeight = 0;
    int space = 0;
    std::vector<GlyphRange> ranges;
    bool defaultRanges = true;
};

// Where the characters of the language texts come from (the language manager lives beside the
// fonts; until it is connected the list is empty).
using CharacterListSource = std::function<std::vector<u16>()>;
void setLanguageCharacterSource(CharacterListSource source);
std::vector<u16> languageCharacters();

// One mark per code unit 0 to 65534: the ranges in order, then the default characters (the
// fixed list, every character of typeable and every non-zero unit of language).
std::vector<u8> selectCharacters(GlyphTableParams const& params, std::wstring const& typeable,
                                 std::vector<u16> const& language);

// The room a style's background needs around each glyph (left and top not above 0).
struct HaloExtents {
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
};
HaloExtents haloExtents(FontStyle const& style);

int cellWidth(GlyphCell const& cell, HaloExtents const& halo);

// The texture size for cells of the given widths in one row: 2^truncate(e) square, halved in
// height when e's fraction is below 0.5, e = log2(sqrt(total * cellHeight)) + 0.25, capped at
// kMaxGlyphTextureSize; grown (up to the cap) so the widest and the tallest cell fit. False
// when there is no cell.
bool estimateTextureSize(std::vector<int> const& widths, int cellHeight, int space, u32& width, u32& height);
// The same from the exponent alone (what the estimate rounds).
void textureSizeFromExponent(double e, u32& width, u32& height);

// GDI's ABC widths of every code unit of the font selected into dc, and present = marked and
// inside a range the face reports. False when GDI answers with a failure.
bool measureGlyphs(HDC dc, std::vector<GlyphCell>& cells, std::vector<u8> const& marks);

struct PackResult {
    unsigned pages = 0;
    // Cells larger than a texture, and cells past the last page allowed: left without a place.
    unsigned oversized = 0;
    unsigned overflow = 0;
};
// Places every present cell in code-unit order, row by row and page by page.
PackResult packCells(std::vector<GlyphCell>& cells, HaloExtents const& halo, int cellHeight, int space, u32 width,
                     u32 height);

}  // namespace Orvex
