// Widgets built from a template: for every window type the GUI reader makes, a template whose
// data sets each field away from its default, and a window of that type that names the template
// ("VORLAGE_PRE" with every part) and gives nothing of its own. Every field the template copy
// carries, the widget's own and those of its part windows, must have come across.
//
// Not template parts, so left out: names and user ids, children, click sounds, drawers and
// movers (no part of the copy mask), a checkbox button's group names (they name the members of
// one radio set), a progress bar's "USE_MODULATE_COLOR", a tooltip's own settings (the tooltip
// copies its window part only) and a scroll panel's layout state (shown bars, content offset,
// room), which its next layout computes. Tooltip records count once: a widget applies its
// template twice and so holds its records twice, of which the first is shown.
#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIFrame.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/MenuFixture.h"
#include "tests/engine/gui/PrivateField.h"

using namespace Orvex;

GUITEST_PRIVATE_FIELD(BoxDrawsCheckedFull, GUICheckboxButton, bool, drawCheckedFull_);
GUITEST_PRIVATE_FIELD(BarCutsTexture, GUIProgressBar, bool, cutTexture_);
GUITEST_PRIVATE_FIELD(BarGranularity, GUIProgressBar, float, granularity_);
GUITEST_PRIVATE_FIELD(BarOnlyOneFinish, GUIProgressBar, bool, onlyOneFinish_);
GUITEST_PRIVATE_FIELD(SliderStep, GUISlider, float, step_);
GUITEST_PRIVATE_FIELD(SliderShowButtons, GUISlider, bool, showButtons_);
GUITEST_PRIVATE_FIELD(SliderShowLabel, GUISlider, bool, showLabel_);
GUITEST_PRIVATE_FIELD(SliderLabelOnKnob, GUISlider, bool, labelOnKnob_);
GUITEST_PRIVATE_FIELD(SliderAlternate, GUISlider, bool, alternateMode_);
GUITEST_PRIVATE_FIELD(SliderKnobPosition, GUISlider, GUIRectAxis, knobPosition_);
GUITEST_PRIVATE_FIELD(PanelUpLeft, GUIScrollPanel, GUIWindow*, upLeft_);
GUITEST_PRIVATE_FIELD(PanelDownLeft, GUIScrollPanel, GUIWindow*, downLeft_);
GUITEST_PRIVATE_FIELD(PanelThumbLeft, GUIScrollPanel, GUIWindow*, vThumbLeft_);
GUITEST_PRIVATE_FIELD(PanelTrackLeft, GUIScrollPanel, GUIWindow*, vTrackLeft_);
GUITEST_PRIVATE_FIELD(PanelNoButtons, GUIScrollPanel, bool, noButtons_);
GUITEST_PRIVATE_FIELD(PanelLeftRight, GUIScrollPanel, bool, useLeftRight_);
GUITEST_PRIVATE_FIELD(PanelVStep, GUIScrollPanel, float[2], vStep_);
GUITEST_PRIVATE_FIELD(PanelHStep, GUIScrollPanel, float[2], hStep_);
GUITEST_PRIVATE_FIELD(PanelVWheel, GUIScrollPanel, float[2], vWheel_);
GUITEST_PRIVATE_FIELD(PanelHWheel, GUIScrollPanel, float[2], hWheel_);
GUITEST_PRIVATE_FIELD(PanelVRaster, GUIScrollPanel, bool, vRaster_);
GUITEST_PRIVATE_FIELD(PanelHRaster, GUIScrollPanel, bool, hRaster_);
GUITEST_PRIVATE_FIELD(PanelLayoutName, GUIScrollPanel, std::wstring, layoutName_);
GUITEST_PRIVATE_FIELD(PanelUseLayout, GUIScrollPanel, bool, useLayout_);
GUITEST_PRIVATE_FIELD(PanelLayoutParam, GUIScrollPanel, std::wstring, layoutParam_);
GUITEST_PRIVATE_FIELD(PanelBarAbs, GUIScrollPanel, float[2], barAbs_);
GUITEST_PRIVATE_FIELD(PanelBarRel, GUIScrollPanel, float[2], barRel_);
GUITEST_PRIVATE_FIELD(PanelThumbBreadth, GUIScrollPanel, float[2], thumbBreadth_);
GUITEST_PRIVATE_FIELD(PanelVScroll, GUIScrollPanel, bool, vScroll_);
GUITEST_PRIVATE_FIELD(PanelHScroll, GUIScrollPanel, bool, hScroll_);
GUITEST_PRIVATE_FIELD(PanelAutoScroll, GUIScrollPanel, bool, autoScroll_);
GUITEST_PRIVATE_FIELD(PanelAutoFocus, GUIScrollPanel, bool, autoFocus_);
GUITEST_PRIVATE_FIELD(PanelFocusBorder, GUIScrollPanel, u32, focusBorder_);
GUITEST_PRIVATE_FIELD(PanelScrollSpeed, GUIScrollPanel, float, scrollSpeed_);
GUITEST_PRIVATE_FIELD(PanelUserLayout, GUIScrollPanel, bool, userLayout_);
GUITEST_PRIVATE_FIELD(PanelClickOnFirst, GUIScrollPanel, bool, clickOnFirst_);
GUITEST_PRIVATE_FIELD(PanelDrawInClient, GUIScrollPanel, bool, panelDrawInClient_);

