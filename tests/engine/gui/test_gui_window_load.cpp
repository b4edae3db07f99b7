// GUI windows from GUI files: the sample screens of data/GUI with their templates (before and
// after loading), copy masks, tooltip records, user ids, and bad input (unknown types and keys,
// templates that name themselves or each other, more windows than the files may hold, lists
// named again and again).
#include <filesystem>
#include <functional>

#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLProperty.h"
#include "engine/gui/GUIAnimationsGoal.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/TutorialManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/AnimationFrameBudget.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/support/TestSupport.h"

using Orvex::GUIWindow;
using guitest::GUIFixture;

namespace {

class GUIWindowLoad : public GUIFixture {
protected:
    void loadSamples() {
        guitest::loadFile(L"tests\\engine\\gui\\data\\vorlagen.gui");
        guitest::loadFile(L"tests\\engine\\gui\\data\\fenster.gui");
    }
};

Orvex::FRect rectOf(float l, float t, float r, float b) { return Orvex::FRect(l, t, r, b); }

}  // namespace

TEST_F(GUIWindowLoad, MasksReadWordsInOrder) {
    struct Case {
        wchar_t const* text;
        int mask;
    };
    Case const cases[] = {
        {L"ALL", -1},
        {L"POSITION SIZE", 3},
        {L"ALL !TEXTURES !COLORS", ~(4 | 16)},
        {L"TEXTURES ALL", -1},
        {L"POSITION UNSINN !SIZE DRAWTYPES", 1 | 512},
        {L"", 0},
    };
    for (Case const& c : cases) {
        Orvex::XMLProperty text{std::wstring(c.text)};
        Orvex::XMLValueTokens words = text.split(L" ");
        EXPECT_EQ(Orvex::parseCopyMask(words, 0, words.getCount()), c.mask) << c.mask;
    }
    Orvex::XMLProperty record{std::wstring(L"knopf_vorlage POSITION TIMES")};
    Orvex::GUITemplateRecord const r = Orvex::parseTemplateRecord(record);
    EXPECT_EQ(r.name, L"knopf_vorlage");
    EXPECT_EQ(r.mask, 1 | 8);
    Orvex::XMLProperty bare{std::wstring(L"knopf_vorlage")};
    EXPECT_EQ(Orvex::parseTemplateRecord(bare).mask, 0);
}

// Rectangles of the sample screen in two screen sizes, templates of the first file applied in
// the second: "start" takes size, options and tooltip before its own data and the bright colours
// after; "ende" takes no colours; the note of an unknown type is a plain window.
TEST_F(GUIWindowLoad, TheSampleScreenLoadsWithItsTemplates) {
    struct Case {
        unsigned w, h;
        Orvex::FRect start, note;
    };
    Case const cases[] = {
        {800, 600, rectOf(220, 620, 380, 660), rectOf(670, 510, 790, 590)},
        {1024, 768, rectOf(220, 620, 380, 660), rectOf(894, 678, 1014, 758)},
    };
    int loads = 0;
    for (Case const& c : cases) {
        SCOPED_TRACE(c.w);
        ++loads;
        setScreen(c.w, c.h);
        gui.clear();
        loadSamples();
        GUIWindow* start = gui.findWindow(L"start");
        GUIWindow* ende = gui.findWindow(L"ende");
        GUIWindow* note = gui.findWindow(L"notiz");
        ASSERT_TRUE(start && ende && note);
        EXPECT_EQ(start->getScreenRect(), c.start);
        EXPECT_EQ(note->getScreenRect(), c.note);
        EXPECT_EQ(start->getDrawOptions().alpha, 1.0);
        EXPECT_EQ(start->getDrawOptions().modulateColor, D3DXCOLOR(0xFFFFE080));
        EXPECT_EQ(start->getDrawOptions().activeBlend, 0.1);
        EXPECT_TRUE(start->getOptions().canBringParentToFront);
        EXPECT_EQ(ende->getDrawOptions().alpha, 1.0);
        EXPECT_EQ(ende->getDrawOptions().modulateColor, D3DXCOLOR(1, 1, 1, 1));
        EXPECT_EQ(ende->getDrawOptions().activeBlend, 0.25);
        EXPECT_TRUE(ende->hasGoal(L"GEDRUECKT"));
        ASSERT_NE(start->getFirstTooltipParam(), nullptr);
        EXPECT_EQ(start->getFirstTooltipParam()->getWindow(), start);
        EXPECT_EQ(start->findTooltipParamById(7), start->getFirstTooltipParam());
        EXPECT_EQ(start->getParent(), gui.findWindow(L"hauptmenue"));
        std::vector<GUIWindow*> buttons;
        gui.findAllWindows(L"knopf", buttons);
        EXPECT_EQ(buttons, (std::vector<GUIWindow*>{start, ende}));
        EXPECT_EQ(note->getUserId(), L"notiz");
        EXPECT_EQ(gui.findWindow(L"hauptmenue")->getClickSound(), L"klick");
        EXPECT_TRUE(Orvex::GUISystem::useQualityStencil());
        EXPECT_EQ(guitest::loggedCount({L"fenster.gui", L"\"notiz\"", L"GIBT_ES_NICHT"}), loads);
    }
}

