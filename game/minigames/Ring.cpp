// The ring game: its rings, grabbing and turning them by the pointer angle, the upright test.
#include "game/minigames/Ring.h"

#include <algorithm>
#include <cmath>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "game/minigames/PlayfieldPicture.h"
#include "port/crt/crt.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

namespace {

constexpr float kFullTurn = 360.0f;

D3DXVECTOR2 centreOf(Orvex::FRect const& r) {
    return D3DXVECTOR2(r.left + (r.right - r.left) / 2.0f, r.top + (r.bottom - r.top) / 2.0f);
}

}  // namespace

// ---- rings ----

Ring::Objekt::Objekt(Orvex::XMLNode& node, Ring& owner) : game(&owner) {
    minigame::readPair(node, L"RADIUS", innerRadius, outerRadius, 0.0, Orvex::kMaxMeasure);
    rotierbar = node.getAttributeBool(L"ROTIERBAR", rotierbar);
    startAni = node.getAttributeBool(L"START_ANI", startAni);
    animation.adopt(minigame::animationCopy(node, L"ANIMATION"));
}

// Out of line: the animation's class is complete here.
Ring::Objekt::~Objekt() = default;

// ---- the game ----

Ring::Ring(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"OBJEKT", kMaxRings, L"rings", [&](Orvex::XMLNode& child) {
        rings_.push_back(new Objekt(child, *this));
        radiusMax_ = std::max(radiusMax_, rings_.back()->outerRadius);
    });
    // Rings of one outer radius keep the file's order.
    std::stable_sort(rings_.begin(), rings_.end(),
                     [](Objekt const* a, Objekt const* b) { return a->outerRadius < b->outerRadius; });
    background_.adopt(minigame::animationCopy(element, L"BACKGROUND"));
    // The radius divides every ring's: only a positive one scales.
    float radiusMax = radiusMax_;
    if (element.getAttribute(L"RADIUS_MAX") && minigame::readNumber(element, L"RADIUS_MAX", radiusMax) &&
        !(radiusMax > 0.0f))
        minigame::logProblem(element, L"\"RADIUS_MAX\" must be above 0; the largest ring's radius is kept");
    else
        radiusMax_ = radiusMax;
    minigame::readNumber(element, L"DELTA_WINKEL", deltaWinkel_);
}

Ring::~Ring() {
    for (Objekt* ring : rings_) delete ring;
    rings_.clear();
}

void Ring::createWindows() {
    if (!window) {
        window.adopt(minigame::buildPlayfieldFrame(*this, prefix, kKind, background_.get(), playfield_));
        if (playfield_) playfield_->selfDrawn.connect(this, &Ring::onPlayfieldDrawn);
    }
}

void Ring::start() {
    Minispiel::start();
    grabbed_ = nullptr;
    for (Objekt* ring : rings_) {
        ring->angle = kFullTurn - static_cast<float>(msvc::rand()) / static_cast<float>(msvc::kRandMax) *
                                            kFullTurn;
        if (!ring->rotierbar) ring->angle = 0.0f;
        if (ring->animation) {
            ring->animation->stop();
            ring->animation->rewind();
        }
    }
}

void Ring::update(double const& dt) {
    if (background_) background_->update(dt);
    for (Objekt* ring : rings_)
        if (ring->animation) ring->animation->update(dt);
    countDownEndDelay(dt);
}

void Ring::draw() {}

float Ring::pointerAngle(Orvex::FRect const& field, D3DXVECTOR2 const& pointer) {
    D3DXVECTOR2 const c = centreOf(field);
    float const dx = c.x - pointer.x;
    float const dy = c.y - pointer.y;
    float radians = 0.0f;
    if (dx > 0.0f)
        radians = std::atan(dy / dx);
    else if (dx < 0.0f)
        radians = std::atan(dy / dx) + D3DX_PI;
    else
        radians = dy < 0.0f ? 3.0f * D3DX_PI / 2.0f : D3DX_PI / 2.0f;
    return D3DXToDegree(radians);
}

