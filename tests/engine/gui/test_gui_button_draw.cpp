// Checkbox buttons drawn through the real device: the checked and unchecked looks, the fade
// between them after an injected click, "DRAW_ENABLED_FULL" and a fade time of 0.
#include <gtest/gtest.h>

#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUISystem.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiDrawFixture.h"

namespace {

using namespace Orvex;

constexpr uint32_t kOff = 0xFF303030;
constexpr uint32_t kOn = 0xFF20C040;
constexpr uint32_t kBorder = 0xFFE0E0E0;

class CheckboxDraw : public guitest::GuiDrawFixture {
protected:
    GUICheckboxButton* load(std::wstring const& params) {
        GUISystem::instance().clear();
        guitest::loadText(L"<GUI><WINDOW NAME=\"k\" TYPE=\"CHECKBOX_BUTTON\"><WINDOW_PARAMS><GUIRECT>"
                          L"<POS_TL X_OFF=\"16\" Y_OFF=\"16\"/><SIZE X_OFF=\"32\" Y_OFF=\"32\"/></GUIRECT>"
                          L"<DRAWOPTIONS TEX_NORMAL=\"gui_check_off\" TEX_PRESS=\"gui_check_on\" TEX_MARK=\"gui_check_mark\"/>"
                          L"</WINDOW_PARAMS><CHECKBOX_BUTTON_PARAMS " + params + L"/></WINDOW></GUI>");
        return dynamic_cast<GUICheckboxButton*>(GUISystem::instance().findWindow(L"k"));
    }
    void TearDown() override {
        GUISystem::instance().clear();
        GuiDrawFixture::TearDown();
    }
    static uint32_t centre(std::vector<uint32_t> const& px) { return at(px, 32, 32); }
};

TEST_F(CheckboxDraw, TheStateShowsAfterTheFadeAndClicksToggleIt) {
    GUICheckboxButton* k = load(L"ENABLE_TIMER=\"0.5\" DRAW_ENABLED_FULL=\"0\"");
    ASSERT_NE(k, nullptr);
    GUISystem::instance().update(1.0);
    auto px = frame(*k);
    EXPECT_EQ(centre(px), kOff);
    EXPECT_EQ(at(px, 17, 17), kBorder);
    EXPECT_EQ(count(px, kOff), 24 * 24);

    MouseState down = guitest::mouseAt(32, 32, true);
    GUISystem::instance().onMouseDown(down, OMB_LEFT);
    MouseState up = guitest::mouseAt(32, 32);
    GUISystem::instance().onMouseUp(up, OMB_LEFT);
    EXPECT_TRUE(k->isChecked());
    // Half way: both looks at half weight over black.
    GUISystem::instance().update(0.25);
    px = frame(*k);
    uint32_t const mid = centre(px);
    EXPECT_NE(mid, kOff);
    EXPECT_NE(mid, kOn);
    EXPECT_GT((mid >> 8) & 0xFF, 0x30u) << "green rises";
    GUISystem::instance().update(0.5);
    EXPECT_EQ(count(frame(*k), kOn), 24 * 24);
}

TEST_F(CheckboxDraw, DrawEnabledFullKeepsTheCheckedLookUnderAFadingUncheckedLook) {
    GUICheckboxButton* k = load(L"ENABLE_TIMER=\"0.5\"");
    ASSERT_NE(k, nullptr);
    GUISystem::instance().update(1.0);
    k->setChecked(true);
    // Unchecked look at 1 over the checked look at 1: the unchecked one shows on top, then
    // fades to reveal the checked one.
    auto px = frame(*k);
    EXPECT_EQ(centre(px), kOff);
    GUISystem::instance().update(0.6);
    EXPECT_EQ(centre(frame(*k)), kOn);
}

TEST_F(CheckboxDraw, AZeroFadeTimeDrawsTheNewLookAtOnce) {
    GUICheckboxButton* k = load(L"ENABLE_TIMER=\"0\"");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(centre(frame(*k)), kOff);
    k->setChecked(true);
    EXPECT_EQ(centre(frame(*k)), kOn);
}

}  // namespace
