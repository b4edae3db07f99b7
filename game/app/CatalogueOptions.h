// What a category, a game and a variant of the catalogue all carry: the text id of their button,
// whether they are shown, the banner, the alternative background and the look and input overrides
// that win while one of their variants runs (the variant's over the game's over the category's).
//
// Values from "Level.dat" are untrusted: a float that is not finite or an "ALTERNATIV_HG" outside
// 16 bits keeps its default, and the caller logs the refusals as one line.
#pragma once

#include <optional>
#include <string>

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

class ReadProblems;

struct CatalogueOptions {
    std::wstring textId;
    bool showInSelection = true;      // "SHOW_IN_AUSWAHL"
    bool extraBanner = false;         // "SHOW_EXTRA_BANNER"
    short alternativeBackground = 0;  // "ALTERNATIV_HG": > 0 on, < 0 off, 0 no say
    // "OVERRIDE_USE_RIGHT_MOUSE", "OVERRIDE_USE_DOUBLE_CLICK": 0 not set, 1 on, -1 off.
    signed char rightMouse = 0;
    signed char doubleClick = 0;
    std::optional<std::wstring> gameStyle;   // "OVERRIDE_GAMESTYLE"
    std::optional<std::wstring> kartenset;   // "OVERRIDE_KARTENSET"
    std::optional<std::wstring> background;  // "OVERRIDE_BACKGROUND"
    std::optional<float> styleParam;         // "OVERRIDE_STYLEPARAM"

    // "TEXT_ID" (default textIdPrefix + name) and the attributes above.
    void read(Orvex::XMLNode const& node, std::wstring const& textIdPrefix, std::wstring const& name,
              ReadProblems& problems);
};

}  // namespace Solitaire
