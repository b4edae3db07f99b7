// The labyrinth: its keys, the tiles, windows, the attempt and the frame.
#include "game/minigames/Labyrinth.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/FieldWindows.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

int randomBelow(int count) { return msvc::rand() % count; }

// From where the value is now to the goal at the speed (a second per unit at 1), or at once.
template <class T>
void animateTo(Orvex::Interpolation<T, float>& value, T const& goal, float speed) {
    bool const slide = speed > 0.0f;
    value.set(slide ? value.current : goal, goal, slide ? 0.0f : 1.0f);
    value.speed = slide ? speed : value.speed;
    value.running = slide;
}

// A rand value as a share of its range, 0 to 1.
float randomFraction() { return static_cast<float>(msvc::rand()) / static_cast<float>(msvc::kRandMax); }

}  // namespace

// ---- tiles ----

Labyrinth::Tile::Tile(Orvex::XMLNode& node, Labyrinth* game) : owner(game) {
    if (Orvex::XMLAttribute const* sides = node.getAttribute(L"OFFENE_SEITEN")) {
        // The k-th value sets sides k to 3: one value sets all four.
        Orvex::XMLValueTokens const parts = sides->split(L" ");
        for (Orvex::u32 k = 0; k < parts.size() && k < open.size(); ++k)
            for (std::size_t side = k; side < open.size(); ++side) open[side] = parts.get(k)->getInt() != 0;
    }
    picture.adopt(minigame::animationCopy(node, L"ANIMATION"));
}

Labyrinth::Tile::Tile(Tile const& other)
    : position(other.position),
      rotation(other.rotation),
      open(other.open),
      picture(minigame::ownCopy(other.picture.get())),
      owner(other.owner) {}

// Out of line: the picture's class is complete here.
Labyrinth::Tile::~Tile() = default;

void Labyrinth::Tile::rotate(bool clockwise, float speed) {
    float const goal = rotation.goal + (clockwise ? kQuarterTurn : -kQuarterTurn);
    std::array<bool, 4> const old = open;
    for (std::size_t i = 0; i < open.size(); ++i) open[i] = old[(i + (clockwise ? 3 : 1)) % 4];
    animateTo(rotation, goal, speed);
}

void Labyrinth::Tile::setRotation(float angle, float speed) {
    for (int turns = 0; turns < 4 && std::fabs(std::fmod(rotation.goal, 360.0f) - std::fmod(angle, 360.0f)) >
                                         kRotationTolerance;
         ++turns)
        rotate(true, speed);
}

void Labyrinth::Tile::moveTo(D3DXVECTOR2 const& cell, float speed) { animateTo(position, cell, speed); }

void Labyrinth::Tile::update(double dt) {
    if (picture) picture->update(dt);
    float const step = static_cast<float>(dt);
    position.update(step);
    rotation.update(step);
}

// ---- the game ----

Labyrinth::Labyrinth(Orvex::XMLNode& element)
    : Minispiel(element), source_(minigame::definitionSource()), line_(element.getLine()) {
    std::vector<float> weights;
    minigame::readChildren(element, L"TILE", kMaxTiles, L"tiles (\"TILE\")", [&](Orvex::XMLNode& child) {
        tilePrototypes_.push_back(new Tile(child, this));
        float weight = 1.0f;
        minigame::readNumber(child, L"PROP", weight, 0.0);
        weights.push_back(weight);
    });
    float total = 0.0f;
    for (float w : weights) total += w;
    if (!weights.empty() && !(total > 0.0f && std::isfinite(total))) {
        minigame::logProblem(element, L"the tiles' \"PROP\" weights add up to " + std::to_wstring(total) +
                                          L"; every tile counts alike");
        weights.assign(weights.size(), 1.0f);
        total = static_cast<float>(weights.size());
    }
    float sum = 0.0f;
    for (float w : weights) {
        sum += w;
        tileChances_.push_back(sum / total);
    }
    auto special = [&](wchar_t const* name) {
        Orvex::XMLNode* child = element.getChild(name);
        return child ? new Tile(*child, this) : nullptr;
    };
    entranceTile_ = special(L"EINGANG");
    startTile_ = special(L"START");
    goalTile_ = special(L"ZIEL");
    minigame::readPair(element, L"SIZE", columns_, rows_, 1, kMaxSide);
    sparePosition_ = D3DXVECTOR2(-1.0f, static_cast<float>(rows_ + 1) * 0.5f);

    std::wstring missing;
    if (tilePrototypes_.empty()) missing += L" \"TILE\"";
    if (!entranceTile_) missing += L" \"EINGANG\"";
    if (!startTile_) missing += L" \"START\"";
    if (!goalTile_) missing += L" \"ZIEL\"";
    usable_ = missing.empty();
    if (!usable_)
        minigame::logProblem(element, L"labyrinth \"" + getName() + L"\" without" + missing +
                                          L": no board is built; the game can only be skipped");
}

Labyrinth::~Labyrinth() {
    for (std::vector<Tile*>* tiles : {&entrances_, &pool_, &tilePrototypes_})
        for (Tile* tile : *tiles) delete tile;
    delete entranceTile_;
    delete startTile_;
    delete goalTile_;
}

std::size_t Labyrinth::index(int x, int y) const {
    return static_cast<std::size_t>(x) * static_cast<std::size_t>(rows_ + 2) + static_cast<std::size_t>(y);
}

Labyrinth::Tile* Labyrinth::tileAt(int x, int y) const {
    if (x < 0 || y < 0 || x > columns_ + 1 || y > rows_ + 1 || board_.empty()) return nullptr;
    return board_[index(x, y)];
}

