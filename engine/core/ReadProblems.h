// Reading untrusted data files: the refusals of one object are gathered and logged as one line
// naming the object, the file and the line ("Pile "X" in "file" at line 12: ...; skipped"). The
// readers take one attribute into a field: finite and bounded numbers, bounded counts, flags; a
// refused value leaves the field as it was and joins the list.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Types.h"

namespace Orvex {

class XMLNode;
class XMLText;

class ReadProblems {
public:
    // line: of the element the problem is in (XMLNode::getLine), 0 when unknown.
    void add(std::wstring text, u32 line = 0) { problems_.push_back({std::move(text), line}); }
    bool empty() const { return problems_.empty(); }
    std::size_t size() const { return problems_.size(); }
    // Moves the problems of other to the end of this list, each text after prefix; one without a
    // line takes line.
    void absorb(ReadProblems& other, std::wstring const& prefix = L"", u32 line = 0);
    // One error line: what (e.g. L"Pile \"X\""), the file when known, the first problem's line
    // (else `line`, the object's element) when known, the first problem and how many more.
    // Nothing without problems. Clears the list.
    void log(std::wstring const& what, std::wstring const& sourceName, u32 line = 0);

private:
    struct Problem {
        std::wstring text;
        u32 line;
    };
    std::vector<Problem> problems_;
};

// A text of the file quoted in a log line: between double quotes, and when it is longer than
// kQuotedChars, its first kQuotedChars characters, "..." and its length. A value of millions of
// characters is no log line's business.
constexpr std::size_t kQuotedChars = 48;
std::wstring quotedPiece(std::wstring_view text);
std::wstring quotedPiece(XMLText const& text);

// The largest magnitude of a number read from a data file that becomes a size, a place or a scale
// (and of the steps, speeds and times read beside them): a screen is a few thousand pixels, a
// table a few cells, so beyond a million is damaged data. The bound keeps the sums and products
// the program forms of such numbers (a place times a cell, a scale times a card, a step times a
// card count, a share times a view) inside a float. Every reader of such a number refuses one
// beyond it with its line and keeps the default: readMeasure and readMeasures.
inline constexpr float kMaxMeasure = 1.0e6f;

// Attribute key as a finite float; absent leaves value.
void readFloat(XMLNode const& node, std::wstring_view key, float& value, ReadProblems& problems);
// Attribute key as a number within [low, high] (not a number is outside); absent leaves value.
// The float is compared as read into a float.
void readFloat(XMLNode const& node, std::wstring_view key, float& value, float low, float high,
               ReadProblems& problems);
void readDouble(XMLNode const& node, std::wstring_view key, double& value, double low, double high,
                ReadProblems& problems);
// Attribute key split at blanks: its first numbers.size() pieces, each as read into a float
// within [low, high] (not a number is outside; -FLT_MAX..FLT_MAX asks only for finite ones), go
// into numbers; returns how many, 0 when absent or empty. Bounds on each number are what keeps
// the sums and products a file's numbers later form inside a float. One outside: numbers stay,
// 0, and the problem quotes the text.
std::size_t readFloats(XMLNode const& node, std::wstring_view key, std::span<float> numbers, float low, float high,
                       ReadProblems& problems);
// readFloat and readFloats within [-kMaxMeasure, kMaxMeasure]: the one rule for a size, a place
// or a scale from data.
void readMeasure(XMLNode const& node, std::wstring_view key, float& value, ReadProblems& problems);
std::size_t readMeasures(XMLNode const& node, std::wstring_view key, std::span<float> numbers, ReadProblems& problems);
// How readFloats words a refused list, for readers that split a list their own way.
std::wstring refusedNumbers(std::wstring_view key, std::wstring_view text, float low, float high);
// Attribute key as an int within [low, high]; absent leaves value.
void readInt(XMLNode const& node, std::wstring_view key, int& value, int low, int high, ReadProblems& problems);
// Attribute key as a flag (a number other than 0); absent leaves value.
void readBool(XMLNode const& node, std::wstring_view key, bool& value);
// The attribute text, or null when absent.
std::wstring const* attributeText(XMLNode const& node, std::wstring_view key);

}  // namespace Orvex
