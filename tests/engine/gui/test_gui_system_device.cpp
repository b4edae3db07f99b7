// The GUI with the engine's device open: the sample screens drawn and hit where their pictures
// are opaque, the hit test's texture check (alpha under the pointer, a zero-sized window), and
// the GUI system's draw walking a list that window callbacks change.
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiTestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

using Orvex::GUIWindow;
using guitest::GUIFixture;
using guitest::makeBox;

namespace {

class GUIDevice : public GUIFixture {
protected:
    void SetUp() override {
        GUIFixture::SetUp();
        ASSERT_TRUE(openDevice());
    }
    void TearDown() override {
        gui.clear();
        if (texture) texture->release();
        closeDevice();
        GUIFixture::TearDown();
    }

    // 4 x 4 texels: the left half opaque, the right half clear.
    Orvex::Texture2D* halfOpaque() {
        texture = new Orvex::Texture2D(L"halb");
        EXPECT_TRUE(texture->create(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
        D3DLOCKED_RECT locked{};
        RECT const all{0, 0, 4, 4};
        EXPECT_TRUE(texture->lockRect(0, locked, all, 0));
        for (Orvex::u32 y = 0; y < 4; ++y)
            for (Orvex::u32 x = 0; x < 4; ++x) texture->setPixel(D3DXCOLOR(1, 1, 1, x < 2 ? 1.0f : 0.0f), x, y);
        texture->unlockRect(0);
        return texture;
    }

    Orvex::Texture2D* texture = nullptr;
};

}  // namespace

// The texel under the pointer decides; a window of zero width maps every point to the first
// texel column (no 0/0).
TEST_F(GUIDevice, TextureCheckReadsTheTexelUnderThePointer) {
    struct Case {
        char const* what;
        float w;
        float x;
        bool hit;
    };
    Case const cases[] = {
        {"opaque half", 40, 15, true},
        {"clear half", 40, 45, false},
        {"right edge", 40, 50, false},
        {"zero width", 0, 10, true},
    };
    Orvex::Texture2D* tex = halfOpaque();
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        GUIWindow* w = makeBox(L"form", 10, 10, c.w, 40);
        w->getOptions().useTextureCheck = true;
        w->getDrawOptions().setTexNormal(tex);
        GUIWindow* hit = w->hitTest(D3DXVECTOR2(c.x, 20), gui.getScreenRect(), Orvex::GUISystem::kHitInput);
        EXPECT_EQ(hit == w, c.hit);
        w->release();
    }
}

// A slot of a window's draw signal removes the other top-level window and releases it: the
// draw walk passes over it and reaches no released window.
TEST_F(GUIDevice, DrawingSurvivesCallbacksThatChangeTheList) {
    GUIWindow* a = makeBox(L"a", 0, 0, 100, 100);
    GUIWindow* b = makeBox(L"b", 200, 0, 100, 100);
    gui.addWindow(a);
    gui.addWindow(b);
    struct Meddler : sigslot::has_slots<> {
        Orvex::GUISystem* gui = nullptr;
        GUIWindow* victim = nullptr;
        int drawnB = 0;
        void onDrawn(GUIWindow& w, bool const&) {
            if (w.getName() == L"b") ++drawnB;
            if (!victim) return;
            gui->removeWindow(victim);
            victim->release();
            victim = nullptr;
            w.bringToFront();
        }
    } meddler;
    meddler.gui = &gui;
    meddler.victim = b;
    b->selfDrawn.connect(&meddler, &Meddler::onDrawn);
    a->selfDrawn.connect(&meddler, &Meddler::onDrawn);
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    device->BeginScene();
    gui.draw();
    device->EndScene();
    EXPECT_EQ(meddler.drawnB, 0);
    EXPECT_NE(gui.getSprite(), nullptr);
    std::vector<GUIWindow*> top;
    gui.getWindows(top);
    EXPECT_EQ(top, std::vector<GUIWindow*>{a});
    a->release();
}

// The sample screens with the panel shown: each window's picture in its colour at its place,
// nothing where no window is, and the disc taking the pointer only where it is opaque.
TEST_F(GUIDevice, TheSampleScreenDrawsAndHitsItsPictures) {
    guitest::loadFile(L"tests\\engine\\gui\\data\\vorlagen.gui");
    guitest::loadFile(L"tests\\engine\\gui\\data\\fenster.gui");
    GUIWindow* panel = gui.findWindow(L"hauptmenue");
    ASSERT_NE(panel, nullptr);
    panel->jumpToGoal(L"AN");
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    gui.draw();
    device->EndScene();
    std::vector<uint32_t> const pixels = testsupport::readRenderTarget(device);
    ASSERT_EQ(pixels.size(), std::size_t{kScreenW} * kScreenH);
    auto at = [&](unsigned x, unsigned y) { return pixels[y * kScreenW + x]; };
    struct Probe {
        char const* what;
        unsigned x, y;
        int r, g, b;
    };
    Probe const probes[] = {
        {"note, white tinted yellow", 730, 560, 0xFF, 0xF0, 0x80},
        {"disc centre", 52, 52, 255, 255, 255},
        {"disc corner (clear)", 21, 21, 0, 0, 0},
        {"start button, bright post colours", 300, 190, 0x30, 0x54, 0x60},
        {"end button, template colours left out", 300, 250, 0x30, 0x60, 0xC0},
        {"nothing", 10, 300, 0, 0, 0},
    };
    for (Probe const& p : probes) {
        SCOPED_TRACE(p.what);
        EXPECT_TRUE(guitest::nearRgb(at(p.x, p.y), uint32_t(p.r << 16 | p.g << 8 | p.b), 3)) << std::hex << at(p.x, p.y);
    }
    GUIWindow* disc = gui.findWindow(L"scheibe");
    EXPECT_EQ(gui.windowAt(D3DXVECTOR2(52, 52), Orvex::GUISystem::kHitInput), disc);
    EXPECT_EQ(gui.windowAt(D3DXVECTOR2(21, 21), Orvex::GUISystem::kHitInput), nullptr);
}
