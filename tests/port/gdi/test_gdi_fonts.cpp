// GDI's font services on FreeType: height conventions, text metrics, ABC widths, Unicode ranges,
// fonts installed from memory (a face file of Debian's font packages, read at test time) and
// handles that are bad or stale.
#include "port/gdi/FontFace.h"
#include "port/gdi/wingdi.h"
#include "tests/support/PortLogCapture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr char kDejaVuSans[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct DcWithFont {
    HDC dc = GetDC(nullptr);
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
    DcWithFont(int height, wchar_t const* face, int weight = FW_NORMAL, int width = 0) {
        font = CreateFontW(height, width, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
        if (font) old = SelectObject(dc, font);
    }
    ~DcWithFont() {
        if (old) SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
    }
    TEXTMETRICW metrics() {
        TEXTMETRICW tm{};
        EXPECT_TRUE(GetTextMetricsW(dc, &tm));
        return tm;
    }
};

using LogCapture = testsupport::PortLogCapture;

TEST(GdiFonts, NegativeHeightIsTheCharacterHeightPositiveTheCell) {
    struct Case {
        int height;
        wchar_t const* face;
    };
    for (Case c : {Case{-20, L"Arial"}, Case{20, L"Arial"}, Case{-13, L"Times New Roman"}, Case{32, L"Verdana"},
                   Case{-15, L"No Such Face At All"}}) {
        DcWithFont f(c.height, c.face);
        ASSERT_NE(f.font, nullptr) << c.height;
        TEXTMETRICW tm = f.metrics();
        int expected = c.height < 0 ? tm.tmHeight - tm.tmInternalLeading : tm.tmHeight;
        EXPECT_EQ(expected, c.height < 0 ? -c.height : c.height);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        EXPECT_GT(tm.tmInternalLeading, 0);  // Windows-style faces have room for accents above
        EXPECT_GT(tm.tmAveCharWidth, 0);
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    }
}

TEST(GdiFonts, WindowsNamesResolveToMetricCompatibleFaces) {
    port::gdi::FaceSource source;
    ASSERT_TRUE(port::gdi::findFace({L"Arial", -20, 0, FW_NORMAL, false}, source));
    bool liberation = std::filesystem::exists("/usr/share/fonts/truetype/liberation");
    EXPECT_NE(source.path.find(liberation ? "LiberationSans-Regular" : "DejaVuSans"), std::string::npos) << source.path;
    ASSERT_TRUE(port::gdi::findFace({L"arial", -20, 0, FW_BOLD, true}, source));  // names ignore case
    EXPECT_TRUE(source.bold);
    EXPECT_TRUE(source.italic);
    // Arial's 'A' is 1366/2048 em wide: at 20 pixels about 13.
    DcWithFont f(-20, L"Arial");
    ABCFLOAT abc{};
    ASSERT_TRUE(GetCharABCWidthsFloatW(f.dc, 'A', 'A', &abc));
    if (liberation) {
        EXPECT_NEAR(abc.abcfA + abc.abcfB + abc.abcfC, 13.0f, 1.0f);
    }
}

