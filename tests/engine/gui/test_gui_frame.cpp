// Frames: border numbers, the nine parts with names of their own, input going to the frame,
// content beside the parts, clones, and the nine parts drawn around the fill through the real
// device.
#include <gtest/gtest.h>

#include "engine/gui/GUIFrame.h"
#include "engine/gui/GUISystem.h"
#include "engine/platform/D3DInterface.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiDrawFixture.h"

namespace {

using namespace Orvex;
using Borders = GUIFrame::Borders;

std::wstring frameText(std::wstring const& params, std::wstring const& name = L"rahmen") {
    return L"<GUI><WINDOW NAME=\"" + name + L"\" TYPE=\"FRAME\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"10\" Y_OFF=\"10\"/>"
           L"<SIZE X_OFF=\"64\" Y_OFF=\"48\"/></GUIRECT><TOOLTIP TEXT=\"r\"/></WINDOW_PARAMS>" + params +
           L"</WINDOW></GUI>";
}

struct FrameBorderCase {
    std::vector<float> numbers;
    bool relative;
    bool accepted;
    Borders result;  // from the start value {1, 1, 1, 1}
};

class FrameBorders : public ::testing::TestWithParam<FrameBorderCase> {};

TEST_P(FrameBorders, NumbersSetTheBordersInOrder) {
    FrameBorderCase const& c = GetParam();
    Borders b{1, 1, 1, 1};
    EXPECT_EQ(GUIFrame::parseBorders(c.numbers, c.relative, b), c.accepted);
    EXPECT_EQ(b, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameBorders,
    ::testing::Values(FrameBorderCase{{0.1f}, true, true, {0.1f, 0.1f, 0.1f, 0.1f}},
                      FrameBorderCase{{1, 2}, false, true, {1, 2, 1, 2}},
                      FrameBorderCase{{1, 2, 3}, false, true, {1, 2, 3, 2}},
                      FrameBorderCase{{1, 2, 3, 4}, false, true, {1, 2, 3, 4}},
                      FrameBorderCase{{16, 16, 16, 16, 64, 32}, true, true, {0.25f, 0.5f, 0.25f, 0.5f}},
                      FrameBorderCase{{8, 8, 8, 8, 32}, true, true, {0.25f, 0.25f, 0.25f, 0.25f}},
                      FrameBorderCase{{8, 8, 8, 8, 32}, false, true, {8, 8, 8, 8}},
                      // A reference size of 0 would divide by zero: the borders stay.
                      FrameBorderCase{{16, 16, 16, 16, 0}, true, false, {1, 1, 1, 1}},
                      FrameBorderCase{{16, 16, 16, 16, 64, 0}, true, false, {1, 1, 1, 1}},
                      FrameBorderCase{{}, true, true, {1, 1, 1, 1}}));

class Frames : public guitest::GUIFixture {
protected:
    GUIFrame* load(std::wstring const& params) {
        guitest::loadText(frameText(params), L"rahmen.gui");
        return dynamic_cast<GUIFrame*>(gui.findWindow(L"rahmen"));
    }
};

TEST_F(Frames, EveryPartHasItsOwnNameSoFindWindowFindsTheStripAskedFor) {
    GUIFrame* f = load(L"<FRAME_PARAMS><RAND_SIZE REL=\"0\" OFF=\"8\"/></FRAME_PARAMS>");
    ASSERT_NE(f, nullptr);
    struct Want {
        wchar_t const* suffix;
        FRect rect;
    };
    Want const wants[] = {
        {L"_TOP", FRect(18, 10, 66, 18)},       {L"_BOTTOM", FRect(18, 50, 66, 58)},
        {L"_RIGHT", FRect(66, 18, 74, 50)},     {L"_LEFT", FRect(10, 18, 18, 50)},
        {L"_TOP_LEFT", FRect(10, 10, 18, 18)},  {L"_TOP_RIGHT", FRect(66, 10, 74, 18)},
        {L"_BOTTOM_RIGHT", FRect(66, 50, 74, 58)}, {L"_BOTTOM_LEFT", FRect(10, 50, 18, 58)},
        {L"_FILL", FRect(18, 18, 66, 50)},
    };
    for (int i = 0; i < GUIFrame::kPartCount; ++i) {
        GUIWindow* part = gui.findWindow(std::wstring(L"rahmen") + wants[i].suffix);
        ASSERT_EQ(part, f->getPart(static_cast<GUIFrame::Part>(i))) << i;
        EXPECT_EQ(part->getScreenRect(), wants[i].rect) << i;
        EXPECT_EQ(part->getTooltipParams().size(), 1u);
    }
}

TEST_F(Frames, AZeroReferenceSizeIsLoggedAndLeavesTheRelativeBorders) {
    GUIFrame* f = load(L"<FRAME_PARAMS><RAND_SIZE REL=\"16 16 16 16 64 0\" OFF=\"0\"/></FRAME_PARAMS>");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->getBorderRel(), (Borders{0, 0, 0, 0}));
    EXPECT_EQ(guitest::loggedCount({L"rahmen.gui", L"\"rahmen\"", L"reference size of 0"}), 1);
    EXPECT_EQ(f->getPart(GUIFrame::kFill)->getScreenRect(), FRect(10, 10, 74, 58)) << "no NaN in any rectangle";
}

TEST_F(Frames, WithoutParametersNinePartsIgnoreInputAndPressesReachTheFrame) {
    GUIFrame* f = load(L"");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->getChildren().size(), 9u);
    for (GUIWindow* part : f->getChildren()) {
        EXPECT_EQ(part->getOptions().inputIgnore, 1);
        EXPECT_EQ(part->getDrawOptions().textures.normal, nullptr);
        EXPECT_FALSE(part->getOptions().usableForLayoutManager);
    }
    EXPECT_EQ(gui.windowAt(D3DXVECTOR2(40, 30), GUISystem::kHitInput), f);
}

