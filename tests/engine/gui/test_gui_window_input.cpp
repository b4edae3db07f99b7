// GUI window input: presses and releases with their signals and the click time, ignored input
// and input passed to the parent, the wheel climbing to the root, focus and activation moving
// between windows, and a window that goes away from its own click signal.
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/MenuFixture.h"

using Orvex::GUIWindow;
using guitest::GUIFixture;
using guitest::makeBox;
using guitest::mouseAt;
using guitest::Recorder;

namespace {

class GUIWindowInput : public GUIFixture {};

using guitest::narrow;

}  // namespace

// Press, wait, release: the click comes within 2.0 s of the last press or release, before the
// released signal; ignored input reports false and nothing else.
TEST_F(GUIWindowInput, ReleasesClickWithinTheClickTime) {
    struct Case {
        char const* what;
        int inputIgnore;
        double wait;
        wchar_t const* heard;
    };
    Case const cases[] = {
        {"quick click", 0, 0.1, L"leftPressed w 1; leftClicked w; leftReleased w 1"},
        {"exactly 2.0 s", 0, 2.0, L"leftPressed w 1; leftClicked w; leftReleased w 1"},
        {"2.01 s", 0, 2.01, L"leftPressed w 1; leftReleased w 1"},
        {"input ignored", 1, 0.1, L"leftPressed w 0; leftReleased w 0"},
        {"only children ignored", 2, 0.1, L"leftPressed w 1; leftClicked w; leftReleased w 1"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* w = makeBox(L"w", 0, 0, 50, 50);
        w->getOptions().inputIgnore = c.inputIgnore;
        Recorder rec;
        rec.watch(*w);
        Orvex::MouseState state = mouseAt(10, 10);
        w->onLeftPress(state);
        w->update(c.wait);
        w->onLeftRelease(state);
        EXPECT_EQ(rec.joined(), c.heard) << narrow(rec.joined());
        w->release();
    }
}

// A release restarts the timer as a press does; a second release long after is no click.
TEST_F(GUIWindowInput, ASecondLateReleaseIsNoClick) {
    GUIWindow* w = makeBox(L"w", 0, 0, 50, 50);
    Recorder rec;
    rec.watch(*w);
    Orvex::MouseState state = mouseAt(10, 10);
    w->onRightPress(state);
    w->onRightRelease(state);
    w->update(2.5);
    rec.clear();
    w->onRightRelease(state);
    EXPECT_EQ(rec.joined(), L"rightReleased w 1");
    w->release();
}

TEST_F(GUIWindowInput, InputToParentHandsPressesUp) {
    GUIWindow* parent = makeBox(L"eltern", 0, 0, 100, 100);
    GUIWindow* child = makeBox(L"kind", 10, 10, 20, 20);
    parent->addChild(child, true, true);
    child->getOptions().inputToParent = true;
    Recorder rec;
    rec.watch(*parent);
    rec.watch(*child);
    Orvex::MouseState state = mouseAt(15, 15);
    child->onLeftPress(state);
    child->onLeftRelease(state);
    EXPECT_EQ(rec.joined(), L"leftPressed eltern 1; leftClicked eltern; leftReleased eltern 1");
    parent->release();
}

// The wheel reaches every ancestor, emitted from the root down; an ignoring ancestor stops it.
TEST_F(GUIWindowInput, TheWheelClimbsToTheRoot) {
    struct Case {
        char const* what;
        int middleIgnore;
        wchar_t const* heard;
    };
    Case const cases[] = {
        {"nothing ignored", 0, L"axis wurzel 1; axis mitte 1; axis blatt 1"},
        {"middle ignores", 1, L"axis mitte 0; axis blatt 1"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* root = makeBox(L"wurzel", 0, 0, 100, 100);
        GUIWindow* middle = makeBox(L"mitte", 0, 0, 50, 50);
        GUIWindow* leaf = makeBox(L"blatt", 0, 0, 20, 20);
        root->addChild(middle, true, true);
        middle->addChild(leaf, true, true);
        middle->getOptions().inputIgnore = c.middleIgnore;
        Recorder rec;
        for (GUIWindow* w : {root, middle, leaf}) rec.watch(*w);
        Orvex::MouseState state = mouseAt(5, 5);
        leaf->onAxis(state, Orvex::OA_MOUSE_Z_POS);
        EXPECT_EQ(rec.joined(), c.heard) << narrow(rec.joined());
        root->release();
    }
}

// The old holder lets go first; the GUI system never reports an empty slot in between.
TEST_F(GUIWindowInput, ActivationMovesFromOneWindowToTheNext) {
    GUIWindow* a = makeBox(L"a", 0, 0, 50, 50);
    GUIWindow* b = makeBox(L"b", 60, 0, 50, 50);
    Recorder rec;
    rec.watch(*a);
    rec.watch(*b);
    struct Changes : sigslot::has_slots<> {
        std::vector<GUIWindow*> seen;
        void on(GUIWindow* w) { seen.push_back(w); }
    } changes;
    gui.activeWindowChanged.connect(&changes, &Changes::on);
    a->setActive(true, nullptr);
    b->setActive(true, nullptr);
    b->setActive(true, nullptr);
    EXPECT_EQ(rec.joined(), L"activated a; deactivated a; activated b");
    EXPECT_EQ(changes.seen, (std::vector<GUIWindow*>{a, b}));
    EXPECT_EQ(gui.getActiveWindow(), b);
    b->setActive(false, nullptr);
    EXPECT_EQ(gui.getActiveWindow(), nullptr);
    gui.activeWindowChanged.disconnect(&changes);
    a->release();
    b->release();
}

TEST_F(GUIWindowInput, FocusMovesAndActivateParentForwards) {
    GUIWindow* a = makeBox(L"a", 0, 0, 50, 50);
    GUIWindow* b = makeBox(L"b", 60, 0, 50, 50);
    GUIWindow* part = makeBox(L"teil", 0, 0, 10, 10);
    b->addChild(part, true, true);
    part->getOptions().activateParent = true;
    Recorder rec;
    for (GUIWindow* w : {a, b, part}) rec.watch(*w);
    a->setFocus(true);
    a->setFocus(true);
    part->setFocus(true);
    EXPECT_EQ(rec.joined(), L"focusGained a; focusLost a; focusGained b");
    EXPECT_EQ(gui.getFocusWindow(), b);
    EXPECT_EQ(a->getBlendState().focus.flag, false);
    a->release();
    b->release();
}

// A press takes the focus only when a later-drawn window overlaps the pressed one.
TEST_F(GUIWindowInput, APressFocusesACoveredWindow) {
    struct Case {
        char const* what;
        float laterX;
        bool focused;
    };
    Case const cases[] = {
        {"covered", 40, true},
        {"edges touch", 50, false},
        {"apart", 200, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* below = makeBox(L"unten", 0, 0, 50, 50);
        GUIWindow* later = makeBox(L"oben", c.laterX, 0, 50, 50);
        later->getOptions().visible = false;  // hidden windows count
        gui.addWindow(below);
        gui.addWindow(later);
        Orvex::MouseState state = mouseAt(5, 5);
        below->onLeftPress(state);
        EXPECT_EQ(gui.getFocusWindow() == below, c.focused);
        gui.clear();
        below->release();
        later->release();
    }
}

// A click slot removes the window from its parent (its last reference elsewhere): the release
// finishes on a living window, and it is gone once the call returns.
TEST_F(GUIWindowInput, AWindowMayGoAwayFromItsOwnClick) {
    GUIWindow* parent = makeBox(L"eltern", 0, 0, 100, 100);
    GUIWindow* button = makeBox(L"knopf", 10, 10, 20, 20);
    parent->addChild(button, true, true);
    struct Destroyer : sigslot::has_slots<> {
        GUIWindow* parent = nullptr;
        void onClick(GUIWindow& w) { parent->removeChild(&w); }
    } destroyer;
    destroyer.parent = parent;
    button->leftClicked.connect(&destroyer, &Destroyer::onClick);
    struct Gone : sigslot::has_slots<> {
        bool gone = false;
        void on(Orvex::NamedObject*) { gone = true; }
    } gone;
    button->signalDestroyed.connect(&gone, &Gone::on);
    Recorder rec;
    rec.watch(*button);
    Orvex::MouseState state = mouseAt(15, 15);
    button->onLeftPress(state);
    button->onLeftRelease(state);
    EXPECT_TRUE(gone.gone);
    EXPECT_EQ(rec.joined(), L"leftPressed knopf 1; leftClicked knopf; leftReleased knopf 1");
    EXPECT_TRUE(parent->getChildren().empty());
    parent->release();
}

// Timers count while their flag is set (first clock) or clear (second); the activation blend
// follows the active flag over ACTIVE_BLEND and INACTIVE_BLEND seconds.
TEST_F(GUIWindowInput, ActivationBlendFollowsTheActiveFlag) {
    struct Case {
        char const* what;
        double activeBlend;
        double inactiveBlend;
        double dt;
        double afterOn;
        double afterOff;
    };
    Case const cases[] = {
        {"jumps", 0.0, 0.0, 0.1, 1.0, 0.0},
        {"quarter second", 0.25, 0.5, 0.125, 0.5, 0.25},
        {"negative frame", 0.25, 0.5, -1.0, 0.0, 0.0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* w = makeBox(L"w", 0, 0, 10, 10);
        w->getDrawOptions().activeBlend = c.activeBlend;
        w->getDrawOptions().inactiveBlend = c.inactiveBlend;
        w->setActive(true, nullptr);
        w->update(c.dt);
        EXPECT_DOUBLE_EQ(w->getBlendState().activationBlend, c.afterOn);
        w->setActive(false, nullptr);
        w->update(c.dt);
        EXPECT_DOUBLE_EQ(w->getBlendState().activationBlend, c.afterOff);
        EXPECT_DOUBLE_EQ(w->getBlendState().activation.off, c.dt > 0 ? c.dt : 0.0);
        w->release();
    }
}

// Hit tests: children first from the last, input flags making windows or their children
// transparent, ACTIVATE_PARENT handing the hit up, clipping to the parent's rectangle.
TEST_F(GUIWindowInput, HitTestsFindTheTopMostTakingWindow) {
    struct Case {
        char const* what;
        int parentIgnore, childIgnore;
        bool activateParent, clientOnly, childVisible;
        int flags;
        float x;
        wchar_t const* hit;  // name, or empty for none
    };
    Case const cases[] = {
        {"child over parent", 0, 0, false, false, true, 2, 15, L"kind"},
        {"child ignores input", 0, 1, false, false, true, 2, 15, L"eltern"},
        {"parent hides its children", 2, 0, false, false, true, 2, 15, L"eltern"},
        {"parent ignores only itself", 1, 0, false, false, true, 2, 15, L"kind"},
        {"not an input query", 3, 3, false, false, true, 0, 15, L"kind"},
        {"child activates the parent", 0, 0, true, false, true, 2, 15, L"eltern"},
        {"child outside, unclipped", 0, 0, false, false, true, 2, 120, L"kind"},
        {"child outside, clipped", 0, 0, false, true, true, 2, 120, L""},
        {"hidden child", 0, 0, false, false, false, 2, 15, L"eltern"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* parent = makeBox(L"eltern", 0, 0, 100, 100);
        GUIWindow* child = makeBox(L"kind", 10, 10, 150, 20);
        parent->getMaxSize() = Orvex::GUIRectAxis{-1.0f, -1.0f};
        child->getMaxSize() = Orvex::GUIRectAxis{-1.0f, -1.0f};
        parent->addChild(child, true, true);
        parent->getOptions().inputIgnore = c.parentIgnore;
        parent->getOptions().drawInClientOnly = c.clientOnly;
        child->getOptions().inputIgnore = c.childIgnore;
        child->getOptions().activateParent = c.activateParent;
        child->getOptions().visible = c.childVisible;
        GUIWindow* hit = parent->hitTest(D3DXVECTOR2(c.x, 15), gui.getScreenRect(), c.flags);
        EXPECT_EQ(hit ? hit->getName() : std::wstring(), c.hit);
        parent->release();
    }
}
