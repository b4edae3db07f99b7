// The wandering colour track.
#include "game/story/StoryColorCatmull.h"

#include "engine/core/Random.h"
#include "engine/core/Utils.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

namespace {

D3DXCOLOR catmullRom(D3DXCOLOR const& p0, D3DXCOLOR const& p1, D3DXCOLOR const& p2, D3DXCOLOR const& p3, float t) {
    D3DXVECTOR4 const v0(p0.r, p0.g, p0.b, p0.a), v1(p1.r, p1.g, p1.b, p1.a), v2(p2.r, p2.g, p2.b, p2.a),
        v3(p3.r, p3.g, p3.b, p3.a);
    D3DXVECTOR4 out;
    D3DXVec4CatmullRom(&out, &v0, &v1, &v2, &v3, t);
    return D3DXCOLOR(out.x, out.y, out.z, out.w);
}

}  // namespace

StoryColorCatmull::StoryColorCatmull(Orvex::XMLNode& node, ReadProblems& problems) : StoryColor(node, problems) {
    readStoryColourPair(node, L"COLOR_MIN", minFrom, minTo);
    readStoryColourPair(node, L"COLOR_MAX", maxFrom, maxTo);
    float low = speed, high = speed;
    readStoryRange(node, L"SPEED", low, high, problems);
    speed = Orvex::randomFloat(low, high);
    modulate = node.getAttributeBool(L"MODULATE", false);
    spline.p0 = modulate ? D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f) : color;
    spline.p1 = nextColor();
    spline.p2 = nextColor();
    spline.p3 = nextColor();
}

D3DXCOLOR StoryColorCatmull::nextColor() {
    float const u = Orvex::randomFloat(0.0f, 1.0f);
    D3DXCOLOR const& from = useMin ? minFrom : maxFrom;
    D3DXCOLOR const& to = useMin ? minTo : maxTo;
    useMin = !useMin;
    return Orvex::lerp(from, to, u);
}

D3DXCOLOR* StoryColorCatmull::getValue(D3DXCOLOR* out) const {
    D3DXCOLOR c = catmullRom(spline.p0, spline.p1, spline.p2, spline.p3, spline.t);
    if (modulate) c = D3DXCOLOR(c.r * color.r, c.g * color.g, c.b * color.b, c.a * color.a);
    *out = c;
    return out;
}

void StoryColorCatmull::update(float const& dt) {
    spline.advance(speed, dt, [this] { return nextColor(); });
}

}  // namespace Solitaire
