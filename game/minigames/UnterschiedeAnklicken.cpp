// The spot-the-differences game: its parts, windows, clicks, the mirror cursor and the count.
#include "game/minigames/UnterschiedeAnklicken.h"

#include <algorithm>
#include <cmath>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire {

namespace {

// The found picture: its own copy, else the picture with one more reference.
Orvex::CountedRef<Orvex::Texture2DAnimation> foundCopy(Orvex::XMLNode const& node, wchar_t const* key,
                                                       Orvex::CountedRef<Orvex::Texture2DAnimation> const& normal) {
    Orvex::CountedRef<Orvex::Texture2DAnimation> own = Orvex::adoptRef(minigame::animationCopy(node, key));
    return own ? own : normal;
}

// A part's window from its template with its rectangle, its goal "AN" at that rectangle and its
// goal "AUS" at the found one (each the default goal when the template lacks it).
Orvex::GUIWindow* partWindow(Orvex::XMLNode const& node, wchar_t const* guiKey, wchar_t const* rectKey,
                             wchar_t const* foundKey, Orvex::GUIRect& foundRect) {
    Orvex::GUIRect rect;
    if (Orvex::XMLNode const* r = node.getChild(rectKey)) rect.load(*r);
    foundRect = rect;
    if (Orvex::XMLNode const* r = node.getChild(foundKey)) foundRect.load(*r);
    Orvex::XMLAttribute const* name = node.getAttribute(guiKey);
    if (!name) return nullptr;
    Orvex::GUIWindow* window = minigame::cloneOf(Orvex::GUISystem::instance().findTemplate(name->getStringCopy()));
    if (!window) return nullptr;
    window->getRect() = rect;
    window->captureCurrentState();
    window->initDefaultState();
    // "AN" holds the part's own rectangle too, so a new attempt puts a found part back.
    Orvex::GUIAnimationsGoal& shown = window->findGoal(L"AN");
    shown.rect = rect;
    shown.interpolateRects = true;
    Orvex::GUIAnimationsGoal& hidden = window->findGoal(L"AUS");
    hidden.rect = foundRect;
    hidden.interpolateRects = true;
    return window;
}

bool inside(D3DXVECTOR2 const& p, Orvex::FRect const& r) {
    return p.x >= std::min(r.left, r.right) && p.x <= std::max(r.left, r.right) && p.y >= std::min(r.top, r.bottom) &&
           p.y <= std::max(r.top, r.bottom);
}

D3DXVECTOR2 pointer() {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    return D3DXVECTOR2(input.mouseX, input.mouseY);
}

}  // namespace

// ---- parts ----

UnterschiedeAnklicken::UTeil::UTeil(Orvex::XMLNode& node) {
    window.adopt(partWindow(node, L"GUI", L"GUIRECT", L"GUIRECT_FOUND", foundRect));
    if (window) window->leftClicked.connect(this, &UTeil::onClicked);
    picture.adopt(minigame::animationCopy(node, L"ANIMATION"));
    foundPicture = foundCopy(node, L"ANIMATION_FOUND", picture);
    extraWindow.adopt(partWindow(node, L"GUI_EXTRA", L"GUIRECT_EXTRA", L"GUIRECT_EXTRA_FOUND", extraFoundRect));
    extraPicture.adopt(minigame::animationCopy(node, L"ANIMATION_EXTRA"));
    extraFoundPicture = foundCopy(node, L"ANIMATION_EXTRA_FOUND", extraPicture);
    ignored = node.getAttributeBool(L"IGNORE_THIS", false);
    reset();
}

UnterschiedeAnklicken::UTeil::~UTeil() = default;

void UnterschiedeAnklicken::UTeil::reset() {
    if (window) window->jumpToGoal(L"AN");
    if (extraWindow) extraWindow->jumpToGoal(L"AN");
    if (ignored && window) window->getOptions().inputIgnore = Orvex::GUIWindowOptions::kIgnoreSelf;
    found = ignored;
}

void UnterschiedeAnklicken::UTeil::markFound() {
    found = true;
    if (window) window->jumpToGoal(L"AUS");
    if (extraWindow) extraWindow->jumpToGoal(L"AUS");
}

bool UnterschiedeAnklicken::UTeil::hits(D3DXVECTOR2 const& point) {
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    Orvex::Texture2D* texture = frame ? frame->texture : nullptr;
    if (!texture || !window) return false;
    Orvex::FRect const r = window->getScreenRect();
    float const u = (point.x - r.left) / (r.right - r.left);
    float const v = (point.y - r.top) / (r.bottom - r.top);
    // Only points on the part's own frame count: the sheet's other frames are other pictures.
    if (!(u >= 0.0f && u < 1.0f && v >= 0.0f && v < 1.0f)) return false;
    RECT const& source = frame->rect;
    if (!object.isFor(texture, source)) object.build(*texture, source);
    D3DXVECTOR2 const pixel(static_cast<float>(source.left + u * static_cast<double>(source.right - source.left)),
                            static_cast<float>(source.top + v * static_cast<double>(source.bottom - source.top)));
    return object.contains(pixel, kHitMargin);
}

void UnterschiedeAnklicken::UTeil::onClicked(Orvex::GUIWindow& clicked) {
    if (ignored || &clicked != window) return;
    if (!picture) {
        markFound();
        return;
    }
    Orvex::AnimationFrame const* frame = picture->getCurrentFrame();
    if (frame && frame->texture && !frame->texture->hasPixelList()) frame->texture->buildPixelList(kAlphaThreshold);
    if (found) return;
    MinispielCursor const& cursor = MinispielCursor::instance();
    if (hits(pointer()) || (cursor.secondCursor && hits(cursor.secondPosition))) markFound();
}

