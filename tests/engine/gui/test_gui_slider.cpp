// The slider: the value rule (clamping, snapping to the granularity, the signal), the step
// buttons, dragging the knob through the GUI system's mouse routing, the knob's place on the
// track, the degenerate ranges and knobs, and the knob drawn through the device.
#include <cmath>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISlider.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiDrawFixture.h"

using Orvex::GUISlider;
using Orvex::GUIWindow;
using guitest::GUIFixture;
using guitest::mouseAt;

namespace {

// A slider at (100, 100), 200 x 20: buttons of 20 x 20 docked left and right by the slider's
// fill layout, the track filling the 160 pixels between them, a knob of 20 x 20.
std::wstring sliderText(std::wstring const& params, std::wstring const& knobSize = L"X_OFF=\"20\" Y_OFF=\"20\"") {
    return L"<WINDOW TYPE=\"SLIDER\" NAME=\"s\"><WINDOW_PARAMS>"
           L"<GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"100\"/><SIZE X_OFF=\"200\" Y_OFF=\"20\"/></GUIRECT>"
           L"<OPTIONS LAYOUTMANAGER=\"DEFAULT\"/></WINDOW_PARAMS>"
           L"<SLIDER_PARAMS SHOW_BUTTONS=\"1\" " +
           params +
           L">"
           L"<BUTTON_LEFT NAME=\"links\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"20\" Y_OFF=\"20\"/></GUIRECT>"
           L"</WINDOW_PARAMS></BUTTON_LEFT>"
           L"<BUTTON_RIGHT NAME=\"rechts\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"20\" Y_OFF=\"20\"/></GUIRECT>"
           L"</WINDOW_PARAMS></BUTTON_RIGHT>"
           L"<SLIDER_INNEN NAME=\"knauf\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE " +
           knobSize +
           L"/></GUIRECT>"
           L"<DRAWOPTIONS TEX_NORMAL=\"gui_white\" MODULATE_COLOR=\"FFFF0000\"/></WINDOW_PARAMS></SLIDER_INNEN>"
           L"<SLIDER_AUSSEN NAME=\"bahn\"><WINDOW_PARAMS>"
           L"<DRAWOPTIONS TEX_NORMAL=\"gui_white\" MODULATE_COLOR=\"FF0000FF\"/></WINDOW_PARAMS></SLIDER_AUSSEN>"
           L"</SLIDER_PARAMS></WINDOW>";
}

struct Values : sigslot::has_slots<> {
    std::vector<float> heard;
    void onValue(GUISlider&, float const& v) { heard.push_back(v); }
};

class SliderTest : public GUIFixture {
protected:
    void make(std::wstring const& params, std::wstring const& knobSize = L"X_OFF=\"20\" Y_OFF=\"20\"") {
        slider = dynamic_cast<GUISlider*>(guitest::makeWindow(sliderText(params, knobSize)));
        ASSERT_NE(slider, nullptr);
        gui.addWindow(slider);
        slider->updateRect(false, false);
        slider->valueChanged.connect(&values, &Values::onValue);
    }
    void TearDown() override {
        gui.clear();
        if (slider) slider->release();
        GUIFixture::TearDown();
    }
    void click(float x, float y) {
        GUIFixture::click(x, y);
        gui.update(0.0);
    }
    void drag(float x0, float x1, float y) { GUIFixture::drag(x0, y, x1, y, Orvex::OA_MOUSE_X); }
    float knobLeft() const { return slider->getKnob()->getScreenRect().left; }

    GUISlider* slider = nullptr;
    Values values;
};

}  // namespace

// The rule alone: clamp, then the nearest multiple of the granularity inside the range, halves
// up on both sides of zero.
TEST(SliderRule, ClampsAndSnapsInsideTheRange) {
    struct Case {
        char const* what;
        float requested, minimum, maximum, granularity, expected;
    };
    Case const cases[] = {
        {"no snapping", 4.3f, 0, 10, -1, 4.3f},
        {"clamped above", 12, 0, 10, -1, 10},
        {"minimum above maximum: the minimum wins", 5, 8, 2, -1, 8},
        {"snapped, half up", 5, 0, 10, 2, 6},
        {"snapping would pass the maximum: one granule back", 9, 0, 9, 2, 8},
        {"snapping would pass the minimum: one granule on", 1, 1, 10, 2, 2},
        {"negative values round to the nearest multiple", -3.4f, -10, 10, 2, -4},
        {"negative half rounds up", -3, -10, 10, 2, -2},
        {"range narrower than a granule keeps the clamped value", 1.4f, 1.2f, 1.6f, 2, 1.4f},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FLOAT_EQ(GUISlider::ruleValue(c.requested, c.minimum, c.maximum, c.granularity), c.expected);
    }
}

