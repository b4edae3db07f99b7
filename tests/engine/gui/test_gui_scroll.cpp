// The scroll panel through the GUI system's mouse routing: button steps, the wheel, thumb drags
// (with the raster), animated scrolling, gap closing, auto scroll, auto focus, children added
// to a scrolled panel, a list filled under a held layout, bad bar sizes, and the content clipped
// to the panel on the device.
#include <algorithm>
#include <cmath>

#include "engine/gui/GUIScrollPanel.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiDrawFixture.h"

using Orvex::FRect;
using Orvex::GUIScrollPanel;
using Orvex::GUIWindow;
using guitest::GUIFixture;
using guitest::mouseAt;

namespace {

std::wstring box(std::wstring const& name, int x, int y, int w, int h) {
    return L"<WINDOW NAME=\"" + name + L"\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"" + std::to_wstring(x) +
           L"\" Y_OFF=\"" + std::to_wstring(y) + L"\"/><SIZE X_OFF=\"" + std::to_wstring(w) + L"\" Y_OFF=\"" +
           std::to_wstring(h) + L"\"/></GUIRECT><MAX_SIZE X_REL=\"-1\" Y_REL=\"-1\"/></WINDOW_PARAMS></WINDOW>";
}

// A window of code for the content, free of the default limit to its parent's size.
GUIWindow* contentBox(std::wstring const& name, float x, float y, float w, float h) {
    GUIWindow* window = guitest::makeBox(name, x, y, w, h);
    window->getMaxSize() = Orvex::GUIRectAxis{-1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    return window;
}

// A panel at (100, 100), 200 x 200, default bars (50 pixels), with the given parameters and
// content elements.
std::wstring panelText(std::wstring const& params, std::wstring const& content, std::wstring const& inner = L"") {
    return L"<WINDOW TYPE=\"SCROLL_PANEL\" NAME=\"sp\"><WINDOW_PARAMS>"
           L"<GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"100\"/><SIZE X_OFF=\"200\" Y_OFF=\"200\"/></GUIRECT>"
           L"</WINDOW_PARAMS><SCROLL_PANEL_PARAMS " +
           params + L">" + inner + L"</SCROLL_PANEL_PARAMS>" + content + L"</WINDOW>";
}

struct ScrollsHeard : sigslot::has_slots<> {
    std::vector<std::string> lines;
    void watch(GUIScrollPanel& p) {
        p.scrolledUp.connect(this, &ScrollsHeard::up);
        p.scrolledDown.connect(this, &ScrollsHeard::down);
        p.scrolledLeft.connect(this, &ScrollsHeard::left);
        p.scrolledRight.connect(this, &ScrollsHeard::right);
        p.scrolledVertically.connect(this, &ScrollsHeard::vertical);
        p.scrolledHorizontally.connect(this, &ScrollsHeard::horizontal);
        p.scrolled.connect(this, &ScrollsHeard::any);
    }
    void up(GUIScrollPanel&) { lines.emplace_back("up"); }
    void down(GUIScrollPanel&) { lines.emplace_back("down"); }
    void left(GUIScrollPanel&) { lines.emplace_back("left"); }
    void right(GUIScrollPanel&) { lines.emplace_back("right"); }
    void vertical(GUIScrollPanel&) { lines.emplace_back("vertical"); }
    void horizontal(GUIScrollPanel&) { lines.emplace_back("horizontal"); }
    void any(GUIScrollPanel&) { lines.emplace_back("scrolled"); }
};

class ScrollTest : public GUIFixture {
protected:
    GUIScrollPanel* make(std::wstring const& params, std::wstring const& content, std::wstring const& inner = L"") {
        guitest::loadText(L"<GUI>" + panelText(params, content, inner) + L"</GUI>");
        panel = dynamic_cast<GUIScrollPanel*>(gui.findWindow(L"sp"));
        EXPECT_NE(panel, nullptr);
        if (panel) heard.watch(*panel);
        return panel;
    }
    void wheel(float x, float y, Orvex::OrvexAchse axis) {
        Orvex::MouseState s = mouseAt(x, y);
        gui.onMouseMove(s, Orvex::OA_MOUSE_X);
        gui.onMouseMove(s, axis);
    }
    FRect rectOf(std::wstring const& name) const { return gui.findWindow(name)->getScreenRect(); }
    std::string heardText() const {
        std::string out;
        for (std::string const& l : heard.lines) out += (out.empty() ? "" : " ") + l;
        return out;
    }

    GUIScrollPanel* panel = nullptr;
    ScrollsHeard heard;
};

}  // namespace

// 200 high with content 600 high: a click on the down button moves the content up by 20, the
// thumb is a third of the track and moves down; at the end clicks move nothing but still signal.
TEST_F(ScrollTest, DownButtonStepsUntilTheRoomIsUsedUp) {
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\"", box(L"inhalt", 0, 0, 150, 600)));
    EXPECT_EQ(rectOf(L"sp_Panel"), FRect(100, 100, 250, 300));
    EXPECT_FLOAT_EQ(panel->getRoom(GUIScrollPanel::kDown), 400.0f);
    FRect const thumb = rectOf(L"sp_Scroll_TB");
    EXPECT_FLOAT_EQ(thumb.bottom - thumb.top, 100.0f / 3.0f);
    EXPECT_FLOAT_EQ(thumb.top, 150.0f);
    click(275, 275);
    EXPECT_EQ(heardText(), "down vertical scrolled");
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").top, 80.0f);
    EXPECT_FLOAT_EQ(panel->getRoom(GUIScrollPanel::kDown), 380.0f);
    EXPECT_NEAR(rectOf(L"sp_Scroll_TB").top, 150.0f + 100.0f * 20.0f / 600.0f, 1e-3);
    for (int i = 0; i < 25; ++i) click(275, 275);
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").top, -300.0f);
    EXPECT_FLOAT_EQ(panel->getRoom(GUIScrollPanel::kDown), 0.0f);
    EXPECT_EQ(heard.lines.size(), 26u * 3u);
    EXPECT_NEAR(rectOf(L"sp_Scroll_TB").bottom, 250.0f, 1e-3);
    click(275, 125);
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").top, -280.0f);
}

