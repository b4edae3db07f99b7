// Where the pieces of a game start: one after another, each apart from those placed before it, so
// that a player sees every piece and can take each. The caller draws candidate places with its
// own random draw; of up to kTries candidates the first that overlaps no piece placed before and
// no kept-clear place (the spots the pieces go to, a board) is taken. When none of them is free,
// the candidate that overlaps the pieces least wins, and among equal ones the one that overlaps the
// kept-clear places least: a piece may lie over a place, but not over another piece, while room
// allows.
//
// Rectangles are in any one unit the caller chooses (screen pixels, fractions of a field); a
// place is the value the caller keeps (a position) with the rectangle it gives.
#pragma once

#include <functional>
#include <vector>

#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class ApartPlacer {
public:
    // Candidates drawn for one piece at most.
    static constexpr int kTries = 64;

    struct Place {
        D3DXVECTOR2 at{0.0f, 0.0f};
        Orvex::FRect rect;
    };

    // The width x height of the two rectangles' overlap, 0 when they do not overlap.
    static float overlapArea(Orvex::FRect const& a, Orvex::FRect const& b);

    // A spot no piece should cover.
    void keepClear(Orvex::FRect const& rect) { clear_.push_back(rect); }
    // A piece already lying there (placed by other means).
    void take(Orvex::FRect const& rect) { taken_.push_back(rect); }
    // The chosen one of the candidates `draw` gives; its rectangle counts as taken from now on.
    Place place(std::function<Place()> const& draw);

private:
    float overlapWith(std::vector<Orvex::FRect> const& rects, Orvex::FRect const& rect) const;

    std::vector<Orvex::FRect> taken_;
    std::vector<Orvex::FRect> clear_;
};

}  // namespace Solitaire
