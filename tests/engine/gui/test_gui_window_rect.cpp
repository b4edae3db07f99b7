// Screen rectangles of windows read from GUI elements: a panel with a minimum size and children
// in several anchor, aspect, relative and screen-relative modes, with the default and an
// unbounded maximum size, on two screens; and a fill layout, plain and shifted, placing children
// through updateRect.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowOptions.h"
#include "tests/engine/gui/GUIFixture.h"

namespace {

using namespace Orvex;

constexpr wchar_t kPanel[] =
    L"<WINDOW NAME=\"panel\" TYPE=\"WINDOW\"><WINDOW_PARAMS>"
    L"<GUIRECT><POS_CC X_REL=\"0.5\" Y_REL=\"0.5\"/><SIZE X_REL=\"0.5\" Y_REL=\"0.5\"/></GUIRECT>"
    L"<MIN_SIZE X_OFF=\"500\" Y_OFF=\"200\"/></WINDOW_PARAMS>"
    L"<WINDOW NAME=\"icon\"><WINDOW_PARAMS><GUIRECT PARAMS_X=\"AS_VERH\"><POS_TR X_REL=\"1\" X_OFF=\"-10\" "
    L"Y_OFF=\"10\"/><SIZE Y_REL=\"0.25\"/><PARAMS X_REL=\"1\"/></GUIRECT></WINDOW_PARAMS></WINDOW>"
    L"<WINDOW NAME=\"wide\"><WINDOW_PARAMS><GUIRECT><POS_BL Y_REL=\"1\"/><SIZE X_REL=\"2\" Y_OFF=\"20\"/>"
    L"</GUIRECT></WINDOW_PARAMS></WINDOW>"
    L"<WINDOW NAME=\"unbounded\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL=\"2\" Y_OFF=\"5\"/></GUIRECT>"
    L"<MAX_SIZE X_REL=\"-1\" Y_REL=\"-1\"/></WINDOW_PARAMS></WINDOW>"
    L"<WINDOW NAME=\"third\"><WINDOW_PARAMS><GUIRECT><POS_TL X_REL=\"1 3\"/><SIZE X_REL=\"1 3\" Y_REL=\"1 0\"/>"
    L"</GUIRECT></WINDOW_PARAMS></WINDOW>"
    L"<WINDOW NAME=\"screenish\"><WINDOW_PARAMS><GUIRECT><POS_TL X_REL_SCREEN=\"0.1\"/>"
    L"<SIZE X_REL_SCREEN=\"0.1\" Y_OFF=\"10\"/></GUIRECT></WINDOW_PARAMS></WINDOW>"
    L"</WINDOW>";

class GuiWindowRect : public guitest::GUIFixture {};

TEST_F(GuiWindowRect, LoadedWindowsResolveToHandComputedRectanglesOnTwoScreens) {
    struct {
        wchar_t const* name;
        FRect on800;   // 800 x 600: the panel is 500 x 300 (its minimum width) at (150, 150)
        FRect on1920;  // 1920 x 1080: the panel is 960 x 540 at (480, 270)
    } const cases[] = {
        {L"panel", FRect(150, 150, 650, 450), FRect(480, 270, 1440, 810)},
        // Height a quarter of the panel's, width equal to it, right edge 10 inside.
        {L"icon", FRect(565, 160, 640, 235), FRect(1295, 280, 1430, 415)},
        // Twice the panel's width, held to the panel's width about its centre.
        {L"wide", FRect(400, 430, 900, 450), FRect(960, 790, 1920, 810)},
        {L"unbounded", FRect(150, 150, 1150, 155), FRect(480, 270, 2400, 275)},
        // "1 0" reads as 0: no height.
        {L"third", FRect(150 + 500.0f / 3, 150, 150 + 1000.0f / 3, 150), FRect(800, 270, 1120, 270)},
        {L"screenish", FRect(230, 150, 310, 160), FRect(672, 270, 864, 280)},
    };
    for (auto const& screen : {800, 1920}) {
        setScreen(screen, screen == 800 ? 600 : 1080);
        GUIWindow* panel = guitest::makeWindow(kPanel);
        ASSERT_NE(panel, nullptr);
        panel->updateRect(false, false);
        for (auto const& c : cases) {
            GUIWindow* w = panel->findChild(c.name);
            ASSERT_NE(w, nullptr);
            FRect const want = screen == 800 ? c.on800 : c.on1920;
            FRect const got = w->getScreenRect();
            std::string const what = std::to_string(screen) + " " + std::string(c.name, c.name + wcslen(c.name));
            EXPECT_NEAR(got.left, want.left, 1e-3) << what;
            EXPECT_NEAR(got.top, want.top, 1e-3) << what;
            EXPECT_NEAR(got.right, want.right, 1e-3) << what;
            EXPECT_NEAR(got.bottom, want.bottom, 1e-3) << what;
        }
        panel->release();
    }
    EXPECT_EQ(guitest::loggedCount({L"\"1 0\"", L"divides by zero"}), 2) << "one line per load";
}

TEST_F(GuiWindowRect, FillLayoutPlacesChildrenWhenTheRectangleIsComputed) {
    GUIWindow* dock = guitest::makeWindow(
        L"<WINDOW NAME=\"dock\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"50\"/>"
        L"<SIZE X_OFF=\"400\" Y_OFF=\"300\"/></GUIRECT><OPTIONS LAYOUTMANAGER=\"DEFAULT\"/></WINDOW_PARAMS>"
        L"<WINDOW NAME=\"bar\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE Y_OFF=\"30\"/></GUIRECT>"
        L"<OPTIONS LAYOUT_PARAM=\"TOP\"/></WINDOW_PARAMS></WINDOW>"
        L"<WINDOW NAME=\"side\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL=\"0.25\"/></GUIRECT>"
        L"<OPTIONS LAYOUT_PARAM=\"RIGHT\"/></WINDOW_PARAMS></WINDOW>"
        L"<WINDOW NAME=\"body\"><WINDOW_PARAMS><OPTIONS LAYOUT_PARAM=\"FILL\"/></WINDOW_PARAMS></WINDOW>"
        L"</WINDOW>");
    ASSERT_NE(dock, nullptr);
    dock->updateRect(false, false);
    struct {
        wchar_t const* name;
        FRect want;
    } const cases[] = {
        {L"bar", FRect(100, 50, 500, 80)},
        {L"side", FRect(400, 80, 500, 350)},
        {L"body", FRect(100, 80, 400, 350)},
    };
    for (auto const& c : cases) {
        FRect const got = dock->findChild(c.name)->getScreenRect();
        EXPECT_EQ(got, c.want) << std::string(c.name, c.name + wcslen(c.name));
    }
    // The offset variant a scroll panel uses shifts every docked child by its pair.
    dock->getOptions().createLayoutManager(L"DEFAULT_USEOFFEST");
    auto* shifted = dynamic_cast<GUILayoutFILL_WOffset*>(dock->getOptions().getLayoutManager());
    ASSERT_NE(shifted, nullptr);
    shifted->offsetX = 5;
    shifted->offsetY = -7;
    dock->updateRect(false, false);
    for (auto const& c : cases) {
        FRect const got = dock->findChild(c.name)->getScreenRect();
        FRect const want(c.want.left + 5, c.want.top - 7, c.want.right + 5, c.want.bottom - 7);
        EXPECT_EQ(got, want) << "offset " << std::string(c.name, c.name + wcslen(c.name));
    }
    dock->release();
}

}  // namespace
