// TEMPORARY: the hint list and the automatic moves come with the hint work; until it is merged
// the table offers no hint and no automatic move.
#include "game/cards/Kartenmanager.h"

namespace Solitaire {

bool Kartenmanager::autoFinish(Kartenstapel*) { return false; }
bool Kartenmanager::moveRunToGoalPile(Karte*, Kartenstapel*, Karte::LinkedCards const&, int, bool) { return false; }
bool Kartenmanager::moveRunToAnyPile(Karte*, Kartenstapel*, Karte::LinkedCards const&, int, bool) { return false; }
void Kartenmanager::rebuildHints() { hints.clear(); }

}  // namespace Solitaire
