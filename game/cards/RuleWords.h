// The rule vocabulary of the variant files: colour rules (codes 0..13) and value rules (codes
// 0..48), read from their words and written back as one word per code. Matching is exact and
// case-sensitive on the whole text; a word outside the tables is NICHTS, which admits no card.
#pragma once

#include <string>
#include <string_view>

namespace Solitaire {

// Colour rule codes with a name of their own in code.
enum ColourRule : int {
    kColourKreuz = 0,
    kColourKaro = 1,
    kColourPik = 2,
    kColourHerz = 3,
    kColourExtra = 4,
    kColourRot = 5,
    kColourSchwarz = 6,
    kColourAlleSelbe = 7,
    kColourAlleWechsel = 8,
    kColourAlles = 9,
    kColourNichts = 10,
    kColourRotSchwarz = 11,
    kColourVorherige = 12,
    kColourVorherigeFarbe = 13,
};

// Value rule codes: 0..12 one value (ASS .. KÖNIG), then the groups below; 23..35 "at most"
// (code - 23), 36..48 "at least" (code - 36).
enum ValueRule : int {
    kValueAss = 0,
    kValueDame = 11,
    kValueKoenig = 12,
    kValueZahlen = 13,
    kValueFiguren = 14,
    kValueStapelPlus = 15,
    kValueStapelMinus = 16,
    kValueAlles = 17,
    kValueNichts = 18,
    kValueVorherige = 19,
    kValueVorherigeMinus = 20,
    kValueVorherigePlus = 21,
    kValuePlusMinus = 22,
    kValueAtMostFirst = 23,
    kValueAtLeastFirst = 36,
    kValueLast = 48,
};

int parseColourRule(std::wstring_view word);
int parseValueRule(std::wstring_view word);
// The word written for a code; "NICHTS" for any code outside the table.
std::wstring colourRuleName(int code);
std::wstring valueRuleName(int code);

}  // namespace Solitaire
