// Text helpers of the port layer: Windows file-name case folding, UTF-8 for host names, and the
// line breaks of a message box's text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace port {

// Case folding as Windows file names compare: ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic capitals map to their small letters; every other character is left alone.
wchar_t foldCase(wchar_t ch);
bool equalsNoCase(std::wstring_view a, std::wstring_view b);

// UTF-8 <-> wide (UTF-32) for host file names.
std::string toUtf8(std::wstring const& text);
std::wstring fromUtf8(std::string const& text);

// The text broken into lines of at most width characters at blanks, as a Windows message box
// breaks its text to the box (SDL's boxes break only at line ends): the blank at a break goes, the
// text's own line ends stay, and a word longer than width stands alone on its line.
std::wstring wrapLines(std::wstring const& text, std::size_t width);

}  // namespace port
