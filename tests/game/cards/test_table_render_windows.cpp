// The table renderer on its game windows: a drawn main window draws the whole table, or only
// piles and cards while a background window draws the background; a window drawn with false
// draws nothing; window and game points map into each other.
#include <gtest/gtest.h>

#include "engine/gui/GUIWindow.h"
#include "game/cards/TableRenderer.h"
#include "tests/game/cards/TableRenderDevice.h"

namespace Solitaire {
namespace {

using styletest::kClear;
using styletest::kHeight;
using styletest::kWidth;

class RendererWindowTest : public styletest::TableRenderTest {
protected:
    void SetUp() override {
        TableRenderTest::SetUp();
        deal();
        main = new Orvex::GUIWindow(L"TISCH");
        back = new Orvex::GUIWindow(L"HINTERGRUND");
        main->setPixelRect(0, 0, kWidth, kHeight);
        back->setPixelRect(0, 0, kWidth, kHeight);
        renderer.setViewport(RECT{0, 0, static_cast<LONG>(kWidth), static_cast<LONG>(kHeight)});
    }
    void TearDown() override {
        renderer.setWindows(nullptr, nullptr);
        main->release();
        back->release();
        TableRenderTest::TearDown();
    }
    std::vector<uint32_t> emit(Orvex::GUIWindow* window, bool drawn) {
        return draw([&] { window->selfDrawn.emit(*window, drawn); });
    }

    SolitaireRenderer renderer{&sprite};
    Orvex::GUIWindow* main = nullptr;
    Orvex::GUIWindow* back = nullptr;
};

TEST_F(RendererWindowTest, TheBackgroundWindowTakesTheBackgroundFromTheMainWindow) {
    std::vector<uint32_t> const whole = drawFrame();
    std::vector<uint32_t> const table = drawFrame(kLayerCards | kLayerPiles);
    std::vector<uint32_t> const background = drawFrame(kLayerBackground);
    ASSERT_NE(whole, table);

    renderer.setWindows(main, nullptr);
    EXPECT_EQ(emit(main, true), whole);
    std::vector<uint32_t> const skipped = emit(main, false);
    EXPECT_EQ(std::count(skipped.begin(), skipped.end(), kClear), static_cast<long>(skipped.size()));

    renderer.setWindows(main, back);
    EXPECT_EQ(emit(main, true), table);
    EXPECT_EQ(emit(back, true), background);
    // Dropping the background window gives the main window the whole table again.
    renderer.setWindows(main, nullptr);
    EXPECT_EQ(emit(main, true), whole);
    EXPECT_EQ(emit(back, true), std::vector<uint32_t>(whole.size(), kClear));
}

TEST_F(RendererWindowTest, WindowAndGamePointsInvertEachOther) {
    EXPECT_EQ(renderer.toWindowPoint(D3DXVECTOR2(5, 5)), D3DXVECTOR2(0, 0));
    EXPECT_EQ(renderer.toGamePoint(D3DXVECTOR2(5, 5)), D3DXVECTOR2(0, 0));
    main->setPixelRect(16, 8, 64, 48);
    renderer.setWindows(main, nullptr);
    renderer.setViewport(RECT{0, 0, 1024, 768});
    Orvex::FRect const w = renderer.getWindowRect();
    ASSERT_EQ(w.right - w.left, 64.0f);
    for (D3DXVECTOR2 const p : {D3DXVECTOR2(0, 0), D3DXVECTOR2(16, 8), D3DXVECTOR2(80, 56), D3DXVECTOR2(-30, 900)}) {
        D3DXVECTOR2 const there = renderer.toWindowPoint(p);
        D3DXVECTOR2 const back = renderer.toGamePoint(there);
        EXPECT_NEAR(back.x, p.x, 1e-3f);
        EXPECT_NEAR(back.y, p.y, 1e-3f);
    }
    // The window's left and top stay put, the viewport's extent becomes the window's.
    EXPECT_EQ(renderer.toWindowPoint(D3DXVECTOR2(16 + 1024, 8 + 768)), D3DXVECTOR2(80, 56));
    // An empty viewport or window scales by nothing.
    renderer.setViewport(RECT{0, 0, 0, 0});
    EXPECT_EQ(renderer.toWindowPoint(D3DXVECTOR2(7, 7)), D3DXVECTOR2(0, 0));
    main->setPixelRect(16, 8, 0, 0);
    renderer.setViewport(RECT{0, 0, 1024, 768});
    EXPECT_EQ(renderer.toGamePoint(D3DXVECTOR2(7, 7)), D3DXVECTOR2(0, 0));
}

}  // namespace
}  // namespace Solitaire
