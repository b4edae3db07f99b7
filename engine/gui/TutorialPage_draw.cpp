// Tutorial pages while shown: the darkening behind the page window, the pointed-at windows
// drawn again above it, and the arrows (turned, swinging, pulsing, fading where they run under
// the page window). The two slots run inside the GUI's drawing of the page window.
#include <algorithm>
#include <cmath>

#include "engine/core/Utils.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/TutorialPage.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

namespace {


u32 alphaByte(double alpha) {
    if (alpha >= 1.0) return 255;
    if (!(alpha > 0.0)) return 0;
    return static_cast<u32>(alpha * 255.0 + 0.5);
}

FRect screenRect() {
    RECT r{0, 0, 0, 0};
    D3DInterface::getInstance().getScreenRect(r);
    return FRect::fromRECT(r);
}

float area(FRect const& r) { return std::max(0.0f, r.getWidth()) * std::max(0.0f, r.getHeight()); }

FRect normalised(FRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

}  // namespace

float TutorialPage::arrowAngle(D3DXVECTOR2 const& v) {
    float radians;
    if (v.x == 0.0f)
        radians = v.y >= 0.0f ? D3DX_PI / 2.0f : 3.0f * D3DX_PI / 2.0f;
    else
        radians = std::atan(v.y / v.x) + (v.x < 0.0f ? D3DX_PI : 0.0f);
    return D3DXToDegree(radians);
}

double TutorialPage::arrowFade(FRect const& arrowBounds, FRect const& pageRect) {
    FRect const b = normalised(arrowBounds);
    FRect const overlap(std::max(b.left, pageRect.left), std::max(b.top, pageRect.top),
                        std::min(b.right, pageRect.right), std::min(b.bottom, pageRect.bottom));
    float const whole = area(b);
    // A flat arrow has no area for the page to cover.
    if (!(whole > 0.0f)) return 1.0;
    return 1.0 - static_cast<double>(area(overlap) / whole);
}

bool TutorialPage::findArrowImage(Texture2D*& texture, RECT& source) const {
    if (arrowImage.empty()) return false;
    if (Texture2DAnimation* a = Texture2DAnimationManager::instance().findAnimation(arrowImage))
        if (AnimationFrame const* frame = a->getCurrentFrame(); frame && frame->texture) {
            texture = frame->texture;
            source = frame->rect;
            return true;
        }
    texture = D3DInterface::getInstance().getTextureManager().findTexture(arrowImage);
    if (!texture) return false;
    source = texture->getRect();
    return true;
}

void TutorialPage::onBeforeDraw(GUIWindow& window, bool& /*drawSelf*/, bool& redrewPoint, bool& /*drawChildren*/) {
    BaseSprite* sprite = guiSprite();
    if (!sprite) return;
    if (darken && !points.empty())
        if (Texture2D* t = D3DInterface::getInstance().getTextureManager().findTexture(darkenTexture)) {
            u32 const a = alphaByte(window.getAccumulatedAlpha() * darkenValue);
            sprite->drawInRect(t, nullptr, screenRect(), SDP_SCALE, SDP_SCALE, a << 24);
        }
    for (TutPointPair const& pair : points) {
        if (!pair.complete()) continue;
        for (TutPoint const* p : {pair.start, pair.goal})
            if (p->redraw) {
                redrawPointWindow(*p);
                redrewPoint = true;
            }
    }
    if (arrowInBackground) drawArrows(window.getAccumulatedAlpha());
}

void TutorialPage::onAfterDraw(GUIWindow& window, bool const& drawn) {
    if (drawn && !arrowInBackground) drawArrows(window.getAccumulatedAlpha());
}

void TutorialPage::redrawPointWindow(TutPoint const& point) {
    GUIWindow* target = point.findWindow();
    if (!target) return;
    GUIWindow* page = GUISystem::instance().findWindow(windowName);
    // A window holding the page window would draw the page again from inside its own drawing.
    if (page && target->findChild(windowName) == page) return;
    target->draw(screenRect());
}

void TutorialPage::drawArrows(double alpha) {
    Texture2D* texture = nullptr;
    RECT source{};
    if (!findArrowImage(texture, source)) return;
    BaseSprite* sprite = guiSprite();
    if (!sprite) return;
    float const displayWidth = static_cast<float>(D3DInterface::getInstance().getWidth());
    float const t = arrowHalfThickness(displayWidth);
    float const iw = static_cast<float>(source.right - source.left);
    float const ih = static_cast<float>(source.bottom - source.top);
    GUIWindow* page = GUISystem::instance().findWindow(windowName);
    for (TutPointPair const& pair : points) {
        if (!pair.complete()) continue;
        bool startValid = false;
        bool endValid = false;
        D3DXVECTOR2 s = pair.start->getPosition(startValid);
        D3DXVECTOR2 e = pair.goal->getPosition(endValid);
        if (!startValid || !endValid || !pair.start->drawArrow || !pair.goal->drawArrow) continue;
        D3DXVECTOR2 v = e - s;
        float const length = std::sqrt(v.x * v.x + v.y * v.y);
        // Both ends on one spot: no direction to point in.
        if (!(length > 0.0f) || !std::isfinite(length)) continue;
        v /= length;
        if (moveArrow) {
            D3DXVECTOR2 const shift = (e - s) * (moveRelative * movePosition) + v * (moveAbsolute * movePosition);
            s -= shift;
            e -= shift;
        }
        float const degrees = arrowAngle(v);
        SpriteRect place;
        u8 modeX = static_cast<u8>(arrowModeX);
        u8 modeY = static_cast<u8>(arrowModeY);
        if (!wobble) {
            FRect const r(std::trunc(s.x), std::trunc(s.y - t), std::trunc(s.x + length), std::trunc(s.y + t));
            place = SpriteRect::fromFRect(r, degrees, D3DXVECTOR2(0.0f, 0.5f), SpriteRect::kCentreRelative);
        } else {
            float const w = wobblePhase >= 1.0f ? 2.0f - wobblePhase : wobblePhase;
            float const aspect = ih > 0.0f ? iw / ih : 1.0f;
            float const la = aspect * 2.0f * t * lerp(wobbleLengthLow, wobbleLengthHigh, w);
            float const ha = t * lerp(wobbleHeightLow, wobbleHeightHigh, w);
            D3DXVECTOR2 const p = s + v * (length - la);
            // Left lies right of right: the picture is mirrored, then turned half round, so
            // its tip ends on the goal.
            FRect const r(std::trunc(p.x), std::trunc(p.y - ha), std::trunc(p.x - la), std::trunc(p.y + ha));
            place = SpriteRect::fromFRect(r, degrees + 180.0f, D3DXVECTOR2(0.0f, 0.5f), SpriteRect::kCentreRelative);
            modeX = modeY = SDP_SCALE;
        }
        double a = alpha;
        if (page) a *= arrowFade(boundingRectOfSpriteRect(place), page->getScreenRect());
        sprite->drawSpriteRect(texture, &source, place, modeX, modeY, (alphaByte(a) << 24) | 0x00FFFFFFu);
    }
}

}  // namespace Orvex
