// The maze's rooms: the prototype from "RAUM", the rooms and their links built from the mask, and
// the generation of a maze over them at every start (groups merged through random walls into a
// spanning tree of each part of the mask, extra passages, distances from the start, the goal).
#include <algorithm>
#include <cmath>
#include <deque>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/Maze.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// An AARRGGBB word as four floats.
D3DXCOLOR colourOfWord(Orvex::u32 v) {
    return D3DXCOLOR(static_cast<float>((v >> 16) & 255u) / 255.0f, static_cast<float>((v >> 8) & 255u) / 255.0f,
                     static_cast<float>(v & 255u) / 255.0f, static_cast<float>((v >> 24) & 255u) / 255.0f);
}

void readColour(Orvex::XMLNode const& node, wchar_t const* key, D3DXCOLOR& colour) {
    if (node.getAttribute(key)) colour = colourOfWord(node.getAttributeHex(key, 0));
}


std::size_t randomIndexBelow(std::size_t count) { return static_cast<std::size_t>(msvc::rand()) % count; }

// The sides of the room that lead to a room, are closed and (when group is given) lead out of it.
std::vector<std::size_t> closedSides(Maze::Raum const& room, Maze::RaumGruppe const* group) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < room.sides.size(); ++i) {
        Maze::Durchgang const& side = room.sides[i];
        if (side.neighbour && !side.open && (!group || side.neighbour->group != group)) out.push_back(i);
    }
    return out;
}

bool leadsOut(Maze::Raum const* room, Maze::RaumGruppe const* group) {
    for (Maze::Durchgang const& side : room->sides)
        if (side.neighbour && !side.open && side.neighbour->group != group) return true;
    return false;
}

}  // namespace

// ---- rooms ----

Maze::Raum::Raum(Orvex::XMLNode& node, Maze* game) : owner(game) {
    minigame::readCount(node, L"EDGES", edgeCount, 0, kMaxEdges);
    readColour(node, L"START_COLOR", startColor);
    readColour(node, L"ZIEL_COLOR", goalColor);
    readColour(node, L"MARK_COLOR", markColor);
    sides.assign(static_cast<std::size_t>(edgeCount), Durchgang());
    sideImages.resize(2 * static_cast<std::size_t>(edgeCount));
    if (Orvex::XMLNode* pictures = node.getChild(L"ANIMATION")) {
        std::vector<std::wstring> const names = minigame::valueTexts(*pictures);
        for (std::size_t k = 0; k < names.size() && k < sideImages.size(); ++k)
            sideImages[k].adopt(minigame::animationCopy(names[k]));
        backgroundImage.adopt(minigame::animationCopy(*pictures, L"BACKGROUND"));
        startImage.adopt(minigame::animationCopy(*pictures, L"START"));
        goalImage.adopt(minigame::animationCopy(*pictures, L"ZIEL"));
        markImage.adopt(minigame::animationCopy(*pictures, L"MARK"));
    }
    minigame::readNumber(node, L"DELTA", delta);
    minigame::readNumber(node, L"LENGTH", length);
}

Maze::Raum::Raum(Raum const& prototype, int columnIndex, int rowIndex, D3DXVECTOR2 const& corner)
    : name(std::to_wstring(columnIndex) + L" " + std::to_wstring(rowIndex)),
      position(corner),
      column(columnIndex),
      row(rowIndex),
      sides(prototype.sides.size()),
      startImage(minigame::ownCopy(prototype.startImage.get())),
      goalImage(minigame::ownCopy(prototype.goalImage.get())),
      backgroundImage(minigame::ownCopy(prototype.backgroundImage.get())),
      markImage(minigame::ownCopy(prototype.markImage.get())),
      edgeCount(prototype.edgeCount),
      delta(prototype.delta),
      length(prototype.length),
      owner(prototype.owner),
      markColor(prototype.markColor),
      startColor(prototype.startColor),
      goalColor(prototype.goalColor) {
    sideImages.reserve(prototype.sideImages.size());
    for (Orvex::CountedRef<Orvex::Texture2DAnimation> const& picture : prototype.sideImages)
        sideImages.push_back(minigame::ownCopy(picture.get()));
}

Maze::Raum::~Raum() = default;

