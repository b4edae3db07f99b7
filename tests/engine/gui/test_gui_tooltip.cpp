// The tooltip driven through the GUI system by injected pointer movement and frame updates:
// the delay on the hovered window's active time, the place beside the pointer, resting and
// following, own delays of records, fixed positions, keeping inside the screen, and the texts.
// No device: labels measure nothing, so a tooltip is its size offset large.
#include <gtest/gtest.h>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUITooltipParam.h"
#include "tests/engine/gui/GUIFixture.h"

namespace {

using namespace Orvex;

// A target window at (100, 100)-(300, 200) with one tooltip record, and a tooltip whose
// TOOLTIP_PARAMS attributes are given.
std::wstring screen(std::wstring const& tooltipParams, std::wstring const& record = L"TEXT=\"Hallo\"") {
    return L"<GUI>"
           L"<WINDOW NAME=\"ziel\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"100\"/>"
           L"<SIZE X_OFF=\"200\" Y_OFF=\"100\"/></GUIRECT><TOOLTIP " + record + L"/></WINDOW_PARAMS></WINDOW>"
           L"<WINDOW NAME=\"leer\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"400\" Y_OFF=\"100\"/>"
           L"<SIZE X_OFF=\"100\" Y_OFF=\"100\"/></GUIRECT></WINDOW_PARAMS></WINDOW>"
           L"<WINDOW NAME=\"tip\" TYPE=\"TOOLTIP\"><WINDOW_PARAMS ANIMATION_GOAL=\"AUS\">"
           L"<GUIRECT><POS_TL/><SIZE X_OFF=\"10\" Y_OFF=\"10\"/></GUIRECT><OPTIONS INPUT_IGNORE=\"3\"/>"
           L"<DRAWOPTIONS EBENE=\"100\"/>"
           L"<ANIMATION_GOAL NAME=\"AN\" INTERPOLATE_GUIRECTS=\"0\" INTERPOLATE_OPTIONS=\"0\"><DRAWOPTIONS EBENE=\"100\" ALPHA=\"1\"/></ANIMATION_GOAL>"
           L"<ANIMATION_GOAL NAME=\"AUS\" INTERPOLATE_GUIRECTS=\"0\" INTERPOLATE_OPTIONS=\"0\"><DRAWOPTIONS EBENE=\"100\" ALPHA=\"0\"/></ANIMATION_GOAL>"
           L"</WINDOW_PARAMS><TOOLTIP_PARAMS LABEL=\"tip_text\" " + tooltipParams + L"/>"
           L"<WINDOW NAME=\"tip_text\" TYPE=\"LABEL\"/></WINDOW></GUI>";
}

class Tooltip : public guitest::GUIFixture {
protected:
    void load(std::wstring const& tooltipParams, std::wstring const& record = L"TEXT=\"Hallo\"") {
        guitest::loadText(screen(tooltipParams, record));
        tip = dynamic_cast<GUITooltip*>(gui.findWindow(L"tip"));
        ASSERT_NE(tip, nullptr);
        ASSERT_EQ(gui.getTooltips().size(), 1u);
    }
    void move(float x, float y) {
        MouseState s = guitest::mouseAt(x, y);
        gui.onMouseMove(s, OA_MOUSE_X);
    }
    void step(double dt) { gui.update(dt); }
    FRect rect() const { return tip->getScreenRect(); }

