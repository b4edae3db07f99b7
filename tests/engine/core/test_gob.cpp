// The .gob archive reader: sound archives, lookups, and every kind of damage.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "engine/core/GOBFile.h"
#include "engine/core/GOBFormat.h"
#include "engine/core/GOBManager.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/support/TestSupport.h"

using Orvex::GOBFile;
using Orvex::GOBManager;
namespace gob = Orvex::gob;
using logtest::contains;
using logtest::LogWatch;

namespace {

std::string sampleArchive() {
    return gob::buildArchive({{"data\\texte.lng", "<TEXTE/>"}, {"data\\Level\\K\xD6NIG.dat", "crown"}, {"empty.txt", ""}});
}

std::size_t recordAt(std::size_t i) { return gob::kHeaderSize + i * gob::kRecordSize; }

// The sample archive with one little-endian 32-bit field overwritten.
std::string patched(std::size_t at, uint32_t v) {
    std::string bytes = sampleArchive();
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return bytes;
}

std::string readAll(GOBFile const& archive, std::wstring const& name) {
    auto const* entry = archive.findEntry(name);
    if (!entry) return "<missing>";
    std::vector<unsigned char> bytes;
    if (!archive.readEntry(*entry, bytes)) return "<unreadable>";
    return std::string(bytes.begin(), bytes.end());
}

class GOBTest : public ::testing::Test {
protected:
    void SetUp() override { GOBManager::getInstance().clear(); }
    void TearDown() override { GOBManager::getInstance().clear(); }
};

}  // namespace

TEST_F(GOBTest, ReadsASoundArchiveFromDisk) {
    auto dir = testsupport::makeTempDir("gob_sound");
    testsupport::writeFile(dir / "Base.GOB", sampleArchive());
    LogWatch log;
    GOBFile archive(L"BASEGOB", port::fromUtf8(dir.string()) + L"\\base.gob", 0);  // other case on disk
    EXPECT_TRUE(log.errors().empty());
    ASSERT_TRUE(archive.isValid());
    EXPECT_EQ(archive.getEntryCount(), 3u);
    EXPECT_EQ(archive.getEntryName(1), L"data\\Level\\K\u00d6NIG.dat");

    EXPECT_EQ(readAll(archive, L"data\\texte.lng"), "<TEXTE/>");
    EXPECT_EQ(readAll(archive, L"DATA\\TEXTE.LNG"), "<TEXTE/>");
    EXPECT_EQ(readAll(archive, L"data/texte.lng"), "<TEXTE/>");
    EXPECT_EQ(readAll(archive, L".\\data\\\\texte.lng"), "<TEXTE/>");
    EXPECT_EQ(readAll(archive, L"data\\level\\k\u00f6nig.DAT"), "crown");
    EXPECT_EQ(readAll(archive, L"empty.txt"), "");
    EXPECT_EQ(archive.findEntry(L"texte.lng"), nullptr);

    // Of two names equal but for case, the first is used.
    std::unique_ptr<GOBFile> dup(GOBFile::fromMemory(L"dup", gob::buildArchive({{"a.txt", "1"}, {"A.TXT", "2"}}), 0));
    EXPECT_EQ(readAll(*dup, L"A.txt"), "1");
}

// A missing archive is an ordinary case (the game looks for archives it does not ship): one
// warning line. One that exists and cannot be read is an error.
TEST_F(GOBTest, MissingArchiveFindsNothingAndLogs) {
    LogWatch log;
    GOBFile archive(L"CPGOB", L"no_such_archive.gob", 1);
    EXPECT_FALSE(archive.isValid());
    EXPECT_EQ(archive.getEntryCount(), 0u);
    EXPECT_EQ(archive.findEntry(L"anything"), nullptr);
    EXPECT_TRUE(log.errors().empty());
    auto const lines = log.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(contains(lines[0], L"no_such_archive.gob") && contains(lines[0], L"not found"));

    std::filesystem::path const folder = testsupport::makeTempDir("gob_folder") / "folder.gob";
    std::filesystem::create_directories(folder);
    LogWatch unreadable;
    GOBFile notAFile(L"BASEGOB", port::windowsPath(folder.string()), 0);
    EXPECT_EQ(notAFile.getEntryCount(), 0u);
    ASSERT_EQ(unreadable.errors().size(), 1u);
    EXPECT_TRUE(contains(unreadable.errors()[0], L"folder.gob"));
}

