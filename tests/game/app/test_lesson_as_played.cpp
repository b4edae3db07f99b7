// The lesson of free play ("Lektion: Herzreihe lernen") as a player meets it in a window of
// 1280 x 720, on the game's own data: every action an SDL event in the real window, what the
// player sees read from the cards' and windows' screen rectangles, the labels and the drawn
// pixels. The player has tutorials on and has seen the screens' own pages. Screenshots go to the
// build folder's "screenshots" ("played_lesson_*.png").
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <SDL.h>

#include "engine/core/PerfTimer.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialStrip.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/TableRenderer.h"
#include "game/story/ExtendedTutorial.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/ExtendedTutorialPage.h"
#include "game/story/SolTutorialManager.h"
#include "tests/game/app/CampaignProfiles.h"
#include "tests/game/app/PlayedScreensFixture.h"
#include "tests/support/SdlEvents.h"

namespace {

using minigametest::narrow;
using Solitaire::Karte;

// Tutorials on; the pages of the screens on the way to the table seen.
constexpr char kLessonPlayer[] = R"(<PROFILE ACTIVE_PROFIL="Anna"><PROFIL NAME="Anna">
<TUTORIAL SHOW="1">"|TUTORIALMENU|" "|HAUPTMENU|" "|FREIESSPIELMENU|" "|PAUSEMENU|" "|AUSWERTUNGMENU_FG|"</TUTORIAL>
</PROFIL></PROFILE>
)";

class LessonAsPlayedTest : public apptest::PlayedScreensFixture {
protected:
    void SetUp() override {
        screenWidth = 1280;
        screenHeight = 720;
        homeName = "played_lesson";
        profileText = kLessonPlayer;
        PlayedScreensFixture::SetUp();
        // The hover passes (and so the card tooltips) run on the frames' clock, as they run on
        // the wall clock in the game: a fast machine would step 2 s of frames between two passes.
        Solitaire::Kartenmanager::instance().setClock(
            [] { return static_cast<Orvex::u32>(Orvex::PerfTimer::frameTimer().getRealTime() * 1000.0); });
    }
    void TearDown() override {
        Solitaire::Kartenmanager::instance().setClock({});
        PlayedScreensFixture::TearDown();
    }

    // Free play, the category "Knobeleien", the game "Herzreihe": its variants on screen.
    void toTheRowOfHearts() {
        ASSERT_NO_FATAL_FAILURE(toMainMenu());
        clickOn(L"H_FreiesSpiel");
        clickOn(L"FG_Kategorie_KNOBELEIEN");
        clickOn(L"FG_Game_HERZREIHE");
    }
    // There the variant "Lektion", "Spielen": the deal lands.
    void startLesson() {
        ASSERT_NO_FATAL_FAILURE(toTheRowOfHearts());
        clickOn(L"FG_Variante_HERZREIHE_LEKTION");
        clickOn(L"FG_StartButton");
        ASSERT_NE(activeMenu(), L"FREIESSPIELMENU");
        wait(3.0);
    }

