// The game tutorial manager's single instance and the profile in use; user tutorials are not
// read yet.
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

SolTutorialManager& SolTutorialManager::instance() {
    static SolTutorialManager manager;
    return manager;
}

void SolTutorialManager::loadUserTutorials(Orvex::XMLNode&) {}

bool SolTutorialManager::showTutorial(std::wstring const&, bool const&, bool const&, D3DXVECTOR2 const&) {
    return false;
}

Profil* SolTutorialManager::getProfile() {
    if (override_) return override_;
    Profil* active = nullptr;
    activeProfileWanted.emit(active);
    return active;
}

}  // namespace Solitaire
