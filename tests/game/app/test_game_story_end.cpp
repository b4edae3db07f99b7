// The end of a story scene, driven by the scene records a test builds: its unlock lists (the POST
// ones before the running tutorial closes, POST_POST after), achievements, the end menu, its
// tutorial (once, and after a level it starts), a mini-game that does not exist (finished at
// once: its unlock, the next chapter, the level screen), level starts and what the end returns;
// the story clicks of the dispatcher; and a level start while a scene plays.
#include <gtest/gtest.h>

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/minigames/MinispielManager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"
#include "tests/game/app/FlowFixture.h"

namespace {

using apptest::FlowFixture;
using Solitaire::RunningGame;
using Solitaire::SolitaireGame2;
using Solitaire::StorySceneParams;

std::string const kProfile =
    "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"><KAMPAGNE><KAPITEL KAPITEL=\"0\" RESULT=\"1\">"
    "<LEVEL LEVEL=\"0\" RESULT=\"2\"/><LEVEL LEVEL=\"1\" RESULT=\"1\"/><LEVEL LEVEL=\"2\" RESULT=\"1\"/></KAPITEL>"
    "<KAPITEL KAPITEL=\"1\" RESULT=\"0\"/></KAMPAGNE></PROFIL></PROFILE>";

class GameStoryEndTest : public FlowFixture {
protected:
    void SetUp() override {
        startFlow(kProfile);
        addStrip(L"STORY_ENDE");
    }
    void TearDown() override {
        for (Solitaire::StoryPart* part : parts) part->release();
        FlowFixture::TearDown();
    }
    // A running scene with that record.
    Solitaire::StoryPart* play(StorySceneParams const& params) {
        auto* part = new Solitaire::StoryPart();
        part->params = params;
        parts.push_back(part);
        game->setStoryPart(part);
        return part;
    }
    std::vector<std::wstring> shownNames() const {
        std::vector<std::wstring> names;
        for (ShownTutorial const& t : shownTutorials()) names.push_back(t.name);
        return names;
    }
    std::vector<Solitaire::StoryPart*> parts;
};

TEST_F(GameStoryEndTest, UnlocksOfTheEndComeBeforeTheTutorialClosesAndThoseAfterItAfter) {
    Solitaire::StoryPart* part = play(StorySceneParams{});
    part->unlockPost = {L"NACH_DER_SZENE"};
    part->unlockTmpPost = {L"NACH_DER_SZENE_KURZ"};
    part->unlockPostPost = {L"NACH_DEM_TUTORIAL"};
    part->unlockTmpPostPost = {L"NACH_DEM_TUTORIAL_KURZ"};
    ASSERT_TRUE(Solitaire::SolTutorialManager::instance().showTutorial(L"STORY_ENDE", true, false, D3DXVECTOR2(0, 0)));
    struct Closing : sigslot::has_slots<sigslot::single_threaded> {
        std::vector<bool> seen;
        Solitaire::Profil* profile = nullptr;
        void onClosed() { seen = {profile->isUnlocked(L"NACH_DER_SZENE"), profile->isUnlocked(L"NACH_DEM_TUTORIAL")}; }
    } closing;
    closing.profile = profile();
    Solitaire::SolTutorialManager::instance().tutorialClosed.connect(&closing, &Closing::onClosed);
    EXPECT_TRUE(game->finishStoryPart());
    Solitaire::SolTutorialManager::instance().tutorialClosed.disconnect(&closing);
    EXPECT_EQ(closing.seen, (std::vector<bool>{true, false}));
    for (wchar_t const* name : {L"NACH_DER_SZENE", L"NACH_DER_SZENE_KURZ", L"NACH_DEM_TUTORIAL", L"NACH_DEM_TUTORIAL_KURZ"})
        EXPECT_TRUE(profile()->isUnlocked(name)) << name;
    EXPECT_EQ(game->getStoryPart(), nullptr);
    EXPECT_FALSE(Solitaire::SolTutorialManager::instance().isRunning());
    // Without a scene there is nothing to do.
    EXPECT_TRUE(game->finishStoryPart());
}

TEST_F(GameStoryEndTest, TheRecordCountsAchievementsOpensItsMenuAndShowsItsTutorialOnce) {
    float const played = achievement(L"LEVEL_PLAYED");
    StorySceneParams params;
    params.achievementIncrements = {{L"LEVEL_PLAYED", 2.5f}, {L"GIBT_ES_NICHT", 1.0f}};
    params.onEndMenu = L"KATEGORIEMENU";
    params.tutorial = L"STORY_ENDE";
    params.startTutorial = true;
    play(params);
    EXPECT_TRUE(game->finishStoryPart());
    EXPECT_EQ(achievement(L"LEVEL_PLAYED"), played + 2.5f);
    // The tutorial shows over the end menu.
    EXPECT_EQ(activeMenu(), L"TUTORIALMENU");
    EXPECT_EQ(Orvex::GUIMenuManagerN::instance().getHistoryMenu(-1)->getName(), L"KATEGORIEMENU");
    EXPECT_EQ(shownNames(), std::vector<std::wstring>{L"STORY_ENDE"});
}

// Mini-game N does not exist (its definition renamed here): it counts as finished at once.
TEST_F(GameStoryEndTest, AMiniGameThatDoesNotExistCountsAsFinished) {
    FlowFixture::TearDown();
    dataEdits.push_back({"data/Games/minigames.min", "NAME=\"MINIGAME_0\"", "NAME=\"MINIGAME_WEG\""});
    startFlow(kProfile);
    StorySceneParams params;
    params.startMinigame = true;
    params.minigame = 0;
    play(params);
    EXPECT_TRUE(game->finishStoryPart());
    EXPECT_EQ(game->getRunning().minigameNumber, 0);
    EXPECT_TRUE(profile()->isUnlocked(L"MINIGAME_0_FINISHED"));
    EXPECT_EQ(profile()->findChapter(1)->result, 1) << "chapter N + 1 opens";
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    EXPECT_EQ(Solitaire::MinispielManager::instance().getActiveMinispiel(), nullptr);
}

// A record that starts a level shows its tutorial once, after the level has started (which
// then runs without its own start tutorial); what the end returns, case by case.
TEST_F(GameStoryEndTest, ALevelStartShowsTheTutorialOnceAfterItAndTheReturnIsTrueUnlessAStoryStarted) {
    struct {
        char const* what;
        bool startLevel, startNextLevel, tutorial;
        int chapter, level;
        int runningLevel;  // -1: none started
        std::vector<std::wstring> shown;
    } const cases[] = {
        {"nothing to start", false, false, false, 0, 0, -1, {}},
        {"a level", true, false, false, 0, 2, 2, {}},
        {"a level with a tutorial", true, false, true, 0, 1, 1, {L"LEVEL_TUTORIAL_1"}},
        {"the next level (the last one started) with a tutorial", false, true, true, 0, 0, 1, {L"LEVEL_TUTORIAL_2"}},
        {"a level that does not exist, with a tutorial", true, false, true, 0, 9, -1, {}},
    };
    for (wchar_t const* name : {L"LEVEL_TUTORIAL_1", L"LEVEL_TUTORIAL_2", L"LEVEL_TUTORIAL_3"}) addStrip(name);
    int number = 0;
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        StorySceneParams params;
        params.startLevel = c.startLevel;
        params.startNextLevel = c.startNextLevel;
        params.chapter = c.chapter;
        params.level = c.level;
        params.tutorial = L"LEVEL_TUTORIAL_" + std::to_wstring(c.tutorial ? ++number : 0);
        params.startTutorial = c.tutorial;
        int const before = static_cast<int>(shownTutorials().size());
        int const levelBefore = game->getRunning().currentLevel;
        play(params);
        EXPECT_TRUE(game->finishStoryPart());
        EXPECT_EQ(game->getRunning().currentLevel, c.runningLevel >= 0 ? c.runningLevel : levelBefore);
        std::vector<std::wstring> shown;
        for (std::size_t i = static_cast<std::size_t>(before); i < shownTutorials().size(); ++i) {
            shown.push_back(shownTutorials()[i].name);
            EXPECT_EQ(shownTutorials()[i].level, c.runningLevel) << "shown after the level started";
            EXPECT_EQ(shownTutorials()[i].menu, L"INGAMEMENU");
        }
        EXPECT_EQ(shown, c.shown);
        Solitaire::SolTutorialManager::instance().closeTutorial();
        if (c.runningLevel >= 0) EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    }
}

