// Reading the keys of the mini-game definition file. The file and each game's keys are untrusted
// data: a number that is not finite, a count beyond its cap or a divisor of 0 keeps the default,
// with one log line naming the file and the line of the element. The file's name for those lines
// is set by the manager while it reads the definitions.
//
// The number rules the games share: a key holding one number may be written "a b", meaning
// a / b (the skip-bar offsets); a key holding a pair may give one number, which then stands for
// both ends (ranges of the click game, pairs of the later games).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"

namespace Solitaire::minigame {

// The definition file named in log lines ("data\Games\minigames.min" unless the manager was
// handed another).
std::wstring const& definitionSource();
void setDefinitionSource(std::wstring const& name);

// One warning line: Mini-game file "<source>" at line <n>: <text>.
void logProblem(Orvex::XMLNode const& node, std::wstring const& text);
// The same for a line remembered from an element (0: no line named).
void logProblemAt(unsigned line, std::wstring const& text);

// A number written "a" or "a b" (a / b; further pieces are ignored). Absent or empty: out stays,
// false. A divisor of 0, a result that is not finite or beyond Orvex::kMaxMeasure (no key of a
// mini-game needs more: larger numbers are damaged data): out stays, logged.
bool readRatio(Orvex::XMLNode const& node, std::wstring_view key, float& out);
// A float or double attribute within [lo, hi]; absent: out stays; anything else: out stays,
// logged.
bool readNumber(Orvex::XMLNode const& node, std::wstring_view key, float& out, double lo = -Orvex::kMaxMeasure,
                double hi = Orvex::kMaxMeasure);
bool readNumber(Orvex::XMLNode const& node, std::wstring_view key, double& out, double lo = -Orvex::kMaxMeasure,
                double hi = Orvex::kMaxMeasure);
// An integer attribute within [lo, hi]; beyond: the nearer bound, logged.
bool readCount(Orvex::XMLNode const& node, std::wstring_view key, int& out, int lo, int hi);
// "a" or "a b": the first number sets both ends, a second one replaces the second end. Each
// number within [lo, hi] (floats read as Orvex::readFloats reads a list) or as readCount
// (integers).
void readPair(Orvex::XMLNode const& node, std::wstring_view key, float& first, float& second,
              double lo = -Orvex::kMaxMeasure, double hi = Orvex::kMaxMeasure);
void readPair(Orvex::XMLNode const& node, std::wstring_view key, int& first, int& second, int lo, int hi);
// A list of sizes or places (Orvex::readMeasures into numbers, count of them taken): true when
// the key is there and usable; refused, one log line and false, numbers as they were. Absent:
// false, count 0.
bool readMeasures(Orvex::XMLNode const& node, std::wstring_view key, std::span<float> numbers, std::size_t& count);
// "a" or "a b" of whole numbers as readPair, but a number beyond [lo, hi] reads as the nearer
// bound (one log line) instead of leaving both as they were.
void readCountPair(Orvex::XMLNode const& node, std::wstring_view key, int& first, int& second, int lo, int hi);

// Calls make (child) for each child element of that name, in order, at most cap times; one log
// line names what was left out ("more than <cap> <what>").
template <class Make>
void readChildren(Orvex::XMLNode& element, std::wstring_view name, std::size_t cap, wchar_t const* what, Make make) {
    std::size_t made = 0;
    for (Orvex::XMLNode* child : element.children()) {
        if (child->getName() != name) continue;
        if (made++ == cap) {
            logProblem(*child, L"more than " + std::to_wstring(cap) + L" " + what + L"; the rest are skipped");
            return;
        }
        make(*child);
    }
}

// The element's values as texts, in order.
std::vector<std::wstring> valueTexts(Orvex::XMLNode const& node);

}  // namespace Solitaire::minigame
