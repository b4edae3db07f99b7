// The renderer of bitmap fonts: the glyph tables ("BITMAPFONT_DATA") and the fonts
// ("BITMAPFONT") of the font files, text laid out by BitmapFontText and drawn glyph by glyph
// through the sprite batcher, background copies first.
#pragma once

#include <vector>

#include "engine/gui/FontDrawInterface.h"

namespace Orvex {

class BitmapFontData;
class BitmapFontText;

class BitmapFontInterface : public FontDrawInterface {
public:
    BitmapFontInterface() = default;
    ~BitmapFontInterface() override;

    // The fonts, then every glyph table.
    void clearFonts() override;
    void loadFonts(XMLNode& root, std::wstring const& source) override;
    // A laid-out BitmapFontText; any other text draws nothing.
    void drawFontText(FontText& text) override;
    void drawStyledText(Font* font, std::wstring const& text, RECT& rect, u32 format, FontStyle const& style) override;
    void drawStyledTextByName(std::wstring const& fontName, std::wstring const& text, RECT& rect, u32 format,
                              FontStyle const& style) override;
    bool isOwnFont(Font* font) const override;
    bool isOwnText(FontText const& text) const override;

    BitmapFontData* findBitmapFontData(std::wstring const& name) const;
    // Refuses null, a table already held and a name already taken; keeps a reference.
    bool addBitmapFontData(BitmapFontData* data);

private:
    std::vector<BitmapFontData*> data_;
};

}  // namespace Orvex
