// The cards' draw order: recursion over the cards below with a guard against link cycles.
#include "game/cards/RenderOrder.h"

#include <algorithm>
#include <unordered_set>

#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"

namespace Solitaire {

float RenderOrder::orderOf(Karte& card) {
    auto const known = orders_.find(&card);
    if (known != orders_.end()) return known->second;
    if (card.flightTime > 0.0f) return orders_[&card] = card.renderOrder;
    if (inProgress_[&card]) return 0.0f;  // a link cycle: this path adds nothing
    inProgress_[&card] = true;
    float const order = compute(card);
    inProgress_.erase(&card);
    orders_[&card] = order;
    return order;
}

float RenderOrder::compute(Karte& card) {
    // A carried card still links to the card it was taken from; it is drawn above the table.
    if (card.dragDistance > 0) return kCarriedLayer + static_cast<float>(card.dragDistance);
    float const lift = (1.0f - std::clamp(card.position.t, 0.0f, 1.0f)) * kLift;
    // Cards below in the same layer count with their own order; those of the other layer are
    // passed through to the cards below them.
    float highest = 0.0f;
    std::vector<Karte*> walk(card.links.begin(), card.links.end());
    std::unordered_set<Karte const*> seen(walk.begin(), walk.end());
    for (std::size_t i = 0; i < walk.size(); ++i) {
        Karte* below = walk[i];
        if (!below || below == &card) continue;
        if (below->upperLayer == card.upperLayer) {
            highest = std::max(highest, orderOf(*below));
            continue;
        }
        for (Karte* further : below->links)
            if (seen.insert(further).second) walk.push_back(further);
    }
    float base = highest;
    if (card.links.empty() && card.pile) base = card.pile->rules.renderIndex + highest;
    else if (!card.pile) base = static_cast<float>(card.getIndex());
    return (card.upperLayer ? kUpperLayer : 0.0f) + base + lift + 1.0f;
}

void RenderOrder::update(std::vector<Karte*> const& cards) {
    beginFrame();
    for (Karte* card : cards)
        if (card) card->renderOrder = orderOf(*card);
}

}  // namespace Solitaire
