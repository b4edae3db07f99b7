// The engine's language texts: every language read from the text lists ("data\texte.lng" and
// the lists other data names), the current language, and text lookup by id. A member of the
// engine object (OrvexEngine::getLanguage).
//
// Text list: a node with children "TEXT" (see Text) and an optional "DEF_LANGUAGE" code. The
// first definition of an (id, language) pair wins, also across loads. "DEF_LANGUAGE" naming a
// loaded language makes it current; otherwise, while none is current, the language of the first
// text ever read becomes current. There is no fallback between languages: an id missing from the
// current language is missing.
//
// A text written with a count may have its form for the count one beside it, under its id with
// kSingularSuffix ("KARTENSTAPELSIZE_EZ" beside "KARTENSTAPELSIZE"); findTextForCount picks it.
//
// LanguageManager.cpp: lookup and clearing; LanguageManager_load.cpp: reading text lists.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/gui/Language.h"
#include "signals/sigslot.h"

namespace Orvex {

class Text;
class XMLNode;

class LanguageManager {
public:
    // Name of the empty text findText gives while no language is current.
    static constexpr wchar_t const* kDefaultTextName = L"Default_Error";
    // Appended to a text id for its form for the count one.
    static constexpr wchar_t const* kSingularSuffix = L"_EZ";

    LanguageManager();
    ~LanguageManager();
    LanguageManager(LanguageManager const&) = delete;
    LanguageManager& operator=(LanguageManager const&) = delete;

    // Reads one text list (above).
    void load(XMLNode& node);
    // Forgets every text and language; none is current. No signal.
    void clear();

    // The current language's text of that id, or null; the empty default text while no language
    // is current. Adds no reference.
    Text* findText(std::wstring const& id) const;
    // The text to write that count with: the id's form for one when the count is 1 and the
    // current language has that form, else findText(id). The caller writes the same count.
    Text* findTextForCount(std::wstring const& id, long long count) const;
    // A copy of that text's format; empty when the id is missing or no language is current.
    std::wstring getText(std::wstring const& id) const;
    // The current language code; empty until a language is current.
    std::wstring const& getLanguageCode() const { return languageCode_; }
    Language* getCurrentLanguage() const { return current_; }
    // The language of that code, or null.
    Language* findLanguage(std::wstring const& code) const;
    // Every text of every language, in the order they were entered.
    std::vector<Text*> getAllTexts() const { return allTexts_; }
    // Every UTF-16 code unit the texts use, once each, ascending, without zero (characters past
    // U+FFFF as their two surrogates): what fonts must be able to draw.
    std::vector<wchar_t> getCharacterList() const { return characters_; }

    // Emitted with the code whenever a language is made current.
    sigslot::signal1<std::wstring const&> languageChanged;

private:
    void makeCurrent(Language* language);
    // Marks the code units of the texts from that index of allTexts_ on; the list is made again
    // when one was new.
    void collectCharacters(std::size_t from);

    // Languages by code (nodes stay put, so pointers to them stay valid).
    std::unordered_map<std::wstring, Language> languages_;
    std::vector<Text*> allTexts_;
    std::vector<wchar_t> characters_;
    std::vector<bool> unitsUsed_;  // by UTF-16 unit: used by a text (characters_ lists them)
    Language* current_ = nullptr;
    Language* firstLanguage_ = nullptr;
    Text* defaultText_;
    std::wstring languageCode_;
};

}  // namespace Orvex
