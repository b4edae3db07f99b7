// The pictures the game writes: the screenshot, the makers' preview picture and the wallpapers.
#include "game/app/Screenshots.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "engine/core/AppInfo.h"
#include "engine/core/Logger.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/RenderToTexture.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "port/d3dx9/d3dx9tex.h"
#include "port/win32/shellapi.h"
#include "port/win32/win32_paths.h"

namespace Solitaire {

namespace {

// The preview picture of a variant (F8).
constexpr LONG kPreviewWidth = 370;
constexpr LONG kPreviewHeight = 278;
// Screenshot names one F7 press tries when a name cannot be written.
constexpr int kScreenshotNameTries = 8;

// Numbers of this run's screenshots; never saved, so each run starts at 0.
int g_screenshotCounter = 0;

// The shell's show command of the folder shown after a wallpaper is saved: shown without taking
// the focus.
constexpr INT kShowNoActivate = 4;

// A window's user id names a file in the user folder: one name, no folders.
bool isPlainFileName(std::wstring const& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    return name.find_first_of(L"\\/:") == std::wstring::npos && name.find(L"..") == std::wstring::npos;
}

template <class T>
void releaseInterface(T*& a) {
    if (a) a->Release();
    a = nullptr;
}

}  // namespace

Screenshots::Screenshots(Links const& links)
    : d3d_(links.d3d), renderer_(links.renderer), camera_(links.camera), cards_(links.cards), menus_(links.menus) {}

int Screenshots::getScreenshotCounter() { return g_screenshotCounter; }

bool Screenshots::takeScreenshot() {
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
        // The number moves on with a picture written. A name taken by something that cannot be
        // written over (a folder, a locked file) is passed over, else every later press would
        // fail on it; a write that fails for another reason keeps the number.
        for (int tries = 0; tries < kScreenshotNameTries && !written; ++tries) {
            std::wstring const name = L"Screenshot_" + std::to_wstring(g_screenshotCounter) + L".png";
            written = SUCCEEDED(D3DXSaveTextureToFileW(name.c_str(), D3DXIFF_PNG, texture, nullptr));
            if (written) {
                ++g_screenshotCounter;
                break;
            }
            std::error_code error;
            if (!std::filesystem::exists(std::filesystem::path(port::hostPathNoLookup(name)), error)) break;
            Orvex::logWarning(L"Screenshot: \"" + name + L"\" could not be written; the next number is tried");
            ++g_screenshotCounter;
        }
    }
    releaseInterface(level);
    releaseInterface(target);
    releaseInterface(texture);
    return written;
}

bool Screenshots::writePreviewPicture() {
    std::wstring const path = SolitaireManager::instance().getPreviewPath();
    // A preview path is data: it stays below the working folder.
    std::filesystem::path const host(port::hostPathNoLookup(path));
    for (auto const& part : host)
        if (part == "..") return false;
    if (host.is_absolute()) return false;
    std::error_code error;
    if (host.has_parent_path()) std::filesystem::create_directories(host.parent_path(), error);

    // The table alone into a target of the preview's size.
    RECT const viewport = renderer_->getViewport();
    bool const toTexture = renderer_->isRenderToTexture();
    renderer_->setViewport(RECT{0, 0, kPreviewWidth, kPreviewHeight}, true);
    Orvex::FRect const view = camera_->getViewRect(), relative = camera_->getRelativeRect();
    Orvex::FRect const second = camera_->tableArea;
    float const fx = static_cast<float>(kPreviewWidth) / (relative.right - relative.left);
    float const fy = static_cast<float>(kPreviewHeight) / (relative.bottom - relative.top);
    Orvex::FRect const preview(0.0f, 0.0f, static_cast<float>(kPreviewWidth), static_cast<float>(kPreviewHeight));
    camera_->setViewRect(preview);
    camera_->setRelativeRect(preview);
    camera_->setSecondRect(Orvex::FRect((second.left - view.left) * fx, (second.top - view.top) * fy,
                                        (second.right - view.left) * fx, (second.bottom - view.top) * fy));
    camera_->fitContent(cards_->getTableRect(), 0.0f);
    // Cards and piles, drawn into the target at once.
    int const frames = renderer_->getRenderFrames();
    renderer_->setRenderFrames(5);
    // The camera back to its view.
    camera_->setViewRect(view);
    camera_->setRelativeRect(relative);
    camera_->setSecondRect(second);
    camera_->fitContent(cards_->getTableRect(), 0.0f);
    // 5-7. The target's picture in system memory, saved.
    bool written = false;
    IDirect3DDevice9* device = d3d_->getDevice();
    Orvex::RenderToTexture* target = renderer_->getRenderTarget();
    IDirect3DTexture9* const* source = target ? target->getTexture().getD3DTexture() : nullptr;
    if (device && source && *source) {
        IDirect3DSurface9* from = nullptr;
        IDirect3DSurface9* to = nullptr;
        IDirect3DTexture9* copy = nullptr;
        D3DSURFACE_DESC desc{};
        if (SUCCEEDED((*source)->GetLevelDesc(0, &desc)) &&
            SUCCEEDED(device->CreateTexture(desc.Width, desc.Height, 1, 0, desc.Format, D3DPOOL_SYSTEMMEM, &copy, nullptr)) &&
            SUCCEEDED((*source)->GetSurfaceLevel(0, &from)) && SUCCEEDED(copy->GetSurfaceLevel(0, &to)) &&
            SUCCEEDED(device->GetRenderTargetData(from, to)))
            written = SUCCEEDED(D3DXSaveTextureToFileW(path.c_str(), D3DXIFF_PNG, copy, nullptr));
        releaseInterface(to);
        releaseInterface(from);
        releaseInterface(copy);
    }
    // The renderer back to the screen; the previews load again.
    renderer_->setRenderFrames(frames);
    renderer_->setViewport(viewport, toTexture);
    SolitaireManager::instance().reloadPreviews();
    return written;
}

bool Screenshots::saveWallpaper(Orvex::GUIWindow& window) {
    Orvex::Texture2D* texture = d3d_->getTextureManager().findTexture(window.getName());
    if (!texture) return false;
    // The user id comes from a GUI file: it names a file, never a folder.
    std::wstring const id = window.getUserId();
    if (!isPlainFileName(id)) return false;
    IDirect3DTexture9* const* d3dTexture = texture->getD3DTexture();
    if (!d3dTexture || !*d3dTexture) return false;
    std::wstring const folder = Orvex::AppInfo::getInstance().getUserFolder();
    std::wstring const path = folder + L"\\" + id + L".png";
    if (FAILED(D3DXSaveTextureToFileW(path.c_str(), D3DXIFF_PNG, *d3dTexture, nullptr))) return false;
    ShellExecuteW(nullptr, L"explore", folder.c_str(), nullptr, nullptr, kShowNoActivate);
    if (Orvex::GUILabel* status = findLabel(L"EWS_STATUS"))
        if (Orvex::Text* text = findLanguageText(status->getTextId())) {
            std::wstring shown;
            status->setText(text->format(shown, path));
        }
    menus_->activateMenu(L"EXTRASMENUW_SAVED", -1.0);
    return true;
}

}  // namespace Solitaire
