// The hint search over one pile: clicks on its open face-down cards, else every run it lets be
// picked against every card of every other pile that would take it, else a click on the empty
// pile when that click would fetch cards.
#include <algorithm>

#include "game/cards/Anordnung.h"
#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"

namespace Solitaire {

namespace {

// Whether the card already lies where its own pile's rules allow, so moving it gains nothing: a
// wild joker lies so anywhere, and so does a card on it.
bool liesLegally(Kartenstapel const& pile, Karte const* card) {
    Karte::LinkedCards below;
    card->collectLinked(below, false, 1, 0);
    bool wholeRun = false;
    PileRules const& rules = pile.rules;
    if (below.size() >= 2)
        return pile.followsInRun(below[1].first, card, rules.acceptColourRule, rules.acceptValueRule, wholeRun, below);
    return pile.acceptsCardOn(card, nullptr, rules.acceptColourRuleEmpty, rules.acceptValueRuleEmpty, wholeRun, below);
}

}  // namespace

int Kartenstapel::collectMoves(std::vector<Kartenstapel*> const& allPiles, std::vector<HintRecord>& out,
                               HintWeights const& weights, std::vector<std::vector<Karte*>> const* targetCards,
                               Gliding gliding) const {
    if (!rootArrangement_) return 0;
    Kartenstapel* self = const_cast<Kartenstapel*>(this);

    int clicks = 0;
    float const clickWeight = rules.pileType == kPileTableau ? weights.hiddenClickTableau : weights.hiddenClick;
    for (Karte* card : collectFreeCards()) {
        if (card->isFaceUp() || rules.clickOnHidden == 0 || card->isLocked()) continue;
        out.push_back(HintRecord::cardClick(self, card, clickWeight, 0));
        ++clicks;
    }
    if (clicks > 0) return 1;

    // Each pile's cards to lay a run on, taken once for all runs of this pile.
    std::vector<std::vector<Karte*>> own;
    if (!targetCards || targetCards->size() != allPiles.size()) {
        own.resize(allPiles.size());
        for (std::size_t i = 0; i < allPiles.size(); ++i)
            if (allPiles[i] && allPiles[i] != this) own[i] = allPiles[i]->getTargetCards();
        targetCards = &own;
    }
    std::vector<std::vector<Karte*>> const& targets = *targetCards;

    int moves = 0;
    Karte::LinkedCards run;
    for (Karte* card : getCardsWithLinked()) {
        if (!canPickCard(card, gliding)) continue;
        collectCarriedRun(card, run);
        bool const fromGoal = isGoalPile();
        float const stayWeight = liesLegally(*this, card) ? weights.gainsNothing : weights.between;
        for (std::size_t i = 0; i < allPiles.size(); ++i) {
            Kartenstapel* target = allPiles[i];
            if (!target || target == this) continue;
            std::vector<Karte*> const& candidates = targets[i];
            bool const toGoal = target->isGoalPile();
            // An empty pile is asked once, with no card to lay the run on.
            std::size_t const asks = std::max<std::size_t>(candidates.size(), 1);
            for (std::size_t k = 0; k < asks; ++k) {
                Karte* onCard = candidates.empty() ? nullptr : candidates[k];
                if (!target->acceptsCards(run, onCard, candidates)) continue;
                HintRecord record;
                record.isMove = true;
                record.sourcePile = self;
                record.targetPile = target;
                record.card = card;
                record.targetCard = onCard;
                record.run = run;
                if (!fromGoal && toGoal) record.weight = weights.toGoal;
                else if (fromGoal && !toGoal) record.weight = weights.fromGoal;
                else if (fromGoal) record.weight = weights.goalToGoal;
                else record.weight = stayWeight;
                if ((!fromGoal && toGoal) || target->rules.pairs) record.direction = 1;
                else if (fromGoal && !toGoal) record.direction = -1;
                out.push_back(std::move(record));
                ++moves;
            }
        }
    }

    std::vector<Karte*> held;
    getCards(held, true, true);
    // Only a click that fetches cards is a move: a spent "REST_COUNT_HOLEN" or empty linked piles
    // would keep the list from ever emptying, and the game from ever being lost.
    bool const emptyClick = held.empty() && emptyClickFetches();
    if (emptyClick) {
        HintRecord record;
        record.clickEmpty = true;
        record.sourcePile = self;
        record.weight = weights.emptyClick;
        out.push_back(std::move(record));
    }
    if (moves > 0) return moves + 2;
    return emptyClick ? 2 : 0;
}

}  // namespace Solitaire
