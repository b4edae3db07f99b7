// What the options screen leaves to the game object (its modes, sliders and the mode's
// confirmation are OptionsScreen's, the cursor choice CursorTable's, the tutorial switches
// TutorialScreens'): what the game does when its window loses or regains the focus.
#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "game/app/SolitaireGame2.h"

namespace Solitaire {

void SolitaireGame2::onWindowActive(bool const& active) {
    // The update stops and the draw shows the pause overlay while inactive. The settings' music
    // stream this would pause or run is not part of the game: the music plays on.
    active_ = active;
    if (!active) return;
    // Two steps, so the time away is not one big step.
    engine_->getPerfTimer()->update();
    engine_->getPerfTimer()->update();
    cursorTable_.applyCursor();
}

}  // namespace Solitaire