// The wheel over the content: 10 percent of the panel's height on the vertical bar; with only
// the horizontal bar it scrolls sideways.
TEST_F(ScrollTest, TheWheelScrollsTheShownBarsAxis) {
    struct Case {
        char const* what;
        std::wstring params;
        Orvex::OrvexAchse axis;
        float dx, dy;
    };
    Case const cases[] = {
        {"towards the user: down", L"VERTICAL_SCROLL=\"1\"", Orvex::OA_MOUSE_Z_NEG, 0, -20},
        {"away at the top: nothing", L"VERTICAL_SCROLL=\"1\"", Orvex::OA_MOUSE_Z_POS, 0, 0},
        {"horizontal bar only", L"HORIZONTAL_SCROLL=\"1\"", Orvex::OA_MOUSE_Z_NEG, 0, 0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(make(c.params, box(L"inhalt", 0, 0, 600, 600)));
        FRect const before = rectOf(L"inhalt");
        wheel(150, 150, c.axis);
        FRect const after = rectOf(L"inhalt");
        EXPECT_FLOAT_EQ(after.left - before.left, c.dx);
        EXPECT_FLOAT_EQ(after.top - before.top, c.dy);
        gui.clear();
    }
    heard.lines.clear();
    // Sideways: away from the user the content moves right-to-left by 10 percent of the width.
    ASSERT_TRUE(make(L"HORIZONTAL_SCROLL=\"1\"", box(L"inhalt", 0, 0, 600, 600)));
    wheel(150, 120, Orvex::OA_MOUSE_Z_POS);
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").left, 80.0f);
    EXPECT_EQ(heardText(), "right horizontal scrolled");
}

// Dragging the vertical thumb half way down the track shows the content's middle; the
// horizontal thumb reports a horizontal scroll.
TEST_F(ScrollTest, ThumbDragsScrollTheContentAndSignalTheirAxis) {
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\" HORIZONTAL_SCROLL=\"1\"", box(L"inhalt", 0, 0, 600, 600)));
    FRect const track = rectOf(L"sp_Grenze_TB");
    FRect const thumb = rectOf(L"sp_Scroll_TB");
    float const length = track.bottom - track.top;
    drag(275, thumb.top + 5, 275, thumb.top + 5 + 0.5f * length);
    EXPECT_EQ(heardText(), "vertical scrolled");
    // delta = room down - ((1 - t) x content height - panel height), t = 0.5
    FRect const p = rectOf(L"sp_Panel");
    EXPECT_NEAR(rectOf(L"inhalt").top, p.top - (600.0f * 0.5f), 1.0f);
    heard.lines.clear();
    FRect const hThumb = rectOf(L"sp_Scroll_RL");
    FRect const hTrack = rectOf(L"sp_Grenze_RL");
    drag(hThumb.left + 2, 275, hThumb.left + 2 + 0.25f * (hTrack.right - hTrack.left), 275);
    EXPECT_EQ(heardText(), "horizontal scrolled");
    EXPECT_NEAR(rectOf(L"inhalt").left, p.left - 600.0f * 0.25f, 1.0f);
}

