// Piles and cards made in tests: a pile read from a definition text and registered with the card
// manager, and cards taken into the game.
#pragma once

#include <string>

#include "engine/core/XMLNode.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"

namespace cardtest {

inline Solitaire::Kartenstapel* makePile(std::wstring const& definition) {
    Solitaire::Kartenmanager& manager = Solitaire::Kartenmanager::instance();
    Orvex::XMLNode node;
    node.loadFromText(definition, L"test pile");
    auto* pile = new Solitaire::Kartenstapel(static_cast<int>(manager.piles.size()));
    pile->readDefinition(node, L"test pile");
    manager.piles.push_back(pile);
    return pile;
}

inline Solitaire::Karte* managedCard(int value, int suit = 0, bool faceUp = true) {
    Solitaire::Kartenmanager& manager = Solitaire::Kartenmanager::instance();
    auto* card = new Solitaire::Karte(value, suit, 1, static_cast<int>(manager.cards.size()));
    card->setFaceUp(faceUp, 0.0f, 0.0f);
    manager.addCard(card);
    return card;
}

}  // namespace cardtest
