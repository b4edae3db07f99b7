// The language-text look-up. The engine instance is made on first use and holds its language
// manager, so neither can be missing here.
#include "game/cards/LanguageText.h"

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"

namespace Solitaire {

std::wstring languageText(std::wstring const& id) {
    return Orvex::OrvexEngine::getInstance()->getLanguage()->getText(id);
}

std::wstring countText(std::wstring const& id, int count) {
    std::wstring out;
    if (Orvex::Text const* text = Orvex::OrvexEngine::getInstance()->getLanguage()->findTextForCount(id, count))
        text->format(out, count);
    return out;
}

std::wstring formattedText(std::wstring const& id, std::wstring const& first, std::wstring const& second) {
    std::wstring out;
    if (Orvex::Text const* text = Orvex::OrvexEngine::getInstance()->getLanguage()->findText(id))
        text->format(out, first, second);
    return out;
}

}  // namespace Solitaire
