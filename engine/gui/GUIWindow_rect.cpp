// The GUI window's screen rectangle (resolved against the parent's or the screen's rectangle,
// then laid out for the children) and the queries that climb the tree: accumulated alpha, draw
// colour, enabled in the whole tree.
#include <cmath>

#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/D3DInterface.h"

namespace Orvex {

float GUIWindow::getScreenWidth() const { return static_cast<float>(device->getWidth()); }

float GUIWindow::getScreenHeight() const { return static_cast<float>(device->getHeight()); }

void GUIWindow::setPixelRect(float x, float y, float w, float h) {
    rect = GUIRect();
    rect.position.offX = x;
    rect.position.offY = y;
    rect.size.offX = w;
    rect.size.offY = h;
    updateRect(false, false);
}

void GUIWindow::updateRect(bool noSignal, bool childrenNoSignal) {
    HeldRef<GUIWindow> hold(this);
    float const sw = getScreenWidth();
    float const sh = getScreenHeight();
    FRect const parentRect = parent ? parent->screenRect : FRect(0.0f, 0.0f, sw, sh);
    FRect const old = screenRect;
    resolveScreenRect(screenRect, rect, parentRect, minSize, maxSize, movers, sw, sh);
    if (!noSignal && !(screenRect == old)) rectChanged.emit(*this);
    if (GUILayoutManager* layout = options.getLayoutManager()) layout->arrange(*this);
    HeldList<GUIWindow> snapshot(children);
    for (GUIWindow* child : snapshot)
        if (child->parent == this) child->updateRect(childrenNoSignal, childrenNoSignal);
}

void GUIWindow::moveInsideParent(FRect const* bounds) {
    HeldRef<GUIWindow> hold(this);
    updateRect(false, false);
    FRect const area = bounds ? *bounds : parent ? parent->screenRect : FRect(0.0f, 0.0f, getScreenWidth(), getScreenHeight());
    auto inside = [](float lo, float hi, float areaLo, float areaHi) {
        float shift = 0.0f;
        if (lo < areaLo) shift = areaLo - lo;
        if (hi + shift > areaHi) shift = areaHi - hi;
        return shift;
    };
    float const dx = inside(screenRect.left, screenRect.right, area.left, area.right);
    float const dy = inside(screenRect.top, screenRect.bottom, area.top, area.bottom);
    if (std::isfinite(dx)) rect.position.offX += dx;
    if (std::isfinite(dy)) rect.position.offY += dy;
}

double GUIWindow::getAccumulatedAlpha() const {
    double alpha = drawOptions.alpha;
    for (GUIWindow const* w = this; w->drawOptions.accumulateAlphaFromRoot && w->parent; w = w->parent)
        alpha *= w->parent->drawOptions.alpha;
    return alpha;
}

D3DXCOLOR GUIWindow::getDrawColor() const {
    D3DXCOLOR colour = drawOptions.modulateColor;
    colour.a = static_cast<float>(getAccumulatedAlpha() * colour.a);
    return colour;
}

bool GUIWindow::isEnabledInTree() const {
    for (GUIWindow const* w = this; w; w = w->parent)
        if (!w->options.enabled) return false;
    return true;
}

}  // namespace Orvex
