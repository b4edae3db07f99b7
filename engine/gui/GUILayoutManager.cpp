// The fill arrangement: participating children dock one after another against the sides of the
// free part of the window, each edge of which is held as a relative part and an offset part.
#include "engine/gui/GUILayoutManager.h"

#include <string>

#include "engine/gui/GUIRect.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowOptions.h"

namespace Orvex {

namespace {

// An edge of the free area: relative x parent extent + offset.
struct Edge {
    float rel = 0.0f;
    float off = 0.0f;
};

enum class Dock { None, Top, Bottom, Left, Right, Fill };

Dock dockOf(GUIWindowOptions const& options) {
    if (!options.usableForLayoutManager) return Dock::None;
    std::wstring const& p = options.layoutParam;
    if (p == L"TOP") return Dock::Top;
    if (p == L"BOTTOM") return Dock::Bottom;
    if (p == L"LEFT") return Dock::Left;
    if (p == L"RIGHT") return Dock::Right;
    if (p == L"FILL") return Dock::Fill;
    return Dock::None;
}

void setX(GUIRectAxis& a, Edge e) {
    a.relX = e.rel;
    a.offX = e.off;
}
void setY(GUIRectAxis& a, Edge e) {
    a.relY = e.rel;
    a.offY = e.off;
}
Edge span(Edge lo, Edge hi) { return {hi.rel - lo.rel, hi.off - lo.off}; }

}  // namespace

bool isDocked(GUIWindowOptions const& options) { return dockOf(options) != Dock::None; }

void arrangeFill(std::vector<GUILayoutItem> const& items, FRect const& parentRect, float const* offset) {
    Edge left{0.0f, 0.0f}, top{0.0f, 0.0f}, right{1.0f, 0.0f}, bottom{1.0f, 0.0f};
    for (GUILayoutItem const& item : items) {
        if (!item.options || !item.rect) continue;
        Dock const dock = dockOf(*item.options);
        if (dock == Dock::None) continue;
        GUIRect& r = *item.rect;
        GUIRectAxis s;
        auto effective = [&] {
            r.getEffectiveSizeParams(s, parentRect);
            return s;
        };
        switch (dock) {
            case Dock::Top:
                setX(r.position, left);
                setY(r.position, top);
                setX(r.size, span(left, right));
                effective();
                top = {top.rel + s.relY, top.off + s.offY};
                break;
            case Dock::Bottom:
                setX(r.position, left);
                setX(r.size, span(left, right));
                effective();
                setY(r.position, {bottom.rel - s.relY, bottom.off - s.offY});
                bottom = {bottom.rel - s.relY, bottom.off - s.offY};
                break;
            case Dock::Left:
                setX(r.position, left);
                setY(r.position, top);
                setY(r.size, span(top, bottom));
                effective();
                left = {left.rel + s.relX, left.off + s.offX};
                break;
            case Dock::Right: {
                GUIRectAxis const own = offset ? r.size : effective();
                setX(r.position, {right.rel - own.relX, right.off - own.offX});
                setY(r.position, top);
                setY(r.size, span(top, bottom));
                effective();
                right = {right.rel - s.relX, right.off - s.offX};
                break;
            }
            case Dock::Fill:
                setX(r.position, left);
                setY(r.position, top);
                setX(r.size, span(left, right));
                setY(r.size, span(top, bottom));
                effective();
                right = {right.rel - s.relX, right.off - s.offX};
                break;
            case Dock::None:
                break;
        }
        if (offset) {
            r.position.offX += offset[0];
            r.position.offY += offset[1];
        }
    }
}

void collectLayoutItems(GUIWindow& window, std::vector<GUILayoutItem>& out, FRect& parentRect) {
    parentRect = window.getScreenRect();
    std::vector<GUIWindow*> children;
    window.collectChildren(children);
    out.clear();
    for (GUIWindow* child : children) out.push_back({&child->getOptions(), &child->getRect()});
}

void GUILayoutFILL::arrange(GUIWindow& window) {
    std::vector<GUILayoutItem> items;
    FRect parentRect;
    collectLayoutItems(window, items, parentRect);
    arrangeFill(items, parentRect, nullptr);
}

void GUILayoutFILL_WOffset::arrange(GUIWindow& window) {
    std::vector<GUILayoutItem> items;
    FRect parentRect;
    collectLayoutItems(window, items, parentRect);
    float const offset[2] = {offsetX, offsetY};
    arrangeFill(items, parentRect, offset);
}

}  // namespace Orvex
