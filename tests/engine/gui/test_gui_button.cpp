// Buttons, checkbox buttons and checkboxes from GUI text, driven by injected presses and
// releases through the GUI system: the caption and its border, clicks on the caption, refused
// children, toggling, one-way clicks, radio groups, the fade and the box placement.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIFrame.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUIWindowRef.h"
#include "tests/engine/gui/GUIFixture.h"

namespace {

using namespace Orvex;

class Buttons : public guitest::GUIFixture {
protected:
    template <class W>
    W* find(std::wstring const& name) {
        auto* w = dynamic_cast<W*>(gui.findWindow(name));
        EXPECT_NE(w, nullptr) << std::string(name.begin(), name.end());
        return w;
    }
};

std::wstring button(std::wstring const& params) {
    return L"<GUI><WINDOW NAME=\"knopf\" TYPE=\"BUTTON\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"100\"/>"
           L"<SIZE X_OFF=\"200\" Y_OFF=\"100\"/></GUIRECT><TOOLTIP TEXT=\"t\"/></WINDOW_PARAMS>"
           L"<BUTTON_PARAMS>" + params + L"</BUTTON_PARAMS></WINDOW></GUI>";
}

struct BorderCase {
    wchar_t const* randSize;
    FRect label;  // left, top, right, bottom on the screen
};

class ButtonBorder : public Buttons, public ::testing::WithParamInterface<BorderCase> {};

TEST_P(ButtonBorder, RandSizePlacesTheCaption) {
    guitest::loadText(button(GetParam().randSize));
    auto* b = find<GUIButton>(L"knopf");
    ASSERT_NE(b, nullptr);
    FRect const r = b->getLabel()->getScreenRect();
    FRect const& want = GetParam().label;
    EXPECT_FLOAT_EQ(r.left, want.left);
    EXPECT_FLOAT_EQ(r.top, want.top);
    EXPECT_FLOAT_EQ(r.right, want.right);
    EXPECT_FLOAT_EQ(r.bottom, want.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonBorder,
    ::testing::Values(BorderCase{L"", FRect(100, 100, 300, 200)},
                      BorderCase{L"<RAND_SIZE REL=\"0.1 0.1 0.1 0.1\"/>", FRect(120, 110, 280, 190)},
                      BorderCase{L"<RAND_SIZE REL=\"0.1\"/>", FRect(120, 100, 300, 200)},
                      // The pixel border keeps the size one pixel larger than the border leaves
                      // (1 - (l + r)), as screens are laid out against.
                      BorderCase{L"<RAND_SIZE OFF=\"6 4 6 4\"/>", FRect(106, 104, 295, 197)},
                      BorderCase{L"<RAND_SIZE OFF=\"1e30 nan 4 4\"/>", FRect(100, 100, 297, 197)}));

TEST_F(Buttons, TheCaptionCoversTheButtonTakesItsTooltipsAndPassesClicksOn) {
    guitest::loadText(button(L"<LABEL_PARAMS TEXT=\"Los\"/>"));
    auto* b = find<GUIButton>(L"knopf");
    ASSERT_NE(b, nullptr);
    GUILabel* caption = b->getLabel();
    EXPECT_EQ(caption->getName(), L"knopf_LABEL");
    EXPECT_EQ(caption->getText(), L"Los");
    EXPECT_EQ(caption->getTooltipParams().size(), 1u);
    EXPECT_EQ(caption->getDrawOptions().textures.normal, nullptr);
    guitest::Recorder rec;
    rec.watch(*b);
    click(200, 150);
    EXPECT_NE(rec.joined().find(L"leftClicked knopf"), std::wstring::npos) << rec.joined();
    // Pressed directly on the caption (as code or a covering hit would), the press still
    // reaches the button.
    rec.clear();
    MouseState s = guitest::mouseAt(200, 150, true);
    caption->onLeftPress(s);
    EXPECT_EQ(rec.joined(), L"leftPressed knopf 1");
}

TEST_F(Buttons, ButtonsRefuseContentAndKeepTheirCaption) {
    guitest::loadText(button(L""));
    auto* b = find<GUIButton>(L"knopf");
    ASSERT_NE(b, nullptr);
    GUIWindow* extra = guitest::makeBox(L"extra", 0, 0, 10, 10);
    EXPECT_FALSE(b->addChild(extra, false, true));
    EXPECT_FALSE(b->removeChild(b->getLabel()));
    extra->release();
    b->removeAllChildren();
    ASSERT_EQ(b->getChildren().size(), 1u);
    EXPECT_EQ(b->getChildren()[0], b->getLabel());

    GUIWindow* copy = b->clone();
    auto* twin = dynamic_cast<GUIButton*>(copy);
    ASSERT_NE(twin, nullptr);
    EXPECT_NE(twin->getLabel(), b->getLabel());
    EXPECT_EQ(twin->getLabel()->getParent(), twin);
    copy->release();
}

std::wstring checkbox(std::wstring const& name, float y, std::wstring const& boxParams,
                      std::wstring const& attributes = L"") {
    return L"<WINDOW NAME=\"" + name + L"\" TYPE=\"CHECKBOX\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"100\" Y_OFF=\"" +
           std::to_wstring(static_cast<int>(y)) + L"\"/><SIZE X_OFF=\"200\" Y_OFF=\"40\"/></GUIRECT></WINDOW_PARAMS>"
           L"<CHECKBOX_PARAMS " + attributes + L"><CHECKBOX_BUTTON_PARAMS " + boxParams +
           L"</CHECKBOX_BUTTON_PARAMS><LABEL_PARAMS TEXT=\"" + name + L"\"/></CHECKBOX_PARAMS></WINDOW>";
}

// Group names resolve once the windows they name exist: the radio sets sit in one panel.
std::wstring panel(std::wstring const& content) {
    return L"<GUI><WINDOW NAME=\"panel\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT>"
           L"<OPTIONS INPUT_IGNORE=\"1\"/></WINDOW_PARAMS>" + content + L"</WINDOW></GUI>";
}

TEST_F(Buttons, ARadioSetChecksOneBoxAtATime) {
    guitest::loadText(panel(
                      checkbox(L"a", 0, L"ENABLED=\"1\" ONE_WAY_CLICK=\"1\"><GROUP_NAMES>\"|b_BUTTON|\" \"|c_BUTTON|\"</GROUP_NAMES>") +
                      checkbox(L"b", 50, L"ONE_WAY_CLICK=\"1\"><GROUP_NAMES>\"|a_BUTTON|\" \"|c_BUTTON|\"</GROUP_NAMES>") +
                      checkbox(L"c", 100, L"ONE_WAY_CLICK=\"1\"><GROUP_NAMES>\"|a_BUTTON|\" \"|b_BUTTON|\" \"|fehlt|\" \"|a|\"</GROUP_NAMES>")));
    auto* a = find<GUICheckbox>(L"a")->getButton();
    auto* b = find<GUICheckbox>(L"b")->getButton();
    auto* c = find<GUICheckbox>(L"c")->getButton();
    EXPECT_EQ(c->getGroup().size(), 2u) << "names of no window or of no checkbox button are skipped";
    auto state = [&] { return std::wstring{a->isChecked() ? L'a' : L'-', b->isChecked() ? L'b' : L'-', c->isChecked() ? L'c' : L'-'}; };
    EXPECT_EQ(state(), L"a--");
    click(110, 70);  // b's box
    EXPECT_EQ(state(), L"-b-");
    click(250, 120);  // c's label: the press goes to the box
    EXPECT_EQ(state(), L"--c");
    click(110, 120);  // c again: a one-way click only checks
    EXPECT_EQ(state(), L"--c");
    click(110, 20);
    EXPECT_EQ(state(), L"a--");
}

class ChangeCounter : public sigslot::has_slots<> {
public:
    int count = 0;
    void onChanged(GUICheckboxButton&) { ++count; }
};

TEST_F(Buttons, SetCheckedEmitsOnlyOnChangeAndUnchecksTheListedMembers) {
    guitest::loadText(panel(checkbox(L"a", 0, L"><GROUP_NAMES>\"|b_BUTTON|\"</GROUP_NAMES>") +
                            checkbox(L"b", 50, L"ENABLED=\"1\">")));
    auto* a = find<GUICheckbox>(L"a")->getButton();
    auto* b = find<GUICheckbox>(L"b")->getButton();
    ChangeCounter ca, cb;
    a->changed.connect(&ca, &ChangeCounter::onChanged);
    b->changed.connect(&cb, &ChangeCounter::onChanged);
    a->setChecked(false);
    EXPECT_EQ(ca.count, 0);
    a->setChecked(true);
    EXPECT_EQ(ca.count, 1);
    EXPECT_FALSE(b->isChecked());
    EXPECT_EQ(cb.count, 1);
    b->setChecked(true);
    EXPECT_TRUE(a->isChecked()) << "groups are one-directional";
    // A member that goes away leaves the group.
    EXPECT_TRUE(gui.findWindow(L"panel")->removeChild(find<GUICheckbox>(L"b")));
    EXPECT_TRUE(a->getGroup().empty());
    a->setChecked(false);
    a->setChecked(true);
}

struct ClickCase {
    int oneWay;
    bool start;
    bool afterOne;
    bool afterTwo;
};

class OneWayClick : public Buttons, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(OneWayClick, ClicksToggleOrOnlyCheckOrOnlyUncheck) {
    ClickCase const& c = GetParam();
    guitest::loadText(L"<GUI>" + checkbox(L"k", 0, L"ENABLED=\"" + std::to_wstring(c.start ? 1 : 0) +
                                                      L"\" ONE_WAY_CLICK=\"" + std::to_wstring(c.oneWay) + L"\">") +
                      L"</GUI>");
    auto* box = find<GUICheckbox>(L"k")->getButton();
    click(110, 20);
    EXPECT_EQ(box->isChecked(), c.afterOne);
    click(110, 20);
    EXPECT_EQ(box->isChecked(), c.afterTwo);
}

INSTANTIATE_TEST_SUITE_P(Cases, OneWayClick,
                         ::testing::Values(ClickCase{0, false, true, false}, ClickCase{1, false, true, true},
                                           ClickCase{-1, false, false, false}, ClickCase{-1, true, false, false}));

TEST_F(Buttons, AFreshButtonFadesOnceFromTheOppositeLook) {
    guitest::loadText(L"<GUI><WINDOW NAME=\"aus\" TYPE=\"CHECKBOX_BUTTON\"><CHECKBOX_BUTTON_PARAMS ENABLE_TIMER=\"1\"/></WINDOW>"
                      L"<WINDOW NAME=\"an\" TYPE=\"CHECKBOX_BUTTON\"><CHECKBOX_BUTTON_PARAMS ENABLED=\"1\"/></WINDOW></GUI>");
    auto* off = find<GUICheckboxButton>(L"aus");
    auto* on = find<GUICheckboxButton>(L"an");
    EXPECT_DOUBLE_EQ(off->fadeShare(), 1.0);
    EXPECT_DOUBLE_EQ(on->fadeShare(), 0.0);
    gui.update(0.5);
    EXPECT_DOUBLE_EQ(off->fadeShare(), 0.5);
    EXPECT_DOUBLE_EQ(on->fadeShare(), 0.5);
    gui.update(0.6);
    EXPECT_DOUBLE_EQ(off->fadeShare(), 0.0);
    EXPECT_DOUBLE_EQ(on->fadeShare(), 1.0);
}

TEST_F(Buttons, AFadeTimeOfZeroOrBelowSwitchesAtOnceInsteadOfDividingByZero) {
    for (wchar_t const* time : {L"0", L"-3"}) {
        gui.clear();
        guitest::loadText(L"<GUI><WINDOW NAME=\"k\" TYPE=\"CHECKBOX_BUTTON\"><CHECKBOX_BUTTON_PARAMS ENABLE_TIMER=\"" +
                          std::wstring(time) + L"\"/></WINDOW></GUI>");
        auto* k = find<GUICheckboxButton>(L"k");
        EXPECT_DOUBLE_EQ(k->getFadeTime(), 0.0) << std::wstring(time);
        EXPECT_DOUBLE_EQ(k->fadeShare(), 0.0);
        k->setChecked(true);
        EXPECT_DOUBLE_EQ(k->fadeShare(), 1.0);
        gui.update(0.1);
        EXPECT_DOUBLE_EQ(k->fadeShare(), 1.0);
        EXPECT_FALSE(std::isnan(k->getFadeTimer()));
    }
    EXPECT_EQ(guitest::loggedCount({L"ENABLE_TIMER", L"\"k\""}), 1) << "a time below 0 is logged";
}

struct BoxCase {
    wchar_t const* attributes;
    wchar_t const* boxSize;  // the CHECKBOX_SIZE child, or empty
    GUIRectAxis boxPos, boxSize2, labelPos, labelSize;
};

class BoxPlacement : public Buttons, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoxPlacement, LocationsAndSizesPlaceBoxAndLabel) {
    BoxCase const& c = GetParam();
    guitest::loadText(L"<GUI>" + checkbox(L"k", 0, L">" + std::wstring(c.boxSize), c.attributes) + L"</GUI>");
    auto* k = find<GUICheckbox>(L"k");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->getButton()->getRect().position, c.boxPos);
    EXPECT_EQ(k->getButton()->getRect().size, c.boxSize2);
    EXPECT_EQ(k->getLabel()->getRect().position, c.labelPos);
    EXPECT_EQ(k->getLabel()->getRect().size, c.labelSize);
}

