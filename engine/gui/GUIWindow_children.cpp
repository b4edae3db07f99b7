// The GUI window's children: adding (refusing cycles and doubles), removing, and the z-order
// among siblings and up to the GUI system's top-level list (a child its parent's layout places
// keeps its place in the list, which is its place in the layout).
#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

bool GUIWindow::addChild(GUIWindow* child, bool const& noAddRef, bool const& append) {
    if (!child) return true;
    HeldRef<GUIWindow> holdSelf(this);
    HeldRef<GUIWindow> holdChild(child);
    childAdding.emit(*child);
    bool const present = std::find(children.begin(), children.end(), child) != children.end();
    // This window below the child (or the child itself) would make the tree a cycle.
    bool const cycle = isDescendantOf(child);
    if (present || cycle) {
        if (cycle)
            logWarning(L"GUI: window \"" + child->getName() + L"\" cannot become a child of \"" + getName() +
                       L"\", which lies below it");
        childAdded.emit(*child, false);
        return false;
    }
    if (!noAddRef) child->addRef();
    ++treeChanges_;
    if (append)
        children.push_back(child);
    else
        children.insert(children.begin(), child);
    child->layerChanged.connect(this, &GUIWindow::sortChildrenByLayer);
    if (!building_) sortChildrenByLayer();
    if (child->parent && child->parent != this) child->parent->removeChild(child);
    child->parent = this;
    if (!building_) {
        child->updateRect(false, false);
        updateRect(false, false);
    }
    childAdded.emit(*child, true);
    return true;
}

bool GUIWindow::removeChild(GUIWindow* child) {
    if (!child) return false;
    HeldRef<GUIWindow> holdSelf(this);
    HeldRef<GUIWindow> holdChild(child);
    childRemoving.emit(*child);
    bool found = false;
    for (std::size_t i = 0; i < children.size();) {
        if (children[i] == child) {
            children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
            ++treeChanges_;
            if (child->parent == this) child->parent = nullptr;
            child->release();
            found = true;
        } else {
            ++i;
        }
    }
    child->layerChanged.disconnect(this);
    childRemoved.emit(*child, found);
    return found;
}

void GUIWindow::holdLayout(bool on) {
    if (building_ == on) return;
    building_ = on;
    if (on) return;
    HeldRef<GUIWindow> hold(this);
    sortChildrenByLayer();
    updateRect(false, false);
}

void GUIWindow::removeAllChildren() {
    std::vector<GUIWindow*> old;
    old.swap(children);
    ++treeChanges_;
    for (GUIWindow* child : old) detachQuietly(child);
}

namespace {

// Erases every occurrence of w; true when there was one.
bool eraseAll(std::vector<GUIWindow*>& list, GUIWindow* w) {
    auto const end = std::remove(list.begin(), list.end(), w);
    bool const found = end != list.end();
    list.erase(end, list.end());
    return found;
}

// A child this window's layout manager places keeps its place among the children: their order is
// the order of the layout, and a click must not move a button of a list to its end.
bool keepsItsPlace(GUIWindow const& window, GUIWindow const* child) {
    return child && window.getOptions().getLayoutManager() && isDocked(child->getOptions());
}

}  // namespace

void GUIWindow::bringChildToFront(GUIWindow* child) {
    HeldRef<GUIWindow> hold(this);
    if (!keepsItsPlace(*this, child) && eraseAll(children, child)) {
        children.push_back(child);
        ++treeChanges_;
    }
    sortChildrenByLayer();
    if (!options.canBringToFront) return;
    if (parent)
        parent->bringChildToFront(this);
    else
        GUISystem::instance().bringToFront(this);
}

void GUIWindow::sendChildToBack(GUIWindow* child) {
    HeldRef<GUIWindow> hold(this);
    if (!keepsItsPlace(*this, child) && eraseAll(children, child)) {
        children.insert(children.begin(), child);
        ++treeChanges_;
    }
    sortChildrenByLayer();
    if (!options.canBringToFront) return;
    if (parent)
        parent->sendChildToBack(this);
    else
        GUISystem::instance().sendToBack(this);
}

void GUIWindow::bringToFront() {
    if (!options.canBringToFront) return;
    if (!parent) {
        GUISystem::instance().bringToFront(this);
    } else if (options.canBringParentToFront) {
        parent->bringToFront();
    } else {
        parent->bringChildToFront(this);
    }
}

void GUIWindow::sendToBack() {
    if (!options.canBringToFront) return;
    if (!parent) {
        GUISystem::instance().sendToBack(this);
    } else if (options.canBringParentToFront) {
        parent->sendToBack();
    } else {
        parent->sendChildToBack(this);
    }
}

}  // namespace Orvex