void Maze::Raum::setNeighbour(Raum* other, int index, bool mirror) {
    if (index < 0 || static_cast<std::size_t>(index) >= sides.size()) return;
    sides[static_cast<std::size_t>(index)].neighbour = other;
    if (mirror && other) other->setNeighbour(this, (edgeCount / 2 + index) % edgeCount, false);
}

void Maze::Raum::openTo(Raum* other, bool mirror) {
    if (!other) return;
    for (Durchgang& side : sides)
        if (side.neighbour == other) side.open = true;
    if (mirror) other->openTo(this, false);
}

bool Maze::Raum::isOpenTo(Raum const* other) const {
    if (!other) return false;
    for (Durchgang const& side : sides)
        if (side.neighbour == other) return side.open;
    return false;
}

Maze::Raum* Maze::Raum::findOpenGoalNeighbour() const {
    for (Durchgang const& side : sides)
        if (side.neighbour && side.neighbour->isGoal && side.open) return side.neighbour;
    return nullptr;
}

int Maze::Raum::closedLinkedSides() const {
    int count = 0;
    for (Durchgang const& side : sides) count += side.neighbour && !side.open ? 1 : 0;
    return count;
}

// ---- building ----

void Maze::destroyRooms() {
    for (Raum* room : rooms_) delete room;
    rooms_.clear();
    path_.clear();
    startRoom_ = nullptr;
    goalRoom_ = nullptr;
}

void Maze::destroyGroups() {
    for (RaumGruppe* group : groups_) delete group;
    groups_.clear();
    for (Raum* room : rooms_) room->group = nullptr;
}

bool Maze::sampleMask(Orvex::Texture2D& texture, int columns, int rows, std::vector<D3DXCOLOR>& cells) {
    if (columns <= 0 || rows <= 0) return false;
    RECT const whole = texture.getRect();
    D3DLOCKED_RECT locked{};
    if (!texture.lockRect(0, locked, whole, D3DLOCK_READONLY)) return false;
    cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), D3DXCOLOR(0.0f, 0.0f, 0.0f, 0.0f));
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            D3DXCOLOR colour(0.0f, 0.0f, 0.0f, 0.0f);
            D3DXVECTOR2 const uv(static_cast<float>(i) / static_cast<float>(columns),
                                 static_cast<float>(j) / static_cast<float>(rows));
            if (texture.sampleColor(colour, uv, Orvex::Texture2D::kSampleNearest))
                cells[static_cast<std::size_t>(i) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(j)] =
                    colour;
        }
    texture.unlockRect(0);
    return true;
}

void Maze::buildRooms(Orvex::Texture2D* texture, D3DXVECTOR2 const& gridSize) {
    int const columns = std::clamp(static_cast<int>(std::isfinite(gridSize.x) ? gridSize.x : 0.0f), 0, kMaxGridSide);
    int const rows = std::clamp(static_cast<int>(std::isfinite(gridSize.y) ? gridSize.y : 0.0f), 0, kMaxGridSide);
    std::vector<D3DXCOLOR> cells;
    if (!texture || !sampleMask(*texture, columns, rows, cells)) {
        buildRooms(0, 0, cells);
        return;
    }
    buildRooms(columns, rows, cells);
}

void Maze::buildRooms(int columns, int rows, std::vector<D3DXCOLOR> const& cells) {
    destroyGroups();
    destroyRooms();
    columns = std::clamp(columns, 0, kMaxGridSide);
    rows = std::clamp(rows, 0, kMaxGridSide);
    std::size_t const count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    if (!prototype_ || count == 0 || cells.size() < count) return;
    std::vector<Raum*> grid(count, nullptr);
    auto cell = [rows](int i, int j) { return static_cast<std::size_t>(i) * static_cast<std::size_t>(rows) + j; };
    bool tookStart = false;
    bool tookGoal = false;
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            D3DXCOLOR const& colour = cells[cell(i, j)];
            if (colour.a == 0.0f) continue;
            D3DXVECTOR2 const corner(static_cast<float>(i) / static_cast<float>(columns),
                                     static_cast<float>(j) / static_cast<float>(rows));
            Raum* room = new Raum(*prototype_, i, j, corner);
            rooms_.push_back(room);
            grid[cell(i, j)] = room;
            if (colour.g != 0.0f && !tookStart) {
                room->isStart = true;
                startRoom_ = room;
                tookStart = true;
            }
            if (colour.b != 0.0f && (!tookGoal || multipleGoals_)) {
                room->isGoal = true;
                goalRoom_ = room;
                tookGoal = true;
            }
        }
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) {
            Raum* room = grid[cell(i, j)];
            if (!room) continue;
            if (i < columns - 1 && room->sides.size() > 1) {
                Raum* right = grid[cell(i + 1, j)];
                room->sides[kRight].neighbour = right;
                if (right) right->setNeighbour(room, (right->edgeCount / 2 + kRight) % right->edgeCount, false);
            }
            if (j < rows - 1 && room->sides.size() > 2) {
                Raum* below = grid[cell(i, j + 1)];
                room->sides[kDown].neighbour = below;
                if (below) below->setNeighbour(room, (below->edgeCount / 2 + kDown) % below->edgeCount, false);
            }
        }
}

