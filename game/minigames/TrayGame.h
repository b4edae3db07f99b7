// What the two tray games share, the sorting game ("ZUORDNEN") and the placing game ("ZUORDNEN2"):
// areas ("GEBIET" children, built first) and items ("GEGENSTAND" children, which find their target
// areas by name), the window tree of TrayGameWindows with the items scattered in its trays, and
// dragging: a press on an item takes it off its area, a release lays it on the area it overlaps
// most (moveMade), and the items are kept inside the work window after every move, when the work
// window changes size and when the game window starts towards a goal. A new attempt scatters the
// items in their trays apart from each other (ApartPlacer). Each kind keeps what
// differs: its parts' looks, how the areas are laid out, what a drop on an area means, and how the
// attempt is judged.
//
// The kind's Area and Item are TrayParts; an Item is made from its element and the areas and has
// `setArea` (the area it lies on, held, or null).
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/ApartPlacer.h"
#include "game/minigames/DragAreas.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/TrayGameWindows.h"

namespace Orvex {
class GUIAnimationsGoal;
class Texture2DAnimation;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

// An area or an item of either tray game: a named object with a window cloned from the template
// "GUI" and a copy of the frame animation "ANIMATION" (each null when the element names none).
class TrayPart : public Orvex::NamedObject {
public:
    explicit TrayPart(Orvex::XMLNode& node);
    ~TrayPart() override;

    Orvex::CountedRef<Orvex::GUIWindow> window;
    Orvex::CountedRef<Orvex::Texture2DAnimation> animation;
};

template <class Area, class Item>
class TrayGame : public Minispiel {
public:
    static constexpr std::size_t kMaxAreas = 256;
    static constexpr std::size_t kMaxItems = 512;
    // The item behind an item window, in the window's user pointer slot.
    static constexpr unsigned kItemSlot = 10;

    // Reads the base's keys, then the areas and the items; `kind` is the literal after the prefix
    // in the kind's template names ("ZUORDNEN_").
    TrayGame(Orvex::XMLNode& element, wchar_t const* kind) : Minispiel(element), kind_(kind) {
        minigame::readChildren(element, L"GEBIET", kMaxAreas, L"areas",
                               [&](Orvex::XMLNode& child) { areas_.emplace_back().adopt(new Area(child)); });
        minigame::readChildren(element, L"GEGENSTAND", kMaxItems, L"items",
                               [&](Orvex::XMLNode& child) { items_.emplace_back().adopt(new Item(child, getAreas())); });
    }
    // The items go before the areas they may name.
    ~TrayGame() override {
        items_.clear();
        areas_.clear();
    }

    void draw() override {}

    // The window tree (when its templates exist), the areas in the areas' window, the items in
    // random trays, and the buttons.
    void createWindows() override {
        TrayGameWindows tree(prefix, kind_);
        if (window || !tree.lookUp()) return;
        tree.build();
        window.adopt(tree.main);
        barParent = tree.foreground;
        work_ = tree.work;
        areasWindow_ = tree.areas;
        trays_ = tree.trays;
        tree.connectClamp(*this);
        layOutAreas();
        tree.addItems(*this, getItems(), kItemSlot);
        addedButtons(tree.addButtons(*this));
    }

    // A new attempt: every item off its area and scattered at random in its tray, apart from the
    // items placed in that tray before it.
    void start() override {
        Minispiel::start();
        std::vector<std::pair<Orvex::GUIWindow*, ApartPlacer>> trays;
        for (Orvex::CountedRef<Item> const& item : items_) {
            item->setArea(nullptr);
            restartItem(*item);
            if (!item->window) continue;
            Orvex::GUIWindow* tray = item->window->getParent();
            auto in = std::find_if(trays.begin(), trays.end(), [tray](auto const& each) { return each.first == tray; });
            if (in == trays.end()) in = trays.insert(trays.end(), {tray, ApartPlacer()});
            minigame::placeApart(*item->window, in->second);
        }
        for (Orvex::CountedRef<Area> const& area : areas_) restartArea(*area);
    }

    // ---- slots ----
    // A press on an item window: the item leaves its area.
    void onPickUp(Orvex::GUIWindow& itemWindow, bool const&) {
        if (!takesDrags()) return;
        if (Item* item = itemOf(itemWindow)) item->setArea(nullptr);
    }
    // A release on an item window: the item lies on the area it overlaps most (moveMade), or on
    // none; then the kind's judgement of the drop.
    void onDrop(Orvex::GUIWindow& itemWindow, bool const&) {
        if (!takesDrags()) return;
        Item* item = itemOf(itemWindow);
        if (!item) return;
        item->setArea(nullptr);
        int const landed = minigame::landingPart(itemWindow.getScreenRect(), areas_);
        Area* area = landed >= 0 ? areas_[static_cast<std::size_t>(landed)].get() : nullptr;
        if (area) {
            item->setArea(area);
            MinispielManager::instance().moveMade.emit(*this);
        }
        dropped(*item, area);
    }
    void onMoved(Orvex::GUIWindow&) { clampItems(); }
    void onWorkRectChanged(Orvex::GUIWindow&) { minigame::clampParts(items_, work_, clamping_, true); }
    void onGoalStarted(Orvex::GUIWindow& gameWindow, Orvex::GUIAnimationsGoal& goal) {
        if (minigame::goalHasArea(gameWindow, goal)) clampItems();
    }

    // Copies of the lists (no references added), for callers outside; the game walks its own
    // lists, so a drag or a frame makes no copy.
    std::vector<Area*> getAreas() const { return Orvex::plainPointers(areas_); }
    std::vector<Item*> getItems() const { return Orvex::plainPointers(items_); }
    Orvex::GUIWindow* getWorkWindow() const { return work_; }

protected:
    // ---- what each kind adds ----
    // Puts the areas' windows into the areas' window.
    virtual void layOutAreas() = 0;
    // The OK button's clone (null: none) after the buttons were added.
    virtual void addedButtons(Orvex::GUIWindow* /*ok*/) {}
    // A new attempt's set-up of an item, before it is scattered, and of an area.
    virtual void restartItem(Item&) {}
    virtual void restartArea(Area&) {}
    // Whether presses and releases on items count now.
    virtual bool takesDrags() const { return true; }
    // After a drop: the area the item lies on now, or null.
    virtual void dropped(Item& item, Area* area) = 0;

    // A tray chosen by the runtime's rand(); null (and no rand() drawn) without trays.
    Orvex::GUIWindow* randomTray() const { return TrayGameWindows::randomTray(trays_); }

    std::vector<Orvex::CountedRef<Area>> areas_;
    std::vector<Orvex::CountedRef<Item>> items_;
    Orvex::GUIWindow* work_ = nullptr;
    Orvex::GUIWindow* areasWindow_ = nullptr;
    std::vector<Orvex::GUIWindow*> trays_;

private:
    // Keeps every item window inside the work window.
    void clampItems() { minigame::clampParts(items_, work_, clamping_); }
    static Item* itemOf(Orvex::GUIWindow& itemWindow) {
        return static_cast<Item*>(itemWindow.getUserPointer(kItemSlot));
    }

    wchar_t const* kind_;
    bool clamping_ = false;
};

}  // namespace Solitaire
