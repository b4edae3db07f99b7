// Whole games: the tiny variant finished by the automatic moves (from the code and from the right
// button), a double click that moves a card, and random legal play from the hint list with undo
// and redo mixed in, every position keeping the table's invariants.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>

#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/game/cards/PlayTable.h"

namespace {

using Solitaire::GameEndParms;
using Solitaire::HintRecord;
using Solitaire::Karte;
using Solitaire::Kartenstapel;

struct EndCounter : sigslot::has_slots<> {
    int won = 0, lost = 0;
    void onEnd(bool const& w, GameEndParms const&) { (w ? won : lost) += 1; }
};

class PlayTest : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        manager().gameEnd.connect(&ends, &EndCounter::onEnd);
    }
    // Lets the cards arrive and a pending resolution run out.
    void settle() {
        for (int i = 0; i < 2; ++i) manager().update(1.0, 1.0, Orvex::MouseState());
    }
    // Where each card lies and how: pile, face, goal kind. Wildcards, jokers and extra cards are
    // left out: the resolution after a move sends them on (to their piles, off the table), and
    // an undo restores the step as it was recorded, before that.
    std::vector<std::tuple<Kartenstapel*, bool, int>> snapshot() {
        std::vector<std::tuple<Kartenstapel*, bool, int>> out;
        for (Karte const* card : manager().cards) {
            if (card->isWildcard || card->isJoker || card->suit == Karte::kSuitExtra) out.emplace_back(nullptr, false, 0);
            else out.emplace_back(card->pile, card->isFaceUp(), card->goalKind);
        }
        return out;
    }
    EndCounter ends;
};

TEST_F(PlayTest, TheTinyVariantIsWonByTheAutomaticMovesOnce) {
    for (std::wstring seed : {L"1", L"2", L"abc"}) {
        ends = EndCounter();
        start(L"data\\Level\\Herzreihe.sol", seed);
        frames(2);
        ASSERT_EQ(manager().getGameStatus(), 0);
        EXPECT_TRUE(manager().autoFinish(nullptr));
        frames(20);
        EXPECT_EQ(manager().getGameStatus(), 1);
        EXPECT_EQ(ends.won, 1);
        EXPECT_EQ(ends.lost, 0);
        EXPECT_EQ(manager().getGoalCardCount(), 13);
        manager().finishGame();
        EXPECT_EQ(ends.won + ends.lost, 1);
    }
}

TEST_F(PlayTest, TheRightButtonFinishesTheTableAndADoubleClickMovesACard) {
    start(L"data\\Level\\Herzreihe.sol", L"8");
    frames(2);
    // A double click on the ace: it goes to the goal pile.
    Karte* ace = pile(L"PLATZ13").collectFreeCards().at(0);
    press(at(ace));
    release(at(ace));
    manager().onDoubleClick(Orvex::MouseState(), 0, at(ace));
    release(at(ace));
    EXPECT_EQ(ace->pile, &pile(L"STAPEL_ZIEL"));
    // A card still gliding takes nothing: let the ace arrive.
    frames(120);
    // The right button on a pile moves what that pile can give, twice in time the whole table.
    press(at(pile(L"PLATZ12")), 1);
    EXPECT_EQ(pile(L"PLATZ12").getCardsWithLinked().size(), 0u);
    manager().onDoubleClick(Orvex::MouseState(), 1, at(pile(L"PLATZ1")));
    frames(30);
    EXPECT_EQ(manager().getGameStatus(), 1);
    EXPECT_EQ(ends.won, 1);
}

