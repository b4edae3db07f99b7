// The screens a new player meets, reached and used as a player uses them: every action an SDL
// event in the real window (the mini-games' headless game object on the game's own data), and
// what the player reads checked on the labels, the windows' rectangles and the drawn pixels.
// The free-play columns (every entry a button, the chosen one marked, the one-variant games'
// preview in the place of the column and its heading, the ribbon's word), the highscore list
// (columns under their heads, the variant named), the chapter's name alike on the chapter
// screen, the level screen and the table, the results' time in minutes and seconds and their
// multiplier written as the table writes it, and the statistics' pointer travel in metres.
// Screenshots go to the build folder's "screenshots" ("played_*.png").
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <SDL.h>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/FormatNumber.h"
#include "game/app/FreePlaySelection.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikManager.h"
#include "port/crt/crt.h"
#include "port/win32/win32_paths.h"
#include "tests/game/app/PlayedScreensFixture.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/support/SdlEvents.h"
#include "tests/support/TestSupport.h"

namespace {

using minigametest::narrow;

class PlayedScreensTest : public apptest::PlayedScreensFixture {
protected:
    static bool overlap(Orvex::FRect const& a, Orvex::FRect const& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }

    // Light pixels (red, green and blue above 0xC0) and gold ones (red above 0xC0, green above
    // 0x90, blue below) in the rectangle.
    int countPixels(std::vector<uint32_t> const& shot, Orvex::FRect const& r, bool gold) const {
        int n = 0;
        for (int y = static_cast<int>(r.top); y < static_cast<int>(r.bottom); ++y)
            for (int x = static_cast<int>(r.left); x < static_cast<int>(r.right); ++x) {
                uint32_t const c = pixelAt(shot, D3DXVECTOR2(static_cast<float>(x), static_cast<float>(y)));
                uint32_t const red = (c >> 16) & 0xFF, green = (c >> 8) & 0xFF, blue = c & 0xFF;
                n += gold ? (red > 0xC0 && green > 0x90 && blue < 0x90) : (red > 0xC0 && green > 0xC0 && blue > 0xC0);
            }
        return n;
    }
    // The pointer swept from one point to another in steps, each a motion event with its
    // relative move, as the window system sends them.
    void sweep(D3DXVECTOR2 from, D3DXVECTOR2 const& to, int steps) {
        for (int i = 1; i <= steps; ++i) {
            float const t = static_cast<float>(i) / static_cast<float>(steps);
            D3DXVECTOR2 const next = from + (to - from) * t;
            testsupport::pushMotion(windowId(), static_cast<int>(next.x), static_cast<int>(next.y),
                                    static_cast<int>(next.x) - static_cast<int>(from.x),
                                    static_cast<int>(next.y) - static_cast<int>(from.y));
            tick(false);
            from = next;
        }
    }
};

// A profile of an earlier session: its three results of the game of eighteen holes, the pointer's
// travel of eight minutes in pixels (as profiles have always stored it), tutorials off.
constexpr char kEarlierProfile[] = R"(<PROFILE ACTIVE_PROFIL="Anna">
<PROFIL NAME="Anna" POINTS="0">
<TUTORIAL SHOW="0"/>
<STATISTIK><STATISTIK NAME="DEFAULT" MOUSE_KM="136291" CLICK="250" TIME="480"/></STATISTIK>
</PROFIL>
<HIGHSCORES>
<VARIANT_HIGHSCORES CAT_NAME="KNOBELEIEN" GAME_NAME="GOLFPLATZ" VAR_NAME="GOLFPLATZ">
<HIGHSCORE NAME="Anna" GAME_NAME="4711" SCORE="12345" DATE="14 5 3 11 2009"><STATISTIK NAME="STATS" TIME="108" MAX_COMBO="4" UNDOS="2" WON="1"/></HIGHSCORE>
<HIGHSCORE NAME="Bartholomaeus Langname" GAME_NAME="17" SCORE="980" DATE="9 30 24 12 2010"><STATISTIK NAME="STATS" TIME="61" MAX_COMBO="12" UNDOS="0"/></HIGHSCORE>
<HIGHSCORE NAME="Cem" GAME_NAME="99" SCORE="75" DATE="23 59 1 1 2011"/>
</VARIANT_HIGHSCORES>
</HIGHSCORES>
</PROFILE>
)";

