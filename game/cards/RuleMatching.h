// Rule matching that needs no pile: one card against a rule pair (the deal, "INIT_KARTEN_*",
// wishes), the deck filter, what a rule lets follow a previous card (deal wishes, descriptions),
// the wrap range, and the localised rule texts of tooltips ("AF_…", "AW_…"). The tests bound to a
// pile (a card laid on a card, pick-up, a run accepted) are Kartenstapel's (Kartenstapel_rules.cpp).
//
// ZAHLEN and FIGUREN mean two sets: matchesCardRule reads 13 as ZWEI..ZEHN and 14 as ASS, BUBE,
// DAME, KÖNIG; the deck filter and Kartenstapel::acceptsCardOn read 13 as ASS..ZEHN and 14 as
// BUBE..KÖNIG. Both readings are kept as the variant files were written against them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace Solitaire {

struct PileRules;

// Ordinary suits and values of a deck.
constexpr int kDeckSuits = 4;
constexpr int kDeckValues = 13;

// The wrap range of a pile ("WRAP_MODE", "WRAP_AROUND"): in force while enabled and neither
// bound is 13 (no value).
struct WrapAround {
    int low = 0;
    int high = 12;
    bool enabled = false;

    bool isActive() const;
    static WrapAround of(PileRules const& rules);
};

bool isRed(int suit);

// One card against one rule pair.
bool matchesCardRule(int colourRule, int valueRule, int suit, int value);

// Deck filter ("KARTEN_FARBE", "KARTEN_WERT"): 0..3 that suit, ROT, SCHWARZ, every other code all
// suits; values 0..12, ZAHLEN ASS..ZEHN, FIGUREN BUBE..KÖNIG, the bounds 23..48, others all.
bool deckAdmitsSuit(int colourRule, int suit);
bool deckAdmitsValue(int valueRule, int value);
// The (suit, value) pairs one pass of deck creation makes, in creation order: suit by suit, or
// value by value with valueMajor. Empty when the filters admit no card: a caller repeating passes
// until the deck is full must stop then, or it never ends.
std::vector<std::pair<int, int>> deckPass(int colourRule, int const (&valueRules)[2], bool valueMajor);

// The colour rule a following card must meet after a card of suit `suit`.
int acceptedColourAfter(int rule, int suit);
// The value codes (0, 1 or 2 written into out) a following card may have after a card of value
// `value`; the count is returned.
int acceptedValuesAfter(int rule, int value, WrapAround const& wrap, bool pairs, int (&out)[2]);

// Text ids of the rule codes ("AF_KREUZ", "AW_kDAME"); empty for EXTRA and codes outside the
// tables.
std::wstring colourRuleTextId(int code);
std::wstring valueRuleTextId(int code);
// The text of that id in the engine's current language; empty without one or without the text.
std::wstring colourRuleText(int code);
std::wstring valueRuleText(int code);

}  // namespace Solitaire
