// A position that wanders for ever around its base rectangle along a uniform Catmull-Rom spline
// through random offsets: each control point lies at a random distance from the base, in a
// direction turned by a random angle from the one before. The speed (spline segments per second)
// is drawn once. Randomness is the engine's own generator (Orvex::seedRandom fixes it).
//
// Keys besides those of StoryPosition, each a range (one number sets both ends):
// "TIME_FAKTOR" speed (1 1), "WINKEL_START" first direction in degrees (1 1), "WINKEL_DELTA" turn
// between points in degrees (135 225), "DISTANCE" distance of each point (0 0: never moves).
#pragma once

#include "game/story/StoryCatmullPoints.h"
#include "game/story/StoryPosition.h"

namespace Solitaire {

class StoryPositionCatmull : public StoryPosition {
public:
    StoryPositionCatmull(Orvex::XMLNode& node, ReadProblems& problems);
    StoryPositionCatmull(StoryPositionCatmull const&) = default;

    StoryPosition* clone() const override { return new StoryPositionCatmull(*this); }
    // The base rectangle moved by the spline's offset at t.
    D3DXVECTOR4* getValue(D3DXVECTOR4* out) const override;
    // The spline advances (StoryCatmullPoints).
    void update(float const& dt) override;
    bool isStatic() const override { return false; }

    // (0, d) turned by angle degrees, the same offset for both corners of the rectangle.
    static D3DXVECTOR4 offset(float angle, float distance);

    float angle = 0.0f;
    float distanceMin = 0.0f, distanceMax = 0.0f;
    float deltaMin = 135.0f, deltaMax = 225.0f;
    float startMin = 1.0f, startMax = 1.0f;
    float timeMin = 1.0f, timeMax = 1.0f;
    StoryCatmullPoints<D3DXVECTOR4> spline;  // offsets from the base rectangle
    float speed = 0.0f;

private:
    // The next control point: the direction turned, a new distance.
    D3DXVECTOR4 nextPoint();
};

}  // namespace Solitaire
