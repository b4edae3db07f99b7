// What the options screen leaves to the game object (its modes, sliders and the mode's
// confirmation are OptionsScreen's): the cursor choice, the tutorial switches that stand for one
// profile setting, and what the game does when its window loses or regains the focus.
//
// Decisions:
// - The cursor's show and hide calls are repeated until the display count changes sign, at most
//   kMaxCursorCalls times, and stop when the count does not move.
#include <string>

#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/app/MenuNames.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenNumbers.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/winuser.h"

namespace Solitaire {

namespace {

constexpr wchar_t kNewProfileCheckbox[] = L"NP_HELP_CHECKBOX_3";
constexpr int kMaxCursorCalls = 64;
constexpr int kNewProfileBox = 2;

// Calls ShowCursor until the count reaches the wanted side, bounded, stopping when it stands.
void driveCursorCount(bool show) {
    int count = ShowCursor(show ? TRUE : FALSE);
    for (int i = 1; i < kMaxCursorCalls && (show ? count < 0 : count >= 0); ++i) {
        int const next = ShowCursor(show ? TRUE : FALSE);
        if (next == count) break;
        count = next;
    }
}

}  // namespace

// ---- cursor ----

void SolitaireGame2::onCursor0(Orvex::GUIWindow&) {
    if (globals_) globals_->setMouseCursor(0);
    applyCursor();
}
void SolitaireGame2::onCursor1(Orvex::GUIWindow&) {
    if (globals_) globals_->setMouseCursor(1);
    applyCursor();
}
void SolitaireGame2::onCursor2(Orvex::GUIWindow&) {
    if (globals_) globals_->setMouseCursor(2);
    applyCursor();
}
void SolitaireGame2::onCursor3(Orvex::GUIWindow&) {
    if (globals_) globals_->setMouseCursor(MyGlobals::kSystemCursor);
    applyCursor();
}

void SolitaireGame2::applyCursor() {
    bool const arrow = (globals_ ? globals_->getShownCursor() : MyGlobals::kSystemCursor) == MyGlobals::kSystemCursor;
    engine_->setSystemCursor(arrow);
    // The port's window cursor is the arrow already; only its visibility is set.
    driveCursorCount(arrow);
}

// ---- tutorial switches ----

void SolitaireGame2::setTutorialCheckboxes(bool checked) {
    bool const wasSilent = tutorialCheckboxesSilent_;
    tutorialCheckboxesSilent_ = true;
    for (Orvex::GUICheckbox* checkbox : tutorialCheckboxes_)
        if (Orvex::GUICheckboxButton* button = checkbox ? checkbox->getButton() : nullptr) button->setChecked(checked);
    tutorialCheckboxesSilent_ = wasSilent;
}

void SolitaireGame2::onTutorialCheckbox(Orvex::GUICheckboxButton& button) {
    if (tutorialCheckboxesSilent_) return;
    tutorialCheckboxesSilent_ = true;
    bool const on = button.isChecked();
    if (Profil* profile = dynamic_cast<Profil*>(solTutorials_->getProfile())) profile->setShowTutorials(on);
    Orvex::GUICheckbox* newProfileBox = dynamic_cast<Orvex::GUICheckbox*>(findWindow(kNewProfileCheckbox));
    bool const fromDialog = newProfileBox && newProfileBox->getButton() == &button;
    if (on && !fromDialog) solTutorials_->showTutorial(kTutorialMenu, false, false, D3DXVECTOR2(0.0f, 0.0f));
    tutorialCheckboxesSilent_ = false;
    setTutorialCheckboxes(on);
}


// ---- window activation ----

void SolitaireGame2::onWindowActive(bool const& active) {
    // The update stops and the draw shows the pause overlay while inactive. The settings' music
    // stream this would pause or run is not part of the game: the music plays on.
    active_ = active;
    if (!active) return;
    // Two steps, so the time away is not one big step.
    engine_->getPerfTimer()->update();
    engine_->getPerfTimer()->update();
    applyCursor();
}

}  // namespace Solitaire
