// The card manager's hint list and automatic moves: rebuilding the list after a move, showing a
// hint, moving a run to a goal pile or to any pile that takes it, finishing to the goal piles,
// and swapping two cards between their arrangements.
#include <algorithm>
#include <set>
#include <tuple>
#include <unordered_set>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/StatistikManager.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikelManager.h"

namespace Solitaire {

namespace {

float arrangeSpeed() {
    Style const* style = StyleSettings::instance().getStyle();
    return style ? style->arrangeSpeed : 0.0f;
}

std::vector<Karte*> cardsOf(Karte::LinkedCards const& run) {
    std::vector<Karte*> cards;
    cards.reserve(run.size());
    for (auto const& entry : run) cards.push_back(entry.first);
    return cards;
}

void relayout(Kartenstapel* pile, float speed) {
    if (!pile) return;
    if (Anordnung* root = pile->getRootArrangement()) root->rebuildLinks();
    pile->arrange(speed);
}

// Takes the run off wherever it lies and lays it on target; each card waits `wait` seconds
// before it glides.
void carryRun(Karte::LinkedCards const& run, Kartenstapel* target, float wait) {
    std::vector<Karte*> const cards = cardsOf(run);
    std::vector<Kartenstapel*> left;
    for (Karte* card : cards) {
        Kartenstapel* from = card->pile;
        if (from) {
            if (std::find(left.begin(), left.end(), from) == left.end()) left.push_back(from);
            if (!from->removeCard(card, false)) card->setPile(nullptr);
        }
        card->markDescriptionDirty();
        card->pruneLinks(cards, true);
        card->takeMoveFlags(from, *target);
    }
    float const speed = arrangeSpeed();
    for (Kartenstapel* from : left) relayout(from, speed);
    if (wait > 0.0f)
        for (Karte* card : cards) card->setWaitTimer(wait, Karte::kPendingPosition);
    target->addRun(cards, nullptr);
    target->arrange(speed);
}

bool isGoalTarget(Kartenstapel const* pile, bool excludePairs) {
    return pile->rules.goalKind == kGoalZiel || (!excludePairs && pile->rules.pairs);
}

// The pile an automatic move lays run on, in pile order among those allowed: the first that takes
// it with its jokers read as the cards they are; failing that, for a run a joker leads, the first
// that takes it at all (a joker fits anything). A card is never laid on a joker by the joker's
// leave alone: a double click or the finish would lay any card there, whatever the joker stands
// in for.
template <class Allowed>
Kartenstapel* automaticTarget(std::vector<Kartenstapel*> const& piles, Karte::LinkedCards const& run,
                              Allowed allowed) {
    for (Kartenstapel* target : piles)
        if (allowed(target) && target->acceptsCardsAsTheyAre(run)) return target;
    if (!run.front().first->isJoker) return nullptr;
    for (Kartenstapel* target : piles)
        if (allowed(target) && target->acceptsCards(run, nullptr)) return target;
    return nullptr;
}

bool offSpecialPile(Karte const* card) {
    return card && (card->isJoker || card->isWildcard) && card->pile && card->pile->isSpecialPile();
}

// Clearing a mark uses this speed.
constexpr float kClearMarkSpeed = -10.0f;

float tipSpeed() {
    Style const* style = StyleSettings::instance().getStyle();
    return style ? style->tipDuration : 0.0f;
}

// A tip mark, and the card set's tip effect at the object.
void markTip(KartenObjekt* object, int mark) {
    if (!object) return;
    object->setMarkState(mark, tipSpeed());
    if (Kartenset const* set = StyleSettings::instance().getKartenset())
        SolPartikelManager::instance().spawnAt(set->tipEmitter, *object);
}

}  // namespace

bool isJokerOrWildcardMove(HintRecord const& record) {
    if (offSpecialPile(record.card) || offSpecialPile(record.targetCard)) return true;
    if ((record.sourcePile && record.sourcePile->isSpecialPile()) ||
        (record.targetPile && record.targetPile->isSpecialPile()))
        return true;
    return std::any_of(record.run.begin(), record.run.end(), [](auto const& entry) { return offSpecialPile(entry.first); });
}

int Kartenmanager::rebuildHints() {
    hints_.clear();
    play_.hintIndex = 0;
    HintWeights const weights;
    std::vector<std::vector<Karte*>> targets;
    targets.reserve(piles.size());
    for (Kartenstapel const* pile : piles) targets.push_back(pile->getTargetCards());
    for (Kartenstapel* pile : piles)
        if (!pile->isSpecialPile()) pile->collectMoves(piles, hints_, weights, &targets);
    // A pile also offers its linked piles' cards, so the same move may come from two piles:
    // it is listed once, where it came first.
    resetSearchTree();
    hints_.erase(std::remove_if(hints_.begin(), hints_.end(),
                               [&](HintRecord const& h) {
                                   return h.isMove && !searchTree_.emplace(h.card, h.targetPile, h.targetCard).second;
                               }),
                hints_.end());
    if (hints_.empty()) return 0;
    // Stable, so the same table always gives the same list.
    std::stable_sort(hints_.begin(), hints_.end(),
                     [](HintRecord const& a, HintRecord const& b) { return a.weight > b.weight; });
    double total = 0.0;
    for (HintRecord const& hint : hints_) total += hint.weight;
    double running = 0.0;
    for (HintRecord& hint : hints_) {
        running += hint.weight;
        hint.weight = total > 0.0 ? static_cast<float>(running / total) : 1.0f;
    }
    return static_cast<int>(hints_.size());
}

bool Kartenmanager::showHint(bool goalFirst, bool paid, bool avoidJokerPile) {
    if (play_.gameStatus != kGameRunning || hints_.empty()) return false;
    if (goalFirst) {
        for (HintRecord const& hint : hints_) {
            if (hint.direction <= 0 || (avoidJokerPile && isJokerOrWildcardMove(hint))) continue;
            playSound(GameStyle::kSoundTipp);
            showHintRecord(hint);
            return true;
        }
        return false;
    }
    if (paid && !canPay(getHintPrice())) return false;
    std::size_t const count = hints_.size();
    std::size_t index = static_cast<std::size_t>(std::max(play_.hintIndex, 0)) % count;
    if (avoidJokerPile) {
        std::size_t tried = 0;
        while (tried < count && isJokerOrWildcardMove(hints_[index])) {
            index = (index + 1) % count;
            ++tried;
        }
        if (tried == count) return false;
    }
    playSound(GameStyle::kSoundTipp);
    showHintRecord(hints_[index]);
    play_.hintIndex = static_cast<int>((index + 1) % count);
    StatistikManager::instance().countHint();
    float const cost = paid && gameStyle_ ? gameStyle_->getTippPenalty() : 0.0f;
    if (cost != 0.0f) {
        changeScore(cost);
        spawnPoints(cost);
    }
    return true;
}

void Kartenmanager::showHintRecord(HintRecord const& record) {
    // The last hint's marks go first.
    for (Karte* card : cards)
        if (card->getMarkState() & (kMarkTip1 | kMarkTip2)) card->setMarkState(0, kClearMarkSpeed);
    for (Kartenstapel* pile : piles)
        if (pile->getMarkState() & (kMarkTip1 | kMarkTip2)) pile->setMarkState(0, kClearMarkSpeed);

    bool const cardsOnly = gameStyle_ && gameStyle_->tipStyle == GameStyle::kTipCardsOnly;
    if (record.clickEmpty) {
        // The empty pile has no card to show, so the pile itself is marked.
        markTip(record.sourcePile, kMarkTip1);
    } else if (record.clickCard && record.card) {
        markTip(record.card, kMarkTip2);
    } else if (record.isMove && record.card) {
        if (cardsOnly) {
            markTip(record.card, kMarkTip2);
            markTip(record.targetCard, kMarkTip2);
            return;
        }
        // The target pile's mark reaches its cards; the carried cards above the first take the
        // other colour.
        if (record.targetPile) markTip(record.targetPile, kMarkTip2);
        for (auto const& entry : record.run)
            if (entry.first != record.card) entry.first->setMarkState(kMarkTip1, tipSpeed());
        markTip(record.card, kMarkTip2);
    }
}

Kartenstapel* Kartenmanager::goalTargetFor(Karte const* card, Kartenstapel const* pile, Karte::LinkedCards const& run,
                                           bool excludePairs) const {
    if (!card || run.empty() || (pile && !pile->canPickCard(card))) return nullptr;
    return automaticTarget(piles, run,
                           [&](Kartenstapel const* each) { return each != pile && isGoalTarget(each, excludePairs); });
}

Kartenstapel* Kartenmanager::anyTargetFor(Karte const* card, Kartenstapel const* pile,
                                          Karte::LinkedCards const& run) const {
    if (!card || run.empty() || (pile && !pile->canPickCard(card))) return nullptr;
    return automaticTarget(piles, run, [&](Kartenstapel const* each) { return each != pile; });
}

Kartenstapel* Kartenmanager::doubleClickTarget(Karte const* card, Kartenstapel const* pile,
                                               Karte::LinkedCards const& run) const {
    // A goal pile first: an ace goes to its foundation, not to a free cell listed before it.
    if (Kartenstapel* goal = goalTargetFor(card, pile, run, true)) return goal;
    // A dealt joker waits for its card's place rather than go elsewhere.
    if (rules_.doubleClickGoalOnly || run.empty() || run.front().first->isDealtJoker()) return nullptr;
    return anyTargetFor(card, pile, run);
}

bool Kartenmanager::moveRunToGoalPile(Karte* card, Kartenstapel* pile, Karte::LinkedCards const& run, int count,
                                      bool excludePairs) {
    Kartenstapel* target = goalTargetFor(card, pile, run, excludePairs);
    if (target) carryRun(run, target, static_cast<float>(std::max(count, 0)) * kGoalMoveCardDelay);
    return target != nullptr;
}

bool Kartenmanager::moveRunToAnyPile(Karte* card, Kartenstapel* pile, Karte::LinkedCards const& run, int, bool) {
    Kartenstapel* target = anyTargetFor(card, pile, run);
    if (target) carryRun(run, target, 0.0f);
    return target != nullptr;
}

bool Kartenmanager::doubleClickMove(Karte* card, Kartenstapel* pile, Karte::LinkedCards const& run) {
    Kartenstapel* target = doubleClickTarget(card, pile, run);
    if (target) carryRun(run, target, 0.0f);
    return target != nullptr;
}

bool Kartenmanager::autoFinish(Kartenstapel* only) {
    std::vector<Kartenstapel*> sources;
    if (only) sources.push_back(only);
    else
        for (Kartenstapel* pile : piles)
            if (!pile->isSpecialPile()) sources.push_back(pile);

    // Every card moves at most once and nothing leaves a goal pile, so two piles cannot pass a
    // run to and fro: the rounds end after at most one per card. Each move is an undo step of its
    // own; while the finish runs, autoMoveCount holds the moves so far, which spaces the
    // resolutions out when the style asks for it ("USE_AUTOCHECKAUTOFINISH").
    std::unordered_set<Karte const*> moved;
    int runs = 0;
    bool progressed = true;
    while (progressed) {
        progressed = false;
        for (Kartenstapel* pile : sources) {
            if (pile->rules.goalKind == kGoalZiel) continue;
            std::vector<Karte*> held = pile->getCardsWithLinked();
            for (auto it = held.rbegin(); it != held.rend(); ++it) {
                Karte* card = *it;
                if (moved.count(card) || !pile->canPickCard(card)) continue;
                Karte::LinkedCards run;
                pile->collectCarriedRun(card, run);
                if (std::any_of(run.begin(), run.end(), [&](auto const& e) { return moved.count(e.first) > 0; }))
                    continue;
                if (!moveRunToGoalPile(card, pile, run, runs, false)) continue;
                for (auto const& entry : run) moved.insert(entry.first);
                StatistikManager::instance().addMoved(static_cast<Orvex::u32>(run.size()));
                play_.autoMoveCount = ++runs;
                saveUndoState();
                progressed = true;
                break;
            }
        }
    }
    play_.autoMoveCount = -1;
    return runs > 0;
}

bool Kartenmanager::swapCards(Karte* a, Anordnung* arrangementA, Karte* b, Anordnung* arrangementB) {
    if (!a || !b || !arrangementA || !arrangementB) return false;
    auto& listA = arrangementA->cards;
    auto& listB = arrangementB->cards;
    auto const atA = std::find(listA.begin(), listA.end(), a);
    auto const atB = std::find(listB.begin(), listB.end(), b);
    if (atA == listA.end() || atB == listB.end() || !a->swapPlaceWith(*b)) return false;
    *atA = b;
    *atB = a;
    float const speed = arrangeSpeed();
    for (Anordnung* arrangement : {arrangementA, arrangementB})
        if (Kartenstapel* pile = arrangement->getPile()) pile->arrange(speed);
    return true;
}

}  // namespace Solitaire
