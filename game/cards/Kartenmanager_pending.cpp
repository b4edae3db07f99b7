// TEMPORARY: the hint list and the automatic moves come with the hint work; until it is merged
// the list is the piles' moves unsorted and no automatic move is made.
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"

namespace Solitaire {

bool Kartenmanager::autoFinish(Kartenstapel*) { return false; }
bool Kartenmanager::moveRunToGoalPile(Karte*, Kartenstapel*, Karte::LinkedCards const&, int, bool) { return false; }
bool Kartenmanager::moveRunToAnyPile(Karte*, Kartenstapel*, Karte::LinkedCards const&, int, bool) { return false; }
int Kartenmanager::rebuildHints() {
    hints.clear();
    HintWeights const weights;
    for (Kartenstapel* pile : piles) pile->collectMoves(piles, hints, weights);
    return static_cast<int>(hints.size());
}

}  // namespace Solitaire
