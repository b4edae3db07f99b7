// The start-up pictures: the branding pictures and the publisher splash, the loading bar with
// its message pump, the loading screen, and the frame bands drawn around the centre window.
#include <algorithm>
#include <chrono>
#include <cmath>

#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Sprite.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureParams.h"
#include "game/app/LoadingScreen.h"
#include "port/win32/kernel.h"
#include "port/win32/windows.h"

namespace Solitaire {

namespace {

constexpr D3DCOLOR kWhite = 0xFFFFFFFF;
// The splash is stretched over the screen. A band's picture keeps its aspect (uniform fit) and
// lies against the centre window: aligned to its far end for the left and top bands, to its
// near end for the right and bottom ones, centred across. (Aligned to the far end alike, as the
// left band is, the right and bottom pictures would lie 5000 pixels off the screen and the top
// one midway there: only the left margin would be covered.)
constexpr Orvex::u8 kLoadingStretch = 1;
constexpr Orvex::u8 kFit = Orvex::SDP_STRETCH;
constexpr Orvex::u8 kFitToFar = Orvex::SDP_STRETCH | Orvex::SDP_ALIGN_BACK;
constexpr Orvex::u8 kFitToNear = Orvex::SDP_STRETCH | Orvex::SDP_ALIGN_FRONT;

// One colour channel: clamped to 0..1, times 255, rounded; a NaN gives 0.
DWORD channel(float value) {
    float const clamped = std::clamp(std::isnan(value) ? 0.0f : value, 0.0f, 1.0f);
    return static_cast<DWORD>(clamped * 255.0f + 0.5f);
}

// Takes one waiting message; sets quit when it was the quit message (the engine is then told to
// stop with code 0). False when none was waiting.
bool pumpOne(Orvex::OrvexEngine& engine, bool& quit) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) return false;
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    if (msg.message == WM_QUIT) {
        engine.requestExit(0);
        quit = true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

}  // namespace

LoadingScreen::LoadingScreen(Links const& links)
    : engine_(links.engine), d3d_(links.d3d), gui_(links.gui), sprite_(links.sprite) {}

void LoadingScreen::showSplashes() {
    engine_->showSplashScreens(L"branding\\", kBrandingMs, 0, 0);
    showPublisherSplash();
}

void LoadingScreen::load() {
    loadScreenFrame();
    Orvex::XMLNode tree;
    tree.load(L"data\\GUI\\Loadscreen.gui");
    gui_->loadTextures(tree, L"data\\GUI\\Loadscreen.gui");
    window_.hold(gui_->findWindow(L"LoadingScreens"));
}

void LoadingScreen::release() { window_.reset(); }

void LoadingScreen::showPublisherSplash() {
    Orvex::TextureManager& textures = d3d_->getTextureManager();
    Orvex::XMLNode list;
    list.load(L"data\\textures\\publisher.tex");
    textures.loadTextures(list, Orvex::TextureLoadParams(1, static_cast<Orvex::u32>(-1), true, true));
    Orvex::Texture2D* splash = textures.findTexture(L"PUBLISHER_SPLASH");
    if (!splash) return;
    DWORD const start = GetTickCount();
    // The picture stands still: it is drawn once, and again only after the device could not
    // draw; between, the loop waits a refresh period at a time for messages.
    bool shown = false;
    DWORD const waitMs = static_cast<DWORD>(std::ceil(d3d_->getRefreshPeriod() * 1000.0));
    // Unsigned difference: right across the wrap of the tick count.
    while (GetTickCount() - start < kSplashMs) {
        bool quit = false;
        if (pumpOne(*engine_, quit)) continue;
        if (!d3d_->checkDevice()) {
            shown = false;
            continue;
        }
        if (shown) {
            Sleep(std::min<DWORD>(waitMs, static_cast<DWORD>(kSplashMs) - (GetTickCount() - start)));
            continue;
        }
        IDirect3DDevice9* device = d3d_->getDevice();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kWhite, 1.0f, 0);
        device->BeginScene();
        sprite_->Begin(Orvex::GUISystem::kSpriteFlags, nullptr);
        RECT screen{0, 0, 0, 0};
        d3d_->getScreenRect(screen);
        sprite_->drawInRect(splash, nullptr, Orvex::FRect::fromRECT(screen), kLoadingStretch, kLoadingStretch, kWhite);
        sprite_->End();
        device->EndScene();
        shown = device->Present(nullptr, nullptr, nullptr, nullptr) == D3D_OK;
    }
}

