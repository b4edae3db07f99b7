// "COMBINATION": sub-links built from the entry's own "GUIMENULINK" children. Nesting is cut
// at a fixed depth so that a deeply nested file cannot exhaust the stack.
#include "engine/gui/GUIMenuCombinationN.h"

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

GUIMenuCombinationN::~GUIMenuCombinationN() { releaseAll(subLinks_); }

void GUIMenuCombinationN::readXML(XMLNode& node) {
    GUIMenuLinkN::readXML(node);
    bool tooDeep = false;
    forEachChild(node, L"GUIMENULINK", [&](XMLNode& entry) {
        if (getNesting() + 1 > kMaxNesting) {
            tooDeep = true;
            return false;
        }
        GUIMenuLinkN* link = GUIMenuLinkN::create(entry, getNesting() + 1);
        link->readXML(entry);
        subLinks_.push_back(link);
        return true;
    });
    if (tooDeep)
        logWarning(L"Menu link \"" + getName() + L"\"" + atLine(node) + L": combinations nested deeper than " +
                   std::to_wstring(kMaxNesting) + L"; the inner links are left out");
}

void GUIMenuCombinationN::update(double const& dt) {
    GUIMenuLinkN::update(dt);
    for (GUIMenuLinkN* link : subLinks_) link->update(dt);
}

void GUIMenuCombinationN::collectWindowNames(std::vector<std::wstring>& out) const {
    GUIMenuLinkN::collectWindowNames(out);
    for (GUIMenuLinkN* link : subLinks_) link->collectWindowNames(out);
}

bool GUIMenuCombinationN::execute() {
    for (GUIMenuLinkN* link : subLinks_) link->trigger();
    activateMenusAndCallEvents();
    return breaksAfterAction();
}

}  // namespace Orvex
