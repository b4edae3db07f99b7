// Tutorial pages: placing the page window at a goal clear of what it points at (a 3 x 3 grid of
// screen cells; a point on the page itself moves with it and is not avoided), resizing a goal to the text, and the test of which goals the text fits in.
#include <algorithm>
#include <cmath>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialPage.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"

namespace Orvex {

namespace {

constexpr wchar_t const* kDefaultGoal = L"AN";
// The anchor written into a resized goal.
constexpr int kResizedAnchor = 18;

// The grid cell (0 .. 8, row by row) of a point in the reference rectangle.
int cellOf(FRect const& ref, float x, float y) {
    float const w3 = ref.getWidth() / 3.0f;
    float const h3 = ref.getHeight() / 3.0f;
    int const col = x < ref.left + w3 ? 0 : (x > ref.left + 2.0f * w3 ? 2 : 1);
    int const row = y < ref.top + h3 ? 0 : (y > ref.top + 2.0f * h3 ? 2 : 1);
    return row * 3 + col;
}

void markCorners(bool (&occupied)[9], FRect const& ref, FRect const& r) {
    occupied[cellOf(ref, r.left, r.top)] = true;
    occupied[cellOf(ref, r.right, r.top)] = true;
    occupied[cellOf(ref, r.left, r.bottom)] = true;
    occupied[cellOf(ref, r.right, r.bottom)] = true;
}

// Whether the window is the page window or lies inside it: it moves with the page, so the page
// cannot keep clear of it (trying makes the page jump between corners every frame).
bool carriedBy(GUIWindow const* window, GUIWindow const* page) {
    for (GUIWindow const* w = window; w; w = w->getParent())
        if (w == page) return true;
    return false;
}

bool sameRect(FRect const& a, FRect const& b) {
    return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

}  // namespace

float TutorialPage::arrowHalfThickness(float displayWidth) const {
    // Sizes up to 1 are shares of the display width; larger ones are pixels (a share of 25
    // would make the arrow many times wider than the screen).
    float const t = arrowSize <= kArrowSizeFractionLimit ? displayWidth * arrowSize : arrowSize;
    return std::clamp(t, 0.0f, displayWidth * kMaxArrowHalfShare);
}

void TutorialPage::placeWindow(GUIWindow* window, bool force) {
    if (!window) return;
    std::wstring chosen = kDefaultGoal;
    bool changed = false;
    if (placementMode == 0) {
        if (!goals.empty()) chosen = goals.front().name;
        if (!preferredGoal.empty())
            for (TutAnimGoal const& g : goals)
                if (g.name == preferredGoal) chosen = preferredGoal;
    } else {
        D3DInterface& d3d = D3DInterface::getInstance();
        float const sw = static_cast<float>(d3d.getWidth());
        float const sh = static_cast<float>(d3d.getHeight());
        FRect const screen(0.0f, 0.0f, sw, sh);
        FRect const ref = window->getParent() ? window->getParent()->getScreenRect() : screen;
        bool occupied[kCells] = {};
        for (TutPointPair const& pair : points) {
            if (!pair.complete() || carriedBy(pair.goal->findWindow(), window)) continue;
            bool valid = false;
            FRect const area = pair.goal->getArea(valid);
            if (valid) markCorners(occupied, ref, area);
            D3DXVECTOR2 const at = pair.goal->getPosition(valid);
            if (arrowsAvoided && valid) {
                float s = 2.0f * arrowHalfThickness(sw);
                Texture2D* texture = nullptr;
                RECT source{};
                if (findArrowImage(texture, source)) {
                    float const iw = static_cast<float>(source.right - source.left);
                    float const ih = static_cast<float>(source.bottom - source.top);
                    if (ih > 0.0f && iw > ih) s = s * iw / ih;
                }
                markCorners(occupied, ref, FRect(at.x - s, at.y - s, at.x + s, at.y + s));
            }
        }
        for (std::size_t i = 0; i < goals.size(); ++i) {
            if (!goals[i].isFree(occupied)) continue;
            bool const fits = !fittingGoalsOnly || i >= usable.size() || usable[i] || i + 1 == goals.size();
            if (!fits) continue;
            chosen = goals[i].name;
            break;
        }
        if (placementMode == 2 && !goalToResize.empty()) {
            GUIAnimationsGoal& resized = window->findGoal(goalToResize);
            GUIAnimationsGoal& target = window->findGoal(chosen);
            FRect const parentRect = window->getParent() ? window->getParent()->getScreenRect() : screen;
            FRect before = window->getScreenRect();
            if (window->isAnimating()) window->getCurrentState().rect.calcRect(before, parentRect);
            FRect rc;
            target.rect.calcRect(rc, screen);
            float const W = rc.getWidth();
            float const H = rc.getHeight();
            // A goal without width or height has no shape to fit the text into.
            if (W > 0.0f && H > 0.0f) {
                float const a = W / H;
                float const A = std::max(0.0f, textRect.getWidth() * textRect.getHeight());
                float h = std::sqrt(A / a);
                float w = h * a;
                if (w > W) {
                    w = W;
                    h = A / W;
                }
                if (h > H) {
                    h = H;
                    w = A / H;
                }
                float const width = std::min(W, w + extraSizeOffset.x + sw * extraSizeFactor.x);
                float const height = std::min(H, h + extraSizeOffset.y + sh * extraSizeFactor.y);
                float const cx = (rc.left + rc.right) * 0.5f;
                float const cy = (rc.top + rc.bottom) * 0.5f;
                GUIRectAxis& pos = resized.rect.getParamsX();
                pos.relX = pos.relY = 0.0f;
                pos.offX = cx - width * 0.5f;
                pos.offY = cy - height * 0.5f;
                GUIRectAxis& size = resized.rect.getParamsY();
                size.relX = size.relY = 0.0f;
                size.offX = width;
                size.offY = height;
                resized.rect.setAnchor(kResizedAnchor);
                FRect after;
                resized.rect.calcRect(after, screen);
                changed = !sameRect(after, before);
            }
        }
    }
    if (chosen != lastGoal || changed || force) {
        window->animateToGoal(chosen, blendSpeed, true);
        lastGoal = chosen;
    }
}

void TutorialPage::checkTextFits(GUIWindow* window) {
    if (usable.size() < goals.size()) usable.resize(goals.size(), true);
    if (!fittingGoalsOnly) {
        std::fill(usable.begin(), usable.end(), true);
        return;
    }
    std::wstring remembered;
    GUIAnimationsGoal saved;
    if (window) {
        window->captureCurrentState();
        saved = window->getCurrentState();
        remembered = saved.name;
    }
    GUILabel* label = findLabel(false);
    GUIWindow* parent = label ? label->getParent() : nullptr;
    for (std::size_t i = 0; i < goals.size(); ++i) {
        if (!window || !label || !parent) {
            usable[i] = true;
            continue;
        }
        window->jumpToGoal(goals[i].name);
        RECT const t = label->measureText();
        FRect const p = parent->getScreenRect();
        float const pw = std::trunc(p.right) - std::trunc(p.left);
        float const ph = std::trunc(p.bottom) - std::trunc(p.top);
        usable[i] = static_cast<float>(t.right - t.left) <= pw + kFitSlack &&
                    static_cast<float>(t.bottom - t.top) < ph + kFitSlack;
    }
    if (!window) return;
    if (window->hasGoal(remembered))
        window->jumpToGoal(remembered);
    else
        window->applyState(saved);  // a window at no named goal goes back where it was
}

}  // namespace Orvex