void LoadingScreen::loadScreenFrame() {
    Orvex::XMLNode tree;
    tree.load(L"data\\GUI\\Rand.gui");
    gui_->loadTextures(tree, L"data\\GUI\\Rand.gui");
    frameCentre_ = gui_->findWindow(L"R_RANDCENTER");
    frameMenu_ = gui_->findWindow(L"R_RANDMENU");
    Orvex::TextureManager& textures = d3d_->getTextureManager();
    frameLeft_ = textures.findTexture(L"R_LEFT");
    frameRight_ = textures.findTexture(L"R_RIGHT");
    frameTop_ = textures.findTexture(L"R_TOP");
    frameBottom_ = textures.findTexture(L"R_BOTTOM");
    if (frameMenu_) frameMenu_->selfDrawn.connect(this, &LoadingScreen::drawScreenFrame);
}

bool LoadingScreen::showLoadingProgress(float const& fraction, bool draw) {
    if (!window_) return true;
    long fill = fill_;
    if (auto* bar = dynamic_cast<Orvex::GUIProgressBar*>(window_->findChild(L"LS_SplashProgress"))) {
        bar->setRatio(fraction);
        fill = std::lround(bar->getRatio() * bar->getScreenRect().getWidth());
    }
    bool quit = false;
    while (pumpOne(*engine_, quit)) {
    }
    double const now = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    // Once built, every call draws (the game's own callers want the frame).
    double const interval = std::max(kLoadingFrameSeconds, d3d_->getRefreshPeriod());
    bool const due = gameBuilt_ || frameTime_ < 0.0 || (fill != fill_ && now - frameTime_ >= interval);
    if (draw && due && d3d_->checkDevice()) {
        drawLoadingScreen();
        fill_ = fill;
        // Counted from the frame's end: the loading between two frames gets the interval.
        frameTime_ = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    return !quit;
}

void LoadingScreen::drawLoadingScreen() {
    if (!window_) return;
    Orvex::GUIWindow* screen = window_->findChild(L"L_SplashScreen");
    if (!screen) return;
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!device) return;
    screen->getOptions().visible = true;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
    device->BeginScene();
    screen->drawRoot(true);
    if (frameMenu_) {
        sprite_->Begin(Orvex::GUISystem::kSpriteFlags, nullptr);
        drawScreenFrame(*frameMenu_, true);
        sprite_->End();
    }
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    screen->getOptions().visible = false;
}

void LoadingScreen::drawScreenFrame(Orvex::GUIWindow& window, bool const& drawn) {
    if (!drawn || !frameCentre_) return;
    Orvex::FRect const outer = window.getScreenRect();
    Orvex::FRect const inner = frameCentre_->getScreenRect();
    // Truncated to whole pixels; in 64 bits, so the bands' reach cannot overflow.
    auto px = [](float v) { return std::isfinite(v) ? static_cast<long long>(v) : 0LL; };
    long long const oL = px(outer.left), oT = px(outer.top), oR = px(outer.right), oB = px(outer.bottom);
    long long const iL = px(inner.left), iT = px(inner.top), iR = px(inner.right), iB = px(inner.bottom);
    D3DXCOLOR const c = window.getDrawColor();
    D3DCOLOR const colour = (channel(c.a) << 24) | (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
    struct Band {
        Orvex::Texture2D* texture;
        long long l, t, r, b;
        Orvex::u8 modeX, modeY;
    };
    Band const bands[] = {{frameLeft_, oL - kBandReach, oT, iL + 1, oB, kFitToFar, kFit},
                          {frameRight_, iR - 1, oT, oR + kBandReach, oB, kFitToNear, kFit},
                          {frameTop_, oL, oT - kBandReach, oR, iT + 1, kFit, kFitToFar},
                          {frameBottom_, oL, iB - 1, oR, oB + kBandReach, kFit, kFitToNear}};
    for (Band const& band : bands) {
        if (!band.texture) continue;
        Orvex::FRect const target(static_cast<float>(band.l), static_cast<float>(band.t), static_cast<float>(band.r),
                                  static_cast<float>(band.b));
        sprite_->drawInRect(band.texture, nullptr, target, band.modeX, band.modeY, colour);
    }
}

}  // namespace Solitaire
