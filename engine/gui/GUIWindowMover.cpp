// Window movers: keys, legs, the smooth variant and the offset they add to a rectangle.
#include "engine/gui/GUIWindowMover.h"

#include <cmath>

#include "engine/core/XMLNode.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

namespace {


void readRange(XMLNode const& node, wchar_t const* key, GUIFloatRange& out) {
    if (XMLAttribute const* a = node.getAttribute(key)) out.parse(a->getString());
}

}  // namespace

GUIWindowMover::GUIWindowMover(XMLNode const& node) {
    readKeys(node);
    interpolation.running = true;
    startFirstLeg(D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f));
}

GUIWindowMover::GUIWindowMover(GUIWindowMover const& other)
    : interpolation(other.interpolation),
      angle(other.angle),
      distance(other.distance),
      distanceRel(other.distanceRel),
      turn(other.turn),
      startAngle(other.startAngle),
      timeFactor(other.timeFactor),
      scale(other.scale) {
    startFirstLeg(other.interpolation.start);
}

void GUIWindowMover::readKeys(XMLNode const& node) {
    readRange(node, L"DISTANCE", distance);
    readRange(node, L"DISTANCE_REL", distanceRel);
    readRange(node, L"WINKEL_DELTA", turn);
    readRange(node, L"WINKEL_START", startAngle);
    readRange(node, L"TIME_FAKTOR", timeFactor);
    // "SCALE": one value for both axes, or x y (read as a range: lo is x, hi is y).
    GUIFloatRange s{scale.x, scale.y};
    if (XMLAttribute const* a = node.getAttribute(L"SCALE")) {
        s.parse(a->getString());
        scale = D3DXVECTOR2(s.lo, s.hi);
    }
}

void GUIWindowMover::startFirstLeg(D3DXVECTOR4 const& from) {
    interpolation.start = interpolation.goal = interpolation.current = from;
    interpolation.t = 1.0f;
    angle = startAngle.pick();
    interpolation.speed = timeFactor.pick();
    interpolation.setTime(0.0f);
    interpolation.goal = nextOffset();
}

GUIWindowMover* GUIWindowMover::clone() const { return new GUIWindowMover(*this); }

D3DXVECTOR4 GUIWindowMover::nextOffset() const {
    float const d = distance.pick();
    float const e = distanceRel.pick();
    float const a = D3DXToRadian(angle);
    float const s = std::sin(a);
    float const c = std::cos(a);
    return D3DXVECTOR4(-d * s, d * c, -e * s, e * c);
}

void GUIWindowMover::update(float const& dt) {
    interpolation.update(dt);
    if (interpolation.t < 1.0f) return;
    interpolation.t = 0.0f;
    interpolation.start = interpolation.current;
    interpolation.setTime(0.0f);
    angle += turn.pick();
    interpolation.goal = nextOffset();
}

void GUIWindowMover::applyOffset(FRect& rect, FRect const& reference, D3DXVECTOR4 const& o) const {
    float const dx = ((reference.right - reference.left) * o.z + o.x) * scale.x;
    float const dy = ((reference.bottom - reference.top) * o.w + o.y) * scale.y;
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
}

void GUIWindowMover::apply(FRect& rect, FRect const& reference) { applyOffset(rect, reference, getOffset()); }

// Smooth mover.

GUIWindowMoverCatmull::GUIWindowMoverCatmull(XMLNode const& node) : GUIWindowMover(node) {
    for (int i = 0; i < 4; ++i) {
        if (i > 0) angle += turn.pick();
        points[i] = nextOffset();
    }
    speed = timeFactor.pick();
}

GUIWindowMoverCatmull::GUIWindowMoverCatmull(GUIWindowMoverCatmull const& other)
    : GUIWindowMover(other), t(other.t), speed(other.speed) {
    for (int i = 0; i < 4; ++i) points[i] = other.points[i];
}

GUIWindowMover* GUIWindowMoverCatmull::clone() const { return new GUIWindowMoverCatmull(*this); }

void GUIWindowMoverCatmull::update(float const& dt) {
    stepSpline(points, t, speed, dt, [this] {
        angle += turn.pick();
        return nextOffset();
    });
}

D3DXVECTOR4 GUIWindowMoverCatmull::getOffset() const {
    D3DXVECTOR4 out;
    D3DXVec4CatmullRom(&out, &points[0], &points[1], &points[2], &points[3], t);
    return out;
}

void GUIWindowMoverCatmull::apply(FRect& rect, FRect const& reference) { applyOffset(rect, reference, getOffset()); }

GUIWindowMover* createWindowMover(XMLNode const& node) {
    if (node.getAttributeString(L"TYPE", L"") == L"CATMULL") return new GUIWindowMoverCatmull(node);
    return new GUIWindowMover(node);
}

}  // namespace Orvex
