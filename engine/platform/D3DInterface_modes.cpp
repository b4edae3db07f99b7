// The device object's display modes: the offered list, the desktop and the modes that fit on
// it, choosing a start mode, switching modes with the confirmation countdown.
#include "engine/platform/D3DInterface.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"

namespace Orvex {
namespace {

bool sameMode(D3DDISPLAYMODE const& a, D3DDISPLAYMODE const& b) {
    return a.Width == b.Width && a.Height == b.Height && a.RefreshRate == b.RefreshRate && a.Format == b.Format;
}

bool modeLess(D3DDISPLAYMODE const& a, D3DDISPLAYMODE const& b) {
    if (a.Width != b.Width) return a.Width < b.Width;
    if (a.Height != b.Height) return a.Height < b.Height;
    if (a.RefreshRate != b.RefreshRate) return a.RefreshRate < b.RefreshRate;
    return a.Format < b.Format;
}

u64 area(D3DDISPLAYMODE const& mode) { return static_cast<u64>(mode.Width) * mode.Height; }

// The desktop when the adapter cannot tell.
constexpr u32 kFallbackDesktopWidth = 1920;
constexpr u32 kFallbackDesktopHeight = 1080;

std::wstring modeText(D3DDISPLAYMODE const& mode) {
    std::wstring text;
    D3DInterface::displayModeToString(text, mode, L" ");
    return text;
}

}  // namespace

std::vector<D3DDISPLAYMODE> const& D3DInterface::getDisplayModes() {
    D3DFORMAT format = initParams_.displayMode.Format;
    bool filtered = initParams_.useIncludeResList;
    if (modesBuilt_ && modesBuiltFiltered_ == filtered && modesBuiltFormat_ == format &&
        (!filtered || modesBuiltInclude_ == initParams_.includeResolutions))
        return modes_;
    modes_.clear();
    modesBuilt_ = true;
    modesBuiltFiltered_ = filtered;
    modesBuiltFormat_ = format;
    modesBuiltInclude_ = initParams_.includeResolutions;
    IDirect3D9* d3d = getDirect3D();
    if (!d3d) return modes_;

    std::vector<D3DDISPLAYMODE> all;
    std::vector<D3DFORMAT> formats{D3DFMT_X8R8G8B8};
    if (format != D3DFMT_X8R8G8B8 && format != D3DFMT_UNKNOWN) formats.push_back(format);
    for (D3DFORMAT f : formats) {
        UINT count = d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, f);
        for (UINT i = 0; i < count; ++i) {
            D3DDISPLAYMODE mode{};
            if (SUCCEEDED(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, f, i, &mode)) && mode.Width && mode.Height)
                all.push_back(mode);
        }
    }
    std::sort(all.begin(), all.end(), modeLess);
    all.erase(std::unique(all.begin(), all.end(), sameMode), all.end());

    if (!filtered) {
        modes_ = std::move(all);
        return modes_;
    }
    bool missing = false;
    for (D3DResolution const& size : initParams_.includeResolutions) {
        bool offered = false;
        for (D3DDISPLAYMODE const& mode : all) {
            if (mode.Width == size.width && mode.Height == size.height) {
                modes_.push_back(mode);
                offered = true;
            }
        }
        if (!offered) {
            missing = true;
            logWarning(L"D3DInterface: the adapter does not offer " + std::to_wstring(size.width) + L"x" +
                       std::to_wstring(size.height));
        }
    }
    std::sort(modes_.begin(), modes_.end(), modeLess);
    modes_.erase(std::unique(modes_.begin(), modes_.end(), sameMode), modes_.end());
    if (modes_.empty()) {
        logWarning(L"D3DInterface: no resolution of the include list is offered; all modes are listed");
        modes_ = std::move(all);
    }
    if (missing) pendingRestricted_ = true;
    return modes_;
}

