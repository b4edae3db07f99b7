// Reading the values of a tutorial file within bounds.
#include "engine/gui/TutorialRead.h"

#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/render/SpriteRect.h"

namespace Orvex::tutorial {

namespace {

void noteBadNumber(XMLNode const& node, std::wstring_view key, std::wstring const& text) {
    logWarning(L"tutorial file" + atLine(node) + L": \"" + node.getName() + L"\" \"" +
               node.getAttributeString(L"NAME", L"") + L"\" " +
               std::wstring(key) + L"=\"" + text + L"\" is out of range; the default stays");
}

bool bounded(double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; }

}  // namespace

void readNumber(XMLNode const& node, std::wstring_view key, double& out, double lo, double hi) {
    XMLAttribute const* a = node.getAttribute(key);
    if (!a) return;
    double const v = a->getDouble();
    if (bounded(v, lo, hi))
        out = v;
    else
        noteBadNumber(node, key, a->getStringCopy());
}

void readNumber(XMLNode const& node, std::wstring_view key, float& out, double lo, double hi) {
    double v = out;
    readNumber(node, key, v, lo, hi);
    out = static_cast<float>(v);
}

std::size_t readMeasures(XMLNode const& node, std::wstring_view key, std::span<float> numbers) {
    XMLAttribute const* a = node.getAttribute(key);
    if (!a) return 0;
    // The engine's list reader decides; the refusal is told in the tutorial's own line.
    ReadProblems refused;
    std::size_t const count = Orvex::readMeasures(node, key, numbers, refused);
    if (!refused.empty()) noteBadNumber(node, key, a->getStringCopy());
    return count;
}

void readPair(XMLNode const& node, std::wstring_view key, D3DXVECTOR2& out) {
    float numbers[2];
    std::size_t const count = readMeasures(node, key, numbers);
    if (count > 0) out = D3DXVECTOR2(numbers[0], numbers[count - 1]);
}

void readDrawModes(XMLNode const& node, std::wstring_view key, int& x, int& y) {
    XMLAttribute const* a = node.getAttribute(key);
    if (!a) return;
    XMLValueTokens const words = a->split(L" ");
    if (words.size() == 0) return;
    x = parseSpriteDrawMode(words.get(0)->getStringCopy());
    y = words.size() > 1 ? parseSpriteDrawMode(words.get(1)->getStringCopy()) : x;
}

void noteUnknownKeys(XMLNode const& node, std::initializer_list<std::wstring_view> known) {
    std::wstring unknown;
    for (XMLAttribute* a : node.attributes()) {
        bool found = false;
        for (std::wstring_view k : known) found = found || a->getName() == k;
        if (!found) unknown += (unknown.empty() ? L"" : L", ") + a->getName();
    }
    if (!unknown.empty())
        logWarning(L"tutorial file" + atLine(node) + L": \"" + node.getName() + L"\" \"" +
                   node.getAttributeString(L"NAME", L"") +
                   L"\" has unknown keys (" + unknown + L"); they are ignored");
}

}  // namespace Orvex::tutorial
