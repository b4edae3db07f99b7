// The shared device fixture: set-up, tear-down, and pixel read-back on any device.
#include "tests/support/gl/DeviceFixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace testsupport {

namespace {

// Copies rows of 32-bit pixels out of locked memory.
std::vector<uint32_t> copyRows(D3DLOCKED_RECT const& locked, UINT width, UINT height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (UINT y = 0; y < height; ++y)
        std::memcpy(&pixels[static_cast<size_t>(y) * width], static_cast<uint8_t const*>(locked.pBits) + y * locked.Pitch,
                    width * 4);
    return pixels;
}

}  // namespace

void DeviceFixture::SetUp() { ASSERT_TRUE(open(kWidth, kHeight)) << "no headless window and device"; }

void DeviceFixture::TearDown() { EXPECT_TRUE(close()) << "the device or Direct3D is still referenced"; }

void DrawingFixture::SetUp() {
    DeviceFixture::SetUp();
    if (!device) return;
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
}

void DeviceFixture::drawQuad(float x0, float y0, float x1, float y1, D3DCOLOR color, float u0, float v0, float u1,
                             float v1) {
    ScreenVertex v[4] = {{x0, y0, 0.5f, 1.0f, color, u0, v0},
                         {x1, y0, 0.5f, 1.0f, color, u1, v0},
                         {x0, y1, 0.5f, 1.0f, color, u0, v1},
                         {x1, y1, 0.5f, 1.0f, color, u1, v1}};
    device->SetFVF(kScreenFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(ScreenVertex)), D3D_OK);
}

std::vector<uint32_t> readRenderTarget(IDirect3DDevice9* device, bool glAlpha) {
    std::vector<uint32_t> pixels;
    IDirect3DSurface9* target = nullptr;
    if (!device || device->GetRenderTarget(0, &target) != D3D_OK || !target) return pixels;
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    // A copy in the target's own format where it is one of the two 32-bit ones, as Direct3D
    // wants: an X8R8G8B8 target then reads opaque whatever GL keeps in its alpha channel.
    D3DFORMAT format = desc.Format == D3DFMT_X8R8G8B8 && !glAlpha ? D3DFMT_X8R8G8B8 : D3DFMT_A8R8G8B8;
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, format, D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    if (copy) {
        EXPECT_EQ(device->GetRenderTargetData(target, copy), D3D_OK);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        if (locked.pBits) {
            pixels = copyRows(locked, desc.Width, desc.Height);
            copy->UnlockRect();
        }
        copy->Release();
    }
    target->Release();
    return pixels;
}

std::vector<uint32_t> readTexture(IDirect3DTexture9* texture) {
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    D3DLOCKED_RECT locked{};
    if (texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY) != D3D_OK) return {};
    std::vector<uint32_t> pixels = copyRows(locked, desc.Width, desc.Height);
    texture->UnlockRect(0);
    return pixels;
}

::testing::AssertionResult colorNear(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            char text[64];
            std::snprintf(text, sizeof(text), "0x%08X is not near 0x%08X", actual, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace testsupport