// Layers sort the top-level list: the note (layer 5) after the others, which keep file order.
TEST_F(GUIWindowLoad, LoadedWindowsAreInLayerOrder) {
    loadSamples();
    std::vector<GUIWindow*> top;
    gui.getWindows(top);
    std::wstring order;
    for (GUIWindow* w : top) order += w->getName() + L" ";
    EXPECT_EQ(order, L"hauptmenue scheibe funke notiz ");
    std::vector<GUIWindow*> all;
    gui.collectWindows(all, Orvex::GUISystem::WindowFilter({L"n"}, {L"notiz"}));
    order.clear();
    for (GUIWindow* w : all) order += w->getName() + L" ";
    EXPECT_EQ(order, L"hauptmenue ende funke ");
}

// Bad data loads what it can: templates naming themselves or each other end, copying from
// oneself does nothing, unknown keys are passed over, a child of an unknown type is left out;
// the unknown type and an absurd number each give one line naming the file.
TEST_F(GUIWindowLoad, TemplateLoopsAndUnknownKeysLoadWhatTheyCan) {
    guitest::loadText(
        L"<GUI>"
        L"<VORLAGEN>"
        L"  <WINDOW NAME=\"a\" VORLAGE_POST=\"a ALL\" UNBEKANNT=\"1\">"
        L"    <WINDOW_PARAMS><ANIMATION_GOAL NAME=\"X\" SPEED=\"-1e400\"/><GUIRECT><POS_TL/><SIZE X_OFF=\"5\" Y_OFF=\"5\"/></GUIRECT></WINDOW_PARAMS>"
        L"  </WINDOW>"
        L"  <WINDOW NAME=\"b\" VORLAGE_PRE=\"a ALL\" VORLAGE_POST=\"c ALL\"/>"
        L"  <WINDOW NAME=\"c\" VORLAGE_PRE=\"b ALL\" VORLAGE_POST=\"b ALL\"/>"
        L"</VORLAGEN>"
        L"<WINDOW NAME=\"w\" TYPE=\"\" VORLAGE_PRE=\"c ALL\" VORLAGE_POST=\"w ALL\">"
        L"  <WINDOW NAME=\"kind\" TYPE=\"ETWAS\" VORLAGE_POST=\"fehlt ALL\"><QUATSCH/></WINDOW>"
        L"</WINDOW>"
        L"</GUI>");
    GUIWindow* w = gui.findWindow(L"w");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->hasGoal(L"X"));
    EXPECT_EQ(w->getScreenRect(), rectOf(0, 0, 5, 5));
    // A template that names itself: re-applying it copies nothing (it would delete the goals it
    // copies from).
    GUIWindow* a = gui.findTemplate(L"a");
    ASSERT_NE(a, nullptr);
    a->reapplyTemplates();
    EXPECT_EQ(a->getGoals().size(), 1u);
    EXPECT_EQ(a->getGoals()[0]->name, L"X");
    EXPECT_EQ(gui.findWindow(L"kind"), nullptr) << "a child of an unknown type is left out";
    EXPECT_EQ(guitest::loggedCount({L"test.gui", L"\"kind\"", L"ETWAS"}), 1);
    EXPECT_EQ(guitest::loggedCount({L"unknown TYPE"}), 1);
    EXPECT_EQ(guitest::loggedCount({L"test.gui", L"\"X\"", L"SPEED"}), 1);
}

