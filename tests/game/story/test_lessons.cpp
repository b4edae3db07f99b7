// Scripted lessons: the card and pile lists each page sets on entering and leaving, the pages
// that follow carried-out and refused actions and clicks (a refusal that leads on is asked
// for), refused clicks, starting (seen lessons, tutorials it stops, a lesson chosen by name),
// the strip shown after the page's delay, and arrows rebuilt every frame at the cards, piles
// and windows they name.
#include <gtest/gtest.h>

#include "engine/core/CopyBudget.h"
#include "engine/gui/TutPoint.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/SolitaireCamera.h"
#include "game/story/ExtendedTutorial.h"
#include "game/story/ExtendedTutorialPage.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/story/GameTutorialFixture.h"

namespace {

using Names = std::vector<std::wstring>;
using Solitaire::ExtendedTutorialManager;

constexpr wchar_t kTemplates[] =
    L"<TUTORIAL><VORLAGEN><STRIP_VORLAGE NAME=\"STREIFEN\"/><PAGE_VORLAGE NAME=\"SEITE\"/>"
    L"<PTS_VORLAGE NAME=\"VON\" OFFSET=\"0 0\"/><PTS_VORLAGE NAME=\"AUF\" OFFSET=\"0 0\"/></VORLAGEN>"
    L"<STRIP NAME=\"ALT\"><PAGE NAME=\"a\"/></STRIP><STRIP NAME=\"NEU\"><PAGE NAME=\"n\"/></STRIP>"
    L"<STRIP NAME=\"DRITT\"><PAGE NAME=\"d\"/></STRIP></TUTORIAL>";

// Three hearts on three places, the ace on the first; a goal pile.
constexpr wchar_t kTable[] =
    L"<SOLITAIRE NAME=\"KLEIN\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"3\">"
    L"<STAPEL NAME=\"Z\" USERNAME=\"ZIEL\" STAPELTYP=\"BASIS\" IS_ZIELSTAPEL=\"ZIEL\" POSITION_REL=\"0 2\">"
    L"<ANORDNUNG NAME=\"A\"/><QUELLSTAPEL>\"|P1|\" \"|P2|\"</QUELLSTAPEL></STAPEL>"
    L"<STAPEL NAME=\"P1\" USERNAME=\"PLATZ_1\" STAPELTYP=\"TABLEAU\" POSITION_REL=\"0 0\" INIT_KARTEN_SICHTBAR=\"1\">"
    L"<ZIELSTAPEL>\"|Z|\"</ZIELSTAPEL><ANORDNUNG NAME=\"A\"><WUENSCHE><WUNSCH POSITION=\"0\" FARBE=\"HERZ\" WERT=\"ASS\" "
    L"USERNAME=\"ASS\"/></WUENSCHE></ANORDNUNG></STAPEL>"
    L"<STAPEL NAME=\"P2\" USERNAME=\"PLATZ_2\" STAPELTYP=\"TABLEAU\" POSITION_REL=\"2 0\" INIT_KARTEN_SICHTBAR=\"2\">"
    L"<ZIELSTAPEL>\"|Z|\"</ZIELSTAPEL><ANORDNUNG NAME=\"A\"/></STAPEL></SOLITAIRE>";

struct Mapper : sigslot::has_slots<> {
    void map(D3DXVECTOR2& p) { p += D3DXVECTOR2(1000.0f, 0.0f); }
};

class LessonTest : public storytest::GameTutorialFixture {
protected:
    void SetUp() override {
        GameTutorialFixture::SetUp();
        guitest::loadTutorial(kTemplates);
        Solitaire::StyleSettings::instance().setKartenset(cardtest::tableCardSet());
        cards().createDiscardPile();
        Orvex::XMLNode table = storytest::parse(kTable);
        cards().loadGameDefinition(table, L"lesson table");
        cards().startGame(&camera, L"1", true, {}, {}, 0.0f);
        tutorials().mapTablePoint.connect(&mapper, &Mapper::map);
    }
    void TearDown() override {
        cards().getTutorialNameList1().clear();
        cards().getTutorialNameList2().clear();
        cards().createDiscardPile();
        cards().setCamera(nullptr);
        GameTutorialFixture::TearDown();
    }
    static Solitaire::Kartenmanager& cards() { return Solitaire::Kartenmanager::instance(); }
    static ExtendedTutorialManager& lessons() { return ExtendedTutorialManager::instance(); }
    static void load(std::wstring const& pages,
                     std::wstring const& attributes = L"NAME=\"LEKTION\" START_PAGE=\"EINS\"") {
        Orvex::XMLNode root =
            storytest::parse(L"<L><EXTENDED_TUTORIAL " + attributes + L">" + pages + L"</EXTENDED_TUTORIAL></L>");
        lessons().load(root, L"lesson.tut");
    }
    // The current page's name, or "-".
    static std::wstring page() {
        Solitaire::ExtendedTutorial* lesson = lessons().getCurrent();
        return lesson && lesson->getCurrentPage() ? lesson->getCurrentPage()->getName() : L"-";
    }
    static Names const& cardList() { return cards().getTutorialNameList1(); }
    static Names const& pileList() { return cards().getTutorialNameList2(); }

