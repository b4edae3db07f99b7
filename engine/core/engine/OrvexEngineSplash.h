// Splash-screen sequencing: which pictures a folder offers and how bright a picture is at a
// moment of its showing. Each picture fades in from black, stays, and fades out; the stay is
// the display time less both fades (none when the fades alone are longer).
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"

namespace Orvex {

struct SplashTiming {
    u32 fadeInMs = 0;
    u32 stayMs = 0;
    u32 fadeOutMs = 0;

    SplashTiming() = default;
    SplashTiming(u32 displayMs, u32 fadeIn, u32 fadeOut);

    double totalMs() const { return static_cast<double>(fadeInMs) + stayMs + fadeOutMs; }
    // Brightness from 0 (black) to 1 at elapsed milliseconds; 0 before the start and after the end.
    float brightnessAt(double elapsedMs) const;
};

// The "*.jpg" and "*.png" files of a folder, from the mounted archives and the disk, each name
// once (letter case ignored), sorted by file name; paths as "folder\name".
std::vector<std::wstring> listSplashImages(std::wstring const& folder);

}  // namespace Orvex
