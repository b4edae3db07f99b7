// Placing the progress part by the ratio, and drawing the bar: the part squeezed, faded or
// cut to the ratio, the caption over it.
#include <algorithm>
#include <cmath>

#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

namespace {

float clamp01(float v) { return v >= 1.0f ? 1.0f : (v > 0.0f ? v : 0.0f); }

void setRect(GUIRect& r, float x, float y, float w, float h) {
    r.position = GUIRectAxis{x, y, 0.0f, 0.0f, 0.0f, 0.0f};
    r.size = GUIRectAxis{w, h, 0.0f, 0.0f, 0.0f, 0.0f};
}

}  // namespace

bool GUIProgressBar::cutSource(RECT& source, s32 fillType, float ratio) {
    // Never past the texture's own edge: a value above the maximum shows the whole picture.
    float const c = clamp01(ratio);
    LONG const w = static_cast<LONG>(std::trunc(c * static_cast<float>(source.right - source.left)));
    LONG const h = static_cast<LONG>(std::trunc(c * static_cast<float>(source.bottom - source.top)));
    switch (fillType) {
        case kLeftRight: source.right = source.left + w; return true;
        case kRightLeft: source.left = source.right - w; return true;
        case kTopBottom: source.bottom = source.top + h; return true;
        case kBottomTop: source.top = source.bottom - h; return true;
        default: return false;
    }
}

void GUIProgressBar::updateBar() {
    if (!part_) return;
    float const r = getRatio();
    float const c = clamp01(r);
    GUIRect& rect = part_->getRect();
    switch (fillType_) {
        case kLeftRight: setRect(rect, 0.0f, 0.0f, c, 1.0f); break;
        case kRightLeft: setRect(rect, 1.0f - c, 0.0f, c, 1.0f); break;
        case kTopBottom: setRect(rect, 0.0f, 0.0f, 1.0f, c); break;
        case kBottomTop: setRect(rect, 0.0f, 1.0f - c, 1.0f, c); break;
        case kModulate:
            setRect(rect, 0.0f, 0.0f, 1.0f, 1.0f);
            rect.size.offX = 1.0f;
            rect.size.offY = 1.0f;
            part_->getDrawOptions().alpha = c;
            break;
        case kAnimation:
            for (Texture2DAnimation* ani : {drawOptions.getAniNormal(), drawOptions.getAniMark()})
                if (ani) ani->setPosition(static_cast<float>(ani->getFrameCount()) * c);
            break;
        default: break;
    }
    part_->updateRect(false, false);
}

void GUIProgressBar::drawShape() {
    shape_ = true;
    drawSelf();
    shape_ = false;
}

void GUIProgressBar::drawSelf() {
    GUIWindow::drawSelf();
    if (fillType_ == kAnimation || shape_) return;
    if (!cutTexture_) {
        if (part_) part_->draw(screenRect);
        if (label_) label_->draw(screenRect);
        return;
    }
    drawCut();
}

void GUIProgressBar::drawCut() {
    FRect target = part_->getScreenRect();
    if (!drawOptions.drawUseFRect)
        target = FRect(std::trunc(target.left), std::trunc(target.top), std::trunc(target.right),
                       std::trunc(target.bottom));
    D3DXCOLOR colour = drawer ? drawer->getColor() : D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f);
    colour.a = static_cast<float>(colour.a * part_->getAccumulatedAlpha());
    if (fillType_ == kModulate) {
        part_->getDrawOptions().modulateColor = colour;
        part_->draw(screenRect);
        if (label_) label_->draw(screenRect);
        return;
    }
    if (useModulateColor_) {
        D3DXCOLOR const& m = part_->getDrawOptions().modulateColor;
        colour = D3DXCOLOR(colour.r * m.r, colour.g * m.g, colour.b * m.b, colour.a * m.a);
    }
    Texture2D* texture = nullptr;
    RECT source{0, 0, 0, 0};
    if (Texture2DAnimation* ani = part_->getDrawOptions().getAniNormal()) {
        if (AnimationFrame const* frame = ani->getCurrentFrame()) {
            texture = frame->texture;
            source = frame->rect;
        }
    } else if ((texture = part_->getDrawOptions().getTexNormal())) {
        source = texture->getRect();
    }
    BaseSprite* sprite = guiSprite();
    if (texture && sprite && cutSource(source, fillType_, getRatio()))
        sprite->drawInRect(texture, &source, target, SDP_SCALE, SDP_SCALE, guiColorToD3D(colour));
    if (label_) label_->draw(screenRect);
}

}  // namespace Orvex
