// Our tutorial file over our demo screens, frame by frame: the introduction strip slides the
// main menu in, moves its page window to a screen corner clear of each window it points at,
// steps on by a click and by time, and ends with the page window out; a page whose window is
// missing says so once; the closing page plays its animation on the page window.
#include <gtest/gtest.h>

#include <string>

#include <set>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "tests/engine/gui/TutorialTestSupport.h"

namespace {

using namespace Orvex;
using guitest::goalOf;

constexpr double kFrame = 1.0 / 60.0;

bool overlaps(FRect const& a, FRect const& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class TutorialDemo : public guitest::TutorialFixture {
protected:
    void SetUp() override {
        TutorialFixture::SetUp();
        for (wchar_t const* file : {L"vorlagen.gui", L"fenster.gui", L"tutorial.gui"})
            guitest::loadFile(std::wstring(L"tests\\engine\\gui\\data\\") + file);
        XMLNode root;
        ASSERT_TRUE(root.load(L"tests\\engine\\gui\\data\\tutorial.tut"));
        tutorials.loadTemplates(root);
    }
    void run(double seconds) {
        for (double t = 0.0; t < seconds; t += kFrame) {
            gui.update(kFrame);
            tutorials.update(kFrame);
        }
    }
};

TEST_F(TutorialDemo, TheIntroductionKeepsItsPageClearOfEachTarget) {
    TutorialStrip* intro = tutorials.showStrip(L"einfuehrung");
    ASSERT_NE(intro, nullptr);
    struct Step {
        wchar_t const* target;
        wchar_t const* corner;
    } const steps[] = {{L"start", L"OBEN_RECHTS"}, {L"notiz", L"OBEN_LINKS"}, {L"scheibe", L"OBEN_RECHTS"}};
    GUIWindow* page = gui.findWindow(L"tut_seite");
    ASSERT_NE(page, nullptr);
    for (Step const& step : steps) {
        SCOPED_TRACE(std::wstring(step.target));
        run(2.0);
        EXPECT_EQ(goalOf(L"hauptmenue"), L"AN") << "slid in on show";
        EXPECT_EQ(goalOf(L"tut_seite"), step.corner);
        EXPECT_FALSE(page->isAnimating());
        EXPECT_FALSE(overlaps(page->getScreenRect(), gui.findWindow(step.target)->getScreenRect()));
        if (std::wstring(step.target) != L"scheibe") intro->nextPage();
    }
    run(8.0);  // the last page times out
    EXPECT_TRUE(intro->isFinished());
    EXPECT_EQ(goalOf(L"tut_seite"), L"AUS");
}

TEST_F(TutorialDemo, APageWhoseWindowIsMissingSaysSoOnceAndStillSteps) {
    gui.removeWindow(gui.findWindow(L"tut_seite"));
    TutorialStrip* s = tutorials.showStrip(L"kurz");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(guitest::loggedCount({L"tut_seite", L"not found"}), 1);
    run(6.0);
    EXPECT_TRUE(s->isFinished());
    EXPECT_EQ(goalOf(L"hauptmenue"), L"AUS") << "the hide blend";
}

// The demo on the device, so that the animation list's sheet is loaded as a picture.
class TutorialDemoDrawn : public TutorialDemo {
protected:
    void SetUp() override {
        ASSERT_TRUE(openDevice());
        TutorialDemo::SetUp();
    }
    void TearDown() override {
        tutorials.clear();
        gui.clear();
        closeDevice();
        TutorialDemo::TearDown();
    }
};

// The closing page's picture is the animation the file's animation list brings: its frames of
// the folding corner go onto the page window one after the other while the page is shown.
TEST_F(TutorialDemoDrawn, TheClosingPagePlaysItsAnimationOnThePageWindow) {
    Texture2DAnimation* folding = Texture2DAnimationManager::instance().findAnimation(L"tut_seite_ecke");
    ASSERT_NE(folding, nullptr) << "the tutorial file's ANIMATIONEN list";
    ASSERT_EQ(folding->getFrameCount(), 4u);
    Texture2D* sheet = folding->getFrame(0)->texture;
    ASSERT_NE(sheet, nullptr);
    ASSERT_NE(tutorials.showStrip(L"kurz"), nullptr);
    GUIWindow* page = gui.findWindow(L"tut_seite");
    std::set<LONG> lefts;
    for (int i = 0; i < 30; ++i) {
        run(0.05);
        GUIDrawOptions& look = page->getDrawOptions();
        EXPECT_EQ(look.getTexBackground(), sheet);
        lefts.insert(static_cast<LONG>(look.backgroundSource.rect.left));
    }
    EXPECT_EQ(lefts, (std::set<LONG>{0, 64, 128, 192})) << "every frame of the sheet was shown";
}

}  // namespace
