// The game tutorial manager: which requests the profile lets through, forced ones, the queue,
// closing back to the menu the tutorial came from, the next-on-click elements stepping and
// closing strips, the show-tutorials switch, and points set from a request's coordinates.
#include <gtest/gtest.h>

#include "engine/gui/TutPoint.h"
#include "engine/gui/TutorialStrip.h"
#include "tests/game/story/GameTutorialFixture.h"

namespace {

using Names = std::vector<std::wstring>;

// Strips of one or two pages; "PUNKTE" has a page whose goal point is named "ZIEL".
constexpr wchar_t kStrips[] =
    L"<TUTORIAL><VORLAGEN><PTS_VORLAGE NAME=\"STELLE\" OFFSET=\"1 2\"/></VORLAGEN>"
    L"<STRIP NAME=\"EINS\"><PAGE NAME=\"a\"/><PAGE NAME=\"b\"/></STRIP>"
    L"<STRIP NAME=\"ZWEI\"><PAGE NAME=\"a\"/></STRIP>"
    L"<STRIP NAME=\"SOLITAIRE_SPIEL\"><PAGE NAME=\"a\"/><PAGE NAME=\"b\"/></STRIP>"
    L"<STRIP NAME=\"STORY_BILD\"><PAGE NAME=\"a\"/><PAGE NAME=\"b\"/></STRIP>"
    L"<STRIP NAME=\"PUNKTE\"><PAGE NAME=\"seite\"><TUT_POINTS><START VORLAGE=\"STELLE\"/>"
    L"<GOAL NAME=\"ZIEL\" VORLAGE=\"STELLE\"/></TUT_POINTS></PAGE></STRIP>"
    L"<STRIP NAME=\"ANDERE\"><PAGE NAME=\"seite\"><TUT_POINTS><START VORLAGE=\"STELLE\"/>"
    L"<GOAL NAME=\"ZIEL\" VORLAGE=\"STELLE\"/></TUT_POINTS></PAGE></STRIP></TUTORIAL>";

class TutorialManagerTest : public storytest::GameTutorialFixture {
protected:
    void SetUp() override {
        GameTutorialFixture::SetUp();
        loadMenus({L"a", L"b", L"t"},
                  L"<GUIMENU NAME='A' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|a|\"</LINKED_GUI_WINDOWS></GUIMENU>"
                  L"<GUIMENU NAME='B' MENU_ID='1'><LINKED_GUI_WINDOWS>\"|b|\"</LINKED_GUI_WINDOWS></GUIMENU>"
                  L"<GUIMENU NAME='TUTORIALMENU' MENU_ID='2'><LINKED_GUI_WINDOWS>\"|t|\"</LINKED_GUI_WINDOWS>"
                  L"</GUIMENU>");
        guitest::loadTutorial(kStrips);
        loadUserTutorials(L"<U TUTORIAL_MENU=\"TUTORIALMENU\"><NEXT_ON_CLICK>\"|WEITER|\"</NEXT_ON_CLICK>"
                          L"<USER_COORDS STRIP=\"PUNKTE\" PAGE=\"seite\" POINT=\"ZIEL\"/>"
                          L"<USER_COORDS STRIP=\"PUNKTE\" PAGE=\"fehlt\" POINT=\"ZIEL\"/></U>");
        ASSERT_TRUE(menus.activateMenu(L"A", -1.0));
        weiter = guitest::makeBox(L"WEITER", 0, 0, 10, 10);
    }
    void TearDown() override {
        weiter->release();
        GameTutorialFixture::TearDown();
    }
    // A click on the next-on-click element.
    bool next() { return tutorials().onGuiClick(*weiter); }

