// Running-game save and resume of a dealt two-deck spider (104 cards): the node written and saved
// to disk as the quick save does, and the file read back and loaded into the game.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenset.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/StyleSettings.h"
#include "port/win32/win32_paths.h"

namespace {

Solitaire::Kartenmanager& dealtSpider() {
    static bool const ready = [] {
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        auto* cardSet = new Solitaire::Kartenset(L"BENCH_SAVE");
        cardSet->cellSize = D3DXVECTOR2(100.0f, 140.0f);
        Solitaire::StyleSettings::instance().addKartenset(cardSet);
        Solitaire::StyleSettings::instance().setKartenset(cardSet);
        cardSet->release();
        return true;
    }();
    (void)ready;
    Solitaire::Kartenmanager& manager = Solitaire::Kartenmanager::instance();
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

int main(int argc, char** argv) {
    Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Solitaire::Kartenmanager::instance().createDiscardPile();
    return 0;
}
