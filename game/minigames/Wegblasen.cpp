// The blowing game: its objects, the push from the pointer, the strength ramp and the blower.
#include "game/minigames/Wegblasen.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/core/XMLNode.h"
#include "engine/core/Utils.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/FieldPictures.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "game/minigames/PlayfieldPicture.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

constexpr float kBlowFullTurn = 360.0f;
// Sizes are given in pixels of this screen.
constexpr float kDesignWidth = 1024.0f;
constexpr float kDesignHeight = 768.0f;

}  // namespace

// ---- objects ----

Wegblasen::Objekt::Objekt(Orvex::XMLNode& node, Wegblasen& owner) : game(&owner) {
    animation.adopt(minigame::animationCopy(node, L"ANIMATION"));
    float width = 0.0f;
    float height = 0.0f;
    minigame::readPair(node, L"SIZE", width, height, 0.0, Orvex::kMaxMeasure);
    size = D3DXVECTOR2(width / kDesignWidth, height / kDesignHeight);
    // The mass divides the force: only a positive one is a mass.
    minigame::readNumber(node, L"MASS", mass, std::numeric_limits<float>::min(), Orvex::kMaxMeasure);
    minigame::readNumber(node, L"BREMS", brems);
}

Wegblasen::Objekt::Objekt(Objekt const& other)
    : force(other.force),
      velocity(other.velocity),
      position(other.position),
      size(other.size),
      angle(other.angle),
      mass(other.mass),
      brems(other.brems),
      animation(minigame::ownCopy(other.animation.get())),
      game(other.game) {}

// Out of line: the animation's class is complete here.
Wegblasen::Objekt::~Objekt() = default;

float Wegblasen::Objekt::getMouseOffset(D3DXVECTOR2& out) const {
    out = D3DXVECTOR2(0.0f, 0.0f);
    Orvex::GUIWindow* field = game->getPlayfield();
    if (!field) return kFar;
    Orvex::FRect const r = field->getScreenRect();
    D3DXVECTOR2 const mouse = minigame::pointerPosition();
    // An empty playfield has no inside to map the pointer into.
    if (!(r.right > r.left) || !(r.bottom > r.top) || !minigame::containsInclusive(r, mouse)) return kFar;
    float const u = (mouse.x - r.left) / (r.right - r.left);
    float const v = (mouse.y - r.top) / (r.bottom - r.top);
    out = D3DXVECTOR2(position.x - u, position.y - v);
    return std::sqrt(out.x * out.x + out.y * out.y);
}

Orvex::SpriteRect Wegblasen::Objekt::getSpriteRect() const {
    Orvex::GUIWindow* field = game->getPlayfield();
    Orvex::FRect const r = field ? field->getScreenRect() : Orvex::FRect();
    float const w = r.right - r.left;
    float const h = r.bottom - r.top;
    return Orvex::SpriteRect(
        D3DXVECTOR2(position.x * w + r.left - size.x * 0.5f * w, position.y * h + r.top - size.y * 0.5f * h),
        D3DXVECTOR2(size.x * w, size.y * h), angle, D3DXVECTOR2(0.5f, 0.5f), Orvex::SpriteRect::kCentreRelative);
}

void Wegblasen::Objekt::drawObjekt(D3DXCOLOR const& colour) const {
    if (animation) minigame::drawFrameInSprite(animation.get(), getSpriteRect(), minigame::packTruncated(colour));
}

bool Wegblasen::Objekt::touchesBorder() const {
    return position.x - size.x / 2.0f <= 0.0f || position.x + size.x / 2.0f >= 1.0f ||
           position.y - size.y / 2.0f <= 0.0f || position.y + size.y / 2.0f >= 1.0f;
}

// ---- the game ----

