// Formatting language texts: formats come from data, so hostile ones must print safely; the
// result is cut to the buffer the format's length gives; locales give decimal commas without
// touching the process-wide locale.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
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

// A text's form for the count one: chosen when the deciding argument, as the text writes it, reads
// "1"; other counts, other arguments and conversions that take their width from the arguments keep
// the plural.
TEST(TextFormat, TheFormForOneIsChosenWhenTheCountReadsOne) {
    struct Case {
        wchar_t const* element;
        std::vector<msvc::FormatArg> args;
        wchar_t const* shown;
    };
    std::wstring const seconds = L"<TEXT NAME=\"T\" LANG=\"GER\">\"|in %.0f Sekunden|\"<EINZAHL>\"|in %.0f Sekunde|\"</EINZAHL></TEXT>";
    std::wstring const ofTotal =
        L"<TEXT NAME=\"T\">\"|%d / %d Spr\u00fcnge|\"<EINZAHL ZAHL=\"2\">\"|%d / %d Sprung|\"</EINZAHL></TEXT>";
    std::wstring const padded = L"<TEXT NAME=\"T\">\"|%02d Karten|\"<EINZAHL>\"|%02d Karte|\"</EINZAHL></TEXT>";
    std::wstring const starred = L"<TEXT NAME=\"T\">\"|%*d Karten|\"<EINZAHL>\"|%*d Karte|\"</EINZAHL></TEXT>";
    Case const cases[] = {
        {seconds.c_str(), {14.2}, L"in 14 Sekunden"},
        {seconds.c_str(), {1.0}, L"in 1 Sekunde"},
        {seconds.c_str(), {0.6}, L"in 1 Sekunde"},  // written as 1
        {seconds.c_str(), {0.4}, L"in 0 Sekunden"},
        {seconds.c_str(), {}, L"in  Sekunden"},  // no argument: no count
        {ofTotal.c_str(), {0, 1}, L"0 / 1 Sprung"},
        {ofTotal.c_str(), {1, 10}, L"1 / 10 Spr\u00fcnge"},
        {padded.c_str(), {1}, L"01 Karte"},
        {padded.c_str(), {10}, L"10 Karten"},
        {starred.c_str(), {3, 1}, L"  1 Karten"},
        {L"<TEXT NAME=\"T\">\"|%d Karten|\"</TEXT>", {1}, L"1 Karten"},  // no form for one given
    };
    for (Case const& c : cases) {
        Text* text = readText(c.element);
        std::wstring out;
        EXPECT_EQ(text->formatList(out, c.args), c.shown) << std::wstring(c.element).size();
        text->release();
    }
}
