// Reading spline definitions: control-point keys, defaults and parameter groups, flags,
// interpolator words and masks, averaged splines, and what untrusted data cannot do.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "engine/core/XMLNode.h"
#include "engine/render/Spline.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/engine/render/SplineSupport.h"

using Orvex::Spline;
using Orvex::SplinePoint;
using Orvex::u32;
using splinetest::near3;

namespace {

using rendertest::parse;

std::unique_ptr<Spline> read(std::wstring const& text, std::wstring const& source = L"") {
    Orvex::XMLNode node = parse(text);
    return std::make_unique<Spline>(node, source);
}

SplinePoint pointOf(std::wstring const& keys, std::wstring const& children = L"") {
    SplinePoint point;
    Spline::readSplinePoint(point, parse(L"<CONTROLPOINT " + keys + L">" + children + L"</CONTROLPOINT>"));
    return point;
}

TEST(SplineReadTest, ControlPointKeysChangeOnlyWhatTheyName) {
    SplinePoint const two = pointOf(L"POSITION=\"1 2\"");
    EXPECT_TRUE(near3(two.position, 1, 2, 0)) << "two words set x and y and leave z";
    SplinePoint const child = pointOf(L"", L"<POSITION X=\"5\" Z=\"-7\"/><USERDATA Y=\"3\" W=\"9\"/>");
    EXPECT_TRUE(near3(child.position, 5, 0, -7));
    EXPECT_EQ(child.userData[1], 3.0f);
    EXPECT_EQ(child.userData[3], 9.0f);
    EXPECT_EQ(child.userData[0], 1.0f);
    SplinePoint const four = pointOf(L"USERDATA=\"0.5 0.25 2 8\" POSITION=\"1 2 3 4\"");
    EXPECT_EQ(four.userData[3], 8.0f) << "the fourth word is w";
    EXPECT_TRUE(near3(four.position, 1, 2, 3));
}

TEST(SplineReadTest, InterpolatorWordsGiveFunctionTypeAndMask) {
    struct Case {
        wchar_t const* type;
        Orvex::SplineFunction function;
        u32 typeNumber;
    };
    Case const types[] = {
        {L"LINEAR", Orvex::splineInterpolateLinear, 1},     {L"LINEAR+", Orvex::splineInterpolateLinearPlus, 2},
        {L"CATMULL", Orvex::splineInterpolateCatmull, 3},   {L"CATMULL+", Orvex::splineInterpolateCatmullPlus, 4},
        {L"NONE", Orvex::splineInterpolateNone, 0},         {L"linear", Orvex::splineInterpolateLinear, 0},
    };
    for (Case const& c : types) {
        SplinePoint const p = pointOf(L"", std::wstring(L"<INTERPOL_TYPE TYPE=\"") + c.type + L"\" DATA=\"POS\"/>");
        EXPECT_EQ(p.interpolators[0].function, c.function) << std::wstring(c.type);
        EXPECT_EQ(p.interpolators[0].type, c.typeNumber) << std::wstring(c.type) << ": other words keep the type";
        EXPECT_EQ(p.interpolators[0].mask, 0x0007u);
    }
    struct Mask {
        wchar_t const* words;
        u32 mask;
    };
    Mask const masks[] = {
        {L"POS_X POSITION_Y POS_Z", 0x0007}, {L"POSITION", 0x0007},     {L"DIR_X DIRECTION_Y DIR_Z", 0x0038},
        {L"DIR", 0x0038},                    {L"NORM_X NORMAL_Y NORM_Z", 0x01C0}, {L"NORMAL", 0x01C0},
        {L"BINORM_X BINORMAL_Y BINORM_Z", 0x0E00}, {L"BINORM", 0x0E00},
        {L"USERDATA_X USERDATA_Y USERDATA_Z USERDATA_W", 0xF000}, {L"USERDATA", 0xF000},
        {L"pos POS_W ALLES", 0x0000},        {L"DIR_Z  USERDATA_W", 0x8020},
    };
    for (Mask const& m : masks) {
        SplinePoint const p = pointOf(L"", std::wstring(L"<INTERPOL_TYPE DATA=\"") + m.words + L"\"/>");
        EXPECT_EQ(p.interpolators[0].mask, m.mask) << std::wstring(m.words);
    }
    SplinePoint const values =
        pointOf(L"", L"<INTERPOL_TYPE TYPE=\"CATMULL+\" PARAM=\"0.3\">\"|POS|\" \"|USERDATA_Y|\"</INTERPOL_TYPE>"
                     L"<INTERPOL_TYPE TYPE=\"NONE\" DATA=\"NORM\"/>");
    EXPECT_EQ(values.interpolators[0].mask, 0x2007u) << "without DATA the element's values are the words";
    EXPECT_FLOAT_EQ(values.interpolators[0].param, 0.3f);
    EXPECT_EQ(values.interpolators[1].function, &Orvex::splineInterpolateNone);
    EXPECT_EQ(values.interpolators[1].mask, 0x01C0u);
    EXPECT_EQ(values.interpolators[2].function, nullptr);
}

TEST(SplineReadTest, FlagsAreSetThenClearedAndNegativeBitsRefused) {
    auto spline = read(
        L"<SPLINE NAME=\"F\"><DEFAULT><FLAG><SET>\"|0|\" \"|3|\"</SET></FLAG></DEFAULT>"
        L"<CONTROLPOINT><FLAG><SET>\"|3|\" \"|35|\"</SET><UNSET>\"|3|\"</UNSET></FLAG></CONTROLPOINT>"
        L"<CONTROLPOINT><FLAG><SET>\"|31|\" \"|64|\"</SET></FLAG></CONTROLPOINT>"
        L"<CONTROLPOINT/>"
        L"<PARAM_GROUP CONTROL_POINTS=\"-1 2 99 x\"><FLAG><SET>\"|7|\"</SET></FLAG></PARAM_GROUP></SPLINE>");
    auto const& p = spline->getControlPoints();
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0].flags, 0x81u) << "3 under SET and UNSET (35 is bit 3 too) ends cleared; bit 0 stays; the "
                                    "group's 'x' reads as index 0";
    EXPECT_EQ(p[1].flags, 0x80000009u) << "31 and 64 (bit 0) on top of the default's bits";
    EXPECT_EQ(p[2].flags, 0x89u) << "the group reaches the listed points that exist";

    logtest::LogWatch watch;
    auto bad = read(L"\n<SPLINE NAME=\"Minus\"><CONTROLPOINT><FLAG><SET>\"|-1|\" \"|2|\" \"|-33|\"</SET>"
                    L"<UNSET>\"|-2|\"</UNSET></FLAG></CONTROLPOINT></SPLINE>",
                    L"data\\Splines\\test.spl");
    EXPECT_EQ(bad->getControlPoints()[0].flags, 0x4u) << "the negative numbers change nothing";
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"Spline \"Minus\" in \"data\\Splines\\test.spl\" at line 2:"))
        << errors[0];
    EXPECT_TRUE(logtest::contains(errors[0], L"negative flag bit -1")) << errors[0];
    EXPECT_TRUE(logtest::contains(errors[0], L"2 further problems")) << errors[0];
}

