// The safe wide formatter: MSVC meanings, and nothing read beyond the given arguments when a
// format comes from data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "port/crt/crt.h"

using msvc::format;

TEST(CrtFormat, IntegersWithFlagsWidthAndPrecision) {
    EXPECT_EQ(format(L"%d %i %u", 42, -7, 3u), L"42 -7 3");
    EXPECT_EQ(format(L"%5d|%-5d|%05d|%+d|% d", 42, 42, 42, 42, 42), L"   42|42   |00042|+42| 42");
    EXPECT_EQ(format(L"%.3d|%.0d|%8.3d|%08.3d", 7, 0, -7, 7), L"007||    -007|     007");
    EXPECT_EQ(format(L"%05d", -42), L"-0042");
    EXPECT_EQ(format(L"%x %X %#x %#X %#x", 255, 255, 255, 255, 0), L"ff FF 0xff 0XFF 0");
    EXPECT_EQ(format(L"%o %#o %#o", 8, 8, 0), L"10 010 0");
    EXPECT_EQ(format(L"%#08x", 255), L"0x0000ff");
    EXPECT_EQ(format(L"%d %lld", INT32_MIN, INT64_MIN), L"-2147483648 -9223372036854775808");
}

TEST(CrtFormat, SizePrefixesCutToWindowsWidths) {
    int64_t const big = int64_t{1} << 40;
    EXPECT_EQ(format(L"%u|%lu|%llu", -1, -1, -1), L"4294967295|4294967295|18446744073709551615");
    EXPECT_EQ(format(L"%I64d|%Id|%zd|%lld", big, big, big, big),
              L"1099511627776|1099511627776|1099511627776|1099511627776");
    // int and long are 32 bits on Windows: the high bits are dropped.
    EXPECT_EQ(format(L"%d|%ld|%I32d", big + 5, big + 5, big + 5), L"5|5|5");
    EXPECT_EQ(format(L"%hd|%hu|%hhd|%hhu", 65535, 65537, 255, 257), L"-1|1|-1|1");
    EXPECT_EQ(format(L"%x|%llx|%I64X", -1, -1, -1), L"ffffffff|ffffffffffffffff|FFFFFFFFFFFFFFFF");
    EXPECT_EQ(format(L"%d", 4294967295u), L"-1");
}

TEST(CrtFormat, CharactersAndStringsWithMsvcMeanings) {
    EXPECT_EQ(format(L"%c%c", 'A', L'\x20AC'), L"A\x20AC");
    // Narrow characters are Windows-1252: 0x80 is the euro sign, 0xE9 is e acute.
    EXPECT_EQ(format(L"%hc%C%lc", 0x80, 0xE9, 0x263A), L"\x20AC\x00E9\x263A");
    EXPECT_EQ(format(L"%s|%ls|%ws", L"abc", std::wstring(L"d"), std::wstring_view(L"e")), L"abc|d|e");
    EXPECT_EQ(format(L"%S|%hs|%hs", "abc", std::string("\x80"), "\xFC"), L"abc|\x20AC|\x00FC");
    EXPECT_EQ(format(L"%.2s|%5s|%-5s|%05s", L"abcdef", L"abc", L"abc", L"ab"), L"ab|  abc|abc  |000ab");
    EXPECT_EQ(format(L"%3c|%-3c|", 'x', 'y'), L"  x|y  |");
    wchar_t const* none = nullptr;
    EXPECT_EQ(format(L"[%s]", none), L"[]");
}

