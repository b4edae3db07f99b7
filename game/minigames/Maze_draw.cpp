// The maze's drawing from the field's self-drawn signal: the background, every room with its
// pictures, the wall lines between sprite batches, and the step numbers of the "FAST" variant.
#include <cmath>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/Maze.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

namespace {

D3DXCOLOR modulate(D3DXCOLOR const& a, D3DXCOLOR const& b) { return D3DXCOLOR(a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a); }

// Centred horizontally and vertically.
constexpr Orvex::u32 kNumberFlags = 5;

}  // namespace

Orvex::SpriteRect Maze::getCellRect(D3DXVECTOR2 const& position, bool centred) const {
    Orvex::FRect const f = field_ ? field_->getScreenRect() : Orvex::FRect();
    float const w = f.right - f.left;
    float const h = f.bottom - f.top;
    D3DXVECTOR2 const size(w / gridSize_.x, h / gridSize_.y);
    D3DXVECTOR2 corner(f.left + position.x * w, f.top + position.y * h);
    if (centred) corner += size * 0.5f;
    return Orvex::SpriteRect(corner, size, 0.0f, D3DXVECTOR2(0.5f, 0.5f), Orvex::SpriteRect::kCentreRelative);
}

bool Maze::Raum::containsPoint(D3DXVECTOR2 const& point) const {
    return Orvex::makeQuad(owner->getCellRect(position, false)).containsPoint(point);
}

void Maze::Raum::draw(D3DXCOLOR const& tint, bool plain) const {
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    if (!sprite) return;
    D3DXCOLOR const colour = isGoal    ? modulate(tint, goalColor)
                             : isStart ? modulate(tint, startColor)
                             : onPath  ? modulate(tint, markColor)
                                       : tint;
    D3DCOLOR const word = colour;
    Orvex::SpriteRect const cell = owner->getCellRect(position, false);
    auto put = [&](Orvex::CountedRef<Orvex::Texture2DAnimation> const& picture) {
        Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
        if (frame && frame->texture)
            sprite->drawSpriteRect(frame->texture, &frame->rect, cell, Orvex::SDP_SCALE, Orvex::SDP_SCALE, word);
    };
    put(backgroundImage);
    if (!plain) {
        for (std::size_t i = 0; i < sides.size(); ++i)
            if (sides[i].open) put(sideImages[2 * i + 1]);
        for (std::size_t i = 0; i < sides.size(); ++i)
            if (!sides[i].open) put(sideImages[2 * i]);
    }
    if (isStart && startImage)
        put(startImage);
    else if (isGoal && goalImage)
        put(goalImage);
    else if (onPath && markImage)
        put(markImage);
}

void Maze::Raum::drawWalls(D3DXCOLOR const& tint, ID3DXLine& line) const {
    std::size_t const n = sides.size();
    if (n == 0) return;
    Orvex::SpriteRect const cell = owner->getCellRect(position, true);
    // Corner k at the angle k / n of a turn plus delta, clockwise from up, length half cells away.
    auto corner = [&](std::size_t k) {
        float const angle =
            D3DXToRadian(static_cast<float>(k) / static_cast<float>(n) * 360.0f + delta);
        return D3DXVECTOR2(cell.x + std::sin(angle) * cell.w * 0.5f * length,
                           cell.y + std::cos(angle) * cell.h * -0.5f * length);
    };
    D3DCOLOR const colour = tint;
    for (std::size_t i = 0; i < n; ++i)
        if (!sides[i].open) MinigameLines::segment(line, corner(i), corner((i + 1) % n), colour);
}

void Maze::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn || &drawnWindow != field_) return;
    D3DXCOLOR const tint(1.0f, 1.0f, 1.0f, static_cast<float>(field_->getAccumulatedAlpha()));
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    Orvex::AnimationFrame const* frame = background_ ? background_->getCurrentFrame() : nullptr;
    if (sprite && frame && frame->texture)
        sprite->drawInRect(frame->texture, &frame->rect, field_->getScreenRect(), Orvex::SDP_STRETCH,
                           Orvex::SDP_STRETCH, static_cast<D3DCOLOR>(tint));
    if ((drawMode_ & 1) || drawMode_ == 2) {
        bool const plain = drawMode_ == 2;
        for (Raum const* room : rooms_) room->draw(tint, plain);
    }
    if (drawMode_ & 2) {
        lines_.drawBetweenBatches(kWallWidth, [&](ID3DXLine& line) {
            for (Raum const* room : rooms_) room->drawWalls(tint, line);
        });
    }
    if (fast_) drawStepNumbers();
}

void Maze::drawStepNumbers() {
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    Orvex::D3DXFontInterface* fonts = engine ? engine->getFontManager() : nullptr;
    if (!fonts) return;
    for (std::size_t k = 0; k < path_.size(); ++k) {
        Orvex::FRect const box = Orvex::boundingRectOfSpriteRect(getCellRect(path_[k]->position, false));
        RECT rect{static_cast<LONG>(box.left), static_cast<LONG>(box.top), static_cast<LONG>(box.right),
                  static_cast<LONG>(box.bottom)};
        fonts->drawTextWithStyleName(fontName_, std::to_wstring(k + 1), rect, kNumberFlags, fontStyle_);
    }
}

}  // namespace Solitaire
