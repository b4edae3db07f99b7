// Named time measurements for profiling ("UpdateLoop", "RenderLoop", ...), behind one
// process-wide switch that is off at start: while it is off, starting and stopping do nothing.
// Each measurement sums its time and counts its runs; a measurement started again before it was
// stopped restarts. Single-instance, guarded by a mutex so other threads may measure too.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

#include "engine/core/Types.h"

namespace Orvex {

struct Measurement {
    double totalSeconds = 0.0;  // summed over the finished runs
    double lastSeconds = 0.0;
    double maxSeconds = 0.0;
    u64 count = 0;  // finished runs
    bool running = false;
    std::chrono::steady_clock::time_point startedAt{};
};

class MeasureManager {
public:
    static MeasureManager& getInstance();

    // The switch. Turning it off abandons measurements that are running.
    void setEnabled(bool enabled);
    bool isEnabled() const;

    void start(std::wstring const& name);
    // Ends the named run and adds its time; nothing when it was not started.
    void stop(std::wstring const& name);

    // A copy of the named measurement; false when there is none.
    bool getMeasurement(std::wstring const& name, Measurement& out) const;
    // One line per measurement: name, runs, total, average and longest run in milliseconds.
    std::wstring report() const;
    // Forgets every measurement (the switch keeps its state).
    void reset();

    MeasureManager(MeasureManager const&) = delete;
    MeasureManager& operator=(MeasureManager const&) = delete;

private:
    MeasureManager() = default;

    mutable std::mutex mutex_;
    bool enabled_ = false;
    std::map<std::wstring, Measurement> measurements_;
};

// Measures the enclosing scope under a name. The decision is taken at construction: a scope
// entered while the switch was off is not measured even if the switch turns on inside it.
class ScopedMeasure {
public:
    explicit ScopedMeasure(std::wstring name);
    ~ScopedMeasure();

    ScopedMeasure(ScopedMeasure const&) = delete;
    ScopedMeasure& operator=(ScopedMeasure const&) = delete;

private:
    std::wstring name_;
    bool active_ = false;
};

}  // namespace Orvex
