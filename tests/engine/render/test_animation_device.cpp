// Device set-up shared by the frame animation tests.
#include "tests/engine/render/test_animation_support.h"

#include "engine/core/GOBManager.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "port/win32/HostPath.h"
#include "tests/support/TestSupport.h"

namespace animtest {

void AnimationDeviceTest::SetUp() {
    EffectTest::SetUp();
    addTestDataSearchPath();
}

std::wstring testDataFolder() {
    return port::windowsPath((testsupport::sourceDir() / "tests" / "engine" / "render" / "data").string());
}

void addTestDataSearchPath() {
    static bool added = false;
    if (added) return;
    Orvex::GOBManager::getInstance().addSearchPath(testDataFolder());
    added = true;
}

Orvex::Texture2D* AnimationDeviceTest::addTexture(std::wstring const& name, unsigned width, unsigned height,
                                                  std::vector<uint32_t> const& texels) {
    auto* texture = new Orvex::Texture2D(name);
    EXPECT_TRUE(texture->create(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    Orvex::Texture2DAnimationManager::instance().getTextures().addTexture(texture, true);
    if (!texels.empty()) rendertest::fillTexels(*texture->getD3DTexture(), width, height, texels);
    return texture;
}

}  // namespace animtest