Maze::Raum* Maze::roomAt(int column, int row) const {
    for (Raum* room : rooms_)
        if (room->column == column && room->row == row) return room;
    return nullptr;
}

// ---- generation ----

void Maze::generate() {
    destroyGroups();
    groups_.reserve(rooms_.size());
    for (Raum* room : rooms_) {
        for (Durchgang& side : room->sides) side.open = false;
        room->onPath = false;
        room->distance = kUnreached;
        auto* group = new RaumGruppe();
        group->rooms.push_back(room);
        room->group = group;
        groups_.push_back(group);
    }
    mergeGroups();
    openCrossings();
    measureDistances();
    chooseGoal();
    path_.clear();
}

void Maze::mergeGroups() {
    std::size_t finishedCount = 1;
    while (groups_.size() > finishedCount) {
        RaumGruppe* group = groups_[randomIndexBelow(groups_.size())];
        if (group->finished) continue;
        std::size_t const size = group->rooms.size();
        for (std::size_t move = 0; move < (size - 1) * 10; ++move) group->rooms.moveToEnd(randomIndexBelow(size));
        Raum* room = group->rooms.findFirst([group](Raum* r) { return leadsOut(r, group); }, nullptr);
        if (!room) {
            group->finished = true;
            ++finishedCount;
            continue;
        }
        std::vector<std::size_t> const candidates = closedSides(*room, group);
        Raum* next = room->sides[candidates[randomIndexBelow(candidates.size())]].neighbour;
        room->openTo(next, false);
        next->openTo(room, false);
        RaumGruppe* absorbed = next->group;
        absorbed->rooms.forEach([group](Raum* r) { r->group = group; });
        group->rooms.append(std::move(absorbed->rooms));
        // Only with links that do not pair up can a finished group still be reached from
        // another; it no longer counts once it is gone, or the loop would stop a merge short.
        if (absorbed->finished) --finishedCount;
        groups_.erase(std::find(groups_.begin(), groups_.end(), absorbed));
        delete absorbed;
    }
}

void Maze::openCrossings() {
    int closed = 0;
    for (Raum const* room : rooms_) closed += room->closedLinkedSides();
    for (int crossing = 0; crossing < crossings_ && closed > 0; ++crossing) {
        Raum* room = nullptr;
        do {
            room = rooms_[randomIndexBelow(rooms_.size())];
        } while (room->closedLinkedSides() == 0);
        std::vector<std::size_t> const candidates = closedSides(*room, nullptr);
        Raum* next = room->sides[candidates[randomIndexBelow(candidates.size())]].neighbour;
        closed -= room->closedLinkedSides() + next->closedLinkedSides();
        room->openTo(next, false);
        next->openTo(room, false);
        closed += room->closedLinkedSides() + next->closedLinkedSides();
    }
}

void Maze::measure() {
    for (Raum* room : rooms_) room->distance = kUnreached;
    measureDistances();
    chooseGoal();
}

void Maze::measureDistances() {
    if (!startRoom_) return;
    startRoom_->distance = 0;
    std::deque<Raum*> queue{startRoom_};
    while (!queue.empty()) {
        Raum* room = queue.front();
        queue.pop_front();
        for (Durchgang const& side : room->sides) {
            Raum* next = side.neighbour;
            if (next && next->distance > room->distance + 1 && side.open) {
                next->distance = room->distance + 1;
                queue.push_back(next);
            }
        }
    }
}

void Maze::chooseGoal() {
    if (!goalRoom_) return;
    for (Raum* room : rooms_)
        if (room->isGoal && room->distance < goalRoom_->distance) goalRoom_ = room;
}

}  // namespace Solitaire
