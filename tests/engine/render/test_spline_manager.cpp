// The spline manager: the sample spline file with its ASE shapes, "SPL_reload" after the files
// changed on disk, argument completion, and broken spline files.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/Console.h"
#include "engine/core/GOBManager.h"
#include "engine/render/Spline.h"
#include "engine/render/SplineManager.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/render/SplineSupport.h"
#include "tests/support/TestSupport.h"

using Orvex::Spline;
using Orvex::SplineManager;
using Orvex::SplinePoint;
using splinetest::near3;

namespace {

std::wstring runSplineCommand(std::wstring const& line) { return Orvex::Console::getInstance().execute(line); }

class SplineManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::makeTempDir("splines");
        std::filesystem::create_directories(folder / "data" / "Splines");
        for (char const* name : {"splines.spl", "shapes.ase"})
            std::filesystem::copy_file(testsupport::sourceDir() / "data" / "Splines" / name, folder / "data" / "Splines" / name,
                                       std::filesystem::copy_options::overwrite_existing);
        // The spline file names its ASE file relative to the program folder: only the copy may
        // be found, not the source tree that other tests search.
        Orvex::GOBManager::getInstance().clear();
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(folder.string()));
        // The console runs a command by its first owner: when an engine made earlier in this
        // process has its spline manager, it stands aside while this test's manager answers.
        Orvex::ConsoleCommandReceiver* owner = nullptr;
        Orvex::Console::getInstance().findCommand(L"SPL_reload", &owner);
        if (owner != &manager) {
            standingAside = owner;
            Orvex::Console::getInstance().unregisterReceiver(owner);
        }
    }
    void TearDown() override {
        Orvex::GOBManager::getInstance().clear();
        if (standingAside) Orvex::Console::getInstance().registerReceiver(standingAside);
    }
    std::wstring file(std::string const& relative) const { return port::windowsPath((folder / relative).string()); }
    void replaceInFile(std::string const& relative, std::string const& from, std::string const& to) const {
        std::string text = testsupport::readFile(folder / relative);
        std::size_t const at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        testsupport::writeFile(folder / relative, text);
    }
    Spline& spline(std::wstring const& name) {
        Spline* found = manager.findSpline(name);
        EXPECT_NE(found, nullptr);
        return *found;
    }

    SplineManager manager;
    std::filesystem::path folder;
    Orvex::ConsoleCommandReceiver* standingAside = nullptr;
};

TEST_F(SplineManagerTest, TheSampleFileLoadsLoopsOpenSplinesShapesAndAverages) {
    logtest::LogWatch watch;
    EXPECT_EQ(manager.loadSplines(file("data/Splines/splines.spl")), 5u);
    EXPECT_TRUE(watch.errors().empty());

    Spline& quadrat = spline(L"Quadrat");
    EXPECT_TRUE(quadrat.isLoop());
    EXPECT_FLOAT_EQ(quadrat.getLength(), 800.0f);
    // Catmull-Rom through the corners bulges out between them: halfway along the first side
    // y = 0.5 ((p1 - p-1) f + (2 p-1 - 5 p0 + 4 p1 - p2) f^2) = 0.5 (-200 x 0.5 + 200 x 0.25) = -25.
    EXPECT_TRUE(near3(quadrat.getPointAt(quadrat.parameterAtDistance(900.0f)).position, 100, -25, 0, 1e-3));
    EXPECT_TRUE(near3(quadrat.getPointAt(1.0f).position, 200, 0, 0, 1e-3));
    EXPECT_FLOAT_EQ(quadrat.getPointAt(2.5f).userData[0], 2.5f);

    Spline& bogen = spline(L"Bogen");
    EXPECT_FALSE(bogen.isLoop());
    ASSERT_EQ(bogen.getControlPoints().size(), 5u);
    EXPECT_EQ(bogen.getControlPoints()[0].flags, 0x20u);
    EXPECT_EQ(bogen.getControlPoints()[2].flags, 0x02u);
    EXPECT_EQ(bogen.getControlPoints()[4].flags, 0x20u);
    SplinePoint const top = bogen.getPointAt(2.0f);
    EXPECT_TRUE(near3(top.position, 400, 100, 0, 1e-3));
    EXPECT_LT(top.direction[0], 0.0f) << "the look-ahead frame points along the arc (leftwards at its top)";

    Spline& welle = spline(L"Welle");
    ASSERT_EQ(welle.getControlPoints().size(), 5u);
    // Knot 1 (50, 0, 40), factors (2, 2, 1), displacement (100, 50, 0).
    EXPECT_TRUE(near3(welle.getControlPoints()[1].position, 200, 40, 50));

    Spline& ring = spline(L"Ring");
    EXPECT_TRUE(ring.isLoop());
    ASSERT_EQ(ring.getControlPoints().size(), 8u) << "knots and interpolated vertices";
    EXPECT_TRUE(near3(ring.getControlPoints()[2].position, 0, 10, 100));
    EXPECT_EQ(ring.getControlPoints()[3].userData[3], 1.0f);
    EXPECT_EQ(ring.getControlPoints()[3].userData[0], 0.0f);

    Spline& mitte = spline(L"Mitte");
    ASSERT_EQ(mitte.getControlPoints().size(), 3u);
    EXPECT_TRUE(near3(mitte.getControlPoints()[1].position, 100, 50, 0));
    EXPECT_FLOAT_EQ(mitte.getControlPoints()[1].userData[0], 100.0f);

    EXPECT_EQ(manager.loadSplines(file("data/Splines/splines.spl")), 0u) << "listed names are not added again";
}

