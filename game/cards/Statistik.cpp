// Counting into one statistics set.
#include "game/cards/Statistik.h"

#include <cmath>

#include "game/cards/StatistikNumbers.h"

namespace Solitaire {

Statistik::Statistik(std::wstring const& name) : NamedObject(name) {}

Statistik::Statistik(Orvex::XMLNode& node) : NamedObject(node) { readCounters(node); }

void Statistik::reset() {
    counters_.fill(0);
    time_ = 0.0;
    maxFactor_ = 1.0f;
}

void Statistik::add(StatistikCounter counter, Orvex::u32 amount) {
    Orvex::u32& value = counters_[static_cast<int>(counter)];
    value = saturatingAdd(value, amount);
}

void Statistik::addTime(double seconds) {
    if (std::isfinite(seconds) && seconds > 0.0 && std::isfinite(time_ + seconds)) time_ += seconds;
}

void Statistik::updateMaxCombo(Orvex::u32 combo) {
    Orvex::u32& value = counters_[static_cast<int>(StatistikCounter::MaxCombo)];
    if (combo > value) value = combo;
}

void Statistik::updateMaxFactor(float factor) {
    if (std::isfinite(factor) && factor > maxFactor_) maxFactor_ = factor;
}

}  // namespace Solitaire
