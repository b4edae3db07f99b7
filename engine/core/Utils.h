// Small helpers shared by the engine: rectangle overlap and lookup of named objects by name.
// (Case-insensitive name comparison is port::equalsNoCase in port/win32/HostPath.h.)
#pragma once

#include <string>
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

}  // namespace Orvex
