// Helpers of the GUI record and window tests: property trees from text, records read from them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/core/XMLNode.h"

namespace guitest {

inline Orvex::XMLNode parse(std::wstring const& xml) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(xml));
    return node;
}

// Reads xml into anything with load(XMLNode&) or load(XMLNode const&).
template <class T>
void loadFrom(T& record, std::wstring const& xml) {
    Orvex::XMLNode node = parse(xml);
    record.load(node);
}

}  // namespace guitest
