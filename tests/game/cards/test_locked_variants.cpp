// The campaign's locked variants are their base variants with a lock and its key: line by line
// the same but for the root's name, the comment that says where the lock lies, and the lines that
// carry the lock ("LOCK=") or the key ("KEY="). A change to a base variant that is not carried into
// its locked copy fails here.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

std::vector<std::string> linesOf(char const* name) {
    std::istringstream in(testsupport::readFile(testsupport::sourceDir() / "data" / "Level" / name));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool carriesLockOrKey(std::string const& line) {
    return line.find(" LOCK=\"") != std::string::npos || line.find(" KEY=\"") != std::string::npos;
}

struct LockedVariant {
    char const* locked;
    char const* base;
};

TEST(LockedVariantsTest, DifferFromTheirBaseOnlyInNameCommentLockAndKey) {
    for (LockedVariant const& v : {LockedVariant{"HerzreiheSilber.sol", "Herzreihe.sol"},
                                   LockedVariant{"PaareKupfer.sol", "Paare.sol"},
                                   LockedVariant{"ZellenBlau.sol", "Zellen.sol"}}) {
        SCOPED_TRACE(v.locked);
        std::vector<std::string> locked = linesOf(v.locked);
        std::vector<std::string> const base = linesOf(v.base);
        ASSERT_FALSE(base.empty());
        ASSERT_FALSE(locked.empty());
        // The comment after the root's line.
        std::size_t at = 1;
        if (at < locked.size() && locked[at].find("<!--") != std::string::npos) {
            while (at < locked.size() && locked[at].find("-->") == std::string::npos) ++at;
            locked.erase(locked.begin() + 1, locked.begin() + static_cast<std::ptrdiff_t>(at + 1));
        }
        ASSERT_EQ(locked.size(), base.size());
        // The root differs in its name only.
        std::size_t const name = base[0].find("NAME=\"");
        ASSERT_NE(name, std::string::npos);
        std::size_t const baseEnd = base[0].find('"', name + 6);
        std::size_t const lockedEnd = locked[0].find('"', name + 6);
        EXPECT_EQ(locked[0].substr(0, name + 6), base[0].substr(0, name + 6));
        EXPECT_EQ(locked[0].substr(lockedEnd), base[0].substr(baseEnd));
        int lockOrKey = 0;
        for (std::size_t i = 1; i < base.size(); ++i) {
            if (locked[i] == base[i]) continue;
            EXPECT_TRUE(carriesLockOrKey(locked[i])) << "base line " << i + 1 << " differs: " << locked[i];
            ++lockOrKey;
        }
        EXPECT_EQ(lockOrKey, 2) << "the lock and the key";
    }
}

}  // namespace
