// Move execution, the per-frame update and the feedback while the pointer hovers or a run is
// carried (marks 4 and 8, the "WIRD_…" texts, the tooltip), and the piles placed on the screen.
//
// A pile placed on the screen is placed again after every update, through the camera as it stands
// (not its goal), so it keeps its place on the screen while the table glides and zooms; its cards
// are carried along at once rather than gliding after it.
//
// Easing: the shown values move by (real - shown) x realDt x 5 per frame, which overshoots once
// realDt x 5 exceeds 1 (a stalled frame) and swings ever wider past 2; the step is capped at the
// whole distance, so a stall lands on the real value.
#include <algorithm>
#include <cmath>

#include "engine/platform/InputState.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Describe.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/LanguageText.h"
#include "game/cards/StatistikManager.h"
#include "game/look/GameStyle.h"
#include "game/look/Kartenset.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikelManager.h"

namespace Solitaire {

namespace {

constexpr float kEaseRate = 5.0f;

// Some card is gliding or waits to set off.
bool cardsOnTheirWay(std::vector<Karte*> const& cards) {
    return std::any_of(cards.begin(), cards.end(),
                       [](Karte const* card) { return card->isMoving() || card->waitTime > 0.0f; });
}
constexpr float kSnapDistance = 1.0f;
constexpr float kClearSpeed = -10.0f;

float pileSpeed() {
    Style const* style = currentStyle();
    return style ? style->arrangeSpeed : 0.0f;
}

void ease(float& shown, float real, double realDt) {
    float const step = std::min(1.0f, static_cast<float>(realDt) * kEaseRate);
    if (step > 0.0f) shown += (real - shown) * step;
    if (std::fabs(real - shown) <= kSnapDistance) shown = real;
}

// A mark given with a timer above -10 runs out at 0.
void stepMark(KartenObjekt& object, float dt) {
    if (object.markSpeed <= -10.0f) return;
    object.markSpeed -= dt;
    if (object.markSpeed > 0.0f) return;
    object.markSpeed = -11.0f;
    object.markState = 0;
    object.markColour = D3DXCOLOR(0.0f, 0.0f, 0.0f, 0.0f);
}

}  // namespace

void stepCard(Karte& card, float dt) {
    card.stepFlight(dt);
    if (card.waitTime > 0.0f) card.setWaitTimer(card.waitTime - dt, 0);
    card.position.update(dt);
    card.rotation.update(dt);
    card.scale.update(dt);
    card.opacity.update(dt);
    card.face.update(dt);
    card.locks.update(dt);
    card.keys.update(dt);
    card.markOffset.update(dt);
    card.markRotation.update(dt);
    stepMark(card, dt);
    if (card.stateTimer > 0.0f) {
        card.stateTimer -= dt;
        if (card.stateTimer <= 0.0f) {
            card.stateTimer = -1.0f;
            card.stateFlag = card.pendingStateFlag;
        }
    }
}

void stepPile(Kartenmanager& manager, Kartenstapel& pile, float dt) {
    stepMark(pile, dt);
    Style const* style = currentStyle();
    float const turnSpeed = style ? style->makeVisibleSpeed : 0.0f;
    if (pile.rules.turnTopCardUp && pile.rules.clickOnHidden == kClickAufdecken)
        for (Karte* card : pile.collectFreeCards())
            if (!card->isFaceUp() && !card->isMoving()) card->setFaceUp(true, turnSpeed, 0.0f);
    if (!pile.rules.autoFill) return;
    // Each empty named pile takes one top card; bounded by the names and the piles found.
    for (std::wstring const& name : pile.rules.autoFillPiles) {
        for (Kartenstapel* target : manager.findPilesByName(name)) {
            if (target == &pile || !target->getCardsWithLinked().empty()) continue;
            std::vector<Karte*> const top = pile.collectFreeCards();
            if (top.empty()) return;
            Karte* card = top.front();
            if (!pile.removeCard(card, true)) continue;
            card->unlink(false, true, true);
            target->addCard(card, nullptr, true, true);
            card->updateLinkOffsets();
            if (pile.rules.autoFillMakeVisible) card->setFaceUp(true, turnSpeed, 0.0f);
            pile.arrange(pileSpeed());
            target->arrange(pileSpeed());
        }
    }
}

void Kartenmanager::executeMove(Karte::LinkedCards const& run, Kartenstapel* source, Kartenstapel* target,
                                Karte* held) {
    if (run.empty() || !target) return;
    std::vector<Karte*> runCards;
    for (auto const& entry : run) runCards.push_back(entry.first);
    // A run offered by a pile may lie on one of its linked piles: each card leaves the pile that
    // holds it, or it would lie in two arrangements.
    std::vector<Kartenstapel*> left;
    for (Karte* card : runCards) {
        Kartenstapel* from = card->pile;
        if (from) {
            if (std::find(left.begin(), left.end(), from) == left.end()) left.push_back(from);
            from->removeCard(card, false);
        }
        card->pruneLinks(runCards, true);
        card->takeMoveFlags(from, *target);
    }
    for (Kartenstapel* from : left) {
        if (Anordnung* root = from->getRootArrangement()) root->rebuildLinks();
        from->arrange(pileSpeed());
    }
    target->addRun(runCards, nullptr);
    if (target != source) {
        StatistikManager::instance().addMoved(static_cast<Orvex::u32>(runCards.size()));
        if (Kartenset const* set = StyleSettings::instance().getKartenset(); set && held)
            SolPartikelManager::instance().spawnAt(set->movedEmitter, *held);
    }
    target->arrange(pileSpeed());
}

void Kartenmanager::queueSound(float delay, std::wstring const& name) { delayedSounds.push_back({delay, name}); }

void Kartenmanager::update(double dt, double realDt, Orvex::MouseState const& state) {
    if (!camera) return;
    // A camera gliding under a held card moves the table, not the pointer: the card stays with it.
    if (heldCard && state.isButtonDown(Orvex::OMB_LEFT)) carryHeldCard();
    for (std::size_t i = 0; i < delayedSounds.size();) {
        delayedSounds[i].delay -= static_cast<float>(realDt);
        if (delayedSounds[i].delay < 0.0f) {
            std::wstring const name = delayedSounds[i].name;
            delayedSounds.erase(delayedSounds.begin() + static_cast<std::ptrdiff_t>(i));
            Solitaire::playSound(name);
        } else {
            ++i;
        }
    }
    float const step = static_cast<float>(realDt);
    for (Kartenstapel* pile : piles) stepPile(*this, *pile, step);
    for (Karte* card : cards) stepCard(*card, step);

    ease(shownScorePlus, play_.score, realDt);
    ease(shownScoreMinus, play_.bonusScore, realDt);
    ease(shownBalance, play_.counts.pointsBalance, realDt);
    // A game ended on request keeps its status 0 (finishGame): its time and points stop all the
    // same, so the results and the highscore show the score it ended with.
    if (play_.gameStatus == kGameRunning && !play_.gameEndSent) {
        float const drain = (gameStyle_ ? gameStyle_->scoreDownMultiplier : 1.0f) * static_cast<float>(dt);
        play_.bonusScore -= drain;
        play_.counts.pointsBalance = std::max(0.0f, play_.counts.pointsBalance - drain);
        play_.gameTime += static_cast<float>(dt);
        if (dt != 0.0) StatistikManager::instance().addTime(dt);
        Orvex::u32 const tick = now();
        // Unsigned difference: correct across the wrap of the 32-bit tick count.
        if (tick - lastInputTick > kHoverInterval) {
            if (heldCard) hoverCarrying();
            else if (!pointerOffTable) hoverIdle();
            lastInputTick = now();
        }
    } else if (tooltipObject) {
        clearTooltip();
    }

    if (play_.resolutionPending) {
        if (play_.resolutionDelay > 0.0f) play_.resolutionDelay -= static_cast<float>(dt);
        if (play_.resolutionDelay <= 0.0f) {
            play_.resolutionDelay = -1.0f;
            play_.resolutionPending = false;
            resolveAfterMove(true);
            renewHints();
            checkWin();
            if (rules_.autoCheckEnd) checkEnd();
            if (recordOpen_) recordStep(true);
        }
    } else if (hintsAwaitArrival_ && !cardsOnTheirWay(cards)) {
        hintsAwaitArrival_ = false;
        if (play_.gameStatus == kGameRunning) rebuildHints();
    }
    followTableContent();
    applyScreenPilePositions();
}

void Kartenmanager::renewHints() {
    rebuildHints();
    hintsAwaitArrival_ = cardsOnTheirWay(cards);
}

int Kartenmanager::applyScreenPilePositions() {
    for (PilePosition const& entry : rules_.pilePositions) {
        Kartenstapel* pile = findPile(entry.name);
        if (!pile) continue;
        pile->setScale(entry.scale);
        pile->rules.renderIndex = entry.renderIndex;
        if (camera) pile->setPosition(camera->relativeToWorld(entry.relative.x, entry.relative.y, false));
    }
    return static_cast<int>(rules_.pilePositions.size());
}

bool Kartenmanager::isPointerCardOnPositionedPile() const {
    if (heldCard || !pointerCard || !pointerCard->pile) return false;
    std::wstring const& name = pointerCard->pile->getName();
    return std::any_of(rules_.pilePositions.begin(), rules_.pilePositions.end(),
                       [&](PilePosition const& entry) { return entry.name == name; });
}

void Kartenmanager::clearHoverMarks() {
    if (hoverCard) hoverCard->setMarkState(0, kClearSpeed);
    if (hoverPile) hoverPile->setMarkState(0, kClearSpeed);
    hoverCard = nullptr;
    hoverPile = nullptr;
}

int Kartenmanager::getHintMarkFlags(Karte const* card) const {
    int flags = kMarkMovable;
    for (HintRecord const& hint : hints_) {
        if (!hint.isMove || hint.card != card) continue;
        if (hint.direction > 0) return kMarkGoalHint;
        flags = kMarkHint;
    }
    return flags;
}

void Kartenmanager::setTooltip(KartenObjekt* object, std::wstring const& description) {
    tooltipObject = object;
    tooltipText = description;
    tooltipChanged.emit(tooltipText, true);
}

void Kartenmanager::clearTooltip() {
    bool const shown = tooltipObject != nullptr;
    tooltipObject = nullptr;
    tooltipText.clear();
    if (shown) tooltipChanged.emit(std::wstring(), false);
}

void Kartenmanager::hoverIdle() {
    clearHoverMarks();
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    pickDropTarget(pointer, card, pile, {});
    if (card && card != pointerCard && card->isFaceUp()) {
        int const mark = !pile || !pile->canPickCard(card) ? kMarkNotPickable : getHintMarkFlags(card);
        card->setMarkState(mark, kClearSpeed);
        if (pointerCard) {
            pointerCard->setMarkState(0, kClearSpeed);
            if (pointerCard->pile) pointerCard->pile->arrange(pointerCard, pileSpeed());
        }
        if (pile) pile->arrange(card, pileSpeed());
        pointerCard = card;
    } else if (pointerCard && pointerCard != card) {
        pointerCard->setMarkState(0, kClearSpeed);
        if (pointerCard->pile) pointerCard->pile->arrange(pointerCard, pileSpeed());
        pointerCard = nullptr;
    }
    KartenObjekt* object = card ? static_cast<KartenObjekt*>(card) : pile;
    if (!object) {
        clearTooltip();
        return;
    }
    // Described anew on every pass: a card's text holds its pile's, whose count changes with
    // every card dealt or laid on it while the card itself stays as it was.
    std::wstring description;
    if (card) describe(*card, description, true, false, false);
    else describe(*pile, description, false, false);
    if (object != tooltipObject || description != tooltipText) setTooltip(object, description);
}

void Kartenmanager::hoverCarrying() {
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    std::vector<Karte*> dragged;
    for (auto const& entry : carriedRun) dragged.push_back(entry.first);
    pickDropTarget(pointer, card, pile, dragged);
    if (!pile) {
        clearTooltip();
        clearHoverMarks();
        return;
    }
    bool const accepts = pile->acceptsCards(carriedRun, nullptr);
    KartenObjekt* object = nullptr;
    if (!card) object = pile;
    else if (pile != heldCard->pile && pile != sourcePile) object = card;
    if (!object) {
        clearTooltip();
    } else {
        std::wstring description;
        if (card) describe(*card, description, true, false, false);
        else describe(*pile, description, false, false);
        bool const single = carriedRun.size() < 2;
        std::wstring const id = accepts ? (single ? L"WIRD_AKZEPTIERT_KARTE" : L"WIRD_AKZEPTIERT_STAPEL")
                                        : (single ? L"WIRD_NICHTAKZEPTIERT_KARTE" : L"WIRD_NICHTAKZEPTIERT_STAPEL");
        appendDescriptionPart(description, languageText(id));
        if (object != tooltipObject || description != tooltipText) setTooltip(object, description);
    }
    Karte* target = card;
    if (!target && pile != sourcePile) {
        std::vector<Karte*> const free = pile->collectFreeCards();
        if (!free.empty()) target = free.front();
    }
    if (pile == hoverPile && target == hoverCard) return;
    clearHoverMarks();
    hoverPile = pile;
    hoverCard = target;
    int const mark = pile != sourcePile && !accepts ? kMarkNotAccepted : kMarkAccepted;
    if (hoverCard) hoverCard->setMarkState(mark, kClearSpeed);
    else hoverPile->setMarkState(mark, kClearSpeed);
    stamp();
}

}  // namespace Solitaire
