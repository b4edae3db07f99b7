// Decimal separators of runtime locale names, and the formatter writing the one it is given.
#include <gtest/gtest.h>

#include <string>

#include "port/crt/crt.h"

namespace {

struct LocaleCase {
    char const* name;
    bool known;
    wchar_t point;
};

TEST(CrtLocale, DecimalPointOfLocaleNames) {
    LocaleCase const cases[] = {
        {"French_Canada.1252", true, L','}, {"german_germany.1252", true, L','}, {"German", true, L','},
        {"deu", true, L','}, {"FRC", true, L','}, {"fr-CA", true, L','}, {"de_DE.UTF-8", true, L','},
        {"de_DE@euro", true, L','}, {"Portuguese_Brazil.1252", true, L','}, {"English_United States.1252", true, L'.'},
        {"en-GB", true, L'.'}, {"Japanese_Japan.932", true, L'.'}, {"Chinese-Simplified", true, L'.'},
        {"C", true, L'.'}, {"POSIX", true, L'.'},
        // Swiss and Mexican numbers take a point whatever the language.
        {"German_Switzerland.1252", true, L'.'}, {"de_CH.UTF-8", true, L'.'}, {"DES", true, L'.'},
        {"Spanish_Mexico.1252", true, L'.'}, {"Spanish_Spain.1252", true, L','},
        // Not known: the caller keeps its point.
        {"", false, L'?'}, {".1252", false, L'?'}, {"Klingon_Empire.1252", false, L'?'}, {"x", false, L'?'},
    };
    for (LocaleCase const& c : cases) {
        wchar_t point = L'?';
        EXPECT_EQ(msvc::localeDecimalPoint(c.name, point), c.known) << c.name;
        EXPECT_EQ(point, c.point) << c.name;
    }
}

TEST(CrtLocale, FormatterWritesTheGivenDecimalPointOnlyInNumbers) {
    msvc::FormatArg const args[] = {2.5, 1e10, std::wstring(L"1.5"), 0.25, 7};
    EXPECT_EQ(msvc::formatArgs(L"%.1f|%e|%s|%g.|%d.", args, 5, L','), L"2,5|1,000000e+10|1.5|0,25.|7.");
    EXPECT_EQ(msvc::formatArgs(L"%.1f", args, 1), L"2.5");
    msvc::FormatArg const hex[] = {1.5};
    EXPECT_EQ(msvc::formatArgs(L"%a", hex, 1, L','), L"0x1,8000000000000p+0");
}

}  // namespace