TEST(CrtFormat, FloatingPoint) {
    EXPECT_EQ(format(L"%e|%E|%e", 12345.678, 12345.678, 1e100), L"1.234568e+04|1.234568E+04|1.000000e+100");
    EXPECT_EQ(format(L"%.2e", 0.0), L"0.00e+00");
    EXPECT_EQ(format(L"%f|%.2f|%8.2f|%-8.2f|", 3.14159, 3.14159, 3.14159, 3.14159), L"3.141590|3.14|    3.14|3.14    |");
    EXPECT_EQ(format(L"%08.2f|%+.1f|% .1f|%#.0f", -3.14159, 2.0, 2.0, 3.0), L"-0003.14|+2.0| 2.0|3.");
    EXPECT_EQ(format(L"%g|%g|%g|%G|%#g", 0.0001, 1e-5, 123456789.0, 1e-5, 1.0), L"0.0001|1e-05|1.23457e+08|1E-05|1.00000");
    EXPECT_EQ(format(L"%a|%.1a|%A", 1.0, 1.5, 1.0), L"0x1.0000000000000p+0|0x1.8p+0|0X1.0000000000000P+0");
    EXPECT_EQ(format(L"%.1f", 1.5f), L"1.5");
    double const inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(format(L"%f|%F|%f|%5.1f", inf, inf, -inf, inf), L"inf|INF|-inf|  inf");
    EXPECT_EQ(format(L"%f", std::numeric_limits<double>::quiet_NaN()), L"nan");
}

TEST(CrtFormat, PointersPercentUnknownConversionsAndPercentN) {
    EXPECT_EQ(format(L"%p", reinterpret_cast<void const*>(uintptr_t{0x12AB})), L"00000000000012AB");
    EXPECT_EQ(format(L"%p|%20p|", nullptr, nullptr), L"0000000000000000|    0000000000000000|");
    EXPECT_EQ(format(L"100%% sure"), L"100% sure");
    EXPECT_EQ(format(L"100%"), L"100%");
    EXPECT_EQ(format(L"a %q b %5"), L"a %q b %5");
    EXPECT_EQ(format(L"x%ky", 1), L"x%ky");
    int target = 1234;  // %n writes nothing

    EXPECT_EQ(format(L"a%nb%d", &target, 5), L"ab5");
    EXPECT_EQ(target, 1234);
    EXPECT_EQ(format(L"a%nb"), L"ab");
}

TEST(CrtFormat, MissingArgumentsAndWrongKindsPrintNothing) {
    EXPECT_EQ(format(L"%d and %s"), L" and ");
    EXPECT_EQ(format(L"%d-%d-%s", 1), L"1--");
    EXPECT_EQ(format(L"%*d", 5), L"");
    EXPECT_EQ(msvc::formatArgs(L"[%d]", nullptr, 3), L"[]");
    EXPECT_EQ(format(L"%d|%s|%s|%S|%f|%d|%p|%c", L"t", 5, "narrow", L"wide", 5, 2.5, 7, L"x"), L"|||||||");
    // Each conversion uses one argument, printed or not, so later ones stay in place.
    EXPECT_EQ(format(L"%d|%s|%d", L"x", L"y", 3), L"|y|3");
    // A '*' that gets no integer spoils its conversion, whose own argument is used up as well.
    EXPECT_EQ(format(L"%*d|%d", L"x", 5, 6), L"|6");
}

TEST(CrtFormat, StarWidthAndPrecision) {
    EXPECT_EQ(format(L"%*d|%-*d|%*d|", 5, 42, 4, 1, -4, 1), L"   42|1   |1   |");
    EXPECT_EQ(format(L"%.*f|%.*f", 2, 3.14159, -1, 1.0), L"3.14|1.000000");
    EXPECT_EQ(format(L"%*.*s|", 6, 2, L"abcdef"), L"    ab|");
}

TEST(CrtFormat, HugeWidthsAndPrecisionsAreCapped) {
    for (std::wstring const& f : {L"%999999999d", L"%99999999999999999999999d", L"%.999999999d"})
        EXPECT_EQ(format(f, 1).size(), 4096u) << f.size();
    EXPECT_EQ(format(L"%.999999999f", 1.0).size(), 2u + 4096u);
    EXPECT_EQ(format(L"%999999999s", L"x").size(), 4096u);
    EXPECT_EQ(format(L"%*d|%*d", 2000000000, 1, INT32_MIN, 1).size(), 2 * 4096u + 1);
    EXPECT_EQ(format(L"%.*e", 2000000000, 1.0).size(), 4096u + 6u);
}

