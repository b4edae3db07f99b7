// Cards: construction, the style and card-set slots, the property setters and the queries.
#include "game/cards/Karte.h"

#include <cmath>

#include "game/cards/CardFlight.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/RuleWords.h"
#include "game/cards/StapelLayout.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

namespace {

bool finite(D3DXVECTOR4 const& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

// Replaces a counted reference.
template <class T>
void retain(T*& field, T* object) {
    object->addRef();
    if (field) field->release();
    field = object;
}

}  // namespace

std::wstring cardName(int const& suit, int const& value) {
    // The rule vocabulary's words; an EXTRA card's number is its value.
    std::wstring name = suit >= 0 && suit <= Karte::kSuitExtra ? colourRuleName(suit) : std::to_wstring(suit);
    name += L' ';
    name += value >= 0 && value <= 12 && suit != Karte::kSuitExtra ? valueRuleName(value) : std::to_wstring(value);
    return name;
}

Karte::Karte(int const& cardValue, int const& cardSuit, int const&, int const& cardIndex)
    : KartenObjekt(cardIndex), value(cardValue), suit(cardSuit) {
    setName(cardName(suit, value));
    StyleSettings& settings = StyleSettings::instance();
    settings.styleChanged.connect(this, &Karte::onStyleChanged);
    settings.kartensetChanged.connect(this, &Karte::onKartensetChanged);
    onKartensetChanged(settings.getKartenset());

    // Every property rests at its first value until a setter gives it a goal.
    position.setAll(position.current, position.current, position.current, 1.0f, false);
    opacity.setAll(1.0f, 1.0f, 1.0f, 1.0f, false);
    rotation.setAll(0.0f, 0.0f, 0.0f, 1.0f, false);
    scale.setAll(1.0f, 1.0f, 1.0f, 1.0f, false);
    face.setAll(0.0f, 0.0f, 0.0f, 1.0f, false);
    locks.setAll(locks.current, locks.current, locks.current, 1.0f, false);
    keys.setAll(keys.current, keys.current, keys.current, 1.0f, false);
    markOffset.setAll(markOffset.current, markOffset.current, markOffset.current, 1.0f, false);
    markRotation.setAll(0.0f, 0.0f, 0.0f, 1.0f, false);
    position.running = true;
    opacity.running = true;
    rotation.running = false;
    scale.running = true;
    face.running = true;
    locks.running = true;
    keys.running = true;
    markOffset.running = true;
    markOffset.speed = 4.0f;
    markRotation.running = true;
    markRotation.speed = 4.0f;
    markOffset.goalReachedSignal.connect(this, &Karte::onMarkOffsetReached);
    markRotation.goalReachedSignal.connect(this, &Karte::onMarkRotationReached);

    onStyleChanged(settings.getStyle());
}

Karte::~Karte() {
    // No card keeps a pointer to this one.
    unlink(false, true, true);
    if (cardSet) cardSet->release();
    if (style) style->release();
}

void Karte::onKartensetChanged(Kartenset* newSet) {
    if (!newSet) return;
    retain(cardSet, newSet);
    cardSize = newSet->cellSize;
    float const speed = style ? style->arrangeSpeed : 0.0f;
    if (pileLayout) {
        pileLayout->arrangeCard(this, speed);
        return;
    }
    LinkedCards ends;
    linkEnds(ends);
    if (!ends.empty()) ends.front().first->placeLinked(speed);
}

void Karte::onStyleChanged(Style* newStyle) {
    if (!newStyle) return;
    retain(style, newStyle);
    if (pileLayout) {
        pileLayout->arrangeCard(this, style->arrangeSpeed);
        return;
    }
    if (!links.empty() || !backLinks.empty()) placeLinked(style->arrangeSpeed);
}

// Steps 2 and 3 of every setter: true when the change starts now.
bool Karte::startsNow(int const& bit, float const& delay) {
    if (delay > 0.0f) {
        pendingMask |= bit;
        waitTime = delay;
        return false;
    }
    return !(waitTime > 0.0f && (pendingMask & bit));
}

void Karte::setOpacity(float const& goal, float const& speed, float const& delay) {
    if (!std::isfinite(goal)) return;
    pending.opacity = goal;
    pending.opacitySpeed = speed;
    if (!startsNow(kPendingOpacity, delay)) return;
    opacity.set(opacity.current, goal, 0.0f);
    applySpeed(opacity, speed);
}

void Karte::setScale(float const& goal, float const& speed, float const& delay) {
    if (!std::isfinite(goal)) return;
    pending.scale = goal;
    pending.scaleSpeed = speed;
    if (!startsNow(kPendingScale, delay)) return;
    scale.set(scale.current, goal, 0.0f);
    applySpeed(scale, speed);
}

void Karte::setFaceUp(bool const& up, float const& speed, float const& delay) {
    pending.face = up;
    pending.faceSpeed = speed;
    if (!startsNow(kPendingFace, delay)) return;
    if ((face.goal > 0.5f) != up) {
        face.set(face.current, up ? 1.0f : 0.0f, 0.0f);
        descriptionDirty = true;
    }
    applySpeed(face, speed);
}

void Karte::setLocks(D3DXVECTOR4 const& goal, float const& speed, float const& delay) {
    if (!finite(goal)) return;
    pending.locks = goal;
    pending.locksSpeed = speed;
    if (!startsNow(kPendingLocks, delay)) return;
    if (goal != locks.goal) {
        locks.set(locks.current, goal, 0.0f);
        descriptionDirty = true;
    }
    applySpeed(locks, speed);
}

void Karte::setKeys(D3DXVECTOR4 const& goal, float const& speed, float const& delay) {
    if (!finite(goal)) return;
    pending.keys = goal;
    pending.keysSpeed = speed;
    if (!startsNow(kPendingKeys, delay)) return;
    if (goal != keys.goal) keys.set(keys.current, goal, 0.0f);
    applySpeed(keys, speed);
}

void Karte::getPosition(D3DXVECTOR2& out, bool const& current, bool const& pendingGoal) const {
    if (pendingGoal && (pendingMask & kPendingPosition)) out = pending.position;
    else out = current ? position.current : position.goal;
}

D3DXVECTOR2 Karte::getPositionGoal() const {
    D3DXVECTOR2 goal;
    getPosition(goal, false, true);
    return goal;
}

bool Karte::isFaceUp() const { return (pendingMask & kPendingFace) ? pending.face : face.goal > 0.5f; }

bool Karte::isLocked() const {
    D3DXVECTOR4 const& v = (pendingMask & kPendingLocks) ? pending.locks : locks.goal;
    return v.x * v.x + v.y * v.y + v.z * v.z + v.w * v.w > 0.0f;
}

bool Karte::isMoving() const { return (position.running && position.t < 1.0f) || flightTime > 0.0f; }

void Karte::setPile(Kartenstapel* newPile, StapelLayout* layout, std::wstring const& name) {
    pile = newPile;
    pileLayout = newPile ? layout : nullptr;
    tag = newPile ? name : std::wstring();
    descriptionDirty = true;
}

void Karte::takeMoveFlags(Kartenstapel const* from, Kartenstapel const& to) {
    if ((isJoker || isWildcard) && from && from->isSpecialPile() && !to.isSpecialPile()) laid = true;
    isWildcard = to.rules.pileType == kPileWildcard || to.rules.pileType == kPileWildcardJoker;
}

}  // namespace Solitaire
