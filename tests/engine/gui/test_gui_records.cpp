// The records a GUI window holds: options with their layout manager, draw options with their
// colours, draw modes and textures, tooltip records and their text, and the fill layout docking
// children by their "LAYOUT_PARAM".
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIDrawOptions.h"
#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUIRect.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowOptions.h"
#include "engine/gui/LanguageManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/gui/GuiTestSupport.h"

namespace {

using namespace Orvex;

using guitest::loadFrom;
using guitest::parse;

GUITooltipParam* tooltip(std::wstring const& xml) {
    XMLNode node = parse(xml);
    return new GUITooltipParam(node);
}

TEST(GuiOptions, KeysReadOverThePresentValues) {
    GUIWindowOptions o;
    loadFrom(o, L"<OPTIONS VISIBLE=\"0\" INPUT_IGNORE=\"3\" TEXTURE_CHECK_VALUE=\"300\" LAYOUT_PARAM=\"TOP\" "
                 L"DRAW_IN_CLIENT_ONLY=\"2\" LAYOUTMANAGER=\"DEFAULT\"/>");
    loadFrom(o, L"<OPTIONS ENABLED=\"0\"/>");
    EXPECT_FALSE(o.visible);
    EXPECT_FALSE(o.enabled);
    EXPECT_TRUE(o.drawSubwindows);
    EXPECT_EQ(o.inputIgnore, 3);
    EXPECT_EQ(o.textureCheckValue, 300 & 0xFF);
    EXPECT_EQ(o.layoutParam, L"TOP");
    EXPECT_TRUE(o.drawInClientOnly) << "any non-zero number is true";
    EXPECT_NE(dynamic_cast<GUILayoutFILL*>(o.getLayoutManager()), nullptr);
}

TEST(GuiOptions, LayoutManagerKindsAndCopiesMakeManagersOfTheirOwn) {
    struct {
        wchar_t const* kind;
        char const* type;  // "" for none
    } const kinds[] = {{L"DEFAULT", "FILL"}, {L"DEFAULT_USEOFFEST", "OFFSET"}, {L"NULL", ""},
                       {L"default", ""},     {L"DEFAULT_USEOFFSET", ""}};
    auto typeOf = [](GUILayoutManager* m) -> std::string {
        if (dynamic_cast<GUILayoutFILL_WOffset*>(m)) return "OFFSET";
        if (dynamic_cast<GUILayoutFILL*>(m)) return "FILL";
        return m ? "?" : "";
    };
    for (auto const& k : kinds) {
        GUIWindowOptions o;
        o.createLayoutManager(L"DEFAULT");
        loadFrom(o, std::wstring(L"<OPTIONS LAYOUTMANAGER=\"") + k.kind + L"\"/>");
        EXPECT_EQ(typeOf(o.getLayoutManager()), k.type);
        GUIWindowOptions copy(o);
        EXPECT_EQ(typeOf(copy.getLayoutManager()), k.type);
        if (o.getLayoutManager()) {
            EXPECT_NE(copy.getLayoutManager(), o.getLayoutManager());
        }
        GUIWindowOptions target;
        target.createLayoutManager(L"DEFAULT_USEOFFEST");
        target = o;
        EXPECT_EQ(typeOf(target.getLayoutManager()), k.type);
    }
    // The manager's state is not copied, only its kind.
    GUIWindowOptions o;
    o.createLayoutManager(L"DEFAULT_USEOFFEST");
    static_cast<GUILayoutFILL_WOffset*>(o.getLayoutManager())->offsetX = 9.0f;
    GUIWindowOptions copy(o);
    EXPECT_EQ(static_cast<GUILayoutFILL_WOffset*>(copy.getLayoutManager())->offsetX, 0.0f);
}

TEST(GuiDrawOptions, ColoursDrawModesAndLayer) {
    GUIDrawOptions d;
    loadFrom(d, L"<DRAWOPTIONS MODULATE_COLOR=\"80FFFFFF\" EBENE=\"-2\" ALPHA=\"0.5\">"
                 L"<DRAW_TYPE X=\"SCALE SDP_REPEAT\" Y=\"\"/><BACK_DRAW_TYPE Y=\"CLAMP ALIGN_BACK\"/></DRAWOPTIONS>");
    EXPECT_NEAR(d.modulateColor.a * 255.0f, 128.0f, 1e-3);
    EXPECT_EQ(d.modulateColor.r, 1.0f);
    EXPECT_EQ(d.layer, -2);
    EXPECT_EQ(static_cast<u32>(d.layer), 0xFFFFFFFEu) << "compared unsigned, it sorts after every positive layer";
    EXPECT_EQ(d.alpha, 0.5);
    EXPECT_EQ(d.drawType, (GUIDrawType{3, 0}));
    EXPECT_EQ(d.backDrawType, (GUIDrawType{4, 48}));
    EXPECT_EQ(d.foreDrawType, (GUIDrawType{4, 4}));
    EXPECT_EQ(d.shapeDrawType, (GUIDrawType{1, 1}));

    D3DXCOLOR const black = colorFromARGB(0xFF000000);
    EXPECT_EQ(black, D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f));
}

