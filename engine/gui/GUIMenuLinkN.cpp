// The menu link's base: reading its entry, accepting keys and clicks, its conditions, the wait
// queue, the plain action (switch menus, call events), and the factory by "TYPE".
#include "engine/gui/GUIMenuLinkN.h"

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIMenuBlendToGoalsN.h"
#include "engine/gui/GUIMenuCombinationN.h"
#include "engine/gui/GUIMenuCreateClickN.h"
#include "engine/gui/GUIMenuEditLabelN.h"
#include "engine/gui/GUIMenuEventN.h"
#include "engine/gui/GUIMenuLinkNUndo.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIMenuPlaySoundN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"

namespace Orvex {

GUIMenuLinkN::GUIMenuLinkN(XMLNode& node) : NamedObject(node) {}

GUIMenuLinkN::~GUIMenuLinkN() = default;

GUIMenuLinkN* GUIMenuLinkN::create(XMLNode& node, int depth) {
    std::wstring const type = node.getAttributeString(L"TYPE", L"");
    GUIMenuLinkN* link = nullptr;
    if (type == L"CREATE_CLICK") {
        link = new GUIMenuCreateClickN(node);
    } else if (type == L"UNDO") {
        link = new GUIMenuLinkNUndo(node);
    } else if (type == L"BLENDGOAL") {
        link = new GUIMenuBlendToGoalsN(node);
    } else if (type == L"COMBINATION") {
        link = new GUIMenuCombinationN(node);
    } else if (type == L"SOUND") {
        link = new GUIMenuPlaySoundN(node);
    } else if (type == L"EDIT_LABEL") {
        link = new GUIMenuEditLabelN(node);
    } else {
        if (!type.empty())
            logWarning(L"Menu link \"" + node.getAttributeString(L"NAME", L"") + L"\"" + atLine(node) +
                       L": unknown TYPE \"" + type +
                       L"\", read as a plain link");
        link = new GUIMenuLinkN(node);
    }
    link->setNesting(depth);
    return link;
}

void GUIMenuLinkN::readXML(XMLNode& node) {
    canTriggerMenus_.read(node, L"CAN_TRIGGER_IF_ACTIVE");
    cantTriggerMenus_.read(node, L"CANT_TRIGGER_IF_ACTIVE");
    if (XMLNode* keys = node.getChild(L"TRIGGER_KEYS")) {
        forEachChild(*keys, L"TRIGGER_KEYCOMBO", [&](XMLNode& entry) {
            keyCombos_.emplace_back();
            keyCombos_.back().read(entry);
            return true;
        });
    }
    appendChildValues(node, L"TRIGGER_WINDOW_LCLICK", leftClickWindows_);
    appendChildValues(node, L"TRIGGER_WINDOW_RCLICK", rightClickWindows_);
    appendChildValues(node, L"ACTIVATE_MENUS", activateMenus_);
    appendChildValues(node, L"MOUSE_OVER", mouseOverWindows_);
    breakAfterAction_ = node.getAttributeBool(L"BREAK_AFTER_AKTION", breakAfterAction_);
    appendChildValues(node, L"CALL_EVENTS", callEvents_);
    continuousKeyTrigger_ = node.getAttributeBool(L"CONTINUOUS_KEY_TRIGGER", continuousKeyTrigger_);
    priority_ = node.getAttributeInt(L"PRIORITY", priority_);
    maxParallel_ = node.getAttributeInt(L"MAX_PARALLEL", maxParallel_);
    waitTime_ = node.getAttributeFloat(L"WAITTIMER", waitTime_);
}

bool GUIMenuLinkN::onKey(KeyState& state, u8 const&) {
    for (GUIMenuKeyCombo const& combo : keyCombos_) {
        std::vector<u8> const keys = combo.resolveKeys();
        if (!state.areKeysDown(keys, true)) continue;
        if (continuousKeyTrigger_ || state.countKeysPressed(keys) > 0) return canTrigger();
    }
    return false;
}

namespace {

bool listed(std::vector<std::wstring> const& names, std::wstring const& name) {
    for (std::wstring const& n : names)
        if (n == name) return true;
    return false;
}

}  // namespace

bool GUIMenuLinkN::onWindowLeftClick(GUIWindow& window) {
    return listed(leftClickWindows_, window.getUserId()) && canTrigger();
}

bool GUIMenuLinkN::onWindowRightClick(GUIWindow& window) {
    return listed(rightClickWindows_, window.getUserId()) && canTrigger();
}

bool GUIMenuLinkN::canTrigger() {
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    for (std::wstring const& name : canTriggerMenus_.names)
        if (GUIMenuN* menu = manager.findMenu(name); menu && !menu->isActive()) return false;
    for (std::wstring const& name : cantTriggerMenus_.names)
        if (GUIMenuN* menu = manager.findMenu(name); menu && menu->isActive()) return false;
    std::vector<GUIMenuN*> menus;
    manager.collectMenusByMask(canTriggerMenus_.mask, menus);
    for (GUIMenuN* menu : menus)
        if (!menu->isActive()) return false;
    menus.clear();
    manager.collectMenusByMask(cantTriggerMenus_.mask, menus);
    for (GUIMenuN* menu : menus)
        if (menu->isActive()) return false;
    if (!mouseOverWindows_.empty()) {
        GUISystem& gui = GUISystem::instance();
        bool hovered = false;
        for (std::wstring const& name : mouseOverWindows_) {
            GUIWindow* window = gui.findWindow(name);
            if (window && window->getBlendState().activation.flag) hovered = true;
        }
        if (!hovered) return false;
    }
    return true;
}

bool GUIMenuLinkN::trigger() {
    if (waitTime_ > 0.0f) {
        if (static_cast<u32>(pendingWaits_.size()) < static_cast<u32>(maxParallel_)) pendingWaits_.push_back(waitTime_);
        return breakAfterAction_;
    }
    run();
    return breakAfterAction_;
}

void GUIMenuLinkN::update(double const& dt) {
    if (pendingWaits_.empty()) return;
    // Count down and take out the due waits first, then run: a run may trigger this link again
    // and queue a new wait, which must neither shift this walk nor count down in this step.
    std::size_t due = 0;
    std::vector<float> left;
    left.reserve(pendingWaits_.size());
    for (float wait : pendingWaits_) {
        float const rest = wait - static_cast<float>(dt);
        if (rest <= 0.0f) {
            ++due;
        } else {
            left.push_back(rest);
        }
    }
    pendingWaits_.swap(left);
    addRef();
    for (std::size_t i = 0; i < due; ++i) run();
    release();
}

bool GUIMenuLinkN::run() {
    if (running_) {
        if (!loopLogged_)
            logWarning(L"Menu link \"" + getName() + L"\" leads back to itself while it runs; the repeat is skipped");
        loopLogged_ = true;
        return false;
    }
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    if (!manager.enterCascade(L"link \"" + getName() + L"\"")) return false;
    running_ = true;
    addRef();
    bool const result = execute();
    running_ = false;
    manager.leaveCascade();
    release();
    return result;
}

bool GUIMenuLinkN::execute() {
    activateMenusAndCallEvents();
    return breakAfterAction_;
}

void GUIMenuLinkN::activateMenusAndCallEvents() {
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    for (std::size_t i = activateMenus_.size(); i-- > 0;)
        if (GUIMenuN* menu = manager.findMenu(activateMenus_[i])) manager.setActiveMenu(menu, -1.0);
    callEvents();
}

void GUIMenuLinkN::callEvents() {
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    for (std::wstring const& name : callEvents_)
        if (GUIMenuEventN* event = manager.findEvent(name)) event->fired.emit(*this);
}

void GUIMenuLinkN::collectWindowNames(std::vector<std::wstring>& out) const {
    out.insert(out.end(), mouseOverWindows_.begin(), mouseOverWindows_.end());
    for (GUIMenuKeyCombo const& combo : keyCombos_)
        out.insert(out.end(), combo.getWindowNames().begin(), combo.getWindowNames().end());
}

}  // namespace Orvex
