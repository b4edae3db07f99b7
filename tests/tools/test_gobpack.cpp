// The gobpack tool: packing a folder, listing an archive, refusing damaged archives, and the
// engine loading property files from the archive it makes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "engine/core/File.h"
#include "engine/core/GOBFile.h"
#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_text.h"
#include "tests/support/TestSupport.h"

#ifndef GOBPACK_PATH
#error "GOBPACK_PATH must name the built gobpack tool"
#endif

namespace {

struct ToolRun {
    int status = -1;
    std::string output;  // stdout and stderr
};

ToolRun gobpack(std::string const& arguments) {
    ToolRun run;
    std::string command = std::string(GOBPACK_PATH) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

std::string quoted(std::filesystem::path const& p) { return "'" + p.string() + "'"; }

class GobpackTest : public ::testing::Test {
protected:
    void SetUp() override { Orvex::GOBManager::getInstance().clear(); }
    void TearDown() override { Orvex::GOBManager::getInstance().clear(); }
};

}  // namespace

TEST_F(GobpackTest, PacksAFolderAndListsIt) {
    auto dir = testsupport::makeTempDir("gobpack_list");
    testsupport::writeFile(dir / "in" / "data" / "Level" / "Level.dat", "<LEVELS/>");
    testsupport::writeFile(dir / "in" / "data" / "K\xC3\x96NIG.txt", "crown");  // UTF-8 name on disk
    testsupport::writeFile(dir / "in" / "cp.txt", "");

    ToolRun pack = gobpack("pack " + quoted(dir / "in") + " " + quoted(dir / "out.gob"));
    ASSERT_EQ(pack.status, 0) << pack.output;

    ToolRun list = gobpack("list " + quoted(dir / "out.gob"));
    ASSERT_EQ(list.status, 0) << list.output;
    EXPECT_EQ(list.output,
              "         0 cp.txt\n"
              "         5 data\\K\xC3\x96NIG.txt\n"
              "         9 data\\Level\\Level.dat\n");

    // Stored as Windows-1252 with "\" separators.
    std::string bytes = testsupport::readFile(dir / "out.gob");
    EXPECT_NE(bytes.find("data\\K\xD6NIG.txt"), std::string::npos);
}

TEST_F(GobpackTest, ArchiveLoadsThroughDefaultBeforeTheDiskCopy) {
    auto dir = testsupport::makeTempDir("gobpack_order");
    testsupport::writeFile(dir / "in" / "data" / "Texte.lng", "<FROM_ARCHIVE/>");
    testsupport::writeFile(dir / "disk" / "data" / "texte.lng", "<FROM_DISK/>");
    testsupport::writeFile(dir / "disk" / "data" / "disk_only.lng", "<ONLY_DISK/>");
    ASSERT_EQ(gobpack("pack " + quoted(dir / "in") + " " + quoted(dir / "Velquorandix.gob")).status, 0);

    auto& manager = Orvex::GOBManager::getInstance();
    manager.addSearchPath(port::fromUtf8((dir / "disk").string()));
    auto* archive = new Orvex::GOBFile(L"BASEGOB", port::fromUtf8(dir.string()) + L"\\velquorandix.gob", 0);
    archive->setOrderIndex(0);
    manager.addArchive(archive);
    manager.rebuildOrders();

    Orvex::XMLNode root;
    ASSERT_TRUE(root.load(L"data\\texte.lng"));
    EXPECT_EQ(root.getName(), L"FROM_ARCHIVE");
    ASSERT_TRUE(root.load(L"DATA\\TEXTE.LNG"));  // other case: still the archive
    EXPECT_EQ(root.getName(), L"FROM_ARCHIVE");
    ASSERT_TRUE(root.load(L"Data\\Disk_Only.LNG"));  // other case on disk
    EXPECT_EQ(root.getName(), L"ONLY_DISK");
    // Mode other than 0: the disk only.
    ASSERT_TRUE(root.load(port::fromUtf8((dir / "disk").string()) + L"\\data\\texte.lng", 1));
    EXPECT_EQ(root.getName(), L"FROM_DISK");
}

TEST_F(GobpackTest, DamagedArchivesFailWithAMessage) {
    auto dir = testsupport::makeTempDir("gobpack_broken");
    testsupport::writeFile(dir / "bad_magic.gob", std::string("ZIP\0\0\0\0\0", 8));
    ToolRun badMagic = gobpack("list " + quoted(dir / "bad_magic.gob"));
    EXPECT_NE(badMagic.status, 0);
    EXPECT_NE(badMagic.output.find("bad_magic.gob"), std::string::npos) << badMagic.output;
    EXPECT_NE(badMagic.output.find("wrong magic"), std::string::npos) << badMagic.output;

    testsupport::writeFile(dir / "huge.gob", std::string("GOB\0\xFF\xFF\xFF\x7F", 8));
    ToolRun huge = gobpack("list " + quoted(dir / "huge.gob"));
    EXPECT_NE(huge.status, 0);
    EXPECT_NE(huge.output.find("fit"), std::string::npos) << huge.output;

    ToolRun missing = gobpack("list " + quoted(dir / "missing.gob"));
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("cannot open"), std::string::npos);

    EXPECT_EQ(gobpack("").status, 2);
    EXPECT_EQ(gobpack("pack only_one_argument").status, 2);
    EXPECT_NE(gobpack("pack " + quoted(dir / "no_folder") + " " + quoted(dir / "x.gob")).status, 0);
}

TEST_F(GobpackTest, ArchiveInsideThePackedFolderIsNotPackedIntoItself) {
    auto dir = testsupport::makeTempDir("gobpack_self");
    testsupport::writeFile(dir / "a.txt", "a");
    ASSERT_EQ(gobpack("pack " + quoted(dir) + " " + quoted(dir / "self.gob")).status, 0);
    ASSERT_EQ(gobpack("pack " + quoted(dir) + " " + quoted(dir / "self.gob")).status, 0);
    ToolRun list = gobpack("list " + quoted(dir / "self.gob"));
    EXPECT_EQ(list.output, "         1 a.txt\n");
}