    Solitaire::SolitaireCamera camera;
    Mapper mapper;
};

TEST_F(LessonTest, EachPageSetsTheListsOnEnteringAndLeaving) {
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\" CLEAR_CARDS=\"1\" CLEAR_STAPEL=\"1\">"
         L"<CARD_TO_ADD>\"|ASS|\" \"|ASS|\" \"|ZWEI|\"</CARD_TO_ADD><STAPEL_TO_ADD>\"|PLATZ_1|\"</STAPEL_TO_ADD>"
         L"<STAPEL_TO_ADD_POST>\"|ZIEL|\"</STAPEL_TO_ADD_POST><NEXT KARTE=\"ASS\" NEXT=\"ZWEI\"/></EXTENDED_TUTORIALPAGE>"
         L"<EXTENDED_TUTORIALPAGE NAME=\"ZWEI\"><CARD_TO_REMOVE>\"|ASS|\"</CARD_TO_REMOVE>"
         L"<STAPEL_TO_REMOVE>\"|PLATZ_1|\"</STAPEL_TO_REMOVE><NEXT KARTE=\"ZWEI\" NEXT=\"DREI\"/></EXTENDED_TUTORIALPAGE>"
         L"<EXTENDED_TUTORIALPAGE NAME=\"DREI\" CLEAR_CARDS_POST=\"1\" CLEAR_STAPEL_POST=\"1\" END_ON_NF=\"1\"/>");
    cards().getTutorialNameList1() = {L"ALT"};
    ASSERT_TRUE(lessons().startTutorial(L"LEKTION"));
    struct Row {
        wchar_t const* event;  // a carried-out action on this user name (empty: none)
        wchar_t const* page;
        Names cards, piles;
    } const rows[] = {
        {L"", L"EINS", {L"ASS", L"ASS", L"ZWEI"}, {L"PLATZ_1"}},
        {L"ASS", L"ZWEI", {L"ZWEI"}, {L"ZIEL"}},  // leaving adds ZIEL before entering removes PLATZ_1
        {L"ZWEI", L"DREI", {L"ZWEI"}, {L"ZIEL"}},
        {L"ANDERE", L"-", {}, {}},                // END_ON_NF 1: the page is left, its POST lists cleared
    };
    for (Row const& row : rows) {
        if (*row.event) lessons().onCardEvent(row.event, true);
        EXPECT_EQ(page(), row.page);
        EXPECT_EQ(cardList(), row.cards) << guitest::narrow(row.page);
        EXPECT_EQ(pileList(), row.piles) << guitest::narrow(row.page);
    }
    EXPECT_TRUE(lessons().isRunning());  // current without a page until the next start
}

