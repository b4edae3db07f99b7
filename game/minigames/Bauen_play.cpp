// The building game's play: where a piece may lie and where it snaps, dragging with the mouse,
// and the solved test over the board's quarters.
#include <algorithm>
#include <cmath>

#include "engine/gui/GUIWindow.h"
#include "engine/render/Shape.h"
#include "game/minigames/Bauen.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

namespace {

// A fraction that is not a number counts as 0.
float finiteOr0(float v) { return std::isfinite(v) ? v : 0.0f; }

}  // namespace

void Bauen::place(Objekt& piece, float px, float py) const {
    if (!playable_) return;
    float const maxX = 1.0f - static_cast<float>(piece.columns) / static_cast<float>(boardColumns_) * extent_.x;
    float const maxY = 1.0f - static_cast<float>(piece.rows) / static_cast<float>(boardRows_) * extent_.y;
    piece.x = std::max(std::min(finiteOr0(px), maxX), 0.0f);
    piece.y = std::max(std::min(finiteOr0(py), maxY), 0.0f);
}

void Bauen::snap(Objekt& piece) const {
    if (!playable_) return;
    // The nearest cell: a corner less than half a cell off the board's edge snaps onto it, one
    // further off stays where it is.
    int const c = static_cast<int>(std::floor((piece.x - origin_.x) / extent_.x * boardColumns_ + 0.5f));
    int const r = static_cast<int>(std::floor((piece.y - origin_.y) / extent_.y * boardRows_ + 0.5f));
    if (c < 0 || r < 0 || c >= boardColumns_ || r >= boardRows_) {
        piece.boardColumn = piece.boardRow = -1;
        return;
    }
    piece.boardColumn = c;
    piece.boardRow = r;
    piece.x = origin_.x + static_cast<float>(c) / static_cast<float>(boardColumns_) * extent_.x;
    piece.y = origin_.y + static_cast<float>(r) / static_cast<float>(boardRows_) * extent_.y;
}

bool Bauen::hits(Objekt const& piece, D3DXVECTOR2 const& point) const {
    if (!Orvex::makeQuad(getBoxRect(piece)).containsPoint(point)) return false;
    for (int c = 0; c < piece.columns; ++c)
        for (int r = 0; r < piece.rows; ++r) {
            Orvex::My2DQuad const box = Orvex::makeQuad(getCellRect(piece, c, r));
            if (!box.containsPoint(point)) continue;
            D3DXVECTOR2 const topLeft = box.getCorner(0);
            D3DXVECTOR2 const topRight = box.getCorner(1);
            D3DXVECTOR2 const bottomRight = box.getCorner(2);
            D3DXVECTOR2 const bottomLeft = box.getCorner(3);
            D3DXVECTOR2 const middle = box.getCorner(4);
            int const mask = piece.cell(c, r);
            if ((mask & kTop) && Orvex::My2DTriangle(topLeft, topRight, middle).containsPoint(point)) return true;
            if ((mask & kRight) && Orvex::My2DTriangle(topRight, bottomRight, middle).containsPoint(point)) return true;
            if ((mask & kBottom) && Orvex::My2DTriangle(bottomRight, bottomLeft, middle).containsPoint(point))
                return true;
            if ((mask & kLeft) && Orvex::My2DTriangle(bottomLeft, topLeft, middle).containsPoint(point)) return true;
        }
    return false;
}

bool Bauen::fieldUsable() const {
    if (!field_ || !playable_) return false;
    Orvex::FRect const r = field_->getScreenRect();
    return r.right - r.left > 0.0f && r.bottom - r.top > 0.0f;
}

D3DXVECTOR2 Bauen::cornerAt(D3DXVECTOR2 const& pointer) const {
    Orvex::FRect const r = field_->getScreenRect();
    return D3DXVECTOR2((pointer.x - grab_.x - r.left) / (r.right - r.left),
                       (pointer.y - grab_.y - r.top) / (r.bottom - r.top));
}

void Bauen::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    if (button != Orvex::OMB_LEFT || solved) return;
    dragged_ = nullptr;
    if (!fieldUsable() || MinispielManager::instance().isHelpShown()) return;
    D3DXVECTOR2 const point(state.x, state.y);
    for (std::size_t i = pieces_.size(); i-- > 0;) {
        if (!hits(*pieces_[i], point)) continue;
        Orvex::SpriteRect const box = getBoxRect(*pieces_[i]);
        grab_ = D3DXVECTOR2(point.x - box.x, point.y - box.y);
        // The piece picked up is drawn over the others.
        std::rotate(pieces_.begin() + static_cast<std::ptrdiff_t>(i),
                    pieces_.begin() + static_cast<std::ptrdiff_t>(i) + 1, pieces_.end());
        dragged_ = pieces_.back().get();
        return;
    }
}

void Bauen::onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const&) {
    if (!dragged_ || !fieldUsable()) return;
    D3DXVECTOR2 const corner = cornerAt(D3DXVECTOR2(state.x, state.y));
    place(*dragged_, corner.x, corner.y);
}

void Bauen::onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    if (button != Orvex::OMB_LEFT || !dragged_) return;
    Objekt* piece = dragged_;
    dragged_ = nullptr;
    if (fieldUsable()) {
        D3DXVECTOR2 const corner = cornerAt(D3DXVECTOR2(state.x, state.y));
        place(*piece, corner.x, corner.y);
    }
    snap(*piece);
    // A dropped piece goes under all others.
    auto const at = std::find_if(pieces_.begin(), pieces_.end(), [piece](auto const& p) { return p.get() == piece; });
    if (at != pieces_.end()) std::rotate(pieces_.begin(), at, at + 1);
    if (isSolved()) setSolved();
}

bool Bauen::isSolved() {
    if (!playable_) return false;
    grid_.assign(static_cast<std::size_t>(boardColumns_ * boardRows_), 0);
    for (std::unique_ptr<Objekt> const& piece : pieces_) {
        if (!piece->onBoard()) return false;
        if (piece->boardColumn + piece->columns > boardColumns_ || piece->boardRow + piece->rows > boardRows_)
            return false;
        for (int c = 0; c < piece->columns; ++c)
            for (int r = 0; r < piece->rows; ++r) {
                int const mask = piece->cell(c, r);
                int& taken = grid_[static_cast<std::size_t>((piece->boardRow + r) * boardColumns_ +
                                                            piece->boardColumn + c)];
                if (taken & mask) return false;
                taken |= mask;
            }
    }
    return true;
}

}  // namespace Solitaire
