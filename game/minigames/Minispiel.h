// The common base of the mini-games. The mini-game manager makes one game at a time active,
// updates it every frame and lets it draw its own passes before the scene; a game reports its
// end through the manager's signals (gameEnded with its score ratio, gameClosed from its cancel
// button).
//
// For now the base only answers as a game that does nothing; the games, their keys and their
// windows come with the mini-game framework.
#pragma once

#include "engine/core/NamedObject.h"

namespace Solitaire {

class Minispiel : public Orvex::NamedObject {
public:
    Minispiel() = default;

    // One frame of dt seconds.
    virtual void update(double const& dt);
    // The game's own drawing, before the scene is begun.
    virtual void draw();
};

}  // namespace Solitaire
