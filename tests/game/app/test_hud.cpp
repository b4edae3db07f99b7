// The in-game HUD on the game's own data over a dealt table: the labels (score, balance,
// multiplier, time), the level-goals panel with its stars and ticks, the end-game button of a
// campaign level, the card tooltip, the combo achievements, the extra cards a level counts, the
// tip button, the panels and their hover zones, the looks the running game sets, the medal star,
// and a press on a HUD button, which stays with the GUI. The first-time tutorials' choice of lock
// kind is tested as the pure step it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/CampaignRecords.h"
#include "game/app/FormatNumber.h"
#include "game/app/KindTutorials.h"
#include "game/app/LevelGoal.h"
#include "game/app/LevelGoal_Extracards.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Statistik.h"
#include "game/look/GameStyle.h"
#include "game/particles/SolPartikelManager.h"
#include "port/crt/crt.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/HudFixture.h"

namespace {

using apptest::HudFixture;
using Solitaire::Kartenmanager;

std::string utf8(std::wstring const& text) { return port::toUtf8(text); }

// ---- the lock kinds' tutorials: the first kind present whose tutorial is shown ----

TEST(KindTutorialsTest, TheFirstKindPresentThatIsShownWins) {
    struct Case {
        char const* what;
        D3DXVECTOR4 counts;
        std::vector<std::wstring> seen;
        int shown;
        std::vector<std::wstring> asked;
    };
    Case const cases[] = {
        {"none seen", {0, 3, 5, 0}, {}, 1, {L"LOCKED_CARDS_FOUND_1"}},
        {"the first seen", {0, 3, 5, 0}, {L"LOCKED_CARDS_FOUND_1"}, 2, {L"LOCKED_CARDS_FOUND_1", L"LOCKED_CARDS_FOUND_2"}},
        {"both seen", {0, 3, 5, 0}, {L"LOCKED_CARDS_FOUND_1", L"LOCKED_CARDS_FOUND_2"}, -1,
         {L"LOCKED_CARDS_FOUND_1", L"LOCKED_CARDS_FOUND_2"}},
        {"no locks", {0, 0, 0, 0}, {}, -1, {}},
        {"the last kind", {0, 0, 0, 1}, {}, 3, {L"LOCKED_CARDS_FOUND_3"}},
        {"a negative count is a count", {-1, 0, 0, 0}, {}, 0, {L"LOCKED_CARDS_FOUND_0"}},
    };
    for (Case const& c : cases) {
        std::vector<std::wstring> asked;
        int const shown = Solitaire::showFirstKindTutorial(c.counts, L"LOCKED_CARDS_FOUND_", [&](std::wstring const& name) {
            asked.push_back(name);
            return std::find(c.seen.begin(), c.seen.end(), name) == c.seen.end();
        });
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_EQ(asked, c.asked) << c.what;
    }
}

class HudTest : public HudFixture {
protected:
    // The score the goals and labels see, without moves.
    static void setScore(float score) { cards().setScore(score, 0.0f); }
    // Whether the game-end signal went out, as the end button reads it.
    static void setGameEndSent(bool sent) {
        Solitaire::PlayState state = cards().getPlayState();
        state.gameEndSent = sent;
        cards().setPlayState(state);
    }
    static Solitaire::Statistik& statistik() { return *catalogue().getGameStatistik(); }
    static float achievement(wchar_t const* name) { return Solitaire::AchivementManager::instance().find(name)->getValue(); }
};

// ---- labels ----

TEST_F(HudTest, LabelsShowScoreBalanceMultiplierAndTimeOfTheRunningGame) {
    startLevel(1, 0, 1234567.0f);
    settle(60);
    EXPECT_EQ(textOf(L"I_Points"), L"Punkte: " + Solitaire::formatNumber(Solitaire::wholeNumber(cards().getLevelScore())))
        << "whole and in groups of three, as the results write it";
    EXPECT_EQ(textOf(L"I_Points2"), L"Guthaben: 1.234.567") << "the balance in groups of three";
    EXPECT_EQ(textOf(L"I_Multiplier"), L"x 1,0") << "German writes a decimal comma";
    EXPECT_EQ(textOf(L"I_Time"), msvc::format(L"Zeit: %.0f s", statistik().getTime()));

    // Two seconds of play later, and a multiplier raised twice.
    double const before = statistik().getTime();
    cards().getGameStyle()->addMultiplier(false);
    cards().getGameStyle()->addMultiplier(false);
    for (int i = 0; i < 120; ++i) step(1.0 / 60);
    EXPECT_NEAR(statistik().getTime() - before, 2.0, 0.05);
    EXPECT_EQ(textOf(L"I_Time"), msvc::format(L"Zeit: %.0f s", statistik().getTime()));
    EXPECT_EQ(textOf(L"I_Multiplier"),
              msvc::formatArgs(L"x %.1f", std::vector<msvc::FormatArg>{cards().getGameStyle()->getMultiplierFactor()}.data(),
                               1, L','));
    EXPECT_NE(textOf(L"I_Multiplier"), L"x 1,0");

    // The score's and the multiplier's labels are where the card manager's effects fly.
    Orvex::FRect const r = find(L"I_Points")->getScreenRect();
    D3DXVECTOR2 const centre = game->getHud().getPointsLabelCentre();
    EXPECT_FLOAT_EQ(centre.x, (r.left + r.right) / 2);
    EXPECT_FLOAT_EQ(centre.y, (r.top + r.bottom) / 2);
    EXPECT_GT(game->getHud().getMultiplierLabelCentre().x, centre.x);
}

// A label's text is data: a format asking for other kinds, or for more arguments than the label
// is given, prints those conversions empty (the label's own id gives its format).
TEST_F(HudTest, ALabelTextAskingForOtherArgumentsPrintsThemEmpty) {
    startLevel(1, 0, 500.0f);
    struct Case {
        wchar_t const* label;
        wchar_t const* textId;
        wchar_t const* start;
        wchar_t const* whole;  // null: only the start is known
    };
    Case const cases[] = {
        {L"I_Points", L"INGAME_ZEIT", L"Zeit: ", L"Zeit:  s"},                   // "%.0f" given a text
        {L"I_Points2", L"INGAME_MULTIPLIKATOR", L"x ", L"x "},                   // "%.1f" given a text
        {L"I_Time", L"INGAME_STATISTIKEN", L"Mausweg: ", nullptr},               // eight asked, one given
        {L"I_Multiplier", L"INGAME_LEVELNAME_FG", L": ", L": "},                 // two "%s", one double
    };
    for (Case const& c : cases) label(c.label)->setTextId(c.textId);
    game->getHud().refreshLabels();
    for (Case const& c : cases) {
        std::wstring const text = textOf(c.label);
        EXPECT_EQ(text.rfind(c.start, 0), 0u) << utf8(c.label) << ": " << utf8(text);
        if (c.whole) EXPECT_EQ(text, c.whole) << utf8(c.label);
    }
}

TEST_F(HudTest, TheVariantLabelNamesTheChapterOfACampaignLevelOnly) {
    struct Case {
        bool campaign;
        int chapter;
        wchar_t const* shown;
    };
    // The chapter's number and name as the chapter screen shows them; no chapter 22, no name.
    Case const cases[] = {{true, 1, L"Kapitel 2: Die lange Reise"}, {true, 0, L"Kapitel 1: Der Anfang"},
                          {true, 20, L"Kapitel 21: Das Ziel"}, {false, 1, L""}, {true, 21, L""}};
    startLevel(1, 0);
    for (Case const& c : cases) {
        game->getRunning().setLevel(c.campaign, c.chapter, 0);
        game->getHud().refreshLabels();
        EXPECT_EQ(textOf(L"I_VariantLabel_Label"), c.shown) << c.campaign << " " << c.chapter;
    }
}

// The table's title names the chapter and the level's game, as the level screen does; a free game
// its game and variant. The HUD learns from the game start what runs: the variant label names the
// level's chapter, and nothing in a free game.
TEST_F(HudTest, TheTitleNamesChapterAndGameOfALevelAndGameAndVariantOfAFreeGame) {
    struct Case {
        int chapter, level;
        wchar_t const* shown;
        wchar_t const* variantLabel;
    };
    Case const cases[] = {{0, 0, L"Der Anfang - Golfplatz", L"Kapitel 1: Der Anfang"},
                          {0, 2, L"Der Anfang - Herzreihe", L"Kapitel 1: Der Anfang"},
                          {1, 0, L"Die lange Reise - Zellen", L"Kapitel 2: Die lange Reise"},
                          {-1, -1, L"Herzreihe: Der Bogen", L""},
                          {1, 0, L"Die lange Reise - Zellen", L"Kapitel 2: Die lange Reise"}};
    for (Case const& c : cases) {
        if (c.chapter < 0) {
            ASSERT_TRUE(catalogue().setCurrentByNames(L"KNOBELEIEN", L"HERZREIHE", L"HERZREIHE"));
            ASSERT_EQ(game->startGame({.seedText = kSeed, .withTutorial = false}), Solitaire::RunningGame::kGameStarted);
        } else {
            ASSERT_EQ(game->startCampaignLevel(c.chapter, c.level, false), Solitaire::RunningGame::kGameStarted);
        }
        EXPECT_EQ(textOf(L"I_LevelName"), c.shown) << c.chapter << " " << c.level;
        EXPECT_EQ(textOf(L"I_VariantLabel_Label"), c.variantLabel) << c.chapter << " " << c.level;
        catalogue().finishStatistics(false);
    }
}

// ---- goals ----

TEST_F(HudTest, GoalSlotsShowEachGoalReachedOrNotAndTheFillerWithoutATick) {
    // Chapter 2, level 1: 1,450 points, won in at most 875 s, and the filler "NOTHING".
    startLevel(1, 0);
    Solitaire::SolVariant const* variant = catalogue().getCurrentVariant();
    ASSERT_EQ(variant->getGoals().size(), 3u);
    ASSERT_TRUE(variant->getGoals()[2]->isNothing());
    struct Case {
        char const* what;
        float score;
        double extraTime;
        bool won;
        wchar_t const* stars[3];
        wchar_t const* ticks[3];
        wchar_t const* endGame;
    };
    Case const cases[] = {
        {"as dealt", 1000.0f, 0.0, false, {L"OFF", L"OFF", L"OFF"}, {L"OFF", L"OFF", L"INVISIBLE"}, L"AUS"},
        {"points reached", 3000.0f, 0.0, false, {L"ON", L"OFF", L"OFF"}, {L"ON", L"OFF", L"INVISIBLE"}, L"AN"},
        {"every goal reached", 3000.0f, 0.0, true, {L"ON", L"ON", L"ON"}, {L"ON", L"ON", L"INVISIBLE"}, L"AN"},
        {"the time past", 3000.0f, 900.0, true, {L"ON", L"OFF", L"OFF"}, {L"ON", L"OFF", L"INVISIBLE"}, L"AN"},
        // The points drain below the goal: its star and tick go, the button stays under the pointer.
        {"the points drained", 1000.0f, 0.0, true, {L"OFF", L"OFF", L"OFF"}, {L"OFF", L"OFF", L"INVISIBLE"}, L"AN"},
    };
    find(L"I_END_GAME")->jumpToGoal(L"AUS");
    for (Case const& c : cases) {
        setScore(c.score);
        statistik().addTime(c.extraTime);
        // A won table: every tableau pile counted empty.
        if (c.won) {
            Solitaire::PlayState won = cards().getPlayState();
            won.counts.emptyTableauPileCount = won.counts.tableauPileCount;
            cards().setPlayState(won);
        }
        step(1.0 / 30);
        for (int n = 0; n < 3; ++n) {
            std::wstring const slot = L"I_Goal" + std::to_wstring(n + 1);
            EXPECT_EQ(goalOf(slot + L"_Star"), c.stars[n]) << c.what << " " << n;
            EXPECT_EQ(goalOf(slot + L"_Haken"), c.ticks[n]) << c.what << " " << n;
        }
        EXPECT_EQ(goalOf(L"I_END_GAME"), c.endGame) << c.what;
    }
    // Real goals name themselves and write their progress; the filler shows no text.
    Solitaire::GameEndParms record = cards().makeGameEndParms(false);
    record.time = static_cast<float>(statistik().getTime());
    std::wstring progress;
    EXPECT_EQ(label(L"I_Goal1_Label")->getTextId(), L"INGAME_LEVEL_GOAL_POINTS");
    EXPECT_TRUE(label(L"I_Goal1_Label")->isTextIdMode());
    EXPECT_EQ(textOf(L"I_Goal1_Counter"), variant->getGoals()[0]->formatProgress(progress, record));
    EXPECT_EQ(textOf(L"I_Goal2_Counter"), variant->getGoals()[1]->formatProgress(progress, record));
    EXPECT_EQ(textOf(L"I_Goal3_Label"), L"");
    EXPECT_EQ(textOf(L"I_Goal3_Counter"), L"");
}

// Stars come from play: on every shipped campaign level, dealt and settled, no goal holds and the
// goals panel shows no star; a goal for extra cards stands only where the deal brings some.
TEST_F(HudTest, EveryShippedLevelAsDealtHoldsNoGoal) {
    Solitaire::SolCategorie const* campaign = catalogue().findCategory(L"KAMPAGNE");
    ASSERT_TRUE(campaign);
    int levels = 0;
    // The first three chapters here (every level of every chapter is dealt without the HUD by the
    // story tests' reach test).
    for (std::size_t chapter = 0; chapter < 3; ++chapter) {
        Solitaire::SolSolitaire const* chapterGame = campaign->getGames()[chapter];
        for (std::size_t level = 0; level < chapterGame->getVariants().size(); ++level) {
            SCOPED_TRACE(utf8(chapterGame->getName() + L" " + chapterGame->getVariants()[level]->getName()));
            // As the level screen starts a level.
            ASSERT_EQ(game->startCampaignLevel(static_cast<int>(chapter), static_cast<int>(level), false),
                      Solitaire::RunningGame::kGameStarted);
            settle(120);
            ASSERT_FALSE(game->getRunning().gameOver);
            Solitaire::SolVariant const* variant = catalogue().getCurrentVariant();
            ASSERT_EQ(variant, chapterGame->getVariants()[level]);
            ASSERT_TRUE(catalogue().getGameStatistik());
            Solitaire::GameEndParms record = cards().makeGameEndParms(false);
            record.time = static_cast<float>(statistik().getTime());
            bool reached[3] = {true, true, true};
            variant->getReachedGoals(record, reached[0], reached[1], reached[2]);
            for (int n = 0; n < 3; ++n) {
                EXPECT_FALSE(reached[n]) << "goal " << n + 1 << ": " << utf8(variant->getGoals()[n]->getTextId());
                EXPECT_EQ(goalOf(L"I_Goal" + std::to_wstring(n + 1) + L"_Star"), L"OFF") << n + 1;
            }
            EXPECT_EQ(variant->getStarRating(record), 1);
            // An extra-cards goal asks for cards the deal brings.
            bool const wantsExtra = std::any_of(variant->getGoals().begin(), variant->getGoals().end(), [](auto const& goal) {
                return dynamic_cast<Solitaire::LevelGoal_Extracards const*>(goal.get()) != nullptr;
            });
            bool const dealsExtra = std::any_of(cards().cards.begin(), cards().cards.end(), [](Solitaire::Karte const* card) {
                return card->suit == Solitaire::Karte::kSuitExtra;
            });
            if (wantsExtra) EXPECT_TRUE(dealsExtra) << "an extra-cards goal on a table without extra cards";
            ++levels;
        }
    }
    EXPECT_EQ(levels, 3 + 13 + 4);
}

TEST_F(HudTest, AFreeGameMeetingEveryGoalShowsNoEndGameButton) {
    startFree(L"KLASSIKER", L"ZELLEN", L"ZELLEN");
    settle(10);
    // A free game's variant has three fillers, all reached at once.
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(goalOf(L"I_Goal" + std::to_wstring(n) + L"_Star"), L"ON");
        EXPECT_EQ(goalOf(L"I_Goal" + std::to_wstring(n) + L"_Haken"), L"INVISIBLE");
    }
    EXPECT_EQ(goalOf(L"I_END_GAME"), L"AUS");
}

