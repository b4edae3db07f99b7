// The running game saved and resumed: a game under way comes back card for card in another deal
// of the same variant, every history holds the loaded table as its one step, a save of a resumed
// game is the save it came from, and a decided game is not saved.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/game/cards/ProfileFiles.h"
#include "tests/game/cards/RunningGameTable.h"
#include "tests/engine/core/LogWatch.h"

namespace cardtest {
namespace {

using Solitaire::Anordnung;
using Solitaire::Kartenstapel;

// The profile's shape around a quick save, with the game's statistics after the table.
Orvex::XMLNode profileWithQuickSave(Orvex::XMLNode const& quickSave) {
    Orvex::XMLNode root(L"PROFILE");
    Orvex::XMLNode* variant = root.addChild(L"PROFIL")->addChild(L"PROFILE_DATA")->addChild(L"VARIANT_DATA");
    variant->setAttribute(L"GAME", L"GOLFPLATZ");
    Orvex::XMLNode* slot = variant->addChild(new Orvex::XMLNode(quickSave));
    Orvex::XMLNode* stats = slot->addChild(L"STATISTIK");
    stats->setAttribute(L"NAME", L"GOLFPLATZ");
    stats->addChild(L"KARTE")->setAttribute(L"ID", L"0");
    return root;
}

Orvex::XMLNode const& quickSaveOf(Orvex::XMLNode& profile) {
    return *profile.getChild(L"PROFIL")->getChild(L"PROFILE_DATA")->getChild(L"VARIANT_DATA")->getChild(L"QUICK_SAVE");
}

class RunningGame : public RunningGameTable {};

TEST_F(RunningGame, ResumesTheSameTableInAnotherDealThroughTheProfileFile) {
    playSomeMoves();
    std::vector<CardPlace> const played = snapshotTable();
    Orvex::XMLNode const node = saved();
    EXPECT_EQ(node.getChildCount(L"KARTE"), static_cast<Orvex::u32>(kRunningDeck));
    EXPECT_EQ(node.getChildCount(L"STAPEL"), static_cast<Orvex::u32>(manager().piles.size()));

    Orvex::XMLNode loaded;
    ASSERT_TRUE(cardstest::saveAndLoad(profileWithQuickSave(node), "running_game_profile", loaded));

    freshOtherTable();
    ASSERT_NE(snapshotTable(), played);
    logtest::LogWatch log;
    manager().loadRunningGame(quickSaveOf(loaded), L"profile.prf");
    EXPECT_TRUE(log.errors().empty()) << "the statistics after the table are not the loader's";

    EXPECT_EQ(snapshotTable(), played);
    EXPECT_EQ(manager().getScorePlus(), 750.5f);
    EXPECT_EQ(manager().getScoreMinus(), -42.25f);
    EXPECT_EQ(manager().getTime(), 123.5f);
    EXPECT_EQ(manager().getGameStatus(), 0);
    EXPECT_EQ(manager().getGameName(), L"GOLFPLATZ 4711");
    for (Solitaire::Karte const* card : manager().cards)
        if (card->pile) {
            EXPECT_EQ(card->tag, card->pile->getName());
        }
}

// Score parts, time and the points balance come back through the profile file exactly, where
// six significant digits would give 1,234,570 points and 4321.99 s. The balance is the player's:
// the new game's (0 in free play) does not replace it.
TEST_F(RunningGame, ScoreTimeAndBalanceResumeExactly) {
    struct Case {
        float plus, minus, time, balance;
    } const cases[] = {
        {1234567.0f, -42.25f, 4321.987f, 442.0f},
        {16777215.0f, -0.1f, 0.1f, 95.5f},
        {0.0f, -9876543.0f, 86399.999f, 0.0f},
        {3.0e38f, -1.0e-7f, 1.0e-30f, 3.0e38f},
        // The one float whose shortest text reads back as its neighbour through a double.
        {1.0f, -7.038531e-26f, 7.038531e-26f, 7.038531e-26f},
    };
    for (Case const& c : cases) {
        playSomeMoves();
        manager().setScore(c.plus, c.minus);
        manager().setTime(c.time);
        manager().setPointsBalance(c.balance, true);
        Orvex::XMLNode loaded;
        ASSERT_TRUE(cardstest::saveAndLoad(profileWithQuickSave(saved()), "running_game_digits", loaded));
        freshOtherTable();
        manager().setPointsBalance(0.0f, true);
        ASSERT_TRUE(manager().loadRunningGame(quickSaveOf(loaded), L"profile.prf"));
        EXPECT_EQ(manager().getScorePlus(), c.plus);
        EXPECT_EQ(manager().getScoreMinus(), c.minus);
        EXPECT_EQ(manager().getTime(), c.time);
        EXPECT_EQ(manager().getPointsBalance(), c.balance);
        EXPECT_EQ(manager().getPlayState().counts.pointsBalance, c.balance) << "the loaded table's undo step holds it";
    }
}

TEST_F(RunningGame, EveryHistoryHoldsTheLoadedTableAsItsOneStep) {
    playSomeMoves();
    Orvex::XMLNode const node = saved();
    freshOtherTable();
    manager().loadRunningGame(node);
    // The load leaves the move resolution pending for the next update (the test's table has a
    // lock its key opens); without a camera there is none, and an undo gives the recorded table
    // back as it stands.
    EXPECT_TRUE(manager().getPlayState().resolutionPending);
    std::vector<CardPlace> const loaded = snapshotTable();

    EXPECT_EQ(manager().getUndoCount(), 1u);
    for (Solitaire::Karte const* card : manager().cards) EXPECT_EQ(card->getUndoCount(), 1u);
    for (Kartenstapel const* pile : manager().piles) {
        EXPECT_EQ(pile->getUndoCount(), 1u);
        for (Anordnung const* arrangement : pile->getArrangements()) EXPECT_EQ(arrangement->getUndoCount(), 1u);
    }

    // Free undos: the loaded table has no points balance to pay the style's undo penalty with.
    manager().undoSteps(-1, true, false);
    EXPECT_EQ(snapshotTable(), loaded) << "an undo right after the load changes nothing";

    move(L"TABLEAU2", L"STAPEL_MUELL");
    ASSERT_NE(snapshotTable(), loaded);
    manager().undoSteps(-1, true, false);
    EXPECT_EQ(snapshotTable(), loaded) << "a move and its undo return to the loaded table";
}

TEST_F(RunningGame, SaveLoadAndSaveAgainGiveTheSameNode) {
    playSomeMoves();
    Orvex::XMLNode const first = saved();
    freshOtherTable();
    manager().loadRunningGame(first);
    Orvex::XMLNode const second = saved();
    EXPECT_TRUE(first.equals(second)) << first.toText() << "\n----\n" << second.toText();
}

TEST_F(RunningGame, ADecidedGameWritesNothing) {
    for (Solitaire::GameStatus status : {Solitaire::kGameWon, Solitaire::kGameLost}) {
        playSomeMoves();
        manager().setGameStatus(status);
        EXPECT_TRUE(saved().isEmpty()) << "status " << int(status);
    }
}

// The examples a save's reader must honour, each applied to a fresh deal.
struct ReadCase {
    char const* what;
    wchar_t const* text;
    float plus, minus;
};

TEST_F(RunningGame, ScoreAloneSetsThePlusPartAndZeroesTheMinusPart) {
    // A save without "BALANCE" (written before it was kept) resumes with the new game's balance.
    ReadCase const cases[] = {
        {"score alone", L"<Q SCORE=\"500\"/>", 500.0f, 0.0f},
        {"score and plus part", L"<Q SCORE=\"500\" SCORE_PLUS=\"300\"/>", 300.0f, 0.0f},
        {"both parts", L"<Q SCORE_PLUS=\"20\" SCORE_MINUS=\"-5.5\"/>", 20.0f, -5.5f},
        {"nothing", L"<Q/>", 1000.0f, -7.0f},
    };
    for (ReadCase const& c : cases) {
        deal(0);
        manager().setScore(1000.0f, -7.0f);
        manager().setPointsBalance(60.0f, true);
        Orvex::XMLNode node;
        ASSERT_TRUE(node.parse(c.text)) << c.what;
        manager().loadRunningGame(node);
        EXPECT_EQ(manager().getScorePlus(), c.plus) << c.what;
        EXPECT_EQ(manager().getScoreMinus(), c.minus) << c.what;
        EXPECT_EQ(manager().getPointsBalance(), 60.0f) << c.what;
    }
}

TEST_F(RunningGame, ArrangementListsAndShortLocksReadAsWritten) {
    deal(0);
    Orvex::XMLNode node;
    ASSERT_TRUE(node.parse(L"<Q><KARTE ID=\"12\" LOCK=\"1\" KEY=\"0 2\"/>"
                           L"<STAPEL ID=\"2\"><ANNORDNUNG NAME=\"FAECHER\">\"|12|\" \"|7|\"</ANNORDNUNG></STAPEL></Q>"));
    Kartenstapel* target = manager().piles[2];
    manager().loadRunningGame(node);
    ASSERT_FALSE(target->getArrangements().empty());
    Anordnung const& fan = *target->getArrangements().front();
    // The cards it held and no list took follow the listed ones.
    ASSERT_GE(fan.cards.size(), 2u);
    EXPECT_EQ(fan.cards[0], manager().cards[12]);
    EXPECT_EQ(fan.cards[1], manager().cards[7]);
    EXPECT_EQ(manager().cards[12]->locks.goal, D3DXVECTOR4(1.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(manager().cards[12]->keys.goal, D3DXVECTOR4(0.0f, 2.0f, 0.0f, 0.0f));
    EXPECT_EQ(manager().cards[7]->pile, target);
    snapshotTable();  // every card still lies in exactly one arrangement
}

TEST_F(RunningGame, WildcardAndJokerFlagsFollowTheSaveAndOlderSavesKeepTheDeals) {
    deal(0);
    manager().cards[4]->isWildcard = true;
    manager().cards[6]->isJoker = true;
    Orvex::XMLNode flagged;
    ASSERT_TRUE(flagged.parse(L"<Q><KARTE ID=\"10\" WILDCARD=\"1\"/><KARTE ID=\"11\" JOKER=\"1\"/></Q>"));
    manager().loadRunningGame(flagged);
    for (int i = 0; i < kRunningDeck; ++i) {
        EXPECT_EQ(manager().cards[i]->isWildcard, i == 10) << i;
        EXPECT_EQ(manager().cards[i]->isJoker, i == 11) << i;
    }

    deal(0);
    manager().cards[4]->isWildcard = true;
    manager().cards[6]->isJoker = true;
    Orvex::XMLNode older;
    ASSERT_TRUE(older.parse(L"<Q><KARTE ID=\"10\" VISIBLE=\"1\"/></Q>"));
    manager().loadRunningGame(older);
    EXPECT_TRUE(manager().cards[4]->isWildcard);
    EXPECT_TRUE(manager().cards[6]->isJoker);
    EXPECT_FALSE(manager().cards[10]->isWildcard);
}

}  // namespace
}  // namespace cardtest
