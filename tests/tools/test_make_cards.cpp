// The card tool: two runs write the same bytes, the shipped data/Cards is what it writes (pixel
// for pixel), and the pictures show what a card game's own art shows: court figures turned about
// the middle, one pip more for each value, empty places and accept marks the table shows through,
// a wildcard mark that leaves the card it stands for in sight, a lock seen whole on a covered card,
// six backs each of a look of its own.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/tools/PngPixels.h"

#ifndef MAKE_CARDS_PATH
#error "MAKE_CARDS_PATH must name the built make_cards tool"
#endif

namespace {

namespace fs = std::filesystem;
using toolstest::Pixels;
using toolstest::readPng;

constexpr int kCardWidth = 200;
constexpr int kCardHeight = 275;
char const* const kSuits[4] = {"KREUZ", "KARO", "PIK", "HERZ"};
char const* const kPipValues[9] = {"2", "3", "4", "5", "6", "7", "8", "9", "10"};

int makeCards(fs::path const& folder) {
    std::string const command =
        std::string(MAKE_CARDS_PATH) + " " + testsupport::monoFontFile().string() + " " + folder.string() + " 2>&1";
    int const raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::map<std::string, std::string> filesIn(fs::path const& folder) {
    std::map<std::string, std::string> files;
    for (auto const& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = testsupport::readFile(entry.path());
    return files;
}

bool isPng(std::string const& name) { return name.size() > 4 && name.substr(name.size() - 4) == ".png"; }

// One run of the tool shared by the tests that look at its pictures.
class MakeCardsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new fs::path(testsupport::makeTempDir("cards_pictures"));
        status_ = makeCards(*folder_);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(status_, 0); }

    static Pixels picture(std::string const& name) { return readPng(*folder_ / (name + ".png")); }

    static fs::path* folder_;
    static int status_;
};

fs::path* MakeCardsTest::folder_ = nullptr;
int MakeCardsTest::status_ = -1;

bool sameColour(std::uint8_t const* p, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return p[0] == r && p[1] == g && p[2] == b && p[3] == 255;
}

int maxAlphaIn(Pixels const& p, int x0, int y0, int x1, int y1) {
    int most = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) most = std::max<int>(most, p.at(x, y)[3]);
    return most;
}

TEST_F(MakeCardsTest, TwoRunsWriteTheSameBytesAndTheShippedDataIsTheToolsOutput) {
    fs::path const second = testsupport::makeTempDir("cards_b");
    ASSERT_EQ(makeCards(second), 0);
    auto const a = filesIn(*folder_);
    auto const b = filesIn(second);
    // 52 faces, 6 backs, 6 singles, 3 extra faces, 8 keys and locks, 7 pile pictures, 20
    // markers, 2 backgrounds, the card-set and the background file.
    EXPECT_EQ(a.size(), 106u);
    EXPECT_TRUE(a == b);
    fs::path const shippedFolder = testsupport::sourceDir() / "data" / "Cards";
    auto const shipped = filesIn(shippedFolder);
    for (auto const& [name, bytes] : a) {
        ASSERT_TRUE(shipped.count(name)) << name;
        if (isPng(name)) {
            // Pixels, not bytes: another zlib may pack the same picture differently.
            Pixels const made = readPng(*folder_ / name);
            ASSERT_FALSE(made.empty()) << name;
            EXPECT_TRUE(made == readPng(shippedFolder / name)) << name << ": run the cards_pictures target";
        } else {
            EXPECT_EQ(shipped.at(name), bytes) << name;
        }
    }
}

TEST_F(MakeCardsTest, EveryPictureHasItsSizeAndShowsSomething) {
    for (auto const& [name, bytes] : filesIn(*folder_)) {
        if (!isPng(name)) continue;
        SCOPED_TRACE(name);
        Pixels const p = readPng(*folder_ / name);
        ASSERT_FALSE(p.empty());
        int const side = name.rfind("KEY_", 0) == 0 ? 64
                         : name.rfind("BACKGROUND_", 0) == 0                       ? 256
                                                                                    : 0;
        EXPECT_EQ(p.width, side ? side : kCardWidth);
        EXPECT_EQ(p.height, side ? side : kCardHeight);
        // Any value is no mark: that place shows the colour mark alone.
        if (name != "ACCEPTS_ALL_W.png") EXPECT_GT(toolstest::countOpaque(p, 100), 200);
    }
}

