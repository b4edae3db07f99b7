// A position track of a story element: one rectangle (left, top, right, bottom as x, y, z, w) in
// fractions of the rectangle the element is placed in. This constant form is read from a
// "POSITION" element; StoryPositionCatmull wanders around it. The element updates and re-reads a
// track every frame only when it is not static.
//
// Keys (story numbers, see StoryRead.h): "L", "T", "LC", "TC", "R", "B", "W", "H"; values not
// given are 0. "LC" without "W" is simply the left edge (its right edge stays 0).
#pragma once

#include <string>

#include "engine/core/XMLNode.h"
#include "game/look/ReadProblems.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class StoryPosition {
public:
    StoryPosition() = default;
    // Problems go to the list; the owner logs them.
    StoryPosition(Orvex::XMLNode& node, ReadProblems& problems);
    StoryPosition(StoryPosition const&) = default;
    StoryPosition& operator=(StoryPosition const&) = delete;
    virtual ~StoryPosition() = default;

    // "TYPE" "CATMULL" (exactly) makes the wandering track, anything else the constant one.
    // The caller owns the result.
    static StoryPosition* create(Orvex::XMLNode& node, ReadProblems& problems);

    virtual StoryPosition* clone() const { return new StoryPosition(*this); }
    // Writes the current value into out and returns out.
    virtual D3DXVECTOR4* getValue(D3DXVECTOR4* out) const;
    virtual void update(float const& dt) { (void)dt; }
    virtual bool isStatic() const { return true; }

    D3DXVECTOR4 rect{0.0f, 0.0f, 0.0f, 0.0f};
};

}  // namespace Solitaire
