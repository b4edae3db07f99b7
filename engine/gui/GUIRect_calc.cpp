// The rectangle maths: a GUIRect resolved against a parent rectangle and the screen size, the
// aspect rules, the size limits, the movers, and the effective size that layout managers dock.
#include <algorithm>

#include "engine/gui/GUIRect.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowMover.h"
#include "engine/platform/D3DInterface.h"

namespace Orvex {

namespace {

// num / den > limit, decided without dividing: a zero denominator exceeds any finite limit when
// the numerator is positive (the ratio is "infinite"), and never when it is 0.
bool ratioExceeds(float num, float den, float limit) {
    if (den > 0.0f) return num > limit * den;
    if (den < 0.0f) return num < limit * den;
    return num > 0.0f;
}

// Places [low, high] at extent by the anchor bits of the axis: from the low edge, from the high
// edge, or about the centre (half of each term on each side, the addend on both).
void placeExtent(float& low, float& high, int anchor, int lowBit, int centreBit, int highBit, float fixedTerm,
                 float ratioTerm, float addend) {
    float const extent = fixedTerm + ratioTerm + addend;
    if (anchor & lowBit) {
        high = low + extent;
    } else if (anchor & highBit) {
        low = high - extent;
    } else if (anchor & centreBit) {
        float const c = (low + high) / 2.0f;
        float const half = fixedTerm / 2.0f + ratioTerm / 2.0f + addend;
        high = c + half;
        low = c - half;
    }
}

// Width (or height) limited to [lo, hi] about its centre: min first, then max.
void limitAxis(float& low, float& high, float lo, float hi) {
    float const extent = high - low;
    float target = extent;
    if (target < lo) target = lo;
    if (target > hi) target = hi;
    if (target == extent) return;
    float const c = (low + high) / 2.0f;
    low = c - target / 2.0f;
    high = c + target / 2.0f;
}

}  // namespace

void GUIRect::calcRect(FRect& out, FRect const& parent) const {
    D3DInterface& d3d = D3DInterface::getInstance();
    calcRect(out, parent, static_cast<float>(d3d.getWidth()), static_cast<float>(d3d.getHeight()));
}

void GUIRect::calcRect(FRect& out, FRect const& parent, float sw, float sh) const {
    float const pw = parent.right - parent.left;
    float const ph = parent.bottom - parent.top;
    FRect r;
    r.left = parent.left + position.relX * pw + position.screenX * sw + position.offX;
    r.top = parent.top + position.relY * ph + position.screenY * sh + position.offY;
    r.right = r.left + size.relX * pw + size.screenX * sw + size.offX;
    r.bottom = r.top + size.relY * ph + size.screenY * sh + size.offY;

    bool yRule = yAspectMode == 1;
    if (xAspectMode == 1) {
        bool tooTall = false;
        if (yAspectMode == 1) {
            float const w = r.right - r.left;
            float const h = r.bottom - r.top;
            if (ratioExceeds(w, h, aspect.relX + aspect.offX)) yRule = false;
            tooTall = ratioExceeds(h, w, aspect.relY + aspect.offY);
        }
        if (!(yAspectMode == 1 && tooTall)) {
            float const h = r.bottom - r.top;
            placeExtent(r.left, r.right, anchor, kLeft, kHCentre, kRight, aspect.screenX * sh, aspect.relX * h,
                        aspect.offX);
        }
    }
    if (yRule) {
        float const w = r.right - r.left;
        placeExtent(r.top, r.bottom, anchor, kTop, kVCentre, kBottom, aspect.screenY * sw, aspect.relY * w,
                    aspect.offY);
    }

    if (r.left > r.right) r.left = r.right = (r.left + r.right) / 2.0f;
    if (r.top > r.bottom) r.top = r.bottom = (r.top + r.bottom) / 2.0f;
    out = r;
}

void GUIRect::getEffectiveSizeParams(GUIRectAxis& out, FRect const& parent) const {
    out = size;
    float const pw = parent.right - parent.left;
    float const ph = parent.bottom - parent.top;
    FRect r;
    r.left = parent.left + position.relX * pw + position.offX;
    r.top = parent.top + position.relY * ph + position.offY;
    r.right = r.left + size.relX * pw + size.offX;
    r.bottom = r.top + size.relY * ph + size.offY;
    float const w0 = r.right - r.left;
    float const h0 = r.bottom - r.top;
    if (xAspectMode == 1)
        placeExtent(r.left, r.right, anchor, kLeft, kHCentre, kRight, 0.0f, aspect.relX * (r.bottom - r.top),
                    aspect.offX);
    if (yAspectMode == 1)
        placeExtent(r.top, r.bottom, anchor, kTop, kVCentre, kBottom, 0.0f, aspect.relY * (r.right - r.left),
                    aspect.offY);
    out.offX += (r.right - r.left) - w0;
    out.offY += (r.bottom - r.top) - h0;
}

void GUIRect::getEffectiveSizeParams(GUIRectAxis& out, GUIWindow const& parent) const {
    getEffectiveSizeParams(out, parent.getScreenRect());
}

void applySizeLimits(FRect& rect, FRect const& parent, GUIRectAxis const& minSize, GUIRectAxis const& maxSize) {
    float const pw = parent.right - parent.left;
    float const ph = parent.bottom - parent.top;
    float const minW = minSize.relX * pw + minSize.offX;
    float const minH = minSize.relY * ph + minSize.offY;
    float const maxW = maxSize.relX < 0.0f ? GUIRect::kNoLimit : maxSize.relX * pw + maxSize.offX;
    float const maxH = maxSize.relY < 0.0f ? GUIRect::kNoLimit : maxSize.relY * ph + maxSize.offY;
    limitAxis(rect.left, rect.right, minW, maxW);
    limitAxis(rect.top, rect.bottom, minH, maxH);
}

void resolveScreenRect(FRect& out, GUIRect const& rect, FRect const& parent, GUIRectAxis const& minSize,
                       GUIRectAxis const& maxSize, std::vector<GUIWindowMover*> const& movers, float sw, float sh) {
    rect.calcRect(out, parent, sw, sh);
    applySizeLimits(out, parent, minSize, maxSize);
    for (GUIWindowMover* mover : movers)
        if (mover) mover->apply(out, parent);
}

}  // namespace Orvex
