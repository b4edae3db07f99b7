// Cards in motion: glide, turn, the deferred start of waiting changes and the mark swings.
#include <algorithm>
#include <cmath>

#include "engine/core/Random.h"
#include "game/cards/Karte.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

// Speed of the tip marks' swing (64 and 128).
constexpr float kTipSwingSpeed = 4.0f;
// Tries to draw a sign pair that differs from the current one before flipping both.
constexpr int kSignDraws = 16;

Style const* styleOf(Style const* own) { return own ? own : StyleSettings::instance().getStyle(); }

float signOf(float v) { return v < 0.0f ? -1.0f : 1.0f; }

// Angle brought into -90..90 by steps of 180 (fmod keeps huge angles from looping).
float wrapAngle(float a) {
    a = std::fmod(a, 180.0f);
    if (a > 90.0f) a -= 180.0f;
    else if (a < -90.0f) a += 180.0f;
    return a;
}

}  // namespace

void Karte::moveTo(D3DXVECTOR2 const& goal, float const& speed, float const& delay) {
    if (!std::isfinite(goal.x) || !std::isfinite(goal.y)) return;
    pending.position = goal;
    pending.positionSpeed = speed;
    if (!startsNow(kPendingPosition, delay)) return;
    if (std::fabs(goal.x - position.goal.x) <= kGlideTolerance && std::fabs(goal.y - position.goal.y) <= kGlideTolerance)
        return;
    D3DXVECTOR2 const from = position.current;
    float const dx = goal.x - from.x;
    float const dy = goal.y - from.y;
    float const dist = std::sqrt(dx * dx + dy * dy);
    float glideSpeed = speed;
    if (dist != 0.0f && speed != 0.0f) {
        Style const* look = styleOf(style);
        float const mult = look ? look->arrangeSpeedMult : 100.0f;
        float const maxLin = look ? look->arrangeMaxLinDist : 100.0f;
        float const span = std::min(dist, maxLin);
        // A maximal linear distance that is not above 0 leaves no glide: jump.
        glideSpeed = span > 0.0f ? speed * mult / span : 0.0f;
    }
    position.set(from, goal, 0.0f);
    applySpeed(position, glideSpeed);
}

void Karte::rotateTo(float const& angle, float const& speed, float const& delay, bool const& wrap) {
    if (!std::isfinite(angle)) return;
    float const goal = wrap ? wrapAngle(angle) : angle;
    pending.rotation = goal;
    pending.rotationSpeed = speed;
    pending.wrap = wrap;
    if (!startsNow(kPendingRotation, delay)) return;
    rotation.exponent = kTurnExponent;
    rotation.running = true;
    rotation.set(rotation.current, goal, 0.0f);
    applySpeed(rotation, speed);
}

void Karte::setWaitTimer(float const& delay, int const& flags) {
    float const previous = waitTime;
    pendingMask |= flags;
    waitTime = delay;
    if (previous > 0.0f && !(delay > 0.0f)) {
        waitTime = -1.0f;
        int const due = pendingMask;
        PendingGoals const goals = pending;
        if (due & kPendingPosition) moveTo(goals.position, goals.positionSpeed, 0.0f);
        if (due & kPendingFace) setFaceUp(goals.face, goals.faceSpeed, 0.0f);
        if (due & kPendingScale) setScale(goals.scale, goals.scaleSpeed, 0.0f);
        if (due & kPendingRotation) rotateTo(goals.rotation, goals.rotationSpeed, 0.0f, goals.wrap);
        if (due & kPendingLocks) setLocks(goals.locks, goals.locksSpeed, 0.0f);
        if (due & kPendingKeys) setKeys(goals.keys, goals.keysSpeed, 0.0f);
        if (due & kPendingOpacity) setOpacity(goals.opacity, goals.opacitySpeed, 0.0f);
    }
    if (!(waitTime > 0.0f)) pendingMask = 0;
}

void Karte::setMarkState(int const& flags, float const& speed) {
    KartenObjekt::setMarkState(flags, speed);
    restartMarkAngle();
    restartMarkOffset();
}

namespace {

struct Swing {
    bool active = false;  // without a mark the swing settles at rest
    D3DXVECTOR2 offset{0.0f, 0.0f};
    float angle = 0.0f;
    float speed = kTipSwingSpeed;
};

// The swing of the current mark: the style's wobble for 1 .. 32, the tip values for 64 and 128.
Swing swingOf(Style const* look, int markState) {
    Swing swing;
    if (!look || markState == 0) return swing;
    if (markState & (kMarkTip1 | kMarkTip2)) return {true, look->tipOffset, look->tipRotation, kTipSwingSpeed};
    Style::SelectWobble const* wobble = look->wobbleForMark(markState & -markState);
    if (wobble) swing = {true, wobble->offset, wobble->rotation, wobble->speed};
    return swing;
}

}  // namespace

void Karte::restartMarkOffset() {
    Swing const swing = swingOf(styleOf(style), markState);
    D3DXVECTOR2 const now = markOffset.current;
    markOffset.speed = swing.speed;
    if (!swing.active) {
        markOffset.set(now, D3DXVECTOR2(0.0f, 0.0f), 0.0f);
        return;
    }
    D3DXVECTOR2 const amplitude = swing.offset;
    float sx = signOf(now.x);
    float sy = signOf(now.y);
    if (amplitude.x == 0.0f || amplitude.y == 0.0f) {
        // One axis swings: flip its sign against the current offset.
        if (amplitude.x != 0.0f) sx = -sx;
        if (amplitude.y != 0.0f) sy = -sy;
    } else {
        float const oldX = sx;
        float const oldY = sy;
        for (int i = 0; i < kSignDraws && sx == oldX && sy == oldY; ++i) {
            sx = Orvex::randomInt(0, 2) == 0 ? -1.0f : 1.0f;
            sy = Orvex::randomInt(0, 2) == 0 ? -1.0f : 1.0f;
        }
        if (sx == oldX && sy == oldY) {
            sx = -sx;
            sy = -sy;
        }
    }
    markOffset.set(now, D3DXVECTOR2(std::fabs(amplitude.x) * sx, std::fabs(amplitude.y) * sy), 0.0f);
}

void Karte::restartMarkAngle() {
    Swing const swing = swingOf(styleOf(style), markState);
    float const now = markRotation.current;
    markRotation.speed = swing.speed;
    if (!swing.active) markRotation.set(now, 0.0f, 0.0f);
    else markRotation.set(now, now > 0.0f ? -swing.angle : swing.angle, 0.0f);
}

void Karte::onMarkOffsetReached(Vec2Interp&) {
    if (markState != 0) restartMarkOffset();
}

void Karte::onMarkRotationReached(FloatInterp&) {
    if (markState != 0) restartMarkAngle();
}

}  // namespace Solitaire
