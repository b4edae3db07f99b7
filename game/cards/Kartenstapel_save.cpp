// The pile's part of the running-game save: one "ANNORDNUNG" per arrangement. After loading,
// every card of the pile (and of its linked piles) takes the pile, its name and its scale.
#include "engine/core/XMLNode.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/RunningGameLoad.h"

namespace Solitaire {

void Kartenstapel::saveState(Orvex::XMLNode& node) const {
    for (Anordnung const* arrangement : arrangements_) arrangement->saveState(*node.addChild(L"ANNORDNUNG"));
}

void Kartenstapel::loadState(Orvex::XMLNode const& node, RunningGameLoad& load) {
    for (Orvex::XMLNode const* child : node.children()) {
        if (child->getName() != L"ANNORDNUNG") continue;
        std::wstring const name = child->getAttributeString(L"NAME", L"");
        if (Anordnung* arrangement = findArrangement(name))
            arrangement->loadState(*child, load);
        else
            load.problems.add(L"pile \"" + getName() + L"\" has no arrangement " + Orvex::quotedPiece(name), node.getLine());
    }
    for (Karte* card : getCardsWithLinked()) {
        card->setPile(this);
        card->markDescriptionDirty();
        if (card->pendingMask & Karte::kPendingScale) {
            card->pending.scale = scale_;  // a timed change waits: it ends at the pile's scale
        } else if (card->scale.running && card->scale.t < 1.0f) {
            card->scale.goal = scale_;
        } else {
            card->setScale(scale_, 0.0f, 0.0f);
        }
    }
}

}  // namespace Solitaire
