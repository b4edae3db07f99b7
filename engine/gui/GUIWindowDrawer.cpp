// Window drawers: their keys, the factory, and the per-frame update of the colour and rotation
// variants (linear legs and Catmull-Rom splines through random picks).
#include "engine/gui/GUIWindowDrawer.h"

#include <cmath>

#include "engine/core/Random.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIDrawOptions.h"
#include "engine/gui/GUISystem.h"

namespace Orvex {

namespace {

constexpr float kFullTurn = 360.0f;
// Drawer and mover numbers beyond this are data errors (a float cannot hold every double, and a
// bounded value keeps the sums finite): a single number keeps its default, a range value reads
// as 0.
constexpr float kMaxKeyValue = 1.0e9f;

float boundedFloat(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxKeyValue ? static_cast<float>(v) : 0.0f; }

std::vector<double> numbersOf(std::wstring const& text) {
    XMLProperty const words(text);
    XMLValueTokens tokens = words.split(L" ");
    std::vector<double> out;
    for (u32 i = 0; i < tokens.getCount(); ++i) out.push_back(tokens.get(i)->getDouble());
    return out;
}

// "ROT_CENTER_REL": v (both), x y, a b c (a/c, b/c), a b c d (a/c, b/d). A zero divisor keeps
// the present centre.
void readRotationCentre(XMLNode const& node, D3DXVECTOR2& centre, ReadProblems& problems) {
    XMLAttribute const* attribute = node.getAttribute(L"ROT_CENTER_REL");
    if (!attribute) return;
    std::wstring const& text = attribute->getString();
    std::vector<double> const v = numbersOf(text);
    if (v.empty()) return;
    double x = v[0], y = v[0];
    if (v.size() >= 2) y = v[1];
    if (v.size() >= 3) {
        double const dx = v[2];
        double const dy = v.size() >= 4 ? v[3] : v[2];
        x = dx != 0.0 ? x / dx : NAN;
        y = dy != 0.0 ? y / dy : NAN;
    }
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > kMaxKeyValue || std::fabs(y) > kMaxKeyValue) {
        problems.add(L"\"ROT_CENTER_REL\" \"" + text + L"\" divides by zero or is out of range", node.getLine());
        return;
    }
    centre = D3DXVECTOR2(static_cast<float>(x), static_cast<float>(y));
}

// A single number key: absent or refused, it keeps value.
float readNumber(XMLNode const& node, wchar_t const* key, float value, ReadProblems& problems) {
    readFloat(node, key, value, -kMaxKeyValue, kMaxKeyValue, problems);
    return value;
}

}  // namespace

void GUIFloatRange::parse(std::wstring const& text) {
    std::vector<double> const v = numbersOf(text);
    if (v.empty()) return;
    lo = boundedFloat(v[0]);
    hi = boundedFloat(v.size() >= 2 ? v[1] : v[0]);
}

float GUIFloatRange::pick() const { return randomFloat(lo, hi); }

void GUIColorRange::parse(std::wstring const& text) {
    XMLProperty const words(text);
    XMLValueTokens tokens = words.split(L" ");
    if (tokens.getCount() == 0) return;
    lo = colorFromARGB(tokens.get(0)->getHex());
    hi = tokens.getCount() >= 2 ? colorFromARGB(tokens.get(1)->getHex()) : lo;
}

D3DXCOLOR GUIColorRange::pick() const {
    float const r = randomFloat(0.0f, 1.0f);
    return lerp(lo, hi, r);
}

float catmullRom(float p0, float p1, float p2, float p3, float t) {
    float const t2 = t * t;
    float const t3 = t2 * t;
    return 0.5f * (2.0f * p1 + (p2 - p0) * t + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t2 +
                   (3.0f * p1 - p0 - 3.0f * p2 + p3) * t3);
}

// Plain drawer.

GUIWindowDrawer::GUIWindowDrawer(XMLNode const& node, ReadProblems& problems) { loadBase(node, problems); }

void GUIWindowDrawer::loadBase(XMLNode const& node, ReadProblems& problems) {
    rotation = readNumber(node, L"ROTATION", rotation, problems);
    readRotationCentre(node, rotationCentre, problems);
    if (XMLAttribute const* a = node.getAttribute(L"COLOR")) color = colorFromARGB(a->getHex());
}

