// The shipped campaign played in the real game, headless, every action an SDL event through the
// window and frames at the fixed step of 1/60 s:
// - a fresh profile plays chapter 0 (the rows of hearts of levels 1 and 2 won by dragging), the
//   chapter's rest scene starts "MINIGAME_0", the skipped game opens chapter 1, whose intro
//   starts its first level;
// - from a saved profile at the start of each chapter's rest scene (chapter N finished, every
//   scene before seen, tutorials off), the chapter's button on the chapter screen brings the rest
//   scene, its end the mini-game "MINIGAME_N" with its help, the skip and the game's "go on" the
//   intro of chapter N + 1, and that intro the chapter's first level on the table; the god of
//   the chapter comes with it. One test per chapter, so they run side by side;
// - the god of hearts at the start of chapter 2: its level's ten hearts up to the ten charge its
//   bar, a click on the full bar arms its power, a click on the face-down jack uses it; the won
//   level saves "GOD0_USED" in the profile file;
// - the lesson of the row of hearts started from free play, its game chosen by clicks.
// Screenshots: "campaign_*.png" in the build folder's "screenshots".
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIProgressBar.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/TableRenderer.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"
#include "game/story/ExtendedTutorial.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/StoryPart.h"
#include "tests/game/app/CampaignProfiles.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using apptest::godOf;
using apptest::introScene;
using apptest::levelsOf;
using apptest::profileAtRest;
using apptest::profileAtStart;
using apptest::restScene;

constexpr int kLastMinigame = 19;

class CampaignInGame : public minigametest::MinigameFixture {
protected:
    void TearDown() override {
        MinigameFixture::TearDown();
        removeHome();
    }
    Solitaire::Profil* profile() const { return Solitaire::ProfilManager::instance().getActiveProfile(); }
    std::string sceneName() const { return scene() ? minigametest::narrow(scene()->getName()) : std::string("-"); }
    // The running mini-game skipped from its help; its "go on" leads back to the level screen.
    void skipMinigame(int number) {
        ASSERT_EQ(activeMenu(), L"MINIGAMEMENU");
        Solitaire::Minispiel* shown = active();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->getName(), L"MINIGAME_" + std::to_wstring(number));
        Orvex::GUIWindow* help = find(L"MINISPIEL_Hilfemenue");
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->getOptions().visible) << "the help comes first";
        skipFromHelp();
        settle();
        expectSkipped();
        expectTold(L"MINISPIEL_E_TITEL_VERLOREN", L"\u00fcbersprungen");
        clickOn(L"MINISPIEL_E_Weiter");
    }
    void winLevel() {
        closeTutorials();
        winRowOfHearts();
    }
};

class CampaignFromAFreshProfile : public CampaignInGame {
protected:
    void SetUp() override {
        makeHome("campaign_fresh");
        withStory = true;
        MinigameFixture::SetUp();
    }
};

TEST_F(CampaignFromAFreshProfile, ChapterZeroLeadsThroughItsRestSceneAndMinigameIntoChapterOne) {
    toChapterScreen();
    clickOn(L"K_KategorieButton1");
    closeTutorials();
    ASSERT_EQ(sceneName(), "STORY_INTRO");
    playSceneToItsEnd();
    settle();
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    // Levels 1 and 2, the rows of hearts: two of three levels passed finish the chapter.
    clickOn(L"LA_LevelButton_1");
    winLevel();
    EXPECT_TRUE(profile()->isUnlocked(L"K0_L1_BESTANDEN"));
    EXPECT_FALSE(profile()->isUnlocked(L"KAPITEL_0_FINISHED"));
    clickOn(L"A_NEXT");
    EXPECT_EQ(sceneName(), "-") << "no scene before the chapter is finished";
    EXPECT_EQ(game->getRunning().currentLevel, 2);
    winLevel();
    EXPECT_TRUE(profile()->isUnlocked(L"KAPITEL_0_FINISHED"));
    keep("campaign_chapter0_results");
    // The next level is chapter 1's, which the finished chapter opened; the rest comes first.
    clickOn(L"A_NEXT");
    ASSERT_EQ(sceneName(), "STORY_RAST") << minigametest::narrow(activeMenu());
    playSceneToItsEnd("campaign_rast");
    skipMinigame(0);
    EXPECT_TRUE(profile()->isUnlocked(L"MINIGAME_0_FINISHED"));
    EXPECT_NE(profile()->findChapter(1)->result, 0);
    // Chapter 1's intro comes at once and starts its first level with the level's tutorial.
    ASSERT_EQ(sceneName(), "STORY_TURM");
    playSceneToItsEnd("campaign_turm");
    EXPECT_EQ(game->getRunning().currentChapter, 1);
    EXPECT_EQ(game->getRunning().currentLevel, 0);
    closeTutorials();
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    keep("campaign_chapter1_level0");
}

