// Menu switching and mouse routing in the real game: leaving the start screen by a click for
// the new-profile dialog, the profile screen or the main menu (a menu change that opens another
// while the menu manager runs its link), the first profile's dialog free of tutorials, the tutorials of
// the menus, the screen states, the pause screen over the game, the HUD looks of the story, the
// shop's labels, connections made once, and where presses, releases and double clicks go.
#include <gtest/gtest.h>

#include <functional>

#include "engine/core/PerfTimer.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/SoundManager.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/StatistikManager.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/win32_text.h"
#include "port/win32/win32_version.h"
#include "tests/game/app/FlowFixture.h"

namespace {

using apptest::FlowFixture;
using Solitaire::RunningGame;
using Solitaire::SolitaireGame2;

std::string const kAnna = "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"/></PROFILE>";

class GameMenusTest : public FlowFixture {
protected:
    void freeGame(wchar_t const* variant = L"HERZREIHE") {
        ASSERT_TRUE(Solitaire::SolitaireManager::instance().setCurrentByNames(L"KLASSIKER", L"HERZREIHE", variant));
        click(L"FG_StartButton");
        settle(4.0);
    }
    std::vector<std::wstring> history() const {
        std::vector<std::wstring> names;
        for (Orvex::GUIMenuN const* menu : Orvex::GUIMenuManagerN::instance().getHistory()) names.push_back(menu->getName());
        return names;
    }
    std::wstring goalOf(wchar_t const* window) const { return find(window)->getCurrentState().name; }
    Solitaire::Karte* held() const { return Solitaire::Kartenmanager::instance().getHeldCard(); }
};

// The start screen is left by its own link to the main menu; the game answers that switch by
// opening the menu the profiles call for, inside the link's run. No tutorial comes while the first
// profile is made; an active profile is offered the tutorials of the main menu.
TEST_F(GameMenusTest, LeavingTheStartScreenOpensWhatTheProfilesCallFor) {
    withPlayer = false;
    startAtMainMenu = false;
    struct {
        char const* what;
        std::string profiles;
        std::vector<std::wstring> history;
        bool blocked;
    } const cases[] = {
        {"no profile", "", {L"STARTMENU", L"HAUPTMENU", L"NEUESPROFIL"}, true},
        {"profiles, none active", "<PROFILE><PROFIL NAME=\"Anna\"/><PROFIL NAME=\"Ben\"/></PROFILE>",
         {L"STARTMENU", L"HAUPTMENU", L"PROFILMENU"}, false},
        {"an active profile", kAnna, {L"STARTMENU", L"HAUPTMENU", L"TUTORIALMENU"}, false},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        startFlow(c.profiles);
        for (wchar_t const* strip : {L"TUTORIALMENU", L"NEUESPROFIL", L"PROFILMENU"}) addStrip(strip);
        ASSERT_EQ(activeMenu(), L"STARTMENU");
        click(find(L"SM_Fenster"));
        EXPECT_EQ(history(), c.history);
        EXPECT_EQ(game->getNewProfileDialog().isFirstProfileBlocked(), c.blocked);
        EXPECT_EQ(game->getNewProfileDialog().isFirstProfileDialog(), c.blocked);
        if (c.blocked) EXPECT_TRUE(shownTutorials().empty()) << "no tutorial while the first profile is made";
        stop();
        TearDown();
    }
}

// The first profile's dialog takes the player's first press and keys: no tutorial comes over it
// (a page there would take the typed letters), its field offers the name that Return makes, and
// it cannot be cancelled (a warning says so). The tutorials come with the main menu once the profile
// exists.
TEST_F(GameMenusTest, TheFirstPressReachesTheDialogAndItCannotBeCancelled) {
    withPlayer = false;
    startFlow();
    for (wchar_t const* strip : {L"NEUESPROFIL", L"TUTORIALMENU", L"HAUPTMENU"}) addStrip(strip);
    click(find(L"SM_Fenster"));
    ASSERT_EQ(activeMenu(), L"NEUESPROFIL");
    Orvex::GUILabel* field = Solitaire::labelOf(find(L"NP_ProfilName_LABEL"));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->getText(), game->getNewProfileDialog().makeDefaultName()) << "the field shows the name Return makes";
    for (int i = 0; i < 3; ++i) step(0.3);
    EXPECT_TRUE(field->isCaretVisible()) << "the caret shows before the first key";
    click(find(L"NP_ProfilName_LABEL"));
    click(L"NP_CancelButton");
    EXPECT_EQ(activeMenu(), L"WARNINGMENU") << "the first profile cannot be cancelled, and the player is told why";
    EXPECT_EQ(Solitaire::labelOf(find(L"W_WarningLabel"))->getText(), L"Lege zuerst ein Profil an.");
    for (int i = 0; i < 3; ++i) step(0.3);  // the warning comes in
    click(find(L"W_OK"));
    EXPECT_EQ(activeMenu(), L"NEUESPROFIL");
    EXPECT_TRUE(game->getNewProfileDialog().isFirstProfileBlocked());
    EXPECT_TRUE(shownTutorials().empty()) << "no tutorial over the first profile's dialog";
    field->setText(L"Anna");
    click(L"NP_OKButton");
    ASSERT_NE(profile(), nullptr);
    EXPECT_EQ(profile()->getName(), L"Anna");
    EXPECT_FALSE(game->getNewProfileDialog().isFirstProfileDialog());
    EXPECT_FALSE(game->getNewProfileDialog().isFirstProfileBlocked());
    ASSERT_EQ(shownTutorials().size(), 1u) << "the main menu brings the tutorials";
    EXPECT_EQ(shownTutorials()[0].name, L"TUTORIALMENU");
    Solitaire::SolTutorialManager::instance().closeTutorial();
    ASSERT_EQ(shownTutorials().size(), 2u) << "the main menu's own after the first";
    EXPECT_EQ(shownTutorials()[1].name, L"HAUPTMENU");
}

