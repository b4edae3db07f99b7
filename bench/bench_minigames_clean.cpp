// The cleaning game's costly moments, on a pass of a 1024 x 768 mask (black, to be scrubbed white)
// with a 1024 x 768 overlay and background, "RADIUS" 16, composed by the shipped post effect
// (data\Games\clean_waschen.rp, PostWaschen) at 1920x1080. Built from the shipped screens and
// templates (data\GUI\Minispiel.gui, data\Games\Minispiele.gui, Minispiele_clean.gui, clean.ani)
// with the game's fonts and batcher (BenchGuiScene.h).
// - strokeFrame: one frame while the button is held and the pointer sweeps the wash area, 24
//   pixels a frame (about 27 mask pixels, each a brush point): the GUI and the manager update
//   (the brush paints along the walked line), the game composes its picture and the GUI draws.
//   CPU time per frame is the calling thread's (llvmpipe rasterises on its own threads); each
//   frame ends with a 1x1 read-back.
// - coverageCheck: one coverage count of the pass (every pixel of the mask read back).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/BenchGuiScene.h"
#include "bench/BenchMinigames.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/EffectManager.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/WaschenPutzenGame.h"
#include "game/minigames/WaschenPutzenPass.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Orvex;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr unsigned kPictureWidth = 1024;
constexpr unsigned kPictureHeight = 768;
constexpr double kStep = 1.0 / 60.0;
constexpr float kSweep = 24.0f;

// A registered 1024 x 768 picture of one colour.
void addPicture(wchar_t const* name, std::uint32_t colour) {
    auto* texture = new Texture2D(name);
    texture->create(kPictureWidth, kPictureHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    D3DLOCKED_RECT locked{};
    RECT const all{0, 0, static_cast<LONG>(kPictureWidth), static_cast<LONG>(kPictureHeight)};
    if (texture->lockRect(0, locked, all, 0)) {
        for (unsigned y = 0; y < kPictureHeight; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(static_cast<char*>(locked.pBits) + y * locked.Pitch);
            for (unsigned x = 0; x < kPictureWidth; ++x) row[x] = colour ^ ((x / 64 + y / 64) % 2 ? 0x202020u : 0u);
        }
        texture->unlockRect(0);
    }
    D3DInterface::getInstance().getTextureManager().addTexture(texture, true);
}

std::wstring const kGame =
    L"<MINISPIELE><MINISPIEL TYPE=\"WASCHEN_PUTZEN\" NAME=\"B\" EFFECT=\"Waschen\" BACKGROUND=\"BENCH_GRUND\" "
    L"CHECK_EVERY=\"1\"><RENDERPASS FILE=\"data\\Games\\clean_waschen.rp\"/>"
    L"<PASS MASK_NAME=\"BENCH_MASKE\" BLEND_NAME=\"BENCH_UEBER\" RADIUS=\"16\" DIST_COLOR=\"10101010\" "
    L"DRAW_MODE=\"1\" TIME_FAKTOR=\"8\" FERTIG_PIXELS=\"100\" TOOL=\"MG_WASCHEN_WERKZEUG\" "
    L"ANIMATION=\"MG_WASCHEN_SCHWAMM\" CURSOR_SIZE=\"64 64 -32\"/></MINISPIEL></MINISPIELE>";

struct Scene {
    bench::CountingSprite* sprite = nullptr;
    Solitaire::WaschenPutzenGame* game = nullptr;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    bool init() {
        Effect* spriteEffect = nullptr;
        if (!bench::setUpGuiDrawing(kWidth, kHeight, spriteEffect, sprite)) return false;
        XMLNode effects;
        if (!effects.load(L"data\\FX\\effecte.fxf")) return false;
        EffectManager::getInstance().loadEffects(effects);
        GUISystem& gui = GUISystem::instance();
        bench::loadMinigameFiles({L"data\\Games\\Minispiele.gui", L"data\\Games\\Minispiele_clean.gui"},
                                 {L"data\\Games\\clean.ani"});
        addPicture(L"BENCH_MASKE", 0xFF000000u);
        addPicture(L"BENCH_UEBER", 0xFF80C0F0u);
        addPicture(L"BENCH_GRUND", 0xFF705030u);

        Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
        XMLNode definitions;
        definitions.loadFromText(kGame, L"bench.min");
        manager.loadDefinitions(definitions, L"bench.min");
        manager.initGUI();
        game = dynamic_cast<Solitaire::WaschenPutzenGame*>(manager.findMinispiel(L"B"));
        if (!game || !game->getWashArea()) return false;
        gui.findWindow(L"MINISPIEL_SCREEN")->jumpToGoal(L"AN");
        manager.setActiveMinispiel(game);
        manager.showHelp(false, 0.0f);
        for (int i = 0; i < 60; ++i) gui.update(kStep);
        finishFrame = new testsupport::FrameFinish(D3DInterface::getInstance().getDevice());
        return finishFrame->ready() && game->getRenderManager() && game->getResult();
    }
};

void strokeFrame(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    GUISystem& gui = GUISystem::instance();
    Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
    DirectInputInterface& input = DirectInputInterface::getInstance();
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    FRect const area = scene->game->getWashArea()->getScreenRect();
    MouseState mouse;
    auto const moveTo = [&](float x, float y) {
        input.mouseX = mouse.x = x;
        input.mouseY = mouse.y = y;
        gui.onMouseMove(mouse, OA_MOUSE_X);
        input.mouseAxisSignal.emit(mouse, OA_MOUSE_X);
    };
    moveTo(area.left + 2.0f, area.top + 2.0f);
    mouse.setButtonDown(OMB_LEFT, true);
    input.mouseButtonDownSignal.emit(mouse, OMB_LEFT);
    float direction = kSweep;
    auto step = [&] {
        // Row by row over the wash area, a brush's height apart.
        float x = mouse.x + direction;
        float y = mouse.y;
        if (x < area.left || x >= area.right) {
            direction = -direction;
            x = mouse.x;
            y += 16.0f;
            if (y >= area.bottom) y = area.top + 2.0f;
        }
        moveTo(x, y);
        gui.update(kStep);
        manager.update(kStep);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        manager.drawActive();
        device->BeginScene();
        gui.draw();
        device->EndScene();
        (*scene->finishFrame)();
    };
    step();  // shader compiles and first uses outside the timing
    for (auto _ : state) step();
    mouse.setButtonDown(OMB_LEFT, false);
    input.mouseButtonUpSignal.emit(mouse, OMB_LEFT);
    // What the periodic check ("CHECK_EVERY" 1) last counted as clean: the strokes did paint.
    double const clean = scene->game->getPasses()[0]->clean;
    if (clean == 0.0) state.SkipWithError("nothing painted");
    state.counters["cleanPixels"] = clean;
}

void coverageCheck(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    Solitaire::WaschenPutzenGame::Pass& pass = *scene->game->getPasses()[0];
    bool done = false;
    for (auto _ : state) {
        done = pass.checkCoverage();
        benchmark::DoNotOptimize(done);
    }
    state.counters["pixels"] = static_cast<double>(pass.clean + pass.unclean);
}

}  // namespace

BENCHMARK(strokeFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(coverageCheck)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
