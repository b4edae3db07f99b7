// The in-game HUD, the shop and the results as a player meets them in the player's window of
// 1280 x 720: every action an SDL event in the real window (the mini-games' headless game object),
// on the game's own data or on a copy whose campaign is the row of hearts. What the player sees
// is read from the windows' goals, rectangles and labels and from the drawn pixels. Screenshots
// go to the build folder's "screenshots" ("played_hud_*.png").
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <SDL.h>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/AchievementScreen.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/TableRenderer.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/support/SdlEvents.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using minigametest::narrow;

// A player of an earlier session: tutorials off, the intro seen, the first two chapters open.
constexpr char kPlayer[] = R"(<PROFILE ACTIVE_PROFIL="Anna">
<PROFIL NAME="Anna" POINTS="960">
<TUTORIAL SHOW="0"/>
<UNLOCKS>"|STORY_INTRO|"</UNLOCKS>
<KAMPAGNE>
<KAPITEL KAPITEL="0" RESULT="1"><LEVEL LEVEL="0" RESULT="1"/><LEVEL LEVEL="1" RESULT="1"/><LEVEL LEVEL="2" RESULT="1"/></KAPITEL>
<KAPITEL KAPITEL="1" RESULT="1"><LEVEL LEVEL="0" RESULT="1"/><LEVEL LEVEL="1" RESULT="1"/><LEVEL LEVEL="2" RESULT="1"/><LEVEL LEVEL="6" RESULT="1"/></KAPITEL>
</KAMPAGNE>
</PROFIL>
</PROFILE>
)";

class PlayedHudTest : public minigametest::MinigameFixture {
protected:
    void SetUp() override {
        screenWidth = 1280;
        screenHeight = 720;
        makeHome("played_hud", profileText, flowCatalogue || !edits.empty());
        if (flowCatalogue)
            fs::copy_file(testsupport::sourceDir() / "tests/game/app/flow_data/Level.dat", home / "data/Level/Level.dat",
                          fs::copy_options::overwrite_existing);
        for (Edit const& edit : edits) {
            std::string text = testsupport::readFile(home / edit.file);
            std::size_t const at = text.find(edit.from);
            ASSERT_NE(at, std::string::npos) << edit.file << ": " << edit.from;
            text.replace(at, edit.from.size(), edit.to);
            testsupport::writeFile(home / edit.file, text);
        }
        withPlayer = false;
        MinigameFixture::SetUp();
    }
    void TearDown() override {
        MinigameFixture::TearDown();
        removeHome();
    }

