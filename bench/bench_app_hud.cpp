// One in-game frame of the game object at 1920x1080 as the main loop runs it: the game object
// built on the game's own data, a campaign level of Spinne dealt (two decks, 104 cards) under the
// full HUD (the strip with score, multiplier, the level's name, time and balance; the panel with
// the chapter, the three goals, the hint, shop and help buttons and four gods; the end-game
// button), then per frame the game's update (GUI, menus, table, particles, tip timer, HUD labels
// and goals panel) and its draw (table, GUI with the HUD, pointer; present). CPU time per frame is
// the calling thread's; each frame ends with a 1x1 read-back so its GL work is done inside it.
// Counters per frame: "cards", "windows" (every window of the GUI).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/FlySpline.h"
#include "game/cards/Kartenmanager.h"
#include "port/win32/win32_paths.h"

namespace {

using namespace Solitaire;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr double kStep = 1.0 / 60.0;

struct Scene {
    SolitaireGame2* game = nullptr;
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* copy = nullptr;

    bool init() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
        std::filesystem::path const repo(ORVEX_SOURCE_DIR);
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(repo.string()));
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath((repo / "data").string()));
        Orvex::Effect::useCompiledCache = 0;
        Orvex::Effect::writeCompiledCache = 0;
        Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
        auto* globals = new MyGlobals();  // the engine's from here on
        engine->setUserGlobals(globals);
        Orvex::D3DInitParams& params = Orvex::D3DInterface::getInstance().getInitParams();
        params.displayMode = D3DDISPLAYMODE{kWidth, kHeight, 60, D3DFMT_X8R8G8B8};
        params.setWindowed(true);
        Orvex::DirectInputInterface::getInstance().getInitParams().useWinApi = 1;
        if (!engine->init()) return false;
        globals->loadFrames();
        game = new SolitaireGame2();
        // The game saves the profiles when it goes: into a file of the bench's own.
        ProfilManager::instance().setFilePath(port::windowsPath(profileFile().string()));
        return game->isFullyConstructed() && startLevel() && makeReadBack();
    }

    // The game and the engine taken down in order (main does it once the benchmarks have run).
    void shutdown() {
        for (IDirect3DSurface9* s : {backBuffer, target, copy})
            if (s) s->Release();
        delete game;
        game = nullptr;
        Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
        Orvex::GUIMenuManagerN::instance().clear();
        Orvex::GUISystem::instance().clear();
        Orvex::TutorialManager::instance().clear();
        Orvex::Texture2DAnimationManager::instance().releaseAnimations();
        FlySpline::clearList();
        engine->shutdown();
        engine->setUserGlobals(nullptr);
        std::filesystem::remove(profileFile());
    }

    static std::filesystem::path profileFile() { return std::filesystem::temp_directory_path() / "bench_app_hud.prf"; }

    // Chapter 2, level 3: Spinne with its goals, the four gods unlocked and half charged.
    bool startLevel() {
        auto* profile = new Profil(L"Bench");
        profile->buildCampaignTable(SolitaireManager::instance());
        for (int god = 0; god < 4; ++god) {
            profile->addUnlock(L"GOD" + std::to_wstring(god), false);
            profile->setGodPercent(god, 0.5f);
        }
        ProfilManager::instance().addProfile(profile);
        ProfilManager::instance().setActiveProfile(profile);
        SolitaireManager& catalogue = SolitaireManager::instance();
        if (!catalogue.setCurrentByNames(L"KAMPAGNE", L"KAPITEL_1", L"LEVEL_2") || !catalogue.startVariant()) return false;
        game->getRunning().setLevel(true, 1, 2);
        for (wchar_t const* shown : {L"I_STORY", L"I_END_GAME"}) SolitaireGame2::findWindow(shown)->jumpToGoal(L"AN");
        SolitaireGame2::findWindow(L"I_FREIESSPIEL")->jumpToGoal(L"AUS");
        SolitaireGame2::findWindow(L"I_HG")->jumpToGoal(L"ST");
        Orvex::GUIMenuManagerN::instance().activateMenu(L"INGAMEMENU", -1.0);
        Kartenmanager::instance().startGame(game->getCamera(), L"1", false, {}, {}, 40000.0f);
        game->getHud().restartTipTimer();
        game->getPowersAndShop().refreshGodBars();
        for (int i = 0; i < 300; ++i) frame();
        return Kartenmanager::instance().cards.size() == 104;
    }

    bool makeReadBack() {
        IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
        device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
        device->CreateRenderTarget(1, 1, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &target, nullptr);
        device->CreateOffscreenPlainSurface(1, 1, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr);
        return backBuffer && target && copy;
    }

    // The main loop's frame: the timer, the update, the draw (which presents); then the read-back.
    void frame() {
        Orvex::PerfTimer::frameTimer().advance(kStep);
        game->update();
        game->draw();
        if (!copy) return;
        IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
        RECT corner{0, 0, 1, 1};
        device->StretchRect(backBuffer, &corner, target, nullptr, D3DTEXF_NONE);
        device->GetRenderTargetData(target, copy);
    }
};

Scene g_scene;
bool g_sceneTried = false;
bool g_sceneReady = false;

void hudFrame(benchmark::State& state) {
    if (!g_sceneTried) g_sceneReady = g_scene.init(), g_sceneTried = true;
    if (!g_sceneReady) {
        state.SkipWithError("no device or game data");
        return;
    }
    Scene* scene = &g_scene;
    for (auto _ : state) scene->frame();
    std::vector<Orvex::GUIWindow*> windows;
    Orvex::GUISystem::instance().collectAllWindows(windows);
    state.counters["cards"] = static_cast<double>(Kartenmanager::instance().cards.size());
    state.counters["windows"] = static_cast<double>(windows.size());
}

}  // namespace

BENCHMARK(hudFrame)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_sceneTried) g_scene.shutdown();
    return 0;
}
