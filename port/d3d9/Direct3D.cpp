// The Direct3D object: one adapter (SDL display 0), its display modes, format checks, device
// capabilities and device creation; PIX events (ignored).
#include "port/d3d9/Internal.h"

#include "port/win32/win32_log.h"
#include "port/win32/win32_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>

namespace port::d3d9 {
namespace {

// Resolutions every run offers, also without a display, since the game's settings force them.
constexpr UINT kForcedModes[][2] = {{1024, 768}, {1280, 720}, {1280, 1024}, {1680, 1050}, {1920, 1080}, {3840, 2160}};

bool displayFormat(D3DFORMAT format) { return format == D3DFMT_X8R8G8B8 || format == D3DFMT_R5G6B5; }

}  // namespace

void fillCaps(D3DCAPS9& caps) {
    std::memset(&caps, 0, sizeof(caps));
    caps.DeviceType = D3DDEVTYPE_HAL;
    caps.Caps2 = D3DCAPS2_DYNAMICTEXTURES | D3DCAPS2_CANAUTOGENMIPMAP;
    caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
    caps.PrimitiveMiscCaps = D3DPMISCCAPS_SEPARATEALPHABLEND;
    caps.TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    caps.MaxTextureWidth = caps.MaxTextureHeight = 8192;
    caps.MaxTextureAspectRatio = 8192;
    caps.MaxAnisotropy = 1;
    caps.StencilCaps = D3DSTENCILCAPS_KEEP | D3DSTENCILCAPS_ZERO | D3DSTENCILCAPS_REPLACE | D3DSTENCILCAPS_INCRSAT |
                       D3DSTENCILCAPS_DECRSAT | D3DSTENCILCAPS_INVERT | D3DSTENCILCAPS_INCR | D3DSTENCILCAPS_DECR |
                       D3DSTENCILCAPS_TWOSIDED;
    caps.FVFCaps = 8;  // texture coordinate sets
    caps.MaxTextureBlendStages = 2;
    caps.MaxSimultaneousTextures = PORT_D3D_MAX_STAGES;
    caps.MaxPrimitiveCount = 0xFFFFFF;
    caps.MaxVertexIndex = 0xFFFFFF;
    caps.MaxStreams = 1;
    caps.MaxStreamStride = 255;
    caps.VertexShaderVersion = D3DVS_VERSION(3, 0);
    caps.MaxVertexShaderConst = 256;
    caps.PixelShaderVersion = D3DPS_VERSION(3, 0);
    caps.NumSimultaneousRTs = 1;
}

Direct3D::Direct3D() = default;

HRESULT Direct3D::GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER9* identifier) {
    if (adapter != 0 || !identifier) return D3DERR_INVALIDCALL;
    std::memset(identifier, 0, sizeof(*identifier));
    std::snprintf(identifier->Driver, sizeof(identifier->Driver), "OpenGL 3.3 (SDL %s)", SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "-");
    std::snprintf(identifier->Description, sizeof(identifier->Description), "OpenGL display adapter");
    std::snprintf(identifier->DeviceName, sizeof(identifier->DeviceName), "\\\\.\\DISPLAY1");
    return D3D_OK;
}

std::vector<D3DDISPLAYMODE> Direct3D::modes(D3DFORMAT format) const {
    std::vector<D3DDISPLAYMODE> list;
    if (!displayFormat(format)) return list;
    if (port::win32::ensureVideo()) {
        int count = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < count; ++i) {
            SDL_DisplayMode mode{};
            if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0) continue;
            list.push_back(D3DDISPLAYMODE{static_cast<UINT>(mode.w), static_cast<UINT>(mode.h),
                                          static_cast<UINT>(mode.refresh_rate > 0 ? mode.refresh_rate : 60), format});
        }
    }
    for (auto const& size : kForcedModes)
        for (UINT rate : {60u, 75u}) list.push_back(D3DDISPLAYMODE{size[0], size[1], rate, format});
    auto key = [](D3DDISPLAYMODE const& m) { return std::make_tuple(m.Width, m.Height, m.RefreshRate); };
    std::sort(list.begin(), list.end(), [&](auto const& a, auto const& b) { return key(a) < key(b); });
    list.erase(std::unique(list.begin(), list.end(), [&](auto const& a, auto const& b) { return key(a) == key(b); }),
               list.end());
    return list;
}

UINT Direct3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    return adapter == 0 ? static_cast<UINT>(modes(format).size()) : 0;
}

