// The engine's main loop: message pump, the tick/update/render accumulators with the halving
// reset, the update step's timer and texture check, the sleep, and exit requests. The update and
// render steps are measured as "UpdateLoop" and "RenderLoop" while the measure switch is on.
#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/MeasureManager.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/platform/D3DInterface.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/windows.h"

namespace Orvex {

bool OrvexEngine::consumeAccumulator(double& accumulator, double interval) {
    if (accumulator < interval) return false;
    accumulator = std::max(0.0, std::min(accumulator - interval, accumulator / 2.0));
    return true;
}

void OrvexEngine::requestExit(int const& code) {
    if (!exitCodeSet_) {
        exitCode_ = code;
        exitCodeSet_ = true;
    }
    runState_ = runState_ == kRunning ? kStopRequested : kStopRequestedAgain;
}

bool OrvexEngine::pumpMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    pacer_.onMessage();
    if (msg.message == WM_QUIT) {
        requestExit(static_cast<int>(msg.wParam));
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

double OrvexEngine::renderIntervalNow() const {
    double const display = d3d_ && d3d_->getDevice() ? d3d_->getRefreshPeriod() : 0.0;
    return pacer_.interval(std::max(renderInterval_, display));
}

void OrvexEngine::askPicture() {
    if (pictureAsk_) {
        pictureAsk_();
    } else if (IDirect3DDevice9* device = d3d_ ? d3d_->getDevice() : nullptr) {
        port::d3d9::lookAtNextPresent(device);
    }
}

bool OrvexEngine::takePicture(std::uint64_t& picture) {
    if (pictureTake_) return pictureTake_(picture);
    IDirect3DDevice9* device = d3d_ ? d3d_->getDevice() : nullptr;
    if (!device) return false;
    std::uint64_t present = 0;
    picture = port::d3d9::lookedAtPicture(device, present);
    if (present == 0 || present == lookedPresent_) return false;  // nothing presented since
    lookedPresent_ = present;
    return true;
}

double OrvexEngine::runPass(double elapsed) {
    tickAcc_ += elapsed;
    updateAcc_ += elapsed;
    renderAcc_ += elapsed;
    loopTime_ += elapsed;

    if (consumeAccumulator(tickAcc_, tickInterval_)) tickSignal.emit();
    if (runState_ == kRunning && consumeAccumulator(updateAcc_, updateInterval_)) updateStep();
    double const renderInterval = renderIntervalNow();
    if (runState_ == kRunning && consumeAccumulator(renderAcc_, renderInterval)) {
        ScopedMeasure measure(L"RenderLoop");
        bool const look = pacer_.wantsLook(loopTime_);
        if (look) askPicture();
        renderSignal.emit();
        std::uint64_t picture = 0;
        if (look && takePicture(picture)) pacer_.onLook(loopTime_, picture);
    }

    double wait = std::min({tickInterval_ - tickAcc_, updateInterval_ - updateAcc_, renderIntervalNow() - renderAcc_});
    return std::clamp(wait, 0.0, kMaxSleepMs / 1000.0);
}

void OrvexEngine::updateStep() {
    ScopedMeasure measure(L"UpdateLoop");
    double const clock = now();
    if (clock_)
        timer_.advance(clock - lastUpdateClock_);
    else
        timer_.update();
    lastUpdateClock_ = clock;

    beginUpdatePlatform();
    updateSignal.emit();

    double const realDelta = timer_.getRealDelta();
    updatePlatform(realDelta);

    TextureClock::get().advance(realDelta * 1000.0);
}

int OrvexEngine::run() {
    if (inMainLoop_) {
        logError(L"OrvexEngine::run: the main loop is already running");
        return -1;
    }
    if (runState_ != kRunning) {
        // Told to stop before the loop started (for example while the game was loading).
        runState_ = kRunning;
        exitCodeSet_ = false;
        unsigned long const code = static_cast<unsigned long>(-1);
        exitSignal.emit(code);
        return -1;
    }

    inMainLoop_ = true;
    tickAcc_ = updateAcc_ = renderAcc_ = loopTime_ = 0.0;
    pacer_ = PicturePacer{};
    double last = now();
    lastUpdateClock_ = last;
    // The loading time before the loop must not count as the first frame.
    if (!clock_) timer_.update();

    while (runState_ == kRunning) {
        if (pumpMessage()) continue;
        if (!deviceUsable()) {
            sleepFor(kDeviceWaitMs);
            continue;
        }
        double const clock = now();
        double const elapsed = std::max(0.0, clock - last);
        last = clock;
        double const wait = runPass(elapsed);
        if (runState_ != kRunning) break;
        // Rounded up: waking early would only spin through passes with nothing due.
        waitForMessage(static_cast<u32>(std::ceil(wait * 1000.0)));
    }

    inMainLoop_ = false;
    int const code = exitCode_;
    runState_ = kRunning;
    exitCodeSet_ = false;
    exitCode_ = 0;
    unsigned long const reported = static_cast<unsigned long>(code);
    exitSignal.emit(reported);
    return code;
}

}  // namespace Orvex
