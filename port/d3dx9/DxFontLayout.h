// Line breaking and placement of ID3DXFont's DrawTextW, kept apart from glyphs and textures.
// Lines break at line feeds, carriage returns (a CR LF pair once) and, with DT_WORDBREAK, before a
// word that would pass the rectangle's width; a word is never split, a long one overflows.
// DT_SINGLELINE keeps everything on one line. Alignment applies to the whole block of lines:
// DT_RIGHT wins over DT_CENTER and DT_BOTTOM over DT_VCENTER.
#pragma once

#include "port/win32/windows_types.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace port::dx {

struct TextLine {
    std::size_t begin = 0, end = 0;  // characters [begin, end) of the text drawn on this line
    int width = 0;                   // the sum of their advances
};

// The lines of text; advances[i] is the pen advance of text[i] (0 for characters not drawn).
void breakLines(std::wstring_view text, int const* advances, DWORD format, int maxWidth, std::vector<TextLine>& lines);

struct TextPlacement {
    int top = 0;          // y of the first line's top
    RECT bounds{};        // the rectangle the placed lines cover (what DT_CALCRECT returns)
    int returnValue = 0;  // DrawText's result: the text height, or with DT_VCENTER/DT_BOTTOM the
                          // offset from the rectangle's top to the text's bottom
};

// Where the lines go in rect with the format's alignment and the given line height.
TextPlacement placeLines(std::vector<TextLine> const& lines, RECT const& rect, DWORD format, int lineHeight);
// The x of a line's pen start.
int lineLeft(TextLine const& line, RECT const& rect, DWORD format);

}  // namespace port::dx
