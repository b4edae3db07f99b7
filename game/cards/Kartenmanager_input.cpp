// Presses, releases, pointer moves and double clicks on the table (positions in view coordinates,
// see Kartenmanager.h): picking a run up and carrying it, dropping it, double clicks, the right
// button, the two-click (pairs) mode and the two click powers.
//
// Ticks are 32-bit milliseconds from the manager's clock; deadlines are compared by unsigned
// difference, so they hold across the wrap of the tick count. A release over no pile lays
// nothing anywhere: the run slides back to where it was taken.
#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/platform/InputState.h"
#include "port/win32/kernel.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Describe.h"
#include "game/look/GameStyle.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/look/Kartenset.h"
#include "game/cards/Kartenstapel.h"
#include "game/particles/SolPartikelManager.h"
#include "game/look/SolitaireCamera.h"
#include "game/cards/StatistikManager.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

constexpr float kInputClearSpeed = -10.0f;
constexpr float kErrorSpeed = 1.0f;

float inputPileSpeed() {
    Style const* style = currentStyle();
    return style ? style->arrangeSpeed : 0.0f;
}

// The game style asks for the two-click mode: a click selects a card, a second lays it.
bool pairsMode(GameStyle const* style) { return style && style->mouseControlMode == GameStyle::kMouseControlPairs; }

}  // namespace

Orvex::u32 Kartenmanager::now() const { return clock_ ? clock_() : static_cast<Orvex::u32>(GetTickCount()); }

bool Kartenmanager::beforeDeadline(Orvex::u32 deadline, Orvex::u32 tick) const {
    // tick lies before the deadline, or at most the grace after it; the window is far below
    // half the tick range, so the signed difference is exact across the wrap.
    auto const late = static_cast<std::int32_t>(tick - deadline);
    return late < static_cast<std::int32_t>(kDoubleClickGrace);
}

void Kartenmanager::resetInput() {
    heldCard = lastClickedCard = nullptr;
    carriedRun.clear();
    sourcePile = nullptr;
    dragEffect = nullptr;
    selectedCards.clear();
    pointerCard = hoverCard = nullptr;
    hoverPile = nullptr;
    leftDeadline = rightDeadline = 0;
    clickMode = kClickNormal;
}

void Kartenmanager::flushResolution(D3DXVECTOR2 const& position) {
    if (!play_.resolutionPending || !(play_.resolutionDelay > 0.0f)) return;
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    pickAt(position, card, pile);
    pressedCard_ = card;
    pressedCardWaits_ = false;
    play_.resolutionDelay = -1.0f;
    update(0.0, 0.0, Orvex::MouseState());
    pressedCard_ = nullptr;
    // Unless the press carries it off, it goes home after it has been shown again.
    if (pressedCardWaits_) scheduleResolution();
}

void Kartenmanager::onDoubleClick(Orvex::MouseState const& state, int button, D3DXVECTOR2 const& position) {
    flushResolution(position);
    // The double click is the second press: where it is no double click (a power armed, the game
    // over, a game without double clicks) it is that press all the same.
    if (clickMode == kClickNormal) {
        Orvex::u32 const tick = now();
        bool const running = play_.gameStatus == kGameRunning;
        bool const doubleClicks = running && rules_.useDoubleClick;
        if (button == Orvex::OMB_RIGHT && doubleClicks && rules_.useRightMouse) rightDeadline = tick + kDoubleClickWindow;
        else if (button == Orvex::OMB_LEFT && doubleClicks) leftDeadline = tick + kDoubleClickWindow;
    }
    onMouseDown(state, button, position);
}

void Kartenmanager::onPointerLeftTable() {
    pointerOffTable = true;
    if (pointerCard) {
        pointerCard->setMarkState(0, kInputClearSpeed);
        if (pointerCard->pile) pointerCard->pile->arrange(pointerCard, inputPileSpeed());
        pointerCard = nullptr;
    }
    clearTooltip();
}

