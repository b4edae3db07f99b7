// The HUD's news line.
#include "game/app/NewsLine.h"

#include <cmath>

#include "engine/gui/GUILabel.h"

namespace Solitaire {

void NewsLine::setWindow(Orvex::GUIWindow* window) {
    label_ = dynamic_cast<Orvex::GUILabel*>(window);
    remaining_ = 0.0f;
}

void NewsLine::show(std::wstring const& text) {
    if (!label_ || text.empty()) return;
    label_->setText(text);
    label_->animateToGoal(L"AN", kGoalSpeed, false);
    remaining_ = kShownSeconds;
}

void NewsLine::update(double realStep) {
    if (!(remaining_ > 0.0f)) return;
    // A broken step (NaN) ends the showing rather than keeping it forever.
    float const step = std::isfinite(realStep) ? static_cast<float>(realStep) : kShownSeconds;
    remaining_ -= step;
    if (remaining_ > 0.0f) return;
    remaining_ = 0.0f;
    if (label_) label_->animateToGoal(L"AUS", kGoalSpeed, false);
}

void NewsLine::clear() {
    remaining_ = 0.0f;
    if (label_) label_->jumpToGoal(L"AUS");
}

}  // namespace Solitaire
