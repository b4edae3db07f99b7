// GUI windows drawn through the real device, the engine batcher and the "Sprite" effect: nested
// stencil clipping to window shapes with and without the quality switch, trees that need more
// clipping windows than the stencil has bits, the draw signals, the overlap test, and the state
// block across a lost device.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Sprite.h"
#include "engine/render/TextureManager.h"
#include "port/d3d9/d3d9_port.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiDrawFixture.h"
#include "tests/engine/gui/GuiTestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace {

using namespace Orvex;
using guitest::GuiDrawFixture;

using guitest::kBlue;
using guitest::kGreen;
using guitest::kRed;
constexpr uint32_t kBlack = 0xFF000000;

// Releases the root (and with it the tree) at the end of a test.
struct Tree {
    GUIWindow* root;
    ~Tree() { root->release(); }
};

class GuiDraw : public GuiDrawFixture {
protected:
    // The windows as top-level windows of the GUI system, one frame of it drawn and read back.
    std::vector<uint32_t> guiFrame(std::vector<GUIWindow*> const& windows) {
        GUISystem& gui = GUISystem::instance();
        for (GUIWindow* w : windows) {
            w->addRef();
            gui.addWindow(w);
        }
        IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kClear, 1.0f, 0);
        device->BeginScene();
        gui.draw();
        device->EndScene();
        gui.clear();
        return testsupport::readRenderTarget(device);
    }
    // The same windows each drawn on its own, every one clearing the whole stencil first.
    std::vector<uint32_t> eachAlone(std::vector<GUIWindow*> const& windows) {
        IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kClear, 1.0f, 0);
        device->BeginScene();
        for (GUIWindow* w : windows) w->drawRoot(true);
        device->EndScene();
        return testsupport::readRenderTarget(device);
    }
};

TEST_F(GuiDraw, ChildOutsideItsClippingParentLeavesNoPixelsThere) {
    for (bool quality : {false, true}) {
        GUISystem::setQualityStencil(quality);
        Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
        GUIWindow* parent = makeWindow(L"parent", FRect(10, 10, 60, 60), kRed, true);
        adopt(tree.root, parent);
        adopt(parent, makeWindow(L"child", FRect(30, 30, 100, 80), kBlue));
        auto const px = frame(*tree.root);
        EXPECT_EQ(at(px, 15, 15), kRed);
        EXPECT_EQ(at(px, 50, 50), kBlue) << "inside the parent";
        EXPECT_EQ(count(px, kBlue), 20 * 20) << "only the part inside the parent";
        EXPECT_EQ(at(px, 80, 70), kBlack);
    }
}

// A clipping window that draws nothing itself (a frame around pages of windows) clips by its
// rectangle: every child inside it is drawn, the first as well as the later ones, and nothing
// outside it. (Children are placed relative to the window at 10, 10.)
TEST_F(GuiDraw, AClippingWindowWithoutPictureDrawsEachChildInsideIt) {
    for (bool quality : {false, true}) {
        GUISystem::setQualityStencil(quality);
        Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
        GUIWindow* pages = makeWindow(L"pages", FRect(10, 10, 90, 60), kRed, true);
        pages->getDrawOptions().setTexNormal(nullptr);
        adopt(tree.root, pages);
        adopt(pages, makeWindow(L"first", FRect(10, 10, 30, 30), kBlue));
        adopt(pages, makeWindow(L"second", FRect(40, 10, 60, 30), kGreen));
        adopt(pages, makeWindow(L"beyond", FRect(70, 10, 100, 30), kBlue));
        auto const px = frame(*tree.root);
        EXPECT_EQ(at(px, 25, 25), kBlue) << "the first child; quality " << quality;
        EXPECT_EQ(at(px, 55, 25), kGreen) << "the second child";
        EXPECT_EQ(count(px, kBlue), 20 * 20 + 10 * 20) << "the third only inside the frame";
        EXPECT_EQ(at(px, 100, 25), kBlack);
    }
}