TEST_F(SplineManagerTest, ReloadTakesTheChangedFilesFromDisk) {
    manager.loadSplines(file("data/Splines/splines.spl"));
    replaceInFile("data/Splines/splines.spl", "POSITION=\"200 0 0\"", "POSITION=\"400 0 0\"");
    replaceInFile("data/Splines/shapes.ase", "*SHAPE_VERTEX_KNOT\t1\t50.0000", "*SHAPE_VERTEX_KNOT\t1\t60.0000");

    EXPECT_FLOAT_EQ(spline(L"Quadrat").getLength(), 800.0f) << "nothing changes before the reload";
    EXPECT_EQ(runSplineCommand(L"SPL_reload Quadrat"), L"Spline reloaded!");
    EXPECT_TRUE(near3(spline(L"Quadrat").getControlPoints()[1].position, 400, 0, 0));
    EXPECT_NEAR(spline(L"Quadrat").getLength(), 400 + std::sqrt(200.0 * 200 + 200 * 200) + 200 + 200, 1e-2);

    EXPECT_EQ(runSplineCommand(L"spl_RELOAD Welle"), L"Spline reloaded!");
    EXPECT_TRUE(near3(spline(L"Welle").getControlPoints()[1].position, 220, 40, 50));

    EXPECT_EQ(runSplineCommand(L"SPL_reload quadrat"), L"") << "names are exact; an unknown one gets no reply";
    EXPECT_EQ(runSplineCommand(L"SPL_reload"), L"SPL_reload Name; lädt das Objekt erneut");

    // A spline that left its file keeps the definition it had.
    replaceInFile("data/Splines/splines.spl", "NAME=\"Mitte\"", "NAME=\"Anders\"");
    logtest::LogWatch watch;
    EXPECT_EQ(runSplineCommand(L"SPL_reload Mitte"), L"Spline reloaded!");
    EXPECT_EQ(spline(L"Mitte").getControlPoints().size(), 3u);
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(watch.errors()[0], L"\"Mitte\" no longer in"));
}

TEST_F(SplineManagerTest, CompletionOffersListedSplineNames) {
    manager.loadSplines(file("data/Splines/splines.spl"));
    std::vector<std::wstring> offers;
    Orvex::Console::getInstance().complete(L"SPL_reload M", offers);
    EXPECT_EQ(offers, std::vector<std::wstring>{L"Mitte"});
    offers.clear();
    Orvex::Console::getInstance().complete(L"SPL_reload ", offers);
    EXPECT_EQ(offers.size(), 5u);
}

TEST_F(SplineManagerTest, ABrokenSplineFileLogsOneLineAndKeepsTheSplinesBeforeTheDamage) {
    testsupport::writeFile(folder / "kaputt.spl",
                           "<SPLINES>\n<SPLINE NAME=\"A\"><CONTROLPOINT POSITION=\"1 2\"/></SPLINE>\n"
                           "<SPLINE NAME=\"B\" LOOP=\"1><CONTROLPOINT/></SPLINE>\n<SPLINE NAME=\"C\"/>\n");
    logtest::LogWatch watch;
    manager.loadSplines(file("kaputt.spl"));
    ASSERT_NE(manager.findSpline(L"A"), nullptr);
    EXPECT_EQ(manager.findSpline(L"A")->getControlPoints().size(), 1u);
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"kaputt.spl")) << errors[0];
    EXPECT_TRUE(logtest::contains(errors[0], L"at line 4")) << errors[0] << ": the open quote of line 3 ends there";

    // Many averages of the largest size: the file's budget stops them, not the memory.
    std::string many = "<SPLINES>";
    for (int i = 0; i < 40; ++i)
        many += "<SPLINE NAME=\"G" + std::to_string(i) + "\"><AVERAGE NUMPTS=\"0 999999\"><SPLINE1/><SPLINE2/></AVERAGE></SPLINE>";
    testsupport::writeFile(folder / "gross.spl", many + "</SPLINES>");
    logtest::LogWatch budget;
    EXPECT_EQ(manager.loadSplines(file("gross.spl")), Orvex::SplineManager::kMaxPointsPerFile / Spline::kMaxControlPoints);
    ASSERT_FALSE(budget.errors().empty());
    EXPECT_TRUE(logtest::contains(budget.errors().back(), L"gross.spl\" at line 1: more than 65536 control points"))
        << budget.errors().back();

    logtest::LogWatch missing;
    EXPECT_EQ(manager.loadSplines(file("fehlt.spl")), 0u);
    ASSERT_EQ(missing.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(missing.errors()[0], L"fehlt.spl"));
}

}  // namespace
