// The picture scripts of tools/: the shipped data/GUI and the variants' previews in data/Level are
// what they write, pixel for pixel; the GUI's scroll buttons carry arrows that point their way,
// a preview shows the dealt table's faces with their suits, and the four power medals differ.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"
#include "tests/tools/PngPixels.h"

namespace {

namespace fs = std::filesystem;
using toolstest::Pixels;
using toolstest::readPng;

constexpr int kArrowSize = 32;

using testsupport::havePython;

// Runs a script of tools/ with the given arguments; its exit status.
int runScript(char const* script, std::string const& arguments) {
    std::string const command =
        "python3 " + (testsupport::sourceDir() / "tools" / script).string() + " " + arguments + " 2>&1";
    int const raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

class GuiPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!havePython()) GTEST_SKIP() << "python3 is missing (scripts/setup.sh installs it)";
        out_ = testsupport::makeTempDir("gui_pictures");
        fs::path const tutorial = testsupport::makeTempDir("gui_pictures_tut");
        ASSERT_EQ(runScript("make_gui_pictures.py", out_.string() + " " + tutorial.string()), 0);
    }

    // The arrow's own pixels: white and opaque.
    static bool white(Pixels const& p, int x, int y) {
        std::uint8_t const* c = p.at(x, y);
        return c[0] >= 250 && c[1] >= 250 && c[2] >= 250 && c[3] == 255;
    }

    fs::path out_;
};

TEST_F(GuiPicturesTest, TheShippedPicturesAreTheScriptsOutput) {
    fs::path const shipped = testsupport::sourceDir() / "data" / "GUI";
    int pictures = 0;
    for (auto const& entry : fs::directory_iterator(out_)) {
        std::string const name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(shipped / name));
        if (entry.path().extension() == ".png") {
            Pixels const made = readPng(entry.path());
            ASSERT_FALSE(made.empty());
            EXPECT_TRUE(made == readPng(shipped / name)) << "run tools/make_gui_pictures.py";
            ++pictures;
        } else {
            EXPECT_EQ(testsupport::readFile(entry.path()), testsupport::readFile(shipped / name));
        }
    }
    EXPECT_EQ(pictures, 25);
}

TEST_F(GuiPicturesTest, EachScrollArrowPointsItsWay) {
    Pixels const up = readPng(out_ / "gui_arrow_up.png");
    ASSERT_EQ(up.width, kArrowSize);
    ASSERT_EQ(up.height, kArrowSize);
    // Up: the head (wide) just above the middle, the shaft (narrow) below it.
    auto width = [&up](int y) {
        int n = 0;
        for (int x = 0; x < kArrowSize; ++x) n += white(up, x, y);
        return n;
    };
    EXPECT_GE(width(kArrowSize / 2 - 2), 12);
    EXPECT_GE(width(kArrowSize / 2 + 6), 4);
    EXPECT_GT(width(kArrowSize / 2 - 2), 2 * width(kArrowSize / 2 + 6));
    // The others are the same arrow turned by quarter turns clockwise (up, right, down, left).
    Pixels previous = up;
    for (char const* name : {"right", "down", "left"}) {
        Pixels const turned = readPng(out_ / (std::string("gui_arrow_") + name + ".png"));
        ASSERT_EQ(turned.width, kArrowSize) << name;
        int differing = 0;
        for (int y = 0; y < kArrowSize; ++y)
            for (int x = 0; x < kArrowSize; ++x)
                differing += white(turned, x, y) != white(previous, y, kArrowSize - 1 - x);
        EXPECT_LE(differing, 4) << name;
        previous = turned;
    }
}

// The achievement screen's medals of the four powers (tools/make_screen_pictures.py) each show
// their power's own sign: no two of their cells alike, at every medal level.
TEST(ScreenPicturesTest, EachPowerMedalShowsItsOwnSign) {
    fs::path const menu = testsupport::sourceDir() / "data" / "Menu";
    std::string const list = testsupport::readFile(menu / "erfolge.ani");
    Pixels const sheet = readPng(menu / "erfolge_medaillen.png");
    ASSERT_FALSE(sheet.empty());
    for (char const* level : {"NIX", "BRONZE", "SILBER", "GOLD"}) {
        // Each god's cell, as the animation list places it.
        std::vector<std::vector<std::uint8_t>> cells;
        for (int god = 0; god < 4; ++god) {
            std::string const name = "NAME=\"" + std::string(level) + "_GOD" + std::to_string(god) + "_USED\"";
            std::size_t const at = list.find(name);
            ASSERT_NE(at, std::string::npos) << name;
            std::size_t const rect = list.find("RECT_START=\"", at);
            ASSERT_NE(rect, std::string::npos) << name;
            int l = 0, t = 0, r = 0, b = 0;
            ASSERT_EQ(std::sscanf(list.c_str() + rect, "RECT_START=\"%d %d %d %d", &l, &t, &r, &b), 4) << name;
            ASSERT_TRUE(l >= 0 && t >= 0 && r <= sheet.width && b <= sheet.height && l < r && t < b) << name;
            std::vector<std::uint8_t> cell;
            for (int y = t; y < b; ++y) cell.insert(cell.end(), sheet.at(l, y), sheet.at(r - 1, y) + 4);
            cells.push_back(std::move(cell));
        }
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) {
                int differ = 0;
                for (std::size_t i = 0; i + 3 < cells[a].size(); i += 4) {
                    int change = 0;
                    for (std::size_t k = 0; k < 4; ++k) change += std::abs(cells[a][i + k] - cells[b][i + k]);
                    differ += change > 60;
                }
                EXPECT_GT(differ, 40) << level << ": god " << a << " and god " << b << " look alike";
            }
    }
}

TEST(PreviewPicturesTest, TheShippedPreviewsAreTheScriptsOutputAndShowFaces) {
    if (!havePython()) GTEST_SKIP() << "python3 is missing (scripts/setup.sh installs it)";
    fs::path const out = testsupport::makeTempDir("previews");
    ASSERT_EQ(runScript("make_previews.py", out.string()), 0);
    fs::path const shipped = testsupport::sourceDir() / "data" / "Level";
    int pictures = 0;
    for (auto const& entry : fs::directory_iterator(out)) {
        std::string const name = entry.path().filename().string();
        SCOPED_TRACE(name);
        Pixels const made = readPng(entry.path());
        ASSERT_FALSE(made.empty());
        EXPECT_EQ(made.width, 370);
        EXPECT_EQ(made.height, 278);
        EXPECT_TRUE(made == readPng(shipped / name)) << "run tools/make_previews.py";
        // Faces carry suits: red or black ink on the table's cards.
        int ink = 0;
        for (int y = 0; y < made.height; ++y)
            for (int x = 0; x < made.width; ++x) {
                std::uint8_t const* c = made.at(x, y);
                ink += (c[0] == 0xC8 && c[1] == 0x18 && c[2] == 0x20) || (c[0] == 0x18 && c[1] == 0x18 && c[2] == 0x20);
            }
        EXPECT_GT(ink, 100);
        ++pictures;
    }
    EXPECT_EQ(pictures, 7);
}

}  // namespace