// Four content windows with the raster: the thumb stands on quarter steps (a drag of 30 percent
// of the track counts as 25 percent, not as 0 as integer division would make it).
TEST_F(ScrollTest, TheRasterSnapsTheThumbToSteps) {
    EXPECT_FLOAT_EQ(GUIScrollPanel::rasterStep(30, 100, 4), 25.0f);
    EXPECT_FLOAT_EQ(GUIScrollPanel::rasterStep(99, 100, 4), 75.0f);
    EXPECT_FLOAT_EQ(GUIScrollPanel::rasterStep(10, 0, 4), 10.0f);
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\"",
                     box(L"a", 0, 0, 150, 150) + box(L"b", 0, 150, 150, 150) + box(L"c", 0, 300, 150, 150) +
                         box(L"d", 0, 450, 150, 150),
                     L"<VERTICAL_PARAMS SCROLL_RASTER=\"1\"/>"));
    FRect const thumb = rectOf(L"sp_Scroll_TB");
    drag(275, thumb.top + 5, 275, thumb.top + 5 + 30);
    EXPECT_NEAR(rectOf(L"a").top, 100.0f - 150.0f, 1.0f);
    EXPECT_NEAR(rectOf(L"sp_Scroll_TB").top - 150.0f, 25.0f, 1.0f);
}

// Scroll speed 10: a click collects 20 pending pixels; each update moves pending x dt x 10 of it
// until less than a pixel is left. Speed 0 only collects.
TEST_F(ScrollTest, AnimatedScrollingConsumesThePendingAmount) {
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\" SCROLL_SPEED=\"10\"", box(L"inhalt", 0, 0, 150, 600)));
    click(275, 275);
    EXPECT_FLOAT_EQ(panel->getPending(GUIScrollPanel::kDown), 20.0f);
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").top, 100.0f);
    gui.update(0.05);
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").top, 90.0f);
    EXPECT_FLOAT_EQ(panel->getPending(GUIScrollPanel::kDown), 10.0f);
    for (int i = 0; i < 20; ++i) gui.update(0.05);
    EXPECT_LT(panel->getPending(GUIScrollPanel::kDown), 1.0f);
    EXPECT_NEAR(rectOf(L"inhalt").top, 81.0f, 0.5f);
    gui.clear();
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\" SCROLL_SPEED=\"0\"", box(L"inhalt", 0, 0, 150, 600)));
    click(275, 275);
    click(275, 275);
    gui.update(0.05);
    EXPECT_FLOAT_EQ(panel->getPending(GUIScrollPanel::kDown), 40.0f);
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").top, 100.0f);
}

// Content smaller than the panel goes to its top-left corner; a gap at the bottom closes.
TEST_F(ScrollTest, GapsCloseOnTheNextUpdate) {
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\"", box(L"klein", 30, 40, 50, 50)));
    gui.update(0.0);
    EXPECT_EQ(rectOf(L"klein"), FRect(100, 100, 150, 150));
    gui.clear();
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\"", box(L"inhalt", 0, 0, 150, 600)));
    panel->scrollTo(D3DXVECTOR2(0, -500));  // 100 pixels past the end
    gui.update(0.0);
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").bottom, 300.0f);
    EXPECT_FLOAT_EQ(panel->getContentOffset().y, -400.0f);
    heard.lines.clear();
    panel->scrollTo(panel->getContentOffset());
    EXPECT_TRUE(heard.lines.empty());
}

