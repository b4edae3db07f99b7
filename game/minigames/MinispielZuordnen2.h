// The mini-game "ZUORDNEN2" (placing), the sorting game with feedback on every drop: each item has
// one target area. Dropped on its target, the item and the area switch to their found look (other
// picture, other rectangle), the item moves into the work window and can no longer be dragged,
// and moveMade is emitted; dropped on another area it stays where it was released and moveWrong
// follows moveMade. When every item lies on its target the game is solved and reports after the
// end delay. The work window bounds the items as in the sorting game: after every move of an
// item, when the work window changes size (the screen did) and when the game window starts
// towards a goal.
//
// Keys beside the base's: "GEBIET" and "GEGENSTAND" children, each with "GUI" (template),
// "GUIRECT", "GUIRECT_FOUND", "ANIMATION", "ANIMATION_FOUND"; items also "ZIEL_GEBIET".
// Windows (prefix + "ZUORDNEN2_" + "FENSTER", "FENSTER_ARBEITS_FLAECHE", "VG", "FENSTER_ABLAGE"
// and "FENSTER_ABLAGE_2" ..., "FENSTER_ARBEIT", "CANCEL", "HILFE"; no OK button).
//
// The areas, items, trays, dragging and the clamp are the tray games' (TrayGame.h); here the two
// looks, the meaning of a drop and the end.
#pragma once

#include <vector>

#include "engine/gui/GUIRect.h"
#include "game/minigames/TrayGame.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

// The placing game's parts (MinispielZuordnen2::Teil, ::Gebiet, ::Gegenstand).
namespace zuordnen2 {

// An area or an item: a window with a normal and a found look.
class Teil : public TrayPart {
public:
    explicit Teil(Orvex::XMLNode& node);
    ~Teil() override;
    // The window's background animation and rectangle of the look, the rectangle recomputed.
    void applyLook(bool found);

    Orvex::GUIRect rect;
    Orvex::GUIRect foundRect;
    Orvex::CountedRef<Orvex::Texture2DAnimation> foundAnimation;
};

class Gebiet : public Teil {
public:
    explicit Gebiet(Orvex::XMLNode& node) : Teil(node) {}
    void setFound(bool const& found) { applyLook(found); }
};

class Gegenstand : public Teil {
public:
    Gegenstand(Orvex::XMLNode& node, std::vector<Gebiet*> const& areas);
    // The look; enabled exactly when not found; moved into the parent when one is given;
    // sent to the back of its siblings when found.
    void setFound(bool const& found, Orvex::GUIWindow* parent);
    void setArea(Gebiet* next) { area.hold(next); }

    Orvex::CountedRef<Gebiet> target;
    Orvex::CountedRef<Gebiet> area;
};

}  // namespace zuordnen2

class MinispielZuordnen2 : public TrayGame<zuordnen2::Gebiet, zuordnen2::Gegenstand> {
public:
    static constexpr wchar_t const* kKind = L"ZUORDNEN2_";

    using Teil = zuordnen2::Teil;
    using Gebiet = zuordnen2::Gebiet;
    using Gegenstand = zuordnen2::Gegenstand;

    explicit MinispielZuordnen2(Orvex::XMLNode& element) : TrayGame(element, kKind) {}

    void update(double const& dt) override { countDownEndDelay(dt); }

protected:
    void layOutAreas() override;
    // Each item in its normal look in a random tray, each area in its normal look.
    void restartItem(Gegenstand& item) override { item.setFound(false, randomTray()); }
    void restartArea(Gebiet& area) override { area.setFound(false); }
    // A solved game's items stay where they lie.
    bool takesDrags() const override { return !solved; }
    // On its target the item and the area take their found look and the item goes into the work
    // window; elsewhere moveWrong. Every item on its target solves the game.
    void dropped(Gegenstand& item, Gebiet* area) override;
};

}  // namespace Solitaire
