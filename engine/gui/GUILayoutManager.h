// Layout managers: owned by a window's options, they place the window's children by docking
// them against the sides of the free part of the window ("LAYOUT_PARAM" "TOP", "BOTTOM",
// "LEFT", "RIGHT", "FILL") each time the window's rectangle is recomputed, before the children
// compute theirs. They write the children's position and size sets and keep no state between
// runs (the offset pair of GUILayoutFILL_WOffset is set by its owner).
#pragma once

#include <vector>

#include "engine/render/FRect.h"

namespace Orvex {

class GUIRect;
class GUIWindow;
class GUIWindowOptions;

// One child as a layout manager sees it: its options and the rectangle description it writes.
struct GUILayoutItem {
    GUIWindowOptions const* options = nullptr;
    GUIRect* rect = nullptr;
};

// The fill arrangement of items inside parentRect; with offset (non-null), the variant of
// GUILayoutFILL_WOffset shifted by offset[0], offset[1].
void arrangeFill(std::vector<GUILayoutItem> const& items, FRect const& parentRect, float const* offset);

// Whether a layout manager places a child of these options (it takes part and names a side).
bool isDocked(GUIWindowOptions const& options);

// The window's direct children as layout items, and its screen rectangle.
void collectLayoutItems(GUIWindow& window, std::vector<GUILayoutItem>& out, FRect& parentRect);

class GUILayoutManager {
public:
    GUILayoutManager() = default;
    GUILayoutManager(GUILayoutManager const&) = delete;
    GUILayoutManager& operator=(GUILayoutManager const&) = delete;
    virtual ~GUILayoutManager() = default;

    virtual void arrange(GUIWindow& /*window*/) {}
};

// "DEFAULT".
class GUILayoutFILL : public GUILayoutManager {
public:
    void arrange(GUIWindow& window) override;
};

// "DEFAULT_USEOFFEST": the fill layout shifted by an offset pair (a scroll panel's content
// offset); a "RIGHT" child is placed by its own, uncorrected size set.
class GUILayoutFILL_WOffset : public GUILayoutManager {
public:
    float offsetX = 0.0f;
    float offsetY = 0.0f;

    void arrange(GUIWindow& window) override;
};

}  // namespace Orvex
