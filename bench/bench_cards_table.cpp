// Card table speed: reading the spider's variant file (with its template include), laying out
// every pile of a dealt spider table (104 cards), one undo save of the whole table, which
// every move pays, and rebuilding the hint list of that table, which every resolved move pays.
#include <benchmark/benchmark.h>

#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenset.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/StyleSettings.h"
#include "port/win32/win32_paths.h"

namespace {

wchar_t const* const kSpider = L"data\\Level\\Spinne.sol";

Solitaire::Kartenmanager& table() {
    static bool const ready = [] {
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        auto* cardSet = new Solitaire::Kartenset(L"BENCH");
        cardSet->cellSize = D3DXVECTOR2(100.0f, 140.0f);
        Solitaire::StyleSettings::instance().addKartenset(cardSet);
        Solitaire::StyleSettings::instance().setKartenset(cardSet);
        cardSet->release();
        return true;
    }();
    (void)ready;
    return Solitaire::Kartenmanager::instance();
}

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

int main(int argc, char** argv) {
    Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Solitaire::Kartenmanager::instance().createDiscardPile();
    return 0;
}
