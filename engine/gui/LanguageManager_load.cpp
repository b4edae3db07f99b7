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
    std::size_t const known = allTexts_.size();
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
    collectCharacters(known);
}

void LanguageManager::collectCharacters(std::size_t from) {
    // One mark per UTF-16 unit rather than every character of every text sorted: the texts run
    // to hundreds of thousands of characters, the units to 65,536. The marks stay, so a list read
    // again (the catalogue's texts, on every reload) looks only at the texts it added.
    if (unitsUsed_.empty()) unitsUsed_.assign(0x10000, false);
    bool added = false;
    auto mark = [&](u32 unit) {
        if (unitsUsed_[unit]) return;
        unitsUsed_[unit] = true;
        added = true;
    };
    for (std::size_t i = from; i < allTexts_.size(); ++i) {
        for (wchar_t const ch : allTexts_[i]->getText()) {
            auto const code = static_cast<u32>(ch);
            if (code > 0xFFFF && code <= 0x10FFFF) {
                mark(0xD800 + ((code - 0x10000) >> 10));
                mark(0xDC00 + ((code - 0x10000) & 0x3FF));
            } else if (code != 0 && code <= 0xFFFF) {
                mark(code);
            }
        }
    }
    if (!added) return;
    characters_.clear();
    for (u32 unit = 1; unit < unitsUsed_.size(); ++unit)
        if (unitsUsed_[unit]) characters_.push_back(static_cast<wchar_t>(unit));
    characters_.shrink_to_fit();
}

}  // namespace Orvex
