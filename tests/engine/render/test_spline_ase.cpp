// The ASE import: reading shape vertices (shape choice, knots and interpolated vertices,
// broken lines) and building or moving control points with factors and displacement.
#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/core/XMLNode.h"
#include "engine/render/Spline.h"
#include "engine/render/SplineASE.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/render/SplineSupport.h"
#include "tests/support/TestSupport.h"

using Orvex::AseReadResult;
using Orvex::Spline;
using splinetest::near3;

namespace {

std::wstring const kTwoShapes =
    L"*COMMENT \"zwei Formen\"\r\n"
    L"*SHAPEOBJECT {\r\n"
    L"\t*NODE_NAME \"Eins\"\r\n"
    L"\t*SHAPE_VERTEXCOUNT 3\r\n"
    L"\t*SHAPE_VERTEX_KNOT\t0\t10.0\t20.0\t30.0\r\n"
    L"\t*SHAPE_VERTEX_INTERP\t1\t15.0\t25.0\t35.0\r\n"
    L"\t*SHAPE_VERTEX_KNOT\t2\t-1.5\t+2\t3e1\r\n"
    L"}\r\n"
    L"*SHAPEOBJECT {\r\n"
    L"\t*NODE_NAME \"Zwei\"\r\n"
    L"\t*SHAPE_VERTEX_KNOT 0 1 2 3\r\n"
    L"\t*SHAPE_VERTEX_KNOT 1 4 5 6 extra words\r\n"
    L"}\r\n";

struct Expect {
    int index;
    float x, y, z;
};

void expectVertices(AseReadResult const& result, std::vector<Expect> const& expected, char const* what) {
    ASSERT_EQ(result.vertices.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.vertices[i].index, expected[i].index) << what << " " << i;
        EXPECT_EQ(result.vertices[i].x, expected[i].x) << what << " " << i;
        EXPECT_EQ(result.vertices[i].y, expected[i].y) << what << " " << i;
        EXPECT_EQ(result.vertices[i].z, expected[i].z) << what << " " << i;
    }
}

TEST(AseReaderTest, ReadsTheVertexLinesOfTheChosenShape) {
    struct Case {
        char const* what;
        std::wstring shape;
        bool interpolated;
        std::vector<Expect> expected;
        bool found;
    };
    Case const cases[] = {
        {"all knots", L"", false, {{0, 10, 20, 30}, {2, -1.5f, 2, 30}, {0, 1, 2, 3}, {1, 4, 5, 6}}, true},
        {"first shape with interpolated vertices", L"Eins", true, {{0, 10, 20, 30}, {1, 15, 25, 35}, {2, -1.5f, 2, 30}}, true},
        {"second shape", L"Zwei", false, {{0, 1, 2, 3}, {1, 4, 5, 6}}, true},
        {"an unknown shape reads all", L"Drei", false, {{0, 10, 20, 30}, {2, -1.5f, 2, 30}, {0, 1, 2, 3}, {1, 4, 5, 6}}, false},
    };
    for (Case const& c : cases) {
        AseReadResult result;
        Orvex::readAseVertices(kTwoShapes, c.shape, c.interpolated, 100, result);
        expectVertices(result, c.expected, c.what);
        EXPECT_EQ(result.shapeFound, c.found) << c.what;
        EXPECT_EQ(result.problemCount, 0u) << c.what;
    }
}

TEST(AseReaderTest, BrokenLinesAreSkippedAndTheFirstIsNamedWithItsLine) {
    std::wstring const text =
        L"*SHAPEOBJECT {\n"
        L"*SHAPE_VERTEX_KNOT 0 1 2 3\n"
        L"*SHAPE_VERTEX_KNOT 1 1 2\n"             // line 3: a word missing
        L"*SHAPE_VERTEX_KNOT 2 1 zwei 3\n"        // not a number
        L"*SHAPE_VERTEX_KNOT 3 1e999 2 3\n"       // beyond float
        L"*SHAPE_VERTEX_KNOT 4.5 1 2 3\n"         // the index is no integer
        L"*SHAPE_VERTEX_KNOT 99999999999 1 2 3\n" // nor within int
        L"*SHAPE_VERTEX_KNOT 5 nan 2 3\n"
        L"*SHAPE_VERTEX_KNOT";                    // cut off at the end
    AseReadResult result;
    Orvex::readAseVertices(text + L"\n*SHAPE_VERTEX_KNOT 6 7 8 9", L"", false, 100, result);
    expectVertices(result, {{0, 1, 2, 3}, {6, 7, 8, 9}}, "the good lines");
    EXPECT_EQ(result.problemCount, 7u);
    EXPECT_EQ(result.firstProblemLine, 3u);

    logtest::LogWatch watch;
    Orvex::logAseProblems(result, L"data\\kaputt.ase");
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"ASE file \"data\\kaputt.ase\"")) << errors[0];
    EXPECT_TRUE(logtest::contains(errors[0], L"at line 3 (6 further problems)")) << errors[0];
}