TEST_F(GuiDraw, NestedClippingFollowsEachShapeInsideItsAncestors) {
    for (bool quality : {false, true}) {
        GUISystem::setQualityStencil(quality);
        Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
        // A 64x64 clipping window shaped as a disc, a clipping child poking out of it to the
        // right, and a grandchild covering everything.
        GUIWindow* disc = makeWindow(L"disc", FRect(0, 0, 64, 64), kRed, true);
        GUITextureSet::assignTexture(disc->getDrawOptions().textures.shape,
                                     D3DInterface::getInstance().getTextureManager().findTexture(L"gui_disc_shape"));
        adopt(tree.root, disc);
        GUIWindow* inner = makeWindow(L"inner", FRect(32, 16, 120, 48), kGreen, true);
        adopt(disc, inner);
        adopt(inner, makeWindow(L"cover", FRect(-40, -20, 100, 80), kBlue));
        auto const px = frame(*tree.root);
        EXPECT_EQ(at(px, 1, 1), kBlack) << "the disc's own look is clipped to its shape";
        EXPECT_EQ(at(px, 10, 32), kRed);
        EXPECT_EQ(at(px, 40, 32), kBlue) << "inside the inner window and the disc";
        EXPECT_EQ(at(px, 40, 10), kRed) << "above the inner window: the disc only";
        EXPECT_EQ(at(px, 70, 32), kBlack) << "inside the inner window but outside the disc";
        EXPECT_EQ(count(px, kBlue, 64, 0), 0);
        EXPECT_EQ(count(px, kGreen), 0) << "the cover hides the inner window";
    }
}

TEST_F(GuiDraw, SiblingsShareABitWithoutTheQualitySwitch) {
    struct {
        bool quality;
        int greenInB;
    } const cases[] = {{false, 40 * 40}, {true, 0}};
    for (auto const& c : cases) {
        GUISystem::setQualityStencil(c.quality);
        Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
        GUIWindow* a = makeWindow(L"a", FRect(10, 10, 50, 50), kRed, true);
        adopt(tree.root, a);
        adopt(a, makeWindow(L"a1", FRect(0, 0, 100, 40), kGreen));
        // b writes its shape but draws nothing itself.
        GUIWindow* b = makeWindow(L"b", FRect(70, 10, 110, 50), kRed, true);
        b->getDrawOptions().setTexNormal(nullptr);
        GUITextureSet::assignTexture(b->getDrawOptions().textures.shape,
                                     D3DInterface::getInstance().getTextureManager().findTexture(L"gui_white"));
        adopt(tree.root, b);
        auto const px = frame(*tree.root);
        EXPECT_EQ(count(px, kGreen, 10, 10, 50, 50), 40 * 40);
        EXPECT_EQ(count(px, kGreen, 50, 0, 70, kHeight), 0) << "the gap between the two";
        EXPECT_EQ(count(px, kGreen, 70, 10, 110, 50), c.greenInB) << "quality " << c.quality;
    }
}

TEST_F(GuiDraw, TreesDeeperThanTheStencilClipByRectangleAndKeepOtherBits) {
    // Ten clipping windows nested, each 4 pixels inside the last; the innermost draws a child
    // reaching far beyond it. Depth 8 on has no stencil bit left.
    GUISystem::setQualityStencil(false);
    Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
    GUIWindow* parent = tree.root;
    std::vector<GUIWindow*> chain;
    for (int i = 0; i < 10; ++i) {
        GUIWindow* w = makeWindow(L"level" + std::to_wstring(i), FRect(4, 4, 124 - 8.0f * i, 92 - 8.0f * i),
                                  i % 2 ? kRed : kGreen, true);
        adopt(parent, w);
        chain.push_back(w);
        parent = w;
    }
    adopt(parent, makeWindow(L"spill", FRect(-100, -100, 200, 200), kBlue));
    auto const px = frame(*tree.root);
    for (int i = 0; i < 10; ++i) EXPECT_LE(chain[i]->getStencilBit(), 7) << i;
    EXPECT_EQ(chain[0]->getStencilBit(), 1);
    EXPECT_EQ(chain[6]->getStencilBit(), 7);
    EXPECT_EQ(chain[7]->getStencilBit(), -1) << "out of bits";
    // The innermost window: 48 x 16 at (40, 40).
    FRect const inner = chain[9]->getScreenRect();
    unsigned const l = static_cast<unsigned>(inner.left), t = static_cast<unsigned>(inner.top);
    unsigned const r = static_cast<unsigned>(inner.right), b = static_cast<unsigned>(inner.bottom);
    EXPECT_EQ(count(px, kBlue), static_cast<int>((r - l) * (b - t))) << "the spill only inside the innermost";
    EXPECT_EQ(count(px, kBlue, l, t, r, b), static_cast<int>((r - l) * (b - t)));
    EXPECT_EQ(at(px, 6, 6), kGreen) << "the outer levels keep their look";
    EXPECT_EQ(at(px, 10, 10), kRed);
}

