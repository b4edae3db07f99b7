// A tutorial page's text: shown in its label (or a button's caption) by text or text id, the
// text hook rewriting it on show, the measured text rectangle, and which goals the text fits
// in (6 pixels of slack in width, less than 6 in height).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "tests/engine/gui/FontFixture.h"
#include "tests/engine/gui/GuiTestSupport.h"
#include "tests/engine/gui/TutorialTestSupport.h"

namespace {

using namespace Orvex;

std::wstring goal(std::wstring const& name, float w, float h) { return guitest::goalText(name, 100, 100, w, h); }

// The page window with goals of four sizes and a label, and a button with its caption.
std::wstring const kTextScreen =
    L"<GUI><WINDOW NAME=\"seite\"><WINDOW_PARAMS>" + goal(L"A", 240, 150) + goal(L"B", 239, 150) +
    goal(L"C", 240, 94) + goal(L"D", 240, 95) +
    L"</WINDOW_PARAMS><WINDOW NAME=\"text\" TYPE=\"LABEL\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"246\" "
    L"Y_OFF=\"100\"/></GUIRECT></WINDOW_PARAMS></WINDOW></WINDOW>"
    L"<WINDOW NAME=\"knopf\" TYPE=\"BUTTON\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"80\" Y_OFF=\"20\"/>"
    L"</GUIRECT></WINDOW_PARAMS></WINDOW></GUI>";

std::wstring const kTextGoals = L"<ANIMGOAL GOALNAME=\"A\"/><ANIMGOAL GOALNAME=\"B\"/><ANIMGOAL GOALNAME=\"C\"/>"
                            L"<ANIMGOAL GOALNAME=\"D\"/>";

// Rewrites the text on show and asks for it to be shown as a text.
struct Hook : sigslot::has_slots<> {
    std::vector<std::wstring> heard;
    void onText(TutorialPage&, std::wstring const& id, std::wstring& text, bool& useId) {
        heard.push_back(id);
        text += L"!";
        useId = false;
    }
};

class TutorialText : public guitest::TutorialFixture {
protected:
    void SetUp() override {
        TutorialFixture::SetUp();
        guitest::loadText(kTextScreen);
        window = gui.findWindow(L"seite");
        ASSERT_NE(window, nullptr);
        ASSERT_NE(dynamic_cast<GUILabel*>(gui.findWindow(L"text")), nullptr);
    }
    TutorialPage* page(std::wstring const& element) {
        XMLNode node = guitest::parse(element);
        pages.push_back(new TutorialPage(node, nullptr));
        return pages.back();
    }
    void TearDown() override {
        for (TutorialPage* p : pages) {
            if (p->isShown()) p->setShown(false);
            p->release();
        }
        TutorialFixture::TearDown();
    }
    GUIWindow* window = nullptr;
    std::vector<TutorialPage*> pages;
};

// The label measured with the data's fonts through the device: goals a few pixels around the
// measured text.
class TutorialTextFits : public fonttest::FontDrawFixture {
protected:
    // Fonts scale with the display height: a small display gives tiny text.
    TutorialTextFits() : FontDrawFixture(800, 600) {}
    void SetUp() override {
        FontDrawFixture::SetUp();
        ASSERT_TRUE(fonts.loadFile(L"data\\font.fnt"));
        GUISystem::instance().clear();
        TutorialManager::instance().clear();
    }
    void TearDown() override {
        GUISystem::instance().clear();
        FontDrawFixture::TearDown();
    }
    static void loadScreen(std::wstring const& goals) {
        // One line of text (no word breaks), so its size is the same in every goal.
        guitest::loadText(L"<GUI><WINDOW NAME=\"seite\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_OFF=\"600\" "
                          L"Y_OFF=\"200\"/></GUIRECT>" + goals +
                          L"</WINDOW_PARAMS><WINDOW NAME=\"text\" TYPE=\"LABEL\"><WINDOW_PARAMS><GUIRECT><POS_TL/>"
                          L"<SIZE X_OFF=\"600\" Y_OFF=\"200\"/></GUIRECT></WINDOW_PARAMS><LABEL_PARAMS FLAGS=\"\"/>"
                          L"</WINDOW></WINDOW></GUI>");
    }
};

TEST_F(TutorialTextFits, GoalsAreUsableWhereTheTextFits) {
    std::wstring const element = L"<PAGE GUIWINDOW=\"seite\" TEXT_LABEL=\"text\" TEXT=\"Hallo Welt\">"
                                 L"<ANIMGOALS AUSWEICHEN_TO_GOALS_WHERE_TEXT_FITS_ONLY=\"1\">" + kTextGoals +
                                 L"</ANIMGOALS></PAGE>";
    // The text's size first, in a window of no goals.
    loadScreen(L"");
    XMLNode node = guitest::parse(element);
    TutorialPage* probe = new TutorialPage(node, nullptr);
    probe->setShown(true);
    float const w = probe->getTextRect().getWidth();
    float const h = probe->getTextRect().getHeight();
    probe->setShown(false);
    probe->release();
    ASSERT_GT(w, 20.0f);
    ASSERT_GT(h, 5.0f);
    GUISystem::instance().clear();

    // A: roomy; B: the text 7 pixels wider than its window; C: 6 pixels higher; D: 5 higher and
    // 6 wider.
    loadScreen(goal(L"A", w + 10, h + 10) + goal(L"B", w - 7, h + 10) + goal(L"C", w + 10, h - 6) +
               goal(L"D", w - 6, h - 5));
    GUIWindow* window = GUISystem::instance().findWindow(L"seite");
    TutorialPage* p = new TutorialPage(node, nullptr);
    window->jumpToGoal(L"D");
    p->setShown(true);
    EXPECT_EQ(p->usable, (std::vector<bool>{true, false, false, true}));
    p->checkTextFits(window);
    EXPECT_EQ(window->getCurrentState().name, L"D") << "the window goes back to its goal";
    p->setShown(false);
    p->release();
}

TEST_F(TutorialText, WithoutTheFlagOrALabelEveryGoalIsUsable) {
    TutorialPage* free = page(L"<PAGE GUIWINDOW=\"seite\" TEXT_LABEL=\"text\"><ANIMGOALS>" + kTextGoals +
                              L"</ANIMGOALS></PAGE>");
    free->usable.assign(4, false);
    free->checkTextFits(window);
    EXPECT_EQ(free->usable, std::vector<bool>(4, true));

    TutorialPage* noLabel = page(L"<PAGE GUIWINDOW=\"seite\" TEXT_LABEL=\"knopf\">"
                                 L"<ANIMGOALS AUSWEICHEN_TO_GOALS_WHERE_TEXT_FITS_ONLY=\"1\">" + kTextGoals +
                                 L"</ANIMGOALS></PAGE>");
    noLabel->usable.assign(4, false);
    noLabel->checkTextFits(window);
    EXPECT_EQ(noLabel->usable, std::vector<bool>(4, true)) << "a button is not measured";
}

TEST_F(TutorialText, ShowingPutsTheTextIntoTheLabelThroughTheHook) {
    TutorialPage* p = page(L"<PAGE TEXT_LABEL=\"text\" TEXT=\"Hallo\"/>");
    p->setShown(true);
    auto* label = dynamic_cast<GUILabel*>(gui.findWindow(L"text"));
    EXPECT_EQ(label->getText(), L"Hallo");
    p->setShown(false);
    EXPECT_EQ(p->getTextRect(), FRect());

    Hook hook;
    TutorialPage* byId = page(L"<PAGE TEXT_LABEL=\"knopf\" TEXT_ID=\"tut_1\"/>");
    byId->textHook.connect(&hook, &Hook::onText);
    byId->setShown(true);
    byId->setShown(true);
    EXPECT_EQ(hook.heard, (std::vector<std::wstring>{L"tut_1", L"tut_1"}));
    GUILabel* caption = dynamic_cast<GUIButton*>(gui.findWindow(L"knopf"))->getLabel();
    EXPECT_EQ(caption->getText(), L"!!") << "the rewritten text lasts from showing to showing";
    EXPECT_TRUE(byId->useTextId) << "the flag changes for one showing only";

    TutorialPage* missing = page(L"<PAGE TEXT_LABEL=\"seite\" TEXT=\"x\"/>");
    missing->setShown(true);
    EXPECT_EQ(missing->getTextRect(), FRect()) << "a plain window shows no text";
}

}  // namespace