    // The main menu: the start screen left, other screens stepped back from by Escape.
    void toMainMenu() {
        if (activeMenu() == L"STARTMENU") clickOn(L"SM_Fenster");
        for (int i = 0; i < 3 && activeMenu() != L"HAUPTMENU"; ++i) pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    }
    // Level `level` of the chapter behind the chapter screen's button `chapterButton` (1 is the
    // first), chosen as the player chooses it; the deal lands.
    void startLevel(int chapterButton, int level) {
        toMainMenu();
        clickOn(L"H_Kampagne");
        clickOn(L"K_KategorieButton" + std::to_wstring(chapterButton));
        ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
        clickOn(L"LA_LevelButton_" + std::to_wstring(level));
        ASSERT_EQ(activeMenu(), L"INGAMEMENU");
        wait(3.0);
    }
    // A free game of the category and game, started from the free-play screen.
    void startFree(std::wstring const& category, std::wstring const& name) {
        toMainMenu();
        clickOn(L"H_FreiesSpiel");
        clickOn(L"FG_Kategorie_" + category);
        clickOn(L"FG_Game_" + name);
        clickOn(L"FG_StartButton");
        ASSERT_EQ(activeMenu(), L"INGAMEMENU");
        wait(3.0);
    }
    void pressKey(SDL_Scancode code, SDL_Keycode sym) {
        testsupport::pushKey(windowId(), code, true, sym);
        tick(false);
        testsupport::pushKey(windowId(), code, false, sym);
        settle();
    }
    static std::wstring textOf(std::wstring const& name) {
        Orvex::GUILabel* label = Solitaire::findLabel(name);
        return label ? label->getText() : L"(no label)";
    }
    static std::wstring goalOf(std::wstring const& name) {
        Orvex::GUIWindow* window = find(name);
        return window ? window->getTargetState().name : L"(no window)";
    }
    // The window a press at the point reaches.
    static Orvex::GUIWindow* pressedAt(D3DXVECTOR2 const& point) {
        return Orvex::GUISystem::instance().windowAt(point, Orvex::GUISystem::kHitInput);
    }
    static std::string nameAt(D3DXVECTOR2 const& point) {
        Orvex::GUIWindow* window = pressedAt(point);
        return window ? narrow(window->getName()) : "(nothing)";
    }
    // The sum of the colour channels of the drawn pixels within the window's rectangle.
    long brightnessOf(std::wstring const& name) {
        std::vector<uint32_t> const shot = pixels();
        Orvex::FRect const r = find(name)->getScreenRect();
        long sum = 0;
        for (int y = static_cast<int>(r.top); y < static_cast<int>(r.bottom); ++y)
            for (int x = static_cast<int>(r.left); x < static_cast<int>(r.right); ++x) {
                uint32_t const c = pixelAt(shot, D3DXVECTOR2(static_cast<float>(x), static_cast<float>(y)));
                sum += ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF);
            }
        return sum;
    }
    static bool overlap(Orvex::FRect const& a, Orvex::FRect const& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }
    // The end-game button's rectangle lies off the table's area and off every card and pile.
    void expectEndGameButtonOffTheTable() {
        Orvex::FRect const button = find(L"I_END_GAME")->getScreenRect();
        EXPECT_FALSE(overlap(button, Solitaire::SolitaireGame2::innerTableRect(game->getRenderer()->getWindowRect())));
        auto& cards = Solitaire::Kartenmanager::instance();
        for (Solitaire::Karte* card : cards.cards)
            EXPECT_FALSE(overlap(button, Solitaire::computeScreenRect(*card, cards.getCamera())));
        for (Solitaire::Kartenstapel* pile : cards.piles)
            EXPECT_FALSE(overlap(button, Solitaire::computeScreenRect(*pile, cards.getCamera()))) << narrow(pile->getName());
    }
    // The end-game button lies under no button of the panel (a window and its descendants).
    void expectEndGameButtonUnder(std::wstring const& panel) {
        Orvex::FRect const button = find(L"I_END_GAME")->getScreenRect();
        std::vector<Orvex::GUIWindow*> windows;
        find(panel)->collectDescendants(windows);
        int buttons = 0;
        for (Orvex::GUIWindow* window : windows) {
            if (!dynamic_cast<Orvex::GUIButton*>(window) && (window->getOptions().inputIgnore & 1)) continue;
            if (window->getOptions().inputToParent || dynamic_cast<Orvex::GUILabel*>(window)) continue;
            buttons += dynamic_cast<Orvex::GUIButton*>(window) != nullptr;
            EXPECT_FALSE(overlap(button, window->getScreenRect())) << narrow(window->getName());
        }
        EXPECT_GT(buttons, 0) << narrow(panel);
    }
    // A point of the window where the press reaches it.
    D3DXVECTOR2 pointOn(std::wstring const& name) { return reachablePointOf(*find(name)); }
    // The number a label shows after its text ("Punkte: 1.234" is 1234); -1 without one.
    static long numberIn(std::wstring const& text) {
        long value = -1;
        for (wchar_t c : text)
            if (c >= L'0' && c <= L'9') value = (value < 0 ? 0 : value * 10) + (c - L'0');
        return value;
    }

    // ---- the row of hearts ----
    // The hearts from the ace up dragged onto the goal pile, count cards in all.
    void moveHearts(int count) {
        auto& cards = Solitaire::Kartenmanager::instance();
        Solitaire::Kartenstapel* goal = cards.findPile(L"STAPEL_ZIEL");
        ASSERT_NE(goal, nullptr);
        for (int value = 0; value < count; ++value) {
            Solitaire::Karte* card = heart(value);
            ASSERT_NE(card, nullptr);
            drag(tablePoint(Solitaire::computeScreenRect(*card, cards.getCamera())),
                 tablePoint(Solitaire::computeScreenRect(*goal, cards.getCamera())), 6);
            wait(0.4);
        }
    }
    // The level played: count hearts onto the goal, then (unless that won it) ended by the HUD's
    // end-game button; the frames of the results delay watched until the results screen opens.
    // Returns the medal windows that came in meanwhile.
    std::vector<std::wstring> playAndEnd(int count) {
        std::vector<std::wstring> medals;
        dismissTablePanels();
        moveHearts(count);
        if (!game->getRunning().gameOver) clickOn(L"I_END_GAME");
        EXPECT_TRUE(game->getRunning().gameOver) << count << " hearts";
        for (double t = 0.0; t < 15.0 && activeMenu() != L"AUSWERTUNGMENU"; t += kStep) {
            tick(false);
            for (wchar_t const* medal : {L"I_ABSCHLUSS_NIX", L"I_ABSCHLUSS_BRONZE", L"I_ABSCHLUSS_SILBER",
                                         L"I_ABSCHLUSS_GOLD", L"I_ABSCHLUSS_PERFEKT"})
                if (goalOf(medal) == L"AN" && std::find(medals.begin(), medals.end(), medal) == medals.end())
                    medals.push_back(medal);
        }
        EXPECT_EQ(activeMenu(), L"AUSWERTUNGMENU");
        return medals;
    }

    struct Edit {
        std::string file;
        std::string from;
        std::string to;
    };
    std::string profileText = kPlayer;
    // The campaign of the row of hearts (tests/game/app/flow_data) instead of the shipped one.
    bool flowCatalogue = false;
    // Changes to a copy of the data before the game starts.
    std::vector<Edit> edits;
};

