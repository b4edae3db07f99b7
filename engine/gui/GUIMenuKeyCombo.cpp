// A link's key combination: key names looked up in the active keyboard layout, and windows
// whose shown label gives a key that follows the label's text.
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuLinkN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/TastaturLayout.h"

namespace Orvex {

namespace {

TastaturLayout const* activeKeyLayout() { return TastaturLayoutManager::getInstance().getActiveLayout(); }

}  // namespace

GUILabel* findShownLabel(std::wstring const& windowName) {
    GUIWindow* window = GUISystem::instance().findWindow(windowName);
    if (auto* label = dynamic_cast<GUILabel*>(window)) return label;
    if (auto* button = dynamic_cast<GUIButton*>(window)) return button->getLabel();
    return nullptr;
}

void GUIMenuKeyCombo::read(XMLNode& node) {
    TastaturLayout const* layout = activeKeyLayout();
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
    TastaturLayout const* layout = activeKeyLayout();
    for (std::wstring const& name : windowNames_) {
        GUILabel* label = findShownLabel(name);
        std::wstring const text = label ? label->getText() : std::wstring();
        u8 code = 0;
        if (!text.empty() && layout && layout->findKeyByChar(text, code)) keys.push_back(code);
    }
    return keys;
}

}  // namespace Orvex
