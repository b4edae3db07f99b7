// The windows of the games that draw on a playing field of their own (maze, labyrinth, connect
// the dots): a main window (prefix + kind + "FENSTER") that becomes the game's window, the field
// ("SPIELFELD") appended to it, an optional foreground ("VG") that holds the cancel and help
// buttons and is appended last, else the buttons go to the main window.
//
// The field keeps a shape of its own: its template asks for the aspect rule on both axes (its
// "GUIRECT" with PARAMS_X and PARAMS_Y "AS_VERH"), and the game's ratio goes into the
// rectangle's aspect values, width / height first and height / width second, so the field is the
// largest rectangle of that shape in the space its template gives it.
#pragma once

#include <string>

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {
class Minispiel;
}  // namespace Solitaire

namespace Solitaire::minigame {

// Width / height of the animation's current frame; 1 without a picture or for an empty frame.
float frameAspect(Orvex::Texture2DAnimation* picture);

// The ratio (width / height, positive and finite, else 1) into the field's aspect values.
void setFieldAspect(Orvex::GUIWindow& field, float widthByHeight);

struct FieldWindows {
    // The game's window: one reference, the caller's.
    Orvex::GUIWindow* main = nullptr;
    // Held by the main window; null without a "VG" template (or when not asked for).
    Orvex::GUIWindow* foreground = nullptr;
    // Held by the main window.
    Orvex::GUIWindow* field = nullptr;
};

// Looks up the game's templates prefix + kind + part; only when the main window and the field
// both exist: clones them (and the foreground), shapes the field by the ratio, appends it to the
// main window, clones the cancel and help buttons into the foreground or the main window, then
// appends the foreground. All null otherwise: nothing is cloned.
FieldWindows buildFieldWindows(Minispiel& game, std::wstring const& kind, float widthByHeight, bool withForeground);

}  // namespace Solitaire::minigame
