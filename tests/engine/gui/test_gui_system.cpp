// The GUI system: mouse routing (press, release, click, drag with "MOUSE_MOVE" and
// "MOVE_PARENT", hover), the held roles, the layer order of top-level windows, walking the
// window list while window callbacks change it, and finding windows by name as they change.
#include <functional>

#include "tests/engine/gui/GUIFixture.h"

using Orvex::GUIWindow;
using Orvex::MouseState;
using guitest::GUIFixture;
using guitest::makeBox;
using guitest::windowNames;
using guitest::mouseAt;
using guitest::Recorder;

namespace {

class GUISystemTest : public GUIFixture {
protected:
    // Two top-level windows side by side, a at 0..100, b at 200..300 (y 0..100).
    void SetUp() override {
        GUIFixture::SetUp();
        a = makeBox(L"a", 0, 0, 100, 100);
        b = makeBox(L"b", 200, 0, 100, 100);
        gui.addWindow(a);
        gui.addWindow(b);
        rec.watch(*a);
        rec.watch(*b);
    }
    void TearDown() override {
        gui.clear();
        if (a) a->release();
        if (b) b->release();
        GUIFixture::TearDown();
    }

    void down(float x, float y, Orvex::OrvexMouseButton button = Orvex::OMB_LEFT) {
        MouseState s = mouseAt(x, y, button == Orvex::OMB_LEFT);
        gui.onMouseDown(s, button);
    }
    void up(float x, float y, Orvex::OrvexMouseButton button = Orvex::OMB_LEFT) {
        MouseState s = mouseAt(x, y);
        gui.onMouseUp(s, button);
    }
    void move(float x, float y, bool leftDown = false) {
        MouseState s = mouseAt(x, y, leftDown);
        gui.onMouseMove(s, Orvex::OA_MOUSE_X);
    }
    std::string heard() const {
        std::wstring const text = rec.joined();
        return std::string(text.begin(), text.end());
    }

    GUIWindow* a = nullptr;
    GUIWindow* b = nullptr;
    Recorder rec;
};

}  // namespace