// Keys act while the first profile is made (F7 takes its screenshot) and leave the dialog open
// without a tutorial.
TEST_F(GameMenusTest, KeysActWhileTheFirstProfileIsMade) {
    withPlayer = false;
    startFlow();
    addStrip(L"TUTORIALMENU");
    click(find(L"SM_Fenster"));
    ASSERT_TRUE(game->getNewProfileDialog().isFirstProfileBlocked());
    Orvex::KeyState keys;
    unsigned char const code = Solitaire::Screenshots::kScreenshotKey;
    game->onKeyPressed(keys, code);
    EXPECT_TRUE(game->getNewProfileDialog().isFirstProfileBlocked());
    EXPECT_EQ(activeMenu(), L"NEUESPROFIL");
    EXPECT_TRUE(shownTutorials().empty());
}

TEST_F(GameMenusTest, EachMenuSetsItsScreenStateAndOffersItsTutorial) {
    // The intro seen: no scene comes before the level screen.
    startFlow("<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"><UNLOCKS>\"|STORY_INTRO|\"</UNLOCKS></PROFIL></PROFILE>");
    ASSERT_TRUE(profile()->isUnlocked(L"STORY_INTRO"));
    for (wchar_t const* strip : {L"INGAMEMENU_FG", L"INGAMEMENU_STORY", L"LEVELAUSWAHLMENU", L"KATEGORIEMENU"}) addStrip(strip);
    struct {
        wchar_t const* menu;
        int state;
    } const rows[] = {
        {L"KATEGORIEMENU", SolitaireGame2::kScreenMenu},
        {L"LEVELAUSWAHLMENU", SolitaireGame2::kScreenLevels},
        {L"AUSWERTUNGMENU", SolitaireGame2::kScreenMenu},
        {L"INGAMEMENU", SolitaireGame2::kScreenInGame},
        {L"PROFILMENU", SolitaireGame2::kScreenMenu},
    };
    for (auto const& row : rows) {
        Orvex::GUIMenuManagerN::instance().activateMenu(row.menu, -1.0);
        EXPECT_EQ(game->getScreenState(), row.state) << port::toUtf8(row.menu);
    }
    std::vector<std::wstring> shown;
    for (ShownTutorial const& t : shownTutorials()) shown.push_back(t.name);
    // The in-game screen's tutorial by the kind of game: the last game was none, a free one.
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"KATEGORIEMENU", L"LEVELAUSWAHLMENU", L"INGAMEMENU_FG"}));
    ASSERT_EQ(game->startCampaignLevel(0, 0, true), RunningGame::kGameStarted);
    EXPECT_EQ(shownTutorials().back().name, L"INGAMEMENU_STORY");
}

