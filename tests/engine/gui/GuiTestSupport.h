// Helpers of the GUI record and window tests: property trees from text, records read from them,
// pixels compared with a tolerance.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
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

// Opaque AARRGGBB colours the drawing tests paint and read back.
inline constexpr uint32_t kRed = 0xFFFF0000;
inline constexpr uint32_t kGreen = 0xFF00FF00;
inline constexpr uint32_t kBlue = 0xFF0000FF;

// Whether red, green and blue of two AARRGGBB pixels lie within tolerance of each other (the
// device's filtering and blending round a little).
inline bool nearRgb(uint32_t have, uint32_t want, int tolerance) {
    for (int shift : {0, 8, 16}) {
        int const a = static_cast<int>(have >> shift & 0xFF), b = static_cast<int>(want >> shift & 0xFF);
        if (std::abs(a - b) > tolerance) return false;
    }
    return true;
}

}  // namespace guitest
