// The labyrinth's board: the ring's numbering, pushes of the spare tile, the route search, the
// field's clicks, tile geometry and drawing.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/Labyrinth.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

Labyrinth::Cell Labyrinth::entranceToCell(int e) const {
    int const ring = ringLength();
    e = ((e % ring) + ring) % ring;
    if (e < columns_) return {e + 1, 0};
    if (e < columns_ + rows_) return {columns_ + 1, e - columns_ + 1};
    if (e < 2 * columns_ + rows_) return {e - columns_ - rows_ + 1, rows_ + 1};
    return {0, e - 2 * columns_ - rows_ + 1};
}

void Labyrinth::shift(int x, int y, float speed) {
    if (board_.empty() || !spareTile_) return;
    Tile* const spare = spareTile_;
    auto send = [&](int i, int j, int toX, int toY) {
        if (Tile* tile = board_[index(i, j)])
            tile->moveTo(D3DXVECTOR2(static_cast<float>(toX), static_cast<float>(toY)), speed);
    };
    auto enter = [&](int i, int j) {
        board_[index(i, j)] = spare;
        spare->moveTo(D3DXVECTOR2(static_cast<float>(i), static_cast<float>(j)), speed);
    };
    bool const row = y >= 1 && y <= rows_;
    bool const column = x >= 1 && x <= columns_;
    if (x == 0 && row) {
        spareTile_ = board_[index(columns_, y)];
        for (int i = columns_; i >= 1; --i) {
            send(i, y, i + 1, y);
            board_[index(i, y)] = board_[index(i - 1, y)];
        }
        enter(1, y);
    } else if (x == columns_ + 1 && row) {
        spareTile_ = board_[index(1, y)];
        for (int i = 1; i <= columns_; ++i) {
            send(i, y, i - 1, y);
            board_[index(i, y)] = board_[index(i + 1, y)];
        }
        enter(columns_, y);
    } else if (y == 0 && column) {
        spareTile_ = board_[index(x, rows_)];
        for (int j = rows_; j >= 1; --j) {
            send(x, j, x, j + 1);
            board_[index(x, j)] = board_[index(x, j - 1)];
        }
        enter(x, 1);
    } else if (y == rows_ + 1 && column) {
        spareTile_ = board_[index(x, 1)];
        for (int j = 1; j <= rows_; ++j) {
            send(x, j, x, j - 1);
            board_[index(x, j)] = board_[index(x, j + 1)];
        }
        enter(x, rows_);
    }
    spareTile_->moveTo(sparePosition_, kClickSpeed);
}

bool Labyrinth::canPass(Cell a, Cell b) const {
    Tile const* from = tileAt(a.x, a.y);
    Tile const* to = tileAt(b.x, b.y);
    int const dx = b.x - a.x;
    int const dy = b.y - a.y;
    if (!from || !to || std::abs(dx) + std::abs(dy) != 1) return false;
    if (dx == 1) return from->open[kRight] && to->open[kLeft];
    if (dx == -1) return from->open[kLeft] && to->open[kRight];
    if (dy == 1) return from->open[kDown] && to->open[kUp];
    return from->open[kUp] && to->open[kDown];
}

bool Labyrinth::isReachable(Cell from, Cell to) {
    if (board_.empty() || !tileAt(from.x, from.y) || !tileAt(to.x, to.y)) return false;
    std::fill(marks_.begin(), marks_.end(), 0);
    // Marks: 0 unseen, 1 reached and waiting, 2 expanded. The waiting cells are kept in a list;
    // the order of expanding does not change which cells are reached.
    std::vector<Cell> waiting{from};
    marks_[index(from.x, from.y)] = 1;
    while (!waiting.empty()) {
        Cell const c = waiting.back();
        waiting.pop_back();
        marks_[index(c.x, c.y)] = 2;
        for (Cell const next : {Cell{c.x + 1, c.y}, Cell{c.x - 1, c.y}, Cell{c.x, c.y + 1}, Cell{c.x, c.y - 1}}) {
            if (!canPass(c, next) || marks_[index(next.x, next.y)] != 0) continue;
            marks_[index(next.x, next.y)] = 1;
            waiting.push_back(next);
        }
    }
    return marks_[index(to.x, to.y)] != 0;
}

