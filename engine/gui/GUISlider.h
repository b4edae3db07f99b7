// The slider: a float value within a range, shown by a knob window ("SLIDER_INNEN") that moves
// along a track window ("SLIDER_AUSSEN"), with optional step buttons ("BUTTON_LEFT",
// "BUTTON_RIGHT") and a value label. Dragging the knob, the buttons and code all set the value
// through one rule: clamp to [minimum, maximum], snap to the granularity ("GRANULARITAET"),
// emit valueChanged when it changed, place the knob.
//
// Snapping rounds halves up for negative values as well (floor, not truncation), and a snapped
// value that would leave the range steps back one granule inside it (or takes the bound when
// the range is narrower than a granule). A knob as long as the track, or a range of zero width,
// places the knob at the track's start instead of dividing by zero.
//
// GUISlider.cpp: construction, parts and templates; GUISlider_value.cpp: value, drag, placing.
#pragma once

#include "engine/gui/GUIWindow.h"

namespace Orvex {

class GUILabel;

class GUISlider : public GUIWindow {
public:
    static constexpr float kDefaultMinimum = 0.0f;
    static constexpr float kDefaultMaximum = 10.0f;
    static constexpr float kDefaultValue = 5.0f;
    static constexpr float kDefaultStep = 3.0f;

    explicit GUISlider(XMLNode& node);
    // Copies the settings and the parts (buttons and label copied, knob and track cloned); adds
    // no child and connects no knob or track handler.
    GUISlider(GUISlider const& other);
    ~GUISlider() override;

    GUIWindow* clone() override;
    // The id goes to the parts; the slider keeps its own.
    void setUserId(std::wstring const& id) override;
    // A slider's parts are its own: children from outside are refused.
    bool addChild(GUIWindow* child, bool const& noAddRef, bool const& append) override;
    void removeAllChildren() override {}
    void update(double const& dt) override;
    // From a slider template also clones the buttons and label this slider lacks (they work as
    // if read: buttons step, the label is placed), copies each part from the template's, and
    // with "OPTIONS" or a cloned part arranges the parts again.
    void copyFromTemplate(GUIWindow* source, int const& mask) override;

    void setValue(float const& value);
    void setRange(float const& minimum, float const& maximum);
    float getValue() const { return value_; }
    float getMinimum() const { return minimum_; }
    float getMaximum() const { return maximum_; }
    float getGranularity() const { return granularity_; }
    // The caption part (a label), or null.
    GUILabel* getLabel() const;
    GUIWindow* getKnob() const { return knob_; }
    GUIWindow* getTrack() const { return track_; }
    GUIWindow* getLeftButton() const { return leftButton_; }
    GUIWindow* getRightButton() const { return rightButton_; }
    bool isHorizontal() const { return horizontal_; }

    // The clamped and snapped value for a request (the value rule without its effects).
    static float ruleValue(float requested, float minimum, float maximum, float granularity);
    // The knob's share of the free length: (knob - track start) / (track length - knob length),
    // 0 when the knob is as long as the track or longer.
    static float dragRatio(float knobStart, float trackStart, float trackLength, float knobLength);

    sigslot::signal2<GUISlider&, float const&> valueChanged;

private:
    void readParams(XMLNode& params);
    // Connects the handlers and hangs the parts together (construction steps 3 to 10).
    void assembleParts();
    // Buttons and track by show-buttons and alternate mode.
    void arrangeParts();
    // With show label: the label's options, and the label under the knob or the track.
    void placeLabel();
    // With show buttons: left button, right button and track first among the children, in
    // that order (the layout docks the buttons before the track fills the rest).
    void orderParts();
    void connectButton(GUIWindow* button);
    void onStepClicked(GUIWindow& button);
    void onKnobMoved(GUIWindow& knob);
    void onTrackRectChanged(GUIWindow& track);
    void placeKnob();
    // Adds a part through the window's own addChild (the slider's own refuses).
    void adopt(GUIWindow* parent, GUIWindow* part, bool append);

    GUIWindow* leftButton_ = nullptr;
    GUIWindow* rightButton_ = nullptr;
    GUIWindow* track_ = nullptr;
    GUIWindow* knob_ = nullptr;
    GUIWindow* label_ = nullptr;
    bool showButtons_ = false;
    bool showLabel_ = false;
    bool labelOnKnob_ = false;
    bool useLoadedLabelPos_ = false;
    float minimum_ = kDefaultMinimum;
    float maximum_ = kDefaultMaximum;
    float value_ = kDefaultValue;
    float step_ = kDefaultStep;
    bool alternateMode_ = false;
    GUIRectAxis knobPosition_;
    bool horizontal_ = true;
    float granularity_ = -1.0f;
    bool placing_ = false;  // placeKnob's own rectangle changes do not place again
};

}  // namespace Orvex
