// Tutorial arrow ends: reading, the area placement keeps clear and the arrow position.
#include "engine/gui/TutPoint.h"

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialRead.h"

namespace Orvex {

TutPoint::TutPoint(XMLNode& node) : NamedObject(node) {
    tutorial::noteUnknownKeys(node, {L"NAME", L"VORLAGE", L"GUIWINDOW", L"OFFSET", L"RELATIV", L"DRAWPFEIL",
                                     L"REDRAW", L"SIZE", L"SIZE_MULT"});
    if (XMLAttribute* t = node.getAttribute(L"VORLAGE"))
        if (TutPoint* source = TutorialManager::instance().findPointTemplate(t->getStringCopy())) copyValues(*source);
    if (XMLAttribute* w = node.getAttribute(L"GUIWINDOW")) {
        hasWindow = true;
        windowName = w->getStringCopy();
    }
    if (node.getAttribute(L"OFFSET")) {
        hasOffset = true;
        tutorial::readPair(node, L"OFFSET", offset);
    }
    if (node.getAttribute(L"RELATIV")) {
        hasRelative = true;
        tutorial::readPair(node, L"RELATIV", relative);
    }
    drawArrow = node.getAttributeBool(L"DRAWPFEIL", drawArrow);
    redraw = node.getAttributeBool(L"REDRAW", redraw);
    tutorial::readPair(node, L"SIZE", size);
    tutorial::readPair(node, L"SIZE_MULT", sizeFactor);
}

void TutPoint::copyValues(TutPoint const& o) {
    hasWindow = o.hasWindow;
    windowName = o.windowName;
    hasOffset = o.hasOffset;
    offset = o.offset;
    hasRelative = o.hasRelative;
    relative = o.relative;
    drawArrow = o.drawArrow;
    redraw = o.redraw;
    size = o.size;
    sizeFactor = o.sizeFactor;
}

GUIWindow* TutPoint::findWindow() const {
    if (!hasWindow) return nullptr;
    return GUISystem::instance().findWindow(windowName);
}

FRect TutPoint::getArea(bool& valid) const {
    valid = true;
    if (!hasWindow) return FRect(offset.x, offset.y, offset.x + size.x, offset.y + size.y);
    GUIWindow* w = findWindow();
    if (!w) {
        valid = false;
        return FRect();
    }
    FRect const r = w->getScreenRect();
    float const cx = (r.left + r.right) * 0.5f;
    float const cy = (r.top + r.bottom) * 0.5f;
    float const hw = r.getWidth() * sizeFactor.x * 0.5f;
    float const hh = r.getHeight() * sizeFactor.y * 0.5f;
    return FRect(cx - hw, cy - hh, cx + hw, cy + hh);
}

D3DXVECTOR2 TutPoint::getPosition(bool& valid) const {
    valid = true;
    D3DXVECTOR2 p(0.0f, 0.0f);
    if (hasWindow) {
        GUIWindow* w = findWindow();
        if (!w) {
            valid = false;
            return p;
        }
        FRect const r = w->getScreenRect();
        p = D3DXVECTOR2(r.left, r.top);
        if (hasRelative) p += D3DXVECTOR2(r.getWidth() * relative.x, r.getHeight() * relative.y);
    }
    if (hasOffset) p += offset;
    return p;
}

}  // namespace Orvex
