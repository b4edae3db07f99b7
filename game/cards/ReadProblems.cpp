// Reading helpers for untrusted variant data and the one log line of its refusals.
#include "game/cards/ReadProblems.h"

#include <cmath>

#include "engine/core/Logger.h"

namespace Solitaire {

void ReadProblems::log(std::wstring const& what, std::wstring const& sourceName, Orvex::u32 line) {
    if (problems_.empty()) return;
    Problem const& first = problems_.front();
    std::wstring text = what;
    if (!sourceName.empty()) text += L" in \"" + sourceName + L"\"";
    text += Orvex::atLine(first.line ? first.line : line);
    text += L": " + first.text;
    if (problems_.size() > 1) text += L" (" + std::to_wstring(problems_.size() - 1) + L" further problems)";
    Orvex::logError(text + L"; skipped");
    problems_.clear();
}

std::wstring const* attributeText(Orvex::XMLNode const& node, std::wstring_view key) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    return attribute ? &attribute->getString() : nullptr;
}

void readFloat(Orvex::XMLNode const& node, std::wstring_view key, float& value, ReadProblems& problems) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    float const read = attribute->getFloat();
    if (std::isfinite(read))
        value = read;
    else
        problems.add(L"\"" + std::wstring(key) + L"\" is not a finite number", node.getLine());
}

void readInt(Orvex::XMLNode const& node, std::wstring_view key, int& value, int low, int high, ReadProblems& problems) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    int const read = attribute->getInt();
    if (read >= low && read <= high)
        value = read;
    else
        problems.add(L"\"" + std::wstring(key) + L"\" " + std::to_wstring(read) + L" lies outside " +
                     std::to_wstring(low) + L".." + std::to_wstring(high), node.getLine());
}

void readBool(Orvex::XMLNode const& node, std::wstring_view key, bool& value) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (attribute) value = attribute->getBool();
}

void readFloatPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& value, ReadProblems& problems) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    Orvex::XMLValueTokens const pieces = attribute->split(L" ");
    if (pieces.getCount() == 0) return;
    float const x = pieces.get(0)->getFloat();
    float const y = pieces.getCount() > 1 ? pieces.get(1)->getFloat() : x;
    if (std::isfinite(x) && std::isfinite(y))
        value = D3DXVECTOR2(x, y);
    else
        problems.add(L"\"" + std::wstring(key) + L"\" is not a pair of finite numbers", node.getLine());
}

}  // namespace Solitaire
