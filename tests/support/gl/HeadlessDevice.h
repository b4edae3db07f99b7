// A window with a Direct3D device on it: the set-up of every program that draws without a screen
// (test fixtures, benchmarks). Header-only so that benchmark programs can use it without the test
// libraries. The window is an SDL window, so SDL_VIDEODRIVER=offscreen keeps it invisible.
#pragma once

#include "port/d3d9/d3d9.h"
#include "port/win32/windows.h"

namespace testsupport {

// Windowed X8R8G8B8 back buffer with a D24S8 depth buffer, presented at once.
inline D3DPRESENT_PARAMETERS windowedParameters(HWND window, UINT width, UINT height) {
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

class HeadlessDevice {
public:
    HeadlessDevice() = default;
    ~HeadlessDevice() { close(); }
    HeadlessDevice(HeadlessDevice const&) = delete;
    HeadlessDevice& operator=(HeadlessDevice const&) = delete;

    // A shown pop-up window of the size and a device on it with windowedParameters. False when
    // any step failed; what was made stays for close().
    bool open(UINT width, UINT height) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXW c{};
            c.cbSize = sizeof(c);
            c.lpfnWndProc = windowProc;
            c.lpszClassName = kClassName;
            if (!RegisterClassExW(&c)) return false;
            registered = true;
        }
        window = CreateWindowExW(0, kClassName, L"Test device", WS_POPUP, 0, 0, static_cast<int>(width),
                                 static_cast<int>(height), nullptr, nullptr, nullptr, nullptr);
        if (!window) return false;
        ShowWindow(window, SW_SHOW);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        if (!d3d) return false;
        D3DPRESENT_PARAMETERS pp = windowedParameters(window, width, height);
        return d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                 &device) == D3D_OK;
    }

    // Unbinds the textures, releases the device and Direct3D, destroys the window and drops its
    // messages. False when something else still held the device or Direct3D (a leak).
    bool close() {
        bool last = true;
        if (device) {
            for (DWORD i = 0; i < 8; ++i) device->SetTexture(i, nullptr);
            last = device->Release() == 0;
            device = nullptr;
        }
        if (d3d) {
            last = d3d->Release() == 0 && last;
            d3d = nullptr;
        }
        if (window) {
            DestroyWindow(window);
            window = nullptr;
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            }
        }
        return last;
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;

private:
    static constexpr wchar_t const* kClassName = L"TestDevice";
    static LRESULT windowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(w, message, wParam, lParam);
    }
};

// Sprite drawing: no depth, no lighting, no culling, source-alpha blending,
// texture times diffuse (the state the sprite benchmarks draw with).
inline void setAlphaBlendedSpriteStates(IDirect3DDevice9* device) {
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
}

}  // namespace testsupport
