// The scripts of tools/ run as CONTRIBUTING.md writes them (tools/make_campaign.py, with no
// interpreter named): each starts with its interpreter line and has the run bit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST(ToolScriptsTest, EachScriptRunsByItsName) {
    int scripts = 0;
    for (auto const& entry : fs::directory_iterator(testsupport::sourceDir() / "tools")) {
        if (!entry.is_regular_file() || entry.path().extension() != ".py") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path());
        std::string first;
        std::getline(in, first);
        EXPECT_EQ(first, "#!/usr/bin/env python3");
        EXPECT_NE(entry.status().permissions() & fs::perms::owner_exec, fs::perms::none) << "chmod +x it";
        ++scripts;
    }
    EXPECT_GT(scripts, 0);
}

}  // namespace
