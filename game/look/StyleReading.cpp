// Value readers of the styles, card-set and background files.
#include "game/look/StyleReading.h"

namespace Solitaire {

namespace {

D3DXCOLOR colourOf(Orvex::XMLProperty const& text) {
    Orvex::u32 const argb = text.getHex();
    return D3DXCOLOR(static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f);
}

}  // namespace

void readColour(Orvex::XMLNode const& node, std::wstring_view key, D3DXCOLOR& value) {
    if (Orvex::XMLAttribute const* attribute = node.getAttribute(key)) value = colourOf(*attribute);
}

void readColourPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXCOLOR (&value)[2]) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    Orvex::XMLValueTokens const pieces = attribute->split(L" ");
    if (pieces.getCount() == 0) return;
    value[0] = value[1] = colourOf(*pieces.get(0));
    if (pieces.getCount() > 1) value[1] = colourOf(*pieces.get(1));
}

void readRangePair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& lower, D3DXVECTOR2& upper,
                   ReadProblems& problems) {
    std::size_t const before = problems.size();
    D3DXVECTOR2 both = lower;
    readMeasurePair(node, key, both, problems);
    if (node.getAttribute(key) && problems.size() == before) lower = upper = both;
    readMeasurePair(node, std::wstring(key) + L"_MAX", upper, problems);
}

void readRange(Orvex::XMLNode const& node, std::wstring_view key, float& lower, float& upper, ReadProblems& problems) {
    std::size_t const before = problems.size();
    float both = lower;
    readMeasure(node, key, both, problems);
    if (node.getAttribute(key) && problems.size() == before) lower = upper = both;
    readMeasure(node, std::wstring(key) + L"_MAX", upper, problems);
}

void readIntPair(Orvex::XMLNode const& node, std::wstring_view key, int& first, int& second, int low, int high,
                 ReadProblems& problems) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return;
    Orvex::XMLValueTokens const pieces = attribute->split(L" ");
    if (pieces.getCount() == 0) return;
    int const a = pieces.get(0)->getInt();
    int const b = pieces.getCount() > 1 ? pieces.get(1)->getInt() : a;
    if (a < low || a > high || b < low || b > high) {
        problems.add(L"\"" + std::wstring(key) + L"\" lies outside " + std::to_wstring(low) + L".." +
                     std::to_wstring(high), node.getLine());
        return;
    }
    first = a;
    second = b;
}

void readFloatQuad(Orvex::XMLNode const& node, std::wstring_view key, float (&value)[4], ReadProblems& problems) {
    float numbers[4];
    std::size_t const count = readMeasures(node, key, numbers, problems);
    for (std::size_t i = 0; i < count; ++i)
        // Each piece sets its own component and every later one it shares a bit with.
        for (std::size_t c = i; c < 4; ++c)
            if ((c & i) == i) value[c] = numbers[i];
}

void readText(Orvex::XMLNode const& node, std::wstring_view key, std::wstring& value) {
    if (Orvex::XMLAttribute const* attribute = node.getAttribute(key)) value = attribute->getString();
}

}  // namespace Solitaire
