// The render-pass pipeline through the real device: render-to-texture, the forward renderer,
// the post effects of data/GUI/renderpass.rp (copy, the two-pass blur, the tint with its time and
// vector), the skip rules, a lost and reset device, and the frame with neither renderer at work.
#include <algorithm>
#include <cmath>

#include "engine/core/Console.h"
#include "engine/core/GOBManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/PostEffect.h"
#include "engine/render/RenderManager.h"
#include "engine/render/RenderToTexture.h"
#include "engine/render/TextureSettings.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/support/TestSupport.h"

namespace rendertest {
namespace {

using Orvex::RenderManager;

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// A quad over [x0, x1) x [y0, y1) on the current target: one colour untextured, or a texture
// point-sampled.
void drawQuad(IDirect3DDevice9* device, float x0, float y0, float x1, float y1, uint32_t colour,
              IDirect3DTexture9* texture = nullptr) {
    testsupport::ScreenVertex const v[4] = {{x0 - 0.5f, y0 - 0.5f, 0, 1, colour, 0, 0},
                                            {x1 - 0.5f, y0 - 0.5f, 0, 1, colour, 1, 0},
                                            {x0 - 0.5f, y1 - 0.5f, 0, 1, colour, 0, 1},
                                            {x1 - 0.5f, y1 - 0.5f, 0, 1, colour, 1, 1}};
    device->SetTexture(0, texture);
    if (texture) {
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    }
    device->SetFVF(testsupport::kScreenFvf);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(v[0]));
    device->SetTexture(0, nullptr);
}

uint8_t red(uint32_t c) { return static_cast<uint8_t>(c >> 16); }

// Scene painter: listens to the forward renderer and draws the scene of the test.
struct Scene : sigslot::has_slots<> {
    std::function<void(IDirect3DDevice9*)> paint;
    int frames = 0;
    void onRender(Orvex::ForwardRenderer&) {
        ++frames;
        if (paint) paint(Orvex::D3DInterface::getInstance().getDevice());
    }
};

struct SkipLevels : sigslot::has_slots<> {
    std::vector<unsigned long> levels;
    void onChanged(unsigned long const& level) { levels.push_back(level); }
};

class RenderPassTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        if (HasFatalFailure()) return;
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
        Orvex::XMLNode list;
        ASSERT_TRUE(list.load(L"data\\FX\\effecte.fxf"));
        effectManager.loadEffects(list);
        for (wchar_t const* name : {L"PostCopy", L"PostBlurDown", L"PostBlurUp", L"PostTint"}) {
            Orvex::Effect* effect = effectManager.findEffect(name);
            ASSERT_TRUE(effect && effect->isLoaded()) << "a post effect of effecte.fxf did not load";
        }
        manager = std::make_unique<RenderManager>(RenderManager::kFollowDevice, RenderManager::kFollowDevice);
        manager->loadConfigFile(L"data\\GUI\\renderpass.rp");
        ASSERT_EQ(manager->getPostEffects().size(), 3u);
        // Off for the game; on here.
        EXPECT_FALSE(manager->getForwardRenderer().isEnabled());
        EXPECT_FALSE(manager->getPostEffectRenderer().isEnabled());
        manager->getForwardRenderer().setEnabled(true);
        manager->getPostEffectRenderer().setEnabled(true);
        manager->getForwardRenderer().signalRender.connect(&scene, &Scene::onRender);
        device()->SetRenderState(D3DRS_LIGHTING, FALSE);
        device()->SetRenderState(D3DRS_ZENABLE, FALSE);
        device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }
    void TearDown() override {
        manager.reset();
        RenderFixture::TearDown();
    }
    // One frame into the back buffer; its pixels.
    std::vector<uint32_t> frame() {
        clear(0xFF00FF00);
        manager->render(nullptr, nullptr);
        return readTarget();
    }
    std::vector<uint32_t> row(std::vector<uint32_t> const& pixels, unsigned y) const {
        return {pixels.begin() + y * kWidth, pixels.begin() + (y + 1) * kWidth};
    }
    void only(std::initializer_list<wchar_t const*> names) {
        for (Orvex::PostEffect* e : std::vector(manager->getActiveEffects())) manager->removeActiveEffect(e);
        for (wchar_t const* name : names) manager->addActiveEffect(manager->findPostEffect(name));
    }
    std::wstring run(std::wstring const& line) { return runCommand(*manager, line); }
    // Left half black, right half white.
    void edgeScene() {
        scene.paint = [](IDirect3DDevice9* d) {
            drawQuad(d, 0, 0, kWidth / 2, kHeight, kBlack);
            drawQuad(d, kWidth / 2, 0, kWidth, kHeight, kWhite);
        };
    }

    std::unique_ptr<RenderManager> manager;
    Scene scene;
};

