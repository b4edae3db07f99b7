// A font drawn from a glyph table: one named in the font file ("BITMAPFONT_DATA", else the
// table named like the face), or one built at run time from the face
// ("CREATE_BITMAP_FONT_DATA" with the "CREATE_PARAMS" of GlyphTablePlan.h) whenever the font is
// created, and again after a device reset unless it neither scales nor lacks its table.
//
// Files: BitmapFont.cpp (keys, device steps), BitmapFont_build.cpp (the run-time build).
#pragma once

#include "engine/core/XMLNode.h"
#include "engine/gui/Font.h"

namespace Orvex {

class BitmapFontData;

class BitmapFont : public Font {
public:
    explicit BitmapFont(XMLNode& node);
    ~BitmapFont() override;
    BitmapFont(BitmapFont const&) = delete;

    void create() override;
    void releaseResources() override;
    void onResetDevice() override;
    // A generated font: its effective height truncated, whatever is asked.
    float getHeight(bool scaled) const override;
    void setHeight(u32 const& h) override;

    BitmapFontData* data = nullptr;
    float effectiveHeight = 0.0f;
    bool generated = false;
    XMLNode createParams;

private:
    void computeEffectiveHeight();
    // Builds the glyph table from the face; null when nothing could be built.
    BitmapFontData* buildGlyphTable();
};

}  // namespace Orvex