// ---- end-game button ----

// The button comes with the level's first star (the goals above) or while its watched pile is
// empty; a variant without a watched pile does not bring it from the start.
TEST_F(HudTest, TheEndGameButtonFollowsTheWatchedPileInACampaignLevelOnly) {
    startLevel(1, 0);
    setScore(0.0f);  // the goals do not bring it in meanwhile
    // The variant watches no pile: the deal has not brought the button in.
    EXPECT_EQ(goalOf(L"I_END_GAME"), L"AUS");
    Solitaire::Kartenstapel& pile = *cards().piles.front();
    struct Case {
        char const* what;
        bool campaign;
        bool endShown;
        void (*event)(Kartenmanager&, Solitaire::Kartenstapel&);
        wchar_t const* goal;
    };
    auto emptied = [](Kartenmanager& m, Solitaire::Kartenstapel& p) { m.specialPileEmpty.emit(p); };
    auto refilled = [](Kartenmanager& m, Solitaire::Kartenstapel& p) { m.specialPileRefilled.emit(p); };
    auto none = [](Kartenmanager& m, Solitaire::Kartenstapel&) { m.specialPileMissing.emit(); };
    Case const cases[] = {
        {"free play, emptied", false, false, emptied, L"AUS"},
        {"free play, no pile", false, false, none, L"AUS"},
        {"campaign, emptied", true, false, emptied, L"AN"},
        {"campaign, refilled", true, false, refilled, L"AUS"},
        {"campaign, no pile", true, false, none, L"AUS"},
        {"campaign, emptied again", true, false, emptied, L"AN"},
        {"free play, refilled: left as it is", false, false, refilled, L"AN"},
        {"campaign, refilled again", true, false, refilled, L"AUS"},
        {"campaign, the end already shown", true, true, emptied, L"AUS"},
    };
    for (Case const& c : cases) {
        game->getRunning().setLevel(c.campaign, 1, 0);
        setGameEndSent(c.endShown);
        c.event(cards(), pile);
        settle(30);  // the button's glide ends
        EXPECT_EQ(goalOf(L"I_END_GAME"), c.goal) << c.what;
        EXPECT_EQ(find(L"I_END_GAME")->getCurrentState().name, c.goal) << c.what;
    }
    setGameEndSent(false);
}

