// The mini-game manager's single instance; no definition is read yet, so no game is active.
#include "game/minigames/MinispielManager.h"

#include "game/minigames/Minispiel.h"

namespace Solitaire {

MinispielManager& MinispielManager::instance() {
    static MinispielManager manager;
    return manager;
}

void MinispielManager::loadDefinitions(Orvex::XMLNode&) {}

void MinispielManager::initGUI() {}

void MinispielManager::shuffleOrder() {}

Minispiel* MinispielManager::findMinispiel(std::wstring const&) const { return nullptr; }

void MinispielManager::setActiveMinispiel(Minispiel* game) { active_ = game; }

void MinispielManager::update(double const& dt) {
    if (active_) active_->update(dt);
}

void MinispielManager::drawActive() {
    if (active_) active_->draw();
}

}  // namespace Solitaire