TEST_F(Frames, DrawType2OfTheFrameTilesStripsAlongTheirLengthAndTheFillBothWays) {
    guitest::loadText(L"<GUI><WINDOW NAME=\"rahmen\" TYPE=\"FRAME\"><WINDOW_PARAMS><DRAWOPTIONS><DRAW_TYPE X=\"REPEAT\"/>"
                      L"</DRAWOPTIONS></WINDOW_PARAMS><FRAME_PARAMS/></WINDOW></GUI>");
    auto* f = dynamic_cast<GUIFrame*>(gui.findWindow(L"rahmen"));
    ASSERT_NE(f, nullptr);
    auto type = [&](GUIFrame::Part p) { return f->getPart(p)->getDrawOptions().drawType; };
    int const y = f->getDrawOptions().drawType.y;
    EXPECT_EQ(type(GUIFrame::kTop), (GUIDrawType{2, 1}));
    EXPECT_EQ(type(GUIFrame::kBottom), (GUIDrawType{2, 1}));
    EXPECT_EQ(type(GUIFrame::kLeft), (GUIDrawType{1, y}));
    EXPECT_EQ(type(GUIFrame::kTopLeft), (GUIDrawType{1, 1}));
    EXPECT_EQ(type(GUIFrame::kFill), (GUIDrawType{2, y}));
    EXPECT_EQ(f->getPart(GUIFrame::kFill)->getDrawOptions().backDrawType, (GUIDrawType{1, 1}));
}