void Kartenmanager::onMouseDown(Orvex::MouseState const&, int button, D3DXVECTOR2 const& pressedAt) {
    pointer = pressedAt;
    // Just after the table was fitted anew the press acts on what was drawn under it before.
    D3DXVECTOR2 const position = camera ? camera->pressPoint(pressedAt) : pressedAt;
    pointerOffTable = false;
    flushResolution(position);
    Style const* style = currentStyle();
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    if (clickMode == kClickReveal) {
        pickAt(position, card, pile);
        if (!(isAllowedCard(card) || isAllowedPile(pile)) || !pile || pile->rules.pileType != rules_.showPileType || !card ||
            card->isFaceUp())
            return;
        card->setFaceUp(true, style ? style->makeVisibleSpeed : 0.0f, 0.0f);
        clickMode = kClickNormal;
        playSound(GameStyle::kSoundBoniMakeVisible);
        saveUndoState();
        clickModeUsed.emit(ClickMode(kClickReveal));
        return;
    }
    if (clickMode == kClickRemove) {
        Kartenstapel* target = findPile(rules_.removeTargetPileName);
        pickAt(position, card, pile);
        if (!(isAllowedCard(card) || isAllowedPile(pile)) || !pile || pile->rules.pileType != rules_.removeSourcePileType ||
            !card || !card->isFaceUp() || !target || target == pile)
            return;
        if (gameStyle_ && gameStyle_->canRemoveTopCardsOnly && !card->backLinks.empty()) return;
        card->unlink(true, true, true);
        pile->removeCard(card, true);
        pile->arrange(inputPileSpeed());
        target->addCard(card, nullptr, true, true);
        target->arrange(inputPileSpeed());
        clickMode = kClickNormal;
        playSound(GameStyle::kSoundBoniRemove);
        saveUndoState();
        clickModeUsed.emit(ClickMode(kClickRemove));
        return;
    }
    if (clickMode != kClickNormal) return;

    Orvex::u32 const tick = now();
    if (button == Orvex::OMB_RIGHT) {
        if (play_.gameStatus != kGameRunning || !rules_.useRightMouse) return;
        bool moved = false;
        if (beforeDeadline(rightDeadline, tick)) {
            moved = autoFinish(nullptr);
        } else if ((pickAt(position, card, pile) & kPickPile) && pile && !pile->isSpecialPile()) {
            moved = autoFinish(pile);
        }
        if (moved) {
            // The finish recorded a step per move.
            playSound(GameStyle::kSoundMove);
            clearHoverMarks();
        } else {
            playSound(GameStyle::kSoundErrorMove);
        }
        rightDeadline = tick;
        stamp();
        return;
    }
    if (button != Orvex::OMB_LEFT || play_.gameStatus != kGameRunning) return;
    if (pairsMode(gameStyle_)) mouseDownPairs(position);
    else mouseDownDrag(position);
}

