// A font drawn from a glyph table: one named in the font file ("BITMAPFONT_DATA", else the
// table named like the face), or one built at run time from the face
// ("CREATE_BITMAP_FONT_DATA" with the "CREATE_PARAMS" of GlyphTablePlan.h). A built table is
// made when a text first asks for it after the font was created (a build renders every glyph, so
// a font no screen shows costs nothing), and again after a device reset unless the font neither
// scales nor lacks its table.
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

    // The glyph table; a generated font builds it here on the first call after create(). Null
    // when there is none (a build that failed is not tried again until the next create()).
    BitmapFontData* glyphTable();
    bool isBuildPending() const { return buildPending_; }

    float effectiveHeight = 0.0f;
    bool generated = false;
    XMLNode createParams;

private:
    BitmapFontData* data_ = nullptr;
    bool buildPending_ = false;

    void computeEffectiveHeight();
    // Builds the glyph table from the face; null when nothing could be built.
    BitmapFontData* buildGlyphTable();
};

}  // namespace Orvex
