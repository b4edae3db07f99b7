// What the blowing and ring games share about their playfield: a window that keeps the proportions
// of its picture (the background animation's current frame, or a square), pictures drawn into it at
// fractions of its screen rectangle, and the colours those draws take.
//
// Colours are packed to ARGB with each channel truncated (c x 255 without + 0.5), as these games
// draw them; the engine's own conversion rounds.
#pragma once

#include <string>

#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "port/d3d9/d3d9types.h"
#include "port/d3dx9/d3dx9math.h"
#include "port/win32/windows_types.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {
class Minispiel;
}  // namespace Solitaire

namespace Solitaire::minigame {

// The windows prefix + kind + "FENSTER" (main), "SPIELFELD", "CANCEL" and "HILFE": only when the
// main and playfield templates exist, both are cloned, the playfield keeps the proportions of the
// background's current frame and goes into the main window, and the buttons are added there (cancel
// to the game's onCloseButton, help to onHelpButton). The main window (the caller's reference) and
// the playfield (held by it), or null and null.
Orvex::GUIWindow* buildPlayfieldFrame(Minispiel& game, std::wstring const& prefix, std::wstring const& kind,
                                      Orvex::Texture2DAnimation* background, Orvex::GUIWindow*& playfield);

// The current frame's source rectangle of the animation, or (0, 0, 1, 1) without one.
RECT pictureFrame(Orvex::Texture2DAnimation* animation);

// Makes the window keep the proportions of the rectangle: its aspect values become width / height
// and height / width (an empty side leaves them as they are).
void keepProportions(Orvex::GUIWindow& window, RECT const& frame);

// Each channel 255 at 1 or more, 0 at 0 or less (and for NaN), else trunc(c x 255).
D3DCOLOR packTruncated(D3DXCOLOR const& colour);
// White with the alpha as a byte: 255 at 1 or more, 0 at 0 or less, else trunc(alpha x 255).
D3DCOLOR whiteWithAlpha(double alpha);

// Whether the point lies in the rectangle, its edges included.
bool containsInclusive(Orvex::FRect const& rect, D3DXVECTOR2 const& point);

// The animation's current frame drawn over the rectangle (truncated to whole pixels) with the
// current sprite batcher, in the draw mode on both axes; nothing without a frame or batcher.
void drawFrameInRect(Orvex::Texture2DAnimation* animation, Orvex::FRect const& rect, unsigned char mode,
                     D3DCOLOR colour);

// The animation's current frame drawn into the sprite rectangle (its rotation included), scaled on
// both axes, with the current sprite batcher; nothing without a frame or batcher.
void drawFrameInSprite(Orvex::Texture2DAnimation* animation, Orvex::SpriteRect const& rect, D3DCOLOR colour);

}  // namespace Solitaire::minigame
