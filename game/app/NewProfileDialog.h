// The new-profile dialog ("NEUESPROFIL") and the warning dialog ("WARNINGMENU"). The dialog works
// on a pending profile, which the tutorial switches and the tutorials judge by until the player
// confirms it (it then belongs to the profile manager) or cancels it. The first profile's dialog
// (no profile exists yet) cannot be cancelled: its cancel warns instead. While any of its dialogs
// is open no tutorial comes over it (a page over the name field would take the typed letters, and
// the pending profile has seen no tutorial yet): the game object asks holdsTutorials before it
// shows a menu's tutorial.
// The game object holds it by value, built with its Links, wires it once, opens it and hands it
// the dialog's buttons.
//
// A typed name is data: it is shown and stored as it stands but for the blanks at its ends (a
// name of blanks alone is none), never used as a format or a path.
//
// Files: NewProfileDialog.cpp (all of it).
#pragma once

#include <functional>
#include <string>

namespace Orvex {
class GUICheckbox;
class GUIMenuManagerN;
class LanguageManager;
}  // namespace Orvex

namespace Solitaire {

class Profil;
class SolTutorialManager;

class NewProfileDialog {
public:
    // What the dialogs use: the texts, the menus the dialogs open in, the tutorials the pending
    // profile judges, and what sets every tutorial switch of the screens at once (the dialog's
    // switch among them).
    struct Links {
        Orvex::LanguageManager* language = nullptr;
        Orvex::GUIMenuManagerN* menus = nullptr;
        SolTutorialManager* tutorials = nullptr;
        std::function<void(bool)> setTutorialSwitches{};
    };

    explicit NewProfileDialog(Links links);
    NewProfileDialog(NewProfileDialog const&) = delete;
    NewProfileDialog& operator=(NewProfileDialog const&) = delete;

    // The dialog's tutorial switch found.
    void wire();
    // The dialog with a fresh pending profile; the first profile's cannot be left but by creating.
    void open();
    void openFirst();
    // "NP_OKButton": the pending profile named as typed, without the blanks at the ends (a
    // warning when the name is taken, a generated name when none is left), handed to the
    // profile manager, active and saved.
    void create();
    // "NP_CancelButton": back to the profile screen; from the first profile's dialog a warning
    // that a profile is made first.
    void cancel();
    // Lets go of the pending profile (the tutorials first, when they judge by it).
    void releasePending();
    // While the dialog is shown: its name label takes the error look while a profile has that
    // name.
    void update();
    // The warning dialog with the text, or with the language's text of that id.
    void showWarning(std::wstring const& text);
    void warn(wchar_t const* textId);
    // A save of the profiles kept nothing (tooLarge: its file would have been more than its
    // reader takes); tellNotSaved tells the player, once a game, as it is called on a menu screen
    // (not over the table or a dialog): later saves fail the same way.
    void noteNotSaved(bool tooLarge);
    void tellNotSaved();
    // A name no profile has: the language's "PLAYERNAME" numbered after the profiles, else
    // "Player" or "PLAYER" with a number.
    std::wstring makeDefaultName() const;

    Profil* getPendingProfile() const { return pending_; }
    bool isFirstProfileDialog() const { return first_; }
    bool isFirstProfileBlocked() const { return firstBlock_; }
    // The dialog is open (a profile is pending) or the first profile is still to be made.
    bool holdsTutorials() const { return firstBlock_ || pending_; }

private:
    Orvex::LanguageManager* language_ = nullptr;
    Orvex::GUIMenuManagerN* menus_ = nullptr;
    SolTutorialManager* tutorials_ = nullptr;
    std::function<void(bool)> setTutorialSwitches_;
    Orvex::GUICheckbox* tutorialSwitch_ = nullptr;
    // One reference held.
    Profil* pending_ = nullptr;
    bool first_ = false;
    bool firstBlock_ = false;
    enum class NotSaved { kNothingToTell, kToTell, kTold };
    NotSaved notSaved_ = NotSaved::kNothingToTell;
    bool notSavedAsTooLarge_ = false;
};

}  // namespace Solitaire
