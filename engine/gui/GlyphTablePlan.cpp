// Run-time glyph tables: parameters, character choice, cell sizes, texture size and packing.
#include "engine/gui/GlyphTablePlan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

namespace {

// Always built when the default characters apply: the German letters, the section, squared,
// euro and infinity signs.
constexpr u16 kDefaultCharacters[] = {167, 178, 196, 214, 220, 223, 228, 246, 252, 8364, 8734};
constexpr u32 kDefaultFirst = 32, kDefaultLast = 128;

CharacterListSource& languageSource() {
    static CharacterListSource source;
    return source;
}

u32 nextPowerOfTwo(u32 v) {
    u32 p = 1;
    while (p < v && p < kMaxGlyphTextureSize) p <<= 1;
    return p;
}

}  // namespace

GlyphTableParams::GlyphTableParams(XMLNode const& params) {
    style.colorVG = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
    style.colorHG = D3DXCOLOR(0.0f, 0.0f, 0.0f, 0.0f);
    if (XMLNode const* node = params.getChild(L"FONTSTYLE")) {
        XMLNode copy(*node);
        FontStyle const read(copy);
        style = read;
        if (!node->getAttribute(L"COLOR_VG")) style.colorVG = D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (XMLAttribute const* size = params.getAttribute(L"SIZE_TABLES")) {
        XMLValueTokens const pieces = size->split(L" ");
        if (pieces.getCount() > 0) {
            sizeGiven = true;
            textureWidth = textureHeight = pieces.get(0)->getLong();
            if (pieces.getCount() > 1) textureHeight = pieces.get(1)->getLong();
            u32 const w = textureWidth, h = textureHeight;
            textureWidth = std::clamp(textureWidth, 1u, kMaxGivenTextureSize);
            textureHeight = std::clamp(textureHeight, 1u, kMaxGivenTextureSize);
            if (w != textureWidth || h != textureHeight)
                logWarning(L"Glyph table parameters: SIZE_TABLES beyond 1 to " + std::to_wstring(kMaxGivenTextureSize) +
                           L", brought inside");
        }
    }
    space = std::max(0, params.getAttributeInt(L"SPACE", 0));
    bool anyRange = false;
    for (auto const& child : params.children()) {
        if (child->getName() != L"RANGE") continue;
        anyRange = true;
        GlyphRange range;
        if (child->getAttribute(L"START")) {
            range.start = child->getAttributeLong(L"START", 0);
            range.end = child->getAttribute(L"END") ? child->getAttributeLong(L"END", 0) : range.start;
        } else if (child->getAttribute(L"END")) {
            range.end = child->getAttributeLong(L"END", 0);
        }
        range.add = child->getAttributeBool(L"ADD", true);
        ranges.push_back(range);
    }
    defaultRanges = params.getAttributeBool(L"DEFAULT_RANGES", !anyRange);
}

void setLanguageCharacterSource(CharacterListSource source) { languageSource() = std::move(source); }

std::vector<u16> languageCharacters() { return languageSource() ? languageSource()() : std::vector<u16>(); }

std::vector<u8> selectCharacters(GlyphTableParams const& params, std::wstring const& typeable,
                                 std::vector<u16> const& language) {
    std::vector<u8> marks(kGlyphUnits, 0);
    for (GlyphRange const& range : params.ranges) {
        if (range.start > range.end) continue;
        for (u32 u = range.start; u <= range.end && u < kGlyphUnits; ++u) marks[u] = range.add ? 1 : 0;
    }
    if (!params.defaultRanges) return marks;
    for (u32 u = kDefaultFirst; u <= kDefaultLast; ++u) marks[u] = 1;
    for (u16 u : kDefaultCharacters) marks[u] = 1;
    for (wchar_t c : typeable)
        if (static_cast<u32>(c) < kGlyphUnits) marks[static_cast<u32>(c)] = 1;
    for (u16 u : language)
        if (u != 0 && u < kGlyphUnits) marks[u] = 1;
    return marks;
}

HaloExtents haloExtents(FontStyle const& style) {
    HaloExtents out;
    if (!style.drawHG) return out;
    out.left = std::min(0.0f, style.shadowX - style.radius);
    out.right = std::max(0.0f, style.shadowX + style.radius);
    out.top = std::min(0.0f, style.shadowY - style.radius);
    out.bottom = std::max(0.0f, style.shadowY + style.radius);
    return out;
}

int cellWidth(GlyphCell const& cell, HaloExtents const& halo) {
    return static_cast<int>(std::fabs(cell.a) + cell.b + std::max(cell.c, 0.0f) + std::fabs(halo.left) +
                            std::fabs(halo.right));
}

void textureSizeFromExponent(double e, u32& width, u32& height) {
    double const whole = std::trunc(e);
    width = static_cast<u32>(std::min(std::pow(2.0, whole), static_cast<double>(kMaxGlyphTextureSize)));
    height = e - whole < 0.5 ? std::max<u32>(1, static_cast<u32>(std::pow(2.0, whole) / 2.0)) : width;
    height = std::min(height, kMaxGlyphTextureSize);
}

bool estimateTextureSize(std::vector<int> const& widths, int cellHeight, int space, u32& width, u32& height) {
    if (widths.empty() || cellHeight <= 0) return false;
    double total = 0.0;
    int widest = 0;
    for (int w : widths) {
        total += w;
        widest = std::max(widest, w);
    }
    total += static_cast<double>(space) * static_cast<double>(widths.size() - 1);
    if (total <= 0.0) return false;
    textureSizeFromExponent(std::log2(std::sqrt(total * cellHeight)) + 0.25, width, height);
    width = std::max(width, nextPowerOfTwo(static_cast<u32>(widest)));
    height = std::max(height, nextPowerOfTwo(static_cast<u32>(cellHeight)));
    return true;
}

PackResult packCells(std::vector<GlyphCell>& cells, HaloExtents const& halo, int cellHeight, int space, u32 width,
                     u32 height) {
    PackResult result;
    int x = 0, y = 0, page = 0;
    int lastPage = -1;
    auto const w = static_cast<int>(width), h = static_cast<int>(height);
    for (GlyphCell& cell : cells) {
        cell.placed = 0;
        if (!cell.present) continue;
        int const cw = cellWidth(cell, halo);
        // A cell that fits no texture would open a new one for every character.
        if (cw > w || cellHeight > h) {
            ++result.oversized;
            continue;
        }
        if (x + cw > w) {
            x = 0;
            y += cellHeight + space;
        }
        if (y + cellHeight > h) {
            x = 0;
            y = 0;
            ++page;
        }
        if (static_cast<u32>(page) >= kMaxGlyphPages) {
            ++result.overflow;
            continue;
        }
        cell.rect = RECT{x, y, x + cw, y + cellHeight};
        cell.placed = 1;
        cell.page = page;
        lastPage = page;
        x += cw + space;
    }
    result.pages = static_cast<unsigned>(lastPage + 1);
    return result;
}

}  // namespace Orvex
