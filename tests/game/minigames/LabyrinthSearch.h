// A search for pushes that open the labyrinth's route from the start to the goal, for tests that
// then play the pushes found by clicks. It reads the board as the player sees it (every tile's
// openings, the spare's, the markers' entrances) into a small model of its own and searches
// there, breadth first, so the game is not touched and the fewest pushes are found.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "game/minigames/Labyrinth.h"

namespace labyrinthtest {

// One move of a solution: quarter turns of the spare (clockwise), then a push at the ring cell.
struct Move {
    int turns;
    Solitaire::Labyrinth::Cell at;
};

// The board as openings, one bit a side (1 up, 2 right, 4 down, 8 left); -1 where no tile lies.
class Board {
public:
    explicit Board(Solitaire::Labyrinth const& lab)
        : columns_(lab.getColumns()), rows_(lab.getRows()), start_(lab.getStart()), goal_(lab.getGoal()) {
        cells_.assign(static_cast<std::size_t>((columns_ + 2) * (rows_ + 2)), -1);
        for (int x = 0; x <= columns_ + 1; ++x)
            for (int y = 0; y <= rows_ + 1; ++y)
                if (Solitaire::Labyrinth::Tile const* tile = lab.tileAt(x, y)) at(x, y) = mask(*tile);
        spare_ = lab.getSpareTile() ? mask(*lab.getSpareTile()) : 0;
    }

    // A clockwise quarter turn: up becomes right, right down, down left, left up.
    static int turned(int m) { return ((m << 1) | (m >> 3)) & 15; }

    // The spare pushed in at the ring cell (x, y); the tile at the far end becomes the spare.
    void push(int x, int y) {
        int const spare = spare_;
        if (x == 0 || x == columns_ + 1) {
            bool const right = x == 0;
            int const far = right ? columns_ : 1;
            spare_ = at(far, y);
            for (int i = far; i != (right ? 1 : columns_); i += right ? -1 : 1) at(i, y) = at(i + (right ? -1 : 1), y);
            at(right ? 1 : columns_, y) = spare;
        } else {
            bool const down = y == 0;
            int const far = down ? rows_ : 1;
            spare_ = at(x, far);
            for (int j = far; j != (down ? 1 : rows_); j += down ? -1 : 1) at(x, j) = at(x, j + (down ? -1 : 1));
            at(x, down ? 1 : rows_) = spare;
        }
    }

    // Whether facing openings lead from the start's entrance to the goal's.
    bool open() const {
        std::vector<bool> seen(cells_.size(), false);
        std::vector<Solitaire::Labyrinth::Cell> waiting{start_};
        seen[index(start_.x, start_.y)] = true;
        while (!waiting.empty()) {
            Solitaire::Labyrinth::Cell const c = waiting.back();
            waiting.pop_back();
            if (c == goal_) return true;
            int const here = at(c.x, c.y);
            // Right, left, down, up: the side left here and the side entered there.
            int const sides[4][4] = {{1, 0, 2, 8}, {-1, 0, 8, 2}, {0, 1, 4, 1}, {0, -1, 1, 4}};
            for (auto const& s : sides) {
                int const nx = c.x + s[0];
                int const ny = c.y + s[1];
                if (nx < 0 || ny < 0 || nx > columns_ + 1 || ny > rows_ + 1 || seen[index(nx, ny)]) continue;
                int const there = at(nx, ny);
                if (here < 0 || there < 0 || !(here & s[2]) || !(there & s[3])) continue;
                seen[index(nx, ny)] = true;
                waiting.push_back({nx, ny});
            }
        }
        return false;
    }

    // The board and the spare in one number (the spare in its least turn), for the search.
    std::uint64_t key() const {
        int least = spare_;
        for (int m = turned(spare_); m != spare_; m = turned(m)) least = std::min(least, m);
        std::uint64_t k = static_cast<std::uint64_t>(least);
        for (int x = 1; x <= columns_; ++x)
            for (int y = 1; y <= rows_; ++y) k = k * 16u + static_cast<std::uint64_t>(at(x, y));
        return k;
    }

    int& spare() { return spare_; }

private:
    static int mask(Solitaire::Labyrinth::Tile const& tile) {
        int m = 0;
        for (int side = 0; side < 4; ++side) m |= tile.open[static_cast<std::size_t>(side)] ? 1 << side : 0;
        return m;
    }
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(x * (rows_ + 2) + y); }
    int& at(int x, int y) { return cells_[index(x, y)]; }
    int at(int x, int y) const { return cells_[index(x, y)]; }

    int columns_;
    int rows_;
    Solitaire::Labyrinth::Cell start_;
    Solitaire::Labyrinth::Cell goal_;
    std::vector<int> cells_;
    int spare_ = 0;
};

// The fewest moves (up to most pushes) that open the route; false when none is found. A board
// of more than 15 cells is not searched (its key would not fit).
inline bool findPushes(Solitaire::Labyrinth const& lab, int most, std::vector<Move>& moves) {
    moves.clear();
    if (lab.getColumns() * lab.getRows() > 15) return false;
    struct Node {
        Board board;
        std::vector<Move> moves;
    };
    std::vector<Node> level{{Board(lab), {}}};
    if (level.front().board.open()) return true;
    std::unordered_set<std::uint64_t> seen{level.front().board.key()};
    for (int depth = 1; depth <= most && !level.empty(); ++depth) {
        std::vector<Node> next;
        for (Node const& node : level)
            for (int turns = 0; turns < 4; ++turns)
                for (int e = 0; e < lab.ringLength(); ++e) {
                    Node child = node;
                    for (int k = 0; k < turns; ++k) child.board.spare() = Board::turned(child.board.spare());
                    Solitaire::Labyrinth::Cell const at = lab.entranceToCell(e);
                    child.board.push(at.x, at.y);
                    child.moves.push_back({turns, at});
                    if (child.board.open()) {
                        moves = child.moves;
                        return true;
                    }
                    if (seen.insert(child.board.key()).second) next.push_back(std::move(child));
                }
        level = std::move(next);
    }
    return false;
}

}  // namespace labyrinthtest