TEST_F(LessonTest, CarriedOutAndRefusedActionsFollowTheirOwnTables) {
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\" END_ON_NF=\"0\" END_ON_NF_FAIL=\"0\"><NEXT KARTE=\"ASS\" NEXT=\"GUT\"/>"
         L"<NEXT KARTE=\"ASS\"/><NEXT_FAIL KARTE=\"ASS\" NEXT=\"FALSCH\"/><NEXT_FAIL KARTE=\"ZWEI\" NEXT=\"ERST\"/>"
         L"<NEXT_FAIL KARTE=\"ZWEI\" NEXT=\"DANN\"/><NEXT_GUI GUI=\"KNOPF\" NEXT=\"GUT\"/></EXTENDED_TUTORIALPAGE>"
         L"<EXTENDED_TUTORIALPAGE NAME=\"GUT\"/><EXTENDED_TUTORIALPAGE NAME=\"FALSCH\"/><EXTENDED_TUTORIALPAGE NAME=\"DANN\"/>");
    struct Row {
        wchar_t const* what;  // "+name" carried out, "-name" refused, "#name" a click
        wchar_t const* page;
    } const rows[] = {
        {L"+ZWEI", L"EINS"},  // no entry, END_ON_NF 0: nothing
        {L"-ZIEL", L"EINS"},
        {L"+ASS", L"GUT"},    // an entry without NEXT is ignored
        {L"-ASS", L"FALSCH"},
        {L"-ZWEI", L"DANN"},  // the later entry for the same card replaces the earlier
        {L"#KNOPF", L"GUT"},
        {L"#ANDERS", L"EINS"},
        {L"+FEHLT", L"EINS"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(guitest::narrow(row.what));
        profile->otherSeen.clear();
        ASSERT_TRUE(lessons().startTutorial(L"LEKTION"));
        std::wstring const name = row.what + 1;
        // A refusal that leads on is one the page asks for.
        if (row.what[0] == L'-') EXPECT_EQ(lessons().asksForRefusal(name), std::wstring(row.page) != L"EINS");
        if (row.what[0] == L'#') lessons().onGuiClick(name);
        else lessons().onCardEvent(name, row.what[0] == L'+');
        EXPECT_EQ(page(), row.page);
    }
    // An unknown page name ends the lesson's pages.
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\"><NEXT KARTE=\"ASS\" NEXT=\"NIRGENDS\"/></EXTENDED_TUTORIALPAGE>",
         L"NAME=\"ZWEITE\" START_PAGE=\"EINS\"");
    ASSERT_TRUE(lessons().startTutorial(L"ZWEITE"));
    lessons().onCardEvent(L"ASS", true);
    EXPECT_EQ(page(), L"-");
}

TEST_F(LessonTest, ClicksNamedByThePageAreRefusedUntilItIsLeft) {
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\"><DO_NOT_CLICK_BUTTONS>\"|I_Undo|\" \"|I_TIPP|\"</DO_NOT_CLICK_BUTTONS>"
         L"<NEXT_GUI GUI=\"I_Weiter\" NEXT=\"ZWEI\"/></EXTENDED_TUTORIALPAGE><EXTENDED_TUTORIALPAGE NAME=\"ZWEI\"/>");
    EXPECT_TRUE(lessons().isClickAllowed(L"I_Undo"));  // no lesson
    ASSERT_TRUE(lessons().startTutorial(L"LEKTION"));
    EXPECT_FALSE(lessons().isClickAllowed(L"I_Undo"));
    EXPECT_FALSE(lessons().isClickAllowed(L"I_TIPP"));
    EXPECT_TRUE(lessons().isClickAllowed(L"I_Weiter"));
    lessons().onGuiClick(L"I_Weiter");
    EXPECT_EQ(page(), L"ZWEI");
    EXPECT_TRUE(lessons().isClickAllowed(L"I_Undo"));
}

TEST_F(LessonTest, ASeenLessonDoesNotStartAndStopsNothing) {
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\"/><STOP_CANCEL_TUTORIALS>\"|ALT|\" \"|SOLITAIRE_KLEIN|\"</STOP_CANCEL_TUTORIALS>");
    loadMenus({}, L"<GUIMENU NAME='A'/><GUIMENU NAME='TUTORIALMENU'/>");
    ASSERT_TRUE(show(L"ALT"));
    profile->markTutorialSeen(L"LEKTION");
    EXPECT_FALSE(lessons().startTutorial(L"LEKTION"));
    EXPECT_FALSE(lessons().isRunning());
    EXPECT_FALSE(profile->seen(L"SOLITAIRE_KLEIN"));
    EXPECT_EQ(onScreen(), "ALT");
    profile->otherSeen.clear();
    ASSERT_TRUE(lessons().startTutorial(L"LEKTION"));
    EXPECT_TRUE(profile->seen(L"SOLITAIRE_KLEIN") && profile->seen(L"ALT") && profile->seen(L"LEKTION"));
    EXPECT_EQ(onScreen(), "-");
    EXPECT_EQ(engine().getCurrentStrip(), nullptr);
    EXPECT_EQ(signals.closed, 1);
    // Unknown names and lessons without their start page do not start, and nothing is current.
    EXPECT_FALSE(lessons().startTutorial(L"KEINE"));
    EXPECT_FALSE(lessons().isRunning());
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\"/>", L"NAME=\"OHNE_START\"");
    EXPECT_FALSE(lessons().startTutorial(L"OHNE_START"));
    tutorials().setActiveProfileSource({});
    profile->otherSeen.clear();
    EXPECT_FALSE(lessons().startTutorial(L"LEKTION"));
}

