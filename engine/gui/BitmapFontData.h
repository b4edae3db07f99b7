// A glyph table: the letters of a bitmap font as rectangles of its own textures, with their
// ABC widths, and an index from every UTF-16 code unit to its letter. Either read from a
// "BITMAPFONT_DATA" element ("TEXTUREN", "TEXTUR", "ZERO_SIZE", "OFFSETS", "LETTER") or rendered
// at run time from a device font into texture pages (BitmapFontData_build.cpp).
//
// Index entries start at 0, so a character without a letter of its own shows the first letter;
// an entry that is negative or not below the letter count means no letter. The index holds
// signed 16-bit numbers: letters past kMaxGlyphs are refused.
//
// Split: BitmapFontData.cpp (reading the element, the letter lookup), BitmapFontData_build.cpp
// (rendering the pages from a device font).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "engine/render/TextureManager.h"
#include "port/win32/windows_types.h"

namespace Orvex {

class Font;
class FontStyle;
class Texture2D;
class XMLNode;

struct BitmapGlyph {
    Texture2D* texture = nullptr;
    int left = 0, top = 0, right = 0, bottom = 0;
    float width = 0.0f, height = 0.0f;
    // Space before the letter, its own advance, space after it.
    float a = 0.0f, b = 0.0f, c = 0.0f;
};

// One code unit's cell while a glyph table is built at run time.
struct GlyphCell {
    RECT rect{};
    float a = 0.0f, b = 0.0f, c = 0.0f;
    u8 present = 0;
    u8 placed = 0;
    int page = 0;
};

class BitmapFontData : public NamedObject {
public:
    static constexpr u32 kIndexSize = 0x10000;
    static constexpr u32 kMaxGlyphs = 0x7FFF;
    // Bounds of a letter's coordinates and widths read from data (no texture is larger).
    static constexpr int kMaxCoordinate = 0x10000;
    static constexpr float kMaxMetric = 65536.0f;

    // From a "BITMAPFONT_DATA" element; source names the file in log lines.
    explicit BitmapFontData(XMLNode& node, std::wstring const& source = L"");
    // Renders every present, placed cell (kIndexSize - 1 entries or fewer) with the font and
    // style into pages 0 to lastPage of pageWidth x pageHeight.
    BitmapFontData(std::vector<GlyphCell> const& cells, Font& font, int const& pageWidth, int const& pageHeight,
                   unsigned const& lastPage, FontStyle const& style);
    ~BitmapFontData() override = default;
    BitmapFontData(BitmapFontData const&) = delete;
    BitmapFontData& operator=(BitmapFontData const&) = delete;

    // The letter of a code unit, or null when it has none.
    BitmapGlyph const* findGlyph(wchar_t unit) const;

    // Appends a letter for a code unit; false (nothing changed) when the table is full.
    bool addGlyph(wchar_t unit, BitmapGlyph const& glyph);

    bool loaded = false;
    std::vector<BitmapGlyph> glyphs;
    std::array<s16, kIndexSize> glyphIndex{};
    TextureManager textures;
    float unitScale = 1.0f;
    float offsets[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

}  // namespace Orvex