TEST(GuiDrawOptions, TexturesAreSharedAndMissingNamesLogged) {
    TextureManager& textures = D3DInterface::getInstance().getTextureManager();
    auto* normal = new Texture2D(L"records_normal");
    ASSERT_TRUE(textures.addTexture(normal, true));
    {
        GUIDrawOptions d;
        logtest::LogWatch watch;
        loadFrom(d, L"<DRAWOPTIONS TEX_NORMAL=\"records_normal\" TEX_MARK=\"records_nothing\"/>");
        EXPECT_EQ(d.getTexNormal(), normal);
        EXPECT_EQ(d.getTexMark(), nullptr);
        auto const lines = watch.lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(L"records_nothing"), std::wstring::npos);
        EXPECT_EQ(normal->getRefCount(), 2);
        GUIDrawOptions copy(d);
        EXPECT_EQ(normal->getRefCount(), 3);
        // A name that is not found releases what the slot held.
        loadFrom(d, L"<DRAWOPTIONS TEX_NORMAL=\"records_nothing\"/>");
        EXPECT_EQ(d.getTexNormal(), nullptr);
        EXPECT_EQ(normal->getRefCount(), 2);
    }
    EXPECT_EQ(normal->getRefCount(), 1);
    textures.releaseAll();
}

TEST(GuiTooltip, TextIdOrLiteralTextAndTheHook) {
    LanguageManager language;
    loadFrom(language, L"<TEXTE DEF_LANGUAGE=\"ENG\"><TEXT NAME=\"TIP\" LANG=\"ENG\">\"|Tip %s%n|\"</TEXT></TEXTE>");
    GUITooltipParam::setLanguageSource(&language);

    auto* byId = tooltip(L"<TOOLTIP TEXT_ID=\"TIP\" TOOLTIP_ID=\"4\"/>");
    auto* both = tooltip(L"<TOOLTIP TEXT_ID=\"TIP\" TEXT=\"literal\" TIMER=\"0\"/>");
    std::wstring out;
    EXPECT_EQ(byId->getText(out), L"Tip %s%n") << "the text is data, never a format";
    EXPECT_EQ(both->getText(out), L"literal");
    EXPECT_FALSE(byId->hasOwnTimer());
    EXPECT_TRUE(both->hasOwnTimer()) << "a timer of 0 is the record's own (zero) delay";

    struct Hook : sigslot::has_slots<> {
        int calls = 0;
        void rewrite(GUIWindow&, GUITooltipParam&, std::wstring& text) {
            ++calls;
            text += L"!";
        }
    } hook;
    both->textHook.connect(&hook, &Hook::rewrite);
    both->getText(out);
    EXPECT_EQ(hook.calls, 0) << "without a window nothing is emitted";
    auto* owner = new GUIWindow(L"owner");
    both->setWindow(owner);
    EXPECT_EQ(both->getText(out), L"literal!");
    EXPECT_EQ(hook.calls, 1);
    GUITooltipParam copy(*both);
    copy.getText(out);
    EXPECT_EQ(hook.calls, 1) << "a copy's hook starts empty";
    EXPECT_EQ(copy.getWindow(), owner);

    // A record shared with another window outlives the window it names: it forgets it.
    owner->release();
    EXPECT_EQ(both->getWindow(), nullptr);
    EXPECT_EQ(copy.getWindow(), nullptr);
    EXPECT_EQ(both->getText(out), L"literal");
    EXPECT_EQ(hook.calls, 1);

    GUITooltipParam::setLanguageSource(nullptr);
    EXPECT_EQ(byId->getText(out), L"");
    byId->release();
    both->release();
}

TEST(GuiTooltip, EqualityNeedsIdsEqualAndNoTextIds) {
    struct {
        wchar_t const* a;
        wchar_t const* b;
        bool equal;
    } const cases[] = {
        {L"<T TEXT=\"x\" TOOLTIP_ID=\"1\"/>", L"<T TEXT=\"y\" TOOLTIP_ID=\"1\"/>", true},
        {L"<T TEXT=\"x\" TOOLTIP_ID=\"1\"/>", L"<T TEXT=\"x\" TOOLTIP_ID=\"2\"/>", false},
        {L"<T TEXT_ID=\"A\"/>", L"<T TEXT_ID=\"A\"/>", false},
        {L"<T TEXT_ID=\"A\" TEXT=\"x\"/>", L"<T TEXT_ID=\"B\" TEXT=\"x\"/>", false},
    };
    for (auto const& c : cases) {
        GUITooltipParam* a = tooltip(c.a);
        GUITooltipParam* b = tooltip(c.b);
        EXPECT_EQ(*a == *b, c.equal);
        a->release();
        b->release();
    }
}

