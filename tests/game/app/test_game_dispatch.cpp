// The central button dispatcher, each row reached by a click through the GUI on the test panel's
// button of that name: the table's rows over a running free game of the row of hearts (undo and
// redo with their sound and achievements, quick save and load, shuffle, hint, ending,
// restarting, leaving, the shop), the rows after the game has ended, the highscore rows, the
// statistics resets, the exit, the options' card set and back, leaving the options, the profile
// rows, the story resets and the wallpaper.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "engine/core/AppInfo.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/SoundManager.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolVariant.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikManager.h"
#include "game/look/StyleSettings.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/FlowFixture.h"

namespace {

namespace fs = std::filesystem;
using apptest::FlowFixture;
using Solitaire::RunningGame;
using Solitaire::SolitaireGame2;

class GameDispatchTest : public FlowFixture {
protected:
    // A free game of the row of hearts with count hearts on the goal pile.
    void freeGame(int count) {
        ASSERT_TRUE(Solitaire::SolitaireManager::instance().setCurrentByNames(L"KLASSIKER", L"HERZREIHE", L"HERZREIHE"));
        click(L"FG_StartButton");
        settle(4.0);
        moveHearts(count);
    }
    // Sounds started by a click of the button, less those of a click without effect.
    int soundsOf(std::wstring const& name) {
        Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
        std::size_t const before = sounds.getActiveCount();
        click(name);
        std::size_t const withEffect = sounds.getActiveCount() - before;
        std::size_t const plain = sounds.getActiveCount();
        click(L"LA_CLOSE");
        std::size_t const without = sounds.getActiveCount() - plain;
        return static_cast<int>(withEffect) - static_cast<int>(without);
    }
    Solitaire::SolVariant* variant() const { return Solitaire::SolitaireManager::instance().getCurrentVariant(); }
};

TEST_F(GameDispatchTest, UndoAndRedoStepTheTableWithTheirSoundAndAchievements) {
    startFlow();
    freeGame(3);
    ASSERT_EQ(heartsOnGoal(), 3);
    struct {
        wchar_t const* button;
        int hearts;
        std::vector<wchar_t const*> bumped;  // empty: the table did not change
    } const rows[] = {
        {L"I_Undo_Step", 2, {L"UNDO_USED"}},
        {L"I_Redo_Step", 3, {L"UNDO_USED", L"REDO_USED"}},
        {L"I_Undo_Start", 0, {L"UNDO_USED", L"UNDOSTART_USED"}},
        {L"I_Undo_Start", 0, {}},  // nothing to undo: no sound, nothing counted
        {L"I_Redo_End", 3, {L"UNDO_USED", L"REDOEND_USED"}},
        {L"I_Redo_Step", 3, {}},
    };
    wchar_t const* const counted[] = {L"UNDO_USED", L"UNDOSTART_USED", L"REDO_USED", L"REDOEND_USED"};
    for (auto const& row : rows) {
        SCOPED_TRACE(testing::Message() << port::toUtf8(row.button) << " to " << row.hearts);
        std::vector<float> before;
        for (wchar_t const* name : counted) before.push_back(achievement(name));
        EXPECT_EQ(soundsOf(row.button) > 0, !row.bumped.empty()) << "the game style's UNDO";
        settle(1.0);
        EXPECT_EQ(heartsOnGoal(), row.hearts);
        for (std::size_t i = 0; i < std::size(counted); ++i) {
            bool const bumped = std::find_if(row.bumped.begin(), row.bumped.end(), [&](wchar_t const* b) {
                                    return std::wstring(b) == counted[i];
                                }) != row.bumped.end();
            EXPECT_EQ(achievement(counted[i]), before[i] + (bumped ? 1.0f : 0.0f)) << port::toUtf8(counted[i]);
        }
    }
}

// The game resumed in a new deal, as after a new start of the program, has the points balance it
// was saved with (the new deal's of a free game is 0).
TEST_F(GameDispatchTest, AQuickSaveResumesAndTheProfilesAreSavedWithIt) {
    startFlow();
    freeGame(2);
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    float const balance = cards.getPointsBalance();
    ASSERT_GT(balance, 0.0f) << "two hearts laid earn points";
    click(L"I_Save");
    Orvex::XMLNode saved;
    ASSERT_TRUE(saved.load(port::windowsPath((stage / "profile.prf").string())));
    std::function<bool(Orvex::XMLNode const&)> holdsSave = [&](Orvex::XMLNode const& node) {
        if (node.getName() == L"QUICK_SAVE" && node.getChildCount() > 0) return true;
        for (Orvex::XMLNode const* child : node.children())
            if (holdsSave(*child)) return true;
        return false;
    };
    EXPECT_TRUE(holdsSave(saved)) << "the profile file holds the running game";
    moveHearts(0);
    D3DXVECTOR2 const three = pointOf(*heart(2));
    doubleClickAt(three.x, three.y);
    settle(1.0);
    ASSERT_EQ(heartsOnGoal(), 3);
    click(L"I_Load");
    settle(1.0);
    EXPECT_EQ(heartsOnGoal(), 2);
    // The time drains the balance as it drains the score: a second at most here.
    float const drained = 2.0f;
    EXPECT_NEAR(cards.getPointsBalance(), balance, drained);

    click(L"P_NEUSTART");
    settle(4.0);
    ASSERT_EQ(heartsOnGoal(), 0);
    ASSERT_GT(std::abs(cards.getPointsBalance() - balance), 10.0f);
    click(L"I_Load");
    settle(1.0);
    EXPECT_EQ(heartsOnGoal(), 2);
    EXPECT_NEAR(cards.getPointsBalance(), balance, drained);
}

TEST_F(GameDispatchTest, ShuffleAndHintCountTheirUseWhileTheGameRuns) {
    startFlow();
    freeGame(1);
    // Points that pay the shuffle (refused for its price otherwise, as a hint is).
    Solitaire::Kartenmanager::instance().changeScore(1000.0f);
    float const shuffles = achievement(L"SHUFFLE_USED");
    float const tips = achievement(L"TIPP_USED");
    EXPECT_GT(soundsOf(L"I_Shuffle"), 0) << "the game style's MIX";
    EXPECT_EQ(achievement(L"SHUFFLE_USED"), shuffles + 1.0f);
    click(L"I_TIPP");
    EXPECT_EQ(achievement(L"TIPP_USED"), tips + 1.0f) << "the two of hearts may go to the goal";
    EXPECT_EQ(Solitaire::SolitaireManager::instance().getGameStatistik()->get(Solitaire::StatistikCounter::Hints), 1u);
}

// Once the game has ended the buttons of the running game do nothing.
TEST_F(GameDispatchTest, TheRunningGamesButtonsAreIgnoredOnceItHasEnded) {
    startFlow();
    freeGame(2);
    click(L"I_END_GAME");
    ASSERT_TRUE(game->getRunning().gameOver);
    EXPECT_EQ(game->getRunning().outcome, -1);
    wchar_t const* const counted[] = {L"UNDO_USED", L"SHUFFLE_USED", L"TIPP_USED"};
    std::vector<float> before;
    for (wchar_t const* name : counted) before.push_back(achievement(name));
    int const hearts = heartsOnGoal();
    for (wchar_t const* button : {L"I_Undo_Step", L"I_Undo_Start", L"I_Save", L"I_Load", L"I_Shuffle", L"I_TIPP",
                                  L"I_END_GAME", L"P_HILFE", L"I_Info", L"I_Shop"}) {
        click(button);
        EXPECT_TRUE(game->getRunning().gameOver) << port::toUtf8(button);
    }
    settle(1.0);
    EXPECT_EQ(heartsOnGoal(), hearts);
    for (std::size_t i = 0; i < std::size(counted); ++i) EXPECT_EQ(achievement(counted[i]), before[i]);
}

TEST_F(GameDispatchTest, RestartingAndLeavingAGame) {
    startFlow();
    struct {
        wchar_t const* button;
        wchar_t const* menu;
        bool running;  // a new deal runs
        bool abandoned;
    } const rows[] = {
        {L"P_NEUSTART", L"INGAMEMENU", true, false},
        {L"A_RESTART", L"INGAMEMENU", true, false},
        {L"P_ENDE", L"FREIESSPIELMENU", false, true},
        {L"FG_Preview", L"INGAMEMENU", true, false},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(port::toUtf8(row.button));
        freeGame(2);
        Solitaire::Statistik const* statistics = variant()->getStatistik();
        Orvex::u32 const ended = statistics->get(Solitaire::StatistikCounter::Ended);
        click(row.button);
        settle(1.0);
        EXPECT_EQ(activeMenu(), row.menu);
        EXPECT_EQ(game->getRunning().levelAbandoned, row.abandoned);
        if (row.running) EXPECT_EQ(heartsOnGoal(), 0) << "dealt anew";
        EXPECT_EQ(statistics->get(Solitaire::StatistikCounter::Ended), ended + (row.abandoned ? 1u : 0u));
    }
}

TEST_F(GameDispatchTest, TheShopOpensOnlyInACampaignLevel) {
    startFlow("<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"/></PROFILE>");
    freeGame(0);
    click(L"I_Shop");
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    ASSERT_EQ(game->startCampaignLevel(0, 0, true), RunningGame::kGameStarted);
    click(L"I_Shop");
    EXPECT_EQ(activeMenu(), L"SHOPMENU");
}

TEST_F(GameDispatchTest, TheHighscoreRowsPlayDeleteAndCopyTheSelectedEntry) {
    startFlow();
    freeGame(13);
    ASSERT_EQ(variant()->getHighscores().size(), 1u);
    Solitaire::HighscoreEintrag* entry = variant()->getHighscores()[0];
    std::wstring const seed = entry->getGameName();
    ASSERT_FALSE(seed.empty());
    game->getResults().selectHighscore(entry);
    click(L"HSE_COPYSEED");
    EXPECT_EQ(Solitaire::labelOf(find(L"FG_SEED"))->getText(), seed);
    EXPECT_EQ(game->getRunning().seedText, L"");
    EXPECT_EQ(activeMenu(), L"STATISTIKENGAMEMENU");
    click(L"HSE_SPIELEN");
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_EQ(Solitaire::Kartenmanager::instance().getSeedText(), seed) << "the entry's game again";
    click(L"HSE_DELETE");
    EXPECT_TRUE(variant()->getHighscores().empty());
    EXPECT_EQ(game->getResults().getSelectedHighscore(), nullptr);
    EXPECT_EQ(activeMenu(), L"STATISTIKENGAMEMENU");
}

TEST_F(GameDispatchTest, TheStatisticsResetsClearTheVariantsAndTheProfilesCounts) {
    startFlow();
    freeGame(13);
    ASSERT_FALSE(variant()->getHighscores().empty());
    click(L"STG_RESET");
    EXPECT_TRUE(variant()->getHighscores().empty());
    EXPECT_EQ(variant()->getStatistik()->get(Solitaire::StatistikCounter::Won), 0u);
    Solitaire::Statistik* overall = Solitaire::StatistikManager::instance().find(Solitaire::StatistikManager::kProfileSetName);
    ASSERT_NE(overall, nullptr);
    ASSERT_GT(overall->get(Solitaire::StatistikCounter::Started), 0u);
    click(L"ST_RESET");
    EXPECT_EQ(overall->get(Solitaire::StatistikCounter::Started), 0u);
}

TEST_F(GameDispatchTest, TheExitQuestionAndItsYes) {
    startFlow();
    click(L"H_Exit");
    EXPECT_EQ(activeMenu(), L"BEENDENMENU");
    click(L"B_OK");
    EXPECT_NE(Orvex::OrvexEngine::getInstance()->getRunState(), Orvex::OrvexEngine::kRunning);
    EXPECT_EQ(Orvex::OrvexEngine::getInstance()->getExitCode(), 0);
}

TEST_F(GameDispatchTest, CardSetAndBackStepWithinTheirRange) {
    startFlow();
    Solitaire::StyleSettings& styles = Solitaire::StyleSettings::instance();
    int const sets = styles.getKartensetCount();
    ASSERT_GT(sets, 0);
    auto setIndex = [&] { return styles.indexOfKartenset(styles.getCardSetSet()); };
    styles.selectKartensetByIndex(0);
    click(L"O_CARDSET_PREV");
    EXPECT_EQ(setIndex(), 0) << "the first set stays";
    click(L"O_CARDSET_NEXT");
    EXPECT_EQ(setIndex(), std::min(1, sets - 1));
    styles.selectKartensetByIndex(sets - 1);
    click(L"O_CARDSET_NEXT");
    EXPECT_EQ(setIndex(), sets - 1) << "the last set stays";
    styles.setCardsBack(0);
    click(L"O_CARDBACK_PREV");
    EXPECT_EQ(styles.getCardsBack(), 0);
    styles.setCardsBack(5);
    if (styles.getCardsBack() == 5) {
        click(L"O_CARDBACK_NEXT");
        EXPECT_EQ(styles.getCardsBack(), 5) << "six backs";
    }
}

// Leaving the options steps back past the warning and the options themselves; an options screen
// at the oldest entry of the history ends the walk there.
TEST_F(GameDispatchTest, LeavingTheOptionsStepsBackPastTheirDialogsAndStopsAtTheOldestEntry) {
    struct {
        char const* first;
        std::vector<wchar_t const*> opened;
        wchar_t const* landed;
    } const cases[] = {
        {"STARTMENU", {L"OPTIONENMENU", L"WARNINGMENU"}, L"HAUPTMENU"},
        {"STARTMENU", {L"OPTIONENMENU", L"USE_SETTINGS_MENU", L"WARNINGMENU"}, L"HAUPTMENU"},
        {"OPTIONENMENU", {L"WARNINGMENU"}, L"OPTIONENMENU"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.first);
        firstMenu = c.first;
        startFlow();
        for (wchar_t const* menu : c.opened) Orvex::GUIMenuManagerN::instance().activateMenu(menu, -1.0);
        click(L"O_Back");
        EXPECT_EQ(activeMenu(), c.landed);
        stop();
        TearDown();
    }
}

// The wallpaper "FT_WALLPAPER" is saved under the button's user id in the user folder; a user id
// that names a folder is refused.
TEST_F(GameDispatchTest, AWallpaperIsSavedUnderItsUserIdAndNeverElsewhere) {
    fs::path const user(port::hostPath(Orvex::AppInfo::getInstance().getUserFolder()));
    fs::create_directories(user);
    struct {
        char const* userId;
        bool saved;
    } const cases[] = {{"Tapete", true}, {"..\\Tapete", false}, {"Ordner/Tapete", false}, {"", false}};
    for (auto const& c : cases) {
        SCOPED_TRACE(c.userId);
        fs::remove(user / "Tapete.png");
        fs::remove(user.parent_path() / "Tapete.png");
        dataEdits = {{"data/GUI/FlowTest.gui", "USER_ID=\"Tapete\"", "USER_ID=\"" + std::string(c.userId) + "\""}};
        startFlow();
        click(L"FT_WALLPAPER");
        EXPECT_EQ(fs::exists(user / "Tapete.png"), c.saved);
        EXPECT_FALSE(fs::exists(user.parent_path() / "Tapete.png"));
        EXPECT_EQ(activeMenu(), c.saved ? L"EXTRASMENUW_SAVED" : L"HAUPTMENU");
        stop();
        TearDown();
    }
}

TEST_F(GameDispatchTest, ANameNoRowKnowsDoesNothing) {
    startFlow();
    for (wchar_t const* button : {L"FT_KNOPF", L"LA_CLOSE"}) {
        click(button);
        EXPECT_EQ(activeMenu(), L"HAUPTMENU");
    }
}

}  // namespace
