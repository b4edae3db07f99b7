// Window drawers and movers: the factories, the centre and colour keys, the alternation of the
// colour and angle ranges, the constant spin kept in [0, 360) by any step, the splines, the
// movers' legs inside their circle, and the layers a drawer submits in each window state.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIDrawOptions.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/GUIWindowMover.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/gui/GuiTestSupport.h"

namespace {

using namespace Orvex;

using guitest::parse;

std::unique_ptr<GUIWindowDrawer> drawer(std::wstring const& xml) {
    return std::unique_ptr<GUIWindowDrawer>(createWindowDrawer(parse(xml)));
}

std::unique_ptr<GUIWindowMover> mover(std::wstring const& xml) {
    return std::unique_ptr<GUIWindowMover>(createWindowMover(parse(xml)));
}

TEST(GuiDrawer, TheFactoryPicksTheVariantByType) {
    struct {
        wchar_t const* xml;
        std::type_info const& type;
    } const cases[] = {
        {L"<DRAWER/>", typeid(GUIWindowDrawer)},
        {L"<DRAWER TYPE=\"SPIN\"/>", typeid(GUIWindowDrawer)},
        {L"<DRAWER TYPE=\"rotation\"/>", typeid(GUIWindowDrawer)},
        {L"<DRAWER TYPE=\"ROTATION\"/>", typeid(GUIWindowDrawerRotation)},
        {L"<DRAWER TYPE=\"ROTATION_CATMULL\"/>", typeid(GUIWindowDrawerRotationCatmull)},
        {L"<DRAWER TYPE=\"COLOR\"/>", typeid(GUIWindowDrawerColor)},
        {L"<DRAWER TYPE=\"COLOR_CATMULL\"/>", typeid(GUIWindowDrawerColorCatmull)},
    };
    for (auto const& c : cases) {
        auto d = drawer(c.xml);
        GUIWindowDrawer const& made = *d;
        EXPECT_EQ(typeid(made), c.type);
        std::unique_ptr<GUIWindowDrawer> copy(d->clone());
        GUIWindowDrawer const& copied = *copy;
        EXPECT_EQ(typeid(copied), c.type);
    }
    auto catmull = mover(L"<GUI_MOVER TYPE=\"CATMULL\"/>");
    auto linear = mover(L"<GUI_MOVER TYPE=\"LINEAR\"/>");
    GUIWindowMover const& catmullMover = *catmull;
    GUIWindowMover const& linearMover = *linear;
    EXPECT_EQ(typeid(catmullMover), typeid(GUIWindowMoverCatmull));
    EXPECT_EQ(typeid(linearMover), typeid(GUIWindowMover));
}

TEST(GuiDrawer, ThePlainDrawerKeepsItsKeysWhateverTheFrames) {
    auto d = drawer(L"<DRAWER ROTATION=\"30\" COLOR=\"80FF0000\" ROT_CENTER_REL=\"0.25\"/>");
    for (int i = 0; i < 10; ++i) d->update(0.7f);
    EXPECT_EQ(d->rotation, 30.0f);
    EXPECT_EQ(d->rotationCentre, D3DXVECTOR2(0.25f, 0.25f));
    EXPECT_EQ(guiColorToD3D(d->getColor()), 0x80FF0000u);
}

TEST(GuiDrawer, RotationCentreTakesOneToFourValuesAndRefusesAZeroDivisor) {
    struct {
        wchar_t const* text;
        D3DXVECTOR2 centre;
        bool logged;
    } const cases[] = {
        {L"0.3", {0.3f, 0.3f}, false},      {L"1 3", {1.0f, 3.0f}, false},
        {L"1 2 4", {0.25f, 0.5f}, false},   {L"1 2 4 8", {0.25f, 0.25f}, false},
        {L"1 2 0", {0.5f, 0.5f}, true},     {L"1 2 4 0", {0.5f, 0.5f}, true},
        {L"1e300 1", {0.5f, 0.5f}, true},   {L"", {0.5f, 0.5f}, false},
    };
    for (auto const& c : cases) {
        logtest::LogWatch watch;
        auto d = drawer(std::wstring(L"<DRAWER ROT_CENTER_REL=\"") + c.text + L"\"/>");
        EXPECT_NEAR(d->rotationCentre.x, c.centre.x, 1e-6) << c.centre.x;
        EXPECT_NEAR(d->rotationCentre.y, c.centre.y, 1e-6);
        EXPECT_EQ(watch.lines().size(), c.logged ? 1u : 0u);
    }
}

// A number beyond 1e9 or none at all keeps the key's default (a speed 1, the angle 0); whatever
// a drawer refuses makes one log line, naming the drawer's line.
TEST(GuiDrawer, UnusableNumbersKeepTheirDefaultsWithOneLine) {
    struct {
        wchar_t const* xml;
        float rotation;
        float speed;  // of the colour or rotation drawer, 1 for the plain one
        wchar_t const* logged;  // part of the one line, or null for none
    } const cases[] = {
        {L"<DRAWER ROTATION=\"1e300\" ROT_CENTER_REL=\"1 2 0\"/>", 0.0f, 1.0f,
         L"Drawer at line 1: \"ROTATION\" \"1e300\" is not a number within -1e+09..1e+09 (1 further problems)"},
        {L"<DRAWER TYPE=\"COLOR\" SPEED=\"nan\"/>", 0.0f, 1.0f, L"\"SPEED\" \"nan\""},
        {L"<DRAWER TYPE=\"ROTATION\" ROTATION=\"20\" ROTATION_SPEED=\"-1e10\"/>", 20.0f, 1.0f,
         L"\"ROTATION_SPEED\" \"-1e10\""},
        {L"<DRAWER TYPE=\"ROTATION\" MODE=\"CONST_ROT_SPEED\" ROTATION_SPEED=\"-3\"/>", 0.0f, -3.0f, nullptr},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(c.xml, c.xml + std::wcslen(c.xml)));
        logtest::LogWatch watch;
        auto d = drawer(c.xml);
        EXPECT_EQ(d->rotation, c.rotation);
        EXPECT_EQ(d->rotationCentre, D3DXVECTOR2(0.5f, 0.5f));
        float speed = 1.0f;
        if (auto* colour = dynamic_cast<GUIWindowDrawerColor*>(d.get())) speed = colour->interpolation.speed;
        if (auto* turning = dynamic_cast<GUIWindowDrawerRotation*>(d.get())) speed = turning->interpolation.speed;
        EXPECT_EQ(speed, c.speed);
        std::vector<std::wstring> const lines = watch.lines();
        ASSERT_EQ(lines.size(), c.logged ? 1u : 0u);
        if (c.logged) EXPECT_TRUE(logtest::contains(lines[0], c.logged)) << std::string(lines[0].begin(), lines[0].end());
    }
}

