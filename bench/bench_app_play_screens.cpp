// Building the game's heaviest list screens on the game's own data, on a game object made once:
// the level screen of the campaign's chapter of 13 levels (copies of the template with their
// children, two pages), the free-play columns entered (the category column, then the first
// category's games and the first game's variants), and the highscore list of a variant with 10 and
// 100 entries (the most a profile file gives one). Time per entry is the time divided by the
// entries built (items per second reads as entries per second); the aim is one frame (16.7 ms)
// for the whole screen.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/core/XMLNode.h"
#include "game/app/FreePlaySelection.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "tests/game/app/GameOnData.h"

namespace {

using Solitaire::SolitaireManager;

Solitaire::SolitaireGame2* screens(benchmark::State&) { return &apptest::gameOnData(ORVEX_SOURCE_DIR, 1024, 768); }

// A profile with every level of the campaign open, active.
void openCampaign() {
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    if (profiles.getActiveProfile()) return;
    auto* profile = new Solitaire::Profil(L"Bench");
    profile->buildCampaignTable();
    for (Solitaire::ChapterRecord& chapter : profile->getCampaign()) {
        chapter.result = 1;
        for (Solitaire::LevelRecord& level : chapter.levels) level.result = 2 + level.level % 3;
    }
    profiles.addProfile(profile);
    profiles.setActiveProfile(profile);
}

void BM_LevelScreen(benchmark::State& state) {
    Solitaire::SolitaireGame2* game = screens(state);
    if (!game) return;
    openCampaign();
    Solitaire::Profil* profile = Solitaire::ProfilManager::instance().getActiveProfile();
    Orvex::GUIWindow* chapter = Solitaire::SolitaireGame2::findWindow(L"K_KategorieButton2");
    if (!chapter) return state.SkipWithError("no chapter button");
    game->getCampaignScreens().onChapterClicked(*chapter);
    std::size_t const levels = profile->findChapter(1)->levels.size();
    for (auto _ : state) game->buildLevelScreen();
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * levels));
    state.counters["levels"] = static_cast<double>(levels);
}
BENCHMARK(BM_LevelScreen)->Unit(benchmark::kMicrosecond);

void BM_FreePlayPanels(benchmark::State& state) {
    Solitaire::SolitaireGame2* game = screens(state);
    if (!game) return;
    SolitaireManager& catalogue = SolitaireManager::instance();
    Solitaire::FreePlaySelection& freePlay = game->getFreePlay();
    std::size_t buttons = 0;
    for (auto _ : state) {
        catalogue.clear();
        catalogue.loadCatalogueFile();
        freePlay.selectFirstEntries();
        buttons = freePlay.getCategoryButtons().size() + freePlay.getGameButtons().size() +
                  freePlay.getVariantButtons().size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * buttons));
    state.counters["buttons"] = static_cast<double>(buttons);
}
BENCHMARK(BM_FreePlayPanels)->Unit(benchmark::kMicrosecond);

// Without the catalogue's reading: the three columns rebuilt from the loaded catalogue.
void BM_FreePlayColumns(benchmark::State& state) {
    Solitaire::SolitaireGame2* game = screens(state);
    if (!game) return;
    Solitaire::FreePlaySelection& freePlay = game->getFreePlay();
    std::size_t buttons = 0;
    for (auto _ : state) {
        freePlay.buildCategoryPanel();
        freePlay.selectFirstEntries();
        buttons = freePlay.getCategoryButtons().size() + freePlay.getGameButtons().size() +
                  freePlay.getVariantButtons().size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * buttons));
    state.counters["buttons"] = static_cast<double>(buttons);
}
BENCHMARK(BM_FreePlayColumns)->Unit(benchmark::kMicrosecond);

void BM_HighscoreList(benchmark::State& state) {
    Solitaire::SolitaireGame2* game = screens(state);
    if (!game) return;
    SolitaireManager& catalogue = SolitaireManager::instance();
    if (!catalogue.setCurrentByNames(L"KLASSIKER", L"GOLDRAUSCH", L"GOLDRAUSCH")) return state.SkipWithError("no variant");
    auto& list = catalogue.getCurrentVariant()->getHighscores();
    for (Solitaire::HighscoreEintrag* entry : list) entry->release();
    list.clear();
    for (int64_t i = 0; i < state.range(0); ++i) {
        Orvex::XMLNode node(L"HIGHSCORE");
        node.setAttribute(L"NAME", L"Spieler " + std::to_wstring(i));
        node.setAttribute(L"GAME_NAME", std::to_wstring(1000 + i));
        node.setAttribute(L"SCORE", std::to_wstring(100000 - i));
        node.setAttribute(L"DATE", L"14 5 3 7 2024");
        Orvex::XMLNode* stats = node.addChild(L"STATISTIK");
        stats->setAttribute(L"WON", i % 2 ? L"1" : L"0");
        stats->setAttribute(L"TIME", L"321.5");
        list.push_back(new Solitaire::HighscoreEintrag(node));
    }
    for (auto _ : state) game->getResults().refreshHighscoreList();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    for (Solitaire::HighscoreEintrag* entry : list) entry->release();
    list.clear();
}
BENCHMARK(BM_HighscoreList)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
