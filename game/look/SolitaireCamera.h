// The table camera: a uniform scale and an offset mapping table coordinates to the view, each
// gliding towards a goal, plus the window layout's rectangles and the fit of the dealt cards
// into the table area. Conversions use the goal values or the current, still gliding ones.
//
// The table area is the part of the view between the HUD's strips; content fitted into it lies
// inside it at the goal values. holdsContent tells whether content that changed since the fit
// (a column grown longer) still lies inside it, fitScale what scale a new fit would give.
//
// A fit made during play changes what lies under the pointer; a press within kPressGraceSeconds
// of it was aimed at the picture drawn before, so pressPoint takes it through that view.
#pragma once

#include "engine/core/NamedObject.h"
#include "engine/gui/Interpolation.h"
#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class SolitaireCamera : public Orvex::NamedObject {
public:
    using FloatInterp = Orvex::Interpolation<float, float>;
    static constexpr float kScaleThreshold = 0.001f;
    static constexpr float kOffsetThreshold = 0.1f;
    // Share of the bottom margin (view below the table area) a card may be high at most.
    static constexpr float kBottomMarginShare = 0.9f;
    // Pixels content may stick out of the table area and still count as inside (rounding).
    static constexpr float kHoldTolerance = 0.5f;
    // Shorter than a player takes to see a change and aim anew.
    static constexpr float kPressGraceSeconds = 0.3f;

    SolitaireCamera(float speed = 1.0f, float exponent = 1.0f);

    D3DXVECTOR2 worldToScreen(D3DXVECTOR2 const& point, bool goal) const;
    D3DXVECTOR2 screenToWorld(D3DXVECTOR2 const& point, bool goal) const;
    D3DXVECTOR2 relativeToWorld(float u, float v, bool goal) const;
    D3DXVECTOR2 getOffset() const { return {offsetX.current, offsetY.current}; }
    float getScale(bool goal) const { return goal ? scale.goal : scale.current; }

    Orvex::FRect const& getRelativeRect() const { return relativeRect; }
    Orvex::FRect const& getViewRect() const { return viewRect; }
    void setViewRect(Orvex::FRect const& r) { viewRect = r; }
    void setRelativeRect(Orvex::FRect const& r) { relativeRect = r; }
    void setSecondRect(Orvex::FRect const& r) { tableArea = r; }
    void setCardSize(float w, float h) { cardSize = {w, h}; }
    void setMargins(float a, float b) { margins = {a, b}; }

    // Each returns whether the goal changed noticeably; f = 0 jumps.
    bool setScaleGoal(float value, float f);
    bool setOffsetXGoal(float value, float f);
    bool setOffsetYGoal(float value, float f);
    // Centres the content in the table area, scaled to fit (capped by the bottom margin).
    void fitContent(Orvex::FRect const& content, float f);
    // The scale fitContent gives the content: the fit, at most the bottom-margin cap; 1 for
    // empty or broken content.
    float fitScale(Orvex::FRect const& content) const;
    // Whether the content, taken through the goal scale and offset, lies inside the table area.
    bool holdsContent(Orvex::FRect const& content) const;
    void update(float dt);
    // Remembers the view as drawn now, before a fit during play changes it.
    void markRefit();
    // The screen point that shows now what the pressed point showed before a fit made less than
    // kPressGraceSeconds ago; the point itself otherwise.
    D3DXVECTOR2 pressPoint(D3DXVECTOR2 const& pressed) const;

    FloatInterp offsetX{0.0f};
    FloatInterp offsetY{0.0f};
    FloatInterp scale{1.0f};
    float speed;
    float exponent;
    D3DXVECTOR2 margins{50.0f, 50.0f};
    Orvex::FRect viewRect{0.0f, 0.0f, 1024.0f, 768.0f};
    Orvex::FRect relativeRect{0.0f, 0.0f, 1024.0f, 768.0f};
    Orvex::FRect tableArea{15.0f, 60.0f, 994.0f, 598.0f};
    D3DXVECTOR2 cardSize{200.0f, 275.0f};

private:
    // Scale and offsets as drawn when the last fit during play began, and the time since.
    D3DXVECTOR3 viewBeforeRefit{1.0f, 0.0f, 0.0f};
    float sinceRefit = kPressGraceSeconds;

    bool setGoal(FloatInterp& interp, float value, float f, float threshold);
};

}  // namespace Solitaire
