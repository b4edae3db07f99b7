// The card manager: its reset, its look-up by user name, the locks it announces, the camera fitted
// again, its undo record, and undo and redo over a whole table: random run transfers between the
// spider's piles, each saved on every object, then stepped back and forth.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/look/SolitaireCamera.h"
#include "tests/engine/gui/PrivateField.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/cards/PileBuilder.h"

// The table rectangle, which only a deal sets.
GUITEST_PRIVATE_FIELD(TableRect, Solitaire::Kartenmanager, Orvex::FRect, tableRect);

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
    Karte* card = cardtest::managedCard(1);
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

// Tutorials point at table objects by user name: the piles first, then the cards, each in order.
TEST_F(CardManagerTest, UserNamesFindPilesThenCards) {
    Kartenstapel* first = cardtest::makePile(L"<STAPEL NAME=\"A\" USERNAME=\"ZIEL\"><ANORDNUNG NAME=\"X\"/></STAPEL>");
    cardtest::makePile(L"<STAPEL NAME=\"B\" USERNAME=\"ANDERS\"><ANORDNUNG NAME=\"X\"/></STAPEL>");
    Kartenstapel* third = cardtest::makePile(L"<STAPEL NAME=\"C\" USERNAME=\"ZIEL\"><ANORDNUNG NAME=\"X\"/></STAPEL>");
    Karte* plain = cardtest::managedCard(1);
    Karte* named = cardtest::managedCard(2);
    Karte* other = cardtest::managedCard(3);
    named->userName = L"ZIEL";
    other->userName = L"ANDERS";
    first->addCard(plain, nullptr, true, false);
    first->addCard(named, nullptr, true, false);
    struct Case {
        std::vector<std::wstring> names;
        std::vector<KartenObjekt*> found;
    } const cases[] = {
        {{L"ZIEL"}, {first, third, named}},
        {{L"ANDERS", L"ZIEL"}, {first, manager().piles[1], third, named, other}},
        {{L"ziel"}, {}},
        {{}, {}},
    };
    for (Case const& c : cases) EXPECT_EQ(manager().getPilesByUserName(c.names), c.found) << c.names.size();
    EXPECT_EQ(manager().getPilesByUserName(L"ZIEL"), cases[0].found);
}

struct LockRecorder : sigslot::has_slots<> {
    std::vector<D3DXVECTOR4> announced;
    void onLocks(D3DXVECTOR4 const& locks) { announced.push_back(locks); }
};

// The largest lock of each kind over the locked cards; a lock that waits for its delay counts
// the card; a table without locks announces nothing.
TEST_F(CardManagerTest, TheLocksOfTheTableAreAnnouncedKindByKind) {
    LockRecorder recorder;
    manager().lockedCardsFound.connect(&recorder, &LockRecorder::onLocks);
    Karte* open = cardtest::managedCard(1);
    manager().computeCardBounds();
    EXPECT_TRUE(recorder.announced.empty());

    Karte* first = cardtest::managedCard(2);
    Karte* second = cardtest::managedCard(3);
    Karte* waiting = cardtest::managedCard(4);
    first->setLocks(D3DXVECTOR4(1.0f, 0.0f, 3.0f, 0.0f), 0.0f, 0.0f);
    second->setLocks(D3DXVECTOR4(2.0f, 1.0f, 0.0f, 0.0f), 0.0f, 0.0f);
    waiting->setLocks(D3DXVECTOR4(0.0f, 0.0f, 0.0f, 9.0f), 0.0f, 1.0f);  // still 0 now
    (void)open;
    manager().computeCardBounds();
    ASSERT_EQ(recorder.announced.size(), 1u);
    EXPECT_EQ(recorder.announced[0], D3DXVECTOR4(2.0f, 1.0f, 3.0f, 0.0f));
}

