// The layout rectangle: "GUIRECT" elements resolved against parents and screens of several sizes
// (every anchor, the aspect modes, screen-relative values, fractions), the size limits, the
// effective size layout managers dock, and the values that would divide by zero.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIRect.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/gui/GuiTestSupport.h"

namespace {

using Orvex::FRect;
using Orvex::GUIRect;
using Orvex::GUIRectAxis;

GUIRect readRect(std::wstring const& xml) {
    GUIRect rect;
    guitest::loadFrom(rect, xml);
    return rect;
}

GUIRectAxis readAxis(std::wstring const& xml) {
    GUIRectAxis axis;
    guitest::loadFrom(axis, xml);
    return axis;
}

void expectRect(FRect const& got, FRect const& want, std::wstring const& what) {
    SCOPED_TRACE(std::string(what.begin(), what.end()));
    EXPECT_NEAR(got.left, want.left, 1e-3);
    EXPECT_NEAR(got.top, want.top, 1e-3);
    EXPECT_NEAR(got.right, want.right, 1e-3);
    EXPECT_NEAR(got.bottom, want.bottom, 1e-3);
}

// Parent A: a 800 x 600 screen. Parent B: 400 x 300 at (100, 50) on a 1024 x 768 screen.
FRect const kParentA(0, 0, 800, 600);
FRect const kParentB(100, 50, 500, 350);

struct RectCase {
    wchar_t const* xml;
    FRect inA;  // (left, top, right, bottom)
    FRect inB;
};

// Expected values worked out by hand from the anchor rules.
RectCase const kRectCases[] = {
    // Centre point with a pixel size: centred on (400, 300) and (300, 200).
    {L"<GUIRECT><POS_CC X_REL=\"0.5\" Y_REL=\"0.5\"/><SIZE X_OFF=\"100\" Y_OFF=\"50\"/></GUIRECT>",
     FRect(350, 275, 450, 325), FRect(250, 175, 350, 225)},
    // Top-left point and a relative size.
    {L"<GUIRECT><POS_TL X_OFF=\"10\" Y_OFF=\"20\"/><SIZE X_REL=\"0.5\" Y_REL=\"0.25\"/></GUIRECT>",
     FRect(10, 20, 410, 170), FRect(110, 70, 310, 145)},
    // Bottom-right point: the size extends up and left of it.
    {L"<GUIRECT><POS_BR X_REL=\"1\" Y_REL=\"1\"/><SIZE X_OFF=\"100\" Y_OFF=\"50\"/></GUIRECT>",
     FRect(700, 550, 800, 600), FRect(400, 300, 500, 350)},
    // Top-right and bottom-centre mixes.
    {L"<GUIRECT><POS_TR X_REL=\"1\"/><SIZE X_OFF=\"100\" Y_OFF=\"50\"/></GUIRECT>", FRect(700, 0, 800, 50),
     FRect(400, 50, 500, 100)},
    {L"<GUIRECT><POS_BC X_REL=\"0.5\" Y_REL=\"1\"/><SIZE X_OFF=\"100\" Y_OFF=\"50\"/></GUIRECT>",
     FRect(350, 550, 450, 600), FRect(250, 300, 350, 350)},
    {L"<GUIRECT><POS_CL Y_REL=\"0.5\"/><SIZE X_OFF=\"100\" Y_OFF=\"50\"/></GUIRECT>", FRect(0, 275, 100, 325),
     FRect(100, 175, 200, 225)},
    // Two corners: the rectangle between them, 10 pixels inside the parent.
    {L"<GUIRECT><POS_TL X_OFF=\"10\" Y_OFF=\"10\"/><POS_BR X_REL=\"1\" X_OFF=\"-10\" Y_REL=\"1\" Y_OFF=\"-10\"/>"
     L"</GUIRECT>",
     FRect(10, 10, 790, 590), FRect(110, 60, 490, 340)},
    // Centre and a corner: the corner is half the extent away from the centre.
    {L"<GUIRECT><POS_CC X_REL=\"0.5\" Y_REL=\"0.5\"/><POS_BR X_REL=\"0.75\" Y_REL=\"1\"/></GUIRECT>",
     FRect(200, 0, 600, 600), FRect(200, 50, 400, 350)},
    // Screen-relative values follow the screen, not the parent.
    {L"<GUIRECT><POS_TL X_REL_SCREEN=\"0.5\"/><SIZE X_REL_SCREEN=\"0.25\" Y_OFF=\"10\"/></GUIRECT>",
     FRect(400, 0, 600, 10), FRect(612, 50, 868, 60)},
    // "1 3" is a third.
    {L"<GUIRECT><POS_TL X_REL=\"1 3\"/><SIZE X_REL=\"1 3\" Y_REL=\"1\"/></GUIRECT>",
     FRect(800.0f / 3, 0, 1600.0f / 3, 600), FRect(100 + 400.0f / 3, 50, 100 + 800.0f / 3, 350)},
    // Width from the height (ratio 2), left anchor.
    {L"<GUIRECT PARAMS_X=\"AS_VERH\"><POS_TL X_OFF=\"10\"/><SIZE Y_OFF=\"100\"/><PARAMS X_REL=\"2\"/></GUIRECT>",
     FRect(10, 0, 210, 100), FRect(110, 50, 310, 150)},
    // Width from the height about the centre: the addend counts on each side.
    {L"<GUIRECT PARAMS_X=\"AS_VERH\"><POS_CC X_REL=\"0.5\" Y_REL=\"0.5\"/><SIZE Y_OFF=\"100\"/>"
     L"<PARAMS X_REL=\"2\" X_OFF=\"5\"/></GUIRECT>",
     FRect(295, 250, 505, 350), FRect(195, 150, 405, 250)},
    // Width from the screen height.
    {L"<GUIRECT PARAMS_X=\"AS_VERH\"><POS_TL/><SIZE Y_OFF=\"10\"/><PARAMS X_REL_SCREEN=\"0.5\"/></GUIRECT>",
     FRect(0, 0, 300, 10), FRect(100, 50, 484, 60)},
    // Height from the width, bottom anchor: it grows upwards.
    {L"<GUIRECT PARAMS_Y=\"AS_VERH\"><POS_BL Y_REL=\"1\"/><SIZE X_OFF=\"200\"/><PARAMS Y_REL=\"0.5\"/></GUIRECT>",
     FRect(0, 500, 200, 600), FRect(100, 250, 300, 350)},
    // Both modes, a wide rectangle: the height rule is off, the width follows the height.
    {L"<GUIRECT PARAMS_X=\"AS_VERH\" PARAMS_Y=\"AS_VERH\"><POS_TL/><SIZE X_OFF=\"400\" Y_OFF=\"100\"/>"
     L"<PARAMS X_REL=\"2\" Y_REL=\"0.5\"/></GUIRECT>",
     FRect(0, 0, 200, 100), FRect(100, 50, 300, 150)},
    // Both modes, a tall rectangle: the width stays, the height follows it.
    {L"<GUIRECT PARAMS_X=\"AS_VERH\" PARAMS_Y=\"AS_VERH\"><POS_TL/><SIZE X_OFF=\"100\" Y_OFF=\"400\"/>"
     L"<PARAMS X_REL=\"2\" Y_REL=\"0.5\"/></GUIRECT>",
     FRect(0, 0, 100, 50), FRect(100, 50, 200, 100)},
    // Both modes with a zero height, and with nothing at all: decided without a division.
    {L"<GUIRECT PARAMS_X=\"AS_VERH\" PARAMS_Y=\"AS_VERH\"><POS_TL/><SIZE X_OFF=\"100\"/>"
     L"<PARAMS X_REL=\"2\" X_OFF=\"10\" Y_REL=\"0.5\" Y_OFF=\"4\"/></GUIRECT>",
     FRect(0, 0, 10, 0), FRect(100, 50, 110, 50)},
    {L"<GUIRECT PARAMS_X=\"AS_VERH\" PARAMS_Y=\"AS_VERH\"><POS_TL/><SIZE/>"
     L"<PARAMS X_REL=\"2\" X_OFF=\"10\" Y_REL=\"0.5\" Y_OFF=\"4\"/></GUIRECT>",
     FRect(0, 0, 10, 9), FRect(100, 50, 110, 59)},
    // A negative size collapses to its centre line.
    {L"<GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"100\"/><SIZE X_OFF=\"-50\" Y_OFF=\"-20\"/></GUIRECT>",
     FRect(75, 90, 75, 90), FRect(175, 140, 175, 140)},
    // A size placed before the point child leaves the sets as they were (zero here).
    {L"<GUIRECT><SIZE X_OFF=\"100\" Y_OFF=\"50\"/><POS_CC X_REL=\"0.5\" Y_REL=\"0.5\"/></GUIRECT>",
     FRect(0, 0, 0, 0), FRect(100, 50, 100, 50)},
};

TEST(GuiRect, ElementsResolveToHandComputedRectanglesInTwoParentsAndScreens) {
    for (RectCase const& c : kRectCases) {
        GUIRect const rect = readRect(c.xml);
        FRect out;
        rect.calcRect(out, kParentA, 800, 600);
        expectRect(out, c.inA, std::wstring(L"A: ") + c.xml);
        rect.calcRect(out, kParentB, 1024, 768);
        expectRect(out, c.inB, std::wstring(L"B: ") + c.xml);
        for (float v : {out.left, out.top, out.right, out.bottom}) EXPECT_TRUE(std::isfinite(v));
    }
}

TEST(GuiRect, AnchorNamesAndTheAnchorTheRectangleKeeps) {
    struct {
        wchar_t const* name;
        int bits;
    } const names[] = {{L"POS_TL", 9}, {L"POS_LT", 9},  {L"POS_TR", 33}, {L"POS_RT", 33}, {L"POS_TC", 17},
                       {L"POS_CT", 17}, {L"POS_CL", 10}, {L"POS_LC", 10}, {L"POS_CR", 34}, {L"POS_RC", 34},
                       {L"POS_CC", 18}, {L"POS_BL", 12}, {L"POS_LB", 12}, {L"POS_BR", 36}, {L"POS_RB", 36},
                       {L"POS_BC", 20}, {L"POS_CB", 20}, {L"SIZE", 64},   {L"pos_tl", 0},  {L"POINT", 0}};
    for (auto const& n : names) EXPECT_EQ(GUIRect::anchorOfName(n.name), n.bits) << n.bits;

    EXPECT_EQ(readRect(L"<GUIRECT><POS_BR/><SIZE/></GUIRECT>").anchor, 36);
    // An unknown point name keeps the slot's own anchor (top-left for the first).
    EXPECT_EQ(readRect(L"<GUIRECT><POINT X_OFF=\"5\"/></GUIRECT>").anchor, 9);
    // A third point child is not used.
    GUIRect const three = readRect(L"<GUIRECT><POS_TL/><SIZE X_OFF=\"10\"/><POS_CC X_OFF=\"99\"/></GUIRECT>");
    EXPECT_EQ(three.anchor, 9);
    EXPECT_EQ(three.size.offX, 10.0f);
}

TEST(GuiRect, KeysLeftOutKeepTheValuesTheRectangleHad) {
    GUIRect rect = readRect(L"<GUIRECT PARAMS_X=\"AS_VERH\"><POS_TL X_OFF=\"7\"/><SIZE X_OFF=\"30\"/></GUIRECT>");
    guitest::loadFrom(rect, L"<GUIRECT PARAMS_X=\"NO\"><PARAMS X_REL=\"3\"/></GUIRECT>");
    EXPECT_EQ(rect.xAspectMode, 0);
    EXPECT_EQ(rect.position.offX, 7.0f);
    EXPECT_EQ(rect.size.offX, 30.0f);
    EXPECT_EQ(rect.aspect.relX, 3.0f);
}

TEST(GuiRect, ValuesThatDivideByZeroOrAreAbsurdReadAsZeroWithOneLine) {
    struct {
        wchar_t const* text;
        float value;
        bool logged;
    } const cases[] = {
        {L"0.25", 0.25f, false}, {L"1 4", 0.25f, false}, {L"-3 2", -1.5f, false}, {L"abc", 0.0f, false},
        {L"", 0.0f, false},      {L"1 0", 0.0f, true},   {L"0 0", 0.0f, true},    {L"1e300", 0.0f, true},
        {L"1 1e-300", 0.0f, true},
    };
    for (auto const& c : cases) {
        logtest::LogWatch watch;
        EXPECT_EQ(Orvex::parseRectValue(c.text), c.value) << std::string(c.text, c.text + wcslen(c.text));
        bool named = false;
        for (auto const& line : watch.lines()) named = named || line.find(c.text) != std::wstring::npos;
        EXPECT_EQ(named, c.logged) << std::string(c.text, c.text + wcslen(c.text));
    }
    GUIRectAxis const axis = readAxis(L"<P X_REL=\"1 0\" Y_REL=\"1 2\" X_OFF=\"4\"/>");
    EXPECT_EQ(axis.relX, 0.0f);
    EXPECT_EQ(axis.relY, 0.5f);
    EXPECT_EQ(axis.offX, 4.0f);
}

TEST(GuiRect, SizeLimitsGrowAndShrinkAboutTheCentre) {
    GUIRectAxis const noMin;
    GUIRectAxis const parentMax{1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    GUIRectAxis const unbounded{-1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    GUIRectAxis const min50{0.0f, 0.0f, 50.0f, 20.0f, 0.0f, 0.0f};
    GUIRectAxis const max100{0.0f, 0.0f, 100.0f, 40.0f, 0.0f, 0.0f};
    GUIRectAxis const max30{0.0f, 0.0f, 30.0f, 10.0f, 0.0f, 0.0f};
    GUIRectAxis const minRel{0.5f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f};
    struct {
        FRect in;
        FRect parent;
        GUIRectAxis const& minSize;
        GUIRectAxis const& maxSize;
        FRect want;
    } const cases[] = {
        // The default maximum: never wider or taller than the parent.
        {FRect(-100, -50, 900, 650), kParentA, noMin, parentMax, FRect(0, 0, 800, 600)},
        {FRect(-100, -50, 900, 650), kParentA, noMin, unbounded, FRect(-100, -50, 900, 650)},
        {FRect(10, 10, 20, 12), kParentA, min50, unbounded, FRect(-10, 1, 40, 21)},
        {FRect(0, 0, 200, 100), kParentA, noMin, max100, FRect(50, 30, 150, 70)},
        // Relative minimum: half the parent's width plus 10 (parent B is 400 wide).
        {FRect(300, 100, 300, 100), kParentB, minRel, parentMax, FRect(195, 100, 405, 100)},
        // A minimum above the maximum: the maximum wins.
        {FRect(0, 0, 10, 10), kParentA, min50, max30, FRect(-10, 0, 20, 10)},
    };
    for (auto const& c : cases) {
        FRect r = c.in;
        Orvex::applySizeLimits(r, c.parent, c.minSize, c.maxSize);
        expectRect(r, c.want, L"limits");
    }
}

TEST(GuiRect, EffectiveSizeCarriesTheAspectCorrectionInItsOffsets) {
    GUIRect const rect =
        readRect(L"<GUIRECT PARAMS_X=\"AS_VERH\"><POS_TL/><SIZE X_REL=\"0.5\" Y_OFF=\"50\"/><PARAMS X_REL=\"2\" "
                 L"X_OFF=\"4\" X_REL_SCREEN=\"9\"/></GUIRECT>");
    GUIRectAxis s;
    rect.getEffectiveSizeParams(s, kParentA);
    // Width 400 by the set, 2 x 50 + 4 = 104 by the aspect rule (no screen term): offset -296.
    EXPECT_FLOAT_EQ(s.relX, 0.5f);
    EXPECT_FLOAT_EQ(s.offX, -296.0f);
    EXPECT_FLOAT_EQ(s.offY, 50.0f);
    FRect docked;
    GUIRect plain;
    plain.size = s;
    plain.calcRect(docked, kParentA, 800, 600);
    EXPECT_FLOAT_EQ(docked.right - docked.left, 104.0f);
}

}  // namespace
