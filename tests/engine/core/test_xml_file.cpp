// Property files on disk: UTF-16 and 8-bit round trips, safe saving (saves that meet included),
// loading by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/File.h"
#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_text.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestSupport.h"

using Orvex::XMLAttribute;
using Orvex::XMLNode;
using logtest::contains;

namespace {

std::wstring widePath(std::filesystem::path const& p) { return port::fromUtf8(p.string()); }

// A tree with every feature the format has, including text outside Windows-1252 when asked.
XMLNode sampleTree(bool beyondAnsi) {
    XMLNode root(L"PROFILE");
    root.addAttribute(new XMLAttribute(L"NAME", L"K\u00d6NIG Stra\u00dfe \u20ac"));
    root.addAttribute(new XMLAttribute(L"EMPTY"));
    root.addAttribute(new XMLAttribute(L"F", 0.5f));
    root.addValue(L"value with \"quotes\", <tags> and\r\nline breaks");
    XMLNode* child = root.addChild(L"VERKN\u00dcPFT");
    child->addAttribute(new XMLAttribute(L"X", 3));
    child->addChild(L"LEAF");
    child->addValue(L"");
    root.addChild(L"LEAF")->addValue(L"second");
    if (beyondAnsi) root.addChild(L"\u65e5\u672c")->addValue(L"emoji \U0001F600 and \u0416");
    return root;
}

}  // namespace

TEST(XMLFile, UnicodeRoundTripKeepsTheTree) {
    auto dir = testsupport::makeTempDir("xml_unicode");
    std::wstring path = widePath(dir / "profile.prf");
    XMLNode tree = sampleTree(true);
    ASSERT_TRUE(tree.save(path, true));

    std::string bytes = testsupport::readFile(dir / "profile.prf");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
    // The emoji is written as a surrogate pair.
    EXPECT_NE(bytes.find(std::string("\x3D\xD8\x00\xDE", 4)), std::string::npos);

    XMLNode loaded;
    ASSERT_TRUE(loaded.load(path));
    EXPECT_TRUE(loaded.equals(tree)) << port::toUtf8(loaded.toText());

    // Saving the loaded tree gives the same bytes.
    ASSERT_TRUE(loaded.save(path, true));
    EXPECT_EQ(testsupport::readFile(dir / "profile.prf"), bytes);
}

TEST(XMLFile, AnsiRoundTripKeepsTheTree) {
    auto dir = testsupport::makeTempDir("xml_ansi");
    std::wstring path = widePath(dir / "config.cfg");
    XMLNode tree = sampleTree(false);
    ASSERT_TRUE(tree.save(path, false));

    std::string bytes = testsupport::readFile(dir / "config.cfg");
    EXPECT_NE(bytes.find("K\xD6NIG"), std::string::npos);
    EXPECT_NE(bytes.find("\x80"), std::string::npos);  // the euro sign in Windows-1252
    EXPECT_NE(bytes.find("\t<VERKN\xDCPFT X=\"3\">\r\n"), std::string::npos);

    XMLNode loaded;
    ASSERT_TRUE(loaded.load(path));
    EXPECT_TRUE(loaded.equals(tree));

    // Characters Windows-1252 cannot hold are written as blanks, with a log line.
    XMLNode wider(L"R");
    wider.addValue(L"a\u65e5b");
    logtest::LogWatch log;
    ASSERT_TRUE(wider.save(path, false));
    EXPECT_FALSE(log.lines().empty());
    ASSERT_TRUE(loaded.load(path));
    EXPECT_EQ(loaded.getValue(0)->getString(), L"a b");
}

TEST(XMLFile, ReadsHandWrittenEightBitFiles) {
    auto dir = testsupport::makeTempDir("xml_8bit");
    testsupport::writeFile(dir / "rules.xml", "<SPIEL K\xD6NIG=\"13\">\n\t<VERKN\xDCPFT/>\n\t\"|\x80 \x93x\x94|\"\n</SPIEL>\n");
    XMLNode root;
    ASSERT_TRUE(root.load(widePath(dir / "rules.xml")));
    EXPECT_EQ(root.getAttribute(L"K\u00d6NIG")->getInt(), 13);
    EXPECT_NE(root.getChild(L"VERKN\u00dcPFT"), nullptr);
    EXPECT_EQ(root.getValue(0)->getString(), L"\u20ac \u201cx\u201d");
}

