// The delay between a decided game and its evaluation screen. The game-end handler starts it
// (pending 1 for a rated game, -1 otherwise) with a base delay plus the cards' end flight; each
// update counts it down by the real step: going below the reveal threshold reveals the medal
// (once, also when an update lands on the threshold exactly), crossing 1 s sends the medals
// away, reaching 0 opens the evaluation. A click while it runs
// asks for a skip: the next update sets it to -1 and so takes every remaining event at once.
// The skip request is used up when the evaluation opens, so it cannot cut the next game's delay.
#pragma once

namespace Solitaire {

struct ResultsDelay {
    static constexpr float kCampaignBase = 5.0f;
    static constexpr float kFreePlayBase = 2.0f;
    static constexpr float kMedalsLeave = 1.0f;
    static constexpr float kSkipped = -1.0f;

    // What one update of the running delay brings, in the order it is carried out.
    struct Events {
        bool reveal = false;
        bool leave = false;
        bool open = false;
    };

    signed char pending = 0;
    bool skip = false;
    float delay = kCampaignBase;
    float revealThreshold = kCampaignBase;
    float freePlayBase = kFreePlayBase;
    // 0 to 4, set by the results screen: 2, 3 and 4 are one, two and three stars.
    int rating = 0;

    // One update of realStep seconds; nothing while not pending.
    Events advance(float realStep);
};

}  // namespace Solitaire