void UnterschiedeAnklicken::UTeil::update(double dt) {
    auto show = [dt](Orvex::GUIWindow* w, Orvex::Texture2DAnimation* a) {
        if (a) a->update(dt);
        if (w) minigame::showFrameAsBackground(*w, a);
    };
    show(window.get(), (found ? foundPicture : picture).get());
    show(extraWindow.get(), (found ? extraFoundPicture : extraPicture).get());
}

// ---- the game ----

UnterschiedeAnklicken::UnterschiedeAnklicken(Orvex::XMLNode& element) : Minispiel(element) {
    secondMouse_ = element.getAttributeBool(L"2NDMOUSE", false);
    cursorPicture_.adopt(minigame::animationCopy(element, L"2NDMOUSE_CURSOR"));
    minigame::readChildren(element, L"UNTERSCHIED", kMaxParts, L"differences",
                           [&](Orvex::XMLNode& child) { parts_.push_back(std::make_unique<UTeil>(child)); });
}

UnterschiedeAnklicken::~UnterschiedeAnklicken() {
    clearCursor();
    parts_.clear();
}

void UnterschiedeAnklicken::createWindows() {
    ClickGameWindows frame(prefix, kKind);
    if (!window) {
        frame.lookUp(true);
        field_ = frame.part(L"SPIELFELD");
        label_ = frame.partAs<Orvex::GUILabel>(L"LABEL");
        if (frame.main && field_) {
            frame.cloneFrame();
            window.adopt(frame.main);
            barParent = frame.foreground;
            field_ = minigame::cloneOf(field_);
            if (secondMouse_) field_->leftClicked.connect(this, &UnterschiedeAnklicken::onSpielfeldClicked);
            minigame::adopt(window.get(), field_);
            Orvex::GUIWindow* container = frame.container();
            label_ = minigame::cloneAs(label_);
            if (label_ && !minigame::adopt(container, label_)) label_ = nullptr;
            for (std::unique_ptr<UTeil> const& part : parts_) {
                minigame::attach(field_, part->window.get());
                minigame::attach(container, part->extraWindow.get());
            }
            frame.addButtons(*this, container);
            frame.addForeground();
        } else {
            field_ = nullptr;
            label_ = nullptr;
        }
    }
}

void UnterschiedeAnklicken::start() {
    Minispiel::start();
    for (std::unique_ptr<UTeil> const& part : parts_) part->reset();
    showCount(static_cast<int>(parts_.size()));
}

void UnterschiedeAnklicken::hide() {
    Minispiel::hide();
    clearCursor();
}

void UnterschiedeAnklicken::showCount(int count) {
    if (!label_) return;
    Orvex::LanguageManager const* language = Orvex::OrvexEngine::getInstance()->getLanguage();
    Orvex::Text const* text = language->findTextForCount(label_->getTextId(), count);
    if (!text) return;
    // The text is a format from data: the safe formatter reads only the one number it is given.
    std::wstring out;
    text->format(out, count);
    label_->setText(out);
}

void UnterschiedeAnklicken::clearCursor() {
    MinispielCursor& cursor = MinispielCursor::instance();
    if (cursor.picture == cursorPicture_ || !cursor.picture) cursor.clearPicture();
}

bool UnterschiedeAnklicken::isInField(D3DXVECTOR2 const& point) const {
    return field_ && inside(point, field_->getScreenRect());
}

D3DXVECTOR2 UnterschiedeAnklicken::mirrorPoint(D3DXVECTOR2 const& point) const {
    Orvex::FRect const r = field_ ? field_->getScreenRect() : Orvex::FRect();
    float const half = (r.right - r.left) * 0.5f;
    return D3DXVECTOR2(r.left + half > point.x ? point.x + half : point.x - half, point.y);
}

void UnterschiedeAnklicken::onSpielfeldClicked(Orvex::GUIWindow&) {
    if (solved || ended || !cursorPicture_ || !field_) return;
    D3DXVECTOR2 const mouse = pointer();
    if (!isInField(mouse)) return;
    D3DXVECTOR2 const mirror = mirrorPoint(mouse);
    Orvex::GUIWindow* hit = field_->hitTest(mirror, Orvex::GUISystem::instance().getScreenRect(),
                                            Orvex::GUISystem::kHitInput);
    MinispielCursor& cursor = MinispielCursor::instance();
    cursor.secondPosition = mirror;
    cursor.secondCursor = true;
    if (hit && hit != field_) hit->leftClicked.emit(*hit);
}

void UnterschiedeAnklicken::update(double const& dt) {
    int left = 0;
    for (std::unique_ptr<UTeil> const& part : parts_) {
        part->update(dt);
        if (!part->found) ++left;
    }
    bool const complete = left == 0;
    showCount(left);
    countDownEndDelay(dt);
    if (solved) return;
    if (complete) {
        setSolved();
        clearCursor();
        return;
    }
    if (ended || !secondMouse_ || !cursorPicture_ || !field_) return;
    D3DXVECTOR2 const mouse = pointer();
    MinispielCursor& cursor = MinispielCursor::instance();
    if (isInField(mouse) && !MinispielManager::instance().isHelpShown()) {
        cursor.setPicture(cursorPicture_.get());
        cursor.secondCursor = true;
        cursor.secondPosition = mirrorPoint(mouse);
    } else {
        clearCursor();
    }
}

void UnterschiedeAnklicken::draw() {}

}  // namespace Solitaire