TEST_F(GUISystemTest, PressesAndReleasesFollowThePointer) {
    struct Case {
        char const* what;
        float pressX, releaseX;
        Orvex::OrvexMouseButton pressButton, releaseButton;
        bool aEnabled;
        wchar_t const* heard;
        bool aActive;
    };
    Case const cases[] = {
        {"click", 50, 60, Orvex::OMB_LEFT, Orvex::OMB_LEFT, true,
         L"activated a; leftPressed a 1; leftClicked a; leftReleased a 1", true},
        {"release elsewhere", 50, 250, Orvex::OMB_LEFT, Orvex::OMB_LEFT, true, L"activated a; leftPressed a 1",
         true},
        {"right press, left release", 50, 50, Orvex::OMB_RIGHT, Orvex::OMB_LEFT, true,
         L"activated a; rightPressed a 1; leftClicked a; leftReleased a 1", true},
        {"middle button", 50, 50, Orvex::OMB_MIDDLE, Orvex::OMB_MIDDLE, true, L"activated a", true},
        {"disabled window", 50, 50, Orvex::OMB_LEFT, Orvex::OMB_LEFT, false, L"activated a", true},
        {"nothing under the pointer", 150, 150, Orvex::OMB_LEFT, Orvex::OMB_LEFT, true, L"", false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        a->getOptions().enabled = c.aEnabled;
        rec.clear();
        down(c.pressX, 50, c.pressButton);
        up(c.releaseX, 50, c.releaseButton);
        EXPECT_EQ(rec.joined(), c.heard) << heard();
        EXPECT_EQ(gui.getPressedWindow(), nullptr);
        EXPECT_EQ(gui.getActiveWindow(), c.aActive ? a : nullptr);
        if (gui.getActiveWindow()) gui.getActiveWindow()->setActive(false, nullptr);
    }
}

// A double click is two clicks: each release within the click time of the press before it.
TEST_F(GUISystemTest, ADoubleClickClicksTwice) {
    for (int i = 0; i < 2; ++i) {
        down(50, 50);
        gui.update(0.05);
        up(50, 50);
        gui.update(0.05);
    }
    EXPECT_EQ(rec.joined(),
              L"activated a; leftPressed a 1; leftClicked a; leftReleased a 1; leftPressed a 1; leftClicked a; "
              L"leftReleased a 1");
}

// A press brings its window to the front of its layer; a window of layer -1 stays above all.
TEST_F(GUISystemTest, PressingBringsToFrontWithinTheLayer) {
    std::vector<GUIWindow*> top;
    down(50, 50);
    up(50, 50);
    gui.getWindows(top);
    EXPECT_EQ(windowNames(top), L"b a");
    b->getDrawOptions().layer = -1;
    gui.bringToFront(b);
    down(50, 50);
    top.clear();
    gui.getWindows(top);
    EXPECT_EQ(windowNames(top), L"a b");
    gui.sendToBack(a);
    top.clear();
    gui.getWindows(top);
    EXPECT_EQ(windowNames(top), L"a b");
}

// Hovering activates the window under the pointer and deactivates on leaving it; the update
// repeats the test at the stored pointer for windows that move under it.
TEST_F(GUISystemTest, HoverFollowsThePointerAndMovingWindows) {
    move(50, 50);
    EXPECT_EQ(gui.getActiveWindow(), a);
    move(150, 50);
    EXPECT_EQ(gui.getActiveWindow(), nullptr);
    EXPECT_EQ(rec.joined(), L"activated a; axis a 1; deactivated a");
    b->getRect().position.offX = 100;
    b->updateRect(false, false);
    gui.update(0.01);
    EXPECT_EQ(gui.getActiveWindow(), b);
}

// The wheel goes to the active window, not to the one under the pointer.
TEST_F(GUISystemTest, TheWheelGoesToTheActiveWindow) {
    move(50, 50);
    rec.clear();
    MouseState s = mouseAt(250, 50);
    gui.onMouseMove(s, Orvex::OA_MOUSE_Z_POS);
    EXPECT_EQ(heard(), "axis a 1; deactivated a; activated b");
}

// Dragging the loaded note by its grip moves the note ("MOVE_PARENT"); a pointer that does not
// move moves nothing; a window without "MOUSE_MOVE" stays.
TEST_F(GUISystemTest, DraggingMovesTheWindowOrItsParent) {
    guitest::loadFile(L"tests\\engine\\gui\\data\\fenster.gui");
    GUIWindow* note = gui.findWindow(L"notiz");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->getScreenRect(), Orvex::FRect(670, 510, 790, 590));
    struct Moves : sigslot::has_slots<> {
        int n = 0;
        void on(GUIWindow&) { ++n; }
    } moves;
    note->moved.connect(&moves, &Moves::on);
    down(675, 515);
    EXPECT_EQ(gui.getPressedWindow(), gui.findWindow(L"notiz_griff"));
    move(675, 515, true);
    EXPECT_EQ(moves.n, 0);
    move(600, 400, true);
    EXPECT_EQ(note->getScreenRect(), Orvex::FRect(595, 395, 715, 475));
    EXPECT_EQ(moves.n, 1);
    up(600, 400);
    down(50, 50);
    move(80, 80, true);
    EXPECT_EQ(a->getScreenRect(), Orvex::FRect(0, 0, 100, 100));
    up(80, 80);
}

// A window's update brings others to the front, removes the other top-level window and adds a
// new one: the walk neither skips nor reaches a released window.
TEST_F(GUISystemTest, UpdateSurvivesCallbacksThatChangeTheList) {
    struct Meddler : sigslot::has_slots<> {
        Orvex::GUISystem* gui = nullptr;
        GUIWindow* victim = nullptr;
        GUIWindow* added = nullptr;
        void onGoal(GUIWindow& w, Orvex::GUIAnimationsGoal&) {
            if (victim) {
                gui->removeWindow(victim);
                victim->release();
                victim = nullptr;
            }
            w.bringToFront();
            if (!added) {
                added = makeBox(L"neu", 0, 0, 5, 5);
                gui->addWindow(added);
            }
        }
    } meddler;
    meddler.gui = &gui;
    meddler.victim = b;
    b = nullptr;
    auto* goal = new Orvex::GUIAnimationsGoal();
    goal->name = L"ZIEL";
    a->addGoal(goal);
    a->goalReached.connect(&meddler, &Meddler::onGoal);
    a->animateToGoal(L"ZIEL", 10.0, false);
    for (int i = 0; i < 3; ++i) gui.update(0.5);
    std::vector<GUIWindow*> top;
    gui.getWindows(top);
    EXPECT_EQ(windowNames(top), L"a neu");
    meddler.added->release();
}