// Children docked by the fill layout; rectangles as "GUIRECT" text, options by LAYOUT_PARAM.
struct Docked {
    GUIWindowOptions options;
    GUIRect rect;
    Docked(wchar_t const* param, wchar_t const* rectXml) {
        options.layoutParam = param;
        loadFrom(rect, rectXml);
    }
};

FRect place(Docked const& d, FRect const& parent) {
    FRect r;
    d.rect.calcRect(r, parent, 800, 600);
    return r;
}

TEST(GuiLayout, FillDocksChildrenAgainstTheFreeSides) {
    std::vector<Docked> kids;
    kids.emplace_back(L"TOP", L"<GUIRECT><POS_TL/><SIZE Y_OFF=\"20\"/></GUIRECT>");
    kids.emplace_back(L"TOP", L"<GUIRECT><POS_TL/><SIZE Y_OFF=\"30\"/></GUIRECT>");
    kids.emplace_back(L"BOTTOM", L"<GUIRECT><POS_TL/><SIZE Y_REL=\"0.1\"/></GUIRECT>");
    kids.emplace_back(L"LEFT", L"<GUIRECT><POS_TL/><SIZE X_OFF=\"40\"/></GUIRECT>");
    kids.emplace_back(L"RIGHT", L"<GUIRECT><POS_TL/><SIZE X_OFF=\"60\"/></GUIRECT>");
    kids.emplace_back(L"top", L"<GUIRECT><POS_TL X_OFF=\"5\" Y_OFF=\"6\"/><SIZE X_OFF=\"7\" Y_OFF=\"8\"/></GUIRECT>");
    kids.emplace_back(L"FILL", L"<GUIRECT><POS_TL/><SIZE/></GUIRECT>");
    kids.emplace_back(L"LEFT", L"<GUIRECT><POS_TL/><SIZE X_OFF=\"10\"/></GUIRECT>");
    std::vector<GUILayoutItem> items;
    for (auto& k : kids) items.push_back({&k.options, &k.rect});
    FRect const parent(0, 0, 400, 200);
    arrangeFill(items, parent, nullptr);

    struct {
        FRect want;
    } const placed[] = {
        {FRect(0, 0, 400, 20)},     // first top bar
        {FRect(0, 20, 400, 50)},    // stacked under it
        {FRect(0, 180, 400, 200)},  // bottom tenth
        {FRect(0, 50, 40, 180)},    // left column between the bars
        {FRect(340, 50, 400, 180)}, // right column
        {FRect(5, 6, 12, 14)},      // "top" in lower case keeps its own rectangle
        {FRect(40, 50, 340, 180)},  // the rest
        {FRect(40, 50, 50, 180)},   // after a fill: no free width is left, its own width stays
    };
    for (std::size_t i = 0; i < kids.size(); ++i) {
        FRect const r = place(kids[i], parent);
        EXPECT_FLOAT_EQ(r.left, placed[i].want.left) << i;
        EXPECT_FLOAT_EQ(r.top, placed[i].want.top) << i;
        EXPECT_FLOAT_EQ(r.right, placed[i].want.right) << i;
        EXPECT_FLOAT_EQ(r.bottom, placed[i].want.bottom) << i;
    }
    EXPECT_FLOAT_EQ(kids[2].rect.position.relY, 0.9f);
    EXPECT_FLOAT_EQ(kids[6].rect.size.relY, 0.9f) << "the fill ends where the bottom bar starts";
    EXPECT_FLOAT_EQ(kids[6].rect.size.offY, -50.0f);
}

TEST(GuiLayout, OffsetVariantShiftsEveryDockedChild) {
    Docked right(L"RIGHT", L"<GUIRECT PARAMS_X=\"AS_VERH\"><POS_TL/><SIZE X_OFF=\"10\" Y_OFF=\"20\"/>"
                           L"<PARAMS X_REL=\"2\"/></GUIRECT>");
    Docked fill(L"FILL", L"<GUIRECT/>");
    Docked unused(L"FILL", L"<GUIRECT><POS_TL X_OFF=\"1\"/></GUIRECT>");
    unused.options.usableForLayoutManager = false;
    std::vector<GUILayoutItem> items{{&right.options, &right.rect}, {&fill.options, &fill.rect},
                                     {&unused.options, &unused.rect}};
    float const offset[2] = {3.0f, -4.0f};
    arrangeFill(items, FRect(0, 0, 400, 200), offset);
    // "RIGHT" by its own size set (10 wide), shifted by 3; the free right edge shrinks by the
    // corrected width (the full height 200 x 2 = 400).
    EXPECT_FLOAT_EQ(right.rect.position.offX, -10.0f + 3.0f);
    EXPECT_FLOAT_EQ(right.rect.position.offY, -4.0f);
    EXPECT_FLOAT_EQ(fill.rect.size.relX, 1.0f);
    EXPECT_FLOAT_EQ(fill.rect.size.offX, -400.0f);
    EXPECT_FLOAT_EQ(fill.rect.position.offX, 3.0f);
    EXPECT_FLOAT_EQ(unused.rect.position.offX, 1.0f);
}

}  // namespace
