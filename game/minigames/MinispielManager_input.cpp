// The pointer of the mini-games: the manager hears the input object's press, release, move and
// double click once and passes each to the active game, so a game that is not active never sees
// the pointer. The game is held for the call: a press that ends it may let the game object
// deactivate it on the way.
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/DirectInputInterface.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

namespace {

template <class What>
void passOn(Minispiel* game, void (Minispiel::*handler)(Orvex::MouseState&, What const&), Orvex::MouseState& state,
            What const& what) {
    if (!game) return;
    Orvex::HeldRef<Minispiel> hold(game);
    (game->*handler)(state, what);
}

}  // namespace

void MinispielManager::connectInput() {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    input.mouseButtonDownSignal.disconnect(this);
    input.mouseButtonUpSignal.disconnect(this);
    input.mouseAxisSignal.disconnect(this);
    input.mouseDoubleClickSignal.disconnect(this);
    input.mouseButtonDownSignal.connect(this, &MinispielManager::onMouseDown);
    input.mouseButtonUpSignal.connect(this, &MinispielManager::onMouseUp);
    input.mouseAxisSignal.connect(this, &MinispielManager::onMouseMove);
    input.mouseDoubleClickSignal.connect(this, &MinispielManager::onMouseDoubleClick);
}

void MinispielManager::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    passOn(active_.get(), &Minispiel::onMouseDown, state, button);
}

void MinispielManager::onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    passOn(active_.get(), &Minispiel::onMouseUp, state, button);
}

void MinispielManager::onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis) {
    passOn(active_.get(), &Minispiel::onMouseMove, state, axis);
}

void MinispielManager::onMouseDoubleClick(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    passOn(active_.get(), &Minispiel::onMouseDoubleClick, state, button);
}

}  // namespace Solitaire
