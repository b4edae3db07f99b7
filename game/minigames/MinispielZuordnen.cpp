// The sorting game: its areas and items, its windows, the start of an attempt and the frame step.
#include "game/minigames/MinispielZuordnen.h"

#include <algorithm>

#include "engine/core/Utils.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/DragAreas.h"
#include "game/minigames/GridLayout.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielTemplates.h"
#include "game/minigames/TrayGameWindows.h"

namespace Solitaire {

namespace {

// The blink's red at no and at half cover (128 / 255).
D3DXCOLOR const kBlinkOff(1.0f, 0.0f, 0.0f, 0.0f);
D3DXCOLOR const kBlinkOn(1.0f, 0.0f, 0.0f, 128.0f / 255.0f);
constexpr float kBlinkRise = 0.25f;
constexpr float kBlinkHold = 0.5f;

}  // namespace

// ---- parts ----

namespace zuordnen {

Teil::Teil(Orvex::XMLNode& node) : TrayPart(node), blink(kBlinkOff, kBlinkOn, kBlinkRise) {
    blink.addKey(kBlinkOff, 0.0f, true);
    blink.addKey(kBlinkOn, kBlinkRise, true);
    blink.addKey(kBlinkOn, kBlinkHold, true);
    blink.addKey(kBlinkOff, kBlinkRise, true);
    textId = node.getAttributeString(L"TEXT_ID", textId);
    font = node.getAttributeString(L"FONT", font);
    fontStyle = node.getAttributeString(L"FONT_STYLE", fontStyle);
    if (window) window->selfDrawn.connect(this, &Teil::onDrawn);
}

void Teil::step(double dt, bool setDrawType) {
    if (animation) {
        animation->update(dt);
        if (window && dynamic_cast<Orvex::GUILabel*>(window.get())) {
            minigame::showFrameAsBackground(*window, animation.get());
            if (setDrawType) window->getDrawOptions().setBackDrawType(Orvex::SDP_STRETCH, Orvex::SDP_STRETCH);
        }
    }
    if (markTime > 0.0f) markTime -= static_cast<float>(dt);
}

Gebiet::Gebiet(Orvex::XMLNode& node) : Teil(node) {
    if (window) {
        if (Orvex::XMLNode const* rect = node.getChild(L"GUIRECT")) window->getRect().load(*rect);
        if (auto* label = dynamic_cast<Orvex::GUILabel*>(window.get())) {
            if (!textId.empty()) label->setTextId(textId);
            if (node.getAttribute(L"FONT") || node.getAttribute(L"FONT_STYLE")) {
                label->setFontStyle(fontStyle, Orvex::GUILabel::kNormal);
                label->setFontStyle(fontStyle, Orvex::GUILabel::kMark);
            }
        }
    }
    minigame::readCount(node, L"MIN_GEGENSTAND_ANZ", minItems, 0, kMaxCount);
}

Gegenstand::Gegenstand(Orvex::XMLNode& node, std::vector<Gebiet*> const& areas) : Teil(node) {
    if (auto* label = dynamic_cast<Orvex::GUILabel*>(window.get())) {
        if (!textId.empty()) label->setTextId(textId);
        if (node.getAttribute(L"FONT_STYLE")) {
            label->setFontStyle(fontStyle, Orvex::GUILabel::kNormal);
            label->setFontStyle(fontStyle, Orvex::GUILabel::kMark);
        }
        if (node.getAttribute(L"FONT")) label->setFont(font);
    }
    auto addTarget = [&](std::wstring const& name) {
        if (Gebiet* candidate = Orvex::findNamedObject(areas, name)) targets.emplace_back().hold(candidate);
    };
    if (Orvex::XMLAttribute const* target = node.getAttribute(L"ZIEL_GEBIET")) addTarget(target->getStringCopy());
    for (std::wstring const& name : minigame::valueTexts(node)) addTarget(name);
    minigame::readCount(node, L"WERT", value, -kMaxCount, kMaxCount);
}

bool Gegenstand::isOnTarget() const {
    return area && std::find(targets.begin(), targets.end(), area) != targets.end();
}

}  // namespace zuordnen

// ---- the game ----

MinispielZuordnen::MinispielZuordnen(Orvex::XMLNode& element) : TrayGame(element, kKind) {
    hasGrid_ = minigame::readArrangement(element, columns_);
    checkPlaces_ = element.getAttributeBool(L"CHECK_PLACES", checkPlaces_);
    minigame::readChildren(element, L"SUMME_VON", kMaxSumGroups, L"SUMME_VON", [&](Orvex::XMLNode& child) {
        std::vector<Gebiet*> group;
        for (std::wstring const& name : minigame::valueTexts(child))
            for (Gebiet* area : getAreas())
                if (area->getName() == name) {
                    group.push_back(area);
                    break;
                }
        int sum = 0;
        minigame::readCount(child, L"SUMME", sum, -kMaxCount, kMaxCount);
        sumGroups_.push_back(std::move(group));
        sums_.push_back(sum);
    });
}

void MinispielZuordnen::layOutAreas() {
    std::vector<Orvex::GUIWindow*> windows;
    for (Gebiet* area : getAreas()) windows.push_back(area->window.get());
    minigame::layOutAreas(windows, hasGrid_, columns_, areasWindow_);
}

void MinispielZuordnen::addedButtons(Orvex::GUIWindow* ok) {
    if (ok) ok->leftClicked.connect(this, &MinispielZuordnen::onOk);
}

void MinispielZuordnen::update(double const& dt) {
    for (Orvex::CountedRef<Gebiet> const& area : areas_) area->step(dt, false);
    for (Orvex::CountedRef<Gegenstand> const& item : items_) item->step(dt, true);
}

}  // namespace Solitaire
