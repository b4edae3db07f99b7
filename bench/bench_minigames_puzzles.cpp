// The puzzle mini-games' costly moments, on the shipped screens, templates and pictures
// (data\GUI\Minispiel.gui, data\Games\Minispiele.gui, data\GUI\Minispiele_puzzles.gui,
// puzzles.ani) at 1920x1080.
// - jigsawDragFrame: a jigsaw of 256 pieces (the cap of one list) scattered over its field while
//   one is dragged: each frame the pointer moves (the input object's movement signal), the GUI and
//   the manager update and the GUI draws every piece, its shadow and every place. CPU time per
//   frame is the calling thread's; each frame ends with a 1x1 read-back.
// - jigsawPressThrough: a press on the transparent corner of 256 stacked pieces, which walks every
//   piece's picture test (its quad taken back to texels, the opaque-pixel list asked) and takes
//   none.
// - slidingStart / swapStart: a new deal of the largest sliding grid (32 x 32, 1,023 tiles) / a new
//   shuffle of 256 swap tiles (2,560 swaps).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchGuiScene.h"
#include "bench/BenchMinigames.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/Austausch.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Puzzle.h"
#include "game/minigames/Schiebepuzzle_leicht.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Orvex;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr double kStep = 1.0 / 60.0;
constexpr int kPieces = static_cast<int>(Solitaire::Puzzle::kMaxPieces);
constexpr int kSide = Solitaire::Schiebepuzzle_leicht::kMaxSide;
constexpr int kTiles = static_cast<int>(Solitaire::Austausch::kMaxTiles);

std::wstring definitions() {
    std::wstring text = L"<MINISPIELE>";
    // The jigsaw: quarters of the landscape at a quarter of their size on a 16 x 16 grid of places.
    text += L"<MINISPIEL TYPE=\"PUZZLE\" NAME=\"J\" SIZE=\"512 384\" LSG_TIME=\"86400\">";
    for (int i = 0; i < kPieces; ++i)
        text += L"<PUZZLE_TEIL ANIMATION=\"MG_PUZZLE_" + std::to_wstring(i % 4 + 1) + L"\" POSITION=\"" +
                std::to_wstring(i % 16 * 32) + L" " + std::to_wstring(i / 16 * 24) + L"\" SIZE=\"32 24\"/>";
    text += L"</MINISPIEL>";
    // The stack: every piece at the field's corner.
    text += L"<MINISPIEL TYPE=\"PUZZLE\" NAME=\"K\" SIZE=\"512 512\" LSG_TIME=\"86400\">";
    for (int i = 0; i < kPieces; ++i)
        text += L"<PUZZLE_TEIL ANIMATION=\"MG_PUZZLE_" + std::to_wstring(i % 4 + 1) +
                L"\" POSITION=\"256 256\" START_POSITION=\"0 0\"/>";
    text += L"</MINISPIEL>";
    text += L"<MINISPIEL TYPE=\"SCHIEBEPUZZLE_REV\" NAME=\"S\" SIZE=\"" + std::to_wstring(kSide) +
            L"\"><KACHEL_TEIL ANIMATION=\"MG_SCHIEBE_STEIN\"/><KACHEL_TEIL ANIMATION=\"MG_SCHIEBE_KISTE\"/>"
            L"<ZIEL_TEIL ANIMATION=\"MG_SCHIEBE_ZIEL\"/></MINISPIEL>";
    text += L"<MINISPIEL TYPE=\"AUSTAUSCH\" NAME=\"A\" SPALTEN=\"16\">";
    for (int i = 0; i < kTiles; ++i)
        text += L"<AUSTAUSCH_TEIL ANIMATION=\"MG_TAUSCH_" + std::to_wstring(i % 6 + 1) + L"\"/>";
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
        bench::loadMinigameFiles({L"data\\Games\\Minispiele.gui", L"data\\GUI\\Minispiele_puzzles.gui"}, {L"data\\Games\\minigames.ani", L"data\\Games\\puzzles.ani"});
        Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
        XMLNode tree;
        tree.loadFromText(definitions(), L"bench.min");
        manager.loadDefinitions(tree, L"bench.min");
        manager.initGUI();
        gui.findWindow(L"MINISPIEL_SCREEN")->jumpToGoal(L"AN");
        finishFrame = new testsupport::FrameFinish(D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }

    template <class Game>
    Game* activate(wchar_t const* name) {
        Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
        auto* game = dynamic_cast<Game*>(manager.findMinispiel(name));
        if (!game) return nullptr;
        manager.setActiveMinispiel(game);
        manager.showHelp(false, 0.0f);
        for (int i = 0; i < 60; ++i) GUISystem::instance().update(kStep);
        return game;
    }
};

