// The wandering position track.
#include "game/story/StoryPositionCatmull.h"

#include <cmath>

#include "engine/core/Random.h"
#include "game/story/StoryRead.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

namespace {


}  // namespace

StoryPositionCatmull::StoryPositionCatmull(Orvex::XMLNode& node, ReadProblems& problems) : StoryPosition(node, problems) {
    readStoryRange(node, L"TIME_FAKTOR", timeMin, timeMax, problems);
    // Turns and distances of the wandering point.
    readStoryRange(node, L"WINKEL_START", startMin, startMax, problems, kMaxMeasure);
    readStoryRange(node, L"WINKEL_DELTA", deltaMin, deltaMax, problems, kMaxMeasure);
    readStoryRange(node, L"DISTANCE", distanceMin, distanceMax, problems, kMaxMeasure);
    angle = Orvex::randomFloat(startMin, startMax);
    spline.p0 = offset(angle, Orvex::randomFloat(distanceMin, distanceMax));
    spline.p1 = nextPoint();
    spline.p2 = nextPoint();
    spline.p3 = nextPoint();
    speed = Orvex::randomFloat(timeMin, timeMax);
}

D3DXVECTOR4 StoryPositionCatmull::offset(float angle, float distance) {
    float const a = D3DXToRadian(angle);
    float const dx = -distance * std::sin(a);
    float const dy = distance * std::cos(a);
    return D3DXVECTOR4(dx, dy, dx, dy);
}

D3DXVECTOR4 StoryPositionCatmull::nextPoint() {
    angle += Orvex::randomFloat(deltaMin, deltaMax);
    return offset(angle, Orvex::randomFloat(distanceMin, distanceMax));
}

D3DXVECTOR4* StoryPositionCatmull::getValue(D3DXVECTOR4* out) const {
    D3DXVECTOR4 moved;
    D3DXVec4CatmullRom(&moved, &spline.p0, &spline.p1, &spline.p2, &spline.p3, spline.t);
    *out = rect + moved;
    return out;
}

void StoryPositionCatmull::update(float const& dt) {
    spline.advance(speed, dt, [this] { return nextPoint(); });
}

}  // namespace Solitaire
