// One 1920x1080 frame of the card table as the game draws it: the spider dealt from the shipped
// variant (two decks, 104 cards) with the shipped styles (card set "CLASSIC", the background),
// and 2,000 live particles of the table's layer 0 sparkling over it. Per frame: the particles,
// the card manager and the camera updated by 1/60 s, then the table renderer's main window drawn
// in one sprite batch of the engine batcher ("Sprite" effect), cards and particles in one sorted
// queue. renderToTexture:1 draws the table into the renderer's target first and shows it;
// particles:0 is the table alone, for the particles' share.
// CPU time per frame is the calling thread's (queuing, sorting, vertex writing, the GL front
// end); llvmpipe rasterises on its own threads. Each frame ends with a 1x1 read-back so its GL
// work is done inside it. Counters per frame: "drawCalls", "cards", "particles".
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/BenchDevice.h"
#include "bench/BenchGuiScene.h"
#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/InputState.h"
#include "engine/render/Effect.h"
#include "engine/render/Sprite.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "port/win32/win32_paths.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Solitaire;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr int kParticles = 2000;
constexpr float kStep = 1.0f / 60.0f;

using bench::CountingSprite;

struct Scene {
    Orvex::Effect* effect = nullptr;
    CountingSprite* sprite = nullptr;
    SolitaireCamera camera;
    SolitaireRenderer* renderer = nullptr;
    Orvex::GUIWindow* window = nullptr;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    bool init() {
        Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
        if (!bench::openEngineDevice(kWidth, kHeight)) return false;
        std::filesystem::path const repo = std::filesystem::path(ORVEX_SOURCE_DIR);
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(repo.string()));
        Orvex::XMLNode definition;
        definition.loadFromText(L"<EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" +
                                port::windowsPath((repo / "data" / "FX" / "sprite.fx").string()) +
                                L"\" /><MACROS><MACRO NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"1\" /></MACROS></EFFECT>");
        effect = new Orvex::Effect(false);
        if (!effect->load(definition)) return false;
        sprite = new CountingSprite();
        sprite->create();
        sprite->setEffect(effect);
        return dealTable() && sparkle(kParticles) && makeRenderer();
    }

    bool dealTable() {
        Orvex::XMLNode styles;
        if (!styles.load(L"data\\Styles.sty")) return false;
        StyleSettings::instance().load(styles, L"data\\Styles.sty");
        camera.setViewRect(Orvex::FRect(0, 0, kWidth, kHeight));
        camera.setRelativeRect(Orvex::FRect(0, 0, kWidth, kHeight));
        camera.setSecondRect(Orvex::FRect(20, 80, kWidth - 20, kHeight - 140));
        Kartenmanager& manager = Kartenmanager::instance();
        if (!manager.loadGameDefinitionFile(L"data\\Level\\Spinne.sol")) return false;
        manager.startGame(&camera, L"1", true, {}, {}, 0.0f);
        for (int i = 0; i < 300; ++i) {
            manager.update(kStep, kStep, Orvex::MouseState());
            camera.update(kStep);
        }
        return manager.cards.size() == 104;
    }

    // Sparks that never end, spread over the table, turning and drifting.
    static bool sparkle(int count) {
        SolPartikelManager& particles = SolPartikelManager::instance();
        particles.clear();
        Orvex::XMLNode root;
        root.loadFromText(
            L"<PARTIKEL_DATEI><ANIMATIONEN FILE=\"data\\Particles\\partikel.ani\"/>"
            L"<PARTIKEL_VORLAGE NAME=\"P\" ANIMATION=\"SPARK\" LIFETIME=\"-1\" POSITION=\"0 0 1800 1300\" "
            L"SPEED=\"5 20\" DIRECTION=\"0 360\" SIZE=\"24 24 48 48\" ROTATION_SPEED=\"-90 90\" "
            L"COLOR=\"80FFFF80 FFFFFFFF\"/></PARTIKEL_DATEI>");
        particles.loadTemplates(root, L"bench.par");
        SolPartikel const* model = particles.findParticleTemplate(L"P");
        if (!model) return false;
        for (int i = 0; i < count; ++i) {
            SolPartikel* particle = model->clone();
            particle->start({0.0f, 0.0f}, nullptr);
            particles.add(particle);
        }
        return particles.liveParticles().size() == static_cast<std::size_t>(count) &&
               (count == 0 || particles.liveParticles()[0]->getAnimation());
    }

    bool makeRenderer() {
        renderer = new SolitaireRenderer(sprite, &camera);
        window = new Orvex::GUIWindow(L"I_DRAW");
        window->setPixelRect(0, 0, kWidth, kHeight);
        renderer->setWindows(window, nullptr);
        renderer->setViewport(RECT{0, 0, static_cast<LONG>(kWidth), static_cast<LONG>(kHeight)});
        finishFrame = new testsupport::FrameFinish(Orvex::D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }
};

void tableFrame(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    Scene& s = *scene;
    s.renderer->setRenderToTexture(state.range(0) != 0);
    if (!Scene::sparkle(static_cast<int>(state.range(1)))) {
        state.SkipWithError("no particles");
        return;
    }
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    Kartenmanager& manager = Kartenmanager::instance();
    SolPartikelManager& particles = SolPartikelManager::instance();
    Orvex::MouseState const mouse;
    auto frame = [&] {
        particles.update(kStep, -1);
        manager.update(kStep, kStep, mouse);
        s.camera.update(kStep);
        s.renderer->setRenderFrames(-1);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF808080, 1.0f, 0);
        device->BeginScene();
        s.sprite->Begin(D3DXSPRITE_ALPHABLEND, nullptr);
        s.window->selfDrawn.emit(*s.window, true);
        s.sprite->End();
        device->EndScene();
        (*s.finishFrame)();
    };
    frame();  // shader compiles and first uses outside the timing
    s.sprite->drawCalls = 0;
    for (auto _ : state) frame();
    double const frames = static_cast<double>(state.iterations());
    state.counters["drawCalls"] = s.sprite->drawCalls / frames;
    state.counters["cards"] = static_cast<double>(manager.cards.size());
    state.counters["particles"] = static_cast<double>(particles.liveParticles().size());
    s.renderer->setRenderToTexture(false);
}

}  // namespace

BENCHMARK(tableFrame)
    ->ArgNames({"renderToTexture", "particles"})
    ->Args({0, 0})
    ->Args({0, kParticles})
    ->Args({1, kParticles})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
