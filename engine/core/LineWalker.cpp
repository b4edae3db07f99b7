// The Bresenham line walk.
#include "engine/core/LineWalker.h"

#include <cstdlib>

namespace Orvex {

namespace {

int truncateClamped(float value) {
    if (!(value == value)) return 0;
    constexpr float limit = static_cast<float>(LineWalker::kCoordinateLimit);
    if (value > limit) return LineWalker::kCoordinateLimit;
    if (value < -limit) return -LineWalker::kCoordinateLimit;
    return static_cast<int>(value);
}

}  // namespace

LineWalker::LineWalker(float fromX, float fromY, float toX, float toY)
    : fromX_(truncateClamped(fromX)),
      fromY_(truncateClamped(fromY)),
      toX_(truncateClamped(toX)),
      toY_(truncateClamped(toY)) {}

void LineWalker::walk() {
    int x = fromX_;
    int y = fromY_;
    emit(x, y);
    int const dx = std::abs(toX_ - fromX_);
    int const dy = std::abs(toY_ - fromY_);
    int const sx = toX_ < fromX_ ? -1 : 1;
    int const sy = toY_ < fromY_ ? -1 : 1;
    // One loop for both cases: the major axis steps every time, the minor one when the error
    // term runs out.
    bool const xMajor = dx >= dy;
    int const majorDelta = xMajor ? dx : dy;
    int const minorDelta = xMajor ? dy : dx;
    int const majorStep = xMajor ? sx : sy;
    int const minorStep = xMajor ? sy : sx;
    int& major = xMajor ? x : y;
    int& minor = xMajor ? y : x;
    int error = majorDelta / 2;
    for (int i = 0; i < majorDelta; ++i) {
        major += majorStep;
        error -= minorDelta;
        if (error < 0) {
            minor += minorStep;
            error += majorDelta;
        }
        emit(x, y);
    }
}

}  // namespace Orvex