// ---- free play ----

// Every entry of a column is a button, the first as well (it was drawn without its frame while
// the scroll panel's clip was lost around the captions' text), and the chosen one is marked by
// its gold caption. The puzzles' games have one variant each: the grown preview takes the place
// of the variant column and of its heading, which go. The puzzles' ribbon says what it means.
TEST_F(PlayedScreensTest, FreePlayColumnsShowEveryEntryAsAButtonAndTheChosenOneMarked) {
    toMainMenu();
    clickOn(L"H_FreiesSpiel");
    ASSERT_EQ(activeMenu(), L"FREIESSPIELMENU");
    Solitaire::FreePlaySelection& freePlay = game->getFreePlay();
    auto look = [&](std::wstring const& chosenCategory, std::wstring const& chosenGame) {
        moveTo(D3DXVECTOR2(2.0f, 2.0f));
        settle();
        std::vector<uint32_t> const shot = pixels();
        Orvex::FRect const panel = find(L"FG_GamePanel")->getScreenRect();
        // The panel's own dark ground, beside the buttons.
        uint32_t const ground = pixelAt(shot, D3DXVECTOR2(panel.right - 4.0f, panel.bottom - 4.0f));
        for (auto const* list : {&freePlay.getCategoryButtons(), &freePlay.getGameButtons()})
            for (Orvex::GUIButton* button : *list) {
                std::string const name = narrow(button->getName());
                Orvex::FRect const r = button->getScreenRect();
                // The frame's gold edge in the middle of the button's left side.
                uint32_t const edge = pixelAt(shot, D3DXVECTOR2(r.left + 2.0f, (r.top + r.bottom) * 0.5f));
                EXPECT_GT((edge >> 16) & 0xFF, 0x60u) << name << " " << std::hex << edge << " on " << ground;
                bool const chosen = button->getName() == L"FG_Kategorie_" + chosenCategory ||
                                    button->getName() == L"FG_Game_" + chosenGame;
                // Inside the frame's gold edge: the caption's letters.
                Orvex::FRect inner = button->getLabel()->getScreenRect();
                inner = Orvex::FRect(inner.left + 10.0f, inner.top + 8.0f, inner.right - 10.0f, inner.bottom - 8.0f);
                int const gold = countPixels(shot, inner, true);
                if (chosen) {
                    EXPECT_GT(gold, 40) << name << ": the chosen entry's caption is gold";
                } else {
                    EXPECT_LT(gold, 40) << name;
                }
            }
    };
    look(L"KLASSIKER", L"GOLDRAUSCH");
    EXPECT_TRUE(shown(find(L"FG_Varianten")));
    EXPECT_TRUE(shown(find(L"FG_VariantenPanel")));

    clickOn(L"FG_Kategorie_KNOBELEIEN");
    look(L"KNOBELEIEN", L"GOLFPLATZ");
    keep("played_free_play_puzzles");
    EXPECT_FALSE(shown(find(L"FG_VariantenPanel")));
    EXPECT_FALSE(shown(find(L"FG_Varianten"))) << "the heading of a column that is not there";
    // Nothing shown lies under the grown preview but the frame's ground.
    Orvex::FRect const preview = find(L"FG_Preview")->getScreenRect();
    for (Orvex::GUIWindow* child : find(L"FG_FreiesSpielFrame")->getChildren()) {
        if (child->getName() == L"FG_Preview" || child->getName() == L"FG_Grund" || !shown(child)) continue;
        EXPECT_FALSE(overlap(child->getScreenRect(), preview)) << narrow(child->getName());
    }
    // The ribbon on the puzzles' tab says "Neu" in light letters.
    Orvex::GUIButton* puzzles = freePlay.getCategoryButtons().at(1);
    Orvex::GUIWindow* ribbon = nullptr;
    for (Orvex::GUIWindow* child : puzzles->getChildren())
        if (child != puzzles->getLabel()) ribbon = child;
    ASSERT_NE(ribbon, nullptr);
    ASSERT_NE(Solitaire::labelOf(ribbon), nullptr);
    EXPECT_EQ(Solitaire::labelOf(ribbon)->getText(), L"Neu");
    EXPECT_GT(countPixels(pixels(), ribbon->getScreenRect(), false), 10) << "letters on the ribbon";

    clickOn(L"FG_Kategorie_KLASSIKER");
    EXPECT_TRUE(shown(find(L"FG_Varianten"))) << "the heading is back with its column";
}

