// Walking the children of one name of a GUI file element in a single pass (asking for the i-th
// child of a name scans the list each time, which makes large files quadratic).
#pragma once

#include <string_view>

#include "engine/core/XMLNode.h"

namespace Orvex {

// f(child) for each child named `name`, in order; f returns false to stop.
template <class F>
void forEachChild(XMLNode& node, std::wstring_view name, F f) {
    for (XMLNode* child : node.children())
        if (child->getName() == name && !f(*child)) return;
}

}  // namespace Orvex
