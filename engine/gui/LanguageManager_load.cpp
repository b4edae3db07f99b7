// The language manager reading text lists: texts filed by language, the first definition of
// an id in a language kept, the current language chosen, the character list rebuilt.
#include <algorithm>
#include <set>

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
    characters_.clear();
    for (Text const* text : allTexts_) {
        for (wchar_t const ch : text->getText()) {
            auto const code = static_cast<u32>(ch);
            if (code > 0xFFFF && code <= 0x10FFFF) {
                characters_.push_back(static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10)));
                characters_.push_back(static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
            } else if (code != 0 && code <= 0xFFFF) {
                characters_.push_back(ch);
            }
        }
    }
    std::sort(characters_.begin(), characters_.end());
    characters_.erase(std::unique(characters_.begin(), characters_.end()), characters_.end());
    characters_.shrink_to_fit();
}

}  // namespace Orvex
