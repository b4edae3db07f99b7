// The language manager's lookup: texts by id in the current language.
#include "engine/gui/LanguageManager.h"

#include "engine/gui/Text.h"

namespace Orvex {

LanguageManager::LanguageManager() : defaultText_(new Text(kDefaultTextName)) {}

LanguageManager::~LanguageManager() {
    current_ = nullptr;
    allTexts_.clear();
    languages_.clear();
    defaultText_->release();
}

void LanguageManager::clear() {
    current_ = firstLanguage_ = nullptr;
    languageCode_.clear();
    allTexts_.clear();
    languages_.clear();
    characters_.clear();
    unitsUsed_.clear();
}

Text* LanguageManager::findText(std::wstring const& id) const {
    if (!current_) return defaultText_;
    return current_->findText(id);
}

Text* LanguageManager::findTextForCount(std::wstring const& id, long long count) const {
    if (count == 1 && current_)
        if (Text* one = current_->findText(id + kSingularSuffix)) return one;
    return findText(id);
}

std::wstring LanguageManager::getText(std::wstring const& id) const {
    Text const* text = findText(id);
    return text ? text->getText() : std::wstring();
}

Language* LanguageManager::findLanguage(std::wstring const& code) const {
    auto const found = languages_.find(code);
    return found == languages_.end() ? nullptr : const_cast<Language*>(&found->second);
}

void LanguageManager::makeCurrent(Language* language) {
    current_ = language;
    languageCode_ = language->getName();
    languageChanged.emit(languageCode_);
}

}  // namespace Orvex