// ---- card tooltip ----

TEST_F(HudTest, TheCardTooltipFollowsThePointerInFreePlayOnly) {
    startFree(L"KLASSIKER", L"ZELLEN", L"ZELLEN");
    Orvex::GUIWindow* hotSpot = find(L"TMPWINDOW");
    Orvex::GUITooltipParam* param = hotSpot->findTooltipParam(L"KARTEN_TOOLTIP");
    ASSERT_NE(param, nullptr);
    struct Case {
        char const* what;
        bool campaign;
        wchar_t const* text;
        bool show;
        bool shown;
    };
    Case const cases[] = {
        {"a card's text", false, L"Herz 7", true, true},
        {"hidden by the card manager", false, L"Herz 7", false, false},
        {"an empty text", false, L"", true, false},
        {"a campaign level", true, L"Herz 7", true, false},
    };
    for (Case const& c : cases) {
        game->getRunning().setLevel(c.campaign, c.campaign ? 1 : -1, 0);
        pointerAt(300, 200);
        cards().tooltipChanged.emit(c.text, c.show);
        step(1.0 / 60);
        Orvex::FRect const r = hotSpot->getScreenRect();
        if (c.shown) {
            // Centred under the pointer as the input system last saw it.
            float const x = Orvex::DirectInputInterface::getInstance().mouseX;
            EXPECT_FLOAT_EQ(r.left, x - 4.0f) << c.what;
            EXPECT_GT(r.left, 0.0f) << c.what;
            EXPECT_FLOAT_EQ(r.right - r.left, 8.0f) << c.what;
        } else {
            EXPECT_LT(r.right, 0.0f) << c.what << ": off screen";
        }
        std::wstring text;
        param->getText(text);
        EXPECT_EQ(text, c.text) << c.what << ": the tooltip asks for the stored text";
    }
}

