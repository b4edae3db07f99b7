// A named text look: foreground colour, an optional background (one drop-shadow copy or a halo
// of copies on rings) and the background's offset. Read from "FONTSTYLE" elements; labels blend
// two of them. haloOffsets gives the background copies both renderers draw.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

class XMLNode;

class FontStyle : public NamedObject {
public:
    // Bounds of the values read from data (a halo of more copies would cost every draw dearly;
    // offsets beyond these place nothing on any screen).
    static constexpr float kMaxSamples = 64.0f;
    static constexpr float kMaxRings = 16.0f;
    static constexpr float kMaxOffset = 4096.0f;

    // Opaque black text, no background.
    FontStyle();
    // Values that are not numbers or lie beyond the bounds are brought inside with one log line.
    explicit FontStyle(XMLNode& node);
    FontStyle(FontStyle const& other);
    FontStyle& operator=(FontStyle const& other);

    // The name of a; colours, offsets, radius, samples and rings a + (b - a) * t; a background
    // when either draws one.
    static FontStyle blend(FontStyle const& a, FontStyle const& b, float t);

    D3DXCOLOR colorVG{0.0f, 0.0f, 0.0f, 1.0f};
    D3DXCOLOR colorHG{0.0f, 0.0f, 0.0f, 0.0f};
    bool drawHG = false;
    float radius = 0.0f;
    float samples = 0.0f;
    float rings = 0.0f;
    float shadowX = 0.0f;
    float shadowY = 0.0f;

private:
    void copyFields(FontStyle const& other);
};

// One background copy of a text, moved by (dx, dy) pixels.
struct HaloOffset {
    int dx;
    int dy;
};

// The background copies of a style, in drawing order: none without drawHG; one shadow copy when
// samples is below 1; else samples directions times rings rings. Counts below 1 would divide
// by zero, so such a style draws only its shadow copy (samples) or nothing more (rings).
std::vector<HaloOffset> haloOffsets(FontStyle const& style);

}  // namespace Orvex
