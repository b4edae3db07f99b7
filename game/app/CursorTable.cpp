// The pointer pictures: the cursor table and its animations, the pointer drawn over each frame,
// and the options' cursor choice.
#include "game/app/CursorTable.h"

#include <string>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Sprite.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/MenuNames.h"
#include "game/app/MyGlobals.h"
#include "game/app/ScreenWindows.h"
#include "game/cards/Kartenmanager.h"
#include "game/minigames/MinispielCursor.h"
#include "port/win32/winuser.h"

namespace Solitaire {

namespace {

constexpr wchar_t kCursorNames[CursorTable::kCursorCount][14] = {
    L"PFEIL_LT",      L"PFEIL_CT",      L"PFEIL_RT",      L"PFEIL_LC",      L"PFEIL_CC",     L"PFEIL_RC",
    L"PFEIL_LB",      L"PFEIL_CB",      L"PFEIL_RB",      L"MOUSE_CURSOR1", L"MOUSE_CURSOR2", L"MOUSE_CURSOR3",
    L"MOUSE_CURSOR4", L"MOUSE_GOD0",    L"MOUSE_GOD1",    L"MOUSE_GOD2",    L"MOUSE_GOD3"};

// The cursor's side as a share of the screen width; the power cursor's side and the mini-game's
// second cursor as a share of the screen (50 pixels at 1024 x 768).
constexpr float kCursorShare = 0.03125f;
constexpr float kPowerCursorShareX = 0.048828125f;
constexpr float kPowerCursorShareY = 0.065104164f;
// Offset of the power cursor from the pointer with the system arrow.
constexpr float kPowerCursorOffsetX = 15.0f;
constexpr float kPowerCursorOffsetY = 20.0f;

constexpr D3DCOLOR kOpaque = 0xFFFFFFFF;
// Pictures are stretched into their squares.
constexpr Orvex::u8 kStretch = 1;
constexpr int kMaxCursorCalls = 64;

// Calls ShowCursor until the count reaches the wanted side, bounded, stopping when it stands.
void driveCursorCount(bool show) {
    int count = ShowCursor(show ? TRUE : FALSE);
    for (int i = 1; i < kMaxCursorCalls && (show ? count < 0 : count >= 0); ++i) {
        int const next = ShowCursor(show ? TRUE : FALSE);
        if (next == count) break;
        count = next;
    }
}

}  // namespace

CursorTable::CursorTable(Links const& links)
    : engine_(links.engine),
      d3d_(links.d3d),
      globals_(links.globals),
      menus_(links.menus),
      sprite_(links.sprite),
      cards_(links.cards) {}

// ---- the table ----

void CursorTable::fill() {
    Orvex::Texture2DAnimationManager& animations = Orvex::Texture2DAnimationManager::instance();
    for (int i = 0; i < kCursorCount; ++i) cursors_[i] = animations.findAnimation(kCursorNames[i]);
    tutorialArrow_ = animations.findAnimation(L"T_PFEIL_ANI");
}

Orvex::Texture2DAnimation* CursorTable::getCursor(int index) const {
    return index >= 0 && index < kCursorCount ? cursors_[index] : nullptr;
}

void CursorTable::update(double realStep) {
    bool const held = Orvex::DirectInputInterface::getInstance().getMouseState().isButtonDown(0);
    double const cursorStep = held ? realStep : -realStep;
    for (int i = kFirstMouseCursor; i < kFirstMouseCursor + kMouseCursorCount; ++i)
        if (cursors_[i]) cursors_[i]->update(cursorStep);
    for (int i = kFirstArrow; i < kFirstArrow + kArrowCount; ++i)
        if (cursors_[i]) cursors_[i]->update(realStep);
    if (tutorialArrow_) tutorialArrow_->update(realStep);
}

// ---- the pointer ----

void CursorTable::drawCursorPicture(Orvex::Texture2DAnimation* animation, float x, float y, float width, float height) {
    if (!animation) return;
    Orvex::SpriteRect target;
    target.x = x;
    target.y = y;
    target.w = width;
    target.h = height;
    animation->buildFrameQuads(*sprite_, target, kStretch, kStretch, kOpaque);
}

void CursorTable::drawPointer() {
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
            drawCursorPicture(game.picture.get(), x + game.offset.x * scaleX, y + game.offset.y * scaleY,
                              game.size.x * scaleX, game.size.y * scaleY);
        } else {
            drawCursorPicture(game.picture.get(), x, y, side, side);
        }
    } else {
        if (cursor != MyGlobals::kSystemCursor) drawCursorPicture(cursors_[kFirstMouseCursor + cursor], x, y, side, side);
        if (game.picture && game.secondCursor) {
            // Centred on its position: the picture marks the point with its middle.
            float const w = screenWidth * kPowerCursorShareX;
            float const h = screenHeight * kPowerCursorShareY;
            drawCursorPicture(game.picture.get(), game.secondPosition.x - w * 0.5f, game.secondPosition.y - h * 0.5f, w, h);
        }
    }

    // The armed power's cursor, in game: modes 1 to 4 show god cursors 0, 3, 2 and 1.
    int const mode = cards_->getClickMode();
    if (mode < kClickReveal || mode > kClickUndo) return;
    Orvex::GUIMenuN const* inGame = menus_->findMenu(kInGameMenu);
    if (!inGame || !inGame->isActive()) return;
    int const godCursor[4] = {0, 3, 2, 1};
    float const power = screenWidth * kPowerCursorShareX;
    bool const arrow = cursor == MyGlobals::kSystemCursor;
    drawCursorPicture(cursors_[kFirstGodCursor + godCursor[mode - 1]], x + (arrow ? kPowerCursorOffsetX : side),
                      y + (arrow ? kPowerCursorOffsetY : side), power, power);
}