// ---- the HUD given back ----

// A press on a spot of the HUD without a button (the bottom panel, the top strip) does nothing:
// the panel there took the press, came to the front of the HUD and stayed over its buttons, dim
// and deaf for the rest of the level (its states forgot that it ignores input), also after the
// pause. The rules panel that "i" opens closes with the next press and gives the HUD back.
TEST_F(PlayedHudTest, AClickOnAnEmptySpotOfTheHudLeavesItsButtonsWorking) {
    struct Case {
        char const* what;
        bool campaign;
    };
    Case const cases[] = {{"a campaign level", true}, {"a free game", false}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.campaign)
            startLevel(2, 0);
        else
            startFree(L"KLASSIKER", L"ZELLEN");
        dismissTablePanels();
        settle();
        // Spots of the HUD without a button: the bottom panel right of "i" and left of the gods'
        // place, under the hint; the top strip between the multiplier and the title.
        Orvex::FRect const info = find(L"I_Info")->getScreenRect();
        Orvex::FRect const tip = find(L"I_TIPP")->getScreenRect();
        D3DXVECTOR2 const spots[] = {D3DXVECTOR2(info.right + 30.0f, (info.top + info.bottom) / 2.0f),
                                     D3DXVECTOR2((tip.left + tip.right) / 2.0f, static_cast<float>(height) - 6.0f),
                                     D3DXVECTOR2(static_cast<float>(width) * 0.33f, 8.0f)};
        long const lit = brightnessOf(L"I_Info");
        for (int round = 0; round < 2; ++round) {
            for (D3DXVECTOR2 const& spot : spots) {
                click(spot);
                settle();
            }
            EXPECT_EQ(nameAt(middleOf(L"I_Info")), "I_Info") << "round " << round;
            EXPECT_NEAR(static_cast<double>(brightnessOf(L"I_Info")), static_cast<double>(lit), lit * 0.05)
                << "round " << round << ": the button is not dimmed";
            keep(std::string("played_hud_empty_spot_") + (c.campaign ? "campaign" : "free"));
            // "i" opens the rules in the middle; the next press closes them.
            clickOn(L"I_Info");
            EXPECT_EQ(goalOf(L"I_Help"), L"CENTER");
            click(spots[0]);
            settle();
            EXPECT_EQ(goalOf(L"I_Help"), L"AUS");
            if (c.campaign) {
                clickOn(L"I_Shop");
                EXPECT_EQ(activeMenu(), L"SHOPMENU");
                pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
                EXPECT_EQ(activeMenu(), L"INGAMEMENU");
            }
            // Paused and resumed, the same again.
            pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            ASSERT_EQ(activeMenu(), L"PAUSEMENU");
            clickOn(L"P_WEITER");
            ASSERT_EQ(activeMenu(), L"INGAMEMENU");
        }
        pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        clickOn(L"P_ENDE");
    }
}