TEST(AseReaderTest, KeepsAtMostTheAllowedNumberOfVertices) {
    std::wstring text;
    for (int i = 0; i < 10; ++i) text += L"*SHAPE_VERTEX_KNOT " + std::to_wstring(i) + L" 0 0 0\n";
    AseReadResult result;
    Orvex::readAseVertices(text, L"", false, 4, result);
    EXPECT_EQ(result.vertices.size(), 4u);
    EXPECT_EQ(result.problemCount, 1u);
    EXPECT_EQ(result.firstProblemLine, 5u);
}

TEST(AseReaderTest, KeywordsWithoutLineFeedsOrBlanksAreReadInOnePass) {
    // Each keyword's line and first word reach to the end of such a text; looking them up
    // afresh for every keyword would take hours on these two megabytes.
    std::wstring glued;
    for (int i = 0; i < 110000; ++i) glued += L"*SHAPE_VERTEX_KNOT";
    AseReadResult result;
    Orvex::readAseVertices(glued, L"", false, 100, result);
    EXPECT_TRUE(result.vertices.empty());
    EXPECT_EQ(result.problemCount, 110000u);
    std::wstring spaced;
    for (int i = 0; i < 110000; ++i) spaced += L"*SHAPE_VERTEX_KNOT 1 2 3 4 ";
    Orvex::readAseVertices(spaced, L"", false, 200000, result);
    EXPECT_EQ(result.vertices.size(), 110000u) << "one line holding many vertices";
}

class AseImportTest : public ::testing::Test {
protected:
    void SetUp() override { folder = testsupport::makeTempDir("ase"); }
    std::wstring write(std::string const& name, std::wstring const& text) const {
        testsupport::writeFile(folder / name, std::string(text.begin(), text.end()));
        return port::windowsPath((folder / name).string());
    }
    std::unique_ptr<Spline> read(std::wstring const& definition) const {
        Orvex::XMLNode node;
        EXPECT_TRUE(node.loadFromText(definition));
        return std::make_unique<Spline>(node, L"test.spl");
    }
    std::filesystem::path folder;
};

TEST_F(AseImportTest, FactorsScaleAndDisplacementShiftsWithTheAxesTurned) {
    std::wstring const file = write("form.ase", L"*SHAPE_VERTEX_KNOT\t0\t10\t20\t30\r\n*SHAPE_VERTEX_KNOT\t1\t-1\t0\t2\r\n");
    struct Case {
        std::wstring keys;
        float x, y, z;
    };
    // x = ASE x fx + dx, z = ASE y fy + dy, y = ASE z fz + dz.
    Case const cases[] = {
        {L"", 10, 30, 20},
        {L"ASE_FAKTOR=\"2 2 2\"", 20, 60, 40},
        {L"ASE_FAKTOR=\"2\"", 20, 60, 40},
        {L"ASE_FAKTOR=\"1 0.5 -1\" ASE_DISPLACE=\"1 2 3\"", 11, -27, 12},
        {L"ASE_DISPLACE=\"5\"", 15, 35, 25},
    };
    for (Case const& c : cases) {
        auto spline = read(L"<SPLINE CREATE_FROM_ASE=\"" + file + L"\" " + c.keys + L"/>");
        ASSERT_EQ(spline->getControlPoints().size(), 2u);
        EXPECT_TRUE(near3(spline->getControlPoints()[0].position, c.x, c.y, c.z)) << std::string(c.keys.begin(), c.keys.end());
    }
}

