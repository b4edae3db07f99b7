// Placing a tutorial page window: goals on the 3x3 screen grid kept clear of the windows and
// arrows the page points at, the preferred goal, goals the text does not fit, resizing a goal
// to the text, and the arrow's thickness, angle and fading.
#include <gtest/gtest.h>

#include <cmath>
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
using guitest::goalText;
using guitest::loadTutorial;
using guitest::windowText;

// The page window with one goal per corner (cells 0, 2, 6, 8 of an 800 x 600 screen), a zero-
// sized goal, the goal that mode 2 rewrites, a check box at its top left, and targets in the
// corners and the middle.

std::wstring screenText() {
    return L"<GUI><WINDOW NAME=\"seite\"><WINDOW_PARAMS>" + goalText(L"AN", 300, 225, 200, 150) +
           goalText(L"OL", 10, 10, 240, 150) + goalText(L"OR", 550, 10, 240, 150) + goalText(L"UL", 10, 440, 240, 150) +
           goalText(L"UR", 550, 440, 240, 150) + goalText(L"FLACH", 300, 300, 0, 0) + goalText(L"GROESSE", 0, 0, 10, 10) +
           L"</WINDOW_PARAMS>" + windowText(L"seite_haken", 0, 0, 20, 20) + L"</WINDOW>" + windowText(L"ziel_ol", 20, 20, 60, 40) +
           windowText(L"ziel_or", 700, 20, 60, 40) + windowText(L"ziel_ul", 20, 520, 60, 40) +
           windowText(L"ziel_mitte", 380, 280, 40, 40) + L"</GUI>";
}

std::wstring const kGoals =
    L"<ANIMGOAL GOALNAME=\"OL\">\"|000000001|\"</ANIMGOAL><ANIMGOAL GOALNAME=\"OR\">\"|000000100|\"</ANIMGOAL>"
    L"<ANIMGOAL GOALNAME=\"UL\">\"|001000000|\"</ANIMGOAL><ANIMGOAL GOALNAME=\"UR\">\"|100000000|\"</ANIMGOAL>";

std::wstring pointsAt(std::wstring const& window) {
    return L"<TUT_POINTS><START GUIWINDOW=\"seite\"/><GOAL GUIWINDOW=\"" + window + L"\" RELATIV=\"0.5 0.5\"/></TUT_POINTS>";
}

class TutorialPlace : public guitest::TutorialFixture {
protected:
    void SetUp() override {
        TutorialFixture::SetUp();
        guitest::loadText(screenText());
        window = gui.findWindow(L"seite");
        ASSERT_NE(window, nullptr);
    }
    // The page of a one-page strip, read from its element.
    TutorialPage* page(std::wstring const& element) {
        tutorials.clear();
        loadTutorial(L"<TUTORIAL><STRIP NAME=\"s\">" + element + L"</STRIP></TUTORIAL>");
        return tutorials.getStrips().at(0)->getPages().at(0);
    }
    GUIWindow* window = nullptr;
};

