// The options screen's display mode and sliders (see OptionsScreen.h).
//
// Decisions:
// - Stepping back through the menu history stops at its oldest entry and after as many steps as
//   it has entries (it clamps at the oldest, where "step back once more" would not end).
#include "game/app/OptionsScreen.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/platform/D3DInterface.h"
#include "game/app/MenuNames.h"
#include "game/app/MyGlobals.h"
#include "game/app/ScreenNumbers.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireManager.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

// Sliders run from 0 to 100 percent; a full-screen slider above one half means full screen.
constexpr float kPercent = 100.0f;
constexpr float kFullscreenAbove = 0.5f;

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

bool isOptionsHistoryMenu(Orvex::GUIMenuN const* menu) {
    if (!menu) return false;
    std::wstring const& name = menu->getName();
    return name == kConfirmMenu || name == kWarningMenu || name == kOptionsMenu;
}

}  // namespace

OptionsScreen::OptionsScreen(Links links)
    : d3d_(links.d3d), globals_(links.globals), gui_(links.gui), menus_(links.menus), warn_(std::move(links.warn)) {
    if (!d3d_) return;
    d3d_->signalModeListRestricted.connect(this, &OptionsScreen::onModeListRestricted);
    d3d_->signalModeNeedsConfirmation.connect(this, &OptionsScreen::onModeNeedsConfirmation);
    d3d_->signalModeConfirmed.connect(this, &OptionsScreen::onModeConfirmed);
    d3d_->signalModeCountdown.connect(this, &OptionsScreen::onModeCountdown);
    d3d_->signalUnsupportedMode.connect(this, &OptionsScreen::onUnsupportedMode);
}

void OptionsScreen::findCurrentMode() {
    currentModeIndex_ = chosenModeIndex_ = d3d_ ? d3d_->findDisplayMode(d3d_->getDisplayMode()) : -1;
}

void OptionsScreen::wire() {
    fullscreen_ = d3d_ && !d3d_->getPresentParameters().Windowed;
    fullscreenChosen_ = fullscreen_;
    if (auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"FullscreenSlider")) {
        slider->setRange(0.0f, 1.0f);
        slider->setValue(fullscreen_ ? 1.0f : 0.0f);
        slider->valueChanged.connect(this, &OptionsScreen::onFullscreenSlider);
        onFullscreenSlider(*slider, slider->getValue());
    }
    if (auto* checkbox = findScreenWindowAs<Orvex::GUICheckbox>(L"O_Fullscreen"))
        if (Orvex::GUICheckboxButton* button = checkbox->getButton()) {
            button->setChecked(fullscreen_);
            button->changed.connect(this, &OptionsScreen::onFullscreenCheckbox);
        }
    if (auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"AufloesungSlider")) {
        float const modes = d3d_ ? static_cast<float>(d3d_->getDisplayModes().size()) : 0.0f;
        slider->setRange(0.0f, modes - 1.0f);
        slider->valueChanged.connect(this, &OptionsScreen::onResolutionSlider);
    }
    showModeInForce();
    if (auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"SoundSlider")) {
        slider->setRange(0.0f, kPercent);
        if (globals_) slider->setValue(globals_->getSoundVolume());
        slider->valueChanged.connect(this, &OptionsScreen::onSoundVolumeSlider);
        onSoundVolumeSlider(*slider, slider->getValue());
    }
    if (auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"MusicSlider")) {
        slider->setRange(0.0f, kPercent);
        if (globals_) slider->setValue(globals_->getMusicVolume());
        slider->valueChanged.connect(this, &OptionsScreen::onMusicVolumeSlider);
        onMusicVolumeSlider(*slider, slider->getValue());
    }
    if (auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"RandomSlider")) {
        slider->setRange(0.0f, kPercent);
        slider->valueChanged.connect(this, &OptionsScreen::onRandomSlider);
    }
    showRandomnessInForce();
}

void OptionsScreen::enter() {
    showModeInForce();
    showRandomnessInForce();
    refresh();
}

void OptionsScreen::showRandomnessInForce() {
    auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"RandomSlider");
    if (!slider) return;
    placingKnob_ = true;
    slider->setValue(StyleSettings::getStyleParam() * kPercent);
    onRandomSlider(*slider, slider->getValue());
    placingKnob_ = false;
}

// ---- display mode ----

void OptionsScreen::onResolutionSlider(Orvex::GUISlider& slider, float const& value) {
    if (!placingKnob_) chosenModeIndex_ = saturateTo<int>(value);
    if (Orvex::GUILabel* label = slider.getLabel()) label->setText(chosenModeText());
}

