// Card links: which card lies on which, the offsets beside them, the breadth-first collection
// of linked cards, their placement around each other and the drag distances of a carried run.
//
// The offset lists are either aligned with their link lists (one entry per link) or empty until
// updateLinkOffsets rebuilds them; every change below keeps that, so an offset never belongs to
// another card than the one at its index.
#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "game/cards/Karte.h"
#include "game/cards/StapelLayout.h"

namespace Solitaire {

namespace {

D3DXVECTOR2 offsetBetween(Karte const& from, Karte const& to) {
    D3DXVECTOR2 const a = from.getPositionGoal();
    D3DXVECTOR2 const b = to.getPositionGoal();
    return {b.x - a.x, b.y - a.y};
}

// Appends a link with its offset while the lists are aligned; otherwise the offsets stay empty.
void appendLink(Karte& self, std::vector<Karte*>& list, std::vector<D3DXVECTOR2>& offsets, Karte* card) {
    bool const aligned = offsets.size() == list.size();
    list.push_back(card);
    if (aligned) offsets.push_back(offsetBetween(self, *card));
    else offsets.clear();
}

void eraseLink(std::vector<Karte*>& list, std::vector<D3DXVECTOR2>& offsets, std::size_t i) {
    if (offsets.size() == list.size()) offsets.erase(offsets.begin() + static_cast<std::ptrdiff_t>(i));
    else offsets.clear();
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
}

bool contains(std::vector<Karte*> const& list, Karte const* card) {
    return std::find(list.begin(), list.end(), card) != list.end();
}

}  // namespace

void Karte::linkTo(Karte* card) {
    if (!card || card == this || linkGuard || contains(links, card)) return;
    linkGuard = true;
    appendLink(*this, links, linkOffsets, card);
    card->linkFrom(this);
    linkGuard = false;
}

void Karte::linkFrom(Karte* card) {
    if (!card || card == this || linkGuard || contains(backLinks, card)) return;
    linkGuard = true;
    appendLink(*this, backLinks, backLinkOffsets, card);
    card->linkTo(this);
    linkGuard = false;
}

void Karte::unlinkBelow(Karte* card) {
    if (!card || linkGuard) return;
    linkGuard = true;
    for (std::size_t i = links.size(); i-- > 0;) {
        if (links[i] != card) continue;
        eraseLink(links, linkOffsets, i);
        card->unlinkAbove(this);
    }
    linkGuard = false;
}

void Karte::unlinkAbove(Karte* card) {
    if (!card || linkGuard) return;
    linkGuard = true;
    for (std::size_t i = backLinks.size(); i-- > 0;) {
        if (backLinks[i] != card) continue;
        eraseLink(backLinks, backLinkOffsets, i);
        card->unlinkBelow(this);
    }
    linkGuard = false;
}

void Karte::pruneLinks(std::vector<Karte*> const& cards, bool const& keep) {
    std::unordered_set<Karte const*> const set(cards.begin(), cards.end());
    for (Karte* card : std::vector<Karte*>(links)) {
        if ((set.count(card) != 0) != keep) unlinkBelow(card);
    }
    for (Karte* card : std::vector<Karte*>(backLinks)) {
        if ((set.count(card) != 0) != keep) unlinkAbove(card);
    }
}

void Karte::unlink(bool const& bridge, bool const& below, bool const& above) {
    std::vector<Karte*> const lower = links;
    std::vector<Karte*> const upper = backLinks;
    if (below) {
        for (Karte* card : lower) unlinkBelow(card);
    }
    if (above) {
        for (Karte* card : upper) unlinkAbove(card);
    }
    if (bridge && below && above) {
        for (Karte* low : lower) {
            for (Karte* up : upper) up->linkTo(low);
        }
    }
    updateLinkOffsets();
}

void Karte::updateLinkOffsets() {
    linkOffsets.clear();
    backLinkOffsets.clear();
    for (Karte* card : links) linkOffsets.push_back(offsetBetween(*this, *card));
    for (Karte* card : backLinks) backLinkOffsets.push_back(offsetBetween(*this, *card));
}

void Karte::collectLinked(LinkedCards& out, bool const& together, int const& limitLinks, int const& limitBackLinks) const {
    out.clear();
    out.emplace_back(const_cast<Karte*>(this), 0);
    std::unordered_map<Karte const*, std::size_t> found{{this, 0}};

    // One breadth-first walk from this card; a limit below 0 never runs out.
    auto walk = [&](int linksLeft, int backLeft) {
        std::vector<std::size_t> queue{0};
        for (std::size_t q = 0; q < queue.size(); ++q) {
            Karte const* card = out[queue[q]].first;
            int const distance = out[queue[q]].second;
            for (int side = 0; side < 2; ++side) {
                int& left = side == 0 ? linksLeft : backLeft;
                std::vector<Karte*> const& list = side == 0 ? card->links : card->backLinks;
                for (Karte* next : list) {
                    if (left == 0) break;
                    auto const known = found.find(next);
                    if (known != found.end()) {
                        int& d = out[known->second].second;
                        d = std::min(d, distance + 1);
                        continue;
                    }
                    found.emplace(next, out.size());
                    queue.push_back(out.size());
                    out.emplace_back(next, distance + 1);
                    if (left > 0) --left;
                }
            }
        }
    };
    if (together) {
        walk(limitLinks, limitBackLinks);
    } else {
        walk(limitLinks, 0);
        walk(0, limitBackLinks);
    }
}

void Karte::linkEnds(LinkedCards& out) const {
    LinkedCards chain;
    collectLinked(chain, true, -1, 0);
    out.clear();
    for (auto const& entry : chain) {
        if (entry.first->links.empty()) out.push_back(entry);
    }
}

void Karte::placeLinked(float const& speed) {
    if (pileLayout) {
        pileLayout->arrangeCard(this, speed);
        return;
    }
    LinkedCards cards;
    collectLinked(cards, true, -1, -1);
    placeLinkedIn(speed, cards);
}

void Karte::placeLinkedIn(float const& speed, LinkedCards const& cards) {
    // Nearest cards first, so the cards further out follow the ones they hang on.
    LinkedCards order = cards;
    std::stable_sort(order.begin(), order.end(), [](auto const& a, auto const& b) { return a.second < b.second; });
    std::unordered_set<Karte const*> members;
    for (auto const& entry : order) members.insert(entry.first);
    for (auto const& entry : order) {
        Karte& card = *entry.first;
        if (card.linkOffsets.size() != card.links.size() || card.backLinkOffsets.size() != card.backLinks.size())
            card.updateLinkOffsets();
        D3DXVECTOR2 const base = card.getPositionGoal();
        for (std::size_t i = 0; i < card.links.size(); ++i) {
            if (!members.count(card.links[i])) continue;
            card.links[i]->moveTo({base.x + card.linkOffsets[i].x, base.y + card.linkOffsets[i].y}, speed, 0.0f);
        }
        for (std::size_t i = 0; i < card.backLinks.size(); ++i) {
            if (!members.count(card.backLinks[i])) continue;
            card.backLinks[i]->moveTo({base.x + card.backLinkOffsets[i].x, base.y + card.backLinkOffsets[i].y}, speed,
                                      0.0f);
        }
    }
}

void Karte::setDragDistance(int const& distance, LinkedCards const& run) {
    int own = 0;
    for (auto const& [card, depth] : run)
        if (card == this) own = depth;
    std::unordered_set<Karte const*> visited;
    for (auto const& [card, depth] : run) {
        if (!card || !visited.insert(card).second) continue;
        card->dragDistance = distance == 0 ? 0 : 1 + std::abs(depth - own);
    }
}

void Karte::spreadDragDistance(int const& distance, bool const& deep) {
    std::vector<Karte*> next{this};
    std::unordered_set<Karte const*> visited{this};
    while (!next.empty()) {
        Karte* card = next.back();
        next.pop_back();
        card->dragDistance = distance;
        if (!deep) break;
        for (Karte* above : card->backLinks)
            if (above && visited.insert(above).second) next.push_back(above);
    }
}

}  // namespace Solitaire
