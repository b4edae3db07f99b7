// A headless window with a Direct3D device, and helpers to draw quads and read pixels back.
#pragma once

#include "port/d3d9/d3d9.h"
#include "port/win32/windows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

struct ScreenVertex {  // D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class DeviceFixture : public ::testing::Test {
protected:
    static constexpr UINT kWidth = 64;
    static constexpr UINT kHeight = 48;

    void SetUp() override;
    void TearDown() override;

    D3DPRESENT_PARAMETERS presentParameters(UINT width, UINT height) const;

    // Two triangles covering (x0, y0)-(x1, y1) with texture coordinates (u0, v0)-(u1, v1).
    void drawQuad(float x0, float y0, float x1, float y1, D3DCOLOR color, float u0 = 0, float v0 = 0, float u1 = 1,
                  float v1 = 1);
    // The current render target's pixels as A8R8G8B8 values, rows top first.
    std::vector<uint32_t> readTarget();
    uint32_t pixel(std::vector<uint32_t> const& pixels, int x, int y, UINT width = kWidth) const {
        return pixels[static_cast<size_t>(y) * width + static_cast<size_t>(x)];
    }
    // A managed A8R8G8B8 texture filled by f(x, y).
    template <class F>
    IDirect3DTexture9* makeTexture(UINT width, UINT height, F f, D3DFORMAT format = D3DFMT_A8R8G8B8) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device->CreateTexture(width, height, 1, 0, format, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
        if (!texture) return nullptr;
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        for (UINT y = 0; y < height; ++y)
            for (UINT x = 0; x < width; ++x)
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch)[x] = f(x, y);
        EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
        return texture;
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};