D3DDISPLAYMODE D3DInterface::getDesktopMode() {
    D3DDISPLAYMODE desktop{kFallbackDesktopWidth, kFallbackDesktopHeight, 60, D3DFMT_X8R8G8B8};
    IDirect3D9* d3d = getDirect3D();
    if (d3d && FAILED(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop)))
        desktop = D3DDISPLAYMODE{kFallbackDesktopWidth, kFallbackDesktopHeight, 60, D3DFMT_X8R8G8B8};
    return desktop;
}

D3DDISPLAYMODE D3DInterface::chooseDesktopMode() {
    D3DDISPLAYMODE const desktop = getDesktopMode();
    std::vector<D3DDISPLAYMODE> const& modes = getDisplayModes();
    D3DDISPLAYMODE const* best = nullptr;
    auto fits = [&](D3DDISPLAYMODE const& m) { return m.Width <= desktop.Width && m.Height <= desktop.Height; };
    auto better = [&](D3DDISPLAYMODE const& m) {
        if (!best) return true;
        bool const sameSize = m.Width == desktop.Width && m.Height == desktop.Height;
        bool const bestSameSize = best->Width == desktop.Width && best->Height == desktop.Height;
        if (sameSize != bestSameSize) return sameSize;
        if (area(m) != area(*best)) return area(m) > area(*best);
        // The rate nearest the desktop's, the lower of two as near.
        u32 const d = m.RefreshRate > desktop.RefreshRate ? m.RefreshRate - desktop.RefreshRate : desktop.RefreshRate - m.RefreshRate;
        u32 const bd = best->RefreshRate > desktop.RefreshRate ? best->RefreshRate - desktop.RefreshRate
                                                               : desktop.RefreshRate - best->RefreshRate;
        return d < bd || (d == bd && m.RefreshRate < best->RefreshRate);
    };
    for (D3DDISPLAYMODE const& m : modes)
        if (fits(m) && better(m)) best = &m;
    if (!best)
        for (D3DDISPLAYMODE const& m : modes)
            if (!best || area(m) < area(*best)) best = &m;
    return best ? *best : desktop;
}

bool D3DInterface::fitModeToOffered() {
    D3DDISPLAYMODE& mode = initParams_.displayMode;
    if (!initParams_.isWindowed() || sameSizeMode(mode)) return false;
    D3DDISPLAYMODE const* nearest = nearestSizeMode(mode);
    if (!nearest) return false;
    D3DDISPLAYMODE const asked = mode;
    mode.Width = nearest->Width;
    mode.Height = nearest->Height;
    logWarning(L"D3DInterface: the window " + std::to_wstring(asked.Width) + L"x" + std::to_wstring(asked.Height) +
               L" of the settings is no offered size; using " + std::to_wstring(mode.Width) + L"x" +
               std::to_wstring(mode.Height));
    initParams_.presentParameters.BackBufferWidth = mode.Width;
    initParams_.presentParameters.BackBufferHeight = mode.Height;
    if (!device_) buildPresentParameters(mode, true);
    return true;
}

bool D3DInterface::fitToDesktop(D3DDISPLAYMODE& mode, bool windowed) {
    D3DDISPLAYMODE const desktop = getDesktopMode();
    if (mode.Width <= desktop.Width && mode.Height <= desktop.Height) return false;
    D3DDISPLAYMODE const asked = mode;
    if (windowed) {
        mode.Width = std::min(mode.Width, desktop.Width);
        mode.Height = std::min(mode.Height, desktop.Height);
    } else {
        mode = chooseDesktopMode();
    }
    logWarning(std::wstring(L"D3DInterface: ") + (windowed ? L"the window " : L"the full-screen mode ") +
               std::to_wstring(asked.Width) + L"x" + std::to_wstring(asked.Height) + L" is larger than the desktop (" +
               std::to_wstring(desktop.Width) + L"x" + std::to_wstring(desktop.Height) + L"); using " +
               std::to_wstring(mode.Width) + L"x" + std::to_wstring(mode.Height));
    return true;
}

