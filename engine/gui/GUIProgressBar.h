// The progress bar: a value between 0 and a maximum ("MAX_WERT", "AKT_WERT") shown by an inner
// window, the progress part, that grows from one of four edges, covers the bar with the ratio
// as its alpha, or is replaced by the bar's own frame animations positioned by the ratio; a
// caption label lies over it. With "CUT_TEXTURE" the part's texture is cut to the ratio instead
// of squeezed into the filled portion.
//
// Guarded: a maximum of 0 or less (or not a number) gives the ratio 0, never NaN, and a
// "MAX_WERT" like that in data is logged and read as 1; the texture is never cut past its own
// edge (a value above the maximum draws the whole texture); the MODULATE alpha stays in [0, 1].
//
// GUIProgressBar.cpp: construction, values, templates; GUIProgressBar_draw.cpp: placing the
// part and drawing.
#pragma once

#include "engine/gui/GUIWindow.h"

namespace Orvex {

class GUILabel;

class GUIProgressBar : public GUIWindow {
public:
    // "TYP" values.
    enum FillType : s32 {
        kLeftRight = 0,
        kRightLeft = 1,
        kTopBottom = 2,
        kBottomTop = 3,
        kModulate = 10,
        kAnimation = 11,
    };

    explicit GUIProgressBar(XMLNode& node);
    GUIProgressBar(GUIProgressBar const& other);
    ~GUIProgressBar() override;

    GUIWindow* clone() override;
    void setUserId(std::wstring const& id) override;
    void drawShape() override;
    bool hasShape() const override { return true; }
    void drawSelf() override;
    // The bar's parts are its own: children from outside are neither added nor removed.
    bool addChild(GUIWindow* child, bool const& noAddRef, bool const& append) override;
    bool removeChild(GUIWindow* child) override;
    void removeAllChildren() override;
    void copyFromTemplate(GUIWindow* source, int const& mask) override;
    bool shouldDrawChild(unsigned index, GUIWindow* child) override;

    void setValue(float value);
    void addValue(float delta);
    void setRatio(float ratio);
    void setMax(float maximum);
    // value / maximum, snapped to the granularity; not clamped; 0 when the maximum is not above 0.
    float getRatio() const;
    float getValue() const { return value_; }
    float getMax() const { return maximum_; }
    s32 getFillType() const { return fillType_; }
    bool isFull() const { return full_; }
    // The caption part (a label), or null.
    GUILabel* getLabel() const;
    GUIWindow* getProgressPart() const { return part_; }

    // The ratio of value to maximum with granularity g: g x trunc(ratio / g + 0.5), so -0.25
    // with g 0.25 gives 0 (no snapping for g <= 0).
    static float ratioOf(float value, float maximum, float granularity);
    // The fill type of a "TYP" word; `fallback` for other words.
    static s32 fillTypeOf(std::wstring const& word, s32 fallback);
    // The source rectangle cut to the ratio (clamped to [0, 1]) for a fill type; false for
    // types that cut nothing.
    static bool cutSource(RECT& source, s32 fillType, float ratio);

    sigslot::signal2<GUIProgressBar&, float const&> ratioChanged;
    sigslot::signal1<GUIProgressBar&> finished;

private:
    void readParams(XMLNode& params);
    // Options, default state and the child slot of both parts (construction step 10).
    void adoptParts();
    // Emits, clamps and places after a value operation.
    void valueTail();
    void updateBar();
    // The cut-texture drawing of drawSelf.
    void drawCut();

    float maximum_ = 1.0f;
    float value_ = 0.0f;
    bool cutTexture_ = false;
    s32 fillType_ = kLeftRight;
    GUIWindow* part_ = nullptr;
    GUIWindow* label_ = nullptr;
    float granularity_ = 0.0f;
    bool useModulateColor_ = false;
    bool shape_ = false;
    bool onlyOneFinish_ = false;
    bool full_ = false;
};

}  // namespace Orvex