// ---- combos and found cards ----

TEST_F(HudTest, CombosRaiseTheBestComboAndCountOnceAtTwo) {
    startLevel(1, 0);
    struct Case {
        unsigned long combo;
        float best;
        float combos;
    };
    Case const cases[] = {{1, 1, 0}, {2, 2, 1}, {3, 3, 1}, {4, 4, 1}, {1, 4, 1}, {2, 4, 2}, {0, 4, 2}};
    float const bestBefore = achievement(L"MAX_COMBO");
    float const combosBefore = achievement(L"COMBOS");
    for (Case const& c : cases) {
        cards().comboChanged.emit(c.combo);
        EXPECT_EQ(achievement(L"MAX_COMBO"), std::max(bestBefore, c.best)) << c.combo;
        EXPECT_EQ(achievement(L"COMBOS"), combosBefore + c.combos) << c.combo;
    }
}

TEST_F(HudTest, ExtraCardsFoundCountForTheRunningLevelOnly) {
    startLevel(1, 3);
    Solitaire::LevelRecord* record = Solitaire::Profil::findLevel(*profile->findChapter(1), 3);
    ASSERT_NE(record, nullptr);
    Solitaire::Karte& card = *cards().cards.front();
    cards().extraCardExposed.emit(card, 1ul, 0ul);
    cards().extraCardExposed.emit(card, 2ul, 0ul);
    EXPECT_EQ(record->foundRun, 2u);
    EXPECT_EQ(record->found, 0u) << "the saved copy waits for the game's end";
    game->getRunning().setLevel(false, -1, -1);
    cards().extraCardExposed.emit(card, 3ul, 0ul);
    EXPECT_EQ(record->foundRun, 2u) << "a free game has no level";
}