TEST(GuiDrawer, ColourDrawerAlternatesBetweenMaxAndAGreyOfTheMinRange) {
    seedRandom(7);
    auto d = drawer(L"<DRAWER TYPE=\"COLOR\" COLOR_MIN=\"FF000000 FFFFFFFF\" COLOR_MAX=\"FF000000\" SPEED=\"1\"/>");
    auto& c = static_cast<GUIWindowDrawerColor&>(*d);
    EXPECT_EQ(guiColorToD3D(c.interpolation.goal), 0xFF000000u) << "the first leg heads for the max range";
    for (int leg = 0; leg < 6; ++leg) {
        c.update(1.0f);  // finishes the leg: the next one starts at once
        D3DXCOLOR const goal = c.interpolation.goal;
        if (leg % 2 == 0) {
            EXPECT_EQ(goal.r, goal.g);
            EXPECT_EQ(goal.g, goal.b);
            EXPECT_EQ(goal.a, 1.0f);
        } else {
            EXPECT_EQ(guiColorToD3D(goal), 0xFF000000u);
        }
    }
    // Half a leg: half way between the two ends.
    D3DXCOLOR const from = c.interpolation.start;
    D3DXCOLOR const to = c.interpolation.goal;
    c.update(0.5f);
    EXPECT_NEAR(c.getColor().r, (from.r + to.r) / 2, 1e-5);
}

