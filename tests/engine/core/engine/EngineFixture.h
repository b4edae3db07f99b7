// The engine made headless for tests: a simulated clock that only the loop's sleeps advance, a
// device that is always usable, and everything put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "tests/engine/core/LogWatch.h"

namespace enginetest {

// A 4x4 red PNG.
inline std::string const kRedPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00\x04\x08\x02"
    "\x00\x00\x00\x26\x93\x09\x29\x00\x00\x00\x10\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf\xc0\x00\x47\x0c\xc4\x71"
    "\x00\xae\x93\x0f\xf1\xd0\x5f\x23\x9e\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    73);

// Settings for a real start on the headless device: a 320x240 window, input through messages.
inline void useSmallWindow() {
    Orvex::D3DInitParams& params = Orvex::D3DInterface::getInstance().getInitParams();
    params = Orvex::D3DInitParams();
    params.displayMode = {320, 240, 60, D3DFMT_X8R8G8B8};
    params.setWindowed(true);
    Orvex::DirectInputInterface::getInstance().getInitParams().useWinApi = 1;
}

// Puts back what useSmallWindow changed.
inline void resetStartSettings() {
    Orvex::D3DInterface::getInstance().getInitParams() = Orvex::D3DInitParams();
    Orvex::DirectInputInterface::getInstance().getInitParams() = Orvex::DirectInputInitParams();
}

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        engine = Orvex::OrvexEngine::getInstance();
        engine->setLoopClock([this] { return clock; },
                             [this](Orvex::u32 ms) {
                                 sleeps.push_back(ms);
                                 clock += ms / 1000.0;
                                 if (onSleep) onSleep();
                             });
        engine->setDeviceCheck([this] { return deviceUsable; });
        engine->setTickInterval(1.0 / 100.0);
        engine->setUpdateInterval(1.0 / 60.0);
        engine->setRenderInterval(1.0 / 60.0);
    }

    void TearDown() override {
        engine->setLoopClock({}, {});
        engine->setDeviceCheck({});
        engine->setTickInterval(1.0 / 100.0);
        engine->setUpdateInterval(1.0 / 60.0);
        engine->setRenderInterval(1.0 / 60.0);
    }

    // Ends the loop once the simulated clock has reached seconds.
    void stopAt(double seconds) {
        onSleep = [this, seconds] {
            if (clock >= seconds) engine->requestExit(0);
        };
    }

    Orvex::OrvexEngine* engine = nullptr;
    double clock = 1000.0;  // any start: the loop measures differences
    bool deviceUsable = true;
    std::vector<Orvex::u32> sleeps;
    std::function<void()> onSleep;
};

// Counts emissions of a signal0 while alive.
class Counter : public sigslot::has_slots<sigslot::single_threaded> {
public:
    void hit() {
        ++count;
        if (onHit) onHit(count);
    }
    int count = 0;
    std::function<void(int)> onHit;
};

}  // namespace enginetest
