// A scripted game of the tiny variant counts its clicks, hints, moves, undos and play time in
// every active statistics set (the profile's, "STATS" and the variant's) and its goal arrivals
// in the achievements.
#include <gtest/gtest.h>

#include <array>

#include "game/cards/AchivementManager.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikManager.h"
#include "tests/game/cards/PlayTable.h"

namespace {

using Solitaire::StatistikCounter;
using Solitaire::StatistikManager;

class PlayStatistics : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        StatistikManager::instance().resetProfileStatistik();
        // Earlier games in this process counted into the same achievements.
        Solitaire::AchivementManager::instance().resetAll();
        StatistikManager::instance().create(L"STATS");
        StatistikManager::instance().create(L"VAR_STATS");
    }
    void TearDown() override {
        StatistikManager::instance().remove(L"STATS");
        StatistikManager::instance().remove(L"VAR_STATS");
        PlayTable::TearDown();
    }
    static std::array<Solitaire::Statistik*, 3> sets() {
        StatistikManager& registry = StatistikManager::instance();
        return {registry.getProfileStatistik(), registry.find(L"STATS"), registry.find(L"VAR_STATS")};
    }
};

TEST_F(PlayStatistics, EverySetCountsTheScriptedGame) {
    start(L"data\\Level\\Herzreihe.sol", L"1");
    frames(2);
    ASSERT_EQ(manager().getGameStatus(), 0);
    struct Before {
        Orvex::u32 clicks, hints, moved, undos;
        double time;
    };
    std::array<Before, 3> before{};
    for (std::size_t i = 0; i < 3; ++i) {
        Solitaire::Statistik const* set = sets()[i];
        ASSERT_NE(set, nullptr);
        before[i] = {set->get(StatistikCounter::Clicks), set->get(StatistikCounter::Hints),
                     set->get(StatistikCounter::Moved), set->get(StatistikCounter::Undos), set->getTime()};
    }

    // One click on a card that stays where it is, one hint, one card finished and its move
    // undone, then the whole table finished (13 cards), 36 frames of play time between.
    Solitaire::Karte* card = nullptr;
    for (Solitaire::Karte* c : manager().cards)
        if (c->pile && c->isFaceUp() && c->backLinks.empty()) card = c;
    ASSERT_NE(card, nullptr);
    press(at(card));
    release(at(card));
    tick += 2000;  // no double click with what follows
    EXPECT_TRUE(manager().showHint(false, false, false));
    frames(6);
    bool finishedOne = false;
    for (Solitaire::Kartenstapel* pile : manager().piles)
        if ((finishedOne = manager().autoFinish(pile))) break;
    ASSERT_TRUE(finishedOne);
    ASSERT_EQ(manager().getGameStatus(), 0);
    ASSERT_NE(manager().undoSteps(-1, true, true), 0);
    frames(30);  // the card glides back before it can be picked again
    ASSERT_TRUE(manager().autoFinish(nullptr));
    EXPECT_EQ(manager().getGameStatus(), 1);
    // Automatic moves are no drags of the player's; every arrival on the goal pile counts, the
    // card whose move was undone twice.
    EXPECT_EQ(counted(L"KARTEN_MOVED"), 0.0f);
    EXPECT_EQ(counted(L"KARTEN_MOVE_TO_ZIEL"), 14.0f);
    EXPECT_EQ(counted(L"KARTEN_ABGEBAUT"), 14.0f);
    double const playTime = 36.0 / 60.0;  // every frame run while the game was open

    for (std::size_t i = 0; i < 3; ++i) {
        Solitaire::Statistik const* set = sets()[i];
        SCOPED_TRACE(set->getName());
        EXPECT_EQ(set->get(StatistikCounter::Clicks) - before[i].clicks, 1u);
        EXPECT_EQ(set->get(StatistikCounter::Hints) - before[i].hints, 1u);
        EXPECT_EQ(set->get(StatistikCounter::Moved) - before[i].moved, 14u);
        EXPECT_EQ(set->get(StatistikCounter::Undos) - before[i].undos, 1u);
        EXPECT_NEAR(set->getTime() - before[i].time, playTime, 1e-9);
    }
}

}  // namespace
