// DrawTextW's line breaking and placement, on fixed advances (10 pixels a character).
#include "port/d3dx9/DxFontLayout.h"
#include "port/win32/winuser.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using port::dx::TextLine;

std::vector<std::wstring> linesOf(std::wstring const& text, DWORD format, int width) {
    std::vector<int> advances(text.size(), 10);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == L'\n' || text[i] == L'\r') advances[i] = 0;
    std::vector<TextLine> lines;
    port::dx::breakLines(text, advances.data(), format, width, lines);
    std::vector<std::wstring> result;
    for (auto const& line : lines) {
        result.push_back(text.substr(line.begin, line.end - line.begin));
        int width = 0;
        for (std::size_t i = line.begin; i < line.end; ++i) width += advances[i];
        EXPECT_EQ(line.width, width) << text;
    }
    return result;
}

TEST(FontLayout, LinesBreakAtLineEndsAndWordsThatDoNotFit) {
    struct Case {
        std::wstring text;
        DWORD format;
        int width;
        std::vector<std::wstring> lines;
    };
    Case cases[] = {
        {L"ab cd", 0, 35, {L"ab cd"}},
        {L"ab cd", DT_WORDBREAK, 35, {L"ab", L"cd"}},
        {L"ab cd", DT_WORDBREAK, 50, {L"ab cd"}},
        {L"ab   cd ef", DT_WORDBREAK, 70, {L"ab   cd", L"ef"}},  // blanks at the break go
        {L"  ab", DT_WORDBREAK, 100, {L"  ab"}},               // leading blanks stay
        {L"ab  ", DT_WORDBREAK, 100, {L"ab"}},
        {L"abcdefgh ij", DT_WORDBREAK, 30, {L"abcdefgh", L"ij"}},  // a long word overflows whole
        {L"a\r\nb\nc", 0, 100, {L"a", L"b", L"c"}},               // CR LF is one break
        {L"a\n\nb", 0, 100, {L"a", L"", L"b"}},
        {L"a\n", 0, 100, {L"a"}},  // a final break adds no line
        {L"a\nb c", DT_SINGLELINE | DT_WORDBREAK, 10, {L"a\nb c"}},
        {L"", DT_WORDBREAK, 100, {}},
    };
    for (auto const& c : cases) EXPECT_EQ(linesOf(c.text, c.format, c.width), c.lines) << c.format;
}

std::tuple<LONG, LONG, LONG, LONG> corners(RECT const& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(FontLayout, AlignmentPlacesTheBlockAndCalcRectBoundsIt) {
    std::vector<TextLine> lines{{0, 3, 30}, {4, 5, 10}};
    RECT rect{100, 50, 200, 150};
    struct Case {
        DWORD format;
        RECT bounds;
        int returned;
    };
    Case cases[] = {
        {DT_LEFT | DT_TOP, {100, 50, 130, 90}, 40},
        {DT_CENTER, {135, 50, 165, 90}, 40},
        {DT_RIGHT, {170, 50, 200, 90}, 40},
        {DT_RIGHT | DT_CENTER, {170, 50, 200, 90}, 40},
        {DT_VCENTER, {100, 80, 130, 120}, 70},
        {DT_BOTTOM, {100, 110, 130, 150}, 100},
        {DT_BOTTOM | DT_VCENTER, {100, 110, 130, 150}, 100},
    };
    for (auto const& c : cases) {
        auto p = port::dx::placeLines(lines, rect, c.format, 20);
        EXPECT_EQ(corners(p.bounds), corners(c.bounds)) << c.format;
        EXPECT_EQ(p.returnValue, c.returned) << c.format;
    }
    EXPECT_EQ(port::dx::lineLeft(lines[1], rect, DT_CENTER), 145);
    auto empty = port::dx::placeLines({}, rect, DT_CENTER | DT_VCENTER, 20);
    EXPECT_EQ(corners(empty.bounds), std::tuple(150, 100, 150, 100));
}

}  // namespace
