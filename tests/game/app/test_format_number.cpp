// Numbers with digit groups: the separator by language, the sign, and every int written exactly
// (INT_MIN included, whose magnitude does not fit an int).
#include <gtest/gtest.h>

#include <climits>

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
