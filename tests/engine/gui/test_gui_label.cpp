// Labels: the parameter block (flags, style names, texts), signals, templates; drawing through
// the real device (styles by state, alpha, the caret); and the tooltip sized to its measured
// text.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltip.h"
#include "engine/platform/D3DInterface.h"
#include "tests/engine/gui/FontFixture.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiTestSupport.h"

namespace {

using namespace Orvex;

std::wstring labelText(std::wstring const& block, std::wstring const& windowParams = L"") {
    return L"<WINDOW NAME=\"l\" TYPE=\"LABEL\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT>" +
           windowParams + L"</WINDOW_PARAMS><LABEL_PARAMS " + block + L"</WINDOW>";
}

// The caller owns the label.
GUILabel* makeLabel(std::wstring const& block, std::wstring const& windowParams = L"") {
    GUIWindow* w = guitest::makeWindow(labelText(block, windowParams));
    auto* label = dynamic_cast<GUILabel*>(w);
    EXPECT_NE(label, nullptr);
    return label;
}

class Labels : public guitest::GUIFixture {};

struct FlagCase {
    wchar_t const* block;
    u32 flags;
};

class LabelFlags : public Labels, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(LabelFlags, FlagWordsOrTheirBits) {
    GUILabel* l = makeLabel(GetParam().block);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->getFlags(), GetParam().flags);
    l->release();
}

INSTANTIATE_TEST_SUITE_P(Cases, LabelFlags,
                         ::testing::Values(FlagCase{L"/>", 21}, FlagCase{L"FLAGS=\"RIGHT BOTTOM\"/>", 10},
                                           FlagCase{L"FLAGS=\"LEFT TOP\"/>", 0}, FlagCase{L"FLAGS=\"right\"/>", 0},
                                           FlagCase{L"FLAGS=\"NOCLIP WORDBREAK CENTER VCENTER\"/>", 277},
                                           FlagCase{L"FLAGS=\"RIGHT\"><FLAGS>\"|BOTTOM|\"</FLAGS></LABEL_PARAMS>", 8}));

TEST_F(Labels, StyleNamesTextsAndOptionsOfTheBlock) {
    GUILabel* l = makeLabel(L"FONT_STYLENAME=\"a\" FONT_STYLENAME_MARK=\"b\" FONT_NAME=\"gibtsnicht\" TEXT=\"wort\" "
                            L"TEXT_ID=\"ID_WORT\" INPUT_IGNORE=\"5\"/>");
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->getStyleName(GUILabel::kNormal), L"a");
    EXPECT_EQ(l->getStyleName(GUILabel::kMark), L"b");
    EXPECT_EQ(l->getStyleName(GUILabel::kDisabled), L"a");
    EXPECT_TRUE(l->isTextIdMode()) << "TEXT_ID comes after TEXT";
    EXPECT_EQ(l->getText(), L"") << "an id missing from the language (none here) shows nothing";
    EXPECT_EQ(l->getOptions().inputIgnore, 1);
    EXPECT_TRUE(l->getOptions().activateParent);
    EXPECT_EQ(l->getFont(), nullptr) << "an unknown font draws nothing";
    l->setFontStyle(L"x", 3);
    EXPECT_EQ(l->getStyleName(0), L"a");
    EXPECT_EQ(l->getStyleName(1), L"b");
    EXPECT_EQ(l->getStyleName(2), L"a");
    l->release();
}

class Counter : public sigslot::has_slots<> {
public:
    int n = 0;
    void on(GUILabel&) { ++n; }
};

TEST_F(Labels, SetTextEmitsEveryTime) {
    GUILabel* l = makeLabel(L"TEXT=\"a\"/>");
    Counter c;
    l->changed.connect(&c, &Counter::on);
    l->setText(L"a");
    l->setText(L"a");
    EXPECT_EQ(c.n, 2);
    l->setTextId(L"X");
    EXPECT_EQ(c.n, 3);
    EXPECT_TRUE(l->isTextIdMode());
    l->release();
}

