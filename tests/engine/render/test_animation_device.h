// Frame animation tests on the render tests' device, on top of the effect tests' fixture:
// textures made in the registry's list and the test data folder as a search path. The render
// fixture releases the registry after each test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/render/Texture2D.h"
#include "tests/engine/render/test_animation_support.h"
#include "tests/engine/render/test_effect_fixture.h"

namespace animtest {

// The Windows-style path of the test data folder (added to the search paths by the fixtures).
std::wstring testDataFolder();
// Adds the test data folder to the search paths once.
void addTestDataSearchPath();

class AnimationDeviceTest : public effecttest::EffectTest {
protected:
    void SetUp() override;

    // An empty managed A8R8G8B8 texture of that size in the registry's texture list.
    Orvex::Texture2D* addTexture(std::wstring const& name, unsigned width, unsigned height);
    // The same filled with texels (one colour for all when one is given).
    Orvex::Texture2D* addTexture(std::wstring const& name, unsigned width, unsigned height,
                                 std::vector<uint32_t> const& texels);
    static std::wstring dataFolder() { return testDataFolder(); }
};

}  // namespace animtest
