// The jigsaw in play: presses, drags and drops, the frame step, the pieces' hit test and drawing.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/gui/GUIWindow.h"
#include "engine/render/Shape.h"
#include "engine/render/SpriteDraw.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/FieldPictures.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Puzzle.h"

namespace Solitaire {

namespace {

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

// Whether the texel under the screen point is opaque: the point taken back through the
// transform that places each drawn piece of the frame.
bool opaqueAt(Orvex::AnimationFrame const& frame, Orvex::SpriteRect const& rect, D3DXVECTOR2 const& point) {
    Orvex::Texture2D* texture = frame.texture;
    if (!texture->hasPixelList()) texture->buildPixelList(Puzzle::kAlphaThreshold);
    std::vector<Orvex::SpriteQuadPiece> pieces;
    Orvex::buildSpriteQuads(pieces, rect, frame.rect, Orvex::SDP_SCALE, Orvex::SDP_SCALE);
    for (Orvex::SpriteQuadPiece const& piece : pieces) {
        D3DXMATRIX placed;
        D3DXMatrixTransformation2D(&placed, nullptr, 0.0f, &piece.scaling, &piece.rotationCentre, piece.rotation,
                                   &piece.translation);
        D3DXMATRIX back;
        if (!D3DXMatrixInverse(&back, nullptr, &placed)) continue;
        D3DXVECTOR2 local;
        D3DXVec2TransformCoord(&local, &point, &back);
        // Texel coordinates of this piece's source; outside it the list would answer for
        // another picture of the sheet.
        float const w = static_cast<float>(piece.source.right - piece.source.left);
        float const h = static_cast<float>(piece.source.bottom - piece.source.top);
        if (!(local.x >= 0.0f && local.x < w && local.y >= 0.0f && local.y < h)) continue;
        double const x = std::trunc(piece.source.left + static_cast<double>(local.x));
        double const y = std::trunc(piece.source.top + static_cast<double>(local.y));
        if (x < 0.0 || y < 0.0 || x >= texture->getWidth() || y >= texture->getHeight()) continue;
        if (texture->isInPixelList(static_cast<Orvex::u32>(x), static_cast<Orvex::u32>(y))) return true;
    }
    return false;
}

}  // namespace

// ---- pieces ----

bool Puzzle::PuzzleTeil::hitTest(D3DXVECTOR2 const& point, bool checkAlpha) const {
    Orvex::SpriteRect const rect = getSpriteRect();
    if (!Orvex::makeQuad(rect).containsPoint(point)) return false;
    if (!checkAlpha) return true;
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    if (!frame || !frame->texture) return true;
    return opaqueAt(*frame, rect, point);
}

void Puzzle::PuzzleTeil::draw(D3DXCOLOR const& colour, float shadowStrength) const {
    if (!picture) return;
    Orvex::SpriteRect const rect = getSpriteRect();
    if (loose && shadow && shadowStrength > 0.0f) {
        Orvex::SpriteRect shade = rect;
        shade.x += kShadowOffset;
        shade.y += kShadowOffset;
        minigame::drawPicture(picture.get(), shade, D3DXCOLOR(0.0f, 0.0f, 0.0f, clamp01(shadowStrength * kShadowAlpha)));
    }
    minigame::drawPicture(picture.get(), rect, colour);
}

// ---- the mouse ----

bool Puzzle::takesInput() const { return !MinispielManager::instance().isHelpShown(); }

void Puzzle::onMouseDown(Orvex::MouseState& mouse, Orvex::OrvexMouseButton const& button) {
    if (!takesInput() || held_ || button != Orvex::OMB_LEFT || !field_) return;
    D3DXVECTOR2 const point(mouse.x, mouse.y);
    for (std::size_t i = active_.size(); i-- > 0;) {
        PuzzleTeil* piece = active_[i].get();
        if (!piece->loose || !piece->hitTest(point, alphaOnGrab_)) continue;
        held_ = piece;
        takenFrom_ = piece->getPosition();
        grabOffset_ = takenFrom_ - toField(point);
        // To the top.
        auto const at = active_.begin() + static_cast<std::ptrdiff_t>(i);
        std::rotate(at, at + 1, active_.end());
        return;
    }
}

void Puzzle::onMouseMove(Orvex::MouseState& mouse, Orvex::OrvexAchse const&) {
    if (!takesInput() || !held_) return;
    D3DXVECTOR2 p = toField(D3DXVECTOR2(mouse.x, mouse.y)) + grabOffset_;
    if (window) {
        Orvex::FRect const bounds = window->getScreenRect();
        D3DXVECTOR2 const lo = toField(D3DXVECTOR2(bounds.left, bounds.top));
        D3DXVECTOR2 const hi =
            toField(D3DXVECTOR2(bounds.right, bounds.bottom)) - D3DXVECTOR2(held_->width, held_->height);
        p.x = std::max(lo.x, std::min(p.x, hi.x));
        p.y = std::max(lo.y, std::min(p.y, hi.y));
    }
    held_->moveTo(p, 0.0);
}

Puzzle::PuzzleTeil* Puzzle::placeFor(PuzzleTeil const& piece, D3DXVECTOR2 const& point) const {
    for (std::size_t i = targets_.size(); i-- > 0;) {
        PuzzleTeil* target = targets_[i].get();
        if (!target->loose || target->id != piece.id || !target->hitTest(point, alphaOnDrop_)) continue;
        D3DXVECTOR2 const apart = toScreen(target->getPosition()) - toScreen(piece.getPosition());
        if (std::hypot(apart.x, apart.y) < maxDist_) return target;
    }
    return nullptr;
}

bool Puzzle::liesOnAPlace(PuzzleTeil const& piece) const {
    Orvex::FRect const r = Orvex::boundingRectOfSpriteRect(piece.getSpriteRect());
    return std::any_of(targets_.begin(), targets_.end(), [&](std::unique_ptr<PuzzleTeil> const& target) {
        Orvex::FRect const place = Orvex::boundingRectOfSpriteRect(target->getSpriteRect());
        return std::hypot(r.left - place.left, r.top - place.top) < maxDist_ &&
               std::hypot(r.right - place.right, r.bottom - place.bottom) < maxDist_;
    });
}

void Puzzle::onMouseUp(Orvex::MouseState& mouse, Orvex::OrvexMouseButton const& button) {
    if (!takesInput() || !held_ || button != Orvex::OMB_LEFT) return;
    PuzzleTeil* piece = held_;
    held_ = nullptr;
    if (!field_) return;
    if (PuzzleTeil* target = placeFor(*piece, D3DXVECTOR2(mouse.x, mouse.y))) {
        piece->moveTo(target->position.goal, kFlightSpeed);
        piece->setLoose(false);
        target->setLoose(false);
        // Placed pieces lie beneath every loose one.
        auto const at = std::find_if(active_.begin(), active_.end(),
                                     [piece](std::unique_ptr<PuzzleTeil> const& each) { return each.get() == piece; });
        if (at != active_.end()) std::rotate(active_.begin(), at, at + 1);
    } else if (liesOnAPlace(*piece)) {
        // Lying there it would pass for placed, the picture put together wrongly.
        piece->moveTo(takenFrom_, kReturnSpeed);
    }
    // Every drop asks whether all places are filled. A game without places is never solved by a
    // decoy, and a decoy dropped after the last place was filled restarts neither the end delay
    // nor the fade.
    if (!solved && allPlaced()) {
        setSolved();
        endFade_ = 0.0f;
    }
}

// ---- the frame ----

void Puzzle::update(double const& dt) {
    for (Pieces const* list : {&active_, &targets_, &ends_}) {
        for (std::unique_ptr<PuzzleTeil> const& piece : *list) {
            if (piece->picture) piece->picture->update(dt);
            piece->position.update(static_cast<float>(dt));
        }
    }
    if (solved || ended) endFade_ += static_cast<float>(dt);
    countDownEndDelay(dt);
}

void Puzzle::draw() {}

void Puzzle::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    float const a = minigame::fieldAlpha(drawnWindow);
    D3DXCOLOR const plain(1.0f, 1.0f, 1.0f, a);
    for (std::unique_ptr<PuzzleTeil> const& piece : fixed_) piece->draw(plain, a);
    D3DXCOLOR const silhouette(helpColour_.r, helpColour_.g, helpColour_.b, helpColour_.a * a);
    for (std::unique_ptr<PuzzleTeil> const& target : targets_) target->draw(silhouette, 0.0f);
    for (std::unique_ptr<PuzzleTeil> const& piece : active_) piece->draw(plain, a);
    if (!solved) return;
    float const f = clamp01(endFade_ / kEndFadeLength);
    for (std::unique_ptr<PuzzleTeil> const& piece : ends_) piece->draw(D3DXCOLOR(1.0f, 1.0f, 1.0f, f * a), a);
}

}  // namespace Solitaire
