// The game object's frame: clear, the mini-game's own passes, the table's layers, the GUI, the
// pause overlay while the window is inactive, the pointer pictures, present. And the input poll
// of the engine's tick.
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUISystem.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Sprite.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/app/MyGlobals.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/SolPartikel.h"
#include "game/cards/TableRenderer.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

namespace {

constexpr D3DCOLOR kOpaque = 0xFFFFFFFF;
// Every layer of the table.
constexpr int kAllLayers = -1;
// Text centred horizontally and vertically.
constexpr Orvex::u32 kCentred = 5;
// Pictures are stretched into their squares.
constexpr Orvex::u8 kStretch = 1;

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
    sprite_->Begin(kSpriteFlags, nullptr);
    // A mini-game's screen draws them itself.
    if (!minigames_->getActiveMinispiel()) renderer_->drawScreenParticlesOffTable();
    if (!active_) drawPauseOverlay();
    if (Orvex::DirectInputInterface::getInstance().isMouseInClient()) drawPointer();
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
    sprite_->Begin(kSpriteFlags, nullptr);
}

void SolitaireGame2::drawCursorPicture(Orvex::Texture2DAnimation* animation, float x, float y, float width,
                                       float height) {
    if (!animation) return;
    Orvex::SpriteRect target;
    target.x = x;
    target.y = y;
    target.w = width;
    target.h = height;
    animation->buildFrameQuads(*sprite_, target, kStretch, kStretch, kOpaque);
}

void SolitaireGame2::drawPointer() {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    float const x = input.mouseX;
    float const y = input.mouseY;
    float const screenWidth = static_cast<float>(d3d_->getWidth());
    float const screenHeight = static_cast<float>(d3d_->getHeight());
    float const side = screenWidth * kCursorShare;
    // A cursor setting outside 0 to 3 shows as the system arrow: as an index it would run past
    // the cursor table.
    int const cursor = globals_ ? globals_->getShownCursor() : MyGlobals::kSystemCursor;
    MinispielCursor const& game = MinispielCursor::instance();

    if (game.picture && !game.secondCursor) {
        if (game.sizeFlag) {
            float const scaleX = screenWidth / MinispielCursor::kDesignWidth;
            float const scaleY = screenHeight / MinispielCursor::kDesignHeight;
            drawCursorPicture(game.picture, x + game.offset.x * scaleX, y + game.offset.y * scaleY,
                              game.size.x * scaleX, game.size.y * scaleY);
        } else {
            drawCursorPicture(game.picture, x, y, side, side);
        }
    } else {
        if (cursor != MyGlobals::kSystemCursor) drawCursorPicture(cursors_[kFirstMouseCursor + cursor], x, y, side, side);
        if (game.picture && game.secondCursor)
            drawCursorPicture(game.picture, game.secondPosition.x, game.secondPosition.y,
                              screenWidth * kPowerCursorShareX, screenHeight * kPowerCursorShareY);
    }

    // The armed power's cursor: modes 1 to 4 show god cursors 0, 3, 2 and 1.
    int const mode = cards_->getClickMode();
    if (mode < kClickReveal || mode > kClickUndo) return;
    if (!isMenuActive(L"INGAMEMENU")) return;
    int const godCursor[4] = {0, 3, 2, 1};
    float const power = screenWidth * kPowerCursorShareX;
    bool const arrow = cursor == MyGlobals::kSystemCursor;
    drawCursorPicture(cursors_[kFirstGodCursor + godCursor[mode - 1]], x + (arrow ? kPowerCursorOffsetX : side),
                      y + (arrow ? kPowerCursorOffsetY : side), power, power);
}

}  // namespace Solitaire
