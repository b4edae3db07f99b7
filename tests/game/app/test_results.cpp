// The results screen, the current variant's highscore list and the overall statistics on the
// game's own data: ratings, stars, times and the buttons by mode; the points counted up to the
// score; highscore lines, their won look and the dialog they open; a button kept from before its
// entry was removed; and values from a profile past every range. Screenshots of the three screens
// and the dialog go to the build folder.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIScrollPanel.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/PileWords.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikManager.h"
#include "tests/game/app/PlayScreensFixture.h"

namespace {

using Solitaire::HighscoreEintrag;
using Solitaire::SolitaireManager;

class ResultsTest : public apptest::PlayScreensFixture {
protected:
    static SolitaireManager& catalogue() { return SolitaireManager::instance(); }

    // Free play's first variant, or a campaign level, as the current choice.
    static void chooseFreeVariant() { ASSERT_TRUE(catalogue().setCurrentByNames(L"KLASSIKER", L"GOLDRAUSCH", L"GOLDRAUSCH")); }
    static void chooseCampaignLevel() { ASSERT_TRUE(catalogue().setCurrentByNames(L"KAMPAGNE", L"KAPITEL_0", L"LEVEL_0")); }

    // An entry as the profile file writes it: "DATE" is hour, minute, day, month, year.
    static HighscoreEintrag* entry(std::wstring const& name, float score, std::wstring const& seed, bool won = false,
                                   double time = 0.0) {
        Orvex::XMLNode node(L"HIGHSCORE");
        node.setAttribute(L"NAME", name);
        node.setAttribute(L"GAME_NAME", seed);
        node.setAttribute(L"SCORE", std::to_wstring(score));
        node.setAttribute(L"DATE", L"14 5 3 7 2024");
        if (won || time > 0.0) {
            Orvex::XMLNode* stats = node.addChild(L"STATISTIK");
            stats->setAttribute(L"WON", won ? L"1" : L"0");
            stats->setAttribute(L"TIME", std::to_wstring(time));
            stats->setAttribute(L"MAX_COMBO", L"4");
            stats->setAttribute(L"UNDOS", L"2");
        }
        return new HighscoreEintrag(node);
    }
    void setNextLevel(bool available) { game->getRunning().nextLevelAvailable = available; }
    static void setGameTime(float seconds) { Solitaire::Kartenmanager::instance().setTime(seconds); }
    // A "STATISTIK" element with these counters.
    static Orvex::XMLNode counters(std::vector<std::pair<std::wstring, std::wstring>> const& values) {
        Orvex::XMLNode node(L"STATISTIK");
        for (auto const& [key, value] : values) node.setAttribute(key, value);
        return node;
    }
    static std::vector<HighscoreEintrag*>& highscores() { return catalogue().getCurrentVariant()->getHighscores(); }

