// The wide number parsers as the property files and console use them.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "port/crt/crt.h"

TEST(CrtWtoi, ParsesLikeTheRuntime) {
    EXPECT_EQ(msvc::wtoi(L"42"), 42);
    EXPECT_EQ(msvc::wtoi(L"  \t-17abc"), -17);
    EXPECT_EQ(msvc::wtoi(L"+8"), 8);
    EXPECT_EQ(msvc::wtoi(L""), 0);
    EXPECT_EQ(msvc::wtoi(L"abc"), 0);
    EXPECT_EQ(msvc::wtoi(L"- 5"), 0);
    EXPECT_EQ(msvc::wtoi(L"0x1F"), 0);
    EXPECT_EQ(msvc::wtoi(L"3.9"), 3);
    EXPECT_EQ(msvc::wtoi(L"2147483647"), 2147483647);
    EXPECT_EQ(msvc::wtoi(L"2147483648"), 2147483647);
    EXPECT_EQ(msvc::wtoi(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(msvc::wtoi(L"-99999999999999999999999"), -2147483647 - 1);
    // Digits of other scripts are not digits here.
    EXPECT_EQ(msvc::wtoi(L"\xFF11"), 0);
}

TEST(CrtWtof, ParsesDecimalTextWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(msvc::wtof(L"1.5"), 1.5);
    EXPECT_DOUBLE_EQ(msvc::wtof(L" -0.25e2xyz"), -25.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L".5"), 0.5);
    EXPECT_DOUBLE_EQ(msvc::wtof(L"7."), 7.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L"1e"), 1.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L"abc"), 0.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L""), 0.0);
    EXPECT_DOUBLE_EQ(msvc::wtof(L"3,75"), 3.0);
    EXPECT_TRUE(std::isinf(msvc::wtof(L"inf")));
    EXPECT_LT(msvc::wtof(L"-Infinity"), 0.0);
    EXPECT_TRUE(std::isinf(msvc::wtof(L"1e999")));
    EXPECT_TRUE(std::isnan(msvc::wtof(L"nan")));
    EXPECT_DOUBLE_EQ(msvc::wtof(L"1.5\x00E9"), 1.5);

    // A German numeric locale must not turn "1.5" into 1.
    char const* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_DOUBLE_EQ(msvc::wtof(L"1.5"), 1.5);
        std::setlocale(LC_NUMERIC, saved.c_str());
    }
}

TEST(CrtWcstol, BasesPrefixesAndEnd) {
    std::size_t end = 99;
    EXPECT_EQ(msvc::wcstol(L"  123xyz", 10, &end), 123);
    EXPECT_EQ(end, 5u);
    EXPECT_EQ(msvc::wcstol(L"ff", 16, &end), 255);
    EXPECT_EQ(msvc::wcstol(L"0xFF", 16, &end), 255);
    EXPECT_EQ(end, 4u);
    EXPECT_EQ(msvc::wcstol(L"0x1A", 0, &end), 26);
    EXPECT_EQ(msvc::wcstol(L"017", 0, &end), 15);
    EXPECT_EQ(msvc::wcstol(L"-10", 0, &end), -10);
    EXPECT_EQ(msvc::wcstol(L"z", 36, &end), 35);
    // "0x" without a hex digit reads the 0 and stops before the x.
    EXPECT_EQ(msvc::wcstol(L"0xg", 16, &end), 0);
    EXPECT_EQ(end, 1u);
    EXPECT_EQ(msvc::wcstol(L"hello", 10, &end), 0);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(msvc::wcstol(L"  -", 10, &end), 0);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(msvc::wcstol(L"12", 1, &end), 0);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(msvc::wcstol(L"12", 37, &end), 0);
}

TEST(CrtWcstol, ClampsToThirtyTwoBitLong) {
    EXPECT_EQ(msvc::wcstol(L"2147483647", 10), INT32_MAX);
    EXPECT_EQ(msvc::wcstol(L"2147483648", 10), INT32_MAX);
    EXPECT_EQ(msvc::wcstol(L"-2147483648", 10), INT32_MIN);
    EXPECT_EQ(msvc::wcstol(L"-2147483649", 10), INT32_MIN);
    EXPECT_EQ(msvc::wcstol(L"FFFFFFFF", 16), INT32_MAX);
    std::size_t end = 0;
    EXPECT_EQ(msvc::wcstol(L"99999999999999999999999999999 ", 10, &end), INT32_MAX);
    EXPECT_EQ(end, 29u);
}

TEST(CrtWcstoul, WrapsNegativesAndClampsOverflow) {
    EXPECT_EQ(msvc::wcstoul(L"4294967295", 10), 4294967295u);
    EXPECT_EQ(msvc::wcstoul(L"4294967296", 10), 4294967295u);
    EXPECT_EQ(msvc::wcstoul(L"-1", 10), 4294967295u);
    EXPECT_EQ(msvc::wcstoul(L"-2", 10), 4294967294u);
    EXPECT_EQ(msvc::wcstoul(L"-4294967296", 10), 4294967295u);
    // Colours are written AARRGGBB: an alpha of FF must read whole.
    EXPECT_EQ(msvc::wcstoul(L"FF80C0E0", 16), 0xFF80C0E0u);
    EXPECT_EQ(msvc::wcstoul(L"0xffffffff", 0), 0xFFFFFFFFu);
    EXPECT_EQ(msvc::wcstoul(L"", 16), 0u);
}