// ---- tip button ----

TEST_F(HudTest, TheTipButtonFillsOverTenSecondsOfPlayAndOpensWhenFull) {
    startLevel(1, 0);
    // Points that pay a hint: the bulb is ready when it fills (test_table_input.cpp: not before).
    cards().changeScore(1000.0f);
    Orvex::GUIProgressBar* tip = bar(L"I_TIPP");
    ASSERT_NE(tip, nullptr);
    EXPECT_LT(tip->getRatio(), 0.3f) << "two seconds of settling";
    EXPECT_FALSE(tip->getOptions().enabled);
    for (int i = 0; i < 60 * 4; ++i) step(1.0 / 60);
    EXPECT_GT(tip->getRatio(), 0.5f);
    EXPECT_FALSE(tip->getOptions().enabled);
    // The frame it fills, the ready sparkle starts over it.
    Solitaire::SolPartikelManager const& particles = Solitaire::SolPartikelManager::instance();
    ASSERT_NE(particles.findEmitterTemplate(L"TIPP_READY_EMITTER"), nullptr);
    bool sparkled = false;
    for (int i = 0; i < 60 * 6 && !sparkled; ++i) {
        std::size_t const before = particles.liveEmitters().size();
        bool const wasFull = tip->getRatio() >= 1.0f;
        step(1.0 / 60);
        sparkled = !wasFull && tip->getRatio() >= 1.0f && particles.liveEmitters().size() > before;
    }
    EXPECT_TRUE(sparkled);
    EXPECT_FLOAT_EQ(tip->getRatio(), 1.0f);
    EXPECT_TRUE(tip->getOptions().enabled);
    // Outside the table the game time stands: the timer does not run.
    game->getHud().restartTipTimer();
    EXPECT_FLOAT_EQ(tip->getRatio(), 0.0f);
    showMenu(L"HAUPTMENU");
    for (int i = 0; i < 60; ++i) step(1.0 / 60);
    EXPECT_FLOAT_EQ(tip->getRatio(), 0.0f);
}

