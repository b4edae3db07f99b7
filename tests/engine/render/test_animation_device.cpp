// Device set-up shared by the frame animation tests.
#include "tests/engine/render/test_animation_device.h"

#include "engine/core/GOBManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "port/win32/HostPath.h"
#include "tests/support/TestSupport.h"

namespace animtest {

void AnimationDeviceTest::SetUp() {
    EffectTest::SetUp();
    addTestDataSearchPath();
}

void AnimationDeviceTest::TearDown() {
    // Nothing of the registry may outlive the device it was made on.
    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    registry.releaseAnimations();
    registry.getTextures().releaseAll();
    Orvex::D3DInterface::getInstance().getTextureManager().releaseAll();
    EffectTest::TearDown();
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

Orvex::Texture2D* AnimationDeviceTest::addTexture(std::wstring const& name, unsigned width, unsigned height) {
    auto* texture = new Orvex::Texture2D(name);
    EXPECT_TRUE(texture->create(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    Orvex::Texture2DAnimationManager::instance().getTextures().addTexture(texture, true);
    return texture;
}

Orvex::Texture2D* AnimationDeviceTest::addTexture(std::wstring const& name, unsigned width, unsigned height,
                                                  std::vector<uint32_t> const& texels) {
    Orvex::Texture2D* texture = addTexture(name, width, height);
    IDirect3DTexture9* raw = *texture->getD3DTexture();
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(raw->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (unsigned y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
        for (unsigned x = 0; x < width; ++x) row[x] = texels.size() == 1 ? texels[0] : texels[y * width + x];
    }
    raw->UnlockRect(0);
    return texture;
}

}  // namespace animtest