// A file that would make more windows than it may (top-level and nested alike) keeps the first
// ones and says so once.
TEST_F(GUIWindowLoad, TooManyWindowsAreCutWithOneLine) {
    std::wstring text = L"<GUI><WINDOW NAME=\"huelle\">";
    for (int i = 0; i < 10000; ++i) text += L"<WINDOW/>";
    text += L"</WINDOW>";
    for (int i = 0; i < 10000; ++i) text += L"<WINDOW/>";
    text += L"</GUI>";
    guitest::loadText(text, L"viele.gui");
    std::vector<GUIWindow*> all;
    gui.collectAllWindows(all);
    EXPECT_EQ(all.size(), 16384u);
    ASSERT_NE(gui.findWindow(L"huelle"), nullptr);
    EXPECT_EQ(gui.findWindow(L"huelle")->getChildren().size(), 10000u);
    EXPECT_EQ(guitest::loggedCount({L"viele.gui", L"16384"}), 1);
}

// The cap holds for all loaded files together: a second file finds the GUI full and says so
// once; after a clear the files load again.
TEST_F(GUIWindowLoad, TheWindowCapHoldsForAllFilesTogether) {
    std::wstring text = L"<GUI>";
    for (int i = 0; i < 10000; ++i) text += L"<WINDOW/>";
    text += L"</GUI>";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        guitest::loadText(text, L"erste.gui");
        guitest::loadText(text, L"zweite.gui");
        std::vector<GUIWindow*> all;
        gui.collectAllWindows(all);
        EXPECT_EQ(all.size(), static_cast<std::size_t>(Orvex::GUISystem::kMaxLoadedWindows));
        EXPECT_EQ(guitest::loggedCount({L"zweite.gui", L"16384"}), round + 1);
        EXPECT_EQ(guitest::loggedCount({L"erste.gui", L"16384"}), 0);
        gui.clear();
    }
}

// An animation list that GUI and tutorial files name again and again, under any spelling,
// is loaded once. Released, it loads anew.
TEST_F(GUIWindowLoad, AnAnimationListIsLoadedOnce) {
    std::filesystem::path const dir = testsupport::makeTempDir("animation_list_once");
    testsupport::writeFile(dir / "liste.ani", "<LISTE><ANIMATION_2D/><ANIMATION_2D NAME=\"benannt\"/></LISTE>");
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(dir.string()));
    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    registry.releaseAnimations();
    Orvex::XMLNode tutorial;
    ASSERT_TRUE(tutorial.loadFromText(L"<TUTORIAL><ANIMATIONEN FILE=\".\\Liste.ani\"/></TUTORIAL>"));
    std::function<void()> const mentions[] = {
        [] {
            guitest::loadText(L"<GUI><ANIMATION FILE=\"liste.ani\"/><ANIMATION FILE=\".\\LISTE.ANI\"/></GUI>", L"a.gui");
        },
        [] { guitest::loadText(L"<GUI><ANIMATION FILE=\"liste.ani\"/></GUI>", L"b.gui"); },
        [&] { Orvex::TutorialManager::instance().loadTemplates(tutorial); },
    };
    // Each reading leaves the unnamed animation out with one line.
    auto readings = [](logtest::LogWatch const& watch) {
        std::size_t n = 0;
        for (std::wstring const& line : watch.lines()) n += logtest::contains(line, L"without \"NAME\" left out");
        return n;
    };
    logtest::LogWatch const watch;
    for (auto const& mention : mentions) {
        mention();
        EXPECT_EQ(registry.getAnimations().size(), 1u);
        EXPECT_EQ(readings(watch), 1u);
    }
    registry.releaseAnimations();
    mentions[0]();
    EXPECT_EQ(registry.getAnimations().size(), 1u);
    EXPECT_EQ(readings(watch), 2u);
    registry.releaseAnimations();
    Orvex::TutorialManager::instance().clear();
}

