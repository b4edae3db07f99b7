// The table camera's conversions, goals and content fit.
#include "game/look/SolitaireCamera.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Utils.h"
namespace Solitaire {

SolitaireCamera::SolitaireCamera(float speed_, float exponent_) : speed(speed_), exponent(exponent_) {
    for (FloatInterp* interp : {&offsetX, &offsetY, &scale}) {
        interp->speed = speed;
        interp->exponent = exponent;
        interp->running = true;
    }
}

D3DXVECTOR2 SolitaireCamera::worldToScreen(D3DXVECTOR2 const& p, bool goal) const {
    float const s = goal ? scale.goal : scale.current;
    float const ox = goal ? offsetX.goal : offsetX.current;
    float const oy = goal ? offsetY.goal : offsetY.current;
    return {ox + p.x * s, oy + p.y * s};
}

D3DXVECTOR2 SolitaireCamera::screenToWorld(D3DXVECTOR2 const& p, bool goal) const {
    float const s = goal ? scale.goal : scale.current;
    float const ox = goal ? offsetX.goal : offsetX.current;
    float const oy = goal ? offsetY.goal : offsetY.current;
    // A zero scale would give infinities: such a camera maps everything to its origin.
    if (s == 0.0f || !std::isfinite(s)) return {0.0f, 0.0f};
    return {(p.x - ox) / s, (p.y - oy) / s};
}

D3DXVECTOR2 SolitaireCamera::relativeToWorld(float u, float v, bool goal) const {
    D3DXVECTOR2 const screen{Orvex::lerp(relativeRect.left, relativeRect.right, u),
                             Orvex::lerp(relativeRect.top, relativeRect.bottom, v)};
    return screenToWorld(screen, goal);
}

bool SolitaireCamera::setGoal(FloatInterp& interp, float value, float f, float threshold) {
    if (!std::isfinite(value)) return false;
    bool const changed = std::fabs(interp.goal - value) > threshold;
    float const s = speed * f;
    if (!(s > 0.0f)) {
        interp.set(value, value, 1.0f);
    } else {
        interp.speed = s;
        interp.running = true;
        interp.set(interp.current, value, 0.0f);
    }
    return changed;
}

bool SolitaireCamera::setScaleGoal(float value, float f) { return setGoal(scale, value, f, kScaleThreshold); }
bool SolitaireCamera::setOffsetXGoal(float value, float f) { return setGoal(offsetX, value, f, kOffsetThreshold); }
bool SolitaireCamera::setOffsetYGoal(float value, float f) { return setGoal(offsetY, value, f, kOffsetThreshold); }

float SolitaireCamera::fitScale(Orvex::FRect const& k) const {
    Orvex::FRect const& a = tableArea;
    float const ratio = std::max((k.right - k.left) / (a.right - a.left), (k.bottom - k.top) / (a.bottom - a.top));
    float fit = ratio > 0.0f ? 1.0f / ratio : 1.0f;
    if (cardSize.y > 0.0f) fit = std::min(fit, (relativeRect.bottom - a.bottom) * kBottomMarginShare / cardSize.y);
    // Empty or broken content keeps the scale usable.
    if (!(fit > 0.0f) || !std::isfinite(fit)) fit = 1.0f;
    return fit;
}

void SolitaireCamera::fitContent(Orvex::FRect const& k, float f) {
    Orvex::FRect const& a = tableArea;
    float const kw = k.right - k.left, kh = k.bottom - k.top;
    float const aw = a.right - a.left, ah = a.bottom - a.top;
    setScaleGoal(fitScale(k), f);
    float const s = scale.goal;
    setOffsetXGoal(a.left - k.left * s + aw * 0.5f - s * kw * 0.5f, f);
    setOffsetYGoal(a.top - k.top * s + ah * 0.5f - s * kh * 0.5f, f);
}

bool SolitaireCamera::holdsContent(Orvex::FRect const& k) const {
    D3DXVECTOR2 const topLeft = worldToScreen({k.left, k.top}, true);
    D3DXVECTOR2 const bottomRight = worldToScreen({k.right, k.bottom}, true);
    Orvex::FRect const& a = tableArea;
    return topLeft.x >= a.left - kHoldTolerance && topLeft.y >= a.top - kHoldTolerance &&
           bottomRight.x <= a.right + kHoldTolerance && bottomRight.y <= a.bottom + kHoldTolerance;
}

void SolitaireCamera::update(float dt) {
    scale.update(dt);
    offsetX.update(dt);
    offsetY.update(dt);
    if (std::isfinite(dt) && dt > 0.0f) sinceRefit = std::min(sinceRefit + dt, kPressGraceSeconds);
}

void SolitaireCamera::markRefit() {
    viewBeforeRefit = {scale.current, offsetX.current, offsetY.current};
    sinceRefit = 0.0f;
}

D3DXVECTOR2 SolitaireCamera::pressPoint(D3DXVECTOR2 const& pressed) const {
    float const before = viewBeforeRefit.x;
    if (sinceRefit >= kPressGraceSeconds || before == 0.0f || !std::isfinite(before)) return pressed;
    D3DXVECTOR2 const world{(pressed.x - viewBeforeRefit.y) / before, (pressed.y - viewBeforeRefit.z) / before};
    return worldToScreen(world, false);
}

}  // namespace Solitaire
