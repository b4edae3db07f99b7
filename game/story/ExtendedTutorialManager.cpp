// The extended-tutorial registry's single instance; no lesson is read yet.
#include "game/story/ExtendedTutorialManager.h"

namespace Solitaire {

ExtendedTutorialManager& ExtendedTutorialManager::instance() {
    static ExtendedTutorialManager manager;
    return manager;
}

void ExtendedTutorialManager::load(Orvex::XMLNode&) {}

void ExtendedTutorialManager::update(float const&) {}

void ExtendedTutorialManager::onCardEvent(std::wstring const&, bool) {}

}  // namespace Solitaire
