// The game tutorial manager's single instance; user tutorials are not read yet.
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

SolTutorialManager& SolTutorialManager::instance() {
    static SolTutorialManager manager;
    return manager;
}

void SolTutorialManager::loadUserTutorials(Orvex::XMLNode&) {}

}  // namespace Solitaire