// A factor scales the file's vertices and a displacement shifts them: 3e38 put the vertex past a
// float (the point dropped, the line naming the vertex, not the key) and 1e30 took it far off, with
// no line. Past Orvex::kMaxMeasure the list is refused with its line and keeps its default.
TEST_F(AseImportTest, FactorsAndDisplacementsPastTheBoundAreRefusedWithTheirLine) {
    std::wstring const file = write("form.ase", L"*SHAPE_VERTEX_KNOT\t0\t10\t20\t30\r\n*SHAPE_VERTEX_KNOT\t1\t-1\t0\t2\r\n");
    struct Row {
        wchar_t const* keys;
        wchar_t const* refused;
        float x, y, z;  // point 0 with the default in place of the refused list
    } const rows[] = {
        {L"ASE_FAKTOR=\"3e38\"", L"\"ASE_FAKTOR\" \"3e38\" is not a list of numbers within -1e+06..1e+06", 10, 30, 20},
        {L"ASE_FAKTOR=\"1e30 1 1\"", L"\"ASE_FAKTOR\" \"1e30 1 1\" is not a list of numbers within", 10, 30, 20},
        {L"ASE_FAKTOR=\"2 -1e7\" ASE_DISPLACE=\"5\"", L"\"ASE_FAKTOR\" \"2 -1e7\" is not a list of numbers within", 15, 35, 25},
        {L"ASE_DISPLACE=\"0 -3e38\"", L"\"ASE_DISPLACE\" \"0 -3e38\" is not a list of numbers within -1e+06..1e+06", 10, 30, 20},
        {L"ASE_FAKTOR=\"2\" ASE_DISPLACE=\"1e7 0 0\"", L"\"ASE_DISPLACE\" \"1e7 0 0\" is not a list of numbers within", 20, 60, 40},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.keys, row.keys + std::wcslen(row.keys)));
        // The spline on line 2 of its file.
        Orvex::XMLNode node;
        ASSERT_TRUE(node.loadFromText(L"<SPLINES>\n<SPLINE NAME=\"S\" CREATE_FROM_ASE=\"" + file + L"\" " + row.keys +
                                      L"/>\n</SPLINES>"));
        logtest::LogWatch const watch;
        Spline const built(*node.getChild(L"SPLINE"), L"test.spl");
        EXPECT_EQ(built.getControlPoints().size(), 2u) << "a vertex past a float is dropped";
        if (!built.getControlPoints().empty())
            EXPECT_TRUE(near3(built.getControlPoints()[0].position, row.x, row.y, row.z));
        for (Orvex::SplinePoint const& p : built.getControlPoints()) EXPECT_TRUE(splinetest::allFinite(p));
        auto const errors = watch.errors();
        EXPECT_TRUE(errors.size() == 1 && logtest::contains(errors[0], L"\"test.spl\" at line 2") &&
                    logtest::contains(errors[0], row.refused))
            << errors.size() << " lines" << (errors.empty() ? std::string() : ", the first: " + std::string(errors[0].begin(), errors[0].end()));
    }
}

TEST_F(AseImportTest, NewPointsTakeTheDefaultAndExistingPointsMoveByIndex) {
    std::wstring const file = write("form.ase", L"*SHAPE_VERTEX_KNOT 0 1 2 3\n*SHAPE_VERTEX_KNOT 1 4 5 6\n"
                                                L"*SHAPE_VERTEX_KNOT 7 9 9 9\n*SHAPE_VERTEX_KNOT -1 9 9 9\n");
    auto fresh = read(L"<SPLINE CREATE_FROM_ASE=\"" + file + L"\"><DEFAULT USERDATA=\"7\"/></SPLINE>");
    ASSERT_EQ(fresh->getControlPoints().size(), 4u);
    EXPECT_EQ(fresh->getControlPoints()[1].userData[0], 7.0f);

    auto moved = read(L"<SPLINE CREATE_FROM_ASE=\"" + file + L"\"><CONTROLPOINT USERDATA=\"3\"/>"
                      L"<CONTROLPOINT/><CONTROLPOINT POSITION=\"8 8 8\"/></SPLINE>");
    auto const& p = moved->getControlPoints();
    ASSERT_EQ(p.size(), 3u) << "indices 7 and -1 name no point and change nothing";
    EXPECT_TRUE(near3(p[0].position, 1, 3, 2));
    EXPECT_EQ(p[0].userData[0], 3.0f);
    EXPECT_TRUE(near3(p[1].position, 4, 6, 5));
    EXPECT_TRUE(near3(p[2].position, 8, 8, 8));
}

TEST_F(AseImportTest, AMissingOrBrokenFileLogsOneLineAndTheRestLoads) {
    {
        logtest::LogWatch watch;
        auto spline = read(L"<SPLINE NAME=\"Fehlt\" CREATE_FROM_ASE=\"gibt\\es\\nicht.ase\"><CONTROLPOINT/></SPLINE>");
        EXPECT_EQ(spline->getControlPoints().size(), 1u);
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_TRUE(logtest::contains(errors[0], L"gibt\\es\\nicht.ase")) << errors[0];
    }
    std::wstring const file = write("kaputt.ase", L"*SHAPEOBJECT {\n*NODE_NAME \"A\"\n*SHAPE_VERTEX_KNOT 0 1 2 3\n"
                                                  L"*SHAPE_VERTEX_KNOT 1 x 2 3\n*SHAPE_VERTEX_KNOT 2 4 5 6\n}\n");
    logtest::LogWatch watch;
    auto spline = read(L"<SPLINE CREATE_FROM_ASE=\"" + file + L"\" USE_SHAPE=\"A\"/>");
    EXPECT_EQ(spline->getControlPoints().size(), 2u);
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"kaputt.ase\": vertex line with a malformed number at line 4")) << errors[0];
}

}  // namespace
