// A profile's campaign progress: one record per chapter with one record per level. Results: a
// level is 0 locked, 1 open, 2 to 4 passed with 1 to 3 stars; a chapter 0 locked, 1 open, 2
// finished. The best extra-card count of a level has two copies: the first is the one saved, the
// second the one a running level raises.
#pragma once

#include <vector>

#include "engine/core/Types.h"

namespace Solitaire {

struct LevelRecord {
    static constexpr int kMaxResult = 4;
    int result = 0;            // "RESULT"
    Orvex::u32 found = 0;      // "STARS_FOUND"
    Orvex::u32 foundRun = 0;   // the second copy
    int level = 0;             // "LEVEL"
};

struct ChapterRecord {
    static constexpr int kMaxResult = 2;
    int result = 0;   // "RESULT"
    int chapter = 0;  // "KAPITEL"
    std::vector<LevelRecord> levels;
};

}  // namespace Solitaire