TEST(SplineReadTest, DefaultsComeFirstAndGroupsLast) {
    auto spline = read(
        L"<SPLINE LOOP=\"1\" AVERAGE=\"0\"><DEFAULT POSITION=\"0 0 7\" USERDATA=\"2 2 2 2\">"
        L"<INTERPOL_TYPE TYPE=\"CATMULL\" DATA=\"POS\"/></DEFAULT>"
        L"<CONTROLPOINT POSITION=\"1 2\"/><CONTROLPOINT POSITION=\"3 4 5\"/>"
        L"<CONTROLPOINT><INTERPOL_TYPE TYPE=\"NONE\" DATA=\"USERDATA\"/></CONTROLPOINT>"
        L"<PARAM_GROUP CONTROL_POINTS=\"0 1\" USERDATA=\"9\"/></SPLINE>");
    auto const& p = spline->getControlPoints();
    ASSERT_EQ(p.size(), 3u);
    EXPECT_TRUE(spline->isLoop());
    EXPECT_FALSE(spline->isAverage());
    EXPECT_TRUE(near3(p[0].position, 1, 2, 7));
    EXPECT_TRUE(near3(p[1].position, 3, 4, 5));
    EXPECT_EQ(p[0].userData[0], 9.0f);
    EXPECT_EQ(p[0].userData[1], 2.0f);
    EXPECT_EQ(p[2].userData[0], 2.0f);
    EXPECT_EQ(p[1].interpolators[0].function, &Orvex::splineInterpolateCatmull);
    EXPECT_EQ(p[2].interpolators[0].function, &Orvex::splineInterpolateNone) << "the point's own list replaces it";
    EXPECT_TRUE(spline->hasDefinition());
}

