// Running-game save and resume of a dealt two-deck spider (104 cards): the node written and saved
// to disk as the quick save does, and the file read back and loaded into the game.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/BenchCardTable.h"
#include "engine/core/XMLNode.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "port/win32/win32_paths.h"

namespace {

Solitaire::Kartenmanager& dealtSpider() {
    Solitaire::Kartenmanager& manager = benchCardTable();
    manager.createDiscardPile();
    manager.loadGameDefinitionFile(L"data\\Level\\Spinne.sol");
    for (int i = 0; i < 104; ++i) {
        auto* card = new Solitaire::Karte(12 - i % 13, i % 4, 1, i);
        card->setFaceUp(i % 3 == 0, 0.0f, 0.0f);
        manager.addCard(card);
        manager.piles[static_cast<std::size_t>(i) % manager.piles.size()]->addCard(card, nullptr, true, false);
    }
    manager.saveUndoState();
    return manager;
}

std::wstring saveFile() {
    std::filesystem::path const path = std::filesystem::temp_directory_path() / "bench_running_game.prf";
    return port::windowsPath(path.string());
}

void BM_SaveRunningGameToDisk(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = dealtSpider();
    std::wstring const file = saveFile();
    for (auto _ : state) {
        Orvex::XMLNode node(L"QUICK_SAVE");
        manager.saveRunningGame(node);
        benchmark::DoNotOptimize(node.save(file, true));
    }
    state.SetLabel(std::to_string(manager.cards.size()) + " cards");
}
BENCHMARK(BM_SaveRunningGameToDisk)->Unit(benchmark::kMicrosecond);

void BM_LoadRunningGameFromDisk(benchmark::State& state) {
    Solitaire::Kartenmanager& manager = dealtSpider();
    std::wstring const file = saveFile();
    {
        Orvex::XMLNode node(L"QUICK_SAVE");
        manager.saveRunningGame(node);
        node.save(file, true);
    }
    for (auto _ : state) {
        Orvex::XMLNode node;
        node.load(file, 1);
        manager.loadRunningGame(node, file);
    }
    state.SetLabel(std::to_string(manager.cards.size()) + " cards");
}
BENCHMARK(BM_LoadRunningGameFromDisk)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return runCardBenchmarks(argc, argv); }
