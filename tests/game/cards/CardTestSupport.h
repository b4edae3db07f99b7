// Helpers of the card tests: a current card set with a known cell size, cards made and freed
// in one place, and running an interpolation until it arrives.
#pragma once

#include <limits>
#include <memory>
#include <vector>

#include "game/cards/Karte.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"

namespace cardtest {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

constexpr float kCellWidth = 10.0f;
constexpr float kCellHeight = 20.0f;

// Makes the card set with a cell of kCellWidth x kCellHeight current (other tests may have
// chosen another) and returns it.
inline Solitaire::Kartenset& cardSet() {
    static Solitaire::Kartenset* const set = [] {
        auto* made = new Solitaire::Kartenset(L"TEST_SET");
        made->cellSize = {kCellWidth, kCellHeight};
        Solitaire::StyleSettings::instance().addKartenset(made);
        // The creation reference stays here, so clearing the style settings cannot free it.
        return made;
    }();
    Solitaire::StyleSettings::instance().setKartenset(set);
    return *set;
}

struct CardRelease {
    void operator()(Solitaire::Karte* card) const { card->release(); }
};
using CardPtr = std::unique_ptr<Solitaire::Karte, CardRelease>;

inline CardPtr makeCard(int value = 0, int suit = 0, int index = 0) {
    cardSet();
    return CardPtr(new Solitaire::Karte(value, suit, 0, index));
}

inline std::vector<CardPtr> makeCards(int count) {
    std::vector<CardPtr> cards;
    for (int i = 0; i < count; ++i) cards.push_back(makeCard(i % 13, (i / 13) % 4, i));
    return cards;
}

// Seconds of frames of dt until t reaches 1 (or limit seconds).
template <class Interp>
float secondsToArrive(Interp& interp, float dt = 0.001f, float limit = 100.0f) {
    float elapsed = 0.0f;
    while (interp.t < 1.0f && elapsed < limit) {
        interp.update(dt);
        elapsed += dt;
    }
    return elapsed;
}

// Frames of dt until the interpolation reaches its goal once; a swing that restarts itself at its
// goal stops there with its next goal set.
template <class Interp>
void arriveOnce(Interp& interp, float dt = 0.001f, int frames = 100000) {
    struct Watch : sigslot::has_slots<> {
        bool reached = false;
        void onGoal(Interp&) { reached = true; }
    } watch;
    interp.goalReachedSignal.connect(&watch, &Watch::onGoal);
    for (int i = 0; i < frames && !watch.reached; ++i) interp.update(dt);
}

}  // namespace cardtest
