// The click-the-shown-object game: its definition, rounds, clicks and drawing.
#include "game/minigames/ObjekteAnklicken.h"

#include <cmath>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// A fresh draw in [0, 1] from the runtime's generator.
double draw01() { return msvc::rand() / static_cast<double>(msvc::kRandMax); }

}  // namespace

// ---- forms ----

ObjekteAnklicken::Form::Form(ObjekteAnklicken* game) : owner(game) {}

ObjekteAnklicken::Form::Form(Form const& other)
    : picture(minigame::ownCopy(other.picture.get())),
      x(other.x),
      y(other.y),
      width(other.width),
      height(other.height),
      rotation(other.rotation),
      rotationSpeed(other.rotationSpeed),
      owner(other.owner) {}

// Out of line: the picture's class is complete here.
ObjekteAnklicken::Form::~Form() = default;

Orvex::SpriteRect ObjekteAnklicken::Form::getSpriteRect() const {
    Orvex::FRect field;
    if (owner && owner->field_) field = owner->field_->getScreenRect();
    float const w = field.right - field.left;
    float const h = field.bottom - field.top;
    return Orvex::SpriteRect(D3DXVECTOR2(field.left + x * w, field.top + y * h), D3DXVECTOR2(width * w, height * w),
                             rotation, D3DXVECTOR2(0.5f, 0.5f), Orvex::SpriteRect::kCentreRelative);
}

bool ObjekteAnklicken::Form::hitTest(D3DXVECTOR2 const& point) const {
    return Orvex::makeQuad(getSpriteRect()).containsPoint(point);
}

// ---- the game ----

ObjekteAnklicken::ObjekteAnklicken(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"FORM", kMaxForms, L"forms", [&](Orvex::XMLNode& child) {
        auto* form = new Form(this);
        form->picture.adopt(minigame::animationCopy(child, L"ANIMATION"));
        forms_.push_back(form);
    });
    minigame::readPair(element, L"SIZE", size_[0], size_[1], 0.0, 1.0);
    minigame::readPair(element, L"ANZAHL", others_[0], others_[1], 0, kMaxOthers);
    minigame::readPair(element, L"ROT_SPEED", rotSpeed_[0], rotSpeed_[1]);
    minigame::readCount(element, L"RUNDEN", rounds_, 0, kMaxRounds);
    if (Orvex::XMLAttribute const* colour = element.getAttribute(L"COLORKEY")) {
        std::uint32_t const argb = colour->getHex();
        tint_ = D3DXCOLOR(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                          ((argb >> 24) & 0xFF) / 255.0f);
    }
    if (forms_.empty()) {
        minigame::logProblem(element, L"mini-game \"" + getName() + L"\" has no FORM; it shows nothing");
    } else if (forms_.size() == 1 && (others_[0] > 0 || others_[1] > 0)) {
        minigame::logProblem(element, L"mini-game \"" + getName() +
                                          L"\" has one FORM, so no other picture can be shown; ANZAHL read as 0");
        others_[0] = others_[1] = 0;
    }
}

ObjekteAnklicken::~ObjekteAnklicken() {
    clearObjects();
    for (Form* form : forms_) delete form;
    forms_.clear();
}

void ObjekteAnklicken::clearObjects() {
    for (Form* form : objects_) delete form;
    objects_.clear();
}

void ObjekteAnklicken::createWindows() {
    if (!window) {
        ClickGameWindows frame(prefix, kKind);
        frame.lookUp(false);
        preview_ = frame.part(L"VORSCHAU");
        field_ = frame.part(L"SPIEL");
        if (frame.main && preview_ && field_) {
            frame.cloneFrame();
            window.adopt(frame.main);
            preview_ = minigame::cloneOf(preview_);
            field_ = minigame::cloneOf(field_);
            field_->leftClicked.connect(this, &ObjekteAnklicken::onSpielClicked);
            field_->selfDrawn.connect(this, &ObjekteAnklicken::onViewDrawn);
            preview_->selfDrawn.connect(this, &ObjekteAnklicken::onViewDrawn);
            minigame::adopt(window.get(), preview_);
            minigame::adopt(window.get(), field_);
            frame.addButtons(*this, window.get());
        } else {
            preview_ = field_ = nullptr;
        }
    }
}

void ObjekteAnklicken::start() {
    Minispiel::start();
    round_ = -1;
    nextRound();
}

