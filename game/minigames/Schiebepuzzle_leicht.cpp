// The sliding-gap puzzle: its tiles, the definition, the deal, clicks, the frame step and drawing.
#include "game/minigames/Schiebepuzzle_leicht.h"

#include <algorithm>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Shape.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/FieldPictures.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

// ---- tiles ----

Schiebepuzzle_leicht::Kachel::Kachel(Schiebepuzzle_leicht* game, Orvex::XMLNode const& node)
    : owner(game) {
    picture.adopt(minigame::animationCopy(node, L"ANIMATION"));
    position.running = true;
}

Schiebepuzzle_leicht::Kachel::Kachel(Kachel const& other)
    : picture(minigame::ownCopy(other.picture.get())), position(other.position), owner(other.owner) {}

// Out of line: the picture's class is complete here.
Schiebepuzzle_leicht::Kachel::~Kachel() = default;

Orvex::SpriteRect Schiebepuzzle_leicht::Kachel::getSpriteRect() const {
    D3DXVECTOR2 const cell = owner->cellCorner(1, 1);
    return minigame::fieldSpriteRect(minigame::fieldRect(owner->field_), position.current.x, position.current.y, cell.x,
                                     cell.y);
}

void Schiebepuzzle_leicht::Kachel::moveTo(D3DXVECTOR2 const& goal, double speed) {
    minigame::glideTo(position, goal, speed);
}

void Schiebepuzzle_leicht::Kachel::draw(D3DXCOLOR const& colour) const {
    minigame::drawPicture(picture.get(), getSpriteRect(), colour);
}

// ---- the game ----

Schiebepuzzle_leicht::Schiebepuzzle_leicht(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"KACHEL_TEIL", kMaxPictures, L"tile pictures",
                           [&](Orvex::XMLNode& child) { templates_.push_back(new Kachel(this, child)); });
    if (Orvex::XMLNode const* target = element.getChild(L"ZIEL_TEIL")) targetTile_ = new Kachel(this, *target);
    minigame::readPair(element, L"SIZE", columns_, rows_, 1, kMaxSide);
    if (columns_ * rows_ < 2) {
        playable_ = false;
        minigame::logProblem(element, L"mini-game \"" + getName() +
                                          L"\" has a grid of one cell, so no target lies apart from the gap; it can "
                                          L"only be skipped");
    } else if (templates_.empty()) {
        playable_ = false;
        minigame::logProblem(element, L"mini-game \"" + getName() +
                                          L"\" has no KACHEL_TEIL to fill its cells; it can only be skipped");
    }
}

Schiebepuzzle_leicht::~Schiebepuzzle_leicht() {
    clearTiles();
    for (Kachel* tile : templates_) delete tile;
    templates_.clear();
    delete targetTile_;
    targetTile_ = nullptr;
}

void Schiebepuzzle_leicht::clearTiles() {
    grid_.clear();
    for (Kachel* tile : tiles_) delete tile;
    tiles_.clear();
}

D3DXVECTOR2 Schiebepuzzle_leicht::cellCorner(int column, int row) const {
    return D3DXVECTOR2(static_cast<float>(column) / static_cast<float>(columns_),
                       static_cast<float>(row) / static_cast<float>(rows_));
}

void Schiebepuzzle_leicht::createWindows() {
    if (!window && minigame::buildBoard(*this, prefix, kKind, static_cast<float>(columns_),
                                        static_cast<float>(rows_), window, field_) && field_) {
        field_->leftClicked.connect(this, &Schiebepuzzle_leicht::onFieldClicked);
        field_->selfDrawn.connect(this, &Schiebepuzzle_leicht::onFieldDrawn);
    }
}

void Schiebepuzzle_leicht::start() {
    Minispiel::start();
    clickLock_ = 0.0f;
    clearTiles();
    gapCell_ = targetCell_ = -1;
    if (!playable_) return;
    int const cells = columns_ * rows_;
    grid_.assign(static_cast<std::size_t>(cells), nullptr);
    int const pictures = static_cast<int>(templates_.size());
    for (int c = 0; c < columns_; ++c) {
        for (int r = 0; r < rows_; ++r) {
            auto* tile = new Kachel(*templates_[static_cast<std::size_t>(msvc::rand() % pictures)]);
            tiles_.push_back(tile);
            grid_[static_cast<std::size_t>(cellIndex(c, r))] = tile;
            tile->moveTo(cellCorner(c, r), 0.0);
        }
    }
    gapCell_ = msvc::rand() % cells;
    do {
        targetCell_ = msvc::rand() % cells;
    } while (targetCell_ == gapCell_);
    // Tiles were dealt in grid order, so the gap's tile has the gap's index in the list.
    delete tiles_[static_cast<std::size_t>(gapCell_)];
    tiles_.erase(tiles_.begin() + gapCell_);
    grid_[static_cast<std::size_t>(gapCell_)] = nullptr;
    if (targetTile_) targetTile_->moveTo(cellCorner(targetCell_ / rows_, targetCell_ % rows_), 0.0);
}

bool Schiebepuzzle_leicht::slideTile(int column, int row, double speed) {
    if (grid_.empty()) return false;
    int const neighbours[4][2] = {{column - 1, row}, {column + 1, row}, {column, row - 1}, {column, row + 1}};
    for (auto const& n : neighbours) {
        if (n[0] < 0 || n[0] >= columns_ || n[1] < 0 || n[1] >= rows_) continue;
        Kachel*& into = grid_[static_cast<std::size_t>(cellIndex(n[0], n[1]))];
        if (into) continue;
        Kachel*& from = grid_[static_cast<std::size_t>(cellIndex(column, row))];
        from->moveTo(cellCorner(n[0], n[1]), speed);
        into = from;
        from = nullptr;
        gapCell_ = cellIndex(column, row);
        return true;
    }
    return false;
}

void Schiebepuzzle_leicht::onFieldClicked(Orvex::GUIWindow&) {
    if (clickLock_ > 0.0f || solved) return;
    D3DXVECTOR2 const point = minigame::pointerPosition();
    for (int c = 0; c < columns_ && !grid_.empty(); ++c) {
        for (int r = 0; r < rows_; ++r) {
            Kachel const* tile = grid_[static_cast<std::size_t>(cellIndex(c, r))];
            if (!tile || !Orvex::makeQuad(tile->getSpriteRect()).containsPoint(point)) continue;
            MinispielManager& manager = MinispielManager::instance();
            if (!slideTile(c, r, kSlideSpeed)) {
                manager.moveWrong.emit(*this);
                return;
            }
            manager.moveMade.emit(*this);
            if (gapCell_ == targetCell_)
                setSolved();
            else
                clickLock_ = kClickLock;
            return;
        }
    }
}

void Schiebepuzzle_leicht::update(double const& dt) {
    for (Kachel* tile : tiles_) {
        if (tile->picture) tile->picture->update(dt);
        tile->position.update(static_cast<float>(dt));
    }
    if (clickLock_ > 0.0f) clickLock_ -= static_cast<float>(dt);
    countDownEndDelay(dt);
}

void Schiebepuzzle_leicht::draw() {}

void Schiebepuzzle_leicht::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    float const a = minigame::fieldAlpha(drawnWindow);
    // The marker shows only on a (nearly) fully shown field, never half transparent.
    if (targetTile_ && a >= kMarkerAlpha) targetTile_->draw(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f));
    for (Kachel const* tile : tiles_) tile->draw(D3DXCOLOR(1.0f, 1.0f, 1.0f, a));
}

}  // namespace Solitaire
