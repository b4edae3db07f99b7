// What the game's screens do for the tutorials: the menus' tutorials, the tutorial menu's help
// panels, the four tutorial switches and the tutorial pause.
//
// The tutorial menu ("TUTORIALMENU") has two help panels, each a scroll panel around a label: the
// label is fitted to its text (at least its parent's height less a pixel) whenever its rectangle
// or its text changes, and the panels go back to their start then and when a panel's frame reaches
// an animation goal. The four switches ("T_HELP_CHECKBOX_1", "H_HELP_CHECKBOX_2",
// "NP_HELP_CHECKBOX_3", "O_Tutorial") stand for one setting of the profile the tutorials judge by:
// the player's click on one sets the profile and all four; code that sets them (a new active
// profile, the new-profile dialog) sets them silenced, so the profile is left alone. A shown
// tutorial pauses the game's clock (one slot of the performance timer) until it is closed.
//
// The game object holds it by value, built with its Links (it connects itself to the tutorials),
// wires its switches once, and calls it when a menu is entered; which menu is entered stays the game object's.
//
// Files: TutorialScreens.cpp (all of it).
#pragma once

#include <functional>
#include <string>

#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUIAnimationsGoal;
class GUICheckbox;
class GUICheckboxButton;
class GUILabel;
class GUIWindow;
class OrvexEngine;
}  // namespace Orvex

namespace Solitaire {

class SolTutorialManager;

class TutorialScreens : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // What the screens use: the tutorials, whose start and close pause and run the engine's clock
    // (their signals reach the screens' slots), and mapTablePoint, which turns a table point of a
    // tutorial into a window point.
    struct Links {
        SolTutorialManager* tutorials = nullptr;
        Orvex::OrvexEngine* engine = nullptr;
        std::function<void(D3DXVECTOR2&)> mapTablePoint{};
    };

    explicit TutorialScreens(Links links);
    TutorialScreens(TutorialScreens const&) = delete;
    TutorialScreens& operator=(TutorialScreens const&) = delete;

    // Finds the four switches and sets their first state: the first two unchecked (they follow the
    // active profile once profiles exist), the other two checked.
    void wire();
    // All four switches set without their slot reacting.
    void setCheckboxes(bool checked);
    bool areCheckboxesSilenced() const { return silent_; }

    // Shows the tutorial of that name (force: also one seen already); false when none was shown.
    bool show(std::wstring const& name, bool force);
    // A menu's tutorials: the tutorial menu's, then the menu's own (the game screens' by the kind
    // of game, campaign or free).
    void showMenuTutorials(std::wstring const& menu, bool campaign);
    // "TUTORIALMENU" entered: its help labels fitted, kept fitted and scrolled to their start. The
    // connections it made at the last entry are removed first, so each signal keeps one.
    void enterMenu();
    // "H_ResetTut", "O_Tutorial_Reset": the active profile sees every tutorial again.
    static void resetSeen();

private:
    void onShown();
    void onHidden();
    void onMapPoint(D3DXVECTOR2& point);
    void onCheckbox(Orvex::GUICheckboxButton& button);
    void scrollHelpToStart();
    void onFrameGoal(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal& goal);
    void fitLabel(Orvex::GUIWindow& label);
    void fitLabelAndScroll(Orvex::GUILabel& label);

    SolTutorialManager* tutorials_ = nullptr;
    Orvex::OrvexEngine* engine_ = nullptr;
    std::function<void(D3DXVECTOR2&)> mapTablePoint_;
    // Null when the GUI files lack them.
    Orvex::GUICheckbox* checkboxes_[4] = {};
    // Set while code sets the switches, so their slot does not react.
    bool silent_ = false;
    // Set while a label is being fitted: the fitting changes its rectangle again.
    bool fitting_ = false;
};

}  // namespace Solitaire
