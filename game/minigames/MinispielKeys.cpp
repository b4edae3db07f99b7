// Reading the mini-game file's numbers with their bounds and one log line per refused value.
#include "game/minigames/MinispielKeys.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/core/Logger.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"

namespace Solitaire::minigame {

namespace {

std::wstring& source() {
    static std::wstring name = L"data\\Games\\minigames.min";
    return name;
}

bool bounded(double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; }

void noteBadNumber(Orvex::XMLNode const& node, std::wstring_view key, std::wstring const& text,
                   wchar_t const* what = L"is not a usable number") {
    logProblem(node, L"\"" + std::wstring(key) + L"\" value \"" + text + L"\" " + what + L"; the default is kept");
}

// One line for a count read as the nearer bound of [lo, hi].
void noteClamped(Orvex::XMLNode const& node, std::wstring_view key, std::wstring const& text, int lo, int hi,
                 std::wstring const& readAs) {
    logProblem(node, L"\"" + std::wstring(key) + L"\" value \"" + text + L"\" lies outside " + std::to_wstring(lo) +
                         L" to " + std::to_wstring(hi) + L"; read as " + readAs);
}

}  // namespace

std::wstring const& definitionSource() { return source(); }

void setDefinitionSource(std::wstring const& name) { source() = name; }

void logProblem(Orvex::XMLNode const& node, std::wstring const& text) { logProblemAt(node.getLine(), text); }

void logProblemAt(unsigned line, std::wstring const& text) {
    Orvex::logWarning(L"Mini-game file \"" + source() + L"\"" + Orvex::atLine(line) + L": " + text);
}

bool readRatio(Orvex::XMLNode const& node, std::wstring_view key, float& out) {
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    if (!a) return false;
    Orvex::XMLValueTokens const parts = a->split(L" ");
    if (parts.size() == 0) return false;
    double value = parts.get(0)->getDouble();
    if (parts.size() > 1) {
        double const divisor = parts.get(1)->getDouble();
        if (divisor == 0.0) {
            noteBadNumber(node, key, a->getStringCopy(), L"divides by 0");
            return false;
        }
        value /= divisor;
    }
    if (!bounded(value, -Orvex::kMaxMeasure, Orvex::kMaxMeasure)) {
        noteBadNumber(node, key, a->getStringCopy());
        return false;
    }
    out = static_cast<float>(value);
    return true;
}

bool readNumber(Orvex::XMLNode const& node, std::wstring_view key, double& out, double lo, double hi) {
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    if (!a) return false;
    // The engine's bounded reader decides; the refusal is told in the mini-games' own line.
    Orvex::ReadProblems refused;
    Orvex::readDouble(node, key, out, lo, hi, refused);
    if (refused.empty()) return true;
    noteBadNumber(node, key, a->getStringCopy());
    return false;
}

bool readNumber(Orvex::XMLNode const& node, std::wstring_view key, float& out, double lo, double hi) {
    double v = out;
    if (!readNumber(node, key, v, lo, hi)) return false;
    out = static_cast<float>(v);
    return true;
}

bool readCount(Orvex::XMLNode const& node, std::wstring_view key, int& out, int lo, int hi) {
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    if (!a) return false;
    int const v = a->getInt();
    if (v < lo || v > hi) {
        int const kept = v < lo ? lo : hi;
        noteClamped(node, key, a->getStringCopy(), lo, hi, std::to_wstring(kept));
        out = kept;
        return true;
    }
    out = v;
    return true;
}

void readPair(Orvex::XMLNode const& node, std::wstring_view key, float& first, float& second, double lo,
              double hi) {
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    if (!a) return;
    // The engine's list reader decides; the refusal is told in the mini-games' own line.
    float numbers[2];
    Orvex::ReadProblems refused;
    std::size_t const count =
        Orvex::readFloats(node, key, numbers, static_cast<float>(lo), static_cast<float>(hi), refused);
    if (!refused.empty()) {
        noteBadNumber(node, key, a->getStringCopy());
        return;
    }
    if (count == 0) return;
    first = numbers[0];
    second = count > 1 ? numbers[1] : numbers[0];
}

bool readMeasures(Orvex::XMLNode const& node, std::wstring_view key, std::span<float> numbers, std::size_t& count) {
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    count = 0;
    if (!a) return false;
    Orvex::ReadProblems refused;
    count = Orvex::readMeasures(node, key, numbers, refused);
    if (refused.empty()) return true;
    noteBadNumber(node, key, a->getStringCopy());
    return false;
}

void readPair(Orvex::XMLNode const& node, std::wstring_view key, int& first, int& second, int lo, int hi) {
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    if (!a) return;
    Orvex::XMLValueTokens const parts = a->split(L" ");
    if (parts.size() == 0) return;
    int const x = parts.get(0)->getInt();
    int const y = parts.size() > 1 ? parts.get(1)->getInt() : x;
    if (x < lo || x > hi || y < lo || y > hi) {
        noteBadNumber(node, key, a->getStringCopy(),
                      (L"lies outside " + std::to_wstring(lo) + L" to " + std::to_wstring(hi)).c_str());
        return;
    }
    first = x;
    second = y;
}

void readCountPair(Orvex::XMLNode const& node, std::wstring_view key, int& first, int& second, int lo, int hi) {
    Orvex::XMLAttribute const* a = node.getAttribute(key);
    if (!a) return;
    int x = first;
    int y = second;
    readPair(node, key, x, y, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    first = std::clamp(x, lo, hi);
    second = std::clamp(y, lo, hi);
    if (first != x || second != y)
        noteClamped(node, key, a->getStringCopy(), lo, hi, std::to_wstring(first) + L" " + std::to_wstring(second));
}

std::vector<std::wstring> valueTexts(Orvex::XMLNode const& node) {
    std::vector<std::wstring> out;
    out.reserve(node.getValueCount());
    for (Orvex::XMLProperty const* value : node.values()) out.push_back(value->getStringCopy());
    return out;
}

}  // namespace Solitaire::minigame
