// The values the game forces before its window opens: the engine's render passes are off, so the
// device's creation makes none of their full-screen targets (the game's render-pass file leaves
// them off, and a file that turns them on still gets them).
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/RenderManager.h"
#include "game/app/WinMain.h"

namespace {

// Puts back what forceStartSettings changes, for the tests after this one in the program.
class StartSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = Orvex::OrvexEngine::getInstance();
        passes = engine->getRenderManager();
        ASSERT_NE(passes, nullptr);
        device = engine->getD3DInterface()->getInitParams();
        input = engine->getDirectInput()->getInitParams();
        textures = engine->getTextureInitParams();
        forwardOn = passes->getForwardRenderer().isEnabled();
        postOn = passes->getPostEffectRenderer().isEnabled();
    }
    void TearDown() override {
        engine->getD3DInterface()->getInitParams() = device;
        engine->getDirectInput()->getInitParams() = input;
        engine->getTextureInitParams() = textures;
        passes->getForwardRenderer().setEnabled(forwardOn);
        passes->getPostEffectRenderer().setEnabled(postOn);
    }

    Orvex::OrvexEngine* engine = nullptr;
    Orvex::RenderManager* passes = nullptr;
    Orvex::D3DInitParams device;
    Orvex::DirectInputInitParams input;
    Orvex::TextureInitParams textures;
    bool forwardOn = false;
    bool postOn = false;
};

TEST_F(StartSettingsTest, RenderPassesAreOffUntilARenderPassFileTurnsThemOn) {
    passes->getForwardRenderer().setEnabled(true);
    passes->getPostEffectRenderer().setEnabled(true);
    Solitaire::forceStartSettings();
    EXPECT_FALSE(passes->getForwardRenderer().isEnabled());
    EXPECT_FALSE(passes->getPostEffectRenderer().isEnabled());
    EXPECT_FALSE(passes->getForwardRenderer().isCreated());
    EXPECT_FALSE(passes->getPostEffectRenderer().isCreated());

    Orvex::XMLNode file;
    ASSERT_TRUE(file.loadFromText(L"<RENDERPASS><FORWARD_RENDERING ENABLE=\"1\"/><POSTEFFECT_RENDERING ENABLE=\"1\"/>"
                                  L"</RENDERPASS>"));
    passes->loadConfig(file, L"test.rp");
    EXPECT_TRUE(passes->getForwardRenderer().isEnabled());
    EXPECT_TRUE(passes->getPostEffectRenderer().isEnabled());
}

}  // namespace
