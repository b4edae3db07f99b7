// A search of a labyrinth's board for pushes that open the route from the start to the goal, for
// tests that then play the pushes found by clicks. The search pushes and turns on the model and
// undoes each push by the push from the opposite side, so the board is as it was when it returns.
#pragma once

#include <vector>

#include "game/minigames/Labyrinth.h"

namespace labyrinthtest {

// One move of a solution: quarter turns of the spare (clockwise), then a push at the ring cell.
struct Move {
    int turns;
    Solitaire::Labyrinth::Cell at;
};

inline Solitaire::Labyrinth::Cell opposite(Solitaire::Labyrinth const& lab, Solitaire::Labyrinth::Cell c) {
    if (c.x == 0) return {lab.getColumns() + 1, c.y};
    if (c.x == lab.getColumns() + 1) return {0, c.y};
    if (c.y == 0) return {c.x, lab.getRows() + 1};
    return {c.x, 0};
}

// Depth-first search for pushes that open the route, at most depth of them.
inline bool search(Solitaire::Labyrinth& lab, int depth, std::vector<Move>& moves) {
    if (lab.isReachable(lab.getStart(), lab.getGoal())) return true;
    if (depth == 0) return false;
    for (int turns = 0; turns < 4; ++turns) {
        for (int e = 0; e < lab.ringLength(); ++e) {
            Solitaire::Labyrinth::Cell const at = lab.entranceToCell(e);
            lab.shift(at.x, at.y, 0.0f);
            moves.push_back({turns, at});
            bool const found = search(lab, depth - 1, moves);
            Solitaire::Labyrinth::Cell const back = opposite(lab, at);
            lab.shift(back.x, back.y, 0.0f);
            if (found) {
                // The spare turned back as it was, so the push before this one undoes exactly.
                for (int k = turns; k % 4 != 0; ++k) lab.getSpareTile()->rotate(true, 0.0f);
                return true;
            }
            moves.pop_back();
        }
        lab.getSpareTile()->rotate(true, 0.0f);
    }
    return false;
}

// The fewest pushes (up to most) that open the route; false when none is found.
inline bool findPushes(Solitaire::Labyrinth& lab, int most, std::vector<Move>& moves) {
    for (int depth = 1; depth <= most; ++depth) {
        moves.clear();
        if (search(lab, depth, moves)) return true;
    }
    return false;
}

}  // namespace labyrinthtest