TEST(GuiDrawer, RotationDrawerStartsFromTheMinRangeAndCopiesStartANewLeg) {
    auto d = drawer(L"<DRAWER TYPE=\"ROTATION\" ROTATION_MIN=\"10\" ROTATION_MAX=\"50\" ROTATION_SPEED=\"2\"/>");
    auto& r = static_cast<GUIWindowDrawerRotation&>(*d);
    EXPECT_EQ(r.interpolation.goal, 10.0f);
    r.update(0.25f);
    EXPECT_FLOAT_EQ(r.rotation, 5.0f);
    r.update(0.25f);
    EXPECT_EQ(r.interpolation.goal, 50.0f);
    std::unique_ptr<GUIWindowDrawer> copy(r.clone());
    EXPECT_EQ(static_cast<GUIWindowDrawerRotation&>(*copy).interpolation.goal, 10.0f) << "a copy picks the next";
}

TEST(GuiDrawer, ConstantSpinStaysWithinAFullTurnForAnyStep) {
    struct {
        float speed;
        float dt;
        int steps;
        float want;
    } const cases[] = {
        {90.0f, 1.0f, 1, 90.0f},        {90.0f, 1.0f, 4, 0.0f},       {90.0f, 1.0f, 5, 90.0f},
        {-90.0f, 1.0f, 1, 270.0f},      {-90.0f, 1.0f, 4, 0.0f},      {90.0f, 1000.5f, 1, 45.0f},
        {-90.0f, 1000.5f, 1, 315.0f},   {1.0e6f, 0.5f, 3, 240.0f},      {90.0f, 0.0f, 3, 0.0f},
    };
    for (auto const& c : cases) {
        auto d = drawer(L"<DRAWER TYPE=\"ROTATION\" MODE=\"CONST_ROT_SPEED\" ROTATION_SPEED=\"" +
                        std::to_wstring(c.speed) + L"\"/>");
        for (int i = 0; i < c.steps; ++i) {
            d->update(c.dt);
            EXPECT_GE(d->rotation, 0.0f);
            EXPECT_LT(d->rotation, 360.0f);
        }
        EXPECT_NEAR(d->rotation, c.want, 1e-3) << c.speed << " x " << c.dt << " x " << c.steps;
    }
}

TEST(GuiDrawer, SmoothRotationFollowsTheSplineThroughItsPicks) {
    auto d = drawer(L"<DRAWER TYPE=\"ROTATION_CATMULL\" ROTATION_MIN=\"10\" ROTATION_MAX=\"20\"/>");
    auto& r = static_cast<GUIWindowDrawerRotationCatmull&>(*d);
    EXPECT_EQ(r.points[0], 0.0f);
    EXPECT_EQ(r.points[1], 10.0f);
    EXPECT_EQ(r.points[2], 20.0f);
    EXPECT_EQ(r.points[3], 10.0f);
    r.update(0.5f);
    // 0.5 x (2 x 10 + 20 x 0.5 + 20 x 0.25 - 20 x 0.125)
    EXPECT_FLOAT_EQ(r.rotation, 16.25f);
    r.update(0.5f);
    EXPECT_EQ(r.points[3], 20.0f);
    EXPECT_FLOAT_EQ(r.rotation, 20.0f) << "t restarts at the new second point";
}

TEST(GuiDrawer, SplinesIgnoreStepsBackwardsOrNotANumber) {
    auto d = drawer(L"<DRAWER TYPE=\"ROTATION_CATMULL\" ROTATION_MIN=\"10\" ROTATION_MAX=\"20\" ROTATION_SPEED=\"-3\"/>");
    auto c = drawer(L"<DRAWER TYPE=\"COLOR_CATMULL\" SPEED=\"-3\" COLOR_MAX=\"FF000000\"/>");
    auto m = mover(L"<GUI_MOVER TYPE=\"CATMULL\" DISTANCE=\"10\" TIME_FAKTOR=\"-2\"/>");
    for (float dt : {0.5f, 100.0f, NAN, 1.0e30f}) {
        d->update(dt);
        c->update(dt);
        m->update(dt);
    }
    EXPECT_EQ(d->rotation, 10.0f) << "resting at the second point, where t is 0";
    EXPECT_EQ(guiColorToD3D(c->getColor()), 0xFF000000u);
    D3DXVECTOR4 const o = m->getOffset();
    EXPECT_TRUE(std::isfinite(o.x) && std::isfinite(o.y));
    EXPECT_LE(std::hypot(o.x, o.y), 10.0f + 1e-3f);
}