namespace {

using guitest::memberOf;

// The textures the templates name, registered with the device's texture list.
std::vector<std::wstring> const kTextureNames = {
    L"tpl_normal", L"tpl_mark", L"tpl_part", L"tpl_box", L"tpl_box_on", L"tpl_label", L"tpl_fill", L"tpl_edge",
    L"tpl_corner", L"tpl_thumb", L"tpl_track", L"tpl_button",
};

// A window's fields by name, as text; `own` names those that belong to the widget (not to its
// window part), which the template must set away from their defaults.
struct Fields {
    std::map<std::string, std::string> values;
    std::set<std::string> own;
};

using guitest::narrow;

template <class... T>
std::string join(T const&... v) {
    std::ostringstream s;
    s.precision(9);
    ((s << v << ' '), ...);
    return s.str();
}

std::string axis(GUIRectAxis const& a) { return join(a.relX, a.relY, a.offX, a.offY, a.screenX, a.screenY); }
std::string pair(float const (&v)[2]) { return join(v[0], v[1]); }
std::string textureName(Texture2D const* t) { return t ? narrow(t->getName()) : "-"; }

std::string layoutKind(GUILayoutManager const* m) {
    if (dynamic_cast<GUILayoutFILL_WOffset const*>(m)) return "fill with offset";
    if (dynamic_cast<GUILayoutFILL const*>(m)) return "fill";
    return m ? "other" : "none";
}

void describeWindow(GUIWindow* w, std::string const& at, Fields& out) {
    out.values[at + "present"] = w ? "yes" : "no";
    if (!w) return;
    auto& v = out.values;
    GUIRect const& r = w->getRect();
    v[at + "rect"] = join(axis(r.position), axis(r.size), axis(r.aspect), r.anchor, r.xAspectMode, r.yAspectMode);
    v[at + "size limits"] = join(axis(w->getMinSize()), axis(w->getMaxSize()));
    GUIDrawOptions const& d = w->getDrawOptions();
    v[at + "colours"] = join(d.alpha, d.modulateColor.r, d.modulateColor.g, d.modulateColor.b, d.modulateColor.a);
    v[at + "times"] = join(d.activeBlend, d.inactiveBlend);
    v[at + "draw types"] = join(d.drawType.x, d.drawType.y, d.shapeDrawType.x, d.shapeDrawType.y, d.backDrawType.x,
                                d.backDrawType.y, d.foreDrawType.x, d.foreDrawType.y);
    GUITextureSet const& t = d.textures;
    v[at + "textures"] = join(textureName(t.normal), textureName(t.press), textureName(t.mark), textureName(t.pressMark),
                              textureName(t.disable), textureName(t.shape), textureName(t.background),
                              textureName(t.foreground), d.playAniOnFocus, d.crossblend);
    GUIWindowOptions const& o = w->getOptions();
    v[at + "options"] = join(o.visible, o.enabled, o.drawSubwindows, o.useTextureCheck, int(o.textureCheckValue),
                             o.activateParent, o.canBringParentToFront, o.canBringToFront, o.mouseMove, o.moveParent,
                             o.drawInClientOnly, o.usableForLayoutManager, narrow(o.layoutParam), o.inputToParent,
                             o.inputIgnore, layoutKind(o.getLayoutManager()));
    std::string goals;
    for (GUIAnimationsGoal const* g : w->getGoals()) goals += narrow(g->name) + " ";
    v[at + "goals"] = goals;
    std::set<std::string> tips;
    for (GUITooltipParam* p : w->getTooltipParams()) {
        std::wstring text;
        tips.insert(narrow(p->getText(text)));
    }
    std::string tipList;
    for (std::string const& tip : tips) tipList += tip + " ";
    v[at + "tooltips"] = tipList;
}

// Adds a field of the widget's own.
void own(Fields& out, std::string const& key, std::string const& value) {
    out.values[key] = value;
    out.own.insert(key);
}

void describeLabel(GUILabel* l, std::string const& at, Fields& out) {
    describeWindow(l, at, out);
    if (!l) return;
    own(out, at + "text", join(narrow(l->getTextId()), l->isTextIdMode()));
    own(out, at + "font", join(narrow(l->getFontName()), narrow(l->getStyleName(0)), narrow(l->getStyleName(1)),
                                narrow(l->getStyleName(2))));
    own(out, at + "flags", join(l->getFlags()));
}

void describeBox(GUICheckboxButton* b, std::string const& at, Fields& out) {
    describeWindow(b, at, out);
    if (!b) return;
    own(out, at + "state", join(b->isChecked(), b->getOneWayClick(), b->*memberOf(BoxDrawsCheckedFull{})));
    own(out, at + "fade", join(b->getFadeTime(), b->getFadeTimer()));
}

void describe(GUIWindow* w, Fields& out) {
    describeWindow(w, "", out);
    if (auto* l = dynamic_cast<GUILabel*>(w)) {
        describeLabel(l, "", out);
    } else if (auto* b = dynamic_cast<GUIButton*>(w)) {
        describeLabel(b->getLabel(), "caption.", out);
    } else if (auto* box = dynamic_cast<GUICheckboxButton*>(w)) {
        describeBox(box, "", out);
    } else if (auto* c = dynamic_cast<GUICheckbox*>(w)) {
        own(out, "sends to box", join(c->sendsToBox()));
        own(out, "label first", join(!c->getChildren().empty() && c->getChildren().front() == c->getLabel()));
        describeLabel(c->getLabel(), "label.", out);
        describeBox(c->getButton(), "box.", out);
    } else if (auto* f = dynamic_cast<GUIFrame*>(w)) {
        GUIFrame::Borders const& rel = f->getBorderRel();
        GUIFrame::Borders const& off = f->getBorderOff();
        own(out, "borders", join(rel.left, rel.top, rel.right, rel.bottom, off.left, off.top, off.right, off.bottom));
        for (int i = 0; i < GUIFrame::kPartCount; ++i) {
            auto const part = static_cast<GUIFrame::Part>(i);
            describeWindow(f->getPart(part), "part" + narrow(GUIFrame::partSuffix(part)) + ".", out);
        }
    } else if (auto* p = dynamic_cast<GUIProgressBar*>(w)) {
        own(out, "values", join(p->getMax(), p->getValue(), p->*memberOf(BarGranularity{})));
        own(out, "fill", join(p->getFillType(), p->*memberOf(BarCutsTexture{})));
        own(out, "one finish", join(p->*memberOf(BarOnlyOneFinish{})));
        describeWindow(p->getProgressPart(), "progress.", out);
        describeLabel(p->getLabel(), "label.", out);
    } else if (auto* s = dynamic_cast<GUISlider*>(w)) {
        own(out, "values", join(s->getMinimum(), s->getMaximum(), s->getValue(), s->getGranularity(),
                                 s->*memberOf(SliderStep{})));
        own(out, "arrangement", join(s->isHorizontal(), s->*memberOf(SliderShowButtons{}),
                                      s->*memberOf(SliderShowLabel{}), s->*memberOf(SliderLabelOnKnob{}),
                                      s->*memberOf(SliderAlternate{})));
        own(out, "knob position", axis(s->*memberOf(SliderKnobPosition{})));
        describeWindow(s->getKnob(), "knob.", out);
        describeWindow(s->getTrack(), "track.", out);
        describeLabel(s->getLabel(), "label.", out);
        describeWindow(s->getLeftButton(), "left button.", out);
        describeWindow(s->getRightButton(), "right button.", out);
    } else if (auto* sp = dynamic_cast<GUIScrollPanel*>(w)) {
        GUIScrollPanel& q = *sp;
        own(out, "layout", join(q.*memberOf(PanelUseLayout{}), narrow(q.*memberOf(PanelLayoutName{})),
                                 narrow(q.*memberOf(PanelLayoutParam{})), q.*memberOf(PanelUserLayout{})));
        own(out, "bars", join(pair(q.*memberOf(PanelBarAbs{})), pair(q.*memberOf(PanelBarRel{})),
                               pair(q.*memberOf(PanelThumbBreadth{}))));
        own(out, "scroll flags", join(q.*memberOf(PanelVScroll{}), q.*memberOf(PanelHScroll{}),
                                       q.*memberOf(PanelAutoScroll{}), q.*memberOf(PanelNoButtons{}),
                                       q.*memberOf(PanelLeftRight{})));
        own(out, "steps", join(pair(q.*memberOf(PanelVStep{})), pair(q.*memberOf(PanelHStep{})),
                                pair(q.*memberOf(PanelVWheel{})), pair(q.*memberOf(PanelHWheel{}))));
        own(out, "rasters", join(q.*memberOf(PanelVRaster{}), q.*memberOf(PanelHRaster{})));
        own(out, "focus", join(q.*memberOf(PanelAutoFocus{}), q.*memberOf(PanelFocusBorder{}),
                                q.*memberOf(PanelClickOnFirst{})));
        own(out, "speed", join(q.*memberOf(PanelScrollSpeed{})));
        own(out, "panel in client", join(q.*memberOf(PanelDrawInClient{})));
        std::pair<char const*, GUIWindow*> const parts[] = {
            {"panel.", q.getContentPanel()},        {"up.", q.getUpButton()},
            {"down.", q.getDownButton()},           {"left.", q.getLeftButton()},
            {"right.", q.getRightButton()},         {"vertical thumb.", q.getVerticalThumb()},
            {"vertical track.", q.getVerticalTrack()}, {"horizontal thumb.", q.getHorizontalThumb()},
            {"horizontal track.", q.getHorizontalTrack()}, {"up left.", q.*memberOf(PanelUpLeft{})},
            {"down left.", q.*memberOf(PanelDownLeft{})}, {"thumb left.", q.*memberOf(PanelThumbLeft{})},
            {"track left.", q.*memberOf(PanelTrackLeft{})},
        };
        for (auto const& [at, part] : parts) describeWindow(part, at, out);
    }
}

// The window part every template gives.
std::wstring const kWindowParams =
    L"<WINDOW_PARAMS>"
    L"<GUIRECT><POS_TL X_OFF=\"5\" Y_OFF=\"6\"/><SIZE X_OFF=\"300\" Y_OFF=\"120\"/></GUIRECT>"
    L"<MIN_SIZE X_OFF=\"10\" Y_OFF=\"11\"/><MAX_SIZE X_REL=\"0.9\" Y_REL=\"0.8\"/>"
    L"<DRAWOPTIONS ALPHA=\"0.5\" ACTIVE_BLEND=\"0.25\" INACTIVE_BLEND=\"0.75\" MODULATE_COLOR=\"FF102030\" "
    L"CROSSBLEND=\"1\" TEX_NORMAL=\"tpl_normal\" TEX_MARK=\"tpl_mark\"><DRAW_TYPE X=\"REPEAT\" Y=\"REPEAT\"/></DRAWOPTIONS>"
    L"<OPTIONS MOUSE_MOVE=\"1\" LAYOUT_PARAM=\"TOP\" TEXTURE_CHECK_VALUE=\"32\"/>"
    L"<TOOLTIP TEXT=\"tip\"/><ANIMATION_GOAL NAME=\"AN\"/>"
    L"</WINDOW_PARAMS>";

// A part window's element: its own place and look.
std::wstring part(wchar_t const* key, wchar_t const* texture) {
    return std::wstring(L"<") + key + L" NAME=\"" + key +
           L"\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"3\" Y_OFF=\"4\"/><SIZE X_OFF=\"17\" Y_OFF=\"18\"/></GUIRECT>"
           L"<DRAWOPTIONS ALPHA=\"0.25\" TEX_NORMAL=\"" +
           texture + L"\"/></WINDOW_PARAMS></" + key + L">";
}

struct TemplateCase {
    char const* type;
    std::wstring params;  // the widget's own element, after the window part
};

void PrintTo(TemplateCase const& c, std::ostream* out) { *out << c.type; }

std::vector<TemplateCase> const kCases = {
    {"WINDOW", L""},
    {"LABEL",
     L"<LABEL_PARAMS TEXT=\"aus der Vorlage\" TEXT_ID=\"T_ID\" FONT_NAME=\"vorlage\" FONT_STYLENAME=\"a\" "
     L"FONT_STYLENAME_MARK=\"b\" FONT_STYLENAME_DISABLED=\"c\" FLAGS=\"RIGHT BOTTOM\"/>"},
    {"BUTTON",
     L"<BUTTON_PARAMS><RAND_SIZE REL=\"0.1 0.2 0.1 0.2\" OFF=\"2 3 2 3\"/>"
     L"<LABEL_PARAMS TEXT_ID=\"KNOPF\" FONT_NAME=\"vorlage\" FONT_STYLENAME=\"k\" FLAGS=\"LEFT\"/></BUTTON_PARAMS>"},
    {"CHECKBOX_BUTTON",
     L"<CHECKBOX_BUTTON_PARAMS ENABLED=\"1\" ENABLE_TIMER=\"0.5\" ONE_WAY_CLICK=\"1\" DRAW_ENABLED_FULL=\"0\"/>"},
    {"CHECKBOX",
     L"<CHECKBOX_PARAMS CHECKBOX_LOC=\"RIGHT\" CHECKBOX_SIZE=\"0.2\" SEND_TO_BOX=\"0\" LABEL_FIRST=\"0\">"
     L"<CHECKBOX_BUTTON_PARAMS ENABLED=\"1\" ENABLE_TIMER=\"0.5\" ONE_WAY_CLICK=\"-1\" DRAW_ENABLED_FULL=\"0\">"
     L"<TEXTURES_2D TEX_NORMAL=\"tpl_box\" TEX_PRESS=\"tpl_box_on\"/></CHECKBOX_BUTTON_PARAMS>"
     L"<LABEL_PARAMS TEXT_ID=\"HAKEN\" FONT_NAME=\"vorlage\" FONT_STYLENAME=\"h\" FLAGS=\"LEFT\">"
     L"<TEXTURES_2D TEX_NORMAL=\"tpl_label\"/></LABEL_PARAMS></CHECKBOX_PARAMS>"},
    {"FRAME",
     L"<FRAME_PARAMS><RAND_SIZE REL=\"0.1 0.2\" OFF=\"4 5\"/>"
     L"<TEXTURES_2D_TOP TEX_NORMAL=\"tpl_edge\"/><TEXTURES_2D_BOTTOM TEX_NORMAL=\"tpl_edge\"/>"
     L"<TEXTURES_2D_LEFT TEX_NORMAL=\"tpl_edge\"/><TEXTURES_2D_RIGHT TEX_NORMAL=\"tpl_edge\"/>"
     L"<TEXTURES_2D_TOP_LEFT TEX_NORMAL=\"tpl_corner\"/><TEXTURES_2D_TOP_RIGHT TEX_NORMAL=\"tpl_corner\"/>"
     L"<TEXTURES_2D_BOTTOM_LEFT TEX_NORMAL=\"tpl_corner\"/><TEXTURES_2D_BOTTOM_RIGHT TEX_NORMAL=\"tpl_corner\"/>"
     L"<TEXTURES_2D_FILL TEX_NORMAL=\"tpl_fill\"/></FRAME_PARAMS>"},
    {"PROGRESSBAR",
     L"<PROGRESSBAR_PARAMS MAX_WERT=\"50\" AKT_WERT=\"20\" CUT_TEXTURE=\"1\" ONLY_1_FINISH_MSG=\"1\" "
     L"DRAW_IN_CLIENT_ONLY=\"0\" GRANULARITAET=\"0.25\" TYP=\"BOTTOM_TOP\">"
     L"<TEXTURES_2D_PROGRESS TEX_NORMAL=\"tpl_fill\"/>"
     L"<LABEL_PARAMS TEXT_ID=\"FORTSCHRITT\" FONT_NAME=\"vorlage\" FONT_STYLENAME=\"p\" FLAGS=\"LEFT\"/>"
     L"</PROGRESSBAR_PARAMS>"},
    {"SLIDER",
     L"<SLIDER_PARAMS SHOW_BUTTONS=\"1\" ALTERNATE_MODE=\"1\" HORIZONTAL=\"0\" SHOW_LABEL=\"1\" "
     L"SHOW_LABEL_ON_SLIDER_INNEN=\"1\" GRANULARITAET=\"0.5\" VALUE_RANGE=\"2 20\" VALUE=\"7\" VALUE_CHANGE=\"1.5\">" +
         part(L"BUTTON_LEFT", L"tpl_button") + part(L"BUTTON_RIGHT", L"tpl_button") +
         part(L"SLIDER_INNEN", L"tpl_thumb") + part(L"SLIDER_AUSSEN", L"tpl_track") +
         L"<LABEL NAME=\"wert\"><LABEL_PARAMS TEXT_ID=\"WERT\" FONT_NAME=\"vorlage\" FLAGS=\"LEFT\"/></LABEL>"
         L"</SLIDER_PARAMS>"},
    {"SCROLL_PANEL",
     L"<SCROLL_PANEL_PARAMS IS_USER_LAYOUT=\"1\" CLICK_ON_FIRST_IN_PANEL=\"1\" USE_LAYOUTMANAGER=\"1\" "
     L"LAYOUTMANAGER=\"DEFAULT\" LAYOUTMANAGER_PARAMS=\"TOP\" NO_BUTTONS=\"1\" DRAW_IN_CLIENT_ONLY=\"0\" "
     L"SCROLL_SPEED=\"3\" SIZE_ABSOLUT=\"30 40\" SIZE_RELATIV=\"0.1 0.2\" SCROLL_SIZE_RELATIV=\"0.5 0.25\" "
     L"VERTICAL_SCROLL=\"1\" HORIZONTAL_SCROLL=\"1\" AUTO_SCROLL=\"1\" AUTO_FOCUS=\"1\" FOCUS_BORDER=\"RIGHT BOTTOM\">" +
         part(L"PANEL", L"tpl_part") +
         L"<VERTICAL_PARAMS USE_LEFT_RIGHT=\"1\" SCROLL_CHANGE=\"7 0.5\" SCROLL_CHANGE_WHEEL=\"8 0.25\" "
         L"SCROLL_RASTER=\"1\">" +
         part(L"BUTTON_UP", L"tpl_button") + part(L"BUTTON_DOWN", L"tpl_button") +
         part(L"SCROLL_BUTTON", L"tpl_thumb") + part(L"SCROLL_UNDERGROUND", L"tpl_track") +
         part(L"BUTTON_UP_LEFT", L"tpl_button") + part(L"BUTTON_DOWN_LEFT", L"tpl_button") +
         part(L"SCROLL_BUTTON_LEFT", L"tpl_thumb") + part(L"SCROLL_UNDERGROUND_LEFT", L"tpl_track") +
         L"</VERTICAL_PARAMS><HORIZONTAL_PARAMS SCROLL_CHANGE=\"9 0.75\" SCROLL_CHANGE_WHEEL=\"6 0.125\" "
         L"SCROLL_RASTER=\"1\">" +
         part(L"BUTTON_LEFT", L"tpl_button") + part(L"BUTTON_RIGHT", L"tpl_button") +
         part(L"SCROLL_BUTTON", L"tpl_thumb") + part(L"SCROLL_UNDERGROUND", L"tpl_track") +
         L"</HORIZONTAL_PARAMS></SCROLL_PANEL_PARAMS>"},
    {"TOOLTIP",
     L"<TOOLTIP_PARAMS TOOLTIP_ID=\"3\" TIMER=\"0.5\" USE_DEFAULT_TIP=\"0\" ONLY_STATIC=\"0\" STATIC_POSITION=\"1\"/>"},
};

class WidgetTemplateTest : public guitest::GUIFixture, public ::testing::WithParamInterface<TemplateCase> {
protected:
    void SetUp() override {
        GUIFixture::SetUp();
        TextureManager& textures = D3DInterface::getInstance().getTextureManager();
        for (std::wstring const& name : kTextureNames) textures.addTexture(new Texture2D(name), true);
    }
    void TearDown() override {
        gui.clear();
        D3DInterface::getInstance().getTextureManager().releaseAll();
        GUIFixture::TearDown();
    }