// ---- panels ----

TEST_F(HudTest, HoverZonesShowTheirPanels) {
    startFree(L"KLASSIKER", L"ZELLEN", L"ZELLEN");
    struct Case {
        char const* what;
        wchar_t const* pointAt;
        float helpBlend;
        wchar_t const* help;
        wchar_t const* statistics;
    };
    Case const cases[] = {
        {"onto the game's name", L"I_Help_TZ", 0.0f, L"AN", L"AUS"},
        {"off it", L"I_Points", 0.0f, L"AUS", L"AUS"},
        {"onto the time", L"I_Statistiken_TZ", 0.0f, L"AUS", L"AN"},
        {"off it", L"I_Points", 0.0f, L"AUS", L"AUS"},
        {"the help stands in the middle", L"I_Help_TZ", 1.0f, L"AUS", L"AUS"},
    };
    for (Case const& c : cases) {
        game->getHud().getHelpBlend().current = c.helpBlend;
        game->getHud().getHelpBlend().target = c.helpBlend;
        pointTo(c.pointAt);
        EXPECT_EQ(goalOf(L"I_Help"), c.help) << c.what;
        EXPECT_EQ(goalOf(L"I_Statistiken"), c.statistics) << c.what;
    }
}

TEST_F(HudTest, TheStatisticsPanelWritesTheRunningGamesCountsOverItsFrame) {
    startFree(L"KLASSIKER", L"ZELLEN", L"ZELLEN");
    Solitaire::StatistikManager::instance().addMouseDistance(2500);
    Solitaire::StatistikManager::instance().countClick();
    Solitaire::StatistikManager::instance().countClick();
    find(L"I_Statistiken")->jumpToGoal(L"AN");
    std::vector<uint32_t> const pixels = frame();
    std::wstring const text = textOf(L"I_Statistiken");
    // 2,500 pixels at 96 per inch: 0.66 m.
    EXPECT_NE(text.find(L"Mausweg: 0,7 m"), std::wstring::npos) << utf8(text);
    EXPECT_NE(text.find(L"Klicks: 2\r\n"), std::wstring::npos) << utf8(text);
    EXPECT_NE(text.find(msvc::format(L"Spielzeit: %.0f s", statistik().getTime())), std::wstring::npos) << utf8(text);
    // The frame: the dark panel reaches 20 pixels beyond the text.
    RECT const measured = label(L"I_Statistiken")->measureText();
    uint32_t const framed = at(pixels, static_cast<unsigned>(measured.left - 10), static_cast<unsigned>(measured.top - 10));
    std::vector<uint32_t> plain;
    find(L"I_Statistiken")->jumpToGoal(L"AUS");
    plain = frame();
    EXPECT_NE(framed, at(plain, static_cast<unsigned>(measured.left - 10), static_cast<unsigned>(measured.top - 10)));
}

