// The process-wide mini-game cursor.
#include "game/minigames/MinispielCursor.h"

namespace Solitaire {

MinispielCursor& MinispielCursor::instance() {
    static MinispielCursor cursor;
    return cursor;
}

}  // namespace Solitaire