// A callback empties the whole GUI during the update: the walk ends on the windows it holds.
TEST_F(GUISystemTest, UpdateSurvivesAClearFromACallback) {
    struct Clearer : sigslot::has_slots<> {
        Orvex::GUISystem* gui = nullptr;
        int calls = 0;
        void onGoal(GUIWindow&, Orvex::GUIAnimationsGoal&) {
            ++calls;
            gui->clear();
        }
    } clearer;
    clearer.gui = &gui;
    auto* goal = new Orvex::GUIAnimationsGoal();
    goal->name = L"ZIEL";
    a->addGoal(goal);
    a->goalReached.connect(&clearer, &Clearer::onGoal);
    a->animateToGoal(L"ZIEL", 10.0, false);
    gui.update(0.5);
    gui.update(0.5);
    EXPECT_EQ(clearer.calls, 1);
    std::vector<GUIWindow*> top;
    gui.getWindows(top);
    EXPECT_TRUE(top.empty());
    EXPECT_EQ(a->getRefCount(), 1);
    EXPECT_EQ(b->getRefCount(), 1);
}

// A click slot that drops the window from the GUI and releases it: the release operation and
// the GUI system finish with the window still alive, and it goes once they let go.
TEST_F(GUISystemTest, AWindowMayDestroyItselfFromItsClick) {
    struct Destroyer : sigslot::has_slots<> {
        Orvex::GUISystem* gui = nullptr;
        GUIWindow** owner = nullptr;
        void onClick(GUIWindow& w) {
            gui->removeWindow(&w);
            *owner = nullptr;
            w.release();
        }
    } destroyer;
    destroyer.gui = &gui;
    destroyer.owner = &a;
    a->leftClicked.connect(&destroyer, &Destroyer::onClick);
    move(50, 50);
    down(50, 50);
    up(50, 50);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(rec.joined(), L"activated a; leftPressed a 1; leftClicked a; leftReleased a 1");
    move(250, 50);
    EXPECT_EQ(gui.getActiveWindow(), b);
}

// Role holders keep a reference; clear lets every one go.
TEST_F(GUISystemTest, RolesHoldReferences) {
    int const count = a->getRefCount();
    gui.setFocusWindow(a);
    gui.setActiveWindow(a);
    EXPECT_EQ(a->getRefCount(), count + 2);
    gui.setFocusWindow(nullptr);
    gui.clear();
    EXPECT_EQ(a->getRefCount(), count - 1);
    EXPECT_EQ(gui.getActiveWindow(), nullptr);
}

// After a device reset every top-level tree resolves again against the new screen size.
TEST_F(GUISystemTest, ADeviceResetRecomputesTheScreen) {
    guitest::loadFile(L"tests\\engine\\gui\\data\\fenster.gui");
    GUIWindow* note = gui.findWindow(L"notiz");
    GUIWindow* grip = gui.findWindow(L"notiz_griff");
    ASSERT_TRUE(note && grip);
    setScreen(1024, 768);
    gui.onDeviceReset();
    EXPECT_EQ(note->getScreenRect(), Orvex::FRect(894, 678, 1014, 758));
    EXPECT_EQ(grip->getScreenRect(), Orvex::FRect(894, 678, 1014, 694));
}

