// The running or last game as the game flow keeps it: a free game or a campaign level, its place
// in the campaign and its records in the active profile (by number, looked up when used), the
// position the game end offers next, the typed seed and how the game ended; and the words the
// game flow reports a start and a level's result in. The game object holds it by value; the game
// start, the game end and the story scenes write it, the dispatcher, the HUD and the mouse
// routing read it.
//
// Files: RunningGame.cpp (the records' look-up; the rest is here).
#pragma once

#include <string>

namespace Solitaire {

struct LevelRecord;

struct RunningGame {
    // How the last game ended: none yet, won (rated) or lost.
    enum Outcome : signed char { kNoOutcome = 0, kWon = 1, kLost = -1 };
    // What starting a game did: nothing started, the game started, a story scene instead.
    enum StartResult : int { kNothingStarted = 0, kGameStarted = 1, kStoryStarted = 2 };
    // How a game is started (SolitaireGame2::startGame): each caller names what differs from a
    // free game with the variant's tutorial.
    struct StartOptions {
        // A campaign level (the story mode), not a free game.
        bool campaign = false;
        // The deal's seed text; empty deals a random game.
        std::wstring seedText{};
        // Free play's typed seed ("FG_SEED", when it is not the field's own caption) over seedText.
        bool seedFromScreen = false;
        // The variant's tutorial runs at the start.
        bool withTutorial = true;
        // In a campaign level, the story scene that is due plays first.
        bool withStory = true;
    };
    // A level's result as its record keeps it: not played, played without a star, one to three
    // stars (the third is LevelRecord::kMaxResult).
    enum LevelResult : int { kNotPlayed = 0, kNoStar = 1, kOneStar = 2, kTwoStars = 3, kThreeStars = 4 };

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

    // A free game or level `level` of chapter `chapter` runs: powers charge, the card tooltip
    // shows and the end-game button comes only in a campaign level; the chapter names the
    // variant label, and the level's record in the active profile counts the extra cards found.
    void setLevel(bool inCampaign, int chapter, int level) {
        campaign = inCampaign;
        currentChapter = chapter;
        currentLevel = level;
        recordChapter = inCampaign ? chapter : -1;
        recordLevel = inCampaign ? level : -1;
    }
    // The running campaign level's record in the active profile, or null.
    LevelRecord* levelRecord() const;
};

}  // namespace Solitaire
