// The pair reader on D3DX vectors; the other readers are the engine's (engine/core/ReadProblems.cpp).
#include "game/look/ReadProblems.h"

#include <cmath>

#include "engine/core/XMLAttribute.h"

namespace Solitaire {

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
