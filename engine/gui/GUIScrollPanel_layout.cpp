// The scroll panel's bars (which are attached, and where every part stands) and the content
// refresh: the room beyond the content panel on each side and the thumbs that show it.
#include <algorithm>
#include <cmath>

#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

namespace {

// Position offset, position relative, size offset, size relative; screen factors untouched.
void place(GUIWindow* w, float px, float py, float prx, float pry, float sx, float sy, float srx, float sry) {
    if (!w) return;
    GUIRect& r = w->getRect();
    r.position.offX = px;
    r.position.offY = py;
    r.position.relX = prx;
    r.position.relY = pry;
    r.size.offX = sx;
    r.size.offY = sy;
    r.size.relX = srx;
    r.size.relY = sry;
}

}  // namespace

void GUIScrollPanel::placeBars(bool hb, bool vb) {
    float const Ax = barAbs_[0], Ay = barAbs_[1], Rx = barRel_[0], Ry = barRel_[1];
    bool const NB = noButtons_;
    bool const LR = useLeftRight_;
    float const h = hb ? 1.0f : 0.0f;
    float const v = vb ? 1.0f : 0.0f;
    float const k = LR ? 2.0f : 1.0f;
    place(panel_, vb && LR ? Ax : 0.0f, 0.0f, vb && LR ? Rx : 0.0f, 0.0f, vb ? -k * Ax : 0.0f, hb ? -Ay : 0.0f,
          vb ? 1.0f - k * Rx : 1.0f, hb ? 1.0f - Ry : 1.0f);
    place(up_, -Ax, 0.0f, 1.0f - Rx, 0.0f, NB ? 0.0f : Ax, NB ? 0.0f : Ay, NB ? 0.0f : Rx, NB ? 0.0f : Ry);
    place(down_, -Ax, -(1.0f + h) * Ay, 1.0f - Rx, 1.0f - (1.0f + h) * Ry, Ax, NB ? 0.0f : Ay, Rx, NB ? 0.0f : Ry);
    // With no buttons a track is one pixel longer than the edge.
    place(vTrack_, -Ax, NB ? 0.0f : Ay, 1.0f - Rx, NB ? 0.0f : Ry, Ax, NB ? 1.0f : -(2.0f + h) * Ay, Rx,
          NB ? 1.0f : 1.0f - (2.0f + h) * Ry);
    place(vThumb_, 0, 0, 0, 0, 0, 0, 1, 1);
    if (LR) {
        place(upLeft_, 0, 0, 0, 0, Ax, NB ? 0.0f : Ay, Rx, NB ? 0.0f : Ry);
        place(downLeft_, 0.0f, -(1.0f + h) * Ay, 0.0f, 1.0f - (1.0f + h) * Ry, Ax, NB ? 0.0f : Ay, Rx, NB ? 0.0f : Ry);
        place(vTrackLeft_, 0.0f, NB ? 0.0f : Ay, 0.0f, NB ? 0.0f : Ry, Ax, NB ? 1.0f : -(2.0f + h) * Ay, Rx,
              NB ? 1.0f : 1.0f - (2.0f + h) * Ry);
        place(vThumbLeft_, 0, 0, 0, 0, 0, 0, 1, 1);
    }
    place(left_, 0.0f, -Ay, 0.0f, 1.0f - Ry, NB ? 0.0f : Ax, Ay, NB ? 0.0f : Rx, Ry);
    place(right_, -(1.0f + v) * Ax, -Ay, 1.0f - (1.0f + v) * Rx, 1.0f - Ry, NB ? 0.0f : Ax, Ay, NB ? 0.0f : Rx, Ry);
    place(hTrack_, NB ? 0.0f : Ax, -Ay, NB ? 0.0f : Rx, 1.0f - Ry, NB ? 1.0f : -(2.0f + v) * Ax, Ay,
          NB ? 1.0f : 1.0f - (2.0f + v) * Rx, Ry);
    place(hThumb_, 0, 0, 0, 0, 0, 0, 1, 1);
}

void GUIScrollPanel::layoutBars(bool showHorizontal, bool showVertical) {
    if (showHorizontal == hShown_ && showVertical == vShown_) return;
    HeldRef<GUIWindow> hold(this);
    for (GUIWindow* part : {up_, down_, left_, right_, vTrack_, hTrack_, upLeft_, downLeft_, vTrackLeft_})
        if (part && part->getParent() == this) GUIWindow::removeChild(part);
    if (!userLayout_) placeBars(showHorizontal, showVertical);
    hShown_ = showHorizontal;
    vShown_ = showVertical;
    auto attach = [&](GUIWindow* part) {
        if (part) GUIWindow::addChild(part, false, false);
    };
    if (vShown_) {
        for (GUIWindow* part : {up_, down_, vTrack_}) attach(part);
        if (useLeftRight_)
            for (GUIWindow* part : {upLeft_, downLeft_, vTrackLeft_}) attach(part);
    }
    if (hShown_)
        for (GUIWindow* part : {left_, right_, hTrack_}) attach(part);
    panel_->initDefaultState();
    panel_->updateRect(false, false);
    refreshContent();
}