class CampaignAtTheRest : public CampaignInGame, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        makeHome("campaign_rest_" + std::to_string(GetParam()), profileAtRest(GetParam()));
        withStory = true;
        MinigameFixture::SetUp();
    }
};

TEST_P(CampaignAtTheRest, TheRestSceneStartsTheChaptersMinigameAndTheNextChapterFollows) {
    int const chapter = GetParam();
    ASSERT_NE(profile(), nullptr);
    toChapterScreen();
    clickOn(L"K_KategorieButton" + std::to_wstring(chapter + 1));
    ASSERT_EQ(sceneName(), restScene(chapter));
    wait(0.5);
    if (chapter % 5 == 4) keep("campaign_rest_" + std::to_string(chapter));
    playSceneToItsEnd();
    skipMinigame(chapter);
    EXPECT_TRUE(profile()->isUnlocked(L"MINIGAME_" + std::to_wstring(chapter) + L"_FINISHED"));
    // The next chapter's intro, then its first level on the table.
    ASSERT_EQ(sceneName(), introScene(chapter + 1));
    playSceneToItsEnd();
    settle();
    EXPECT_EQ(game->getRunning().currentChapter, chapter + 1);
    EXPECT_EQ(game->getRunning().currentLevel, 0);
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    if (int const god = godOf(chapter + 1); god >= 0) {
        EXPECT_TRUE(profile()->isUnlocked(L"GOD" + std::to_wstring(god)));
        Orvex::GUIWindow* bar = find(L"GOD" + std::to_wstring(god));
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->getOptions().visible) << "the god's bar is on the table";
    }
    if (chapter % 5 == 4) keep("campaign_level_" + std::to_string(chapter + 1));
}

INSTANTIATE_TEST_SUITE_P(Chapters, CampaignAtTheRest, ::testing::Range(0, kLastMinigame + 1));

class CampaignGods : public CampaignInGame {
protected:
    void SetUp() override {
        makeHome("campaign_gods", profileAtStart(2));
        withStory = true;
        MinigameFixture::SetUp();
    }
    // Drags the heart of that value onto the goal pile.
    void playHeart(int value) {
        auto& cards = Solitaire::Kartenmanager::instance();
        Solitaire::Kartenstapel* goal = cards.findPile(L"STAPEL_ZIEL");
        Solitaire::Karte* card = heart(value);
        ASSERT_TRUE(goal && card);
        drag(tablePoint(Solitaire::computeScreenRect(*card, cards.getCamera())),
             tablePoint(Solitaire::computeScreenRect(*goal, cards.getCamera())), 6);
        wait(0.4);
    }
    float achievement(wchar_t const* name) const {
        Solitaire::Achivement const* a = Solitaire::AchivementManager::instance().find(name);
        return a ? a->getValue() : -1.0f;
    }
};