    static std::wstring page() {
        Solitaire::ExtendedTutorial* lesson = Solitaire::ExtendedTutorialManager::instance().getCurrent();
        return lesson && lesson->getCurrentPage() ? lesson->getCurrentPage()->getName() : L"-";
    }
    // The strip of the tutorial on screen ("-": none).
    static std::wstring onScreen() {
        Solitaire::SolTutorialManager const& tutorials = Solitaire::SolTutorialManager::instance();
        Orvex::TutorialStrip const* strip = tutorials.getCurrentStrip();
        return tutorials.isRunning() && strip ? strip->getName() : L"-";
    }
    // The lesson's page of that name is current and its text on screen ("HR_ASS": text
    // "LEKTION_HR_ASS").
    static void expectPage(std::wstring const& name) {
        EXPECT_EQ(page(), name);
        EXPECT_EQ(onScreen(), name);
        EXPECT_EQ(pageText(), Orvex::languageText(L"LEKTION_" + name));
    }
    static std::wstring pageText() {
        Orvex::GUILabel* text = Solitaire::findLabel(L"T_SOLITAIREHELP_TEXT");
        return text ? text->getText() : L"(no label)";
    }
    static Solitaire::Kartenmanager& cards() { return Solitaire::Kartenmanager::instance(); }
    static Karte* card(wchar_t const* userName) {
        for (Karte* c : cards().cards)
            if (c->getUserName() == userName) return c;
        ADD_FAILURE() << "no card " << narrow(userName);
        return cards().cards.front();
    }
    static Solitaire::Kartenstapel& goal() { return *cards().findPile(L"STAPEL_ZIEL"); }
    static std::wstring pileOf(Karte const* c) { return c->pile ? c->pile->getName() : L"(none)"; }
    // Screen rectangles in window pixels, as the table renderer draws them.
    Orvex::FRect onScreenRect(Orvex::FRect const& table) const {
        D3DXVECTOR2 const a = game->getRenderer()->toWindowPoint(D3DXVECTOR2(table.left, table.top));
        D3DXVECTOR2 const b = game->getRenderer()->toWindowPoint(D3DXVECTOR2(table.right, table.bottom));
        return Orvex::FRect(a.x, a.y, b.x, b.y);
    }
    Orvex::FRect rectOf(Karte const& c) const { return onScreenRect(Solitaire::computeScreenRect(c, cards().getCamera())); }
    Orvex::FRect rectOf(Solitaire::Kartenstapel const& p) const {
        return onScreenRect(Solitaire::computeScreenRect(p, cards().getCamera()));
    }
    static D3DXVECTOR2 middle(Orvex::FRect const& r) { return {(r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f}; }
    static bool inside(D3DXVECTOR2 const& p, Orvex::FRect const& r) {
        return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
    }
    static bool overlap(Orvex::FRect const& a, Orvex::FRect const& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }
    // The pointer rested on the card until its tooltip could show, then a quick double click.
    void doubleClick(Karte const* c) {
        D3DXVECTOR2 const at = middle(rectOf(*c));
        moveTo(at);
        wait(0.5);
        MinigameFixture::doubleClick(at);
    }
    void dragToGoal(Karte const* c) { drag(middle(rectOf(*c)), middle(rectOf(goal())), 8); }
    // The page's button, as the player presses it.
    void readOn() {
        clickOn(L"T_Weiter");
        wait(1.0);
    }
    Orvex::FRect pageRect() const { return find(L"T_TutorialBaseFrame")->getScreenRect(); }
    // The number a label shows after its text ("Punkte: 1.234" is 1234); -1 without one.
    static long numberIn(std::wstring const& text) {
        long value = -1;
        for (wchar_t c : text)
            if (c >= L'0' && c <= L'9') value = (value < 0 ? 0 : value * 10) + (c - L'0');
        return value;
    }
    static constexpr long kStartScore = 1000;
    // The sum of the colour channels of the drawn pixel at the point (the last drawn frame).
    long brightnessAt(D3DXVECTOR2 const& point) {
        uint32_t const c = pixelAt(pixels(), point);
        return static_cast<long>(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF));
    }
    // The card tooltip on screen (the tooltip shown for the table's hot spot).
    static bool cardTooltipShown() {
        auto* tooltip = dynamic_cast<Orvex::GUITooltip*>(find(L"TOOLTIP"));
        return tooltip && tooltip->isShown() && tooltip->getTarget() && tooltip->getTarget()->getName() == L"TMPWINDOW";
    }
};

// The lesson played through, each page's card acted on once after its text was read and once
// with its text still on screen: every page comes with its own text, the row of thirteen stays
// on the table (the pages restrict which cards answer the pointer), an ace double-clicked lands
// on the goal pile and is drawn on it, and nothing of the table hides under a page.
class LessonPagesTest : public LessonAsPlayedTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LessonPagesTest, EveryPageComesAndTheCardsLieWhereThePlayerSeesThem) {
    bool const readFirst = GetParam();
    ASSERT_NO_FATAL_FAILURE(startLesson());
    expectPage(L"HR_ASS");
    // The whole row stays: the first page only chooses which card answers the pointer.
    static wchar_t const* const kRow[] = {L"HERZ_KOENIG", L"HERZ_DAME", L"HERZ_BUBE", L"HERZ_10", L"HERZ_9",
                                          L"HERZ_8",      L"HERZ_7",    L"HERZ_6",    L"HERZ_5",  L"HERZ_4",
                                          L"HERZ_3",      L"HERZ_2",    L"HERZ_ASS"};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(pileOf(card(kRow[i])), L"PLATZ" + std::to_wstring(i + 1)) << narrow(kRow[i]);
    // Another card and a drag of the ace do not play: the ace waits for its double click.
    dragToGoal(card(L"HERZ_2"));
    dragToGoal(card(L"HERZ_ASS"));
    wait(1.0);
    EXPECT_EQ(pileOf(card(L"HERZ_2")), L"PLATZ12");
    EXPECT_EQ(pileOf(card(L"HERZ_ASS")), L"PLATZ13");
    EXPECT_EQ(page(), L"HR_ASS");
    keep(readFirst ? "played_lesson_first_page" : "played_lesson_first_page_open");

