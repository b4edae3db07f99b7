// One language's table of texts.
#include "engine/gui/Language.h"

#include "engine/gui/Text.h"

namespace Orvex {

Language::Language(std::wstring const& code) : NamedObject(code) { texts_.max_load_factor(1.0f); }

Language::Language(Language const& other) : NamedObject(other), texts_(other.texts_) {
    texts_.max_load_factor(1.0f);
    for (auto const& entry : texts_) entry.second->addRef();
}

Language::~Language() {
    for (auto const& entry : texts_) entry.second->release();
}

Text* Language::findText(std::wstring const& id) const {
    auto const found = texts_.find(id);
    return found == texts_.end() ? nullptr : found->second;
}

bool Language::addText(Text* text) {
    if (!text || !texts_.emplace(text->getName(), text).second) return false;
    text->addRef();
    return true;
}

}  // namespace Orvex
