// The game object's frame: clear, the mini-game's own passes, the table's layers, the GUI, the
// pause overlay while the window is inactive, the pointer pictures, present. And the input poll
// of the engine's tick.
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUISystem.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Sprite.h"
#include "game/app/MyGlobals.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"
#include "game/minigames/MinispielManager.h"
#include "game/particles/SolPartikel.h"

namespace Solitaire {

namespace {

// Every layer of the table.
constexpr int kAllLayers = -1;
// Text centred horizontally and vertically.
constexpr Orvex::u32 kCentred = 5;
// The pause overlay's colour (black at alpha 160).
constexpr D3DCOLOR kPauseColour = 0xA0000000;

}  // namespace

void SolitaireGame2::pollInput() { Orvex::DirectInputInterface::getInstance().update(); }

void SolitaireGame2::draw() {
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!device) return;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, LoadingScreen::kClearColour, 1.0f, 0);
    minigames_->drawActive();
    renderer_->setRenderFrames(kAllLayers);
    device->BeginScene();
    gui_->draw();
    sprite_->Begin(Orvex::GUISystem::kSpriteFlags, nullptr);
    // A mini-game's screen draws them itself.
    if (!minigames_->getActiveMinispiel()) renderer_->drawScreenParticlesOffTable();
    if (!active_) drawPauseOverlay();
    if (Orvex::DirectInputInterface::getInstance().isMouseInClient()) cursorTable_.drawPointer();
    sprite_->End();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

void SolitaireGame2::drawPauseOverlay() {
    RECT screen{0, 0, 0, 0};
    d3d_->getScreenRect(screen);
    if (globals_) globals_->drawFrame(screen, 0, kPauseColour, 0, 0, 0, 0, 0, 0);
    // The device font draws at once through a sprite of its own: the darkening goes first.
    sprite_->End();
    std::wstring const text = engine_->getLanguage()->getText(L"PAUSE");
    engine_->getFontManager()->drawTextWithStyleName(L"PauseFont", text, screen, kCentred, L"PauseText");
    sprite_->Begin(Orvex::GUISystem::kSpriteFlags, nullptr);
}

}  // namespace Solitaire