bool D3DInterface::fitModeToDesktop() {
    D3DDISPLAYMODE& mode = initParams_.displayMode;
    bool const windowed = initParams_.isWindowed();
    D3DDISPLAYMODE const asked = mode;
    fit_ = DesktopFit{};
    if (!fitToDesktop(mode, windowed)) return false;
    initParams_.presentParameters.BackBufferWidth = mode.Width;
    initParams_.presentParameters.BackBufferHeight = mode.Height;
    if (!device_) buildPresentParameters(mode, windowed);
    fit_ = DesktopFit{true, windowed, asked, mode};
    return true;
}

int D3DInterface::findDisplayMode(D3DDISPLAYMODE const& mode) {
    std::vector<D3DDISPLAYMODE> const& modes = getDisplayModes();
    for (size_t i = 0; i < modes.size(); ++i)
        if (sameMode(modes[i], mode)) return static_cast<int>(i);
    return -1;
}

int D3DInterface::findNearestDisplayMode(D3DDISPLAYMODE const& mode) {
    int const equal = findDisplayMode(mode);
    if (equal >= 0) return equal;
    D3DDISPLAYMODE const* nearest = nearestSizeMode(mode);
    return nearest ? findDisplayMode(*nearest) : -1;
}

namespace {

// The back-buffer formats and how mode texts name them.
struct BackBufferFormat {
    D3DFORMAT format;
    wchar_t const* text;
};
constexpr BackBufferFormat kBackBufferFormats[] = {
    {D3DFMT_R5G6B5, L" 16 bit"},   {D3DFMT_X1R5G5B5, L" 16 bit"}, {D3DFMT_A1R5G5B5, L" 16 bit"},
    {D3DFMT_X8R8G8B8, L" 32 bit"}, {D3DFMT_A8R8G8B8, L" 32 bit"}, {D3DFMT_A2R10G10B10, L" A2R10G10B10"},
};

BackBufferFormat const* backBufferFormat(D3DFORMAT format) {
    for (BackBufferFormat const& entry : kBackBufferFormats)
        if (entry.format == format) return &entry;
    return nullptr;
}

}  // namespace

bool D3DInterface::isBackBufferFormat(D3DFORMAT format) { return backBufferFormat(format) != nullptr; }

void D3DInterface::displayModeToString(std::wstring& out, D3DDISPLAYMODE const& mode, std::wstring const& separator) {
    out = std::to_wstring(mode.Width) + L"x" + std::to_wstring(mode.Height);
    if (BackBufferFormat const* entry = backBufferFormat(mode.Format)) out += entry->text;
    if (mode.RefreshRate != 0) out += separator + std::to_wstring(mode.RefreshRate) + L" Hz";
}

D3DDISPLAYMODE const* D3DInterface::sameSizeMode(D3DDISPLAYMODE const& wanted) {
    D3DDISPLAYMODE const* best = nullptr;
    auto better = [&](D3DDISPLAYMODE const& m) {
        if (!best) return true;
        bool sameFormat = m.Format == wanted.Format, bestSameFormat = best->Format == wanted.Format;
        if (sameFormat != bestSameFormat) return sameFormat;
        // The highest rate not above the wanted one, else the lowest above it.
        bool below = m.RefreshRate <= wanted.RefreshRate, bestBelow = best->RefreshRate <= wanted.RefreshRate;
        if (below != bestBelow) return below;
        return below ? m.RefreshRate > best->RefreshRate : m.RefreshRate < best->RefreshRate;
    };
    for (D3DDISPLAYMODE const& m : getDisplayModes())
        if (m.Width == wanted.Width && m.Height == wanted.Height && better(m)) best = &m;
    return best;
}

