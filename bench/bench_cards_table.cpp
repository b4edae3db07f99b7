// Card table speed: reading the spider's variant file (with its template include), laying out
// every pile of a dealt spider table (104 cards), one undo save of the whole table, which
// every move pays, and rebuilding the hint list of that table, which every resolved move pays.
#include <benchmark/benchmark.h>

#include "bench/BenchCardTable.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"

namespace {

wchar_t const* const kSpider = L"data\\Level\\Spinne.sol";

Solitaire::Kartenmanager& table() { return benchCardTable(); }

// The spider read and its 104 cards dealt round the piles.
Solitaire::Kartenmanager& dealtSpider() {
    Solitaire::Kartenmanager& manager = table();
    manager.createDiscardPile();
    manager.loadGameDefinitionFile(kSpider);
    for (int i = 0; i < 104; ++i) {
        auto* card = new Solitaire::Karte(12 - i % 13, 2, 1, i);
        card->setFaceUp(i % 3 == 0, 0.0f, 0.0f);
        manager.addCard(card);
        manager.piles[static_cast<std::size_t>(i) % manager.piles.size()]->addCard(card, nullptr, true, false);
    }
    return manager;
}

void BM_ReadSpider(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = table();
    for (auto _ : state) {
        manager.createDiscardPile();
        manager.loadGameDefinitionFile(kSpider);
        benchmark::DoNotOptimize(manager.piles.data());
    }
    state.SetLabel(std::to_string(manager.piles.size()) + " piles");
}
BENCHMARK(BM_ReadSpider)->Unit(benchmark::kMicrosecond);

void BM_ArrangeAllPiles(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = dealtSpider();
    for (auto _ : state)
        for (Solitaire::Kartenstapel* pile : manager.piles) pile->arrange(0.0f);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(manager.cards.size()));
}
BENCHMARK(BM_ArrangeAllPiles)->Unit(benchmark::kMicrosecond);

void BM_SaveUndoStateWholeTable(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = dealtSpider();
    std::size_t saved = 0;
    for (auto _ : state) {
        manager.saveUndoState();
        // A game keeps a few hundred steps; drop them now and then outside the timing.
        if (++saved == 512) {
            state.PauseTiming();
            manager.discardFrom(0);
            for (Solitaire::Karte* card : manager.cards) card->discardFrom(0);
            for (Solitaire::Kartenstapel* pile : manager.piles) pile->discardFrom(0);
            saved = 0;
            state.ResumeTiming();
        }
    }
    state.SetLabel("104 cards, 12 piles");
}
BENCHMARK(BM_SaveUndoStateWholeTable)->Unit(benchmark::kMicrosecond);

// A spider game as the player starts it (seed "1", quick deal): ten columns, the stock, the
// goal pile.
void BM_RebuildHintsSpider(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = table();
    manager.createDiscardPile();
    manager.loadGameDefinitionFile(kSpider);
    manager.startGame(nullptr, L"1", true, {}, {}, 0.0f);
    int records = 0;
    for (auto _ : state) records = manager.rebuildHints();
    state.SetLabel(std::to_string(records) + " hints, " + std::to_string(manager.cards.size()) + " cards");
}
BENCHMARK(BM_RebuildHintsSpider)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return runCardBenchmarks(argc, argv); }
