// Test fixture with a headless window and Direct3D device per test, and the helpers tests that
// draw need: quads in screen coordinates, textures filled by a function, pixels read back. The
// helpers are also free functions on any device, for fixtures that get theirs elsewhere (the
// engine's device object).
#pragma once

#include "tests/support/gl/HeadlessDevice.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace testsupport {

struct ScreenVertex {  // D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
// The colour bits of an A8R8G8B8 value, for comparing pixels whatever their alpha.
constexpr uint32_t kRgb = 0x00FFFFFF;

// The device's current render target as A8R8G8B8 values, rows top first (empty when there is
// none). X8R8G8B8 targets read opaque, or with glAlpha with the alpha GL stored (the port copies
// it to A8R8G8B8).
std::vector<uint32_t> readRenderTarget(IDirect3DDevice9* device, bool glAlpha = false);
// Level 0 of a lockable A8R8G8B8 or X8R8G8B8 texture, rows top first.
std::vector<uint32_t> readTexture(IDirect3DTexture9* texture);

// Fills level 0 of a lockable 32-bit texture of that size with f(x, y).
template <class F>
void fillTexture(IDirect3DTexture9* texture, UINT width, UINT height, F f) {
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    if (!locked.pBits) return;
    for (UINT y = 0; y < height; ++y)
        for (UINT x = 0; x < width; ++x)
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] = f(x, y);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
}

// A managed texture of a 32-bit format filled by f(x, y); the caller owns the reference.
template <class F>
IDirect3DTexture9* makeTexture(IDirect3DDevice9* device, UINT width, UINT height, F f,
                               D3DFORMAT format = D3DFMT_A8R8G8B8) {
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(width, height, 1, 0, format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    if (texture) fillTexture(texture, width, height, f);
    return texture;
}

// The device starts with Direct3D's default states. TearDown fails the test when the device or
// Direct3D is still referenced after the fixture's release (a leak in the code under test).
class DeviceFixture : public ::testing::Test, protected HeadlessDevice {
protected:
    static constexpr UINT kWidth = 64;
    static constexpr UINT kHeight = 48;

    void SetUp() override;
    void TearDown() override;

    // What SetUp creates the device with, for another size (Reset).
    D3DPRESENT_PARAMETERS presentParameters(UINT width = kWidth, UINT height = kHeight) const {
        return windowedParameters(window, width, height);
    }

    void clear(D3DCOLOR color) { device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_STENCIL, color, 1.0f, 0); }
    // Two triangles covering (x0, y0)-(x1, y1) with texture coordinates (u0, v0)-(u1, v1).
    void drawQuad(float x0, float y0, float x1, float y1, D3DCOLOR color, float u0 = 0, float v0 = 0, float u1 = 1,
                  float v1 = 1);
    // The current render target's pixels as A8R8G8B8 values, rows top first. X8R8G8B8 targets
    // read opaque, or with glAlpha with the alpha GL stored (the port copies it to A8R8G8B8).
    std::vector<uint32_t> readTarget(bool glAlpha = false) { return readRenderTarget(device, glAlpha); }
    // Level 0 of a lockable A8R8G8B8 or X8R8G8B8 texture, rows top first.
    std::vector<uint32_t> readTexture(IDirect3DTexture9* texture) { return testsupport::readTexture(texture); }
    static uint32_t pixel(std::vector<uint32_t> const& pixels, int x, int y, UINT width = kWidth) {
        return pixels[static_cast<size_t>(y) * width + static_cast<size_t>(x)];
    }
    // A managed texture of a 32-bit format filled by f(x, y).
    template <class F>
    IDirect3DTexture9* makeTexture(UINT width, UINT height, F f, D3DFORMAT format = D3DFMT_A8R8G8B8) {
        return testsupport::makeTexture(device, width, height, f, format);
    }
};

// The device fixture with the states of plain 2D drawing: no lighting, no depth test.
class DrawingFixture : public DeviceFixture {
protected:
    void SetUp() override;
};

// Channel-wise comparison with a tolerance (GL rounding).
::testing::AssertionResult colorNear(uint32_t actual, uint32_t expected, int tolerance = 2);

}  // namespace testsupport