    static std::vector<Orvex::GUIWindow*> listButtons() {
        auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(find(L"STG_HIGHSCORE_SCROLL"));
        return panel ? panel->getContentPanel()->getChildren() : std::vector<Orvex::GUIWindow*>{};
    }
};

// Rating, the cleared table, and the mode decide the text, the stars and the buttons.
TEST_F(ResultsTest, RatingsStarsAndButtonsByMode) {
    struct Case {
        int rating;
        bool freeGame;
        bool nextLevel;
        wchar_t const* howWell;
        wchar_t const* stars[3];
        wchar_t const* buttons[3];  // A_BACK, A_NEXT, A_RESTART
    };
    Case const cases[] = {
        {0, false, false, L"A_HOW_WELL_0", {L"OFF", L"OFF", L"OFF"}, {L"AN", L"AUS", L"AN"}},
        {1, false, false, L"A_HOW_WELL_0", {L"OFF", L"OFF", L"OFF"}, {L"AN", L"AUS", L"AN"}},
        {2, false, true, L"A_HOW_WELL_1", {L"ON", L"OFF", L"OFF"}, {L"AUS", L"AN", L"AN"}},
        {3, false, true, L"A_HOW_WELL_2", {L"ON", L"ON", L"OFF"}, {L"AUS", L"AN", L"AN"}},
        // Whether 4 is perfect depends on the table (EveryTableauPileClearedIsPerfect).
        {4, false, false, nullptr, {L"ON", L"ON", L"ON"}, {L"AN", L"AUS", L"AN"}},
        // Outside 0 to 4: no text, no star.
        {7, false, false, L"", {L"OFF", L"OFF", L"OFF"}, {L"AN", L"AUS", L"AN"}},
        {-1, false, false, L"", {L"OFF", L"OFF", L"OFF"}, {L"AN", L"AUS", L"AN"}},
        // A free game says whether it was won.
        {4, true, true, L"A_FG_GEWONNEN", {L"ON", L"ON", L"ON"}, {L"AN_C", L"AUS", L"AUS"}},
        {1, true, false, L"A_FG_VERLOREN", {L"OFF", L"OFF", L"OFF"}, {L"AN_C", L"AUS", L"AUS"}},
    };
    chooseFreeVariant();
    ASSERT_TRUE(catalogue().startVariant());
    for (Case const& c : cases) {
        SCOPED_TRACE(std::to_string(c.rating) + (c.freeGame ? " free" : " story"));
        setNextLevel(c.nextLevel);
        game->getResults().showResults(c.rating, true, c.freeGame, false, false);
        EXPECT_EQ(game->getResults().getStoredRating(), c.rating);
        EXPECT_EQ(goalOf(L"A_STORY"), c.freeGame ? L"AUS" : L"AN");
        EXPECT_EQ(goalOf(L"A_FREIES_SPIEL"), c.freeGame ? L"AN" : L"AUS");
        if (c.howWell) {
            wchar_t const* const label = c.freeGame ? L"A_FG_HowWellLabel" : L"A_ST_HowWellLabel";
            EXPECT_EQ(Solitaire::findLabel(label)->getTextId(), c.howWell);
        }
        for (int k = 0; k < 3; ++k) EXPECT_EQ(goalOf(L"A_Star" + std::to_wstring(k + 1)), c.stars[k]) << k;
        EXPECT_EQ(goalOf(L"A_BACK"), c.buttons[0]);
        EXPECT_EQ(goalOf(L"A_NEXT"), c.buttons[1]);
        EXPECT_EQ(goalOf(L"A_RESTART"), c.buttons[2]);
    }
    // Without the store flag the rating stays.
    game->getResults().showResults(2, false, true, false, false);
    EXPECT_EQ(game->getResults().getStoredRating(), 1);
}

// The heading, the line under it and the medal tell what the game left on the tableau by its end
// record: the end flight has emptied the piles when they are shown (every three stars read
// "Perfekt: alles abgeräumt!", a level ended with 6 of 28 cards on the table too).
TEST_F(ResultsTest, EveryTableauPileClearedIsPerfect) {
    using Solitaire::kGameWon;
    struct Case {
        Solitaire::GameStatus status;  // running: ended by "Level beenden"
        int emptyPiles, restCards, rating;
        wchar_t const *howWell, *end, *medal;
    } const cases[] = {
        {kGameWon, 7, 0, 4, L"A_HOW_WELL_4", L"Gewonnen: alle Stapel abgeräumt", L"I_ABSCHLUSS_PERFEKT"},
        {kGameWon, 7, 0, 3, L"A_HOW_WELL_2", L"Gewonnen: alle Stapel abgeräumt", L"I_ABSCHLUSS_SILBER"},
        {Solitaire::kGameLost, 1, 20, 3, L"A_HOW_WELL_2", L"Kein Zug mehr: 20 von 28 Karten blieben liegen", L"I_ABSCHLUSS_SILBER"},
        {Solitaire::kGameRunning, 4, 6, 4, L"A_HOW_WELL_3", L"Beendet mit 6 von 28 Karten auf dem Tisch", L"I_ABSCHLUSS_GOLD"},
    };
    chooseFreeVariant();
    ASSERT_TRUE(catalogue().startVariant());
    Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
    for (Case const& c : cases) {
        cards.startGame(nullptr, L"7", true, {}, {}, 0.0f);
        Solitaire::PlayState ended = cards.getPlayState();
        ended.gameStatus = c.status;
        ended.gameEndSent = true;
        ended.counts.emptyTableauPileCount = c.emptyPiles;
        ended.counts.tableauCardCount = c.restCards;
        cards.setPlayState(ended);
        for (Solitaire::Kartenstapel* pile : cards.getPilesOfType(Solitaire::kPileTableau))
            for (Solitaire::Karte* card : pile->getCardsWithLinked()) pile->removeCard(card, true);  // the flight
        game->getResults().showResults(c.rating, true, false, false, false);
        EXPECT_EQ(Solitaire::findLabel(L"A_ST_HowWellLabel")->getTextId(), c.howWell) << port::toUtf8(c.end);
        EXPECT_EQ(textOf(L"A_ST_Ende"), c.end);
        game->getHud().sendMedalsAway();
        game->getHud().revealMedal(c.rating);
        EXPECT_EQ(find(c.medal)->getTargetState().name, L"AN") << port::toUtf8(c.end);
    }
    showMenu(L"AUSWERTUNGMENU");
    keepScreen("results_campaign_ended_1024x768");
}

// The campaign's time in whole minutes and seconds (as a clock shows them, so no word is singular
// or plural); the free game's in seconds; a time from a broken clock shows 0.
TEST_F(ResultsTest, TimeTexts) {
    struct Case {
        float seconds;
        wchar_t const* story;
        wchar_t const* free;
    };
    Case const cases[] = {
        {125.7f, L"Zeit: 2:05 min", L"Zeit: 125,7 Sekunden"},
        {0.0f, L"Zeit: 0:00 min", L"Zeit: 0,0 Sekunden"},
        {59.99f, L"Zeit: 0:59 min", L"Zeit: 60,0 Sekunden"},
        {-30.0f, L"Zeit: 0:00 min", L"Zeit: -30,0 Sekunden"},
        {std::numeric_limits<float>::quiet_NaN(), L"Zeit: 0:00 min", L"Zeit: 0,0 Sekunden"},
        {std::numeric_limits<float>::infinity(), L"Zeit: 0:00 min", L"Zeit: 0,0 Sekunden"},
        // Past 68 years the minutes stop at the clamp instead of wrapping.
        {1e30f, L"Zeit: 35791394:07 min", nullptr},
    };
    chooseFreeVariant();
    ASSERT_TRUE(catalogue().startVariant());
    for (Case const& c : cases) {
        setGameTime(c.seconds);
        game->getResults().showResults(2, true, false, false, false);
        EXPECT_EQ(textOf(L"A_ST_Zeit"), c.story) << c.seconds;
        game->getResults().showResults(2, true, true, false, false);
        if (c.free) EXPECT_EQ(textOf(L"A_FG_Zeit"), c.free) << c.seconds;
    }
}

// The results show the strip's points as the game ended, from their first frame and written
// alike (they counted up from 0 for three seconds: 5,412 of 9,727 two seconds in; and the strip
// rounded where the results cut: 8758 and 8.757).
TEST_F(ResultsTest, ThePointsAreTheStripsFromTheFirstFrame) {
    struct Case {
        bool campaign;
        float plus, minus;  // the score's parts: play, and what the clock took
        wchar_t const* label;
        wchar_t const* shown;
    } const cases[] = {
        {true, 9900.0f, -173.0f, L"A_ST_Points", L"9.727"},
        {true, 9015.0f, -257.01f, L"A_ST_Points", L"8.757"},
        {true, 1075.0f, -1205.85f, L"A_ST_Points_Lose", L"-130"},  // below the goal, and below 0
        {false, 123456.0f, 0.0f, L"A_FG_Points", L"123.456"},
    };
    makeProfile();
    leaveStartScreen();
    for (Case const& c : cases) {
        chooseFreeVariant();
        ASSERT_EQ(c.campaign ? game->startCampaignLevel(0, 1, false) : game->startGame({.withTutorial = false}),
                  Solitaire::RunningGame::kGameStarted);
        Solitaire::Kartenmanager::instance().setScore(c.plus, c.minus);
        Solitaire::Kartenmanager::instance().finishGame();
        for (int i = 0; i < 200 && activeMenu() != L"AUSWERTUNGMENU"; ++i) step(0.05);
        std::wstring const text = textOf(c.label);
        EXPECT_EQ(text.substr(text.rfind(L' ') + 1), c.shown) << port::toUtf8(text);
        EXPECT_EQ(textOf(L"I_Points"), std::wstring(L"Punkte: ") + c.shown);
    }
    keepScreen("results_campaign_1024x768");
}

}  // namespace