TEST(GuiDrawer, ColourChannelsConvertWithRoundingAndClamping) {
    struct {
        float c;
        u8 byte;
    } const cases[] = {{0.5f, 128}, {1.0f, 255}, {2.0f, 255}, {0.0f, 0}, {-0.5f, 0}, {NAN, 0}, {0.2f, 51}};
    for (auto const& c : cases) EXPECT_EQ(guiColorByte(c.c), c.byte) << c.c;
    EXPECT_EQ(guiColorToD3D(D3DXCOLOR(1.0f, 0.5f, 0.0f, 0.2f)), 0x33FF8000u);
}

// Layers of a window in its states; textures named by letter.
class DrawerLayers : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& t : tex_) t = new Texture2D();
        options_.setTexNormal(tex_[0]);
        options_.setTexMark(tex_[1]);
    }
    void TearDown() override {
        options_.textures.releaseAll();
        for (auto* t : tex_) t->release();
    }
    std::vector<GUIDrawLayer> plan(GUIDrawState const& state) {
        std::vector<GUIDrawLayer> out;
        drawer_.planLayers(options_, state, out);
        return out;
    }
    std::string names(std::vector<GUIDrawLayer> const& layers) {
        std::string s;
        for (auto const& l : layers)
            for (int i = 0; i < 6; ++i)
                if (l.texture == tex_[i]) s += "NMDSBF"[i];
        return s;
    }

    Texture2D* tex_[6]{};
    GUIDrawOptions options_;
    GUIWindowDrawer drawer_;
};

TEST_F(DrawerLayers, StateDecidesWhichLayersAreDrawnAndWithWhichAlpha) {
    struct {
        bool crossblend;
        bool enabled;
        double blend;
        char const* layers;
        u8 normalAlpha;
        u8 markAlpha;
    } const cases[] = {
        {false, true, 0.0, "N", 255, 0},   {false, true, 1.0, "NM", 255, 255}, {true, true, 1.0, "M", 0, 255},
        {true, true, 0.5, "NM", 128, 128}, {false, true, 0.5, "NM", 255, 128}, {false, false, 1.0, "N", 255, 0},
    };
    for (auto const& c : cases) {
        options_.crossblend = c.crossblend;
        auto const layers = plan({1.0, c.enabled, c.blend});
        EXPECT_EQ(names(layers), c.layers) << c.crossblend << c.enabled << c.blend;
        for (auto const& l : layers) {
            if (l.texture == tex_[0]) {
                EXPECT_EQ(l.colour >> 24, c.normalAlpha);
            }
            if (l.texture == tex_[1]) {
                EXPECT_EQ(l.colour >> 24, c.markAlpha);
            }
        }
    }
}

TEST_F(DrawerLayers, ForegroundLiesBeneathAndBackgroundAboveTheStateLayer) {
    GUITextureSet::assignTexture(options_.textures.background, tex_[4]);
    GUITextureSet::assignTexture(options_.textures.foreground, tex_[5]);
    options_.setBackDrawType(2, 8);
    auto const layers = plan({1.0, true, 0.0});
    EXPECT_EQ(names(layers), "FNB");
    EXPECT_EQ(layers[0].modeX, 4) << "the foreground keeps its own draw type";
    EXPECT_EQ(layers[2].modeX, 2);
    EXPECT_EQ(layers[2].modeY, 8);

    // A foreground animation replaces the texture and draws with the background's draw types
    // (as the data expects it).
    auto* animation = new Texture2DAnimation();
    GUITextureSet::assignAnimation(options_.textures.aniForeground, animation);
    animation->release();
    auto const animated = plan({1.0, true, 0.0});
    ASSERT_EQ(animated.size(), 3u);
    EXPECT_EQ(animated[0].animation, animation);
    EXPECT_EQ(animated[0].texture, nullptr);
    EXPECT_EQ(animated[0].modeX, 2);
    EXPECT_EQ(animated[0].modeY, 8);
}