HRESULT Direct3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode) {
    if (adapter != 0 || !displayMode) return D3DERR_INVALIDCALL;
    std::vector<D3DDISPLAYMODE> list = modes(format);
    if (mode >= list.size()) return D3DERR_INVALIDCALL;
    *displayMode = list[mode];
    return D3D_OK;
}

HRESULT Direct3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != 0 || !mode) return D3DERR_INVALIDCALL;
    int width = 0, height = 0;
    port::win32::desktopSize(width, height);
    SDL_DisplayMode desktop{};
    int rate = 0;
    if (port::win32::ensureVideo() && !port::win32::headlessVideo() && SDL_GetDesktopDisplayMode(0, &desktop) == 0)
        rate = desktop.refresh_rate;
    *mode = D3DDISPLAYMODE{static_cast<UINT>(width), static_cast<UINT>(height), static_cast<UINT>(rate > 0 ? rate : 60),
                           D3DFMT_X8R8G8B8};
    return D3D_OK;
}

HRESULT Direct3D::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat_, D3DFORMAT backBufferFormat,
                                  BOOL) {
    if (adapter != 0 || type != D3DDEVTYPE_HAL) return D3DERR_NOTAVAILABLE;
    if (!displayFormat(displayFormat_)) return D3DERR_NOTAVAILABLE;
    if (backBufferFormat != D3DFMT_UNKNOWN && backBufferFormat != D3DFMT_X8R8G8B8 && backBufferFormat != D3DFMT_A8R8G8B8 &&
        backBufferFormat != D3DFMT_R5G6B5)
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT Direct3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE, D3DFORMAT, DWORD usage, D3DRESOURCETYPE resourceType,
                                    D3DFORMAT checkFormat) {
    if (adapter != 0) return D3DERR_INVALIDCALL;
    FormatInfo const* info = formatInfo(checkFormat);
    if (!info) return D3DERR_NOTAVAILABLE;
    if (usage & D3DUSAGE_DEPTHSTENCIL) return info->depth ? D3D_OK : D3DERR_NOTAVAILABLE;
    if (info->depth) return D3DERR_NOTAVAILABLE;
    if ((usage & D3DUSAGE_RENDERTARGET) && info->blockBytes) return D3DERR_NOTAVAILABLE;
    if (resourceType != D3DRTYPE_TEXTURE && resourceType != D3DRTYPE_SURFACE) return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT Direct3D::CheckDeviceMultiSampleType(UINT, D3DDEVTYPE, D3DFORMAT, BOOL, D3DMULTISAMPLE_TYPE multiSample,
                                             DWORD* qualityLevels) {
    if (qualityLevels) *qualityLevels = 1;
    return multiSample == D3DMULTISAMPLE_NONE ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D::CheckDepthStencilMatch(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, D3DFORMAT depthStencilFormat) {
    FormatInfo const* info = formatInfo(depthStencilFormat);
    return info && info->depth ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE, D3DCAPS9* caps) {
    if (adapter != 0 || !caps) return D3DERR_INVALIDCALL;
    fillCaps(*caps);
    return D3D_OK;
}

HMONITOR Direct3D::GetAdapterMonitor(UINT adapter) {
    return adapter == 0 ? reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(1)) : nullptr;
}

HRESULT Direct3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                               D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    if (!device || !parameters) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != 0 || type != D3DDEVTYPE_HAL) return D3DERR_NOTAVAILABLE;
    HWND window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focusWindow;
    auto* created = new Device(this, window, behaviorFlags);
    if (!created->create(*parameters)) {
        created->Release();
        return D3DERR_NOTAVAILABLE;
    }
    *device = created;
    return D3D_OK;
}

}  // namespace port::d3d9

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) {
        port::logLine(port::LogLevel::Error, L"Direct3DCreate9: unexpected SDK version " + std::to_wstring(sdkVersion));
        return nullptr;
    }
    if (!port::win32::ensureVideo()) return nullptr;
    return new port::d3d9::Direct3D();
}

namespace {
// Open performance events: like Direct3D, Begin answers the level it opens and End the level it
// closes (-1 when none is open), so unbalanced events show.
int perfEventDepth = 0;
}  // namespace

int D3DPERF_BeginEvent(D3DCOLOR, LPCWSTR) { return perfEventDepth++; }
int D3DPERF_EndEvent() { return perfEventDepth > 0 ? --perfEventDepth : -1; }
void D3DPERF_SetMarker(D3DCOLOR, LPCWSTR) {}
void D3DPERF_SetRegion(D3DCOLOR, LPCWSTR) {}
BOOL D3DPERF_QueryRepeatFrame() { return FALSE; }
void D3DPERF_SetOptions(DWORD) {}
DWORD D3DPERF_GetStatus() { return 0; }
