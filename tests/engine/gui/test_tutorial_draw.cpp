// Tutorial pages drawn through the real device: the screen darkened behind the page window,
// the pointed-at window drawn again above the darkening, the arrow from the page to its target
// (turned, swinging, pulsing, in front of or behind the page), read back pixel by pixel.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/TextureManager.h"
#include "tests/engine/gui/GuiDrawFixture.h"
#include "tests/engine/gui/GuiTestSupport.h"

namespace {

using namespace Orvex;

constexpr uint32_t kGrey = 0xFF808080;
constexpr uint32_t kDarkGrey = 0xFF202020;  // grey under black at 0.75
using guitest::kBlue;
using guitest::kRed;

int channel(uint32_t p, int shift) { return static_cast<int>(p >> shift & 0xFF); }

// The arrow picture's yellow, allowing for a little fading.
bool isArrow(uint32_t p) { return channel(p, 16) >= 0xC0 && channel(p, 8) >= 0x90 && channel(p, 0) <= 0x60; }

bool nearTutorialRgb(uint32_t p, uint32_t q) { return guitest::nearRgb(p, q, 2); }

class TutorialDraw : public guitest::GuiDrawFixture {
protected:
    void SetUp() override {
        GuiDrawFixture::SetUp();
        GUISystem::instance().clear();
        TutorialManager::instance().clear();
        XMLNode list;
        ASSERT_TRUE(list.load(L"tests\\engine\\gui\\data\\tut_textures.tex"));
        D3DInterface::getInstance().getTextureManager().loadTextures(list);
        // A grey screen holding a red target and the blue page window in the bottom right.
        root = makeWindow(L"screen", FRect(0, 0, 128, 96), kGrey);
        adopt(root, makeWindow(L"ziel", FRect(8, 8, 40, 30), kRed));
        adopt(root, makeWindow(L"seite", FRect(100, 70, 126, 94), kBlue));
        for (GUIWindow* w : {root, root->findChild(L"ziel"), root->findChild(L"seite")}) w->initDefaultState();
        GUISystem::instance().addWindow(root);
    }
    void TearDown() override {
        if (page) {
            page->setShown(false);
            page->release();
        }
        GUISystem::instance().clear();
        root->release();
        GuiDrawFixture::TearDown();
    }
    // A shown page read from its element (attributes and children).
    void show(std::wstring const& attributes, std::wstring const& children) {
        XMLNode node = guitest::parse(L"<PAGE GUIWINDOW=\"seite\" DARKEN_TEX=\"gui_white\" PFEIL=\"tut_pfeil\" " +
                                      attributes + L">" + children + L"</PAGE>");
        page = new TutorialPage(node, nullptr);
        page->setShown(true);
    }
    std::vector<uint32_t> draw() { return frame(*root); }
    int arrowPixels(std::vector<uint32_t> const& px, unsigned x0, unsigned y0, unsigned x1, unsigned y1) const {
        int n = 0;
        for (unsigned y = y0; y < y1; ++y)
            for (unsigned x = x0; x < x1; ++x) n += isArrow(at(px, x, y));
        return n;
    }

