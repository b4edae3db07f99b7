// Reading the values of a tutorial file: number pairs, sprite draw-mode words, and numbers kept
// within sane bounds. A number that is not finite or lies outside its bounds keeps the
// default, with one log line naming the key.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "engine/core/ReadProblems.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

class XMLNode;

namespace tutorial {

// A list of sizes or places, read as Orvex::readMeasures reads it: how many numbers went into
// numbers; absent, empty or refused (logged) 0, numbers as they were.
std::size_t readMeasures(XMLNode const& node, std::wstring_view key, std::span<float> numbers);
// "a" or "a b"; one number sets both. Absent or refused: out stays. Each number within
// kMaxMeasure.
void readPair(XMLNode const& node, std::wstring_view key, D3DXVECTOR2& out);
// A float attribute within [lo, hi]; absent: out stays; anything else: out stays, logged.
// No tutorial value needs more than kMaxMeasure: larger numbers are damaged data.
void readNumber(XMLNode const& node, std::wstring_view key, float& out, double lo = -kMaxMeasure,
                double hi = kMaxMeasure);
void readNumber(XMLNode const& node, std::wstring_view key, double& out, double lo = -kMaxMeasure,
                double hi = kMaxMeasure);
// One or two draw-mode words; one word sets both directions.
void readDrawModes(XMLNode const& node, std::wstring_view key, int& x, int& y);
// Logs the attributes of node whose names are not in the list (one line for the element).
void noteUnknownKeys(XMLNode const& node, std::initializer_list<std::wstring_view> known);

}  // namespace tutorial
}  // namespace Orvex
