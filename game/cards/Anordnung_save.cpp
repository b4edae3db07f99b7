// The arrangement's part of the running-game save: its name and the indexes of its cards, first
// to last. Loading empties it and appends the listed cards; a card still held by another
// arrangement leaves that one first, so every card ends in exactly one. Unknown or repeated
// indexes and cards beyond "MAX_CARDS" are skipped and counted for the load's log line.
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Placing.h"
#include "game/cards/RunningGameLoad.h"

namespace Solitaire {

void Anordnung::saveState(Orvex::XMLNode& node) const {
    node.setAttribute(L"NAME", getName());
    for (Karte const* card : cards) node.addValue(std::to_wstring(card->getIndex()));
}

void Anordnung::loadState(Orvex::XMLNode const& node, RunningGameLoad& load) {
    std::vector<Karte*> const held = cards;
    for (auto card = held.rbegin(); card != held.rend(); ++card) removeCard(*card);
    for (Karte* card : held) {
        load.released.emplace_back(card, this);  // in order, should no list take it
        load.holder.erase(card);
    }
    for (Orvex::u32 i = 0; i < node.getValueCount(); ++i) {
        std::wstring const& text = node.getValue(i)->getString();
        int index = -1;
        if (!parseStateIndex(text, index)) {
            load.problems.add(L"card " + Orvex::quotedPiece(text) + L" in \"" + getName() + L"\" is not an index", node.getLine());
            continue;
        }
        auto const known = load.cardsByIndex.find(index);
        if (known == load.cardsByIndex.end()) {
            load.problems.add(L"card " + text + L" in \"" + getName() + L"\" is not in this game", node.getLine());
            continue;
        }
        Karte* const card = known->second;
        auto const held = load.holder.find(card);
        if (held != load.holder.end() && held->second == this) {
            load.problems.add(L"card " + text + L" is listed twice in \"" + getName() + L"\"", node.getLine());
            continue;
        }
        if (maxCards >= 0 && static_cast<int>(cards.size()) >= maxCards) {
            load.problems.add(L"\"" + getName() + L"\" holds no more than " + std::to_wstring(maxCards) + L" cards", node.getLine());
            continue;
        }
        if (held != load.holder.end()) held->second->removeCard(card);
        insertCard(*this, card);
        load.holder[card] = this;
    }
}

}  // namespace Solitaire