GUIWindowDrawer* GUIWindowDrawer::clone() const { return new GUIWindowDrawer(*this); }

// Colour drawer.

GUIWindowDrawerColor::GUIWindowDrawerColor(XMLNode const& node, ReadProblems& problems)
    : GUIWindowDrawer(node, problems) {
    if (XMLAttribute const* a = node.getAttribute(L"COLOR_MIN")) minRange.parse(a->getString());
    if (XMLAttribute const* a = node.getAttribute(L"COLOR_MAX")) maxRange.parse(a->getString());
    interpolation.speed = readNumber(node, L"SPEED", 1.0f, problems);
    interpolation.running = true;
    interpolation.start = interpolation.goal = interpolation.current = color;
    interpolation.t = 1.0f;
    startLeg();
}

GUIWindowDrawerColor::GUIWindowDrawerColor(GUIWindowDrawerColor const& other)
    : GUIWindowDrawer(other),
      minRange(other.minRange),
      maxRange(other.maxRange),
      interpolation(other.interpolation),
      nextRange(other.nextRange) {
    startLeg();
}

GUIWindowDrawer* GUIWindowDrawerColor::clone() const { return new GUIWindowDrawerColor(*this); }

D3DXCOLOR pickColorRange(bool& next, GUIColorRange const& minRange, GUIColorRange const& maxRange) {
    D3DXCOLOR const c = (next ? minRange : maxRange).pick();
    next = !next;
    return c;
}

void GUIWindowDrawerColor::startLeg() {
    interpolation.start = interpolation.current;
    interpolation.t = 0.0f;
    interpolation.goal = pickColorRange(nextRange, minRange, maxRange);
    interpolation.setTime(0.0f);
}

void GUIWindowDrawerColor::update(float const& dt) {
    interpolation.update(dt);
    if (interpolation.t >= 1.0f) startLeg();
    color = interpolation.current;
}

// Smooth colour drawer.

GUIWindowDrawerColorCatmull::GUIWindowDrawerColorCatmull(XMLNode const& node, ReadProblems& problems)
    : GUIWindowDrawer(node, problems) {
    if (XMLAttribute const* a = node.getAttribute(L"COLOR_MIN")) minRange.parse(a->getString());
    if (XMLAttribute const* a = node.getAttribute(L"COLOR_MAX")) maxRange.parse(a->getString());
    GUIFloatRange speedRange{1.0f, 1.0f};
    if (XMLAttribute const* a = node.getAttribute(L"SPEED")) speedRange.parse(a->getString());
    speed = speedRange.pick();
    points[0] = color;
    for (int i = 1; i < 4; ++i) points[i] = pickColorRange(nextRange, minRange, maxRange);
}

GUIWindowDrawer* GUIWindowDrawerColorCatmull::clone() const { return new GUIWindowDrawerColorCatmull(*this); }

void GUIWindowDrawerColorCatmull::update(float const& dt) {
    stepSpline(points, t, speed, dt, [this] { return pickColorRange(nextRange, minRange, maxRange); });
    color = D3DXCOLOR(catmullRom(points[0].r, points[1].r, points[2].r, points[3].r, t),
                      catmullRom(points[0].g, points[1].g, points[2].g, points[3].g, t),
                      catmullRom(points[0].b, points[1].b, points[2].b, points[3].b, t),
                      catmullRom(points[0].a, points[1].a, points[2].a, points[3].a, t));
}

// Rotation drawer.

GUIWindowDrawerRotation::GUIWindowDrawerRotation(XMLNode const& node, ReadProblems& problems)
    : GUIWindowDrawer(node, problems) {
    if (XMLAttribute const* a = node.getAttribute(L"ROTATION_MIN")) minRange.parse(a->getString());
    if (XMLAttribute const* a = node.getAttribute(L"ROTATION_MAX")) maxRange.parse(a->getString());
    interpolation.speed = readNumber(node, L"ROTATION_SPEED", 1.0f, problems);
    if (XMLAttribute const* a = node.getAttribute(L"MODE"))
        mode = a->getString() == L"CONST_ROT_SPEED" ? kConstRotSpeed : kStandard;
    interpolation.running = true;
    interpolation.start = interpolation.goal = interpolation.current = rotation;
    interpolation.t = 1.0f;
    if (mode == kStandard) startLeg();
}