// A texture list that the GUI files name again and again, under any spelling, is read once (the
// game's 29 GUI files read three lists 56 times). Emptied, the texture list reads it anew.
TEST_F(GUIWindowLoad, ATextureListIsReadOnce) {
    std::filesystem::path const dir = testsupport::makeTempDir("texture_list_once");
    testsupport::writeFile(dir / "liste.tex", "<TEXTUREN><TEXTUR2D NAME=\"OHNE_DATEI\"/></TEXTUREN>");
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(dir.string()));
    // Each reading refuses the texture without a file with one line.
    auto readings = [](logtest::LogWatch const& watch) {
        std::size_t n = 0;
        for (std::wstring const& line : watch.lines())
            n += logtest::contains(line, L"\"OHNE_DATEI\"") && logtest::contains(line, L"names no \"FILE\"");
        return n;
    };
    logtest::LogWatch const watch;
    guitest::loadText(L"<GUI><TEXTURES FILE=\"liste.tex\"/><TEXTURES FILE=\".\\LISTE.TEX\"/></GUI>", L"a.gui");
    guitest::loadText(L"<GUI><TEXTURE_2DFILES><TEXTURE_2DFILE FILENAME=\"Liste.tex\"/></TEXTURE_2DFILES></GUI>", L"b.gui");
    EXPECT_EQ(readings(watch), 1u);
    Orvex::D3DInterface::getInstance().getTextureManager().releaseAll();
    guitest::loadText(L"<GUI><TEXTURES FILE=\"liste.tex\"/></GUI>", L"c.gui");
    EXPECT_EQ(readings(watch), 2u);
}

// Each refused value's line names the GUI file and the line of the element it stands in.
TEST_F(GUIWindowLoad, RefusedValuesNameTheFileAndTheLineOfTheirElement) {
    struct Case {
        wchar_t const* element;  // starts on line 2; a line break in it puts the refused part on 3
        wchar_t const* key;
    } const cases[] = {
        {L"<WINDOW NAME=\"t\" TYPE=\"ETWAS\"/>", L"unknown TYPE"},
        {L"<WINDOW NAME=\"g\"><WINDOW_PARAMS>\n<ANIMATION_GOAL NAME=\"X\" SPEED=\"nan\"/></WINDOW_PARAMS></WINDOW>",
         L"SPEED"},
        {L"<WINDOW NAME=\"d\">\n<DRAWER TYPE=\"COLOR\" SPEED=\"1e99\"/></WINDOW>", L"Drawer"},
        {L"<WINDOW TYPE=\"PROGRESSBAR\" NAME=\"p\">\n<PROGRESSBAR_PARAMS MAX_WERT=\"0\"/></WINDOW>", L"MAX_WERT"},
        {L"<WINDOW TYPE=\"CHECKBOX\" NAME=\"c\">\n<CHECKBOX_PARAMS CHECKBOX_SIZE=\"1 0\"/></WINDOW>",
         L"CHECKBOX_SIZE"},
        {L"<WINDOW TYPE=\"SCROLL_PANEL\" NAME=\"s\">\n<SCROLL_PANEL_PARAMS SIZE_RELATIV=\"1 1 0\"/></WINDOW>",
         L"SIZE_RELATIV"},
        {L"<WINDOW TYPE=\"FRAME\" NAME=\"f\"><FRAME_PARAMS>\n<RAND_SIZE OFF=\"1e99\"/></FRAME_PARAMS></WINDOW>",
         L"RAND_SIZE OFF"},
    };
    for (auto const& c : cases) {
        std::wstring const element = c.element;
        SCOPED_TRACE(std::string(element.begin(), element.end()));
        std::wstring const at = element.find(L'\n') == std::wstring::npos ? L"at line 2" : L"at line 3";
        guitest::loadText(L"<GUI>\n" + element + L"</GUI>", L"zeilen.gui");
        // "GUI file "zeilen.gui" at line 3: ...", or a goal's "Goal "X" in "zeilen.gui" at line 3: ...".
        EXPECT_EQ(guitest::loggedCount({L"\"zeilen.gui\" " + at, c.key}), 1);
        gui.clear();
    }
}