D3DDISPLAYMODE const* D3DInterface::nearestSizeMode(D3DDISPLAYMODE const& wanted) {
    std::vector<D3DDISPLAYMODE> const& modes = getDisplayModes();
    D3DDISPLAYMODE const* larger = nullptr;   // smallest covering the wanted size
    D3DDISPLAYMODE const* smaller = nullptr;  // largest inside the wanted size
    D3DDISPLAYMODE const* closest = nullptr;  // closest in area, whatever its shape
    u64 wantedArea = static_cast<u64>(wanted.Width) * wanted.Height;
    auto distance = [&](D3DDISPLAYMODE const& m) { return area(m) > wantedArea ? area(m) - wantedArea : wantedArea - area(m); };
    for (D3DDISPLAYMODE const& m : modes) {
        if (m.Width >= wanted.Width && m.Height >= wanted.Height && (!larger || area(m) < area(*larger))) larger = &m;
        if (m.Width <= wanted.Width && m.Height <= wanted.Height && (!smaller || area(m) > area(*smaller))) smaller = &m;
        if (!closest || distance(m) < distance(*closest)) closest = &m;
    }
    D3DDISPLAYMODE const* size = initParams_.useLargerRes ? (larger ? larger : smaller) : (smaller ? smaller : larger);
    if (!size) size = closest;
    if (!size) return nullptr;
    D3DDISPLAYMODE sized = wanted;
    sized.Width = size->Width;
    sized.Height = size->Height;
    D3DDISPLAYMODE const* refreshed = sameSizeMode(sized);
    return refreshed ? refreshed : size;
}

D3DDISPLAYMODE D3DInterface::chooseStartMode(D3DDISPLAYMODE const& wanted, bool windowed) {
    if (findDisplayMode(wanted) >= 0) return wanted;
    D3DDISPLAYMODE const* sameSize = sameSizeMode(wanted);
    if (windowed) {
        // Any size works in a window; an offered mode of the size is taken so the mode is found
        // in the list. The refresh rate does not matter for a window.
        return sameSize ? *sameSize : wanted;
    }
    if (sameSize) {
        if (!initParams_.autoDegrade[1]) return wanted;
        logInfo(L"D3DInterface: " + modeText(wanted) + L" is not offered, using " + modeText(*sameSize));
        return *sameSize;
    }
    pendingUnsupported_.push_back(wanted);
    logWarning(L"D3DInterface: full-screen mode " + modeText(wanted) + L" is not offered");
    if (!initParams_.autoDegrade[0]) return wanted;
    D3DDISPLAYMODE const* nearest = nearestSizeMode(wanted);
    if (!nearest) return wanted;
    logInfo(L"D3DInterface: using " + modeText(*nearest) + L" instead");
    return *nearest;
}

bool D3DInterface::applyMode(D3DDISPLAYMODE const& mode, bool windowed) {
    u32 oldWidth = getWidth(), oldHeight = getHeight();
    D3DDISPLAYMODE const oldMode = initParams_.displayMode;
    bool const oldWindowed = initParams_.isWindowed();
    D3DPRESENT_PARAMETERS oldParams = presentParams_;
    window_.place(mode.Width, mode.Height, windowed);
    buildPresentParameters(mode, windowed);
    // The new mode is current before the reset, so that what rebuilds on the reset signal
    // (cameras, render targets) reads the new size.
    initParams_.displayMode = mode;
    initParams_.setWindowed(windowed);
    if (!resetDevice()) {
        // Back to the parameters that worked; checkDevice retries them should this fail too.
        initParams_.displayMode = oldMode;
        initParams_.setWindowed(oldWindowed);
        presentParams_ = oldParams;
        window_.place(oldWidth, oldHeight, oldParams.Windowed != FALSE);
        resetDevice();
        return false;
    }
    if (mode.Width != oldWidth || mode.Height != oldHeight) {
        unsigned long width = mode.Width, height = mode.Height;
        signalSizeChanged.emit(width, height);
    }
    return true;
}

