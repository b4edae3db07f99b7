// The shipped effect list and its "Sprite" effect (one texture slot, and its entry with eight):
// techniques and annotation, and pixels of 3D sprites in the batcher's vertex layout
// (billboards, alpha test). The 2D techniques' slots,
// diffuse colours, texels and blending are read back through the engine batcher's tests.
#include <cmath>

#include "engine/core/GOBManager.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/TestMatrices.h"

using Orvex::Effect;

namespace rendertest {
namespace {

constexpr DWORD kFvf3D = 0x2C4342;

class SpriteEffectTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
        Orvex::XMLNode list;
        ASSERT_TRUE(list.load(L"data\\FX\\effecte.fxf"));
        effectManager.loadEffects(list);
        sprite = effectManager.findEffect(L"Sprite");
        ASSERT_NE(sprite, nullptr);
        fx = sprite->getD3DXEffect();
        ASSERT_NE(fx, nullptr);
        // The same entry with eight slots, as "Sprite8".
        std::string text = testsupport::readFile(testsupport::sourceDir() / "data" / "FX" / "effecte.fxf");
        for (auto [from, to] : {std::pair<std::string, std::string>{"NAME=\"Sprite\"", "NAME=\"Sprite8\""},
                                {"NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"1\"", "NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"8\""}}) {
            std::size_t const at = text.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            text.replace(at, from.size(), to);
        }
        Orvex::XMLNode eightList;
        ASSERT_TRUE(eightList.loadFromText(port::fromUtf8(text)));
        effectManager.loadEffects(eightList);
        eightSlots = effectManager.findEffect(L"Sprite8");
        ASSERT_NE(eightSlots, nullptr);
    }
    // The pixel tests below choose textures by slot: they draw with the eight-slot effect.
    void useEightSlots() { fx = eightSlots->getD3DXEffect(); }
    // A texture of one colour set into slot.
    void setSlot(int slot, std::vector<uint32_t> const& texels, unsigned width = 1, unsigned height = 1) {
        std::string name = "g_Textur" + std::to_string(slot);
        ASSERT_EQ(fx->SetTexture(name.c_str(), makeTexture(width, height, texels)), S_OK);
    }
    // A 3D sprite: a square of half-size h around centre c in the XY plane.
    static std::vector<SpriteVertex> quad3D(D3DXVECTOR3 c, float h, uint32_t diffuse, float slot) {
        std::vector<SpriteVertex> v;
        float const corners[4][2] = {{-h, -h}, {h, -h}, {-h, h}, {h, h}};
        float const uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
        for (int i = 0; i < 4; ++i)
            v.push_back({c.x + corners[i][0], c.y + corners[i][1], c.z, 1, diffuse, uv[i][0], uv[i][1], slot,
                         {c.x, c.y, c.z, 0}});
        return v;
    }
    // One frame over black drawing the quads with the technique; the target read back.
    std::vector<uint32_t> frame(char const* technique, std::vector<SpriteVertex> const& quads) {
        clear(0xFF000000);
        device()->BeginScene();
        drawQuads(*fx, technique, quads, kFvf3D);
        device()->EndScene();
        return readTarget();
    }
    void setCamera(D3DXMATRIX const& view, D3DXMATRIX const& viewInv, D3DXMATRIX const& projection) {
        fx->SetMatrix("g_View", &view);
        fx->SetMatrix("g_ViewInv", &viewInv);
        fx->SetMatrix("g_Projection", &projection);
    }

    Effect* sprite = nullptr;
    Effect* eightSlots = nullptr;
    ID3DXEffect* fx = nullptr;
};

TEST_F(SpriteEffectTest, ShippedListGivesTheFiveTechniquesAndTheSlotCount) {
    std::vector<std::wstring> names;
    for (auto* technique : sprite->getTechniques()) names.push_back(technique->name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Render2D", L"Render2DAlpha", L"Render3D", L"Render3DAlpha",
                                                L"Render3DAlphaTest"}));
    for (auto [effect, slots] : {std::pair(sprite, 1), std::pair(eightSlots, 8)}) {
        INT texCount = 0;
        ID3DXEffect* d3dx = effect->getD3DXEffect();
        ASSERT_EQ(d3dx->GetInt(d3dx->GetAnnotationByName(effect->getTechniqueHandle(L"Render2D"), "TEX_COUNT"), &texCount),
                  S_OK);
        EXPECT_EQ(texCount, slots);
    }
    EXPECT_FALSE(sprite->getPreCompile());  // the game compiles from source
    // Slot and matrix use show in the batcher's and the 3D read-backs.
    for (int slot = 0; slot < 8; ++slot) EXPECT_NE(sprite->findParameter(L"g_Textur" + std::to_wstring(slot)), nullptr);
}

