// The GUI window's goal control: finding goals, animating to a goal along the keyframe track
// (with an optional overshoot and return), jumping, re-targeting a running animation, and the
// two slots through which each step of the track is written into the window.
#include <cmath>

#include "engine/core/Utils.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

using GoalKey = MultiInterpolationKey<GUIAnimationsGoal, float>;

GUIAnimationsGoal& GUIWindow::findGoal(std::wstring const& name) {
    for (GUIAnimationsGoal* goal : goals)
        if (goal->name == name) return *goal;
    return defaultGoal;
}

bool GUIWindow::hasGoal(std::wstring const& name) const {
    for (GUIAnimationsGoal const* goal : goals)
        if (goal->name == name) return true;
    return false;
}

GUIAnimationsGoal GUIWindow::getTargetState() const {
    std::vector<GoalKey> keys;
    if (goalAnimation) goalAnimation->getKeyframes(keys);
    return keys.empty() ? currentState : keys.back().value;
}

bool GUIWindow::isAnimating() const {
    return goalAnimation && goalAnimation->getTotalTime() > goalAnimation->getTime();
}

namespace {

// The goal with its rectangle replaced by a default one holding the position and size carried
// p percent past the way from `from` to the goal.
GUIAnimationsGoal overshootState(GUIAnimationsGoal const& from, GUIAnimationsGoal const& goal, float percent) {
    GUIAnimationsGoal out = goal;
    out.rect = GUIRect();
    float const k = 1.0f + percent / 100.0f;
    auto past = [k](float a, float b) { return lerp(a, b, k); };
    GUIRectAxis const& p0 = from.rect.position;
    GUIRectAxis const& p1 = goal.rect.position;
    GUIRectAxis const& s0 = from.rect.size;
    GUIRectAxis const& s1 = goal.rect.size;
    out.rect.position.relX = past(p0.relX, p1.relX);
    out.rect.position.relY = past(p0.relY, p1.relY);
    out.rect.position.offX = past(p0.offX, p1.offX);
    out.rect.position.offY = past(p0.offY, p1.offY);
    out.rect.size.relX = past(s0.relX, s1.relX);
    out.rect.size.relY = past(s0.relY, s1.relY);
    out.rect.size.offX = past(s0.offX, s1.offX);
    out.rect.size.offY = past(s0.offY, s1.offY);
    return out;
}

bool hasOvershoot(GUIAnimationsGoal const& goal) { return goal.overshootPercent != 0.0f && goal.overshootTime > 0.0f; }

}  // namespace

void GUIWindow::animateToGoal(std::wstring const& name, double const& speedFactor, bool const& force) {
    HeldRef<GUIWindow> hold(this);
    // The window's own record: goalStarted hands it on, so a slot sees (and may adjust) the goal.
    GUIAnimationsGoal& goal = findGoal(name);
    if (!force && !goal.name.empty() && getTargetState().name == goal.name) return;
    double const rate = speedFactor * goal.speed;
    // 0 jumps; a rate below 0 or not a number would hold the track at its start for ever.
    if (!(rate > 0.0) || !std::isfinite(rate)) {
        jumpToGoal(name);
        return;
    }
    GoalTrack& track = getGoalAnimation();
    track.clearKeys();
    track.addKey(currentState, 0.0f, true);
    track.addKey(goal, 1.0f, true);
    if (hasOvershoot(goal)) {
        float const t = goal.overshootTime;
        float const v = goal.overshootSplit;
        track.addKey(overshootState(currentState, goal, goal.overshootPercent), t * v, true);
        track.addKey(goal, (1.0f - v) * t, true);
    }
    track.setTime(0.0f);
    track.speed = static_cast<float>(rate);
    goalStarted.emit(*this, goal);
}

void GUIWindow::jumpToGoal(std::wstring const& name) {
    HeldRef<GUIWindow> hold(this);
    GUIAnimationsGoal const goal = findGoal(name);
    if (goalAnimation) goalAnimation->clearKeys();
    GUIAnimationsGoal snapshot;
    snapshot.rect = rect;
    snapshot.options = options;
    snapshot.drawOptions = drawOptions;
    currentState = blendState(currentState, goal, currentState, snapshot, 1.0);
    applyState(currentState);
    goalStarted.emit(*this, currentState);
    goalReached.emit(*this, currentState);
}

void GUIWindow::retargetAnimation(GUIAnimationsGoal const& goal) {
    std::vector<GoalKey> keys;
    if (goalAnimation) goalAnimation->getKeyframes(keys);
    if (keys.empty()) {
        currentState = goal;
        applyState(currentState);
        return;
    }
    keys.back().value = goal;
    if (keys.size() == 4) {
        GUIAnimationsGoal const over = overshootState(keys[0].value, goal, goal.overshootPercent);
        keys[1].value = goal;
        keys[2].value = over;
        keys[3].value = goal;
    }
    goalAnimation->setKeyframes(keys);
}

void GUIWindow::applyState(GUIAnimationsGoal const& state) {
    rect = state.rect;
    options = state.options;
    drawOptions = state.drawOptions;
    updateRect(false, false);
}

void GUIWindow::initDefaultState() {
    defaultGoal.rect = rect;
    defaultGoal.options = options;
    defaultGoal.drawOptions = drawOptions;
    currentState = defaultGoal;
}

void GUIWindow::captureCurrentState() {
    currentState.rect = rect;
    currentState.options = options;
    currentState.drawOptions = drawOptions;
}

void GUIWindow::onGoalAnimationStep(GoalTrack&, GUIAnimationsGoal const& start, GUIAnimationsGoal const& goal,
                                    float const& curve, GUIAnimationsGoal& out) {
    HeldRef<GUIWindow> hold(this);
    GUIAnimationsGoal snapshot;
    snapshot.rect = rect;
    snapshot.options = options;
    snapshot.drawOptions = drawOptions;
    s32 const layer = drawOptions.layer;
    currentState = blendState(start, goal, currentState, snapshot, static_cast<double>(curve));
    out = currentState;
    applyState(currentState);
    if (drawOptions.layer != layer) layerChanged.emit();
}

void GUIWindow::onGoalAnimationFinished(GoalTrack&) {
    HeldRef<GUIWindow> hold(this);
    goalReached.emit(*this, currentState);
}

}  // namespace Orvex