namespace {

class HighscoreListTest : public ResultsTest {
protected:
    void SetUp() override {
        ResultsTest::SetUp();
        chooseFreeVariant();
        for (HighscoreEintrag* old : highscores()) old->release();
        highscores().clear();
    }
    void TearDown() override {
        for (HighscoreEintrag* old : highscores()) old->release();
        highscores().clear();
        ResultsTest::TearDown();
    }
    // The entry's columns as the player reads them, left to right, between " | ".
    static std::wstring lineOf(Orvex::GUIWindow* button) {
        if (!dynamic_cast<Orvex::GUIButton*>(button)) return L"(no button)";
        std::wstring line;
        for (wchar_t const* column : {L"Platz", L"Name", L"Punkte", L"Zeit", L"Datum", L"Kombo", L"Undos"}) {
            Orvex::GUILabel* cell = Solitaire::labelOf(button->findChild(std::wstring(L"STG_HS_") + column));
            line += (line.empty() ? L"" : L" | ") + (cell ? cell->getText() : std::wstring(L"(none)"));
        }
        return line;
    }
};

// One button per entry in rank order, its columns formatted with the entry's values; a name with
// "%" stays as it is; a won game in its own style; the variant's counters below.
TEST_F(HighscoreListTest, ListsEveryEntryWithItsValues) {
    highscores().push_back(entry(L"Anna", 5000.0f, L"123", true, 95.5));
    highscores().push_back(entry(L"100% %s %n", 4000.0f, L"77"));
    auto* stats = new Solitaire::Statistik(L"VAR_STATS");
    stats->readCounters(counters({{L"STARTED", L"9"}, {L"WON", L"4"}, {L"MOVED", L"300"}}));
    catalogue().getCurrentVariant()->setStatistik(stats);
    stats->release();
    game->getResults().refreshHighscoreList();
    std::vector<Orvex::GUIWindow*> const buttons = listButtons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(lineOf(buttons[0]), L"1. | Anna | 5.000 | 1:35 | 03.07.2024 14:05 | 4 | 2");
    EXPECT_EQ(lineOf(buttons[1]), L"2. | 100% %s %n | 4.000 | 0:00 | 03.07.2024 14:05 | 0 | 0");
    // A won game's row in its own style, caption and columns alike.
    for (wchar_t const* part : {L"STG_HS_Name", L"STG_HS_Punkte"}) {
        Orvex::GUILabel* won = Solitaire::labelOf(buttons[0]->findChild(part));
        EXPECT_EQ(won->getStyleName(0), L"HighscoreStyleWon");
        EXPECT_EQ(won->getStyleName(1), L"HighscoreStyleWon");
        EXPECT_NE(Solitaire::labelOf(buttons[1]->findChild(part))->getStyleName(0), L"HighscoreStyleWon");
    }
    EXPECT_EQ(dynamic_cast<Orvex::GUIButton*>(buttons[0])->getLabel()->getStyleName(0), L"HighscoreStyleWon");
    EXPECT_EQ(textOf(L"STG_GAMESTATISTIKEN"),
              L"Begonnen: 9   Gewonnen: 4   Zur\u00fcckgenommen: 0   Spielzeit: 0 s   L\u00e4ngste Kombination: 0   Bewegte Karten: 300");
    showMenu(L"STATISTIKENGAMEMENU");
    keepScreen("statistics_variant_1024x768");
}

// A score with a fraction shows whole as the results screen counted it up, not rounded up.
TEST_F(HighscoreListTest, ScoresShowWholeAsTheResultsScreenCountedThem) {
    struct Row {
        float score;
        wchar_t const* shown;
    } const rows[] = {{3434.6f, L"3.434"}, {99.5f, L"99"}, {-12.7f, L"-12"}, {7.0f, L"7"}};
    for (Row const& row : rows) {
        SCOPED_TRACE(row.score);
        for (HighscoreEintrag* e : highscores()) e->release();
        highscores().clear();
        highscores().push_back(entry(L"Anna", row.score, L"1"));
        game->getResults().refreshHighscoreList();
        ASSERT_EQ(listButtons().size(), 1u);
        EXPECT_NE(lineOf(listButtons()[0]).find(std::wstring(L"Anna | ") + row.shown + L" |"), std::wstring::npos)
            << port::toUtf8(lineOf(listButtons()[0]));
    }
}

// An empty list leaves the panel empty and still fills the counters (0 without statistics).
TEST_F(HighscoreListTest, EmptyListStillShowsTheCounters) {
    catalogue().getCurrentVariant()->setStatistik(nullptr);
    game->getResults().refreshHighscoreList();
    EXPECT_TRUE(listButtons().empty());
    EXPECT_EQ(textOf(L"STG_GAMESTATISTIKEN"), L"");
    auto* stats = new Solitaire::Statistik(L"VAR_STATS");
    catalogue().getCurrentVariant()->setStatistik(stats);
    stats->release();
    game->getResults().refreshHighscoreList();
    EXPECT_EQ(textOf(L"STG_GAMESTATISTIKEN"),
              L"Begonnen: 0   Gewonnen: 0   Zur\u00fcckgenommen: 0   Spielzeit: 0 s   L\u00e4ngste Kombination: 0   Bewegte Karten: 0");
}

// A click on an entry after a free game opens the dialog with that entry; "HSE_COPYSEED" fills the
// seed field of free play; after a campaign level nothing happens.
TEST_F(HighscoreListTest, EntryOpensTheDialogInFreePlayOnly) {
    highscores().push_back(entry(L"Anna", 5000.0f, L"123"));
    highscores().push_back(entry(L"Bert", 4000.0f, L"4711"));
    game->getResults().refreshHighscoreList();
    showMenu(L"STATISTIKENGAMEMENU");
    click(*listButtons()[1]);
    EXPECT_EQ(activeMenu(), L"HIGHSCOREEDITMENU");
    ASSERT_EQ(game->getResults().getSelectedHighscore(), highscores()[1]);
    keepScreen("highscore_dialog_1024x768");
    EXPECT_TRUE(game->getResults().copySelectedHighscoreSeed());
    EXPECT_EQ(textOf(L"FG_SEED"), L"4711");
    // The dialog's way back returns to the list.
    click(L"HSE_CANCEL");
    EXPECT_EQ(activeMenu(), L"STATISTIKENGAMEMENU");

    // Removed: the list holds one entry, the selection is gone, the kept button does nothing.
    Orvex::GUIWindow* kept = listButtons()[1];
    kept->addRef();
    EXPECT_TRUE(game->getResults().removeSelectedHighscore());
    ASSERT_EQ(highscores().size(), 1u);
    EXPECT_EQ(game->getResults().getSelectedHighscore(), nullptr);
    EXPECT_FALSE(game->getResults().copySelectedHighscoreSeed());
    EXPECT_FALSE(game->getResults().removeSelectedHighscore());
    game->getResults().onHighscoreEntryClicked(*kept);
    EXPECT_EQ(game->getResults().getSelectedHighscore(), nullptr);
    EXPECT_EQ(activeMenu(), L"STATISTIKENGAMEMENU");
    kept->release();

    // The same list under a campaign level: clicks do nothing.
    chooseCampaignLevel();
    for (HighscoreEintrag* e : highscores()) e->release();
    highscores().clear();
    highscores().push_back(entry(L"Carl", 100.0f, L"9"));
    game->getResults().refreshHighscoreList();
    click(*listButtons()[0]);
    EXPECT_EQ(activeMenu(), L"STATISTIKENGAMEMENU");
    EXPECT_EQ(game->getResults().getSelectedHighscore(), nullptr);
}

// A hundred entries (the most a file gives a variant) make a hundred lines; the list starts at
// the top.
TEST_F(HighscoreListTest, HundredEntries) {
    for (int i = 0; i < 100; ++i) highscores().push_back(entry(L"Spieler " + std::to_wstring(i), 1e6f - i, L"1"));
    // Entering the screen builds the list afresh.
    showMenu(L"STATISTIKENGAMEMENU");
    for (int i = 0; i < 20; ++i) step(0.05);
    std::vector<Orvex::GUIWindow*> const buttons = listButtons();
    ASSERT_EQ(buttons.size(), 100u);
    EXPECT_EQ(lineOf(buttons[99]).substr(0, 18), L"100. | Spieler 99 ");
    auto* panel = dynamic_cast<Orvex::GUIScrollPanel*>(find(L"STG_HIGHSCORE_SCROLL"));
    EXPECT_NEAR(buttons[0]->getScreenRect().top, panel->getContentPanel()->getScreenRect().top, 1.0f);
    EXPECT_GT(buttons[99]->getScreenRect().top, panel->getScreenRect().bottom);
}

// The overall statistics: hours, minutes and seconds of the play time; a time past every range is
// held; no profile set empties the text.
TEST_F(ResultsTest, OverallStatistics) {
    // The active profile's statistics: the player's, once the start screen is left.
    leaveStartScreen();
    Solitaire::Statistik* overall = Solitaire::StatistikManager::instance().getProfileStatistik();
    ASSERT_NE(overall, nullptr);
    overall->reset();
    overall->readCounters(counters({{L"MOUSE_KM", L"12345"}, {L"CLICK", L"10"}, {L"TIME", L"3725"}}));
    game->getResults().refreshStatistics();
    std::wstring const text = textOf(L"ST_STATISTIKEN");
    // The stored pixels shown in metres: 12,345 at 96 per inch are 3.27 m.
    EXPECT_NE(text.find(L"Mausweg: 3,3 m"), std::wstring::npos) << port::toUtf8(text);
    EXPECT_NE(text.find(L"Klicks: 10"), std::wstring::npos);
    EXPECT_NE(text.find(L"Spielzeit: 1:02:05"), std::wstring::npos) << port::toUtf8(text);
    showMenu(L"STATISTIKENMENU");
    keepScreen("statistics_overall_1024x768");
    overall->addTime(1e300);
    game->getResults().refreshStatistics();
    EXPECT_NE(textOf(L"ST_STATISTIKEN").find(L"Spielzeit: 596523:14:07"), std::wstring::npos)
        << port::toUtf8(textOf(L"ST_STATISTIKEN"));
}

}  // namespace
