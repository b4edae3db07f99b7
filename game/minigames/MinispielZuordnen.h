// The mini-game "ZUORDNEN" (sorting): items lie scattered in trays and the player drags each onto
// one of several areas of a work window; an item belongs to the area its rectangle overlaps most
// when it is released. Nothing is judged while the player arranges. OK judges the whole
// arrangement at once: every item on one of its target areas, every area holding between its
// minimum ("MIN_GEGENSTAND_ANZ") and the number of items meant for it, every area meant for an
// item holding one (with "CHECK_PLACES", the default), and each "SUMME_VON" group of areas holding
// items whose "WERT" adds up to its "SUMME". A right arrangement ends the game at once with the
// time left as its score; a wrong one emits gameFailed and the faulty items and areas blink (the
// game frame 10 around them in a fading red) for 2 seconds while the arrangement stays.
//
// A drop on an area emits moveMade, and moveWrong when the area is not one of the item's targets.
//
// Keys beside the base's: "GEBIET" and "GEGENSTAND" children (below), "ANORDNUNG" (lay the areas
// in a grid of that many columns, negative: automatic; 0 is refused and keeps the areas' own
// rectangles), "CHECK_PLACES" (1), "SUMME_VON" children (values: area names; "SUMME").
// An area: "NAME", "GUI" (template), "GUIRECT", "TEXT_ID", "ANIMATION", "FONT", "FONT_STYLE",
// "MIN_GEGENSTAND_ANZ". An item: "NAME", "GUI", "TEXT_ID", "ANIMATION", "FONT", "FONT_STYLE",
// "ZIEL_GEBIET" and values (its target areas by name), "WERT".
//
// Windows (prefix + "ZUORDNEN_" + "FENSTER", "FENSTER_ARBEITS_FLAECHE" (bounds the items),
// "VG" (bar parent and buttons), "FENSTER_ABLAGE" and "FENSTER_ABLAGE_2", "_3" ... (trays),
// "FENSTER_ARBEIT" (the areas' parent), "OK", "CANCEL", "HILFE").
//
// Files: MinispielZuordnen.cpp (definition, windows, start, the frame step), MinispielZuordnen_play.cpp
// (dragging, the clamp, judging and the blinking frame).
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/gui/MultiInterpolation.h"
#include "engine/render/FRect.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIAnimationsGoal;
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class MinispielZuordnen : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"ZUORDNEN_";
    static constexpr std::size_t kMaxAreas = 256;
    static constexpr std::size_t kMaxItems = 512;
    static constexpr std::size_t kMaxSumGroups = 64;
    static constexpr int kMaxCount = 100000;
    static constexpr float kMarkDuration = 2.0f;
    // The item behind an item window, in the window's user pointer slot.
    static constexpr unsigned kItemSlot = 10;

    class Gegenstand;

    // What areas and items share: a window, a picture and a blink.
    class Teil : public Orvex::NamedObject {
    public:
        explicit Teil(Orvex::XMLNode& node);
        ~Teil() override;
        // The picture's step and its frame in a label window; the blink's time.
        void step(double dt, bool setDrawType);
        // The frame around the window while blinking.
        void onDrawn(Orvex::GUIWindow& window, bool const& drawn);
        void mark(bool on) { markTime = on ? markDuration : 0.0f; }

        Orvex::GUIWindow* window = nullptr;
        std::wstring textId;
        Orvex::Texture2DAnimation* animation = nullptr;
        std::wstring font;
        std::wstring fontStyle = L"default";
        float markTime = 0.0f;
        float markDuration = kMarkDuration;
        Orvex::MultiInterpolation<D3DXCOLOR, float> blink;
    };

    class Gebiet : public Teil {
    public:
        explicit Gebiet(Orvex::XMLNode& node);
        int minItems = 0;
        int itemCount = 0;
        int candidateCount = 0;
        std::vector<Gegenstand*> itemsHere;
    };

    class Gegenstand : public Teil {
    public:
        Gegenstand(Orvex::XMLNode& node, std::vector<Gebiet*> const& areas);
        ~Gegenstand() override;
        // Takes the area (one reference), giving up the one before.
        void setArea(Gebiet* area);
        bool isOnTarget() const;

        std::vector<Gebiet*> targets;
        int value = 0;
        Gebiet* area = nullptr;
    };

    explicit MinispielZuordnen(Orvex::XMLNode& element);
    ~MinispielZuordnen() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    // Slots.
    void onPickUp(Orvex::GUIWindow& window, bool const& handled);
    void onDrop(Orvex::GUIWindow& window, bool const& handled);
    void onMoved(Orvex::GUIWindow& window);
    void onWorkRectChanged(Orvex::GUIWindow& window);
    void onGoalStarted(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal& goal);
    void onOk(Orvex::GUIWindow& button);

    // Judges the arrangement; true when it is right (the game then ended).
    bool judge();

    std::vector<Gebiet*> const& getAreas() const { return areas_; }
    std::vector<Gegenstand*> const& getItems() const { return items_; }
    std::vector<Orvex::GUIWindow*> const& getTrays() const { return trays_; }
    Orvex::GUIWindow* getWorkWindow() const { return work_; }

private:
    // Keeps every item window inside the work window.
    void clampItems();
    static Gegenstand* itemOf(Orvex::GUIWindow& window);

    std::vector<Gebiet*> areas_;
    std::vector<Gegenstand*> items_;
    Orvex::GUIWindow* work_ = nullptr;
    Orvex::GUIWindow* areasWindow_ = nullptr;
    std::vector<Orvex::GUIWindow*> trays_;
    bool hasGrid_ = false;
    int columns_ = -1;
    bool checkPlaces_ = true;
    std::vector<std::vector<Gebiet*>> sumGroups_;
    std::vector<int> sums_;
    bool clamping_ = false;
};

}  // namespace Solitaire
