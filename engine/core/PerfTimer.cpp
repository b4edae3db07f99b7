// Frame timer over QueryPerformanceCounter.
#include "engine/core/PerfTimer.h"

#include "engine/core/Logger.h"
#include "port/win32/kernel.h"

namespace Orvex {

PerfTimer::PerfTimer() {
    LARGE_INTEGER value{};
    if (QueryPerformanceFrequency(&value) && value.QuadPart > 0) frequency_ = value.QuadPart;
    if (QueryPerformanceCounter(&value)) lastCounter_ = value.QuadPart;
}

PerfTimer& PerfTimer::frameTimer() {
    static PerfTimer timer;
    return timer;
}

void PerfTimer::update() {
    LARGE_INTEGER now{};
    if (!QueryPerformanceCounter(&now)) return;
    s64 const elapsed = now.QuadPart - lastCounter_;
    lastCounter_ = now.QuadPart;
    advance(static_cast<double>(elapsed) / static_cast<double>(frequency_));
}

void PerfTimer::advance(double realSeconds) {
    realDelta_ = realSeconds > 0.0 ? realSeconds : 0.0;
    realTime_ += realDelta_;
    gameDelta_ = pauseMask_ != 0 ? 0.0 : realDelta_ * timeFactor_;
    gameTime_ += gameDelta_;
}

void PerfTimer::setPause(int const& slot, bool const& on) {
    if (slot < 0 || slot >= kPauseSlots) {
        logWarning(L"PerfTimer: pause slot " + std::to_wstring(slot) + L" out of range, ignored");
        return;
    }
    u32 const bit = u32{1} << slot;
    pauseMask_ = on ? (pauseMask_ | bit) : (pauseMask_ & ~bit);
}

}  // namespace Orvex
