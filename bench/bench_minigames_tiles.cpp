// The tile mini-games' busiest frames at 1920x1080, each game the largest its limits allow, shown
// on the shipped screens and templates (data\GUI\Minispiel.gui, data\Games\Minispiele.gui,
// data\GUI\Minispiele_tiles.gui, their animations) with the help closed. A frame is what the game
// does: the GUI and the manager update, the GUI draws (the games draw from their fields), a 1x1
// read-back ends it. cpuMsPerFrame is the calling thread's CPU time.
// - turningTiles: a picture in 32 x 32 tiles, every tile turning all the time.
// - buildingDrag: 64 pieces of 2 x 2 cells with pictures on an 8 x 8 board, one dragged by the
//   input object's moves every frame.
// - memoryCards: 64 pairs in 16 columns, the cards' pictures drawn.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchGuiScene.h"
#include "bench/BenchMinigames.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/Bauen.h"
#include "game/minigames/Drehbild.h"
#include "game/minigames/Memory.h"
#include "game/minigames/MinispielManager.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Orvex;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr double kStep = 1.0 / 60.0;
constexpr int kTileSide = Solitaire::Drehbild::kMaxSide;
constexpr int kPieces = static_cast<int>(Solitaire::Bauen::kMaxPieces);
constexpr int kPairs = static_cast<int>(Solitaire::Memory::kMaxPairs);

std::wstring definitions() {
    std::wstring text = L"<MINISPIELE>";
    text += L"<MINISPIEL TYPE=\"DREHBILD\" NAME=\"D\" ANIMATION=\"TILES_DREHBILD_LANDSCHAFT\" SIZE=\"" +
            std::to_wstring(kTileSide) + L"\"/>";
    text += L"<MINISPIEL TYPE=\"BAUEN\" NAME=\"B\" SIZE=\"8\" BACKGROUND=\"TILES_BAUEN_HG\">";
    for (int i = 0; i < kPieces; ++i)
        text += L"<OBJEKT SIZE=\"2\" WERTE=\"15 3 12 15\" ANIMATION=\"TILES_BAUEN_VOLL\"/>";
    text += L"</MINISPIEL><MINISPIEL TYPE=\"MEMORY\" NAME=\"M\" SPALTEN=\"16\">";
    for (int i = 0; i < kPairs; ++i)
        text += L"<MEMORY_TEIL ANIMATION=\"TILES_MEMORY_SONNE\" ANIMATION_2=\"TILES_MEMORY_STERN\" "
                L"ANIMATION_BACK=\"TILES_MEMORY_RUECKSEITE\"/>";
    return text + L"</MINISPIEL></MINISPIELE>";
}

struct Scene {
    Effect* effect = nullptr;
    bench::CountingSprite* sprite = nullptr;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    bool init() {
        if (!bench::setUpGuiDrawing(kWidth, kHeight, effect, sprite)) return false;
        GUISystem& gui = GUISystem::instance();
        bench::loadMinigameFiles({L"data\\Games\\Minispiele.gui", L"data\\GUI\\Minispiele_tiles.gui"}, {L"data\\Games\\minigames.ani", L"data\\Games\\tiles.ani"});
        Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
        XMLNode tree;
        tree.loadFromText(definitions(), L"bench.min");
        manager.loadDefinitions(tree, L"bench.min");
        manager.initGUI();
        gui.findWindow(L"MINISPIEL_SCREEN")->jumpToGoal(L"AN");
        finishFrame = new testsupport::FrameFinish(D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }

    // The game of that name active, its window shown, the help closed.
    Solitaire::Minispiel* activate(wchar_t const* name) {
        Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
        Solitaire::Minispiel* game = manager.findMinispiel(name);
        if (!game) return nullptr;
        manager.setActiveMinispiel(game);
        manager.showHelp(false, 0.0f);
        for (int i = 0; i < 60; ++i) frame();
        return game;
    }

    void frame() {
        GUISystem& gui = GUISystem::instance();
        IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
        gui.update(kStep);
        Solitaire::MinispielManager::instance().update(kStep);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        gui.draw();
        device->EndScene();
        (*finishFrame)();
    }
};

// Times each frame (with what the game does before it) on the thread's CPU clock.
template <class BeforeFrame>
void runFrames(benchmark::State& state, Scene& scene, BeforeFrame before) {
    double cpu = 0.0;
    for (auto _ : state) {
        double const start = bench::threadSeconds();
        before();
        scene.frame();
        cpu += bench::threadSeconds() - start;
    }
    double const frames = static_cast<double>(state.iterations());
    state.counters["cpuMsPerFrame"] = frames > 0 ? 1000.0 * cpu / frames : 0.0;
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
}

void turningTiles(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    auto* game = dynamic_cast<Solitaire::Drehbild*>(scene->activate(L"D"));
    if (!game) return state.SkipWithError("no turning-tiles game");
    runFrames(state, *scene, [&] {
        for (auto const& tile : game->getTiles())
            if (tile->rotation.t >= 1.0f) tile->turn(1.0f);
    });
    state.counters["tiles"] = static_cast<double>(game->getTiles().size());
}

void buildingDrag(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    auto* game = dynamic_cast<Solitaire::Bauen*>(scene->activate(L"B"));
    if (!game || !game->getField()) return state.SkipWithError("no building game");
    DirectInputInterface& input = DirectInputInterface::getInstance();
    SpriteRect const box = game->getBoxRect(*game->getPieces().back());
    MouseState mouse;
    mouse.x = box.x + box.w * 0.25f;
    mouse.y = box.y + box.h * 0.1f;
    mouse.setButtonDown(OMB_LEFT, true);
    input.mouseButtonDownSignal.emit(mouse, OMB_LEFT);
    if (!game->getDragged()) return state.SkipWithError("no piece taken");
    int step = 0;
    runFrames(state, *scene, [&] {
        // Back and forth over the field.
        mouse.x += (step++ / 120) % 2 ? -4.0f : 4.0f;
        mouse.y += (step / 60) % 2 ? -2.0f : 2.0f;
        input.mouseAxisSignal.emit(mouse, OA_MOUSE_X);
    });
    mouse.setButtonDown(OMB_LEFT, false);
    input.mouseButtonUpSignal.emit(mouse, OMB_LEFT);
    state.counters["pieces"] = kPieces;
}

void memoryCards(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    auto* game = dynamic_cast<Solitaire::Memory*>(scene->activate(L"M"));
    if (!game) return state.SkipWithError("no memory game");
    runFrames(state, *scene, [] {});
    state.counters["cards"] = static_cast<double>(game->getCards().size());
}

}  // namespace

BENCHMARK(turningTiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(buildingDrag)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(memoryCards)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
