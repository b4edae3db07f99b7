// Line breaking and placement of DrawTextW (see DxFontLayout.h).
#include "port/d3dx9/DxFontLayout.h"
#include "port/win32/winuser.h"

#include <algorithm>
#include <climits>

namespace port::dx {

namespace {

bool isLineBreak(wchar_t c) { return c == L'\n' || c == L'\r'; }
bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

int sum(int const* advances, std::size_t begin, std::size_t end) {
    int total = 0;
    for (std::size_t i = begin; i < end; ++i) total += advances[i];
    return total;
}

// One hard line [begin, end) broken at blanks so that no line passes maxWidth unless a single
// word does. Blanks at a break belong to neither line.
void wrap(std::wstring_view text, int const* advances, std::size_t begin, std::size_t end, int maxWidth,
          std::vector<TextLine>& lines) {
    TextLine line{begin, begin, 0};
    bool hasWord = false;
    std::size_t i = begin;
    while (i < end) {
        std::size_t blanksEnd = i;
        while (blanksEnd < end && isBlank(text[blanksEnd])) ++blanksEnd;
        std::size_t wordEnd = blanksEnd;
        while (wordEnd < end && !isBlank(text[wordEnd])) ++wordEnd;
        int blanks = sum(advances, i, blanksEnd), word = sum(advances, blanksEnd, wordEnd);
        if (wordEnd == blanksEnd) break;  // trailing blanks are not drawn
        if (hasWord && line.width + blanks + word > maxWidth) {
            lines.push_back(line);
            line = TextLine{blanksEnd, wordEnd, word};
        } else {
            line.end = wordEnd;
            line.width += blanks + word;
        }
        hasWord = true;
        i = wordEnd;
    }
    lines.push_back(line);
}

}  // namespace

void breakLines(std::wstring_view text, int const* advances, DWORD format, int maxWidth, std::vector<TextLine>& lines) {
    lines.clear();
    if (text.empty()) return;
    if (format & DT_SINGLELINE) {
        lines.push_back(TextLine{0, text.size(), sum(advances, 0, text.size())});
        return;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t stop = start;
        while (stop < text.size() && !isLineBreak(text[stop])) ++stop;
        if (stop == text.size() && start == stop && start > 0) break;  // a final line break adds no line
        if (format & DT_WORDBREAK)
            wrap(text, advances, start, stop, maxWidth, lines);
        else
            lines.push_back(TextLine{start, stop, sum(advances, start, stop)});
        if (stop == text.size()) break;
        start = stop + ((text[stop] == L'\r' && stop + 1 < text.size() && text[stop + 1] == L'\n') ? 2 : 1);
    }
}

int lineLeft(TextLine const& line, RECT const& rect, DWORD format) {
    if (format & DT_RIGHT) return rect.right - line.width;
    if (format & DT_CENTER) return rect.left + (rect.right - rect.left - line.width) / 2;
    return rect.left;
}

TextPlacement placeLines(std::vector<TextLine> const& lines, RECT const& rect, DWORD format, int lineHeight) {
    TextPlacement p;
    int height = static_cast<int>(lines.size()) * lineHeight;
    if (format & DT_BOTTOM)
        p.top = rect.bottom - height;
    else if (format & DT_VCENTER)
        p.top = rect.top + (rect.bottom - rect.top - height) / 2;
    else
        p.top = rect.top;
    int left = INT_MAX, right = INT_MIN;
    for (auto const& line : lines) {
        int x = lineLeft(line, rect, format);
        left = std::min(left, x);
        right = std::max(right, x + line.width);
    }
    if (lines.empty()) left = right = lineLeft(TextLine{}, rect, format);
    p.bounds = RECT{left, p.top, right, p.top + height};
    p.returnValue = (format & (DT_BOTTOM | DT_VCENTER)) ? p.top + height - rect.top : height;
    return p;
}

}  // namespace port::dx