TEST_F(Labels, ATemplateLabelHandsOnTextAndFlagsAndTheBlockWins) {
    guitest::loadText(L"<GUI><VORLAGEN><WINDOW NAME=\"vorlage\" TYPE=\"LABEL\" IS_VORLAGE_FOR=\"ALL\">"
                      L"<LABEL_PARAMS TEXT=\"aus der Vorlage\" FLAGS=\"RIGHT\" FONT_STYLENAME=\"s\"/></WINDOW></VORLAGEN>"
                      L"<WINDOW NAME=\"a\" TYPE=\"LABEL\" VORLAGE_PRE=\"vorlage TEXTIDS OPTIONS FONTSTYLES\"/>"
                      L"<WINDOW NAME=\"b\" TYPE=\"LABEL\" VORLAGE_PRE=\"vorlage TEXTIDS\"><LABEL_PARAMS TEXT=\"eigen\"/></WINDOW>"
                      L"</GUI>");
    auto* a = dynamic_cast<GUILabel*>(gui.findWindow(L"a"));
    auto* b = dynamic_cast<GUILabel*>(gui.findWindow(L"b"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->getText(), L"aus der Vorlage");
    EXPECT_EQ(a->getFlags(), GUILabel::kFlagRight);
    EXPECT_EQ(a->getStyleName(GUILabel::kMark), L"s");
    EXPECT_EQ(b->getText(), L"eigen");
    EXPECT_EQ(b->getFlags(), GUILabel::kDefaultFlags) << "OPTIONS not asked for";
}

// ---- drawing ----

constexpr uint32_t kWhite = 0xFFFFFFFF;
using guitest::kRed;

class LabelDraw : public fonttest::FontDrawFixture {
protected:
    void SetUp() override {
        FontDrawFixture::SetUp();
        load(L"<FONTS><D3DXFONT NAME=\"d\" HEIGHT=\"20\" SCALE_WITH_SCREEN=\"0\"/>"
             L"<FONTSTYLE NAME=\"weiss\" COLOR_VG=\"FFFFFFFF\"/><FONTSTYLE NAME=\"rot\" COLOR_VG=\"FFFF0000\"/></FONTS>");
        D3DDISPLAYMODE& mode = D3DInterface::getInstance().getInitParams().displayMode;
        ASSERT_EQ(mode.Width, width());
        GUISystem::instance().clear();
        GUISystem::instance().setSprite(nullptr);
    }
    void TearDown() override {
        GUISystem::instance().clear();
        GUISystem::instance().setSprite(nullptr);
        FontDrawFixture::TearDown();
    }
    std::vector<uint32_t> draw(GUIWindow& w) {
        w.updateRect(false, false);
        return frame([&] { w.drawRoot(true); });
    }
    static uint32_t brightest(std::vector<uint32_t> const& px) {
        uint32_t best = 0;
        for (uint32_t p : px) best = std::max(best, p & 0xFFu);
        return best;
    }
};

TEST_F(LabelDraw, EnabledLabelsUseTheNormalStyleAndDisabledOnesTheDisabledStyle) {
    GUILabel* l = makeLabel(L"FONT_NAME=\"d\" FONT_STYLENAME=\"weiss\" FONT_STYLENAME_DISABLED=\"rot\" TEXT=\"Hand\" "
                            L"FLAGS=\"LEFT TOP\"/>");
    ASSERT_NE(l, nullptr);
    auto px = draw(*l);
    EXPECT_GT(countOf(px, kWhite), 20);
    EXPECT_EQ(countOf(px, kRed), 0);
    RECT const box = ink(px);
    EXPECT_LT(box.left, 6);
    EXPECT_LT(box.top, 8);
    l->getOptions().enabled = false;
    px = draw(*l);
    EXPECT_EQ(countOf(px, kWhite), 0);
    EXPECT_GT(countOf(px, kRed), 20);
    l->release();
}

TEST_F(LabelDraw, AButtonsCaptionLightsUpWithTheHoveredButton) {
    GUISystem& gui = GUISystem::instance();
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(
        L"<GUI><WINDOW NAME=\"knopf\" TYPE=\"BUTTON\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"8\" Y_OFF=\"8\"/>"
        L"<SIZE X_OFF=\"120\" Y_OFF=\"40\"/></GUIRECT><DRAWOPTIONS ACTIVE_BLEND=\"0.5\"/></WINDOW_PARAMS>"
        L"<BUTTON_PARAMS><LABEL_PARAMS FONT_NAME=\"d\" FONT_STYLENAME=\"weiss\" FONT_STYLENAME_MARK=\"rot\" "
        L"TEXT=\"Los\"/></BUTTON_PARAMS></WINDOW></GUI>"));
    gui.loadTextures(root, L"knopf.gui");
    auto const before = frame([&] { gui.draw(); });
    EXPECT_GT(countOf(before, kWhite), 20);
    EXPECT_EQ(countOf(before, kRed), 0);
    MouseState s = guitest::mouseAt(60, 28);
    gui.onMouseMove(s, OA_MOUSE_X);
    gui.update(0.25);
    auto const half = frame([&] { gui.draw(); });
    EXPECT_EQ(countOf(half, kWhite), 0) << "half way between the styles";
    EXPECT_EQ(countOf(half, kRed), 0);
    gui.update(0.3);
    auto const lit = frame([&] { gui.draw(); });
    EXPECT_EQ(countOf(lit, kWhite), 0);
    EXPECT_GT(countOf(lit, kRed), 20) << "the mark style once the button's blend is 1";
}

