// The cards a pile holds, its top and first card, its free cards and room, turning them all,
// laying its cards out, and its bounds. Walks over linked piles visit each pile once, so piles
// that name each other end.
#include <algorithm>
#include <cmath>
#include <deque>

#include "engine/core/Utils.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "port/d3dx9/d3dx9math.h"

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

Karte* Kartenstapel::getTopCard() const {
    Kartenmanager const& manager = Kartenmanager::instance();
    std::vector<Kartenstapel const*> asked;
    for (Kartenstapel const* pile = this; pile;) {
        asked.push_back(pile);
        std::vector<Karte*> held;
        pile->getCards(held, true, true);
        if (!held.empty()) return held.back();
        pile = pile->rules.linkedPiles.empty() ? nullptr : manager.findPile(pile->rules.linkedPiles.front());
        if (std::find(asked.begin(), asked.end(), pile) != asked.end()) break;
    }
    return nullptr;
}

Karte* Kartenstapel::findFirstCard() const {
    Kartenmanager const& manager = Kartenmanager::instance();
    std::vector<Kartenstapel const*> seen{this};
    std::deque<Kartenstapel const*> next{this};
    while (!next.empty()) {
        Kartenstapel const* pile = next.front();
        next.pop_front();
        std::vector<Karte*> held;
        pile->getCards(held, true, true);
        if (!held.empty()) return held.front();
        for (std::wstring const& name : pile->rules.linkedPiles) {
            Kartenstapel const* linked = manager.findPile(name);
            if (!linked || std::find(seen.begin(), seen.end(), linked) != seen.end()) continue;
            seen.push_back(linked);
            next.push_back(linked);
        }
    }
    return nullptr;
}

void Kartenstapel::setAllCardsFaceUp(bool const& up, float const& speed) {
    for (Anordnung* arrangement : arrangements_)
        for (Karte* card : arrangement->cards) card->setFaceUp(up, speed, 0.0f);
}

void Kartenstapel::getBounds(Orvex::FRect& out, bool const& current) const {
    auto rect = [](D3DXVECTOR2 const& centre, D3DXVECTOR2 const& size) {
        return Orvex::FRect(centre.x - size.x * 0.5f, centre.y - size.y * 0.5f, centre.x + size.x * 0.5f,
                            centre.y + size.y * 0.5f);
    };
    out = rect(position, cardSize * scale_);
    std::vector<Karte*> held;
    getCards(held, true, true);
    for (Karte const* card : held) {
        D3DXVECTOR2 place;
        card->getPosition(place, current, !current);
        D3DXVECTOR2 const size = card->cardSize * (current ? card->scale.current : card->scale.goal);
        // A turned card (a fan along a path) covers the box around its turned corners.
        float degrees = current ? card->rotation.current : card->rotation.goal;
        if (!current && (card->pendingMask & Karte::kPendingRotation)) degrees = card->pending.rotation;
        float const radians = D3DXToRadian(degrees);
        float const c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
        D3DXVECTOR2 const box = std::isfinite(c) && std::isfinite(s)
                                    ? D3DXVECTOR2(size.x * c + size.y * s, size.x * s + size.y * c)
                                    : size;
        out.unite(rect(place, box));
    }
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
