// One pass of the table renderer (see TableRenderer.h).
#include "game/cards/TableRenderer.h"

#include "game/cards/Kartenmanager.h"

namespace Solitaire {

void drawTable(Kartenmanager& manager, RenderContext const& context, RenderQueue& queue) {
    queue.clear();
    manager.queueRender(context, queue);
    queue.sortItems();
    for (RenderItem const& item : queue.items()) item.object->render(context);
    queue.clear();
}

}  // namespace Solitaire