    long const empty = brightnessAt(middle(rectOf(goal())));
    if (readFirst) readOn();
    doubleClick(card(L"HERZ_ASS"));
    wait(2.0);
    EXPECT_EQ(pileOf(card(L"HERZ_ASS")), L"STAPEL_ZIEL");
    expectPage(L"HR_ZWEI");
    // On the goal pile, and in sight: not beside it, not under the page.
    Orvex::FRect const ace = rectOf(*card(L"HERZ_ASS"));
    EXPECT_TRUE(inside(middle(ace), rectOf(goal()))) << ace.left << "," << ace.top;
    EXPECT_FALSE(overlap(ace, pageRect()));
    EXPECT_NE(brightnessAt(middle(rectOf(goal()))), empty) << "the ace drawn on the goal pile";
    keep(readFirst ? "played_lesson_ace_laid" : "played_lesson_ace_laid_open");

    if (readFirst) readOn();
    float const score = cards().getScorePlus();
    doubleClick(card(L"HERZ_3"));
    wait(2.0);
    EXPECT_EQ(pileOf(card(L"HERZ_3")), L"PLATZ11");
    expectPage(L"HR_FALSCH");
    EXPECT_EQ(cards().getScorePlus(), score) << "the refusal the page asked for costs nothing";

    dragToGoal(card(L"HERZ_2"));
    wait(1.0);
    EXPECT_EQ(pileOf(card(L"HERZ_2")), L"STAPEL_ZIEL");
    EXPECT_EQ(page(), L"HR_FALSCH");
    readOn();
    // The last page lies over the row's right end: it is read before the rest is laid.
    expectPage(L"HR_REST");
    readOn();
    for (wchar_t const* name : {L"HERZ_3", L"HERZ_4", L"HERZ_5", L"HERZ_6", L"HERZ_7", L"HERZ_8", L"HERZ_9", L"HERZ_10",
                                L"HERZ_BUBE", L"HERZ_DAME"}) {
        doubleClick(card(name));
        wait(1.0);
        EXPECT_EQ(pileOf(card(name)), L"STAPEL_ZIEL") << narrow(name);
    }
    EXPECT_EQ(page(), L"-");
    doubleClick(card(L"HERZ_KOENIG"));
    wait(1.0);
    EXPECT_EQ(cards().getGameStatus(), Solitaire::kGameWon);
}

INSTANTIATE_TEST_SUITE_P(ReadFirstOrNot, LessonPagesTest, ::testing::Bool());

// The lesson is new: its button in the variant column of the row of hearts wears the banner,
// drawn where the player sees it, and starting it shows the lesson's title.
TEST_F(LessonAsPlayedTest, TheLessonsBannerShowsOnItsButton) {
    ASSERT_NO_FATAL_FAILURE(toTheRowOfHearts());
    Orvex::GUIWindow* button = find(L"FG_Variante_HERZREIHE_LEKTION");
    ASSERT_NE(button, nullptr);
    ASSERT_FALSE(button->getChildren().empty());
    Orvex::GUIWindow* banner = button->getChildren().back();
    EXPECT_TRUE(shown(banner));
    Orvex::FRect const r = banner->getScreenRect();
    Orvex::FRect const column = find(L"FG_VariantenPanel")->getScreenRect();
    EXPECT_TRUE(inside(middle(r), column)) << r.left << "," << r.top;
    keep("played_lesson_banner");
    uint32_t const c = pixelAt(pixels(), D3DXVECTOR2(r.left + (r.right - r.left) * 0.15f, (r.top + r.bottom) * 0.5f));
    int const red = static_cast<int>((c >> 16) & 0xFF);
    int const green = static_cast<int>((c >> 8) & 0xFF);
    EXPECT_GT(red, green + 40) << std::hex << c << ": the ribbon drawn";
    // The plain row has none.
    Orvex::GUIWindow* plain = find(L"FG_Variante_HERZREIHE");
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->getChildren().size() < button->getChildren().size());
    clickOn(L"FG_Variante_HERZREIHE_LEKTION");
    clickOn(L"FG_StartButton");
    EXPECT_EQ(Solitaire::findLabel(L"I_LevelName")->getText(), L"Herzreihe: Lektion");
}

