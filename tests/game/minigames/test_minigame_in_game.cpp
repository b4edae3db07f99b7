// The mini-games reached from the story in the real game: a profile that has finished chapter 0
// (the intro seen, tutorials off) enters the level screen by clicks, the rest scene
// plays and ends in "MINIGAME_0" with its help up; the game won tells so on its screen, and its
// button leads back to the level screen with "MINIGAME_0_FINISHED" and chapter 1 open. Skipped,
// lost by time or left, a game tells that too. A scene naming a mini-game that does not exist
// counts it as finished at once. Every action is an SDL event through the window.
//
// Screenshots: "minigame_from_story_*.png" and "minigame_end_*.png" in the build folder's
// "screenshots".
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireManager.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"
#include "port/win32/win32_paths.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using Solitaire::MinispielZuordnen;

// Chapter 0 finished but its mini-game not played (levels 1 and 2 passed), the intro seen (its
// name and end unlock), chapter 1 still closed, tutorials off. Chapter 1's intro counts as seen,
// so the game's end leads to the level screen.
std::string const kProfile =
    "<PROFILE ACTIVE_PROFIL=\"Mia\"><PROFIL NAME=\"Mia\"><TUTORIAL SHOW=\"0\"/>"
    "<KAMPAGNE><KAPITEL KAPITEL=\"0\" RESULT=\"1\"><LEVEL LEVEL=\"0\" RESULT=\"1\"/><LEVEL LEVEL=\"1\" RESULT=\"4\"/>"
    "<LEVEL LEVEL=\"2\" RESULT=\"4\"/></KAPITEL><KAPITEL KAPITEL=\"1\" RESULT=\"0\"/>"
    "</KAMPAGNE><UNLOCKS>\"|STORY_INTRO|\" \"|K0_L1_BESTANDEN|\" \"|K0_L2_BESTANDEN|\" \"|KAPITEL_0_FINISHED|\" "
    "\"|STORY_INTRO_GESEHEN|\" \"|STORY_TURM|\"</UNLOCKS></PROFIL>"
    "</PROFILE>";

class MinigameInGameTest : public minigametest::MinigameFixture {
protected:
    void SetUp() override {
        makeHome("minigame_game", kProfile);
        withStory = true;
        MinigameFixture::SetUp();
    }
    void TearDown() override {
        MinigameFixture::TearDown();
        removeHome();
    }

    Solitaire::Profil* profile() const { return Solitaire::ProfilManager::instance().getActiveProfile(); }
    // From the start screen by the main menu and the chapter screen to chapter 0's levels.
    void enterLevelScreen() {
        clickOn(L"SM_Fenster");
        ASSERT_EQ(activeMenu(), L"HAUPTMENU");
        clickOn(L"H_Kampagne");
        clickOn(L"K_KategorieButton1");
    }

};

