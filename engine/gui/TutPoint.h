// One end of a tutorial arrow: a point tied to a window (its top-left corner, or a spot inside
// it given as fractions of its size) or free on the screen, plus a pixel offset; and the area
// around it that page placement keeps clear. Read from a "START", "GOAL" or "PTS_VORLAGE"
// element. Windows are looked up by name in the GUI system each time they are needed.
#pragma once

#include <string>

#include "engine/core/NamedObject.h"
#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

class GUIWindow;
class XMLNode;

class TutPoint : public NamedObject {
public:
    TutPoint() = default;
    // Values of the template named by "VORLAGE" first (not its name), then the element's keys.
    explicit TutPoint(XMLNode& node);
    TutPoint(TutPoint const& other) = default;
    TutPoint& operator=(TutPoint const&) = delete;
    ~TutPoint() override = default;

    // The point's window in the GUI system, or null (no window name, or not found).
    GUIWindow* findWindow() const;
    // The area placement keeps clear; valid false when the named window is missing.
    FRect getArea(bool& valid) const;
    // Where the arrow end lies; valid false when the named window is missing.
    D3DXVECTOR2 getPosition(bool& valid) const;

    bool hasWindow = false;
    std::wstring windowName;
    bool hasOffset = false;
    D3DXVECTOR2 offset{0.0f, 0.0f};
    bool hasRelative = false;
    D3DXVECTOR2 relative{0.0f, 0.0f};
    bool drawArrow = true;
    bool redraw = true;
    D3DXVECTOR2 size{0.0f, 0.0f};
    D3DXVECTOR2 sizeFactor{1.0f, 1.0f};

private:
    void copyValues(TutPoint const& other);
};

// The two ends of one arrow; the page holds a reference on each (either may be missing).
struct TutPointPair {
    TutPoint* start = nullptr;
    TutPoint* goal = nullptr;
    bool complete() const { return start && goal; }
};

}  // namespace Orvex