void Labyrinth::buildRing() {
    board_.assign(static_cast<std::size_t>(columns_ + 2) * static_cast<std::size_t>(rows_ + 2), nullptr);
    marks_.assign(board_.size(), 0);
    for (int x = 0; x <= columns_ + 1; ++x)
        for (int y = 0; y <= rows_ + 1; ++y) {
            bool const left = x == 0, right = x == columns_ + 1, top = y == 0, bottom = y == rows_ + 1;
            if ((left || right) == (top || bottom)) continue;  // the board proper, or a corner
            auto* tile = new Tile(*entranceTile_);
            tile->moveTo(D3DXVECTOR2(static_cast<float>(x), static_cast<float>(y)), 0.0f);
            tile->setRotation(left ? 270.0f : right ? 90.0f : top ? 0.0f : 180.0f, 0.0f);
            entrances_.push_back(tile);
            board_[index(x, y)] = tile;
        }
}

void Labyrinth::fillPool() {
    int const count = columns_ * rows_ + 1;
    for (int n = 0; n < count; ++n) {
        float const r = randomFraction();
        std::size_t k = 0;
        while (k < tileChances_.size() && !(1.0f - r < tileChances_[k])) ++k;
        if (k == tileChances_.size()) k = 0;
        pool_.push_back(new Tile(*tilePrototypes_[k]));
    }
}

void Labyrinth::createWindows() {
    if (usable_ && entrances_.empty()) {
        buildRing();
        fillPool();
    }
    if (!window) {
        float const across = static_cast<float>(columns_ + 2) + std::fabs(sparePosition_.x);
        minigame::FieldWindows const windows =
            minigame::buildFieldWindows(*this, kKind, across / static_cast<float>(rows_ + 2), true);
        window.adopt(windows.main);
        barParent = windows.foreground;
        field_ = windows.field;
        if (field_) {
            field_->leftClicked.connect(this, &Labyrinth::onFieldClick);
            field_->rightClicked.connect(this, &Labyrinth::onFieldRightClick);
            field_->selfDrawn.connect(this, &Labyrinth::onFieldDrawn);
        }
    }
}

void Labyrinth::start() {
    Minispiel::start();
    if (!usable_) return;
    for (int deals = 1;; ++deals) {
        deal();
        if (breakRoute()) return;
        if (deals == kMaxDeals) {
            Orvex::logWarning(L"Mini-game file \"" + source_ + L"\"" + Orvex::atLine(line_) + L": labyrinth \"" +
                              getName() + L"\": after " + std::to_wstring(kMaxDeals) +
                              L" deals no push breaks the route from start to goal; the game starts with it open");
            return;
        }
    }
}

void Labyrinth::deal() {
    for (int x = 1; x <= columns_; ++x)
        for (int y = 1; y <= rows_; ++y) board_[index(x, y)] = nullptr;
    std::vector<Tile*> left = pool_;
    for (int x = 1; x <= columns_; ++x)
        for (int y = 1; y <= rows_; ++y) {
            auto const k = static_cast<std::size_t>(randomBelow(static_cast<int>(left.size())));
            Tile* tile = left[k];
            board_[index(x, y)] = tile;
            tile->moveTo(D3DXVECTOR2(static_cast<float>(x), static_cast<float>(y)), 0.0f);
            for (int turns = randomBelow(4); turns > 0; --turns) tile->rotate(true, 0.0f);
            left.erase(left.begin() + static_cast<std::ptrdiff_t>(k));
        }
    spareTile_ = left.front();
    spareTile_->moveTo(sparePosition_, 0.0f);
    chooseEntrances();
    startTile_->moveTo(D3DXVECTOR2(static_cast<float>(start_.x), static_cast<float>(start_.y)), 0.0f);
    goalTile_->moveTo(D3DXVECTOR2(static_cast<float>(goal_.x), static_cast<float>(goal_.y)), 0.0f);
}

void Labyrinth::chooseEntrances() {
    int const ring = ringLength();
    int const e = randomBelow(ring);
    start_ = entranceToCell(e);
    int const m = std::max(columns_, rows_);
    auto apart = [this](Cell c) { return start_.x != c.x && start_.y != c.y; };
    for (int draws = 0; draws < kMaxGoalDraws; ++draws) {
        int const o = static_cast<int>(std::trunc(static_cast<float>(m) - randomFraction() * static_cast<float>(2 * m)));
        int const g = ((o + columns_ + rows_ + e) % ring + ring) % ring;
        goal_ = entranceToCell(g);
        if (g != e && apart(goal_)) return;
    }
    // Far sides only rarely give such a cell on a board one tile wide or high: the first one
    // after the start, clockwise.
    for (int k = 1; k < ring; ++k)
        if (apart(entranceToCell(e + k))) {
            goal_ = entranceToCell(e + k);
            return;
        }
}

bool Labyrinth::breakRoute() {
    for (int pushes = 0; pushes < kMaxPushes; ++pushes) {
        if (!isReachable(start_, goal_)) return true;
        Cell const at = entranceToCell(randomBelow(ringLength()));
        shift(at.x, at.y, 0.0f);
    }
    return !isReachable(start_, goal_);
}

void Labyrinth::update(double const& dt) {
    for (std::vector<Tile*>* tiles : {&pool_, &entrances_})
        for (Tile* tile : *tiles) tile->update(dt);
    countDownEndDelay(dt);
}

void Labyrinth::draw() {}

}  // namespace Solitaire