// After the window changed size the camera fits the table at once, without gliding there.
TEST_F(CardManagerTest, ARelayoutFitsTheCameraAtOnce) {
    SolitaireCamera camera;
    manager().relayout();  // no camera: nothing to fit
    manager().setCamera(&camera);
    manager().*guitest::memberOf(TableRect{}) = Orvex::FRect(0.0f, 0.0f, 2000.0f, 500.0f);
    camera.tableArea = Orvex::FRect(0.0f, 0.0f, 1000.0f, 500.0f);
    camera.setCardSize(0.0f, 0.0f);
    manager().relayout();
    EXPECT_FLOAT_EQ(camera.getScale(false), 0.5f);
    EXPECT_FLOAT_EQ(camera.getOffset().y, 125.0f);
    camera.tableArea = Orvex::FRect(0.0f, 0.0f, 4000.0f, 1000.0f);
    manager().relayout();
    EXPECT_FLOAT_EQ(camera.getScale(false), 2.0f);
    EXPECT_FLOAT_EQ(camera.getOffset().x, 0.0f);
    manager().setCamera(nullptr);
}

TEST_F(CardManagerTest, TheResetStartsTheCountsAgainAndKeepsTheBalance) {
    readKeys(L"<S SCORE_START=\"250\"/>");
    PlayState played;
    played.counts = {40.0f, 1, 2, 3, 5, 4, 1, 30, 20};
    played.score = 640.0f;
    played.bonusScore = -3.0f;
    played.gameTime = 9.0f;
    played.gameStatus = kGameWon;
    played.gameEndSent = true;
    played.resolutionPending = false;
    played.resolutionDelay = 1.5f;
    played.hintIndex = 2;
    played.autoMoveCount = 4;
    played.specialPileWasEmpty = true;
    played.wildcardList = {{1, 2}};
    played.jokerList = {{3, 4}};
    manager().setPlayState(played);
    manager().createDiscardPile();
    // The score starts at the default start score again; the balance is the player's.
    PlayState fresh;
    fresh.score = TableRules{}.startScore;
    fresh.counts.pointsBalance = 40.0f;
    EXPECT_EQ(manager().getPlayState(), fresh);
}

TEST_F(CardManagerTest, AnUndoStepRestoresBalanceCountersAndCardsButNotTheScore) {
    Karte* first = cardtest::managedCard(1);
    PlayState state = manager().getPlayState();
    state.counts.pointsBalance = 40.0f;
    state.counts.goalCardCount = 2;
    state.counts.tableauCardCount = 9;
    manager().setPlayState(state);
    manager().saveUndoState();
    Karte* second = cardtest::managedCard(2);
    state = manager().getPlayState();
    state.counts.pointsBalance = 10.0f;
    state.counts.goalCardCount = 5;
    state.counts.tableauCardCount = 3;
    state.score = 123.0f;
    manager().setPlayState(state);
    manager().saveUndoState();
    // The records alone: no penalty check, no re-arranging and no resolution of this made-up table.
    manager().bypass = true;
    EXPECT_EQ(manager().undoSteps(-1, false, false), -1);
    EXPECT_EQ(manager().getPointsBalance(), 40.0f);
    EXPECT_EQ(manager().getGoalCardCount(), 2);
    EXPECT_EQ(manager().getRestCardCount(), 9);
    EXPECT_EQ(manager().getScorePlus(), 123.0f);
    EXPECT_EQ(manager().cards, std::vector<Karte*>{first});
    // The record keeps the card alive for the redo.
    EXPECT_EQ(manager().undoSteps(1, false, false), 1);
    EXPECT_EQ(manager().cards, (std::vector<Karte*>{first, second}));
    // A decided game takes no step.
    manager().setGameStatus(kGameWon);
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
    // The removing power's discard holds nothing until a card is removed.
    ASSERT_EQ(piles.size(), 13u);
    std::erase_if(piles, [](Kartenstapel* pile) { return pile->getName() == L"STAPEL_ABLAGE"; });
    std::vector<Karte*> deck;
    for (int i = 0; i < 104; ++i) deck.push_back(cardtest::managedCard(12 - i % 13, kColourPik, i % 3 == 0));
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
