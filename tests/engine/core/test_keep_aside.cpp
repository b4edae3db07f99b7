// Keeping a file that does not read aside: moved under the first free ".bad" number as it is,
// copied only where it cannot be moved, and then only a file within the reader's limit; a file
// that cannot be moved is copied once for the same bytes, however often it is kept.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/core/KeepAside.h"
#include "port/win32/win32_text.h"
#include "tests/support/TestSupport.h"

namespace {

bool cannotMove(std::string const&, std::string const&) {
    errno = EXDEV;
    return false;
}

TEST(KeepAsideTest, AFileIsMovedAsideAndCopiedOnlyWhereItCannotBeMovedAndWithinTheLimit) {
    std::filesystem::path const dir = testsupport::makeTempDir("keep_aside");
    std::string const host = (dir / "profile.prf").string();
    std::string const notMoved = std::string("it cannot be moved (") + std::strerror(EXDEV) + ")";
    struct {
        bool folder;
        std::size_t size;
        bool movable;
        std::string whyNot;  // empty: kept, as a copy when it cannot be moved
    } const cases[] = {{false, 10, true, ""},  {true, 0, true, ""}, {false, 10, false, ""},
                       {false, 11, false, notMoved + " and is too large to copy"}, {true, 0, false, notMoved}};
    for (auto const& c : cases) {
        SCOPED_TRACE(&c - cases);
        std::filesystem::remove_all(dir);
        testsupport::writeFile(host + ".bad1", "kept before");
        if (c.folder) std::filesystem::create_directory(host);
        else testsupport::writeFile(host, std::string(c.size, 'x'));
        Orvex::KeptAside const kept = Orvex::keepAside(host, host, 10, c.movable ? nullptr : cannotMove);
        bool const keeps = c.whyNot.empty();
        EXPECT_EQ(kept.place, keeps ? host + ".bad2" : "");
        EXPECT_EQ(kept.copied, keeps && !c.movable);
        if (!c.movable && keeps) EXPECT_EQ(port::toUtf8(kept.whyNot), notMoved);
        if (!keeps) EXPECT_EQ(port::toUtf8(kept.whyNot), c.whyNot);
        EXPECT_EQ(testsupport::readFile(host + ".bad1"), "kept before");
        EXPECT_EQ(std::filesystem::exists(host), !c.movable);
        EXPECT_EQ(std::filesystem::exists(host + ".bad2"), keeps);
        if (keeps && !c.folder) EXPECT_EQ(testsupport::readFile(host + ".bad2"), std::string(c.size, 'x'));
    }
}

// A file that cannot be moved (an immutable one) is kept at every start that reads it: the same
// bytes are copied once, and a copy kept before is named again, whatever number it has; bytes
// that differ get a copy of their own. (Twenty starts left twenty copies, up to ".bad1000".)
TEST(KeepAsideTest, AFileThatCannotBeMovedIsCopiedOnceForTheSameBytes) {
    std::filesystem::path const dir = testsupport::makeTempDir("keep_aside_once");
    std::string const host = (dir / "profile.prf").string();
    testsupport::writeFile(host + ".bad1", "kept before");
    testsupport::writeFile(host + ".bad2", std::string(10, 'y'));  // the same size, other bytes
    struct {
        std::string bytes;
        char const* place;  // where the bytes are kept
    } const starts[] = {{std::string(10, 'x'), ".bad3"}, {std::string(10, 'x'), ".bad3"}, {std::string(10, 'x'), ".bad3"},
                        {std::string(9, 'x') + 'z', ".bad4"}, {std::string(10, 'x'), ".bad3"}, {"kept before", ".bad1"}};
    for (auto const& s : starts) {
        SCOPED_TRACE(&s - starts);
        testsupport::writeFile(host, s.bytes);
        Orvex::KeptAside const kept = Orvex::keepAside(host, host, 16, cannotMove);
        EXPECT_EQ(kept.place, host + s.place);
        EXPECT_TRUE(kept.copied);
        EXPECT_EQ(testsupport::readFile(kept.place), s.bytes);
    }
    EXPECT_FALSE(std::filesystem::exists(host + ".bad5"));
    EXPECT_EQ(testsupport::readFile(host + ".bad2"), std::string(10, 'y'));
}

}  // namespace