GUIRectAxis rel(float x, float y, float ox = 0.0f, float oy = 0.0f) { return GUIRectAxis{x, y, ox, oy, 0.0f, 0.0f}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, BoxPlacement,
    ::testing::Values(
        BoxCase{L"CHECKBOX_LOC=\"RIGHT\" CHECKBOX_SIZE=\"0.2\"", L"", rel(0.8f, 0), rel(0.2f, 1), rel(0, 0), rel(0.8f, 1)},
        BoxCase{L"", L"<CHECKBOX_SIZE REL=\"1 4\"/>", rel(0, 0), rel(0.25f, 1), rel(0.25f, 0), rel(0.75f, 1)},
        BoxCase{L"CHECKBOX_LOC=\"TOP\" LABEL_LOC=\"CENTER\"", L"<CHECKBOX_SIZE REL=\"0\" OFF=\"16\"/>", rel(0, 0),
                rel(1, 0, 0, 16), rel(0, 0), rel(1, 1)},
        BoxCase{L"CHECKBOX_LOC=\"BOTTOM\" LABEL_LOC=\"links\"", L"<CHECKBOX_SIZE REL=\"0.5\" OFF=\"4\"/>",
                rel(0, 0.5f, 0, -4), rel(1, 0.5f, 0, 4), rel(0, 0), rel(1, 0.5f, 0, -4)},
        // "a b" with b = 0 keeps the size it had.
        BoxCase{L"CHECKBOX_SIZE=\"1 0\"", L"", rel(0, 0), rel(0.25f, 1), rel(0.25f, 0), rel(0.75f, 1)},
        BoxCase{L"CHECKBOX_SIZE=\"0.5\"", L"<CHECKBOX_SIZE REL=\"3 0\"/>", rel(0, 0), rel(0.5f, 1), rel(0.5f, 0),
                rel(0.5f, 1)}));