TEST_F(GuiDraw, ManyClippingSiblingsWithTheQualitySwitchNeverTouchEarlierBits) {
    GUISystem::setQualityStencil(true);
    Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
    std::vector<GUIWindow*> strips;
    for (int i = 0; i < 12; ++i) {
        // Twelve strips 8 pixels tall; each one's child spills 4 pixels up over the strip drawn
        // before it.
        GUIWindow* s = makeWindow(L"strip" + std::to_wstring(i), FRect(0, 8.0f * i, 64, 8.0f * i + 8), kRed, true);
        adopt(tree.root, s);
        adopt(s, makeWindow(L"spill" + std::to_wstring(i), FRect(0, -4, 64, 8), i % 2 ? kGreen : kBlue));
        strips.push_back(s);
    }
    auto const px = frame(*tree.root);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(strips[i]->getStencilBit(), i < 7 ? i + 1 : -1) << i;
        uint32_t const own = i % 2 ? kGreen : kBlue;
        EXPECT_EQ(count(px, own, 0, 8 * i, 64, 8 * i + 8), 64 * 8) << "strip " << i << " shows its own child";
    }
    EXPECT_EQ(count(px, kRed), 0);
    EXPECT_EQ(count(px, kBlue) + count(px, kGreen), 64 * 96);
}

TEST_F(GuiDraw, OverlapTestSignalsAndSuppressedDrawing) {
    Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
    GUIWindow* flat = makeWindow(L"flat", FRect(10, 10, 50, 10), kRed);  // zero height
    GUIWindow* outside = makeWindow(L"outside", FRect(128, 0, 140, 20), kRed);  // touches the edge
    GUIWindow* hidden = makeWindow(L"hidden", FRect(60, 0, 100, 40), kRed);
    adopt(tree.root, flat);
    adopt(tree.root, outside);
    adopt(tree.root, hidden);
    adopt(flat, makeWindow(L"flatChild", FRect(0, 10, 20, 30), kGreen));
    adopt(hidden, makeWindow(L"hiddenChild", FRect(50, 50, 60, 60), kBlue));

    struct Listener : sigslot::has_slots<> {
        std::vector<std::pair<std::wstring, bool>> self, children;
        bool suppress = false;
        void before(GUIWindow& w, bool& drawIt, bool&, bool& drawChildren) {
            if (w.getName() == L"hidden") {
                drawIt = !suppress;
                drawChildren = !suppress;
            }
        }
        void onSelf(GUIWindow& w, bool const& drawn) { self.emplace_back(w.getName(), drawn); }
        void onChildren(GUIWindow& w, bool const& drawn) { children.emplace_back(w.getName(), drawn); }
    } listener;
    for (GUIWindow* w : {flat, outside, hidden}) {
        w->beforeDrawSelf.connect(&listener, &Listener::before);
        w->selfDrawn.connect(&listener, &Listener::onSelf);
        w->childrenDrawn.connect(&listener, &Listener::onChildren);
    }
    auto px = frame(*tree.root);
    using Seen = std::vector<std::pair<std::wstring, bool>>;
    EXPECT_EQ(listener.self, (Seen{{L"flat", false}, {L"outside", false}, {L"hidden", true}}));
    EXPECT_EQ(listener.children, listener.self);
    EXPECT_EQ(count(px, kGreen), 20 * 20) << "children of a window that is not drawn still draw";
    EXPECT_EQ(count(px, kRed), 40 * 40);
    EXPECT_EQ(count(px, kBlue), 10 * 10);

    listener.suppress = true;
    listener.self.clear();
    px = frame(*tree.root);
    EXPECT_EQ(listener.self.back(), (std::pair<std::wstring, bool>{L"hidden", true})) << "drawn, though suppressed";
    EXPECT_EQ(count(px, kRed), 0);
    EXPECT_EQ(count(px, kBlue), 0);
}

