// The running or last game as the game flow keeps it: a free game or a campaign level, its place
// in the campaign and its records in the active profile (by number, looked up when used), the
// position the game end offers next, the typed seed and how the game ended. The game object
// holds it by value; the game start, the game end and the story scenes write it, the dispatcher
// and the HUD read it.
//
// Files: RunningGame.h (all of it).
#pragma once

#include <string>

namespace Solitaire {

struct RunningGame {
    // How the last game ended: none yet, won (rated) or lost.
    enum Outcome : signed char { kNoOutcome = 0, kWon = 1, kLost = -1 };

    // A campaign level (the story mode), not a free game.
    bool campaign = false;
    bool gameOver = false;
    bool levelAbandoned = false;
    int currentChapter = -1;
    int currentLevel = -1;
    // The position offered after the game; nextLevelAvailable tells whether the game end found
    // one (the results screen then offers "A_NEXT").
    int nextChapter = -1;
    int nextLevel = -1;
    bool nextLevelAvailable = false;
    bool fromPassedLevel = false;
    // The running level's records in the active profile, by number (-1: none).
    int recordChapter = -1;
    int recordLevel = -1;
    Outcome outcome = kNoOutcome;
    std::wstring seedText;
    // The mini-game a story scene started.
    int minigameNumber = 0;
};

}  // namespace Solitaire
