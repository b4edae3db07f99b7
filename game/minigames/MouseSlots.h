// How the games that follow the pointer themselves (cleaning, blowing, ring) hear the mouse: the
// input object's button and axis signals connected to the game's handlers, each once however often
// the game is initialised (its earlier connections are dropped first).
#pragma once

#include "engine/platform/DirectInputInterface.h"

namespace Solitaire::minigame {

template <class Game>
void connectMouse(Game& game, void (Game::*down)(Orvex::MouseState&, Orvex::OrvexMouseButton const&),
                  void (Game::*up)(Orvex::MouseState&, Orvex::OrvexMouseButton const&),
                  void (Game::*move)(Orvex::MouseState&, Orvex::OrvexAchse const&)) {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    input.mouseButtonDownSignal.disconnect(&game);
    input.mouseButtonUpSignal.disconnect(&game);
    input.mouseAxisSignal.disconnect(&game);
    input.mouseButtonDownSignal.connect(&game, down);
    input.mouseButtonUpSignal.connect(&game, up);
    input.mouseAxisSignal.connect(&game, move);
}

}  // namespace Solitaire::minigame