TEST_F(RenderPassTest, RenderToTextureTargetIsDrawnThenSampled) {
    Orvex::RenderToTexture rtt(RECT{0, 0, 16, 8}, D3DFMT_A8R8G8B8, D3DFMT_UNKNOWN, 1);
    EXPECT_FALSE(rtt.render()) << "nothing is made before the owner asks";
    rtt.release();
    ASSERT_TRUE(rtt.isValid());
    struct Painter : sigslot::has_slots<> {
        void onRender(Orvex::RenderToTexture&) {
            IDirect3DDevice9* d = Orvex::D3DInterface::getInstance().getDevice();
            d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
            drawQuad(d, 8, 0, 16, 8, 0xFFFF0000);
        }
    } painter;
    rtt.signalRender.connect(&painter, &Painter::onRender);
    ASSERT_TRUE(rtt.render());

    // Sampled onto the back buffer at twice its size.
    clear();
    ASSERT_EQ(device()->BeginScene(), D3D_OK);
    drawQuad(device(), 10, 10, 42, 26, kWhite, rtt.getTexture().getTexture());
    device()->EndScene();
    EXPECT_TRUE(matches(10, 10, 42, 26, [](unsigned x, unsigned) { return x < 16 ? 0xFF0000FFu : 0xFFFF0000u; }));

    // A begin that fails (the scene is open already) leaves no performance event open.
    ASSERT_TRUE(rtt.begin());
    EXPECT_FALSE(rtt.begin());
    EXPECT_TRUE(rtt.end());
    EXPECT_EQ(D3DPERF_BeginEvent(0, L"probe"), 0) << "an event was left open";
    D3DPERF_EndEvent();
}

TEST_F(RenderPassTest, RenderToTextureSizesAndATargetMadeWhileTexturesSuspend) {
    // Textures start suspended: the target still follows a lost device.
    Orvex::TextureModuleSettings::get().suspendOnCreate = true;
    Orvex::RenderToTexture rtt(RECT{10, 20, 110, 70}, D3DFMT_UNKNOWN, D3DFMT_UNKNOWN, 1);
    rtt.release();
    ASSERT_TRUE(rtt.isValid());
    EXPECT_EQ(std::pair(rtt.getWidth(), rtt.getHeight()), std::pair(100u, 50u));
    EXPECT_EQ(std::pair(rtt.getViewport().X, rtt.getViewport().Y), std::pair(DWORD(10), DWORD(20)));
    EXPECT_EQ(rtt.getTexture().getFormat(), D3DFMT_X8R8G8B8) << "format 0 takes the display's";

    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    port::d3d9::loseDevice(device());
    EXPECT_FALSE(d3d.checkDevice());
    EXPECT_EQ(port::d3d9::defaultPoolResources(device()), 0u);
    ASSERT_TRUE(d3d.checkDevice());
    EXPECT_TRUE(rtt.isValid());
    EXPECT_NE(*rtt.getSurface(), nullptr);
}

TEST_F(RenderPassTest, ScaledPassMovesTheQuadAndTheNextEffectReadsThePartLeft) {
    // A fixed 800x600 target: the down pass draws into its top-left quarter.
    RenderManager fixed(800, 600);
    Orvex::XMLNode rp = parse(L"<RP><POSTEFFECT NAME=\"down\" EFFECT=\"PostBlurDown\"/>"
                              L"<POSTEFFECT NAME=\"copy\" EFFECT=\"PostCopy\" PRIORITY=\"HIGH\" MAKE_ORIGINAL=\"0\"/>"
                              L"<ACTIVE_POSTEFFECTS>\"|down|\" \"|copy|\"</ACTIVE_POSTEFFECTS></RP>");
    fixed.loadConfig(rp);
    Orvex::PostEffectRenderer& post = fixed.getPostEffectRenderer();
    fixed.getForwardRenderer().setEnabled(false);
    ASSERT_TRUE(post.isCreated());
    IDirect3DTexture9* scene = nullptr;
    ASSERT_EQ(device()->CreateTexture(800, 600, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &scene,
                                      nullptr),
              D3D_OK);
    fixed.render(nullptr, scene);
    EXPECT_EQ(post.getQuad()[1].x, 399.5f);
    EXPECT_EQ(post.getQuad()[3].y, 299.5f);
    EXPECT_EQ(post.getQuad()[2].x, -0.5f);
    EXPECT_EQ(post.getUMax(), 0.5f);
    EXPECT_EQ(post.getQuad()[1].u0, 0.5f) << "the copy after it sampled only the half left";
    // Switched off, both targets go; on again, they come back.
    Orvex::XMLNode off = parse(L"<POSTEFFECT_RENDERING ENABLE=\"0\"/>");
    post.readConfig(off);
    EXPECT_FALSE(post.isCreated());
    post.setEnabled(true);
    EXPECT_TRUE(post.isCreated());
    scene->Release();
}

