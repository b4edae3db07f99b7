// The checkbox button: parameters, the press, the fade, drawing and the group.
#include "engine/gui/GUICheckboxButton.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLProperty.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

GUICheckboxButton::GUICheckboxButton(XMLNode& node) : GUIWindow(node) {
    applyTemplateByName(templatePre);
    if (XMLNode* params = node.getChild(L"CHECKBOX_BUTTON_PARAMS")) readParams(*params, false);
    startFade();
}

GUICheckboxButton::GUICheckboxButton(std::wstring const& name) : GUIWindow(name) { startFade(); }

GUICheckboxButton::GUICheckboxButton(GUICheckboxButton const& other)
    : GUIWindow(other),
      oneWayClick_(other.oneWayClick_),
      drawCheckedFull_(other.drawCheckedFull_),
      checked_(other.checked_),
      fadeTimer_(other.fadeTimer_),
      fadeTime_(other.fadeTime_) {}

GUICheckboxButton::~GUICheckboxButton() {
    changed.disconnect_all();
    for (GUICheckboxButton* member : group_) {
        member->signalDestroyed.disconnect(this);
        member->removeGroupMember(this);
    }
    group_.clear();
}

GUIWindow* GUICheckboxButton::clone() { return new GUICheckboxButton(*this); }

void GUICheckboxButton::readParams(XMLNode& params, bool throughSetter) {
    if (XMLAttribute* a = params.getAttribute(L"ENABLED")) {
        if (throughSetter) setChecked(a->getBool());
        else checked_ = a->getBool();
    }
    if (XMLAttribute* a = params.getAttribute(L"ENABLE_TIMER")) setFadeTime(a->getDouble(), params.getLine());
    if (XMLAttribute* a = params.getAttribute(L"ONE_WAY_CLICK")) oneWayClick_ = a->getInt();
    if (XMLAttribute* a = params.getAttribute(L"DRAW_ENABLED_FULL")) drawCheckedFull_ = a->getBool();
    if (XMLNode* names = params.getChild(L"GROUP_NAMES"))
        for (u32 i = 0; i < names->getValueCount(); ++i)
            if (XMLProperty const* name = names->getValue(i)) groupNames_.push_back(name->getString());
}

void GUICheckboxButton::setFadeTime(double seconds, u32 line) {
    if (!(seconds >= 0.0) || !std::isfinite(seconds)) {
        logWarning(L"GUI checkbox \"" + getName() + L"\" (" + GUISystem::loadingPlace(line) +
                   L"): ENABLE_TIMER below 0 or not a number; read as 0");
        seconds = 0.0;
    }
    fadeTime_ = seconds;
}

double GUICheckboxButton::fadeShare() const {
    if (!(fadeTime_ > 0.0)) return checked_ ? 1.0 : 0.0;
    return std::clamp(fadeTimer_ / fadeTime_, 0.0, 1.0);
}

// ---- state and group ----

void GUICheckboxButton::playAnimationTowardsState() {
    Texture2DAnimation* animation = drawOptions.textures.aniNormal;
    if (!animation || !drawOptions.playAniOnFocus) return;
    float const speed = std::fabs(animation->getSpeed());
    animation->setSpeed(checked_ ? speed : -speed);
    animation->play();
}

void GUICheckboxButton::setChecked(bool on) {
    HeldRef<GUIWindow> hold(this);
    bool const was = checked_;
    checked_ = on;
    playAnimationTowardsState();
    if (was == on) return;
    changed.emit(*this);
    if (!checked_) return;
    // A slot may change the group: walk a copy, skipping members that left it.
    std::vector<GUICheckboxButton*> const members = group_;
    for (GUICheckboxButton* member : members)
        if (std::find(group_.begin(), group_.end(), member) != group_.end()) member->setChecked(false);
}

void GUICheckboxButton::addGroupMember(GUICheckboxButton* member) {
    if (!member || member == this || std::find(group_.begin(), group_.end(), member) != group_.end()) return;
    member->signalDestroyed.connect(this, &GUICheckboxButton::onMemberDestroyed);
    group_.push_back(member);
}

void GUICheckboxButton::removeGroupMember(GUICheckboxButton* member) {
    for (std::size_t i = group_.size(); i-- > 0;) {
        if (group_[i] != member) continue;
        group_.erase(group_.begin() + static_cast<std::ptrdiff_t>(i));
        member->signalDestroyed.disconnect(this);
        return;
    }
}

void GUICheckboxButton::onMemberDestroyed(NamedObject* gone) {
    for (std::size_t i = group_.size(); i-- > 0;)
        if (static_cast<NamedObject*>(group_[i]) == gone) group_.erase(group_.begin() + static_cast<std::ptrdiff_t>(i));
}

void GUICheckboxButton::reapplyTemplates() {
    GUIWindow::reapplyTemplates();
    GUISystem& gui = GUISystem::instance();
    for (std::wstring const& name : groupNames_)
        if (auto* member = dynamic_cast<GUICheckboxButton*>(gui.findWindow(name))) addGroupMember(member);
    activated.disconnect(this);
    deactivated.disconnect(this);
    activated.connect(this, &GUICheckboxButton::onSelfActivated);
    deactivated.connect(this, &GUICheckboxButton::onSelfDeactivated);
}

