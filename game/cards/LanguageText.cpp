// The language-text look-up. The engine instance is made on first use and holds its language
// manager, so neither can be missing here.
#include "game/cards/LanguageText.h"

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"

namespace Solitaire {

std::wstring languageText(std::wstring const& id) {
    return Orvex::OrvexEngine::getInstance()->getLanguage()->getText(id);
}

}  // namespace Solitaire
