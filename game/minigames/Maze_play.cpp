// The maze's clicks: rooms added to, or cut from, the path; the straight walk toward a clicked
// cell; the win test after every accepted click.
#include <cmath>
#include <cstdlib>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/Maze.h"

namespace Solitaire {

Maze::Raum* Maze::pathEnd() const { return path_.empty() ? startRoom_ : path_.back(); }

void Maze::extend(Raum* room) {
    room->onPath = true;
    path_.push_back(room);
}

void Maze::cutPathTo(Raum* room) {
    while (!path_.empty() && path_.back() != room) {
        path_.back()->onPath = false;
        path_.pop_back();
    }
}

void Maze::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    if (button != Orvex::OMB_LEFT || solved || !field_) return;
    Orvex::FRect const f = field_->getScreenRect();
    if (!(f.right - f.left >= 1.0f) || !(f.bottom - f.top >= 1.0f)) return;
    if (Orvex::GUISystem::instance().getActiveWindow() != field_) return;
    D3DXVECTOR2 const point(state.x, state.y);
    Raum* const end = pathEnd();
    if (!clickRooms(point, end) && end) walkToward(point, end);
    testWin();
}

bool Maze::clickRooms(D3DXVECTOR2 const& point, Raum* end) {
    bool hit = false;
    for (Raum* room : rooms_) {
        if (!room->containsPoint(point)) continue;
        if (room->onPath && room != end) {
            cutPathTo(room);
            hit = true;
        } else if (room->onPath) {
            room->onPath = false;
            std::erase(path_, room);
            hit = true;
        } else if (room->isOpenTo(end) && !room->isStart && !room->isGoal) {
            extend(room);
            hit = true;
        }
    }
    return hit;
}

void Maze::walkToward(D3DXVECTOR2 const& point, Raum* end) {
    Orvex::FRect const f = field_->getScreenRect();
    float const fx = (point.x - f.left) / (f.right - f.left);
    float const fy = (point.y - f.top) / (f.bottom - f.top);
    if (!(fx > 0.0f && fx < 1.0f && fy > 0.0f && fy < 1.0f)) return;
    // Rooms and the clicked cell in whole cells: the grid's sides are whole numbers.
    int const column = static_cast<int>(std::trunc(gridSize_.x * fx));
    int const row = static_cast<int>(std::trunc(gridSize_.y * fy));
    int const dx = column - end->column;
    int const dy = row - end->row;
    if (dx == 0 && dy == 0) return;
    bool const sideways = std::abs(dx) > std::abs(dy);
    std::size_t const side = sideways ? (dx > 0 ? kRight : kLeft) : (dy > 0 ? kDown : kUp);
    // Every room walked into joins the path, so the walk cannot come back to one: it ends.
    for (Raum* from = end; side < from->sides.size();) {
        Durchgang const& way = from->sides[side];
        Raum* next = way.neighbour;
        if (!next || !way.open || next->onPath || next->isStart || next->isGoal) return;
        extend(next);
        if (sideways ? next->column == column : next->row == row) return;
        from = next;
    }
}

void Maze::testWin() {
    Raum const* last = pathEnd();
    if (!last) return;
    bool won = false;
    if (fast_) {
        if (goalRoom_) {
            std::uint64_t const steps = path_.size();
            std::uint32_t const before = goalRoom_->distance - 1u;
            won = (last->isOpenTo(goalRoom_) && steps == before) || (last == goalRoom_ && steps == goalRoom_->distance);
        }
    } else {
        won = last->findOpenGoalNeighbour() || last->isGoal;
    }
    if (won) setSolved();
}

}  // namespace Solitaire