TEST_F(RenderPassTest, ForwardRendererClearsToItsColourAndHandsItsSceneToThePassChain) {
    Orvex::ForwardRenderer& forward = manager->getForwardRenderer();
    EXPECT_EQ(forward.getClearColorValue(), 0xFF202040u) << "the file's colour";
    scene.paint = [](IDirect3DDevice9* d) { drawQuad(d, 8, 8, 24, 16, kWhite); };

    only({L"Copy"});
    std::vector<uint32_t> const viaCopy = frame();
    EXPECT_EQ(scene.frames, 1);
    EXPECT_EQ(at(viaCopy, 10, 10), kWhite);
    EXPECT_EQ(at(viaCopy, 0, 0), 0xFF202040u);
    EXPECT_EQ(at(viaCopy, kWidth - 1, kHeight - 1), 0xFF202040u);

    // Without post effects the scene is stretched back as it is.
    only({});
    EXPECT_EQ(frame(), viaCopy);
    // Neither renderer: the frame leaves the back buffer alone (no copy onto itself).
    forward.setEnabled(false);
    manager->getPostEffectRenderer().setEnabled(false);
    logLines.clear();
    std::vector<uint32_t> const untouched = frame();
    EXPECT_TRUE(std::all_of(untouched.begin(), untouched.end(), [](uint32_t p) { return p == 0xFF00FF00u; }));
    EXPECT_TRUE(logLines.empty()) << "nothing was tried and refused";
    EXPECT_EQ(manager->getFrameCounter(), 3u);
}

// The expected blur: 2x2 box down, bilinear up (clamped to the quarter) of one row of a picture
// whose columns are 0 left of the edge and 255 from it on.
std::vector<double> blurredEdge(unsigned width, unsigned edge) {
    std::vector<double> half(width / 2);
    for (unsigned i = 0; i < half.size(); ++i) half[i] = ((2 * i >= edge ? 255.0 : 0.0) + (2 * i + 1 >= edge ? 255.0 : 0.0)) / 2;
    std::vector<double> out(width);
    for (unsigned x = 0; x < width; ++x) {
        double const q = std::clamp((x + 0.5) / 2.0 - 0.5, 0.0, static_cast<double>(half.size() - 1));
        unsigned const i = static_cast<unsigned>(q);
        double const f = q - i;
        out[x] = half[i] * (1 - f) + half[std::min<unsigned>(i + 1, half.size() - 1)] * f;
    }
    return out;
}

TEST_F(RenderPassTest, TwoPassBlurWithScalingSoftensAnEdge) {
    only({L"Blur"});
    for (unsigned edge : {kWidth / 2, kWidth / 2 + 1}) {
        scene.paint = [edge](IDirect3DDevice9* d) {
            drawQuad(d, 0, 0, static_cast<float>(edge), kHeight, kBlack);
            drawQuad(d, static_cast<float>(edge), 0, kWidth, kHeight, kWhite);
        };
        std::vector<uint32_t> const pixels = frame();
        std::vector<double> const expected = blurredEdge(kWidth, edge);
        for (unsigned y : {0u, kHeight / 2, kHeight - 1})
            for (unsigned x = 0; x < kWidth; ++x)
                EXPECT_NEAR(red(at(pixels, x, y)), expected[x], 3.0) << "edge " << edge << " at (" << x << ", " << y << ")";
    }
    // The down pass left a quarter: the next frame starts from the full quad again.
    EXPECT_EQ(manager->getPostEffectRenderer().getUMax(), 1.0f);
}