// ---- looks ----

TEST_F(HudTest, TheRunningGamesLookPlacesTheButtonsAndTintsThePanel) {
    startLevel(1, 0);
    std::vector<uint32_t> tints;
    for (wchar_t const* look : {L"FG", L"ST", L"ST_ALT"}) {
        find(L"I_HG")->jumpToGoal(look);
        std::vector<uint32_t> const pixels = frame();
        Orvex::FRect const r = find(L"I_HG")->getScreenRect();
        tints.push_back(at(pixels, static_cast<unsigned>(r.left + 3 * (r.right - r.left) / 4), height - 8));
    }
    EXPECT_NE(tints[0], tints[1]);
    EXPECT_NE(tints[1], tints[2]);
    EXPECT_NE(tints[0], tints[2]);
    struct Case {
        wchar_t const* button;
        bool inFreePlay;
        bool inCampaign;
    };
    Case const cases[] = {{L"I_Multiplier", true, true}, {L"I_Shuffle", true, false}, {L"I_Undo_Step", true, false},
                          {L"I_Redo_Step", true, false}, {L"I_Undo_Start", true, false}, {L"I_Redo_End", true, false},
                          {L"I_Load", true, false},      {L"I_Save", true, false}};
    for (Case const& c : cases) {
        find(c.button)->jumpToGoal(L"FG");
        EXPECT_EQ(find(c.button)->getOptions().visible, c.inFreePlay) << utf8(c.button);
        find(c.button)->jumpToGoal(L"ST");
        EXPECT_EQ(find(c.button)->getOptions().visible, c.inCampaign) << utf8(c.button);
    }
}

