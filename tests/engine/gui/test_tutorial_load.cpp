// Reading tutorial files: the demo tutorial.tut (tests/engine/gui/data), templates of strips,
// pages and points and the copies made of them, the value forms of the keys, and damaged files
// (unknown keys and elements, absurd numbers, bad masks, too many elements), each with one log
// line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/CopyBudget.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "tests/engine/gui/TutorialTestSupport.h"

namespace {

using namespace Orvex;
using guitest::loadTutorial;
using guitest::loggedCount;

class TutorialLoad : public guitest::TutorialFixture {
protected:
    // The first page of the only strip of a file holding one page element.
    TutorialPage* page(std::wstring const& pageElement) {
        // The page starts on line 3.
        loadTutorial(L"<TUTORIAL>\n<STRIP NAME=\"s\">\n" + pageElement + L"</STRIP></TUTORIAL>");
        EXPECT_EQ(tutorials.getStrips().size(), 1u);
        if (tutorials.getStrips().empty() || tutorials.getStrips()[0]->getPages().empty()) return nullptr;
        return tutorials.getStrips()[0]->getPages()[0];
    }
};

TEST_F(TutorialLoad, OurTutorialFileGivesItsStripsWithTheTemplatesApplied) {
    XMLNode root;
    ASSERT_TRUE(root.load(L"tests\\engine\\gui\\data\\tutorial.tut"));
    tutorials.loadTemplates(root);
    ASSERT_EQ(tutorials.getStrips().size(), 2u);
    TutorialStrip* intro = tutorials.getStrips()[0];
    EXPECT_EQ(intro->getName(), L"einfuehrung");
    EXPECT_EQ(intro->windowNames, std::vector<std::wstring>{L"tut_seite"}) << "from the strip template";
    EXPECT_FLOAT_EQ(intro->showBlendSpeed, 2.0f);
    ASSERT_EQ(intro->getPages().size(), 3u);
    EXPECT_TRUE(intro->isFinished()) << "a new strip has no current page";
    for (TutorialPage* p : intro->getPages()) {
        EXPECT_EQ(p->windowName, L"tut_seite") << "from the page template";
        EXPECT_EQ(p->goals.size(), 4u);
        EXPECT_EQ(p->getOwner(), intro);
        ASSERT_EQ(p->getPoints().size(), 1u);
        TutPoint const* goal = p->getPoints()[0].goal;
        ASSERT_NE(goal, nullptr);
        EXPECT_TRUE(goal->hasRelative) << "the point template's values";
        EXPECT_FLOAT_EQ(goal->sizeFactor.x, 1.2f);
    }
    TutorialPage* wobbling = intro->getPages()[2];
    EXPECT_TRUE(wobbling->wobble);
    EXPECT_TRUE(wobbling->moveArrow) << "the template's MOVE_PFEIL stays under the page's own";
    EXPECT_FLOAT_EQ(wobbling->wobbleLengthLow, 0.5f);
    EXPECT_EQ(intro->blendOnShow.size(), 1u);
    EXPECT_EQ(loggedCount({L"tutorial"}), 0) << "our file is clean";
}

TEST_F(TutorialLoad, PagesCopyTheirTemplatesPointsAndChangingACopyLeavesTheTemplate) {
    loadTutorial(
        L"<TUTORIAL><VORLAGEN>"
        L"<PAGE_VORLAGE NAME=\"pv\" GUIWINDOW=\"seite\"><TUT_POINTS><START NAME=\"a\"/><GOAL NAME=\"b\" "
        L"OFFSET=\"5 6\"/></TUT_POINTS></PAGE_VORLAGE>"
        L"</VORLAGEN><STRIP NAME=\"s\"><PAGE NAME=\"p1\" VORLAGE=\"pv\"/><PAGE NAME=\"p2\" VORLAGE=\"pv\"/></STRIP>"
        L"</TUTORIAL>");
    TutorialPage* templ = tutorials.findPageTemplate(L"pv");
    ASSERT_NE(templ, nullptr);
    TutorialStrip* strip = tutorials.getStrips().at(0);
    TutPoint* copy = strip->getPages()[0]->findPointObject(L"b");
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, templ->findPointObject(L"b"));
    copy->offset.x = 99.0f;
    EXPECT_FLOAT_EQ(templ->findPointObject(L"b")->offset.x, 5.0f);
    EXPECT_FLOAT_EQ(strip->getPages()[1]->findPointObject(L"b")->offset.x, 5.0f);

