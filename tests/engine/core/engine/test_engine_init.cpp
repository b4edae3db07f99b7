// The engine started for real on a headless device: init order with the user-globals hooks,
// a refused start, the main loop ending when the window closes, and splash pictures drawn on
// the back buffer (pixels read back).
#include <gtest/gtest.h>

#include "engine/core/Console.h"
#include "engine/core/UserGlobals.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/D3DXFont.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/platform/AppWindow.h"
#include "engine/render/RenderManager.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/engine/EngineFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace {

using Orvex::D3DInterface;
using Orvex::OrvexEngine;

class HookGlobals : public Orvex::UserGlobals {
public:
    explicit HookGlobals(std::vector<std::string>& calls, bool refuse = false) : calls_(calls), refuse_(refuse) {}
    bool onPreInit(Orvex::EngineInitParams& params) override {
        calls_.push_back(std::string("pre device=") + (D3DInterface::getInstance().getDevice() ? "1" : "0"));
        // The records handed over are the ones the engine starts with: a size set here is used.
        if (params.device) params.device->displayMode.Width = 300;
        return !refuse_;
    }
    bool onPostInit(Orvex::EngineInitParams&) override {
        calls_.push_back(std::string("post device=") + (D3DInterface::getInstance().getDevice() ? "1" : "0"));
        return true;
    }

private:
    std::vector<std::string>& calls_;
    bool refuse_;
};

class EngineStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = OrvexEngine::getInstance();
        engine->shutdown();
        enginetest::useSmallWindow();
    }
    void TearDown() override {
        engine->shutdown();
        engine->setUserGlobals(nullptr);
        engine->setLoopClock({}, {});
        enginetest::resetStartSettings();
    }

    // The back buffer's pixel as 0xAARRGGBB (the engine draws to it), 0xDEADBEEF when unreadable.
    static D3DCOLOR backBufferPixel(int x, int y) {
        std::vector<uint32_t> const pixels = testsupport::readRenderTarget(D3DInterface::getInstance().getDevice());
        if (pixels.size() != 320u * 240u) return 0xDEADBEEF;
        return pixels[static_cast<std::size_t>(y) * 320 + static_cast<std::size_t>(x)];
    }

    OrvexEngine* engine = nullptr;
};

TEST_F(EngineStartTest, InitMakesTheDeviceBetweenTheHooksAndOnlyOnce) {
    std::vector<std::string> calls;
    engine->setUserGlobals(new HookGlobals(calls, true));
    EXPECT_FALSE(engine->init());  // a refused pre-init fails the start without a device
    EXPECT_FALSE(engine->isInitialised());
    EXPECT_EQ(engine->getD3DInterface()->getDevice(), nullptr);
    EXPECT_EQ(calls, std::vector<std::string>{"pre device=0"});

    calls.clear();
    engine->setUserGlobals(new HookGlobals(calls));
    ASSERT_TRUE(engine->init());
    EXPECT_TRUE(engine->isInitialised());
    EXPECT_TRUE(engine->getDirectInput()->isInitialised());
    EXPECT_EQ(calls, (std::vector<std::string>{"pre device=0", "post device=1"}));
    EXPECT_EQ(engine->getD3DInterface()->getWidth(), 300u);
    EXPECT_TRUE(engine->init());
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(EngineStartTest, RenderManagerFollowsTheBackBufferAndAnswersItsConsoleCommands) {
    Orvex::RenderManager* manager = engine->getRenderManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_TRUE(engine->init());
    Orvex::u32 width = 0;
    Orvex::u32 height = 0;
    manager->getTargetSize(width, height);
    EXPECT_EQ(std::pair(width, height), std::pair(320u, 240u));
    // Its renderers made their targets on the device's creation.
    EXPECT_TRUE(manager->getForwardRenderer().isCreated());
    EXPECT_TRUE(manager->getPostEffectRenderer().isCreated());
    EXPECT_EQ(Orvex::Console::getInstance().execute(L"rp_skipposteffects 4"), L"gesetzt");
    EXPECT_EQ(manager->getSkipLevel(), 4u);
    manager->setSkipLevel(0);
}

// Fonts added once the engine has started get their device font at once; the engine's shutdown
// lets every font go before the device does.
TEST_F(EngineStartTest, FontManagerIsPreparedWithTheDevice) {
    Orvex::D3DXFontInterface* fonts = engine->getFontManager();
    ASSERT_TRUE(engine->init());
    EXPECT_TRUE(fonts->isReady());
    Orvex::XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<FONTS><D3DXFONT NAME=\"engine\" HEIGHT=\"12\"/></FONTS>"));
    fonts->loadConfig(root);
    auto* font = dynamic_cast<Orvex::D3DXFont*>(fonts->findFont(L"engine"));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font->getDeviceFont(), nullptr);
    engine->shutdown();
    EXPECT_EQ(fonts->findFont(L"engine"), nullptr);
}