// The bars appear only while the content exceeds the panel on their axis.
TEST_F(ScrollTest, AutoScrollShowsBarsOnlyWhenNeeded) {
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\" HORIZONTAL_SCROLL=\"1\" AUTO_SCROLL=\"1\"", box(L"inhalt", 0, 0, 100, 100)));
    EXPECT_FALSE(panel->isVerticalBarShown());
    EXPECT_FALSE(panel->isHorizontalBarShown());
    EXPECT_EQ(rectOf(L"sp_Panel"), FRect(100, 100, 300, 300));
    GUIWindow* tall = contentBox(L"lang", 0, 100, 100, 400);
    EXPECT_TRUE(panel->addChild(tall, false, true));
    EXPECT_TRUE(panel->isVerticalBarShown());
    EXPECT_FALSE(panel->isHorizontalBarShown());
    EXPECT_EQ(rectOf(L"sp_Panel"), FRect(100, 100, 250, 300));
    EXPECT_TRUE(panel->removeChild(tall));
    EXPECT_FALSE(panel->isVerticalBarShown());
    tall->release();
}

// Auto focus: a window added below the visible area is scrolled into view by the next update,
// its bottom on the panel's bottom.
TEST_F(ScrollTest, AutoFocusBringsANewWindowIntoView) {
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\" AUTO_FOCUS=\"1\"", box(L"inhalt", 0, 0, 150, 600)));
    GUIWindow* late = contentBox(L"spaet", 0, 400, 150, 50);
    EXPECT_TRUE(panel->addChild(late, false, true));
    gui.update(0.0);
    EXPECT_FLOAT_EQ(late->getScreenRect().bottom, 300.0f);
    late->release();
}

// A child added while the content is scrolled lands with the content (its offset grows by the
// content offset), not twice displaced.
TEST_F(ScrollTest, AChildAddedToAScrolledPanelMovesWithTheContent) {
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\"", box(L"inhalt", 0, 0, 150, 600)));
    panel->scrollTo(D3DXVECTOR2(0, -100));
    GUIWindow* added = contentBox(L"neu", 0, 200, 50, 50);
    EXPECT_TRUE(panel->addChild(added, false, true));
    EXPECT_FLOAT_EQ(added->getScreenRect().top - rectOf(L"inhalt").top, 200.0f);
    EXPECT_FALSE(panel->addChild(nullptr, false, true));
    added->release();
}

// Bar sizes divided by 0 are logged and the divisor left out; resizing the panel from outside
// refreshes once without recursing.
TEST_F(ScrollTest, BadBarSizesAndOutsideResizesStaySane) {
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\" SIZE_ABSOLUT=\"0\" SIZE_RELATIV=\"10 10 0\" SCROLL_SIZE_RELATIV=\"1 1 0 0\"",
                     box(L"inhalt", 0, 0, 150, 600)));
    EXPECT_EQ(guitest::loggedCount({L"scroll panel", L"\"sp\"", L"divides by 0"}), 2);
    FRect const p = rectOf(L"sp_Panel");
    EXPECT_TRUE(std::isfinite(p.right) && std::isfinite(p.bottom));
    gui.clear();
    ASSERT_TRUE(make(L"VERTICAL_SCROLL=\"1\"", box(L"inhalt", 0, 0, 150, 600)));
    panel->setPixelRect(100, 100, 200, 400);
    FRect const thumb = rectOf(L"sp_Scroll_TB");
    EXPECT_NEAR(thumb.bottom - thumb.top, 300.0f * 400.0f / 600.0f, 1e-3);
}

namespace {

// Records how deeply update runs inside itself.
class DepthPanel : public GUIScrollPanel {
public:
    using GUIScrollPanel::GUIScrollPanel;
    void update(double const& dt) override {
        ++depth;
        deepest = std::max(deepest, depth);
        GUIScrollPanel::update(dt);
        --depth;
    }
    int depth = 0;
    int deepest = 0;
};

}  // namespace

