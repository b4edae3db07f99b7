// The card manager: its reset, its undo record, and undo and redo over a whole table: random run
// transfers between the spider's piles, each saved on every object, then stepped back and forth.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/cards/PileBuilder.h"

namespace Solitaire {
namespace {

using CardManagerTest = cardtest::CardTableFixture;

struct Listener : sigslot::has_slots<> {
    std::vector<std::pair<std::wstring, bool>> tooltips;
    void onTooltip(std::wstring const& text, bool const& shown) { tooltips.emplace_back(text, shown); }
};

TEST_F(CardManagerTest, TheResetEmptiesTheTableAndTheHistoryAndClearsTheTooltip) {
    EXPECT_EQ(&Kartenmanager::instance(), &manager());
    load(L"data\\Level\\Herzreihe.sol");
    Karte* card = cardtest::makeCard(1);
    card->addRef();  // kept beyond the reset
    manager().piles.front()->addCard(card, nullptr, true, false);
    manager().saveUndoState();
    Listener listener;
    manager().tooltipChanged.connect(&listener, &Listener::onTooltip);
    manager().createDiscardPile();
    EXPECT_EQ(listener.tooltips, (std::vector<std::pair<std::wstring, bool>>{{L"", false}}));
    EXPECT_TRUE(manager().cards.empty());
    EXPECT_EQ(manager().getUndoCount(), 0u);
    // A card that outlives the table keeps no pointer to a pile that is gone.
    EXPECT_EQ(card->pile, nullptr);
    card->release();
}

TEST_F(CardManagerTest, AnUndoStepRestoresBalanceCountersAndCardsButNotTheScore) {
    Karte* first = cardtest::makeCard(1);
    manager().pointsBalance = 40.0f;
    manager().goalCardCount = 2;
    manager().tableauCardCount = 9;
    manager().saveUndoState();
    Karte* second = cardtest::makeCard(2);
    manager().pointsBalance = 10.0f;
    manager().goalCardCount = 5;
    manager().tableauCardCount = 3;
    manager().score = 123.0f;
    manager().saveUndoState();
    // The records alone: no penalty check, no re-arranging and no resolution of this made-up table.
    manager().bypass = true;
    EXPECT_EQ(manager().undoSteps(-1, false, false), -1);
    EXPECT_EQ(manager().pointsBalance, 40.0f);
    EXPECT_EQ(manager().goalCardCount, 2);
    EXPECT_EQ(manager().tableauCardCount, 9);
    EXPECT_EQ(manager().score, 123.0f);
    EXPECT_EQ(manager().cards, std::vector<Karte*>{first});
    // The record keeps the card alive for the redo.
    EXPECT_EQ(manager().undoSteps(1, false, false), 1);
    EXPECT_EQ(manager().cards, (std::vector<Karte*>{first, second}));
    // A decided game takes no step.
    manager().gameStatus = 1;
    EXPECT_EQ(manager().undoSteps(-1, false, false), 0);
    EXPECT_EQ(manager().getUndoIndex(), 1);
    manager().bypass = false;
}

// What the test records of each card after every move.
struct CardState {
    Kartenstapel* pile;
    bool faceUp;
    std::vector<Karte*> links, backLinks;
    D3DXVECTOR2 goal;
    int goalKind;
    bool operator==(CardState const&) const = default;
};

std::vector<CardState> record(std::vector<Karte*> const& cards) {
    std::vector<CardState> out;
    for (Karte const* card : cards)
        out.push_back({card->pile, card->isFaceUp(), card->links, card->backLinks, card->getPositionGoal(), card->goalKind});
    return out;
}

TEST_F(CardManagerTest, RandomRunTransfersOnTheSpiderUndoAndRedoToWhatWasRecorded) {
    load(L"data\\Level\\Spinne.sol");
    std::vector<Kartenstapel*> piles = manager().piles;
    ASSERT_EQ(piles.size(), 12u);
    std::vector<Karte*> deck;
    for (int i = 0; i < 104; ++i) deck.push_back(cardtest::makeCard(12 - i % 13, kColourPik, i % 3 == 0));
    for (int i = 0; i < 104; ++i) ASSERT_TRUE(piles[static_cast<std::size_t>(i) % piles.size()]->addCard(deck[static_cast<std::size_t>(i)], nullptr, true, false));
    for (Kartenstapel* pile : piles) pile->arrange(0.0f);
    for (Karte* card : deck) card->goalKind = card->pile->rules.goalKind;
    manager().saveUndoState();
    std::vector<std::vector<CardState>> states{record(deck)};

    auto check = [&](std::size_t index) {
        std::map<Karte const*, int> holders;
        for (Kartenstapel const* pile : piles)
            for (Anordnung const* arrangement : pile->getArrangements())
                for (Karte const* card : arrangement->cards) ++holders[card];
        for (Karte const* card : deck) ASSERT_EQ(holders[card], 1) << "card " << card->getIndex();
        ASSERT_EQ(manager().getUndoIndex(), static_cast<Orvex::s32>(index));
        std::vector<CardState> const now = record(deck);
        for (std::size_t i = 0; i < deck.size(); ++i) ASSERT_TRUE(now[i] == states[index][i]) << "card " << i << " step " << index;
    };

    std::mt19937 random(20261206);
    std::size_t index = 0;
    int transfers = 0, undos = 0, redos = 0, droppedRedos = 0;
    while (transfers < 10000) {
        int const action = std::uniform_int_distribution<int>(0, 9)(random);
        if (action < 6) {
            Kartenstapel* source = piles[random() % piles.size()];
            Kartenstapel* target = piles[random() % piles.size()];
            std::vector<Karte*> held;
            source->getCards(held, true, true);
            if (held.empty() || source == target) continue;
            std::size_t const from = random() % held.size();
            std::vector<Karte*> const run(held.begin() + static_cast<long>(from), held.end());
            for (Karte* card : run) source->removeCard(card, false);
            source->getRootArrangement()->rebuildLinks();
            for (Karte* card : run) card->setFaceUp(random() % 2 == 0, 0.0f, 0.0f);
            // The goal kind every card gets from its pile at the resolution after each step.
            for (Karte* card : run) card->goalKind = target->rules.goalKind;
            ASSERT_TRUE(target->addRun(run, nullptr));
            source->arrange(0.0f);
            target->arrange(0.0f);
            bool const hadRedo = index + 1 < states.size();
            manager().saveUndoState();
            states.resize(++index);
            states.push_back(record(deck));
            ASSERT_EQ(manager().getUndoCount(), states.size());
            if (hadRedo) {
                // The save dropped the steps that could have been redone.
                ++droppedRedos;
                EXPECT_EQ(manager().undoSteps(1, false, false), 0);
            }
            ++transfers;
        } else {
            int const steps = std::uniform_int_distribution<int>(1, 4)(random) * (action < 8 ? -1 : 1);
            std::size_t const expected =
                static_cast<std::size_t>(std::clamp<long>(static_cast<long>(index) + steps, 0, static_cast<long>(states.size()) - 1));
            Orvex::s32 const made = manager().undoSteps(steps, true, false);
            ASSERT_EQ(made, static_cast<Orvex::s32>(expected) - static_cast<Orvex::s32>(index));
            index = expected;
            (steps < 0 ? undos : redos) += 1;
        }
        check(index);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(undos, 1000);
    EXPECT_GT(redos, 1000);
    EXPECT_GT(droppedRedos, 100);
}

}  // namespace
}  // namespace Solitaire
