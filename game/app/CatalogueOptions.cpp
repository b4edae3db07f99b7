// Reading the attributes every level of the catalogue shares.
#include "game/app/CatalogueOptions.h"

#include "engine/core/XMLNode.h"
#include "game/look/ReadProblems.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

void readText(Orvex::XMLNode const& node, wchar_t const* key, std::optional<std::wstring>& value) {
    if (std::wstring const* text = attributeText(node, key)) value = *text;
}

void readSwitch(Orvex::XMLNode const& node, wchar_t const* key, signed char& value) {
    if (Orvex::XMLAttribute const* attribute = node.getAttribute(key)) value = attribute->getBool() ? 1 : -1;
}

}  // namespace

void CatalogueOptions::read(Orvex::XMLNode const& node, std::wstring const& textIdPrefix, std::wstring const& name,
                            ReadProblems& problems) {
    textId = node.getAttributeString(L"TEXT_ID", textIdPrefix + name);
    readBool(node, L"SHOW_EXTRA_BANNER", extraBanner);
    readBool(node, L"SHOW_IN_AUSWAHL", showInSelection);
    int alternative = alternativeBackground;
    readInt(node, L"ALTERNATIV_HG", alternative, -32768, 32767, problems);
    alternativeBackground = static_cast<short>(alternative);
    readText(node, L"OVERRIDE_GAMESTYLE", gameStyle);
    readText(node, L"OVERRIDE_KARTENSET", kartenset);
    readText(node, L"OVERRIDE_BACKGROUND", background);
    if (node.getAttribute(L"OVERRIDE_STYLEPARAM")) {
        float param = 0.0f;
        std::size_t const before = problems.size();
        readMeasure(node, L"OVERRIDE_STYLEPARAM", param, problems);
        if (problems.size() == before) styleParam = param;
    }
    readSwitch(node, L"OVERRIDE_USE_RIGHT_MOUSE", rightMouse);
    readSwitch(node, L"OVERRIDE_USE_DOUBLE_CLICK", doubleClick);
}

}  // namespace Solitaire
