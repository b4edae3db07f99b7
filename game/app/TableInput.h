// The pointer's way to the table. Every mouse event goes to the GUI system first; a press on a HUD
// window clicks, one on the table goes to the card manager while the in-game screen is active and
// the game runs. A window that hands its input to its parent counts as that parent (the card
// tooltip's hot spot is the table). The game-name banner or the help panel over the table goes
// with the next press (or key, through dismissPanels); a press on a card or pile is played as
// well. A press while the results delay runs asks it to skip.
//
// The game object holds it by value, links it to the managers and to what it reads of the game
// once, hands it the table window at the GUI wiring and connects its four slots to the input
// object between its own (the order of connections decides who sees a press first).
//
// Files: TableInput.cpp (all of it).
#pragma once

#include "engine/platform/InputState.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUISystem;
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class GameHud;
class HelpScreen;
class Kartenmanager;
class SolitaireRenderer;
struct ResultsDelay;
struct RunningGame;

class TableInput : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // What the routing reads and moves; set once, before any event.
    struct Links {
        Orvex::GUISystem* gui = nullptr;
        Kartenmanager* cards = nullptr;
        // Window pixels to game coordinates.
        SolitaireRenderer const* renderer = nullptr;
        // The banner and the help panel with their blends (the HUD's), and the help screen whose
        // panel waits behind the banner.
        GameHud* hud = nullptr;
        HelpScreen* help = nullptr;
        ResultsDelay* results = nullptr;
        // The table takes no input once the game is over.
        RunningGame const* running = nullptr;
    };

    void link(Links links);
    // The table's window "I_DRAW" (may be null): a press on it is no press on the GUI.
    void setTableWindow(Orvex::GUIWindow* table) { table_ = table; }

    // The input object's mouse events. A double click is its second press: the GUI has that
    // press, the table the double click (which the card manager takes as a plain press where
    // the game has no double clicks).
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);
    void onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);
    void onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis);
    void onMouseDoubleClick(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);

    // The banner goes (bringing the help panel waiting behind it), else the help panel; false
    // when neither stood over the table.
    bool dismissPanels();
    // The pointer in game coordinates, as a mouse state for the card manager.
    Orvex::MouseState pointerInGame() const;
    // Each frame, after the GUI's: a window come over the table under the pointer (a tutorial
    // page, a panel) or the pointer moved onto one takes the card's hover mark and tooltip away.
    void followPointer();

private:
    // Whether the GUI or the table takes the pointer, whether a press lands on a card or pile.
    bool guiTakesInput() const;
    bool tableTakesInput() const;
    bool pressHitsTable(Orvex::MouseState const& state) const;
    // A press past the GUI: the panels, a HUD window's click sound, then the table.
    void press(Orvex::MouseState& state, Orvex::OrvexMouseButton button, bool doubleClick);
    D3DXVECTOR2 toTable(Orvex::MouseState const& state) const;

    Links links_;
    Orvex::GUIWindow* table_ = nullptr;
    // The press went to the card manager: its release goes there too, also over a window.
    bool pressReachedTable_ = false;
};

}  // namespace Solitaire
