// The new-profile and warning dialogs (see NewProfileDialog.h).
#include "game/app/MenuNames.h"
#include "game/app/NewProfileDialog.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

namespace {

constexpr wchar_t kPresetTextId[] = L"NEUES_PROFIL";
constexpr wchar_t kNameLabel[] = L"NP_ProfilName_LABEL";
constexpr wchar_t kTutorialSwitch[] = L"NP_HELP_CHECKBOX_3";
// The makers' profiles start with every chapter and level of the campaign open.
constexpr wchar_t const* kMakerNames[] = {L"VORTMAK", L"ZELUP"};

// What a player cannot see at a name's end: Unicode's white space, and the zero-width space,
// the Mongolian vowel separator and the byte-order mark, which print nothing either.
constexpr std::wstring_view kBlanks =
    L" \t\n\v\f\r\u0085\u00A0\u1680\u180E\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008\u2009"
    L"\u200A\u200B\u2028\u2029\u202F\u205F\u3000\uFEFF";

// The typed name without the blanks at its ends: two names that look alike are one.
std::wstring typedName(Orvex::GUILabel const& label) {
    std::wstring const& text = label.getText();
    std::size_t const first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

NewProfileDialog::NewProfileDialog(Links links)
    : language_(links.language),
      menus_(links.menus),
      tutorials_(links.tutorials),
      setTutorialSwitches_(std::move(links.setTutorialSwitches)) {}

void NewProfileDialog::wire() { tutorialSwitch_ = findScreenWindowAs<Orvex::GUICheckbox>(kTutorialSwitch); }

void NewProfileDialog::showWarning(std::wstring const& text) {
    if (Orvex::GUILabel* label = findLabel(L"W_WarningLabel")) label->setText(text);
    if (menus_) menus_->activateMenu(kWarningMenu, -1.0);
}

void NewProfileDialog::warn(wchar_t const* textId) { showWarning(language_ ? language_->getText(textId) : L""); }

void NewProfileDialog::noteNotSaved(bool tooLarge) {
    if (notSaved_ != NotSaved::kNothingToTell) return;
    notSaved_ = NotSaved::kToTell;
    notSavedAsTooLarge_ = tooLarge;
}

void NewProfileDialog::tellNotSaved() {
    if (notSaved_ != NotSaved::kToTell) return;
    notSaved_ = NotSaved::kTold;
    warn(notSavedAsTooLarge_ ? L"PROFILES_TOO_LARGE" : L"PROFILES_NOT_SAVED");
}

void NewProfileDialog::open() {
    releasePending();
    // The field shows the name Return makes; the first key typed replaces it.
    if (Orvex::GUILabel* label = findLabel(kNameLabel)) label->setText(makeDefaultName());
    pending_ = new Profil(L"");
    pending_->setShowTutorials(true);
    if (tutorials_) tutorials_->setProfile(pending_);
    if (setTutorialSwitches_) setTutorialSwitches_(true);
    if (menus_) menus_->activateMenu(kNewProfileMenu, -1.0);
}

void NewProfileDialog::openFirst() {
    first_ = true;
    firstBlock_ = true;
    open();
}

void NewProfileDialog::releasePending() {
    if (!pending_) return;
    if (tutorials_ && tutorials_->getProfile() == pending_) tutorials_->setProfile(nullptr);
    pending_->release();
    pending_ = nullptr;
}

std::wstring NewProfileDialog::makeDefaultName() const {
    ProfilManager const& profiles = ProfilManager::instance();
    Orvex::Text const* text = language_ ? language_->findText(L"PLAYERNAME") : nullptr;
    int const tries = profiles.getProfileCount() + 1;
    int n = tries;
    // The language's name first. A text that gives the same name for every number (one without
    // a number in it) cannot find a free one, so after as many tries as there are profiles the
    // numbered fallback, whose names all differ, takes over. An empty name (a text that prints
    // nothing of the number) is no name.
    auto make = [&](int attempt) {
        std::wstring name;
        if (text && attempt < tries) return text->format(name, n);
        return (attempt == 0 ? std::wstring(L"Player") : std::wstring(L"PLAYER")) + std::to_wstring(n);
    };
    std::wstring name = make(0);
    for (int attempt = 1; name.empty() || profiles.findProfile(name); ++attempt) {
        ++n;
        name = make(attempt);
    }
    return name;
}

void NewProfileDialog::create() {
    Orvex::GUILabel* label = findLabel(kNameLabel);
    if (!pending_ || !label) return;
    ProfilManager& profiles = ProfilManager::instance();
    std::wstring const typed = typedName(*label);
    if (profiles.findProfile(typed)) return warn(L"PROFILE_EXISTS");
    // The dialog's preset, untouched or typed again, is no name; nor are blanks alone.
    std::wstring const preset = language_ ? language_->getText(kPresetTextId) : std::wstring();
    std::wstring const name = !typed.empty() && typed != preset ? typed : makeDefaultName();
    // The dialog's profile takes the name and a campaign.
    Profil* profile = pending_;
    pending_ = nullptr;
    profile->setName(name);
    profile->buildCampaignTable();
    for (wchar_t const* maker : kMakerNames)
        if (name == maker)
            for (ChapterRecord& chapter : profile->getCampaign()) {
                chapter.result = std::max(chapter.result, 1);
                for (LevelRecord& level : chapter.levels) level.result = std::max(level.result, 1);
            }
    // The switch is read before the manager takes the profile: the activation sets the switches to the profile's flag.
    Orvex::GUICheckboxButton* box = tutorialSwitch_ ? tutorialSwitch_->getButton() : nullptr;
    bool const showTutorials = box ? box->isChecked() : profile->getShowTutorials();
    // The manager takes over the dialog's reference.
    profiles.addProfile(profile);
    if (profiles.getActiveProfile() != profile) profiles.setActiveProfile(profile);
    if (tutorials_) tutorials_->setProfile(nullptr);
    // The tutorial switch as chosen in the dialog.
    if (box) {
        profile->setShowTutorials(showTutorials);
        if (setTutorialSwitches_) setTutorialSwitches_(showTutorials);
    }
    // Saved; the first profile leads to the main menu.
    profiles.saveProfiles();
    // The first profile's block ends before the main menu comes, so its tutorials come with it.
    bool const first = first_;
    first_ = false;
    firstBlock_ = false;
    if (menus_) menus_->activateMenu(first ? kMainMenu : kProfileMenu, -1.0);
}

void NewProfileDialog::cancel() {
    // The first profile cannot be left unmade: the warning says so, and its OK leads back here.
    if (first_) return warn(L"CREATE_A_PROFILE_FIRST");
    releasePending();
    if (tutorials_) tutorials_->setProfile(nullptr);
    if (menus_) menus_->activateMenu(kProfileMenu, -1.0);
}

void NewProfileDialog::update() {
    Orvex::GUIMenuN* menu = menus_ ? menus_->findMenu(kNewProfileMenu) : nullptr;
    if (!menu || !menu->isActive()) return;
    Orvex::GUILabel* label = findLabel(kNameLabel);
    if (!label) return;
    wchar_t const* const style = ProfilManager::instance().findProfile(typedName(*label)) ? L"NP_FontStyle_ERR" : L"NP_FontStyle_OK";
    label->setFontStyle(style, 0);
    label->setFontStyle(style, 1);
}

}  // namespace Solitaire