bool GUIScrollPanel::contentRect(FRect& out) const {
    std::vector<GUIWindow*> const& content = panel_->getChildren();
    if (content.empty()) return false;
    out = content.front()->getScreenRect();
    for (GUIWindow* w : content) {
        FRect const r = w->getScreenRect();
        out.left = std::min(out.left, r.left);
        out.top = std::min(out.top, r.top);
        out.right = std::max(out.right, r.right);
        out.bottom = std::max(out.bottom, r.bottom);
    }
    return true;
}

void GUIScrollPanel::measureRoom(FRect const& p, FRect const& k) {
    room_[kSideLeft] = p.left - k.left;
    room_[kSideUp] = p.top - k.top;
    room_[kSideRight] = k.right - p.right;
    room_[kSideDown] = k.bottom - p.bottom;
}

float GUIScrollPanel::getRoom(int direction) const {
    switch (direction) {
        case kLeft: return room_[kSideLeft];
        case kUp: return room_[kSideUp];
        case kRight: return room_[kSideRight];
        case kDown: return room_[kSideDown];
        default: return 0.0f;
    }
}

float GUIScrollPanel::getPending(int direction) const {
    switch (direction) {
        case kLeft: return pending_[0];
        case kRight: return pending_[1];
        case kUp: return pending_[2];
        case kDown: return pending_[3];
        default: return 0.0f;
    }
}

void GUIScrollPanel::placeThumbs(FRect const& p, float cw, float ch) {
    float const pw = p.right - p.left;
    float const ph = p.bottom - p.top;
    auto clampPos = [](float pos, float size) {
        pos = std::min(pos, 1.0f - size);
        return pos > 0.0f ? pos : 0.0f;
    };
    float const vSize = std::min(ph / ch, 1.0f);
    float const vPos = clampPos(1.0f - (room_[kSideDown] + ph) / ch, vSize);
    for (GUIWindow* thumb : {vThumb_, useLeftRight_ ? vThumbLeft_ : nullptr}) {
        if (!thumb) continue;
        GUIRect& r = thumb->getRect();
        r.size.relY = vSize;
        r.size.relX = thumbBreadth_[0];
        r.size.offX = r.size.offY = 0.0f;
        r.position.offX = r.position.offY = 0.0f;
        r.position.relX = 0.5f - 0.5f * thumbBreadth_[0];
        r.position.relY = vPos;
        thumb->updateRect(false, false);
    }
    float const hSize = std::min(pw / cw, 1.0f);
    GUIRect& r = hThumb_->getRect();
    r.size.relX = hSize;
    r.size.relY = thumbBreadth_[1];
    r.size.offX = r.size.offY = 0.0f;
    r.position.offX = r.position.offY = 0.0f;
    r.position.relY = 0.5f - 0.5f * thumbBreadth_[1];
    r.position.relX = clampPos(1.0f - (room_[kSideRight] + pw) / cw, hSize);
    hThumb_->updateRect(false, false);
}

void GUIScrollPanel::refreshContent() {
    if (refreshing_ || !panel_) return;
    refreshing_ = true;
    HeldRef<GUIWindow> hold(this);
    if (panel_->getChildren().empty()) {
        for (GUIWindow* thumb : {vThumb_, useLeftRight_ ? vThumbLeft_ : nullptr, hThumb_}) {
            if (!thumb) continue;
            GUIRect& r = thumb->getRect();
            r.position = GUIRectAxis();
            r.size = GUIRectAxis{1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
            thumb->updateRect(false, false);
        }
        refreshing_ = false;
        if (autoScroll_) layoutBars(false, false);
        return;
    }
    if (auto* layout = dynamic_cast<GUILayoutFILL_WOffset*>(panel_->getOptions().getLayoutManager())) {
        layout->offsetX = contentOffset_.x;
        layout->offsetY = contentOffset_.y;
    }
    panel_->updateRect(false, false);
    FRect const p = panel_->getScreenRect();
    FRect k;
    contentRect(k);
    measureRoom(p, k);
    float cw = k.right - k.left;
    float ch = k.bottom - k.top;
    if (cw == 0.0f) cw = 1.0f;
    if (ch == 0.0f) ch = 1.0f;
    float const pw = p.right - p.left;
    float const ph = p.bottom - p.top;
    if (autoScroll_) {
        bool wantH = hShown_;
        bool wantV = vShown_;
        if (pw < cw) wantH = true;
        if (cw < pw) wantH = false;
        if (ph < ch) wantV = true;
        if (ch < ph) wantV = false;
        wantH = wantH && hScroll_;
        wantV = wantV && vScroll_;
        // A bar shown or hidden changes the panel, which may call for the other bar: a few
        // rounds settle it, and a layout that keeps flipping stops there.
        if ((wantH != hShown_ || wantV != vShown_) && barRounds_ < kMaxBarRounds) {
            refreshing_ = false;
            ++barRounds_;
            layoutBars(wantH, wantV);
            --barRounds_;
            return;
        }
    }
    placeThumbs(p, cw, ch);
    refreshing_ = false;
}

}  // namespace Orvex
