// Small readers shared by the menu file's menus and links: the values of a child element as a
// list of names, and a name list with its "ID_MASK".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

// Appends the values of the first child `name` of node (nothing when there is none).
inline void appendChildValues(XMLNode& node, std::wstring_view name, std::vector<std::wstring>& out) {
    XMLNode* child = node.getChild(name);
    if (!child) return;
    for (XMLProperty* value : child->values()) out.push_back(value->getString());
}

// A list of menu names and a bit mask matched against menu ids.
struct GUIMenuNameSet {
    std::vector<std::wstring> names;
    int mask = 0;

    // The first child `name`: its "ID_MASK" (when present) replaces the mask, its values are
    // appended to the names.
    void read(XMLNode& node, std::wstring_view name) {
        XMLNode* child = node.getChild(name);
        if (!child) return;
        if (XMLAttribute const* attribute = child->getAttribute(L"ID_MASK")) mask = attribute->getInt();
        appendChildValues(node, name, names);
    }
};

}  // namespace Orvex
