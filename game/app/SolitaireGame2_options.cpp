// What the options screen leaves to the game object (its modes, sliders and the mode's
// confirmation are OptionsScreen's, the cursor choice CursorTable's): the tutorial switches that
// stand for one profile setting, and what the game does when its window loses or regains the
// focus.
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
constexpr int kNewProfileBox = 2;

}  // namespace

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
    cursorTable_.applyCursor();
}

}  // namespace Solitaire
