// GUI window children and z-order: the tree stays a tree (no cycles, no doubles, no parent
// pointers into released or destroyed windows, no signals from a half-destroyed window), the
// signal order of adding and moving children, and the layer order of siblings.
#include "tests/engine/gui/GUIFixture.h"

using Orvex::GUIWindow;
using guitest::GUIFixture;
using guitest::makeBox;
using guitest::windowNames;
using guitest::Recorder;

namespace {

GUIWindow* layeredBox(std::wstring const& name, Orvex::s32 layer = 0) {
    GUIWindow* w = makeBox(name, 0, 0, 10, 10);
    w->getDrawOptions().layer = layer;
    return w;
}

class GUIWindowTree : public GUIFixture {};

}  // namespace

// a -> b -> c; the cases add a window somewhere in this chain.
TEST_F(GUIWindowTree, AddingRefusesCyclesAndDoublesAndLeavesTheTreeAsItWas) {
    struct Case {
        char const* what;
        int parent;  // index into {a, b, c}
        int child;
        bool accepted;
    };
    Case const cases[] = {
        {"a window under itself", 0, 0, false},
        {"a root under its grandchild", 2, 0, false},
        {"a parent under its child", 2, 1, false},
        {"a child a second time", 0, 1, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* w[3] = {layeredBox(L"a"), layeredBox(L"b"), layeredBox(L"c")};
        w[0]->addChild(w[1], false, true);
        w[1]->addChild(w[2], false, true);
        Recorder rec;
        rec.watch(*w[c.parent]);
        EXPECT_EQ(w[c.parent]->addChild(w[c.child], false, true), c.accepted);
        EXPECT_EQ(rec.joined(), L"childAdding " + w[c.child]->getName() + L"; childAdded " + w[c.child]->getName() + L" 0");
        EXPECT_EQ(w[0]->getParent(), nullptr);
        EXPECT_EQ(w[1]->getParent(), w[0]);
        EXPECT_EQ(w[2]->getParent(), w[1]);
        EXPECT_EQ(w[0]->getChildren().size(), 1u);
        EXPECT_EQ(w[1]->getChildren().size(), 1u);
        EXPECT_EQ(w[2]->getChildren().size(), 0u);
        EXPECT_EQ(w[1]->getRefCount(), 2);
        for (GUIWindow* x : w) x->release();
    }
    GUIWindow* a = layeredBox(L"a");
    EXPECT_TRUE(a->addChild(nullptr, false, true));
    a->release();
}

TEST_F(GUIWindowTree, SetParentRefusesADescendant) {
    GUIWindow* a = layeredBox(L"a");
    GUIWindow* b = layeredBox(L"b");
    a->addChild(b, true, true);
    a->setParent(b);
    EXPECT_EQ(a->getParent(), nullptr);
    EXPECT_EQ(guitest::loggedCount({L"\"a\"", L"\"b\"", L"below"}), 1);
    a->release();
}

// A window hung below another by setParent alone forgets it when it is destroyed.
TEST_F(GUIWindowTree, AParentSetAloneIsForgottenWhenItGoes) {
    GUIWindow* host = layeredBox(L"wirt");
    GUIWindow* content = layeredBox(L"inhalt");
    content->setParent(host);
    EXPECT_EQ(content->getParent(), host);
    EXPECT_TRUE(host->getChildren().empty());
    host->release();
    EXPECT_EQ(content->getParent(), nullptr);
    content->updateRect(false, false);
    EXPECT_TRUE(content->isEnabledInTree());
    content->release();
}

// Moving a child from A to B: B's adding, A's removing and removed, then B's added; the child's
// count is unchanged.
TEST_F(GUIWindowTree, MovingAChildBetweenParentsSignalsInOrder) {
    GUIWindow* a = layeredBox(L"A");
    GUIWindow* b = layeredBox(L"B");
    GUIWindow* child = layeredBox(L"kind");
    a->addChild(child, false, true);
    int const count = child->getRefCount();
    Recorder rec;
    rec.watch(*a);
    rec.watch(*b);
    EXPECT_TRUE(b->addChild(child, false, true));
    EXPECT_EQ(rec.joined(), L"childAdding kind; childRemoving kind; childRemoved kind 1; childAdded kind 1");
    EXPECT_EQ(child->getRefCount(), count);
    EXPECT_EQ(child->getParent(), b);
    EXPECT_TRUE(a->getChildren().empty());
    child->release();
    a->release();
    b->release();
}

// The survivors forget the parent that let them go; a layer change of a survivor afterwards
// must not reach the gone parent (the sanitizer would see it).
TEST_F(GUIWindowTree, ReleasedChildrenKeepNoPointerToTheirFormerParent) {
    for (bool destroyParent : {false, true}) {
        SCOPED_TRACE(destroyParent ? "parent destroyed" : "removeAllChildren");
        GUIWindow* parent = layeredBox(L"eltern");
        GUIWindow* kept = layeredBox(L"bleibt");
        parent->addChild(kept, false, true);
        Recorder rec;
        rec.watch(*parent);
        if (destroyParent) {
            parent->release();
        } else {
            parent->removeAllChildren();
            EXPECT_TRUE(rec.lines.empty());
            parent->release();
        }
        EXPECT_EQ(kept->getParent(), nullptr);
        EXPECT_EQ(kept->getRefCount(), 1);
        kept->layerChanged.emit();
        kept->updateRect(false, false);
        kept->release();
    }
}

// The destructor's child removal reaches no slot: the window is half gone by then.
TEST_F(GUIWindowTree, ADestroyedWindowEmitsNothingWhileItGoes) {
    GUIWindow* parent = layeredBox(L"eltern");
    parent->addChild(layeredBox(L"eins"), true, true);
    parent->addChild(layeredBox(L"zwei"), true, true);
    Recorder rec;
    rec.watch(*parent);
    parent->release();
    EXPECT_EQ(rec.joined(), L"");
}

TEST_F(GUIWindowTree, RemovingReportsWhetherTheChildWasThere) {
    GUIWindow* parent = layeredBox(L"eltern");
    GUIWindow* stranger = layeredBox(L"fremd");
    Recorder rec;
    rec.watch(*parent);
    EXPECT_FALSE(parent->removeChild(nullptr));
    EXPECT_TRUE(rec.lines.empty());
    EXPECT_FALSE(parent->removeChild(stranger));
    EXPECT_EQ(rec.joined(), L"childRemoving fremd; childRemoved fremd 0");
    stranger->release();
    parent->release();
}

// Children stay stably sorted by layer (compared unsigned) and move within their layer's run.
TEST_F(GUIWindowTree, ChildrenKeepLayerOrder) {
    struct Case {
        char const* what;
        std::vector<Orvex::s32> layers;  // children c0, c1, ... appended in this order
        char op;                         // 'f' bring child to front, 'b' send to back, 'p' prepend a new layer-0
        int index;
        wchar_t const* order;
    };
    Case const cases[] = {
        {"front within layer 0", {0, 0, 1}, 'f', 0, L"c1 c0 c2"},
        {"back within layer 1", {0, 1, 1}, 'b', 2, L"c0 c2 c1"},
        {"prepended layer 0 goes first", {0, 1}, 'p', 0, L"neu c0 c1"},
        {"layer -1 after layer 1000", {-1, 1000, 0}, 'f', 1, L"c2 c1 c0"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* parent = layeredBox(L"eltern");
        std::vector<GUIWindow*> kids;
        for (std::size_t i = 0; i < c.layers.size(); ++i) {
            kids.push_back(layeredBox(L"c" + std::to_wstring(i), c.layers[i]));
            parent->addChild(kids.back(), true, true);
        }
        if (c.op == 'f') parent->bringChildToFront(kids[c.index]);
        if (c.op == 'b') parent->sendChildToBack(kids[c.index]);
        if (c.op == 'p') parent->addChild(layeredBox(L"neu"), true, false);
        EXPECT_EQ(windowNames(parent->getChildren()), c.order);
        parent->release();
    }
}

// bringToFront climbs through parents that allow it, up to the GUI system's list. A child that
// its parent's layout places (a button of a list) keeps its place among the children, which is
// its place in the list; the parent still comes to the front.
TEST_F(GUIWindowTree, BringingToFrontClimbsAsTheOptionsAllow) {
    struct Case {
        char const* what;
        bool canBring;
        bool bringParent;
        wchar_t const* layout;  // the parent's layout manager and the children's side, or null
        wchar_t const* children;
        wchar_t const* top;
    };
    Case const cases[] = {
        {"plain", true, false, nullptr, L"b a", L"y x"},
        {"not allowed", false, false, nullptr, L"a b", L"x y"},
        {"parent instead", true, true, nullptr, L"a b", L"y x"},
        {"laid out", true, false, L"TOP", L"a b", L"y x"},
        {"in a layout without a side", true, false, L"NULL", L"b a", L"y x"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* x = layeredBox(L"x");
        GUIWindow* y = layeredBox(L"y");
        gui.addWindow(x);
        gui.addWindow(y);
        GUIWindow* a = layeredBox(L"a");
        x->addChild(a, true, true);
        x->addChild(layeredBox(L"b"), true, true);
        a->getOptions().canBringToFront = c.canBring;
        a->getOptions().canBringParentToFront = c.bringParent;
        if (c.layout) {
            x->getOptions().createLayoutManager(L"DEFAULT");
            for (GUIWindow* child : x->getChildren()) child->getOptions().layoutParam = c.layout;
        }
        a->bringToFront();
        EXPECT_EQ(windowNames(x->getChildren()), c.children);
        std::vector<GUIWindow*> top;
        gui.getWindows(top);
        EXPECT_EQ(windowNames(top), c.top);
        gui.clear();
        x->release();
        y->release();
    }
}

TEST_F(GUIWindowTree, QueriesWalkTheTreeDepthFirst) {
    GUIWindow* root = layeredBox(L"wurzel");
    GUIWindow* a = layeredBox(L"a");
    GUIWindow* b = layeredBox(L"b");
    root->addChild(a, true, true);
    root->addChild(b, true, true);
    a->addChild(layeredBox(L"a1"), true, true);
    b->addChild(layeredBox(L"b1"), true, true);
    a->setUserId(L"knopf");
    b->getChildren()[0]->setUserId(L"knopf");
    std::vector<GUIWindow*> out;
    root->collectDescendants(out);
    EXPECT_EQ(windowNames(out), L"a a1 b b1");
    out.clear();
    root->collectByUserId(L"knopf", out);
    EXPECT_EQ(windowNames(out), L"a b1");
    out.clear();
    root->collectByUserId(L"wurzel", out);
    EXPECT_EQ(windowNames(out), L"wurzel");
    EXPECT_EQ(root->findChild(L"wurzel"), root);
    EXPECT_EQ(root->findChild(L"b1"), b->getChildren()[0]);
    EXPECT_EQ(root->findChild(L"nichts"), nullptr);
    root->release();
}

// A copy has the look but neither children nor parent nor connections.
TEST_F(GUIWindowTree, ACopyStandsAlone) {
    GUIWindow* root = layeredBox(L"wurzel");
    GUIWindow* child = layeredBox(L"kind");
    root->addChild(child, true, true);
    Recorder rec;
    rec.watch(*child);
    GUIWindow* copy = child->clone();
    EXPECT_EQ(copy->getParent(), nullptr);
    EXPECT_TRUE(copy->getChildren().empty());
    EXPECT_EQ(copy->getName(), L"kind");
    EXPECT_EQ(copy->getRect(), child->getRect());
    copy->setActive(true, nullptr);
    copy->setActive(false, nullptr);
    EXPECT_TRUE(rec.lines.empty());
    GUIWindow* rootCopy = root->clone();
    EXPECT_TRUE(rootCopy->getChildren().empty());
    copy->release();
    rootCopy->release();
    root->release();
}