TEST(SplineReadTest, AveragedSplinesTakeTheirCountFromNumPts) {
    std::wstring const four = L"<SPLINE1 LOOP=\"1\"><CONTROLPOINT POSITION=\"0 0\"/><CONTROLPOINT POSITION=\"4 0\"/>"
                              L"<CONTROLPOINT POSITION=\"4 4\"/><CONTROLPOINT POSITION=\"0 4\"/></SPLINE1>";
    std::wstring six = L"<SPLINE2>";
    for (int i = 0; i < 6; ++i) six += L"<CONTROLPOINT POSITION=\"" + std::to_wstring(i) + L" 10\"/>";
    six += L"</SPLINE2>";
    struct Case {
        wchar_t const* numpts;
        std::size_t count;
    };
    for (Case c : {Case{L"1", 6}, Case{L"-1", 4}, Case{L"0 10", 10}, Case{L"3", 0}, Case{L"", 0}}) {
        auto spline = read(L"<SPLINE><AVERAGE NUMPTS=\"" + std::wstring(c.numpts) + L"\">" + four + six + L"</AVERAGE></SPLINE>");
        EXPECT_EQ(spline->getControlPoints().size(), c.count) << std::wstring(c.numpts);
    }
    // Point i halves a = S1 at 4 i / N and b = S2 at 6 i / N; SAVE_DIST puts |a - b| / 2 x
    // DIST_SCALE into user data x; loop and flags come from the first (or the second).
    auto averaged = read(L"<SPLINE><AVERAGE NUMPTS=\"-1\" SAVE_DIST=\"1\" DIST_SCALE=\"3\">" + four + six +
                         L"</AVERAGE></SPLINE>");
    ASSERT_EQ(averaged->getControlPoints().size(), 4u);
    EXPECT_TRUE(averaged->isLoop());
    SplinePoint const& first = averaged->getControlPoints()[0];
    EXPECT_TRUE(near3(first.position, 0, 5, 0));
    EXPECT_FLOAT_EQ(first.userData[0], 15.0f);
    auto second = read(L"<SPLINE><AVERAGE NUMPTS=\"0 2\" TAKE_FIRST_AS_DEFAULT=\"0\">" + four + six + L"</AVERAGE></SPLINE>");
    EXPECT_FALSE(second->isLoop());
    EXPECT_TRUE(near3(second->getControlPoints()[1].position, (4 + 4.0 * 0 + 3) / 2.0, (4 + 10) / 2.0, 0))
        << "S1 at 2 is (4, 4), S2 at 3 is (3, 10)";

    auto incomplete = read(L"<SPLINE><AVERAGE NUMPTS=\"1\">" + four + L"</AVERAGE><CONTROLPOINT POSITION=\"8 8\"/></SPLINE>");
    ASSERT_EQ(incomplete->getControlPoints().size(), 1u) << "an average without SPLINE2 is dropped";
    EXPECT_TRUE(near3(incomplete->getControlPoints()[0].position, 8, 8, 0));
}

