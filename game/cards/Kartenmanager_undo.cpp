// The card manager's undo record (balance, counters and the card list) and the steps of the whole
// table: one save covers the manager, every card and every pile; an undo or redo moves them all.
//
// A step holds the table as the player saw it when the step was left: a resolution that runs
// after the record (a delayed one) renews the record, and an undo or redo takes the restored
// table as it stands. Its resolution only counts: nothing is collected, opened or sent on there,
// since whether a joker is collected depends on whether it still glides, which the record does
// not know.
#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/core/NamedObjectList.h"
#include "engine/platform/InputState.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/look/GameStyle.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/StatistikManager.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

// The record takes PlayState::Counts whole (the score is not among them) and the card list.
class Kartenmanager::KartenmanagerUndoData : public UndoData {
public:
    explicit KartenmanagerUndoData(Kartenmanager& manager)
        : owner_(manager), counts_(manager.play_.counts), cards_(manager.cards) {
        for (Karte* card : cards_) card->addRef();
    }
    ~KartenmanagerUndoData() override { Orvex::releaseAll(cards_); }

    void restore() override {
        owner_.play_.counts = counts_;
        // The references move with the list: take the saved ones before letting the old go. A
        // card that leaves the list (bought after this step) leaves the table too, and every
        // card's index is its place in the list again.
        for (Karte* card : cards_) card->addRef();
        for (Karte* card : owner_.cards) {
            if (std::find(cards_.begin(), cards_.end(), card) == cards_.end()) {
                if (Kartenstapel* pile = card->pile) pile->removeCard(card, true);
                card->unlink(false, true, true);
                card->setPile(nullptr);
            }
            card->release();
        }
        owner_.cards = cards_;
        for (std::size_t i = 0; i < owner_.cards.size(); ++i) owner_.cards[i]->index = static_cast<int>(i);
    }

private:
    Kartenmanager& owner_;
    PlayState::Counts counts_;
    std::vector<Karte*> cards_;
};

void Kartenmanager::saveUndoState() {
    // A move was made since the last record: that record stays as it was.
    recordOpen_ = false;
    scheduleResolution();
    update(0.0, 0.0, Orvex::MouseState());
    updateSpecialPile(true);
    recordStep(false);
    // A resolution that runs later (a delayed one, the first after a new game) renews this record,
    // so the step holds the table the player saw when it was left.
    recordOpen_ = true;
}

void Kartenmanager::recordStep(bool again) {
    // again: each object's current record is replaced; the histories keep their length. An object
    // without a record (a card bought since) takes its first.
    auto reopen = [again](UndoObjekt& object) {
        if (again && object.getUndoIndex() >= 0) object.discardFrom(object.getUndoIndex());
    };
    reopen(*this);
    UndoObjekt::saveUndoState();
    appendUndoRecord(std::make_unique<KartenmanagerUndoData>(*this));
    for (Karte* card : cards) {
        reopen(*card);
        card->saveUndoState();
    }
    for (Kartenstapel* pile : piles) {
        reopen(*pile);
        pile->saveUndoState();
    }
}

Orvex::s32 Kartenmanager::undoSteps(Orvex::s32 const& steps, bool const& free, bool const& chargeAnyway) {
    if (play_.gameStatus != kGameRunning) return 0;
    Orvex::s32 const last = static_cast<Orvex::s32>(getUndoCount()) - 1;
    Orvex::s32 const target = std::clamp(getUndoIndex() + steps, 0, std::max(0, last));
    // Nothing to step to: nothing is restored, charged or resolved, so the table stays as it is.
    if (!bypass && target == getUndoIndex()) return 0;
    if (!bypass) {
        // The step being left is completed first, as a press completes it before a move: its
        // resolution runs and renews its record.
        if (play_.resolutionPending) {
            play_.resolutionDelay = -1.0f;
            update(0.0, 0.0, Orvex::MouseState());
        }
        if (play_.gameStatus != kGameRunning) return 0;
        if (!free && !canPay(getUndoPrice(steps))) return 0;
        // The restored table is the step's whole table: nothing waits to resolve it again.
        recordOpen_ = false;
        play_.resolutionPending = false;
        play_.resolutionDelay = -1.0f;
    }
    Orvex::s32 const made = stepHistory(steps);
    // The list may have changed with the restored record: step the cards it names now.
    Orvex::s32 largest = 0;
    std::vector<Karte*> const table = cards;
    for (Karte* card : table) largest = std::max(largest, std::abs(card->stepHistory(steps)));
    for (Kartenstapel* pile : piles) largest = std::max(largest, std::abs(pile->stepHistory(steps)));
    if (bypass) return made;
    Style const* style = StyleSettings::instance().getStyle();
    float const speed = style ? style->arrangeSpeedUndo : 0.0f;
    for (Kartenstapel* pile : piles) pile->arrange(speed);
    if (!free || chargeAnyway) {
        StatistikManager::instance().addUndos(static_cast<Orvex::u32>(largest));
        if (made < 0 && gameStyle_) {
            float const points = static_cast<float>(-made) * gameStyle_->getUndoPoints(true);
            if (points != 0.0f) {
                changeScore(points);
                spawnPoints(points);
            }
        }
    }
    resolveAfterMove(false, true);
    // The list built for the table left behind names cards that are no longer there.
    renewHints();
    play_.counts.tableauCardCount = countTableauCards();
    play_.counts.emptyTableauPileCount = countEmptyTableauPiles();
    play_.counts.seenEmptyTableauPileCount = countSeenEmptyTableauPiles();
    if (!free && gameStyle_) gameStyle_->updateMultiplier();
    updateSpecialPile(true);
    return made;
}

}  // namespace Solitaire
