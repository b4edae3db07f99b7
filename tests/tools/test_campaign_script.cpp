// The campaign's table, tools/make_campaign.py: the shipped catalogue, story, chapter screen and
// level screen header are what it writes (run on copies of the four files, which must come back
// byte for byte); files without its markers are refused.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

char const* const kFiles[] = {"data/Level/Level.dat", "data/Story/Story.str", "data/GUI/Kategorie.gui",
                              "data/GUI/Levelauswahl.gui"};

using testsupport::havePython;

// Runs the script on the tree at root; its exit status.
int runCampaignScript(fs::path const& root) {
    std::string const command = "python3 " + (testsupport::sourceDir() / "tools" / "make_campaign.py").string() +
                                " " + root.string() + " > /dev/null 2>&1";
    int const raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(CampaignScriptTest, TheShippedFilesAreTheScriptsOutput) {
    if (!havePython()) GTEST_SKIP() << "python3 is missing (scripts/setup.sh installs it)";
    fs::path const root = testsupport::makeTempDir("campaign_script");
    for (char const* name : kFiles) {
        fs::create_directories((root / name).parent_path());
        fs::copy_file(testsupport::sourceDir() / name, root / name, fs::copy_options::overwrite_existing);
    }
    ASSERT_EQ(runCampaignScript(root), 0);
    for (char const* name : kFiles)
        EXPECT_EQ(testsupport::readFile(root / name), testsupport::readFile(testsupport::sourceDir() / name))
            << name << ": run tools/make_campaign.py";
    // A file without the markers: the script says so and fails.
    testsupport::writeFile(root / "data/GUI/Kategorie.gui", "<GUI/>");
    EXPECT_NE(runCampaignScript(root), 0);
    fs::remove_all(root);
}

}  // namespace
