// What the options screen leaves to the game object (its modes and sliders are OptionsScreen's):
// the display mode's confirmation dialog with its countdown (the device resynchronised when it is
// refused), and what the game does when its window loses or regains the focus (the cursor choice
// is CursorTable's).
//
// Decisions:
// - Stepping back through the menu history stops at its oldest entry and after as many steps as
//   it has entries (it clamps at the oldest, where "step back once more" would not end).
#include <string>

#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/app/MenuNames.h"
#include "game/app/MyGlobals.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenNumbers.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"
#include "port/win32/winuser.h"

namespace Solitaire {

namespace {

bool isOptionsHistoryMenu(Orvex::GUIMenuN const* menu) {
    if (!menu) return false;
    std::wstring const& name = menu->getName();
    return name == kConfirmMenu || name == kWarningMenu || name == kOptionsMenu;
}

}  // namespace

// ---- display mode confirmation ----

void SolitaireGame2::stepBackPastOptions() {
    int const bound = static_cast<int>(menus_->getHistory().size());
    Orvex::GUIMenuN* reached = menus_->moveInHistory(-1, -1.0);
    for (int i = 0; i < bound && isOptionsHistoryMenu(reached) && menus_->getHistoryIndex() > 0; ++i)
        reached = menus_->moveInHistory(-1, -1.0);
}

void SolitaireGame2::onModeNeedsConfirmation() { menus_->activateMenu(kConfirmMenu, -1.0); }

void SolitaireGame2::onModeCountdown(float const& secondsLeft) {
    if (Orvex::GUILabel* label = findLabel(L"US_LABEL"))
        label->setText(formatLanguageText(label->getTextId(), static_cast<double>(secondsLeft)));
}

void SolitaireGame2::onModeConfirmed(bool const& accepted) {
    if (accepted) {
        stepBackPastOptions();
        return;
    }
    options_.resyncWithDevice();
    menus_->activateMenu(kOptionsMenu, -1.0);
}

void SolitaireGame2::onModeListRestricted() { newProfileDialog_.showWarning(Orvex::languageText(L"SCREEN_RES_EINGSCHRAENKT")); }

void SolitaireGame2::onUnsupportedMode(_D3DDISPLAYMODE&) {
    newProfileDialog_.showWarning(Orvex::languageText(L"NON_SUPPORTED_DISPLAY_MODE_DETECTED"));
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