std::wstring OptionsScreen::chosenModeText() const {
    if (chosenModeIndex_ != currentModeIndex_ || !d3d_) return modeText(chosenModeIndex_);
    std::wstring text;
    Orvex::D3DInterface::displayModeToString(text, d3d_->getDisplayMode(), L" ");
    return text;
}

void OptionsScreen::showModeInForce() {
    chosenModeIndex_ = currentModeIndex_;
    auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"AufloesungSlider");
    if (!slider) return;
    // The slider cannot stand for a mode the list lacks; its knob then waits at the nearest one.
    int const knob = currentModeIndex_ >= 0 || !d3d_ ? currentModeIndex_
                                                     : d3d_->findNearestDisplayMode(d3d_->getDisplayMode());
    placingKnob_ = true;
    slider->setValue(static_cast<float>(knob));
    onResolutionSlider(*slider, slider->getValue());
    placingKnob_ = false;
}

void OptionsScreen::onFullscreenSlider(Orvex::GUISlider& slider, float const& value) {
    fullscreenChosen_ = value > kFullscreenAbove;
    if (Orvex::GUILabel* label = slider.getLabel())
        label->setText(Orvex::languageText(label->getTextId()) + Orvex::languageText(fullscreenChosen_ ? L"O_AN" : L"O_AUS"));
    showFullscreenChoice();
}

void OptionsScreen::onFullscreenCheckbox(Orvex::GUICheckboxButton& button) {
    fullscreenChosen_ = button.isChecked();
    showFullscreenChoice();
}

void OptionsScreen::showFullscreenChoice() {
    // Setting one control calls its slot, which comes back here.
    if (showingFullscreenChoice_) return;
    showingFullscreenChoice_ = true;
    bool const chosen = fullscreenChosen_;
    if (auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"FullscreenSlider"))
        if ((slider->getValue() > kFullscreenAbove) != chosen) slider->setValue(chosen ? 1.0f : 0.0f);
    if (auto* checkbox = findScreenWindowAs<Orvex::GUICheckbox>(L"O_Fullscreen"))
        if (Orvex::GUICheckboxButton* button = checkbox->getButton(); button && button->isChecked() != chosen)
            button->setChecked(chosen);
    fullscreenChosen_ = chosen;
    showingFullscreenChoice_ = false;
}

void OptionsScreen::applyChosenDisplayMode() {
    if (!d3d_) return;
    if (chosenModeIndex_ != currentModeIndex_ || fullscreenChosen_ != fullscreen_) {
        fullscreen_ = fullscreenChosen_;
        std::vector<D3DDISPLAYMODE> const& modes = d3d_->getDisplayModes();
        D3DDISPLAYMODE const mode = chosenModeIndex_ >= 0 && static_cast<std::size_t>(chosenModeIndex_) < modes.size()
                                        ? modes[static_cast<std::size_t>(chosenModeIndex_)]
                                        : d3d_->getDisplayMode();
        d3d_->setDisplayMode(mode, fullscreen_, true);
    }
    findCurrentMode();
}

void OptionsScreen::answerDisplayMode(bool accept) {
    if (!d3d_) return;
    bool answer = accept;
    d3d_->confirmDisplayMode(answer);
    findCurrentMode();
}

void OptionsScreen::resyncWithDevice() {
    if (!d3d_) return;
    findCurrentMode();
    fullscreen_ = fullscreenChosen_ = !d3d_->getPresentParameters().Windowed;
    if (auto* slider = findScreenWindowAs<Orvex::GUISlider>(L"FullscreenSlider")) {
        slider->setValue(fullscreen_ ? 1.0f : 0.0f);
        onFullscreenSlider(*slider, slider->getValue());
    }
    if (auto* checkbox = findScreenWindowAs<Orvex::GUICheckbox>(L"O_Fullscreen"))
        if (Orvex::GUICheckboxButton* button = checkbox->getButton()) {
            button->setChecked(fullscreen_);
            fullscreenChosen_ = button->isChecked();
        }
    showModeInForce();
}

// ---- the mode's confirmation ----

void OptionsScreen::stepBackPastOptions() {
    if (!menus_) return;
    int const bound = static_cast<int>(menus_->getHistory().size());
    Orvex::GUIMenuN* reached = menus_->moveInHistory(-1, -1.0);
    for (int i = 0; i < bound && isOptionsHistoryMenu(reached) && menus_->getHistoryIndex() > 0; ++i)
        reached = menus_->moveInHistory(-1, -1.0);
}

