// The game flow played through the real game on the always-winnable row of hearts: a free game
// started from its button and campaign levels started as the level screen starts them, played
// to their end by a drag and double clicks on the table (or ended early by "I_END_GAME"), and
// what the end records: result, stars, the level's and chapter's results, unlocks,
// achievements, the highscore, the saved profile, the results delay opening "AUSWERTUNGMENU",
// and "A_NEXT" going on.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUILabel.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolVariant.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "tests/game/app/FlowFixture.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

namespace {

using apptest::FlowFixture;
using Solitaire::RunningGame;
using Solitaire::SolitaireGame2;

// A profile whose campaign stands as given: (chapter, level, result) for every level of the
// test catalogue (chapter 0: levels 0-5, chapter 1: levels 0-1); a chapter with an open level
// is open.
std::string campaignProfile(std::vector<int> const& chapter0, std::vector<int> const& chapter1 = {1, 1},
                            int found = 0) {
    std::string text = "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"><KAMPAGNE>";
    auto chapter = [&](int number, std::vector<int> const& levels) {
        bool const open = std::any_of(levels.begin(), levels.end(), [](int r) { return r > 0; });
        text += "<KAPITEL KAPITEL=\"" + std::to_string(number) + "\" RESULT=\"" + (open ? "1" : "0") + "\">";
        for (std::size_t i = 0; i < levels.size(); ++i)
            text += "<LEVEL LEVEL=\"" + std::to_string(i) + "\" RESULT=\"" + std::to_string(levels[i]) +
                    "\" STARS_FOUND=\"" + std::to_string(found) + "\"/>";
        text += "</KAPITEL>";
    };
    chapter(0, chapter0);
    chapter(1, chapter1);
    return text + "</KAMPAGNE></PROFIL></PROFILE>";
}

class GameFlowTest : public FlowFixture {
protected:
    Solitaire::LevelRecord level(int chapter, int number) const {
        Solitaire::ChapterRecord* record = profile()->findChapter(chapter);
        Solitaire::LevelRecord* found = record ? Solitaire::Profil::findLevel(*record, number) : nullptr;
        return found ? *found : Solitaire::LevelRecord{-1, 0, 0, -1};
    }
    int chapterResult(int chapter) const { return profile()->findChapter(chapter)->result; }
    // Plays the dealt level: count hearts, then ends it by the end-game button unless it was won.
    void play(int count) {
        settle(4.0);
        moveHearts(count);
        if (!game->getRunning().gameOver) endLevel();
        ASSERT_TRUE(game->getRunning().gameOver);
    }
    // Updates until the results delay has opened the results screen (at most 15 s).
    void waitForResults() {
        for (int i = 0; i < 450 && activeMenu() != L"AUSWERTUNGMENU"; ++i) step(1.0 / 30.0);
    }
    // The profile file as saved.
    Orvex::XMLNode savedProfile() const {
        Orvex::XMLNode root;
        EXPECT_TRUE(root.load(port::windowsPath((stage / "profile.prf").string())));
        return root;
    }
};

TEST_F(GameFlowTest, AFreeGameWonIsRecordedAndItsResultsOpenAfterTheFlight) {
    startFlow();
    Solitaire::SolitaireManager& catalogue = Solitaire::SolitaireManager::instance();
    ASSERT_TRUE(catalogue.setCurrentByNames(L"KLASSIKER", L"HERZREIHE", L"HERZREIHE"));
    click(L"FG_StartButton");
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_FALSE(game->getRunning().campaign);
    EXPECT_EQ(game->getScreenState(), SolitaireGame2::kScreenInGame);
    play(13);

    EXPECT_EQ(game->getRunning().outcome, 1);
    // The cards fly off before the results: the free game's 2 s and the flight.
    EXPECT_EQ(game->getResultsDelay().pending, 1);
    EXPECT_GT(game->getResultsDelay().delay, 0.0f);
    Solitaire::SolVariant* variant = catalogue.getCurrentVariant();
    ASSERT_EQ(variant->getHighscores().size(), 1u);
    EXPECT_EQ(variant->getHighscores()[0]->getName(), L"Spieler");
    ASSERT_NE(variant->getStatistik(), nullptr);
    EXPECT_EQ(variant->getStatistik()->get(Solitaire::StatistikCounter::Won), 1u);
    EXPECT_EQ(savedProfile().getAttributeString(L"ACTIVE_PROFIL", L""), L"Spieler") << "the profiles are saved at the end";
    waitForResults();
    EXPECT_EQ(activeMenu(), L"AUSWERTUNGMENU");
    EXPECT_EQ(game->getResultsDelay().pending, 0);
    // "A_BACK" of a free game goes back to the selection.
    click(L"A_BACK");
    EXPECT_EQ(activeMenu(), L"FREIESSPIELMENU");
}

TEST_F(GameFlowTest, AFreeGameKeepsTheSeedHandedInUnlessOneIsTyped) {
    startFlow();
    ASSERT_TRUE(Solitaire::SolitaireManager::instance().setCurrentByNames(L"KLASSIKER", L"HERZREIHE", L"HERZREIHE"));
    Orvex::GUILabel* seed = Solitaire::labelOf(find(L"FG_SEED"));
    ASSERT_NE(seed, nullptr);
    struct {
        char const* what;
        std::wstring typed;  // empty: the field keeps its own text
        std::wstring seedText;
    } const cases[] = {
        {"an untouched field", L"", L""},
        {"a typed seed", L"4711", L"4711"},
        {"the field's own text typed again", L"OK", L""},
    };
    for (auto const& c : cases) {
        if (c.typed.empty())
            seed->setTextId(L"OK");
        else
            seed->setText(c.typed);
        click(L"FG_StartButton");
        EXPECT_EQ(game->getRunning().seedText, c.seedText) << c.what;
        if (!c.seedText.empty()) EXPECT_EQ(Solitaire::Kartenmanager::instance().getSeedText(), c.seedText) << c.what;
    }
}

TEST_F(GameFlowTest, ACampaignLevelWonGetsThreeStarsOpensTheNextAndANextStartsIt) {
    startFlow(campaignProfile({1, 1, 1, 0, 0, 0}));
    float const played = achievement(L"LEVEL_PLAYED");
    float const perfect = achievement(L"LEVEL_PERFECT");
    float const stars = achievement(L"STARS");
    ASSERT_EQ(game->startCampaignLevel(0, 0, true), RunningGame::kGameStarted);
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_TRUE(game->getRunning().campaign);
    EXPECT_EQ(game->getRunning().currentChapter, 0);
    EXPECT_EQ(game->getRunning().currentLevel, 0);
    EXPECT_TRUE(profile()->isUnlocked(L"K0_L0_BEGONNEN")) << "the level's UNLOCKS_PRE";
    play(13);

    EXPECT_EQ(level(0, 0).result, 4);
    EXPECT_EQ(achievement(L"STARS"), stars + 3.0f);
    EXPECT_EQ(achievement(L"LEVEL_PLAYED"), played + 1.0f);
    EXPECT_EQ(achievement(L"LEVEL_PERFECT"), perfect + 1.0f) << "every tableau pile cleared with three stars";
    EXPECT_TRUE(profile()->isUnlocked(L"K0_L0_BESTANDEN")) << "the level's UNLOCKS";
    EXPECT_TRUE(game->getRunning().nextLevelAvailable);
    EXPECT_TRUE(game->getRunning().fromPassedLevel);
    EXPECT_EQ(game->getRunning().nextChapter, 0);
    EXPECT_EQ(game->getRunning().nextLevel, 1);
    EXPECT_EQ(level(0, 3).result, 1) << "the next locked level opens (four open of five)";
    EXPECT_EQ(chapterResult(0), 1) << "one level of six with stars";
    Orvex::XMLNode const saved = savedProfile();
    Orvex::XMLNode const* chapter = saved.getChild(L"PROFIL")->getChild(L"KAMPAGNE")->getChild(L"KAPITEL");
    EXPECT_EQ(chapter->getChild(L"LEVEL")->getAttributeString(L"RESULT", L""), L"4") << "the profiles are saved at the end";
    // The campaign's base delay and the flight, then the results.
    EXPECT_GT(game->getResultsDelay().delay, Solitaire::ResultsDelay::kCampaignBase - 0.5f);
    waitForResults();
    EXPECT_EQ(activeMenu(), L"AUSWERTUNGMENU");

    click(L"A_NEXT");
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_EQ(game->getRunning().currentLevel, 1);
    EXPECT_FALSE(game->getRunning().gameOver);
}

// A level ended early by its end button: the stars are the goals the cards moved reached.
TEST_F(GameFlowTest, ALevelEndedEarlyKeepsItsBestResultAndCountsOnlyNewStars) {
    startFlow(campaignProfile({2, 1, 1, 1, 0, 0}));
    struct {
        int hearts;
        int result;       // of this game
        int levelResult;  // kept by the level
        float newStars;
    } const cases[] = {
        {7, 3, 3, 1.0f},  // two stars: one more than the one before
        {1, 2, 3, 0.0f},  // one star: the level keeps its two, nothing new
        {0, 1, 3, 0.0f},  // no star: the level stays passed, and the way on with it
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.hearts);
        float const stars = achievement(L"STARS");
        float const played = achievement(L"LEVEL_PLAYED");
        ASSERT_EQ(game->startCampaignLevel(0, 0, true), RunningGame::kGameStarted);
        play(c.hearts);
        EXPECT_EQ(game->getRunning().outcome, c.result > 1 ? 1 : -1);
        EXPECT_EQ(level(0, 0).result, c.levelResult);
        EXPECT_EQ(achievement(L"STARS"), stars + c.newStars);
        EXPECT_EQ(achievement(L"LEVEL_PLAYED"), played + 1.0f);
        EXPECT_TRUE(game->getRunning().nextLevelAvailable);
        EXPECT_EQ(game->getResultsDelay().pending, c.result > 1 ? 1 : -1);
    }
}