// ---- the options' choice ----

void CursorTable::wire() {
    using Slot = void (CursorTable::*)(Orvex::GUIWindow&);
    Slot const slots[kMouseCursorCount] = {&CursorTable::onCursor0, &CursorTable::onCursor1, &CursorTable::onCursor2,
                                           &CursorTable::onCursor3};
    for (int k = 0; k < kMouseCursorCount; ++k) {
        std::wstring const number = std::to_wstring(k);
        if (Orvex::GUIWindow* picture = findScreenWindow(L"O_Cursor" + number)) {
            if (Orvex::Texture2DAnimation* cursor = cursors_[kFirstMouseCursor + k])
                if (Orvex::AnimationFrame const* frame = cursor->getCurrentFrame()) {
                    Orvex::GUIDrawOptions& options = picture->getDrawOptions();
                    options.setTexBackground(frame->texture);
                    options.backgroundSource.rect = Orvex::FRect::fromRECT(frame->rect);
                    options.backgroundSource.use = true;
                }
            picture->leftClicked.connect(this, slots[k]);
        }
        if (Orvex::GUIWindow* button = findScreenWindow(L"O_C" + number)) button->leftClicked.connect(this, slots[k]);
    }
    applyCursor();
}

void CursorTable::choose(int cursor) {
    if (globals_) globals_->setMouseCursor(cursor);
    applyCursor();
}

void CursorTable::onCursor0(Orvex::GUIWindow&) { choose(0); }
void CursorTable::onCursor1(Orvex::GUIWindow&) { choose(1); }
void CursorTable::onCursor2(Orvex::GUIWindow&) { choose(2); }
void CursorTable::onCursor3(Orvex::GUIWindow&) { choose(MyGlobals::kSystemCursor); }

void CursorTable::applyCursor() {
    bool const arrow = (globals_ ? globals_->getShownCursor() : MyGlobals::kSystemCursor) == MyGlobals::kSystemCursor;
    engine_->setSystemCursor(arrow);
    // The port's window cursor is the arrow already; only its visibility is set.
    driveCursorCount(arrow);
}

}  // namespace Solitaire