// The tabs and the games stay in the catalogue's order however often a game is played and left:
// the one clicked does not move to the end of its column. The variant's count of ended games is
// the one just left included.
TEST_F(PlayedScreensTest, FreePlayColumnsKeepTheirOrderAfterGames) {
    toMainMenu();
    clickOn(L"H_FreiesSpiel");
    ASSERT_EQ(activeMenu(), L"FREIESSPIELMENU");
    Solitaire::FreePlaySelection& freePlay = game->getFreePlay();
    // Each column's buttons lie one after another in the order of their list (the catalogue's).
    auto expectInOrder = [](std::vector<Orvex::GUIButton*> const& buttons, bool across, int round) {
        for (std::size_t i = 1; i < buttons.size(); ++i) {
            Orvex::GUIWindow const* before = buttons[i - 1];
            Orvex::GUIWindow const* after = buttons[i];
            // A game's button lies in its banner, which the column places.
            if (!across) {
                before = before->getParent();
                after = after->getParent();
            }
            Orvex::FRect const a = before->getScreenRect(), b = after->getScreenRect();
            EXPECT_LT(across ? a.left : a.top, across ? b.left : b.top)
                << narrow(buttons[i - 1]->getName()) << " before " << narrow(buttons[i]->getName()) << ", round " << round;
        }
    };
    for (int round = 1; round <= 2; ++round) {
        clickOn(L"FG_Kategorie_KLASSIKER");
        clickOn(L"FG_Game_GOLDRAUSCH");
        clickOn(L"FG_StartButton");
        ASSERT_EQ(activeMenu(), L"INGAMEMENU");
        wait(1.0);
        pressEscape();
        ASSERT_EQ(activeMenu(), L"PAUSEMENU");
        clickOn(L"P_ENDE");
        ASSERT_EQ(activeMenu(), L"FREIESSPIELMENU");
        settle();
        expectInOrder(freePlay.getCategoryButtons(), true, round);
        expectInOrder(freePlay.getGameButtons(), false, round);
        EXPECT_EQ(textOf(L"FG_STATISTIKEN_STARTED"), L"Beendet: " + std::to_wstring(round));
    }
    keep("played_free_play_after_games");
}

// ---- highscores ----

class PlayedHighscoresTest : public PlayedScreensTest {
protected:
    void SetUp() override {
        profileText = kEarlierProfile;
        PlayedScreensTest::SetUp();
    }
};