// Finding by name keeps its answers while nothing changes; every change of a tree, a name or the
// top-level list is seen by the next look-up, which again gives the first window of the name in
// the list's order (a before b, each window before its children).
TEST_F(GUISystemTest, FindingByNameSeesEveryChangeOfTheWindows) {
    struct Case {
        char const* what;
        wchar_t const* name;
        // Changes the windows: a holds "x" (first), b holds another "x"; the result is expected.
        std::function<GUIWindow*(Orvex::GUISystem&, GUIWindow& a, GUIWindow& b, GUIWindow& first, GUIWindow& second)>
            change;
    };
    Case const cases[] = {
        {"nothing changes", L"x", [](auto&, auto&, auto&, GUIWindow& first, auto&) { return &first; }},
        {"the first renamed", L"x",
         [](auto&, auto&, auto&, GUIWindow& first, GUIWindow& second) {
             first.setName(L"y");
             return &second;
         }},
        {"the second renamed to a missing name", L"z",
         [](auto&, auto&, auto&, auto&, GUIWindow& second) {
             second.setName(L"z");
             return &second;
         }},
        {"the first removed", L"x",
         [](auto&, GUIWindow& a, auto&, GUIWindow& first, GUIWindow& second) {
             a.removeChild(&first);
             return &second;
         }},
        {"the first's siblings all released", L"x",
         [](auto&, GUIWindow& a, auto&, auto&, GUIWindow& second) {
             a.removeAllChildren();
             return &second;
         }},
        {"one of the name added before the first", L"x",
         [](auto&, GUIWindow& a, auto&, auto&, auto&) {
             GUIWindow* earlier = makeBox(L"x", 0, 0, 1, 1);
             a.addChild(earlier, false, false);
             return earlier;
         }},
        {"the first's top-level window taken off", L"x",
         [](Orvex::GUISystem& gui, GUIWindow& a, auto&, auto&, GUIWindow& second) {
             gui.removeWindow(&a);
             return &second;
         }},
        {"the top-level windows in the other order", L"x",
         [](Orvex::GUISystem& gui, GUIWindow& a, auto&, auto&, GUIWindow& second) {
             a.getDrawOptions().layer = 1;
             gui.bringToFront(&a);
             return &second;
         }},
        {"the first hung below the second", L"x",
         [](auto&, auto&, auto&, GUIWindow& first, GUIWindow& second) {
             second.addChild(&first, false, true);
             return &second;
         }},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* first = makeBox(L"x", 0, 0, 10, 10);
        GUIWindow* second = makeBox(L"x", 200, 0, 10, 10);
        a->addChild(first, false, true);
        b->addChild(second, false, true);
        a->addRef();  // kept for the next case when a case takes it off the list
        EXPECT_EQ(gui.findWindow(L"x"), first);
        EXPECT_EQ(gui.findWindow(c.name), c.name == std::wstring(L"x") ? first : nullptr);
        GUIWindow* expected = c.change(gui, *a, *b, *first, *second);
        EXPECT_EQ(gui.findWindow(c.name), expected);
        EXPECT_EQ(gui.findWindow(c.name), expected) << "asked again";
        // Back to a and b alone, in that order.
        a->removeAllChildren();
        b->removeAllChildren();
        a->getDrawOptions().layer = 0;
        gui.removeWindow(a);
        gui.removeWindow(b);
        gui.addWindow(a);
        gui.addWindow(b);
        a->release();
        first->release();
        second->release();
        if (expected != first && expected != second && expected) expected->release();
    }
}

// A window destroyed is never an answer: the look-up after it searches the windows anew.
TEST_F(GUISystemTest, AWindowDestroyedIsNoLongerFound) {
    GUIWindow* gone = makeBox(L"weg", 0, 0, 10, 10);
    a->addChild(gone, true, true);
    ASSERT_EQ(gui.findWindow(L"weg"), gone);
    a->removeAllChildren();  // the last reference: destroyed
    EXPECT_EQ(gui.findWindow(L"weg"), nullptr);
    GUIWindow* again = makeBox(L"weg", 0, 0, 10, 10);
    b->addChild(again, true, true);
    EXPECT_EQ(gui.findWindow(L"weg"), again);
}
