// A frame animation of a story element drawn over it ("ANIMATION" child of an element): a
// rectangle in fractions of the element's screen rectangle, its own clone of a registered
// animation, draw modes, and a speed track that can drive the animation's speed over time.
//
// Keys: "ANIMATION" (name in the animation registry; unknown: nothing is drawn),
// "DRAW_PARAM_X", "DRAW_PARAM_Y" (draw-mode words, 1 when absent), "POSITION" (first child, a
// rectangle: "L", "T", "R", "B", "W", "H"; values not given are 0), "ANIMATION_SPEED" (first
// child: "LOOP" (0), "USE" (1) and "VALUE_DELTATIME" children, at most kMaxSpeedKeys, each
// "VALUE" (one number, or a range drawn from once; 12) and "DELTA_TIME" (the same; 0), the
// length of the segment that ends at the key).
#pragma once

#include <cstddef>

#include "engine/core/CountedRef.h"
#include "engine/gui/MultiInterpolation.h"
#include "game/look/ReadProblems.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class Texture2DAnimation;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class StoryAnimation {
public:
    static constexpr std::size_t kMaxSpeedKeys = 256;

    StoryAnimation();
    StoryAnimation(Orvex::XMLNode& node, ReadProblems& problems);
    // Clones the animation; copies the rest.
    StoryAnimation(StoryAnimation const& other);
    StoryAnimation& operator=(StoryAnimation const&) = delete;
    ~StoryAnimation();

    // Replaces the animation by a clone of the registered one of that name (none when unknown).
    void setAnimation(std::wstring const& name);
    // The speed track (when used) and the animation advance by dt.
    void update(float const& dt);

    D3DXVECTOR4 rect{0.0f, 0.0f, 0.0f, 0.0f};
    Orvex::CountedRef<Orvex::Texture2DAnimation> animation;
    unsigned drawModeX = 1;
    unsigned drawModeY = 1;
    bool use = false;
    bool loop = false;
    Orvex::MultiInterpolation<float, float> speedTrack;
};

// The draw-mode words of an attribute ORed ("SCALE", "STRETCH", ...); fallback when absent.
unsigned readStoryDrawModes(Orvex::XMLNode const& node, wchar_t const* key, unsigned fallback);
// A clone of the registered animation of that name, or null.
Orvex::Texture2DAnimation* cloneStoryAnimation(std::wstring const& name);

}  // namespace Solitaire