TEST_F(CampaignGods, TheGodOfHeartsIsChargedByPlayArmedAndUsedAndTheProfileKeepsIt) {
    toChapterScreen();
    clickOn(L"K_KategorieButton3");
    EXPECT_EQ(sceneName(), "-");
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    clickOn(L"LA_LevelButton_0");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_EQ(game->getRunning().currentChapter, 2);
    wait(kDealSeconds);
    dismissTablePanels();
    auto* bar = dynamic_cast<Orvex::GUIProgressBar*>(find(L"I_GODS_1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_LT(bar->getRatio(), 1.0f);
    Solitaire::Karte* jack = heart(10);
    ASSERT_NE(jack, nullptr);
    EXPECT_FALSE(jack->isFaceUp()) << "the jack is dealt face down";
    // Ace to ten: ten hearts fill the bar.
    for (int value = 0; value < 10; ++value) playHeart(value);
    EXPECT_GE(bar->getRatio(), 1.0f);
    keep("campaign_god_full");
    float const used = achievement(L"GOD0_USED");
    auto& cards = Solitaire::Kartenmanager::instance();
    click(tablePoint(Solitaire::computeScreenRect(*jack, cards.getCamera())));
    wait(1.0);
    EXPECT_FALSE(jack->isFaceUp()) << "a click alone does not turn the jack up";
    click(middleOf(L"I_GODS_1"));
    settle();
    EXPECT_EQ(cards.getClickMode(), Solitaire::kClickReveal) << "armed";
    click(tablePoint(Solitaire::computeScreenRect(*jack, cards.getCamera())));
    wait(1.0);
    EXPECT_TRUE(jack->isFaceUp()) << "the power turned the jack up";
    EXPECT_EQ(cards.getClickMode(), Solitaire::kClickNormal);
    EXPECT_EQ(achievement(L"GOD0_USED"), used + 1.0f);
    EXPECT_LT(bar->getRatio(), 1.0f) << "the used bar is empty again";
    keep("campaign_god_used");
    for (int value = 10; value < 13; ++value) playHeart(value);
    EXPECT_TRUE(game->getRunning().gameOver);
    for (double t = 0.0; t < kResultsLimit && activeMenu() != L"AUSWERTUNGMENU"; t += kStep) tick(false);
    // The game's end saved the profile: the use is in the file.
    Orvex::XMLNode saved;
    ASSERT_TRUE(saved.load(port::windowsPath((home / "profile.prf").string())));
    float stored = -1.0f;
    std::function<void(Orvex::XMLNode const&)> walk = [&](Orvex::XMLNode const& node) {
        if (node.getAttributeString(L"NAME", L"") == L"GOD0_USED") stored = node.getAttributeFloat(L"VALUE", -1.0f);
        for (Orvex::XMLNode const* child : node.children()) walk(*child);
    };
    walk(saved);
    EXPECT_EQ(stored, used + 1.0f);
}

}  // namespace

namespace {

class LessonFromFreePlay : public CampaignInGame {
protected:
    void SetUp() override {
        // A player who keeps the tutorials on: the lesson is one.
        std::string profile = profileAtRest(0);
        profile.erase(profile.find("<TUTORIAL SHOW=\"0\"/>"), std::string("<TUTORIAL SHOW=\"0\"/>").size());
        makeHome("campaign_lesson", profile);
        MinigameFixture::SetUp();
    }
};

TEST_F(LessonFromFreePlay, TheLessonGameStartsItsLesson) {
    if (activeMenu() == L"STARTMENU") clickOn(L"SM_Fenster");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    clickOn(L"H_FreiesSpiel");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"FREIESSPIELMENU");
    clickOn(L"FG_Kategorie_KNOBELEIEN");
    clickOn(L"FG_Game_HERZREIHE");
    clickOn(L"FG_Variante_HERZREIHE_LEKTION");
    clickOn(L"FG_StartButton");
    Solitaire::ExtendedTutorialManager const& lessons = Solitaire::ExtendedTutorialManager::instance();
    ASSERT_TRUE(lessons.isRunning()) << minigametest::narrow(activeMenu()) << " " << minigametest::narrow(Solitaire::SolitaireManager::instance().getCurrentVariant() ? Solitaire::SolitaireManager::instance().getCurrentVariant()->getName() : L"-");
    EXPECT_EQ(lessons.getCurrent()->getName(), L"LEKTION_HERZREIHE");
    wait(1.0);
    keep("campaign_lesson");
}

}  // namespace
