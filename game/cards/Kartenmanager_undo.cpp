// The card manager's undo record (balance, counters and the card list) and the steps of the whole
// table: one save covers the manager, every card and every pile; an undo or redo moves them all.
#include <memory>

#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Style.h"
#include "game/cards/StyleSettings.h"

namespace Solitaire {

// The score is not part of the record: an undo charges its penalty on the score it has.
class Kartenmanager::KartenmanagerUndoData : public UndoData {
public:
    explicit KartenmanagerUndoData(Kartenmanager& manager)
        : owner_(manager),
          pointsBalance_(manager.pointsBalance),
          extraCardsFound_(manager.extraCardsFound),
          goalCardCount_(manager.goalCardCount),
          endPileCardCount_(manager.endPileCardCount),
          goalAndEndCardCount_(manager.goalAndEndCardCount),
          tableauPileCount_(manager.tableauPileCount),
          emptyTableauPileCount_(manager.emptyTableauPileCount),
          tableauCardsAtStart_(manager.tableauCardsAtStart),
          tableauCardCount_(manager.tableauCardCount),
          cards_(manager.cards) {
        for (Karte* card : cards_) card->addRef();
    }
    ~KartenmanagerUndoData() override {
        for (Karte* card : cards_) card->release();
    }

    void restore() override {
        owner_.pointsBalance = pointsBalance_;
        owner_.extraCardsFound = extraCardsFound_;
        owner_.goalCardCount = goalCardCount_;
        owner_.endPileCardCount = endPileCardCount_;
        owner_.goalAndEndCardCount = goalAndEndCardCount_;
        owner_.tableauPileCount = tableauPileCount_;
        owner_.emptyTableauPileCount = emptyTableauPileCount_;
        owner_.tableauCardsAtStart = tableauCardsAtStart_;
        owner_.tableauCardCount = tableauCardCount_;
        // The references move with the list: take the saved ones before letting the old go.
        for (Karte* card : cards_) card->addRef();
        for (Karte* card : owner_.cards) card->release();
        owner_.cards = cards_;
    }

private:
    Kartenmanager& owner_;
    float pointsBalance_;
    int extraCardsFound_;
    int goalCardCount_, endPileCardCount_, goalAndEndCardCount_;
    int tableauPileCount_, emptyTableauPileCount_, tableauCardsAtStart_, tableauCardCount_;
    std::vector<Karte*> cards_;
};

void Kartenmanager::saveUndoState() {
    UndoObjekt::saveUndoState();
    appendUndoRecord(std::make_unique<KartenmanagerUndoData>(*this));
    for (Karte* card : cards) card->saveUndoState();
    for (Kartenstapel* pile : piles) pile->saveUndoState();
}

Orvex::s32 Kartenmanager::undoSteps(Orvex::s32 const& steps, bool const&, bool const&) {
    if (gameStatus != 0) return 0;
    Orvex::s32 const made = stepHistory(steps);
    // The list may have changed with the restored record: step the cards it names now.
    std::vector<Karte*> const table = cards;
    for (Karte* card : table) card->stepHistory(steps);
    for (Kartenstapel* pile : piles) pile->stepHistory(steps);
    if (bypass) return made;
    Style const* style = StyleSettings::instance().getStyle();
    float const speed = style ? style->arrangeSpeedUndo : 0.0f;
    for (Kartenstapel* pile : piles) pile->arrange(speed);
    return made;
}

}  // namespace Solitaire
