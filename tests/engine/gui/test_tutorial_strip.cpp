// Tutorial strips and pages stepping: show, advance, time-outs, blends and hide, the strip's
// windows going to "AN" and "AUS", the manager's current strip, the wrap after hide, the arrow
// swing, and a page's update that steps its own strip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "tests/engine/gui/TutorialTestSupport.h"

namespace {

using namespace Orvex;
using guitest::goalOf;
using guitest::loadTutorial;
using guitest::windowText;

// Windows: the strip's frame "rahmen", the page window "seite", a window "extra" blended on show
// and hide.
std::wstring const kScreen = L"<GUI>" + windowText(L"rahmen", 0, 0, 800, 600) + windowText(L"seite", 300, 200, 200, 150) +
                             windowText(L"extra", 10, 10, 50, 50) + L"</GUI>";

// Three pages; the second and third time out; the strip blends "extra" in on show and out on
// hide.
std::wstring const kTutorial =
    L"<TUTORIAL><STRIP NAME=\"drei\">\"|rahmen|\""
    L"<PAGE NAME=\"eins\" GUIWINDOW=\"seite\" ANIMGOAL=\"AN\"/>"
    L"<PAGE NAME=\"zwei\" GUIWINDOW=\"seite\" ANIMGOAL=\"AN\" MAX_TIME_SHOWN=\"0.5\"/>"
    L"<PAGE NAME=\"drei\" GUIWINDOW=\"seite\" ANIMGOAL=\"AN\" MAX_TIME_SHOWN=\"0.25\"/>"
    L"<BLEND_ON_SHOW>\"|extra|\" \"|AN|\"</BLEND_ON_SHOW><BLEND_ON_HIDE>\"|extra|\" \"|AUS|\"</BLEND_ON_HIDE>"
    L"</STRIP><STRIP NAME=\"leer\">\"|rahmen|\"</STRIP></TUTORIAL>";

class TutorialStripTest : public guitest::TutorialFixture {
protected:
    void SetUp() override {
        TutorialFixture::SetUp();
        guitest::loadText(kScreen);
        for (wchar_t const* w : {L"rahmen", L"seite", L"extra"}) gui.findWindow(w)->jumpToGoal(L"AUS");
        loadTutorial(kTutorial);
    }
    // Names of the shown pages of a strip.
    static std::wstring shownPages(TutorialStrip const& s) {
        std::wstring out;
        for (TutorialPage* p : s.getPages())
            if (p->isShown()) out += (out.empty() ? L"" : L" ") + p->getName();
        return out;
    }
};

TEST_F(TutorialStripTest, StepsThroughItsPagesAndEndsWithTheWindowsOut) {
    TutorialStrip* s = tutorials.showStrip(L"drei");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(tutorials.getCurrentStrip(), s);
    EXPECT_EQ(shownPages(*s), L"eins");
    EXPECT_EQ(goalOf(L"rahmen"), L"AN");
    EXPECT_EQ(goalOf(L"extra"), L"AN") << "blend on show";
    EXPECT_EQ(goalOf(L"seite"), L"AN") << "placed at the page's goal";

    struct Step {
        char const* what;
        double dt;
        bool next;
        std::wstring shown;
        bool finished;
    };
    Step const steps[] = {
        {"the first page has no time limit", 100.0, false, L"eins", false},
        {"next page", 0.0, true, L"zwei", false},
        {"not yet timed out", 0.3, false, L"zwei", false},
        {"timed out: the third page", 0.3, false, L"drei", false},
        {"the last page times out: finished", 0.25, false, L"", true},
        {"further updates do nothing", 1.0, false, L"", true},
    };
    for (Step const& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.next) s->nextPage();
        tutorials.update(step.dt);
        EXPECT_EQ(shownPages(*s), step.shown);
        EXPECT_EQ(s->isFinished(), step.finished);
    }
    EXPECT_EQ(goalOf(L"rahmen"), L"AUS");
    EXPECT_EQ(goalOf(L"extra"), L"AUS") << "blend on hide";
    EXPECT_EQ(goalOf(L"seite"), L"AUS") << "the last page's window goes out";
}

