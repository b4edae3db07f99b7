// The engine with its render managers on a headless device: the texture settings reach the
// texture module during init (before the post-init hook can load textures), and shutting down
// (or leaving the engine up at exit) releases effects and textures before the device, so the
// device is really gone afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/core/UserGlobals.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Effect.h"
#include "engine/render/EffectManager.h"
#include "engine/render/RenderManager.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureSettings.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/win32_paths.h"
#include "port/win32/kernel.h"
#include "tests/engine/core/engine/EngineFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/FlatEffect.h"

namespace {

using Orvex::D3DInterface;
using Orvex::EffectManager;
using Orvex::OrvexEngine;

// Sees the texture module's settings when the engine calls the post-init hook.
class SettingsProbe : public Orvex::UserGlobals {
public:
    bool onPostInit(Orvex::EngineInitParams&) override {
        suspendOnCreateSeen = Orvex::TextureModuleSettings::get().suspendOnCreate;
        tickCountSeen = Orvex::getTextureTickCount();
        return true;
    }
    bool suspendOnCreateSeen = false;
    Orvex::u32 tickCountSeen = 0;
};

// Brings the engine up headless (320x240 window) with an effect in the effect manager and a
// file texture in the device object's texture list.
void startWithEffectAndTexture(std::filesystem::path const& folder) {
    enginetest::useSmallWindow();
    ASSERT_TRUE(OrvexEngine::getInstance()->init());

    Orvex::Effect::useCompiledCache = 0;
    Orvex::Effect::writeCompiledCache = 0;
    testsupport::writeFile(folder / "flat.fx", testsupport::flatEffect());
    Orvex::XMLNode list;
    ASSERT_TRUE(list.loadFromText(L"<EFFECTS><EFFECT NAME=\"Flat\"><FILE FILENAME=\"" +
                                  port::windowsPath((folder / "flat.fx").string()) + L"\"/></EFFECT></EFFECTS>"));
    EffectManager::getInstance().loadEffects(list);
    Orvex::Effect* effect = EffectManager::getInstance().findEffect(L"Flat");
    ASSERT_NE(effect, nullptr);
    ASSERT_TRUE(effect->isLoaded());

    testsupport::writeFile(folder / "red.png", enginetest::kRedPng);
    auto* texture = new Orvex::Texture2D(L"red");
    ASSERT_TRUE(texture->loadFromFile(port::windowsPath((folder / "red.png").string())));
    ASSERT_NE(texture->getTexture(), nullptr);
    ASSERT_TRUE(D3DInterface::getInstance().getTextureManager().addTexture(texture, true));
}

class EngineShutdownTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = OrvexEngine::getInstance();
        engine->shutdown();
        savedTex = engine->getTextureInitParams();
    }
    void TearDown() override {
        engine->shutdown();
        engine->setUserGlobals(nullptr);
        engine->getTextureInitParams() = savedTex;
        Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
        Orvex::Effect::useCompiledCache = 1;
        enginetest::resetStartSettings();
    }

    OrvexEngine* engine = nullptr;
    Orvex::TextureInitParams savedTex;
};

TEST_F(EngineShutdownTest, InitHandsTheTextureSettingsToTheTextureModuleBeforeThePostInitHook) {
    Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
    Orvex::TextureInitParams& params = engine->getTextureInitParams();
    params = {true, true, true, 321, 7777};
    auto* probe = new SettingsProbe;
    engine->setUserGlobals(probe);
    enginetest::useSmallWindow();

    ASSERT_TRUE(engine->init());
    EXPECT_TRUE(probe->suspendOnCreateSeen);
    EXPECT_EQ(probe->tickCountSeen, 7777u);
    Orvex::TextureModuleSettings const& settings = Orvex::TextureModuleSettings::get();
    EXPECT_TRUE(settings.suspendOnLoad);
    EXPECT_TRUE(settings.suspendOnCreate);
    EXPECT_TRUE(settings.overrideAutoSuspend);
    EXPECT_EQ(settings.overrideAutoSuspendTime, 321u);

    // The values the game forces ("ACTUAL_TICKCOUNT" 0) start the texture clock at zero.
    engine->shutdown();
    params = Orvex::TextureInitParams{};
    params.actualTickCount = 0;
    ASSERT_TRUE(engine->init());
    EXPECT_EQ(probe->tickCountSeen, 0u);
    EXPECT_FALSE(Orvex::TextureModuleSettings::get().suspendOnCreate);
}

TEST_F(EngineShutdownTest, ShutdownReleasesEffectsAndTexturesSoTheDeviceIsGone) {
    startWithEffectAndTexture(testsupport::makeTempDir("shutdown"));
    if (HasFatalFailure()) return;
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    ASSERT_NE(device, nullptr);
    // The sprite pair holds device buffers and an effect reference of its own.
    Orvex::SpriteHolder& sprites = D3DInterface::getInstance().getSprite();
    ASSERT_TRUE(sprites.getSprite().hasBuffers());
    // The effect holds the device besides the device object (and this test, for a moment).
    ULONG const deviceRefs = device->AddRef();
    device->Release();
    EXPECT_GE(deviceRefs, 3u);

    // The device holds the Direct3D object: once the device is destroyed and the device object
    // has let go, only this test's reference is left.
    IDirect3D9* d3d = D3DInterface::getInstance().getDirect3D();
    d3d->AddRef();
    engine->shutdown();
    EXPECT_EQ(D3DInterface::getInstance().getDevice(), nullptr);
    EXPECT_TRUE(EffectManager::getInstance().getEffects().empty());
    EXPECT_EQ(D3DInterface::getInstance().getTextureManager().getCount(), 0u);
    EXPECT_EQ(d3d->Release(), 0u) << "the device outlived the shutdown";

    // It starts again on a new device.
    ASSERT_TRUE(engine->init());
    EXPECT_NE(D3DInterface::getInstance().getDevice(), nullptr);
    EXPECT_TRUE(sprites.getSprite().hasBuffers()) << "the sprite pair is made again on the new device";
    // Nothing but the new sprite pair's buffers and the render manager's targets lives on the new
    // device (the renderers let go when switched off).
    sprites.release();
    engine->getRenderManager()->getForwardRenderer().setEnabled(false);
    engine->getRenderManager()->getPostEffectRenderer().setEnabled(false);
    EXPECT_EQ(port::d3d9::defaultPoolResources(D3DInterface::getInstance().getDevice()), 0u);
}

// Set before the engine exists in the child process, so it runs after the engine's destructor.
IDirect3D9* g_exitD3D = nullptr;
void checkDeviceGoneAtExit() {
    // Only the reference taken below is left when the device was destroyed: AddRef gives 2.
    ULONG const refs = g_exitD3D ? g_exitD3D->AddRef() : 0;
    std::_Exit(refs == 2 ? 0 : 3);
}

TEST(EngineShutdownAtExit, EngineLeftUpAtExitReleasesTheDevice) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::filesystem::path const folder = testsupport::makeTempDir("exit");
    EXPECT_EXIT(
        {
            std::atexit(checkDeviceGoneAtExit);
            startWithEffectAndTexture(folder);
            g_exitD3D = D3DInterface::getInstance().getDirect3D();
            g_exitD3D->AddRef();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
