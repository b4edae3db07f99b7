// The story manager's single instance; the story file is not read yet, so no scene is due.
#include "game/story/StoryManager.h"

namespace Solitaire {

StoryManager& StoryManager::instance() {
    static StoryManager manager;
    return manager;
}

void StoryManager::load(Orvex::XMLNode&) {}

StoryPart* StoryManager::startNextScene(StoryProfile*) { return nullptr; }

}  // namespace Solitaire