TEST_F(MinigameInGameTest, TheRestSceneOpensTheSortingGameAndItsWinOpensTheNextChapter) {
    ASSERT_NE(profile(), nullptr);
    ASSERT_EQ(profile()->findChapter(1)->result, 0);
    enterLevelScreen();
    ASSERT_NE(scene(), nullptr);
    EXPECT_EQ(scene()->getName(), L"STORY_RAST");
    wait(0.5);
    keep("minigame_from_story_scene");
    playSceneToItsEnd();
    EXPECT_EQ(activeMenu(), L"MINIGAMEMENU");
    auto* sorting = dynamic_cast<MinispielZuordnen*>(active());
    ASSERT_NE(sorting, nullptr);
    EXPECT_EQ(sorting->getName(), L"MINIGAME_0");
    Orvex::GUIWindow* help = find(L"MINISPIEL_Hilfemenue");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->getOptions().visible) << "the help comes first";
    keep("minigame_from_story_help");
    closeHelp();
    // Red cards to the red tray, black ones to the black tray, then OK.
    auto put = [&](wchar_t const* itemName, wchar_t const* areaName) {
        MinispielZuordnen::Gegenstand* card = nullptr;
        std::size_t index = 0;
        for (std::size_t i = 0; i < sorting->getItems().size(); ++i)
            if (sorting->getItems()[i]->getName() == itemName) card = sorting->getItems()[index = i];
        MinispielZuordnen::Gebiet* tray = nullptr;
        for (auto* each : sorting->getAreas())
            if (each->getName() == areaName) tray = each;
        ASSERT_TRUE(card && tray);
        float const beside = (static_cast<float>(index) - 1.5f) * 40.0f;
        drag(reachablePointOf(*card->window), middleOf(tray->window->getScreenRect()) + D3DXVECTOR2(beside, 0.0f));
    };
    put(L"HERZ_2", L"ROT");
    put(L"KARO_3", L"ROT");
    put(L"PIK_4", L"SCHWARZ");
    put(L"KREUZ_1", L"SCHWARZ");
    keep("minigame_from_story_solved");
    clickPart(L"ZUORDNEN_OK");
    expectWon();
    settle();
    EXPECT_EQ(active(), nullptr);
    // The win is told on the game's screen, which stays until the player goes on.
    expectTold(L"MINISPIEL_E_TITEL_GEWONNEN", L"gel\u00f6st");
    keep("minigame_from_story_won");
    wait(5.0);
    EXPECT_EQ(activeMenu(), L"MINIGAMEMENU");
    clickOn(L"MINISPIEL_E_Weiter");
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    EXPECT_FALSE(find(L"MINISPIEL_Ergebnis")->getOptions().visible);
    EXPECT_TRUE(profile()->isUnlocked(L"MINIGAME_0_FINISHED"));
    EXPECT_NE(profile()->findChapter(1)->result, 0) << "chapter 1 is open";
    keep("minigame_from_story_back");
    // The level screen again: the rest scene does not come back.
    clickOn(L"LA_CLOSE");
    clickOn(L"K_KategorieButton1");
    EXPECT_EQ(scene(), nullptr);
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
}

class MinigameEndTest : public minigametest::MinigameFixture {};

// Skipped from its help, lost by time, left by its cancel button: each end is told on the game's
// screen as not solved, for as long as the player likes, and its button leads to the level screen.
TEST_F(MinigameEndTest, EveryEndIsToldBeforeTheLevelScreen) {
    // A game once ended stays ended: each case plays a game of its own.
    struct Case {
        char const* what;
        wchar_t const* game;
        std::function<void()> end;
        wchar_t const* words;
    };
    Case const cases[] = {
        {"left", L"MINIGAME_0", [&] { closeHelp(); clickPart(L"ZUORDNEN_CANCEL"); }, L"abgebrochen"},
        {"skipped", L"MINIGAME_1", [&] { skipFromHelp(); }, L"\u00fcbersprungen"},
        {"time", L"MINIGAME_2", [&] { closeHelp(); loseByTime(); }, L"Zeit ist abgelaufen"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(begin(c.game), nullptr);
        EXPECT_FALSE(find(L"MINISPIEL_Ergebnis")->getOptions().visible) << "a new game puts the words away";
        c.end();
        settle();
        EXPECT_EQ(active(), nullptr);
        expectTold(L"MINISPIEL_E_TITEL_VERLOREN", c.words);
        keep(std::string("minigame_end_") + c.what);
        wait(3.0);
        clickOn(L"MINISPIEL_E_Weiter");
        EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    }
}

TEST_F(MinigameInGameTest, AMiniGameThatDoesNotExistCountsAsFinishedAtOnce) {
    Solitaire::StoryManager& story = Solitaire::StoryManager::instance();
    story.clear();
    Orvex::XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<STORY><STORY_PART NAME=\"TEST_FEHLT\">"
                                  L"<NEEDED_UNLOCKS>\"|K0_L1_BESTANDEN|\"</NEEDED_UNLOCKS>"
                                  L"<START_END_PARAM START_MINIGAME=\"1\" MINIGAME=\"57\"/>"
                                  L"<SWITCH SWITCH_AT=\"1\" TIMER=\"3\"/></STORY_PART></STORY>",
                                  L"test.str"));
    story.load(root, L"test.str");
    ASSERT_EQ(manager().findMinispiel(L"MINIGAME_57"), nullptr);
    enterLevelScreen();
    ASSERT_NE(scene(), nullptr);
    EXPECT_EQ(scene()->getName(), L"TEST_FEHLT");
    playSceneToItsEnd();
    EXPECT_EQ(active(), nullptr);
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU") << "no mini-game screen";
    EXPECT_TRUE(profile()->isUnlocked(L"MINIGAME_57_FINISHED"));
    EXPECT_EQ(log.count(L"active"), 0u);
}

}  // namespace
