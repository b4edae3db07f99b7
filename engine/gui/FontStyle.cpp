// Font styles: reading "FONTSTYLE", blending, and the background copies of the halo.
#include "engine/gui/FontStyle.h"

#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

namespace {

// Degrees to radians in single precision, as the halo's angles are computed.

// Inside [low, high]; not a number gives 0. True when the value had to change.
bool bound(float& v, float low, float high) {
    float const in = v;
    v = std::isnan(v) ? 0.0f : std::fmin(std::fmax(v, low), high);
    return !(v == in);
}

// Truncated toward zero, held to twice the offset bound.
int toPixel(float v) {
    bound(v, -2.0f * FontStyle::kMaxOffset, 2.0f * FontStyle::kMaxOffset);
    return static_cast<int>(v);
}

}  // namespace

FontStyle::FontStyle() = default;

FontStyle::FontStyle(XMLNode& node) : NamedObject(node) {
    if (node.getAttribute(L"COLOR_VG")) colorVG = D3DXCOLOR(node.getAttributeHex(L"COLOR_VG", 0));
    if (node.getAttribute(L"COLOR_HG")) colorHG = D3DXCOLOR(node.getAttributeHex(L"COLOR_HG", 0));
    drawHG = node.getAttributeBool(L"DRAW_HG", drawHG);
    radius = static_cast<float>(node.getAttributeDouble(L"RADIUS", radius));
    rings = static_cast<float>(node.getAttributeDouble(L"RINGS", rings));
    samples = static_cast<float>(node.getAttributeDouble(L"SAMPLES", samples));
    if (XMLAttribute const* shadow = node.getAttribute(L"SHADOW")) {
        XMLValueTokens const pieces = shadow->split(L" ");
        if (XMLProperty const* x = pieces.get(0)) shadowX = shadowY = x->getFloat();
        if (XMLProperty const* y = pieces.get(1)) shadowY = y->getFloat();
    }
    if (XMLNode const* shadow = node.getChild(L"SHADOW")) {
        shadowX = shadow->getAttributeFloat(L"X", shadowX);
        shadowY = shadow->getAttributeFloat(L"Y", shadowY);
    }
    bool changed = bound(samples, 0.0f, kMaxSamples);
    changed = bound(rings, 0.0f, kMaxRings) || changed;
    for (float* v : {&radius, &shadowX, &shadowY}) changed = bound(*v, -kMaxOffset, kMaxOffset) || changed;
    if (changed)
        logWarning(L"Font style \"" + getName() + L"\": SAMPLES, RINGS, RADIUS or SHADOW out of range, brought inside");
}

FontStyle::FontStyle(FontStyle const& other) : NamedObject(other) { copyFields(other); }

FontStyle& FontStyle::operator=(FontStyle const& other) {
    if (this == &other) return *this;
    NamedObject::operator=(other);
    copyFields(other);
    return *this;
}

void FontStyle::copyFields(FontStyle const& other) {
    colorVG = other.colorVG;
    colorHG = other.colorHG;
    drawHG = other.drawHG;
    radius = other.radius;
    samples = other.samples;
    rings = other.rings;
    shadowX = other.shadowX;
    shadowY = other.shadowY;
}

FontStyle FontStyle::blend(FontStyle const& a, FontStyle const& b, float t) {
    FontStyle out(a);
    out.colorVG = lerp(a.colorVG, b.colorVG, t);
    out.colorHG = lerp(a.colorHG, b.colorHG, t);
    out.shadowX = lerp(a.shadowX, b.shadowX, t);
    out.shadowY = lerp(a.shadowY, b.shadowY, t);
    out.radius = lerp(a.radius, b.radius, t);
    out.samples = lerp(a.samples, b.samples, t);
    out.rings = lerp(a.rings, b.rings, t);
    out.drawHG = a.drawHG || b.drawHG;
    return out;
}

std::vector<HaloOffset> haloOffsets(FontStyle const& style) {
    std::vector<HaloOffset> out;
    if (!style.drawHG) return out;
    if (!(style.samples >= 1.0f)) {
        out.push_back({toPixel(style.shadowX), toPixel(style.shadowY)});
        return out;
    }
    // Styles made in code are held to the same bounds as those read from data.
    if (!(style.rings >= 1.0f)) return out;
    float const samples = std::fmin(style.samples, FontStyle::kMaxSamples);
    float const rings = std::fmin(style.rings, FontStyle::kMaxRings);
    auto const directions = static_cast<unsigned>(samples);
    auto const ringCount = static_cast<unsigned>(rings);
    for (unsigned s = 0; static_cast<float>(s) < samples; ++s) {
        float const angle = D3DXToRadian(static_cast<float>(s) / static_cast<float>(directions) * 360.0f);
        float const c = std::cos(angle), sn = std::sin(angle);
        for (unsigned r = 1;; ++r) {
            out.push_back({toPixel(static_cast<float>(r) * c / static_cast<float>(ringCount) * style.radius + style.shadowX),
                           toPixel(static_cast<float>(r) * sn / static_cast<float>(ringCount) * style.radius + style.shadowY)});
            if (!(static_cast<float>(r) < rings)) break;
        }
    }
    return out;
}

}  // namespace Orvex