// The list of the eighteen holes from free play: the variant named over it, each entry's values
// in columns standing under their heads (equal left and right edges), each row on one line.
TEST_F(PlayedHighscoresTest, TheListNamesItsVariantAndStandsInColumnsUnderTheHeads) {
    toMainMenu();
    clickOn(L"H_FreiesSpiel");
    clickOn(L"FG_Kategorie_KNOBELEIEN");
    clickOn(L"FG_Highscores");
    ASSERT_EQ(activeMenu(), L"STATISTIKENGAMEMENU");
    keep("played_highscores");
    EXPECT_EQ(textOf(L"STG_VARIANTE"), L"Golfplatz: Achtzehn L\u00f6cher");
    auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(find(L"STG_HIGHSCORE_SCROLL"));
    ASSERT_NE(panel, nullptr);
    std::vector<Orvex::GUIWindow*> const rows = panel->getContentPanel()->getChildren();
    ASSERT_EQ(rows.size(), 3u);
    struct Column {
        wchar_t const* name;
        std::vector<std::wstring> texts;
    };
    std::vector<Column> const columns = {
        {L"Platz", {L"1.", L"2.", L"3."}},
        {L"Name", {L"Anna", L"Bartholomaeus Langname", L"Cem"}},
        {L"Punkte", {L"12.345", L"980", L"75"}},
        {L"Zeit", {L"1:48", L"1:01", L"0:00"}},
        {L"Datum", {L"03.11.2009 14:05", L"24.12.2010 09:30", L"01.01.2011 23:59"}},
        {L"Kombo", {L"4", L"12", L"0"}},
        {L"Undos", {L"2", L"0", L"0"}},
    };
    Orvex::FRect const content = panel->getContentPanel()->getScreenRect();
    float previousRight = content.left - 1.0f;
    for (Column const& column : columns) {
        Orvex::GUIWindow* head = find(std::wstring(L"STG_Kopf_") + column.name);
        ASSERT_NE(head, nullptr) << narrow(column.name);
        EXPECT_TRUE(shown(head)) << narrow(column.name);
        EXPECT_FALSE(Solitaire::labelOf(head)->getText().empty()) << narrow(column.name);
        Orvex::FRect const h = head->getScreenRect();
        // Columns side by side, left to right, inside the list's width.
        EXPECT_GE(h.left, previousRight) << narrow(column.name);
        EXPECT_LE(h.right, content.right + 0.5f) << narrow(column.name);
        previousRight = h.right;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            Orvex::GUIWindow* cell = rows[r]->findChild(std::wstring(L"STG_HS_") + column.name);
            ASSERT_NE(cell, nullptr) << narrow(column.name) << " " << r;
            Orvex::FRect const c = cell->getScreenRect();
            EXPECT_NEAR(c.left, h.left, 1.0f) << narrow(column.name) << " row " << r;
            EXPECT_NEAR(c.right, h.right, 1.0f) << narrow(column.name) << " row " << r;
            Orvex::FRect const row = rows[r]->getScreenRect();
            EXPECT_EQ(c.top, row.top) << narrow(column.name) << " row " << r;
            EXPECT_EQ(Solitaire::labelOf(cell)->getText(), column.texts[r]) << narrow(column.name) << " row " << r;
        }
    }
    // The entry's own caption is empty: its values are in the columns only.
    auto* first = dynamic_cast<Orvex::GUIButton*>(rows[0]);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getLabel()->getText(), L"");
}

// ---- the pointer's travel ----

// The travel of an earlier profile (pixels, as stored) shows in metres on the statistics screen;
// pointer moves over the table of a free game add to it; the profile file keeps the count of
// pixels.
TEST_F(PlayedHighscoresTest, ThePointersTravelShowsInMetresAndTheProfileKeepsItsPixels) {
    toMainMenu();
    clickOn(L"H_Statistiken");
    ASSERT_EQ(activeMenu(), L"STATISTIKENMENU");
    keep("played_statistics_earlier_profile");
    std::wstring const first = textOf(L"ST_STATISTIKEN");
    // 136,291 pixels at 96 to the inch: 36.06 m.
    EXPECT_EQ(first.substr(0, first.find(L'\r')), L"Mausweg: 36,1 m") << narrow(first);
    clickOn(L"ST_BACK");
    ASSERT_EQ(activeMenu(), L"HAUPTMENU");

    clickOn(L"H_FreiesSpiel");
    clickOn(L"FG_StartButton");
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    wait(4.0);
    dismissTablePanels();
    Solitaire::Statistik const* overall = Solitaire::StatistikManager::instance().getProfileStatistik();
    ASSERT_NE(overall, nullptr);
    Orvex::u32 const before = overall->get(Solitaire::StatistikCounter::MouseDistance);
    // Back and forth across the table: 10 x 2 x 400 pixels.
    for (int i = 0; i < 10; ++i) {
        sweep(D3DXVECTOR2(300.0f, 400.0f), D3DXVECTOR2(700.0f, 400.0f), 8);
        sweep(D3DXVECTOR2(700.0f, 400.0f), D3DXVECTOR2(300.0f, 400.0f), 8);
    }
    Orvex::u32 const after = overall->get(Solitaire::StatistikCounter::MouseDistance);
    EXPECT_GE(after - before, 8000u);
    pressEscape();
    ASSERT_EQ(activeMenu(), L"PAUSEMENU");
    clickOn(L"P_ENDE");
    clickOn(L"FG_Back");
    ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    clickOn(L"H_Statistiken");
    std::wstring const second = textOf(L"ST_STATISTIKEN");
    EXPECT_EQ(second.substr(0, second.find(L'\r')), L"Mausweg: " + Solitaire::formatPointerTravel(after))
        << narrow(second);
    EXPECT_NE(first, second);
    // The file keeps pixels: what an older game reads as before.
    Solitaire::ProfilManager::instance().saveProfiles();
    std::string saved;
    for (char c : testsupport::readFile(home / "profile.prf"))
        if (c != 0) saved += c;  // the file is UTF-16
    EXPECT_NE(saved.find("MOUSE_KM=\"" + std::to_string(after) + "\""), std::string::npos);
}

