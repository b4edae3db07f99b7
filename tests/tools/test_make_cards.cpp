// The card tool: two runs write the same bytes, and the shipped data/Cards holds every file it
// writes (so the data is what the tool makes).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "tests/support/TestSupport.h"

#ifndef MAKE_CARDS_PATH
#error "MAKE_CARDS_PATH must name the built make_cards tool"
#endif

namespace {

namespace fs = std::filesystem;

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

TEST(MakeCardsTest, TwoRunsWriteTheSameBytesAndTheShippedDataHasEveryFile) {
    fs::path const first = testsupport::makeTempDir("cards_a");
    fs::path const second = testsupport::makeTempDir("cards_b");
    ASSERT_EQ(makeCards(first), 0);
    ASSERT_EQ(makeCards(second), 0);
    auto const a = filesIn(first);
    auto const b = filesIn(second);
    // 52 faces, 2 backs, 6 singles, 3 extra faces, 8 keys and locks, 7 pile pictures, 20
    // markers, 2 backgrounds, the card-set and the background file.
    EXPECT_EQ(a.size(), 102u);
    EXPECT_TRUE(a == b);
    auto const shipped = filesIn(testsupport::sourceDir() / "data" / "Cards");
    for (auto const& [name, bytes] : a) {
        EXPECT_TRUE(shipped.count(name)) << name;
        // PNG signature; the lists are the same text.
        if (name.size() > 4 && name.substr(name.size() - 4) == ".png")
            EXPECT_EQ(bytes.substr(1, 3), "PNG") << name;
        else
            EXPECT_EQ(shipped.at(name), bytes) << name;
    }
}

TEST(MakeCardsTest, AMissingFontOrUsageFails) {
    EXPECT_EQ(std::system((std::string(MAKE_CARDS_PATH) + " > /dev/null 2>&1").c_str()) != 0, true);
    std::string const command = std::string(MAKE_CARDS_PATH) + " /nonexistent.ttf " +
                                testsupport::makeTempDir("cards_c").string() + " 2>/dev/null";
    int const raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
}

}  // namespace
