// The player's pointer on a card table in tests: where a card or pile lies on the screen (the
// middle of its screen rectangle through the camera), and presses, releases, drags and double
// clicks sent to the card manager as the game object's input slots send them.
#pragma once

#include "engine/platform/InputState.h"
#include "engine/render/FRect.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/look/SolitaireCamera.h"

namespace cardtest {

inline D3DXVECTOR2 centreOf(Orvex::FRect const& r) { return {(r.left + r.right) * 0.5f, (r.top + r.bottom) * 0.5f}; }
inline D3DXVECTOR2 screenPoint(Solitaire::Karte const* card, Solitaire::SolitaireCamera& camera) {
    return centreOf(Solitaire::computeScreenRect(*card, &camera));
}
inline D3DXVECTOR2 screenPoint(Solitaire::Kartenstapel const& pile, Solitaire::SolitaireCamera& camera) {
    return centreOf(Solitaire::computeScreenRect(pile, &camera));
}

inline void press(Solitaire::Kartenmanager& manager, D3DXVECTOR2 const& p, int button = 0) {
    Orvex::MouseState state;
    state.setButtonDown(button, true);
    manager.onMouseDown(state, button, p);
}
inline void release(Solitaire::Kartenmanager& manager, D3DXVECTOR2 const& p, int button = 0) {
    manager.onMouseUp(Orvex::MouseState(), button, p);
}
// Pressed at from, moved to to with the button held, released there.
inline void drag(Solitaire::Kartenmanager& manager, D3DXVECTOR2 const& from, D3DXVECTOR2 const& to) {
    press(manager, from);
    Orvex::MouseState state;
    state.setButtonDown(0, true);
    manager.onMouseMove(state, 0, to);
    release(manager, to);
}
// A click, then the double-click event the input layer sends with the second press.
inline void doubleClick(Solitaire::Kartenmanager& manager, D3DXVECTOR2 const& p) {
    press(manager, p);
    release(manager, p);
    manager.onDoubleClick(Orvex::MouseState(), 0, p);
    release(manager, p);
}

}  // namespace cardtest