TEST(SliderRule, AKnobAsLongAsTheTrackHasNoRatio) {
    EXPECT_FLOAT_EQ(GUISlider::dragRatio(30, 10, 100, 50), 0.4f);
    EXPECT_FLOAT_EQ(GUISlider::dragRatio(10, 10, 100, 100), 0.0f);
    EXPECT_FLOAT_EQ(GUISlider::dragRatio(10, 10, 100, 120), 0.0f);
}

// Defaults: [0, 10], value 5, step 3; the right button gives 8, 10, then 10 with no signal.
TEST_F(SliderTest, StepButtonsMoveTheValueByTheStep) {
    make(L"");
    EXPECT_FLOAT_EQ(slider->getValue(), 5.0f);
    EXPECT_FLOAT_EQ(knobLeft(), 120.0f + 0.5f * 140.0f);
    for (int i = 0; i < 3; ++i) click(290, 110);
    EXPECT_EQ(values.heard, (std::vector<float>{8, 10}));
    EXPECT_FLOAT_EQ(knobLeft(), 120.0f + 140.0f);
    click(110, 110);
    EXPECT_FLOAT_EQ(slider->getValue(), 7.0f);
    // The buttons stayed docked at the ends though clicking brought each to the front.
    EXPECT_FLOAT_EQ(slider->getLeftButton()->getScreenRect().left, 100.0f);
    EXPECT_FLOAT_EQ(slider->getRightButton()->getScreenRect().left, 280.0f);
}

// Dragging the knob through the GUI system: to the far end the maximum, to the start the minimum,
// in between snapped to the granularity with the knob on the snapped place.
TEST_F(SliderTest, DraggingTheKnobSetsTheValue) {
    make(L"GRANULARITAET=\"2\"");
    EXPECT_FLOAT_EQ(slider->getValue(), 6.0f);  // 5 snapped at construction
    float const centre = knobLeft() + 10.0f;
    drag(centre, centre + 400.0f, 110);
    EXPECT_FLOAT_EQ(slider->getValue(), 10.0f);
    EXPECT_FLOAT_EQ(knobLeft(), 260.0f);
    drag(270, 0, 110);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.0f);
    EXPECT_FLOAT_EQ(knobLeft(), 120.0f);
    drag(130, 130 + 0.33f * 140.0f, 110);  // 3.3 snaps to 4
    EXPECT_FLOAT_EQ(slider->getValue(), 4.0f);
    EXPECT_FLOAT_EQ(knobLeft(), 120.0f + 0.4f * 140.0f);
    EXPECT_EQ(values.heard, (std::vector<float>{10, 0, 4}));
}

TEST_F(SliderTest, SetRangeClampsOnceAndEmptyRangesRestTheKnobAtTheStart) {
    make(L"VALUE_RANGE=\"4\"");
    EXPECT_FLOAT_EQ(slider->getMinimum(), 4.0f);
    EXPECT_FLOAT_EQ(slider->getMaximum(), 4.0f);
    EXPECT_FLOAT_EQ(slider->getValue(), 4.0f);
    EXPECT_FLOAT_EQ(knobLeft(), 120.0f);
    drag(130, 200, 110);
    EXPECT_FLOAT_EQ(slider->getValue(), 4.0f);
    EXPECT_TRUE(std::isfinite(knobLeft()));
    slider->setRange(0, 1);
    EXPECT_EQ(values.heard, (std::vector<float>{1}));
    EXPECT_FLOAT_EQ(knobLeft(), 260.0f);
}

// A knob as long as the track: dragging it gives the minimum, never a NaN place.
TEST_F(SliderTest, AKnobAsLongAsTheTrackStaysFinite) {
    make(L"", L"X_REL=\"1\" Y_OFF=\"20\"");
    EXPECT_FLOAT_EQ(slider->getKnob()->getScreenRect().right - knobLeft(), 160.0f);
    drag(200, 250, 110);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.0f);
    EXPECT_FLOAT_EQ(knobLeft(), 120.0f);
}

TEST_F(SliderTest, ChildrenFromOutsideAreRefusedAndClonesWork) {
    make(L"VERTICAL=\"0\"");
    GUIWindow* other = guitest::makeBox(L"fremd", 0, 0, 10, 10);
    EXPECT_FALSE(slider->addChild(other, false, true));
    other->release();
    GUIWindow* copy = slider->clone();
    auto* twin = dynamic_cast<GUISlider*>(copy);
    ASSERT_NE(twin, nullptr);
    gui.addWindow(twin);
    twin->updateRect(false, false);
    twin->setValue(10);
    EXPECT_FLOAT_EQ(twin->getKnob()->getScreenRect().left, 260.0f);
    EXPECT_EQ(twin->getKnob()->getParent(), twin->getTrack());
    copy->release();
}

