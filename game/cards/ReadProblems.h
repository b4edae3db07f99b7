// Reading untrusted variant data: the refusals of one object are gathered and logged as one line
// naming the object, the file and the line ("Pile "X" in "file" at line 12: ...; skipped"). Helpers read finite
// numbers and bounded counts into a field, leaving the field as it was on refusal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/core/XMLNode.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class ReadProblems {
public:
    // line: of the element the problem is in (XMLNode::getLine), 0 when unknown.
    void add(std::wstring text, Orvex::u32 line = 0) { problems_.push_back({std::move(text), line}); }
    bool empty() const { return problems_.empty(); }
    std::size_t size() const { return problems_.size(); }
    // One error line: what (e.g. L"Pile \"X\""), the file when known, the first problem's line
    // (else `line`, the object's element) when known, the first problem and how many more.
    // Nothing without problems. Clears the list.
    void log(std::wstring const& what, std::wstring const& sourceName, Orvex::u32 line = 0);

private:
    struct Problem {
        std::wstring text;
        Orvex::u32 line;
    };
    std::vector<Problem> problems_;
};

// Attribute key as a finite float; absent leaves value.
void readFloat(Orvex::XMLNode const& node, std::wstring_view key, float& value, ReadProblems& problems);
// Attribute key as an int within [low, high]; absent leaves value.
void readInt(Orvex::XMLNode const& node, std::wstring_view key, int& value, int low, int high, ReadProblems& problems);
void readBool(Orvex::XMLNode const& node, std::wstring_view key, bool& value);
// One or two finite floats split at blanks; one number sets both. Absent leaves value.
void readFloatPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& value, ReadProblems& problems);
// The attribute text, or null when absent.
std::wstring const* attributeText(Orvex::XMLNode const& node, std::wstring_view key);

}  // namespace Solitaire
