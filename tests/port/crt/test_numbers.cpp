// The wide number parsers as the property files and console use them.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "port/crt/crt.h"

TEST(CrtWtoi, ParsesLikeTheRuntime) {
    std::pair<wchar_t const*, int> const cases[] = {
        {L"  \t-17abc", -17}, {L"+8", 8}, {L"", 0}, {L"- 5", 0}, {L"0x1F", 0}, {L"3.9", 3},
        {L"2147483648", INT32_MAX}, {L"-2147483648", INT32_MIN}, {L"-99999999999999999999999", INT32_MIN},
        {L"\xFF11", 0},  // digits of other scripts are not digits here
    };
    for (auto const& [text, value] : cases) EXPECT_EQ(msvc::wtoi(text), value) << std::wstring(text).size();
}

TEST(CrtWtof, ParsesDecimalTextWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(msvc::wtof(L"1.5"), 1.5);
    EXPECT_DOUBLE_EQ(msvc::wtof(L" -0.25e2xyz"), -25.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L".5"), 0.5);
    EXPECT_DOUBLE_EQ(msvc::wtof(L"7."), 7.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L"1e"), 1.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L"abc"), 0.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L"3,75"), 3.0);
    EXPECT_TRUE(std::isinf(msvc::wtof(L"inf")));
    EXPECT_LT(msvc::wtof(L"-Infinity"), 0.0);
    EXPECT_TRUE(std::isinf(msvc::wtof(L"1e999")));
    EXPECT_TRUE(std::isnan(msvc::wtof(L"nan")));
    EXPECT_DOUBLE_EQ(msvc::wtof(L"1.5\x00E9"), 1.5);

    // A German numeric locale must not turn "1.5" into 1, neither here nor in the formatter.
    char const* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_DOUBLE_EQ(msvc::wtof(L"1.5"), 1.5);
        EXPECT_EQ(msvc::format(L"%.1f|%g", 1.5, 0.25), L"1.5|0.25");
        std::setlocale(LC_NUMERIC, saved.c_str());
    }
}

TEST(CrtWcstol, BasesPrefixesEndAndClamping) {
    struct Case {
        wchar_t const* text;
        int base;
        long value;
        std::size_t end;
    } const cases[] = {
        {L"  123xyz", 10, 123, 5}, {L"ff", 16, 255, 2}, {L"0xFF", 16, 255, 4}, {L"0x1A", 0, 26, 4},
        {L"017", 0, 15, 3}, {L"z", 36, 35, 1},
        {L"0xg", 16, 0, 1},  // "0x" without a hex digit reads the 0 and stops before the x
        {L"hello", 10, 0, 0}, {L"  -", 10, 0, 0}, {L"12", 1, 0, 0}, {L"12", 37, 0, 0},
        // long is 32 bits on Windows
        {L"2147483648", 10, INT32_MAX, 10}, {L"-2147483649", 10, INT32_MIN, 11}, {L"FFFFFFFF", 16, INT32_MAX, 8},
        {L"99999999999999999999999999999 ", 10, INT32_MAX, 29},
    };
    for (Case const& c : cases) {
        std::size_t end = 99;
        EXPECT_EQ(msvc::wcstol(c.text, c.base, &end), c.value) << std::wstring(c.text).size() << " " << c.base;
        EXPECT_EQ(end, c.end) << std::wstring(c.text).size() << " " << c.base;
    }
}

TEST(CrtWcstoul, WrapsNegativesAndClampsOverflow) {
    EXPECT_EQ(msvc::wcstoul(L"4294967296", 10), 4294967295u);
    EXPECT_EQ(msvc::wcstoul(L"-1", 10), 4294967295u);
    EXPECT_EQ(msvc::wcstoul(L"-2", 10), 4294967294u);
    EXPECT_EQ(msvc::wcstoul(L"-4294967296", 10), 4294967295u);
    // Colours are written AARRGGBB: an alpha of FF must read whole.
    EXPECT_EQ(msvc::wcstoul(L"FF80C0E0", 16), 0xFF80C0E0u);
    EXPECT_EQ(msvc::wcstoul(L"0xffffffff", 0), 0xFFFFFFFFu);
    EXPECT_EQ(msvc::wcstoul(L"", 16), 0u);
}