    GUIWindow* root = nullptr;
    TutorialPage* page = nullptr;
};

std::wstring const kToTarget =
    L"<TUT_POINTS><START GUIWINDOW=\"seite\" RELATIV=\"0.5 0.5\" REDRAW=\"0\"/>"
    L"<GOAL GUIWINDOW=\"ziel\" RELATIV=\"0.5 0.5\"/></TUT_POINTS>";

std::wstring between(int x0, int y0, int x1, int y1) {
    return L"<TUT_POINTS><START OFFSET=\"" + std::to_wstring(x0) + L" " + std::to_wstring(y0) + L"\"/><GOAL OFFSET=\"" +
           std::to_wstring(x1) + L" " + std::to_wstring(y1) + L"\"/></TUT_POINTS>";
}

TEST_F(TutorialDraw, DarkensTheScreenRedrawsTheTargetAndPointsAtIt) {
    show(L"PFEIL_SIZE=\"3\" PFEIL_DRAW_TYPE=\"SCALE\"", kToTarget);
    auto const px = draw();
    EXPECT_TRUE(nearTutorialRgb(at(px, 4, 90), kDarkGrey)) << std::hex << at(px, 4, 90);
    EXPECT_TRUE(nearTutorialRgb(at(px, 60, 20), kDarkGrey)) << "beside the arrow";
    EXPECT_EQ(at(px, 12, 26), kRed) << "the target above the darkening";
    EXPECT_EQ(at(px, 120, 90), kBlue) << "the page window above its arrow";
    // The arrow runs from the page's middle (113, 82) to the target's (24, 19).
    EXPECT_GT(arrowPixels(px, 64, 45, 72, 55), 0) << "half way";
    EXPECT_GT(arrowPixels(px, 24, 16, 34, 26), 0) << "its tip on the target";
    EXPECT_EQ(arrowPixels(px, 0, 40, 40, 96), 0) << "nowhere off its line";

    page->setShown(false);
    auto const hidden = draw();
    EXPECT_EQ(at(hidden, 4, 90), kGrey) << "hidden: no darkening";
    EXPECT_EQ(arrowPixels(hidden, 0, 0, 128, 96), 0);
}

TEST_F(TutorialDraw, ShowingWithFittingGoalsOnlyStillDarkensOnce) {
    // The showing runs its steps twice; the draw slots must not be connected twice.
    show(L"PFEIL_SIZE=\"3\"", L"<ANIMGOALS AUSWEICHEN_TO_GOALS_WHERE_TEXT_FITS_ONLY=\"1\"/>" + kToTarget);
    auto const px = draw();
    EXPECT_TRUE(nearTutorialRgb(at(px, 4, 90), kDarkGrey)) << std::hex << at(px, 4, 90);
}

TEST_F(TutorialDraw, AWindowHoldingThePageIsNotDrawnAgain) {
    // The screen holds the page window: drawing it again would draw the page inside its own
    // drawing, without end.
    show(L"PFEIL_SIZE=\"3\"",
         L"<TUT_POINTS><START GUIWINDOW=\"screen\"/><GOAL GUIWINDOW=\"ziel\" RELATIV=\"0.5 0.5\"/></TUT_POINTS>");
    auto const px = draw();
    EXPECT_TRUE(nearTutorialRgb(at(px, 4, 90), kDarkGrey)) << std::hex << at(px, 4, 90);
    EXPECT_EQ(at(px, 12, 26), kRed);
}

TEST_F(TutorialDraw, ArrowsPointAlongTheirDirection) {
    struct Case {
        char const* what;
        std::wstring points;
        FRect onArrow;   // arrow pixels expected here
        FRect offArrow;  // and none here
    } const cases[] = {
        {"straight down", between(64, 8, 64, 88), FRect(60, 40, 68, 56), FRect(72, 0, 128, 60)},
        {"straight up", between(64, 88, 64, 8), FRect(60, 40, 68, 56), FRect(0, 0, 56, 96)},
        {"to the right", between(8, 48, 90, 48), FRect(40, 44, 60, 52), FRect(0, 0, 128, 40)},
        {"to the left", between(90, 48, 8, 48), FRect(40, 44, 60, 52), FRect(0, 56, 128, 96)},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        show(L"DARKEN=\"0\" PFEIL_SIZE=\"4\" PFEIL_DRAW_TYPE=\"SCALE\"", c.points);
        auto const px = draw();
        auto box = [&](FRect const& r) {
            return arrowPixels(px, unsigned(r.left), unsigned(r.top), unsigned(r.right), unsigned(r.bottom));
        };
        EXPECT_GT(box(c.onArrow), 0);
        EXPECT_EQ(box(c.offArrow), 0);
        EXPECT_EQ(at(px, 4, 90), kGrey) << "no darkening asked";
        page->setShown(false);
        page->release();
        page = nullptr;
    }
}

TEST_F(TutorialDraw, AnArrowOfNoLengthDrawsNothing) {
    show(L"PFEIL_SIZE=\"4\"", between(50, 50, 50, 50));
    auto const px = draw();
    EXPECT_EQ(arrowPixels(px, 0, 0, 128, 96), 0);
    EXPECT_TRUE(nearTutorialRgb(at(px, 50, 50), kDarkGrey));
}

TEST_F(TutorialDraw, TheSwingingArrowMovesBackFromItsTarget) {
    show(L"DARKEN=\"0\" PFEIL_SIZE=\"4\" PFEIL_DRAW_TYPE=\"SCALE\"",
         between(8, 48, 120, 48) + L"<MOVE_PFEIL MOVE_PFEIL=\"1\" MAX_MOVE_REL=\"0.25\"/>");
    auto const rest = draw();
    EXPECT_GT(arrowPixels(rest, 110, 40, 120, 56), 0) << "at rest the tip reaches the goal";
    page->update(1.0);  // full swing: a quarter of the length back
    auto const swung = draw();
    EXPECT_EQ(arrowPixels(swung, 96, 40, 128, 56), 0);
    EXPECT_GT(arrowPixels(swung, 80, 40, 92, 56), 0);
}

TEST_F(TutorialDraw, TheWobblingArrowPulsesAndEndsOnItsGoal) {
    // A 64 x 32 picture at half thickness 4: 16 pixels long at full length, 8 at half.
    show(L"DARKEN=\"0\" PFEIL_SIZE=\"4\" PFEIL_DRAW_TYPE=\"REPEAT\"",
         between(8, 48, 120, 48) + L"<MOVE_PFEIL WOBBLE=\"1\" WOBBLE_FAKTOR=\"1.0 0.5\"/>");
    struct Case {
        float phase;
        unsigned from;  // arrow pixels from here to the goal, none before
    } const cases[] = {{0.0f, 112}, {1.0f, 104}, {1.5f, 108}};
    for (auto const& c : cases) {
        SCOPED_TRACE(c.phase);
        page->wobblePhase = c.phase;
        auto const px = draw();
        EXPECT_GT(arrowPixels(px, c.from, 40, c.from + 4, 56), 0);
        EXPECT_GT(arrowPixels(px, 116, 40, 120, 56), 0) << "the tip stays on the goal";
        EXPECT_EQ(arrowPixels(px, 0, 0, c.from - 2, 96), 0);
        EXPECT_EQ(arrowPixels(px, 121, 0, 128, 96), 0);
        EXPECT_EQ(arrowPixels(px, 0, 0, 128, 42), 0) << "the thickness stays";
        EXPECT_EQ(arrowPixels(px, 0, 54, 128, 96), 0);
    }
}

TEST_F(TutorialDraw, AnArrowInFrontIsDrawnOverThePageWindow) {
    std::wstring const points = L"<TUT_POINTS><START GUIWINDOW=\"seite\" RELATIV=\"0.5 0.5\" REDRAW=\"0\"/>"
                                L"<GOAL OFFSET=\"10 10\"/></TUT_POINTS>";
    for (bool front : {false, true}) {
        SCOPED_TRACE(front);
        show(L"DARKEN=\"0\" PFEIL_SIZE=\"4\" PFEIL_DRAW_TYPE=\"SCALE\" IN_HG=\"" + std::wstring(front ? L"0" : L"1") + L"\"", points);
        auto const px = draw();
        EXPECT_EQ(arrowPixels(px, 100, 70, 126, 94) > 0, front);
        EXPECT_GT(arrowPixels(px, 40, 30, 70, 50), 0);
        page->setShown(false);
        page->release();
        page = nullptr;
    }
}

TEST_F(TutorialDraw, ThePagePictureGoesOnTheWindowAndItsGoals) {
    GUIWindow* seite = root->findChild(L"seite");
    Texture2D* paper = D3DInterface::getInstance().getTextureManager().findTexture(L"tut_seite");
    ASSERT_NE(paper, nullptr);
    auto* an = new GUIAnimationsGoal(seite->getCurrentState());
    an->name = L"AN";
    seite->addGoal(an);
    auto carries = [&](GUIDrawOptions const& o, Texture2D* t) {
        return o.textures.background == t && o.backgroundSource.use == (t != nullptr);
    };
    show(L"DARKEN=\"0\" ANIM_WINDOW=\"seite\" TEXTUR=\"tut_seite\"", L"");
    EXPECT_TRUE(carries(seite->getDrawOptions(), paper));
    EXPECT_TRUE(carries(seite->getCurrentState().drawOptions, paper)) << "so goal animations keep it";
    ASSERT_EQ(seite->getGoals().size(), 1u);
    EXPECT_TRUE(carries(seite->getGoals()[0]->drawOptions, paper));
    EXPECT_EQ(seite->getDrawOptions().backgroundSource.rect, FRect(0, 0, 64, 64));
    page->setShown(false);
    page->release();
    page = nullptr;

    show(L"DARKEN=\"0\" ANIM_WINDOW=\"seite\" TEXTUR=\"gibt_es_nicht\"", L"");
    EXPECT_TRUE(carries(seite->getDrawOptions(), nullptr)) << "a missing picture takes the old one off";
}

TEST_F(TutorialDraw, APageDestroyedWhileShownLeavesItsWindowDrawingPlainly) {
    show(L"PFEIL_SIZE=\"3\"", kToTarget);
    page->release();  // never hidden
    page = nullptr;
    auto const px = draw();
    EXPECT_EQ(at(px, 4, 90), kGrey);
    EXPECT_EQ(arrowPixels(px, 0, 0, 128, 96), 0);
}

}  // namespace
