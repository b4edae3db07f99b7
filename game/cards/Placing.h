// Placing cards in an arrangement tree: where the next card goes, and appending it. The tree is
// walked with a visited set, so a "NEXT" cycle ends.
#pragma once

namespace Solitaire {

class Anordnung;
class Karte;

// The arrangement in arrangement's tree that takes the next card, slot counted from its first
// card; null and slot -1 when none (also while a predecessor that must fill first has room).
Anordnung* findFreeSlot(Anordnung& arrangement, int& slot);
// Appends card with its jitter entries; the card takes the arrangement's pile and its name.
void insertCard(Anordnung& arrangement, Karte* card);

}  // namespace Solitaire
