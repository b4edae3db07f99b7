// Small helpers shared by the engine: rectangle overlap, lookup of named objects by name and
// case-insensitive comparison of names (ASCII and Latin-1 letters; other characters compare as
// they are).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "port/win32/windows_types.h"

namespace Orvex {

// The overlap of a and b in out. False when they do not overlap (touching edges or an empty
// rectangle give no overlap); out is then all zero.
bool intersectRects(RECT const& a, RECT const& b, RECT& out);

// The first object whose name equals name exactly, else null. Null entries are skipped.
template <class T>
T* findNamedObject(std::vector<T*> const& objects, std::wstring const& name) {
    for (T* object : objects) {
        if (object && object->getName() == name) return object;
    }
    return nullptr;
}

// Lower case of A-Z and of the Latin-1 capitals (U+00C0..U+00DE without U+00D7).
wchar_t foldCase(wchar_t c);
std::wstring foldCase(std::wstring_view text);
bool equalsNoCase(std::wstring_view a, std::wstring_view b);
// True when text begins with prefix, compared case-insensitively.
bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix);

}  // namespace Orvex