// A window node without "WINDOW_PARAMS": zero size, default options, no goals; children still.
TEST_F(GUIWindowLoad, AWindowWithoutParametersStillHasItsChildren) {
    GUIWindow* w = guitest::makeWindow(L"<WINDOW NAME=\"leer\"><WINDOW NAME=\"k1\"/><WINDOW NAME=\"k2\"/></WINDOW>");
    ASSERT_NE(w, nullptr);
    w->updateRect(true, true);
    EXPECT_EQ(w->getScreenRect(), rectOf(0, 0, 0, 0));
    EXPECT_TRUE(w->getGoals().empty());
    EXPECT_EQ(w->getChildren().size(), 2u);
    EXPECT_TRUE(w->getOptions().visible);
    EXPECT_EQ(w->getUserId(), L"leer");
    w->release();
}

// Two goals named "DEFAULT": the later is the default, both stay.
TEST_F(GUIWindowLoad, TheLastDefaultGoalWins) {
    GUIWindow* w = guitest::makeWindow(
        L"<WINDOW NAME=\"w\"><WINDOW_PARAMS>"
        L"<ANIMATION_GOAL NAME=\"DEFAULT\"><DRAWOPTIONS ALPHA=\"0.25\"/></ANIMATION_GOAL>"
        L"<ANIMATION_GOAL NAME=\"DEFAULT\"><DRAWOPTIONS ALPHA=\"0.5\"/></ANIMATION_GOAL>"
        L"</WINDOW_PARAMS></WINDOW>");
    EXPECT_EQ(w->getGoals().size(), 2u);
    EXPECT_EQ(w->getDefaultGoal().drawOptions.alpha, 0.5);
    EXPECT_EQ(w->getDrawOptions().alpha, 0.5);
    w->release();
}

