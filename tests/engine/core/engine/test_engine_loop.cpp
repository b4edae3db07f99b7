// The main loop run headless on a simulated clock: emission counts at 60 updates and renders a
// second, catching up after a stall by halving instead of bursting, exit requests, the texture
// check, a device that cannot draw, and the frame rate falling while the picture stands still.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/core/Console.h"
#include "engine/core/MeasureManager.h"
#include "engine/core/engine/PicturePacer.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/Inputmanager.h"
#include "port/dinput/dinput_keys.h"
#include "port/win32/win32_log.h"
#include "port/win32/windows.h"
#include "tests/engine/core/engine/EngineFixture.h"

namespace {

using enginetest::Counter;
using enginetest::EngineFixture;
using Orvex::OrvexEngine;

TEST(OrvexEngineAccumulator, DueStepKeepsTheRemainderOrHalf) {
    // {accumulated, interval, due, left}: not due; just over one interval keeps the remainder;
    // far behind keeps only half; an interval of 0 is due every pass and never goes negative.
    double const cases[][4] = {{0.010, 0.0167, 0, 0.010}, {0.020, 0.015, 1, 0.005}, {10.0, 0.015, 1, 5.0}, {0, 0, 1, 0}};
    for (auto const& c : cases) {
        double acc = c[0];
        EXPECT_EQ(OrvexEngine::consumeAccumulator(acc, c[1]), c[2] != 0) << c[0];
        EXPECT_NEAR(acc, c[3], 1e-12) << c[0];
    }
}

using EngineLoopTest = EngineFixture;

TEST_F(EngineLoopTest, RunsAGivenNumberOfFramesAtSixtyPerSecond) {
    Counter ticks, updates, renders;
    engine->tickSignal.connect(&ticks, &Counter::hit);
    engine->updateSignal.connect(&updates, &Counter::hit);
    engine->renderSignal.connect(&renders, &Counter::hit);
    renders.onHit = [this](int n) {
        if (n == 120) engine->requestExit(7);
    };
    double const start = clock;

    EXPECT_EQ(engine->run(), 7);

    // 120 frames take two seconds; ticks run at their own 100 a second (rounding allows one off).
    EXPECT_NEAR(clock - start, 2.0, 0.02);
    EXPECT_EQ(renders.count, 120);
    EXPECT_NEAR(updates.count, 120, 1);
    EXPECT_NEAR(ticks.count, 200, 2);
    // The game timer advanced by the update steps' real time.
    EXPECT_NEAR(engine->getPerfTimer()->getRealDelta(), 1.0 / 60.0, 0.002);
    // No sleep is longer than the cap, and the loop never spun through empty passes.
    for (Orvex::u32 ms : sleeps) EXPECT_TRUE(ms > 0 && ms <= OrvexEngine::kMaxSleepMs) << ms;
    EXPECT_LE(sleeps.size(), 330u);
}

// With the measure switch on, each update and render step is one run of "UpdateLoop" and
// "RenderLoop"; with it off (as the game leaves it) nothing is recorded.
TEST_F(EngineLoopTest, UpdateAndRenderStepsAreMeasuredWhileTheSwitchIsOn) {
    Orvex::MeasureManager& measures = Orvex::MeasureManager::getInstance();
    for (bool on : {false, true}) {
        measures.reset();
        measures.setEnabled(on);
        Counter updates, renders;
        engine->updateSignal.connect(&updates, &Counter::hit);
        engine->renderSignal.connect(&renders, &Counter::hit);
        renders.onHit = [this](int n) {
            if (n == 10) engine->requestExit(0);
        };
        EXPECT_EQ(engine->run(), 0);
        Orvex::Measurement update, render;
        EXPECT_EQ(measures.getMeasurement(L"UpdateLoop", update), on);
        EXPECT_EQ(measures.getMeasurement(L"RenderLoop", render), on);
        if (on) {
            EXPECT_EQ(update.count, static_cast<Orvex::u64>(updates.count));
            EXPECT_EQ(render.count, 10u);
        }
    }
    measures.setEnabled(false);
    measures.reset();
}

TEST_F(EngineLoopTest, LongStallIsCaughtUpByHalvingNotByABurst) {
    Counter updates, renders;
    engine->updateSignal.connect(&updates, &Counter::hit);
    engine->renderSignal.connect(&renders, &Counter::hit);
    int updatesAtStall = -1;
    std::vector<int> updatesPerSleep;
    renders.onHit = [&](int n) {
        if (n == 30) {
            clock += 5.0;  // the render step hangs for five seconds
            updatesAtStall = updates.count;
        }
    };
    onSleep = [&] {
        updatesPerSleep.push_back(updates.count);
        if (clock >= 1000.0 + 6.0) engine->requestExit(0);
    };

    EXPECT_EQ(engine->run(), 0);

    // Ideal pacing would owe 300 updates after the stall; the halving rule emits one per pass
    // while the accumulator shrinks 5 s -> 2.5 s -> ... below 1/60 s: nine passes.
    ASSERT_GE(updatesAtStall, 29);
    int catchUp = 0;
    std::size_t i = 0;
    while (i < updatesPerSleep.size() && updatesPerSleep[i] <= updatesAtStall) ++i;
    // The passes right after the stall sleep 0 ms and emit once each.
    while (i < updatesPerSleep.size() && sleeps[i] == 0) {
        ++catchUp;
        ++i;
    }
    EXPECT_GE(catchUp, 8);
    EXPECT_LE(catchUp, 10);
    // About 90 updates in the six seconds: 1 s of normal frames on either side plus the catch-up.
    EXPECT_GE(updates.count, 60 + 8);
    EXPECT_LE(updates.count, 60 + 12);
    EXPECT_LE(renders.count, 60 + 12);
}

TEST_F(EngineLoopTest, ExitRequestedBeforeTheLoopStartsGivesMinusOne) {
    Counter updates;
    engine->updateSignal.connect(&updates, &Counter::hit);
    engine->requestExit(5);
    EXPECT_EQ(engine->getRunState(), OrvexEngine::kStopRequested);
    engine->requestExit(6);
    EXPECT_EQ(engine->getRunState(), OrvexEngine::kStopRequestedAgain);

    EXPECT_EQ(engine->run(), -1);
    EXPECT_EQ(updates.count, 0);
    EXPECT_TRUE(sleeps.empty());

    // The request was used up: the next run runs.
    stopAt(1000.5);
    EXPECT_EQ(engine->run(), 0);
    EXPECT_GT(updates.count, 25);
}

TEST_F(EngineLoopTest, FirstExitCodeWinsAndTheExitSignalCarriesIt) {
    struct ExitListener : sigslot::has_slots<sigslot::single_threaded> {
        void onExit(unsigned long const& code) { codes.push_back(code); }
        std::vector<unsigned long> codes;
    } listener;
    engine->exitSignal.connect(&listener, &ExitListener::onExit);
    Counter updates;
    engine->updateSignal.connect(&updates, &Counter::hit);
    updates.onHit = [this](int n) {
        if (n == 3) {
            engine->requestExit(3);
            engine->requestExit(9);
        }
    };
    EXPECT_EQ(engine->run(), 3);
    EXPECT_EQ(listener.codes, std::vector<unsigned long>{3u});
    EXPECT_EQ(engine->getRunState(), OrvexEngine::kRunning);
}

TEST_F(EngineLoopTest, TextureCheckOncePerSecondOfUpdates) {
    Counter checks;
    engine->textureCheckSignal.connect(&checks, &Counter::hit);
    double const ticksBefore = engine->getTextureTickCount();
    stopAt(1000.0 + 3.5);
    EXPECT_EQ(engine->run(), 0);
    EXPECT_EQ(checks.count, 3);
    EXPECT_NEAR(engine->getTextureTickCount() - ticksBefore, 3500.0, 40.0);
}

TEST_F(EngineLoopTest, NothingIsEmittedWhileTheDeviceCannotDraw) {
    Counter updates, renders;
    engine->updateSignal.connect(&updates, &Counter::hit);
    engine->renderSignal.connect(&renders, &Counter::hit);
    deviceUsable = false;
    onSleep = [&] {
        if (clock >= 1000.5) deviceUsable = true;
        if (clock >= 1001.0) engine->requestExit(0);
    };
    EXPECT_EQ(engine->run(), 0);
    // The half second without a device is caught up by halving, not frame by frame.
    EXPECT_LT(updates.count, 30 + 10);
    EXPECT_GE(updates.count, 30);
    EXPECT_EQ(sleeps.front(), OrvexEngine::kDeviceWaitMs);
}

// The pacer's rule on its own: two looks without a message between that find the same picture
// make it still; a changed picture or a message ends that.
TEST(PicturePacer, StillAfterTwoEqualLooksUntilAChangeOrAMessage) {
    using Orvex::PicturePacer;
    // {message before the look, picture, still after it}
    struct Step { bool message; std::uint64_t picture; bool still; };
    Step const steps[] = {{false, 1, false}, {false, 1, true},  {false, 1, true}, {false, 2, false},
                          {false, 2, true},  {true, 2, false},  {false, 2, true}, {true, 2, false}};
    PicturePacer pacer;
    double time = 0.0;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        if (steps[i].message) {
            pacer.onMessage();
            EXPECT_FALSE(pacer.isStill()) << i;
        }
        pacer.onLook(time, steps[i].picture);
        EXPECT_EQ(pacer.isStill(), steps[i].still) << i;
        EXPECT_EQ(pacer.interval(1.0 / 60), steps[i].still ? PicturePacer::kStillInterval : 1.0 / 60) << i;
        time += PicturePacer::kLookSeconds;
    }
    // While it changes, the picture is looked at every kLookSeconds; while still, every frame.
    PicturePacer fresh;
    EXPECT_TRUE(fresh.wantsLook(0.0));
    fresh.onLook(0.0, 7);
    EXPECT_FALSE(fresh.wantsLook(PicturePacer::kLookSeconds / 2));
    EXPECT_TRUE(fresh.wantsLook(PicturePacer::kLookSeconds));
    fresh.onLook(PicturePacer::kLookSeconds, 7);
    EXPECT_TRUE(fresh.wantsLook(PicturePacer::kLookSeconds + 0.001));
}