// A slider showing its value without a "LABEL" element makes its own label over the track; it is
// disabled (drawn in its disabled style) and hands the pointer on, so the knob still drags.
TEST_F(SliderTest, AShownLabelIsMadeOverTheTrack) {
    make(L"SHOW_LABEL=\"1\"");
    Orvex::GUILabel* label = slider->getLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getName(), L"s_LABEL");
    EXPECT_EQ(label->getParent(), slider->getTrack());
    EXPECT_FALSE(label->isEnabled());
    EXPECT_EQ(label->getScreenRect(), slider->getTrack()->getScreenRect());
    float const centre = knobLeft() + 10.0f;
    drag(centre, centre + 400.0f, 110);
    EXPECT_FLOAT_EQ(slider->getValue(), 10.0f);
}

// A bare slider copied from a slider template with buttons and a shown label clones them as
// working parts: the buttons docked at the ends step the value, the label lies over the track.
TEST_F(SliderTest, ATemplateGivesTheButtonsAndLabelTheSliderLacks) {
    GUIWindow* source = guitest::makeWindow(sliderText(L"SHOW_LABEL=\"1\""));
    ASSERT_NE(source, nullptr);
    slider = dynamic_cast<GUISlider*>(guitest::makeWindow(
        L"<WINDOW TYPE=\"SLIDER\" NAME=\"t\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"100\"/>"
        L"<SIZE X_OFF=\"200\" Y_OFF=\"20\"/></GUIRECT><OPTIONS LAYOUTMANAGER=\"DEFAULT\"/></WINDOW_PARAMS></WINDOW>"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->getLeftButton(), nullptr);
    slider->copyFromTemplate(source, Orvex::kCopyOptions);
    source->release();
    ASSERT_NE(slider->getLeftButton(), nullptr);
    ASSERT_NE(slider->getRightButton(), nullptr);
    ASSERT_NE(slider->getLabel(), nullptr);
    EXPECT_EQ(slider->getLabel()->getParent(), slider->getTrack());
    gui.addWindow(slider);
    slider->updateRect(false, false);
    slider->valueChanged.connect(&values, &Values::onValue);
    EXPECT_FLOAT_EQ(slider->getRightButton()->getScreenRect().left, 280.0f);
    click(290, 110);
    click(110, 110);
    click(110, 110);
    EXPECT_EQ(values.heard, (std::vector<float>{8, 5, 2}));
}

namespace {

class SliderDraw : public guitest::GuiDrawFixture {};

}  // namespace

// The knob is drawn where the value puts it, over the track.
TEST_F(SliderDraw, TheKnobIsDrawnAtItsValue) {
    GUIWindow* w = guitest::makeWindow(
        L"<WINDOW TYPE=\"SLIDER\" NAME=\"s\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"10\" Y_OFF=\"10\"/>"
        L"<SIZE X_OFF=\"100\" Y_OFF=\"10\"/></GUIRECT></WINDOW_PARAMS><SLIDER_PARAMS VALUE_RANGE=\"0 1\" VALUE=\"0\">"
        L"<SLIDER_INNEN><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"10\" Y_OFF=\"10\"/></GUIRECT>"
        L"<DRAWOPTIONS TEX_NORMAL=\"gui_white\" MODULATE_COLOR=\"FFFF0000\"/></WINDOW_PARAMS></SLIDER_INNEN>"
        L"<SLIDER_AUSSEN><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT>"
        L"<DRAWOPTIONS TEX_NORMAL=\"gui_white\" MODULATE_COLOR=\"FF0000FF\"/></WINDOW_PARAMS></SLIDER_AUSSEN>"
        L"</SLIDER_PARAMS></WINDOW>");
    auto* s = dynamic_cast<GUISlider*>(w);
    ASSERT_NE(s, nullptr);
    s->updateRect(false, false);
    struct Case {
        float value;
        unsigned knobX;
    };
    for (Case const c : {Case{0.0f, 10}, Case{0.5f, 55}, Case{1.0f, 100}}) {
        s->setValue(c.value);
        std::vector<uint32_t> const pixels = frame(*s);
        EXPECT_EQ(count(pixels, 0xFFFF0000, c.knobX, 10, c.knobX + 10, 20), 100) << c.value;
        EXPECT_EQ(count(pixels, 0xFFFF0000), 100) << c.value;
        EXPECT_EQ(count(pixels, 0xFF0000FF, 10, 10, 110, 20), 900) << c.value;
    }
    w->release();
}
