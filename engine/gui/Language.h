// One language's table of texts by text id (exact, case-sensitive), holding one reference on
// each text. The name is the language code.
#pragma once

#include <string>
#include <unordered_map>

#include "engine/core/NamedObject.h"

namespace Orvex {

class Text;

class Language : public NamedObject {
public:
    explicit Language(std::wstring const& code);
    // A copy of the table: one more reference on every text.
    Language(Language const& other);
    Language& operator=(Language const&) = delete;
    // Releases every text.
    ~Language() override;

    // The text of that id, or null. Adds no reference.
    Text* findText(std::wstring const& id) const;
    // Enters the text under its name with one reference of its own; false (nothing entered, no
    // reference taken) when the id is already taken: the first definition wins.
    bool addText(Text* text);

    std::unordered_map<std::wstring, Text*> const& getTexts() const { return texts_; }

private:
    std::unordered_map<std::wstring, Text*> texts_;
};

}  // namespace Orvex
