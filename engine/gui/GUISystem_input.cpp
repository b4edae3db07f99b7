// Mouse routing of the GUI system: a press goes to the window under the pointer (after the
// activation checks) and makes it the pressed window; a release reaches the pressed window only
// while it is still under the pointer; movement and the wheel go to the active window, drag a
// pressed "MOUSE_MOVE" window, or else change which window is active (hover).
//
// Each step holds a reference on the window it calls: a press or click slot may remove or
// release that window, or clear the GUI.
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

GUIWindow* GUISystem::windowAt(D3DXVECTOR2 const& point, int flags) const {
    FRect const screen = getScreenRect();
    HeldList<GUIWindow> snapshot(windows_);
    std::vector<GUIWindow*> order(snapshot.begin(), snapshot.end());
    for (std::size_t i = order.size(); i-- > 0;)
        if (GUIWindow* hit = order[i]->hitTest(point, screen, flags)) return hit;
    return nullptr;
}

void GUISystem::onMouseDown(MouseState& state, OrvexMouseButton button) {
    GUIWindow* const hit = windowAt(D3DXVECTOR2(state.x, state.y), kHitInput);
    exchange(pressed_, nullptr);
    if (!hit) return;
    HeldRef<GUIWindow> hold(hit);
    if (active_ && !active_->canDeactivate()) return;
    if (focus_ && !focus_->canLoseFocus()) return;
    if (!hit->canActivate()) return;
    hit->setActive(true, nullptr);
    if (!hit->isEnabled()) return;
    hit->bringToFront();
    if (button == OMB_LEFT)
        hit->onLeftPress(state);
    else if (button == OMB_RIGHT)
        hit->onRightPress(state);
    setPressedWindow(hit, state);
}

void GUISystem::onMouseUp(MouseState& state, OrvexMouseButton button) {
    GUIWindow* const hit = windowAt(D3DXVECTOR2(state.x, state.y), kHitInput);
    if (pressed_ && hit == pressed_) {
        HeldRef<GUIWindow> hold(hit);
        if (button == OMB_LEFT)
            hit->onLeftRelease(state);
        else if (button == OMB_RIGHT)
            hit->onRightRelease(state);
    }
    exchange(pressed_, nullptr);
}

void GUISystem::onMouseMove(MouseState& state, OrvexAchse axis) {
    pointer_ = D3DXVECTOR2(state.x, state.y);
    HeldList<GUIWindow> tips(tooltips_);
    for (GUIWindow* tip : tips) static_cast<GUITooltip*>(tip)->onMouseMove(state);
    if (active_) {
        HeldRef<GUIWindow> hold(active_);
        active_->onAxis(state, axis);
    }
    if (state.isButtonDown(OMB_LEFT) && pressed_) {
        GUIWindow* const w = pressed_;
        HeldRef<GUIWindow> hold(w);
        if (w->getOptions().mouseMove && (state.x != lastDrag_.x || state.y != lastDrag_.y)) {
            GUIWindow* container = w->getMoveContainer();
            FRect const origin = container ? container->getScreenRect() : FRect();
            w->moveTo(D3DXVECTOR2(dragOffset_.x + state.x - origin.left, dragOffset_.y + state.y - origin.top));
            lastDrag_ = D3DXVECTOR2(state.x, state.y);
        }
        return;
    }
    hover(pointer_);
}

void GUISystem::hover(D3DXVECTOR2 const& point) {
    GUIWindow* const hit = windowAt(point, kHitHover);
    if (hit) {
        if (active_ && !active_->canDeactivate()) return;
        HeldRef<GUIWindow> hold(hit);
        hit->setActive(true, nullptr);
        return;
    }
    if (active_ && active_->canDeactivate()) {
        HeldRef<GUIWindow> hold(active_);
        active_->setActive(false, nullptr);
    }
}

}  // namespace Orvex
