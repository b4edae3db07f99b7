// The table drawn into the renderer's texture target and shown in its main window: the same
// pixels as drawn directly (through the game's own batcher and "Sprite" effect, linear
// filtering, the texture shown 1:1); the target is made anew only when the state or the
// viewport's size changes.
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/RenderToTexture.h"
#include "engine/render/Sprite.h"
#include "game/cards/TableRenderer.h"
#include "port/win32/win32_paths.h"
#include "tests/game/cards/TableRenderDevice.h"
#include "tests/support/TestSupport.h"

namespace Solitaire {
namespace {

using styletest::kClear;
using styletest::kHeight;
using styletest::kWidth;

int differing(std::vector<uint32_t> const& a, std::vector<uint32_t> const& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) count += a[i] != b[i];
    return count;
}

class RendererTargetTest : public styletest::TableRenderTest {
protected:
    void SetUp() override {
        TableRenderTest::SetUp();
        Orvex::Effect::useCompiledCache = 0;
        Orvex::XMLNode definition;
        ASSERT_TRUE(definition.loadFromText(L"<EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" +
                                            port::windowsPath(testsupport::sourceDir().string()) +
                                            L"\\data\\FX\\sprite.fx\" /></EFFECT>"));
        effect = new Orvex::Effect(false);
        ASSERT_TRUE(effect->load(definition));
        ASSERT_TRUE(batcher.create());
        batcher.setEffect(effect);
        main = new Orvex::GUIWindow(L"I_DRAW");
        main->setPixelRect(0, 0, kWidth, kHeight);
        renderer.setWindows(main, nullptr);
        renderer.setViewport(RECT{0, 0, static_cast<LONG>(kWidth), static_cast<LONG>(kHeight)});
    }
    void TearDown() override {
        renderer.setWindows(nullptr, nullptr);
        renderer.setRenderToTexture(false);
        main->release();
        batcher.setEffect(nullptr);
        if (effect) effect->release();
        Orvex::Effect::useCompiledCache = 1;
        TableRenderTest::TearDown();
    }
    // A game frame: the layer mask set before the scene (redrawing the target), then the main
    // window drawn inside the GUI's sprite batch.
    std::vector<uint32_t> gameFrame() {
        renderer.setRenderFrames(-1);
        return windowFrame();
    }
    std::vector<uint32_t> windowFrame() {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0);
        EXPECT_TRUE(batcher.Begin(D3DXSPRITE_ALPHABLEND, nullptr));
        main->selfDrawn.emit(*main, true);
        batcher.End();
        return testsupport::readRenderTarget(device());
    }

    Orvex::Effect* effect = nullptr;
    Orvex::Sprite batcher;
    SolitaireRenderer renderer{&batcher, &camera};
    Orvex::GUIWindow* main = nullptr;
};

TEST_F(RendererTargetTest, TheTableThroughTheTextureIsTheTableDrawnDirectly) {
    deal();
    std::vector<uint32_t> const direct = gameFrame();
    // Cards, backs and the background all there: the frame is no flat colour.
    ASSERT_GT(std::count_if(direct.begin(), direct.end(), [](uint32_t c) { return styletest::bluish(c); }), 20);
    renderer.setRenderToTexture(true);
    ASSERT_NE(renderer.getRenderTarget(), nullptr);
    ASSERT_TRUE(renderer.getRenderTarget()->isValid());
    // Without the target's coverage alpha some 1,700 pixels at card edges come out darker.
    EXPECT_EQ(differing(gameFrame(), direct), 0);
    // A device reset makes the target anew: every layer, drawn again at once.
    renderer.setRenderFrames(kLayerBackground);
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    ASSERT_TRUE(d3d.setDisplayMode(d3d.getDisplayMode(), false, false, nullptr, true));
    EXPECT_EQ(renderer.getRenderFrames(), -1);
    EXPECT_EQ(differing(windowFrame(), direct), 0);
    // A redraw asked for inside the batch, which this batcher cannot set aside, keeps the last
    // picture instead of leaving the target cleared; the window shows it.
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, kClear, 1.0f, 0);
    batcher.Begin(D3DXSPRITE_ALPHABLEND, nullptr);
    renderer.setRenderFrames(-1);
    main->selfDrawn.emit(*main, true);
    batcher.End();
    EXPECT_EQ(differing(testsupport::readRenderTarget(device()), direct), 0);
}

TEST_F(RendererTargetTest, TheTargetIsMadeAnewOnlyWhenStateOrSizeChange) {
    renderer.setRenderToTexture(true);
    Orvex::RenderToTexture* first = renderer.getRenderTarget();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getWidth(), kWidth);
    renderer.setRenderToTexture(true);
    renderer.setViewport(RECT{0, 0, static_cast<LONG>(kWidth), static_cast<LONG>(kHeight)}, true);
    renderer.setRenderFrames(5);
    EXPECT_EQ(renderer.getRenderTarget(), first);
    // Another size: a target of that size (the old one would be drawn clipped or stretched).
    renderer.setViewport(RECT{10, 10, 74, 42});
    ASSERT_NE(renderer.getRenderTarget(), nullptr);
    EXPECT_EQ(renderer.getRenderTarget()->getWidth(), 64u);
    EXPECT_EQ(renderer.getRenderTarget()->getHeight(), 32u);
    renderer.setRenderToTexture(false);
    EXPECT_EQ(renderer.getRenderTarget(), nullptr);
    // An empty viewport gets no target and draws nothing; a later real one gets its target.
    renderer.setViewport(RECT{0, 0, 0, 50}, true);
    EXPECT_TRUE(renderer.isRenderToTexture());
    EXPECT_EQ(renderer.getRenderTarget(), nullptr);
    EXPECT_EQ(gameFrame(), std::vector<uint32_t>(kWidth * kHeight, kClear));
    renderer.setViewport(RECT{0, 0, 16, 16});
    EXPECT_NE(renderer.getRenderTarget(), nullptr);
}

}  // namespace
}  // namespace Solitaire
