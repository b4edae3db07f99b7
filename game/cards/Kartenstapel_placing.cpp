// Laying cards on a pile: the free slot of an arrangement tree, appending a card to an
// arrangement, one card (with the pairs rule), a carried run, and the point a pile is shown by.
#include <algorithm>
#include <unordered_set>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Placing.h"
#include "game/look/Style.h"

namespace Solitaire {

namespace {

bool hasRoom(Anordnung const& arrangement) {
    return arrangement.maxCards < 0 || static_cast<int>(arrangement.cards.size()) < arrangement.maxCards;
}

Anordnung* findFreeSlotIn(Anordnung& arrangement, int& slot, std::unordered_set<Anordnung const*>& visited) {
    slot = -1;
    if (!visited.insert(&arrangement).second) return nullptr;
    for (Anordnung const* before : arrangement.previousArrangements)
        if (hasRoom(*before)) return nullptr;
    int const held = static_cast<int>(arrangement.cards.size());
    if (hasRoom(arrangement)) {
        slot = held;
        return &arrangement;
    }
    Anordnung* best = nullptr;
    int bestSlot = -1;
    for (Anordnung* next : arrangement.nextArrangements) {
        int childSlot = -1;
        Anordnung* found = findFreeSlotIn(*next, childSlot, visited);
        if (found && (!best || childSlot < bestSlot)) {
            best = found;
            bestSlot = childSlot;
        }
    }
    if (best) slot = held + bestSlot;
    return best;
}

}  // namespace

Anordnung* findFreeSlot(Anordnung& arrangement, int& slot) {
    std::unordered_set<Anordnung const*> visited;
    return findFreeSlotIn(arrangement, slot, visited);
}

void insertCard(Anordnung& arrangement, Karte* card) {
    if (!card) return;
    arrangement.addCardEntry(card);
    card->setPile(arrangement.getPile());
}

bool Kartenstapel::addCard(Karte* card, Karte* partner, bool arrangeRoot, bool noPairs) {
    if (!card) return false;
    Anordnung* arrangement = rootArrangement_;
    if (partner) {
        arrangement = nullptr;
        for (Anordnung* candidate : arrangements_) {
            if (std::find(candidate->cards.begin(), candidate->cards.end(), partner) != candidate->cards.end()) {
                arrangement = candidate;
                break;
            }
        }
    }
    bool placed = false;
    std::vector<Karte*> openBefore;
    if (arrangement) {
        openBefore = collectFreeCards();
        int slot = -1;
        if (Anordnung* target = findFreeSlot(*arrangement, slot)) {
            insertCard(*target, card);
            placed = true;
        }
    }
    bool const pairing = rules.pairs && !noPairs;
    if (!placed && !pairing) return false;

    float const speed = style ? style->arrangeSpeed : 0.0f;
    card->setScale(scale_, speed, 0.0f);
    if (arrangeRoot && rootArrangement_) rootArrangement_->rebuildLinks();

    if (!pairing || openBefore.empty() || rules.pairGoalPiles.empty()) return placed;
    Kartenmanager& manager = Kartenmanager::instance();
    Kartenstapel* goal = nullptr;
    for (std::wstring const& name : rules.pairGoalPiles)
        if ((goal = manager.findPile(name)) != nullptr) break;
    if (!goal || goal == this) return placed;

    Karte* open = openBefore.front();
    bool const special = open->isJoker || open->isWildcard;
    if (special) {
        removeCard(open, false);
        goal->addCard(open, nullptr, false, true);
    }
    removeCard(card, false);
    goal->addCard(card, nullptr, false, true);
    if (!special) {
        open->unlink(false, true, true);
        removeCard(open, false);
        goal->addCard(open, nullptr, false, true);
    }
    for (Kartenstapel* pile : {this, goal}) {
        if (pile->rootArrangement_) pile->rootArrangement_->rebuildLinks();
        pile->arrange(speed);
    }
    return placed;
}

bool Kartenstapel::addRun(std::vector<Karte*> const& run, Karte* partner) {
    if (run.empty() || !rootArrangement_) return false;
    for (std::size_t i = 0; i < run.size(); ++i) {
        run[i]->unlink(false, true, true);
        Karte* const onCard = partner ? (i == 0 ? partner : run[i - 1]) : nullptr;
        addCard(run[i], onCard, false, false);
    }
    rootArrangement_->rebuildLinks();
    return true;
}

D3DXVECTOR2 Kartenstapel::getAnchorPosition() const {
    return rootArrangement_ ? rootArrangement_->anchor() : position;
}

}  // namespace Solitaire