TEST(GdiFonts, AbcWidthsAndRangesOfAKnownFaceArePlausible) {
    DcWithFont f(-24, L"DejaVu Sans");
    ASSERT_NE(f.font, nullptr);
    std::vector<ABCFLOAT> abc(65535);
    ASSERT_TRUE(GetCharABCWidthsFloatW(f.dc, 0, 65534, abc.data()));
    ABCFLOAT a = abc['A'], space = abc[' '], i = abc['i'], w = abc['W'];
    EXPECT_GT(a.abcfA + a.abcfB + a.abcfC, 0.0f);
    EXPECT_GT(a.abcfB, 0.0f);
    EXPECT_EQ(space.abcfB, 0.0f);
    EXPECT_GT(space.abcfC, 0.0f);
    EXPECT_LT(i.abcfA + i.abcfB + i.abcfC, w.abcfA + w.abcfB + w.abcfC);
    EXPECT_GT(abc[0xE4].abcfB, 0.0f);    // ä
    EXPECT_GT(abc[0x20AC].abcfB, 0.0f);  // €
    EXPECT_FALSE(GetCharABCWidthsFloatW(f.dc, 'B', 'A', abc.data()));

    DWORD size = GetFontUnicodeRanges(f.dc, nullptr);
    ASSERT_GE(size, sizeof(GLYPHSET));
    std::vector<std::byte> block(size);
    auto* set = reinterpret_cast<GLYPHSET*>(block.data());
    ASSERT_EQ(GetFontUnicodeRanges(f.dc, set), size);
    EXPECT_EQ(set->cbThis, size);
    EXPECT_GT(set->cGlyphsSupported, 1000u);
    auto covers = [&](WCHAR c) {
        for (DWORD r = 0; r < set->cRanges; ++r)
            if (c >= set->ranges[r].wcLow && c < set->ranges[r].wcLow + set->ranges[r].cGlyphs) return true;
        return false;
    };
    EXPECT_TRUE(covers(0xE4));
    EXPECT_TRUE(covers(0x20AC));
    EXPECT_TRUE(covers('A'));
    EXPECT_FALSE(covers(0xE000));  // private use: not in the face
    DWORD sum = 0;
    for (DWORD r = 0; r < set->cRanges; ++r) {
        sum += set->ranges[r].cGlyphs;
        if (r > 0) {
            EXPECT_GT(set->ranges[r].wcLow, set->ranges[r - 1].wcLow + set->ranges[r - 1].cGlyphs - 1);
        }
    }
    EXPECT_EQ(sum, set->cGlyphsSupported);
}

TEST(GdiFonts, WidthAndWeightShapeTheFace) {
    DcWithFont narrow(-20, L"Arial", FW_NORMAL, 6), natural(-20, L"Arial"), bold(-20, L"Arial", FW_BOLD);
    EXPECT_EQ(narrow.metrics().tmAveCharWidth, 6);
    ABCFLOAT n{}, m{}, b{};
    GetCharABCWidthsFloatW(narrow.dc, 'M', 'M', &n);
    GetCharABCWidthsFloatW(natural.dc, 'M', 'M', &m);
    GetCharABCWidthsFloatW(bold.dc, 'M', 'M', &b);
    EXPECT_LT(n.abcfB, m.abcfB);
    EXPECT_GE(b.abcfB, m.abcfB);
    EXPECT_EQ(bold.metrics().tmWeight, FW_BOLD);
}

// A face installed from memory comes before the installed file found for the same name before
// (whose answer the lookup keeps), and that file is found again once the face is removed.
TEST(GdiFonts, FontFromMemoryIsFoundByNameUntilRemoved) {
    std::string bytes = testsupport::readFile(kDejaVuSans);
    ASSERT_FALSE(bytes.empty());
    port::gdi::FaceSource source;
    ASSERT_TRUE(port::gdi::findFace({L"DejaVu Sans", -16, 0, FW_NORMAL, false}, source));
    EXPECT_EQ(source.bytes, nullptr);  // the installed file so far
    std::string const installedFile = source.path;
    DWORD count = 0;
    HANDLE handle = AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &count);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(count, 1u);
    bytes.assign(bytes.size(), '\0');  // the caller frees its copy: the installed face must not read it
    ASSERT_TRUE(port::gdi::findFace({L"dejavu sans", -16, 0, FW_NORMAL, false}, source));
    EXPECT_NE(source.bytes, nullptr);

    DcWithFont f(-16, L"DejaVu Sans");
    ASSERT_NE(f.font, nullptr);
    ABCFLOAT abc{};
    ASSERT_TRUE(GetCharABCWidthsFloatW(f.dc, 0x20AC, 0x20AC, &abc));
    EXPECT_GT(abc.abcfB, 0.0f);
    EXPECT_TRUE(RemoveFontMemResourceEx(handle));
    EXPECT_FALSE(RemoveFontMemResourceEx(handle));
    ASSERT_TRUE(port::gdi::findFace({L"DejaVu Sans", -16, 0, FW_NORMAL, false}, source));
    EXPECT_EQ(source.bytes, nullptr);
    EXPECT_EQ(source.path, installedFile);
    ASSERT_TRUE(GetCharABCWidthsFloatW(f.dc, 'A', 'A', &abc));  // made before the removal: still works
    EXPECT_GT(abc.abcfB, 0.0f);
}

