// Readers of the styles file's value kinds on top of ReadProblems: colours (AARRGGBB in base 16,
// one or two), range pairs whose plain key sets both bounds and whose "_MAX" key the upper one,
// integer pairs within bounds, one to four floats, and texts. Each leaves its field as it was
// when the key is absent or refused.
#pragma once

#include <string>
#include <string_view>

#include "game/look/ReadProblems.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

// One hexadecimal AARRGGBB value.
void readColour(Orvex::XMLNode const& node, std::wstring_view key, D3DXCOLOR& value);
// One or two colours: the first sets both, a second the second.
void readColourPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXCOLOR (&value)[2]);
// key sets lower and upper bound, key + "_MAX" then the upper bound alone, whatever their order;
// each number within kMaxMeasure (the ends are offsets in card cells and rotations in degrees, and
// the blend lower + (upper - lower) x p and a pile's step, its offset times the card set's factor,
// stay inside a float).
void readRangePair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& lower, D3DXVECTOR2& upper,
                   ReadProblems& problems);
void readRange(Orvex::XMLNode const& node, std::wstring_view key, float& lower, float& upper, ReadProblems& problems);
// One or two integers within [low, high]; the first sets both.
void readIntPair(Orvex::XMLNode const& node, std::wstring_view key, int& first, int& second, int low, int high,
                 ReadProblems& problems);
// One to four floats a, b, c, d within kMaxMeasure (offsets): a sets all, b the second and
// fourth, c the third and fourth, d the fourth.
void readFloatQuad(Orvex::XMLNode const& node, std::wstring_view key, float (&value)[4], ReadProblems& problems);
void readText(Orvex::XMLNode const& node, std::wstring_view key, std::wstring& value);

}  // namespace Solitaire
