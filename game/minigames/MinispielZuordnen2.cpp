// The placing game: its areas and items with their two looks, its windows and its drops.
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

MinispielZuordnen2::Teil::Teil(Orvex::XMLNode& node) : Orvex::NamedObject(node) {
    window = minigame::windowFromTemplate(node, L"GUI");
    if (window) rect = window->getRect();
    if (Orvex::XMLNode const* normal = node.getChild(L"GUIRECT")) rect.load(*normal);
    foundRect = rect;
    if (Orvex::XMLNode const* found = node.getChild(L"GUIRECT_FOUND")) foundRect.load(*found);
    animation = minigame::animationCopy(node, L"ANIMATION");
    foundAnimation = minigame::animationCopy(node, L"ANIMATION_FOUND");
}

MinispielZuordnen2::Teil::~Teil() {
    if (window) window->release();
    if (animation) animation->release();
    if (foundAnimation) foundAnimation->release();
}

void MinispielZuordnen2::Teil::applyLook(bool found) {
    if (!window) return;
    window->getDrawOptions().setAniBackground(found ? foundAnimation : animation);
    window->getRect() = found ? foundRect : rect;
    window->updateRect(false, false);
}

MinispielZuordnen2::Gegenstand::Gegenstand(Orvex::XMLNode& node, std::vector<Gebiet*> const& areas) : Teil(node) {
    std::wstring const name = node.getAttributeString(L"ZIEL_GEBIET", L"");
    target = Orvex::findNamedObject(areas, name);
    if (target) target->addRef();
}

MinispielZuordnen2::Gegenstand::~Gegenstand() {
    setArea(nullptr);
    if (target) target->release();
}

void MinispielZuordnen2::Gegenstand::setArea(Gebiet* next) {
    if (next) next->addRef();
    if (area) area->release();
    area = next;
}

void MinispielZuordnen2::Gegenstand::setFound(bool const& found, Orvex::GUIWindow* parent) {
    applyLook(found);
    if (!window) return;
    window->getOptions().enabled = !found;
    window->updateRect(false, false);
    if (parent) parent->addChild(window, false, true);
    if (found) window->sendToBack();
}

// ---- the game ----

MinispielZuordnen2::MinispielZuordnen2(Orvex::XMLNode& element) : Minispiel(element) {
    minigame::readChildren(element, L"GEBIET", kMaxAreas, L"areas",
                           [&](Orvex::XMLNode& child) { areas_.push_back(new Gebiet(child)); });
    minigame::readChildren(element, L"GEGENSTAND", kMaxItems, L"items",
                           [&](Orvex::XMLNode& child) { items_.push_back(new Gegenstand(child, areas_)); });
}

MinispielZuordnen2::~MinispielZuordnen2() {
    for (Gegenstand* item : items_) item->release();
    items_.clear();
    for (Gebiet* area : areas_) area->release();
    areas_.clear();
}

void MinispielZuordnen2::createWindows() {
    TrayGameWindows tree(prefix, kKind);
    if (!window && tree.lookUp()) {
        tree.build();
        window = tree.main;
        barParent = tree.foreground;
        work_ = tree.work;
        areasWindow_ = tree.areas;
        trays_ = tree.trays;
        tree.connectClamp(*this);
        for (Gebiet* area : areas_) minigame::attach(areasWindow_, area->window);
        tree.addItems(*this, items_, kItemSlot);
        tree.addButtons(*this);
    }
}

void MinispielZuordnen2::start() {
    Minispiel::start();
    for (Gegenstand* item : items_) {
        item->setArea(nullptr);
        Orvex::GUIWindow* tray =
            trays_.empty() ? nullptr : trays_[static_cast<std::size_t>(msvc::rand()) % trays_.size()];
        item->setFound(false, tray);
        if (item->window) {
            minigame::placeAtRandom(*item->window);
            item->window->updateRect(false, false);
        }
    }
    for (Gebiet* area : areas_) area->setFound(false);
}

void MinispielZuordnen2::update(double const& dt) { countDownEndDelay(dt); }

void MinispielZuordnen2::draw() {}

void MinispielZuordnen2::onPickUp(Orvex::GUIWindow& itemWindow, bool const&) {
    if (solved) return;
    if (auto* item = static_cast<Gegenstand*>(itemWindow.getUserPointer(kItemSlot))) item->setArea(nullptr);
}

void MinispielZuordnen2::onDrop(Orvex::GUIWindow& itemWindow, bool const&) {
    if (solved) return;
    auto* item = static_cast<Gegenstand*>(itemWindow.getUserPointer(kItemSlot));
    if (!item) return;
    item->setArea(nullptr);
    int const landed = minigame::landingPart(itemWindow.getScreenRect(), areas_);
    if (landed >= 0) {
        Gebiet* area = areas_[static_cast<std::size_t>(landed)];
        item->setArea(area);
        MinispielManager& manager = MinispielManager::instance();
        manager.moveMade.emit(*this);
        if (area == item->target) {
            area->setFound(true);
            item->setFound(true, work_);
        } else {
            manager.moveWrong.emit(*this);
        }
    }
    bool all = true;
    for (Gegenstand* each : items_) all = all && each->area && each->area == each->target;
    if (all) setSolved();
}

void MinispielZuordnen2::clampItems() { minigame::clampParts(items_, work_, clamping_); }

void MinispielZuordnen2::onMoved(Orvex::GUIWindow&) { clampItems(); }

void MinispielZuordnen2::onWorkRectChanged(Orvex::GUIWindow&) { minigame::clampParts(items_, work_, clamping_, true); }

void MinispielZuordnen2::onGoalStarted(Orvex::GUIWindow& gameWindow, Orvex::GUIAnimationsGoal& goal) {
    if (minigame::goalHasArea(gameWindow, goal)) clampItems();
}

}  // namespace Solitaire