// Frames presented per second over fixed stretches of simulated time: sixty while the picture
// changes; once it stands still (a menu nobody touches) a handful, which is what keeps an idle
// menu under one core when each frame costs tens of milliseconds; a window message brings the
// full rate back at once.
TEST_F(EngineLoopTest, AStillPictureIsDrawnAFewTimesASecondUntilAMessageComes) {
    Counter renders;
    engine->renderSignal.connect(&renders, &Counter::hit);
    bool changing = true;
    bool asked = false;
    engine->setPictureLook([&] { asked = true; },
                           [&](std::uint64_t& out) {
                               if (!asked) return false;
                               asked = false;
                               out = changing ? static_cast<std::uint64_t>(renders.count) : 42u;
                               return true;
                           });
    // By simulated time: a changing picture for 2 s, then the same picture; a message at 8 s.
    double const start = clock;
    int at2 = -1, at4 = -1, at8 = -1;
    bool stillAt8 = false;
    onSleep = [&] {
        double const t = clock - start;
        if (t >= 2.0 && at2 < 0) {
            changing = false;
            at2 = renders.count;
        }
        if (t >= 4.0 && at4 < 0) at4 = renders.count;
        if (t >= 8.0 && at8 < 0) {
            at8 = renders.count;
            stillAt8 = engine->getPicturePacer().isStill();
            PostMessageW(nullptr, WM_USER, 0, 0);
        }
        if (t >= 8.5) engine->requestExit(0);
    };
    EXPECT_EQ(engine->run(), 0);
    engine->setPictureLook({}, {});

    EXPECT_NEAR(at2 / 2.0, 60.0, 1.0) << "frames a second while the picture changes";
    EXPECT_TRUE(stillAt8);
    double const still = (at8 - at4) / 4.0;
    EXPECT_LE(still, 1.0 / Orvex::PicturePacer::kStillInterval + 0.5) << "frames a second of the still picture";
    EXPECT_GE(still, 1.0) << "still looked at, so a change is seen";
    EXPECT_GE((renders.count - at8) / 0.5, 50.0) << "the full rate right after the message";
}

