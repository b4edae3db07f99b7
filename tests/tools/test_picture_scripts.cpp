// The picture scripts of tools/: the shipped data/GUI and the variants' previews in data/Level are
// what they write, pixel for pixel; the GUI's scroll buttons carry arrows that point their way,
// and a preview shows the dealt table's faces with their suits.
#include <gtest/gtest.h>

#include <sys/wait.h>

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

bool havePython() { return std::system("python3 -c pass > /dev/null 2>&1") == 0; }

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
