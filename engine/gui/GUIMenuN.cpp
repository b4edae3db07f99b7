// A menu: reading its "GUIMENU" entry, activating and deactivating it with its rules, and its
// links.
#include "engine/gui/GUIMenuN.h"

#include <algorithm>

#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIMenuLinkN.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"

namespace Orvex {

namespace {

// The menus of the mask, then those named (names without a menu skipped).
std::vector<GUIMenuN*> menusOf(GUIMenuNameSet const& set) {
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    std::vector<GUIMenuN*> out;
    manager.collectMenusByMask(set.mask, out);
    for (std::wstring const& name : set.names)
        if (GUIMenuN* menu = manager.findMenu(name)) out.push_back(menu);
    return out;
}

bool contains(std::vector<GUIMenuN*> const& list, GUIMenuN const* menu) {
    return std::find(list.begin(), list.end(), menu) != list.end();
}

}  // namespace

GUIMenuN::GUIMenuN(XMLNode& node) : NamedObject(node) {}

GUIMenuN::~GUIMenuN() {
    releaseAll(linkedWindows_);
    releaseAll(ownLinks_);
}

void GUIMenuN::readXML(XMLNode& node) {
    menuId_ = node.getAttributeInt(L"MENU_ID", menuId_);
    speed_ = node.getAttributeDouble(L"SPEED", speed_);
    active_ = node.getAttributeBool(L"ACTIVE", active_);
    if (XMLAttribute const* goal = node.getAttribute(L"ACTIVATE_GOAL"))
        activateGoal_ = defaultActivateGoal_ = goal->getString();
    if (XMLAttribute const* goal = node.getAttribute(L"DEACTIVATE_GOAL"))
        deactivateGoal_ = defaultDeactivateGoal_ = goal->getString();
    useOnlyThisLinks_ = node.getAttributeBool(L"USE_ONLY_THIS_LINKS", useOnlyThisLinks_);
    onActivateLink_ = node.getAttributeString(L"ON_ACTIVATE_LINK", onActivateLink_);

    if (XMLNode* linked = node.getChild(L"LINKED_GUI_WINDOWS")) {
        std::vector<std::wstring> post;
        appendChildValues(*linked, L"POST_ACTIVATE_GUI_WINDOWS", post);
        GUISystem& gui = GUISystem::instance();
        for (XMLProperty* value : linked->values()) {
            std::wstring const& name = value->getString();
            GUIWindow* window = gui.findWindow(name);
            if (!window) {
                missingWindows_.push_back(name);
                continue;
            }
            window->addRef();
            linkedWindows_.push_back(window);
            ignoreOnActivate_.push_back(false);
            ignoreOnDeactivate_.push_back(false);
            for (std::wstring const& p : post)
                if (p == name) postActivateWindows_.push_back(window);
        }
        // Positions count the windows found; values past them are ignored.
        auto readBits = [&](wchar_t const* key, std::vector<bool>& bits) {
            XMLNode* child = linked->getChild(key);
            if (!child) return;
            std::size_t i = 0;
            for (XMLProperty* value : child->values()) {
                if (i >= bits.size()) break;
                bits[i++] = value->getBool();
            }
        };
        readBits(L"IGNORE_ON_ACTIVATE", ignoreOnActivate_);
        readBits(L"IGNORE_ON_DEACTIVATE", ignoreOnDeactivate_);
    }
    invertState_.read(node, L"INVERT_STATE");
    sameState_.read(node, L"SAME_STATE");
    ignoreState_.read(node, L"IGNORE_STATE");
    appendChildValues(node, L"GUIMENULINKS", linkNames_);
    forEachChild(node, L"GUIMENULINK", [&](XMLNode& entry) {
        if (GUIMenuLinkN* link = GUIMenuLinkN::create(entry)) {
            link->readXML(entry);
            ownLinks_.push_back(link);
        }
        return true;
    });
    auto readOverrides = [&](wchar_t const* key, std::vector<GoalOverride>& out) {
        forEachChild(node, key, [&](XMLNode& entry) {
            out.emplace_back(entry.getAttributeString(L"MENU", L""), entry.getAttributeString(L"GOAL", L""));
            return true;
        });
    };
    readOverrides(L"USE_ACTIVATE_GOAL", activateGoalOverrides_);
    readOverrides(L"USE_DEACTIVATE_GOAL", deactivateGoalOverrides_);
}

bool GUIMenuN::ignoredAt(std::vector<bool> const& bits, std::size_t i) {
    // The post-activate list may be longer than the flag list: a missing bit counts as clear.
    return i < bits.size() && bits[i];
}

void GUIMenuN::blend(GUIWindow* window, std::wstring const& goal, std::wstring const& defaultGoal,
                     std::wstring const& fallback, double speed) {
    std::wstring const& name = window->hasGoal(goal) ? goal : window->hasGoal(defaultGoal) ? defaultGoal : fallback;
    window->animateToGoal(name, speed, false);
}

void GUIMenuN::applyGoalOverrides() {
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    for (GoalOverride const& o : activateGoalOverrides_)
        if (GUIMenuN* menu = manager.findMenu(o.first)) menu->setActivateGoal(o.second);
    for (GoalOverride const& o : deactivateGoalOverrides_)
        if (GUIMenuN* menu = manager.findMenu(o.first)) menu->setDeactivateGoal(o.second);
}

void GUIMenuN::activate(double const& speed) {
    if (busy_) return;
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    if (!manager.enterCascade(L"menu \"" + getName() + L"\"")) return;
    busy_ = true;
    active_ = true;
    addRef();
    applyGoalOverrides();
    double const s = speed;
    for (std::size_t i = 0; i < linkedWindows_.size(); ++i)
        if (!ignoredAt(ignoreOnActivate_, i)) blend(linkedWindows_[i], activateGoal_, defaultActivateGoal_, L"AN", s);

    std::vector<GUIMenuN*> const ignored = menusOf(ignoreState_);
    for (GUIMenuN* menu : menusOf(invertState_))
        if (menu != this && !contains(ignored, menu)) menu->deactivate(s);
    for (GUIMenuN* menu : menusOf(sameState_))
        if (menu != this && !contains(ignored, menu)) menu->activate(s);
    for (std::size_t j = 0; j < postActivateWindows_.size(); ++j)
        if (!ignoredAt(ignoreOnActivate_, j))
            blend(postActivateWindows_[j], activateGoal_, defaultActivateGoal_, L"AN", s);

    std::vector<GUIMenuLinkN*> links;
    collectLinks(links);
    for (GUIMenuLinkN* link : links) link->onMenuActivated();
    if (!onActivateLink_.empty())
        if (GUIMenuLinkN* link = findLink(onActivateLink_)) link->trigger();
    busy_ = false;
    manager.leaveCascade();
    release();
}

void GUIMenuN::deactivate(double const& speed) {
    if (busy_) return;
    busy_ = true;
    active_ = false;
    for (std::size_t i = 0; i < linkedWindows_.size(); ++i)
        if (!ignoredAt(ignoreOnDeactivate_, i))
            blend(linkedWindows_[i], deactivateGoal_, defaultDeactivateGoal_, L"AUS", speed);
    busy_ = false;
}

void GUIMenuN::collectLinks(std::vector<GUIMenuLinkN*>& out) const {
    out.insert(out.end(), ownLinks_.begin(), ownLinks_.end());
    GUIMenuManagerN& manager = GUIMenuManagerN::instance();
    for (std::wstring const& name : linkNames_)
        if (GUIMenuLinkN* link = manager.findLink(name)) out.push_back(link);
}

GUIMenuLinkN* GUIMenuN::findLink(std::wstring const& name) const {
    if (GUIMenuLinkN* own = findNamedObject(ownLinks_, name)) return own;
    return GUIMenuManagerN::instance().findLink(name);
}

}  // namespace Orvex