    // The template "vorlage", a window "kopie" made from it and a window "leer" of the same
    // type without data.
    void load(TemplateCase const& c) {
        std::wstring const type(c.type, c.type + std::char_traits<char>::length(c.type));
        guitest::loadText(L"<GUI><VORLAGEN><WINDOW NAME=\"vorlage\" TYPE=\"" + type + L"\" IS_VORLAGE_FOR=\"ALL\">" +
                          kWindowParams + c.params + L"</WINDOW></VORLAGEN>" +
                          L"<WINDOW NAME=\"kopie\" TYPE=\"" + type + L"\" VORLAGE_PRE=\"vorlage ALL\"/>" +
                          L"<WINDOW NAME=\"leer\" TYPE=\"" + type + L"\"/></GUI>");
    }
};

TEST_P(WidgetTemplateTest, EveryFieldComesAcrossFromTheTemplate) {
    TemplateCase const& c = GetParam();
    load(c);
    GUIWindow* source = gui.findTemplate(L"vorlage");
    GUIWindow* copy = gui.findWindow(L"kopie");
    GUIWindow* plain = gui.findWindow(L"leer");
    ASSERT_NE(source, nullptr);
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(plain, nullptr);
    Fields want, have, defaults;
    describe(source, want);
    describe(copy, have);
    describe(plain, defaults);

    // The template sets each of the widget's own fields, so the copy shows whether it came.
    for (std::string const& key : want.own)
        EXPECT_NE(want.values[key], defaults.values[key]) << "the template leaves \"" << key << "\" at its default";
    for (auto const& [key, value] : want.values)
        EXPECT_EQ(have.values[key], value) << "\"" << key << "\" did not come across";
}

INSTANTIATE_TEST_SUITE_P(EveryType, WidgetTemplateTest, ::testing::ValuesIn(kCases),
                         [](::testing::TestParamInfo<TemplateCase> const& info) {
                             std::string name = info.param.type;
                             name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
                             return name;
                         });

}  // namespace
