// GUI window goals: the sample screen's panel sliding from "AUS" to "AN" with an overshoot
// (rectangles and colours at chosen times, signals once), jumps, forced and ignored restarts,
// layer changes while blending, the blend rules of options and rectangles, and goal keys that
// are not usable numbers.
#include <cmath>

#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"
#include "tests/engine/gui/GUIFixture.h"

using Orvex::GUIAnimationsGoal;
using Orvex::GUIWindow;
using guitest::GUIFixture;
using guitest::makeBox;
using guitest::Recorder;

namespace {

class GUIWindowGoals : public GUIFixture {
protected:
    GUIWindow* panel() {
        guitest::loadFile(L"tests\\engine\\gui\\data\\vorlagen.gui");
        guitest::loadFile(L"tests\\engine\\gui\\data\\fenster.gui");
        GUIWindow* w = gui.findWindow(L"hauptmenue");
        EXPECT_NE(w, nullptr);
        return w;
    }
};

GUIAnimationsGoal* goalAt(std::wstring const& name, float y, Orvex::s32 layer = 0) {
    auto* goal = new GUIAnimationsGoal();
    goal->name = name;
    goal->rect.position.offY = y;
    goal->rect.size.offX = 10;
    goal->rect.size.offY = 10;
    goal->drawOptions.layer = layer;
    return goal;
}

}  // namespace

// SPEED 2: the way takes 0.5 s; UEBERSCHWING_PERC 10 and _TIME 0.4 run 10 % past the goal
// (from top 600 to 150: 105) at track time 1.2 and back at 1.4.
TEST_F(GUIWindowGoals, ThePanelSlidesInWithAnOvershoot) {
    GUIWindow* w = panel();
    ASSERT_NE(w, nullptr);
    EXPECT_FLOAT_EQ(w->getScreenRect().top, 600.0f);
    EXPECT_FALSE(w->getOptions().visible);
    Recorder rec;
    rec.watch(*w);
    w->animateToGoal(L"AN", 1.0, false);
    EXPECT_EQ(rec.joined(), L"goalStarted AN hauptmenue");
    struct Step {
        double dt;
        float top;
        float alpha;
        float red;
        bool visible;
        bool reached;
    };
    Step const steps[] = {
        {0.25, 375.0f, 0.5f, 0.5f, true, false},
        {0.25, 150.0f, 1.0f, 1.0f, true, false},
        {0.10, 105.0f, 1.0f, 1.0f, true, false},
        {0.10, 150.0f, 1.0f, 1.0f, true, true},
        {0.50, 150.0f, 1.0f, 1.0f, true, true},
    };
    double elapsed = 0.0;
    for (Step const& s : steps) {
        elapsed += s.dt;
        SCOPED_TRACE(elapsed);
        rec.clear();
        gui.update(s.dt);
        EXPECT_NEAR(w->getScreenRect().top, s.top, 0.01f);
        EXPECT_NEAR(w->getScreenRect().bottom - w->getScreenRect().top, 300.0f, 0.01f);
        EXPECT_NEAR(w->getDrawOptions().alpha, s.alpha, 1e-5);
        EXPECT_NEAR(w->getDrawOptions().modulateColor.r, s.red, 1e-5);
        EXPECT_EQ(w->getOptions().visible, s.visible);
        bool const heard = rec.joined().find(L"goalReached AN") != std::wstring::npos;
        EXPECT_EQ(heard, s.reached && elapsed < 0.75);
    }
    EXPECT_FALSE(w->isAnimating());
    EXPECT_EQ(w->getCurrentState().name, L"AN");
}

