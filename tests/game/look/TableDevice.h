// Fixture of the tests that draw the table (styles, particles, cards): the device object's device
// opened headless for each test and shut down after it, a D3DX sprite on it, the source tree on the
// search path, and the style settings emptied before and after.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/platform/D3DInterface.h"
#include "engine/render/D3DXSprite.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureSettings.h"
#include "game/look/RenderObjekt.h"
#include "tests/game/look/StyleFiles.h"
#include "tests/support/gl/DeviceFixture.h"

namespace styletest {

constexpr unsigned kWidth = 128;
constexpr unsigned kHeight = 96;
constexpr uint32_t kClear = 0xFF101010;

class TableDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        styletest::addSourceSearchPath();
        Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
        d3d.shutdown();
        d3d.getInitParams() = Orvex::D3DInitParams();
        d3d.getInitParams().displayMode = D3DDISPLAYMODE{screenW, screenH, 60, D3DFMT_X8R8G8B8};
        d3d.getInitParams().setWindowed(true);
        ASSERT_TRUE(d3d.init());
        Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
        ASSERT_TRUE(sprite.create());
        resetSettings();
    }
    void TearDown() override {
        resetSettings();
        Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
        d3d.getTextureManager().releaseAll();
        d3d.shutdown();
        d3d.getInitParams() = Orvex::D3DInitParams();
    }

    IDirect3DDevice9* device() const { return Orvex::D3DInterface::getInstance().getDevice(); }

    // One frame: clear, what draws through the sprite, the pixels read back.
    template <class F>
    std::vector<uint32_t> draw(F drawing) {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0);
        EXPECT_TRUE(sprite.Begin(D3DXSPRITE_ALPHABLEND, nullptr));
        drawing();
        sprite.End();
        return testsupport::readRenderTarget(device());
    }
    static uint32_t at(std::vector<uint32_t> const& pixels, unsigned x, unsigned y) {
        return pixels[static_cast<std::size_t>(y) * kWidth + x];
    }

    Orvex::D3DXSprite sprite;
    // The frame's size: kWidth x kHeight unless a fixture drawing whole tables sets another in
    // its constructor.
    unsigned screenW = kWidth;
    unsigned screenH = kHeight;
};

}  // namespace styletest