// While a scene plays a campaign level gives way to it (2); a free game does not.
TEST_F(GameStoryEndTest, ALevelStartedWhileASceneIsRunningGivesWayToIt) {
    play(StorySceneParams{});
    EXPECT_EQ(game->startCampaignLevel(0, 1, true), RunningGame::kStoryStarted);
    EXPECT_EQ(activeMenu(), L"HAUPTMENU");
    EXPECT_EQ(game->getRunning().currentLevel, -1);
    EXPECT_TRUE(game->checkStory());
    ASSERT_TRUE(Solitaire::SolitaireManager::instance().setCurrentByNames(L"KLASSIKER", L"HERZREIHE", L"HERZREIHE"));
    EXPECT_EQ(game->startGame({}), RunningGame::kGameStarted);
    // No scene is due without one playing (the story holds none): the level starts.
    game->setStoryPart(nullptr);
    EXPECT_FALSE(game->checkStory());
    EXPECT_EQ(game->startCampaignLevel(0, 1, true), RunningGame::kGameStarted);
}

// "T_END_STORY_CLICK" ends the scene without its finish: no music request reaches the game, but
// its end actions run as at any end, its achievement too; "T_STORY_CLICK" asks the scene, which
// here ends nothing.
TEST_F(GameStoryEndTest, TheStoryClicksAskTheSceneOrEndItWithoutItsMusic) {
    struct Music : sigslot::has_slots<sigslot::single_threaded> {
        int requests = 0;
        void onRequest() { ++requests; }
    } music;
    Solitaire::StoryManager& story = Solitaire::StoryManager::instance();
    story.stopMusic.connect(&music, &Music::onRequest);
    story.startStandardMusic.connect(&music, &Music::onRequest);
    StorySceneParams params;
    params.onEndMenu = L"KATEGORIEMENU";
    params.achievementIncrements = {{L"STORY_GESEHEN", 1.0f}};
    float const seen = achievement(L"STORY_GESEHEN");
    play(params);
    click(L"T_STORY_CLICK");
    EXPECT_NE(game->getStoryPart(), nullptr);
    click(L"T_END_STORY_CLICK");
    EXPECT_EQ(game->getStoryPart(), nullptr);
    EXPECT_EQ(activeMenu(), L"KATEGORIEMENU");
    EXPECT_EQ(achievement(L"STORY_GESEHEN"), seen + 1.0f);
    EXPECT_EQ(music.requests, 0);
    story.stopMusic.disconnect(&music);
    story.startStandardMusic.disconnect(&music);
}

}  // namespace