    // A strip copied from a strip owns copies of its pages.
    TutorialStrip copied(*strip);
    ASSERT_EQ(copied.getPages().size(), 2u);
    EXPECT_NE(copied.getPages()[0], strip->getPages()[0]);
    EXPECT_EQ(copied.getPages()[0]->getOwner(), &copied);
}

TEST_F(TutorialLoad, TemplatesOfOneFileAreFoundOnlyByElementsReadAfterThem) {
    loadTutorial(
        L"<TUTORIAL><VORLAGEN>"
        L"<PAGE_VORLAGE NAME=\"pv\"><TUT_POINTS><START VORLAGE=\"pt\"/><GOAL VORLAGE=\"pt\"/></TUT_POINTS>"
        L"</PAGE_VORLAGE><PTS_VORLAGE NAME=\"pt\" GUIWINDOW=\"w\"/>"
        L"</VORLAGEN><STRIP NAME=\"s\"><PAGE VORLAGE=\"pv\"><TUT_POINTS><START VORLAGE=\"pt\"/><GOAL/>"
        L"</TUT_POINTS></PAGE></STRIP></TUTORIAL>");
    TutorialPage* templ = tutorials.findPageTemplate(L"pv");
    ASSERT_NE(templ, nullptr);
    EXPECT_FALSE(templ->getPoints()[0].start->hasWindow) << "the point template comes later in the file";
    TutorialPage* p = tutorials.getStrips()[0]->getPages()[0];
    ASSERT_EQ(p->getPoints().size(), 2u);
    EXPECT_TRUE(p->getPoints()[1].start->hasWindow);
}

TEST_F(TutorialLoad, ValueFormsOfThePageKeys) {
    struct Case {
        char const* what;
        std::wstring element;
        void (*check)(TutorialPage const&);
    };
    Case const cases[] = {
        {"text after text id clears the flag", L"<PAGE TEXT_ID=\"a\" TEXT=\"b\"/>",
         [](TutorialPage const& p) { EXPECT_FALSE(p.useTextId); }},
        {"USE_TEXTID decides last", L"<PAGE TEXT_ID=\"a\" TEXT=\"b\" USE_TEXTID=\"1\"/>",
         [](TutorialPage const& p) { EXPECT_TRUE(p.useTextId); }},
        {"one draw-mode word sets both", L"<PAGE PFEIL_DRAW_TYPE=\"REPEAT\"/>",
         [](TutorialPage const& p) {
             EXPECT_EQ(p.arrowModeX, 2);
             EXPECT_EQ(p.arrowModeY, 2);
         }},
        {"two draw-mode words", L"<PAGE PFEIL_DRAW_TYPE=\"SDP_REPEAT STRETCH\"/>",
         [](TutorialPage const& p) {
             EXPECT_EQ(p.arrowModeX, 2);
             EXPECT_EQ(p.arrowModeY, 4);
         }},
        {"wobble factors: first sets both lengths, third both heights",
         L"<PAGE><MOVE_PFEIL WOBBLE_FAKTOR=\"2 0.5 3\"/></PAGE>",
         [](TutorialPage const& p) {
             EXPECT_FLOAT_EQ(p.wobbleLengthHigh, 2.0f);
             EXPECT_FLOAT_EQ(p.wobbleLengthLow, 0.5f);
             EXPECT_FLOAT_EQ(p.wobbleHeightHigh, 3.0f);
             EXPECT_FLOAT_EQ(p.wobbleHeightLow, 3.0f);
         }},
        {"one number sets both of a pair", L"<PAGE><ANIMGOALS EXTRA_SIZE_OFF=\"7\"/></PAGE>",
         [](TutorialPage const& p) { EXPECT_FLOAT_EQ(p.extraSizeOffset.y, 7.0f); }},
        {"MODE after AUSWEICHEN wins", L"<PAGE><ANIMGOALS MODE=\"2\" AUSWEICHEN=\"1\"/></PAGE>",
         [](TutorialPage const& p) { EXPECT_EQ(p.placementMode, 2); }},
        {"masks in base 2, a goal without masks covers all",
         L"<PAGE ANIMGOAL=\"X\"><ANIMGOALS><ANIMGOAL GOALNAME=\"A\">\"|101|\" \"|11|\"</ANIMGOAL><ANIMGOAL "
         L"GOALNAME=\"B\"/></ANIMGOALS></PAGE>",
         [](TutorialPage const& p) {
             ASSERT_EQ(p.goals.size(), 3u);
             EXPECT_EQ(p.goals[0].name, L"X") << "the attribute's goal comes first";
             EXPECT_EQ(p.goals[1].masks, (std::vector<u32>{5u, 3u}));
             EXPECT_EQ(p.goals[2].masks, std::vector<u32>{0xFFFFFFFFu});
             EXPECT_EQ(p.usable.size(), 2u) << "no usable flag for the attribute's goal";
         }},
        {"blend pairs drop an odd last value", L"<PAGE><BLEND_ON_SHOW>\"|w|\" \"|AN|\" \"|v|\"</BLEND_ON_SHOW></PAGE>",
         [](TutorialPage const& p) { EXPECT_EQ(p.blendOnShow.size(), 1u); }},
        {"ANIMATION hides TEXTUR", L"<PAGE ANIMATION=\"a\" TEXTUR=\"t\"/>",
         [](TutorialPage const& p) { EXPECT_TRUE(p.textureName.empty()); }},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        tutorials.clear();
        TutorialPage* p = page(c.element);
        ASSERT_NE(p, nullptr);
        c.check(*p);
    }
}

