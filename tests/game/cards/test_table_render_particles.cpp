// Particles in the table renderer's windows: the main window draws the table's layer 0 among
// the cards by draw order, at camera-mapped pixels; with a particle window that window draws the
// screen layers and the main window layer 0 only; without one the main window draws all; a spawn
// multiplier of 0 shows none.
#include <gtest/gtest.h>

#include <memory>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/cards/Karte.h"
#include "game/cards/Picking.h"
#include "game/cards/TableRenderer.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "tests/game/cards/TableRenderDevice.h"

namespace Solitaire {
namespace {

using styletest::kClear;
using styletest::kHeight;
using styletest::kWidth;

bool reddish(uint32_t c) { return ((c >> 16) & 0xFF) > 0x80 && ((c >> 8) & 0xFF) < 0x40 && (c & 0xFF) < 0x40; }

// The screen layer's particle sits on this pixel.
constexpr unsigned kScreenX = 12, kScreenY = 84;

class RendererParticleTest : public styletest::TableRenderTest {
protected:
    void SetUp() override {
        TableRenderTest::SetUp();
        forgetParticles();
        StyleSettings::instance().setParticleSpawnMult(1.0f);
        deal();
        table = drawFrame();
        main = new Orvex::GUIWindow(L"I_DRAW");
        overlay = new Orvex::GUIWindow(L"I_RenderWindowOverlay");
        main->setPixelRect(0, 0, kWidth, kHeight);
        overlay->setPixelRect(0, 0, kWidth, kHeight);
        renderer.setViewport(RECT{0, 0, static_cast<LONG>(kWidth), static_cast<LONG>(kHeight)});
        renderer.setWindows(main, nullptr);
        // A card's centre on the screen and in the world; the table particle sits there.
        Orvex::FRect const r = computeScreenRect(*manager().cards.front(), &camera);
        cardX = static_cast<unsigned>((r.left + r.right) * 0.5f);
        cardY = static_cast<unsigned>((r.top + r.bottom) * 0.5f);
        ASSERT_LT(cardX, kWidth);
        ASSERT_LT(cardY, kHeight);
        tableParticle = spawn(0, camera.screenToWorld(D3DXVECTOR2(float(cardX) + 0.5f, float(cardY) + 0.5f), false),
                              12.0f / camera.getScale(false));
        spawn(1, D3DXVECTOR2(kScreenX + 0.5f, kScreenY + 0.5f), 8.0f);
    }
    void TearDown() override {
        renderer.setWindows(nullptr, nullptr);
        renderer.setParticleWindow(nullptr);
        main->release();
        overlay->release();
        forgetParticles();
        TableRenderTest::TearDown();
    }
    static void forgetParticles() {
        SolPartikelManager::instance().clear();
        Orvex::Texture2DAnimationManager::instance().releaseAnimations();
        Orvex::Texture2DAnimationManager::instance().getTextures().releaseAll();
    }
    // A red glow of that layer and size, started at the point.
    static SolPartikel* spawn(int layer, D3DXVECTOR2 const& at, float size) {
        SolPartikelManager& particles = SolPartikelManager::instance();
        std::wstring const name = L"DOT" + std::to_wstring(layer);
        Orvex::XMLNode root;
        EXPECT_TRUE(root.loadFromText(L"<PARTIKEL_DATEI><ANIMATIONEN FILE=\"data\\Particles\\partikel.ani\"/>"
                                      L"<PARTIKEL_VORLAGE NAME=\"" + name + L"\" ANIMATION=\"GLOW\" LIFETIME=\"10\" "
                                      L"COLOR=\"FFFF0000\" SIZE=\"" + std::to_wstring(size) + L" " + std::to_wstring(size) +
                                      L"\" IGNORE_CAMERA=\"" +
                                      std::to_wstring(layer) + L"\"/></PARTIKEL_DATEI>"));
        particles.loadTemplates(root, L"render.par");
        SolPartikel* particle = particles.findParticleTemplate(name)->clone();
        particle->start(at, nullptr);
        particles.add(particle);
        return particle;
    }
    std::vector<uint32_t> emit(Orvex::GUIWindow* window) {
        return draw([&] { window->selfDrawn.emit(*window, true); });
    }

