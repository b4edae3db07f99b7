// The results delay's countdown.
#include "game/app/ResultsDelay.h"

namespace Solitaire {

ResultsDelay::Events ResultsDelay::advance(float realStep) {
    Events events;
    if (pending == 0) return events;
    float const previous = delay;
    delay -= realStep;
    if (skip) delay = kSkipped;
    // Crossing the threshold is going below it: a delay that lands on it exactly reveals in the
    // update that leaves it, not in both.
    events.reveal = previous >= revealThreshold && delay < revealThreshold;
    events.leave = previous > kMedalsLeave && delay <= kMedalsLeave;
    if (delay <= 0.0f) {
        events.open = true;
        pending = 0;
        skip = false;
    }
    return events;
}

}  // namespace Solitaire