TEST_F(DrawerLayers, DisabledWindowsDrawTheirDisabledOrNormalLookInTheBaseColour) {
    options_.crossblend = true;
    EXPECT_EQ(names(plan({1.0, false, 1.0})), "N") << "never the mark, whatever the blend";
    options_.setTexDisable(tex_[2]);
    auto const layers = plan({0.5, false, 1.0});
    EXPECT_EQ(names(layers), "D");
    EXPECT_EQ(layers[0].colour, 0x80FFFFFFu);
}

TEST_F(DrawerLayers, ColourIsDrawerTimesModulationTimesAccumulatedAlpha) {
    drawer_.color = D3DXCOLOR(0.5f, 1.0f, 1.0f, 0.5f);
    options_.modulateColor = colorFromARGB(0x80FF0000);
    options_.normalSource = {FRect(1, 2, 3, 4), true};
    auto const layers = plan({0.5, true, 0.0});
    ASSERT_EQ(layers.size(), 1u);
    // alpha 0.5 x (128/255 x 0.5) = 0.1255 -> 32; red 0.5 -> 128, green 1 x 0 -> 0.
    EXPECT_EQ(layers[0].colour, 0x20800000u);
    EXPECT_TRUE(layers[0].hasSource);
    EXPECT_EQ(layers[0].source.right, 3);
}

TEST(GuiMover, LegsStayInsideTheCircleOfTheirDistance) {
    seedRandom(11);
    auto m = mover(L"<GUI_MOVER DISTANCE=\"10\"/>");
    FRect const parent(0, 0, 200, 100);
    float farthest = 0.0f;
    for (int i = 0; i < 400; ++i) {
        m->update(0.13f);
        FRect r(50, 50, 60, 60);
        m->apply(r, parent);
        float const d = std::hypot(r.left - 50.0f, r.top - 50.0f);
        EXPECT_LE(d, 10.0f + 1e-3f);
        EXPECT_FLOAT_EQ(r.right - r.left, 10.0f);
        farthest = std::max(farthest, d);
    }
    EXPECT_GT(farthest, 9.9f) << "the leg ends lie on the circle";
}

TEST(GuiMover, RelativeDistanceFollowsTheParentAndScaleConfinesTheAxes) {
    seedRandom(3);
    auto m = mover(L"<GUI_MOVER DISTANCE_REL=\"0.5\" WINKEL_START=\"90\"/>");
    FRect r(0, 0, 0, 0);
    m->update(1.0f);  // at the first leg's end: 90 degrees, straight along -x
    m->apply(r, FRect(0, 0, 200, 100));
    EXPECT_NEAR(r.left, -100.0f, 1e-3);
    EXPECT_NEAR(r.top, 0.0f, 1e-3);

    auto v = mover(L"<GUI_MOVER DISTANCE=\"20\" SCALE=\"0 1\"/>");
    for (int i = 0; i < 100; ++i) {
        v->update(0.37f);
        FRect s(5, 5, 5, 5);
        v->apply(s, FRect(0, 0, 100, 100));
        EXPECT_EQ(s.left, 5.0f);
    }
}

TEST(GuiMover, ACopyStartsANewLegFromTheCopiedStart) {
    seedRandom(5);
    auto m = mover(L"<GUI_MOVER DISTANCE=\"10\" TIME_FAKTOR=\"2 3\"/>");
    for (int i = 0; i < 7; ++i) m->update(0.2f);
    std::unique_ptr<GUIWindowMover> copy(m->clone());
    EXPECT_EQ(copy->interpolation.current, m->interpolation.start);
    EXPECT_EQ(copy->interpolation.t, 0.0f);
    EXPECT_GE(copy->interpolation.speed, 2.0f);
    EXPECT_LE(copy->interpolation.speed, 3.0f);

    auto s = mover(L"<GUI_MOVER TYPE=\"CATMULL\" DISTANCE=\"10\"/>");
    s->update(0.3f);
    std::unique_ptr<GUIWindowMover> smooth(s->clone());
    EXPECT_EQ(smooth->getOffset(), s->getOffset()) << "points and t are copied";
}

}  // namespace
