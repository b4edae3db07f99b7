// A headless window with a Direct3D device for the D3DX tests, and pixel helpers.
#pragma once

#include "port/d3dx9/d3dx9.h"
#include "port/win32/windows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

class DxFixture : public ::testing::Test {
protected:
    static constexpr UINT kWidth = 64;
    static constexpr UINT kHeight = 48;

    void SetUp() override;
    void TearDown() override;
    D3DPRESENT_PARAMETERS presentParameters() const;

    // The render target's pixels as A8R8G8B8, rows top first.
    std::vector<uint32_t> readTarget();
    // Level 0 of a lockable texture as A8R8G8B8 (the texture must be A8R8G8B8 or X8R8G8B8).
    std::vector<uint32_t> readTexture(IDirect3DTexture9* texture);
    static uint32_t at(std::vector<uint32_t> const& pixels, UINT x, UINT y, UINT width = kWidth) {
        return pixels[static_cast<size_t>(y) * width + x];
    }
    // A managed A8R8G8B8 texture filled by f(x, y).
    template <class F>
    IDirect3DTexture9* makeTexture(UINT width, UINT height, F f) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
        if (!texture) return nullptr;
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        for (UINT y = 0; y < height; ++y)
            for (UINT x = 0; x < width; ++x)
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] = f(x, y);
        texture->UnlockRect(0);
        return texture;
    }
    void clear(D3DCOLOR color) { device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_STENCIL, color, 1.0f, 0); }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};

// Channel-wise comparison with a tolerance (GL rounding).
::testing::AssertionResult colorNear(uint32_t actual, uint32_t expected, int tolerance = 2);