// The distance as the statistics show it: metres with one decimal below a kilometre, kilometres
// with two from there; the stored counter's whole range.
TEST_F(PlayedScreensTest, ThePointersTravelInMetresAndKilometres) {
    struct Case {
        Orvex::u32 pixels;
        wchar_t const* shown;
    };
    // 96 pixels are an inch, 0.0254 m: 3,780 pixels a metre.
    Case const cases[] = {{0u, L"0,0 m"},          {378u, L"0,1 m"},         {136291u, L"36,1 m"},
                          {3779527u, L"1000,0 m"}, {3779528u, L"1,00 km"}, {4294967295u, L"1136,38 km"}};
    for (Case const& c : cases) EXPECT_EQ(Solitaire::formatPointerTravel(c.pixels), c.shown) << c.pixels;
}

// ---- the campaign's names, its table and its results ----

class PlayedCampaignTest : public PlayedScreensTest {
protected:
    void SetUp() override {
        withFlowCatalogue = true;
        PlayedScreensTest::SetUp();
    }
};

// The chapter is named alike on the chapter screen, over its levels and on the table; a level
// played for over a minute and won shows its time as minutes and seconds and the highest
// multiplier as the table shows the multiplier (German decimal comma, "x " before it).
TEST_F(PlayedCampaignTest, TheChapterKeepsItsNameAndTheResultsWriteTimeAndMultiplierAsTheTable) {
    toMainMenu();
    clickOn(L"H_Kampagne");
    ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
    std::wstring const name = textOf(L"K_KapitelName1") + L": " +
                              Solitaire::labelOf(find(L"K_KategorieButton1")->findChild(L"InfoLabel"))->getText();
    EXPECT_EQ(name, L"Kapitel 1: Der Anfang");
    clickOn(L"K_KategorieButton1");
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    EXPECT_EQ(textOf(L"LA_TITEL"), name) << "the chapter, not one of its levels' games";
    keep("played_level_screen");
    clickOn(L"LA_LevelButton_0");
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_EQ(textOf(L"I_VariantLabel_Label"), name);
    // The multiplier as the table writes it: "x ", a decimal comma.
    std::wregex const factor(L"x \\d+,\\d");
    EXPECT_TRUE(std::regex_match(textOf(L"I_Multiplier"), factor)) << narrow(textOf(L"I_Multiplier"));

    // A minute and more at the table, then the hearts onto the goal pile, ace first.
    wait(65.0);
    dismissTablePanels();
    moveHeartsToTheGoal();
    ASSERT_TRUE(game->getRunning().gameOver);
    double const seconds = Solitaire::Kartenmanager::instance().getTime();
    for (double t = 0.0; t < 15.0 && activeMenu() != L"AUSWERTUNGMENU"; t += kStep) tick(false);
    settle();
    ASSERT_EQ(activeMenu(), L"AUSWERTUNGMENU");
    keep("played_results");
    int const whole = static_cast<int>(seconds);
    EXPECT_EQ(textOf(L"A_ST_Zeit"), msvc::format(L"Zeit: %d:%02d min", whole / 60, whole % 60));
    EXPECT_GE(whole, 65);
    std::wstring const highest = textOf(L"A_ST_Multi");
    std::wstring const prefix = L"H\u00f6chster Multiplikator: ";
    ASSERT_EQ(highest.substr(0, prefix.size()), prefix) << narrow(highest);
    EXPECT_TRUE(std::regex_match(highest.substr(prefix.size()), factor)) << narrow(highest);
}

}  // namespace
