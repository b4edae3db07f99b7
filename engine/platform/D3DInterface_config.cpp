// The device object's settings ("D3DINITPARAMS" of config.cfg) and its console command.
#include "engine/platform/D3DInterface.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/SettingsSection.h"
#include "engine/core/XMLNode.h"

namespace Orvex {
namespace {

// Sizes beyond this are taken for damaged data.
constexpr u32 kMaxModeSize = 16384;
constexpr u32 kMaxRefreshRate = 1000;

}  // namespace

D3DInitParams::D3DInitParams() {
    presentParameters.BackBufferWidth = displayMode.Width;
    presentParameters.BackBufferHeight = displayMode.Height;
    presentParameters.BackBufferFormat = displayMode.Format;
    presentParameters.BackBufferCount = 1;
    presentParameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    presentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParameters.Windowed = TRUE;
    presentParameters.EnableAutoDepthStencil = TRUE;
    presentParameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    presentParameters.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
}

void D3DInitParams::readConfig(XMLNode const& node) {
    SettingsSection const section(node, L"D3DINITPARAMS");
    section.read(L"WIDTH", 1, kMaxModeSize, displayMode.Width);
    section.read(L"HEIGHT", 1, kMaxModeSize, displayMode.Height);
    section.read(L"REFRESH", 0, kMaxRefreshRate, displayMode.RefreshRate);
    if (XMLAttribute const* format = node.getAttribute(L"FORMAT")) {
        if (D3DInterface::isBackBufferFormat(static_cast<D3DFORMAT>(format->getLong())))
            displayMode.Format = static_cast<D3DFORMAT>(format->getLong());
        else
            logError(L"D3DINITPARAMS: FORMAT=\"" + format->getString() + L"\" is no back-buffer format");
    }
    bool windowed = isWindowed();
    section.read(L"WINDOWED", windowed);
    setWindowed(windowed);
    section.read(L"USE_LARGER_RES", useLargerRes);
    section.read(L"USE_INCLUDE_RES_LIST", useIncludeResList);
    if (XMLNode const* degrade = node.getChild(L"AUTO_DEGRADE")) {
        for (u32 i = 0; i < 2; ++i)
            if (XMLProperty const* value = degrade->getValue(i)) autoDegrade[i] = value->getBool();
    }
    includeResolutions.clear();
    for (XMLNode const* child : node.children()) {
        if (child->getName() != L"INCLUDE_RES") continue;
        D3DResolution size{child->getAttributeLong(L"WIDTH", 0), child->getAttributeLong(L"HEIGHT", 0)};
        if (size.width == 0 || size.height == 0 || size.width > kMaxModeSize || size.height > kMaxModeSize) {
            logError(L"D3DINITPARAMS: INCLUDE_RES " + child->getAttributeString(L"WIDTH", L"?") + L"x" +
                     child->getAttributeString(L"HEIGHT", L"?") + L" is skipped");
            continue;
        }
        if (std::find(includeResolutions.begin(), includeResolutions.end(), size) == includeResolutions.end())
            includeResolutions.push_back(size);
    }
    presentParameters.BackBufferWidth = displayMode.Width;
    presentParameters.BackBufferHeight = displayMode.Height;
    presentParameters.BackBufferFormat = displayMode.Format;
}

void D3DInitParams::writeConfig(XMLNode& section) const {
    if (section.getName().empty()) section.setName(L"D3DINITPARAMS");
    section.setAttribute(L"WIDTH", std::to_wstring(displayMode.Width));
    section.setAttribute(L"HEIGHT", std::to_wstring(displayMode.Height));
    section.setAttribute(L"REFRESH", std::to_wstring(displayMode.RefreshRate));
    section.setAttribute(L"FORMAT", std::to_wstring(static_cast<u32>(displayMode.Format)));
    section.setAttribute(L"WINDOWED", isWindowed() ? L"1" : L"0");
    section.setAttribute(L"USE_LARGER_RES", useLargerRes ? L"1" : L"0");
    section.setAttribute(L"USE_INCLUDE_RES_LIST", useIncludeResList ? L"1" : L"0");
    // Lists replace what the section held.
    while (XMLNode const* old = section.getChild(L"AUTO_DEGRADE")) section.removeChild(old);
    while (XMLNode const* old = section.getChild(L"INCLUDE_RES")) section.removeChild(old);
    XMLNode* degrade = section.addChild(L"AUTO_DEGRADE");
    degrade->addValue(autoDegrade[0] ? L"1" : L"0");
    degrade->addValue(autoDegrade[1] ? L"1" : L"0");
    for (D3DResolution const& size : includeResolutions) {
        XMLNode* entry = section.addChild(L"INCLUDE_RES");
        entry->setAttribute(L"WIDTH", std::to_wstring(size.width));
        entry->setAttribute(L"HEIGHT", std::to_wstring(size.height));
    }
}

void D3DInterface::readConfig(XMLNode const& section) {
    initParams_.readConfig(section);
    if (!device_) buildPresentParameters(initParams_.displayMode, initParams_.isWindowed());
}

void D3DInterface::writeConfig(XMLNode& section) const {
    D3DInitParams settled = initParams_;
    DesktopFit fit = fit_;
    if (confirmPending_) {
        settled.displayMode = savedMode_;
        settled.setWindowed(savedWindowed_);
        fit = savedFit_;
    }
    // Still the mode brought onto this desktop: the file keeps the one asked for.
    D3DDISPLAYMODE const& now = settled.displayMode;
    bool const stillFitted = fit.active && settled.isWindowed() == fit.windowed && now.Width == fit.to.Width &&
                             now.Height == fit.to.Height && now.RefreshRate == fit.to.RefreshRate &&
                             now.Format == fit.to.Format;
    if (stillFitted) settled.displayMode = fit.from;
    settled.writeConfig(section);
}

void D3DInterface::executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) {
    if (!command.isNamed(L"D3D_setResolution")) return;
    int width = typed.getArgumentInt(0), height = typed.getArgumentInt(1);
    if (width <= 0 || height <= 0 || width > static_cast<int>(kMaxModeSize) || height > static_cast<int>(kMaxModeSize)) {
        typed.setReply(L"Ungültige Auflösung: " + typed.getArgument(0) + L" " + typed.getArgument(1));
        return;
    }
    bool fullScreen = typed.getArgumentCount() > 2 ? typed.getArgumentBool(2) : !initParams_.isWindowed();
    D3DDISPLAYMODE mode = initParams_.displayMode;
    mode.Width = static_cast<u32>(width);
    mode.Height = static_cast<u32>(height);
    if (typed.getArgumentCount() > 3) {
        int refresh = typed.getArgumentInt(3);
        mode.RefreshRate = refresh > 0 ? static_cast<u32>(refresh) : 0;
    } else if (D3DDISPLAYMODE const* offered = sameSizeMode(mode)) {
        mode = *offered;
    }
    std::wstring text;
    displayModeToString(text, mode, L" ");
    bool changed = false;
    if (!setDisplayMode(mode, fullScreen, false, &changed)) {
        typed.setReply(L"Auflösung nicht möglich: " + text);
        return;
    }
    typed.setReply((changed ? L"Auflösung gesetzt: " : L"Auflösung unverändert: ") + text +
                   (fullScreen ? L", Vollbild" : L", Fenster"));
}

void D3DInterface::completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) {
    u32 count = typed.getArgumentCount();
    u32 index = typed.endsWithBlank() || count == 0 ? count : count - 1;
    std::wstring partial = index < count ? typed.getArgument(index) : std::wstring();
    std::vector<std::wstring> candidates;
    if (index == 0 || index == 1) {
        u32 width = index == 1 ? static_cast<u32>(typed.getArgumentInt(0)) : 0;
        for (D3DDISPLAYMODE const& mode : getDisplayModes()) {
            if (index == 1 && mode.Width != width) continue;
            candidates.push_back(std::to_wstring(index == 0 ? mode.Width : mode.Height));
        }
    } else if (index == 2) {
        candidates = {L"0", L"1"};
    }
    for (std::wstring const& candidate : candidates) {
        if (candidate.compare(0, partial.size(), partial) != 0) continue;
        if (std::find(offers.begin(), offers.end(), candidate) == offers.end()) offers.push_back(candidate);
    }
}

}  // namespace Orvex