void OptionsScreen::onModeNeedsConfirmation() {
    if (menus_) menus_->activateMenu(kConfirmMenu, -1.0);
}

void OptionsScreen::onModeCountdown(float const& secondsLeft) {
    Orvex::GUILabel* label = findLabel(L"US_LABEL");
    // The count's end (0) comes as the question goes: it keeps the last second as it fades.
    if (!label || !(secondsLeft > 0.0f)) return;
    // Whole seconds, so that the number shown and the form chosen for it agree; rounded up, as a
    // countdown reads: the last second is "1".
    double const shown = std::ceil(static_cast<double>(secondsLeft));
    std::wstring text;
    if (Orvex::Text* format = findLanguageText(label->getTextId(), saturateTo<long long>(shown)))
        format->format(text, shown);
    label->setText(text);
}

void OptionsScreen::onModeConfirmed(bool const& accepted) {
    if (accepted) {
        stepBackPastOptions();
        return;
    }
    resyncWithDevice();
    if (menus_) menus_->activateMenu(kOptionsMenu, -1.0);
}

void OptionsScreen::onModeListRestricted() {
    if (warn_) warn_(Orvex::languageText(L"SCREEN_RES_EINGSCHRAENKT"));
}

void OptionsScreen::onUnsupportedMode(_D3DDISPLAYMODE&) {
    if (warn_) warn_(Orvex::languageText(L"NON_SUPPORTED_DISPLAY_MODE_DETECTED"));
}

// ---- volumes and style ----

void OptionsScreen::onSoundVolumeSlider(Orvex::GUISlider& slider, float const& value) {
    if (globals_ && value != Orvex::GUISlider::ruleValue(globals_->getSoundVolume(), slider.getMinimum(),
                                                          slider.getMaximum(), slider.getGranularity()))
        globals_->setSoundVolume(value);
    showPercent(slider, L"O_SOUND_VOLUME_PERC", value);
}

void OptionsScreen::onMusicVolumeSlider(Orvex::GUISlider& slider, float const& value) {
    if (globals_ && value != Orvex::GUISlider::ruleValue(globals_->getMusicVolume(), slider.getMinimum(),
                                                          slider.getMaximum(), slider.getGranularity()))
        globals_->setMusicVolume(value);
    showPercent(slider, L"O_MUSIC_VOLUME_PERC", value);
}

void OptionsScreen::onRandomSlider(Orvex::GUISlider& slider, float const& value) {
    showPercent(slider, L"O_RANDOM_PERC", value);
    if (placingKnob_) return;
    StyleSettings::instance().setStyleParam(value / kPercent);
    SolitaireManager::instance().keepChosenStyleParam();
}

// ---- the options display ----

void OptionsScreen::refresh() {
    std::wstring const mode = chosenModeText();
    std::vector<Orvex::GUIWindow*> all;
    if (gui_) gui_->collectAllWindows(all);
    for (Orvex::GUIWindow* window : all)
        if (window->getName() == L"O_AufloesungAnzeigeLabel")
            if (auto* label = dynamic_cast<Orvex::GUILabel*>(window)) label->setText(mode);
    StyleSettings& style = StyleSettings::instance();
    if (Orvex::GUIWindow* preview = findScreenWindow(L"O_CARDSET_PREVIEW")) {
        int const position = style.indexOfKartenset(style.getCardSetSet()) + 1;
        preview->getDrawOptions().setTexNormal(findScreenTexture(L"O_KARTENSET" + std::to_wstring(position)));
    }
    if (Orvex::GUIWindow* preview = findScreenWindow(L"O_CARDBACKPREVIEW"))
        if (Kartenset* cards = style.getKartenset()) preview->getDrawOptions().setTexNormal(cards->getBack(style.getCardsBack()));
}

void OptionsScreen::stepCardSet(int step) {
    StyleSettings& styles = StyleSettings::instance();
    int const count = styles.getKartensetCount();
    if (count > 0) styles.selectKartensetByIndex(std::clamp(styles.indexOfKartenset(styles.getCardSetSet()) + step, 0, count - 1));
    SolitaireManager::instance().keepChosenCardSetSet();
    refresh();
}

void OptionsScreen::stepCardBack(int step) {
    StyleSettings& styles = StyleSettings::instance();
    // The settings hold the back within the card set's (six at most), so the arrows stop at the
    // first and the last back the set holds.
    styles.setCardsBack(styles.getCardsBack() + step);
    refresh();
}

}  // namespace Solitaire
