// The scripts of tools/ run as CONTRIBUTING.md writes them (tools/make_campaign.py, with no
// interpreter named): each starts with its interpreter line and has the run bit. Each explains
// itself on --help and refuses an option it does not know, or more arguments than it takes,
// writing nothing (tools/command_line.py): no option becomes the name of a folder it writes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// The scripts: the files of tools/ that run as a program (the modules they share do not).
std::vector<fs::path> scripts() {
    std::vector<fs::path> found;
    for (auto const& entry : fs::directory_iterator(testsupport::sourceDir() / "tools"))
        if (entry.path().extension() == ".py" &&
            testsupport::readFile(entry.path()).find("\nif __name__ == \"__main__\":") != std::string::npos)
            found.push_back(entry.path());
    return found;
}

TEST(ToolScriptsTest, EachScriptRunsByItsName) {
    for (fs::path const& script : scripts()) {
        SCOPED_TRACE(script.filename().string());
        std::ifstream in(script);
        std::string first;
        std::getline(in, first);
        EXPECT_EQ(first, "#!/usr/bin/env python3");
        EXPECT_NE(fs::status(script).permissions() & fs::perms::owner_exec, fs::perms::none) << "chmod +x it";
    }
    EXPECT_GT(scripts().size(), 0u);
}

TEST(ToolScriptsTest, EachScriptExplainsItselfAndRefusesWhatItDoesNotKnow) {
    if (!testsupport::havePython())
        GTEST_SKIP() << "python3 is missing (scripts/setup.sh installs it)";
    struct {
        char const* arguments;
        int status;
        char const* says;
    } const cases[] = {
        {"--help", 0, "Usage: tools/make_"},
        {"--bogus", 2, ": unknown option --bogus"},
        {"-out", 2, ": unknown option -out"},  // not a folder to write into
        {"a b c", 2, ": 3 arguments, but it takes at most"},
    };
    std::vector<fs::path> const all = scripts();
    for (auto const& c : cases) {
        // Every script at once, each in an empty folder of its own that must stay empty.
        std::vector<std::pair<fs::path, std::FILE*>> runs;
        for (fs::path const& script : all) {
            fs::path const folder = testsupport::makeTempDir("tool_" + script.stem().string());
            std::string const command = "cd '" + folder.string() + "' && '" + script.string() + "' " + c.arguments;
            runs.emplace_back(folder, popen((command + " 2>&1").c_str(), "r"));
        }
        for (std::size_t i = 0; i < all.size(); ++i) {
            SCOPED_TRACE(all[i].filename().string() + " " + c.arguments);
            auto [folder, pipe] = runs[i];
            std::string output;
            char buffer[4096];
            for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
            int const raw = pclose(pipe);
            EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << output;
            EXPECT_NE(output.find(c.says), std::string::npos) << output;
            EXPECT_TRUE(fs::is_empty(folder)) << "it wrote into " << folder;
        }
    }
}

}  // namespace
