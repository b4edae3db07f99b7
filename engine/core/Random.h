// The engine's own random generator for everything visual (particles, jitter, reminders,
// background picks). It is separate from the runtime's rand(), which only the reproducible deal
// and a few mini-games draw from. SplitMix64: one 64-bit state, one step per draw.
#pragma once

#include "engine/core/Types.h"

namespace Orvex {

// Restarts the generator (tests and replays); it starts seeded from the clock.
void seedRandom(u64 seed);

// A double uniformly in [0, 1], both ends included.
double randomUnit();

// A float uniformly in [a, b] (also with a > b: then in [b, a]). The pointer form is how
// several callers pass their range; a null pointer counts as 0.
float randomFloat(float const& a, float const& b);
float randomFloat(float const* a, float const* b);
double randomDouble(double const& a, double const& b);

// An integer of the half-open range from a towards b: a when a == b, else uniformly one of
// a .. b-1 (or b+1 .. a when b < a). For (0, n) that is an index below n.
int randomInt(int const& a, int const& b);
// a + (b - a) * u rounded to nearest: a .. b inclusive, the two ends half as likely.
int randomIntRounded(int const& a, int const& b);

}  // namespace Orvex
