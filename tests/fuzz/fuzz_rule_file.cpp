// Fuzzes the variant file reader: the input read as a game definition into the card manager
// (includes, templates, piles, arrangements, wishes, places), then a deck laid onto the piles
// and every pile laid out with a card set's cell and a style's step, as the game lays it out, so
// the layout runs on whatever the reader accepted; every pile's and card's place and size (its
// scale, its quad as drawn, the pile's bounds) stay finite. The input is cut into files as
// FuzzSupport.h describes: its first piece is "part0", which the others (and it itself) may
// include under any spelling.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/render/SpriteRect.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// A card's or pile's size and place as drawn.
bool finiteQuad(Orvex::SpriteRect const& quad) {
    return std::isfinite(quad.x) && std::isfinite(quad.y) && std::isfinite(quad.w) && std::isfinite(quad.h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    std::size_t const first = fuzz::serveParts(data, size);
    Orvex::XMLNode root;
    if (!fuzz::readTree(data, first, root)) return 0;
    Solitaire::Kartenmanager& manager = Solitaire::Kartenmanager::instance();
    manager.createDiscardPile();
    manager.loadGameDefinition(root, L"part0");
    if (manager.piles.size() > static_cast<std::size_t>(Solitaire::Kartenmanager::kMaxPiles)) std::abort();
    if (!manager.piles.empty()) {
        for (int i = 0; i < 52; ++i) {
            auto* card = new Solitaire::Karte(i % 13, i / 13, 1, i);
            manager.addCard(card);
            manager.piles[static_cast<std::size_t>(i) % manager.piles.size()]->addCard(card, nullptr, true, true);
        }
        // The game lays piles out with a card set's cell and a style's step; without them every
        // product with a cell is 0 and hides what the numbers do.
        static Solitaire::Kartenset* const cardSet = [] {
            auto* set = new Solitaire::Kartenset(L"fuzz");
            set->cellSize = {Solitaire::Kartenset::kDefaultCellWidth, Solitaire::Kartenset::kDefaultCellHeight};
            return set;
        }();
        static Solitaire::Style* const style = new Solitaire::Style(L"fuzz");
        for (Solitaire::Kartenstapel* pile : manager.piles) {
            pile->onStyleChanged(style);
            pile->onKartensetChanged(cardSet);
        }
        // The pile positions give their piles a scale (no camera here: no place).
        manager.applyScreenPilePositions();
        for (Solitaire::Kartenstapel* pile : manager.piles) {
            if (!std::isfinite(pile->position.x) || !std::isfinite(pile->position.y)) std::abort();
            if (!finiteQuad(pile->getScreenQuad())) std::abort();
            Orvex::FRect bounds;
            pile->getBounds(bounds, false);
            if (!std::isfinite(bounds.left) || !std::isfinite(bounds.top) || !std::isfinite(bounds.right) ||
                !std::isfinite(bounds.bottom))
                std::abort();
        }
        for (Solitaire::Karte* card : manager.cards) {
            if (!std::isfinite(card->position.goal.x) || !std::isfinite(card->position.goal.y)) std::abort();
            if (!std::isfinite(card->scale.goal) || !finiteQuad(card->getScreenQuad())) std::abort();
        }
        manager.saveUndoState();
    }
    manager.createDiscardPile();
    return 0;
}