TEST(CrtFormat, OutputLimitStopsFormattingEarly) {
    msvc::FormatArg const one[] = {1};
    EXPECT_EQ(msvc::formatArgs(L"abcdef", nullptr, 0, L'.', 3), L"abc");
    EXPECT_EQ(msvc::formatArgs(L"ab%5d", one, 1, L'.', 4), L"ab  ");
    EXPECT_EQ(msvc::formatArgs(L"abc", nullptr, 0, L'.', 0), L"");
    // 100,000 wide fields would be 400 million characters; the limit keeps it at a few thousand.
    std::wstring wide;
    for (int i = 0; i < 100000; ++i) wide += L"%4096s";
    EXPECT_EQ(msvc::formatArgs(wide, nullptr, 0, L'.', 10000).size(), 0u);
    msvc::FormatArg const text[] = {L"x"};
    EXPECT_EQ(msvc::formatArgs(L"%4096s%4096s%4096s%4096s", text, 1, L'.', 10000).size(), 4096u);
    std::wstring numbers;
    for (int i = 0; i < 100000; ++i) numbers += L"%4096d";
    std::vector<msvc::FormatArg> many(100000, msvc::FormatArg(1));
    EXPECT_EQ(msvc::formatArgs(numbers, many.data(), many.size(), L'.', 10000).size(), 10000u);
}

TEST(CrtSwprintf, CutsToTheBufferAndTerminates) {
    wchar_t buffer[8];
    EXPECT_EQ(msvc::swprintf(buffer, 8, L"%d", 42), 2);
    EXPECT_EQ(std::wstring(buffer), L"42");
    EXPECT_EQ(msvc::swprintf(buffer, 8, L"%d", 1234567890), -1);
    EXPECT_EQ(std::wstring(buffer), L"1234567");
    EXPECT_EQ(msvc::swprintf(buffer, 8, L"exactly"), 7);
    EXPECT_EQ(msvc::swprintf(buffer, 0, L"x"), -1);
    EXPECT_EQ(msvc::swprintf(nullptr, 8, L"x"), -1);
}

// Formats put together from the formatter's own vocabulary, as a broken or hostile data file
// might: every one must finish, stay within the width cap and never touch more than its
// arguments (the sanitizers watch the reads).
TEST(CrtFormat, ArbitraryFormatsFromDataStaySafe) {
    std::wstring const alphabet = L"%%%%-+ #0123456789.*hlLwIzjt36cCdiouxXeEfFgGaAsSpnqk%";
    int target = 5;
    msvc::FormatArg const args[] = {msvc::FormatArg(-12), msvc::FormatArg(L"wide"), msvc::FormatArg(2.5),
                                    msvc::FormatArg("narrow"), msvc::FormatArg(static_cast<void const*>(&target)),
                                    msvc::FormatArg(uint64_t{1} << 63), msvc::FormatArg(999999999)};
    msvc::srand(99);
    for (int round = 0; round < 20000; ++round) {
        std::wstring fmt;
        int const length = 1 + msvc::rand() % 24;
        for (int k = 0; k < length; ++k)
            fmt += alphabet[static_cast<std::size_t>(msvc::rand()) % alphabet.size()];
        std::size_t const count = static_cast<std::size_t>(msvc::rand()) % 8;
        std::wstring out = msvc::formatArgs(fmt, args, count);
        // Each character of the format yields at most one capped field.
        ASSERT_LE(out.size(), fmt.size() * (4096u + 32u)) << std::string(fmt.begin(), fmt.end());
    }
    EXPECT_EQ(target, 5);
}