TEST_F(TutorialLoad, DamagedFilesGiveOneLogLineEachAndKeepDefaults) {
    struct Case {
        char const* what;
        std::wstring element;
        std::vector<std::wstring> logged;
        void (*check)(TutorialPage const&);
    };
    Case const cases[] = {
        {"unknown page keys", L"<PAGE NAME=\"p\" FARBE=\"rot\" GROESSE=\"3\"/>", {L"unknown keys", L"FARBE, GROESSE"},
         [](TutorialPage const&) {}},
        {"unknown point keys", L"<PAGE><TUT_POINTS><START WAS=\"1\"/></TUT_POINTS></PAGE>", {L"unknown keys", L"WAS"},
         [](TutorialPage const&) {}},
        {"unknown element", L"<PAGE><KNOPF/></PAGE>", {L"unknown element", L"KNOPF"}, [](TutorialPage const&) {}},
        {"huge arrow size", L"<PAGE PFEIL_SIZE=\"1e30\"/>", {L"PFEIL_SIZE", L"out of range"},
         [](TutorialPage const& p) { EXPECT_FLOAT_EQ(p.arrowSize, 25.0f); }},
        {"negative blend speed", L"<PAGE BLENDSPEED=\"-4\"/>", {L"BLENDSPEED", L"out of range"},
         [](TutorialPage const& p) { EXPECT_DOUBLE_EQ(p.blendSpeed, 1.0); }},
        {"darkening beyond 1", L"<PAGE DARKEN_VALUE=\"7\"/>", {L"DARKEN_VALUE", L"out of range"},
         [](TutorialPage const& p) { EXPECT_FLOAT_EQ(p.darkenValue, 0.75f); }},
        {"time not a number", L"<PAGE MAX_TIME_SHOWN=\"1e400\"/>", {L"MAX_TIME_SHOWN", L"out of range"},
         [](TutorialPage const& p) { EXPECT_DOUBLE_EQ(p.maxTimeShown, -1.0); }},
        {"a mask that is not binary", L"<PAGE><ANIMGOALS><ANIMGOAL GOALNAME=\"A\">\"|102|\"</ANIMGOAL></ANIMGOALS></PAGE>",
         {L"102", L"not a mask"}, [](TutorialPage const& p) { EXPECT_TRUE(p.goals.at(0).masks.empty()); }},
        {"a point offset beyond reason", L"<PAGE><TUT_POINTS><START OFFSET=\"1e12 3\"/></TUT_POINTS></PAGE>",
         {L"OFFSET", L"out of range"},
         [](TutorialPage const& p) { EXPECT_FLOAT_EQ(p.getPoints().at(0).start->offset.x, 0.0f); }},
        // The wobble's lengths and heights are sizes: a list with one beyond the bound is refused
        // whole, where its other numbers were taken and the one left out without a line.
        {"a wobble length beyond reason", L"<PAGE><MOVE_PFEIL WOBBLE_FAKTOR=\"3e38 2\"/></PAGE>",
         {L"WOBBLE_FAKTOR=\"3e38 2\"", L"out of range"},
         [](TutorialPage const& p) {
             EXPECT_FLOAT_EQ(p.wobbleLengthHigh, 1.0f);
             EXPECT_FLOAT_EQ(p.wobbleLengthLow, 1.0f);
         }},
        {"a wobble height beyond reason", L"<PAGE><MOVE_PFEIL WOBBLE_FAKTOR=\"2 0.5 -1e7\"/></PAGE>",
         {L"WOBBLE_FAKTOR=\"2 0.5 -1e7\"", L"out of range"},
         [](TutorialPage const& p) {
             EXPECT_FLOAT_EQ(p.wobbleLengthHigh, 1.0f);
             EXPECT_FLOAT_EQ(p.wobbleHeightHigh, 1.0f);
         }},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        tutorials.clear();
        int const before = loggedCount(c.logged);
        TutorialPage* p = page(c.element);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(loggedCount(c.logged) - before, 1);
        std::vector<std::wstring> named = c.logged;
        named.push_back(L"tutorial file at line 3:");
        EXPECT_EQ(loggedCount(named), 1);
        c.check(*p);
    }
}