TEST_F(LabelDraw, HalfAlphaHalvesTheTextsAlphaOnly) {
    GUILabel* l = makeLabel(L"FONT_NAME=\"d\" FONT_STYLENAME=\"weiss\" TEXT=\"Hand\"/>", L"<DRAWOPTIONS ALPHA=\"0.5\"/>");
    ASSERT_NE(l, nullptr);
    uint32_t const b = brightest(draw(*l));
    EXPECT_GE(b, 0x7Du);
    EXPECT_LE(b, 0x82u);
    l->release();
}

TEST_F(LabelDraw, TheCaretFollowsTheTextOrStandsInsideIt) {
    GUILabel* l = makeLabel(L"FONT_NAME=\"d\" FONT_STYLENAME=\"weiss\" TEXT=\"abc\" FLAGS=\"LEFT TOP\"/>");
    ASSERT_NE(l, nullptr);
    RECT const plain = ink(draw(*l));
    l->setCaretChar(L'_');
    l->setCaretVisible(true);
    RECT const after = ink(draw(*l));
    EXPECT_GT(after.right, plain.right + 3) << "the caret right of the last letter";
    l->setCaretPosition(1);
    RECT const inside = ink(draw(*l));
    EXPECT_GT(inside.right, plain.right + 3) << "a caret inside pushes the rest on";
    l->setText(L"");
    l->setCaretPosition(-1);
    RECT const alone = ink(draw(*l));
    EXPECT_GT(alone.right - alone.left, 3) << "a caret on an empty text is drawn by itself";
    EXPECT_LT(alone.left, 4);
    l->release();
}

TEST_F(LabelDraw, ATooltipIsItsMeasuredTextPlusTheSizeOffset) {
    GUISystem& gui = GUISystem::instance();
    Orvex::XMLNode root;
    ASSERT_TRUE(root.loadFromText(
        L"<GUI><WINDOW NAME=\"ziel\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"10\" Y_OFF=\"10\"/><SIZE X_OFF=\"50\" "
        L"Y_OFF=\"50\"/></GUIRECT><TOOLTIP TEXT=\"Hallo Welt\"/></WINDOW_PARAMS></WINDOW>"
        L"<WINDOW NAME=\"tip\" TYPE=\"TOOLTIP\"><WINDOW_PARAMS><OPTIONS INPUT_IGNORE=\"3\"/><DRAWOPTIONS EBENE=\"9\"/>"
        L"</WINDOW_PARAMS><TOOLTIP_PARAMS LABEL=\"tip_text\"><RAND_SIZE OFF=\"10\"/></TOOLTIP_PARAMS>"
        L"<WINDOW NAME=\"tip_text\" TYPE=\"LABEL\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT>"
        L"</WINDOW_PARAMS><LABEL_PARAMS FONT_NAME=\"d\" FONT_STYLENAME=\"weiss\" FLAGS=\"LEFT TOP\"/></WINDOW>"
        L"</WINDOW></GUI>"));
    gui.loadTextures(root, L"tip.gui");
    auto* tip = dynamic_cast<GUITooltip*>(gui.findWindow(L"tip"));
    ASSERT_NE(tip, nullptr);
    MouseState s = guitest::mouseAt(20, 20);
    gui.onMouseMove(s, OA_MOUSE_X);
    gui.update(1.1);
    ASSERT_TRUE(tip->isShown());
    RECT const text = measure(L"d", L"Hallo Welt", RECT{0, 0, 0, 0}, GUILabel::kFlagNoClip);
    FRect const r = tip->getScreenRect();
    EXPECT_FLOAT_EQ(r.right - r.left, static_cast<float>(text.right - text.left + 20));
    EXPECT_FLOAT_EQ(r.bottom - r.top, static_cast<float>(text.bottom - text.top + 20));
    EXPECT_GT(text.right - text.left, 40);
    EXPECT_LE(r.right, static_cast<float>(width())) << "kept on the screen";
    // The label inside keeps its border, one pixel wider than the border leaves.
    FRect const inner = tip->getLabel()->getScreenRect();
    EXPECT_FLOAT_EQ(inner.left - r.left, 10.0f);
    EXPECT_FLOAT_EQ(inner.right - inner.left, r.right - r.left - 19.0f);
    auto const px = frame([&] { gui.draw(); });
    EXPECT_GT(countOf(px, kWhite), 30) << "the text is drawn";
}

}  // namespace