TEST_F(EngineStartTest, ShowConsoleSwitchShowsTheLogConsoleOnceStarted) {
    Orvex::Logger& logger = Orvex::Logger::getInstance();
    bool const before = logger.isConsoleShown();
    logger.showConsole(false);
    engine->parseCommandLine("-SHOW_CONSOLE 1");
    EXPECT_FALSE(logger.isConsoleShown());
    ASSERT_TRUE(engine->init());
    EXPECT_TRUE(logger.isConsoleShown());
    engine->parseCommandLine("-SHOW_CONSOLE 0");
    EXPECT_FALSE(logger.isConsoleShown());
    logger.showConsole(before);
}

TEST_F(EngineStartTest, ClosingTheWindowEndsTheLoopWithZero) {
    ASSERT_TRUE(engine->init());
    enginetest::Counter renders;
    engine->renderSignal.connect(&renders, &enginetest::Counter::hit);
    HWND window = engine->getWindow()->getHWND();
    renders.onHit = [window](int n) {
        if (n == 3) PostMessageW(window, WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(engine->run(), 0);
    EXPECT_GE(renders.count, 3);
}

TEST_F(EngineStartTest, WindowActivationIsPassedOn) {
    ASSERT_TRUE(engine->init());
    struct Listener : sigslot::has_slots<sigslot::single_threaded> {
        void onActive(bool const& active) { states.push_back(active); }
        std::vector<bool> states;
    } listener;
    engine->windowActiveSignal.connect(&listener, &Listener::onActive);
    HWND window = engine->getWindow()->getHWND();
    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageW(window, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(listener.states, (std::vector<bool>{false, true}));
}

TEST_F(EngineStartTest, SplashPictureIsDrawnFittedAndFaded) {
    ASSERT_TRUE(engine->init());
    std::filesystem::path const folder = testsupport::makeTempDir("splashpixels");
    testsupport::writeFile(folder / "red.png", enginetest::kRedPng);

    double clock = 0.0;
    engine->setLoopClock([&] { return clock; }, [&](Orvex::u32 ms) { clock += ms / 1000.0; });
    struct Probe : sigslot::has_slots<sigslot::single_threaded> {
        void onFrame(std::wstring const&, float const& brightness) {
            if (brightness == 1.0f && full == 0) {
                full = backBufferPixel(160, 120);
                border = backBufferPixel(10, 120);
            }
            if (brightness > 0.45f && brightness < 0.55f && half == 0) {
                half = backBufferPixel(160, 120);
                halfLevel = brightness;
            }
        }
        D3DCOLOR full = 0, border = 0, half = 0;
        float halfLevel = 0.0f;
    } probe;
    engine->splashFrameSignal.connect(&probe, &Probe::onFrame);

    EXPECT_TRUE(engine->showSplashScreens(port::windowsPath(folder.string()), 1000, 300, 300));
    // The square picture fills the height of the 320x240 screen, centred: black beside it.
    EXPECT_EQ(probe.full & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(probe.border & 0xFFFFFF, 0x000000u);
    ASSERT_NE(probe.half, 0u);
    EXPECT_NEAR(static_cast<double>((probe.half >> 16) & 0xFF), probe.halfLevel * 255.0, 3.0);
    EXPECT_EQ(probe.half & 0xFFFF, 0u);
}

}  // namespace
