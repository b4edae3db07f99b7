// Named time measurements and their switch.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/core/MeasureManager.h"

using namespace Orvex;

namespace {

class MeasureTest : public ::testing::Test {
protected:
    void SetUp() override { manager().reset(); }
    void TearDown() override {
        manager().setEnabled(false);
        manager().reset();
    }
    static MeasureManager& manager() { return MeasureManager::getInstance(); }
    static void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }
};

}  // namespace

TEST_F(MeasureTest, OffAtStartAndDoesNothingWhileOff) {
    EXPECT_FALSE(manager().isEnabled());
    manager().start(L"UpdateLoop");
    manager().stop(L"UpdateLoop");
    { ScopedMeasure scope(L"RenderLoop"); }
    Measurement m;
    EXPECT_FALSE(manager().getMeasurement(L"UpdateLoop", m));
    EXPECT_FALSE(manager().getMeasurement(L"RenderLoop", m));
    EXPECT_EQ(manager().report(), L"");

    {
        ScopedMeasure scope(L"Late");
        manager().setEnabled(true);  // switched on inside: this scope still is not measured
    }
    EXPECT_FALSE(manager().getMeasurement(L"Late", m));
}

TEST_F(MeasureTest, SumsRunsWhileOnAndIgnoresStopsWithoutAStart) {
    manager().setEnabled(true);
    for (int i = 0; i < 3; ++i) {
        ScopedMeasure scope(L"UpdateLoop");
        pause();
    }
    manager().stop(L"UpdateLoop");  // no run to end
    manager().stop(L"Never");
    Measurement m;
    EXPECT_FALSE(manager().getMeasurement(L"Never", m));
    ASSERT_TRUE(manager().getMeasurement(L"UpdateLoop", m));
    EXPECT_EQ(m.count, 3u);
    EXPECT_FALSE(m.running);
    EXPECT_GE(m.totalSeconds, 0.006);
    EXPECT_GE(m.maxSeconds, m.lastSeconds);
    EXPECT_LE(m.maxSeconds, m.totalSeconds);
    EXPECT_NE(manager().report().find(L"UpdateLoop: 3 x"), std::wstring::npos);
}

TEST_F(MeasureTest, SwitchingOffAbandonsRunningMeasurements) {
    manager().setEnabled(true);
    manager().start(L"Loop");
    manager().setEnabled(false);
    pause();
    manager().setEnabled(true);
    manager().stop(L"Loop");  // the run was abandoned: the gap is not counted
    Measurement m;
    ASSERT_TRUE(manager().getMeasurement(L"Loop", m));
    EXPECT_EQ(m.count, 0u);
    EXPECT_EQ(m.totalSeconds, 0.0);
}
