// What the game does when the active profile changes: the profile that leaves keeps its god bars'
// charge and its live data, the new one is activated, the profile screen and the tutorial
// switches follow it.
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
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

}  // namespace Solitaire
