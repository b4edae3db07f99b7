// What the game does when the active profile changes: the profile that leaves keeps its god bars'
// charge and its live data, the new one is activated, the profile screen and the tutorial
// switches follow it. When a save of the profiles keeps nothing, the new-profile dialog's warning
// says so on the next menu screen (not over the table or a dialog), once, and why: the file cannot
// be written, or it would be larger than the game reads.
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireGame2.h"

namespace Solitaire {

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
    tutorialScreens_.setCheckboxes(active->getShowTutorials());
}

void SolitaireGame2::onProfilesNotSaved() { newProfileDialog_.noteNotSaved(ProfilManager::instance().saveWasTooLarge()); }

}  // namespace Solitaire
