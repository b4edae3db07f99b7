// Tooltip texts of cards and piles, and the news lines of a joker or wildcard not laid.
#include "game/cards/Describe.h"

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/LanguageText.h"
#include "game/cards/RuleMatching.h"
#include "game/cards/RuleWords.h"

namespace Solitaire {

void appendDescriptionPart(std::wstring& out, std::wstring const& part) {
    if (part.empty()) return;
    if (!out.empty()) out += kDescriptionSeparator;
    out += part;
}

namespace {

// Free capacities shown as a number; more room than a suit's run is not worth a line.
constexpr int kMaxShownRoom = 13;

void append(std::wstring& out, std::wstring const& part) { appendDescriptionPart(out, part); }

std::wstring cardText(int suit, int value) { return colourRuleText(suit) + L" " + valueRuleText(value); }

// "AKZEPTIERT" and the names of what may follow (suit of `suit`, value of `value`); nothing for
// NICHTS. suit or value below 0: the rules stand alone (an empty pile).
std::wstring acceptedText(PileRules const& rules, int colourRule, int valueRule, int suit, int value) {
    if (colourRule == kColourNichts || valueRule == kValueNichts) return std::wstring();
    int const colour = suit >= 0 ? acceptedColourAfter(colourRule, suit) : colourRule;
    int values[2] = {valueRule, valueRule};
    int count = 1;
    if (value >= 0) count = acceptedValuesAfter(valueRule, value, WrapAround::of(rules), rules.pairs, values);
    if (count <= 0) return std::wstring();
    std::wstring names;
    if (colour != kColourAlles) names = colourRuleText(colour);
    if (valueRule != kValueAlles) {
        for (int i = 0; i < count && i < 2; ++i) {
            if (!names.empty()) names += L" ";
            names += valueRuleText(values[i]);
        }
    }
    return languageText(L"AKZEPTIERT") + names;
}

}  // namespace

bool jokerWaits(Karte const& card) { return card.isDealtJoker() && !(card.pile && card.pile->isGoalPile()); }

std::wstring jokerNote(Karte const& joker) {
    std::wstring const self = cardText(joker.suit, joker.value);
    // The foundations of the variants that deal jokers grow by suit from the ace.
    if (joker.value <= kValueAss) return formattedText(L"MELDUNG_JOKER_ASS", self, std::wstring());
    return formattedText(L"MELDUNG_JOKER_KARTE", self, cardText(joker.suit, joker.value - 1));
}

std::optional<std::wstring> refusalNote(Karte const& card, Kartenstapel const* target) {
    if (card.isWildcard) return formattedText(L"MELDUNG_WILDCARD_KARTE", cardText(card.suit, card.value), std::wstring());
    if (!card.isJoker) return std::nullopt;
    // Off its pile a joker is a card of the table: a drop onto a column or cell refused says nothing.
    if (target && !target->isGoalPile()) {
        if (card.pile && card.pile->isSpecialPile()) return languageText(L"MELDUNG_JOKER_HIER");
        return std::nullopt;
    }
    if (jokerWaits(card)) return jokerNote(card);
    return std::nullopt;
}

void describe(Karte& card, std::wstring& out, bool withPile, bool withAccepted, bool withNext) {
    out.clear();
    Kartenstapel* pile = card.pile;
    if (withPile && pile) describe(*pile, out, false, false);
    card.descriptionDirty = false;
    if (!card.isFaceUp() || card.suit == Karte::kSuitExtra) return;
    // A dealt joker not yet laid says which card it is and where it goes.
    append(out, jokerWaits(card) ? jokerNote(card) : cardText(card.suit, card.value));
    if (!pile) return;
    append(out, languageText(pile->canPickCard(&card) ? L"VERSCHIEBBAR" : L"NICHT_VERSCHIEBBAR"));
    if (card.backLinks.empty() && withAccepted && withNext)
        append(out, acceptedText(pile->rules, pile->rules.acceptColourRule, pile->rules.acceptValueRule, card.suit,
                                 card.value));
}

void describe(Kartenstapel& pile, std::wstring& out, bool withAccepted, bool) {
    out.clear();
    pile.descriptionDirty = false;
    append(out, languageText(pile.getTypeName()));
    // The pile's own cards: a stock's linked waste is a pile of its own, with its own count.
    std::vector<Karte*> own;
    pile.getCards(own, true, true);
    int const count = static_cast<int>(own.size());
    append(out, countText(L"KARTENSTAPELSIZE", count));
    int const room = pile.getRootArrangement() ? pile.freeCapacity(true) : -1;
    if (room >= 0 && room <= kMaxShownRoom)
        append(out, countText(L"KARTENSTAPELRESTSIZE", room));
    if (!withAccepted || room == 0) return;
    std::vector<Karte*> const top = pile.collectFreeCards();
    if (top.empty())
        append(out, acceptedText(pile.rules, pile.rules.acceptColourRuleEmpty, pile.rules.acceptValueRuleEmpty, -1, -1));
    else
        append(out, acceptedText(pile.rules, pile.rules.acceptColourRule, pile.rules.acceptValueRule, top.back()->suit,
                                 top.back()->value));
}

}  // namespace Solitaire