void GUICheckboxButton::onSelfDeactivated(GUIWindow&) {
    if (checked_) playAnimationTowardsState();
}

void GUICheckboxButton::copyFromTemplate(GUIWindow* source, int const& mask) {
    GUIWindow::copyFromTemplate(source, mask);
    auto* from = dynamic_cast<GUICheckboxButton*>(source);
    if (!from || from == this) return;
    int const parts = from->getTemplateMask() & mask;
    if (parts & kCopyTimes) {
        fadeTimer_ = from->fadeTimer_;
        fadeTime_ = from->fadeTime_;
    }
    if (parts & kCopyOptions) {
        checked_ = from->checked_;
        oneWayClick_ = from->oneWayClick_;
        drawCheckedFull_ = from->drawCheckedFull_;
    }
}

bool GUICheckboxButton::addChild(GUIWindow*, bool const&, bool const&) { return false; }

bool GUICheckboxButton::removeChild(GUIWindow*) { return false; }

// ---- input and time ----

void GUICheckboxButton::onLeftPress(MouseState& state) {
    HeldRef<GUIWindow> hold(this);
    if (options.inputIgnore) return;
    if (options.inputToParent && parent) {
        parent->onLeftPress(state);
        return;
    }
    setChecked(oneWayClick_ == 0 ? !checked_ : oneWayClick_ > 0);
    restartPressTimer();
    SoundManager& sounds = SoundManager::getInstance();
    auto play = [&](std::wstring const& name) {
        if (name.empty()) return;
        if (std::shared_ptr<PlayingSound> sound = sounds.playSound(name)) sounds.playSample(sound, kSoundVolume);
    };
    play(clickSound);
    if (auto* box = dynamic_cast<GUICheckbox*>(parent)) play(box->getClickSound());
}

void GUICheckboxButton::update(double const& dt) {
    HeldRef<GUIWindow> hold(this);
    GUIWindow::update(dt);
    double const step = dt > 0.0 && std::isfinite(dt) ? dt : 0.0;
    fadeTimer_ += checked_ ? step : -step;
    fadeTimer_ = std::clamp(fadeTimer_, 0.0, fadeTime_);
}

// ---- drawing ----

namespace {

D3DCOLOR weight(double w) { return guiColorToD3D(D3DXCOLOR(1.0f, 1.0f, 1.0f, static_cast<float>(w))); }

RECT sourceRectOf(GUISourceRect const& s) {
    return RECT{static_cast<LONG>(s.rect.left), static_cast<LONG>(s.rect.top), static_cast<LONG>(s.rect.right),
                static_cast<LONG>(s.rect.bottom)};
}

}  // namespace

void GUICheckboxButton::drawLook() {
    BaseSprite* sprite = guiSprite();
    if (!sprite) return;
    GUIDrawOptions const& o = drawOptions;
    GUITextureSet const& t = o.textures;
    double const a = getAccumulatedAlpha();
    double const c = fadeShare();
    double const u = 1.0 - c;
    double const h = times.activationBlend;
    double const k = drawCheckedFull_ ? 1.0 : c;
    SpriteRect const place = SpriteRect::fromFRect(screenRect, 0.0f, D3DXVECTOR2(0.5f, 0.5f), SpriteRect::kCentreRelative);
    auto mode = [](int v) { return static_cast<u8>(v); };

    // Background and foreground: the animation (with the background's draw modes, as data
    // expects for both), else the texture with its own modes and source.
    auto layer = [&](Texture2DAnimation* animation, Texture2D* texture, GUISourceRect const& source,
                     GUIDrawType const& type) {
        if (animation) {
            animation->buildFrameQuads(*sprite, place, mode(o.backDrawType.x), mode(o.backDrawType.y), weight(a));
        } else if (texture) {
            RECT const src = sourceRectOf(source);
            sprite->drawSpriteRect(texture, source.use ? &src : nullptr, place, mode(type.x), mode(type.y), weight(a));
        }
    };
    layer(t.aniBackground, t.background, o.backgroundSource, o.backDrawType);

    auto state = [&](Texture2D* texture, double w) {
        if (!texture || !(w > 0.0)) return;
        sprite->drawInRect(texture, nullptr, screenRect, mode(o.drawType.x), mode(o.drawType.y), weight(w));
    };
    if (!t.aniNormal) {
        state(t.press, a * k);
        state(t.normal, a * u);
        state(t.pressMark, h * a * k);
        state(t.mark, h * a * u);
    } else if (a != 0.0) {
        if (AnimationFrame const* frame = t.aniNormal->getCurrentFrame(); frame && frame->texture)
            sprite->drawInRect(frame->texture, &frame->rect, screenRect, mode(o.drawType.x), mode(o.drawType.y),
                               weight(a));
    }

    layer(t.aniForeground, t.foreground, o.foregroundSource, o.foreDrawType);
}

void GUICheckboxButton::drawSelf() { drawLook(); }

void GUICheckboxButton::drawShape() { drawLook(); }

}  // namespace Orvex