// What each mask word copies from a template (the template's own mask, here all but the size,
// applied first); copying the options twice doubles the tooltip records.
TEST_F(GUIWindowLoad, CopyingFromATemplateTakesWhatTheMaskNames) {
    auto* texNormal = new Orvex::Texture2D(L"normal");
    auto* texBack = new Orvex::Texture2D(L"hinten");
    GUIWindow* source = guitest::makeWindow(
        L"<WINDOW NAME=\"vorlage\" IS_VORLAGE_FOR=\"ALL !SIZE\"><WINDOW_PARAMS>"
        L"<GUIRECT><POS_TL X_OFF=\"7\" Y_OFF=\"8\"/><SIZE X_OFF=\"70\" Y_OFF=\"80\"/></GUIRECT>"
        L"<DRAWOPTIONS ALPHA=\"0.5\" ACTIVE_BLEND=\"0.3\"/><OPTIONS MOUSE_MOVE=\"1\"/>"
        L"<TOOLTIP TEXT=\"tipp\"/><ANIMATION_GOAL NAME=\"G\"/></WINDOW_PARAMS></WINDOW>");
    source->getDrawOptions().setTexNormal(texNormal);
    struct Case {
        wchar_t const* words;
        float x, w;
        double alpha, activeBlend;
        bool textured, mouseMove;
        std::size_t tooltips;
        bool templateGoals;
    };
    Case const cases[] = {
        {L"POSITION", 7, 20, 1.0, 0.0, false, false, 0, false},
        {L"SIZE", 0, 20, 1.0, 0.0, false, false, 0, false},
        {L"COLORS TEXTURES", 0, 20, 0.5, 0.0, true, false, 0, false},
        {L"TIMES", 0, 20, 1.0, 0.3, false, false, 0, false},
        {L"OPTIONS OPTIONS", 0, 20, 1.0, 0.0, false, true, 2, false},
        {L"ANIMATION_GOALS", 0, 20, 1.0, 0.0, false, false, 0, true},
        {L"ALL", 7, 20, 0.5, 0.3, true, true, 1, true},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(std::string(c.words, c.words + std::wcslen(c.words)));
        GUIWindow* w = guitest::makeBox(L"w", 0, 0, 20, 20);
        w->addGoal(new Orvex::GUIAnimationsGoal());
        w->getDrawOptions().setTexBackground(texBack);
        Orvex::XMLProperty text{std::wstring(c.words)};
        Orvex::XMLValueTokens words = text.split(L" ");
        int const mask = Orvex::parseCopyMask(words, 0, words.getCount());
        w->copyFromTemplate(source, mask);
        if (std::wstring(c.words) == L"OPTIONS OPTIONS") w->copyFromTemplate(source, mask);
        w->updateRect(true, true);
        EXPECT_EQ(w->getScreenRect().left, c.x);
        EXPECT_EQ(w->getScreenRect().right - w->getScreenRect().left, c.w);
        EXPECT_EQ(w->getDrawOptions().alpha, c.alpha);
        EXPECT_EQ(w->getDrawOptions().activeBlend, c.activeBlend);
        EXPECT_EQ(w->getDrawOptions().textures.normal == texNormal, c.textured);
        // The template has no background: the window keeps its own.
        EXPECT_EQ(w->getDrawOptions().textures.background, texBack);
        EXPECT_EQ(w->getOptions().mouseMove, c.mouseMove);
        EXPECT_EQ(w->getTooltipParams().size(), c.tooltips);
        ASSERT_EQ(w->getGoals().size(), 1u);
        EXPECT_EQ(w->getGoals()[0]->name == L"G", c.templateGoals);
        w->release();
    }
    source->release();
    texNormal->release();
    texBack->release();
}

namespace {

// An animation list file of count animations "<prefix>i", each of the most frames an animation
// may hold (one textureless frame repeated by its order list).
std::wstring writeBigList(std::filesystem::path const& dir, std::string const& file, std::wstring const& prefix,
                          int count) {
    std::string text = "<LISTE>";
    for (int i = 0; i < count; ++i)
        text += "<ANIMATION_2D NAME=\"" + std::string(prefix.begin(), prefix.end()) + std::to_string(i) +
                "\"><FRAME FRAME_SIZE=\"4 4\"/><ORDER>\"|" + std::to_string(Orvex::Texture2DAnimation::kMaxFrames) +
                " x 0|\"</ORDER></ANIMATION_2D>";
    testsupport::writeFile(dir / file, text + "</LISTE>");
    return port::windowsPath((dir / file).string());
}

}  // namespace