TEST_F(GameFlowTest, ALevelWithoutAStarStaysOpenAndOpensNothing) {
    startFlow(campaignProfile({1, 1, 1, 1, 1, 0}));
    float const stars = achievement(L"STARS");
    ASSERT_EQ(game->startCampaignLevel(0, 1, true), RunningGame::kGameStarted);
    play(0);
    EXPECT_EQ(level(0, 1).result, 1);
    EXPECT_EQ(level(0, 5).result, 0);
    EXPECT_EQ(achievement(L"STARS"), stars);
    EXPECT_FALSE(game->getRunning().nextLevelAvailable);
    EXPECT_FALSE(profile()->isUnlocked(L"K0_L1_BESTANDEN"));
    // Without a next level "A_NEXT" leads to the level screen.
    waitForResults();
    click(L"A_NEXT");
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
}

// Five levels of a chapter stand open at most: passing one opens no further level, and the way on
// is the following level, which is open.
TEST_F(GameFlowTest, PassingALevelWithFiveOpenOpensNoFurther) {
    // A seventh level record (the catalogue's chapter has six) stands behind the five.
    startFlow(campaignProfile({1, 1, 1, 1, 1, 1, 0}));
    ASSERT_EQ(game->startCampaignLevel(0, 0, true), RunningGame::kGameStarted);
    Solitaire::GameEndParms parms;
    parms.clearedCards = 1;
    game->onGameEnd(false, parms);
    EXPECT_EQ(level(0, 0).result, 2);
    EXPECT_EQ(level(0, 6).result, 0);
    EXPECT_TRUE(game->getRunning().nextLevelAvailable);
    EXPECT_EQ(game->getRunning().nextLevel, 1);
}