// A lesson the player chose by name starts whatever the profile's switch and seen list say; one
// that comes by itself only while the switch is on and the lesson is unseen.
TEST_F(LessonTest, AChosenLessonStartsWhateverTheSwitchAndTheSeenListSay) {
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\"/>");
    struct {
        bool show, seen, chosen, starts;
    } const rows[] = {{true, false, false, true}, {false, false, false, false}, {true, true, false, false},
                      {false, true, true, true}};
    for (auto const& r : rows) {
        profile->showTutorials = r.show;
        profile->otherSeen.assign(r.seen ? 1 : 0, L"LEKTION");
        EXPECT_EQ(lessons().startTutorial(L"LEKTION", r.chosen), r.starts) << r.show << r.seen << r.chosen;
        EXPECT_EQ(page(), r.starts ? L"EINS" : L"-");
    }
}

// A tutorial waiting behind the one the lesson stops comes on screen and stays there: closing it
// lets the next request show at once (the manager does not stay busy with a hidden strip).
TEST_F(LessonTest, ATutorialWaitingBehindAStoppedOneIsShownAndClosesAsUsual) {
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\"/><STOP_CANCEL_TUTORIALS>\"|ALT|\"</STOP_CANCEL_TUTORIALS>");
    loadMenus({}, L"<GUIMENU NAME='A'/><GUIMENU NAME='TUTORIALMENU'/>");
    ASSERT_TRUE(show(L"ALT"));
    ASSERT_TRUE(show(L"NEU"));  // waits
    ASSERT_TRUE(lessons().startTutorial(L"LEKTION"));
    EXPECT_EQ(onScreen(), "NEU");
    ASSERT_NE(engine().getCurrentStrip(), nullptr);
    EXPECT_EQ(guitest::narrow(engine().getCurrentStrip()->getName()), "NEU");
    ASSERT_NE(engine().getCurrentStrip()->getCurrentPage(), nullptr);
    EXPECT_TRUE(engine().getCurrentStrip()->getCurrentPage()->isShown());
    tutorials().closeTutorial();
    EXPECT_EQ(onScreen(), "-");
    EXPECT_EQ(signals.closed, 1);
    ASSERT_TRUE(show(L"DRITT"));
    EXPECT_EQ(onScreen(), "DRITT");
    EXPECT_TRUE(tutorials().getPending().empty());
}

