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
#pragma once

#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/gui/GUIRect.h"
#include "game/minigames/Minispiel.h"

namespace Orvex {
class GUIAnimationsGoal;
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class MinispielZuordnen2 : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"ZUORDNEN2_";
    static constexpr std::size_t kMaxAreas = 256;
    static constexpr std::size_t kMaxItems = 512;
    static constexpr unsigned kItemSlot = 10;

    // An area or an item: a window with a normal and a found look.
    class Teil : public Orvex::NamedObject {
    public:
        explicit Teil(Orvex::XMLNode& node);
        ~Teil() override;
        // The window's background animation and rectangle of the look, the rectangle recomputed.
        void applyLook(bool found);

        Orvex::GUIWindow* window = nullptr;
        Orvex::GUIRect rect;
        Orvex::GUIRect foundRect;
        Orvex::Texture2DAnimation* animation = nullptr;
        Orvex::Texture2DAnimation* foundAnimation = nullptr;
    };

    class Gebiet : public Teil {
    public:
        explicit Gebiet(Orvex::XMLNode& node) : Teil(node) {}
        void setFound(bool const& found) { applyLook(found); }
    };

    class Gegenstand : public Teil {
    public:
        Gegenstand(Orvex::XMLNode& node, std::vector<Gebiet*> const& areas);
        ~Gegenstand() override;
        // The look; enabled exactly when not found; moved into the parent when one is given;
        // sent to the back of its siblings when found.
        void setFound(bool const& found, Orvex::GUIWindow* parent);
        void setArea(Gebiet* next);

        Gebiet* target = nullptr;
        Gebiet* area = nullptr;
    };

    explicit MinispielZuordnen2(Orvex::XMLNode& element);
    ~MinispielZuordnen2() override;

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

    std::vector<Gebiet*> const& getAreas() const { return areas_; }
    std::vector<Gegenstand*> const& getItems() const { return items_; }
    Orvex::GUIWindow* getWorkWindow() const { return work_; }

private:
    // Keeps every item window inside the work window.
    void clampItems();

    std::vector<Gebiet*> areas_;
    std::vector<Gegenstand*> items_;
    Orvex::GUIWindow* work_ = nullptr;
    Orvex::GUIWindow* areasWindow_ = nullptr;
    std::vector<Orvex::GUIWindow*> trays_;
    bool clamping_ = false;
};

}  // namespace Solitaire
