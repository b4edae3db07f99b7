// The pair reader on D3DX vectors; the other readers are the engine's (engine/core/ReadProblems.cpp).
#include "game/look/ReadProblems.h"

#include <cfloat>

namespace Solitaire {

void readFloatPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& value, ReadProblems& problems) {
    readFloatPair(node, key, value, FLT_MAX, problems);
}

void readFloatPair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& value, float limit,
                   ReadProblems& problems) {
    float numbers[2];
    std::size_t const count = readFloats(node, key, numbers, -limit, limit, problems);
    if (count > 0) value = D3DXVECTOR2(numbers[0], numbers[count - 1]);
}

void readMeasurePair(Orvex::XMLNode const& node, std::wstring_view key, D3DXVECTOR2& value, ReadProblems& problems) {
    readFloatPair(node, key, value, kMaxMeasure, problems);
}

}  // namespace Solitaire
