// The card core's one look-up of a language text: the tooltips, the descriptions and the rule
// texts all ask the engine's language manager through it.
#pragma once

#include <string>

namespace Solitaire {

// The text of id in the current language; empty for an unknown id.
std::wstring languageText(std::wstring const& id);
// The text of id for the count, the count written into it: its form for one where the language
// has it (Orvex::LanguageManager::findTextForCount); empty for an unknown id.
std::wstring countText(std::wstring const& id, int count);
// The text of id with first and second written into its "%s" in order (a text with one takes
// first alone); empty for an unknown id.
std::wstring formattedText(std::wstring const& id, std::wstring const& first, std::wstring const& second);

}  // namespace Solitaire