TEST_F(EngineLoopTest, QuitMessageAndExitCommandEndTheLoopWithTheirCodes) {
    Counter ticks;
    engine->tickSignal.connect(&ticks, &Counter::hit);
    ticks.onHit = [](int n) {
        if (n == 4) PostQuitMessage(12);
    };
    EXPECT_EQ(engine->run(), 12);

    // "E_Exit" without an argument ends with 0 (typed with a code: see the in-game console).
    std::wstring reply;
    ticks.onHit = [&](int n) {
        if (n == 6) reply = Orvex::Console::getInstance().execute(L"e_exit");
    };
    EXPECT_EQ(engine->run(), 0);
    EXPECT_EQ(reply, L"Programm wird beendet (Code 0)");
}

TEST_F(EngineLoopTest, TimeCommandsScaleAndPauseTheGameTime) {
    Orvex::Console& console = Orvex::Console::getInstance();
    EXPECT_EQ(console.execute(L"TIME_Factor 2"), L"Zeitfaktor: 2.000");
    Orvex::PerfTimer* timer = engine->getPerfTimer();
    double const gameBefore = timer->getGameTime();
    stopAt(1001.0);
    engine->run();
    EXPECT_NEAR(timer->getGameTime() - gameBefore, 2.0, 0.05);

    EXPECT_EQ(console.execute(L"TIME_Pause"), L"Spielzeit angehalten");
    double const pausedAt = timer->getGameTime();
    stopAt(1002.0);
    engine->run();
    EXPECT_DOUBLE_EQ(timer->getGameTime(), pausedAt);
    EXPECT_EQ(console.execute(L"TIME_Pause 0"), L"Spielzeit laeuft");
    EXPECT_FALSE(timer->isPaused());
    console.execute(L"TIME_Factor 1");
}

