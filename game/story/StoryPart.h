// One story scene while it plays: its elements, drawn into the story window, and its switches,
// which the timer or a click on the story area advance. The game object updates the playing
// scene every frame, hands it the clicks on the story area and lets it draw itself after the
// story window has drawn.
//
// For now a scene holds no elements and no switches: it never advances by itself, a click ends
// nothing and drawing draws nothing, as an empty scene of the story file would. Elements and
// switches come with the story scenes.
#pragma once

#include "engine/core/NamedObject.h"

namespace Orvex {
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class StoryPart : public Orvex::NamedObject {
public:
    StoryPart() = default;

    // One frame of dt seconds; true when the scene has finished.
    bool update(float const& dt);
    // Draws every element into the story window.
    void draw(Orvex::GUIWindow& window);
    // A click at (x, y), fractions of the story window; true when it ended the scene.
    bool click(float x, float y);
};

}  // namespace Solitaire
