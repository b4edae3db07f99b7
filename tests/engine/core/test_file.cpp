// Opening files through archive orders, search paths and case-insensitive disk lookups; only
// regular files are read.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/core/File.h"
#include "engine/core/GOBFormat.h"
#include "engine/core/GOBManager.h"
#include "engine/core/ReadOnce.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_text.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/support/FifoInPlace.h"
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

// Something other than a file where a file is read (a FIFO, a link to one, a folder, a device):
// no reader blocks on it or reads it. A file of the name further along the search paths is read
// instead; without one the read gives nothing and one error line says what stands there. A FIFO
// that takes a found file's place before it is read is not read either.
TEST_F(FileTest, OnlyRegularFilesAreReadAndNothingElseInTheirPlaceBlocks) {
    auto const dir = testsupport::makeTempDir("file_regular");
    std::filesystem::create_directories(dir / "first");
    std::filesystem::create_directories(dir / "second");
    testsupport::FifoInPlace fifo(dir / "first" / "fifo.txt");
    testsupport::FifoInPlace late(dir / "first" / "late.txt");
    ASSERT_TRUE(fifo.made() && late.made());
    std::filesystem::create_symlink(dir / "first" / "fifo.txt", dir / "first" / "link.txt");
    std::filesystem::create_directory(dir / "first" / "folder.txt");
    std::filesystem::create_symlink("/dev/null", dir / "first" / "device.txt");
    GOBManager::getInstance().addSearchPath(wide(dir / "first"));
    GOBManager::getInstance().addSearchPath(wide(dir / "second"));
    struct {
        wchar_t const* name;
        wchar_t const* kind;
    } const cases[] = {
        {L"fifo.txt", L"a FIFO, not a regular file"},
        {L"link.txt", L"a FIFO, not a regular file"},
        {L"folder.txt", L"Is a directory"},
        {L"device.txt", L"a character device, not a regular file"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(port::toUtf8(c.name));
        std::filesystem::remove(dir / "second" / c.name);
        XMLNode tree;
        logtest::LogWatch watch;
        EXPECT_EQ(tree.loadChecked(c.name), XMLNode::ReadResult::kNothing);
        ASSERT_EQ(watch.lines().size(), 1u);
        EXPECT_EQ(watch.lines()[0],
                  L"ERROR Property file \"" + std::wstring(c.name) + L"\" cannot be read (" + c.kind + L")");
        // A file further along is read, with no line.
        testsupport::writeFile(dir / "second" / c.name, "<FOUND/>");
        logtest::LogWatch quiet;
        EXPECT_EQ(tree.loadChecked(c.name), XMLNode::ReadResult::kComplete);
        EXPECT_EQ(tree.getName(), L"FOUND");
        EXPECT_TRUE(quiet.lines().empty());
    }

    // Opened whole: refused at once, with the words.
    std::wstring why;
    std::FILE* opened = Orvex::openWholeFile((dir / "first" / "fifo.txt").string(), "rb", &why);
    EXPECT_EQ(opened, nullptr);
    if (opened) std::fclose(opened);
    EXPECT_EQ(why, L"a FIFO, not a regular file");

    // Found as a file, then a FIFO in its place.
    std::filesystem::rename(dir / "first" / "late.txt", dir / "late.fifo");
    testsupport::writeFile(dir / "first" / "late.txt", "bytes");
    File file(L"late");
    ASSERT_TRUE(file.open(L"late.txt"));
    std::filesystem::rename(dir / "late.fifo", dir / "first" / "late.txt");
    logtest::LogWatch watch;
    EXPECT_EQ(contents(file), "<unreadable>");
    ASSERT_EQ(watch.lines().size(), 1u);
    EXPECT_EQ(watch.lines()[0], L"ERROR File \"late.txt\" cannot be read (a FIFO, not a regular file)");
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

// A file larger than its reader takes is refused before a byte is read, with one line naming it,
// its size and the limit (sparse files cost no room or time); at the limit it is read.
TEST_F(FileTest, AFileLargerThanItsReaderTakesIsRefusedUnreadWithOneLine) {
    std::filesystem::path const dir = testsupport::makeTempDir("file_sizes");
    auto sparse = [&](char const* name, Orvex::u64 size) {
        testsupport::writeFile(dir / name, "");
        std::filesystem::resize_file(dir / name, size);
        return wide(dir) + L"\\" + port::fromUtf8(name);
    };
    GOBManager::getInstance().addArchive(GOBFile::fromMemory(L"S", gob::buildArchive({{"eleven.txt", "eleven byte"}}), 0));
    struct {
        std::wstring name;
        Orvex::u64 limit;
        wchar_t const* why;  // null: read
    } const cases[] = {
        {sparse("any.bin", File::kMaxReadBytes + 1), File::kMaxReadBytes, L"is 268435457 bytes, more than the 268435456"},
        {sparse("ten.bin", 10), 10, nullptr},
        {L"eleven.txt", 10, L"is 11 bytes, more than the 10"},
        {L"eleven.txt", 11, nullptr},
    };
    for (auto const& c : cases) {
        File file(L"sized");
        ASSERT_TRUE(file.open(c.name));
        std::vector<Orvex::u8> bytes;
        logtest::LogWatch watch;
        EXPECT_EQ(file.readAll(bytes, c.limit), c.why == nullptr) << port::toUtf8(c.name);
        std::vector<std::wstring> const line{L"ERROR File \"" + c.name + L"\" " + (c.why ? c.why : L"") +
                                             L" such a file may have; it is not read"};
        EXPECT_EQ(watch.lines(), c.why ? line : std::vector<std::wstring>{});
    }
    // A property file has a lower limit of its own.
    std::wstring const property = sparse("texte.lng", File::kMaxTextFileBytes + 1);
    XMLNode tree;
    logtest::LogWatch watch;
    EXPECT_EQ(tree.loadChecked(property), XMLNode::ReadResult::kNothing);
    EXPECT_EQ(watch.lines(), std::vector<std::wstring>{L"ERROR Property file \"" + property + L"\" is 16777217 bytes, "
                                                       L"more than the 16777216 such a file may have; it is not read"});
}