// A scene due as the level screen is entered plays first, over no cards; the screen's cards and,
// with tutorials on, its tutorial come as the scene ends on that screen (the tutorial stays,
// though the scene's end opens the screen once more).
TEST_F(GameMenusTest, TheLevelScreensSceneComesFirstThenItsTutorialOverItsCards) {
    struct {
        char const* show;
        std::vector<std::wstring> shown;
        wchar_t const* menuAfter;
    } const rows[] = {{"1", {L"STORY", L"LEVELAUSWAHLMENU"}, L"TUTORIALMENU"}, {"0", {L"STORY"}, L"LEVELAUSWAHLMENU"}};
    withStory = true;
    for (auto const& row : rows) {
        startFlow(std::string("<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"><TUTORIAL SHOW=\"") + row.show +
                  "\"/><KAMPAGNE><KAPITEL KAPITEL=\"0\" RESULT=\"1\"><LEVEL LEVEL=\"0\" RESULT=\"1\"/></KAPITEL>"
                  "</KAMPAGNE></PROFIL></PROFILE>");
        addStrip(L"STORY");
        addStrip(L"LEVELAUSWAHLMENU");
        Orvex::GUIMenuManagerN::instance().activateMenu(L"LEVELAUSWAHLMENU", -1.0);
        ASSERT_NE(game->getStoryPart(), nullptr) << row.show;
        EXPECT_EQ(find(L"LA_LevelButton_0"), nullptr) << "no cards behind the scene";
        click(L"T_END_STORY_CLICK");
        std::vector<std::wstring> shown;
        for (ShownTutorial const& t : shownTutorials()) shown.push_back(t.name);
        EXPECT_EQ(shown, row.shown) << row.show;
        EXPECT_EQ(shownTutorials().back().menu, L"LEVELAUSWAHLMENU");
        EXPECT_NE(find(L"LA_LevelButton_0"), nullptr) << "the cards";
        EXPECT_EQ(activeMenu(), row.menuAfter);
        TearDown();
    }
}

// The pause screen stops the game's clock over the table, also when it is opened over itself,
// keeps the table from the pointer, shows its buttons in the look of the kind of game, and the
// way back runs the clock again.
TEST_F(GameMenusTest, ThePauseScreenStopsTheClockAndKeepsTheTableFromThePointer) {
    startFlow(kAnna);
    freeGame();
    Orvex::PerfTimer& timer = Orvex::PerfTimer::frameTimer();
    Orvex::GUIMenuManagerN& menus = Orvex::GUIMenuManagerN::instance();
    ASSERT_TRUE(menus.activateMenu(L"PAUSEMENU", -1.0));
    EXPECT_EQ(timer.getPauseMask() & 2u, 2u);
    EXPECT_EQ(goalOf(L"P_ENDE"), L"FG");
    Orvex::GUIMenuN* pause = menus.getActiveMenu();
    game->onMenuChanged(*pause, pause);
    EXPECT_EQ(timer.getPauseMask() & 2u, 2u) << "over itself it stays paused";
    settle(0.5);
    D3DXVECTOR2 const ace = pointOf(*heart(0));
    pressAt(ace.x, ace.y);
    EXPECT_EQ(held(), nullptr) << "the veil takes the press";
    releaseAt(ace.x, ace.y);
    click(find(L"P_WEITER"));
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_EQ(timer.getPauseMask() & 2u, 0u);
    ASSERT_EQ(game->startCampaignLevel(0, 0, true), RunningGame::kGameStarted);
    menus.activateMenu(L"PAUSEMENU", -1.0);
    EXPECT_EQ(goalOf(L"P_ENDE"), L"ST");
}

