// How often the main loop draws. Software rendering and displays without vertical sync make
// every frame cost its full price, and a menu standing still would draw the same picture sixty
// times a second. So the presented picture is looked at now and then (kLookSeconds apart); when
// two looks in a row find the same picture with no window message between them, the picture is
// still and frames are drawn only every kStillInterval (each of them looked at); a message
// (input, window changes) or a changed picture brings back the full rate at once.
#pragma once

#include <cstdint>

namespace Orvex {

class PicturePacer {
public:
    // Seconds between looks at the picture while it changes.
    static constexpr double kLookSeconds = 0.5;
    // Seconds between frames while the picture is still.
    static constexpr double kStillInterval = 0.25;

    // The interval to draw at, given the loop's own.
    double interval(double renderInterval) const;
    // Whether the frame drawn at this loop time should have its picture looked at.
    bool wantsLook(double time) const;
    // The picture of the frame drawn at this loop time (a hash of its pixels).
    void onLook(double time, std::uint64_t picture);
    // A window message arrived.
    void onMessage();
    bool isStill() const { return still_; }

private:
    bool still_ = false;
    bool looked_ = false;
    bool messageSinceLook_ = false;
    double lookTime_ = 0.0;
    std::uint64_t picture_ = 0;
};

}  // namespace Orvex
