// A straight line walked point by point: the walker is itself a signal of two ints, and walk()
// emits the integer points of the line from the start to the end, both included, in Bresenham
// order (the error term starts at half the larger of the two deltas; ties step along x).
// A line whose ends fall on the same integer point emits that point once.
//
// The ends are floats truncated toward zero. Coordinates are clamped to +-kCoordinateLimit
// first, so a wild value (infinite, NaN, or far off any surface) cannot overflow the integer
// conversion or make one walk emit billions of points; NaN counts as 0.
#pragma once

#include "signals/sigslot.h"

namespace Orvex {

class LineWalker : public sigslot::signal2<int const&, int const&> {
public:
    static constexpr int kCoordinateLimit = 1 << 20;

    LineWalker(float fromX, float fromY, float toX, float toY);

    // Emits every point of the line; may run again.
    void walk();

    int getFromX() const { return fromX_; }
    int getFromY() const { return fromY_; }
    int getToX() const { return toX_; }
    int getToY() const { return toY_; }

private:
    int fromX_;
    int fromY_;
    int toX_;
    int toY_;
};

}  // namespace Orvex
