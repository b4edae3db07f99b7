// Named time measurements behind the process-wide switch.
#include "engine/core/MeasureManager.h"

#include <cstdio>
#include <utility>

namespace Orvex {

MeasureManager& MeasureManager::getInstance() {
    static MeasureManager instance;
    return instance;
}

void MeasureManager::setEnabled(bool enabled) {
    std::lock_guard<std::mutex> lock(mutex_);
    enabled_ = enabled;
    if (!enabled) {
        // A run that straddles an off period would count the whole gap.
        for (auto& entry : measurements_) entry.second.running = false;
    }
}

bool MeasureManager::isEnabled() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return enabled_;
}

void MeasureManager::start(std::wstring const& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!enabled_) return;
    Measurement& m = measurements_[name];
    m.running = true;
    m.startedAt = std::chrono::steady_clock::now();
}

void MeasureManager::stop(std::wstring const& name) {
    auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!enabled_) return;
    auto it = measurements_.find(name);
    if (it == measurements_.end() || !it->second.running) return;
    Measurement& m = it->second;
    double seconds = std::chrono::duration<double>(now - m.startedAt).count();
    m.running = false;
    m.lastSeconds = seconds;
    m.totalSeconds += seconds;
    if (seconds > m.maxSeconds) m.maxSeconds = seconds;
    ++m.count;
}

bool MeasureManager::getMeasurement(std::wstring const& name, Measurement& out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = measurements_.find(name);
    if (it == measurements_.end()) return false;
    out = it->second;
    return true;
}

std::wstring MeasureManager::report() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::wstring text;
    for (auto const& [name, m] : measurements_) {
        double average = m.count ? m.totalSeconds / static_cast<double>(m.count) : 0.0;
        wchar_t line[160];
        std::swprintf(line, sizeof line / sizeof line[0], L": %llu x, %.3f ms, avg %.3f ms, max %.3f ms\n",
                      static_cast<unsigned long long>(m.count), m.totalSeconds * 1000.0, average * 1000.0,
                      m.maxSeconds * 1000.0);
        text += name;
        text += line;
    }
    return text;
}

void MeasureManager::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    measurements_.clear();
}

ScopedMeasure::ScopedMeasure(std::wstring name) : name_(std::move(name)) {
    MeasureManager& manager = MeasureManager::getInstance();
    active_ = manager.isEnabled();
    if (active_) manager.start(name_);
}

ScopedMeasure::~ScopedMeasure() {
    if (active_) MeasureManager::getInstance().stop(name_);
}

}  // namespace Orvex
