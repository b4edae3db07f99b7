// SplitMix64 (Steele, Lea, Flood 2014): the state advances by a fixed odd constant and each
// output is a mixed copy of it. The atomic add keeps a stray draw from another thread harmless.
#include "engine/core/Random.h"

#include <atomic>
#include <chrono>
#include <cmath>

namespace Orvex {

namespace {

constexpr u64 kGamma = 0x9E3779B97F4A7C15ull;

std::atomic<u64>& state() {
    static std::atomic<u64> value{static_cast<u64>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                                  0x5DEECE66Dull};
    return value;
}

u64 next() {
    u64 z = state().fetch_add(kGamma, std::memory_order_relaxed) + kGamma;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void seedRandom(u64 seed) { state().store(seed, std::memory_order_relaxed); }

double randomUnit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740991.0); }

float randomFloat(float const& a, float const& b) {
    double const v = static_cast<double>(a) + (static_cast<double>(b) - static_cast<double>(a)) * randomUnit();
    // Rounding a value between two floats to float cannot leave them.
    return static_cast<float>(v);
}

float randomFloat(float const* a, float const* b) {
    float const lower = a ? *a : 0.0f;
    float const upper = b ? *b : 0.0f;
    return randomFloat(lower, upper);
}

double randomDouble(double const& a, double const& b) {
    double v = a + (b - a) * randomUnit();
    double const lo = a < b ? a : b;
    double const hi = a < b ? b : a;
    return v < lo ? lo : (v > hi ? hi : v);
}

int randomInt(int const& a, int const& b) {
    if (a == b) return a;
    // Multiply-shift in integers: exactly uniform enough and never reaches b itself.
    s64 const span = a < b ? static_cast<s64>(b) - a : static_cast<s64>(a) - b;
    s64 const index = static_cast<s64>(((next() >> 32) * static_cast<u64>(span)) >> 32);
    return static_cast<int>(a < b ? a + index : a - index);
}

int randomIntRounded(int const& a, int const& b) {
    if (a == b) return a;
    double const span = static_cast<double>(b) - static_cast<double>(a);
    return static_cast<int>(std::lround(static_cast<double>(a) + span * randomUnit()));
}

}  // namespace Orvex
