// A running game for the save and resume tests: the small shipped golf variant, dealt here by
// laying cards onto its piles (from a chosen start, so two deals differ), and a snapshot of the
// table card for card to compare a resumed game with.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/game/cards/CardTableFixture.h"

namespace cardtest {

inline constexpr wchar_t kRunningVariant[] = L"data\\Level\\Golfplatz.sol";
inline constexpr int kRunningDeck = 52;

// Where and how one card lies.
struct CardPlace {
    int pile = -1;
    std::wstring arrangement;
    int place = -1;
    bool faceUp = false;
    float locks[4] = {0, 0, 0, 0};
    float keys[4] = {0, 0, 0, 0};
    bool wildcard = false;
    bool joker = false;

    auto tied() const {
        return std::tie(pile, arrangement, place, faceUp, locks[0], locks[1], locks[2], locks[3], keys[0], keys[1],
                        keys[2], keys[3], wildcard, joker);
    }
    bool operator==(CardPlace const& other) const { return tied() == other.tied(); }
};

inline std::vector<CardPlace> snapshotTable() {
    Solitaire::Kartenmanager& manager = Solitaire::Kartenmanager::instance();
    std::vector<CardPlace> table(manager.cards.size());
    for (std::size_t i = 0; i < manager.cards.size(); ++i) {
        Solitaire::Karte const& card = *manager.cards[i];
        CardPlace& place = table[i];
        place.pile = card.pile ? card.pile->getIndex() : -1;
        place.faceUp = card.isFaceUp();
        D3DXVECTOR4 const l = card.locks.goal, k = card.keys.goal;
        float const lv[4] = {l.x, l.y, l.z, l.w}, kv[4] = {k.x, k.y, k.z, k.w};
        std::copy(lv, lv + 4, place.locks);
        std::copy(kv, kv + 4, place.keys);
        place.wildcard = card.isWildcard;
        place.joker = card.isJoker;
        int holders = 0;
        for (Solitaire::Kartenstapel const* pile : manager.piles)
            for (Solitaire::Anordnung const* arrangement : pile->getArrangements())
                for (std::size_t p = 0; p < arrangement->cards.size(); ++p)
                    if (arrangement->cards[p] == &card) {
                        ++holders;
                        place.arrangement = std::to_wstring(pile->getIndex()) + L"/" + arrangement->getName();
                        place.place = static_cast<int>(p);
                    }
        EXPECT_EQ(holders, card.pile ? 1 : 0) << "card " << i << " lies in " << holders << " arrangements";
    }
    return table;
}

class RunningGameTable : public CardTableFixture {
protected:
    // The variant read anew and a deck laid out from start on: card (start + i) goes to pile
    // (i x 4 + start), or the next with room, face down; one step recorded as after a deal.
    void deal(int start) {
        manager().createDiscardPile();
        load(kRunningVariant);
        for (int i = 0; i < kRunningDeck; ++i) manager().addCard(new Solitaire::Karte(i % 13, i / 13, 1, i));
        // The removing power's discard holds nothing until a card is removed.
        std::vector<Solitaire::Kartenstapel*> piles = manager().piles;
        std::erase_if(piles, [](Solitaire::Kartenstapel* p) { return p->getName() == L"STAPEL_ABLAGE"; });
        for (int i = 0; i < kRunningDeck; ++i) {
            Solitaire::Karte* card = manager().cards[static_cast<std::size_t>((i + start) % kRunningDeck)];
            for (std::size_t tries = 0; tries < piles.size(); ++tries) {
                std::size_t const target = (static_cast<std::size_t>(i * 4 + start) + tries) % piles.size();
                if (piles[target]->addCard(card, nullptr, true, true)) break;
            }
        }
        for (Solitaire::Kartenstapel* pile : piles) pile->arrange(0.0f);
        manager().saveUndoState();
    }

    // Takes the top card of from and lays it on to, face up, and records the step.
    void move(std::wstring const& from, std::wstring const& to) {
        std::vector<Solitaire::Karte*> held;
        pile(from).getCards(held, true, true);
        ASSERT_FALSE(held.empty());
        Solitaire::Karte* card = held.back();
        ASSERT_TRUE(pile(from).removeCard(card, true));
        ASSERT_TRUE(pile(to).addCard(card, nullptr, true, true));
        card->setFaceUp(true, 0.0f, 0.0f);
        pile(from).arrange(0.0f);
        pile(to).arrange(0.0f);
        manager().saveUndoState();
    }

    // A game under way: moves made, cards turned, a lock, a key, a wildcard and a joker, score
    // parts, time and name.
    void playSomeMoves() {
        deal(0);
        move(L"TABLEAU1", L"STAPEL_MUELL");
        move(L"STAPEL_VORRAT", L"STAPEL_MUELL");
        move(L"TABLEAU4", L"STAPEL_MUELL");
        for (int i : {3, 8, 20}) manager().cards[static_cast<std::size_t>(i)]->setFaceUp(true, 0.0f, 0.0f);
        manager().cards[5]->setLocks(D3DXVECTOR4(1.0f, 0.0f, 2.5f, 0.0f), 0.0f, 0.0f);
        manager().cards[9]->setKeys(D3DXVECTOR4(0.0f, 1.0f, 0.0f, 0.0f), 0.0f, 0.0f);
        manager().cards[17]->isWildcard = true;
        manager().cards[30]->isJoker = true;
        manager().setScore(750.5f, -42.25f);
        manager().setTime(123.5f);
        readKeys(L"<S NAME=\"GOLFPLATZ 4711\"/>");
        manager().saveUndoState();
    }

    // Another deal of the same variant with other faces, flags, score and name.
    void freshOtherTable() {
        deal(11);
        for (int i : {0, 1, 2, 40}) manager().cards[static_cast<std::size_t>(i)]->setFaceUp(true, 0.0f, 0.0f);
        manager().cards[2]->isWildcard = true;
        manager().cards[44]->isJoker = true;
        manager().setScore(1000.0f, 0.0f);
        manager().setTime(0.0f);
        readKeys(L"<S NAME=\"GOLFPLATZ 1\"/>");
    }

    static Orvex::XMLNode saved() {
        Orvex::XMLNode node(L"QUICK_SAVE");
        manager().saveRunningGame(node);
        return node;
    }
};

}  // namespace cardtest