Wegblasen::Wegblasen(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"OBJEKT", kMaxObjects, L"objects",
                           [&](Orvex::XMLNode& child) { objects_.push_back(new Objekt(child, *this)); });
    minigame::readNumber(element, L"POW", pow_, 0.0, kMaxPow);
    int minimum = 0;
    minigame::readCount(element, L"MIN_ANZ", minimum, 0, static_cast<int>(kMaxObjects));
    while (!objects_.empty() && objects_.size() < static_cast<std::size_t>(minimum)) {
        std::size_t const pick = static_cast<std::size_t>(msvc::rand()) % objects_.size();
        objects_.push_back(new Objekt(*objects_[pick]));
    }
    minigame::readPair(element, L"STRENGTH", firstStrength_, lastStrength_, -kMaxStrength, kMaxStrength);
    minigame::readPair(element, L"STRENGTH_TIMER", rampStart_, rampEnd_, -kMaxRampTime, kMaxRampTime);
    background_.adopt(minigame::animationCopy(element, L"BACKGROUND"));
    mouseAnimation_.adopt(minigame::animationCopy(element, L"MOUSE_ANI"));
}

Wegblasen::~Wegblasen() {
    MinispielCursor& cursor = MinispielCursor::instance();
    if (cursor.picture && cursor.picture == mouseAnimation_) cursor.reset();
    for (Objekt* object : objects_) delete object;
    objects_.clear();
}

void Wegblasen::createWindows() {
    if (!window) {
        window.adopt(minigame::buildPlayfieldFrame(*this, prefix, kKind, background_.get(), playfield_));
        if (playfield_) {
            playfield_->selfDrawn.connect(this, &Wegblasen::onPlayfieldDrawn);
            if (Orvex::AnimationFrame const* first = background_ ? background_->getCurrentFrame() : nullptr) {
                Orvex::GUIDrawOptions& options = playfield_->getDrawOptions();
                options.setTexBackground(first->texture);
                options.setBackDrawType(Orvex::SDP_SCALE, Orvex::SDP_SCALE);
            }
        }
    }
}

void Wegblasen::start() {
    Minispiel::start();
    for (Objekt* object : objects_) {
        float const r1 = static_cast<float>(msvc::rand());
        float const r2 = static_cast<float>(msvc::rand());
        float const r3 = static_cast<float>(msvc::rand());
        float const top = static_cast<float>(msvc::kRandMax);
        object->position = D3DXVECTOR2(1.0f - r1 / top, 1.0f - r2 / top);
        object->force = D3DXVECTOR2(0.0f, 0.0f);
        object->velocity = D3DXVECTOR2(0.0f, 0.0f);
        object->angle = kBlowFullTurn - r3 / top * kBlowFullTurn;
    }
    blowTime_ = 0.0f;
    strength_ = 0.0f;
}

void Wegblasen::show() {
    shown_ = true;
    Minispiel::show();
}

void Wegblasen::hide() {
    shown_ = false;
    Minispiel::hide();
    // A button released while the game was hidden would leave it blowing at the next showing.
    blowing_ = false;
    MinispielCursor::instance().reset();
}

void Wegblasen::onMouseDown(Orvex::MouseState&, Orvex::OrvexMouseButton const&) {
    // The game lies shown under its help screen, whose clock stands still: a press there must not
    // blow (held, it would win at full score).
    if (shown_ && !MinispielManager::instance().isHelpShown()) blowing_ = true;
    blowTime_ = 0.0f;
    strength_ = 0.0f;
}

void Wegblasen::onMouseUp(Orvex::MouseState&, Orvex::OrvexMouseButton const&) {
    if (shown_) blowing_ = false;
    blowTime_ = 0.0f;
    strength_ = 0.0f;
}

void Wegblasen::onMouseMove(Orvex::MouseState&, Orvex::OrvexAchse const&) {}

