// The running counts of one game at the card manager: score, balance, time, where the game
// stands, the table counts and the hint cursor. A plain record with its own reset, read by
// callers through Kartenmanager::getPlayState and written only by the manager's operations.
#pragma once

#include <utility>
#include <vector>

namespace Solitaire {

// Where the game stands; a running-game save carries it as "GAMESTATUS".
enum GameStatus : signed char {
    kGameLost = -1,
    kGameRunning = 0,
    kGameWon = 1,
};

struct PlayState {
    // The balance and the table counts: an undo step records them and restores them whole. The
    // score is not among them, since an undo charges its penalty on the score it has.
    struct Counts {
        float pointsBalance = 0.0f;  // the player's points; pays for jokers, wildcards and helps
        int extraCardsFound = 0;
        int goalCardCount = 0;       // cards on goal piles at the last resolution
        int endPileCardCount = 0;    // cards on end piles ("IS_ZIELSTAPEL" 2)
        int goalAndEndCardCount = 0;
        int tableauPileCount = 0;
        int emptyTableauPileCount = 0;  // with the piles linked to them: the win
        // Tableau piles without a card of their own, as the player sees them: a card in a free
        // cell linked to every column fills none of them. The goals count these.
        int seenEmptyTableauPileCount = 0;
        int tableauCardsAtStart = 0;  // set by the new game, after the deal
        int tableauCardCount = 0;

        bool operator==(Counts const&) const = default;
    };
    Counts counts;

    // A running-game save carries score, bonusScore, gameTime and gameStatus ("SCORE_PLUS",
    // "SCORE_MINUS", "TIME", "GAMESTATUS"), and of the counts the balance ("BALANCE"). The score is the sum of its two parts: score from
    // play, bonusScore the time drain and other deductions.
    float score = 0.0f;
    float bonusScore = 0.0f;
    float gameTime = 0.0f;  // seconds played
    GameStatus gameStatus = kGameRunning;
    bool gameEndSent = false;  // the game-end signal went out (once a game)

    // A move waits for its resolution, which runs when the delay (seconds) runs out.
    bool resolutionPending = true;
    float resolutionDelay = -1.0f;
    int hintIndex = 0;       // the next hint the hint button shows
    int autoMoveCount = -1;  // moves of the running automatic finish; -1 when none runs
    bool specialPileWasEmpty = false;  // the special pile's state last reported
    // Bought in this game: the cards the piles hand back where the variant has no pile for them.
    std::vector<std::pair<int, int>> wildcardList;
    std::vector<std::pair<int, int>> jokerList;

    // Back to a game not yet started: the score at the variant's start score, the balance kept
    // (it is the player's, and a new game brings it).
    void reset(float startScore) {
        float const balance = counts.pointsBalance;
        *this = PlayState{};
        score = startScore;
        counts.pointsBalance = balance;
    }

    bool operator==(PlayState const&) const = default;
};

}  // namespace Solitaire
