// The progress bar: value operations with their signals (ratio, finished, only one finish
// message), the granularity, the progress part placed in all six fill types, the cut texture,
// the guarded maximum, and the bar drawn through the device in each direction.
#include <cmath>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiDrawFixture.h"

using Orvex::FRect;
using Orvex::GUIProgressBar;
using Orvex::GUIWindow;
using guitest::GUIFixture;

namespace {

// A bar at (100, 100), 200 x 40, with the given "PROGRESSBAR_PARAMS" attributes.
std::wstring barText(std::wstring const& params, std::wstring const& textures = L"") {
    return L"<WINDOW TYPE=\"PROGRESSBAR\" NAME=\"p\"><WINDOW_PARAMS>"
           L"<GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"100\"/><SIZE X_OFF=\"200\" Y_OFF=\"40\"/></GUIRECT>"
           L"<DRAWOPTIONS MODULATE_COLOR=\"FFFF0000\"/></WINDOW_PARAMS>"
           L"<PROGRESSBAR_PARAMS " +
           params + L">" + textures + L"</PROGRESSBAR_PARAMS></WINDOW>";
}

struct Heard : sigslot::has_slots<> {
    std::vector<std::string> lines;
    void onRatio(GUIProgressBar&, float const& r) {
        char text[32];
        std::snprintf(text, sizeof text, "ratio %.2f", static_cast<double>(r));
        lines.emplace_back(text);
    }
    void onFinished(GUIProgressBar&) { lines.emplace_back("finished"); }
};

class ProgressTest : public GUIFixture {
protected:
    GUIProgressBar* make(std::wstring const& params) {
        GUIWindow* w = guitest::makeWindow(barText(params));
        bar = dynamic_cast<GUIProgressBar*>(w);
        EXPECT_NE(bar, nullptr);
        if (!bar) return nullptr;
        bar->updateRect(false, false);
        bar->ratioChanged.connect(&heard, &Heard::onRatio);
        bar->finished.connect(&heard, &Heard::onFinished);
        return bar;
    }
    void TearDown() override {
        if (bar) bar->release();
        GUIFixture::TearDown();
    }
    FRect part() const { return bar->getProgressPart()->getScreenRect(); }

    GUIProgressBar* bar = nullptr;
    Heard heard;
};

}  // namespace

TEST_F(ProgressTest, ValuesEmitTheRatioThenFinishedThenClamp) {
    ASSERT_TRUE(make(L"MAX_WERT=\"10\" AKT_WERT=\"4\""));
    EXPECT_FLOAT_EQ(part().right - part().left, 80.0f);
    bar->setValue(12);
    EXPECT_EQ(heard.lines, (std::vector<std::string>{"ratio 1.20", "finished"}));
    EXPECT_FLOAT_EQ(bar->getValue(), 10.0f);
    EXPECT_TRUE(bar->isFull());
    EXPECT_FLOAT_EQ(part().right - part().left, 200.0f);
    heard.lines.clear();
    bar->setValue(-3);
    EXPECT_EQ(heard.lines, (std::vector<std::string>{"ratio -0.30"}));
    EXPECT_FLOAT_EQ(bar->getValue(), 0.0f);
    EXPECT_FLOAT_EQ(part().right - part().left, 0.0f);
    bar->addValue(2.5f);
    bar->setRatio(0.5f);
    EXPECT_FLOAT_EQ(bar->getValue(), 5.0f);
    bar->setValue(10);
    EXPECT_TRUE(bar->isFull());
}