TEST(XMLFile, ReadsUtf16WithLoneSurrogatesAndOddLengthAndMissingFiles) {
    auto dir = testsupport::makeTempDir("xml_utf16_odd");
    std::string bytes = "\xFF\xFE";
    Orvex::appendUtf16LE(bytes, L"<A V=\"");
    bytes += std::string("\x00\xD8", 2);  // a lone high surrogate
    Orvex::appendUtf16LE(bytes, L"\"/>");
    bytes += "\x41";  // a dangling odd byte
    testsupport::writeFile(dir / "odd.xml", bytes);
    XMLNode root;
    ASSERT_TRUE(root.load(widePath(dir / "odd.xml")));
    EXPECT_EQ(root.getAttribute(L"V")->getString(), std::wstring(1, static_cast<wchar_t>(0xD800)));

    // A missing file leaves an empty tree.
    EXPECT_FALSE(root.load(L"no\\such\\file.xml"));
    EXPECT_TRUE(root.isEmpty());
    EXPECT_EQ(root.getName(), L"");
}

// A file cut short anywhere before its root's closing tag still loads (the part before the cut)
// but never reads as complete; the whole file does.
TEST(XMLFile, AFileCutShortAnywhereIsNeverReadAsComplete) {
    auto dir = testsupport::makeTempDir("xml_cut");
    for (bool unicode : {false, true}) {
        std::filesystem::path const file = dir / (unicode ? "cut16.xml" : "cut8.xml");
        ASSERT_TRUE(sampleTree(unicode).save(widePath(file), unicode));
        std::string const whole = testsupport::readFile(file);
        XMLNode tree;
        ASSERT_EQ(tree.loadChecked(widePath(file)), XMLNode::ReadResult::kComplete);
        std::size_t const rootEnd = whole.rfind(unicode ? std::string("<\0/\0", 4) : std::string("</"));
        ASSERT_NE(rootEnd, std::string::npos);
        logtest::LogWatch log;
        // Every cut before the last unit of "</PROFILE>".
        std::size_t const cuts = rootEnd + (unicode ? 19 : 10);
        for (std::size_t size = 0; size < cuts; ++size) {
            testsupport::writeFile(file, whole.substr(0, size));
            XMLNode::ReadResult const result = tree.loadChecked(widePath(file));
            EXPECT_NE(result, XMLNode::ReadResult::kComplete) << (unicode ? "UTF-16 " : "8-bit ") << size;
            EXPECT_EQ(result == XMLNode::ReadResult::kNothing, tree.isEmpty() && tree.getName().empty()) << size;
        }
    }
    XMLNode missing;
    EXPECT_EQ(missing.loadChecked(L"no\\such\\file.xml"), XMLNode::ReadResult::kNothing);
}

TEST(XMLFile, SaveReplacesTheOldFileWholeOrLeavesIt) {
    auto dir = testsupport::makeTempDir("xml_replace");
    std::wstring path = widePath(dir / "a.xml");
    XMLNode big(L"BIG");
    for (int i = 0; i < 100; ++i) big.addChild(L"C");
    ASSERT_TRUE(big.save(path, false));
    XMLNode small(L"S");
    ASSERT_TRUE(small.save(path, false));
    EXPECT_EQ(testsupport::readFile(dir / "a.xml"), "<S/>\r\n");
    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] auto const& entry : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1);

    // A failed save leaves the old file and logs: the target is a folder, the rename fails.
    XMLNode tree(L"KEEP");
    std::string const before = testsupport::readFile(dir / "a.xml");
    std::filesystem::create_directories(dir / "folder.xml" / "inside");
    logtest::LogWatch log;
    EXPECT_FALSE(tree.save(widePath(dir / "folder.xml"), true));
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_TRUE(contains(log.errors()[0], L"folder.xml"));
    EXPECT_EQ(testsupport::savesLeftBeside(dir / "folder.xml"), std::vector<std::string>{});
    EXPECT_FALSE(tree.save(widePath(dir / "no_such_folder" / "x.xml"), true));
    EXPECT_EQ(testsupport::readFile(dir / "a.xml"), before);
}

