// A pile's construction, its style and card-set slots, its scale and its place.
#include "game/cards/Kartenstapel.h"

#include <cmath>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"

namespace Solitaire {

Kartenstapel::Kartenstapel(int index) : KartenObjekt(index) {
    StyleSettings& settings = StyleSettings::instance();
    settings.styleChanged.connect(this, &Kartenstapel::onStyleChanged);
    settings.kartensetChanged.connect(this, &Kartenstapel::onKartensetChanged);
    onStyleChanged(settings.getStyle());
    onKartensetChanged(settings.getKartenset());
}

Kartenstapel::~Kartenstapel() {
    clearArrangements();
    if (cardSet) cardSet->release();
    if (style) style->release();
}

void Kartenstapel::clearArrangements() {
    for (Anordnung* arrangement : arrangements_) delete arrangement;
    arrangements_.clear();
    rootArrangement_ = nullptr;
}

std::wstring Kartenstapel::getTypeName() const { return pileTypeName(rules.pileType); }

void Kartenstapel::updateCardStep() {
    if (!style) return;
    cardStep = style->pileOffset;
    if (cardSet) {
        cardStep.x *= cardSet->offsetFactor.x;
        cardStep.y *= cardSet->offsetFactor.y;
    }
}

void Kartenstapel::onStyleChanged(Style* newStyle) {
    if (!newStyle) return;
    newStyle->addRef();
    if (style) style->release();
    style = newStyle;
    updateCardStep();
    jitter = style->randomOffset;
    rotationJitter = style->randomRotation;
    arrange(0.0f);
}

void Kartenstapel::onKartensetChanged(Kartenset* newSet) {
    if (!newSet) return;
    newSet->addRef();
    if (cardSet) cardSet->release();
    cardSet = newSet;
    updateCardStep();
    setCellSize(cardSet->cellSize);
    arrange(0.0f);
}

void Kartenstapel::setScale(float newScale) {
    if (newScale == scale_ || !std::isfinite(newScale)) return;
    scale_ = newScale;
    for (Karte* card : getCardsWithLinked()) card->setScale(scale_, 0.0f, 0.0f);
}

void Kartenstapel::setPosition(D3DXVECTOR2 const& origin) {
    D3DXVECTOR2 const old = position;
    setTablePosition(origin);  // not finite: refused, nothing moves
    D3DXVECTOR2 const delta = position - old;
    if ((delta.x == 0.0f && delta.y == 0.0f) || Kartenmanager::instance().bypass) return;
    for (Karte* card : getCardsWithLinked()) {
        card->position.start += delta;
        card->position.goal += delta;
        card->position.current += delta;
        card->pending.position += delta;
    }
}

void Kartenstapel::setMarkState(int const& flags, float const& speed) {
    KartenObjekt::setMarkState(flags, speed);
    std::vector<Karte*> held;
    getCards(held, true, true);
    for (Karte* card : held) card->setMarkState(flags, speed);
}

}  // namespace Solitaire
