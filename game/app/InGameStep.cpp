// The in-game fixed step.
#include "game/app/InGameStep.h"

#include <algorithm>
#include <cmath>

namespace Solitaire {

double InGameStep::take(double gameStep) {
    if (std::isfinite(gameStep) && gameStep > 0.0) accumulator += gameStep;
    if (!(interval > 0.0) || !(accumulator > interval)) return 0.0;
    double const whole = std::floor(accumulator / interval) * interval;
    accumulator = std::fmod(accumulator, interval);
    return std::min(whole, kMaxStep);
}

}  // namespace Solitaire