// "I_HG" follows the category's story flag and the started variant's alternative look.
TEST_F(GameMenusTest, TheInGameLookFollowsTheStoryAndTheAlternativeLook) {
    startFlow(kAnna);
    freeGame(L"HERZREIHE");
    EXPECT_EQ(goalOf(L"I_HG"), L"FG");
    freeGame(L"HERZREIHE_ALT");
    EXPECT_EQ(goalOf(L"I_HG"), L"FG") << "the alternative look outside a story category";
    ASSERT_EQ(game->startCampaignLevel(1, 0, true), RunningGame::kGameStarted);
    EXPECT_EQ(goalOf(L"I_HG"), L"ST");
    ASSERT_EQ(game->startCampaignLevel(1, 1, true), RunningGame::kGameStarted);
    EXPECT_EQ(goalOf(L"I_HG"), L"ST_ALT");
}

// The shop's labels and the version label get their texts formatted with the game's numbers; a
// text that asks for another kind than it is given ("%s" for a number) prints nothing there.
TEST_F(GameMenusTest, TheShopAndCreditsLabelsShowTheirNumbers) {
    startFlow(kAnna);
    freeGame();
    Solitaire::Kartenmanager::instance().setPointsBalance(1234567.0f, true);
    Orvex::GUIMenuManagerN::instance().activateMenu(L"SHOPMENU", -1.0);
    EXPECT_EQ(Solitaire::labelOf(find(L"S_MONEY"))->getText(), L"Zahl 1.234.567");
    EXPECT_EQ(Solitaire::labelOf(find(L"S_PRICE_JOKER"))->getText(), L"Zahl 25.000");
    EXPECT_EQ(Solitaire::labelOf(find(L"S_PRICE_WILDCARD"))->getText(), L"Zahl 10.000");
    Orvex::GUIMenuManagerN::instance().activateMenu(L"CREDITSMENU", -1.0);
    port::VersionBlock const& version = port::versionBlock();
    EXPECT_EQ(Solitaire::labelOf(find(L"C_Version"))->getText(),
              L"Version " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor));
}

TEST_F(GameMenusTest, AScreenEnteredAgainKeepsOneConnection) {
    startFlow(kAnna);
    Orvex::GUIWindow* frame = find(L"STG_StatistikenGameFrame");
    std::size_t const before = frame->goalReached.connection_count();
    for (int i = 0; i < 3; ++i) {
        Orvex::GUIMenuManagerN::instance().activateMenu(L"STATISTIKENGAMEMENU", -1.0);
        Orvex::GUIMenuManagerN::instance().activateMenu(L"HAUPTMENU", -1.0);
    }
    EXPECT_EQ(frame->goalReached.connection_count(), before + 1);
}

// Presses on HUD windows click, with "KLICK2" on the press and "KLICK" on the release, and the
// card manager sees neither; presses on the table go to the card manager, also after the pointer
// rested on the card (its tooltip's hot spot then lies under the pointer, a window that hands its
// input to the table) and while the banner or the help panel is up (the press dismisses it too),
// unless an armed power is disarmed by another button or the game has ended. A press beside the
// cards with a panel up only dismisses the panel.
TEST_F(GameMenusTest, PressesGoToTheGuiOrTheTableOrDismissAPanel) {
    startFlow(kAnna);
    freeGame();
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    // The hover passes run on the frames' clock, as they run on the wall clock in the game.
    cards.setClock([] { return static_cast<Orvex::u32>(Orvex::PerfTimer::frameTimer().getRealTime() * 1000.0); });
    Orvex::GUIWindow* hudButton = button(L"FT_KNOPF");
    Orvex::FRect const r = hudButton->getScreenRect();
    float const bx = (r.left + r.right) * 0.5f, by = (r.top + r.bottom) * 0.5f;
    moveTo(bx, by);
    std::size_t const before = sounds.getActiveCount();
    pressAt(bx, by);
    EXPECT_EQ(sounds.getActiveCount(), before + 1) << "KLICK2";
    releaseAt(bx, by);
    EXPECT_EQ(sounds.getActiveCount(), before + 2) << "KLICK";
    EXPECT_EQ(held(), nullptr);

    D3DXVECTOR2 const ace = pointOf(*heart(0));
    D3DXVECTOR2 const beside(kQuietX, kQuietY);
    auto rest = [&] {
        moveTo(ace.x, ace.y);
        settle(1.5);
        Orvex::GUIWindow const* under = Orvex::GUISystem::instance().getActiveWindow();
        EXPECT_EQ(under ? under->getName() : L"(none)", L"TMPWINDOW") << "the tooltip's hot spot under the pointer";
    };
    struct {
        char const* what;
        std::function<void()> arrange;
        D3DXVECTOR2 at;
        Orvex::OrvexMouseButton button;
        bool reachesTable;
    } const rows[] = {
        {"a plain press", [] {}, ace, Orvex::OMB_LEFT, true},
        {"a press after a rest on the card", rest, ace, Orvex::OMB_LEFT, true},
        {"the banner up (its blend still at 0.4)", [&] { game->getHud().getGameNameBlend() = {0.4f, 1.0f}; }, ace,
         Orvex::OMB_LEFT, true},
        {"the banner up, a press beside the cards", [&] { game->getHud().getGameNameBlend() = {1.0f, 1.0f}; }, beside,
         Orvex::OMB_LEFT, false},
        {"the help panel up", [&] { game->getHud().getHelpBlend() = {1.0f, 1.0f}; }, ace, Orvex::OMB_LEFT, true},
        {"a power armed, the right button", [&] { cards.setClickMode(Solitaire::kClickReveal); }, ace,
         Orvex::OMB_RIGHT, false},
        {"the game ended", [&] { endLevel(); }, ace, Orvex::OMB_LEFT, false},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        row.arrange();
        pressAt(row.at.x, row.at.y, row.button);
        EXPECT_EQ(held() != nullptr, row.reachesTable);
        releaseAt(row.at.x, row.at.y, row.button);
        EXPECT_EQ(game->getHud().getGameNameBlend().target, 0.0f);
        EXPECT_EQ(game->getHud().getHelpBlend().target, 0.0f);
        settle(0.5);
    }
    EXPECT_EQ(cards.getClickMode(), Solitaire::kClickNormal) << "disarmed";
    cards.setClock({});
}