TEST_F(GUIWindowGoals, RestartsOnlyWhenForcedAndJumpsAtSpeedZero) {
    struct Case {
        char const* what;
        wchar_t const* goal;
        double speed;
        bool force;
        wchar_t const* heard;
        float top;
    };
    Case const cases[] = {
        {"heading there already", L"AN", 1.0, false, L"", 375.0f},
        {"forced restart", L"AN", 1.0, true, L"goalStarted AN hauptmenue", 375.0f},
        {"speed 0 jumps", L"AN", 0.0, true, L"goalStarted AN hauptmenue; goalReached AN hauptmenue", 150.0f},
        {"negative speed jumps", L"AN", -1.0, true, L"goalStarted AN hauptmenue; goalReached AN hauptmenue", 150.0f},
        {"speed not a number jumps", L"AN", std::nan(""), true,
         L"goalStarted AN hauptmenue; goalReached AN hauptmenue", 150.0f},
        {"unknown goal takes the default", L"NIRGENDS", 0.0, false,
         L"goalStarted  hauptmenue; goalReached  hauptmenue", 150.0f},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* w = panel();
        w->animateToGoal(L"AN", 1.0, false);
        gui.update(0.25);
        Recorder rec;
        rec.watch(*w);
        w->animateToGoal(c.goal, c.speed, c.force);
        EXPECT_EQ(rec.joined(), c.heard);
        EXPECT_NEAR(w->getScreenRect().top, c.top, 0.01f);
        gui.clear();
    }
}

// goalStarted of an animation hands on the window's own goal record, not a copy of it.
TEST_F(GUIWindowGoals, GoalStartedHandsOnTheWindowsOwnRecord) {
    GUIWindow* w = makeBox(L"w", 0, 0, 10, 10);
    w->initDefaultState();
    w->addGoal(goalAt(L"UNTEN", 50.0f));
    w->findGoal(L"UNTEN").speed = 2.0;
    struct Heard : sigslot::has_slots<> {
        GUIAnimationsGoal* goal = nullptr;
        void on(GUIWindow&, GUIAnimationsGoal& g) { goal = &g; }
    } heard;
    w->goalStarted.connect(&heard, &Heard::on);
    w->animateToGoal(L"UNTEN", 1.0, false);
    EXPECT_EQ(heard.goal, &w->findGoal(L"UNTEN"));
    w->release();
}

// 5 to 1 passes 4, 3, 2: one layerChanged per change, none for steps within a layer.
TEST_F(GUIWindowGoals, LayerChangesAreAnnouncedOncePerChange) {
    GUIWindow* w = makeBox(L"w", 0, 0, 10, 10);
    w->getDrawOptions().layer = 5;
    w->initDefaultState();
    w->addGoal(goalAt(L"UNTEN", 0.0f, 1));
    struct Count : sigslot::has_slots<> {
        int n = 0;
        void on() { ++n; }
    } count;
    w->layerChanged.connect(&count, &Count::on);
    w->animateToGoal(L"UNTEN", 1.0, false);
    std::vector<Orvex::s32> layers;
    for (int i = 0; i < 10; ++i) {
        w->update(0.1);
        if (layers.empty() || layers.back() != w->getDrawOptions().layer) layers.push_back(w->getDrawOptions().layer);
    }
    EXPECT_EQ(layers, (std::vector<Orvex::s32>{4, 3, 2, 1}));
    EXPECT_EQ(count.n, 4);
    w->release();
}

// A copy of the window's goal moves with the window; a retarget keeps the timing and the
// overshoot shape.
TEST_F(GUIWindowGoals, RetargetingKeepsTheTiming) {
    GUIWindow* w = panel();
    w->animateToGoal(L"AN", 1.0, false);
    gui.update(0.25);
    GUIAnimationsGoal other = w->findGoal(L"AN");
    other.rect.position.offY = 50.0f;
    w->retargetAnimation(other);
    gui.update(0.25);
    EXPECT_NEAR(w->getScreenRect().top, 50.0f, 0.01f);
    gui.update(0.1);
    EXPECT_NEAR(w->getScreenRect().top, 600.0f + (50.0f - 600.0f) * 1.1f, 0.01f);
    gui.update(0.2);
    EXPECT_NEAR(w->getScreenRect().top, 50.0f, 0.01f);
}

