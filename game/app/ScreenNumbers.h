// Numbers the screens show that come from files (profile values, settings, thresholds): turned
// into integers or percentages only after clamping, so a value that is negative, huge or not a
// number gives a bounded figure instead of an undefined conversion.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace Solitaire {

// Truncated towards zero and held inside the type's range; not a number gives 0.
template <class Int>
Int saturateTo(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLow = static_cast<double>(std::numeric_limits<Int>::min());
    // The largest double below 2^(bits - 1): the type's maximum itself does not convert exactly.
    constexpr double kHigh = -kLow;
    if (value <= kLow) return std::numeric_limits<Int>::min();
    if (value >= kHigh) return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

// value / whole x 100 held inside [0, 100]; 0 when whole is 0 or either is not a number.
inline double percentOf(double value, double whole) {
    if (whole == 0.0) return 0.0;
    double const p = value / whole * 100.0;
    if (!(p > 0.0)) return 0.0;
    return p > 100.0 ? 100.0 : p;
}

}  // namespace Solitaire