TEST_F(GuiDraw, DisabledAndHighlightedLooksAndTheWholePixelRectangle) {
    Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
    GUIWindow* w = makeWindow(L"button", FRect(10.6f, 10.6f, 30.6f, 20.6f), 0xFFFFFFFF);
    TextureManager& textures = D3DInterface::getInstance().getTextureManager();
    w->getDrawOptions().setTexNormal(textures.findTexture(L"gui_button"));
    w->getDrawOptions().setTexDisable(textures.findTexture(L"gui_button_disable"));
    w->getDrawOptions().setDrawType(1, 1);
    w->getDrawOptions().drawUseFRect = false;
    adopt(tree.root, w);
    auto px = frame(*tree.root);
    EXPECT_EQ(at(px, 20, 15), 0xFF3060C0u) << "the normal body";
    EXPECT_EQ(at(px, 10, 15), 0xFFE0E0F0u) << "the edge truncated to pixel 10";
    tree.root->getOptions().enabled = false;
    px = frame(*tree.root);
    EXPECT_EQ(at(px, 20, 15), 0xFF808080u) << "a disabled ancestor shows the disabled look";
}

TEST_F(GuiDraw, DrawerRotationTurnsTheWindowAboutItsCentre) {
    Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
    GUIWindow* bar = makeWindow(L"bar", FRect(20, 40, 60, 50), kRed);  // 40 x 10, centre (40, 45)
    adopt(tree.root, bar);
    auto px = frame(*tree.root);
    EXPECT_EQ(count(px, kRed), 40 * 10);
    bar->getDrawer()->rotation = 90.0f;
    px = frame(*tree.root);
    EXPECT_EQ(count(px, kRed, 35, 25, 45, 65), 10 * 40) << "standing upright about its centre";
    EXPECT_EQ(count(px, kRed), 10 * 40);
    // A centre at the left end: the bar swings down from (20, 45).
    bar->getDrawer()->rotationCentre = D3DXVECTOR2(0.0f, 0.5f);
    px = frame(*tree.root);
    EXPECT_EQ(count(px, kRed, 15, 45, 25, 85), 10 * 40);
}

TEST_F(GuiDraw, ActivationFadesTheMarkLookOverTheNormalOne) {
    struct {
        bool crossblend;
        double seconds;  // of a 0.5 s activation blend
        uint32_t colour;
    } const cases[] = {
        // Blue normal, red mark: at half the blend the mark lies at half alpha over the normal.
        {false, 0.0, kBlue},
        {false, 0.25, 0xFF800080},
        {false, 1.0, kRed},
        // Cross-fading: the normal fades out under the mark (0.5 x 0.5 of blue left below it).
        {true, 0.25, 0xFF800040},
        {true, 1.0, kRed},
    };
    // The white picture once more under its own name, for the mark layer.
    TextureManager& textures = D3DInterface::getInstance().getTextureManager();
    XMLNode list = guitest::parse(L"<TEXTURES><TEXTUR2D NAME=\"gui_white_mark\"><FILE FILENAME=\"data\\GUI\\"
                                  L"gui_white.png\"/></TEXTUR2D></TEXTURES>");
    textures.loadTextures(list);
    ASSERT_NE(textures.findTexture(L"gui_white_mark"), nullptr);
    for (auto const& c : cases) {
        Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
        GUIWindow* w = makeWindow(L"button", FRect(10, 10, 30, 30), 0xFFFFFFFF);
        w->getDrawOptions().setTexMark(textures.findTexture(L"gui_white_mark"));
        w->getDrawOptions().activeBlend = 0.5;
        w->getDrawOptions().crossblend = c.crossblend;
        adopt(tree.root, w);
        // The colours come from two drawers' worth of modulation: normal blue, mark red.
        struct TwoColours : GUIWindowDrawer {
            void draw(GUIWindow& window, FRect const& rect) override {
                std::vector<GUIDrawLayer> layers;
                planLayers(window.getDrawOptions(), {1.0, true, window.getBlendState().activationBlend}, layers);
                for (GUIDrawLayer& l : layers)
                    l.colour = (l.colour & 0xFF000000u) | (l.texture == window.getDrawOptions().textures.mark ? 0xFF0000u
                                                                                                          : 0x0000FFu);
                submitLayers(*guiSprite(), layers, rect);
            }
        };
        w->setDrawer(new TwoColours());
        w->setActive(true, nullptr);
        if (c.seconds > 0.0) w->update(c.seconds);
        auto const px = frame(*tree.root);
        uint32_t const got = at(px, 20, 20);
        for (int shift : {0, 8, 16}) {
            int const g = static_cast<int>((got >> shift) & 0xFF);
            int const want = static_cast<int>((c.colour >> shift) & 0xFF);
            EXPECT_NEAR(g, want, 2) << c.crossblend << " " << c.seconds << " channel " << shift;
        }
        w->setActive(false, nullptr);
    }
}