// Rectangle changes run a refresh and an update; the changes those make themselves (gap
// closing, a resize from outside, auto scroll laying out the bars) never re-enter the update.
TEST_F(ScrollTest, RectangleChangesDoNotReenterTheUpdate) {
    Orvex::XMLNode root;
    ASSERT_TRUE(root.loadFromText(panelText(L"VERTICAL_SCROLL=\"1\" HORIZONTAL_SCROLL=\"1\" AUTO_SCROLL=\"1\"",
                                            box(L"inhalt", 0, 0, 600, 600))));
    auto* p = new DepthPanel(root);
    gui.addWindow(p);
    p->updateRect(false, false);
    p->scrollTo(D3DXVECTOR2(-500, -500));
    gui.update(0.0);
    p->setPixelRect(50, 50, 700, 500);
    gui.update(0.0);
    EXPECT_EQ(p->deepest, 1);
    EXPECT_FLOAT_EQ(rectOf(L"inhalt").bottom, p->getContentPanel()->getScreenRect().bottom);
    p->release();
}

namespace {

class ScrollDraw : public guitest::GuiDrawFixture {};

}  // namespace

// On the device: a panel 100 x 80 at (0, 0) with a 20-pixel bar, content red above and blue
// below; scrolled by 80 the blue half shows, and no content is drawn outside the panel.
TEST_F(ScrollDraw, ScrolledContentIsClippedToThePanel) {
    auto part = [](std::wstring const& name, int y, wchar_t const* colour) {
        return L"<WINDOW NAME=\"" + name + L"\"><WINDOW_PARAMS><GUIRECT><POS_TL Y_OFF=\"" + std::to_wstring(y) +
               L"\"/><SIZE X_OFF=\"80\" Y_OFF=\"80\"/></GUIRECT><MAX_SIZE X_REL=\"-1\" Y_REL=\"-1\"/><DRAWOPTIONS TEX_NORMAL=\"gui_white\" MODULATE_COLOR=\"" +
               colour + L"\"/></WINDOW_PARAMS></WINDOW>";
    };
    GUIWindow* w = guitest::makeWindow(
        L"<WINDOW TYPE=\"SCROLL_PANEL\" NAME=\"sp\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"100\" "
        L"Y_OFF=\"80\"/></GUIRECT></WINDOW_PARAMS><SCROLL_PANEL_PARAMS VERTICAL_SCROLL=\"1\" SIZE_ABSOLUT=\"20\">"
        L"<PANEL><WINDOW_PARAMS><DRAWOPTIONS TEX_NORMAL=\"gui_white\" MODULATE_COLOR=\"FF000000\"/></WINDOW_PARAMS>"
        L"</PANEL></SCROLL_PANEL_PARAMS>" +
        part(L"rot", 0, L"FFFF0000") + part(L"blau", 80, L"FF0000FF") + L"</WINDOW>");
    auto* p = dynamic_cast<GUIScrollPanel*>(w);
    ASSERT_NE(p, nullptr);
    p->updateRect(false, false);
    std::vector<uint32_t> pixels = frame(*w);
    EXPECT_EQ(count(pixels, 0xFFFF0000), 80 * 80);
    EXPECT_EQ(count(pixels, 0xFF0000FF), 0);
    p->scrollStep(GUIScrollPanel::kDown, 80);
    pixels = frame(*w);
    EXPECT_EQ(count(pixels, 0xFF0000FF, 0, 0, 80, 80), 80 * 80);
    EXPECT_EQ(count(pixels, 0xFF0000FF), 80 * 80);
    EXPECT_EQ(count(pixels, 0xFFFF0000), 0);
    w->release();
}

