// What the picture games (building, turning tiles, memory) share about their playing field: the
// field window takes the proportions the game asks for (the first two aspect values of its
// rectangle, which the template's aspect modes apply); the game's boxes are fractions of the
// field and become sprite placements in screen pixels only to draw and to hit-test; and the
// games draw their pictures from the field's self-drawn signal, through the GUI's sprite batcher,
// white with the field's alpha (rounded to a byte), each picture stretched over its box.
#pragma once

#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "port/d3d9/d3d9types.h"
#include "port/d3dx9/d3dx9math.h"
#include "port/win32/windows_types.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire::minigame {

// Writes width / height and height / width into the field rectangle's first two aspect values; a
// width or height that is not a positive number gives 1 : 1.
void setFieldAspect(Orvex::GUIWindow& field, float width, float height);

// The box at (x, y) of size (w, h), all fractions of the rectangle, turned by degrees about its
// middle.
Orvex::SpriteRect boxIn(Orvex::FRect const& rect, float x, float y, float w, float h, float degrees = 0.0f);

// White with the alpha as a byte, rounded as the engine's colours are: 255 at 1 or more, 0 at 0
// or less (and for NaN), else trunc(alpha x 255 + 0.5).
D3DCOLOR whiteWithRoundedAlpha(double alpha);

// Draws the source rectangle (null: the whole rectangle of the current frame) of the picture's
// current frame into the box, scaled on both axes, through the GUI's sprite batcher. Nothing
// without a picture, a frame or a batcher.
void drawPicture(Orvex::Texture2DAnimation* picture, RECT const* source, Orvex::SpriteRect const& box,
                 D3DCOLOR colour);

}  // namespace Solitaire::minigame