    Orvex::GUIWindow* weiter = nullptr;
};

TEST_F(TutorialManagerTest, TheProfileDecidesUnlessTheRequestIsForced) {
    struct Row {
        wchar_t const* name;
        bool seenBefore;
        bool switchOn;
        bool force;
        bool shown;
        bool seenAfter;
    } const rows[] = {
        {L"EINS", false, true, false, true, true},
        {L"EINS", true, true, false, false, true},           // seen: refused, nothing changes
        {L"EINS", true, true, true, true, true},             // forced: shown anyway
        {L"EINS", false, true, true, true, false},           // forced: not marked
        {L"EINS", false, false, false, false, false},        // tutorials switched off
        {L"STORY_BILD", false, false, false, true, true},    // story tutorials whatever the switch
        {L"SOLITAIRE_SPIEL", false, false, false, false, false},
        {L"FEHLT", false, true, false, false, true},         // no such strip: refused and marked seen
        {L"FEHLT", false, true, true, false, false},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(guitest::narrow(row.name));
        profile->storySeen.clear();
        profile->solitaireSeen.clear();
        profile->otherSeen.clear();
        profile->showTutorials = row.switchOn;
        if (row.seenBefore) profile->markTutorialSeen(row.name);
        int const started = signals.started;
        EXPECT_EQ(show(row.name, row.force), row.shown);
        EXPECT_EQ(signals.started - started, row.shown ? 1 : 0);
        EXPECT_EQ(profile->seen(row.name), row.seenAfter);
        EXPECT_EQ(onScreen(), row.shown ? guitest::narrow(row.name) : "-");
        tutorials().closeTutorial();
    }
}

TEST_F(TutorialManagerTest, WithoutAProfileNothingIsShownOrQueued) {
    tutorials().setActiveProfileSource({});
    EXPECT_FALSE(show(L"EINS", true));
    EXPECT_TRUE(tutorials().getPending().empty());
    // An override is used instead of the active profile.
    auto* other = new storytest::ProfileStandIn(L"Gast");
    tutorials().setProfile(other);
    EXPECT_TRUE(show(L"EINS"));
    EXPECT_TRUE(other->seen(L"EINS"));
    tutorials().setProfile(nullptr);
    other->release();
}

TEST_F(TutorialManagerTest, RequestsDuringATutorialWaitAndComeInOrder) {
    ASSERT_TRUE(show(L"ZWEI"));
    EXPECT_TRUE(show(L"EINS"));
    EXPECT_TRUE(show(L"SOLITAIRE_SPIEL"));
    EXPECT_TRUE(show(L"STORY_BILD"));
    EXPECT_FALSE(profile->seen(L"EINS"));  // queued requests are marked when they are shown
    profile->markTutorialSeen(L"SOLITAIRE_SPIEL");  // seen meanwhile: dropped when its turn comes
    EXPECT_EQ(onScreen(), "ZWEI");
    tutorials().closeTutorial();
    EXPECT_EQ(onScreen(), "EINS");
    tutorials().closeTutorial();
    EXPECT_EQ(onScreen(), "STORY_BILD");
    EXPECT_EQ(signals.closed, 0);
    tutorials().closeTutorial();
    EXPECT_EQ(onScreen(), "-");
    EXPECT_EQ(signals.started, 3);
    EXPECT_EQ(signals.closed, 1);
}

TEST_F(TutorialManagerTest, TheQueueTakesRepeatedRequestsUpToItsBound) {
    ASSERT_TRUE(show(L"ZWEI"));
    for (std::size_t i = 0; i < Solitaire::SolTutorialManager::kMaxPending; ++i) EXPECT_TRUE(show(L"EINS", true));
    EXPECT_FALSE(show(L"EINS", true));  // one more is dropped, with a log line
    EXPECT_EQ(tutorials().getPending().size(), Solitaire::SolTutorialManager::kMaxPending);
    tutorials().closeTutorial();
    EXPECT_EQ(onScreen(), "EINS");  // the repeats come one after the other
    EXPECT_EQ(tutorials().getPending().size(), Solitaire::SolTutorialManager::kMaxPending - 1);
}

TEST_F(TutorialManagerTest, ClosingGoesBackPastEveryTutorialMenu) {
    ASSERT_TRUE(show(L"ZWEI"));
    ASSERT_TRUE(show(L"EINS"));
    EXPECT_EQ(history(), "A *TUTORIALMENU");
    tutorials().closeTutorial();  // EINS comes: the tutorial menu stays
    EXPECT_EQ(history(), "A *TUTORIALMENU");
    EXPECT_EQ(onScreen(), "EINS");
    tutorials().closeTutorial();
    EXPECT_EQ(menus.getActiveMenu()->getName(), L"A");
    // Closing with nothing on screen walks the history all the same and says so.
    int const closed = signals.closed;
    tutorials().closeTutorial();
    EXPECT_EQ(menus.getActiveMenu()->getName(), L"A");
    EXPECT_EQ(signals.closed, closed + 1);
}

TEST_F(TutorialManagerTest, TheOldestHistoryEntryEndsTheWalk) {
    menus.clear();
    loadMenus({L"t"}, L"<GUIMENU NAME='TUTORIALMENU'><LINKED_GUI_WINDOWS>\"|t|\"</LINKED_GUI_WINDOWS></GUIMENU>");
    ASSERT_TRUE(show(L"ZWEI"));
    ASSERT_TRUE(show(L"EINS"));
    tutorials().closeTutorial();
    tutorials().closeTutorial();  // the history holds only the tutorial menu: the walk ends there
    EXPECT_EQ(menus.getActiveMenu()->getName(), L"TUTORIALMENU");
    EXPECT_EQ(signals.closed, 1);
}

TEST_F(TutorialManagerTest, NextOnClickStepsTheStripAndItsLastPageCloses) {
    Orvex::GUIWindow* other = guitest::makeBox(L"ANDERS", 0, 0, 10, 10);
    EXPECT_TRUE(next());  // a next-on-click element is handled even with nothing on screen
    EXPECT_FALSE(tutorials().onGuiClick(*other));
    ASSERT_TRUE(show(L"EINS"));
    EXPECT_EQ(tutorials().getCurrentStrip()->getCurrentIndex(), 0u);
    EXPECT_FALSE(tutorials().onGuiClick(*other));
    EXPECT_TRUE(next());
    EXPECT_EQ(tutorials().getCurrentStrip()->getCurrentIndex(), 1u);
    EXPECT_TRUE(next());
    EXPECT_EQ(onScreen(), "-");
    EXPECT_EQ(signals.closed, 1);
    EXPECT_EQ(menus.getActiveMenu()->getName(), L"A");
    other->release();
}

TEST_F(TutorialManagerTest, SwitchingTutorialsOffEndsAnOrdinaryOneAtItsNextPage) {
    struct Row {
        wchar_t const* name;
        bool stillShown;
    } const rows[] = {{L"EINS", false}, {L"SOLITAIRE_SPIEL", true}, {L"STORY_BILD", true}};
    for (Row const& row : rows) {
        profile->showTutorials = true;
        ASSERT_TRUE(show(row.name, true));
        profile->showTutorials = false;
        EXPECT_TRUE(next());
        EXPECT_EQ(onScreen(), row.stillShown ? guitest::narrow(row.name) : "-") << guitest::narrow(row.name);
        tutorials().closeTutorial();
    }
}

TEST_F(TutorialManagerTest, ARequestsCoordinatesMoveOnlyTheNamedPointsOfItsStrip) {
    ASSERT_TRUE(tutorials().showTutorial(L"PUNKTE", false, true, D3DXVECTOR2(300.0f, 200.0f)));
    auto goalOf = [](wchar_t const* strip) {
        for (Orvex::TutorialStrip* s : engine().getStrips())
            if (s->getName() == strip) return s->getPages().at(0)->findPointObject(L"ZIEL")->offset;
        return D3DXVECTOR2(-1.0f, -1.0f);
    };
    EXPECT_EQ(goalOf(L"PUNKTE"), D3DXVECTOR2(300.0f, 200.0f));
    tutorials().closeTutorial();
    ASSERT_TRUE(tutorials().showTutorial(L"ANDERE", false, true, D3DXVECTOR2(5.0f, 6.0f)));
    EXPECT_EQ(goalOf(L"ANDERE"), D3DXVECTOR2(1.0f, 2.0f));  // no record names it
    EXPECT_EQ(goalOf(L"PUNKTE"), D3DXVECTOR2(300.0f, 200.0f));
}

}  // namespace
