// Opening files through archive orders, search paths and case-insensitive disk lookups.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/File.h"
#include "engine/core/GOBFormat.h"
#include "engine/core/GOBManager.h"
#include "engine/core/ReadOnce.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_text.h"
#include "tests/support/TestSupport.h"

using Orvex::File;
using Orvex::GOBFile;
using Orvex::GOBManager;
using Orvex::XMLNode;
namespace gob = Orvex::gob;

namespace {

std::wstring wide(std::filesystem::path const& p) { return port::fromUtf8(p.string()); }

class FileTest : public ::testing::Test {
protected:
    void SetUp() override { GOBManager::getInstance().clear(); }
    void TearDown() override { GOBManager::getInstance().clear(); }
};

std::string contents(File const& file) {
    std::vector<Orvex::u8> bytes;
    if (!file.readAll(bytes)) return "<unreadable>";
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST_F(FileTest, DiskLookupIgnoresCaseFolderByFolder) {
    File file(L"level");
    Orvex::u8* buffer = reinterpret_cast<Orvex::u8*>(1);
    Orvex::u32 size = 7;
    EXPECT_FALSE(file.readAll(buffer, size));  // not open: nothing, and the outputs cleared
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_FALSE(file.open(L"does\\not\\exist.txt"));

    auto dir = testsupport::makeTempDir("file_case");
    testsupport::writeFile(dir / "Data" / "Level" / "Level.DAT", "level bytes");
    ASSERT_TRUE(file.open(wide(dir) + L"\\data\\LEVEL\\level.dat"));
    EXPECT_EQ(file.getArchive(), nullptr);
    EXPECT_EQ(contents(file), "level bytes");
    ASSERT_TRUE(file.readAll(buffer, size));
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), "level bytes");
    delete[] buffer;
}

TEST_F(FileTest, SearchPathsAreTriedAfterThePathItself) {
    auto dir = testsupport::makeTempDir("file_search");
    testsupport::writeFile(dir / "first" / "a.txt", "first");
    testsupport::writeFile(dir / "second" / "a.txt", "second");
    testsupport::writeFile(dir / "second" / "b.txt", "only second");
    GOBManager::getInstance().addSearchPath(wide(dir / "first"));
    GOBManager::getInstance().addSearchPath(wide(dir / "second"));

    File a(L"a");
    ASSERT_TRUE(a.open(L"A.TXT"));
    EXPECT_EQ(contents(a), "first");
    File b(L"b");
    ASSERT_TRUE(b.open(L"b.txt"));
    EXPECT_EQ(contents(b), "only second");
    EXPECT_TRUE(Orvex::listFiles(L"b.txt"));
    EXPECT_FALSE(Orvex::listFiles(L"c.txt"));
}

TEST_F(FileTest, ArchivesComeBeforeTheDiskInOrder) {
    auto dir = testsupport::makeTempDir("file_order");
    testsupport::writeFile(dir / "data" / "x.txt", "disk");
    testsupport::writeFile(dir / "data" / "only_disk.txt", "disk only");
    GOBManager::getInstance().addSearchPath(wide(dir));
    auto& manager = GOBManager::getInstance();
    manager.addArchive(GOBFile::fromMemory(L"LATE", gob::buildArchive({{"data\\x.txt", "late"}}), 5));
    manager.addArchive(GOBFile::fromMemory(L"EARLY", gob::buildArchive({{"DATA\\X.TXT", "early"}}), 1));

    File x(L"x");
    ASSERT_TRUE(x.open(L"data\\x.txt"));
    EXPECT_EQ(contents(x), "early");
    ASSERT_TRUE(x.open(L"data\\x.txt", L"LATE"));
    EXPECT_EQ(contents(x), "late");
    ASSERT_TRUE(x.open(L"data\\x.txt", manager.getDiskOrder()));
    EXPECT_EQ(contents(x), "disk");
    ASSERT_TRUE(x.open(L"data\\only_disk.txt"));
    EXPECT_EQ(contents(x), "disk only");

    EXPECT_TRUE(Orvex::listFiles(L"Data\\X.txt", L"EARLY"));
    EXPECT_TRUE(Orvex::listFiles(L"data", L"EARLY"));  // a folder on disk
    EXPECT_FALSE(Orvex::listFiles(L"data\\none.txt"));
}