// ---- clicks ----

void Labyrinth::onFieldClick(Orvex::GUIWindow& clicked) {
    if (&clicked != field_ || solved || board_.empty()) return;
    MinispielManager& manager = MinispielManager::instance();
    Orvex::MouseState const& mouse = Orvex::DirectInputInterface::getInstance().getMouseState();
    D3DXVECTOR2 const pointer(mouse.x, mouse.y);
    for (int x = 0; x <= columns_ + 1; ++x)
        for (int y = 0; y <= rows_ + 1; ++y) {
            bool const proper = x >= 1 && x <= columns_ && y >= 1 && y <= rows_;
            Tile const* tile = proper ? nullptr : board_[index(x, y)];
            if (!tile || !Orvex::makeQuad(getTileRect(tile->position.current, tile->rotation.current))
                               .containsPoint(pointer))
                continue;
            shift(x, y, kClickSpeed);
            if (isReachable(start_, goal_)) setSolved();
            manager.moveMade.emit(*this);
            return;
        }
    if (spareTile_) {
        spareTile_->rotate(true, kClickSpeed);
        manager.moveMade.emit(*this);
    } else {
        manager.moveWrong.emit(*this);
    }
}

void Labyrinth::onFieldRightClick(Orvex::GUIWindow& clicked) {
    if (&clicked != field_ || solved || !spareTile_) return;
    spareTile_->rotate(false, kClickSpeed);
    MinispielManager::instance().moveMade.emit(*this);
}

// ---- geometry and drawing ----

Orvex::SpriteRect Labyrinth::getTileRect(D3DXVECTOR2 const& position, float rotation) const {
    Orvex::FRect const f = field_ ? field_->getScreenRect() : Orvex::FRect();
    float const minX = std::min(0.0f, sparePosition_.x);
    float const maxX = std::max(static_cast<float>(columns_ + 2), sparePosition_.x);
    float const minY = std::min(0.0f, sparePosition_.y);
    float const maxY = std::max(static_cast<float>(rows_ + 2), sparePosition_.y);
    float const width = f.right - f.left;
    float const height = f.bottom - f.top;
    float const ex = maxX - minX;
    float const ey = maxY - minY;
    return Orvex::SpriteRect(
        D3DXVECTOR2(f.left + (position.x - minX) / ex * width, f.top + (position.y - minY) / ey * height),
        D3DXVECTOR2(width / ex, height / ey), rotation, D3DXVECTOR2(0.5f, 0.5f), Orvex::SpriteRect::kCentreRelative);
}

void Labyrinth::Tile::draw(D3DXCOLOR const& tint) const {
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    if (!sprite || !frame || !frame->texture) return;
    sprite->drawSpriteRect(frame->texture, &frame->rect, owner->getTileRect(position.current, rotation.current),
                           Orvex::SDP_SCALE, Orvex::SDP_SCALE, static_cast<D3DCOLOR>(tint));
}

void Labyrinth::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn || &drawnWindow != field_ || board_.empty()) return;
    D3DXCOLOR const tint(1.0f, 1.0f, 1.0f, static_cast<float>(field_->getAccumulatedAlpha()));
    for (int e = 0; e < ringLength(); ++e) {
        Cell const c = entranceToCell(e);
        if (Tile const* tile = board_[index(c.x, c.y)]) tile->draw(tint);
    }
    startTile_->draw(tint);
    goalTile_->draw(tint);
    for (int x = 1; x <= columns_; ++x)
        for (int y = 1; y <= rows_; ++y)
            if (Tile const* tile = board_[index(x, y)]) tile->draw(tint);
    if (spareTile_) spareTile_->draw(tint);
}

}  // namespace Solitaire