TEST_F(LessonTest, ThePagesStripComesAfterItsDelayAndArrowsFollowWhatTheyPointAt) {
    load(L"<EXTENDED_TUTORIALPAGE NAME=\"EINS\" STRIP_VORLAGE=\"STREIFEN\">"
         L"<TUTORIAL_PAGE PAGE_VORLAGE=\"SEITE\" PFEIL_VORLAGE_START=\"VON\" PFEIL_VORLAGE_END=\"AUF\">"
         L"<PFEIL_KO>\"|ASS|\" \"|ZIEL|\"</PFEIL_KO><GUI>\"|KNOPF|\" \"|FEHLT|\"</GUI></TUTORIAL_PAGE>"
         L"<NEXT KARTE=\"ASS\" NEXT=\"ZWEI\"/></EXTENDED_TUTORIALPAGE>"
         L"<EXTENDED_TUTORIALPAGE NAME=\"ZWEI\" SHOW_TIMER=\"0\" STRIP_VORLAGE=\"STREIFEN\">"
         L"<TUTORIAL_PAGE PAGE_VORLAGE=\"SEITE\" PFEIL_VORLAGE_START=\"VON\" PFEIL_VORLAGE_END=\"AUF\">"
         L"<PFEIL_KO>\"|ZIEL|\"</PFEIL_KO></TUTORIAL_PAGE></EXTENDED_TUTORIALPAGE>");
    loadMenus({L"KNOPF"}, L"<GUIMENU NAME='TUTORIALMENU'/>");
    Orvex::GUIWindow* button = gui.findWindow(L"KNOPF");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(lessons().startTutorial(L"LEKTION"));
    Solitaire::ExtendedTutorialPage* first = lessons().getCurrent()->getCurrentPage();
    Orvex::TutorialPage* strip = first->getEntries().at(0)->page.get();
    ASSERT_NE(strip, nullptr);
    lessons().update(0.25f);
    EXPECT_EQ(onScreen(), "-");
    EXPECT_TRUE(strip->getPoints().empty());
    lessons().update(0.25f);  // the 0.5 s have passed: the strip is asked for, the arrows placed
    EXPECT_EQ(onScreen(), "EINS");
    std::vector<Orvex::TutPointPair> const& points = strip->getPoints();
    ASSERT_EQ(points.size(), 3u);  // the pile first, then the card, then the window that exists
    Solitaire::Karte* ace = nullptr;
    for (Solitaire::Karte* card : cards().cards)
        if (card->getUserName() == L"ASS") ace = card;
    ASSERT_NE(ace, nullptr);
    D3DXVECTOR2 resting;
    ace->getPosition(resting, false, false);
    EXPECT_EQ(points[0].goal->offset, cards().findPile(L"Z")->getAnchorPosition() + D3DXVECTOR2(1000.0f, 0.0f));
    EXPECT_EQ(points[1].goal->offset, resting + D3DXVECTOR2(1000.0f, 0.0f));
    Orvex::FRect const r = button->getScreenRect();
    EXPECT_EQ(points[2].goal->offset, D3DXVECTOR2((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    // The card moves: the next frame's arrow points at its new resting place.
    cards().executeMove({{ace, 0}}, cards().findPile(L"P1"), cards().findPile(L"Z"), ace);
    lessons().update(0.016f);
    ace->getPosition(resting, false, false);
    EXPECT_EQ(strip->getPoints().at(1).goal->offset, resting + D3DXVECTOR2(1000.0f, 0.0f));
    // Without a delay the next page's arrows come from its first frame and its strip is never
    // asked for (the first strip stays on screen).
    lessons().onCardEvent(L"ASS", true);
    lessons().update(0.016f);
    Orvex::TutorialPage* second = lessons().getCurrent()->getCurrentPage()->getEntries().at(0)->page.get();
    EXPECT_EQ(second->getPoints().size(), 1u);
    EXPECT_TRUE(tutorials().getPending().empty());
    // The page's text is its entry's language text.
    std::wstring shown = L"vorher";
    bool useTextId = true;
    strip->textHook.emit(*strip, L"", shown, useTextId);
    EXPECT_EQ(shown, L"");
    EXPECT_FALSE(useTextId);
}

}  // namespace

namespace {

// A lesson page copies its strip template when the file is read; the lesson file's copies have a
// budget, past which pages get their strip without the template's pages, and one line names the
// file.
TEST_F(LessonTest, StripCopiesStopAtTheFilesBudget) {
    std::wstring const text(64 * 4000, L'x');
    std::wstring const page = L"<PAGE TEXT=\"" + text + L"\"/>";
    guitest::loadTutorial(L"<TUTORIAL><VORLAGEN><STRIP_VORLAGE NAME=\"GROSS\">" + page + page +
                          L"</STRIP_VORLAGE></VORLAGEN></TUTORIAL>");
    Orvex::TutorialStrip const* source = Orvex::TutorialManager::instance().findStripTemplate(L"GROSS");
    ASSERT_NE(source, nullptr);
    std::size_t const perCopy = 2 + 2 * source->getPages()[0]->copyEntries();
    std::size_t const fitting = Orvex::CopyBudget::kEntriesPerFile / perCopy;
    std::wstring pages;
    for (std::size_t i = 0; i <= fitting + 1; ++i)
        pages += L"<EXTENDED_TUTORIALPAGE NAME=\"P" + std::to_wstring(1000 + i) + L"\" STRIP_VORLAGE=\"GROSS\"/>";
    logtest::LogWatch watch;
    load(pages);
    ASSERT_EQ(lessons().getLessons().size(), 1u);
    auto const& read = lessons().getLessons()[0]->getPages();
    ASSERT_EQ(read.size(), fitting + 2);
    std::size_t i = 0;
    for (auto const& [name, page] : read) {  // in name order, which is file order here
        ASSERT_NE(page->getStrip(), nullptr) << i;
        std::size_t const copied = page->getStrip()->getPages().size();
        if (i < fitting) EXPECT_EQ(copied, 2u) << i;
        if (i == fitting) EXPECT_LT(copied, 2u) << "the page the budget ran out in";
        if (i > fitting) EXPECT_EQ(copied, 0u) << i;
        ++i;
    }
    std::size_t budgetLines = 0;
    for (std::wstring const& line : watch.lines())
        budgetLines += logtest::contains(line, L"\"lesson.tut\": copies of templates reached the budget");
    EXPECT_EQ(budgetLines, 1u);
}

}  // namespace
