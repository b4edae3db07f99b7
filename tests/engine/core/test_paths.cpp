// Path helpers and the Windows-1252 conversions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/core/CodePage.h"
#include "engine/core/Paths.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/support/TestSupport.h"

using namespace Orvex;

TEST(Paths, JoinClimbsOneFolderPerParentStep) {
    EXPECT_EQ(joinPath(L"data\\FX", L"common.fxh"), L"data\\FX\\common.fxh");
    EXPECT_EQ(joinPath(L"data\\FX\\", L"..\\shared\\a.fxh"), L"data\\shared\\a.fxh");
    EXPECT_EQ(joinPath(L"data\\FX\\sub", L"..\\..\\a.fxh"), L"data\\a.fxh");
    EXPECT_EQ(joinPath(L"data", L"..\\..\\a.fxh"), L"..\\a.fxh");
    EXPECT_EQ(joinPath(L"..", L"..\\a"), L"..\\..\\a");
    EXPECT_EQ(joinPath(L"", L"a.fxh"), L"a.fxh");
    EXPECT_EQ(joinPath(L"data", L".\\a.fxh"), L"data\\a.fxh");
    EXPECT_EQ(joinPath(L"data\\FX", L"../x/a.fxh"), L"data\\x\\a.fxh");
    EXPECT_EQ(joinPath(L"data", L"..a"), L"data\\..a");
    EXPECT_EQ(normalizePath(L"data\\\\FX\\\\\\a.fx"), L"data\\FX\\a.fx");
}

TEST(Paths, DirectoryAndFileName) {
    EXPECT_EQ(getDirectory(L"data\\FX\\effect.fx"), L"data\\FX");
    EXPECT_EQ(getDirectory(L"data\\FX"), L"data\\FX");  // no extension: already a folder
    EXPECT_EQ(getDirectory(L"effect.fx"), L"");
    EXPECT_EQ(getFileName(L"data\\FX\\effect.fx", false), L"effect.fx");
    EXPECT_EQ(getFileName(L"data\\FX\\effect.fx", true), L"effect");
    EXPECT_EQ(getFileName(L"archive.tar.gz", true), L"archive.tar");
    EXPECT_EQ(getFileName(L"noext", true), L"noext");
}

TEST(CodePage, Windows1252BothWays) {
    EXPECT_EQ(toWideString("K\xD6NIG \x80\x9F\x81"), L"K\u00d6NIG \u20ac\u0178\u0081");
    EXPECT_EQ(toNarrowString(L"K\u00d6NIG \u20ac\u0178"), "K\xD6NIG \x80\x9F");
    EXPECT_EQ(toNarrowString(L"a\u65e5\U0001F600b"), "a  b");  // unmappable as blanks
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(toNarrowString(toWideString(one)), one) << b;
    }
}

TEST(CodePage, FoldCaseCoversLatinLetters) {
    EXPECT_TRUE(port::equalsNoCase(L"K\u00d6NIG.DAT", L"k\u00f6nig.dat"));
    EXPECT_TRUE(port::equalsNoCase(L"\u0160\u017d\u0178", L"\u0161\u017e\u00ff"));
    EXPECT_FALSE(port::equalsNoCase(L"\u00d7", L"\u00f7"));  // multiplication and division signs
    EXPECT_FALSE(port::equalsNoCase(L"a", L"ab"));
}

TEST(HostPaths, NewFileLandsInTheExistingFolderOfOtherCase) {
    auto dir = testsupport::makeTempDir("hostpath_new");
    std::filesystem::create_directories(dir / "Data" / "Level");
    std::wstring base = port::fromUtf8(dir.string());
    EXPECT_EQ(port::hostPath(base + L"\\data\\LEVEL\\new.txt"), (dir / "Data" / "Level" / "new.txt").string());
    EXPECT_EQ(port::hostPath(base + L"\\data\\missing\\new.txt"), (dir / "Data" / "missing" / "new.txt").string());
    EXPECT_EQ(port::hostPathNoLookup(L"a\\b\\c"), "a/b/c");
}

// Each part of a path is found whatever its case, letters beyond ASCII too; a name of another
// length is no match, and a part with no match keeps its spelling.
TEST(HostPaths, EachPartIsFoundWhateverItsCase) {
    auto dir = testsupport::makeTempDir("hostpath_case");
    std::filesystem::create_directories(dir / "Menü" / "Bilder");
    for (char const* name : {"Karte.PNG", "Karte.PNG.bak", "karte", "ÄRGER.txt"})
        std::ofstream(dir / "Menü" / "Bilder" / name) << "x";
    std::wstring const base = port::fromUtf8(dir.string());
    struct Row {
        wchar_t const* asked;
        char const* found;
    } const rows[] = {
        {L"\\MENÜ\\bilder\\karte.png", "Menü/Bilder/Karte.PNG"},
        {L"\\menü\\BILDER\\KARTE", "Menü/Bilder/karte"},
        {L"\\Menü\\Bilder\\ärger.TXT", "Menü/Bilder/ÄRGER.txt"},
        {L"\\menü\\bilder\\karte.pn", "Menü/Bilder/karte.pn"},
        {L"\\menu\\bilder\\karte.png", "menu/bilder/karte.png"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(port::toUtf8(row.asked));
        EXPECT_EQ(port::hostPath(base + row.asked), (dir / row.found).string());
    }
}