TEST_F(MakeCardsTest, CourtCardsAndTheJokerAreFiguresNotLetters) {
    std::set<std::vector<std::uint8_t>> seen;
    auto figure = [&](std::string const& name, bool turned) {
        SCOPED_TRACE(name);
        Pixels const p = picture(name);
        ASSERT_FALSE(p.empty());
        std::set<std::uint32_t> colours;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                std::uint8_t const* c = p.at(x, y);
                if (c[3] == 255) colours.insert(static_cast<std::uint32_t>(c[0]) << 16 | c[1] << 8 | c[2]);
            }
        // A figure in robe, skin, hair and gold; a boxed letter had the card's white and one ink.
        EXPECT_GT(colours.size(), 30u);
        EXPECT_TRUE(seen.insert(p.rgba).second) << "the same picture as another";
        if (!turned) return;
        // Printed court cards: the lower half is the upper one turned, the middle line aside.
        int differing = 0;
        for (int y = 0; y < kCardHeight / 2; ++y)
            for (int x = 0; x < kCardWidth; ++x)
                differing += std::memcmp(p.at(x, y), p.at(kCardWidth - 1 - x, kCardHeight - 1 - y), 4) != 0;
        EXPECT_EQ(differing, 0);
    };
    for (char const* suit : kSuits)
        for (char const* rank : {"BUBE", "DAME", "KOENIG"}) figure(std::string(suit) + "_" + rank, true);
    figure("JOKER", false);
}

TEST_F(MakeCardsTest, NumberCardsShowAPipForEachPoint) {
    for (int suit = 0; suit < 4; ++suit) {
        bool const red = suit % 2 == 1;
        float pip = 0.0f;  // the ink of one pip, from the two
        for (int value = 0; value < 9; ++value) {
            std::string const name = std::string(kSuits[suit]) + "_" + kPipValues[value];
            Pixels const p = picture(name);
            ASSERT_FALSE(p.empty()) << name;
            // Ink between the corner indices.
            int ink = 0;
            for (int y = 20; y < kCardHeight - 20; ++y)
                for (int x = 46; x < kCardWidth - 46; ++x)
                    ink += red ? sameColour(p.at(x, y), 200, 30, 40) : sameColour(p.at(x, y), 25, 25, 25);
            if (value == 0) pip = static_cast<float>(ink) / 2.0f;
            EXPECT_NEAR(static_cast<float>(ink) / pip, static_cast<float>(value + 2), 0.25f) << name;
        }
    }
}

TEST_F(MakeCardsTest, EmptyPlacesAndAcceptMarksLetTheTableShowThrough) {
    std::set<std::vector<std::uint8_t>> places;
    for (char const* word : {"VORRAT", "MUELL", "BASIS", "TABLEAU", "FAECHER", "ABLAGE", "RESERVE"}) {
        Pixels const p = picture(std::string("STAPEL_") + word);
        ASSERT_FALSE(p.empty()) << word;
        EXPECT_LT(maxAlphaIn(p, 0, 0, kCardWidth, kCardHeight), 255) << word;
        EXPECT_TRUE(places.insert(p.rgba).second) << word << " looks like another pile's place";
    }
    // The stock's place holds its mark in the middle; the tableau's is a plain outline.
    EXPECT_GT(maxAlphaIn(picture("STAPEL_VORRAT"), 60, 100, 140, 175), 100);
    EXPECT_LT(maxAlphaIn(picture("STAPEL_TABLEAU"), 20, 20, kCardWidth - 20, kCardHeight - 20), 100);
    // Colour marks fill the middle, value marks the corners: both fit on one empty place.
    for (char const* suit : {"KREUZ", "KARO", "PIK", "HERZ", "ALL_F"}) {
        Pixels const p = picture(std::string("ACCEPTS_") + suit);
        EXPECT_GT(maxAlphaIn(p, 60, 90, 140, 185), 100) << suit;
        EXPECT_EQ(maxAlphaIn(p, 0, 0, 50, 70), 0) << suit;
    }
    EXPECT_EQ(maxAlphaIn(picture("ACCEPTS_ALL_W"), 0, 0, kCardWidth, kCardHeight), 0);
    for (char const* value : {"ASS", "10", "KOENIG"}) {
        Pixels const p = picture(std::string("ACCEPTS_") + value);
        EXPECT_EQ(maxAlphaIn(p, 60, 90, 140, 185), 0) << value;
        EXPECT_GT(maxAlphaIn(p, 0, 0, 80, 70), 100) << value;
        EXPECT_GT(maxAlphaIn(p, kCardWidth - 80, kCardHeight - 70, kCardWidth, kCardHeight), 100) << value;
    }
}

