// The options screen's display mode and sliders ("OPTIONENMENU"): the display mode and
// full-screen state chosen on the screen and applied when it is left (the device asks for a
// confirmation, "USE_SETTINGS_MENU" with its countdown, which the player gives or refuses), the
// sound and music volumes, the style randomness, the card set and back stepped through their
// choices, the mode labels and card previews, and the device's warnings about the mode list. The game object holds it by value, built with its Links;
// it connects the device's mode signals to itself. The cursor choice and the tutorial switches
// are other screens'.
//
// Wiring calls each volume slot once with the slider's value; that value is the stored volume
// held inside the slider's range, so a volume the settings file gave outside 0 to 100 (or not a
// number) would be overwritten before the player touched anything. A slot stores the volume only
// when the slider shows something else than the stored volume, so config.cfg gets back what it
// held until the slider is moved.
//
// Files: OptionsScreen.cpp (all of it).
#pragma once

#include <functional>
#include <string>

#include "signals/sigslot.h"

struct _D3DDISPLAYMODE;

namespace Orvex {
class D3DInterface;
class GUICheckboxButton;
class GUIMenuManagerN;
class GUISlider;
class GUISystem;
}  // namespace Orvex

namespace Solitaire {

class MyGlobals;

class OptionsScreen : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // What the screen uses: the device whose modes are offered (its mode signals reach the
    // screen's slots), the settings holding the volumes (may be null), the GUI whose mode labels
    // are filled, the menus the confirmation opens and leaves, and the warning dialog that shows
    // a text.
    struct Links {
        Orvex::D3DInterface* d3d = nullptr;
        MyGlobals* globals = nullptr;
        Orvex::GUISystem* gui = nullptr;
        Orvex::GUIMenuManagerN* menus = nullptr;
        std::function<void(std::wstring const&)> warn{};
    };

    explicit OptionsScreen(Links links);
    OptionsScreen(OptionsScreen const&) = delete;
    OptionsScreen& operator=(OptionsScreen const&) = delete;

    // Both indexes name the mode in use.
    void findCurrentMode();
    // The sliders and the full-screen checkbox set from the device and the settings, connected.
    void wire();
    // The screen opens: the mode slider at the mode in use, the randomness slider at the
    // randomness in force, the labels and previews. Untouched, the choice is the mode in use even
    // when the list lacks it (a window cut to a smaller desktop), so leaving the screen changes
    // nothing.
    void enter();
    // The mode labels and card previews.
    void refresh();
    // "O_CARDSET_PREV" / "_NEXT", "O_CARDBACK_PREV" / "_NEXT": the card set or back one step on
    // (or back), held within the choices; the previews follow. The card set and the style
    // randomness chosen are what a start without the catalogue's overrides gives back.
    void stepCardSet(int step);
    void stepCardBack(int step);
    // "O_Back": switches to the chosen mode and full-screen state when they differ from the
    // present ones (with the confirmation dialog); both indexes then name the mode in use.
    void applyChosenDisplayMode();
    // "US_OK" / "US_CANCEL": the pending mode kept or refused; both indexes name the mode in use.
    void answerDisplayMode(bool accept);
    // A refused mode: the choices and the controls back to what the device shows.
    void resyncWithDevice();
    // Steps back through the menu history past the confirmation dialog, a warning and the
    // options ("O_Back" and an accepted mode), bounded.
    void stepBackPastOptions();

    // The device's mode signals.
    void onModeNeedsConfirmation();
    void onModeCountdown(float const& secondsLeft);
    void onModeConfirmed(bool const& accepted);
    void onModeListRestricted();
    void onUnsupportedMode(_D3DDISPLAYMODE& mode);

    void onResolutionSlider(Orvex::GUISlider& slider, float const& value);
    void onFullscreenSlider(Orvex::GUISlider& slider, float const& value);
    void onFullscreenCheckbox(Orvex::GUICheckboxButton& button);
    void onSoundVolumeSlider(Orvex::GUISlider& slider, float const& value);
    void onMusicVolumeSlider(Orvex::GUISlider& slider, float const& value);
    void onRandomSlider(Orvex::GUISlider& slider, float const& value);

    int getCurrentModeIndex() const { return currentModeIndex_; }
    int getChosenModeIndex() const { return chosenModeIndex_; }
    bool isFullscreenChosen() const { return fullscreenChosen_; }

private:
    // Brings "FullscreenSlider" and "O_Fullscreen" (where the screen has them) to the chosen
    // full-screen flag, so the two never show different choices.
    void showFullscreenChoice();
    // The choice back to the mode in use; the slider's knob at it (or at the offered mode nearest
    // it), its caption naming the mode in use.
    void showModeInForce();
    // "RandomSlider" and its percentage at the style randomness in force, which a variant's
    // override or the saved choice may have set since the screen was last open: placed, not chosen.
    void showRandomnessInForce();
    // The chosen mode as text; the mode in use itself while nothing else is chosen.
    std::wstring chosenModeText() const;

    Orvex::D3DInterface* d3d_ = nullptr;
    MyGlobals* globals_ = nullptr;
    Orvex::GUISystem* gui_ = nullptr;
    Orvex::GUIMenuManagerN* menus_ = nullptr;
    std::function<void(std::wstring const&)> warn_;
    int currentModeIndex_ = -1;
    int chosenModeIndex_ = -1;
    bool fullscreen_ = false;
    bool fullscreenChosen_ = false;
    bool showingFullscreenChoice_ = false;
    // The screen places a slider's knob (the mode's, the randomness'): its slot leaves the choice
    // alone.
    bool placingKnob_ = false;
};

}  // namespace Solitaire