bool D3DInterface::setDisplayMode(D3DDISPLAYMODE const& asked, bool fullScreen, bool confirm, bool* changed,
                                  bool force) {
    if (changed) *changed = false;
    bool windowed = !fullScreen;
    if (asked.Width == 0 || asked.Height == 0) {
        logError(L"D3DInterface: display mode " + modeText(asked) + L" has no size");
        return false;
    }
    if (fullScreen && findDisplayMode(asked) < 0) {
        logWarning(L"D3DInterface: full-screen mode " + modeText(asked) + L" is not offered");
        D3DDISPLAYMODE unsupported = asked;
        signalUnsupportedMode.emit(unsupported);
        return false;
    }
    // The window must fit on the desktop, as at the start: a larger one would reach past the
    // screen's edges, where the player cannot click.
    D3DDISPLAYMODE mode = asked;
    DesktopFit const fit = fitToDesktop(mode, windowed) ? DesktopFit{true, windowed, asked, mode} : DesktopFit{};
    if (!device_) {
        initParams_.displayMode = mode;
        initParams_.setWindowed(windowed);
        buildPresentParameters(mode, windowed);
        fit_ = fit;
        if (changed) *changed = true;
        return true;
    }
    if (!force && sameMode(mode, initParams_.displayMode) && windowed == initParams_.isWindowed()) {
        // Nothing to switch, but the file keeps what was asked for now.
        fit_ = fit;
        return true;
    }

    bool wasPending = confirmPending_;
    D3DDISPLAYMODE previous = initParams_.displayMode;
    bool previousWindowed = initParams_.isWindowed();
    if (!applyMode(mode, windowed)) return false;
    if (changed) *changed = true;
    logInfo(L"D3DInterface: display mode " + modeText(mode) + (windowed ? L", windowed" : L", full screen"));

    if (!wasPending) {
        savedMode_ = previous;
        savedWindowed_ = previousWindowed;
        savedFit_ = fit_;
    }
    fit_ = fit;
    if (confirm) {
        // A second switch while one waits keeps the mode from before the first as the fallback.
        confirmPending_ = true;
        confirmLeft_ = initParams_.confirmTimeMs / 1000.0;
        signalModeNeedsConfirmation.emit();
        float left = static_cast<float>(confirmLeft_);
        signalModeCountdown.emit(left);
    } else if (wasPending) {
        // A switch without confirmation settles the waiting one: the new mode stays.
        confirmPending_ = false;
        bool kept = true;
        signalModeConfirmed.emit(kept);
    }
    return true;
}

void D3DInterface::restoreSavedMode() {
    fit_ = savedFit_;
    if (!applyMode(savedMode_, savedWindowed_)) logError(L"D3DInterface: the previous display mode could not be restored");
}

void D3DInterface::confirmDisplayMode(bool& accept) {
    if (!confirmPending_) {
        logInfo(L"D3DInterface: no display mode waits for confirmation");
        return;
    }
    confirmPending_ = false;
    confirmLeft_ = 0.0;
    if (!accept) restoreSavedMode();
    bool result = accept;
    signalModeConfirmed.emit(result);
}

void D3DInterface::update(double elapsedSeconds) {
    if (!(elapsedSeconds > 0.0) || !std::isfinite(elapsedSeconds)) elapsedSeconds = 0.0;
    if (pendingRestricted_) {
        pendingRestricted_ = false;
        signalModeListRestricted.emit();
    }
    if (!pendingUnsupported_.empty()) {
        std::vector<D3DDISPLAYMODE> notices;
        notices.swap(pendingUnsupported_);
        for (D3DDISPLAYMODE& mode : notices) signalUnsupportedMode.emit(mode);
    }
    if (!confirmPending_) return;
    confirmLeft_ -= elapsedSeconds;
    if (confirmLeft_ > 0.0) {
        float left = static_cast<float>(confirmLeft_);
        signalModeCountdown.emit(left);
        return;
    }
    confirmPending_ = false;
    confirmLeft_ = 0.0;
    float none = 0.0f;
    signalModeCountdown.emit(none);
    logInfo(L"D3DInterface: the display mode was not confirmed in time");
    restoreSavedMode();
    bool kept = false;
    signalModeConfirmed.emit(kept);
}

}  // namespace Orvex