// A locked card covered in a fan shows a lock, not the shackle of one: each lock colour's
// padlock lies whole in the strip a covered card keeps in sight (the fan step of the tableau
// template, data/Level/Vorlagen.sol), with a body as wide as a third of the card.
TEST_F(MakeCardsTest, ALockShowsWholeOnACardCoveredInAFan) {
    std::string const templates = testsupport::readFile(testsupport::sourceDir() / "data" / "Level" / "Vorlagen.sol");
    std::smatch step;
    ASSERT_TRUE(std::regex_search(templates, step,
                                  std::regex(R"re(NAME="TABLEAU"[^\n]*\n[^\n]*DELTA_VISIBLE="[-0-9.]+ ([0-9.]+)")re")));
    int const strip = static_cast<int>(std::stof(step[1].str()) * kCardHeight);
    ASSERT_GT(strip, 40);
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        Pixels const lock = picture("LOCK_" + std::to_string(kind));
        ASSERT_EQ(lock.height, kCardHeight);
        EXPECT_EQ(maxAlphaIn(lock, 0, strip, kCardWidth, kCardHeight), 0) << "a part of the lock lies under the next card";
        int widest = 0;
        for (int y = 0; y < strip; ++y) {
            int run = 0;
            for (int x = 0; x < kCardWidth; ++x) {
                run = lock.at(x, y)[3] == 255 ? run + 1 : 0;
                widest = std::max(widest, run);
            }
        }
        EXPECT_GE(widest, kCardWidth / 3) << "no body under the shackle";
    }
}

// The backs the options step through: each a colour of its own (its margin's, 60 apart from every
// other's in the sum of the channels), the first two in one motif (the lattice), the four others
// each in one of its own: five motifs, told by where the panel inside the margin is not the fill.
TEST_F(MakeCardsTest, SixBacksEachWithALookOfItsOwn) {
    std::vector<std::uint8_t const*> fills;
    std::set<std::vector<bool>> motifs;
    std::vector<Pixels> backs;
    for (int n = 1; n <= 6; ++n) backs.push_back(picture("BACK_" + std::to_string(n)));
    for (Pixels const& p : backs) {
        ASSERT_EQ(p.width, kCardWidth);
        std::uint8_t const* fill = p.at(8, kCardHeight / 2);
        for (std::uint8_t const* other : fills)
            EXPECT_GE(std::abs(fill[0] - other[0]) + std::abs(fill[1] - other[1]) + std::abs(fill[2] - other[2]), 60);
        fills.push_back(fill);
        std::vector<bool> motif;
        for (int y = 16; y < kCardHeight - 16; ++y)
            for (int x = 16; x < kCardWidth - 16; ++x) motif.push_back(std::memcmp(p.at(x, y), fill, 4) != 0);
        motifs.insert(motif);
    }
    EXPECT_EQ(motifs.size(), 5u);
}

TEST_F(MakeCardsTest, TheWildcardMarkLeavesTheCardItStandsForInSight) {
    Pixels const mark = picture("WILDCARD");
    ASSERT_FALSE(mark.empty());
    // The face's middle and both corner indices show through; the rim and the badge do not.
    EXPECT_EQ(maxAlphaIn(mark, 60, 90, 140, 185), 0);
    EXPECT_EQ(maxAlphaIn(mark, 10, 12, 42, 78), 0);
    EXPECT_EQ(maxAlphaIn(mark, kCardWidth - 42, kCardHeight - 78, kCardWidth - 10, kCardHeight - 12), 0);
    EXPECT_EQ(mark.at(3, kCardHeight / 2)[3], 255);
    EXPECT_EQ(mark.at(36, kCardHeight - 38)[3], 255);
}

TEST(MakeCardsUsageTest, AMissingFontOrUsageFails) {
    EXPECT_EQ(std::system((std::string(MAKE_CARDS_PATH) + " > /dev/null 2>&1").c_str()) != 0, true);
    std::string const command = std::string(MAKE_CARDS_PATH) + " /nonexistent.ttf " +
                                testsupport::makeTempDir("cards_c").string() + " 2>/dev/null";
    int const raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
}

}  // namespace
