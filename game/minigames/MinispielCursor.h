// The mini-game cursor: process-wide values through which a running mini-game replaces or
// doubles the mouse cursor. The game object's draw reads them every frame: while a picture is
// set and the second-cursor flag is clear, the picture's current frame is the cursor; with the
// size flag set it is drawn at the given size and offset from the pointer, both given for a
// 1024 x 768 screen and scaled to the back buffer. While the second-cursor flag is set, the
// picture is drawn at the second position in addition to the normal cursor.
//
// The picture is held by one reference: setPicture takes one on the new picture and gives up the
// old one, clearPicture gives it up; the manager clears a picture still set when it goes. The
// instance is never destroyed: the manager's own end, at program exit, may come after the
// static objects' destructors.
#pragma once

#include "engine/core/CountedRef.h"
#include "engine/render/Texture2DAnimation.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

struct MinispielCursor {
    // The screen the size and offset are given for.
    static constexpr float kDesignWidth = 1024.0f;
    static constexpr float kDesignHeight = 768.0f;
    static constexpr float kDefaultSize = 100.0f;

    static MinispielCursor& instance();

    // Replaces the picture (a reference taken on the new one, the old one released).
    void setPicture(Orvex::Texture2DAnimation* animation);
    // No picture and no second cursor.
    void clearPicture();
    // As at the start: no picture (released), no flags, the default size, no offsets. The games
    // that set the size flag leave the cursor so when they are hidden.
    void reset();

    Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
    bool sizeFlag = false;
    bool secondCursor = false;
    D3DXVECTOR2 size{kDefaultSize, kDefaultSize};
    D3DXVECTOR2 offset{0.0f, 0.0f};
    D3DXVECTOR2 secondPosition{0.0f, 0.0f};
};

}  // namespace Solitaire