TEST_F(RenderPassTest, TintUsesItsVectorAndTimeAndIsSkippedByThePriorityRules) {
    scene.paint = [](IDirect3DDevice9* d) { drawQuad(d, 0, 0, kWidth, kHeight, kWhite); };
    only({L"Copy", L"Tint"});
    EXPECT_EQ(run(L"RP_POST_setParamVector tintColour 0.5 1 0 1"), L"gesetzt");
    EXPECT_EQ(at(frame(), 4, 4) & 0xFFFFFF, 0x80FF00u);
    EXPECT_EQ(run(L"RP_POST_setParamFloat tintFade 1"), L"gesetzt");
    Orvex::broadcastCall(*manager, 0.25);
    EXPECT_TRUE(colorNear(at(frame(), 4, 4), 0xFFC0FF40));

    // Skip priority 2: level 3 drops the tint, level 0 brings it back.
    SkipLevels levels;
    manager->skipLevelChanged.connect(&levels, &SkipLevels::onChanged);
    EXPECT_EQ(run(L"rp_skipposteffects 3"), L"gesetzt");
    EXPECT_EQ(at(frame(), 4, 4), kWhite);
    EXPECT_EQ(run(L"RP_skipPosteffects 0"), L"gesetzt");
    EXPECT_TRUE(colorNear(at(frame(), 4, 4), 0xFFC0FF40));
    EXPECT_EQ(levels.levels, (std::vector<unsigned long>{3, 0}));
    // Switched off through its mapping, the blur is skipped as well.
    edgeScene();
    only({L"Blur"});
    EXPECT_EQ(run(L"RP_POST_setParamFloat blurOn 0"), L"gesetzt");
    std::vector<uint32_t> const sharp = frame();
    EXPECT_EQ(at(sharp, kWidth / 2 - 1, 4), kBlack);
    EXPECT_EQ(at(sharp, kWidth / 2, 4), kWhite);
}

TEST_F(RenderPassTest, LostAndResetDeviceRemakesEveryTargetAndTheNextFrameMatches) {
    edgeScene();
    only({L"Copy", L"Blur", L"Tint"});
    run(L"RP_POST_setParamVector tintColour 1 0.5 1 1");
    Orvex::RenderToTexture rtt(RECT{0, 0, 8, 8}, D3DFMT_UNKNOWN, D3DFMT_UNKNOWN, 0);
    rtt.release();
    ASSERT_TRUE(rtt.isValid());
    std::vector<uint32_t> const before = frame();

    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    port::d3d9::loseDevice(device());
    EXPECT_FALSE(d3d.checkDevice());
    EXPECT_FALSE(rtt.isValid());
    EXPECT_EQ(port::d3d9::defaultPoolResources(device()), 0u) << "a target was kept";
    ASSERT_TRUE(d3d.checkDevice());
    EXPECT_TRUE(rtt.isValid());
    EXPECT_TRUE(manager->getForwardRenderer().isCreated());
    EXPECT_TRUE(manager->getPostEffectRenderer().isCreated());
    device()->SetRenderState(D3DRS_LIGHTING, FALSE);
    device()->SetRenderState(D3DRS_ZENABLE, FALSE);
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    EXPECT_EQ(frame(), before);
}

TEST_F(RenderPassTest, SceneTextureWithoutSurfaceIsTakenFromItsFirstLevel) {
    // Handed a texture alone, the renderer reads its level 0 and hands both back.
    manager->getForwardRenderer().setEnabled(false);
    IDirect3DTexture9* scene = nullptr;
    ASSERT_EQ(device()->CreateTexture(kWidth, kHeight, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                      &scene, nullptr),
              D3D_OK);
    IDirect3DSurface9* level = nullptr;
    scene->GetSurfaceLevel(0, &level);
    IDirect3DSurface9* backBuffer = nullptr;
    device()->GetRenderTarget(0, &backBuffer);
    device()->SetRenderTarget(0, level);
    clear(0xFF3060A0);
    device()->SetRenderTarget(0, backBuffer);
    backBuffer->Release();

    Orvex::PostEffectRenderer& post = manager->getPostEffectRenderer();
    IDirect3DSurface9* none = nullptr;
    post.setLastResult(scene, none);
    IDirect3DTexture9* texture = nullptr;
    IDirect3DSurface9* surface = nullptr;
    ASSERT_TRUE(post.getOriginal(texture, surface));
    EXPECT_EQ(texture, scene);
    EXPECT_EQ(surface, level);
    // Nothing at all to work on: no original, no effect drawn.
    IDirect3DTexture9* noTexture = nullptr;
    post.setLastResult(noTexture, none);
    EXPECT_FALSE(post.getOriginal(texture, surface));
    level->Release();
    scene->Release();
}

}  // namespace
}  // namespace rendertest
