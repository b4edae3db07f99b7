// Frame animations: frame records, playing, timing, state and cloning (loading is in
// Texture2DAnimation_load.cpp, drawing in Texture2DAnimation_draw.cpp).
#include "engine/render/Texture2DAnimation.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/Random.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"

namespace Orvex {

// --- frame records ---------------------------------------------------------------------------

AnimationFramePart::AnimationFramePart(AnimationFramePart const& other)
    : texture(other.texture), texRect(other.texRect), tl(other.tl), rb(other.rb) {
    if (texture) texture->addRef();
}

AnimationFramePart::AnimationFramePart(AnimationFramePart&& other) noexcept
    : texture(other.texture), texRect(other.texRect), tl(other.tl), rb(other.rb) {
    other.texture = nullptr;
}

AnimationFramePart& AnimationFramePart::operator=(AnimationFramePart const& other) {
    if (this != &other) {
        setTexture(other.texture);
        texRect = other.texRect;
        tl = other.tl;
        rb = other.rb;
    }
    return *this;
}

AnimationFramePart& AnimationFramePart::operator=(AnimationFramePart&& other) noexcept {
    if (this != &other) {
        if (texture) texture->release();
        texture = other.texture;
        other.texture = nullptr;
        texRect = other.texRect;
        tl = other.tl;
        rb = other.rb;
    }
    return *this;
}

AnimationFramePart::~AnimationFramePart() {
    if (texture) texture->release();
}

void AnimationFramePart::setTexture(Texture2D* tex) {
    if (tex) tex->addRef();
    if (texture) texture->release();
    texture = tex;
}

AnimationFrame::AnimationFrame(AnimationFrame const& other)
    : parts(other.parts), width(other.width), height(other.height), texture(other.texture), rect(other.rect) {
    if (texture) texture->addRef();
}

AnimationFrame::AnimationFrame(AnimationFrame&& other) noexcept
    : parts(std::move(other.parts)), width(other.width), height(other.height), texture(other.texture),
      rect(other.rect) {
    other.texture = nullptr;
}

AnimationFrame& AnimationFrame::operator=(AnimationFrame const& other) {
    if (this != &other) {
        parts = other.parts;
        width = other.width;
        height = other.height;
        if (other.texture) other.texture->addRef();
        if (texture) texture->release();
        texture = other.texture;
        rect = other.rect;
    }
    return *this;
}

AnimationFrame& AnimationFrame::operator=(AnimationFrame&& other) noexcept {
    if (this != &other) {
        parts = std::move(other.parts);
        width = other.width;
        height = other.height;
        if (texture) texture->release();
        texture = other.texture;
        other.texture = nullptr;
        rect = other.rect;
    }
    return *this;
}

AnimationFrame::~AnimationFrame() {
    if (texture) texture->release();
}

LONG frameEdge(double v) {
    if (!std::isfinite(v)) return 0;
    double const bound = Texture2DAnimation::kMaxFrameEdge;
    return static_cast<LONG>(std::clamp(std::trunc(v), -bound, bound));
}

float frameSpan(LONG lo, LONG hi) { return static_cast<float>(static_cast<s64>(hi) - lo); }

AnimationFrame AnimationFrame::fromCell(Texture2D* tex, RECT const& r) {
    AnimationFrame frame;
    AnimationFramePart part;
    part.setTexture(tex);
    part.texRect = r;
    frame.parts.push_back(std::move(part));
    frame.width = frameSpan(r.left, r.right);
    frame.height = frameSpan(r.top, r.bottom);
    frame.syncFirstPart();
    return frame;
}

void AnimationFrame::syncFirstPart() {
    Texture2D* first = parts.empty() ? nullptr : parts.front().texture;
    if (first) first->addRef();
    if (texture) texture->release();
    texture = first;
    rect = parts.empty() ? RECT{0, 0, 0, 0} : parts.front().texRect;
}

// --- construction ----------------------------------------------------------------------------

namespace {

// Frames and formula nodes that "RELOAD_ON_CLONE" copies hold in tables of their own.
std::size_t g_rolledEntries = 0;

std::shared_ptr<std::vector<PassingFrameEvent> const> noEvents() {
    static auto const none = std::make_shared<std::vector<PassingFrameEvent> const>();
    return none;
}

}  // namespace

Texture2DAnimation::Texture2DAnimation() : frames_(std::make_shared<AnimationFrames>()), events_(noEvents()) {}

Texture2DAnimation::Texture2DAnimation(XMLNode& node)
    : NamedObject(node), frames_(std::make_shared<AnimationFrames>()), events_(noEvents()) {
    readXML(node);
}

Texture2DAnimation::Texture2DAnimation(Texture2DAnimation const& other)
    : NamedObject(other),
      frames_(other.frames_),
      playType_(other.playType_),
      speed_(other.speed_),
      position_(other.position_),
      frameSize_(other.frameSize_),
      playing_(other.playing_),
      reversed_(other.reversed_),
      speedTerm_(other.speedTerm_),
      events_(other.events_),
      definition_(other.definition_),
      recipe_(other.recipe_),
      reloadOnClone_(other.reloadOnClone_),
      builtFrames_(other.builtFrames_),
      framesRandom_(other.framesRandom_),
      termRandom_(other.termRandom_),
      termNodes_(other.termNodes_),
      ownTextures_(other.ownTextures_),
      frameLimitLogged_(other.frameLimitLogged_) {  // copies that build frames again do not repeat the line
    if (ownTextures_) ownTextures_->addRef();
    // Every clone rolls its own random speed, start frame, order and formula values.
    if (reloadOnClone_ && recipe_) rollFrom(other);
}

Texture2DAnimation::~Texture2DAnimation() {
    g_rolledEntries -= rolled_;
    if (ownTextures_) ownTextures_->release();
    ownTextures_ = nullptr;
}

std::size_t Texture2DAnimation::rolledEntries() { return g_rolledEntries; }

Texture2DAnimation* Texture2DAnimation::clone() { return new Texture2DAnimation(*this); }

void Texture2DAnimation::writeXML(XMLNode& node) const { NamedObject::writeXML(node); }

XMLNode const& Texture2DAnimation::getDefinition() const {
    static XMLNode const none;
    return definition_ ? *definition_ : none;
}

AnimationFrames& Texture2DAnimation::ownFrames() {
    if (frames_.use_count() > 1) frames_ = std::make_shared<AnimationFrames>(*frames_);
    return *frames_;
}

void Texture2DAnimation::reload() {
    g_rolledEntries -= rolled_;
    rolled_ = 0;
    speedTerm_.reset();
    frames_ = std::make_shared<AnimationFrames>();
    // The frames are rebuilt in definition order, so a stored "REVERSE" must apply again.
    reversed_ = false;
    speed_ = kDefaultSpeed;
    position_ = 0.0f;
    XMLNode definition(getDefinition());
    readXML(definition);
}

void Texture2DAnimation::rollFrom(Texture2DAnimation const& source) {
    // As reload() and readXML would, sharing what the definition makes the same every time.
    CopyRecipe& recipe = *recipe_;
    speed_ = kDefaultSpeed;
    position_ = 0.0f;
    if (recipe.hasName && getName() != recipe.name) setName(recipe.name);
    std::size_t own = 0;
    std::size_t const sourceFrames = source.builtFrames_ ? source.builtFrames_->size() : 0;
    // Building frames reads the recipe's elements: charged as frames when they are more.
    std::size_t const frameCost = std::max(sourceFrames, recipe.frameWork);
    bool const roomToRoll = g_rolledEntries + frameCost + source.termNodes_ <= kMaxRolledEntries;
    if (!roomToRoll && !recipe.boundLogged) {
        recipe.boundLogged = true;
        logWarning(L"Animation \"" + getName() + L"\"" + atLine(getLine()) + L": copies that roll their own frames and "
                   L"formulas hold " + std::to_wstring(g_rolledEntries) + L" of at most " +
                   std::to_wstring(kMaxRolledEntries) + L"; further copies share their source's");
    }

    applySpeed(recipe.speed);
    if (recipe.hasTerm) {
        if (termRandom_ && roomToRoll && source.speedTerm_) {
            speedTerm_ = std::make_shared<AnimationFormula const>(source.speedTerm_->term().redrawn());
            own += termNodes_;
        } else {
            // Without "rand[" the values drawn are never read: the generator still runs on.
            for (std::size_t i = 0; i < termNodes_; ++i) randomDouble(0.0, 1.0);
        }
    }
    playType_ |= recipe.playType;

    if (builtFrames_) {
        frames_ = builtFrames_;
        reversed_ = recipe.reverse;
    }
    if (framesRandom_ && roomToRoll) {
        frames_ = std::make_shared<AnimationFrames>();
        reversed_ = false;
        readFrames(recipe.frames);
        own += std::max(frames_->size(), recipe.frameWork);
    }
    applyPlayStart(recipe.play, recipe.startFrame);
    rolled_ = own;
    g_rolledEntries += own;
}

// --- playing ---------------------------------------------------------------------------------

void Texture2DAnimation::play() {
    if (playing_) return;
    playing_ = true;
    started(*this);
}

void Texture2DAnimation::stop() {
    bool const was = playing_;
    playing_ = false;
    position_ = 0.0f;
    if (was) stopped(*this);
}

void Texture2DAnimation::rewind() {
    bool const moved = position_ != 0.0f;
    position_ = 0.0f;
    if (moved) rewound(*this);
}

void Texture2DAnimation::setReversed(bool reversed) {
    if (reversed == reversed_) return;
    AnimationFrames& frames = ownFrames();
    std::reverse(frames.begin(), frames.end());
    reversed_ = reversed;
}

double Texture2DAnimation::periodLength() const {
    return static_cast<double>(frames_->size()) * ((playType_ & kForwardBackward) ? 2.0 : 1.0);
}

s32 Texture2DAnimation::indexForPosition(double position) const {
    double const n = static_cast<double>(frames_->size());
    if (frames_->empty() || !std::isfinite(position)) return 0;
    double const p = std::trunc(position);
    bool const fb = (playType_ & kForwardBackward) != 0;
    double i;
    if (playType_ & kOnce) {
        i = fb ? std::clamp(p, -2.0 * n, 2.0 * n) : std::clamp(p, -n, n);
        if (fb && i >= n) i = 2.0 * n - 1.0 - i;
    } else if (fb) {
        i = std::fmod(p, 2.0 * n);
        if (i >= n) i = 2.0 * n - 1.0 - i;
    } else {
        i = std::fmod(p, n);
    }
    // Adding n until not negative, in one step.
    if (i < 0.0) {
        i = std::fmod(i, n);
        if (i < 0.0) i += n;
    }
    return static_cast<s32>(i);
}

s32 Texture2DAnimation::getCurrentFrameIndex() const { return indexForPosition(position_); }

AnimationFrame const* Texture2DAnimation::getCurrentFrame() {
    s32 const i = getCurrentFrameIndex();
    if (i < 0 || static_cast<std::size_t>(i) >= frames_->size()) return &emptyFrame_;
    return &(*frames_)[static_cast<std::size_t>(i)];
}

AnimationFrame const* Texture2DAnimation::getFrame(u32 const& index) {
    return index < frames_->size() ? &(*frames_)[index] : nullptr;
}

u32 Texture2DAnimation::getFrameCount() { return static_cast<u32>(frames_->size()); }

void Texture2DAnimation::clampOncePosition() {
    float const n = static_cast<float>(frames_->size());
    if (playType_ & kForwardBackward) {
        if (position_ >= 2.0f * n) position_ = 2.0f * n - 1.0f;
        if (position_ <= -2.0f * n) position_ = -2.0f * n + 1.0f;
    } else {
        if (position_ >= n) position_ = n - 1.0f;
        if (position_ <= 0.0f) position_ = 0.0f;
    }
}

void Texture2DAnimation::update(double const& dt) {
    if (!playing_) return;
    // The frame index is only needed for the passing-frame events.
    s32 const before = events_->empty() ? 0 : getCurrentFrameIndex();

    double speed = speed_;
    if (speedTerm_) speed *= static_cast<float>(speedTerm_->evaluate());
    double const step = speed * dt;
    double const old = position_;
    double next = old + (std::isfinite(step) ? step : 0.0);
    if (!std::isfinite(next) || std::fabs(next) > 1e30) next = old;

    if (frames_->empty()) {
        // Nothing to play: every step runs past the end at once.
        position_ = 0.0f;
        ended(*this);
        return;
    }

    double const period = periodLength();
    if (playType_ & kOnce) {
        position_ = static_cast<float>(next);
        if (next < 0.0 || next >= period) ended(*this);
        clampOncePosition();
    } else {
        // One `ended` per pass, and the position kept within one period of zero (truncated
        // remainder, so the frame shown stays the same) instead of growing without bound.
        if (std::floor(next / period) != std::floor(old / period)) ended(*this);
        if (std::fabs(next) >= period) next = std::fmod(next, period);
        position_ = static_cast<float>(next);
    }

    if (events_->empty()) return;
    s32 const after = getCurrentFrameIndex();
    if (after == before) return;
    for (PassingFrameEvent const& event : *events_) {
        if (event.frame == before) framePassed(*this, event.name);
    }
}

void Texture2DAnimation::setPosition(float position) {
    if (!std::isfinite(position)) {
        logWarning(L"Animation \"" + getName() + L"\": position is not a number; set to 0");
        position = 0.0f;
    }
    position_ = position;
    double const period = periodLength();
    if (position < 0.0f || position > period) ended(*this);
    if (frames_->empty()) {
        position_ = 0.0f;
        return;
    }
    float const last = static_cast<float>(frames_->size()) - 1.0f;
    if (playType_ & kOnce) {
        float const bound = (playType_ & kForwardBackward) ? 2.0f * last : last;
        position_ = std::clamp(position_, -bound, bound);
    } else if (std::fabs(position_) >= period) {
        position_ = static_cast<float>(std::fmod(static_cast<double>(position_), period));
    }
}

// --- state -----------------------------------------------------------------------------------

void Texture2DAnimation::writeState(XMLNode& node) {
    node.addAttribute(new XMLAttribute(L"PLAY", playing_));
    node.addAttribute(new XMLAttribute(L"SPEED", speed_));
    node.addAttribute(new XMLAttribute(L"PLAYTYPE", static_cast<unsigned int>(playType_)));
    node.addAttribute(new XMLAttribute(L"FRAME", position_));
}

void Texture2DAnimation::readState(XMLNode& node) {
    if (XMLAttribute const* a = node.getAttribute(L"PLAY")) playing_ = a->getBool();
    if (XMLAttribute const* a = node.getAttribute(L"SPEED")) {
        float const v = a->getFloat();
        if (std::isfinite(v)) speed_ = v;
    }
    if (XMLAttribute const* a = node.getAttribute(L"PLAYTYPE")) playType_ = a->getLong();
    if (XMLAttribute const* a = node.getAttribute(L"FRAME")) {
        float const v = a->getFloat();
        position_ = std::isfinite(v) ? v : 0.0f;
    }
}

}  // namespace Orvex