// The top-level windows of one frame clear only what the ones before them wrote into the stencil;
// every window must still see it as if it had cleared it all: the same pixels as drawing each on
// its own. Clipping windows are red ("a"), green ("b"), and their children, covering the screen,
// blue and yellow: the later window's children must not show through the earlier one's shape.
TEST_F(GuiDraw, TopLevelWindowsOfOneFrameSeeTheStencilAsIfEachClearedItAll) {
    constexpr uint32_t kYellow = 0xFFFFFF00;
    struct StencilWriter : sigslot::has_slots<> {
        void wipe(GUIWindow&, bool const&) {
            D3DInterface::getInstance().getDevice()->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0);
        }
    } writer;
    // A clipping window at r whose child covers the screen; r is relative to a parent at `parent`.
    auto clipper = [](std::wstring const& name, FRect const& r, uint32_t colour, uint32_t childColour,
                      D3DXVECTOR2 parent = D3DXVECTOR2(0.0f, 0.0f)) {
        GUIWindow* w = makeWindow(name, r, colour, true);
        float const x = parent.x + r.left, y = parent.y + r.top;
        adopt(w, makeWindow(name + L"_cover", FRect(-x, -y, kWidth - x, kHeight - y), childColour));
        return w;
    };
    auto clamped = [](GUIWindow* w) {
        dress(w, FRect(20, 20, 28, 28), kRed, true)->getDrawOptions().drawType = GUIDrawType{SDP_CLAMP, SDP_CLAMP};
        return w;
    };
    FRect const far(100, 80, 120, 90);
    struct Case {
        char const* what;
        std::function<std::vector<GUIWindow*>()> windows;
        std::vector<std::pair<std::pair<unsigned, unsigned>, uint32_t>> pixels;
    };
    Case const cases[] = {
        {"two overlapping clipping windows",
         [&] {
             return std::vector<GUIWindow*>{clipper(L"a", FRect(10, 10, 60, 60), kRed, kBlue),
                                            clipper(L"b", FRect(40, 30, 100, 80), kGreen, kYellow)};
         },
         {{{20, 20}, kBlue}, {{50, 50}, kYellow}, {{90, 70}, kYellow}, {{20, 70}, kBlack}, {{110, 20}, kBlack}}},
        {"a window that does not clip between them",
         [&] {
             return std::vector<GUIWindow*>{clipper(L"a", FRect(10, 10, 60, 60), kRed, kBlue),
                                            makeWindow(L"plain", FRect(100, 5, 120, 15), kRed),
                                            clipper(L"b", FRect(40, 30, 100, 80), kGreen, kYellow)};
         },
         {{{20, 20}, kBlue}, {{50, 50}, kYellow}, {{110, 10}, kRed}}},
        {"a clipping child far outside its top-level window",
         [&] {
             GUIWindow* small = makeWindow(L"small", FRect(100, 80, 110, 90), kRed);
             adopt(small, clipper(L"far", FRect(-60, -50, -35, -25), kGreen, kYellow, {100, 80}));  // 40..65, 30..55
             return std::vector<GUIWindow*>{clipper(L"a", FRect(10, 10, 60, 60), kRed, kBlue), small};
         },
         {{{20, 20}, kBlue}, {{50, 40}, kYellow}, {{30, 50}, kBlue}}},
        {"a turned clip shape reaching beyond its rectangle",
         [&] {
             GUIWindow* turned = clipper(L"turned", FRect(30, 30, 60, 60), kRed, kBlue);
             turned->getDrawer()->rotation = 45.0f;  // a diamond reaching 45 +- 21
             return std::vector<GUIWindow*>{turned, clipper(L"b", FRect(0, 0, 128, 27), kGreen, kYellow),
                                            clipper(L"c", FRect(70, 0, 128, 96), kGreen, kYellow)};
         },
         {{{45, 26}, kYellow}, {{45, 28}, kBlue}, {{64, 45}, kBlue}, {{80, 45}, kYellow}}},
        // A shape reaching past its window: its 16x16 picture at natural size (CLAMP) on an 8x8
        // window, plain or a progress bar; b's child must not show in the overhang (17, 24).
        {"a clip picture at natural size overhanging its window",
         [&] { return std::vector<GUIWindow*>{clamped(new GUIWindow(L"a")), clipper(L"b", far, kGreen, kYellow)}; },
         {{{17, 24}, kRed}, {{24, 24}, kRed}, {{110, 85}, kYellow}, {{60, 60}, kBlack}}},
        {"a progress bar whose look overhangs it",
         [&] {
             return std::vector<GUIWindow*>{clamped(guitest::makeWindow(L"<WINDOW NAME=\"bar\" TYPE=\"PROGRESSBAR\"/>")),
                                            clipper(L"b", far, kGreen, kYellow)};
         },
         {{{17, 24}, kRed}, {{24, 24}, kRed}, {{110, 85}, kYellow}, {{60, 60}, kBlack}}},
        {"another writer of the stencil between two windows",
         [&] {
             GUIWindow* a = makeWindow(L"a", FRect(10, 10, 60, 60), kRed);
             a->selfDrawn.connect(&writer, &StencilWriter::wipe);
             return std::vector<GUIWindow*>{a, makeWindow(L"b", FRect(40, 30, 100, 80), kGreen)};
         },
         {{{50, 50}, kGreen}, {{90, 70}, kGreen}}},
    };
    for (Case const& c : cases) {
        std::vector<GUIWindow*> const windows = c.windows();
        auto const together = guiFrame(windows);
        auto const alone = eachAlone(windows);
        EXPECT_TRUE(together == alone) << c.what;
        for (auto const& [where, colour] : c.pixels)
            EXPECT_EQ(at(together, where.first, where.second), colour) << c.what << " at " << where.first << ","
                                                                        << where.second;
        for (GUIWindow* w : windows) w->release();
    }
}