TEST_F(Buttons, AZeroDivisorInCheckboxSizeIsLoggedWithTheFile) {
    guitest::loadText(L"<GUI>" + checkbox(L"k", 0, L">", L"CHECKBOX_SIZE=\"1 0\"") + L"</GUI>", L"kaesten.gui");
    EXPECT_EQ(guitest::loggedCount({L"kaesten.gui", L"CHECKBOX_SIZE", L"divides by zero"}), 1);
}

TEST_F(Buttons, TheCheckboxRefusesContentAndClonesItsParts) {
    guitest::loadText(L"<GUI>" + checkbox(L"k", 0, L"ENABLED=\"1\">") + L"</GUI>");
    auto* k = find<GUICheckbox>(L"k");
    GUIWindow* extra = guitest::makeBox(L"extra", 0, 0, 10, 10);
    EXPECT_FALSE(k->addChild(extra, false, true));
    extra->release();
    k->removeAllChildren();
    EXPECT_EQ(k->getChildren().size(), 2u);
    GUIWindow* copy = k->clone();
    auto* twin = dynamic_cast<GUICheckbox*>(copy);
    ASSERT_NE(twin, nullptr);
    EXPECT_NE(twin->getButton(), k->getButton());
    EXPECT_TRUE(twin->getButton()->isChecked());
    EXPECT_EQ(twin->getLabel()->getParent(), twin);
    copy->release();
}