TEST_F(FileTest, OpensFromAPropertyNode) {
    GOBManager::getInstance().addArchive(GOBFile::fromMemory(L"CPGOB", gob::buildArchive({{"font.ttf", "ttf"}}), 1));
    XMLNode node;
    ASSERT_TRUE(node.loadFromText(L"<FILE NAME=\"Font\" FILENAME=\"Font.TTF\" GOBORDER=\"CPGOB\"/>"));
    File file(node);
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.getName(), L"Font");
    EXPECT_EQ(file.getPath(), L"Font.TTF");
    EXPECT_EQ(contents(file), "ttf");

    XMLNode missing;
    ASSERT_TRUE(missing.loadFromText(L"<FILE NAME=\"Nothing\"/>"));
    EXPECT_FALSE(File(missing).isOpen());
}

TEST_F(FileTest, ReadTextDecodesByteOrderMarks) {
    std::string utf16("\xFF\xFE\x41\x00\x3D\xD8\x00\xDE", 8);
    GOBManager::getInstance().addArchive(GOBFile::fromMemory(L"T",
        gob::buildArchive({{"u16.txt", utf16}, {"ansi.txt", "\xC4\x80"}, {"u8.txt", "\xEF\xBB\xBF\xC3\x84"}}), 0));
    File file(L"t");
    ASSERT_TRUE(file.open(L"u16.txt"));
    EXPECT_EQ(file.readText(), L"A\U0001F600");
    ASSERT_TRUE(file.open(L"ansi.txt"));
    EXPECT_EQ(file.readText(), L"\u00c4\u20ac");
    ASSERT_TRUE(file.open(L"u8.txt"));
    EXPECT_EQ(file.readText(), L"\u00c4");
}

// Names that open one file share its identity, whatever their spelling; names that open
// nothing keep their own.
TEST_F(FileTest, OneFileHasOneIdentityUnderEverySpelling) {
    auto dir = testsupport::makeTempDir("file_identity");
    testsupport::writeFile(dir / "data" / "a.txt", "a");
    testsupport::writeFile(dir / "data" / "b.txt", "b");
    testsupport::writeFile(dir / "data" / "\xC3\x9C" "bung.txt", "u");  // a name beyond ASCII, as UTF-8
    GOBManager::getInstance().addSearchPath(wide(dir));
    GOBManager::getInstance().addArchive(GOBFile::fromMemory(L"IDS", gob::buildArchive({{"data\\x.txt", "x"}}), 1));
    struct Case {
        wchar_t const* first;
        wchar_t const* second;
        bool same;
    } const cases[] = {
        {L"data\\a.txt", L".\\data\\a.txt", true},
        {L"data\\a.txt", L"DATA\\A.TXT", true},
        {L"data\\a.txt", L"data\\..\\data\\.\\a.txt", true},
        {L"data\\a.txt", L"data\\b.txt", false},
        {L"data\\x.txt", L"Data\\X.txt", true},
        {L"data\\x.txt", L"data\\a.txt", false},
        {L"fehlt.txt", L"FEHLT.txt", false},
        {L"data\\\u00DCbung.txt", L".\\data\\\u00DCbung.txt", true},
        {L"data\\\u00DCbung.txt", L"data\\a.txt", false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(port::toUtf8(std::wstring(c.first) + L" / " + c.second));
        EXPECT_EQ(Orvex::fileIdentity(c.first) == Orvex::fileIdentity(c.second), c.same);
    }
    File closed(L"zu");
    EXPECT_EQ(closed.getIdentity(), L"");
}

// A reading takes a file once under whichever of its names: by identity, not by the text.
TEST_F(FileTest, ReadOnceKnowsAFileByItsIdentity) {
    std::filesystem::path const dir = testsupport::makeTempDir("read_once");
    testsupport::writeFile(dir / "eins.txt", "1");
    testsupport::writeFile(dir / "zwei.txt", "2");
    std::wstring const base = wide(dir);
    Orvex::ReadOnce once;
    struct Case {
        std::wstring name;
        bool first;
    } const cases[] = {{base + L"/eins.txt", true},   {base + L"/./eins.txt", false}, {base + L"/EINS.TXT", false},
                       {base + L"/zwei.txt", true},   {L"fehlt.txt", true},           {L"fehlt.txt", false}};
    for (Case const& c : cases) EXPECT_EQ(once.first(c.name), c.first) << port::toUtf8(c.name);
}
