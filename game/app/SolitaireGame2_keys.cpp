// The game object's key handler: the first-profile block, screenshots on F7, and dismissing the
// game-name banner and the help panel.
#include <string>

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/app/SolitaireGame2.h"
#include "port/d3dx9/d3dx9tex.h"

namespace Solitaire {

namespace {

constexpr double kPanelSpeed = 1.0;
// Numbers of this run's screenshots; never saved, so each run starts at 0.
int g_screenshotCounter = 0;

template <class T>
void releaseAll(T*& a) {
    if (a) a->Release();
    a = nullptr;
}

}  // namespace

int SolitaireGame2::getScreenshotCounter() { return g_screenshotCounter; }

bool SolitaireGame2::takeScreenshot() {
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!device) return false;
    IDirect3DTexture9* texture = nullptr;
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* level = nullptr;
    bool const captured =
        SUCCEEDED(device->CreateTexture(d3d_->getWidth(), d3d_->getHeight(), 1, 0,
                                        d3d_->getPresentParameters().BackBufferFormat, D3DPOOL_SYSTEMMEM, &texture,
                                        nullptr)) &&
        SUCCEEDED(device->GetRenderTarget(0, &target)) && SUCCEEDED(texture->GetSurfaceLevel(0, &level)) &&
        SUCCEEDED(device->GetRenderTargetData(target, level));
    bool written = false;
    if (captured) {
        std::wstring const name = L"Screenshot_" + std::to_wstring(g_screenshotCounter) + L".png";
        // The number moves on only with a picture written, so the numbers have no gaps.
        written = SUCCEEDED(D3DXSaveTextureToFileW(name.c_str(), D3DXIFF_PNG, texture, nullptr));
        if (written) ++g_screenshotCounter;
    }
    releaseAll(level);
    releaseAll(target);
    releaseAll(texture);
    return written;
}

void SolitaireGame2::onKeyPressed(Orvex::KeyState&, unsigned char const& code) {
    // 1. The key that ends the first-profile block does nothing else.
    if (firstProfileBlock_) {
        firstProfileBlock_ = false;
        if (Orvex::GUIMenuN* active = menus_->getActiveMenu()) onMenuChanged(*active, active);
        return;
    }
    // 2.
    if (code == kKeyF7) takeScreenshot();
    // 3, 4. The preview picture (F8) and the points key (F1) of the two fixed profiles join here
    // with the profiles.
    // 5. A key dismisses the banner, which may bring the help panel, or else the help panel.
    if (gameName_ && gameNameBlend_.target > 0.5f) {
        gameNameBlend_.target = 0.0f;
        gameName_->animateToGoal(L"AUS", kPanelSpeed, false);
        if (showHelpNext_ && help_) {
            help_->animateToGoal(L"CENTER", kPanelSpeed, false);
            helpBlend_.current = 1.0f;
            helpBlend_.target = 1.0f;
        }
    } else if (help_ && helpBlend_.target > 0.5f) {
        helpBlend_.target = 0.0f;
        help_->animateToGoal(L"AUS", kPanelSpeed, false);
    }
}

}  // namespace Solitaire