TEST_F(HudTest, MedalStarsShowTheTurningStar) {
    startLevel(1, 0);
    Orvex::Texture2DAnimation* star = Orvex::Texture2DAnimationManager::instance().findAnimation(L"I_ABSCHLUSS_STERN");
    ASSERT_NE(star, nullptr);
    find(L"I_ABSCHLUSS_GOLD")->jumpToGoal(L"AN");
    std::vector<RECT> seen;
    for (int i = 0; i < 4; ++i) {
        frame();
        Orvex::GUIDrawOptions const& options = find(L"I_GOLD_STERN")->getDrawOptions();
        EXPECT_EQ(options.textures.background, star->getCurrentFrame()->texture);
        EXPECT_TRUE(options.backgroundSource.use);
        seen.push_back(RECT{static_cast<LONG>(options.backgroundSource.rect.left), 0, 0, 0});
        step(0.1);
    }
    EXPECT_NE(seen.front().left, seen.back().left) << "the star turns from frame to frame";
}

// ---- input ----

TEST_F(HudTest, APressOnAHudButtonStaysWithTheGui) {
    startFree(L"KLASSIKER", L"ZELLEN", L"ZELLEN");
    struct Probe : sigslot::has_slots<sigslot::single_threaded> {
        int clicks = 0;
        void onClick(Orvex::GUIWindow&) { ++clicks; }
    } probe;
    for (wchar_t const* button : {L"I_Info", L"I_Undo_Step", L"I_Shuffle"}) {
        probe.clicks = 0;
        find(button)->leftClicked.connect(&probe, &Probe::onClick);
        std::vector<D3DXVECTOR2> before;
        for (Solitaire::Karte* card : cards().cards) before.push_back(card->getPositionGoal());
        Orvex::u32 const clicks = statistik().get(Solitaire::StatistikCounter::Clicks);
        pointTo(button);
        // What the mouse routing asks of a window before it plays "KLICK2" and keeps the press
        // from the table: the GUI's active window takes input and is not the table's.
        Orvex::GUIWindow* active = Orvex::GUISystem::instance().getActiveWindow();
        EXPECT_EQ(active, find(button)) << utf8(button);
        EXPECT_EQ(active ? active->getOptions().inputIgnore : -1, 0) << utf8(button);
        clickOn(button);
        EXPECT_EQ(probe.clicks, 1) << utf8(button);
        EXPECT_EQ(cards().getHeldCard(), nullptr) << utf8(button);
        EXPECT_EQ(statistik().get(Solitaire::StatistikCounter::Clicks), clicks) << utf8(button);
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(cards().cards[i]->getPositionGoal(), before[i]) << utf8(button) << " card " << i;
        find(button)->leftClicked.disconnect(&probe);
    }
}

}  // namespace
