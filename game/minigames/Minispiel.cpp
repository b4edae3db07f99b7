// The mini-game base: nothing to update or draw yet.
#include "game/minigames/Minispiel.h"

namespace Solitaire {

void Minispiel::update(double const&) {}

void Minispiel::draw() {}

}  // namespace Solitaire
