// Pieces placed apart: the candidates weighed by their overlaps.
#include "game/minigames/ApartPlacer.h"

#include <algorithm>

namespace Solitaire {

float ApartPlacer::overlapArea(Orvex::FRect const& a, Orvex::FRect const& b) {
    float const w = std::min(a.right, b.right) - std::max(a.left, b.left);
    float const h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0.0f && h > 0.0f ? w * h : 0.0f;
}

float ApartPlacer::overlapWith(std::vector<Orvex::FRect> const& rects, Orvex::FRect const& rect) const {
    float sum = 0.0f;
    for (Orvex::FRect const& other : rects) sum += overlapArea(rect, other);
    return sum;
}

ApartPlacer::Place ApartPlacer::place(std::function<Place()> const& draw) {
    Place best;
    float bestPieces = 0.0f;
    float bestClear = 0.0f;
    for (int i = 0; i < kTries; ++i) {
        Place const candidate = draw();
        float const pieces = overlapWith(taken_, candidate.rect);
        float const clear = overlapWith(clear_, candidate.rect);
        if (i == 0 || pieces < bestPieces || (pieces == bestPieces && clear < bestClear)) {
            best = candidate;
            bestPieces = pieces;
            bestClear = clear;
        }
        if (pieces <= 0.0f && clear <= 0.0f) break;
    }
    taken_.push_back(best.rect);
    return best;
}

}  // namespace Solitaire