    GUITooltip* tip = nullptr;
};

TEST_F(Tooltip, ShowsAfterTheDelayBesideTheRestingPointerAndHidesWhenItLeavesTheRestPoint) {
    load(L"");
    move(150, 150);
    EXPECT_EQ(tip->getTarget(), gui.findWindow(L"ziel"));
    step(0.6);
    EXPECT_FALSE(tip->isShown());
    step(0.5);
    ASSERT_TRUE(tip->isShown()) << "1.1 s after the pointer came to rest";
    EXPECT_EQ(tip->getLabel()->getText(), L"Hallo");
    EXPECT_FLOAT_EQ(rect().left, 200.0f) << "50 pixels right of the pointer";
    EXPECT_FLOAT_EQ(rect().top, 200.0f) << "and 50 below";
    EXPECT_FLOAT_EQ(rect().right - rect().left, 20.0f) << "the size offset around an unmeasured text";

    move(152, 153);
    EXPECT_TRUE(tip->isShown()) << "a small movement keeps it";
    EXPECT_FLOAT_EQ(rect().left, 202.0f) << "and it follows the pointer";
    move(155, 154);
    EXPECT_FALSE(tip->isShown()) << "5 pixels from the rest point hide it";
    step(0.9);
    EXPECT_FALSE(tip->isShown()) << "the delay is armed again";
    step(0.2);
    EXPECT_TRUE(tip->isShown());
}

TEST_F(Tooltip, LeavingForAWindowWithoutRecordsHidesIt) {
    load(L"");
    move(150, 150);
    step(1.2);
    ASSERT_TRUE(tip->isShown());
    move(450, 150);
    step(0.1);
    EXPECT_FALSE(tip->isShown());
    EXPECT_EQ(tip->getParam(), nullptr);
    move(700, 500);
    EXPECT_EQ(tip->getTarget(), nullptr);
}

struct DelayCase {
    wchar_t const* params;
    wchar_t const* record;
    double hiddenAt;
    double shownAt;
};

class TooltipDelay : public Tooltip, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(TooltipDelay, OwnDelayOfTheRecordOrTheTooltips) {
    DelayCase const& c = GetParam();
    load(c.params, c.record);
    move(150, 150);
    if (c.hiddenAt > 0.0) {
        step(c.hiddenAt);
        EXPECT_FALSE(tip->isShown());
    }
    step(c.shownAt);
    EXPECT_TRUE(tip->isShown());
}

INSTANTIATE_TEST_SUITE_P(Cases, TooltipDelay,
                         ::testing::Values(DelayCase{L"", L"TEXT=\"a\" TIMER=\"0\"", 0.0, 0.01},
                                           DelayCase{L"TIMER=\"2\"", L"TEXT=\"a\"", 1.5, 0.6},
                                           DelayCase{L"TIMER=\"2\"", L"TEXT=\"a\" TIMER=\"-1\"", 1.9, 0.2},
                                           DelayCase{L"TIMER=\"2\"", L"TEXT=\"a\" TIMER=\"0.5\"", 0.4, 0.2}));

TEST_F(Tooltip, WithoutOnlyStaticItShowsOnceThePointerStoodStillAndThenFollows) {
    load(L"ONLY_STATIC=\"0\"");
    move(150, 150);
    for (int i = 0; i < 5; ++i) {
        step(0.5);
        move(150.0f + 10.0f * static_cast<float>(i), 150);
    }
    EXPECT_FALSE(tip->isShown()) << "every movement re-arms the delay";
    step(1.1);
    ASSERT_TRUE(tip->isShown());
    move(180, 160);
    EXPECT_TRUE(tip->isShown());
    EXPECT_FLOAT_EQ(rect().left, 230.0f);
}

TEST_F(Tooltip, StaticPositionKeepsThePlaceOfTheFileAndStaticSizeFixesEachSide) {
    load(L"STATIC_POSITION=\"1\" STATIC_SIZE=\"0 1\"");
    move(150, 150);
    step(1.1);
    ASSERT_TRUE(tip->isShown());
    EXPECT_FLOAT_EQ(rect().left, 0.0f);
    EXPECT_FLOAT_EQ(rect().top, 0.0f);
    EXPECT_FLOAT_EQ(rect().right - rect().left, 20.0f) << "the width follows the text";
    EXPECT_FLOAT_EQ(rect().bottom - rect().top, 10.0f) << "the height stays the file's";
}

TEST_F(Tooltip, NearTheRightAndBottomEdgesItStaysOnTheScreen) {
    guitest::loadText(L"<GUI><WINDOW NAME=\"ecke\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"700\" Y_OFF=\"500\"/>"
                      L"<SIZE X_OFF=\"100\" Y_OFF=\"100\"/></GUIRECT><TOOLTIP TEXT=\"x\"/></WINDOW_PARAMS></WINDOW></GUI>");
    load(L"");
    move(790, 590);
    step(1.1);
    ASSERT_TRUE(tip->isShown());
    EXPECT_FLOAT_EQ(rect().right, 800.0f) << "flush with the screen's right edge";
    EXPECT_FLOAT_EQ(rect().bottom, 600.0f);
}

class TextHook : public sigslot::has_slots<> {
public:
    std::wstring replacement;
    void rewrite(GUIWindow&, GUITooltipParam&, std::wstring& text) {
        if (!replacement.empty()) text = replacement;
    }
};

TEST_F(Tooltip, TheTextHookRewritesAShownText) {
    load(L"");
    TextHook hook;
    GUIWindow* target = gui.findWindow(L"ziel");
    target->getFirstTooltipParam()->textHook.connect(&hook, &TextHook::rewrite);
    move(150, 150);
    step(1.1);
    ASSERT_TRUE(tip->isShown());
    hook.replacement = L"Neu: 100% %s %n";
    step(0.01);
    EXPECT_EQ(tip->getLabel()->getText(), L"Neu: 100% %s %n") << "texts are data, shown as they stand";
}

TEST_F(Tooltip, DisabledRecordsAndEmptyTextsShowNothing) {
    for (wchar_t const* record : {L"TEXT=\"a\" ENABLED=\"0\"", L"TEXT=\"\"", L"TEXT_ID=\"GIBT_ES_NICHT\""}) {
        gui.clear();
        load(L"", record);
        move(150, 150);
        step(2.0);
        EXPECT_FALSE(tip->isShown()) << std::wstring(record);
        EXPECT_EQ(tip->getParam(), nullptr);
    }
}

TEST_F(Tooltip, AMissingLabelLeavesATooltipThatNeverShows) {
    gui.clear();
    guitest::loadText(L"<GUI><WINDOW NAME=\"ziel\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"100\" Y_OFF=\"100\"/></GUIRECT>"
                      L"<TOOLTIP TEXT=\"a\"/></WINDOW_PARAMS></WINDOW>"
                      L"<WINDOW NAME=\"tip\" TYPE=\"TOOLTIP\"><TOOLTIP_PARAMS LABEL=\"fehlt\"/></WINDOW></GUI>");
    auto* t = dynamic_cast<GUITooltip*>(gui.findWindow(L"tip"));
    ASSERT_NE(t, nullptr);
    move(50, 50);
    step(2.0);
    EXPECT_FALSE(t->isShown());
    EXPECT_EQ(t->getLabel(), nullptr);
}

TEST_F(Tooltip, TheSameRecordContentKeepsARunningDelayAcrossTargets) {
    gui.clear();
    guitest::loadText(L"<GUI><WINDOW NAME=\"a\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"100\" Y_OFF=\"100\"/></GUIRECT>"
                      L"<TOOLTIP TEXT=\"gleich\" TOOLTIP_ID=\"3\"/></WINDOW_PARAMS></WINDOW>"
                      L"<WINDOW NAME=\"b\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"102\"/><SIZE X_OFF=\"100\" Y_OFF=\"100\"/></GUIRECT>"
                      L"<TOOLTIP TEXT=\"gleich\" TOOLTIP_ID=\"3\"/></WINDOW_PARAMS></WINDOW></GUI>");
    load(L"TOOLTIP_ID=\"3\" ONLY_STATIC_MAX_DIST=\"50\"");
    move(99, 50);
    step(0.8);
    double const threshold = tip->getThreshold();
    move(103, 50);
    EXPECT_EQ(tip->getTarget(), gui.findWindow(L"b"));
    EXPECT_DOUBLE_EQ(tip->getThreshold(), threshold) << "not armed again";
}

}  // namespace
