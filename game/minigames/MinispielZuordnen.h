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
// The areas, items, trays, dragging and the clamp are the tray games' (TrayGame.h); here the
// parts' texts and blink, the grid, the meaning of a drop and the judgement.
//
// Files: MinispielZuordnen.cpp (the parts, the definition, windows, start, the frame step),
// MinispielZuordnen_play.cpp (a drop, judging and the blinking frame).
#pragma once

#include <string>
#include <vector>

#include "engine/gui/MultiInterpolation.h"
#include "game/minigames/TrayGame.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

// The sorting game's parts (MinispielZuordnen::Teil, ::Gebiet, ::Gegenstand).
namespace zuordnen {

constexpr int kMaxCount = 100000;
constexpr float kMarkDuration = 2.0f;

class Gegenstand;

// What areas and items share beside the tray part: a text, a font and a blink.
class Teil : public TrayPart {
public:
    explicit Teil(Orvex::XMLNode& node);
    // The picture's step and its frame in a label window; the blink's time.
    void step(double dt, bool setDrawType);
    // The frame around the window while blinking.
    void onDrawn(Orvex::GUIWindow& window, bool const& drawn);
    void mark(bool on) { markTime = on ? markDuration : 0.0f; }

    std::wstring textId;
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
    // Holds the area (null: none), letting go of the one before.
    void setArea(Gebiet* next) { area.hold(next); }
    bool isOnTarget() const;

    std::vector<Orvex::CountedRef<Gebiet>> targets;
    int value = 0;
    Orvex::CountedRef<Gebiet> area;
};

}  // namespace zuordnen

class MinispielZuordnen : public TrayGame<zuordnen::Gebiet, zuordnen::Gegenstand> {
public:
    static constexpr wchar_t const* kKind = L"ZUORDNEN_";
    static constexpr std::size_t kMaxSumGroups = 64;
    static constexpr int kMaxCount = zuordnen::kMaxCount;
    static constexpr float kMarkDuration = zuordnen::kMarkDuration;

    using Teil = zuordnen::Teil;
    using Gebiet = zuordnen::Gebiet;
    using Gegenstand = zuordnen::Gegenstand;

    explicit MinispielZuordnen(Orvex::XMLNode& element);

    void update(double const& dt) override;

    // Slot: OK judges.
    void onOk(Orvex::GUIWindow& button);

    // Judges the arrangement; true when it is right (the game then ended).
    bool judge();

protected:
    void layOutAreas() override;
    void addedButtons(Orvex::GUIWindow* ok) override;
    void restartItem(Gegenstand& item) override { item.markTime = 0.0f; }
    void restartArea(Gebiet& area) override { area.markTime = 0.0f; }
    void dropped(Gegenstand& item, Gebiet* area) override;

private:
    bool hasGrid_ = false;
    int columns_ = -1;
    bool checkPlaces_ = true;
    std::vector<std::vector<Gebiet*>> sumGroups_;
    std::vector<int> sums_;
};

}  // namespace Solitaire
