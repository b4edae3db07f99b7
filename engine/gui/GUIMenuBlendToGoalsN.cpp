// "BLENDGOAL": each entry blends its window to a goal; a toggling entry continues after the goal
// the window is at.
#include "engine/gui/GUIMenuBlendToGoalsN.h"

#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"

namespace Orvex {

void GUIMenuBlendGoal::read(XMLNode& node) {
    window_ = node.getAttributeString(L"GUIWINDOW", L"");
    if (XMLAttribute const* goal = node.getAttribute(L"BLENDGOAL")) goals_.push_back(goal->getString());
    for (XMLProperty* value : node.values()) goals_.push_back(value->getString());
    speed_ = node.getAttributeDouble(L"SPEED", speed_);
    toggle_ = node.getAttributeBool(L"TOGGLE", toggle_);
}

void GUIMenuBlendGoal::run() {
    GUIWindow* window = GUISystem::instance().findWindow(window_);
    if (!window || goals_.empty()) return;
    if (toggle_) {
        std::wstring const& at = window->getCurrentState().name;
        for (std::size_t i = 0; i < goals_.size(); ++i)
            if (goals_[i] == at) {
                next_ = (i + 1) % goals_.size();
                break;
            }
    }
    std::size_t const index = toggle_ ? next_ % goals_.size() : 0;
    window->animateToGoal(goals_[index], speed_, false);
    if (toggle_) next_ = (index + 1) % goals_.size();
}

void GUIMenuBlendToGoalsN::readXML(XMLNode& node) {
    GUIMenuLinkN::readXML(node);
    forEachChild(node, L"BLENDGOAL", [&](XMLNode& entry) {
        entries_.emplace_back();
        entries_.back().read(entry);
        return true;
    });
}

void GUIMenuBlendToGoalsN::collectWindowNames(std::vector<std::wstring>& out) const {
    GUIMenuLinkN::collectWindowNames(out);
    for (GUIMenuBlendGoal const& entry : entries_) out.push_back(entry.getWindowName());
}

bool GUIMenuBlendToGoalsN::execute() {
    for (GUIMenuBlendGoal& entry : entries_) entry.run();
    return breaksAfterAction();
}

}  // namespace Orvex
