// The profile file and the catalogue: loading and saving a profile file of 8 profiles, each with
// data for 50 variants (the quick save of a dealt 104-card spider and statistics per variant)
// beside 5 highscores per variant, loading a damaged profile file of 256 MB (kept aside, the
// profile read written anew; the process's peak resident memory reported), and loading the
// shipped catalogue.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "bench/BenchCardTable.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikManager.h"
#include "port/win32/win32_paths.h"

namespace {

constexpr int kProfiles = 8;
constexpr int kVariants = 50;
constexpr int kHighscores = 5;
// The damaged file: one profile, then blanks up to this size, never closed.
constexpr std::size_t kDamagedBytes = std::size_t{256} << 20;

// A catalogue of 50 spider variants and a profile list whose every profile holds a quick save and
// statistics for each; the file written once.
std::wstring preparedFile() {
    static std::wstring const file = [] {
        Solitaire::Kartenmanager& manager = benchCardTable();
        std::wstring text = L"<L><KATEGORIE NAME=\"BENCH\"><GAME NAME=\"SPINNE\">";
        for (int i = 0; i < kVariants; ++i)
            text += L"<VARIANTE NAME=\"V" + std::to_wstring(i) + L"\" FILE=\"data\\Level\\Spinne.sol\"/>";
        text += L"</GAME></KATEGORIE></L>";
        Orvex::XMLNode tree;
        tree.loadFromText(text, L"bench catalogue");
        Solitaire::SolitaireManager& catalogue = Solitaire::SolitaireManager::instance();
        catalogue.loadCatalogue(tree, L"bench catalogue");

        manager.createDiscardPile();
        manager.loadGameDefinitionFile(L"data\\Level\\Spinne.sol");
        for (int i = 0; i < 104; ++i) {
            auto* card = new Solitaire::Karte(12 - i % 13, i % 4, 1, i);
            card->setFaceUp(i % 3 == 0, 0.0f, 0.0f);
            manager.addCard(card);
            manager.piles[static_cast<std::size_t>(i) % manager.piles.size()]->addCard(card, nullptr, true, false);
        }
        manager.saveUndoState();
        Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
        for (int p = 0; p < kProfiles; ++p) {
            auto* profile = new Solitaire::Profil(L"Spieler " + std::to_wstring(p));
            profiles.addProfile(profile);
            for (Solitaire::SolVariant* variant : catalogue.collectVariants()) {
                // A save writes into the node it is given: each profile's is its own.
                variant->getQuickSave().clear();
                variant->getQuickSave().setName(L"QUICK_SAVE");
                manager.saveRunningGame(variant->getQuickSave());
                auto* statistik = new Solitaire::Statistik(L"VAR_STATS");
                statistik->addMoved(static_cast<Orvex::u32>(p * 100 + 7));
                statistik->addTime(3600.5);
                variant->setStatistik(statistik);
                statistik->release();
            }
            profile->collectLiveData();
            profile->buildCampaignTable();
        }
        for (Solitaire::SolVariant* variant : catalogue.collectVariants()) {
            catalogue.setCurrentByNames(L"BENCH", L"SPINNE", variant->getName());
            catalogue.startVariant();
            for (int h = 0; h < kHighscores; ++h) {
                manager.setScore(static_cast<float>(1000 * h + 17), manager.getScoreMinus());
                catalogue.addHighscore(profiles.getActiveProfile()->getName());
            }
            catalogue.finishStatistics(true);
        }
        std::filesystem::path const path = std::filesystem::temp_directory_path() / "bench_profile.prf";
        profiles.setFilePath(port::windowsPath(path.string()));
        profiles.saveProfiles();
        return port::windowsPath(path.string());
    }();
    return file;
}

void BM_LoadProfileFile(benchmark::State& state) {
    preparedFile();
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    for (auto _ : state) benchmark::DoNotOptimize(profiles.loadProfiles());
    for (int i = 0; i < profiles.getProfileCount(); ++i)
        if (profiles.getProfile(i)->leftOutOnRead()) state.SkipWithError("the profiles were not read whole");
    state.SetLabel(std::to_string(profiles.getProfileCount()) + " profiles, " +
                   std::to_string(std::filesystem::file_size(port::hostPath(preparedFile())) / 1024) + " KB");
}
BENCHMARK(BM_LoadProfileFile)->Unit(benchmark::kMillisecond);

void BM_SaveProfileFile(benchmark::State& state) {
    preparedFile();
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    profiles.loadProfiles();
    for (auto _ : state) benchmark::DoNotOptimize(profiles.saveProfiles());
}
BENCHMARK(BM_SaveProfileFile)->Unit(benchmark::kMillisecond);

// Run alone (--benchmark_filter=Damaged) for the peak to be this load's.
void BM_LoadDamagedProfileFile(benchmark::State& state) {
    std::filesystem::path const folder = std::filesystem::temp_directory_path() / "bench_damaged_profile";
    std::filesystem::path const file = folder / "profile.prf";
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    profiles.setFilePath(port::windowsPath(file.string()));
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        {
            std::ofstream out(file, std::ios::binary);
            std::string const head = "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\">";
            std::string const blanks(std::size_t{1} << 20, ' ');
            out << head;
            for (std::size_t size = head.size(); size < kDamagedBytes;) {
                std::size_t const block = std::min(blanks.size(), kDamagedBytes - size);
                out.write(blanks.data(), static_cast<std::streamsize>(block));
                size += block;
            }
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(profiles.loadProfiles());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.SetLabel(std::to_string(profiles.getProfileCount()) + " profile read");
    profiles.clear();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadDamagedProfileFile)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LoadShippedCatalogue(benchmark::State& state) {
    benchCardTable();
    Solitaire::SolitaireManager catalogue;
    for (auto _ : state) {
        catalogue.clear();
        benchmark::DoNotOptimize(catalogue.loadCatalogueFile());
    }
    // Each preview texture made reads its file's header: one for each file named.
    std::set<Orvex::Texture2D const*> previews;
    for (Solitaire::SolVariant const* variant : catalogue.collectVariants()) previews.insert(variant->getPreview());
    state.counters["preview_textures"] = static_cast<double>(previews.size());
    state.SetLabel(std::to_string(catalogue.collectVariants().size()) + " variants");
}
BENCHMARK(BM_LoadShippedCatalogue)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    int const result = runCardBenchmarks(argc, argv);
    Solitaire::ProfilManager::instance().clear();
    Solitaire::SolitaireManager::instance().clear();
    return result;
}
