// The in-game fixed step: while the in-game screen is active, game time accumulates and the
// table (card manager, camera, particles, tip timer) advances only by whole multiples of the
// interval, at most kMaxStep per update, the remainder kept for later. A step is taken only when
// the accumulator is greater than the interval, so two half intervals make no step until a third
// update adds to them.
#pragma once

namespace Solitaire {

struct InGameStep {
    static constexpr double kInterval = 1.0 / 60.0;
    static constexpr double kMaxStep = 1.0;

    double accumulator = 0.0;
    double interval = kInterval;

    // Adds the game step and returns the step to take now (0 when none is due). A step that is
    // not a finite non-negative number adds nothing.
    double take(double gameStep);
};

}  // namespace Solitaire
