// The engine's side of the platform managers: taking them in order, starting and closing them,
// their per-update work, their settings sections, the window's activation and close, and
// drawing splash pictures on the device.
#include "engine/core/Logger.h"
#include "engine/core/OrvexEngine.h"
#include "engine/core/OrvexEngineConsole.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/AppWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/SoundManager.h"

namespace Orvex {

namespace {

constexpr wchar_t kD3DParams[] = L"D3DINITPARAMS";
constexpr wchar_t kSoundParams[] = L"SOUNDINITPARAMS";
constexpr wchar_t kInputParams[] = L"DINPUTINITPARAMS";

}  // namespace

struct OrvexEngine::SplashPicture {};

void OrvexEngine::acquirePlatform() {
    window_ = &AppWindow::getInstance();
    d3d_ = &D3DInterface::getInstance();
    input_ = &DirectInputInterface::getInstance();
    SoundManager::getInstance();
    window_->signalActive.connect(this, &OrvexEngine::onWindowActive);
    window_->signalClosed.connect(this, &OrvexEngine::onWindowClosed);
    input_->keyPressedSignal.connect(this, &OrvexEngine::onIngameConsoleKey);
}

void OrvexEngine::releasePlatform() {
    // The managers outlive the engine (made before it); only the connections end here, which
    // has_slots does by itself.
}

bool OrvexEngine::initPlatform() {
    if (!d3d_->init()) {
        logError(L"OrvexEngine::init: no Direct3D device");
        return false;
    }
    if (!input_->isInitialised() && !input_->init(window_->getHWND())) {
        logError(L"OrvexEngine::init: no keyboard or mouse input");
        return false;
    }
    // Without an audio output the game runs silent.
    if (!SoundManager::getInstance().hasDevice() && !SoundManager::getInstance().init(window_->getHWND()))
        logWarning(L"OrvexEngine::init: no sound output, the game runs without sound");
    return true;
}

void OrvexEngine::shutdown() {
    SoundManager::getInstance().shutdown();
    input_->shutdown();
    if (d3d_) d3d_->shutdown();
    initialised_ = false;
}

bool OrvexEngine::deviceUsable() {
    if (deviceCheck_) return deviceCheck_();
    return d3d_ && d3d_->getDevice() && d3d_->checkDevice();
}

void OrvexEngine::updatePlatform(double realDelta) {
    SoundManager::getInstance().update();
    d3d_->update(realDelta);
}

bool OrvexEngine::readPlatformConfig(XMLNode const& engineParams) {
    if (XMLNode const* section = engineParams.getChild(kD3DParams)) d3d_->readConfig(*section);
    if (XMLNode const* section = engineParams.getChild(kSoundParams))
        SoundManager::getInstance().getInitParams().readConfig(*section);
    if (XMLNode const* section = engineParams.getChild(kInputParams)) input_->getInitParams().readConfig(*section);
    return true;
}

void OrvexEngine::writePlatformConfig(XMLNode& engineParams) const {
    d3d_->writeConfig(*engineParams.addChild(kD3DParams));
    SoundManager::getInstance().getInitParams().writeConfig(*engineParams.addChild(kSoundParams));
    input_->getInitParams().writeConfig(*engineParams.addChild(kInputParams));
}

void OrvexEngine::setSystemCursor(bool on) { window_->setSystemCursor(on); }
bool OrvexEngine::getSystemCursor() const { return window_->getSystemCursor(); }

void OrvexEngine::onWindowActive(bool const& active) { windowActiveSignal.emit(active); }

void OrvexEngine::onWindowClosed() { requestExit(0); }

void OrvexEngine::onIngameConsoleKey(KeyState& state, unsigned char const& code) {
    if (ingameConsoleEnabled_) ingameConsole_->onKey(state, code);
}

// Pictures need texture loading on the device, which the port's D3DX layer does not offer yet;
// until then the splash time passes on a black screen.
OrvexEngine::SplashPicture* OrvexEngine::loadSplashPicture(std::wstring const&) { return nullptr; }

void OrvexEngine::drawSplashPicture(SplashPicture*, float) {
    IDirect3DDevice9* device = d3d_ ? d3d_->getDevice() : nullptr;
    if (!device || !d3d_->checkDevice()) return;
    device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

void OrvexEngine::releaseSplashPicture(SplashPicture* picture) { delete picture; }

}  // namespace Orvex