TEST_F(EngineLoopTest, InputOfTheStepIsReadyBeforeTheUpdateSignal) {
    Counter ticks, updates;
    engine->tickSignal.connect(&ticks, &Counter::hit);
    engine->updateSignal.connect(&updates, &Counter::hit);
    std::vector<bool> seen;
    ticks.onHit = [&](int n) {
        if (n != 3) return;
        Orvex::KeyState state;
        state.setKeyDown(DIK_F5, true);
        state.addPressed(DIK_F5);
        unsigned char const code = DIK_F5;
        Orvex::DirectInputInterface::getInstance().keyPressedSignal.emit(state, code);
    };
    updates.onHit = [&](int n) {
        seen.push_back(Orvex::Inputmanager::getInstance().wasKeyPressed(DIK_F5));
        if (n == 6) engine->requestExit(0);
    };
    EXPECT_EQ(engine->run(), 0);
    // Pressed during the third tick, seen by exactly one update step: the next one.
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 1);
}

TEST(OrvexEngineStart, PortLayerLogReachesTheEngineLog) {
    Orvex::OrvexEngine::getInstance();
    logtest::LogWatch log;
    port::logLine(port::LogLevel::Error, L"port says hello");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(Orvex::Logger::getInstance().recentLines().back(), L"ERROR port says hello");
}

}  // namespace
