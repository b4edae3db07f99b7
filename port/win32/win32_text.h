// Text helpers of the port layer: Windows file-name case folding and UTF-8 for host names.
#pragma once

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

}  // namespace port
