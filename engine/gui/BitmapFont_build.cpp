// The run-time build of a bitmap font's glyph table: a temporary device font of the same
// definition, the characters chosen, measured with GDI, packed into pages and rendered.
#include <cmath>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/gui/BitmapFont.h"
#include "engine/gui/BitmapFontData.h"
#include "engine/gui/D3DXFont.h"
#include "engine/gui/GlyphTablePlan.h"
#include "engine/platform/TastaturLayout.h"
#include "port/gdi/wingdi.h"

namespace Orvex {

namespace {

// A GDI font selected into the screen's device context for as long as it lives.
class GdiMeasure {
public:
    GdiMeasure(Font const& font) {
        dc_ = GetDC(nullptr);
        if (!dc_) return;
        gdiFont_ = CreateFontW(static_cast<int>(font.deviceHeight()), static_cast<int>(font.deviceWidth()), 0, 0,
                               static_cast<int>(font.weight), font.italic ? 1 : 0, 0, 0, 0, 0, 0, 0, 0,
                               font.fontName.c_str());
        if (gdiFont_) old_ = SelectObject(dc_, gdiFont_);
    }
    ~GdiMeasure() {
        if (old_) SelectObject(dc_, old_);
        if (gdiFont_) DeleteObject(gdiFont_);
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    GdiMeasure(GdiMeasure const&) = delete;
    GdiMeasure& operator=(GdiMeasure const&) = delete;

    bool ready() const { return dc_ && gdiFont_ && old_; }
    HDC dc() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HFONT gdiFont_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

bool measureGlyphs(HDC dc, std::vector<GlyphCell>& cells, std::vector<u8> const& marks) {
    if (cells.size() < kGlyphUnits || marks.size() < kGlyphUnits) return false;
    std::vector<ABCFLOAT> widths(kGlyphUnits);
    if (!GetCharABCWidthsFloatW(dc, 0, kGlyphUnits - 1, widths.data())) return false;
    DWORD const size = GetFontUnicodeRanges(dc, nullptr);
    if (size < sizeof(GLYPHSET)) return false;
    std::vector<unsigned char> block(size);
    auto* set = reinterpret_cast<GLYPHSET*>(block.data());
    if (GetFontUnicodeRanges(dc, set) == 0) return false;
    DWORD const ranges = std::min<DWORD>(set->cRanges, (size - offsetof(GLYPHSET, ranges)) / sizeof(WCRANGE));
    for (DWORD i = 0; i < ranges; ++i) {
        u32 const first = set->ranges[i].wcLow;
        for (u32 u = first; u < first + set->ranges[i].cGlyphs && u < kGlyphUnits; ++u) cells[u].present = marks[u];
    }
    for (u32 u = 0; u < kGlyphUnits; ++u) {
        cells[u].a = widths[u].abcfA;
        cells[u].b = widths[u].abcfB;
        cells[u].c = widths[u].abcfC;
    }
    return true;
}

BitmapFontData* BitmapFont::buildGlyphTable() {
    std::wstring const who = L"Bitmap font \"" + getName() + L"\": ";
    GlyphTableParams const params(createParams);
    D3DXFont face(static_cast<Font const&>(*this));
    face.create();

    std::wstring typeable;
    if (TastaturLayout* layout = TastaturLayoutManager::getInstance().getActiveLayout())
        typeable = layout->getTypeableChars();
    std::vector<u8> const marks = selectCharacters(params, typeable, languageCharacters());

    std::vector<GlyphCell> cells(kGlyphUnits);
    {
        GdiMeasure gdi(*this);
        if (!gdi.ready() || !measureGlyphs(gdi.dc(), cells, marks)) {
            logError(who + L"cannot measure the face \"" + fontName + L"\"; no glyph table");
            return nullptr;
        }
    }
    HaloExtents const halo = haloExtents(params.style);
    float const h = static_cast<float>(deviceHeight());
    int const cellHeight = static_cast<int>(h + std::fabs(halo.top) + std::fabs(halo.bottom));
    std::vector<int> widths;
    for (GlyphCell const& cell : cells)
        if (cell.present) widths.push_back(cellWidth(cell, halo));
    u32 width = params.textureWidth, height = params.textureHeight;
    if (widths.empty() || (!params.sizeGiven && !estimateTextureSize(widths, cellHeight, params.space, width, height))) {
        logError(who + L"the face \"" + fontName + L"\" has none of the chosen characters; no glyph table");
        return nullptr;
    }
    PackResult const packed = packCells(cells, halo, cellHeight, params.space, width, height);
    if (packed.oversized)
        logWarning(who + std::to_wstring(packed.oversized) + L" character(s) larger than the " +
                   std::to_wstring(width) + L"x" + std::to_wstring(height) + L" texture left out");
    if (packed.overflow)
        logWarning(who + std::to_wstring(packed.overflow) + L" character(s) past " + std::to_wstring(kMaxGlyphPages) +
                   L" textures left out");
    if (packed.pages == 0) return nullptr;
    auto* table = new BitmapFontData(cells, face, static_cast<int>(width), static_cast<int>(height), packed.pages - 1,
                                     params.style);
    table->setName(getName());
    return table;
}

}  // namespace Orvex
