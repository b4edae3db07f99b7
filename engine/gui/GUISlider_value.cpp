// The slider's value rule, the step buttons, dragging the knob and placing it on the track.
#include <algorithm>
#include <cmath>

#include "engine/core/Utils.h"
#include "engine/gui/GUISlider.h"

namespace Orvex {

float GUISlider::ruleValue(float requested, float minimum, float maximum, float granularity) {
    float v = std::max(minimum, std::min(maximum, requested));
    if (!(granularity > 0.0f)) return v;
    // Nearest multiple, halves up on both sides of zero.
    float snapped = granularity * std::floor(v / granularity + 0.5f);
    if (snapped > maximum) snapped -= granularity;
    if (snapped < minimum) snapped += granularity;
    // A range narrower than one granule holds no multiple: the clamped value stays.
    if (snapped > maximum || snapped < minimum || !std::isfinite(snapped)) return v;
    return snapped;
}

float GUISlider::dragRatio(float knobStart, float trackStart, float trackLength, float knobLength) {
    float const free = trackLength - knobLength;
    if (!(free > 0.0f)) return 0.0f;
    return (knobStart - trackStart) / free;
}

void GUISlider::setValue(float const& requested) {
    float const old = value_;
    value_ = ruleValue(requested, minimum_, maximum_, granularity_);
    if (value_ != old) valueChanged.emit(*this, value_);
    placeKnob();
}

void GUISlider::setRange(float const& minimum, float const& maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    setValue(value_);
}

void GUISlider::onStepClicked(GUIWindow& button) {
    if (&button == leftButton_)
        setValue(value_ - step_);
    else if (&button == rightButton_)
        setValue(value_ + step_);
}

void GUISlider::onKnobMoved(GUIWindow& /*knob*/) {
    if (!knob_ || !track_) return;
    FRect const t = track_->getScreenRect();
    FRect const k = knob_->getScreenRect();
    float const ratio = horizontal_ ? dragRatio(k.left, t.left, t.right - t.left, k.right - k.left)
                                    : dragRatio(k.top, t.top, t.bottom - t.top, k.bottom - k.top);
    setValue(lerp(minimum_, maximum_, ratio));
}

void GUISlider::onTrackRectChanged(GUIWindow& /*track*/) { placeKnob(); }

void GUISlider::placeKnob() {
    if (!knob_ || !track_ || placing_) return;
    placing_ = true;
    // The knob's extent as its description gives it now (a track change may not have reached it).
    knob_->updateRect(true, true);
    FRect const t = track_->getScreenRect();
    FRect const k = knob_->getScreenRect();
    float const free = horizontal_ ? (t.right - t.left) - (k.right - k.left) : (t.bottom - t.top) - (k.bottom - k.top);
    float const span = maximum_ - minimum_;
    // An empty range has no ratio: the knob rests at the start.
    float const share = span > 0.0f ? (value_ - minimum_) / span : 0.0f;
    float const offset = free > 0.0f ? share * free : 0.0f;
    GUIRectAxis& p = knob_->getRect().getParamsX();
    p = knobPosition_;
    if (horizontal_) {
        p.relX = 0.0f;
        p.offX = offset;
    } else {
        p.relY = 0.0f;
        p.offY = offset;
    }
    knob_->updateRect(false, false);
    placing_ = false;
}

}  // namespace Orvex
