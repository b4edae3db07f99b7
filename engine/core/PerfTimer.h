// The engine's frame timer: real time from the performance counter, game time scaled by a time
// factor and stopped while any pause slot is set. One update per frame; the deltas are the
// seconds between the last two updates.
#pragma once

#include "engine/core/Types.h"

namespace Orvex {

class PerfTimer {
public:
    static constexpr int kPauseSlots = 32;

    PerfTimer();

    // The frame timer the main loop advances (there is one loop per process); animations read
    // it and loading code resets its delta.
    static PerfTimer& frameTimer();

    // One step: the real time since the previous step (or construction) is added. Two calls in
    // a row make the next delta small, which is how loading time is kept out of a frame.
    void update();
    // The same step with a given real duration in seconds (negative counts as 0).
    void advance(double realSeconds);

    double getGameTime() const { return gameTime_; }
    double getGameDelta() const { return gameDelta_; }
    double getRealTime() const { return realTime_; }
    double getRealDelta() const { return realDelta_; }

    void setTimeFactor(double const& factor) { timeFactor_ = factor; }
    double getTimeFactor() const { return timeFactor_; }

    // Sets or clears bit (1 << slot) of the pause mask; slots outside 0..31 are ignored.
    void setPause(int const& slot, bool const& on);
    bool isPaused() const { return pauseMask_ != 0; }
    u32 getPauseMask() const { return pauseMask_; }

private:
    s64 lastCounter_ = 0;
    s64 frequency_ = 1;
    double realTime_ = 0.0;
    double realDelta_ = 0.0;
    double gameTime_ = 0.0;
    double gameDelta_ = 0.0;
    double timeFactor_ = 1.0;
    u32 pauseMask_ = 0;
};

}  // namespace Orvex
