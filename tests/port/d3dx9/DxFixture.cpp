// The D3DX tests' device fixture: one headless window and device per test.
#include "tests/port/d3dx9/DxFixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

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

D3DPRESENT_PARAMETERS DxFixture::presentParameters() const {
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = kWidth;
    pp.BackBufferHeight = kHeight;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = window;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return pp;
}

void DxFixture::SetUp() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW c{};
        c.cbSize = sizeof(c);
        c.lpfnWndProc = windowProc;
        c.lpszClassName = L"D3DXTest";
        ASSERT_NE(RegisterClassExW(&c), 0);
        registered = true;
    }
    window = CreateWindowExW(0, L"D3DXTest", L"D3DX", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(window, nullptr);
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS pp = presentParameters();
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                &device),
              D3D_OK);
}

void DxFixture::TearDown() {
    if (device) {
        for (DWORD i = 0; i < 8; ++i) device->SetTexture(i, nullptr);
        EXPECT_EQ(device->Release(), 0u);
    }
    if (d3d) d3d->Release();
    if (window) DestroyWindow(window);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

std::vector<uint32_t> DxFixture::readTarget() {
    std::vector<uint32_t> pixels;
    IDirect3DSurface9* target = nullptr;
    if (device->GetRenderTarget(0, &target) != D3D_OK) return pixels;
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                  nullptr),
              D3D_OK);
    EXPECT_EQ(device->GetRenderTargetData(target, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y)
        std::memcpy(&pixels[static_cast<size_t>(y) * desc.Width], static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                    desc.Width * 4);
    copy->UnlockRect();
    copy->Release();
    target->Release();
    return pixels;
}

std::vector<uint32_t> DxFixture::readTexture(IDirect3DTexture9* texture) {
    std::vector<uint32_t> pixels;
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    D3DLOCKED_RECT locked{};
    if (texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY) != D3D_OK) return pixels;
    pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y)
        std::memcpy(&pixels[static_cast<size_t>(y) * desc.Width], static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                    desc.Width * 4);
    texture->UnlockRect(0);
    return pixels;
}