TEST(ProgressRatio, SnapsToTheGranularityAndNeverMakesNaN) {
    struct Case {
        char const* what;
        float value, maximum, granularity, expected;
    };
    Case const cases[] = {
        {"plain", 0.3f, 1, 0, 0.3f},
        {"quarter steps down", 0.3f, 1, 0.25f, 0.25f},
        {"quarter steps up", 0.4f, 1, 0.25f, 0.5f},
        {"steps that do not divide 1", 1, 1, 0.3f, 0.9f},
        // g x trunc(r / g + 0.5): the half is added, then cut toward zero.
        {"a negative quarter step: -1 + 0.5 cuts to 0", -0.25f, 1, 0.25f, 0},
        {"negative values within one and a half steps give 0", -0.3f, 1, 0.25f, 0},
        {"further below: -1.8 + 0.5 cuts to -1", -0.45f, 1, 0.25f, -0.25f},
        {"maximum 0", 0, 0, 0, 0},
        {"maximum below 0", 5, -2, 0, 0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(GUIProgressBar::ratioOf(c.value, c.maximum, c.granularity), c.expected, 1e-6);
    }
}

TEST_F(ProgressTest, OnlyOneFinishMessageUntilTheBarEmpties) {
    struct Case {
        char const* params;
        int expected;
    };
    for (Case const c : {Case{"ONLY_1_FINISH_MSG=\"1\"", 2}, Case{"", 3}}) {
        ASSERT_TRUE(make(std::wstring(c.params, c.params + std::strlen(c.params))));
        bar->setValue(1);
        bar->setValue(1);
        bar->setValue(0);
        bar->setValue(1);
        EXPECT_EQ(std::count(heard.lines.begin(), heard.lines.end(), "finished"), c.expected) << c.params;
        heard.lines.clear();
        bar->release();
        bar = nullptr;
    }
}

// The part in each fill type at ratio 0.25 (bar at 100..300 x 100..140). MODULATE's extra pixel
// is taken back by the window's size limit (never larger than the parent, centre kept).
TEST_F(ProgressTest, ThePartGrowsFromEachEdge) {
    struct Case {
        char const* type;
        FRect part;
        double alpha;
    };
    Case const cases[] = {
        {"LEFT_RIGHT", FRect(100, 100, 150, 140), 1},  {"RIGHT_LEFT", FRect(250, 100, 300, 140), 1},
        {"TOP_BOTTOM", FRect(100, 100, 300, 110), 1},  {"BOTTOM_TOP", FRect(100, 130, 300, 140), 1},
        {"MODULATE", FRect(100.5f, 100.5f, 300.5f, 140.5f), 0.25}, {"ANIMATION", FRect(100, 100, 100, 100), 1},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.type);
        ASSERT_TRUE(make(L"AKT_WERT=\"0.25\" TYP=\"" + std::wstring(c.type, c.type + std::strlen(c.type)) + L"\""));
        EXPECT_EQ(part(), c.part);
        EXPECT_DOUBLE_EQ(bar->getProgressPart()->getDrawOptions().alpha, c.alpha);
        bar->release();
        bar = nullptr;
    }
}

// Data that would divide by zero or run past the picture: a maximum of 0 is logged and read as 1;
// a value above the maximum is kept but fills the bar no further than full; MODULATE alpha stays
// at most 1.
TEST_F(ProgressTest, BadNumbersFromDataStaySafe) {
    ASSERT_TRUE(make(L"MAX_WERT=\"0\" AKT_WERT=\"0.5\""));
    EXPECT_EQ(guitest::loggedCount({L"progress bar", L"\"p\"", L"MAX_WERT"}), 1);
    EXPECT_FLOAT_EQ(bar->getMax(), 1.0f);
    EXPECT_FLOAT_EQ(bar->getRatio(), 0.5f);
    bar->setMax(0);
    EXPECT_FLOAT_EQ(bar->getRatio(), 0.0f);
    EXPECT_TRUE(std::isfinite(part().right));
    bar->release();
    ASSERT_TRUE(make(L"MAX_WERT=\"1\" AKT_WERT=\"2\" TYP=\"MODULATE\""));
    EXPECT_TRUE(bar->isFull());
    EXPECT_FLOAT_EQ(bar->getValue(), 2.0f);
    EXPECT_DOUBLE_EQ(bar->getProgressPart()->getDrawOptions().alpha, 1.0);
}

