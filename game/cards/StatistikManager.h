// The registry of the statistics sets that count at the moment: the profile-wide set "DEFAULT"
// always, and while a game runs the game's set "STATS" and the variant's set. Every count goes
// to all active sets; no two active sets share a name.
//
// References: the registry holds one reference of each set in it and releases it when the set
// leaves. create gives a set only the registry holds (add a reference to keep it longer); add
// takes its own reference, so a caller keeps the one it had, and adding a set that is already
// active (or stands under the same name) can never free it on the way.
//
// The profile-wide set stays "DEFAULT" and stays in the registry until resetProfileStatistik
// replaces it: create, add and remove refuse its name (a profile node naming its set "STATS"
// would otherwise let the next game's create free the set the registry still points at).
//
// Profile node: the profile's "STATISTIK" element holds the set as a child "STATISTIK".
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "game/cards/Statistik.h"

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

class StatistikManager {
public:
    static constexpr wchar_t const* kProfileSetName = L"DEFAULT";

    // Made on first use, destroyed at exit. Tests and tools may make registries of their own.
    static StatistikManager& instance();
    StatistikManager();
    ~StatistikManager();
    StatistikManager(StatistikManager const&) = delete;
    StatistikManager& operator=(StatistikManager const&) = delete;

    // Removes the active set of that name and appends a new zeroed one; null (one log line) for
    // the profile-wide name.
    Statistik* create(std::wstring const& name);
    // Takes a reference of the set, removes the active set of its name and appends it. False
    // (nothing changed, one log line) for null or a set named like the profile-wide set.
    bool add(Statistik* set);
    // Takes every active set of that name out and releases it; the profile-wide set stays.
    void remove(std::wstring const& name);
    // The active set of that name, or null. Adds no reference.
    Statistik* find(std::wstring const& name) const;
    std::vector<Statistik*> const& getActive() const { return active_; }

    // Counting into every active set.
    void addMouseDistance(Orvex::u32 distance);
    void countClick();
    void countDoubleClick();
    void countFailedDoubleClick();
    void countStarted();
    void countWon();
    void countEnded();
    void addUndos(Orvex::u32 steps);
    void addTime(double seconds);
    void countHint();
    void countMix();
    void addMoved(Orvex::u32 cards);
    void countCombo();
    void updateMaxCombo(Orvex::u32 combo);
    void countComboStep();
    void updateMaxFactor(float factor);

    // Releases every active set and starts over with a new empty profile-wide set.
    void resetProfileStatistik();
    // Reads the counters of the node's first child "STATISTIK" into the profile-wide set (its
    // name stays "DEFAULT"); without one the set stays as it is.
    void readProfileStatistik(Orvex::XMLNode& node);
    // Writes the profile-wide set as the node's child "STATISTIK", replacing earlier ones, so
    // writing the same node twice leaves one set to read back.
    void writeProfileStatistik(Orvex::XMLNode& node);
    // What writeProfileStatistik writes of what the node of the two above holds (one child
    // "STATISTIK"): the set written anew whether the node held it or not.
    static Orvex::XMLShape const kWrittenProfileShape;
    Statistik* getProfileStatistik() const { return profile_; }

private:
    template <class F>
    void forEach(F&& f) {
        for (Statistik* set : active_) f(*set);
    }
    // Takes out and releases the active sets of that name other than the profile-wide set.
    void drop(std::wstring const& name);
    bool isProfileName(std::wstring const& name) const;

    std::vector<Statistik*> active_;
    Statistik* profile_ = nullptr;
};

}  // namespace Solitaire
