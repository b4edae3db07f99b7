// A colour track of a story element: one colour, read from a "COLOR" element's "COLOR"
// (hexadecimal AARRGGBB, white when absent). StoryColorCatmull wanders through random colours.
// The element updates and re-reads a track every frame only when it is not static.
#pragma once

#include "engine/core/XMLNode.h"
#include "game/look/ReadProblems.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class StoryColor {
public:
    StoryColor() = default;
    StoryColor(Orvex::XMLNode& node, ReadProblems& problems);
    StoryColor(StoryColor const&) = default;
    StoryColor& operator=(StoryColor const&) = delete;
    virtual ~StoryColor() = default;

    // "TYPE" "CATMULL" (exactly) makes the wandering track, anything else the constant one. The
    // caller owns the result.
    static StoryColor* create(Orvex::XMLNode& node, ReadProblems& problems);

    virtual StoryColor* clone() const { return new StoryColor(*this); }
    // Writes the current value into out and returns out.
    virtual D3DXCOLOR* getValue(D3DXCOLOR* out) const;
    virtual void update(float const& dt) { (void)dt; }
    virtual bool isStatic() const { return true; }

    D3DXCOLOR color{1.0f, 1.0f, 1.0f, 1.0f};
};

}  // namespace Solitaire
