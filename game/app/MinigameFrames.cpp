// The mini-games' frames drawn with the game's frame set (see MinigameFrames.h).
#include "game/app/MinigameFrames.h"

#include "game/app/MyGlobals.h"
#include "game/minigames/MinispielFrame.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

MinigameFrames::MinigameFrames(Links const& links) : globals_(links.globals) {
    if (!links.games) return;
    links.games->frameRequested.connect(this, &MinigameFrames::drawFrame);
    links.games->styledFrameRequested.connect(this, &MinigameFrames::drawStyledFrame);
}

void MinigameFrames::drawFrame(RECT const& rect, int const& border, D3DCOLOR const& colour) {
    // The first layer in the colour, the other two invisible, as the HUD's frames are drawn.
    if (globals_) globals_->drawFrame(rect, border, colour, 0, 0, 0, 0, 0, 0);
}

void MinigameFrames::drawStyledFrame(MinispielFrame const& frame) {
    if (globals_)
        globals_->drawFrame(frame.rect, frame.border, frame.colourA, frame.colourC, frame.colourB, frame.row,
                            frame.columnA, frame.columnC, frame.columnB);
}

}  // namespace Solitaire