// Every window that ignores input keeps ignoring it in each of its states: a state's options
// start from the defaults, so one that leaves the key out lets the window take presses once the
// game sends it there.
TEST_F(PlayedHudTest, EveryWindowThatIgnoresInputKeepsItInEachOfItsStates) {
    std::vector<Orvex::GUIWindow*> windows;
    Orvex::GUISystem::instance().collectAllWindows(windows);
    int checked = 0;
    for (Orvex::GUIWindow* window : windows) {
        int const ignore = window->getDefaultGoal().options.inputIgnore;
        if (ignore == 0) continue;
        for (Orvex::GUIAnimationsGoal const* goal : window->getGoals()) {
            if (!goal->interpolateOptions) continue;  // the state keeps the window's options
            EXPECT_EQ(goal->options.inputIgnore, ignore) << narrow(window->getName()) << " at " << narrow(goal->name);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

// ---- the title ----

// The level's title stands whole in the top strip between the multiplier and the time: a long
// one takes a smaller font (it was cut at both ends), a short one keeps the strip's own.
TEST_F(PlayedHudTest, TheLevelsTitleFitsTheTopStrip) {
    struct Case {
        int chapterButton, level;
        wchar_t const* title;
        bool ownFont;
    };
    Case const cases[] = {
        {2, 1, L"Die lange Reise - Goldrausch (drei Karten)", false},
        {2, 0, L"Die lange Reise - Zellen", true},
    };
    for (Case const& c : cases) {
        startLevel(c.chapterButton, c.level);
        Orvex::GUILabel* title = Solitaire::findLabel(L"I_LevelName");
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->getText(), c.title);
        RECT const used = title->measureText();
        Orvex::FRect const room = title->getScreenRect();
        EXPECT_GE(static_cast<float>(used.left), room.left) << narrow(c.title);
        EXPECT_LE(static_cast<float>(used.right), room.right) << narrow(c.title);
        EXPECT_EQ(title->getFontName() == L"MenuKnopf", c.ownFont) << narrow(c.title);
        keep("played_hud_title_" + std::to_string(c.level));
        pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        clickOn(L"P_ENDE");
    }
}

// ---- ending a level ----

class PlayedEndLevelTest : public PlayedHudTest {
protected:
    void SetUp() override {
        flowCatalogue = true;
        // The row of hearts watches the ace's place; the first level's first star asks for two
        // hearts on the goal, the second level's for one.
        edits = {{"data/Level/Herzreihe.sol", "AUTO_CHECK_END=\"0\"", "AUTO_CHECK_END=\"0\" SPECIAL_STAPEL=\"PLATZ13\""},
                 {"data/Level/Level.dat", "MIN_CARDS=\"1\"", "MIN_CARDS=\"2\""}};
        PlayedHudTest::SetUp();
    }
};

// "Level beenden" stays away while ending would give no star and the watched pile holds cards
// (it showed from the first second, over the table); it comes in the bottom panel, off the table
// and under no button of the shop, the pause screen or its own question, so a quick double click
// on the shop's "Zurück" (which lay exactly over it) goes back to the table and no further. Ended
// without a star, the level asks first; with a star it ends at once.
TEST_F(PlayedEndLevelTest, TheEndButtonComesWithAStarOrTheEmptyPileAndAsksBeforeNoStar) {
    struct Case {
        char const* what;
        int level;
        bool asks;
        wchar_t const* result;  // how well, on the results screen
    };
    Case const cases[] = {
        {"the ace moved, no star yet", 0, true, L"A_HOW_WELL_0"},
        {"the ace moved and a star with it", 1, false, L"A_HOW_WELL_1"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        startLevel(1, c.level);
        dismissTablePanels();
        EXPECT_EQ(goalOf(L"I_END_GAME"), L"AUS") << "not from the first second";
        moveHearts(1);
        settle();
        ASSERT_EQ(goalOf(L"I_END_GAME"), L"AN") << "the watched place is empty";
        expectEndGameButtonOffTheTable();
        keep("played_hud_end_button_" + std::to_string(c.level));
        // The shop over the table, left by a quick double click on its way back.
        clickOn(L"I_Shop");
        ASSERT_EQ(activeMenu(), L"SHOPMENU");
        expectEndGameButtonUnder(L"S_Fenster");
        doubleClick(pointOn(L"S_Zurueck"));
        settle();
        EXPECT_EQ(activeMenu(), L"INGAMEMENU");
        EXPECT_FALSE(game->getRunning().gameOver);
        // The pause screen's buttons lie off it too.
        pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        ASSERT_EQ(activeMenu(), L"PAUSEMENU");
        expectEndGameButtonUnder(L"PS_Fenster");
        clickOn(L"P_WEITER");
        // Ended by the button.
        clickOn(L"I_END_GAME");
        if (c.asks) {
            ASSERT_EQ(activeMenu(), L"LEVELBEENDENMENU");
            EXPECT_FALSE(game->getRunning().gameOver);
            expectEndGameButtonUnder(L"LB_Fenster");
            keep("played_hud_end_question");
            clickOn(L"LB_CANCEL");
            EXPECT_EQ(activeMenu(), L"INGAMEMENU");
            EXPECT_FALSE(game->getRunning().gameOver) << "no: back to the level";
            clickOn(L"I_END_GAME");
            ASSERT_EQ(activeMenu(), L"LEVELBEENDENMENU");
            pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            EXPECT_EQ(activeMenu(), L"INGAMEMENU");
            EXPECT_FALSE(game->getRunning().gameOver) << "Escape: back to the level";
            clickOn(L"I_END_GAME");
            clickOn(L"LB_OK");
        }
        EXPECT_TRUE(game->getRunning().gameOver);
        for (double t = 0.0; t < 15.0 && activeMenu() != L"AUSWERTUNGMENU"; t += kStep) tick(false);
        settle();
        ASSERT_EQ(activeMenu(), L"AUSWERTUNGMENU");
        Orvex::GUILabel* howWell = Solitaire::findLabel(L"A_ST_HowWellLabel");
        ASSERT_NE(howWell, nullptr);
        EXPECT_EQ(howWell->getTextId(), c.result);
        clickOn(goalOf(L"A_BACK") == L"AUS" ? L"A_NEXT" : L"A_BACK");
    }
}

// The shipped levels the button lay over (the goal pile of "Herzreihe", the bottom card of the
// fourth column of "Zellen"): dealt, it is not there; where it comes it leaves the table free.
TEST_F(PlayedHudTest, TheEndButtonLeavesTheShippedTablesFree) {
    int const levels[] = {0, 6};  // chapter 1: "Zellen", "Herzreihe"
    for (int level : levels) {
        SCOPED_TRACE(level);
        startLevel(2, level);
        dismissTablePanels();
        settle();
        EXPECT_EQ(goalOf(L"I_END_GAME"), L"AUS");
        // Where it comes, should the level bring it.
        find(L"I_END_GAME")->jumpToGoal(L"AN");
        expectEndGameButtonOffTheTable();
        find(L"I_END_GAME")->jumpToGoal(L"AUS");
        pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        clickOn(L"P_ENDE");
    }
}

// ---- what hints and undo steps cost ----

class PlayedPricesTest : public PlayedHudTest {
protected:
    void SetUp() override {
        flowCatalogue = true;
        PlayedHudTest::SetUp();
    }
    static bool shown(std::wstring const& name) {
        for (Orvex::GUIWindow* window = find(name); window; window = window->getParent())
            if (!window->getOptions().visible) return false;
        return find(name) != nullptr;
    }
    static float bulb() { return dynamic_cast<Orvex::GUIProgressBar*>(find(L"I_TIPP"))->getRatio(); }
};

// A free game's score starts at 1,000 and its balance at 0: hints, undo steps and shuffles are paid from
// the balance, which was not in sight ("Punkte: 960" on the strip, "kostet 50 erspielte Punkte,
// es fehlen noch 50"). The balance shows in every game and the refusal names it; the bulb stays
// dark while a hint cannot be paid, and lights with the points that pay it; a hint or an undo
// step that went through leaves no refusal on the news line.
TEST_F(PlayedPricesTest, TheBalanceThatPaysIsInSightAndTheBulbLightsOnlyWhenItPays) {
    startFree(L"KLASSIKER", L"HERZREIHE");
    dismissTablePanels();
    auto& cards = Solitaire::Kartenmanager::instance();
    EXPECT_TRUE(shown(L"I_Points2"));
    EXPECT_EQ(textOf(L"I_Points2"), L"Guthaben: 0");
    wait(11.0);  // the hint's timer is full
    EXPECT_FALSE(cards.canPay(cards.getHintPrice()));
    EXPECT_EQ(bulb(), 0.0f) << "not ready while it cannot be paid";
    struct Case {
        char const* what;
        wchar_t const* button;
        int hearts;  // moved before the click
        bool paid;   // false: whether it is paid is read from the balance before the click
    };
    Case const cases[] = {
        {"a hint with an empty balance", L"I_TIPP", 0, false},
        {"a hint paid by two hearts", L"I_TIPP", 2, true},
        {"undo steps until the balance is spent", L"I_Undo_Step", 0, false},
        {"", L"I_Undo_Step", 0, false},
        {"", L"I_Undo_Step", 0, false},
        // The shuffle is paid as they are, not taken from an empty balance.
        {"a shuffle with an empty balance", L"I_Shuffle", 0, false},
    };
    auto priceOf = [&cards](std::wstring const& button) {
        return button == L"I_TIPP"      ? cards.getHintPrice()
               : button == L"I_Shuffle" ? cards.getShufflePrice()
                                        : cards.getUndoPrice(-1);
    };
    int moved = 0;
    int refusals = 0;
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        bool const pays = cards.canPay(priceOf(c.button));
        if (c.hearts > 0) {
            for (int value = moved; value < moved + c.hearts; ++value) {
                auto* goal = cards.findPile(L"STAPEL_ZIEL");
                drag(tablePoint(Solitaire::computeScreenRect(*heart(value), cards.getCamera())),
                     tablePoint(Solitaire::computeScreenRect(*goal, cards.getCamera())), 6);
                wait(0.4);
            }
            moved += c.hearts;
            if (std::wstring(c.button) == L"I_TIPP") {
                wait(11.0);
                EXPECT_EQ(bulb(), 1.0f) << "lit: the points pay it";
            }
        }
        bool const paid = c.hearts > 0 ? cards.canPay(priceOf(c.button)) : pays;
        if (c.paid) {
            EXPECT_TRUE(paid);
        }
        if (std::wstring(c.button) == L"I_Shuffle") {
            EXPECT_FALSE(paid) << "the balance is spent";
        }
        clickOn(c.button);
        std::wstring const news = textOf(L"I_Meldung");
        if (paid) {
            EXPECT_NE(goalOf(L"I_Meldung"), L"AN") << "no refusal left: " << narrow(news);
        } else {
            ++refusals;
            EXPECT_EQ(goalOf(L"I_Meldung"), L"AN");
            EXPECT_NE(news.find(L"Guthaben"), std::wstring::npos) << narrow(news);
            keep("played_hud_price_refused");
        }
    }
    EXPECT_GE(refusals, 3) << "a hint, an undo step and a shuffle refused";
}

// ---- medals at a level's start ----

// A player who has finished the first mini-game: the chapter's opening scene plays before its
// first level, and seeing it earns a medal.
constexpr char kAfterTheFirstRest[] = R"(<PROFILE ACTIVE_PROFIL="Anna">
<PROFIL NAME="Anna" POINTS="0">
<TUTORIAL SHOW="0"/>
<UNLOCKS>"|STORY_INTRO|" "|STORY_RAST|" "|MINIGAME_0_FINISHED|"</UNLOCKS>
<KAMPAGNE>
<KAPITEL KAPITEL="0" RESULT="2"><LEVEL LEVEL="0" RESULT="2"/></KAPITEL>
<KAPITEL KAPITEL="1" RESULT="1"><LEVEL LEVEL="0" RESULT="1"/></KAPITEL>
</KAMPAGNE>
</PROFIL>
</PROFILE>
)";

class PlayedMedalTest : public PlayedHudTest {
protected:
    void SetUp() override {
        flowCatalogue = true;
        profileText = kAfterTheFirstRest;
        withStory = true;
        PlayedHudTest::SetUp();
    }
};

// The medal of the scene before a level waited until the level had begun: its panel covered the
// top strip and the rules for seconds at the level's start. It comes with the first card moved.
TEST_F(PlayedMedalTest, AMedalWaitsUntilTheLevelHasBegun) {
    toMainMenu();
    clickOn(L"H_Kampagne");
    clickOn(L"K_KategorieButton2");
    ASSERT_NE(scene(), nullptr) << "the chapter's opening scene";
    clickOn(L"T_END_STORY_CLICK");
    ASSERT_EQ(scene(), nullptr);
    for (int i = 0; i < 20 && activeMenu() != L"INGAMEMENU"; ++i) settle();
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    Solitaire::AchievementScreen& medals = game->getAchievementScreen();
    // The level's start: the deal lands, the banner and the rules come and go.
    for (double t = 0.0; t < 4.0; t += kStep) {
        tick(false);
        ASSERT_LE(medals.getPopupTimer(), 0.0f) << "at " << t << " s";
    }
    EXPECT_GT(medals.getQueuedMedals(), 0u) << "the scene's medal waits";
    dismissTablePanels();
    EXPECT_LE(medals.getPopupTimer(), 0.0f) << "no card moved yet";
    keep("played_hud_medal_waits");
    moveHearts(1);
    EXPECT_GT(medals.getPopupTimer(), 0.0f) << "the level has begun";
    keep("played_hud_medal_shows");
}

// ---- the results ----

class PlayedResultsTest : public PlayedHudTest {
protected:
    void SetUp() override {
        flowCatalogue = true;
        PlayedHudTest::SetUp();
    }
};

// "Level beenden" ends the level where its score stands: the strip's points stood still no longer
// (they fell on with the clock through the seconds before the results), and the results show the
// same number.
TEST_F(PlayedResultsTest, TheScoreStandsStillFromThePressOnLevelBeenden) {
    startLevel(1, 0);
    dismissTablePanels();
    moveHearts(7);  // a star: the level ends without a question
    wait(3.0);       // the points of the last heart counted in
    long const running = numberIn(textOf(L"I_Points"));
    wait(2.0);
    ASSERT_LT(numberIn(textOf(L"I_Points")), running) << "while the level runs its points fall";
    ASSERT_FALSE(game->getRunning().gameOver);
    click(pointOn(L"I_END_GAME"));
    ASSERT_TRUE(game->getRunning().gameOver);
    long const ended = numberIn(textOf(L"I_Points"));
    std::vector<long> shown;
    for (double t = 0.0; t < 15.0 && activeMenu() != L"AUSWERTUNGMENU"; t += kStep) {
        tick(false);
        long const now = numberIn(textOf(L"I_Points"));
        if (now != (shown.empty() ? ended : shown.back())) shown.push_back(now);
    }
    ASSERT_EQ(activeMenu(), L"AUSWERTUNGMENU");
    EXPECT_TRUE(shown.empty()) << "from " << ended << " on to " << shown.size() << " other numbers, the last "
                               << (shown.empty() ? 0 : shown.back());
    EXPECT_EQ(numberIn(textOf(L"A_ST_Points")), ended);
    keep("played_hud_results_after_ending");
}

// A level's result, one after the other: the medal coming in before the results is the one of
// the stars (the grey "none" came before every campaign result, a perfect win included), the
// points are this game's from the results' first frame (not the last result's), and the next
// game's HUD shows its own score from its first frame (not the last game's, easing down over two
// seconds), also a free game's after the campaign.
TEST_F(PlayedResultsTest, EachResultShowsItsOwnMedalCountAndTheNextGameItsOwnScore) {
    struct Case {
        int hearts;
        wchar_t const* medal;
        wchar_t const* label;  // the count's label
    };
    // The row of hearts: one heart is a star, seven two, all thirteen three and the table clear.
    Case const cases[] = {
        {13, L"I_ABSCHLUSS_PERFEKT", L"A_ST_Points"},
        {7, L"I_ABSCHLUSS_SILBER", L"A_ST_Points"},
        {1, L"I_ABSCHLUSS_BRONZE", L"A_ST_Points"},
    };
    startLevel(1, 0);
    long lastScore = -1;
    for (Case const& c : cases) {
        SCOPED_TRACE(std::to_string(c.hearts) + " hearts");
        std::vector<std::wstring> const medals = playAndEnd(c.hearts);
        EXPECT_EQ(medals, std::vector<std::wstring>{c.medal});
        long const score = numberIn(textOf(c.label));
        EXPECT_GT(score, 1000);
        EXPECT_EQ(score, static_cast<long>(Solitaire::Kartenmanager::instance().getScore())) << "this game's";
        EXPECT_NE(score, lastScore) << "not the last result's";
        keep("played_hud_results_" + std::to_string(c.hearts));
        lastScore = score;
        // The next level; its cards land.
        clickOn(L"A_NEXT");
        ASSERT_EQ(activeMenu(), L"INGAMEMENU");
        EXPECT_NEAR(numberIn(textOf(L"I_Points")), Solitaire::Kartenmanager::instance().getScore(), 2.0)
            << "the next level's own score";
        wait(4.0);
    }
    // A free game after the campaign's level, from its first frames.
    pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    clickOn(L"P_ENDE");
    toMainMenu();
    clickOn(L"H_FreiesSpiel");
    clickOn(L"FG_Kategorie_KLASSIKER");
    clickOn(L"FG_Game_HERZREIHE");
    clickOn(L"FG_StartButton");
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_NEAR(numberIn(textOf(L"I_Points")), Solitaire::Kartenmanager::instance().getScore(), 2.0);
}

}  // namespace
