// The language manager reading text lists: texts filed by language, the first definition of
// an id in a language kept, the current language chosen, the character list rebuilt.
#include <set>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"

namespace Orvex {

void LanguageManager::load(XMLNode& node) {
    std::set<std::string> unknownLocales;
    for (auto const& child : node.children()) {
        if (child->getName() != L"TEXT") continue;
        Text* text = new Text(*child);
        if (!text->isLocaleKnown() && unknownLocales.insert(text->getLocale()).second)
            logWarning(L"Language texts" + atLine(*child) + L": unknown locale \"" +
                       toWideString(text->getLocale()) + L"\" (text \"" +
                       text->getName() + L"\", language \"" + text->getLang() + L"\"): numbers keep the point");
        auto const [entry, made] = languages_.try_emplace(text->getLang(), text->getLang());
        if (made && !firstLanguage_) firstLanguage_ = &entry->second;
        if (entry->second.addText(text)) allTexts_.push_back(text);
        text->release();
    }
    if (XMLAttribute const* defaultCode = node.getAttribute(L"DEF_LANGUAGE")) {
        if (Language* language = findLanguage(defaultCode->getString())) makeCurrent(language);
    }
    if (!current_ && firstLanguage_) makeCurrent(firstLanguage_);
    collectCharacters();
}

void LanguageManager::collectCharacters() {
    // One mark per UTF-16 unit rather than every character of every text sorted: the texts run
    // to hundreds of thousands of characters, the units to 65,536.
    std::vector<bool> present(0x10000, false);
    for (Text const* text : allTexts_) {
        for (wchar_t const ch : text->getText()) {
            auto const code = static_cast<u32>(ch);
            if (code > 0xFFFF && code <= 0x10FFFF) {
                present[0xD800 + ((code - 0x10000) >> 10)] = true;
                present[0xDC00 + ((code - 0x10000) & 0x3FF)] = true;
            } else if (code != 0 && code <= 0xFFFF) {
                present[code] = true;
            }
        }
    }
    characters_.clear();
    for (u32 unit = 1; unit < present.size(); ++unit)
        if (present[unit]) characters_.push_back(static_cast<wchar_t>(unit));
    characters_.shrink_to_fit();
}

}  // namespace Orvex