// A press while the results delay runs skips it: the next update opens the results.
TEST_F(GameMenusTest, APressSkipsTheResultsDelay) {
    startFlow(kAnna);
    freeGame();
    moveHearts(13);
    ASSERT_EQ(game->getResultsDelay().pending, 1);
    pressAt(kQuietX, kQuietY);
    releaseAt(kQuietX, kQuietY);
    step(1.0 / 30.0);
    EXPECT_EQ(activeMenu(), L"AUSWERTUNGMENU");
}

// A game started while the results delay of the one before still runs does not get its results
// screen (a restart from the pause screen while the cards fly off).
TEST_F(GameMenusTest, ANewGameEndsTheResultsDelayOfTheOneBefore) {
    startFlow(kAnna);
    freeGame();
    moveHearts(13);
    ASSERT_EQ(game->getResultsDelay().pending, 1);
    click(L"P_NEUSTART");
    settle(12.0);
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_EQ(game->getResultsDelay().pending, 0);
}

// The pause screen over a dealt table and a warning over the main menu, kept in the build
// folder for a person to look at (without the test's own windows).
TEST_F(GameMenusTest, ScreenshotsOfThePauseScreenAndAWarning) {
    startFlow(kAnna);
    freeGame();
    for (wchar_t const* mine : {L"FT_Tafel", L"FT_Extras"}) find(mine)->getOptions().visible = false;
    Orvex::GUIMenuManagerN::instance().activateMenu(L"PAUSEMENU", -1.0);
    settle(1.0);
    std::vector<uint32_t> const pixels = frame();
    keepBackBuffer("pause_screen_1024x768.png");
    Orvex::FRect const panel = find(L"PS_Rahmen")->getScreenRect();
    uint32_t const body = at(pixels, static_cast<unsigned>(panel.left + 20), static_cast<unsigned>(panel.top + 200));
    EXPECT_LT((body >> 16) & 0xFF, 0x40u) << "the dark panel over the veiled table";
    click(find(L"P_ENDE"));
    game->getNewProfileDialog().showWarning(L"Ein Profil dieses Namens gibt es schon.");
    settle(1.0);
    frame();
    keepBackBuffer("warning_1024x768.png");
    EXPECT_EQ(activeMenu(), L"WARNINGMENU");
    click(find(L"W_OK"));
    EXPECT_EQ(activeMenu(), L"FREIESSPIELMENU");
}

}  // namespace
