// The common base of cards and piles: renderable, with its own undo history, a mark (highlight)
// state with its colour, a description-dirty flag for the tooltip, a state flag, the object's
// index in the card manager's lists and its "USERNAME".
#pragma once

#include <string>

#include "game/cards/UndoObjekt.h"
#include "game/look/RenderObjekt.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

struct RunningGameLoad;

// Mark flags of cards and piles.
enum MarkFlag : int {
    kMarkRefused = 1,
    kMarkMovable = 2,
    kMarkAccepted = 4,
    kMarkNotAccepted = 8,
    kMarkHint = 16,
    kMarkGoalHint = 32,
    kMarkTip1 = 64,
    kMarkTip2 = 128,
    kMarkNotPickable = 256,
};

class KartenObjekt : public RenderObjekt, public UndoObjekt {
public:
    explicit KartenObjekt(int const& index);

    bool isDescriptionDirty() const { return descriptionDirty; }
    void markDescriptionDirty() { descriptionDirty = true; }
    int getMarkState() const { return markState; }
    // Stores flags and speed; 64 takes the current card set's "TIP_COLOR1", 128 its
    // "TIP_COLOR2", any other value clears the colour.
    virtual void setMarkState(int const& flags, float const& speed);
    bool getStateFlag() const { return stateFlag; }
    int getIndex() const { return index; }
    // The object's part of the running-game save (cards and piles override; *_save.cpp).
    virtual void saveState(Orvex::XMLNode&) const {}
    virtual void loadState(Orvex::XMLNode const&, RunningGameLoad&) {}
    std::wstring const& getUserName() const { return userName; }

    bool descriptionDirty = true;
    int markState = 0;
    float markSpeed = -11.0f;
    D3DXCOLOR markColour{0.0f, 0.0f, 0.0f, 0.0f};
    // Cleared while a pile action moves the object, set again when it has settled.
    bool stateFlag = true;
    int index = 0;
    std::wstring userName;
};

}  // namespace Solitaire