// A save never writes what its reader would refuse or cut: a file larger than the reader takes
// (File::kMaxTextFileBytes, or the limit the caller names for its reader) or a tree past the
// parse budget. The old file stays byte for byte, nothing is left beside it, and one line says
// why; a file of exactly the limit is written.
TEST(XMLFile, ASaveItsReaderWouldRefuseOrCutKeepsTheOldFile) {
    auto dir = testsupport::makeTempDir("xml_refused");
    std::filesystem::path const file = dir / "kept.xml";
    // "<R>" CR LF, tab "|, the value, |" CR LF, "</R>" CR LF: 18 characters besides the value.
    constexpr std::size_t kAround = 18;
    constexpr std::size_t kOwnLimit = 4096;
    struct {
        char const* what;
        std::size_t length;      // of the value
        bool unicode;
        std::size_t maxBytes;    // 0: the default
        wchar_t const* refused;  // the reason in the line; null: written
    } const cases[] = {
        {"8-bit, a byte larger than load reads", Orvex::File::kMaxTextFileBytes - kAround + 1, false, 0,
         L"more than the 16777216 bytes its reader takes"},
        {"UTF-16, as large as its reader takes", (kOwnLimit - 2) / 2 - kAround, true, kOwnLimit, nullptr},
        {"UTF-16, a unit larger", (kOwnLimit - 2) / 2 - kAround + 1, true, kOwnLimit, L"more than the 4096 bytes"},
        {"8-bit, as large as its reader takes", kOwnLimit - kAround, false, kOwnLimit, nullptr},
        {"8-bit, a byte larger", kOwnLimit - kAround + 1, false, kOwnLimit, L"more than the 4096 bytes"},
        {"a tree past the parse budget", XMLNode::kMaxTreeBytes / sizeof(wchar_t), true, std::size_t{1} << 30,
         L"would take more than the 128 MB a read keeps"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(file);
        ASSERT_TRUE(XMLNode(L"OLD").save(widePath(file), c.unicode));
        std::string const before = testsupport::readFile(file);
        XMLNode tree(L"R");
        tree.addValue(std::wstring(c.length, L'v'));
        logtest::LogWatch log;
        bool const saved = c.maxBytes ? tree.save(widePath(file), c.unicode, c.maxBytes) : tree.save(widePath(file), c.unicode);
        EXPECT_EQ(saved, c.refused == nullptr);
        EXPECT_EQ(testsupport::savesLeftBeside(file), std::vector<std::string>{});
        if (!c.refused) {
            EXPECT_TRUE(log.errors().empty());
            EXPECT_EQ(std::filesystem::file_size(file), c.maxBytes);
            XMLNode read;
            EXPECT_EQ(read.loadChecked(widePath(file), 1, c.maxBytes), XMLNode::ReadResult::kComplete);
            continue;
        }
        EXPECT_EQ(testsupport::readFile(file), before);
        ASSERT_EQ(log.errors().size(), 1u);
        EXPECT_TRUE(contains(log.errors()[0], widePath(file)) && contains(log.errors()[0], c.refused) &&
                    contains(log.errors()[0], L"the file is left as it was"))
            << port::toUtf8(log.errors()[0]);
    }
}

// Indentation stops at XMLNode::kMaxIndent tabs: a tree as deep as the parser keeps, with many
// elements at the bottom, once wrote a thousand tabs for each (here 17 MB, more than its reader
// takes, from a tree of 17,000 leaves), so the game wrote a file it then refused.
TEST(XMLFile, ADeepTreeIsWrittenNoWiderThanAShallowOne) {
    auto dir = testsupport::makeTempDir("xml_deep_wide");
    XMLNode tree(L"R");
    XMLNode* bottom = &tree;
    for (Orvex::u32 depth = 1; depth < XMLNode::kMaxDepth - 20; ++depth) bottom = bottom->addChild(L"N");
    for (int i = 0; i < 17000; ++i) bottom->addChild(L"A");
    std::wstring const path = widePath(dir / "deep.xml");
    ASSERT_TRUE(tree.save(path, false));
    EXPECT_LT(std::filesystem::file_size(dir / "deep.xml"), std::size_t{1} << 20);
    XMLNode read;
    ASSERT_EQ(read.loadChecked(path, 1), XMLNode::ReadResult::kComplete);
    EXPECT_TRUE(read.equals(tree));
}

// Saves of one file that meet (two threads saving over and over, as two games would) never mix
// their files: whenever the file is read it is one of the two whole, every save succeeds, and
// nothing is left beside it.
TEST(XMLFile, SavesThatMeetNeverMixTheirFiles) {
    auto const dir = testsupport::makeTempDir("xml_meet");
    std::wstring const path = widePath(dir / "profile.prf");
    // Of sizes apart, so that a mix shows.
    XMLNode trees[2] = {XMLNode(L"A"), XMLNode(L"B")};
    std::string whole[2];
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < 5000 * (t + 1); ++i) trees[t].addChild(L"C")->setAttribute(L"N", std::to_wstring(i));
        ASSERT_TRUE(trees[t].save(path, true));
        whole[t] = testsupport::readFile(dir / "profile.prf");
    }
    constexpr int kSaves = 40;
    std::atomic<int> failed = 0, saving = 2;
    auto saveOften = [&](int t) {
        for (int i = 0; i < kSaves; ++i) failed += trees[t].save(path, true) ? 0 : 1;
        --saving;
    };
    std::thread first(saveOften, 0), second(saveOften, 1);
    int mixed = 0, reads = 0;
    while (saving > 0) {
        std::string const now = testsupport::readFile(dir / "profile.prf");
        ++reads;
        if (now != whole[0] && now != whole[1]) ++mixed;
    }
    first.join();
    second.join();
    EXPECT_EQ(mixed, 0) << "reads of " << reads << " that found a mixed file";
    EXPECT_EQ(failed, 0) << "saves of " << 2 * kSaves << " that failed";
    int files = 0;
    for ([[maybe_unused]] auto const& entry : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1);
}

