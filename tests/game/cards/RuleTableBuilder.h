// Tables for the rule and hint tests: a pile from its attributes with one fan arrangement, dealt
// cards given as (suit, value) from the bottom up, and runs picked at a card.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "tests/game/cards/PileBuilder.h"

namespace cardtest {

struct Dealt {
    int suit;
    int value;
    bool faceUp = true;
};

// A pile "name" with the attributes and one arrangement ("maxCards" -1: the default).
inline Solitaire::Kartenstapel* rulePile(std::wstring const& name, std::wstring const& attributes,
                                         int maxCards = -1) {
    std::wstring const limit = maxCards >= 0 ? L" MAX_CARDS=\"" + std::to_wstring(maxCards) + L"\"" : L"";
    return makePile(L"<STAPEL NAME=\"" + name + L"\" " + attributes + L"><ANORDNUNG NAME=\"A\"" + limit +
                    L"/></STAPEL>");
}

// Lays the cards on the pile bottom first; returns them in that order.
inline std::vector<Solitaire::Karte*> deal(Solitaire::Kartenstapel* pile, std::vector<Dealt> const& cards) {
    std::vector<Solitaire::Karte*> made;
    for (Dealt const& d : cards) {
        Solitaire::Karte* card = managedCard(d.value, d.suit, d.faceUp);
        pile->addCard(card, nullptr, true, false);
        made.push_back(card);
    }
    return made;
}

// The run from card to the top of its pile.
inline Solitaire::Karte::LinkedCards runFrom(Solitaire::Karte const* card) {
    Solitaire::Karte::LinkedCards run;
    card->collectLinked(run, true, 0, -1);
    return run;
}

// A run of loose cards (no pile), linked each onto the one before.
inline Solitaire::Karte::LinkedCards looseRun(std::vector<Dealt> const& cards) {
    Solitaire::Karte::LinkedCards run;
    for (Dealt const& d : cards) {
        Solitaire::Karte* card = managedCard(d.value, d.suit, d.faceUp);
        if (!run.empty()) card->linkTo(run.back().first);
        run.emplace_back(card, static_cast<int>(run.size()));
    }
    return run;
}

}  // namespace cardtest
