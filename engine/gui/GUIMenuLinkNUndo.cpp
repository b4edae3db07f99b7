// "UNDO": a move in the menu history that steps over the skip menus. The skipping ends where it
// cannot advance: with "UNDOS" 0 there is no direction, and at an end of the history that is a
// skip menu itself the clamped step stays put; the menu reached then stays active.
#include "engine/gui/GUIMenuLinkNUndo.h"

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"

namespace Orvex {

void GUIMenuLinkNUndo::readXML(XMLNode& node) {
    GUIMenuLinkN::readXML(node);
    undos_ = node.getAttributeInt(L"UNDOS", undos_);
    appendChildValues(node, L"SKIP_MENUES", skipMenus_);
}

bool GUIMenuLinkNUndo::isSkipped(GUIMenuN const* menu) const {
    if (!menu) return false;
    for (std::wstring const& name : skipMenus_)
        if (name == menu->getName()) return true;
    return false;
}

bool GUIMenuLinkNUndo::execute() {
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    GUIMenuN* menu = manager.moveInHistory(undos_, -1.0);
    int const step = undos_ > 0 ? 1 : -1;
    // Each step moves one entry, so the history's length bounds the walk even if a slot of
    // menuChanged rearranges things.
    std::size_t guard = manager.getHistory().size();
    while (undos_ != 0 && isSkipped(menu) && guard-- > 0) {
        int const before = manager.getHistoryIndex();
        int const last = static_cast<int>(manager.getHistory().size()) - 1;
        if (before + step < 0 || before + step > last) break;
        menu = manager.moveInHistory(step, -1.0);
    }
    callEvents();
    return breaksAfterAction();
}

}  // namespace Orvex
