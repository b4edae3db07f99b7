// Formatting language texts: formats come from data, so hostile ones must print safely; the
// result is cut to the buffer the format's length gives; locales give decimal commas without
// touching the process-wide locale; a count's text takes its form for one.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "tests/engine/core/LogWatch.h"

using Orvex::Text;
using Orvex::XMLNode;
using logtest::contains;

namespace {

// A text read from a one-element list, as the language manager makes it.
Text* readText(std::wstring const& element) {
    XMLNode node;
    EXPECT_TRUE(node.loadFromText(element, L"test.lng"));
    return new Text(node);
}

Text* textWithFormat(std::wstring const& format) {
    XMLNode node(L"TEXT");
    node.setAttribute(L"NAME", L"T");
    node.addValue(format);
    return new Text(node);
}

}  // namespace

TEST(TextFormat, HostileFormatsFromTheFilePrintSafely) {
    int target = 5;
    struct Case {
        std::wstring format;
        std::vector<msvc::FormatArg> args;
        std::wstring expected;
    };
    Case const cases[] = {
        {L"%n|%n", {&target, 3}, L"|"},                       // %n writes nowhere
        {L"[%s]", {42}, L"[]"},                               // %s fed an int
        {L"[%S]", {std::wstring(L"wide")}, L"[]"},            // narrow string wanted, wide given
        {L"[%d]", {L"text"}, L"[]"},                          // int wanted, string given
        {L"[%f|%x|%c|%p]", {1, 2.5, 3.0, 4}, L"[|||]"},       // every kind mismatched
        {L"%d %d %d %s %f", {7}, L"7    "},                   // more conversions than arguments
        {L"%s", {}, L""},                                     // no argument at all
        {L"%*d|%.*f", {L"w", 1, L"p", 2.0}, L"|"},            // star taking a string
        {L"100%", {}, L"100%"},                               // unfinished conversion
        {L"%1$s %y", {L"a"}, L"%1$s %y"},                     // unknown conversions as written
        {L"%d", {1, 2, 3}, L"1"},                             // extra arguments ignored
    };
    for (Case const& c : cases) {
        Text* text = textWithFormat(c.format);
        std::wstring out = L"stale";
        EXPECT_EQ(text->formatList(out, c.args), c.expected) << c.format;
        text->release();
    }
    EXPECT_EQ(target, 5);
}

TEST(TextFormat, HugeWidthsAndLongResultsAreCutToTheBuffer) {
    struct Case {
        std::wstring format;
        msvc::FormatArg arg;
        std::size_t printed;  // characters of the result
    };
    std::wstring const filler70(66, L'x');
    Case const cases[] = {
        {L"%999999999d", 1, 255},                  // short format: 256-character buffer
        {L"%.2147483647f", 1.0, 255},              // precision past the int range
        {L"%*d", 2147483647, 0},                   // the width takes the only argument
        {filler70 + L"%99d", 1, 66 + 99},          // 70 characters: 512-character buffer, fits
        {filler70 + L"%4096d", 1, 511},            // and is cut at 511
        {std::wstring(300, L'y') + L"%4096s", L"s", 1023},
        {std::wstring(600, L'z') + L"%4096d%4096d", 1, 2047},
    };
    for (Case const& c : cases) {
        Text* text = textWithFormat(c.format);
        std::wstring out;
        text->formatList(out, {&c.arg, 1});
        EXPECT_EQ(out.size(), c.printed) << c.format.size();
        text->release();
    }
}

TEST(TextFormat, ACutResultIsLoggedOncePerText) {
    Text* text = textWithFormat(L"%300d");
    logtest::LogWatch watch;
    std::wstring out;
    text->format(out, 1);
    text->format(out, 1);
    std::vector<std::wstring> const lines = watch.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(contains(lines[0], L"\"T\"")) << lines[0];
    text->release();
}

