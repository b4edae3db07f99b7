// Connect the dots in play: the points' connections, the presses on points, the solved test and
// the drawing of points and lines from the field's self-drawn signal.
#include <algorithm>
#include <cmath>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Punkteverbinden.h"

namespace Solitaire {

namespace {

bool lists(std::vector<int> const& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end() ||
           std::find(ids.begin(), ids.end(), Punkteverbinden::kAny) != ids.end();
}

}  // namespace

// ---- points ----

bool Punkteverbinden::Punkt::canConnect(Punkt const& other) const {
    return &other != this && (lists(valid, other.id) || lists(goals, other.id));
}

void Punkteverbinden::Punkt::connect(Punkt& other) {
    addConnection(other);
    other.addConnection(*this);
}

void Punkteverbinden::Punkt::addConnection(Punkt& other) {
    if (std::find(connections.begin(), connections.end(), &other) == connections.end())
        connections.push_back(&other);
}

void Punkteverbinden::Punkt::disconnect(Punkt& other) {
    removeConnection(other);
    other.removeConnection(*this);
}

void Punkteverbinden::Punkt::removeConnection(Punkt& other) { std::erase(connections, &other); }

bool Punkteverbinden::Punkt::isGoal(Punkt const& other) const { return lists(goals, other.id); }

void Punkteverbinden::Punkt::draw(D3DXCOLOR const& colour) const {
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    if (!sprite || !frame || !frame->texture) return;
    Orvex::SpriteRect const box = owner->getPointRect(D3DXVECTOR2(x, y), D3DXVECTOR2(w, h));
    sprite->drawSpriteRect(frame->texture, &frame->rect, box, Orvex::SDP_SCALE, Orvex::SDP_SCALE,
                           static_cast<D3DCOLOR>(colour));
}

Orvex::SpriteRect Punkteverbinden::getPointRect(D3DXVECTOR2 const& position, D3DXVECTOR2 const& size) const {
    Orvex::FRect const f = field_ ? field_->getScreenRect() : Orvex::FRect();
    float const width = f.right - f.left;
    float const height = f.bottom - f.top;
    D3DXVECTOR2 const box(size.x * width, size.y * height);
    D3DXVECTOR2 const corner(f.left + position.x * width - box.x * 0.5f, f.top + position.y * height - box.y * 0.5f);
    return Orvex::SpriteRect(corner, box, 0.0f, D3DXVECTOR2(0.5f, 0.5f), Orvex::SpriteRect::kCentreRelative);
}

// ---- presses ----

void Punkteverbinden::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    // A press on another window (the help's OK button over the field, the cancel button) is
    // not a press on the game.
    if (!field_ || Orvex::GUISystem::instance().getActiveWindow() != field_) return;
    MinispielManager& manager = MinispielManager::instance();
    D3DXVECTOR2 const pointer(state.x, state.y);
    bool success = false;
    for (Punkt* p : points_) {
        if (!Orvex::makeQuad(getPointRect(D3DXVECTOR2(p->x, p->y), D3DXVECTOR2(p->w, p->h))).containsPoint(pointer))
            continue;
        if (button == Orvex::OMB_LEFT) {
            if (selected_ && (selected_->canConnect(*p) || p->canConnect(*selected_))) {
                selected_->connect(*p);
                selected_ = p;
                manager.moveMade.emit(*this);
                testSolved();
                return;
            }
            selected_ = p;
        } else if (button == Orvex::OMB_RIGHT) {
            for (Punkt* other : p->getConnections()) p->disconnect(*other);
            manager.moveMade.emit(*this);
            testSolved();
            return;
        } else if (button == Orvex::OMB_MIDDLE) {
            selected_ = p;
            manager.moveMade.emit(*this);
            success = true;
        }
    }
    if (success)
        testSolved();
    else
        manager.moveWrong.emit(*this);
}

bool Punkteverbinden::isSolved() const {
    for (Punkt const* p : points_) {
        if (p->goals.size() != p->connections.size()) return false;
        std::vector<int> left = p->goals;
        bool matched = true;
        for (Punkt const* q : p->connections) {
            auto const entry = std::find(left.begin(), left.end(), q->id);
            if (entry != left.end()) {
                left.erase(entry);
                continue;
            }
            matched = false;
            if (onlyGoalsToFinish_) return false;
        }
        if (!matched) return false;
    }
    return true;
}

void Punkteverbinden::testSolved() {
    if (!isSolved()) return;
    setSolved();
    blinking_ = true;
    blinkClock_ = 0.0f;
}

// ---- drawing ----

D3DCOLOR Punkteverbinden::lineColour(Punkt const& p, Punkt const& q, float alpha) const {
    if (!p.isGoal(q)) return D3DXCOLOR(0.5f, 0.5f, 0.5f, alpha);
    bool const shown = !blinking_ || std::fmod(blinkClock_, kBlinkPeriod) < kBlinkShown;
    return D3DXCOLOR(0.0f, 1.0f, 0.0f, shown ? alpha : 0.0f);
}

void Punkteverbinden::onFieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn || &drawnWindow != field_) return;
    float const alpha = static_cast<float>(field_->getAccumulatedAlpha());
    for (Punkt const* p : points_)
        p->draw(p == selected_ ? D3DXCOLOR(1.0f, 0.0f, 0.0f, alpha) : D3DXCOLOR(1.0f, 1.0f, 1.0f, alpha * 0.5f));
    Orvex::FRect const f = field_->getScreenRect();
    auto centre = [&f](Punkt const& p) {
        return D3DXVECTOR2(f.left + p.x * (f.right - f.left), f.top + p.y * (f.bottom - f.top));
    };
    lines_.drawBetweenBatches(kLineWidth, [&](ID3DXLine& line) {
        for (Punkt const* p : points_)
            for (Punkt const* q : p->connections)
                MinigameLines::segment(line, centre(*p), centre(*q), lineColour(*p, *q, alpha));
    });
}

}  // namespace Solitaire