float Wegblasen::rampShare(float blowTime) const {
    // A ramp of no length: full strength from its start (0 / 0 at the start otherwise).
    if (rampEnd_ == rampStart_) return blowTime >= rampStart_ ? 1.0f : 0.0f;
    float const s = (blowTime - rampStart_) / (rampEnd_ - rampStart_);
    return std::isnan(s) ? 0.0f : std::clamp(s, 0.0f, 1.0f);
}

void Wegblasen::moveObjects(float dt, bool& allOut) {
    for (Objekt* object : objects_) {
        object->force = D3DXVECTOR2(0.0f, 0.0f);
        if (blowing_) {
            D3DXVECTOR2 offset;
            float const d = object->getMouseOffset(offset);
            float const t = std::clamp(d, 0.0f, 1.0f);
            float const falloff = std::pow(1.0f - t, pow_);
            object->force = offset * (1.0f / object->mass) * strength_ * falloff;
        }
        object->velocity += object->force * dt;
        object->velocity *= std::clamp(1.0f - dt * object->mass * object->brems, 0.0f, 1.0f);
        object->position += object->velocity * dt;
        D3DXVECTOR2 const half = object->size * 0.5f;
        object->position.x = std::max(half.x, std::min(object->position.x, 1.0f - half.x));
        object->position.y = std::max(half.y, std::min(object->position.y, 1.0f - half.y));
        if (object->animation) object->animation->update(dt);
        allOut = allOut && object->touchesBorder();
    }
}

void Wegblasen::updateCursor(float dt) {
    MinispielCursor& cursor = MinispielCursor::instance();
    cursor.setPicture(nullptr);
    cursor.sizeFlag = false;
    cursor.size = D3DXVECTOR2(kCursorSide, kCursorSide);
    cursor.offset = D3DXVECTOR2(0.0f, 0.0f);
    if (!shown_ || !blowing_ || solved) return;
    blowTime_ += dt;
    float const s = rampShare(blowTime_);
    strength_ = Orvex::lerp(firstStrength_, lastStrength_, s);
    if (playfield_ && minigame::containsInclusive(playfield_->getScreenRect(), minigame::pointerPosition()))
        cursor.setPicture(mouseAnimation_.get());
    float w = kCursorSide;
    float h = kCursorSide;
    if (Orvex::AnimationFrame const* frame = cursor.picture ? cursor.picture->getCurrentFrame() : nullptr) {
        w = static_cast<float>(frame->rect.right - frame->rect.left);
        h = static_cast<float>(frame->rect.bottom - frame->rect.top);
    }
    // The blower grows to twice its size about its middle as the strength ramps up; the size flag
    // makes the cursor drawing use that size.
    cursor.size = D3DXVECTOR2(w * (1.0f + s), h * (1.0f + s));
    cursor.offset = D3DXVECTOR2(-w / 2.0f - w / 2.0f * s, -h / 2.0f - h / 2.0f * s);
    cursor.sizeFlag = true;
}

void Wegblasen::update(double const& dt) {
    float const step = static_cast<float>(dt);
    if (background_ && playfield_) {
        background_->update(dt);
        if (Orvex::AnimationFrame const* frame = background_->getCurrentFrame())
            playfield_->getDrawOptions().setTexBackground(frame->texture);
    }
    if (mouseAnimation_) mouseAnimation_->update(dt);
    bool allOut = true;
    moveObjects(step, allOut);
    countDownEndDelay(dt);
    if (!solved && allOut) setSolved();
    updateCursor(step);
}

void Wegblasen::draw() {}

void Wegblasen::onPlayfieldDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    double const alpha = drawnWindow.getAccumulatedAlpha();
    if (background_)
        minigame::drawFrameInRect(background_.get(), drawnWindow.getScreenRect(), Orvex::SDP_SCALE,
                                  minigame::whiteWithAlpha(alpha));
    D3DXCOLOR const colour(1.0f, 1.0f, 1.0f, static_cast<float>(alpha));
    for (Objekt const* object : objects_) object->drawObjekt(colour);
}

}  // namespace Solitaire
