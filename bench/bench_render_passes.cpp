// One 1920x1080 frame of a simple scene (200 untextured rectangles) three ways:
// - directScene: drawn straight into the back buffer, no render passes at all;
// - forwardNoPostEffects: through the render manager with the forward renderer and the
//   post-effect renderer on but no active post effect (the scene target stretched back);
// - blurChain: the same with the "Blur" group of data/GUI/renderpass.rp (half-size down pass,
//   double-size up pass) active.
// Real time per frame gives frames per second ("fps"); CPU time is the calling thread's; llvmpipe
// rasterises on its own threads. Each frame ends with a 1x1 read-back so the GL work is finished
// inside the frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/BenchDevice.h"
#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/EffectManager.h"
#include "engine/render/PostEffect.h"
#include "engine/render/RenderManager.h"
#include "port/win32/win32_paths.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr unsigned kRects = 200;

struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};

struct Passes : sigslot::has_slots<> {
    bool ready = false;
    std::unique_ptr<Orvex::RenderManager> manager;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    IDirect3DDevice9* device() const { return Orvex::D3DInterface::getInstance().getDevice(); }

    bool init() {
        if (!bench::openEngineDevice(kWidth, kHeight)) return false;
        std::filesystem::path const root = std::filesystem::path(ORVEX_SOURCE_DIR);
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(root.string()));
        Orvex::XMLNode list;
        if (!list.load(L"data\\FX\\effecte.fxf")) return false;
        Orvex::EffectManager::getInstance().loadEffects(list);
        manager = std::make_unique<Orvex::RenderManager>(Orvex::RenderManager::kFollowDevice,
                                                         Orvex::RenderManager::kFollowDevice);
        manager->loadConfigFile(L"data\\GUI\\renderpass.rp");
        manager->getForwardRenderer().setEnabled(true);
        manager->getPostEffectRenderer().setEnabled(true);
        manager->getForwardRenderer().signalRender.connect(this, &Passes::onScene);
        device()->SetRenderState(D3DRS_LIGHTING, FALSE);
        device()->SetRenderState(D3DRS_ZENABLE, FALSE);
        device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        finishFrame = new testsupport::FrameFinish(device());
        ready = finishFrame->ready() && manager->getPostEffectRenderer().isCreated();
        return ready;
    }

    void onScene(Orvex::ForwardRenderer&) { drawScene(); }

    void drawScene() {
        device()->SetTexture(0, nullptr);
        device()->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
        for (unsigned i = 0; i < kRects; ++i) {
            float const x = static_cast<float>((i * 97) % (kWidth - 200));
            float const y = static_cast<float>((i * 53) % (kHeight - 120));
            D3DCOLOR const c = 0xFF000000u | (i * 0x3F1F7u & 0xFFFFFF);
            Vertex const v[4] = {{x, y, 0, 1, c}, {x + 200, y, 0, 1, c}, {x, y + 120, 0, 1, c}, {x + 200, y + 120, 0, 1, c}};
            device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(Vertex));
        }
    }

    void activate(bool blur) {
        for (Orvex::PostEffect* e : std::vector(manager->getActiveEffects())) manager->removeActiveEffect(e);
        if (blur) manager->addActiveEffect(manager->findPostEffect(L"Blur"));
    }
};

Passes& passes() {
    static Passes p;
    if (!p.ready) p.init();
    return p;
}

void directScene(benchmark::State& state) {
    Passes& p = passes();
    if (!p.ready) return state.SkipWithError("no device or no post effects");
    for (auto _ : state) {
        p.device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF202040, 1.0f, 0);
        p.device()->BeginScene();
        p.drawScene();
        p.device()->EndScene();
        (*p.finishFrame)();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void throughRenderManager(benchmark::State& state, bool blur) {
    Passes& p = passes();
    if (!p.ready) return state.SkipWithError("no device or no post effects");
    p.activate(blur);
    for (auto _ : state) {
        p.manager->render(nullptr, nullptr);
        (*p.finishFrame)();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void forwardNoPostEffects(benchmark::State& state) { throughRenderManager(state, false); }
void blurChain(benchmark::State& state) { throughRenderManager(state, true); }

}  // namespace

BENCHMARK(directScene)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(forwardNoPostEffects)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(blurChain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