TEST(GdiFonts, BrokenFontDataIsRefusedWithALogLine) {
    std::string real = testsupport::readFile(kDejaVuSans);
    ASSERT_GT(real.size(), 4096u);
    struct Case {
        char const* what;
        std::string bytes;
    };
    Case cases[] = {{"text", "this is no font at all"},
                    {"truncated", real.substr(0, 200)},
                    {"zeros", std::string(4096, '\0')}};
    for (auto& c : cases) {
        LogCapture log;
        DWORD count = 7;
        EXPECT_EQ(AddFontMemResourceEx(c.bytes.data(), static_cast<DWORD>(c.bytes.size()), nullptr, &count), nullptr)
            << c.what;
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(log.taken().size(), 1u) << c.what;
    }
    LogCapture log;
    DWORD count = 0;
    EXPECT_EQ(AddFontMemResourceEx(nullptr, 10, nullptr, &count), nullptr);
    EXPECT_EQ(log.taken().size(), 1u);
}

TEST(GdiFonts, BadAndStaleHandlesFailSafely) {
    int local = 0;
    EXPECT_FALSE(DeleteObject(&local));
    EXPECT_FALSE(DeleteObject(nullptr));
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    HGDIOBJ stock = SelectObject(dc, font);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(dc, &local), nullptr);
    EXPECT_TRUE(DeleteObject(font));  // still selected: the context keeps it usable
    EXPECT_FALSE(DeleteObject(font));
    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12);
    EXPECT_EQ(SelectObject(dc, stock), font);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
    EXPECT_FALSE(GetTextMetricsW(dc, &tm));
    ABCFLOAT abc{};
    EXPECT_FALSE(GetCharABCWidthsFloatW(dc, 'A', 'A', &abc));
    EXPECT_EQ(GetFontUnicodeRanges(dc, nullptr), 0u);
    EXPECT_EQ(SelectObject(dc, stock), nullptr);
}

TEST(GdiFonts, CharactersOutsideTheFaceGetTheDefaultGlyphWidths) {
    DcWithFont f(-16, L"Arial");
    ABCFLOAT missing[2]{}, notdef{};
    ASSERT_TRUE(GetCharABCWidthsFloatW(f.dc, 0xE000, 0xE001, missing));
    ASSERT_TRUE(GetCharABCWidthsFloatW(f.dc, 0xFFFF, 0xFFFF, &notdef));
    EXPECT_EQ(missing[0].abcfB, notdef.abcfB);
    EXPECT_EQ(missing[1].abcfA + missing[1].abcfB + missing[1].abcfC, notdef.abcfA + notdef.abcfB + notdef.abcfC);
}

// A face whose tables are intact but whose glyph data is damaged installs, and then measures and
// rasterises without reading out of bounds (the sanitizers watch), whatever it yields.
TEST(GdiFonts, DamagedGlyphDataMeasuresAndRastersSafely) {
    std::string bytes = testsupport::readFile(kDejaVuSans);
    ASSERT_GT(bytes.size(), 200000u);
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 8192; ++i) bytes[i] = static_cast<char>(0xFF ^ i);
    DWORD count = 0;
    HANDLE handle = AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &count);
    if (!handle) GTEST_SKIP() << "FreeType refused the damaged face outright";
    auto face = port::gdi::FontFace::open({L"DejaVu Sans", -30, 0, FW_BOLD, true});
    ASSERT_NE(face, nullptr);
    port::gdi::GlyphImage image;
    for (char32_t c = 0x20; c < 0x3000; ++c) {
        face->box(c);
        if (face->render(c, image)) {
            EXPECT_EQ(image.coverage.size(), static_cast<std::size_t>(image.width) * image.height);
        }
    }
    EXPECT_TRUE(RemoveFontMemResourceEx(handle));
}

}  // namespace

// A font resource removed by a static destroyed at exit, after the registry was first used (so
// the registry is built later and would be destroyed earlier), must not touch freed memory.
TEST(GdiFonts, AResourceRemovedDuringExitFindsTheRegistry) {
    std::string bytes = testsupport::readFile(kDejaVuSans);
    ASSERT_FALSE(bytes.empty());
    pid_t const child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        struct RemoveAtExit {
            HANDLE handle = nullptr;
            ~RemoveAtExit() {
                if (handle) RemoveFontMemResourceEx(handle);
            }
        };
        static RemoveAtExit holder;  // built before the registry, so destroyed after it
        DWORD count = 0;
        holder.handle = AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &count);
        std::exit(holder.handle ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died during exit";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