// Absurd numbers in any of the three widgets' blocks leave a screen that loads, updates, takes
// the pointer and scrolls without hanging or crashing.
TEST_F(ScrollTest, AbsurdNumbersLeaveAUsableScreen) {
    std::wstring const cases[] = {
        L"<WINDOW TYPE=\"SCROLL_PANEL\" NAME=\"x\"><SCROLL_PANEL_PARAMS VERTICAL_SCROLL=\"1\" HORIZONTAL_SCROLL=\"1\" "
        L"AUTO_SCROLL=\"1\" SIZE_ABSOLUT=\"1e30 -1e30\" SIZE_RELATIV=\"nan inf 0 0\" SCROLL_SPEED=\"1e38\">"
        L"<VERTICAL_PARAMS SCROLL_CHANGE=\"1e38 1e38 0\" SCROLL_RASTER=\"7\"/></SCROLL_PANEL_PARAMS>" +
            box(L"a", 0, 0, 100000, 100000) + L"</WINDOW>",
        L"<WINDOW TYPE=\"SLIDER\" NAME=\"x\"><SLIDER_PARAMS SHOW_BUTTONS=\"1\" ALTERNATE_MODE=\"1\" VALUE_RANGE=\"1e38 -1e38\" "
        L"VALUE=\"nan\" GRANULARITAET=\"1e-30\" VALUE_CHANGE=\"inf\"/></WINDOW>",
        L"<WINDOW TYPE=\"PROGRESSBAR\" NAME=\"x\"><PROGRESSBAR_PARAMS MAX_WERT=\"-5\" AKT_WERT=\"1e38\" "
        L"GRANULARITAET=\"1e-38\" TYP=\"MODULATE\"/></WINDOW>",
    };
    for (std::wstring const& c : cases) {
        gui.clear();
        guitest::loadText(L"<GUI>" + c + L"</GUI>");
        GUIWindow* w = gui.findWindow(L"x");
        ASSERT_NE(w, nullptr);
        w->setPixelRect(10, 10, 300, 200);
        for (int i = 0; i < 3; ++i) gui.update(0.05);
        click(150, 100);
        wheel(150, 100, Orvex::OA_MOUSE_Z_NEG);
        drag(290, 50, 290, 150);
        gui.update(0.05);
        if (auto* p = dynamic_cast<GUIScrollPanel*>(w)) p->scrollStep(GUIScrollPanel::kDown | GUIScrollPanel::kRight, 1e30f);
    }
}

// A list filled while the layout is held ends laid out as one filled child by child: the same
// rows under each other, the same bar, and the content refreshed once at the release.
TEST_F(ScrollTest, AListFilledUnderAHeldLayoutEndsAsOneFilledChildByChild) {
    std::wstring const params =
        L"VERTICAL_SCROLL=\"1\" AUTO_SCROLL=\"1\" USE_LAYOUTMANAGER=\"1\" LAYOUTMANAGER=\"DEFAULT_USEOFFEST\" "
        L"LAYOUTMANAGER_PARAMS=\"TOP\"";
    struct Filled {
        std::vector<FRect> rows;
        bool bar = false;
    };
    auto fill = [&](bool held) {
        gui.clear();
        heard.lines.clear();
        Filled out;
        if (!make(params, L"")) return out;
        if (held) panel->holdLayout(true);
        std::vector<GUIWindow*> rows;
        for (int i = 0; i < 12; ++i) {
            rows.push_back(contentBox(L"zeile" + std::to_wstring(i), 0, 0, 120, 30));
            EXPECT_TRUE(panel->addChild(rows.back(), false, true));
        }
        if (held) {
            EXPECT_FALSE(panel->isVerticalBarShown()) << "nothing laid out while held";
            panel->holdLayout(false);
        }
        for (GUIWindow* row : rows) {
            out.rows.push_back(row->getScreenRect());
            row->release();
        }
        out.bar = panel->isVerticalBarShown();
        return out;
    };
    Filled const oneByOne = fill(false);
    Filled const held = fill(true);
    ASSERT_EQ(oneByOne.rows.size(), 12u);
    EXPECT_TRUE(oneByOne.bar) << "12 rows of 30 do not fit 200";
    EXPECT_EQ(held.bar, oneByOne.bar);
    for (std::size_t i = 0; i < oneByOne.rows.size(); ++i) EXPECT_EQ(held.rows[i], oneByOne.rows[i]) << i;
    EXPECT_LT(oneByOne.rows[0].top, oneByOne.rows[1].top) << "the rows stand under each other";
}