struct DamageCase {
    char const* name;
    std::string (*make)();
    uint32_t entriesKept;
};

class GOBDamagedTest : public GOBTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(GOBDamagedTest, KeepsWhatCouldBeReadAndLogsOneLine) {
    LogWatch log;
    std::unique_ptr<GOBFile> archive(GOBFile::fromMemory(L"broken.gob", GetParam().make(), 0));
    EXPECT_EQ(archive->getEntryCount(), GetParam().entriesKept);
    auto errors = log.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(contains(errors[0], L"broken.gob")) << port::toUtf8(errors[0]);
    // Whatever was kept reads within bounds.
    for (Orvex::u32 i = 0; i < archive->getEntryCount(); ++i) {
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(archive->readEntry(*archive->getEntry(i), bytes));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GOBDamagedTest,
    ::testing::Values(
        DamageCase{"empty", [] { return std::string(); }, 0},
        DamageCase{"short_header", [] { return std::string("GOB", 3); }, 0},
        DamageCase{"wrong_magic", [] { return patched(0, 0x00424F58u); }, 0},
        DamageCase{"huge_count", [] { return patched(4, 0xFFFFFFFFu); }, 3},
        // A fourth record would overlap the data and the end.
        DamageCase{"count_past_end", [] { return patched(4, 4); }, 3},
        DamageCase{"offset_past_end", [] { return patched(recordAt(0), 0x7FFFFFF0u); }, 2},
        // offset + size overflows 32 bits
        DamageCase{"size_past_end", [] { return patched(recordAt(1) + 4, 0xFFFFFFFFu); }, 2},
        DamageCase{"name_without_zero",
                   [] {
                       auto a = sampleArchive();
                       std::memset(a.data() + recordAt(2) + 8, 'A', gob::kNameSize);
                       return a;
                   },
                   2},
        DamageCase{"duplicate_name", [] { return gob::buildArchive({{"a.txt", "1"}, {"A.TXT", "2"}}); }, 2}),
    [](auto const& info) { return std::string(info.param.name); });

TEST_F(GOBTest, ArchiveShrunkAfterMountingFailsToReadCleanly) {
    auto dir = testsupport::makeTempDir("gob_shrunk");
    testsupport::writeFile(dir / "a.gob", sampleArchive());
    GOBFile archive(L"A", port::fromUtf8((dir / "a.gob").string()), 0);
    testsupport::writeFile(dir / "a.gob", std::string("GOB\0", 4));
    LogWatch log;
    EXPECT_EQ(readAll(archive, L"data\\texte.lng"), "<unreadable>");
    EXPECT_EQ(log.errors().size(), 1u);
}

TEST_F(GOBTest, OrdersSortByKeyAndEndWithTheDisk) {
    auto& manager = GOBManager::getInstance();
    manager.addArchive(nullptr);
    GOBFile* second = GOBFile::fromMemory(L"SECOND", gob::buildArchive({{"x", "2"}}), 1);
    GOBFile* first = GOBFile::fromMemory(L"FIRST", gob::buildArchive({{"x", "1"}}), 0);
    manager.addArchive(second);
    manager.addArchive(first);
    auto const& order = manager.findOrder(L"DEFAULT");
    ASSERT_EQ(order.entries.size(), 3u);
    EXPECT_EQ(order.entries[0], first);
    EXPECT_EQ(order.entries[1], second);
    EXPECT_EQ(order.entries[2], nullptr);

    second->setOrderIndex(-1);
    manager.rebuildOrders();
    EXPECT_EQ(manager.findOrder(L"DEFAULT").entries[0], second);

    EXPECT_EQ(&manager.findOrder(L"UNKNOWN"), &manager.findOrder(L"DEFAULT"));
    auto const& own = manager.findOrder(L"FIRST");
    ASSERT_EQ(own.entries.size(), 2u);
    EXPECT_EQ(own.entries[0], first);
    EXPECT_EQ(own.entries[1], nullptr);
    EXPECT_EQ(manager.findArchive(L"SECOND"), second);
}

TEST(GOBFormat, WriterRefusesNamesThatDoNotFit) {
    EXPECT_TRUE(gob::buildArchive({{std::string(259, 'a'), "x"}}).size() > 0);
    EXPECT_TRUE(gob::buildArchive({{std::string(260, 'a'), "x"}}).empty());
    EXPECT_TRUE(gob::buildArchive({{"", "x"}}).empty());
}
