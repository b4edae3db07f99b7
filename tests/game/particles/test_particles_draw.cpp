// Particles drawn through the real device: layer 0 lands where the table camera maps it, other
// layers in screen space moved by the context's offset; the particle's colour tints its spark.
#include "engine/core/XMLNode.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "tests/game/look/TableDevice.h"

namespace Solitaire {
namespace {

using styletest::TableDeviceTest;

struct PlaceCase {
    int layer;
    unsigned x, y;  // where the particle's centre lands
};

class ParticleDraw : public TableDeviceTest, public ::testing::WithParamInterface<PlaceCase> {
protected:
    void SetUp() override {
        TableDeviceTest::SetUp();
        forgetAnimations();
        StyleSettings::instance().setParticleSpawnMult(1.0f);
    }
    void TearDown() override {
        forgetAnimations();
        TableDeviceTest::TearDown();
    }
    // The registry's textures belong to one device: each test loads them anew.
    static void forgetAnimations() {
        SolPartikelManager::instance().clear();
        Orvex::Texture2DAnimationManager::instance().releaseAnimations();
        Orvex::Texture2DAnimationManager::instance().getTextures().releaseAll();
    }
};

// A red glow of 8 x 8 at (20, 20); the camera doubles and moves by (10, 5), the screen offset is
// (5, 7).
TEST_P(ParticleDraw, LandsWhereItsLayerMapsIt) {
    SolPartikelManager& manager = SolPartikelManager::instance();
    std::wstring const layer = std::to_wstring(GetParam().layer);
    Orvex::XMLNode root;
    ASSERT_TRUE(root.loadFromText(
        L"<PARTIKEL_DATEI><ANIMATIONEN FILE=\"data\\Particles\\partikel.ani\"/>"
        L"<PARTIKEL_VORLAGE NAME=\"DOT\" ANIMATION=\"GLOW\" LIFETIME=\"10\" SIZE=\"8 8\" COLOR=\"FFFF0000\" "
        L"IGNORE_CAMERA=\"" + layer + L"\"/><EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"1000\" MAXPARTIKEL=\"1\" "
        L"IGNORE_CAMERA=\"" + layer + L"\"><PARTIKEL>\"|DOT|\"</PARTIKEL></EMITTER_VORLAGE></PARTIKEL_DATEI>"));
    manager.loadTemplates(root, L"draw.par");
    manager.spawn(L"E", {20.0f, 20.0f});
    manager.update(0.01f, GetParam().layer);
    ASSERT_EQ(manager.liveParticles().size(), 1u);
    ASSERT_NE(manager.liveParticles()[0]->getAnimation(), nullptr);

    SolitaireCamera camera;
    camera.setScaleGoal(2.0f, 0.0f);
    camera.setOffsetXGoal(10.0f, 0.0f);
    camera.setOffsetYGoal(5.0f, 0.0f);
    RenderContext context;
    context.sprite = &sprite;
    context.camera = &camera;
    context.screenOffset = {5.0f, 7.0f};
    context.particleLayer = GetParam().layer;
    auto const pixels = draw([&] { manager.render(context); });
    std::uint32_t const centre = at(pixels, GetParam().x, GetParam().y);
    EXPECT_GT((centre >> 16) & 0xFF, 0x80u) << std::hex << centre;
    EXPECT_LT((centre >> 8) & 0xFF, 0x40u) << std::hex << centre;
    EXPECT_EQ(at(pixels, 100, 80), styletest::kClear);
}

INSTANTIATE_TEST_SUITE_P(Table, ParticleDraw,
                         ::testing::Values(PlaceCase{0, 50, 45},  // 20 x 2 + 10, 20 x 2 + 5
                                           PlaceCase{1, 25, 27}));

}  // namespace
}  // namespace Solitaire
