// Small helpers shared by the engine: rectangle overlap, lookup of named objects by name and the
// linear blend of two numbers.
// (Case-insensitive name comparison is port::equalsNoCase in port/win32/win32_text.h.)
#pragma once

#include <iterator>
#include <memory>
#include <string_view>

#include "port/win32/windows_types.h"

namespace Orvex {

// The overlap of a and b in out. False when they do not overlap (touching edges or an empty
// rectangle give no overlap); out is then all zero.
bool intersectRects(RECT const& a, RECT const& b, RECT& out);

// a at t 0, b at t 1, on the straight line between them for any other t: numbers, and
// vectors and colours (anything with +, - and * by a number), componentwise.
template <class T>
T lerp(T const& a, T const& b, float t) {
    return a + (b - a) * t;
}

// The first object whose getName() equals name exactly, else null: the one lookup by name for
// every list of named things. Entries may be plain or owning pointers; null entries are skipped.
template <class Objects>
auto findNamedObject(Objects const& objects, std::wstring_view name) -> decltype(std::to_address(*std::begin(objects))) {
    for (auto const& object : objects)
        if (object && object->getName() == name) return std::to_address(object);
    return nullptr;
}

}  // namespace Orvex