void ObjekteAnklicken::nextRound() {
    ++round_;
    if (round_ >= rounds_) {
        setSolved();
        return;
    }
    clearObjects();
    if (forms_.empty()) return;
    int const count = static_cast<int>(forms_.size());
    int const target = msvc::rand() % count;
    auto* placed = new Form(*forms_[static_cast<std::size_t>(target)]);
    placeForm(*placed);
    objects_.push_back(placed);
    double const a = others_[0];
    double const b = others_[1];
    int const n = static_cast<int>(b + (a - b) * draw01());
    for (int i = 0; i < n && count > 1; ++i) {
        int k = msvc::rand() % count;
        while (k == target) k = msvc::rand() % count;
        auto* other = new Form(*forms_[static_cast<std::size_t>(k)]);
        placeForm(*other);
        objects_.push_back(other);
    }
    target_ = 0;
}

void ObjekteAnklicken::placeForm(Form& form) {
    float const size = static_cast<float>(size_[1] + (size_[0] - size_[1]) * draw01());
    form.width = form.height = size;
    double const span = size - (kPlaceHigh - kPlaceLow);
    form.x = static_cast<float>((kPlaceHigh - size) + span * draw01());
    form.y = static_cast<float>((kPlaceHigh - size) + span * draw01());
    form.rotation = static_cast<float>(360.0 - 360.0 * draw01());
    form.rotationSpeed = static_cast<float>(rotSpeed_[1] + (rotSpeed_[0] - rotSpeed_[1]) * draw01());
}

void ObjekteAnklicken::onSpielClicked(Orvex::GUIWindow& clicked) {
    if (solved || &clicked != field_) return;
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    D3DXVECTOR2 const point(input.mouseX, input.mouseY);
    bool right = false;
    bool wrong = false;
    for (std::size_t i = objects_.size(); i-- > 0;) {
        if (!objects_[i]->hitTest(point)) continue;
        if (static_cast<int>(i) == target_) {
            right = true;
            break;
        }
        wrong = true;
    }
    MinispielManager& manager = MinispielManager::instance();
    if (right) {
        manager.moveMade.emit(*this);
        nextRound();
    } else if (wrong) {
        manager.moveWrong.emit(*this);
        manager.gameFailed.emit(*this);
    }
}

void ObjekteAnklicken::update(double const& dt) {
    for (Form* form : objects_) {
        if (form->picture) form->picture->update(dt);
        form->rotation += static_cast<float>(dt) * form->rotationSpeed;
    }
    countDownEndDelay(dt);
}

void ObjekteAnklicken::draw() {}

float ObjekteAnklicken::fade() const {
    if (!solved || !(endDelay > 0.0f)) return 1.0f;
    return endDelayLeft > 0.0f ? endDelayLeft / endDelay : 0.0f;
}

void ObjekteAnklicken::onViewDrawn(Orvex::GUIWindow& drawnWindow, bool const& drawn) {
    if (!drawn) return;
    float const f = fade();
    if (&drawnWindow == preview_) {
        if (target_ < 0 || static_cast<std::size_t>(target_) >= objects_.size()) return;
        Orvex::Texture2DAnimation* picture = objects_[static_cast<std::size_t>(target_)]->picture.get();
        Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
        Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
        if (!frame || !sprite) return;
        Orvex::FRect const r = preview_->getScreenRect();
        Orvex::FRect const target(std::trunc(r.left), std::trunc(r.top), std::trunc(r.right), std::trunc(r.bottom));
        D3DXCOLOR const colour(1.0f, 1.0f, 1.0f, static_cast<float>(preview_->getAccumulatedAlpha()) * f);
        sprite->drawInRect(frame->texture, &frame->rect, target, Orvex::SDP_STRETCH, Orvex::SDP_STRETCH,
                           static_cast<D3DCOLOR>(colour));
    } else if (&drawnWindow == field_) {
        D3DXCOLOR colour = tint_;
        colour.a = static_cast<float>(field_->getAccumulatedAlpha()) * f;
        for (Form const* form : objects_) drawForm(*form, colour);
    }
}

void ObjekteAnklicken::drawForm(Form const& form, D3DXCOLOR const& colour) {
    Orvex::AnimationFrame const* frame = form.picture ? form.picture->getCurrentFrame() : nullptr;
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    if (!frame || !sprite) return;
    sprite->drawSpriteRect(frame->texture, &frame->rect, form.getSpriteRect(), Orvex::SDP_STRETCH, Orvex::SDP_STRETCH,
                           static_cast<D3DCOLOR>(colour));
}

}  // namespace Solitaire