TEST(SplineReadTest, UntrustedNumbersAndCountsAreBounded) {
    struct Case {
        char const* what;
        std::wstring text;
        std::size_t points;
        wchar_t const* logged;
    };
    std::wstring nested = L"<CONTROLPOINT/>";
    for (int i = 0; i < 40; ++i) nested = L"<AVERAGE NUMPTS=\"1\"><SPLINE1>" + nested + L"</SPLINE1><SPLINE2/></AVERAGE>";
    std::wstring many;
    for (int i = 0; i < 17; ++i) many += L"<INTERPOL_TYPE DATA=\"POS\"/>";
    Case const cases[] = {
        {"a huge average count", L"<SPLINE NAME=\"S\"><AVERAGE NUMPTS=\"0 2000000000\"><SPLINE1/><SPLINE2/></AVERAGE></SPLINE>",
         Spline::kMaxControlPoints, L"\"NUMPTS\" above 4096"},
        {"a negative average count", L"<SPLINE NAME=\"S\"><AVERAGE NUMPTS=\"0 -5\"><SPLINE1/><SPLINE2/></AVERAGE></SPLINE>", 0,
         L"negative \"NUMPTS\""},
        {"averages nested without end", L"<SPLINE NAME=\"S\">" + nested + L"</SPLINE>", 0, L"nested deeper than 16"},
        {"numbers beyond float", L"<SPLINE NAME=\"S\"><CONTROLPOINT POSITION=\"1e999 2 -1e999\"/></SPLINE>", 1,
         L"\"POSITION\" \"1e999 2 -1e999\" is not a list of numbers within -1e+06..1e+06"},
        {"more than fifteen interpolators", L"<SPLINE NAME=\"S\"><CONTROLPOINT>" + many + L"</CONTROLPOINT></SPLINE>", 1,
         L"more than 15 \"INTERPOL_TYPE\""},
    };
    for (Case const& c : cases) {
        logtest::LogWatch watch;
        auto spline = read(c.text, L"f.spl");
        EXPECT_EQ(spline->getControlPoints().size(), c.points) << c.what;
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), 1u) << c.what;
        EXPECT_TRUE(logtest::contains(errors[0], c.logged)) << c.what << ": " << std::string(errors[0].begin(), errors[0].end());
        for (SplinePoint const& p : spline->getControlPoints()) EXPECT_TRUE(splinetest::allFinite(p)) << c.what;
    }
}

