// Number lists of widget keys and the inner label's border.
#include "engine/gui/GUIWidgetText.h"

#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLProperty.h"
#include "engine/gui/GUIRect.h"
#include "engine/gui/GUISystem.h"

namespace Orvex {

std::vector<float> widgetNumbers(std::wstring const& text, std::wstring const& where, u32 line) {
    std::vector<float> out;
    XMLProperty const words(text);
    XMLValueTokens tokens = words.split(L" ");
    bool logged = false;
    for (u32 i = 0; i < tokens.getCount(); ++i) {
        XMLProperty const* piece = tokens.get(i);
        if (!piece || piece->getString().empty()) continue;
        double const v = piece->getDouble();
        if (std::isfinite(v) && std::fabs(v) <= kMaxMeasure) {
            out.push_back(static_cast<float>(v));
            continue;
        }
        if (!logged)
            logWarning(GUISystem::loadingPlace(line) + L": " + where + L" \"" + text +
                       L"\" holds a number out of range; read as 0");
        logged = true;
        out.push_back(0.0f);
    }
    return out;
}

namespace {

// left, top, right, bottom of a border key.
bool borderOf(XMLNode const& node, wchar_t const* key, bool pairs, float (&out)[4]) {
    XMLAttribute const* a = node.getAttribute(key);
    if (!a) return false;
    std::vector<float> const v = widgetNumbers(a->getString(), std::wstring(L"RAND_SIZE ") + key, node.getLine());
    auto nth = [&](std::size_t i) { return i < v.size() ? v[i] : 0.0f; };
    if (pairs) {
        float const x = nth(0);
        float const y = v.size() >= 2 ? v[1] : x;
        out[0] = out[2] = x;
        out[1] = out[3] = y;
    } else {
        for (std::size_t i = 0; i < 4; ++i) out[i] = nth(i);
    }
    return true;
}

}  // namespace

void applyLabelBorder(GUIRect& labelRect, XMLNode const& randSize, bool pairs) {
    float b[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    if (borderOf(randSize, L"REL", pairs, b)) {
        labelRect.position.relX = b[0];
        labelRect.position.relY = b[1];
        labelRect.size.relX = 1.0f - (b[0] + b[2]);
        labelRect.size.relY = 1.0f - (b[1] + b[3]);
    }
    if (borderOf(randSize, L"OFF", pairs, b)) {
        labelRect.position.offX = b[0];
        labelRect.position.offY = b[1];
        labelRect.size.offX = 1.0f - (b[0] + b[2]);
        labelRect.size.offY = 1.0f - (b[1] + b[3]);
    }
}

}  // namespace Orvex
