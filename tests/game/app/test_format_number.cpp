// Numbers with digit groups: the separator by language, the sign, and every int written exactly
// (INT_MIN included, whose magnitude does not fit an int).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>

#include "game/app/FormatNumber.h"

namespace {

using Solitaire::formatNumber;

TEST(FormatNumber, GroupsOfThreeWithTheLanguagesSeparator) {
    struct {
        int value;
        wchar_t const* german;
        wchar_t const* french;
    } const cases[] = {
        {0, L"0", L"0"},
        {7, L"7", L"7"},
        {999, L"999", L"999"},
        {1000, L"1.000", L"1 000"},
        {-1000, L"-1.000", L"-1 000"},
        {-999, L"-999", L"-999"},
        {1234567, L"1.234.567", L"1 234 567"},
        {100000, L"100.000", L"100 000"},
        {INT_MAX, L"2.147.483.647", L"2 147 483 647"},
        {INT_MIN, L"-2.147.483.648", L"-2 147 483 648"},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(formatNumber(c.value, L"GER"), c.german) << c.value;
        EXPECT_EQ(formatNumber(c.value, L"FRE"), c.french) << c.value;
        // Any other code (or none) takes the full stop.
        EXPECT_EQ(formatNumber(c.value, L""), c.german) << c.value;
    }
}

}  // namespace

namespace {

// The 64-bit form: scores past the int range, the ends of the range, and a float made whole
// (truncated, held at the range's ends, 0 for not a number).
TEST(FormatNumber, SixtyFourBitValuesAndWholeFloats) {
    struct {
        std::int64_t value;
        wchar_t const* german;
    } const cases[] = {
        {5000000000LL, L"5.000.000.000"},
        {-5000000000LL, L"-5.000.000.000"},
        {INT64_MAX, L"9.223.372.036.854.775.807"},
        {INT64_MIN, L"-9.223.372.036.854.775.808"},
    };
    for (auto const& c : cases) EXPECT_EQ(formatNumber(c.value, L"GER"), c.german) << c.value;
    EXPECT_EQ(formatNumber(std::int64_t{1234567}, L"FRE"), L"1 234 567");
    struct {
        double value;
        std::int64_t whole;
    } const floats[] = {
        {123456.9, 123456}, {-0.9, 0}, {-2.5, -2}, {1e300, INT64_MAX}, {-1e300, INT64_MIN},
        {9223372036854775808.0, INT64_MAX}, {std::nan(""), 0},
    };
    for (auto const& f : floats) EXPECT_EQ(Solitaire::wholeNumber(f.value), f.whole) << f.value;
}

}  // namespace