// Blending options: OR, AND, and switches at 0.5 and 0.6 (ends exact).
TEST_F(GUIWindowGoals, OptionsBlendByTheirRules) {
    Orvex::GUIWindowOptions start;
    Orvex::GUIWindowOptions goal;
    start.visible = true;
    goal.visible = false;
    start.enabled = true;
    goal.enabled = false;
    start.textureCheckValue = 16;
    goal.textureCheckValue = 200;
    start.mouseMove = true;
    goal.mouseMove = true;
    start.drawSubwindows = true;
    goal.drawSubwindows = false;
    struct Case {
        double c;
        bool visible, enabled;
        int check;
        bool drawSub;
    };
    Case const cases[] = {
        {0.0, true, true, 16, true},    {0.3, true, true, 16, false}, {0.5, true, false, 16, false},
        {0.59, true, false, 16, false}, {0.6, true, false, 200, false}, {1.0, false, false, 200, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.c);
        Orvex::GUIWindowOptions const out = GUIWindow::blendOptions(start, goal, start, c.c);
        EXPECT_EQ(out.visible, c.visible);
        EXPECT_EQ(out.enabled, c.enabled);
        EXPECT_EQ(out.textureCheckValue, c.check);
        EXPECT_EQ(out.drawSubwindows, c.drawSub);
        EXPECT_TRUE(out.mouseMove);
    }
}

// "INTERPOLATE_GUIRECT_MODE" picks the parameter sets that blend; the others keep the live rect.
TEST_F(GUIWindowGoals, RectModeChoosesTheBlendedSets) {
    struct Case {
        wchar_t const* words;
        float posX, sizeX, aspectX;
    };
    Case const cases[] = {
        {L"POS SIZE", 50.0f, 50.0f, 7.0f},
        {L"PARAM", 7.0f, 7.0f, 50.0f},
        {L"ALL NONE POS", 50.0f, 7.0f, 7.0f},
        {L"QUATSCH", 7.0f, 7.0f, 7.0f},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(std::string(c.words, c.words + std::wcslen(c.words)));
        Orvex::XMLNode node;
        node.loadFromText(std::wstring(L"<ANIMATION_GOAL INTERPOLATE_GUIRECT_MODE=\"") + c.words + L"\"/>");
        GUIAnimationsGoal start(node, nullptr, nullptr, nullptr);
        GUIAnimationsGoal goal = start;
        GUIAnimationsGoal live;
        goal.rect.position.offX = goal.rect.size.offX = goal.rect.aspect.offX = 100.0f;
        live.rect.position.offX = live.rect.size.offX = live.rect.aspect.offX = 7.0f;
        GUIAnimationsGoal const out = GUIWindow::blendState(start, goal, live, live, 0.5);
        EXPECT_FLOAT_EQ(out.rect.position.offX, c.posX);
        EXPECT_FLOAT_EQ(out.rect.size.offX, c.sizeX);
        EXPECT_FLOAT_EQ(out.rect.aspect.offX, c.aspectX);
    }
}

// A speed or overshoot that is no usable number (or a speed below 0) keeps its default; the goal's
// refusals make one log line that shows its name as it stands (never read as a format).
TEST_F(GUIWindowGoals, UnusableGoalNumbersKeepTheirDefaults) {
    Orvex::XMLNode node;
    node.loadFromText(
        L"<ANIMATION_GOAL NAME=\"%s%n%x\" SPEED=\"1e999\" UEBERSCHWING_PERC=\"nan\" UEBERSCHWING_TIME=\"-1e300\" "
        L"UEBERSCHWING_TIME_VERH=\"7\"/>");
    GUIAnimationsGoal goal(node, nullptr, nullptr, nullptr);
    EXPECT_EQ(goal.speed, 1.0);
    EXPECT_EQ(goal.overshootPercent, 0.0f);
    EXPECT_EQ(goal.overshootTime, 0.0f);
    EXPECT_EQ(goal.overshootSplit, 1.0f);
    EXPECT_EQ(guitest::loggedCount({L"Goal \"%s%n%x\"", L"SPEED", L"2 further problems"}), 1);
    EXPECT_EQ(guitest::loggedCount({L"\"%s%n%x\""}), 1);
    Orvex::XMLNode backwards;
    backwards.loadFromText(L"<ANIMATION_GOAL NAME=\"rueckwaerts\" SPEED=\"-2\"/>");
    EXPECT_EQ(GUIAnimationsGoal(backwards, nullptr, nullptr, nullptr).speed, 1.0);
    EXPECT_EQ(guitest::loggedCount({L"rueckwaerts", L"SPEED"}), 1);
}

