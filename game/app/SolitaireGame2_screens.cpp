// The slots of the results and campaign screens and the profile screens' handling of a new
// active profile and of warnings. They are connected at their place by the constructor and the
// GUI wiring already; the screens themselves (chapter and level buttons, the warning dialog)
// come with that work, and until then the slots do nothing.
#include "game/app/SolitaireGame2.h"

namespace Solitaire {


void SolitaireGame2::onActiveProfileChanged(Profil*, Profil*) {}
// The warning dialog comes with the menus; until then a warning shows nothing.
void SolitaireGame2::showWarning(std::wstring const&) {}
void SolitaireGame2::wireLevelScreen() {}
void SolitaireGame2::wireChapterScreen() {}

}  // namespace Solitaire
