// A colour that wanders for ever along a uniform Catmull-Rom spline through random colours,
// taken in turn from the max range and the min range (the max range first): each is
// from + (to - from) x u, one random u for all four channels. The value is not clamped (drawing
// clamps). With "MODULATE" the spline starts from white and its value is multiplied by the base
// colour channel by channel. Randomness is the engine's own generator.
//
// Keys besides "COLOR" (the base colour): "COLOR_MIN", "COLOR_MAX" (one or two colours, white),
// "SPEED" (spline segments per second, or a range it is drawn from once; 1), "MODULATE" (0).
#pragma once

#include "game/story/StoryCatmullPoints.h"
#include "game/story/StoryColor.h"

namespace Solitaire {

class StoryColorCatmull : public StoryColor {
public:
    StoryColorCatmull(Orvex::XMLNode& node, ReadProblems& problems);
    StoryColorCatmull(StoryColorCatmull const&) = default;

    StoryColor* clone() const override { return new StoryColorCatmull(*this); }
    D3DXCOLOR* getValue(D3DXCOLOR* out) const override;
    // The spline advances (StoryCatmullPoints).
    void update(float const& dt) override;
    bool isStatic() const override { return false; }

    D3DXCOLOR minFrom{1.0f, 1.0f, 1.0f, 1.0f}, minTo{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXCOLOR maxFrom{1.0f, 1.0f, 1.0f, 1.0f}, maxTo{1.0f, 1.0f, 1.0f, 1.0f};
    bool useMin = false;
    StoryCatmullPoints<D3DXCOLOR> spline;
    float speed = 1.0f;
    bool modulate = false;

private:
    D3DXCOLOR nextColor();
};

}  // namespace Solitaire
