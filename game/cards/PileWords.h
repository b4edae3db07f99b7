// The pile word tables of the variant files: pile types ("STAPELTYP"), card flags
// ("MISCHEN_MODE"), click actions on a face-down card ("CLICK_ON_VERDECKT") and on the empty
// pile ("CLICK_ON_LEER"), goal kinds ("IS_ZIELSTAPEL") and wrap values ("WRAP_MODE").
// Each is a pure function of the text; words are compared case-sensitively and whole. Word lists
// are split at blanks. Unknown words fall back: pile type kPileBasis, goal kind kGoalNone, wrap
// value kWrapNone, no bit.
#pragma once

#include <string>
#include <string_view>

namespace Solitaire {

enum PileType : int {
    kPileVorrat = 0,
    kPileMuell = 1,
    kPileBasis = 2,
    kPileTableau = 3,
    kPileFaecher = 4,
    kPileAblage = 5,
    kPileReserve = 6,
    kPileWildcard = 7,
    kPileJoker = 8,
    kPileWildcardJoker = 9,
};

// Bits of "CLICK_ON_VERDECKT".
enum ClickAction : unsigned {
    kClickAufdecken = 1,
    kClickMoveVerknStapel = 2,
    kClickVerknVerdecken = 4,
    kClickXMult = 8,
    kClickResetMultiplier = 16,
    kClickMakeAutotip = 32,
};

// Bits of "CLICK_ON_LEER".
enum EmptyClickAction : unsigned {
    kEmptyHolenVerdeckt = 1,
    kEmptyHolenSichtbar = 2,
    kEmptyHolenAlle = 3,
    kEmptyStapelVerdecken = 4,
    kEmptyStapelSichtbar = 8,
    kEmptyStapelMischen = 16,
    kEmptyHolenXMult = 32,
    kEmptyDoKova = 64,
};

// Goal kinds ("IS_ZIELSTAPEL"): no goal, a goal pile ("ZIEL"), an end pile ("END").
enum GoalKind : int {
    kGoalNone = 0,
    kGoalZiel = 1,
    kGoalEnd = 2,
};

// The wrap value of an unknown word: no value, so a range holding it never wraps.
constexpr int kWrapNone = 13;

// The pile types whose cards are wildcards or jokers bought in the shop.
constexpr bool isSpecialType(int type) {
    return type == kPileWildcard || type == kPileJoker || type == kPileWildcardJoker;
}

int parsePileType(std::wstring_view word);
// Whether the word is one of the pile-type words (parsePileType takes any other as "BASIS").
bool isPileTypeWord(std::wstring_view word);
// "VORRATS_STAPEL" .. "WILDCARD_JOKER_STAPEL"; empty outside 0..9.
std::wstring pileTypeName(int code);
unsigned parseCardFlags(std::wstring_view words);
unsigned parseClickActions(std::wstring_view words);
unsigned parseEmptyClickActions(std::wstring_view words);
int parseGoalKind(std::wstring_view word);
int parseWrapValue(std::wstring_view word);

}  // namespace Solitaire