GUIWindowDrawerRotation::GUIWindowDrawerRotation(GUIWindowDrawerRotation const& other)
    : GUIWindowDrawer(other),
      minRange(other.minRange),
      maxRange(other.maxRange),
      interpolation(other.interpolation),
      nextRange(other.nextRange),
      mode(other.mode) {
    if (mode == kStandard) startLeg();
}

GUIWindowDrawer* GUIWindowDrawerRotation::clone() const { return new GUIWindowDrawerRotation(*this); }

float GUIWindowDrawerRotation::pickAngle() {
    float const a = (nextRange ? maxRange : minRange).pick();
    nextRange = !nextRange;
    return a;
}

void GUIWindowDrawerRotation::startLeg() {
    interpolation.start = interpolation.current;
    interpolation.t = 0.0f;
    interpolation.goal = pickAngle();
    interpolation.setTime(0.0f);
}

void GUIWindowDrawerRotation::update(float const& dt) {
    if (mode == kConstRotSpeed) {
        // Wrapped with fmod: one subtraction per frame would let a fast spin (or a long frame)
        // run away from [0, 360).
        float const turned = std::fmod(rotation + dt * interpolation.speed, kFullTurn);
        if (!std::isfinite(turned)) return;
        rotation = turned < 0.0f ? turned + kFullTurn : turned;
        if (rotation >= kFullTurn) rotation = 0.0f;
        return;
    }
    interpolation.update(dt);
    if (interpolation.t >= 1.0f) startLeg();
    rotation = interpolation.current;
}

// Smooth rotation drawer.

GUIWindowDrawerRotationCatmull::GUIWindowDrawerRotationCatmull(XMLNode const& node, ReadProblems& problems)
    : GUIWindowDrawer(node, problems) {
    if (XMLAttribute const* a = node.getAttribute(L"ROTATION_MIN")) minRange.parse(a->getString());
    if (XMLAttribute const* a = node.getAttribute(L"ROTATION_MAX")) maxRange.parse(a->getString());
    GUIFloatRange speedRange{1.0f, 1.0f};
    if (XMLAttribute const* a = node.getAttribute(L"ROTATION_SPEED")) speedRange.parse(a->getString());
    speed = speedRange.pick();
    points[0] = rotation;
    for (int i = 1; i < 4; ++i) points[i] = pickAngle();
}

GUIWindowDrawer* GUIWindowDrawerRotationCatmull::clone() const { return new GUIWindowDrawerRotationCatmull(*this); }

float GUIWindowDrawerRotationCatmull::pickAngle() {
    GUIFloatRange const& r = nextRange ? maxRange : minRange;
    float const s = static_cast<float>(rangeScale);
    nextRange = !nextRange;
    return randomFloat(r.lo * s, r.hi * s);
}

void GUIWindowDrawerRotationCatmull::update(float const& dt) {
    stepSpline(points, t, speed, dt, [this] { return pickAngle(); });
    rotation = catmullRom(points[0], points[1], points[2], points[3], t);
}

GUIWindowDrawer* createWindowDrawer(XMLNode const& node) {
    ReadProblems problems;
    std::wstring const type = node.getAttributeString(L"TYPE", L"");
    GUIWindowDrawer* made = nullptr;
    if (type == L"ROTATION") made = new GUIWindowDrawerRotation(node, problems);
    else if (type == L"ROTATION_CATMULL") made = new GUIWindowDrawerRotationCatmull(node, problems);
    else if (type == L"COLOR") made = new GUIWindowDrawerColor(node, problems);
    else if (type == L"COLOR_CATMULL") made = new GUIWindowDrawerColorCatmull(node, problems);
    else made = new GUIWindowDrawer(node, problems);
    if (!problems.empty()) problems.log(L"Drawer", GUISystem::loadingSource(), node.getLine());
    return made;
}

}  // namespace Orvex
