// The process-wide mini-game cursor.
#include "game/minigames/MinispielCursor.h"

#include "engine/render/Texture2DAnimation.h"

namespace Solitaire {

MinispielCursor& MinispielCursor::instance() {
    static MinispielCursor* const cursor = new MinispielCursor();
    return *cursor;
}

void MinispielCursor::setPicture(Orvex::Texture2DAnimation* animation) { picture.hold(animation); }

void MinispielCursor::clearPicture() {
    setPicture(nullptr);
    secondCursor = false;
}

void MinispielCursor::reset() { *this = MinispielCursor(); }

}  // namespace Solitaire
