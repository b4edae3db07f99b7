// The cards a pile holds, its free cards and room, and laying its cards out.
#include <algorithm>

#include "engine/core/Utils.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"

namespace Solitaire {

void Kartenstapel::getCards(std::vector<Karte*>& out, bool const& takeHidden, bool const& takeVisible) const {
    if (rootArrangement_) rootArrangement_->collectCards(out, takeHidden, takeVisible);
}

std::vector<Karte*> Kartenstapel::getCardsWithLinked() const {
    std::vector<Karte*> out;
    getCards(out, true, true);
    Kartenmanager const& manager = Kartenmanager::instance();
    for (std::wstring const& name : rules.linkedPiles) {
        Kartenstapel const* linked = manager.findPile(name);
        if (!linked || linked == this) continue;
        std::vector<Karte*> more;
        linked->getCards(more, true, true);
        for (Karte* card : more)
            if (std::find(out.begin(), out.end(), card) == out.end()) out.push_back(card);
    }
    return out;
}

std::vector<Karte*> Kartenstapel::collectFreeCards() const {
    return rootArrangement_ ? rootArrangement_->collectFreeCards() : std::vector<Karte*>();
}

int Kartenstapel::freeCapacity(bool lessCards) const {
    return rootArrangement_ ? rootArrangement_->freeCapacity(lessCards) : 0;
}

Kartenstapel::Anordnung* Kartenstapel::findArrangement(std::wstring const& name) const {
    return Orvex::findNamedObject(arrangements_, name);
}

void Kartenstapel::arrange(float speed, std::vector<Karte*> const& exclusions) {
    if (Kartenmanager::instance().bypass || arrangements_.empty()) return;
    std::vector<Karte*> held;
    getCards(held, true, true);
    float const ratio = Anordnung::computeFillRatio(static_cast<int>(held.size()), rules.maxFillCards);
    for (Anordnung* arrangement : arrangements_) arrangement->setFillRatio(ratio);
    for (Anordnung* arrangement : arrangements_) arrangement->place(speed, exclusions);
}

void Kartenstapel::arrange(Karte* card, float speed) {
    if (!card || Kartenmanager::instance().bypass) return;
    for (Anordnung* arrangement : arrangements_) {
        auto const& held = arrangement->cards;
        if (std::find(held.begin(), held.end(), card) == held.end()) continue;
        std::vector<Karte*> others;
        others.reserve(held.size());
        for (Karte* other : held)
            if (other != card) others.push_back(other);
        std::vector<Karte*> all;
        getCards(all, true, true);
        arrangement->setFillRatio(Anordnung::computeFillRatio(static_cast<int>(all.size()), rules.maxFillCards));
        arrangement->place(speed, others);
        return;
    }
}

bool Kartenstapel::removeCard(Karte* card, bool rebuild) {
    if (!card || !rootArrangement_ || !rootArrangement_->removeCard(card)) return false;
    card->setPile(nullptr);
    if (rebuild) rootArrangement_->rebuildLinks();
    return true;
}

}  // namespace Solitaire
