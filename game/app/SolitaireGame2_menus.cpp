// Menu switching, the mouse slots and the central button dispatcher. Every mouse event goes to
// the GUI system first, so the screens' buttons, links and sliders work; what the game adds to a
// menu change, the routing of presses to the card table and the buttons' actions come with the
// game flow and the dispatcher.
#include "engine/gui/GUISystem.h"
#include "game/app/SolitaireGame2.h"

namespace Solitaire {

void SolitaireGame2::onMenuChanged(Orvex::GUIMenuN&, Orvex::GUIMenuN*) {}

void SolitaireGame2::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    gui_->onMouseDown(state, button);
}

void SolitaireGame2::onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    gui_->onMouseUp(state, button);
}

void SolitaireGame2::onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis) {
    gui_->onMouseMove(state, axis);
}

// A double click reaches only the card table, which comes with the game flow.
void SolitaireGame2::onMouseDoubleClick(Orvex::MouseState&, Orvex::OrvexMouseButton const&) {}

void SolitaireGame2::onMinigameFinished(Minispiel&) {}

void SolitaireGame2::onButtonClicked(Orvex::GUIWindow&) {}

}  // namespace Solitaire