TEST_F(TutorialStripTest, HideEndsTheStripAndTheNextStepWrapsToTheFirstPage) {
    TutorialStrip* s = tutorials.showStrip(L"drei");
    s->nextPage();
    tutorials.hideCurrentStrip();
    EXPECT_EQ(tutorials.getCurrentStrip(), nullptr);
    EXPECT_TRUE(s->isFinished());
    EXPECT_EQ(s->getCurrentIndex(), TutorialStrip::kNoPage);
    EXPECT_EQ(shownPages(*s), L"");
    EXPECT_EQ(goalOf(L"rahmen"), L"AUS");
    EXPECT_EQ(goalOf(L"extra"), L"AUS");

    // Kept on purpose: one more step after hide starts over at page 0, without "AN" and the
    // show blends.
    s->nextPage();
    EXPECT_EQ(s->getCurrentIndex(), 0u);
    EXPECT_EQ(shownPages(*s), L"eins");
    EXPECT_EQ(goalOf(L"rahmen"), L"AUS");
    EXPECT_EQ(goalOf(L"extra"), L"AUS");
}

TEST_F(TutorialStripTest, AStripWithoutPagesIsFinishedAtOnce) {
    TutorialStrip* s = tutorials.showStrip(L"leer");
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->isFinished());
    EXPECT_EQ(goalOf(L"rahmen"), L"AN");
    s->nextPage();
    EXPECT_EQ(goalOf(L"rahmen"), L"AUS");
    EXPECT_EQ(tutorials.showStrip(L"gibt_es_nicht"), nullptr);
    EXPECT_EQ(tutorials.getCurrentStrip(), s) << "an unknown name keeps the current strip";
}

TEST_F(TutorialStripTest, APageThatTimesOutStopsItsUpdateOnceItsStripHidIt) {
    // The timed-out page is hidden by its own update; its arrow swing and wobble must not run
    // on afterwards.
    TutorialStrip* s = tutorials.showStrip(L"drei");
    s->nextPage();
    TutorialPage* zwei = s->getPages()[1];
    zwei->moveArrow = true;
    zwei->wobble = true;
    zwei->update(0.6);
    EXPECT_FALSE(zwei->isShown());
    EXPECT_EQ(shownPages(*s), L"drei");
    EXPECT_FLOAT_EQ(zwei->movePosition, 0.0f);
    EXPECT_FLOAT_EQ(zwei->wobblePhase, 0.0f);
}

TEST_F(TutorialStripTest, TheArrowSwingsOutAndBackAtItsSpeed) {
    TutorialStrip* s = tutorials.showStrip(L"drei");
    TutorialPage* page = s->getPages()[0];
    page->moveArrow = true;
    page->moveSpeed = 2.0f;
    struct Step {
        double dt;
        float position;
    } const steps[] = {{0.25, 0.5f}, {0.25, 1.0f}, {0.25, 0.5f}, {0.25, 0.0f}, {0.125, 0.25f}};
    for (Step const& step : steps) {
        page->update(step.dt);
        EXPECT_NEAR(page->movePosition, step.position, 1e-5);
    }
    page->wobble = true;
    page->wobbleSpeed = 1.0f;
    page->update(0.75);
    EXPECT_NEAR(page->wobblePhase, 1.5f, 1e-5);
    page->update(0.5);
    EXPECT_NEAR(page->wobblePhase, 0.5f, 1e-5) << "the phase runs modulo 2";
}

TEST_F(TutorialStripTest, OnlyStripsAtAPageAreUpdated) {
    tutorials.showStrip(L"drei");
    TutorialStrip* copy = new TutorialStrip(*tutorials.getStrips()[0]);
    tutorials.addStrip(copy);
    copy->release();
    copy->getPages()[0]->moveArrow = true;
    tutorials.update(0.5);
    EXPECT_FLOAT_EQ(copy->getPages()[0]->movePosition, 0.0f) << "the copy has not been started";
    copy->restart();
    tutorials.update(0.5);
    EXPECT_FLOAT_EQ(copy->getPages()[0]->movePosition, 0.5f);
}

}  // namespace
