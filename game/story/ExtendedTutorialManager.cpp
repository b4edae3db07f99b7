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

bool ExtendedTutorialManager::startTutorial(std::wstring const&) { return false; }

bool ExtendedTutorialManager::isClickAllowed(std::wstring const&) const { return true; }

void ExtendedTutorialManager::onGuiClick(std::wstring const&) {}

}  // namespace Solitaire