// The demo screen: every widget of this file made by the factory, without a log line, and its
// radio set working under injected clicks.
TEST_F(Buttons, TheDemoScreenLoadsItsWidgetsAndItsRadioSetWorks) {
    guitest::loadFile(L"tests\\engine\\gui\\data\\demo_widgets.gui");
    EXPECT_EQ(guitest::loggedCount({L"demo_widgets.gui"}), 0);
    EXPECT_NE(dynamic_cast<GUIFrame*>(gui.findWindow(L"demo_rahmen")), nullptr);
    EXPECT_NE(dynamic_cast<GUILabel*>(gui.findWindow(L"demo_titel")), nullptr);
    EXPECT_NE(dynamic_cast<GUIButton*>(gui.findWindow(L"demo_knopf_start")), nullptr);
    EXPECT_NE(dynamic_cast<GUITooltip*>(gui.findWindow(L"demo_tooltip")), nullptr);
    EXPECT_EQ(gui.getTooltips().size(), 1u);
    auto box = [&](wchar_t const* name) { return find<GUICheckbox>(name)->getButton(); };
    EXPECT_TRUE(box(L"demo_wahl_a")->isChecked());
    FRect const b = gui.findWindow(L"demo_wahl_b")->getScreenRect();
    click(b.left + 5, (b.top + b.bottom) / 2);
    EXPECT_FALSE(box(L"demo_wahl_a")->isChecked());
    EXPECT_TRUE(box(L"demo_wahl_b")->isChecked());
    EXPECT_FALSE(box(L"demo_wahl_c")->isChecked());
    FRect const ton = gui.findWindow(L"demo_ton")->getScreenRect();
    click(ton.left + 5, (ton.top + ton.bottom) / 2);
    EXPECT_TRUE(box(L"demo_ton")->isChecked()) << "a press on the label reaches the box";
}


// Drops the screen from the GUI system when a box changes.
class ScreenDropper : public sigslot::has_slots<> {
public:
    GUIWindow* screen = nullptr;
    void onChanged(GUICheckboxButton&) {
        if (screen) GUISystem::instance().removeWindow(screen);
        screen = nullptr;
    }
};

TEST_F(Buttons, AChangedSlotThatDropsTheWholeScreenDuringAClickLeavesNoDanglingWindow) {
    guitest::loadText(panel(checkbox(L"a", 0, L"><GROUP_NAMES>\"|b_BUTTON|\"</GROUP_NAMES>") +
                            checkbox(L"b", 50, L"ENABLED=\"1\">")));
    ScreenDropper dropper;
    dropper.screen = gui.findWindow(L"panel");
    find<GUICheckbox>(L"a")->getButton()->changed.connect(&dropper, &ScreenDropper::onChanged);
    click(110, 20);
    EXPECT_EQ(gui.findWindow(L"panel"), nullptr);
    gui.update(0.1);
    click(110, 70);
    EXPECT_EQ(gui.getPressedWindow(), nullptr);
}

}  // namespace