// The game end of a level, by the record the card manager sends: a chapter is finished only
// when more than half of its levels have a star, which unlocks it and opens the next chapter.
TEST_F(GameFlowTest, AChapterIsFinishedOnlyPastHalfItsLevels) {
    struct {
        std::vector<int> before;
        int chapterResult;
    } const cases[] = {
        {{2, 2, 1, 1, 1, 0}, 1},  // three of six with the level passed now
        {{2, 2, 3, 1, 1, 0}, 2},  // four of six
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.chapterResult);
        startFlow(campaignProfile(c.before, {0, 0}));
        ASSERT_EQ(game->startCampaignLevel(0, 3, true), RunningGame::kGameStarted);
        Solitaire::GameEndParms parms;
        parms.clearedCards = 1;
        game->onGameEnd(false, parms);
        EXPECT_EQ(level(0, 3).result, 2);
        EXPECT_EQ(chapterResult(0), c.chapterResult);
        EXPECT_EQ(profile()->isUnlocked(L"KAPITEL_0_FINISHED"), c.chapterResult == 2);
        EXPECT_EQ(chapterResult(1) >= 1, c.chapterResult == 2) << "the next chapter opens with it";
        stop();
        TearDown();
    }
}

// "EXTRACARDS_CPT_" counts the extra cards found up to what the level's extra-card goals ask
// (2 + 3 here) beyond the best found before, which may exceed it: computed signed, that leaves
// nothing rather than wrapping round to the whole count.
TEST_F(GameFlowTest, ExtraCardsCountWhatTheGoalsAskedBeyondTheBestBefore) {
    struct {
        int bestBefore;
        int found;
        float counted;
    } const cases[] = {{0, 4, 4.0f}, {3, 4, 2.0f}, {5, 4, 0.0f}, {10, 4, 0.0f}};
    for (auto const& c : cases) {
        SCOPED_TRACE(c.bestBefore);
        startFlow(campaignProfile({2, 1, 1, 1, 1, 0}, {1, 1}, c.bestBefore));
        ASSERT_EQ(game->startCampaignLevel(1, 0, true), RunningGame::kGameStarted);
        float const chapter = achievement(L"EXTRACARDS_CPT_1");
        float const accumulated = achievement(L"EXTRACARDS_CPT_ACCUM_1");
        float const all = achievement(L"EXTRACARDS");
        Solitaire::GameEndParms parms;
        parms.clearedCards = 1;
        parms.extraCards = c.found;
        game->onGameEnd(false, parms);
        EXPECT_EQ(achievement(L"EXTRACARDS_CPT_1"), chapter + c.counted);
        EXPECT_EQ(achievement(L"EXTRACARDS_CPT_ACCUM_1"), accumulated + static_cast<float>(c.found));
        EXPECT_EQ(achievement(L"EXTRACARDS"), all + static_cast<float>(c.found));
        EXPECT_EQ(level(1, 0).found, static_cast<Orvex::u32>(std::max(c.bestBefore, c.found)));
        stop();
        TearDown();
    }
}

TEST_F(GameFlowTest, ALevelTheCatalogueLacksStartsNothing) {
    startFlow(campaignProfile({1, 1, 1, 0, 0, 0}));
    for (auto const& [chapter, levelNumber] : {std::pair{0, 6}, {2, 0}, {-1, 0}, {0, -1}}) {
        EXPECT_EQ(game->startCampaignLevel(chapter, levelNumber, true), RunningGame::kNothingStarted);
        EXPECT_EQ(activeMenu(), L"HAUPTMENU");
        EXPECT_EQ(game->getRunning().currentChapter, -1);
    }
}

}  // namespace
