// The mini-game "RICHTIGER_PFAD" (choose the right path): a picture (usually animated) shows
// several paths with a check box at each; ticking one unticks the others. OK with a wrong path
// ticked emits gameFailed and starts the attempt over (the picture reset, the tick kept, the time
// running on); otherwise, also with nothing ticked, the game is solved, the goal animation plays
// in the picture and the result follows after the end delay.
//
// Keys beside the base's: "ANIMATION" (the picture of the paths), "GOAL_ANIMATION" (played once
// solved), "GEBIET" children: "GUIRECT", "GUI_CHECK_BOX" (a check box template), "RICHTIG".
// Windows (prefix + "RICHTIGER_WEG_" + "FENSTER", "FENSTER_ARBEITS_FLAECHE", "FENSTER_ARBEIT",
// "OK", "CANCEL", "HILFE").
#pragma once

#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUICheckboxButton;
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class RichtigenPfadAnklicken : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"RICHTIGER_WEG_";
    static constexpr std::size_t kMaxAreas = 256;

    class Gebiet : public Orvex::NamedObject {
    public:
        explicit Gebiet(Orvex::XMLNode& node);
        ~Gebiet() override;
        void onCheckboxChanged(Orvex::GUICheckboxButton& box);

        Orvex::CountedRef<Orvex::GUICheckboxButton> checkBox;
        sigslot::signal1<Gebiet&> selected;
        bool checked = false;
        bool right = false;
    };

    explicit RichtigenPfadAnklicken(Orvex::XMLNode& element);
    ~RichtigenPfadAnklicken() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    void onOkClicked(Orvex::GUIWindow& button);
    void onGebietSelected(Gebiet& area);

    // A copy of the list (no references added).
    std::vector<Gebiet*> getAreas() const { return Orvex::plainPointers(areas_); }
    Orvex::GUIWindow* getWorkWindow() const { return work_; }

private:
    std::vector<Orvex::CountedRef<Gebiet>> areas_;
    Orvex::GUIWindow* surface_ = nullptr;
    Orvex::GUIWindow* work_ = nullptr;
    Orvex::CountedRef<Orvex::Texture2DAnimation> goalAnimation_;
    Orvex::CountedRef<Orvex::Texture2DAnimation> pathAnimation_;
};

}  // namespace Solitaire
