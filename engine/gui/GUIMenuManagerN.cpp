// The menu manager: its lists, the active menu and history, and input routing to the links.
#include "engine/gui/GUIMenuManagerN.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/gui/GUIMenuEventN.h"
#include "engine/gui/GUIMenuLinkN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/DirectInputInterface.h"

namespace Orvex {

GUIMenuManagerN& GUIMenuManagerN::instance() {
    static GUIMenuManagerN manager;
    return manager;
}

GUIMenuManagerN::GUIMenuManagerN() {
    DirectInputInterface::instance().keyPressedSignal.connect(this, &GUIMenuManagerN::onKey);
}

GUIMenuManagerN::~GUIMenuManagerN() { clear(); }

void GUIMenuManagerN::clear() {
    if (activeMenu_) activeMenu_->release();
    activeMenu_ = nullptr;
    history_.clear();
    historyIndex_ = -1;
    loopsLogged_.clear();
    // Links first: a menu's own links and the global ones may be named by other menus.
    releaseAll(links_);
    releaseAll(menus_);
    releaseAll(events_);
}

GUIMenuN* GUIMenuManagerN::findMenu(std::wstring const& name) const { return findNamedObject(menus_, name); }
GUIMenuLinkN* GUIMenuManagerN::findLink(std::wstring const& name) const { return findNamedObject(links_, name); }
GUIMenuEventN* GUIMenuManagerN::findEvent(std::wstring const& name) const { return findNamedObject(events_, name); }

bool GUIMenuManagerN::activateMenu(std::wstring const& name, double const& speed) {
    GUIMenuN* menu = findMenu(name);
    if (!menu) return false;
    setActiveMenu(menu, speed);
    return true;
}

void GUIMenuManagerN::switchTo(GUIMenuN* menu, double const& speed) {
    // Links run by the menu's own activation lead back to it: the activation does not run
    // again (the menu is busy), only the history and the active menu move.
    if (menu->isBusy() && std::find(loopsLogged_.begin(), loopsLogged_.end(), menu) == loopsLogged_.end()) {
        loopsLogged_.push_back(menu);
        logWarning(L"Menu \"" + menu->getName() + L"\" is switched to again while it is being activated; the "
                   L"links of its activation lead back to it");
    }
    GUIMenuN* previous = activeMenu_;
    menu->addRef();
    activeMenu_ = menu;
    HeldRef<GUIMenuN> hold(menu);
    menu->activate(speed < 0.0 ? menu->getSpeed() : speed);
    // A link the activation ran may have switched on to another menu and told of that already;
    // telling of this menu afterwards would name one that is no longer active.
    if (activeMenu_ == menu) menuChanged.emit(*menu, previous);
    if (previous) previous->release();
}

bool GUIMenuManagerN::setActiveMenu(GUIMenuN* menu, double const& speed) {
    if (!menu) return activeMenu_ != nullptr;
    bool const changed = menu != activeMenu_;
    if (changed) {
        // The history is updated before the menu's own activation runs, so links fired from
        // there (its on-activate link) see it in place.
        ++historyIndex_;
        history_.resize(static_cast<std::size_t>(historyIndex_));
        history_.push_back(menu);
    }
    switchTo(menu, speed);
    return activeMenu_ != nullptr;
}

GUIMenuN* GUIMenuManagerN::moveInHistory(int steps, double const& speed) {
    if (history_.empty()) return nullptr;
    long long const last = static_cast<long long>(history_.size()) - 1;
    long long index = static_cast<long long>(historyIndex_) + steps;
    index = std::max(0LL, std::min(index, last));
    historyIndex_ = static_cast<int>(index);
    switchTo(history_[static_cast<std::size_t>(index)], speed);
    return activeMenu_;
}

GUIMenuN* GUIMenuManagerN::getHistoryMenu(int offset) const {
    if (history_.empty()) return nullptr;
    long long const last = static_cast<long long>(history_.size()) - 1;
    long long index = static_cast<long long>(historyIndex_) + offset;
    index = std::max(0LL, std::min(index, last));
    return history_[static_cast<std::size_t>(index)];
}

void GUIMenuManagerN::collectMenusByMask(int mask, std::vector<GUIMenuN*>& out) const {
    for (GUIMenuN* menu : menus_)
        if ((menu->getMenuId() & mask) != 0) out.push_back(menu);
}

void GUIMenuManagerN::collectActiveLinks(std::vector<GUIMenuLinkN*>& out) const {
    if (activeMenu_) {
        activeMenu_->collectLinks(out);
        if (activeMenu_->usesOnlyOwnLinks()) return;
    }
    for (GUIMenuN* menu : menus_)
        if (menu != activeMenu_ && menu->isActive()) menu->collectLinks(out);
    std::stable_sort(out.begin(), out.end(), [](GUIMenuLinkN const* a, GUIMenuLinkN const* b) {
        return static_cast<u32>(a->getPriority()) > static_cast<u32>(b->getPriority());
    });
}

bool GUIMenuManagerN::enterCascade(std::wstring const& what) {
    if (cascadeDepth_ == 0) {
        cascadeSteps_ = 0;
        cascadeLogged_ = false;
    }
    if (cascadeSteps_ >= kMaxCascadeSteps) {
        if (!cascadeLogged_)
            logWarning(L"Menus: one event caused more than " + std::to_wstring(kMaxCascadeSteps) +
                       L" menu activations and link runs; " + what + L" and the rest are skipped");
        cascadeLogged_ = true;
        return false;
    }
    ++cascadeSteps_;
    ++cascadeDepth_;
    return true;
}

void GUIMenuManagerN::leaveCascade() {
    if (cascadeDepth_ > 0) --cascadeDepth_;
}

namespace {

// One event (a key, a click, a frame's waits) is one cascade: everything it causes shares the
// step budget.
class CascadeScope {
public:
    CascadeScope(GUIMenuManagerN& manager, wchar_t const* what) : manager_(manager), on_(manager.enterCascade(what)) {}
    ~CascadeScope() {
        if (on_) manager_.leaveCascade();
    }
    CascadeScope(CascadeScope const&) = delete;
    CascadeScope& operator=(CascadeScope const&) = delete;
    bool on() const { return on_; }

private:
    GUIMenuManagerN& manager_;
    bool on_;
};

}  // namespace

void GUIMenuManagerN::update(double const& dt) {
    CascadeScope cascade(*this, L"the frame's waits");
    if (!cascade.on()) return;
    std::vector<GUIMenuLinkN*> links;
    collectActiveLinks(links);
    HeldList<GUIMenuLinkN> hold(links);
    for (GUIMenuLinkN* link : links) link->update(dt);
}

template <class Accepts>
void GUIMenuManagerN::dispatch(Accepts accepts) {
    CascadeScope cascade(*this, L"the event");
    if (!cascade.on()) return;
    std::vector<GUIMenuLinkN*> links;
    collectActiveLinks(links);
    HeldList<GUIMenuLinkN> hold(links);
    std::vector<GUIMenuLinkN*> accepted;
    for (GUIMenuLinkN* link : links)
        if (accepts(*link)) accepted.push_back(link);
    for (GUIMenuLinkN* link : accepted)
        if (link->trigger()) break;
}

void GUIMenuManagerN::onKey(KeyState& state, unsigned char const& code) {
    dispatch([&](GUIMenuLinkN& link) { return link.onKey(state, code); });
}

void GUIMenuManagerN::onWindowLeftClick(GUIWindow& window) {
    HeldRef<GUIWindow> holdWindow(&window);
    dispatch([&](GUIMenuLinkN& link) { return link.onWindowLeftClick(window); });
}

void GUIMenuManagerN::onWindowRightClick(GUIWindow& window) {
    HeldRef<GUIWindow> holdWindow(&window);
    dispatch([&](GUIMenuLinkN& link) { return link.onWindowRightClick(window); });
}

}  // namespace Orvex
