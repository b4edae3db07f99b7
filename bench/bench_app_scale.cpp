// Start-up work that grows with the data: the campaign tables of every profile against a
// campaign of C chapters (one level each) for C profiles, and the catalogue when its
// "TEXT_FILE" entries name the same text file M times (each file is read once).
// Counters: "chapters", "profiles", "mentions".
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchCardTable.h"
#include "engine/core/XMLNode.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireManager.h"

namespace {

// A catalogue whose campaign has `chapters` chapters of one level each.
void loadCampaign(Solitaire::SolitaireManager& catalogue, int chapters) {
    std::wstring text = L"<L><KATEGORIE NAME=\"KAMPAGNE\">";
    for (int i = 0; i < chapters; ++i)
        text += L"<GAME NAME=\"KAPITEL_" + std::to_wstring(i) +
                L"\"><VARIANTE NAME=\"L0\" FILE=\"data\\Level\\Spinne.sol\"/></GAME>";
    text += L"</KATEGORIE></L>";
    Orvex::XMLNode tree;
    tree.loadFromText(text, L"bench campaign");
    catalogue.clear();
    catalogue.loadCatalogue(tree, L"bench campaign");
}

void campaignTables(benchmark::State& state) {
    benchCardTable();
    int const count = static_cast<int>(state.range(0));
    Solitaire::SolitaireManager& catalogue = Solitaire::SolitaireManager::instance();
    loadCampaign(catalogue, count);
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    for (auto _ : state) {
        state.PauseTiming();
        profiles.clear();
        for (int p = 0; p < count; ++p) profiles.addProfile(new Solitaire::Profil(L"P" + std::to_wstring(p)));
        state.ResumeTiming();
        profiles.buildAllCampaignTables();
    }
    profiles.clear();
    catalogue.clear();
    state.counters["chapters"] = count;
    state.counters["profiles"] = count;
}
BENCHMARK(campaignTables)->Arg(128)->Arg(256)->Arg(1024)->Iterations(1)->Unit(benchmark::kMillisecond);

void catalogueTextMentions(benchmark::State& state) {
    benchCardTable();
    int const mentions = static_cast<int>(state.range(0));
    std::wstring text = L"<L>";
    for (int i = 0; i < mentions; ++i) text += L"<TEXT_FILE FILE=\"data\\texte.lng\"/>";
    text += L"</L>";
    Orvex::XMLNode tree;
    tree.loadFromText(text, L"bench catalogue");
    Solitaire::SolitaireManager catalogue;
    for (auto _ : state) {
        catalogue.clear();
        catalogue.loadCatalogue(tree, L"bench catalogue");
    }
    state.counters["mentions"] = mentions;
}
BENCHMARK(catalogueTextMentions)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runCardBenchmarks(argc, argv); }
