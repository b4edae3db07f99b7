// Entering the achievement, profile and help screens on the game's own data at 1024 x 768:
// filling the achievement list with every shipped achievement (medal pictures, texts, tooltips,
// the cup bar), building the profile list of eight profiles, and leafing through the whole help
// book. Each is what a screen's entry does once, so the aim is well within one frame (16.7 ms).
// Needs a display driver: SDL_VIDEODRIVER=offscreen.
#include <benchmark/benchmark.h>

#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/cards/AchivementManager.h"
#include "tests/game/app/GameOnData.h"

namespace {

Solitaire::SolitaireGame2& game() { return apptest::gameOnData(ORVEX_SOURCE_DIR, 1024, 768); }

void BM_EnterAchievementList(benchmark::State& state) {
    Solitaire::SolitaireGame2& g = game();
    // Medals and progress on every entry, so every step of an entry runs.
    float value = 1.0f;
    for (Solitaire::Achivement* achievement : Solitaire::AchivementManager::instance().getAll())
        achievement->setValue(value *= 1.7f);
    for (auto _ : state) g.getAchievementScreen().build();
    state.counters["achievements"] = static_cast<double>(Solitaire::AchivementManager::instance().getAll().size());
}
BENCHMARK(BM_EnterAchievementList)->Unit(benchmark::kMillisecond);

void BM_BuildProfileList(benchmark::State& state) {
    Solitaire::SolitaireGame2& g = game();
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    while (profiles.getProfileCount() < Solitaire::MyGlobals::kMaxProfiles)
        profiles.addProfile(new Solitaire::Profil(L"Spieler " + std::to_wstring(profiles.getProfileCount() + 1)));
    for (auto _ : state) g.getProfileList().build();
}
BENCHMARK(BM_BuildProfileList)->Unit(benchmark::kMillisecond);

void BM_LeafHelpBook(benchmark::State& state) {
    Solitaire::SolitaireGame2& g = game();
    int pages = 0;
    for (auto _ : state) {
        int page = 0, sub = 0;
        pages = 1;
        g.getHelp().showHelpPage(page, sub);
        while (page != -1) {
            g.getHelp().stepHelpPage(page, sub, true);
            g.getHelp().showHelpPage(page, sub);
            ++pages;
        }
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LeafHelpBook)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
