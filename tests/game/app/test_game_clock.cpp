// The per-frame clocks of the game object as pure steps: the in-game fixed step, the results
// delay and the panel blends, each a table of updates and what they bring.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "game/app/InGameStep.h"
#include "game/app/PanelBlend.h"
#include "game/app/ResultsDelay.h"

namespace {

using Solitaire::InGameStep;
using Solitaire::PanelBlend;
using Solitaire::ResultsDelay;

constexpr double kInterval = 1.0 / 60.0;

TEST(InGameStep, SpendsWholeIntervalsOnceTheAccumulatorExceedsOne) {
    struct Case {
        char const* what;
        std::vector<double> gameSteps;
        std::vector<double> taken;  // the step of each update
        double left;                // the accumulator afterwards
    };
    double const nan = std::numeric_limits<double>::quiet_NaN();
    Case const cases[] = {
        // 1/120 + 1/120 is exactly the interval, which is not greater than it: no step yet; the
        // third update takes one interval and keeps half of one.
        {"two half intervals", {1.0 / 120, 1.0 / 120, 1.0 / 120}, {0, 0, kInterval}, 1.0 / 120},
        {"one frame", {0.02}, {kInterval}, 0.02 - kInterval},
        {"two and a half intervals", {2.5 * kInterval}, {2 * kInterval}, 0.5 * kInterval},
        // A stall of 5 s: at most 1 s is spent, the rest of the time is dropped but for less
        // than one interval.
        {"five seconds", {5.0}, {1.0}, std::fmod(5.0, kInterval)},
        {"paused", {0.0, 0.0}, {0, 0}, 0.0},
        // Time that is no time adds nothing.
        {"not a step", {nan, -1.0, std::numeric_limits<double>::infinity()}, {0, 0, 0}, 0.0},
    };
    for (Case const& c : cases) {
        InGameStep step;
        for (std::size_t i = 0; i < c.gameSteps.size(); ++i)
            EXPECT_NEAR(step.take(c.gameSteps[i]), c.taken[i], 1e-12) << c.what << " update " << i;
        EXPECT_NEAR(step.accumulator, c.left, 1e-12) << c.what;
        EXPECT_LT(step.accumulator, kInterval + 1e-12) << c.what;
    }
}

TEST(ResultsDelay, RevealsAtTheThresholdSendsTheMedalsAwayAtOneAndOpensAtZero) {
    struct Update {
        float step;
        bool skip;  // a click asked for the skip before this update
        bool reveal, leave, open;
    };
    struct Case {
        char const* what;
        float start;
        std::vector<Update> updates;
    };
    Case const cases[] = {
        // A campaign game: 5 s plus a 1 s flight. 6 -> 4.5 crosses the threshold, 4.5 -> 1 sends
        // the medals away, 1 -> 0 opens the evaluation.
        {"in steps", 6.0f, {{1.5f, false, true, false, false}, {3.5f, false, false, true, false}, {1.0f, false, false, false, true}}},
        // Landing on the threshold exactly reveals once, in the update that leaves it.
        {"lands on the threshold", 6.0f, {{1.0f, false, false, false, false}, {4.0f, false, true, true, false}, {1.0f, false, false, false, true}}},
        // A click while the delay stands at 6 s: every event in the next update.
        {"skipped at 6", 6.0f, {{0.1f, true, true, true, true}}},
        // Skipped after the reveal: the medals leave and the evaluation opens, no second reveal.
        {"skipped at 3", 6.0f, {{3.0f, false, true, false, false}, {0.1f, true, false, true, true}}},
        // A free game of 2 s and a 2.5 s flight starts at 4.5: below the threshold, no reveal.
        {"free play short flight", 4.5f, {{2.0f, false, false, false, false}, {2.0f, false, false, true, false}, {1.0f, false, false, false, true}}},
        // With a flight of 3 s the free game's medal shows (5.0 is reached exactly).
        {"free play long flight", 5.0f, {{0.5f, false, true, false, false}, {5.0f, false, false, true, true}}},
        // A whole stall in one update takes every event at once.
        {"one long update", 6.0f, {{10.0f, false, true, true, true}}},
    };
    for (Case const& c : cases) {
        ResultsDelay delay;
        delay.pending = 1;
        delay.delay = c.start;
        for (std::size_t i = 0; i < c.updates.size(); ++i) {
            Update const& u = c.updates[i];
            if (u.skip) delay.skip = true;
            ResultsDelay::Events const e = delay.advance(u.step);
            EXPECT_EQ(e.reveal, u.reveal) << c.what << " update " << i;
            EXPECT_EQ(e.leave, u.leave) << c.what << " update " << i;
            EXPECT_EQ(e.open, u.open) << c.what << " update " << i;
        }
        EXPECT_EQ(delay.pending, 0) << c.what;
        // Idle: updates bring nothing.
        ResultsDelay::Events const idle = delay.advance(1.0f);
        EXPECT_FALSE(idle.reveal || idle.leave || idle.open) << c.what;
    }
}

// A skip request is used up by the evaluation it opened: the next game's delay runs in full
// (kept, it would cut that delay to nothing at its first update).
TEST(ResultsDelay, SkipDoesNotCarryIntoTheNextGame) {
    ResultsDelay delay;
    delay.pending = 1;
    delay.delay = 6.0f;
    delay.skip = true;
    EXPECT_TRUE(delay.advance(0.1f).open);
    delay.pending = -1;
    delay.delay = 6.0f;
    ResultsDelay::Events const next = delay.advance(0.1f);
    EXPECT_FALSE(next.reveal || next.leave || next.open);
    EXPECT_NEAR(delay.delay, 5.9f, 1e-6);
}

// A blend moves by the step and stops at its target, whichever way and whatever the step.
TEST(PanelBlend, ArrivesAtItsTargetAndStaysThere) {
    struct Case {
        float current, target, step;
        std::vector<float> after;  // current after each update
    };
    Case const cases[] = {
        {0.0f, 1.0f, 0.4f, {0.4f, 0.8f, 1.0f, 1.0f}},
        {1.0f, 0.0f, 0.4f, {0.6f, 0.2f, 0.0f, 0.0f}},
        // Up to a target between the ends, with a step that overshoots it.
        {0.0f, 0.5f, 0.3f, {0.3f, 0.5f, 0.5f}},
        {1.0f, 0.5f, 0.3f, {0.7f, 0.5f, 0.5f}},
        // A whole second at once.
        {0.2f, 1.0f, 1.0f, {1.0f}},
        // Nothing moves without a step.
        {0.3f, 1.0f, 0.0f, {0.3f, 0.3f}},
    };
    for (Case const& c : cases) {
        PanelBlend blend{c.current, c.target};
        for (float expected : c.after) {
            blend.move(c.step);
            EXPECT_NEAR(blend.current, expected, 1e-6) << c.current << " -> " << c.target;
        }
    }
    PanelBlend arrived{0.0f, 1.0f};
    arrived.move(2.0f);
    EXPECT_FALSE(arrived.isMoving());
}

}  // namespace