TEST_F(SpriteEffectTest, Render3DTransformsAroundTheCentreAndTurnsBillboardsToTheCamera) {
    useEightSlots();
    setSlot(0, {0xFFFF0000});
    setSlot(1, {0xFF00FF00});
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    D3DXMATRIX identity, projection;
    D3DXMatrixIdentity(&identity);
    projection = testsupport::orthoOffCenterLH(-32.0f, 32.0f, 48.0f, 0.0f, -20.0f, 20.0f);

    // Straight on: world x, y are pixels (x shifted by 32).
    setCamera(identity, identity, projection);
    auto pixels = frame("Render3D", quad3D({-22, 15, 0.5f}, 5, 0xFFFFFFFF, 1));
    EXPECT_TRUE(colorNear(at(pixels, 6, 11), 0xFF00FF00));
    EXPECT_TRUE(colorNear(at(pixels, 13, 18), 0xFF00FF00));
    EXPECT_EQ(at(pixels, 3, 15), 0xFF000000u);
    EXPECT_EQ(at(pixels, 17, 15), 0xFF000000u);
    EXPECT_EQ(at(pixels, 10, 21), 0xFF000000u);

    // The camera turned by 90 degrees sees the quad edge-on; as a billboard it faces the camera.
    D3DXMATRIX view, viewInv;
    view = testsupport::rotationYMatrix(static_cast<float>(M_PI / 2));
    D3DXMatrixInverse(&viewInv, nullptr, &view);
    viewInv._41 = viewInv._42 = viewInv._43 = 0.0f;
    setCamera(view, identity, projection);
    pixels = frame("Render3D", quad3D({0, 15, 0}, 5, 0xFFFFFFFF, 0));
    EXPECT_EQ(at(pixels, 30, 15), 0xFF000000u);
    EXPECT_EQ(at(pixels, 34, 15), 0xFF000000u);

    setCamera(view, viewInv, projection);
    pixels = frame("Render3D", quad3D({0, 15, 0}, 5, 0xFFFFFFFF, 0));
    EXPECT_TRUE(colorNear(at(pixels, 29, 12), 0xFFFF0000));
    EXPECT_TRUE(colorNear(at(pixels, 35, 18), 0xFFFF0000));
    EXPECT_EQ(at(pixels, 25, 15), 0xFF000000u);
}

TEST_F(SpriteEffectTest, AlphaTestDropsTransparentPixelsBeforeTheyWriteDepth) {
    useEightSlots();
    setSlot(0, {0x00FFFFFF});
    setSlot(1, {0xFFFF0000});
    D3DXMATRIX identity, projection;
    D3DXMatrixIdentity(&identity);
    projection = testsupport::orthoOffCenterLH(0.0f, 64.0f, 48.0f, 0.0f, 0.0f, 1.0f);
    setCamera(identity, identity, projection);
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device()->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device()->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device()->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device()->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device()->SetRenderState(D3DRS_ALPHAREF, 0);

    clear(0xFF000000);
    device()->BeginScene();
    // Left: transparent quad in front without the test; right: with it. Red quads behind both.
    drawQuads(*fx, "Render3DAlpha", quad3D({10, 10, 0.2f}, 6, 0xFFFFFFFF, 0), kFvf3D);
    drawQuads(*fx, "Render3DAlphaTest", quad3D({30, 10, 0.2f}, 6, 0xFFFFFFFF, 0), kFvf3D);
    std::vector<SpriteVertex> behind = quad3D({10, 10, 0.6f}, 6, 0xFFFFFFFF, 1);
    std::vector<SpriteVertex> right = quad3D({30, 10, 0.6f}, 6, 0xFFFFFFFF, 1);
    behind.insert(behind.end(), right.begin(), right.end());
    drawQuads(*fx, "Render3D", behind, kFvf3D);
    device()->EndScene();
    auto pixels = readTarget();
    EXPECT_EQ(at(pixels, 10, 10), 0xFF000000u);
    EXPECT_TRUE(colorNear(at(pixels, 30, 10), 0xFFFF0000));
    DWORD alphaTest = 1;
    device()->GetRenderState(D3DRS_ALPHATESTENABLE, &alphaTest);
    EXPECT_EQ(alphaTest, static_cast<DWORD>(FALSE));
}

}  // namespace
}  // namespace rendertest