// What saves cut short left (the fixed name of older saves, names of ours) goes; other files that
// look alike and folders stay.
TEST(XMLFile, UnfinishedSavesAreRemovedAndNothingElse) {
    auto const dir = testsupport::makeTempDir("xml_unfinished");
    for (char const* name : {"profile.prf", "profile.prf.saving", "config.cfg.saving-12-3", "notes.saving.txt", ".saving"})
        testsupport::writeFile(dir / name, "x");
    std::filesystem::create_directory(dir / "folder.saving");
    XMLNode::removeUnfinishedSaves(widePath(dir));
    std::vector<std::string> left;
    for (auto const& entry : std::filesystem::directory_iterator(dir)) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".saving", "folder.saving", "notes.saving.txt", "profile.prf"}));
}

TEST(XMLFile, SaveFindsAnExistingFileInOtherCase) {
    auto dir = testsupport::makeTempDir("xml_case_save");
    std::filesystem::create_directories(dir / "Data");
    testsupport::writeFile(dir / "Data" / "Config.CFG", "<OLD/>");
    XMLNode tree(L"NEW");
    ASSERT_TRUE(tree.save(widePath(dir) + L"\\data\\config.cfg", false));
    EXPECT_EQ(testsupport::readFile(dir / "Data" / "Config.CFG"), "<NEW/>\r\n");
}

TEST(XMLFile, Utf16FilesAreReadInPlaceWithSurrogatesAnywhere) {
    // A UTF-16 file is parsed unit by unit, its texts kept as views of the units: pairs must
    // become one character and lone surrogates stay, wherever they fall, in names, attribute
    // values and values alike, for lookups, numbers, copies and comparisons.
    auto dir = testsupport::makeTempDir("xml_utf16_long");
    std::wstring text;
    for (int k = 0; k < 40; ++k) {
        text += std::wstring(static_cast<std::size_t>(k), L'a');
        text += L'\U0001F600';
        text += static_cast<wchar_t>(0xDC00);  // a lone low surrogate
        text += L'\u00e4';
    }
    XMLNode tree(L"R");
    tree.addAttribute(new XMLAttribute(L"A", text));
    tree.addAttribute(new XMLAttribute(L"N\U0001F600", 12));
    tree.addValue(text);
    tree.addChild(L"E\U0001F600")->addValue(L"\U0001F600");
    ASSERT_TRUE(tree.save(widePath(dir / "long.xml"), true));
    XMLNode loaded;
    ASSERT_TRUE(loaded.load(widePath(dir / "long.xml")));
    EXPECT_EQ(loaded.getAttribute(L"A")->getString(), text);
    EXPECT_EQ(loaded.getValue(0)->getString(), text);
    EXPECT_EQ(loaded.getAttributeInt(L"N\U0001F600", 0), 12);
    ASSERT_NE(loaded.getChild(L"E\U0001F600"), nullptr);
    EXPECT_EQ(loaded.getChild(L"E\U0001F600")->getValue(0)->getString(), L"\U0001F600");
    EXPECT_TRUE(loaded.equals(tree));
    XMLNode copy(loaded);
    EXPECT_TRUE(copy.equals(tree));
}