// A window naming an animation in its four slots and its goal's, and a window made from such a
// template: every slot holds a copy (its own frame), all showing the registry's one frame table. Each copied the 16,384 frames before: 100 such windows took 2 GB.
TEST_F(GUIWindowLoad, AnimationSlotsShareTheFrames) {
    std::filesystem::path const dir = testsupport::makeTempDir("animation_slots");
    std::wstring const list = writeBigList(dir, "gross.ani", L"GROSS", 1);
    std::wstring const slots = L"ANI_NORMAL=\"GROSS0\" ANI_MARK=\"GROSS0\" ANI_BACKGROUND=\"GROSS0\" ANI_FOREGROUND=\"GROSS0\"";
    std::wstring const params = L"<WINDOW_PARAMS><DRAWOPTIONS " + slots + L"/><ANIMATION_GOAL NAME=\"AN\"><DRAWOPTIONS " +
                                slots + L"/></ANIMATION_GOAL></WINDOW_PARAMS>";
    guitest::loadText(L"<GUI><ANIMATION FILE=\"" + list + L"\"/><VORLAGEN><WINDOW NAME=\"vorlage\" IS_VORLAGE_FOR=\"ALL\">" +
                      params + L"</WINDOW></VORLAGEN><WINDOW NAME=\"fenster\">" + params +
                      L"</WINDOW><WINDOW NAME=\"kopie\" VORLAGE_PRE=\"vorlage ALL\"/></GUI>");
    Orvex::Texture2DAnimation* source = Orvex::Texture2DAnimationManager::instance().findAnimation(L"GROSS0");
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->getFrameCount(), Orvex::Texture2DAnimation::kMaxFrames);
    std::vector<Orvex::Texture2DAnimation*> copies;
    for (wchar_t const* name : {L"fenster", L"kopie"}) {
        GUIWindow* window = gui.findWindow(name);
        ASSERT_NE(window, nullptr) << name;
        std::vector<Orvex::GUIDrawOptions*> looks{&window->getDrawOptions()};
        for (Orvex::GUIAnimationsGoal* goal : window->getGoals()) looks.push_back(&goal->drawOptions);
        EXPECT_GE(looks.size(), 2u) << name;
        // A template hands its normal and mark animations over (shared, not copied).
        for (Orvex::GUIDrawOptions* look : looks)
            for (Orvex::Texture2DAnimation* a : {look->getAniNormal(), look->getAniMark(), look->getAniBackground(),
                                                 look->getAniForeground()})
                if (a) copies.push_back(a);
    }
    EXPECT_GE(copies.size(), 8u + 2u + 4u);
    for (Orvex::Texture2DAnimation* a : copies) {
        EXPECT_NE(a, source);
        EXPECT_EQ(&a->getFrames(), &source->getFrames());
    }
    copies.front()->setPosition(5.0f);
    EXPECT_EQ(copies.back()->getPosition(), 0.0f);
    EXPECT_EQ(source->getPosition(), 0.0f);
    releaseAnimations();
}

// The lists a GUI file names take their frames from the file's budget too: four lists of four
// animations of the most frames fill it, the fifth list builds none, with one line naming the
// GUI file.
TEST_F(GUIWindowLoad, ListsOfAGuiFileShareItsFrameBudget) {
    constexpr int kLists = static_cast<int>(Orvex::AnimationFrameBudget::kFramesPerFile /
                                            Orvex::AnimationFrameBudget::kFramesPerList) + 1;
    constexpr int kPerList = static_cast<int>(Orvex::AnimationFrameBudget::kFramesPerList /
                                              Orvex::Texture2DAnimation::kMaxFrames);
    std::filesystem::path const dir = testsupport::makeTempDir("gui_frame_budget");
    std::wstring text = L"<GUI>";
    for (int i = 0; i < kLists; ++i) {
        std::wstring const prefix = L"L" + std::to_wstring(i) + L"_";
        text += L"<ANIMATION FILE=\"" + writeBigList(dir, "liste" + std::to_string(i) + ".ani", prefix, kPerList) + L"\"/>";
    }
    logtest::LogWatch const watch;
    guitest::loadText(text + L"</GUI>", L"budget.gui");
    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    for (int i = 0; i < kLists; ++i) {
        Orvex::Texture2DAnimation* a = registry.findAnimation(L"L" + std::to_wstring(i) + L"_0");
        ASSERT_NE(a, nullptr) << i;
        EXPECT_EQ(a->getFrameCount(), i + 1 < kLists ? Orvex::Texture2DAnimation::kMaxFrames : 0u) << i;
    }
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines())
        lines += logtest::contains(line, L"reached the budget") && logtest::contains(line, L"\"budget.gui\"");
    EXPECT_EQ(lines, 1u);
    releaseAnimations();
}
