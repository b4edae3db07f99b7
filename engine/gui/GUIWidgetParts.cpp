// Part windows of the composite widgets, and their number lists.
#include "engine/gui/GUIWidgetParts.h"

#include <cmath>
#include <cwchar>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"

namespace Orvex {

GUIWindow* makePartButton(XMLNode& node) { return new GUIButton(node); }

GUIWindow* makePartButton(std::wstring const& name) { return new GUIButton(name); }

GUIWindow* makePartLabel(XMLNode& node) { return new GUILabel(node); }

GUIWindow* makePartLabel(std::wstring const& name) { return new GUILabel(name); }

void readPartLabelParams(GUIWindow* label, XMLNode& params) {
    if (auto* l = dynamic_cast<GUILabel*>(label)) l->readLabelParams(params);
}

int readNumbers(std::wstring const& text, float* out, int count) {
    wchar_t const* p = text.c_str();
    int n = 0;
    while (n < count) {
        wchar_t* end = nullptr;
        double const v = std::wcstod(p, &end);
        if (end == p) break;
        // "nan" and "inf" are text, not sizes.
        out[n++] = std::isfinite(v) ? static_cast<float>(v) : 0.0f;
        p = end;
    }
    return n;
}

}  // namespace Orvex
