// The device object: window and device creation, device loss and reset, shutdown.
#include "engine/platform/D3DInterface.h"

#include <cwchar>

#include "engine/core/Logger.h"

namespace Orvex {
namespace {

wchar_t const kErrorTitle[] = L"Fehler!";

std::wstring hresultText(HRESULT hr) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"0x%08X", static_cast<unsigned>(hr));
    return buffer;
}

}  // namespace

D3DInterface& D3DInterface::getInstance() {
    static D3DInterface instance;
    return instance;
}

D3DInterface::D3DInterface() : window_(AppWindow::getInstance()) {
    presentParams_ = initParams_.presentParameters;
    addCommand(new ConsoleCommand(L"D3D_setResolution", 2,
                                  L"D3D_setResolution Breite Höhe [Vollbild 0/1] [Hz]: setzt die Bildschirmauflösung"));
}

// The device and window are released by shutdown; at static destruction the port's tables may
// already be gone, so nothing is released here.
D3DInterface::~D3DInterface() = default;

void D3DInterface::showError(wchar_t const* text) {
    logError(text);
    MessageBoxW(window_.getHWND(), text, kErrorTitle, MB_OK | MB_ICONERROR);
}

bool D3DInterface::createWindow() {
    if (window_.isCreated()) return true;
    D3DDISPLAYMODE const& mode = initParams_.displayMode;
    if (!window_.create(window_.getTitle(), mode.Width, mode.Height, initParams_.isWindowed())) {
        showError(L"createWindow() schlug fehl");
        return false;
    }
    return true;
}

IDirect3D9* D3DInterface::getDirect3D() {
    if (!d3d_) {
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        if (!d3d_) logError(L"D3DInterface: Direct3DCreate9 failed");
    }
    return d3d_;
}

void D3DInterface::buildPresentParameters(D3DDISPLAYMODE const& mode, bool windowed) {
    D3DPRESENT_PARAMETERS pp = initParams_.presentParameters;
    pp.BackBufferWidth = mode.Width;
    pp.BackBufferHeight = mode.Height;
    pp.BackBufferFormat = mode.Format;
    pp.Windowed = windowed ? TRUE : FALSE;
    pp.FullScreen_RefreshRateInHz = windowed ? 0 : mode.RefreshRate;
    pp.hDeviceWindow = window_.getHWND();
    presentParams_ = pp;
}

bool D3DInterface::init() {
    if (device_) return true;
    if (!createWindow()) return false;
    if (!getDirect3D()) {
        showError(L"CreateDevice() schlug fehl");
        return false;
    }
    bool windowed = initParams_.isWindowed();
    D3DDISPLAYMODE mode = chooseStartMode(initParams_.displayMode, windowed);
    if (mode.Width != getWidth() || mode.Height != getHeight()) window_.place(mode.Width, mode.Height, windowed);
    buildPresentParameters(mode, windowed);
    HRESULT hr = d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_.getHWND(),
                                    D3DCREATE_HARDWARE_VERTEXPROCESSING, &presentParams_, &device_);
    if (FAILED(hr)) {
        device_ = nullptr;
        hr = d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_.getHWND(),
                                D3DCREATE_SOFTWARE_VERTEXPROCESSING, &presentParams_, &device_);
    }
    if (FAILED(hr) || !device_) {
        device_ = nullptr;
        logError(L"D3DInterface: CreateDevice returned " + hresultText(hr));
        showError(L"CreateDevice() schlug fehl");
        return false;
    }
    initParams_.displayMode = mode;
    lostNotified_ = false;
    std::wstring text;
    displayModeToString(text, mode, L" ");
    logInfo(L"D3DInterface: device created, " + text + (windowed ? L", windowed" : L", full screen"));
    if (!createdEmitted_) {
        createdEmitted_ = true;
        signalDeviceCreated.emit();
    }
    return true;
}

void D3DInterface::shutdown() {
    if (confirmPending_) {
        // An unconfirmed mode does not outlive the run.
        confirmPending_ = false;
        initParams_.displayMode = savedMode_;
        initParams_.setWindowed(savedWindowed_);
        fit_ = savedFit_;
    }
    if (device_) {
        signalDeviceShutdown.emit();
        device_->Release();
        device_ = nullptr;
    }
    if (d3d_) {
        d3d_->Release();
        d3d_ = nullptr;
    }
    window_.destroy();
    createdEmitted_ = false;
    lostNotified_ = false;
    modesBuilt_ = false;
    modes_.clear();
    pendingRestricted_ = false;
    pendingUnsupported_.clear();
}

void D3DInterface::getScreenRect(RECT& out) const {
    out = RECT{0, 0, static_cast<LONG>(getWidth()), static_cast<LONG>(getHeight())};
}

bool D3DInterface::resetDevice() {
    if (!device_) return false;
    if (!lostNotified_) {
        lostNotified_ = true;
        signalDeviceLost.emit();
    }
    presentParams_.hDeviceWindow = window_.getHWND() ? window_.getHWND() : presentParams_.hDeviceWindow;
    HRESULT hr = device_->Reset(&presentParams_);
    if (FAILED(hr)) {
        logError(L"D3DInterface: Reset returned " + hresultText(hr));
        return false;
    }
    lostNotified_ = false;
    signalDeviceReset.emit();
    return true;
}

bool D3DInterface::checkDevice() {
    if (!device_) return false;
    HRESULT hr = device_->TestCooperativeLevel();
    if (hr == D3D_OK && !lostNotified_) return true;
    if (hr == D3DERR_DEVICELOST) {
        if (!lostNotified_) {
            lostNotified_ = true;
            logWarning(L"D3DInterface: device lost");
            signalDeviceLost.emit();
        }
        return false;
    }
    // D3DERR_DEVICENOTRESET, or a device that came back after its loss was reported: reset it so
    // that the holders re-create what they released.
    if (hr == D3DERR_DEVICENOTRESET || hr == D3D_OK) return resetDevice();
    logError(L"D3DInterface: TestCooperativeLevel returned " + hresultText(hr));
    return false;
}

}  // namespace Orvex