TEST_F(TutorialLoad, TooManyElementsAreCutWithOneLogLineAndMissingFilesLoadNothing) {
    std::wstring text = L"<TUTORIAL>";
    for (unsigned i = 0; i < TutorialManager::kMaxElements + 10; ++i) text += L"<STRIP/>";
    text += L"<UNBEKANNT/></TUTORIAL>";
    loadTutorial(text);
    EXPECT_EQ(tutorials.getStrips().size(), TutorialManager::kMaxElements);
    EXPECT_EQ(loggedCount({L"more than", L"STRIP"}), 1);
    EXPECT_EQ(loggedCount({L"unknown element", L"UNBEKANNT"}), 1);

    tutorials.clear();
    XMLNode missing;
    EXPECT_FALSE(missing.load(L"data\\gibt_es_nicht.tut"));
    tutorials.loadTemplates(missing);
    EXPECT_TRUE(tutorials.getStrips().empty());
    EXPECT_EQ(tutorials.showStrip(L"s"), nullptr);
}

}  // namespace

namespace {

// A file's copies of templates have a budget (about 2.6 MB a copy of a page template of 4,096
// point pairs took 400 KB of tutorial files to 3 GB): the pages past it keep their own data
// only, and one line names the file. Strip copies stop at their first page left out.
TEST_F(TutorialLoad, CopiesOfTemplatesStopAtTheFilesBudget) {
    std::wstring pairs;
    for (unsigned i = 0; i < TutorialManager::kMaxElements; ++i) pairs += L"<TUT_POINTS><START/><GOAL/></TUT_POINTS>";
    loadTutorial(L"<TUTORIAL><VORLAGEN><PAGE_VORLAGE NAME=\"BIG\" TEXT=\"vorlage\">" + pairs +
                 L"</PAGE_VORLAGE><STRIP_VORLAGE NAME=\"LANG\"><PAGE VORLAGE=\"BIG\"/><PAGE VORLAGE=\"BIG\"/>"
                 L"</STRIP_VORLAGE></VORLAGEN></TUTORIAL>");
    TutorialPage const* source = tutorials.findPageTemplate(L"BIG");
    ASSERT_NE(source, nullptr);
    std::size_t const fitting = CopyBudget::kEntriesPerFile / source->copyEntries();
    ASSERT_GE(fitting, 2u);
    std::wstring strip = L"<STRIP NAME=\"s\">";
    for (std::size_t i = 0; i <= fitting + 1; ++i) strip += L"<PAGE VORLAGE=\"BIG\" TEXT_ID=\"eigen\"/>";
    std::vector<std::wstring> const line{L"\"test.tut\": copies of templates reached the budget"};
    int const before = loggedCount(line);
    loadTutorial(L"<TUTORIAL>" + strip + L"</STRIP><STRIP NAME=\"t\" VORLAGE=\"LANG\"/></TUTORIAL>");
    ASSERT_EQ(tutorials.getStrips().size(), 2u);
    std::vector<TutorialPage*> const& pages = tutorials.getStrips()[0]->getPages();
    ASSERT_EQ(pages.size(), fitting + 2);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        bool const copied = i < fitting;
        EXPECT_EQ(pages[i]->getPoints().size(), copied ? TutorialManager::kMaxElements : 0u) << i;
        EXPECT_EQ(pages[i]->text, copied ? L"vorlage" : L"") << i;
        EXPECT_EQ(pages[i]->textId, L"eigen") << i;
    }
    EXPECT_TRUE(tutorials.getStrips()[1]->getPages().empty());
    EXPECT_EQ(loggedCount(line) - before, 1);
}

}  // namespace
