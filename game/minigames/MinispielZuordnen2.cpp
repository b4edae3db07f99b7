// The placing game: its areas and items with their two looks, and what a drop means.
#include "game/minigames/MinispielZuordnen2.h"

#include "engine/core/Utils.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/DragAreas.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "game/minigames/TrayGameWindows.h"
#include "port/crt/crt.h"

namespace Solitaire {

// ---- parts ----

namespace zuordnen2 {

Teil::Teil(Orvex::XMLNode& node) : TrayPart(node) {
    if (window) rect = window->getRect();
    if (Orvex::XMLNode const* normal = node.getChild(L"GUIRECT")) rect.load(*normal);
    foundRect = rect;
    if (Orvex::XMLNode const* found = node.getChild(L"GUIRECT_FOUND")) foundRect.load(*found);
    foundAnimation.adopt(minigame::animationCopy(node, L"ANIMATION_FOUND"));
}

// Out of line: the animation's class is complete here.
Teil::~Teil() = default;

void Teil::applyLook(bool found) {
    if (!window) return;
    window->getDrawOptions().setAniBackground(found ? foundAnimation.get() : animation.get());
    window->getRect() = found ? foundRect : rect;
    window->updateRect(false, false);
}

Gegenstand::Gegenstand(Orvex::XMLNode& node, std::vector<Gebiet*> const& areas) : Teil(node) {
    std::wstring const name = node.getAttributeString(L"ZIEL_GEBIET", L"");
    target.hold(Orvex::findNamedObject(areas, name));
}

void Gegenstand::setFound(bool const& found, Orvex::GUIWindow* parent) {
    applyLook(found);
    if (!window) return;
    window->getOptions().enabled = !found;
    window->updateRect(false, false);
    if (parent) parent->addChild(window.get(), false, true);
    if (found) window->sendToBack();
}

}  // namespace zuordnen2

// ---- the game ----

void MinispielZuordnen2::layOutAreas() {
    for (Gebiet* area : getAreas()) minigame::attach(areasWindow_, area->window.get());
}

void MinispielZuordnen2::dropped(Gegenstand& item, Gebiet* area) {
    if (area) {
        if (area == item.target) {
            area->setFound(true);
            item.setFound(true, work_);
        } else {
            MinispielManager::instance().moveWrong.emit(*this);
        }
    }
    bool all = true;
    for (Orvex::CountedRef<Gegenstand> const& each : items_) all = all && each->area && each->area == each->target;
    if (all) setSolved();
}

}  // namespace Solitaire
