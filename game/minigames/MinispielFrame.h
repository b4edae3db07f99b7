// A mini-game's request for a nine-slice frame of the game's frame set with every value the
// game object's frame drawing takes: the screen rectangle, the corner border in pixels, the three
// layers' colours (the body, the edge and the light on the body) and the style row with each
// layer's column. Games emit it through the manager's styledFrameRequested from inside their
// windows' drawing; the game object draws it there (game/minigames may not reach the game's
// settings object, which lives a layer above).
#pragma once

#include "port/d3d9/d3d9types.h"
#include "port/win32/windows_types.h"

namespace Solitaire {

struct MinispielFrame {
    RECT rect{0, 0, 0, 0};
    int border = 0;
    D3DCOLOR colourA = 0;
    D3DCOLOR colourC = 0;
    D3DCOLOR colourB = 0;
    int row = 0;
    int columnA = 0;
    int columnC = 0;
    int columnB = 0;
};

}  // namespace Solitaire