// "INTERPOLATE_TEXTURES": the look and the layers each switch between start, goal and the base
// at curve 0.5 by their own mode.
TEST_F(GUIWindowGoals, TextureModesPickTheirSourceAtTheMiddle) {
    Orvex::Texture2D* texStart = new Orvex::Texture2D(L"start");
    Orvex::Texture2D* texGoal = new Orvex::Texture2D(L"ziel");
    Orvex::Texture2D* texBase = new Orvex::Texture2D(L"basis");
    Orvex::GUIDrawOptions start, goal, base;
    start.setTexNormal(texStart);
    start.setTexBackground(texStart);
    goal.setTexNormal(texGoal);
    goal.setTexBackground(texGoal);
    base.setTexNormal(texBase);
    base.setTexBackground(texBase);
    struct Case {
        int look, layer;
        double c;
        Orvex::Texture2D* normal;
        Orvex::Texture2D* background;
    };
    Case const cases[] = {
        {0, 0, 0.3, texBase, texBase},   {1, 1, 0.3, texStart, texStart}, {1, 1, 0.5, texStart, texStart},
        {1, 2, 0.7, texGoal, texGoal},   {2, 3, 0.3, texBase, texStart},  {2, 3, 0.7, texGoal, texBase},
        {3, 0, 0.7, texBase, texBase},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(testing::Message() << c.look << " " << c.layer << " " << c.c);
        Orvex::GUIDrawOptions const out = GUIWindow::blendDrawOptions(start, goal, base, c.c, c.look, c.layer);
        EXPECT_EQ(out.textures.normal, c.normal);
        EXPECT_EQ(out.textures.background, c.background);
    }
    // Each record holds one reference; the blends let theirs go.
    EXPECT_EQ(texStart->getRefCount(), 3);
    EXPECT_EQ(texGoal->getRefCount(), 3);
    EXPECT_EQ(texBase->getRefCount(), 3);
    start.textures.releaseAll();
    goal.textures.releaseAll();
    base.textures.releaseAll();
    texStart->release();
    texGoal->release();
    texBase->release();
}

// moveTo to the same place twice changes the rectangle once.
TEST_F(GUIWindowGoals, MovingTwiceToOnePlaceChangesTheRectangleOnce) {
    GUIWindow* w = makeBox(L"w", 0, 0, 10, 10);
    struct Count : sigslot::has_slots<> {
        int rect = 0, moved = 0;
        void onRect(GUIWindow&) { ++rect; }
        void onMoved(GUIWindow&) { ++moved; }
    } count;
    w->rectChanged.connect(&count, &Count::onRect);
    w->moved.connect(&count, &Count::onMoved);
    w->moveTo(D3DXVECTOR2(30, 40));
    w->moveTo(D3DXVECTOR2(30, 40));
    EXPECT_EQ(count.rect, 1);
    EXPECT_EQ(count.moved, 2);
    EXPECT_EQ(w->getScreenRect(), Orvex::FRect(30, 40, 40, 50));
    w->release();
}

// A clone taken on the way goes on with a track of its own; a window that never animated has
// none to report.
TEST_F(GUIWindowGoals, ACloneTakenOnTheWayFinishesOnItsOwn) {
    GUIWindow* w = panel();
    ASSERT_NE(w, nullptr);
    Recorder rec;
    w->animateToGoal(L"AN", 1.0, false);
    gui.update(0.25);
    rec.watch(*w);
    GUIWindow* copy = w->clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isAnimating());
    for (int i = 0; i < 10; ++i) copy->update(0.2);
    EXPECT_FALSE(copy->isAnimating());
    EXPECT_EQ(copy->getTargetState().name, L"AN");
    EXPECT_TRUE(w->isAnimating());  // the copy's steps moved only the copy
    EXPECT_EQ(rec.joined(), L"");
    gui.update(2.0);
    EXPECT_FALSE(w->isAnimating());
    EXPECT_NEAR(w->getScreenRect().top, 150.0f, 0.01f);
    copy->release();

    GUIWindow* still = makeBox(L"still", 0, 0, 10, 10);
    EXPECT_FALSE(still->isAnimating());
    GUIAnimationsGoal moved = still->getCurrentState();
    moved.rect.position.offY = 20.0f;
    still->retargetAnimation(moved);  // nothing under way: the state is taken at once
    EXPECT_FALSE(still->isAnimating());
    EXPECT_FLOAT_EQ(still->getTargetState().rect.position.offY, 20.0f);
    still->release();
}