    SolitaireRenderer renderer{&sprite, &camera};
    Orvex::GUIWindow* main = nullptr;
    Orvex::GUIWindow* overlay = nullptr;
    std::vector<uint32_t> table;
    SolPartikel* tableParticle = nullptr;
    unsigned cardX = 0, cardY = 0;
};

TEST_F(RendererParticleTest, TheTableLayerIsDrawnAmongTheCardsByOrder) {
    // Above everything by default: the glow covers the card's centre.
    std::vector<uint32_t> const over = emit(main);
    EXPECT_TRUE(reddish(at(over, cardX, cardY))) << std::hex << at(over, cardX, cardY);
    EXPECT_FALSE(reddish(at(table, cardX, cardY)));
    // Above the background, below the cards: the card covers it.
    tableParticle->setDrawOrder(0.5f);
    EXPECT_EQ(at(emit(main), cardX, cardY), at(table, cardX, cardY));
}

TEST_F(RendererParticleTest, TheParticleWindowTakesTheScreenLayers) {
    // Without a particle window the main window draws both layers.
    std::vector<uint32_t> const all = emit(main);
    EXPECT_TRUE(reddish(at(all, kScreenX, kScreenY)));
    EXPECT_TRUE(reddish(at(all, cardX, cardY)));

    renderer.setParticleWindow(overlay);
    std::vector<uint32_t> const tableOnly = emit(main);
    EXPECT_EQ(at(tableOnly, kScreenX, kScreenY), at(table, kScreenX, kScreenY));
    EXPECT_TRUE(reddish(at(tableOnly, cardX, cardY)));
    std::vector<uint32_t> const screen = emit(overlay);
    EXPECT_TRUE(reddish(at(screen, kScreenX, kScreenY)));
    EXPECT_EQ(at(screen, cardX, cardY), kClear);

    // No multiplier, no particles in either window.
    StyleSettings::instance().setParticleSpawnMult(0.0f);
    EXPECT_EQ(emit(main), table);
    EXPECT_EQ(emit(overlay), std::vector<uint32_t>(table.size(), kClear));
}

// A particle draws its frame as the sprite batcher's stretched sprite rectangle would: turned
// about an off-centre point, not square, on either kind of layer.
TEST_F(RendererParticleTest, AParticleDrawsAsItsSpriteRectangle) {
    for (int layer : {0, 1}) {
        // 40 x 14 pixels on the screen either way.
        float const unit = layer == 0 ? 1.0f / camera.getScale(false) : 1.0f;
        D3DXVECTOR2 const start = layer == 0 ? camera.screenToWorld(D3DXVECTOR2(60.0f, 40.0f), false)
                                             : D3DXVECTOR2(60.0f, 40.0f);
        SolPartikelManager::instance().clear();
        Orvex::XMLNode root;
        ASSERT_TRUE(root.loadFromText(
            L"<PARTIKEL_DATEI><PARTIKEL_VORLAGE NAME=\"T\" ANIMATION=\"SPARK\" LIFETIME=\"10\" SIZE=\"" +
            std::to_wstring(40.0f * unit) + L" " + std::to_wstring(14.0f * unit) + L"\" "
            L"ROTATION=\"30\" ROTATION_CENTER=\"0.25 0.7\" COLOR=\"C0FFFF00\" IGNORE_CAMERA=\"" +
            std::to_wstring(layer) + L"\"/></PARTIKEL_DATEI>"));
        SolPartikelManager::instance().loadTemplates(root, L"turn.par");
        std::unique_ptr<SolPartikel, void (*)(SolPartikel*)> particle(
            SolPartikelManager::instance().findParticleTemplate(L"T")->clone(), [](SolPartikel* p) { p->release(); });
        particle->start(start, nullptr);
        RenderContext context;
        context.sprite = &sprite;
        context.camera = &camera;
        context.screenOffset = {3.0f, 2.0f};
        std::vector<uint32_t> const drawn = draw([&] { particle->render(context); });

        D3DXVECTOR2 position = particle->getPosition() + context.screenOffset;
        D3DXVECTOR2 size = particle->drawSize();
        if (layer == 0) {
            position = particle->getPosition() * camera.getScale(false) + camera.getOffset();
            size *= camera.getScale(false);
        }
        ASSERT_NE(particle->getAnimation(), nullptr);
        Orvex::AnimationFrame const* frame = particle->getAnimation()->getCurrentFrame();
        Orvex::SpriteRect const place(position, size, 30.0f, D3DXVECTOR2(0.25f, 0.7f),
                                      Orvex::SpriteRect::kCentreRelative | Orvex::SpriteRect::kPositionIsCentre);
        std::vector<uint32_t> const expected = draw([&] {
            sprite.drawSpriteRect(frame->texture, &frame->rect, place, Orvex::SDP_SCALE, Orvex::SDP_SCALE,
                                  particle->packedColour());
        });
        EXPECT_NE(expected, std::vector<uint32_t>(expected.size(), kClear));
        EXPECT_EQ(drawn, expected) << "layer " << layer;
    }
}

}  // namespace
}  // namespace Solitaire
