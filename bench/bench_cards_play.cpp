// Play speed: a quick new Klondike-like game (reset, the definition read from a tree parsed once,
// seed, deck, deal, the first resolution and hint list, the first undo step), aiming at 10^4 a
// second; and one per-frame update of a dealt table.
#include <benchmark/benchmark.h>

#include "bench/BenchCardTable.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/InputState.h"
#include "game/cards/Kartenmanager.h"
#include "game/look/Kartenset.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"

namespace {

wchar_t const* const kKlondike = L"data\\Level\\Goldrausch.sol";

Solitaire::Kartenmanager& table() { return benchCardTable(); }

Orvex::XMLNode& klondikeTree() {
    static Orvex::XMLNode root = [] {
        Orvex::XMLNode node;
        node.load(kKlondike);
        return node;
    }();
    return root;
}

void BM_NewKlondikeGame(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = table();
    Solitaire::SolitaireCamera camera;
    Orvex::XMLNode& tree = klondikeTree();
    unsigned seed = 0;
    for (auto _ : state) {
        manager.createDiscardPile();
        manager.loadGameDefinition(tree, kKlondike);
        manager.startGame(&camera, std::to_wstring(++seed), true, {}, {}, 0.0f);
        benchmark::DoNotOptimize(manager.cards.data());
    }
    std::size_t const hints = manager.getHints().size();
    state.SetLabel(std::to_string(manager.cards.size()) + " cards, " + std::to_string(hints) + " hints");
    manager.setCamera(nullptr);
}
BENCHMARK(BM_NewKlondikeGame)->Unit(benchmark::kMicrosecond);

void BM_StartOnly(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = table();
    Solitaire::SolitaireCamera camera;
    Orvex::XMLNode& tree = klondikeTree();
    unsigned seed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        manager.createDiscardPile();
        manager.loadGameDefinition(tree, kKlondike);
        state.ResumeTiming();
        manager.startGame(&camera, std::to_wstring(++seed), true, {}, {}, 0.0f);
    }
    manager.setCamera(nullptr);
}
BENCHMARK(BM_StartOnly)->Unit(benchmark::kMicrosecond);

void BM_UpdateOneFrame(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = table();
    Solitaire::SolitaireCamera camera;
    manager.createDiscardPile();
    manager.loadGameDefinition(klondikeTree(), kKlondike);
    Orvex::u32 tick = 0;
    manager.setClock([&tick] { return tick; });
    manager.startGame(&camera, L"7", true, {}, {}, 0.0f);
    Orvex::MouseState mouse;
    for (auto _ : state) {
        tick += 16;  // the hover pass runs every seventh frame
        manager.update(1.0 / 60.0, 1.0 / 60.0, mouse);
    }
    manager.setClock({});
    manager.setCamera(nullptr);
}
BENCHMARK(BM_UpdateOneFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return runCardBenchmarks(argc, argv); }