// The source rectangle cut by the ratio, never past its own edges.
TEST(ProgressCut, CutsTheSourceToTheRatioInsideThePicture) {
    struct Case {
        char const* what;
        int type;
        float ratio;
        RECT expected;
    };
    Case const cases[] = {
        {"left to right", GUIProgressBar::kLeftRight, 0.25f, {0, 0, 25, 40}},
        {"right to left keeps the right edge", GUIProgressBar::kRightLeft, 0.25f, {76, 0, 101, 40}},
        {"top to bottom", GUIProgressBar::kTopBottom, 0.5f, {0, 0, 101, 20}},
        {"bottom to top", GUIProgressBar::kBottomTop, 0.5f, {0, 20, 101, 40}},
        {"above the maximum: the whole picture", GUIProgressBar::kLeftRight, 1.7f, {0, 0, 101, 40}},
        {"below zero: nothing", GUIProgressBar::kRightLeft, -0.5f, {101, 0, 101, 40}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        RECT source{0, 0, 101, 40};
        EXPECT_TRUE(GUIProgressBar::cutSource(source, c.type, c.ratio));
        EXPECT_EQ(source.left, c.expected.left);
        EXPECT_EQ(source.top, c.expected.top);
        EXPECT_EQ(source.right, c.expected.right);
        EXPECT_EQ(source.bottom, c.expected.bottom);
    }
    RECT source{0, 0, 10, 10};
    EXPECT_FALSE(GUIProgressBar::cutSource(source, GUIProgressBar::kModulate, 0.5f));
}

TEST_F(ProgressTest, ChildrenFromOutsideAreRefusedAndClonesKeepTheirParts) {
    ASSERT_TRUE(make(L"ONLY_1_FINISH_MSG=\"1\" AKT_WERT=\"0.5\""));
    GUIWindow* other = guitest::makeBox(L"fremd", 0, 0, 10, 10);
    EXPECT_FALSE(bar->addChild(other, false, true));
    EXPECT_FALSE(bar->removeChild(bar->getLabel()));
    other->release();
    bar->removeAllChildren();
    EXPECT_EQ(bar->getChildren().size(), 2u);
    GUIWindow* copy = bar->clone();
    auto* twin = dynamic_cast<GUIProgressBar*>(copy);
    ASSERT_NE(twin, nullptr);
    twin->updateRect(false, false);
    EXPECT_FLOAT_EQ(twin->getProgressPart()->getScreenRect().right, 200.0f);
    Heard twinHeard;
    twin->finished.connect(&twinHeard, &Heard::onFinished);
    twin->setValue(1);
    twin->setValue(1);
    EXPECT_EQ(twinHeard.lines.size(), 2u);  // the clone starts without only-one-finish
    copy->release();
}

namespace {

class ProgressDraw : public guitest::GuiDrawFixture {};

}  // namespace

// Drawn through the device at ratio 0.25 in a 100 x 40 bar at (10, 10) (not clipping, as the bar
// has no picture of its own to clip to): the part where the ratio puts it, squeezed or cut, in
// each direction.
TEST_F(ProgressDraw, EachDirectionFillsItsQuarter) {
    struct Case {
        char const* type;
        char const* cut;
        unsigned x0, y0, x1, y1;
    };
    Case const cases[] = {
        {"LEFT_RIGHT", "0", 10, 10, 35, 50}, {"RIGHT_LEFT", "0", 85, 10, 110, 50},
        {"TOP_BOTTOM", "0", 10, 10, 110, 20}, {"BOTTOM_TOP", "0", 10, 40, 110, 50},
        {"LEFT_RIGHT", "1", 10, 10, 35, 50}, {"BOTTOM_TOP", "1", 10, 40, 110, 50},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " cut " + c.cut);
        std::wstring const type(c.type, c.type + std::strlen(c.type));
        std::wstring const cut(c.cut, c.cut + std::strlen(c.cut));
        GUIWindow* w = guitest::makeWindow(
            L"<WINDOW TYPE=\"PROGRESSBAR\" NAME=\"p\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"10\" Y_OFF=\"10\"/>"
            L"<SIZE X_OFF=\"100\" Y_OFF=\"40\"/></GUIRECT><DRAWOPTIONS MODULATE_COLOR=\"FFFF0000\"/></WINDOW_PARAMS>"
            L"<PROGRESSBAR_PARAMS DRAW_IN_CLIENT_ONLY=\"0\" AKT_WERT=\"0.25\" TYP=\"" +
            type + L"\" CUT_TEXTURE=\"" + cut + L"\"><TEXTURES_2D_PROGRESS TEX_NORMAL=\"gui_white\"/>"
            L"</PROGRESSBAR_PARAMS></WINDOW>");
        w->updateRect(false, false);
        std::vector<uint32_t> const pixels = frame(*w);
        int const area = static_cast<int>((c.x1 - c.x0) * (c.y1 - c.y0));
        // Cut drawing uses the drawer's white, squeezed drawing the part's copied red.
        uint32_t const colour = c.cut[0] == '1' ? 0xFFFFFFFF : 0xFFFF0000;
        EXPECT_EQ(count(pixels, colour, c.x0, c.y0, c.x1, c.y1), area);
        EXPECT_EQ(count(pixels, kClear), static_cast<int>(kWidth * kHeight) - area);
        w->release();
    }
}

TEST_F(ProgressDraw, ModulateFadesThePartInByTheRatio) {
    GUIWindow* w = guitest::makeWindow(
        L"<WINDOW TYPE=\"PROGRESSBAR\" NAME=\"p\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"10\" Y_OFF=\"10\"/>"
        L"<SIZE X_OFF=\"100\" Y_OFF=\"40\"/></GUIRECT><DRAWOPTIONS MODULATE_COLOR=\"FFFFFFFF\"/></WINDOW_PARAMS>"
        L"<PROGRESSBAR_PARAMS DRAW_IN_CLIENT_ONLY=\"0\" AKT_WERT=\"0.5\" TYP=\"MODULATE\"><TEXTURES_2D_PROGRESS TEX_NORMAL=\"gui_white\"/>"
        L"</PROGRESSBAR_PARAMS></WINDOW>");
    w->updateRect(false, false);
    std::vector<uint32_t> const pixels = frame(*w);
    uint32_t const grey = at(pixels, 50, 30);
    EXPECT_NEAR(static_cast<int>(grey & 0xFF), 128, 3) << std::hex << grey;
    w->release();
}
