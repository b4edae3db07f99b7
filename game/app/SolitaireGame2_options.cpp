// The options screen behind its controls: the display mode and full-screen state chosen on the
// screen and applied when it is left (confirmed in a dialog with a countdown, resynchronised from
// the device when refused), the volumes, the style randomness, the cursor choice, the tutorial
// switches that stand for one profile setting, the mode labels and card previews, and what the
// game does when its window loses or regains the focus.
//
// Decisions:
// - Wiring calls each volume slot once with the slider's value; that value is the stored volume
//   held inside the slider's range, so a volume the settings file gave outside 0 to 100 (or not a
//   number) would be overwritten before the player touched anything. A slot stores the volume
//   only when the slider shows something else than the stored volume, so config.cfg gets back
//   what it held until the slider is moved.
// - The cursor's show and hide calls are repeated until the display count changes sign, at most
//   kMaxCursorCalls times, and stop when the count does not move.
// - Stepping back through the menu history stops at its oldest entry and after as many steps as
//   it has entries (it clamps at the oldest, where "step back once more" would not end).
#include <string>

#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
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
#include "game/cards/Kartenset.h"
#include "game/cards/StyleSettings.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/winuser.h"

namespace Solitaire {

namespace {

constexpr wchar_t kNewProfileCheckbox[] = L"NP_HELP_CHECKBOX_3";
// Sliders run from 0 to 100 percent; a full-screen slider above one half means full screen.
constexpr float kPercent = 100.0f;
constexpr float kFullscreenAbove = 0.5f;
constexpr int kMaxCursorCalls = 64;
constexpr int kNewProfileBox = 2;

std::wstring modeText(int index) {
    std::vector<D3DDISPLAYMODE> const& modes = Orvex::D3DInterface::getInstance().getDisplayModes();
    if (index < 0 || static_cast<std::size_t>(index) >= modes.size()) return std::wstring();
    std::wstring text;
    Orvex::D3DInterface::displayModeToString(text, modes[static_cast<std::size_t>(index)], L" ");
    return text;
}

// The slider's caption: its text formatted with the value as a whole number.
void showPercent(Orvex::GUISlider& slider, wchar_t const* textId, float value) {
    if (Orvex::GUILabel* label = slider.getLabel())
        label->setText(formatLanguageText(textId, saturateTo<long long>(value)));
}

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

// ---- display mode ----

void SolitaireGame2::onResolutionSlider(Orvex::GUISlider& slider, float const& value) {
    chosenModeIndex_ = saturateTo<int>(value);
    if (Orvex::GUILabel* label = slider.getLabel()) label->setText(modeText(chosenModeIndex_));
}

void SolitaireGame2::onFullscreenSlider(Orvex::GUISlider& slider, float const& value) {
    fullscreenChosen_ = value > kFullscreenAbove;
    if (Orvex::GUILabel* label = slider.getLabel())
        label->setText(Orvex::languageText(label->getTextId()) + Orvex::languageText(fullscreenChosen_ ? L"O_AN" : L"O_AUS"));
    showFullscreenChoice();
}

void SolitaireGame2::onFullscreenCheckbox(Orvex::GUICheckboxButton& button) {
    fullscreenChosen_ = button.isChecked();
    showFullscreenChoice();
}

void SolitaireGame2::showFullscreenChoice() {
    // Setting one control calls its slot, which comes back here.
    if (showingFullscreenChoice_) return;
    showingFullscreenChoice_ = true;
    bool const chosen = fullscreenChosen_;
    if (auto* slider = dynamic_cast<Orvex::GUISlider*>(findWindow(L"FullscreenSlider")))
        if ((slider->getValue() > kFullscreenAbove) != chosen) slider->setValue(chosen ? 1.0f : 0.0f);
    if (auto* checkbox = dynamic_cast<Orvex::GUICheckbox*>(findWindow(L"O_Fullscreen")))
        if (Orvex::GUICheckboxButton* button = checkbox->getButton(); button && button->isChecked() != chosen)
            button->setChecked(chosen);
    fullscreenChosen_ = chosen;
    showingFullscreenChoice_ = false;
}

void SolitaireGame2::applyChosenDisplayMode() {
    if (chosenModeIndex_ != currentModeIndex_ || fullscreenChosen_ != fullscreen_) {
        fullscreen_ = fullscreenChosen_;
        std::vector<D3DDISPLAYMODE> const& modes = d3d_->getDisplayModes();
        D3DDISPLAYMODE const mode = chosenModeIndex_ >= 0 && static_cast<std::size_t>(chosenModeIndex_) < modes.size()
                                        ? modes[static_cast<std::size_t>(chosenModeIndex_)]
                                        : d3d_->getDisplayMode();
        d3d_->setDisplayMode(mode, fullscreen_, true);
    }
    currentModeIndex_ = chosenModeIndex_ = d3d_->findDisplayMode(d3d_->getDisplayMode());
}

void SolitaireGame2::answerDisplayMode(bool accept) {
    bool answer = accept;
    d3d_->confirmDisplayMode(answer);
    currentModeIndex_ = chosenModeIndex_ = d3d_->findDisplayMode(d3d_->getDisplayMode());
}

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
    currentModeIndex_ = chosenModeIndex_ = d3d_->findDisplayMode(d3d_->getDisplayMode());
    fullscreen_ = fullscreenChosen_ = !d3d_->getPresentParameters().Windowed;
    if (auto* slider = dynamic_cast<Orvex::GUISlider*>(findWindow(L"FullscreenSlider"))) {
        slider->setValue(fullscreen_ ? 1.0f : 0.0f);
        onFullscreenSlider(*slider, slider->getValue());
    }
    if (auto* checkbox = dynamic_cast<Orvex::GUICheckbox*>(findWindow(L"O_Fullscreen")))
        if (Orvex::GUICheckboxButton* button = checkbox->getButton()) {
            button->setChecked(fullscreen_);
            fullscreenChosen_ = button->isChecked();
        }
    if (auto* slider = dynamic_cast<Orvex::GUISlider*>(findWindow(L"AufloesungSlider"))) {
        slider->setValue(static_cast<float>(currentModeIndex_));
        onResolutionSlider(*slider, slider->getValue());
        chosenModeIndex_ = currentModeIndex_;
    }
    menus_->activateMenu(kOptionsMenu, -1.0);
}

void SolitaireGame2::onModeListRestricted() { showWarning(Orvex::languageText(L"SCREEN_RES_EINGSCHRAENKT")); }

void SolitaireGame2::onUnsupportedMode(_D3DDISPLAYMODE&) {
    showWarning(Orvex::languageText(L"NON_SUPPORTED_DISPLAY_MODE_DETECTED"));
}

// ---- volumes and style ----

void SolitaireGame2::onSoundVolumeSlider(Orvex::GUISlider& slider, float const& value) {
    if (globals_ && value != Orvex::GUISlider::ruleValue(globals_->getSoundVolume(), slider.getMinimum(),
                                                          slider.getMaximum(), slider.getGranularity()))
        globals_->setSoundVolume(value);
    showPercent(slider, L"O_SOUND_VOLUME_PERC", value);
}

void SolitaireGame2::onMusicVolumeSlider(Orvex::GUISlider& slider, float const& value) {
    if (globals_ && value != Orvex::GUISlider::ruleValue(globals_->getMusicVolume(), slider.getMinimum(),
                                                          slider.getMaximum(), slider.getGranularity()))
        globals_->setMusicVolume(value);
    showPercent(slider, L"O_MUSIC_VOLUME_PERC", value);
}

void SolitaireGame2::onRandomSlider(Orvex::GUISlider& slider, float const& value) {
    showPercent(slider, L"O_RANDOM_PERC", value);
    StyleSettings::instance().setStyleParam(value / kPercent);
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


// ---- the options display ----

void SolitaireGame2::refreshOptions() {
    std::wstring const mode = modeText(chosenModeIndex_);
    std::vector<Orvex::GUIWindow*> all;
    gui_->collectAllWindows(all);
    for (Orvex::GUIWindow* window : all)
        if (window->getName() == L"O_AufloesungAnzeigeLabel")
            if (auto* label = dynamic_cast<Orvex::GUILabel*>(window)) label->setText(mode);
    StyleSettings& style = StyleSettings::instance();
    if (Orvex::GUIWindow* preview = findWindow(L"O_CARDSET_PREVIEW")) {
        int const position = style.indexOfKartenset(style.getCardSetSet()) + 1;
        preview->getDrawOptions().setTexNormal(findScreenTexture(L"O_KARTENSET" + std::to_wstring(position)));
    }
    if (Orvex::GUIWindow* preview = findWindow(L"O_CARDBACKPREVIEW"))
        if (Kartenset* cards = style.getKartenset()) preview->getDrawOptions().setTexNormal(cards->getBack(style.getCardsBack()));
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