// A control point's position is a place and its user data what rides on it (a turn, a scale); an
// average's "DIST_SCALE" scales a distance into the user data. 3e38 put the path's length or a
// point past a float, with no line. Past Orvex::kMaxMeasure a list is refused whole, with its line,
// and the point keeps what it had; every point and the length stay finite.
TEST(SplineReadTest, PlacesAndScalesPastTheBoundAreRefusedWithTheirLine) {
    std::wstring const two = L"<CONTROLPOINT POSITION=\"0 0 0\"/><CONTROLPOINT POSITION=\"10 0 0\"/>";
    struct Row {
        std::wstring body;  // inside the spline, its first element on line 2
        wchar_t const* refused;
        float x, y;  // the first point's position
        float user;  // its first user datum (1 by default)
    } const rows[] = {
        {L"<CONTROLPOINT POSITION=\"3e38 0 0\"/><CONTROLPOINT POSITION=\"-3e38\"/>",
         L"\"POSITION\" \"3e38 0 0\" is not a list of numbers within -1e+06..1e+06", 0, 0, 1},
        {L"<CONTROLPOINT POSITION=\"1 1e7\"/>" + two, L"\"POSITION\" \"1 1e7\" is not a list of numbers within", 0, 0, 1},
        {L"<CONTROLPOINT POSITION=\"1 2\" USERDATA=\"5 0 0 -3e38\"/>" + two,
         L"\"USERDATA\" \"5 0 0 -3e38\" is not a list of numbers within", 1, 2, 1},
        {L"<CONTROLPOINT><POSITION X=\"3e38\" Y=\"4\"/></CONTROLPOINT>" + two, L"\"X\" \"3e38\" is not a number within", 0, 4, 1},
        {L"<DEFAULT USERDATA=\"1e30\"/>" + two, L"\"USERDATA\" \"1e30\" is not a list of numbers within", 0, 0, 1},
        {L"<AVERAGE NUMPTS=\"1\" SAVE_DIST=\"1\" DIST_SCALE=\"3e38\"><SPLINE1>" + two +
             L"</SPLINE1><SPLINE2><CONTROLPOINT POSITION=\"0 4 0\"/><CONTROLPOINT POSITION=\"10 4 0\"/></SPLINE2></AVERAGE>",
         L"\"DIST_SCALE\" \"3e38\" is not a number within -1e+06..1e+06", 0, 2, 2},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.body.begin(), row.body.end()));
        logtest::LogWatch watch;
        auto spline = read(L"<SPLINE NAME=\"S\">\n" + row.body + L"</SPLINE>", L"f.spl");
        auto const& points = spline->getControlPoints();
        ASSERT_FALSE(points.empty());
        EXPECT_TRUE(near3(points[0].position, row.x, row.y, 0));
        EXPECT_EQ(points[0].userData[0], row.user);
        for (SplinePoint const& p : points) EXPECT_TRUE(splinetest::allFinite(p));
        EXPECT_TRUE(std::isfinite(spline->getLength()));
        auto const errors = watch.errors();
        EXPECT_TRUE(errors.size() == 1 && logtest::contains(errors[0], L"\"f.spl\" at line 2") &&
                    logtest::contains(errors[0], row.refused))
            << errors.size() << " lines" << (errors.empty() ? std::string() : ", the first: " + std::string(errors[0].begin(), errors[0].end()));
    }
}

TEST(SplineReadTest, DefaultsAndGroupsAreReadOnceForAllTheirPoints) {
    // A large default and group applied to many points: read per point, the keys would cost
    // the node's size times the point count (about 10^9 steps here).
    std::wstring filler;
    for (int i = 0; i < 100000; ++i) filler += L"<X/>";
    std::wstring text = L"<SPLINE><DEFAULT USERDATA=\"5\">" + filler + L"</DEFAULT>";
    for (int i = 0; i < 4000; ++i) text += L"<CONTROLPOINT/>";
    text += L"<PARAM_GROUP CONTROL_POINTS=\"";
    for (int i = 0; i < 20000; ++i) text += L"0 ";
    text += L"3999\" POSITION=\"1 2 3\">" + filler + L"</PARAM_GROUP></SPLINE>";
    auto spline = read(text);
    auto const& p = spline->getControlPoints();
    ASSERT_EQ(p.size(), 4000u);
    EXPECT_EQ(p[1234].userData[0], 5.0f);
    EXPECT_TRUE(near3(p[0].position, 1, 2, 3));
    EXPECT_TRUE(near3(p[3999].position, 1, 2, 3));
    EXPECT_TRUE(near3(p[1].position, 0, 0, 0));
}

TEST(SplineReadTest, ReloadRebuildsFromTheStoredDefinition) {
    auto spline = read(L"<SPLINE NAME=\"R\" LOOP=\"1\"><CONTROLPOINT POSITION=\"0 0\"/><CONTROLPOINT POSITION=\"3 4\"/></SPLINE>");
    spline->getControlPoints().clear();
    spline->setLoop(false);
    spline->rebuildTables();
    spline->reload();
    EXPECT_EQ(spline->getControlPoints().size(), 2u);
    EXPECT_TRUE(spline->isLoop());
    EXPECT_FLOAT_EQ(spline->getLength(), 10.0f);

    Spline plain;
    splinetest::setPositions(plain, {{0, 0, 0}, {1, 0, 0}}, false);
    plain.reload();
    EXPECT_EQ(plain.getControlPoints().size(), 2u) << "without a definition nothing happens";
}

}  // namespace