void Kartenmanager::mouseDownDrag(D3DXVECTOR2 const& position) {
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    int const mask = pickAt(position, card, pile);
    Orvex::u32 const tick = now();
    if (mask & kPickCard) {
        if (!isAllowedCard(card)) return;
        Karte::LinkedCards run;
        bool pickable = false;
        if (pile && pile->canPickCard(card)) {
            pile->collectCarriedRun(card, run);
            pickable = true;
        }
        bool pickUp = true;
        bool automatic = false;
        bool trueDouble = false;
        if (pile && pile->rules.singleDoubleClick && card->isFaceUp()) {
            automatic = true;
            pickUp = false;
        } else if (card == lastClickedCard && beforeDeadline(leftDeadline, tick)) {
            automatic = trueDouble = true;
            StatistikManager::instance().countDoubleClick();
        }
        bool const moved = automatic && pickable && doubleClickMove(card, pile, run);
        if (automatic) {
            // Asked before the report, which may move a tutorial on to its next page.
            bool const refusalAsked = !moved && trueDouble && refusalAskedFor_ && refusalAskedFor_(*card);
            objectUsed.emit(*card, moved);
            if (moved) {
                playSound(GameStyle::kSoundMove);
                // The run went to another pile: counted whatever the press before had picked up
                // (the double click's first press took the card up from the run's own pile).
                countAchievement(L"KARTEN_MOVED");
                StatistikManager::instance().addMoved(static_cast<Orvex::u32>(run.size()));
                if (Kartenset const* set = StyleSettings::instance().getKartenset())
                    SolPartikelManager::instance().spawnAt(set->movedEmitter, *card);
                card->setDragDistance(0, run);
                heldCard = nullptr;
                sourcePile = nullptr;
                clearHoverMarks();
                saveUndoState();
                StatistikManager::instance().countClick();
            } else {
                card->setMarkState(kMarkRefused, kErrorSpeed);
                playSound(GameStyle::kSoundErrorMove);
                // A joker or wildcard with no place open waits: the line says why (which card it is and
                // where it goes), and the wait costs nothing.
                std::optional<std::wstring> const note = refusalNote(*card, nullptr);
                if (note) playerNote.emit(*note);
                bool const waits = note || (pile && pile->isSpecialPile());
                if (trueDouble) {
                    StatistikManager::instance().countFailedDoubleClick();
                    float const points =
                        gameStyle_ && !refusalAsked && !waits ? gameStyle_->getWrongDoubleClickPoints() : 0.0f;
                    if (points != 0.0f) {
                        changeScore(points);
                        spawnPoints(points);
                    }
                }
            }
        }
        leftDeadline = tick;
        if (!moved && pickUp) {
            StatistikManager::instance().countClick();
            if (!card->isFaceUp()) {
                if (pile && pile->onClickHidden(card)) {
                    objectUsed.emit(*card, true);
                    objectUsed.emit(*pile, true);
                    saveUndoState();
                }
            } else if (pickable && !trueDouble) {
                clearHoverMarks();
                card->setMarkState(0, kInputClearSpeed);
                heldCard = lastClickedCard = card;
                carriedRun = run;
                sourcePile = pile;
                // The point of the card under the pointer, as the card lies on screen now.
                D3DXVECTOR2 const at = camera ? camera->screenToWorld(position, false) : position;
                grabOffset = D3DXVECTOR2(card->position.current.x - at.x, card->position.current.y - at.y);
                if (Kartenset const* set = StyleSettings::instance().getKartenset())
                    dragEffect = SolPartikelManager::instance().spawnAt(set->moveEmitter, *card);
                for (auto const& entry : carriedRun) entry.first->updateLinkOffsets();
                card->setDragDistance(1, carriedRun);
            } else if (!pickable) {
                heldCard = nullptr;
                sourcePile = nullptr;
                carriedRun.clear();
                clearHoverMarks();
                lastClickedCard = card;
            }
        }
        stamp();
        return;
    }
    if (mask & kPickPile) {
        if (!isAllowedPile(pile)) return;
        bool const done = pile->onClickEmpty();
        if (done) saveUndoState();
        objectUsed.emit(*pile, done);
    }
    stamp();
}

bool Kartenmanager::pairMove(Karte* moving, Kartenstapel* target, Karte* onCard) {
    Kartenstapel* from = moving->pile;
    Karte::LinkedCards run{{moving, 0}};
    if (!target->acceptsCards(run, onCard)) return false;
    if (from) {
        from->removeCard(moving, false);
        moving->pruneLinks({moving}, true);
        if (Anordnung* root = from->getRootArrangement()) root->rebuildLinks();
        from->arrange(inputPileSpeed());
    }
    if (onCard && target->isSpecialPile()) {
        target->removeCard(onCard, true);
        target->addCard(onCard, nullptr, true, false);
    }
    target->addCard(moving, onCard, true, false);
    StatistikManager::instance().addMoved(1);
    if (Kartenset const* set = StyleSettings::instance().getKartenset())
        SolPartikelManager::instance().spawnAt(set->movedEmitter, *moving);
    target->arrange(inputPileSpeed());
    saveUndoState();
    countAchievement(L"KARTEN_MOVED");
    playSound(GameStyle::kSoundMove);
    return true;
}

void Kartenmanager::mouseDownPairs(D3DXVECTOR2 const& position) {
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    int const mask = pickAt(position, card, pile);
    if (!(mask & kPickCard)) {
        selectedCards.clear();
        stamp();
        return;
    }
    if (!(isAllowedCard(card) || isAllowedPile(pile))) return;
    StatistikManager::instance().countClick();
    if (!card->isFaceUp() && !card->isMoving() && card->backLinks.empty() && pile && pile->rules.pileType == kPileVorrat) {
        selectedCards.clear();
        if (pile->onClickHidden(card)) {
            objectUsed.emit(*card, true);
            objectUsed.emit(*pile, true);
            saveUndoState();
        }
        stamp();
        return;
    }
    bool const open = card->isFaceUp() && !card->isMoving() && pile &&
                      (((pile->rules.pileType == kPileAblage || pile->rules.pileType == kPileTableau) &&
                        card->backLinks.empty()) ||
                       pile->isSpecialPile());
    if (!open) {
        stamp();
        return;
    }
    Karte* selected = nullptr;
    for (Karte* other : cards)
        if (other != card && std::find(selectedCards.begin(), selectedCards.end(), other) != selectedCards.end()) {
            selected = other;
            break;
        }
    if (selected) {
        clearHoverMarks();
        if (!pairMove(selected, pile, card)) {
            selected->setMarkState(kMarkRefused, kErrorSpeed);
            card->setMarkState(kMarkRefused, kErrorSpeed);
            playSound(GameStyle::kSoundErrorMove);
            countAchievement(L"KARTEN_MOVE_ERROR");
        }
        selectedCards.clear();
        stamp();
        return;
    }
    bool const already = std::find(selectedCards.begin(), selectedCards.end(), card) != selectedCards.end();
    if (!pile->canPickCard(card) || already) {
        selectedCards.clear();
        stamp();
        return;
    }
    selectedCards.push_back(card);
    if (!card->isWildcard && !card->isJoker) {
        clearHoverMarks();
        for (std::wstring const& name : pile->rules.pairGoalPiles) {
            Kartenstapel* goal = findPile(name);
            if (goal && goal != pile && pairMove(card, goal, nullptr)) {
                selectedCards.clear();
                break;
            }
        }
    }
    stamp();
}

