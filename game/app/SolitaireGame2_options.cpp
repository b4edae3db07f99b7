// What the options screen leaves to the game object (its modes and sliders are OptionsScreen's):
// the display mode's confirmation dialog with its countdown (the device resynchronised when it is
// refused), the cursor choice, and what the game does when its window loses or regains the focus.
//
// Decisions:
// - The cursor's show and hide calls are repeated until the display count changes sign, at most
//   kMaxCursorCalls times, and stop when the count does not move.
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

constexpr int kMaxCursorCalls = 64;

// Calls ShowCursor until the count reaches the wanted side, bounded, stopping when it stands.
void driveCursorCount(bool show) {
    int count = ShowCursor(show ? TRUE : FALSE);
    for (int i = 1; i < kMaxCursorCalls && (show ? count < 0 : count >= 0); ++i) {
        int const next = ShowCursor(show ? TRUE : FALSE);
        if (next == count) break;
        count = next;
    }
}

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
