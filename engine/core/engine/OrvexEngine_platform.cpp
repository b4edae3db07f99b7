// The engine's side of the platform managers: taking them in order, starting and closing them,
// their per-update work, their settings sections, the window's activation and close, and
// drawing splash pictures on the device.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/core/engine/OrvexEngineConsole.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/AppWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/Inputmanager.h"
#include "engine/platform/MusicManager.h"
#include "engine/platform/SoundManager.h"
#include "engine/render/FilePictures.h"
#include "engine/render/TextureParams.h"
#include "port/d3dx9/d3dx9.h"

namespace Orvex {

namespace {

constexpr wchar_t kD3DParams[] = L"D3DINITPARAMS";
constexpr wchar_t kSoundParams[] = L"SOUNDINITPARAMS";
constexpr wchar_t kInputParams[] = L"DINPUTINITPARAMS";

}  // namespace

struct OrvexEngine::SplashPicture {
    IDirect3DTexture9* texture = nullptr;
    ID3DXSprite* sprite = nullptr;
    UINT width = 0;
    UINT height = 0;

    SplashPicture() = default;
    SplashPicture(SplashPicture const&) = delete;
    SplashPicture& operator=(SplashPicture const&) = delete;
    ~SplashPicture() {
        if (sprite) sprite->Release();
        if (texture) FilePictures::released(texture, texture->Release());
    }
};

void OrvexEngine::acquirePlatform() {
    window_ = &AppWindow::getInstance();
    d3d_ = &D3DInterface::getInstance();
    input_ = &DirectInputInterface::getInstance();
    Inputmanager::getInstance().attach(*input_);
    SoundManager::getInstance();
    MusicManager::getInstance();
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
    MusicManager::getInstance().stop();
    SoundManager::getInstance().shutdown();
    input_->shutdown();
    releaseDevice();
    initialised_ = false;
}

bool OrvexEngine::deviceUsable() {
    if (deviceCheck_) return deviceCheck_();
    return d3d_ && d3d_->getDevice() && d3d_->checkDevice();
}

void OrvexEngine::beginUpdatePlatform() { Inputmanager::getInstance().update(); }

void OrvexEngine::updatePlatform(double realDelta) {
    SoundManager::getInstance().update();
    MusicManager::getInstance().update();
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

OrvexEngine::SplashPicture* OrvexEngine::loadSplashPicture(std::wstring const& path) {
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!device) return nullptr;
    File file(path);
    std::vector<u8> bytes;
    if (!file.open(path) || !file.readAll(bytes) || bytes.empty()) {
        logWarning(L"Splash picture \"" + path + L"\" cannot be read");
        return nullptr;
    }
    // Through the store of pictures, as every picture of a file: within its budget, and decoded
    // once for every game object of the process.
    FilePictures& pictures = FilePictures::instance();
    D3DXIMAGE_INFO info{};
    std::string why;
    if (pictures.describe(bytes, info, why) && !pictures.fitsPicture(info.Width, info.Height)) {
        logWarning(L"Splash picture \"" + path + L"\" of " + std::to_wstring(info.Width) + L"x" +
                   std::to_wstring(info.Height) + L" pixels is larger than a picture may be; not shown");
        return nullptr;
    }
    TextureCreateParams params;
    params.Width = params.Height = D3DX_DEFAULT_NONPOW2;
    auto picture = std::make_unique<SplashPicture>();
    HRESULT hr = S_OK;
    FilePictures::Result const made = pictures.obtain(path, bytes, u64{info.Width} * info.Height, params,
                                                      D3DFMT_UNKNOWN, false, picture->texture, info, hr, why);
    if ((made != FilePictures::Result::kMade && made != FilePictures::Result::kShared) ||
        FAILED(D3DXCreateSprite(device, &picture->sprite))) {
        logWarning(L"Splash picture \"" + path + L"\" cannot be shown");
        return nullptr;
    }
    picture->width = info.Width;
    picture->height = info.Height;
    return picture.release();
}

bool OrvexEngine::beginSplashFrame(SplashPicture* picture, float brightness) {
    IDirect3DDevice9* device = d3d_ ? d3d_->getDevice() : nullptr;
    if (!device || !d3d_->checkDevice()) return false;
    device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    if (FAILED(device->BeginScene())) return false;
    if (picture && picture->width > 0 && picture->height > 0) {
        // Scaled to fit the screen, centred, keeping its proportions.
        float const screenW = static_cast<float>(d3d_->getWidth());
        float const screenH = static_cast<float>(d3d_->getHeight());
        float const scale = std::min(screenW / picture->width, screenH / picture->height);
        D3DXMATRIX transform;
        D3DXMatrixScaling(&transform, scale, scale, 1.0f);
        transform._41 = (screenW - picture->width * scale) / 2.0f;
        transform._42 = (screenH - picture->height * scale) / 2.0f;
        int const level = static_cast<int>(std::clamp(brightness, 0.0f, 1.0f) * 255.0f + 0.5f);
        picture->sprite->Begin(D3DXSPRITE_ALPHABLEND);
        picture->sprite->SetTransform(&transform);
        picture->sprite->Draw(picture->texture, nullptr, nullptr, nullptr, D3DCOLOR_ARGB(255, level, level, level));
        picture->sprite->End();
    }
    return true;
}

void OrvexEngine::endSplashFrame() {
    IDirect3DDevice9* device = d3d_->getDevice();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

void OrvexEngine::releaseSplashPicture(SplashPicture* picture) { delete picture; }

}  // namespace Orvex