// A card's tooltip belongs to the table: it goes when the pointer is over a page of the lesson,
// also when the page came under the resting pointer or the pointer stays where the page's
// button was, and comes again on the table.
TEST_F(LessonAsPlayedTest, ACardsTooltipDoesNotStayOverAPage) {
    ASSERT_NO_FATAL_FAILURE(startLesson());
    ASSERT_EQ(onScreen(), L"HR_ASS");
    auto restOnTheRow = [&] {
        moveTo(middle(rectOf(*card(L"HERZ_6"))));
        wait(2.0);
        return cardTooltipShown();
    };
    struct Case {
        char const* what;
        std::function<void()> act;
    };
    Case const cases[] = {
        {"the pointer moved onto the page's text", [&] { moveTo(middle(find(L"T_SOLITAIREHELP_TEXT")->getScreenRect())); }},
        {"the page's button pressed: the page goes, the pointer rests",
         [&] { click(reachablePointOf(*find(L"T_Weiter"))); }},
        {"the next page comes under the resting pointer",
         [&] {
             doubleClick(card(L"HERZ_ASS"));
             moveTo(middle(rectOf(goal())));
             wait(2.0);
             ASSERT_EQ(onScreen(), L"HR_ZWEI");
             moveTo(middle(pageRect()));
         }},
    };
    for (Case const& c : cases) {
        ASSERT_TRUE(restOnTheRow()) << c.what;
        c.act();
        for (int frame = 0; frame < 120; ++frame) {
            tick(frame % 20 == 0);
            ASSERT_FALSE(cardTooltipShown()) << c.what << ", frame " << frame;
        }
    }
    keep("played_lesson_tooltip_gone");
    EXPECT_TRUE(restOnTheRow()) << "back on the table";
}

// The lesson stays with its own game: the free game after it, whether the lesson was won or left
// half-way, shows its own score from its first frame, brings no page of the lesson and lets
// every card answer the pointer.
class NextGameTest : public LessonAsPlayedTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NextGameTest, TheNextFreeGameIsAPlainGame) {
    bool const won = GetParam();
    ASSERT_NO_FATAL_FAILURE(startLesson());
    doubleClick(card(L"HERZ_ASS"));
    wait(1.0);
    ASSERT_EQ(page(), L"HR_ZWEI");
    if (won) {
        doubleClick(card(L"HERZ_3"));
        wait(1.0);
        ASSERT_EQ(page(), L"HR_FALSCH");
        readOn();
        ASSERT_EQ(page(), L"HR_REST");
        readOn();
        for (wchar_t const* name : {L"HERZ_2", L"HERZ_3", L"HERZ_4", L"HERZ_5", L"HERZ_6", L"HERZ_7", L"HERZ_8", L"HERZ_9",
                                    L"HERZ_10", L"HERZ_BUBE", L"HERZ_DAME", L"HERZ_KOENIG"}) {
            doubleClick(card(name));
            wait(1.0);
        }
        ASSERT_EQ(cards().getGameStatus(), Solitaire::kGameWon);
    }
    long const lessonScore = numberIn(Solitaire::findLabel(L"I_Points")->getText());
    ASSERT_GT(std::abs(lessonScore - kStartScore), 50) << lessonScore;
    if (won) {
        for (int i = 0; i < 1200 && activeMenu() != L"AUSWERTUNGMENU"; ++i) tick(i % 30 == 0);
        ASSERT_EQ(activeMenu(), L"AUSWERTUNGMENU");
        settle();
        clickOn(L"A_BACK");
    } else {
        readOn();
        key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        settle();
        ASSERT_EQ(activeMenu(), L"PAUSEMENU");
        clickOn(L"P_ENDE");
    }
    ASSERT_EQ(activeMenu(), L"FREIESSPIELMENU");
    clickOn(L"FG_Game_HERZREIHE");
    click(reachablePointOf(*find(L"FG_StartButton")));
    // The points and the balance run down from the start as the time goes; never the lesson's.
    long const balance = numberIn(Solitaire::findLabel(L"I_Points2")->getText());
    for (int frame = 0; frame < 150; ++frame) {
        long const shown = numberIn(Solitaire::findLabel(L"I_Points")->getText());
        ASSERT_LE(std::abs(shown - kStartScore), 10) << "frame " << frame << ": " << shown;
        long const left = numberIn(Solitaire::findLabel(L"I_Points2")->getText());
        ASSERT_LE(std::abs(left - balance), 10) << "frame " << frame << ": " << left;
        tick(frame % 10 == 0);
    }
    // A card the lesson would refuse goes; a refused one brings no page.
    dismissTablePanels();
    doubleClick(card(L"HERZ_3"));
    wait(1.0);
    dragToGoal(card(L"HERZ_ASS"));
    wait(1.0);
    EXPECT_EQ(pileOf(card(L"HERZ_ASS")), L"STAPEL_ZIEL");
    EXPECT_EQ(onScreen(), L"-");
    EXPECT_EQ(page(), L"-");
}

