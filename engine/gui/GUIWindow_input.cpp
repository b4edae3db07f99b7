// The GUI window's input: presses, releases and clicks, the wheel climbing to the root, focus
// and activation (one holder of each in the whole GUI, kept by the GUI system), and the test
// whether a later-drawn window covers this one.
//
// Every operation holds a reference on the window from start to end (not only around each
// emit): a slot of leftClicked may drop the last outside reference, and the release operation
// still emits leftReleased and restarts its timer on a living window.
#include <cmath>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/PlayingSound.h"
#include "engine/platform/SoundManager.h"
#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

void GUIWindow::restartPressTimer() {
    times.press.flag = true;
    times.press.on = 0.0;
    times.press.off = 0.0;
}

void GUIWindow::onLeftPress(MouseState& state) {
    HeldRef<GUIWindow> hold(this);
    if (options.inputIgnore & GUIWindowOptions::kIgnoreSelf) {
        leftPressed.emit(*this, false);
        return;
    }
    if (options.inputToParent && parent) {
        parent->onLeftPress(state);
        return;
    }
    leftPressed.emit(*this, true);
    if (isCoveredByLaterWindow(nullptr, nullptr)) setFocus(true);
    restartPressTimer();
    if (!clickSound.empty()) {
        SoundManager& sounds = SoundManager::getInstance();
        if (std::shared_ptr<PlayingSound> sound = sounds.playSound(clickSound)) sounds.playSample(sound, kClickVolume);
    }
}

void GUIWindow::onRightPress(MouseState& state) {
    HeldRef<GUIWindow> hold(this);
    if (options.inputIgnore & GUIWindowOptions::kIgnoreSelf) {
        rightPressed.emit(*this, false);
        return;
    }
    if (options.inputToParent && parent) {
        parent->onRightPress(state);
        return;
    }
    rightPressed.emit(*this, true);
    if (isCoveredByLaterWindow(nullptr, nullptr)) setFocus(true);
    restartPressTimer();
}

void GUIWindow::onLeftRelease(MouseState& state) {
    HeldRef<GUIWindow> hold(this);
    if (options.inputIgnore & GUIWindowOptions::kIgnoreSelf) {
        leftReleased.emit(*this, false);
        return;
    }
    if (options.inputToParent && parent) {
        parent->onLeftRelease(state);
        return;
    }
    if (times.press.on >= 0.0 && times.press.on <= kClickSeconds) leftClicked.emit(*this);
    leftReleased.emit(*this, true);
    restartPressTimer();
}

void GUIWindow::onRightRelease(MouseState& state) {
    HeldRef<GUIWindow> hold(this);
    if (options.inputIgnore & GUIWindowOptions::kIgnoreSelf) {
        rightReleased.emit(*this, false);
        return;
    }
    if (options.inputToParent && parent) {
        parent->onRightRelease(state);
        return;
    }
    if (times.press.on >= 0.0 && times.press.on <= kClickSeconds) rightClicked.emit(*this);
    rightReleased.emit(*this, true);
    restartPressTimer();
}

void GUIWindow::onAxis(MouseState& state, OrvexAchse axis) {
    HeldRef<GUIWindow> hold(this);
    if (options.inputIgnore & GUIWindowOptions::kIgnoreSelf) {
        axisMoved.emit(*this, axis, false);
        return;
    }
    if (parent) parent->onAxis(state, axis);
    axisMoved.emit(*this, axis, true);
}

bool GUIWindow::isEnabled() { return options.visible && isEnabledInTree(); }

void GUIWindow::setFocus(bool on) {
    if (options.activateParent && parent) {
        parent->setFocus(on);
        return;
    }
    HeldRef<GUIWindow> hold(this);
    GUISystem& gui = GUISystem::instance();
    GUIWindow* current = gui.getFocusWindow();
    if (on) {
        if (times.focus.flag && current == this) return;
        if (current) current->setFocus(false);
        focusGained.emit(*this);
        times.focus = GUIWindowTimer{true, 0.0, 0.0};
        gui.setFocusWindow(this);
    } else {
        if (!times.focus.flag && current != this) return;
        focusLost.emit(*this);
        times.focus = GUIWindowTimer{false, 0.0, 0.0};
        // A slot may have handed the focus on meanwhile; only this window's hold is let go.
        if (gui.getFocusWindow() == this) gui.setFocusWindow(nullptr);
    }
}

void GUIWindow::setActive(bool on, GUIWindow* successor) {
    if (options.activateParent && parent) {
        parent->setActive(on, successor);
        return;
    }
    HeldRef<GUIWindow> hold(this);
    GUISystem& gui = GUISystem::instance();
    GUIWindow* current = gui.getActiveWindow();
    Texture2DAnimation* animation = drawOptions.textures.aniNormal;
    if (on) {
        if (times.activation.flag && current == this) return;
        if (current) current->setActive(false, this);
        if (drawOptions.playAniOnFocus && animation) {
            animation->setSpeed(std::fabs(animation->getSpeed()));
            animation->play();
        }
        times.activation = GUIWindowTimer{true, 0.0, 0.0};
        activated.emit(*this);
        gui.setActiveWindow(this);
    } else {
        if (!times.activation.flag && current != this) return;
        if (drawOptions.playAniOnFocus && animation) {
            animation->setSpeed(-std::fabs(animation->getSpeed()));
            animation->play();
        }
        times.activation = GUIWindowTimer{false, 0.0, 0.0};
        deactivated.emit(*this);
        // A successor sets itself next; a window that no longer holds the activation (a slot
        // moved it on) must not take it from its new holder.
        if (!successor && gui.getActiveWindow() == this) gui.setActiveWindow(nullptr);
    }
}

namespace {

struct IntRect {
    long left, top, right, bottom;
};

IntRect truncatedRect(FRect const& r) {
    return IntRect{static_cast<long>(r.left), static_cast<long>(r.top), static_cast<long>(r.right),
                   static_cast<long>(r.bottom)};
}

bool overlapsStrictly(FRect const& fa, FRect const& fb) {
    IntRect const a = truncatedRect(fa);
    IntRect const b = truncatedRect(fb);
    return a.right > b.left && a.bottom > b.top && b.right > a.left && b.bottom > a.top;
}

// w or one of its descendants overlaps the subject's rectangle.
bool treeOverlaps(GUIWindow* w, FRect const& subject) {
    if (overlapsStrictly(w->getScreenRect(), subject)) return true;
    for (GUIWindow* child : w->getChildren())
        if (treeOverlaps(child, subject)) return true;
    return false;
}

// The top-level windows drawn after `self`, each tested with its subtree.
bool coveredAtTop(GUIWindow* self, FRect const& subject) {
    std::vector<GUIWindow*> top;
    GUISystem::instance().getWindows(top);
    for (std::size_t i = top.size(); i-- > 0;) {
        if (top[i] == self) return false;
        if (treeOverlaps(top[i], subject)) return true;
    }
    return false;
}

}  // namespace

bool GUIWindow::isCoveredByLaterWindow(GUIWindow* subject, GUIWindow* below) {
    if (!subject) {
        if (parent) return parent->isCoveredByLaterWindow(this, this);
        return coveredAtTop(this, screenRect);
    }
    FRect const target = subject->getScreenRect();
    for (std::size_t i = children.size(); i-- > 0;) {
        if (children[i] == below) break;
        if (treeOverlaps(children[i], target)) return true;
    }
    if (parent) return parent->isCoveredByLaterWindow(subject, this);
    return coveredAtTop(this, target);
}

}  // namespace Orvex
