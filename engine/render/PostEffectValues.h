// Reading helpers shared by the post effects and the render manager: blank-separated words and
// numbers of an attribute, a matrix from sixteen numbers row by row, and the event colour of
// post-effect drawing.
#pragma once

#include <string>
#include <vector>

#include "engine/core/XMLProperty.h"
#include "port/d3dx9/d3dx9.h"

namespace Orvex {

inline constexpr D3DCOLOR kPostEffectEventColour = 0xFF000080;
inline constexpr D3DCOLOR kPostEffectMarkerColour = 0xFF000080;

inline std::vector<std::wstring> postEffectWords(std::wstring const& text) {
    std::vector<std::wstring> words;
    XMLProperty const property(text);
    XMLValueTokens const tokens = property.split(L" ");
    for (u32 i = 0; i < tokens.getCount(); ++i) words.push_back(tokens.get(i)->getString());
    return words;
}

inline std::vector<float> postEffectNumbers(std::wstring const& text) {
    std::vector<float> numbers;
    for (std::wstring const& word : postEffectWords(text)) numbers.push_back(XMLProperty(word).getFloat());
    return numbers;
}

// The first sixteen values (the caller checks there are sixteen), row by row.
inline D3DXMATRIX matrixOf(std::vector<float> const& v) { return D3DXMATRIX(v.data()); }

}  // namespace Orvex
