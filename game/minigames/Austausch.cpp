// The swap puzzle: its tiles, the definition, the shuffle, clicks, the frame step and drawing.
#include "game/minigames/Austausch.h"

#include <algorithm>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Shape.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/FieldPictures.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

D3DXVECTOR4 vectorOf(Orvex::FRect const& r) { return D3DXVECTOR4(r.left, r.top, r.right, r.bottom); }

}  // namespace

// ---- tiles ----

Austausch::AustauschTeil::AustauschTeil(Austausch* game, Orvex::XMLNode const& node, int home)
    : cell(home), homeCell(home), owner(game) {
    picture.adopt(minigame::animationCopy(node, L"ANIMATION"));
    rect.running = true;
}

// Out of line: the picture's class is complete here.
Austausch::AustauschTeil::~AustauschTeil() = default;

Orvex::FRect Austausch::AustauschTeil::currentRect() const {
    return Orvex::FRect(rect.current.x, rect.current.y, rect.current.z, rect.current.w);
}

Orvex::SpriteRect Austausch::AustauschTeil::getSpriteRect() const {
    return minigame::fieldSpriteRect(minigame::fieldRect(owner->field_), rect.current.x, rect.current.y,
                                     1.0f / static_cast<float>(owner->columns_),
                                     1.0f / static_cast<float>(std::max(owner->rows_, 1)));
}

bool Austausch::AustauschTeil::hitTest(D3DXVECTOR2 const& point) const {
    return Orvex::makeQuad(getSpriteRect()).containsPoint(point);
}

void Austausch::AustauschTeil::moveTo(Orvex::FRect const& goal, int newCell, float speed) {
    minigame::glideTo(rect, vectorOf(goal), speed);
    cell = newCell;
}

float Austausch::AustauschTeil::getPictureAspect() const {
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    if (!frame) return 1.0f;
    float const h = static_cast<float>(frame->rect.bottom - frame->rect.top);
    return h != 0.0f ? static_cast<float>(frame->rect.right - frame->rect.left) / h : 1.0f;
}

// ---- the game ----

Austausch::Austausch(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"AUSTAUSCH_TEIL", kMaxTiles, L"tiles", [&](Orvex::XMLNode& child) {
        tiles_.push_back(new AustauschTeil(this, child, static_cast<int>(tiles_.size())));
    });
    minigame::readCount(element, L"SPALTEN", columns_, 1, kMaxColumns);
    if (tiles_.size() == 1) {
        minigame::logProblem(element, L"mini-game \"" + getName() +
                                          L"\" has one AUSTAUSCH_TEIL, which has nothing to swap with; it can only "
                                          L"be skipped");
        delete tiles_.front();
        tiles_.clear();
        playable_ = false;
    }
    int const count = static_cast<int>(tiles_.size());
    rows_ = (count + columns_ - 1) / columns_;
    for (AustauschTeil* tile : tiles_) tile->moveTo(cellRect(tile->homeCell), tile->homeCell, 0.0f);
}

Austausch::~Austausch() {
    for (AustauschTeil* tile : tiles_) delete tile;
    tiles_.clear();
}

Orvex::FRect Austausch::cellRect(int cell) const {
    float const columns = static_cast<float>(columns_);
    // No tiles, no rows: the grid then keeps the shape of one row.
    float const rows = static_cast<float>(std::max(rows_, 1));
    float const c = static_cast<float>(cell % columns_);
    float const r = static_cast<float>(cell / columns_);
    return Orvex::FRect(c / columns, r / rows, (c + 1.0f) / columns, (r + 1.0f) / rows);
}

bool Austausch::inOrder() const {
    return std::all_of(tiles_.begin(), tiles_.end(),
                       [](AustauschTeil const* tile) { return tile->cell == tile->homeCell; });
}

void Austausch::createWindows() {
    // No tiles, no rows: the field then keeps the shape of one row.
    if (!window && minigame::buildBoard(*this, prefix, kKind, static_cast<float>(columns_),
                                        static_cast<float>(std::max(rows_, 1)), window, field_) && field_) {
        if (playable_) field_->leftClicked.connect(this, &Austausch::onFieldClicked);
        field_->selfDrawn.connect(this, &Austausch::onFieldDrawn);
    }
}

void Austausch::start() {
    Minispiel::start();
    for (AustauschTeil* tile : tiles_) tile->selected = false;
    int const count = static_cast<int>(tiles_.size());
    for (int round = 0; count > 1 && round < kShuffleRounds * count; ++round) {
        int const a = msvc::rand() % count;
        int b = msvc::rand() % count;
        while (b == a) b = msvc::rand() % count;
        AustauschTeil* first = tiles_[static_cast<std::size_t>(a)];
        AustauschTeil* second = tiles_[static_cast<std::size_t>(b)];
        int const firstCell = first->cell;
        // Each takes the other's cell and that cell's rectangle: a tile still flying from an
        // earlier attempt lands in its cell all the same.
        first->moveTo(cellRect(second->cell), second->cell, 0.0f);
        second->moveTo(cellRect(firstCell), firstCell, 0.0f);
    }
    selected_ = second_ = nullptr;
}

void Austausch::toTop(AustauschTeil* tile) {
    tiles_.erase(std::find(tiles_.begin(), tiles_.end(), tile));
    tiles_.push_back(tile);
}

void Austausch::onFieldClicked(Orvex::GUIWindow&) {
    if (solved || !playable_) return;
    D3DXVECTOR2 const point = minigame::pointerPosition();
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        AustauschTeil* tile = tiles_[i];
        if (!tile->hitTest(point)) continue;
        if (!selected_) {
            selected_ = tile;
            tile->selected = true;
            toTop(tile);
            return;
        }
        if (tile == selected_) {
            tile->selected = false;
            selected_ = nullptr;
            continue;
        }
        second_ = tile;
        toTop(tile);
        int const cellA = selected_->cell;
        int const cellB = second_->cell;
        // The cells' rectangles, not the tiles' present ones: a tile still flying from the last
        // swap would otherwise leave its partner between two cells.
        selected_->moveTo(cellRect(cellB), cellB, kSwapSpeed);
        second_->moveTo(cellRect(cellA), cellA, kSwapSpeed);
        selected_->selected = false;
        selected_ = second_ = nullptr;
        break;
    }
    if (inOrder()) setSolved();
}

void Austausch::update(double const& dt) {
    for (AustauschTeil* tile : tiles_) {
        if (tile->picture) tile->picture->update(dt);
        tile->rect.update(static_cast<float>(dt));
    }
    countDownEndDelay(dt);
}

void Austausch::draw() {}

void Austausch::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    float const a = minigame::fieldAlpha(drawnWindow);
    for (AustauschTeil const* tile : tiles_) {
        D3DXCOLOR const colour = tile->selected ? D3DXCOLOR(1.0f, 0.0f, 0.0f, a) : D3DXCOLOR(1.0f, 1.0f, 1.0f, a);
        minigame::drawPicture(tile->picture.get(), tile->getSpriteRect(), colour);
    }
}

}  // namespace Solitaire