INSTANTIATE_TEST_SUITE_P(LeftOrWon, NextGameTest, ::testing::Bool());

}  // namespace

namespace {

// The campaign's pages as a player with tutorials on reads them at the start of a level: each
// says what the table shows. A player at the start of chapter 2, whose level 0 brings the first
// god's bar.
struct CampaignPage {
    char const* what;
    int chapterButton;
    int level;
    wchar_t const* strip;
    wchar_t const* notSaid;  // in no page's text
    wchar_t const* said;     // in one page's text (empty: no such word)
};

class CampaignPagesTest : public apptest::PlayedScreensFixture, public ::testing::WithParamInterface<CampaignPage> {
protected:
    void SetUp() override {
        screenWidth = 1280;
        screenHeight = 720;
        homeName = "played_campaign_pages";
        profileText = apptest::profileAtStart(2);
        std::string const off = "<TUTORIAL SHOW=\"0\"/>";
        profileText.replace(profileText.find(off), off.size(),
                            "<TUTORIAL SHOW=\"1\">\"|TUTORIALMENU|\" \"|HAUPTMENU|\" \"|KATEGORIEMENU|\" "
                            "\"|LEVELAUSWAHLMENU|\" \"|INGAMEMENU_STORY|\"</TUTORIAL>");
        PlayedScreensFixture::SetUp();
    }
};

TEST_P(CampaignPagesTest, ThePagesSayWhatTheTableShows) {
    CampaignPage const& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Kampagne");
    ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
    clickOn(L"K_KategorieButton" + std::to_wstring(c.chapterButton));
    for (int i = 0; i < 600 && activeMenu() != L"LEVELAUSWAHLMENU"; ++i) {
        if (scene()) clickOn(L"T_END_STORY_CLICK");
        tick(false);
    }
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    clickOn(L"LA_LevelButton_" + std::to_wstring(c.level));
    wait(2.0);
    Solitaire::SolTutorialManager const& tutorials = Solitaire::SolTutorialManager::instance();
    std::vector<std::wstring> texts;
    for (int i = 0; i < 8 && tutorials.isRunning(); ++i) {
        Orvex::TutorialStrip const* strip = tutorials.getCurrentStrip();
        ASSERT_NE(strip, nullptr);
        if (strip->getName() == c.strip) {
            Orvex::GUILabel* text = Solitaire::findLabel(L"T_SOLITAIREHELP_TEXT");
            ASSERT_NE(text, nullptr);
            texts.push_back(text->getText());
            keep(std::string("played_campaign_page_") + c.what + std::to_string(texts.size()));
        }
        clickOn(L"T_Weiter");
        wait(0.5);
    }
    ASSERT_FALSE(texts.empty()) << narrow(c.strip);
    bool found = std::wstring(c.said).empty();
    for (std::wstring const& text : texts) {
        EXPECT_EQ(text.find(c.notSaid), std::wstring::npos) << narrow(text);
        found = found || text.find(c.said) != std::wstring::npos;
    }
    EXPECT_TRUE(found) << narrow(c.said);
    if (std::wstring(c.strip) == L"GOETTER_0") {
        // And there the bars stand: in the bottom right quarter of the window.
        Orvex::FRect const bars = find(L"I_GODS")->getScreenRect();
        EXPECT_GT(bars.left, static_cast<float>(screenWidth) * 0.5f);
        EXPECT_GT(bars.top, static_cast<float>(screenHeight) * 0.5f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Campaign, CampaignPagesTest,
    ::testing::Values(CampaignPage{"golfplatz", 1, 0, L"SOLITAIRE_GOLFPLATZ", L"verdeckt", L""},
                      CampaignPage{"gods", 3, 0, L"GOETTER_0", L"Oben am Rand", L"Unten rechts"}),
    [](::testing::TestParamInfo<CampaignPage> const& info) { return std::string(info.param.what); });

}  // namespace