TEST_F(Frames, ContentBesideThePartsIsDrawnAsChildrenAndRemovedAlone) {
    GUIFrame* f = load(L"<FRAME_PARAMS/>");
    ASSERT_NE(f, nullptr);
    GUIWindow* content = guitest::makeBox(L"inhalt", 5, 5, 10, 10);
    ASSERT_TRUE(f->addChild(content, true, true));
    EXPECT_TRUE(f->shouldDrawChild(9, content));
    EXPECT_FALSE(f->shouldDrawChild(0, f->getPart(GUIFrame::kTop)));
    f->removeAllChildren();
    EXPECT_EQ(f->getChildren().size(), 9u);
    EXPECT_EQ(gui.findWindow(L"inhalt"), nullptr);
    // A part taken out by code stays a window the frame can draw.
    GUIWindow* top = f->getPart(GUIFrame::kTop);
    EXPECT_TRUE(f->removeChild(top));
    EXPECT_EQ(top->getName(), L"rahmen_TOP");
}

TEST_F(Frames, AClonesPartsAreItsOwnChildren) {
    GUIFrame* f = load(L"<FRAME_PARAMS><RAND_SIZE OFF=\"4\"/></FRAME_PARAMS>");
    ASSERT_NE(f, nullptr);
    GUIWindow* copy = f->clone();
    auto* twin = dynamic_cast<GUIFrame*>(copy);
    ASSERT_NE(twin, nullptr);
    for (int i = 0; i < GUIFrame::kPartCount; ++i) {
        GUIWindow* part = twin->getPart(static_cast<GUIFrame::Part>(i));
        EXPECT_NE(part, f->getPart(static_cast<GUIFrame::Part>(i)));
        EXPECT_EQ(part->getParent(), twin);
    }
    EXPECT_EQ(twin->getBorderOff(), f->getBorderOff());
    copy->release();
}

class FrameDraw : public guitest::GuiDrawFixture {};

TEST_F(FrameDraw, NinePartsDrawAroundTheFill) {
    constexpr uint32_t kCorner = 0xFFD0A020;
    constexpr uint32_t kEdge = 0xFF806040;
    constexpr uint32_t kFill = 0xFF203040;
    GUISystem& gui = GUISystem::instance();
    gui.clear();
    guitest::loadText(frameText(L"<FRAME_PARAMS><RAND_SIZE REL=\"0\" OFF=\"8\"/>"
                                L"<TEXTURES_2D_TOP TEX_NORMAL=\"gui_frame_edge\"/><TEXTURES_2D_BOTTOM TEX_NORMAL=\"gui_frame_edge\"/>"
                                L"<TEXTURES_2D_LEFT TEX_NORMAL=\"gui_frame_edge\"/><TEXTURES_2D_RIGHT TEX_NORMAL=\"gui_frame_edge\"/>"
                                L"<TEXTURES_2D_TOP_LEFT TEX_NORMAL=\"gui_frame_corner\"/><TEXTURES_2D_TOP_RIGHT TEX_NORMAL=\"gui_frame_corner\"/>"
                                L"<TEXTURES_2D_BOTTOM_LEFT TEX_NORMAL=\"gui_frame_corner\"/><TEXTURES_2D_BOTTOM_RIGHT TEX_NORMAL=\"gui_frame_corner\"/>"
                                L"<TEXTURES_2D_FILL TEX_NORMAL=\"gui_frame_fill\"/></FRAME_PARAMS>"));
    GUIWindow* f = gui.findWindow(L"rahmen");
    ASSERT_NE(f, nullptr);
    auto const px = frame(*f);
    // The frame covers (10, 10)-(74, 58) with 8-pixel borders.
    EXPECT_EQ(count(px, kCorner), 4 * 8 * 8);
    EXPECT_EQ(count(px, kEdge), 2 * 48 * 8 + 2 * 32 * 8);
    EXPECT_EQ(count(px, kFill), 48 * 32);
    EXPECT_EQ(at(px, 11, 11), kCorner);
    EXPECT_EQ(at(px, 40, 12), kEdge);
    EXPECT_EQ(at(px, 12, 30), kEdge);
    EXPECT_EQ(at(px, 40, 30), kFill);
    EXPECT_EQ(at(px, 72, 56), kCorner);
    EXPECT_EQ(at(px, 80, 30), kClear);
    gui.clear();
}

}  // namespace
