// What the board games share about pictures on a playing field (the jigsaw, sliding and swap
// puzzles): positions and sizes are fractions of the field window's screen rectangle, turned into
// screen pixels only to draw and to hit-test; a picture is its animation's current frame, drawn
// scaled into a sprite rectangle from the field's self-drawn signal (inside the GUI's sprite
// batch); clicks are judged at the pointer position the input object keeps. A picture moves by
// gliding its interpolation to a goal at a speed (1 / speed seconds), or is put there at once.
#pragma once

#include <string>

#include "engine/core/CountedRef.h"
#include "engine/gui/Interpolation.h"
#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {
class Minispiel;
}  // namespace Solitaire

namespace Solitaire::minigame {

// A clone of the field template appended to the main window (which holds it), its rectangle told
// the proportions width : height through its aspect values, so a layout that keeps them gives
// square units; null without a template or main window.
Orvex::GUIWindow* addField(Orvex::GUIWindow* main, Orvex::GUIWindow* fieldTemplate, float width, float height);

// The frame of a board game without a foreground: the templates prefix + kind + "FENSTER" and
// "SPIELFELD"; when both exist, main takes the main window's clone (its one reference), field the field's (addField, width : height), and the buttons "CANCEL" and "HILFE"
// are cloned into the main window. False, nothing made, when either template is missing.
bool buildBoard(Minispiel& game, std::wstring const& prefix, std::wstring const& kind, float width, float height,
                Orvex::CountedRef<Orvex::GUIWindow>& main, Orvex::GUIWindow*& field);

// Speed above 0: from the present value to the goal in 1 / speed seconds. Otherwise start, goal
// and present value are the goal at once.
template <class V>
void glideTo(Orvex::Interpolation<V, float>& value, V const& goal, double speed) {
    if (speed > 0.0) {
        value.set(value.current, goal, 0.0f);
        value.speed = static_cast<float>(speed);
    } else {
        value.set(goal, goal, 1.0f);
    }
}

// The field's screen rectangle; an empty one without a field.
Orvex::FRect fieldRect(Orvex::GUIWindow const* field);

// The rectangle at field fractions (x, y) of size (w, h) fractions, unturned, its rotation centre
// in its middle.
Orvex::SpriteRect fieldSpriteRect(Orvex::FRect const& field, float x, float y, float w, float h);

// The picture's current frame scaled into the rectangle, the colour as 32-bit ARGB (each channel
// 255 at 1 or more, 0 at 0 or less, else rounded); nothing without a picture, frame or sprite batch.
void drawPicture(Orvex::Texture2DAnimation* picture, Orvex::SpriteRect const& rect, D3DXCOLOR const& colour);

// The pointer position the input object keeps (back-buffer pixels, as the windows' rectangles).
D3DXVECTOR2 pointerPosition();

// The field window's alpha accumulated from the root, as drawn.
float fieldAlpha(Orvex::GUIWindow const& field);

}  // namespace Solitaire::minigame
