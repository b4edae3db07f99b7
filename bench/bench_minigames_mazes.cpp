// The maze's and the labyrinth's costly moments.
// - mazeStart: a new maze of 64 x 64 rooms (every cell of the mask a room): groups merged at
//   random into a spanning tree, extra passages, distances, the goal. CPU time.
// - mazeFrame: one frame of that maze at 1920x1080 with every room, its side pictures and every
//   wall line drawn (draw mode -1), the GUI and the manager updated as the game does; built from
//   the shipped screens, templates and pictures without fonts. CPU time per frame is the calling
//   thread's; each frame ends with a 1x1 read-back.
// - labyrinthStart: a new 9 x 9 labyrinth: the deal, the entrances, and the random pushes while
//   the route from start to goal is open (the route search in the loop). CPU time.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchDevice.h"
#include "bench/BenchMinigames.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Sprite.h"
#include "game/minigames/Labyrinth.h"
#include "game/minigames/Maze.h"
#include "game/minigames/MinispielManager.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Orvex;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr int kMazeSide = 64;
constexpr int kLabyrinthSide = 9;
constexpr double kStep = 1.0 / 60.0;

std::wstring const kDefinitions =
    L"<MINISPIELE><MINISPIEL TYPE=\"MAZE\" NAME=\"M\" SIZE=\"64\" KREUZUNGEN=\"40\" BACKGROUND=\"MG_MAZE_HECKE\">"
    L"<RAUM EDGES=\"4\" DELTA=\"-45\" LENGTH=\"1.41421\"><ANIMATION BACKGROUND=\"MG_MAZE_BODEN\" "
    L"START=\"MG_MAZE_START\" ZIEL=\"MG_MAZE_ZIEL\" MARK=\"MG_MAZE_SPUR\">\"|MG_MAZE_WAND_0|\" \"|MG_MAZE_OFFEN_0|\" "
    L"\"|MG_MAZE_WAND_1|\" \"|MG_MAZE_OFFEN_1|\" \"|MG_MAZE_WAND_2|\" \"|MG_MAZE_OFFEN_2|\" \"|MG_MAZE_WAND_3|\" "
    L"\"|MG_MAZE_OFFEN_3|\"</ANIMATION></RAUM></MINISPIEL>"
    L"<MINISPIEL TYPE=\"LABYRINTH\" NAME=\"L\" SIZE=\"9\"><TILE OFFENE_SEITEN=\"1 0 1 0\" ANIMATION=\"MG_LAB_GERADE\"/>"
    L"<TILE OFFENE_SEITEN=\"1 1 0 0\" ANIMATION=\"MG_LAB_ECKE\" PROP=\"2\"/><TILE OFFENE_SEITEN=\"1 1 1 0\" "
    L"ANIMATION=\"MG_LAB_T\"/><EINGANG OFFENE_SEITEN=\"0 0 1 0\" ANIMATION=\"MG_LAB_EINGANG\"/>"
    L"<START ANIMATION=\"MG_LAB_START\"/><ZIEL ANIMATION=\"MG_LAB_ZIEL\"/></MINISPIEL></MINISPIELE>";

struct Scene {
    Sprite* sprite = nullptr;
    Solitaire::Maze* maze = nullptr;
    Solitaire::Labyrinth* labyrinth = nullptr;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    bool init() {
        sprite = bench::openMinigameScreens(kWidth, kHeight,
                                            {L"data\\Games\\Minispiele.gui", L"data\\Games\\Minispiele_mazes.gui"},
                                            {L"data\\Games\\minigames.ani", L"data\\Games\\mazes.ani"});
        if (!sprite) return false;
        GUISystem& gui = GUISystem::instance();
        Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
        XMLNode definitions;
        definitions.loadFromText(kDefinitions, L"bench.min");
        manager.loadDefinitions(definitions, L"bench.min");
        maze = dynamic_cast<Solitaire::Maze*>(manager.findMinispiel(L"M"));
        labyrinth = dynamic_cast<Solitaire::Labyrinth*>(manager.findMinispiel(L"L"));
        if (!maze || !labyrinth) return false;
        // Every cell a room: the start at the top left, the goal at the bottom right.
        std::vector<D3DXCOLOR> cells(kMazeSide * kMazeSide, D3DXCOLOR(0.5f, 0.0f, 0.0f, 1.0f));
        cells.front() = D3DXCOLOR(0.0f, 1.0f, 0.0f, 1.0f);
        cells.back() = D3DXCOLOR(0.0f, 0.0f, 1.0f, 1.0f);
        maze->buildRooms(kMazeSide, kMazeSide, cells);
        manager.initGUI();
        gui.findWindow(L"MINISPIEL_SCREEN")->jumpToGoal(L"AN");
        manager.setActiveMinispiel(maze);
        manager.showHelp(false, 0.0f);
        for (int i = 0; i < 60; ++i) gui.update(kStep);
        finishFrame = new testsupport::FrameFinish(D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }
};

void mazeStart(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    for (auto _ : state) scene->maze->start();
    state.counters["rooms"] = static_cast<double>(scene->maze->getRooms().size());
}

void mazeFrame(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    GUISystem& gui = GUISystem::instance();
    Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    auto step = [&] {
        gui.update(kStep);
        manager.update(kStep);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        gui.draw();
        device->EndScene();
        (*scene->finishFrame)();
    };
    step();  // shader compiles and first uses outside the timing
    for (auto _ : state) step();
    state.counters["rooms"] = static_cast<double>(scene->maze->getRooms().size());
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void labyrinthStart(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    if (!scene->labyrinth->hasBoard()) {
        state.SkipWithError("no board");
        return;
    }
    for (auto _ : state) scene->labyrinth->start();
    state.counters["tiles"] = kLabyrinthSide * kLabyrinthSide + 1;
}

}  // namespace

BENCHMARK(mazeStart)->Unit(benchmark::kMillisecond);
BENCHMARK(mazeFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(labyrinthStart)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
