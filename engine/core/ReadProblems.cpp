// Reading helpers for untrusted data files and the one log line of an object's refusals.
#include "engine/core/ReadProblems.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cwchar>

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

namespace {

std::wstring quoted(std::wstring_view key) { return L"\"" + std::wstring(key) + L"\""; }

// A bound as written in a refusal: shortest form, "1e+06" for a million.
std::wstring boundText(double bound) {
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof text[0], L"%g", bound);
    return text;
}

// "within low..high", or "finite" for a float's whole range.
std::wstring rangeText(double low, double high) {
    if (low == -FLT_MAX && high == FLT_MAX) return L"finite";
    return L"within " + boundText(low) + L".." + boundText(high);
}

std::wstring listRefusal(std::wstring_view key, std::wstring const& quotedText, float low, float high) {
    return quoted(key) + L" " + quotedText + L" is not a list of numbers " + rangeText(low, high);
}

template <class Number>
void readBounded(XMLNode const& node, std::wstring_view key, Number& value, Number low, Number high,
                 ReadProblems& problems) {
    XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    auto const read = static_cast<Number>(attribute->getDouble());
    if (read >= low && read <= high) {
        value = read;
        return;
    }
    problems.add(quoted(key) + L" " + quotedPiece(attribute->text()) + L" is not a number within " +
                     boundText(static_cast<double>(low)) + L".." + boundText(static_cast<double>(high)),
                 node.getLine());
}

}  // namespace

std::wstring quotedPiece(std::wstring_view text) {
    if (text.size() <= kQuotedChars) return L"\"" + std::wstring(text) + L"\"";
    return L"\"" + std::wstring(text.substr(0, kQuotedChars)) + L"...\" (" + std::to_wstring(text.size()) +
           L" characters)";
}

std::wstring quotedPiece(XMLText const& text) {
    bool longer = false;
    std::wstring const piece = text.head(kQuotedChars, longer);
    if (!longer) return quotedPiece(piece);
    return L"\"" + piece + L"...\" (" + std::to_wstring(text.size()) + L" characters)";
}

void ReadProblems::absorb(ReadProblems& other, std::wstring const& prefix, u32 line) {
    for (Problem& problem : other.problems_) add(prefix + problem.text, problem.line ? problem.line : line);
    other.problems_.clear();
}

void ReadProblems::log(std::wstring const& what, std::wstring const& sourceName, u32 line) {
    if (problems_.empty()) return;
    Problem const& first = problems_.front();
    std::wstring text = what;
    if (!sourceName.empty()) text += L" in \"" + sourceName + L"\"";
    text += atLine(first.line ? first.line : line);
    text += L": " + first.text;
    if (problems_.size() > 1) text += L" (" + std::to_wstring(problems_.size() - 1) + L" further problems)";
    logError(text + L"; skipped");
    problems_.clear();
}

std::wstring const* attributeText(XMLNode const& node, std::wstring_view key) {
    XMLAttribute const* attribute = node.getAttribute(key);
    return attribute ? &attribute->getString() : nullptr;
}

void readFloat(XMLNode const& node, std::wstring_view key, float& value, ReadProblems& problems) {
    XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    float const read = attribute->getFloat();
    if (std::isfinite(read))
        value = read;
    else
        problems.add(quoted(key) + L" is not a finite number", node.getLine());
}

void readFloat(XMLNode const& node, std::wstring_view key, float& value, float low, float high,
               ReadProblems& problems) {
    readBounded(node, key, value, low, high, problems);
}

void readDouble(XMLNode const& node, std::wstring_view key, double& value, double low, double high,
                ReadProblems& problems) {
    readBounded(node, key, value, low, high, problems);
}

std::size_t readFloats(XMLNode const& node, std::wstring_view key, std::span<float> numbers, float low, float high,
                       ReadProblems& problems) {
    XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return 0;
    XMLValueTokens const pieces = attribute->split(L" ");
    std::size_t const count = std::min<std::size_t>(pieces.getCount(), numbers.size());
    std::vector<float> read(count);
    for (std::size_t i = 0; i < count; ++i) {
        read[i] = pieces.get(static_cast<u32>(i))->getFloat();
        if (read[i] >= low && read[i] <= high) continue;
        problems.add(listRefusal(key, quotedPiece(attribute->text()), low, high), node.getLine());
        return 0;
    }
    std::copy(read.begin(), read.end(), numbers.begin());
    return count;
}

void readMeasure(XMLNode const& node, std::wstring_view key, float& value, ReadProblems& problems) {
    readFloat(node, key, value, -kMaxMeasure, kMaxMeasure, problems);
}

std::size_t readMeasures(XMLNode const& node, std::wstring_view key, std::span<float> numbers, ReadProblems& problems) {
    return readFloats(node, key, numbers, -kMaxMeasure, kMaxMeasure, problems);
}

std::wstring refusedNumbers(std::wstring_view key, std::wstring_view text, float low, float high) {
    return listRefusal(key, quotedPiece(text), low, high);
}

void readInt(XMLNode const& node, std::wstring_view key, int& value, int low, int high, ReadProblems& problems) {
    XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    int const read = attribute->getInt();
    if (read >= low && read <= high)
        value = read;
    else
        problems.add(quoted(key) + L" " + std::to_wstring(read) + L" lies outside " + std::to_wstring(low) + L".." +
                         std::to_wstring(high),
                     node.getLine());
}

void readBool(XMLNode const& node, std::wstring_view key, bool& value) {
    XMLAttribute const* attribute = node.getAttribute(key);
    if (attribute) value = attribute->getBool();
}

}  // namespace Orvex
