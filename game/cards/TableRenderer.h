// One pass of the table renderer: the card manager's objects of the context's layers (piles,
// cards, the current background) queued, sorted stably by ascending order and drawn in that
// order, so later items cover earlier ones; the queue is cleared after the pass.
#pragma once

#include "game/cards/RenderObjekt.h"

namespace Solitaire {

class Kartenmanager;

void drawTable(Kartenmanager& manager, RenderContext const& context, RenderQueue& queue);

}  // namespace Solitaire
