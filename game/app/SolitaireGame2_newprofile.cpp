// The new-profile dialog ("NEUESPROFIL"), the warning dialog ("WARNINGMENU") and what the game
// does when the active profile changes. The dialog works on a pending profile, which the
// tutorial switches and the tutorials judge by until the player confirms it (it then belongs to
// the profile manager) or cancels it.
//
// A typed name is data: it is shown and stored as it stands, never used as a format or a path.
#include <algorithm>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/Text.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

namespace {

constexpr wchar_t kPresetTextId[] = L"NEUES_PROFIL";
constexpr wchar_t kNameLabel[] = L"NP_ProfilName_LABEL";
// The makers' profiles start with every chapter and level of the campaign open.
constexpr wchar_t const* kMakerNames[] = {L"VORTMAK", L"ZELUP"};

}  // namespace

void SolitaireGame2::showWarning(std::wstring const& text) {
    if (Orvex::GUILabel* label = labelOf(findWindow(L"W_WarningLabel"))) label->setText(text);
    menus_->activateMenu(L"WARNINGMENU", -1.0);
}

void SolitaireGame2::warn(wchar_t const* textId) { showWarning(engine_->getLanguage()->getText(textId)); }

void SolitaireGame2::openNewProfileDialog() {
    releasePendingProfile();
    // The field shows the name Return makes; the first key typed replaces it.
    if (Orvex::GUILabel* label = labelOf(findWindow(kNameLabel))) label->setText(makeDefaultProfileName());
    pendingProfile_ = new Profil(L"");
    pendingProfile_->setShowTutorials(true);
    solTutorials_->setProfile(pendingProfile_);
    setTutorialCheckboxes(true);
    menus_->activateMenu(L"NEUESPROFIL", -1.0);
}

void SolitaireGame2::releasePendingProfile() {
    if (!pendingProfile_) return;
    pendingProfile_->release();
    pendingProfile_ = nullptr;
}

std::wstring SolitaireGame2::makeDefaultProfileName() {
    ProfilManager const& profiles = ProfilManager::instance();
    Orvex::Text const* text = engine_->getLanguage()->findText(L"PLAYERNAME");
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

void SolitaireGame2::createProfile() {
    Orvex::GUILabel* label = labelOf(findWindow(kNameLabel));
    if (!pendingProfile_ || !label) return;
    ProfilManager& profiles = ProfilManager::instance();
    std::wstring const typed = label->getText();
    if (profiles.findProfile(typed)) return warn(L"PROFILE_EXISTS");
    // The dialog's preset, untouched or typed again, is no name.
    std::wstring const preset = engine_->getLanguage()->getText(kPresetTextId);
    std::wstring const name = !typed.empty() && typed != preset ? typed : makeDefaultProfileName();
    // The dialog's profile takes the name and a campaign.
    Profil* profile = pendingProfile_;
    pendingProfile_ = nullptr;
    profile->setName(name);
    profile->buildCampaignTable();
    for (wchar_t const* maker : kMakerNames)
        if (name == maker)
            for (ChapterRecord& chapter : profile->getCampaign()) {
                chapter.result = std::max(chapter.result, 1);
                for (LevelRecord& level : chapter.levels) level.result = std::max(level.result, 1);
            }
    // The switch is read before the manager takes the profile: the activation sets the switches to the profile's flag.
    Orvex::GUICheckboxButton* box = tutorialCheckboxes_[2] ? tutorialCheckboxes_[2]->getButton() : nullptr;
    bool const showTutorials = box ? box->isChecked() : profile->getShowTutorials();
    // The manager takes over the dialog's reference.
    profiles.addProfile(profile);
    if (profiles.getActiveProfile() != profile) profiles.setActiveProfile(profile);
    solTutorials_->setProfile(nullptr);
    // The tutorial switch as chosen in the dialog.
    if (box) {
        profile->setShowTutorials(showTutorials);
        setTutorialCheckboxes(showTutorials);
    }
    // Saved; the first profile leads to the main menu.
    profiles.saveProfiles();
    // The first profile's block ends before the main menu comes, so its tutorials come with it.
    bool const first = firstProfile_;
    firstProfile_ = false;
    firstProfileBlock_ = false;
    menus_->activateMenu(first ? L"HAUPTMENU" : L"PROFILMENU", -1.0);
}

void SolitaireGame2::cancelNewProfile() {
    if (firstProfile_) return;
    releasePendingProfile();
    solTutorials_->setProfile(nullptr);
    menus_->activateMenu(L"PROFILMENU", -1.0);
}

void SolitaireGame2::onActiveProfileChanged(Profil* old, Profil* active) {
    // The delete button off until a profile is active.
    Orvex::GUIWindow* deleteButton = findWindow(L"P_DELButton");
    if (deleteButton) deleteButton->getOptions().enabled = false;
    // The god bars' charge stays with the profile that leaves.
    if (old) {
        powersAndShop_.keepCharges(*old);
        old->collectLiveData();
    }
    // The new profile active, its buttons and screens.
    if (!active) return;
    active->activate();
    if (deleteButton) deleteButton->getOptions().enabled = true;
    profileList_.refresh();
    setTutorialCheckboxes(active->getShowTutorials());
}

}  // namespace Solitaire
