// The values the game forces before its window opens: the engine's render passes are off, so the
// device's creation makes none of their full-screen targets (the game's render-pass file leaves
// them off, and a file that turns them on still gets them).
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/render/RenderManager.h"
#include "game/app/WinMain.h"
#include "tests/game/app/StartSettingsGuard.h"

namespace {

// Puts back what forceStartSettings changes, for the tests after this one in the program.
class StartSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(passes, nullptr); }

    apptest::StartSettingsGuard kept;
    Orvex::RenderManager* passes = kept.passes();
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