void Kartenmanager::onMouseMove(Orvex::MouseState const& state, int axis, D3DXVECTOR2 const& position) {
    pointer = position;
    pointerOffTable = false;
    if (pairsMode(gameStyle_) && (state.isButtonDown(Orvex::OMB_LEFT) || state.isButtonDown(Orvex::OMB_RIGHT))) return;
    if (play_.gameStatus == kGameRunning && (axis == Orvex::OA_MOUSE_X || axis == Orvex::OA_MOUSE_Y)) {
        float const moved = std::fabs(state.getMovement(static_cast<Orvex::OrvexAchse>(axis)));
        if (std::isfinite(moved) && moved >= 1.0f)
            StatistikManager::instance().addMouseDistance(static_cast<Orvex::u32>(std::min(moved, 1.0e6f)));
    }
    if (!heldCard || !state.isButtonDown(Orvex::OMB_LEFT)) return;
    carryHeldCard();
}

void Kartenmanager::carryHeldCard() {
    // The pointer is a point of the view: taken into the table through the camera as it is
    // drawn, the grab point follows it at every scale and while the camera glides.
    D3DXVECTOR2 const at = camera ? camera->screenToWorld(pointer, false) : pointer;
    D3DXVECTOR2 const goal{at.x + grabOffset.x, at.y + grabOffset.y};
    Style const* style = currentStyle();
    float const speed = style ? style->arrangeSpeedMove : 0.0f;
    heldCard->moveTo(goal, speed, 0.0f);
    heldCard->placeLinkedIn(speed, carriedRun);
}

void Kartenmanager::onMouseUp(Orvex::MouseState const&, int button, D3DXVECTOR2 const& position) {
    pointer = position;
    if (button != Orvex::OMB_LEFT || clickMode != kClickNormal) return;
    if (pairsMode(gameStyle_)) return;
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    std::vector<Karte*> dragged;
    for (auto const& entry : carriedRun) dragged.push_back(entry.first);
    int const mask = pickDropTarget(position, card, pile, dragged);
    // Over no pile, or once the game is decided, the run goes nowhere and slides back.
    Kartenstapel* target = (mask & kPickPile) && play_.gameStatus == kGameRunning ? pile : nullptr;
    if (heldCard && target) {
        clearHoverMarks();
        scheduleResolution();
        if (isAllowedCard(card) || isAllowedPile(target)) {
            if (target->acceptsCards(carriedRun, nullptr)) {
                executeMove(carriedRun, sourcePile, target, heldCard);
                saveUndoState();
                countAchievement(L"KARTEN_MOVED");
                playSound(GameStyle::kSoundMove);
            } else if (target != sourcePile) {
                heldCard->setMarkState(kMarkRefused, kErrorSpeed);
                playSound(GameStyle::kSoundErrorMove);
                countAchievement(L"KARTEN_MOVE_ERROR");
                if (std::optional<std::wstring> const note = refusalNote(*heldCard, target)) playerNote.emit(*note);
            }
        }
    }
    if (heldCard) {
        // The refused run slides back where it lies.
        for (Kartenstapel* each : piles) each->arrange(inputPileSpeed());
        heldCard->setDragDistance(0, carriedRun);
    }
    heldCard = nullptr;
    sourcePile = nullptr;
    carriedRun.clear();
    dragEffect = nullptr;
    stamp();
}

}  // namespace Solitaire
