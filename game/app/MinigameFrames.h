// The mini-games' frames drawn with the game's frame set. A mini-game asks for a frame through
// the mini-game manager's signals from inside its windows' drawing, because the settings object
// that owns the frame set lives a layer above the mini-games; this answers those requests. The
// game object holds it by value, built with its Links; it connects itself to the manager.
//
// Files: MinigameFrames.cpp (all of it).
#pragma once

#include "port/d3d9/d3d9types.h"
#include "port/win32/windows_types.h"
#include "signals/sigslot.h"

namespace Solitaire {

class MinispielManager;
struct MinispielFrame;
class MyGlobals;

class MinigameFrames : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Draws the manager's frame requests with the settings' frames (nothing without settings).
    struct Links {
        MinispielManager* games = nullptr;
        MyGlobals* globals = nullptr;
    };

    explicit MinigameFrames(Links const& links);
    MinigameFrames(MinigameFrames const&) = delete;
    MinigameFrames& operator=(MinigameFrames const&) = delete;

    // A frame around a screen rectangle: the frame set's row 0 in one colour.
    void drawFrame(RECT const& rect, int const& border, D3DCOLOR const& colour);
    // A frame with every value of the frame drawing given.
    void drawStyledFrame(MinispielFrame const& frame);

private:
    MyGlobals* globals_ = nullptr;
};

}  // namespace Solitaire
