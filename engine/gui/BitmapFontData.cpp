// Glyph tables read from "BITMAPFONT_DATA" elements; the letter lookup.
#include "engine/gui/BitmapFontData.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"

namespace Orvex {

namespace {

// The character of a "LETTER": its "TYPE" attribute, else the first value of a "TYPE" child.
bool letterCharacter(XMLNode const& letter, wchar_t& out) {
    if (XMLAttribute const* type = letter.getAttribute(L"TYPE"); type && !type->getString().empty()) {
        out = type->getString()[0];
        return true;
    }
    if (XMLNode const* child = letter.getChild(L"TYPE"))
        if (XMLProperty const* value = child->getValue(0); value && !value->getString().empty()) {
            out = value->getString()[0];
            return true;
        }
    return false;
}

// Inside the bounds; true when the value had to change.
bool boundInt(int& v, int limit) {
    int const in = v;
    v = std::clamp(v, -limit, limit);
    return v != in;
}

bool boundFloat(float& v, float limit) {
    float const in = v;
    v = std::isnan(v) ? 0.0f : std::fmin(std::fmax(v, -limit), limit);
    return !(v == in);
}

// line: of the glyph table's element.
std::wstring where(std::wstring const& source, std::wstring const& name, u32 line) {
    return L"Font file \"" + (source.empty() ? std::wstring(L"(text)") : source) + L"\", glyph table \"" + name +
           L"\"" + atLine(line) + L": ";
}

}  // namespace

BitmapFontData::BitmapFontData(XMLNode& node, std::wstring const& source) : NamedObject(node) {
    if (XMLNode* list = node.getChild(L"TEXTUREN")) textures.loadTextures(*list, TextureLoadParams(0, 0xFFFFFFFFu, 1, 1));
    Texture2D* defaultTexture = nullptr;
    if (XMLAttribute const* name = node.getAttribute(L"TEXTUR")) defaultTexture = textures.findTexture(name->getString());
    if (XMLAttribute const* zero = node.getAttribute(L"ZERO_SIZE")) {
        float const size = zero->getFloat();
        if (size >= 1.0f / kMaxMetric && size <= kMaxMetric)
            unitScale = 1.0f / size;
        else
            logWarning(where(source, getName(), node.getLine()) + L"ZERO_SIZE out of range; 1 is used");
    }
    if (XMLAttribute const* list = node.getAttribute(L"OFFSETS")) {
        XMLValueTokens const pieces = list->split(L" ");
        for (u32 i = 0; i < 4 && i < pieces.getCount(); ++i) offsets[i] = pieces.get(i)->getFloat();
    }
    u32 outside = 0;
    for (float& o : offsets) outside += boundFloat(o, kMaxMetric) ? 1 : 0;
    u32 inverted = 0, refused = 0, index = 0, firstBad = 0;
    for (auto const& child : node.children()) {
        if (child->getName() != L"LETTER") continue;
        XMLNode const& letter = *child;
        ++index;
        wchar_t unit = 0;
        if (!letterCharacter(letter, unit)) continue;
        BitmapGlyph glyph;
        glyph.texture = defaultTexture;
        if (XMLAttribute const* name = letter.getAttribute(L"TEXTUR")) glyph.texture = textures.findTexture(name->getString());
        int w = letter.getAttributeInt(L"W", 0), h = letter.getAttributeInt(L"H", 0);
        glyph.left = letter.getAttributeInt(L"L", 0);
        glyph.top = letter.getAttributeInt(L"T", 0);
        glyph.right = letter.getAttributeInt(L"R", 0);
        glyph.bottom = letter.getAttributeInt(L"B", 0);
        bool bad = false;
        for (int* v : {&w, &h, &glyph.left, &glyph.top, &glyph.right, &glyph.bottom})
            bad = boundInt(*v, kMaxCoordinate) || bad;
        if (!letter.getAttribute(L"R")) glyph.right = letter.getAttribute(L"W") ? glyph.left + w : 0;
        if (!letter.getAttribute(L"B")) glyph.bottom = letter.getAttribute(L"H") ? glyph.top + h : 0;
        // A rectangle turned inside out would give negative sizes: it becomes empty.
        if (glyph.right < glyph.left || glyph.bottom < glyph.top) {
            if (inverted++ == 0) firstBad = index;
            glyph.right = std::max(glyph.right, glyph.left);
            glyph.bottom = std::max(glyph.bottom, glyph.top);
        }
        glyph.width = static_cast<float>(glyph.right - glyph.left);
        glyph.height = static_cast<float>(glyph.bottom - glyph.top);
        glyph.b = glyph.width;
        if (XMLAttribute const* abc = letter.getAttribute(L"ABC")) {
            XMLValueTokens const pieces = abc->split(L" ");
            float* fields[3] = {&glyph.a, &glyph.b, &glyph.c};
            for (u32 i = 0; i < 3 && i < pieces.getCount(); ++i) *fields[i] = pieces.get(i)->getFloat();
            for (float* v : fields) bad = boundFloat(*v, kMaxMetric) || bad;
        }
        outside += bad ? 1 : 0;
        if (!addGlyph(unit, glyph)) ++refused;
    }
    if (inverted)
        logWarning(where(source, getName(), node.getLine()) + std::to_wstring(inverted) +
                   L" letter(s) with right below left or bottom " +
                   L"above top, drawn empty (first: LETTER " + std::to_wstring(firstBad) + L")");
    if (outside)
        logWarning(where(source, getName(), node.getLine()) + std::to_wstring(outside) +
                   L" value(s) out of range brought inside");
    if (refused)
        logWarning(where(source, getName(), node.getLine()) + std::to_wstring(refused) + L" letter(s) past the " +
                   std::to_wstring(kMaxGlyphs) + L" a table can index were left out");
    loaded = true;
}

bool BitmapFontData::addGlyph(wchar_t unit, BitmapGlyph const& glyph) {
    if (glyphs.size() >= kMaxGlyphs) return false;
    glyphIndex[static_cast<u16>(unit)] = static_cast<s16>(glyphs.size());
    glyphs.push_back(glyph);
    return true;
}

BitmapGlyph const* BitmapFontData::findGlyph(wchar_t unit) const {
    s16 const index = glyphIndex[static_cast<u16>(unit)];
    if (index < 0 || static_cast<std::size_t>(index) >= glyphs.size()) return nullptr;
    return &glyphs[static_cast<std::size_t>(index)];
}

}  // namespace Orvex
