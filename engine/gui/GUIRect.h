// The layout rectangle of a GUI window ("GUIRECT"): a position set and a size set, each made of
// parent-relative factors, pixel offsets and screen-relative factors, an anchor and two aspect
// modes (the width following the height, or the height the width). calcRect resolves it against
// a parent rectangle and the screen size; resolveScreenRect adds the window's minimum and
// maximum size and its movers (what GUIWindow::updateRect computes before signals and children).
//
// Guarded inputs: a value "a b" (a / b) with b = 0, or any value that is not a finite number,
// reads as 0 with a log line; the aspect rule with both modes compares ratios without dividing,
// so a zero width or height never makes NaN.
//
// GUIRect.cpp: reading and parameter sets; GUIRect_calc.cpp: the rectangle maths.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/render/FRect.h"

namespace Orvex {

class GUIWindow;
class GUIWindowMover;
class XMLNode;

// One parameter set: factors of the parent's size, pixels, factors of the screen's size.
struct GUIRectAxis {
    float relX = 0.0f;
    float relY = 0.0f;
    float offX = 0.0f;
    float offY = 0.0f;
    float screenX = 0.0f;
    float screenY = 0.0f;

    // Reads "X_OFF", "X_REL", "Y_OFF", "Y_REL", "X_REL_SCREEN", "Y_REL_SCREEN" starting from all
    // zero; absent attributes stay 0.
    void load(XMLNode const& node);
    GUIRectAxis add(GUIRectAxis const& other) const;

    bool operator==(GUIRectAxis const&) const = default;
};

// A parameter value as data writes it: one number, or "a b" meaning a / b. Text that is not a
// number reads as 0 (as every number of the property files); a zero divisor or a result that is
// not finite reads as 0 with a log line naming the value.
float parseRectValue(std::wstring const& text);

class GUIRect {
public:
    // Anchor bits.
    static constexpr int kTop = 1;
    static constexpr int kVCentre = 2;
    static constexpr int kBottom = 4;
    static constexpr int kLeft = 8;
    static constexpr int kHCentre = 16;
    static constexpr int kRight = 32;
    static constexpr int kSize = 64;
    static constexpr int kTopLeft = kTop | kLeft;
    // The maximum of an unbounded size limit.
    static constexpr float kNoLimit = 3.4028235e38f;

    int xAspectMode = 0;
    int yAspectMode = 0;
    int anchor = kTopLeft;
    GUIRectAxis position;
    GUIRectAxis size;
    GUIRectAxis aspect;

    // The anchor of an anchor name ("POS_TL", "POS_CC", "SIZE" ...), or 0 for other names.
    static int anchorOfName(std::wstring const& name);

    // Reads a "GUIRECT" element over the present values.
    void load(XMLNode const& node);

    // The rectangle in a parent of the device's screen size.
    void calcRect(FRect& out, FRect const& parent) const;
    void calcRect(FRect& out, FRect const& parent, float screenW, float screenH) const;

    GUIRectAxis& getParamsX() { return position; }
    GUIRectAxis& getParamsY() { return size; }
    GUIRectAxis& getAspectParams() { return aspect; }
    GUIRectAxis const& getParamsX() const { return position; }
    GUIRectAxis const& getParamsY() const { return size; }
    GUIRectAxis const& getAspectParams() const { return aspect; }
    void setAnchor(int const& bits) { anchor = bits; }

    // The size set with the aspect correction (without screen terms) added to its offsets, as
    // a layout manager docks the rectangle inside parentRect.
    void getEffectiveSizeParams(GUIRectAxis& out, FRect const& parentRect) const;
    void getEffectiveSizeParams(GUIRectAxis& out, GUIWindow const& parent) const;

    bool operator==(GUIRect const&) const = default;
};

// Grows or shrinks the width and height into the limits (centre kept); the limits are
// min/max relative x parent size + offset, a negative maximum factor means no maximum.
void applySizeLimits(FRect& rect, FRect const& parent, GUIRectAxis const& minSize, GUIRectAxis const& maxSize);

// calcRect, the size limits, then each mover's offset: the screen rectangle of a window.
void resolveScreenRect(FRect& out, GUIRect const& rect, FRect const& parent, GUIRectAxis const& minSize,
                       GUIRectAxis const& maxSize, std::vector<GUIWindowMover*> const& movers, float screenW,
                       float screenH);

}  // namespace Orvex
