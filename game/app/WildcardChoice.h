// The card the shop offers as a wildcard: a value (0 ASS .. 12 KOENIG) and a suit (0 KREUZ ..
// 3 HERZ), stepped through all 52 cards with the value running fastest and wrapping at both
// ends. Each run of the game starts at the ace of hearts; the choice is not saved.
#pragma once

namespace Solitaire {

struct WildcardChoice {
    static constexpr int kValues = 13;
    static constexpr int kSuits = 4;
    static constexpr int kFirstValue = 0;
    static constexpr int kFirstSuit = 3;

    int value = kFirstValue;
    int suit = kFirstSuit;

    void next() {
        if (++value < kValues) return;
        value = 0;
        if (++suit >= kSuits) suit = 0;
    }
    void previous() {
        if (--value >= 0) return;
        value = kValues - 1;
        if (--suit < 0) suit = kSuits - 1;
    }
};

}  // namespace Solitaire