void pointer(MouseState& mouse, int what) {
    DirectInputInterface& input = DirectInputInterface::getInstance();
    input.mouseX = mouse.x;
    input.mouseY = mouse.y;
    if (what < 0) input.mouseButtonDownSignal.emit(mouse, OMB_LEFT);
    if (what == 0) input.mouseAxisSignal.emit(mouse, OA_MOUSE_X);
    if (what > 0) input.mouseButtonUpSignal.emit(mouse, OMB_LEFT);
}

void jigsawDragFrame(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    auto* game = scene ? scene->activate<Solitaire::Puzzle>(L"J") : nullptr;
    if (!game) {
        if (scene) state.SkipWithError("no jigsaw");
        return;
    }
    GUISystem& gui = GUISystem::instance();
    Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    FRect const r = boundingRectOfSpriteRect(game->getPieces().back()->getSpriteRect());
    MouseState mouse;
    mouse.x = (r.left + r.right) / 2.0f;
    mouse.y = (r.top + r.bottom) / 2.0f;
    pointer(mouse, 0);
    mouse.setButtonDown(OMB_LEFT, true);
    pointer(mouse, -1);
    if (!game->getHeldPiece()) {
        state.SkipWithError("no piece taken");
        return;
    }
    int frame = 0;
    double cpu = 0.0;
    auto step = [&] {
        double const begin = bench::threadSeconds();
        mouse.x += (frame++ / 120) % 2 ? -4.0f : 4.0f;
        mouse.y += (frame / 60) % 2 ? -2.0f : 2.0f;
        pointer(mouse, 0);
        gui.update(kStep);
        manager.update(kStep);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        gui.draw();
        device->EndScene();
        cpu += bench::threadSeconds() - begin;
        (*scene->finishFrame)();
    };
    step();  // shader compiles and first uses outside the timing
    cpu = 0.0;
    scene->sprite->drawCalls = 0;
    for (auto _ : state) step();
    mouse.setButtonDown(OMB_LEFT, false);
    pointer(mouse, 1);
    double const frames = static_cast<double>(state.iterations());
    state.counters["pieces"] = kPieces;
    state.counters["cpuMsPerFrame"] = 1000.0 * cpu / frames;
    state.counters["drawCalls"] = static_cast<double>(scene->sprite->drawCalls) / frames;
}

void jigsawPressThrough(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    auto* game = scene ? scene->activate<Solitaire::Puzzle>(L"K") : nullptr;
    if (!game) {
        if (scene) state.SkipWithError("no jigsaw");
        return;
    }
    FRect const field = game->getField()->getScreenRect();
    MouseState mouse;
    mouse.x = field.left + 1.0f;
    mouse.y = field.top + 1.0f;
    pointer(mouse, 0);
    for (auto _ : state) {
        mouse.setButtonDown(OMB_LEFT, true);
        pointer(mouse, -1);
        mouse.setButtonDown(OMB_LEFT, false);
        pointer(mouse, 1);
    }
    if (game->getHeldPiece()) state.SkipWithError("a corner took a piece");
    state.counters["pieces"] = kPieces;
}

void slidingStart(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    auto* game = scene ? scene->activate<Solitaire::Schiebepuzzle_leicht>(L"S") : nullptr;
    if (!game) {
        if (scene) state.SkipWithError("no sliding grid");
        return;
    }
    for (auto _ : state) game->start();
    state.counters["tiles"] = static_cast<double>(game->getTiles().size());
}

void swapStart(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    auto* game = scene ? scene->activate<Solitaire::Austausch>(L"A") : nullptr;
    if (!game) {
        if (scene) state.SkipWithError("no swap puzzle");
        return;
    }
    for (auto _ : state) game->start();
    state.counters["tiles"] = static_cast<double>(game->getTiles().size());
}

}  // namespace

BENCHMARK(jigsawDragFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(jigsawPressThrough)->Unit(benchmark::kMicrosecond);
BENCHMARK(slidingStart)->Unit(benchmark::kMicrosecond);
BENCHMARK(swapStart)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
