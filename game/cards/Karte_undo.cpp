// Card snapshots: where the card is going (pending goals first) and how it is linked.
#include <memory>

#include "game/cards/CardFlight.h"
#include "game/cards/Karte.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

Karte::KartenUndoData::KartenUndoData(Karte& card)
    : owner(card),
      links(card.links),
      backLinks(card.backLinks),
      position(card.getPositionGoal()),
      rotation((card.pendingMask & kPendingRotation) ? card.pending.rotation : card.rotation.goal),
      suit(card.suit),
      value(card.value),
      extraNumber(card.extraNumber),
      pile(card.pile),
      pileLayout(card.pileLayout),
      faceUp(card.isFaceUp()),
      tag(card.tag),
      opacity((card.pendingMask & kPendingOpacity) ? card.pending.opacity : card.opacity.goal),
      scale((card.pendingMask & kPendingScale) ? card.pending.scale : card.scale.goal),
      stateFlag(card.stateTimer > 0.0f ? card.pendingStateFlag : card.getStateFlag()),
      keys((card.pendingMask & kPendingKeys) ? card.pending.keys : card.keys.goal),
      locks((card.pendingMask & kPendingLocks) ? card.pending.locks : card.locks.goal),
      goalKind(card.goalKind),
      isWildcard(card.isWildcard),
      isJoker(card.isJoker),
      laid(card.laid),
      specialFlag(card.specialFlag) {}

void Karte::KartenUndoData::restore() {
    Karte& card = owner;
    card.setWaitTimer(-1.0f, 0);
    card.links = links;
    card.backLinks = backLinks;
    // Every card is restored in the same step, so the lists meet again; the offsets follow
    // the restored goals when the cards are next placed.
    card.linkOffsets.clear();
    card.backLinkOffsets.clear();

    StyleValues const fallback;
    Style const* look = card.style ? card.style : StyleSettings::instance().getStyle();
    StyleValues const& speeds = look ? static_cast<StyleValues const&>(*look) : fallback;
    card.moveTo(position, speeds.arrangeSpeedUndo, 0.0f);
    card.rotateTo(rotation, speeds.arrangeSpeedUndo, 0.0f, false);
    card.setFaceUp(faceUp, speeds.undoVisibilitySpeed, 0.0f);
    card.setOpacity(opacity, speeds.undoAlphaSpeed, 0.0f);
    card.setScale(scale, speeds.arrangeSpeedUndo, 0.0f);
    card.setLocks(locks, speeds.undoVisibilitySpeed, 0.0f);
    card.setKeys(keys, speeds.undoVisibilitySpeed, 0.0f);

    card.suit = suit;
    card.value = value;
    card.extraNumber = extraNumber;
    card.pile = pile;
    card.pileLayout = pileLayout;
    card.tag = tag;
    card.pendingStateFlag = stateFlag;
    card.stateFlag = stateFlag;
    card.stateTimer = -1.0f;
    card.goalKind = goalKind;
    card.isWildcard = isWildcard;
    card.isJoker = isJoker;
    card.laid = laid;
    card.specialFlag = specialFlag;
    // A restored card no longer flies.
    card.setFlight(nullptr);
    card.upperLayer = false;
    card.descriptionDirty = true;
}

void Karte::saveUndoState() {
    UndoObjekt::saveUndoState();
    appendUndoRecord(std::make_unique<KartenUndoData>(*this));
}

}  // namespace Solitaire
