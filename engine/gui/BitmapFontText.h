// A text laid out in a bitmap font: source lines cut into words at blanks, tabs, line breaks,
// "-", "\" and "/", words joined again by one blank each, wrapped at words (DT_WORDBREAK),
// aligned (DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM), clipped to the rectangle with the
// texture coordinates cut along (unless DT_NOCLIP), and measured (DT_CALCRECT).
#pragma once

#include <vector>

#include "engine/gui/FontText.h"
#include "engine/render/FRect.h"

namespace Orvex {

struct BitmapGlyph;

// One letter placed on a line; the metrics are the glyph's times the layout scale.
struct BitmapLetterLayout {
    BitmapLetterLayout() = default;
    BitmapLetterLayout(BitmapGlyph const* glyph, float const& scale);

    BitmapGlyph const* glyph = nullptr;
    FRect src;
    FRect dst;
    float overhang = 0.0f;  // min(a, 0)
    float extent = 0.0f;    // max(a, 0) + b + max(c, 0)
    float advance = 0.0f;   // a + b + c
    float inkRight = 0.0f;  // a + b + max(c, 0)
    // 0: the style's foreground colour; 1: color; 2: both multiplied.
    u32 color = 0xFFFFFFFF;
    int colorMode = 0;
};

struct BitmapTextLine {
    float width = 0.0f;
    std::vector<BitmapLetterLayout> letters;
};

class BitmapFontText : public FontText {
public:
    BitmapFontText(Font* font, FontStyle const& style) : FontText(font, style) {}
    BitmapFontText(BitmapFontText const& other) = default;

    FontText* clone() const override { return new BitmapFontText(*this); }
    void layout() override;

    // 0 or more multiplies the glyph scale; negative: none.
    float extraScale = -1.0f;
    std::vector<BitmapTextLine> lines;
};

// Truncated toward zero and held inside the LONG range (not a number gives 0): placements from
// extreme data never convert out of range.
LONG truncateToLong(float v);

// The colour a letter is drawn in with the style's foreground colour.
u32 letterColor(BitmapLetterLayout const& letter, u32 foreground);

}  // namespace Orvex
