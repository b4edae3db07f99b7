// One named set of play counters (clicks, moves, undos, play time, combos ...), saved in
// profiles, per-variant data and highscore entries as an element "STATISTIK" whose attributes
// are "NAME" and the counter keys below. Several sets count at once through StatistikManager.
//
// Counters never wrap: a count at the top of the 32-bit range stays there. Play time is kept
// in double seconds, as a float total stops growing by a frame's 1/60 s after about 145 hours.
// A broken attribute (not a number, more than 32 bits, negative, nan or inf) keeps the counter
// it had and gives one log line per element.
//
// Statistik.cpp: counting; Statistik_xml.cpp: reading and writing the element.
#pragma once

#include <array>
#include <string>

#include "engine/core/NamedObject.h"
#include "engine/core/XMLShape.h"
#include "engine/core/Types.h"

namespace Orvex {
class ReadProblems;
}

namespace Solitaire {

// The 32-bit counters, in the order the element writes them.
enum class StatistikCounter : int {
    MouseDistance,       // "MOUSE_KM": pixels the pointer travelled (the key's name is older than the unit)
    Clicks,              // "CLICK"
    DoubleClicks,        // "DBL_CLICK"
    FailedDoubleClicks,  // "FAIL_DBL_CLICK"
    Started,             // "STARTED"
    Won,                 // "WON"
    Ended,               // "END" (ended without a win)
    Undos,               // "UNDOS"
    Hints,               // "TIPPS"
    Moved,               // "MOVED"
    Mixes,               // "MIX"
    MaxCombo,            // "MAX_COMBO"
    Combos,              // "ANZ_COMBOS"
    ComboSteps,          // "COMBOS"
    Count
};

// The pointer's travel in metres: its pixels at a nominal screen density of 96 pixels per inch,
// the one desktops assume, as the player's screen is not known.
constexpr double kPointerPixelsPerInch = 96.0;
constexpr double kMetresPerInch = 0.0254;
constexpr double pointerTravelMetres(Orvex::u32 pixels) {
    return static_cast<double>(pixels) * (kMetresPerInch / kPointerPixelsPerInch);
}

class Statistik : public Orvex::NamedObject {
public:
    static constexpr int kCounterCount = static_cast<int>(StatistikCounter::Count);
    static constexpr wchar_t const* kElementName = L"STATISTIK";
    static constexpr wchar_t const* kTimeKey = L"TIME";
    // The attribute key of a counter.
    static wchar_t const* counterKey(StatistikCounter counter);
    // What the element holds: "NAME", the counters and "TIME".
    static Orvex::XMLShape const kShape;
    // The same, where the game writes the set anew from what it read (a profile's live statistics):
    // every counter, "TIME" and a name the game gives a set (at most kMaxGivenName characters) are
    // charged as written.
    static Orvex::XMLShape const kWrittenShape;
    static constexpr std::size_t kMaxGivenName = 16;

    // All counters 0, the largest factor 1.
    explicit Statistik(std::wstring const& name);
    // As above, then readXML.
    explicit Statistik(Orvex::XMLNode& node);

    // "NAME", then every counter present in the node (see the top of this file).
    void readXML(Orvex::XMLNode& node) override;
    // The counters alone: the name stays. Counters that do not read keep their values and are
    // named in one log line, or join problems when given (a file's one line for all its sets).
    void readCounters(Orvex::XMLNode const& node, Orvex::ReadProblems* problems = nullptr);
    // "NAME", the counters up to "UNDOS", "TIME", then the rest; the largest factor is not saved.
    void writeXML(Orvex::XMLNode& node) const override;

    void reset();

    Orvex::u32 get(StatistikCounter counter) const { return counters_[static_cast<int>(counter)]; }
    double getTime() const { return time_; }
    float getMaxFactor() const { return maxFactor_; }

    // The counting operations; StatistikManager applies each to every active set.
    void addMouseDistance(Orvex::u32 distance) { add(StatistikCounter::MouseDistance, distance); }
    void countClick() { add(StatistikCounter::Clicks, 1); }
    void countDoubleClick() { add(StatistikCounter::DoubleClicks, 1); }
    void countFailedDoubleClick() { add(StatistikCounter::FailedDoubleClicks, 1); }
    void countStarted() { add(StatistikCounter::Started, 1); }
    void countWon() { add(StatistikCounter::Won, 1); }
    void countEnded() { add(StatistikCounter::Ended, 1); }
    void addUndos(Orvex::u32 steps) { add(StatistikCounter::Undos, steps); }
    // Steps that are negative, nan or inf count nothing.
    void addTime(double seconds);
    void countHint() { add(StatistikCounter::Hints, 1); }
    void countMix() { add(StatistikCounter::Mixes, 1); }
    void addMoved(Orvex::u32 cards) { add(StatistikCounter::Moved, cards); }
    void countCombo() { add(StatistikCounter::Combos, 1); }
    void updateMaxCombo(Orvex::u32 combo);
    void countComboStep() { add(StatistikCounter::ComboSteps, 1); }
    void updateMaxFactor(float factor);

private:
    void add(StatistikCounter counter, Orvex::u32 amount);

    std::array<Orvex::u32, kCounterCount> counters_{};
    double time_ = 0.0;
    float maxFactor_ = 1.0f;
};

}  // namespace Solitaire
