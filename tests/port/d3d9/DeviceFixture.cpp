#include "tests/port/d3d9/DeviceFixture.h"

#include <cstring>

namespace {

LRESULT fixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

D3DPRESENT_PARAMETERS DeviceFixture::presentParameters(UINT width, UINT height) const {
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
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

void DeviceFixture::SetUp() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW c{};
        c.cbSize = sizeof(c);
        c.lpfnWndProc = fixtureProc;
        c.lpszClassName = L"D3DTest";
        ASSERT_NE(RegisterClassExW(&c), 0);
        registered = true;
    }
    window = CreateWindowExW(0, L"D3DTest", L"D3D", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DPRESENT_PARAMETERS pp = presentParameters(kWidth, kHeight);
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                &device),
              D3D_OK);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
}

void DeviceFixture::TearDown() {
    if (device) {
        EXPECT_EQ(device->Release(), 0u);
    }
    if (d3d) {
        EXPECT_EQ(d3d->Release(), 0u);
    }
    if (window) DestroyWindow(window);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
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

std::vector<uint32_t> DeviceFixture::readTarget() {
    std::vector<uint32_t> pixels;
    IDirect3DSurface9* target = nullptr;
    if (device->GetRenderTarget(0, &target) != D3D_OK) return pixels;
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy,
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
