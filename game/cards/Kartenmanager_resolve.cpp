// A move's resolution: extra cards, keys and locks, wildcards and jokers sent to their piles,
// goal arrivals scored with the running multiplier, the table counts; its scheduling; the win
// and end tests, the explicit end and the end-of-game flight.
//
// Points come from play: a card a pile's own click deals (a stock turned onto a waste that is a
// goal pile) is settled into the counts as it lands, so it scores nothing and moves no multiplier.
// A wildcard or joker is collected from no goal pile, so the game never takes back a card the
// player laid there, nor charges for one.
//
// The resolution repeats its passes while one changes something. A collected extra card leaves
// its pile and is not seen again; one its arrangement does not give up is collected once and
// then left alone, since it would be found open in every pass and the passes would never end.
// Passes are bounded by kMaxResolutionPasses besides.
#include <algorithm>
#include <cmath>

#include "engine/platform/InputState.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Anordnung.h"
#include "game/cards/FlySpline.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikelManager.h"

namespace Solitaire {

namespace {

bool anyComponent(D3DXVECTOR4 const& v) { return v.x != 0.0f || v.y != 0.0f || v.z != 0.0f || v.w != 0.0f; }

float component(D3DXVECTOR4 const& v, int i) { return i == 0 ? v.x : i == 1 ? v.y : i == 2 ? v.z : v.w; }

void setComponent(D3DXVECTOR4& v, int i, float value) { (i == 0 ? v.x : i == 1 ? v.y : i == 2 ? v.z : v.w) = value; }

// A wildcard or joker that goes to its pile: free, pickable, not there yet, and not on a goal pile,
// where it stands in for a card (the card laid on it next follows that card), nor where the
// player laid it off its pile. Its glide does not count: the resolution of the move that left it
// free sends it, as soon as that resolution runs, and a later move never does.
bool wantsCollecting(Karte const* card) {
    bool const joker = card->isJoker;
    if (!(joker || card->isWildcard) || card->laid || !card->pile || !card->backLinks.empty()) return false;
    int const type = card->pile->rules.pileType;
    if (type == (joker ? kPileJoker : kPileWildcard) || type == kPileWildcardJoker) return false;
    return !card->pile->isGoalPile() && card->pile->canPickCard(card, Kartenstapel::Gliding::kAsArrived);
}

// The hints leave the wildcards and jokers waiting on their piles to the player; while one of them
// can be laid somewhere, the game is not lost.
bool specialCardCanBeLaid(std::vector<Kartenstapel*> const& piles) {
    for (Kartenstapel const* from : piles) {
        if (!from->isSpecialPile()) continue;
        for (Karte const* card : from->getTargetCards()) {
            if (!from->canPickCard(card, Kartenstapel::Gliding::kAsArrived)) continue;
            Karte::LinkedCards run;
            from->collectCarriedRun(card, run);
            for (Kartenstapel const* to : piles)
                if (to != from && to->acceptsCards(run, nullptr)) return true;
        }
    }
    return false;
}

// The hint search on the table the cards are going to, each card judged where it lands: the
// list is built as a move's cards set off, and a card on its way offers none of its moves there.
bool settledTableOffersMove(std::vector<Kartenstapel*> const& piles) {
    HintWeights const weights;
    std::vector<HintRecord> moves;
    return std::any_of(piles.begin(), piles.end(), [&](Kartenstapel const* pile) {
        return !pile->isSpecialPile() &&
               pile->collectMoves(piles, moves, weights, nullptr, Kartenstapel::Gliding::kAsArrived) > 0;
    });
}

}  // namespace

void Kartenmanager::scheduleResolution() {
    update(0.0, 0.0, Orvex::MouseState());
    bool extra = false;
    for (Kartenstapel* pile : piles)
        if ((extra = scanExtraCards(pile, false))) break;
    // Any card the resolution will collect: each one waits to be seen where it came free.
    bool const collect = std::any_of(cards.begin(), cards.end(), wantsCollecting);
    play_.resolutionPending = true;
    Style const* style = StyleSettings::instance().getStyle();
    if (collect) {
        if (play_.resolutionDelay < 1.0f) play_.resolutionDelay = 2.0f;
    } else if (extra) {
        if (play_.resolutionDelay < 0.5f) play_.resolutionDelay = 1.0f;
    } else if (!style || !style->useAutoCheckAutoFinish || play_.autoMoveCount == -1) {
        play_.resolutionDelay = -1.0f;
    } else {
        play_.resolutionDelay = static_cast<float>(play_.autoMoveCount) * style->revealWaitTimer;
    }
}

bool Kartenmanager::scanExtraCards(Kartenstapel* pile, bool fire) {
    if (!pile || !pile->getRootArrangement()) return false;
    bool found = false;
    for (Karte* card : pile->getRootArrangement()->collectFreeCards()) {
        if (card->suit != Karte::kSuitExtra) continue;
        found = true;
        if (fire) collectExtraCard(pile, card);
    }
    return found;
}

void Kartenmanager::resolveAfterMove(bool playerMove, bool restoredStep) {
    Style const* style = StyleSettings::instance().getStyle();
    float const fadeSpeed = style ? style->fadeoutSpeed : 1.0f;
    // A pass that changed something runs the update, which may resolve again inside this call:
    // the cards collected are shared down to the innermost call.
    if (resolveDepth_++ == 0) resolutionCollected_.clear();
    std::vector<Karte*>& collected = resolutionCollected_;
    for (int pass = 0; pass < kMaxResolutionPasses && !restoredStep; ++pass) {
        bool changed = false;
        for (Kartenstapel* pile : piles) {
            if (!pile->getRootArrangement()) continue;
            for (Karte* card : pile->getRootArrangement()->collectFreeCards()) {
                if (card->suit != Karte::kSuitExtra) continue;
                if (std::find(collected.begin(), collected.end(), card) != collected.end()) continue;
                collectExtraCard(pile, card);
                collected.push_back(card);
                changed |= card->pile != pile;
            }
        }

        // Keys on goal piles open the matching lock components.
        for (Karte* card : cards) {
            if (!card->pile || card->pile->rules.goalKind == kGoalNone || !anyComponent(card->keys.goal)) continue;
            playSound(GameStyle::kSoundUnkeyed);
            for (int i = 0; i < 4; ++i)
                if (component(card->keys.goal, i) != 0.0f) playSound(GameStyle::kSoundUnkeyed1 + i);
            card->setKeys({0.0f, 0.0f, 0.0f, 0.0f}, fadeSpeed, 0.0f);
        }
        D3DXVECTOR4 keyMax{0.0f, 0.0f, 0.0f, 0.0f};
        for (Karte const* card : cards)
            for (int i = 0; i < 4; ++i)
                setComponent(keyMax, i, std::max(component(keyMax, i), component(card->keys.goal, i)));
        D3DXVECTOR4 opened{0.0f, 0.0f, 0.0f, 0.0f};
        bool unlocked = false;
        for (Karte* card : cards) {
            D3DXVECTOR4 lock = card->locks.goal;
            if (!anyComponent(lock)) continue;
            for (int i = 0; i < 4; ++i) {
                if (component(lock, i) <= component(keyMax, i)) continue;
                setComponent(lock, i, component(keyMax, i));
                setComponent(opened, i, 1.0f);
            }
            card->setLocks(lock, fadeSpeed, 0.0f);
            if (!anyComponent(lock)) unlocked = true;
        }
        if (unlocked) {
            changed = true;
            playSound(GameStyle::kSoundUnlocked);
            for (int i = 0; i < 4; ++i)
                if (component(opened, i) != 0.0f) playSound(GameStyle::kSoundUnlocked1 + i);
            cardsUnlocked.emit(opened);
        }

        for (Karte* card : cards) {
            bool const joker = card->isJoker;
            if (!wantsCollecting(card)) continue;
            if (card == pressedCard_ || card == heldCard) {
                pressedCardWaits_ = true;
                continue;
            }
            Kartenstapel* target = joker ? findJokerPile() : findWildcardPile();
            if (!target) continue;
            Kartenstapel* from = card->pile;
            if (!from->removeCard(card, true)) continue;
            from->arrange(style ? style->arrangeSpeed : 0.0f);
            card->unlink(false, true, true);
            target->addCard(card, nullptr, true, true);
            target->arrange(style ? style->arrangeSpeedReveal : 0.0f);
            playSound(joker ? GameStyle::kSoundJokerFound : GameStyle::kSoundWildcardFound);
            (joker ? jokerFound : wildcardFound).emit(*card);
            changed = true;
        }
        if (!changed) break;
        update(0.0, 0.0, Orvex::MouseState());
    }
    --resolveDepth_;

    // Goal arrivals.
    for (Karte* card : cards) {
        if (!card->pile) continue;
        int const before = card->goalKind;
        card->goalKind = card->pile->rules.goalKind;
        if (before == kGoalZiel || card->goalKind != kGoalZiel || !playerMove || card->pile->isSpecialPile()) continue;
        if (Kartenset const* set = StyleSettings::instance().getKartenset()) {
            SolPartikelManager::instance().spawnAt(set->toGoalEmitter, *card);
            SolPartikelManager::instance().spawnFlying(set->addPointsEmitter, card->getPositionGoal(),
                                                       card->getPositionGoal(), kPointsWaveAmplitude,
                                                       kPointsWaveFrequency);
        }
        cardScored.emit(*card);
    }

    int goal = 0, end = 0;
    bool pairs = false;
    for (Kartenstapel const* pile : piles) {
        pairs |= pile->rules.pairs;
        if (pile->rules.goalKind == kGoalZiel) goal += static_cast<int>(pile->getCardsWithLinked().size());
        else if (pile->rules.goalKind == kGoalEnd) end += static_cast<int>(pile->getCardsWithLinked().size());
    }
    if (playerMove && goal != play_.counts.goalCardCount && !play_.gameEndSent && gameStyle_) {
        if (goal < play_.counts.goalCardCount) {
            if (gameStyle_->autoMultiplier) gameStyle_->updateMultiplier();
            float const delta = static_cast<float>(play_.counts.goalCardCount - goal) * gameStyle_->moveFromZiel;
            if (delta != 0.0f) {
                changeScore(delta);
                spawnPoints(delta);
            }
        } else {
            int const n = goal - play_.counts.goalCardCount;
            playSound(GameStyle::kSoundToZiel);
            for (int i = 0; i < n; ++i) {
                float points = 0.0f;
                if (pairs && i % 2 == 1) {
                    points = gameStyle_->getMultiplierFactor() * gameStyle_->moveOnZiel;
                    if (gameStyle_->autoMultiplier) gameStyle_->addMultiplier(false);
                } else {
                    points = gameStyle_->getMoveOnZielPoints(true);
                }
                changeScore(points);
            }
            goalCardsArrived.emit(static_cast<unsigned long>(n));
            AchivementManager::instance().count(L"KARTEN_MOVE_TO_ZIEL", static_cast<float>(n));
        }
    }
    play_.counts.endPileCardCount = end;
    play_.counts.goalCardCount = goal;
    play_.counts.goalAndEndCardCount = goal + end;
    if (play_.gameEndSent) return;

    play_.counts.tableauPileCount = static_cast<int>(getPilesOfType(kPileTableau).size());
    play_.counts.emptyTableauPileCount = countEmptyTableauPiles();
    play_.counts.seenEmptyTableauPileCount = countSeenEmptyTableauPiles();
    int const now = countTableauCards();
    int const removed = play_.counts.tableauCardCount - now;
    play_.counts.tableauCardCount = now;
    if (removed >= 1) AchivementManager::instance().count(L"KARTEN_ABGEBAUT", static_cast<float>(removed));
}

void Kartenmanager::settleDealtCard(Karte& card) {
    int const now = card.pile ? card.pile->rules.goalKind : kGoalNone;
    if (card.goalKind == kGoalZiel) --play_.counts.goalCardCount;
    if (now == kGoalZiel) ++play_.counts.goalCardCount;
    card.goalKind = now;
}

bool Kartenmanager::checkWin() {
    if (play_.gameStatus == kGameRunning && play_.counts.tableauPileCount == play_.counts.emptyTableauPileCount) {
        playSound(GameStyle::kSoundWin);
        if (gameStyle_) {
            changeScore(gameStyle_->getMoveOnZielPoints(false) * static_cast<float>(play_.counts.endPileCardCount));
            changeScore(gameStyle_->winPoints());
        }
        play_.gameStatus = kGameWon;
        if (!play_.gameEndSent) {
            play_.gameEndSent = true;
            gameEnd.emit(true, makeGameEndParms(true));
        }
    }
    return play_.gameStatus != kGameRunning;
}

bool Kartenmanager::checkEnd() {
    if (play_.gameStatus == kGameRunning) checkWin();
    if (play_.gameStatus == kGameRunning && hints_.empty() && !settledTableOffersMove(piles) &&
        !specialCardCanBeLaid(piles)) {
        playSound(GameStyle::kSoundEnd);
        play_.gameStatus = kGameLost;
        if (!play_.gameEndSent) {
            play_.gameEndSent = true;
            gameEnd.emit(false, makeGameEndParms(false));
        }
    }
    return play_.gameStatus != kGameRunning;
}

void Kartenmanager::finishGame() {
    if (play_.gameStatus != kGameRunning) {
        if (play_.gameEndSent) return;
        play_.gameEndSent = true;
        gameEnd.emit(play_.gameStatus == kGameWon, makeGameEndParms(false));
        return;
    }
    if (checkEnd() || play_.gameEndSent) return;
    play_.gameEndSent = true;
    gameEnd.emit(false, makeGameEndParms(false));
}

float Kartenmanager::startEndFlyOut(std::wstring const& splineName) {
    FlySpline const* spline = FlySpline::find(splineName);
    return spline ? spline->startFlight(piles, *this) : 0.0f;
}

}  // namespace Solitaire
