// The process-wide mini-game cursor.
#include "game/minigames/MinispielCursor.h"

#include "engine/render/Texture2DAnimation.h"

namespace Solitaire {

MinispielCursor& MinispielCursor::instance() {
    static MinispielCursor cursor;
    return cursor;
}

void MinispielCursor::setPicture(Orvex::Texture2DAnimation* animation) {
    if (animation == picture) return;
    if (animation) animation->addRef();
    if (picture) picture->release();
    picture = animation;
}

void MinispielCursor::clearPicture() {
    setPicture(nullptr);
    secondCursor = false;
}

void MinispielCursor::reset() {
    setPicture(nullptr);
    *this = MinispielCursor();
}

}  // namespace Solitaire