TEST_F(PlayTest, RandomLegalPlayWithUndoAndRedoKeepsTheTable) {
    // The full run is 100000 moves per variant (PLAY_MOVES=100000, a release build takes minutes);
    // the suite plays a few hundred.
    int const kMovesPerVariant = std::getenv("PLAY_MOVES") ? std::atoi(std::getenv("PLAY_MOVES")) : 200;
    constexpr int kMovesPerGame = 400;  // a new game then: the histories stay small
    for (std::wstring const& file : cardtest::shippedVariants()) {
        SCOPED_TRACE(cardtest::narrow(file));
        std::mt19937 random(20261207);
        int moves = 0, games = 0, undos = 0;
        while (moves < kMovesPerVariant) {
            start(file, std::to_wstring(++games));
            settle();
            std::vector<std::vector<std::tuple<Kartenstapel*, bool, int>>> states{snapshot()};
            int inGame = 0;
            bool stepped = true;  // the hint list is rebuilt by a move's resolution, not by undo
            while (inGame < kMovesPerGame && moves < kMovesPerVariant && manager().getGameStatus() == 0) {
                int const action = static_cast<int>(random() % 10);
                std::size_t const index = static_cast<std::size_t>(manager().getUndoIndex());
                if (action < 2 && index > 0) {
                    int const steps = -static_cast<int>(1 + random() % std::min<std::size_t>(index, 3));
                    ASSERT_EQ(manager().undoSteps(steps, true, false), steps);
                    ++undos;
                    stepped = true;
                } else if (action < 3 && index + 1 < states.size()) {
                    ASSERT_EQ(manager().undoSteps(1, true, false), 1);
                    stepped = true;
                } else {
                    if (stepped) manager().rebuildHints();
                    stepped = false;
                    if (manager().getHints().empty()) break;
                    HintRecord const hint = manager().getHints()[random() % manager().getHints().size()];
                    if (!playHint(hint)) {
                        stepped = true;
                        continue;
                    }
                    settle();
                    states.resize(static_cast<std::size_t>(manager().getUndoIndex()));
                    states.push_back(snapshot());
                    ++moves;
                    ++inGame;
                }
                ASSERT_NO_FATAL_FAILURE(expectInvariants());
                std::size_t const now = static_cast<std::size_t>(manager().getUndoIndex());
                ASSERT_LT(now, states.size());
                auto const here = snapshot();
                for (std::size_t c = 0; c < here.size() && c < states[now].size(); ++c)
                    ASSERT_TRUE(here[c] == states[now][c])
                        << "card " << c << " suit " << manager().cards[c]->suit << " wild " << manager().cards[c]->isWildcard
                        << " joker " << manager().cards[c]->isJoker << " pile "
                        << (std::get<0>(here[c]) ? cardtest::narrow(std::get<0>(here[c])->getName()) : "-") << " was "
                        << (std::get<0>(states[now][c]) ? cardtest::narrow(std::get<0>(states[now][c])->getName()) : "-")
                        << " face " << std::get<1>(here[c]) << std::get<1>(states[now][c]) << " goal "
                        << std::get<2>(here[c]) << std::get<2>(states[now][c]) << " at position " << now;
                ASSERT_EQ(here.size(), states[now].size());
            }
        }
        EXPECT_GT(undos, 0);
    }
}

}  // namespace

namespace {

// Golf: the waste is the goal pile, and the stock deals onto it. Points and the multiplier come
// from the cards played there from the table, not from turning the stock.
TEST_F(PlayTest, TurningTheStockOntoAGoalWasteScoresNothingAndAPlayedCardScores) {
    start(L"data\\Level\\Golfplatz.sol", L"7");
    settle();
    Kartenstapel* stock = manager().findPile(L"STAPEL_VORRAT");
    Kartenstapel* waste = manager().findPile(L"STAPEL_MUELL");
    ASSERT_TRUE(stock && waste);
    float const score = manager().getScorePlus();
    float const toGoal = counted(L"KARTEN_MOVE_TO_ZIEL");
    auto wasteSize = [waste] {
        std::vector<Karte*> held;
        waste->getCards(held, true, true);
        return held.size();
    };
    for (std::size_t deal = 1; deal <= 4; ++deal) {
        std::vector<Karte*> held;
        stock->getCards(held, true, true);
        ASSERT_FALSE(held.empty());
        D3DXVECTOR2 const top = at(held.back());
        press(top);
        release(top);
        settle();
        ASSERT_EQ(wasteSize(), deal);
        EXPECT_EQ(manager().getScorePlus(), score) << "deal " << deal;
        EXPECT_EQ(style().getMultiplierCount(), 0u) << "deal " << deal;
        EXPECT_FLOAT_EQ(style().getMultiplierFactor(), 1.0f) << "deal " << deal;
        EXPECT_EQ(counted(L"KARTEN_MOVE_TO_ZIEL"), toGoal) << "deal " << deal;
    }
    // A card of the table played onto the waste scores at the factor before its step.
    HintRecord const* play = nullptr;
    for (int more = 0; more < 13 && !play; ++more) {
        for (HintRecord const& hint : manager().getHints())
            if (hint.isMove && hint.targetPile == waste) play = &hint;
        if (play) break;
        std::vector<Karte*> held;
        stock->getCards(held, true, true);
        ASSERT_FALSE(held.empty()) << "no card of the table fits the waste";
        press(at(held.back()));
        release(at(held.back()));
        settle();
    }
    ASSERT_TRUE(play);
    EXPECT_EQ(manager().getScorePlus(), score);
    drag(at(play->card), at(*waste));
    settle();
    EXPECT_FLOAT_EQ(manager().getScorePlus(), score + 100.0f);
    EXPECT_EQ(style().getMultiplierCount(), 1u);
    EXPECT_EQ(counted(L"KARTEN_MOVE_TO_ZIEL"), toGoal + 1.0f);
}

}  // namespace
