// Scrolling the panel: steps, the scroll buttons, the wheel, thumb drags, scrollTo, rectangle
// changes, and the per-frame update (gap closing, focus following, animated scrolling).
#include <algorithm>
#include <cmath>

#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/DirectInputInterface.h"

namespace Orvex {

namespace {

FRect truncated(FRect const& r) {
    return FRect(std::trunc(r.left), std::trunc(r.top), std::trunc(r.right), std::trunc(r.bottom));
}

}  // namespace

float GUIScrollPanel::rasterStep(float d, float length, int n) {
    if (n <= 0 || !(length != 0.0f)) return d;
    float const steps = static_cast<float>(n);
    return length * std::trunc((d / length) * steps) / steps;
}

void GUIScrollPanel::shiftContent(float dx, float dy) {
    bool const was = moving_;
    moving_ = true;
    HeldList<GUIWindow> content(panel_->getChildren());
    for (GUIWindow* w : content) {
        GUIRectAxis& p = w->getRect().getParamsX();
        p.offX += dx;
        p.offY += dy;
        w->updateRect(false, false);
    }
    contentOffset_.x += dx;
    contentOffset_.y += dy;
    moving_ = was;
}

void GUIScrollPanel::scrollStep(int direction, float amount) {
    HeldRef<GUIWindow> hold(this);
    stepping_ = true;
    auto serve = [&](int side, int pendingIndex, float sign, bool vertical) {
        float const room = room_[side];
        if (room > 0.0f) {
            float const s = amount < room ? amount : room;
            shiftContent(vertical ? 0.0f : sign * s, vertical ? sign * s : 0.0f);
            if (amount >= room) pending_[pendingIndex] = 0.0f;
        }
    };
    if (direction & kUp) {
        serve(kSideUp, 2, 1.0f, true);
        scrolledUp.emit(*this);
        scrolledVertically.emit(*this);
        scrolled.emit(*this);
    } else if (direction & kDown) {
        serve(kSideDown, 3, -1.0f, true);
        scrolledDown.emit(*this);
        scrolledVertically.emit(*this);
        scrolled.emit(*this);
    } else if (direction & kLeft) {
        serve(kSideLeft, 0, 1.0f, false);
        scrolledLeft.emit(*this);
        scrolledHorizontally.emit(*this);
        scrolled.emit(*this);
    } else if (direction & kRight) {
        serve(kSideRight, 1, -1.0f, false);
        scrolledRight.emit(*this);
        scrolledHorizontally.emit(*this);
        scrolled.emit(*this);
    }
    if (clickOnFirst_ && panel_ && !panel_->getChildren().empty()) {
        FRect const p = panel_->getScreenRect();
        GUIWindow* first = nullptr;
        float best = 0.0f;
        for (GUIWindow* w : panel_->getChildren()) {
            FRect const r = w->getScreenRect();
            float const dx = r.left - p.left;
            float const dy = r.top - p.top;
            float const d = dx * dx + dy * dy;
            if (!first || d < best) {
                first = w;
                best = d;
            }
        }
        HeldRef<GUIWindow> holdFirst(first);
        MouseState state = DirectInputInterface::getInstance().getMouseState();
        first->onLeftPress(state);
        first->onLeftRelease(state);
    }
    stepping_ = false;
    refreshContent();
}

void GUIScrollPanel::addPending(int direction, float amount) {
    switch (direction) {
        case kLeft: pending_[1] = 0.0f; pending_[0] += amount; break;
        case kRight: pending_[0] = 0.0f; pending_[1] += amount; break;
        case kUp: pending_[3] = 0.0f; pending_[2] += amount; break;
        case kDown: pending_[2] = 0.0f; pending_[3] += amount; break;
        default: break;
    }
}

void GUIScrollPanel::onScrollButtonClicked(GUIWindow& button) {
    HeldRef<GUIWindow> hold(this);
    FRect const p = panel_->getScreenRect();
    float const vStep = (p.bottom - p.top) * vStep_[1] + vStep_[0];
    float const hStep = (p.right - p.left) * hStep_[1] + hStep_[0];
    int direction = 0;
    float step = 0.0f;
    if (&button == up_ || (useLeftRight_ && &button == upLeft_)) {
        direction = kUp;
        step = vStep;
    } else if (&button == down_ || (useLeftRight_ && &button == downLeft_)) {
        direction = kDown;
        step = vStep;
    } else if (&button == left_) {
        direction = kLeft;
        step = hStep;
    } else if (&button == right_) {
        direction = kRight;
        step = hStep;
    }
    if (direction) {
        if (scrollSpeed_ < 0.0f) {
            scrollStep(direction, step);
        } else {
            addPending(direction, step);
            scrollStep(direction, 0.0f);
        }
    }
    refreshContent();
}

void GUIScrollPanel::onAxis(MouseState& state, OrvexAchse axis) {
    HeldRef<GUIWindow> hold(this);
    if (axis == OA_MOUSE_Z_NEG || axis == OA_MOUSE_Z_POS) {
        FRect const p = panel_->getScreenRect();
        bool const towardsUser = axis == OA_MOUSE_Z_NEG;
        int direction = 0;
        float step = 0.0f;
        if (vShown_) {
            direction = towardsUser ? kDown : kUp;
            step = (p.bottom - p.top) * vWheel_[1] + vWheel_[0];
        } else if (hShown_) {
            direction = towardsUser ? kLeft : kRight;
            step = (p.right - p.left) * hWheel_[1] + hWheel_[0];
        }
        if (direction) {
            if (scrollSpeed_ >= 0.0f) {
                addPending(direction, step);
                scrollStep(direction, 0.0f);
            } else {
                scrollStep(direction, step);
            }
        }
    }
    if (parent) parent->onAxis(state, axis);
}

void GUIScrollPanel::onThumbMoved(GUIWindow& thumb) {
    HeldRef<GUIWindow> hold(this);
    FRect const p = truncated(panel_->getScreenRect());
    FRect k;
    bool const hasContent = contentRect(k);
    k = truncated(k);
    if (hasContent) measureRoom(p, k);
    int const n = static_cast<int>(panel_->getChildren().size());
    bool const vertical = &thumb == vThumb_ || (useLeftRight_ && &thumb == vThumbLeft_);
    bool const horizontal = &thumb == hThumb_;
    if (vertical || horizontal) {
        GUIWindow* track = vertical ? (&thumb == vThumb_ ? vTrack_ : vTrackLeft_) : hTrack_;
        FRect const t = track->getScreenRect();
        FRect const b = thumb.getScreenRect();
        float const trackLen = vertical ? t.bottom - t.top : t.right - t.left;
        float const thumbLen = vertical ? b.bottom - b.top : b.right - b.left;
        float const L = trackLen != 0.0f ? trackLen : 1.0f;
        float d = vertical ? b.top - t.top : b.left - t.left;
        if (vertical ? vRaster_ : hRaster_) d = rasterStep(d, L, n);
        float share = std::min(d / L, 1.0f - thumbLen / L);
        share = std::max(share, 0.0f);
        if (hasContent) {
            float const contentLen = vertical ? k.bottom - k.top : k.right - k.left;
            float const panelLen = vertical ? p.bottom - p.top : p.right - p.left;
            float const room = room_[vertical ? kSideDown : kSideRight];
            float const delta = room - ((1.0f - share) * contentLen - panelLen);
            if (delta != 0.0f && panelLen < contentLen) shiftContent(vertical ? 0.0f : -delta, vertical ? -delta : 0.0f);
        }
        (vertical ? scrolledVertically : scrolledHorizontally).emit(*this);
        scrolled.emit(*this);
    }
    std::fill(pending_, pending_ + 4, 0.0f);
    refreshContent();
}

void GUIScrollPanel::scrollTo(D3DXVECTOR2 const& point) {
    HeldRef<GUIWindow> hold(this);
    float const dx = contentOffset_.x - point.x;
    float const dy = contentOffset_.y - point.y;
    if (dx == 0.0f && dy == 0.0f) return;
    shiftContent(-dx, -dy);
    contentOffset_ = point;
    scrolled.emit(*this);
    refreshContent();
}

void GUIScrollPanel::setFocusWindow(GUIWindow* window, float left, float right, float top, float bottom) {
    focus_ = window;
    focusArea_[0] = left;
    focusArea_[1] = right;
    focusArea_[2] = top;
    focusArea_[3] = bottom;
}

bool GUIScrollPanel::isFocusInside() const {
    if (!focus_ || !panel_) return false;
    std::vector<GUIWindow*> inside;
    panel_->collectDescendants(inside);
    return std::find(inside.begin(), inside.end(), focus_) != inside.end();
}

void GUIScrollPanel::onRectChanged(GUIWindow& /*window*/) {
    if (useLayout_ || moving_ || inRectChanged_) return;
    HeldRef<GUIWindow> hold(this);
    inRectChanged_ = true;
    if (!stepping_ && !refreshing_) std::fill(pending_, pending_ + 4, 0.0f);
    refreshContent();
    update(0.0);
    inRectChanged_ = false;
}

void GUIScrollPanel::update(double const& dt) {
    HeldRef<GUIWindow> hold(this);
    GUIWindow::update(dt);
    if (!panel_) return;
    float dx = 0.0f, dy = 0.0f, fx = 0.0f, fy = 0.0f;
    FRect const p = panel_->getScreenRect();
    FRect k;
    bool const hasContent = contentRect(k);
    float const pw = p.right - p.left, ph = p.bottom - p.top;
    float const kw = k.right - k.left, kh = k.bottom - k.top;
    if (hasContent && pw != 0.0f && ph != 0.0f && kw != 0.0f && kh != 0.0f) {
        measureRoom(p, k);
        // A gap on one side closes from the other side's room; content smaller than the panel
        // goes to its top-left corner.
        auto gap = [](float lo, float hi, bool fits) {
            if (fits) return -lo;
            if (lo < 0.0f && hi > 0.0f) return std::min(-lo, hi);
            if (hi < 0.0f && lo > 0.0f) return -std::min(-hi, lo);
            return 0.0f;
        };
        dx = gap(room_[kSideLeft], room_[kSideRight], pw > kw);
        dy = gap(room_[kSideUp], room_[kSideDown], ph > kh);
    }
    if (std::fabs(dx) < 1.0f && std::fabs(dy) < 1.0f && focus_) {
        if (isFocusInside()) {
            FRect const f = focus_->getScreenRect();
            float const fw = f.right - f.left, fh = f.bottom - f.top;
            FRect const a(f.left + focusArea_[0] * fw, f.top + focusArea_[2] * fh, f.left + focusArea_[1] * fw,
                          f.top + focusArea_[3] * fh);
            float const aw = a.right - a.left, ah = a.bottom - a.top;
            if (aw != 0.0f && ah != 0.0f && pw != 0.0f && ph != 0.0f) {
                if (a.bottom > p.bottom) fy = a.bottom - p.bottom + ((focusBorder_ & 2u) ? ah : 0.0f);
                if (a.top < p.top) fy += a.top - p.top + ((focusBorder_ & 2u) ? ah : 0.0f);
                if (a.right > p.right) fx = a.right - p.right + ((focusBorder_ & 1u) ? aw : 0.0f);
                if (a.left < p.left) fx += a.left - p.left + ((focusBorder_ & 1u) ? aw : 0.0f);
            }
        }
        focus_ = nullptr;
    }
    if (std::fabs(dx) >= 1.0f || std::fabs(dy) >= 1.0f) {
        if (dx != 0.0f) pending_[0] = pending_[1] = 0.0f;
        if (dy != 0.0f) pending_[2] = pending_[3] = 0.0f;
        shiftContent(-dx, -dy);
        refreshContent();
    } else if (std::fabs(fx) >= 1.0f || std::fabs(fy) >= 1.0f) {
        if (scrollSpeed_ > 0.0f) {
            if (fx < 0.0f) pending_[0] += -fx;
            if (fx > 0.0f) pending_[1] += fx;
            if (fy < 0.0f) pending_[2] += -fy;
            if (fy > 0.0f) pending_[3] += fy;
        } else {
            shiftContent(-fx, -fy);
            refreshContent();
        }
    }
    if (!(scrollSpeed_ > 0.0f)) return;
    int const directions[4] = {kLeft, kRight, kUp, kDown};
    for (int i = 0; i < 4; ++i) {
        if (pending_[i] < 1.0f) continue;
        float const step = static_cast<float>(static_cast<double>(pending_[i]) * dt * scrollSpeed_);
        pending_[i] -= step;
        scrollStep(directions[i], step);
    }
}

}  // namespace Orvex