float Ring::screenRadius(float radius) const {
    if (!(radiusMax_ > 0.0f) || !playfield_) return 0.0f;
    Orvex::FRect const r = playfield_->getScreenRect();
    return radius / radiusMax_ * std::min(r.right - r.left, r.bottom - r.top);
}

bool Ring::isUpright(float angle) const {
    float a = std::fmod(angle, kFullTurn);
    if (a < 0.0f) a += kFullTurn;
    return deltaWinkel_ > a || a > kFullTurn - deltaWinkel_;
}

bool Ring::isSolved(bool) {
    bool result = true;
    for (auto it = rings_.rbegin(); it != rings_.rend(); ++it) {
        Objekt* ring = *it;
        if (!ring->rotierbar) continue;
        result = isUpright(ring->angle) && result;
        if (ring->startAni && ring->animation) ring->animation->play();
    }
    return result;
}

void Ring::judge() {
    if (!isSolved()) return;
    setSolved();
    grabbed_ = nullptr;
}

void Ring::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    if (button != Orvex::OMB_LEFT || solved || !playfield_) return;
    grabbed_ = nullptr;
    // The rings lie under the help screen while it is up: a press there grabs none.
    if (MinispielManager::instance().isHelpShown()) return;
    Orvex::FRect const field = playfield_->getScreenRect();
    D3DXVECTOR2 const pointer(state.x, state.y);
    D3DXVECTOR2 const fromCentre = pointer - centreOf(field);
    float const d = std::sqrt(fromCentre.x * fromCentre.x + fromCentre.y * fromCentre.y);
    for (Objekt* ring : rings_) {
        if (!ring->rotierbar) continue;
        if (screenRadius(ring->innerRadius) < d && d < screenRadius(ring->outerRadius)) {
            grabbed_ = ring;
            break;
        }
    }
    lastAngle_ = pointerAngle(field, pointer);
}

void Ring::onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const&) {
    if (solved || !grabbed_ || !playfield_) return;
    float const a = pointerAngle(playfield_->getScreenRect(), D3DXVECTOR2(state.x, state.y));
    grabbed_->angle += a - lastAngle_;
    lastAngle_ = a;
    judge();
}

void Ring::onMouseUp(Orvex::MouseState&, Orvex::OrvexMouseButton const& button) {
    if (button != Orvex::OMB_LEFT || !grabbed_ || solved) return;
    grabbed_ = nullptr;
    judge();
}

Orvex::SpriteRect Ring::getSpriteRect(Objekt const& ring) const {
    Orvex::FRect const field = playfield_ ? playfield_->getScreenRect() : Orvex::FRect();
    D3DXVECTOR2 const c = centreOf(field);
    float const r = screenRadius(ring.outerRadius);
    return Orvex::SpriteRect(D3DXVECTOR2(c.x - r, c.y - r), D3DXVECTOR2(2.0f * r, 2.0f * r), ring.angle,
                             D3DXVECTOR2(0.5f, 0.5f), Orvex::SpriteRect::kCentreRelative);
}

void Ring::drawObjekt(Objekt const& ring, D3DXCOLOR const& colour) const {
    if (ring.animation)
        minigame::drawFrameInSprite(ring.animation.get(), getSpriteRect(ring), minigame::packTruncated(colour));
}

void Ring::onPlayfieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    double const alpha = drawnWindow.getAccumulatedAlpha();
    if (background_)
        minigame::drawFrameInRect(background_.get(), drawnWindow.getScreenRect(), Orvex::SDP_STRETCH,
                                  minigame::whiteWithAlpha(alpha));
    D3DXCOLOR const colour(1.0f, 1.0f, 1.0f, static_cast<float>(alpha));
    for (Objekt const* ring : rings_) drawObjekt(*ring, colour);
}

}  // namespace Solitaire