TEST_F(TutorialPlace, PagesTakeTheFirstFreeUsableGoal) {
    struct Case {
        char const* what;
        std::wstring element;
        std::vector<bool> usable;  // empty: as read
        std::wstring goal;
    };
    std::wstring const goals1 = L"<ANIMGOALS MODE=\"1\">" + kGoals + L"</ANIMGOALS>";
    std::wstring const goals1fit =
        L"<ANIMGOALS MODE=\"1\" AUSWEICHEN_TO_GOALS_WHERE_TEXT_FITS_ONLY=\"1\">" + kGoals + L"</ANIMGOALS>";
    Case const cases[] = {
        {"mode 0 without goals", L"<PAGE GUIWINDOW=\"seite\"/>", {}, L"AN"},
        {"mode 0 takes the first goal", L"<PAGE GUIWINDOW=\"seite\"><ANIMGOALS>" + kGoals + L"</ANIMGOALS></PAGE>",
         {}, L"OL"},
        {"mode 0 takes the preferred goal", L"<PAGE GUIWINDOW=\"seite\"><ANIMGOALS USE_GOAL=\"UR\">" + kGoals +
         L"</ANIMGOALS>" + pointsAt(L"ziel_mitte") + L"</PAGE>", {}, L"UR"},
        {"mode 0 ignores a preferred goal it lacks", L"<PAGE GUIWINDOW=\"seite\"><ANIMGOALS USE_GOAL=\"XX\">" +
         kGoals + L"</ANIMGOALS></PAGE>", {}, L"OL"},
        {"a target in the top left", L"<PAGE GUIWINDOW=\"seite\">" + goals1 + pointsAt(L"ziel_ol") + L"</PAGE>", {},
         L"OR"},
        {"a target in the middle covers no corner",
         L"<PAGE GUIWINDOW=\"seite\">" + goals1 + pointsAt(L"ziel_mitte") + L"</PAGE>", {}, L"OL"},
        {"targets in three corners", L"<PAGE GUIWINDOW=\"seite\">" + goals1 + pointsAt(L"ziel_ol") +
         pointsAt(L"ziel_or") + pointsAt(L"ziel_ul") + L"</PAGE>", {}, L"UR"},
        {"every corner covered: AN", L"<PAGE GUIWINDOW=\"seite\">" + goals1 + pointsAt(L"ziel_ol") +
         pointsAt(L"ziel_or") + pointsAt(L"ziel_ul") +
         L"<TUT_POINTS><START/><GOAL OFFSET=\"700 500\" SIZE=\"20 20\"/></TUT_POINTS></PAGE>", {}, L"AN"},
        {"a big arrow avoided covers every corner", L"<PAGE GUIWINDOW=\"seite\" PFEIL_SIZE=\"150\">"
         L"<ANIMGOALS MODE=\"1\" PFEIL_AUSWEICHEN=\"1\">" + kGoals + L"</ANIMGOALS>" + pointsAt(L"ziel_mitte") +
         L"</PAGE>", {}, L"AN"},
        {"the same arrow not avoided", L"<PAGE GUIWINDOW=\"seite\" PFEIL_SIZE=\"150\">" + goals1 +
         pointsAt(L"ziel_mitte") + L"</PAGE>", {}, L"OL"},
        {"a missing target window is skipped", L"<PAGE GUIWINDOW=\"seite\">" + goals1 + pointsAt(L"fehlt") +
         L"</PAGE>", {}, L"OL"},
        {"a pair without a goal point is skipped", L"<PAGE GUIWINDOW=\"seite\">" + goals1 +
         L"<TUT_POINTS><START GUIWINDOW=\"ziel_ol\"/></TUT_POINTS></PAGE>", {}, L"OL"},
        {"a free goal the text does not fit is passed over", L"<PAGE GUIWINDOW=\"seite\">" + goals1fit +
         pointsAt(L"ziel_ol") + L"</PAGE>", {true, false, true, true}, L"UL"},
        {"the last goal is taken even when the text does not fit", L"<PAGE GUIWINDOW=\"seite\">" + goals1fit +
         pointsAt(L"ziel_ol") + pointsAt(L"ziel_or") + pointsAt(L"ziel_ul") + L"</PAGE>",
         {false, false, false, false}, L"UR"},
        {"without the fit flag the usable flags do not count", L"<PAGE GUIWINDOW=\"seite\">" + goals1 +
         pointsAt(L"ziel_ol") + L"</PAGE>", {false, false, false, false}, L"OR"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        window->jumpToGoal(L"AN");
        TutorialPage* p = page(c.element);
        if (!c.usable.empty()) p->usable = c.usable;
        p->placeWindow(window, true);
        EXPECT_EQ(goalOf(L"seite"), c.goal);
        EXPECT_EQ(p->getLastGoal(), c.goal);
    }
}

TEST_F(TutorialPlace, AnUnchangedPlacementIsNotPlayedAgainUnlessForced) {
    TutorialPage* p = page(L"<PAGE GUIWINDOW=\"seite\"><ANIMGOALS MODE=\"1\">" + kGoals + L"</ANIMGOALS>" +
                           pointsAt(L"ziel_ol") + L"</PAGE>");
    p->placeWindow(window, true);
    window->jumpToGoal(L"AN");
    p->placeWindow(window, false);
    EXPECT_EQ(goalOf(L"seite"), L"AN");
    gui.findWindow(L"ziel_ol")->setPixelRect(700, 520, 60, 40);  // the target moves to the bottom right
    p->placeWindow(window, false);
    EXPECT_EQ(goalOf(L"seite"), L"OL") << "a new goal is played";
}

// A page pointing at a window of its own (its check box): wherever the page stands, the box is
// in a corner cell, so avoiding it sent the page to another corner at every check.
TEST_F(TutorialPlace, APageStaysPutWhenItPointsAtAWindowOfItsOwn) {
    TutorialPage* p = page(L"<PAGE GUIWINDOW=\"seite\"><ANIMGOALS MODE=\"1\">" + kGoals + L"</ANIMGOALS>" +
                           pointsAt(L"seite_haken") + L"</PAGE>");
    window->jumpToGoal(L"OL");
    for (int check = 0; check < 3; ++check) {
        p->placeWindow(window, false);
        window->jumpToGoal(goalOf(L"seite"));
        EXPECT_EQ(goalOf(L"seite"), L"OL") << "check " << check;
    }
}

TEST_F(TutorialPlace, ModeTwoResizesAGoalToTheTextAndSkipsGoalsWithoutSize) {
    TutorialPage* p = page(L"<PAGE GUIWINDOW=\"seite\"><ANIMGOALS MODE=\"2\" ANIM_GOAL_TO_CHANGE=\"GROESSE\" "
                           L"EXTRA_SIZE_OFF=\"100 50\">" + kGoals + L"</ANIMGOALS>" + pointsAt(L"ziel_ol") + L"</PAGE>");
    p->placeWindow(window, true);
    EXPECT_EQ(goalOf(L"seite"), L"OR");
    FRect r;
    window->findGoal(L"GROESSE").rect.calcRect(r, FRect(0, 0, 800, 600));
    // Centred on the chosen goal (550, 10, 240 x 150): no text yet, so the extra size alone.
    EXPECT_EQ(r, FRect(620, 60, 720, 110));
    EXPECT_EQ(window->findGoal(L"GROESSE").rect.anchor, 18);

    // A chosen goal of no size has no shape to fit the text to: the goal to resize stays.
    TutorialPage* flat = page(L"<PAGE GUIWINDOW=\"seite\"><ANIMGOALS MODE=\"2\" ANIM_GOAL_TO_CHANGE=\"GROESSE\" "
                              L"EXTRA_SIZE_OFF=\"30 30\"><ANIMGOAL GOALNAME=\"FLACH\"/></ANIMGOALS></PAGE>");
    flat->placeWindow(window, true);
    window->findGoal(L"GROESSE").rect.calcRect(r, FRect(0, 0, 800, 600));
    EXPECT_EQ(r, FRect(620, 60, 720, 110));
    EXPECT_TRUE(std::isfinite(window->getScreenRect().left));
}

TEST(TutorialArrow, ThicknessIsAShareOfTheDisplayOrPixelsAndNeverHuge) {
    // The default 25 read as a share of an 800-pixel display would make an arrow 40000 pixels
    // thick.
    struct Case {
        float size;
        float half;
    } const cases[] = {{0.02f, 16.0f}, {1.0f, 200.0f}, {25.0f, 25.0f}, {150.0f, 150.0f}, {5000.0f, 200.0f}, {0.0f, 0.0f}};
    for (Case const& c : cases) {
        XMLNode node;
        ASSERT_TRUE(node.loadFromText(L"<PAGE PFEIL_SIZE=\"" + std::to_wstring(c.size) + L"\"/>"));
        TutorialPage* p = new TutorialPage(node, nullptr);
        EXPECT_FLOAT_EQ(p->arrowHalfThickness(800.0f), c.half) << c.size;
        p->release();
    }
}

TEST(TutorialArrow, AngleFollowsTheDirection) {
    float const r = std::sqrt(0.5f);
    struct Case {
        D3DXVECTOR2 v;
        float degrees;
    } const cases[] = {{{1, 0}, 0.0f}, {{0, 1}, 90.0f}, {{-1, 0}, 180.0f}, {{0, -1}, 270.0f}, {{r, r}, 45.0f},
                       {{-r, -r}, 225.0f}};
    for (Case const& c : cases) EXPECT_NEAR(TutorialPage::arrowAngle(c.v), c.degrees, 1e-3) << c.v.x << " " << c.v.y;
}

TEST(TutorialArrow, FadingUnderThePageWindow) {
    FRect const pageRect(100, 100, 200, 200);
    struct Case {
        char const* what;
        FRect bounds;
        double visible;
    } const cases[] = {
        {"apart", FRect(0, 0, 50, 50), 1.0},
        {"inside", FRect(120, 120, 180, 180), 0.0},
        {"half under", FRect(50, 120, 150, 140), 0.5},
        {"no area (a flat arrow)", FRect(120, 150, 180, 150), 1.0},
        {"edges swapped", FRect(150, 140, 50, 120), 0.5},
    };
    for (Case const& c : cases) EXPECT_NEAR(TutorialPage::arrowFade(c.bounds, pageRect), c.visible, 1e-9) << c.what;
}

}  // namespace