TEST(TextFormat, LocalesGiveDecimalCommasPerText) {
    struct Case {
        std::wstring element;
        std::string locale;
        std::wstring expected;
    };
    Case const cases[] = {
        {LR"(<TEXT NAME="A" USE_COMMA="1">"|%.1f|"</TEXT>)", "French_Canada.1252", L"2,5"},
        {LR"(<TEXT NAME="A" SET_LOCALE="German_Germany.1252">"|%.1f / %s|"</TEXT>)", "German_Germany.1252",
         L"2,5 / 1.5"},  // only numbers change, strings stay
        {LR"(<TEXT NAME="A" SET_LOCALE="English_United States.1252" USE_COMMA="1">"|%.1f|"</TEXT>)",
         "French_Canada.1252", L"2,5"},  // USE_COMMA replaces the locale
        {LR"(<TEXT NAME="A" SET_LOCALE="English_United States.1252">"|%.1f|"</TEXT>)", "English_United States.1252",
         L"2.5"},
        {LR"(<TEXT NAME="A" USE_COMMA="0">"|%.1f|"</TEXT>)", "", L"2.5"},
        {LR"(<TEXT NAME="A">"|%.1f %s|"</TEXT>)", "", L"2.5 1.5"},
    };
    std::string const processLocale = std::setlocale(LC_NUMERIC, nullptr);
    for (Case const& c : cases) {
        Text* text = readText(c.element);
        std::wstring out;
        EXPECT_EQ(text->getLocale(), c.locale) << c.element;
        EXPECT_EQ(text->format(out, 2.5, L"1.5"), c.expected) << c.element;
        text->release();
    }
    EXPECT_EQ(processLocale, std::setlocale(LC_NUMERIC, nullptr));
}

// A count's text: the id's "_EZ" form where the count is one and the current language has it,
// else the id's own; no form is borrowed from another language.
TEST(TextFormat, TheFormForOneIsChosenWhenTheCountReadsOne) {
    Orvex::LanguageManager language;
    XMLNode list;
    ASSERT_TRUE(list.loadFromText(
        L"<TEXTE DEF_LANGUAGE=\"GER\">"
        L"<TEXT NAME=\"T\" LANG=\"GER\">\"|in %.0f Sekunden|\"</TEXT>"
        L"<TEXT NAME=\"T_EZ\" LANG=\"GER\">\"|in %.0f Sekunde|\"</TEXT>"
        L"<TEXT NAME=\"J\" LANG=\"GER\">\"|%d / %d Spr\u00fcnge|\"</TEXT>"
        L"<TEXT NAME=\"J_EZ\" LANG=\"GER\">\"|%d / %d Sprung|\"</TEXT>"
        L"<TEXT NAME=\"K\" LANG=\"GER\">\"|%d Karten|\"</TEXT>"
        L"<TEXT NAME=\"K_EZ\" LANG=\"ENG\">\"|%d card|\"</TEXT>"
        L"</TEXTE>",
        L"test.lng"));
    language.load(list);
    struct Case {
        wchar_t const* id;
        long long count;
        std::vector<msvc::FormatArg> args;
        wchar_t const* shown;
    };
    Case const cases[] = {
        {L"T", 14, {14.0}, L"in 14 Sekunden"},
        {L"T", 1, {1.0}, L"in 1 Sekunde"},
        {L"T", 0, {0.0}, L"in 0 Sekunden"},
        {L"T", -1, {-1.0}, L"in -1 Sekunden"},
        {L"J", 1, {0, 1}, L"0 / 1 Sprung"},  // the goal counts, not the progress
        {L"J", 10, {1, 10}, L"1 / 10 Spr\u00fcnge"},
        {L"K", 1, {1}, L"1 Karten"},  // the form for one is another language's
    };
    for (Case const& c : cases) {
        Text const* text = language.findTextForCount(c.id, c.count);
        ASSERT_NE(text, nullptr) << c.id << " " << c.count;
        std::wstring out;
        EXPECT_EQ(text->formatList(out, c.args), c.shown) << c.id << " " << c.count;
    }
    EXPECT_EQ(language.findTextForCount(L"MISSING", 1), nullptr);
    EXPECT_EQ(language.findTextForCount(L"MISSING", 2), nullptr);
}