// The cost: a frame of many top-level windows clears the stencil once, plus once for each
// window after one that wrote a clip shape.
TEST_F(GuiDraw, AFrameOfManyTopLevelWindowsClearsTheStencilOnce) {
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    for (bool clipping : {false, true}) {
        std::vector<GUIWindow*> windows;
        for (int i = 0; i < 50; ++i) {
            float const x = static_cast<float>(i % 10) * 12.0f, y = static_cast<float>(i / 10) * 12.0f;
            windows.push_back(makeWindow(L"w" + std::to_wstring(i), FRect(x, y, x + 10, y + 10), kRed,
                                         clipping && i % 5 == 2));
        }
        uint64_t changes = 0;
        struct Counter : sigslot::has_slots<> {
            explicit Counter(uint64_t& into) : changes(into) {}
            uint64_t& changes;
            bool first = true;
            void count(GUIWindow&, bool const&) {
                if (first) changes = port::d3d9::stencilChanges(D3DInterface::getInstance().getDevice());
                first = false;
            }
        } counter(changes);
        // Counted from the first window's drawing, after the frame's whole clear.
        windows.front()->selfDrawn.connect(&counter, &Counter::count);
        GUISystem& gui = GUISystem::instance();
        for (GUIWindow* w : windows) gui.addWindow(w);
        device->BeginScene();
        gui.draw();
        device->EndScene();
        uint64_t const after = port::d3d9::stencilChanges(device);
        // Each of the ten clip shapes is one draw and one clear of its place after it.
        EXPECT_EQ(after - changes, clipping ? 10u * 2u : 0u) << "clipping " << clipping;
        gui.clear();
    }
}

TEST_F(GuiDraw, StateBlocksAreLetGoOnALostDeviceAndMadeAgain) {
    Tree tree{makeWindow(L"screen", FRect(0, 0, 128, 96), kBlack)};
    GUIWindow* parent = makeWindow(L"parent", FRect(10, 10, 60, 60), kRed, true);
    adopt(tree.root, parent);
    adopt(parent, makeWindow(L"child", FRect(30, 30, 100, 80), kBlue));
    frame(*tree.root);
    ASSERT_NE(parent->getStateBlock(), nullptr);

    // A mode change resets the device: it fails while any state block is alive.
    D3DInterface& d3d = D3DInterface::getInstance();
    ASSERT_TRUE(d3d.setDisplayMode(D3DDISPLAYMODE{kWidth, kHeight, 60, D3DFMT_X8R8G8B8}, false, false, nullptr, true));
    EXPECT_EQ(parent->getStateBlock(), nullptr);
    auto const px = frame(*tree.root);
    EXPECT_NE(parent->getStateBlock(), nullptr);
    EXPECT_EQ(count(px, kBlue), 20 * 20);
    EXPECT_EQ(at(px, 80, 70), kBlack);
}

}  // namespace
