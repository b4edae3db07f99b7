// Preprocessor macro lists of effects: reading "MACROS" elements, the D3DXMACRO array, the text
// form used in cache file names, and merging a permutation's macros over an effect's own.
#include "engine/render/Effect.h"

#include "engine/core/CodePage.h"

namespace Orvex {

EffectMacroList& EffectMacroList::operator=(EffectMacroList const& other) {
    if (this != &other) {
        macros_ = other.macros_;
        array_.clear();
    }
    return *this;
}

EffectMacroList EffectMacroList::read(XMLNode const& macrosElement) {
    EffectMacroList list;
    for (auto const& child : macrosElement.children()) {
        if (child->getName() != L"MACRO") continue;
        XMLAttribute const* name = child->getAttribute(L"NAME");
        XMLAttribute const* definition = child->getAttribute(L"DEFINITION");
        if (!name || !definition) continue;
        // No length limit: a long definition is handed over whole rather than cut.
        list.add(toNarrowString(name->getString()), toNarrowString(definition->getString()));
    }
    return list;
}

void EffectMacroList::add(std::string name, std::string definition) {
    macros_.emplace_back(std::move(name), std::move(definition));
    array_.clear();
}

void EffectMacroList::clear() {
    macros_.clear();
    array_.clear();
}

D3DXMACRO const* EffectMacroList::toD3DXMacros() {
    array_.assign(macros_.size() + 1, D3DXMACRO{nullptr, nullptr});
    for (std::size_t i = 0; i < macros_.size(); ++i) array_[i] = D3DXMACRO{macros_[i].first.c_str(), macros_[i].second.c_str()};
    return array_.data();
}

std::wstring EffectMacroList::toText(wchar_t between, wchar_t inside) const {
    std::wstring text;
    for (std::size_t i = 0; i < macros_.size(); ++i) {
        if (i > 0) text += between;
        text += toWideString(macros_[i].first);
        text += inside;
        text += toWideString(macros_[i].second);
    }
    return text;
}

void EffectMacroList::merge(EffectMacroList const& other) {
    std::vector<Macro> combined = macros_;
    combined.insert(combined.end(), other.macros_.begin(), other.macros_.end());
    std::vector<Macro> kept;
    for (std::size_t i = 0; i < combined.size(); ++i) {
        bool repeatedLater = false;
        for (std::size_t j = i + 1; j < combined.size() && !repeatedLater; ++j)
            repeatedLater = combined[j].first == combined[i].first;
        if (!repeatedLater) kept.push_back(std::move(combined[i]));
    }
    macros_ = std::move(kept);
    array_.clear();
}

}  // namespace Orvex
