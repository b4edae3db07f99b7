// The mouse routing between the GUI and the table, and the panels a press dismisses.
#include "game/app/TableInput.h"

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "game/app/GameHud.h"
#include "game/app/HelpScreen.h"
#include "game/app/MenuNames.h"
#include "game/app/ResultsDelay.h"
#include "game/app/RunningGame.h"
#include "game/app/ScreenWindows.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/GameStyle.h"

namespace Solitaire {

void TableInput::link(Links links) { links_ = links; }

bool TableInput::dismissPanels() {
    if (links_.hud->dismissGameNamePanel()) {
        links_.help->showPendingPanel();
        return true;
    }
    return links_.hud->dismissHelpPanel();
}

Orvex::MouseState TableInput::pointerInGame() const {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    Orvex::MouseState state = input.getMouseState();
    D3DXVECTOR2 const point = links_.renderer->toGamePoint(D3DXVECTOR2(input.mouseX, input.mouseY));
    state.x = point.x;
    state.y = point.y;
    return state;
}

void TableInput::followPointer() {
    if (tableTakesInput() && guiTakesInput()) links_.cards->onPointerLeftTable();
}

bool TableInput::guiTakesInput() const {
    Orvex::GUIWindow const* active = links_.gui->getActiveWindow();
    if (!active || active->getOptions().inputIgnore != 0) return false;
    // A window that hands its input to its parent is that parent for the routing: the card
    // tooltip's hot spot lies under the pointer inside the table window while a card has a
    // tooltip, and a press there is a press on the table.
    while (active->getOptions().inputToParent && active->getParent()) active = active->getParent();
    return active != table_;
}

bool TableInput::tableTakesInput() const { return !links_.running->gameOver && isMenuActive(kInGameMenu); }

bool TableInput::pressHitsTable(Orvex::MouseState const& state) const {
    if (!tableTakesInput() || guiTakesInput()) return false;
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    return links_.cards->pickAt(toTable(state), card, pile) != kPickNothing;
}

D3DXVECTOR2 TableInput::toTable(Orvex::MouseState const& state) const {
    return links_.renderer->toGamePoint(D3DXVECTOR2(state.x, state.y));
}

void TableInput::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    ResultsDelay& results = *links_.results;
    if (results.pending != 0 && results.delay > 0.0f) results.skip = true;
    links_.gui->onMouseDown(state, button);
    // A double click's second press goes on as the double click that follows it, once.
    if (state.doubleClickPress) return;
    press(state, button, false);
}

void TableInput::press(Orvex::MouseState& state, Orvex::OrvexMouseButton button, bool doubleClick) {
    // A panel over the table goes with any press; a press on a card or pile plays it as well.
    if (dismissPanels() && !pressHitsTable(state)) return;
    pressReachedTable_ = false;
    if (guiTakesInput()) {
        playSound(L"KLICK2");
        return;
    }
    if (!tableTakesInput()) return;
    Kartenmanager& cards = *links_.cards;
    if (cards.getClickMode() != kClickNormal && button != Orvex::OMB_LEFT) {
        cards.setClickMode(kClickNormal);
        return;
    }
    if (doubleClick) cards.onDoubleClick(state, button, toTable(state));
    else cards.onMouseDown(state, button, toTable(state));
    pressReachedTable_ = true;
}

void TableInput::onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    links_.gui->onMouseUp(state, button);
    bool const overGui = guiTakesInput();
    if (overGui) playSound(L"KLICK");
    if (!tableTakesInput() || (overGui && !pressReachedTable_)) return;
    links_.cards->onMouseUp(state, button, toTable(state));
    pressReachedTable_ = false;
}

void TableInput::onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis) {
    links_.gui->onMouseMove(state, axis);
    if (guiTakesInput() || !tableTakesInput()) return;
    links_.cards->onMouseMove(state, axis, toTable(state));
}

void TableInput::onMouseDoubleClick(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    press(state, button, true);
}

}  // namespace Solitaire
