// One entry of the hint list: a click on a face-down card, a click on an empty pile, or a move
// of a run from one pile to another, with its weight (a cumulative fraction once the list is
// built) and its direction. A plain value: the piles and cards are the card manager's, the record
// owns only its run and its text.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace Solitaire {

class Karte;
class Kartenstapel;

struct HintRecord {
    bool clickCard = false;   // click `card` (turn it over)
    bool clickEmpty = false;  // click the empty `sourcePile`
    bool isMove = false;      // carry `run` from `sourcePile` to `targetPile`
    Kartenstapel* sourcePile = nullptr;
    Kartenstapel* targetPile = nullptr;
    Karte* card = nullptr;        // the card to click, or the first card of `run`
    Karte* targetCard = nullptr;  // the card the run is laid on; null on an empty pile
    std::vector<std::pair<Karte*, int>> run;
    float weight = 0.0f;
    // +1 towards a goal pile (or onto a pairs pile), -1 from a goal pile to another, else 0.
    int direction = 0;
    bool spareFlag = false;
    std::wstring spareText;
    int spareNumber = 0;

    static HintRecord cardClick(Kartenstapel* pile, Karte* card, float const& weight, int const& direction) {
        HintRecord record;
        record.clickCard = true;
        record.sourcePile = pile;
        record.card = card;
        record.weight = weight;
        record.direction = direction;
        return record;
    }
};

// Whether the record takes a wildcard or joker off a wildcard or joker pile (as the card to
// move, the card it goes on, or a card of its run), or starts or ends on such a pile.
bool isJokerOrWildcardMove(HintRecord const& record);

// The weights the search gives, in order: a face-down card click off and on a tableau pile, a
// move to a goal pile, from a goal pile, between goal piles, between other piles, and such a move
// whose card already lies where its own pile's rules allow; then the empty-pile click.
struct HintWeights {
    float hiddenClick = 25.0f;
    float hiddenClickTableau = 100.0f;
    float toGoal = 100.0f;
    float fromGoal = 5.0f;
    float goalToGoal = 10.0f;
    float between = 50.0f;
    float gainsNothing = 1.0f;
    float emptyClick = 10.0f;
};

}  // namespace Solitaire
