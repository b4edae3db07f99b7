// Devices for benchmarks, on the offscreen video driver unless another is set: the engine's
// device object windowed at the benchmark's size (effects compiled from source, no cache), or a
// bare port-layer device on a headless window.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"
#include "tests/support/gl/HeadlessDevice.h"

namespace bench {

// True at once when the device object already has its device.
inline bool openEngineDevice(unsigned width, unsigned height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    if (d3d.getDevice()) return true;
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{width, height, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    if (!d3d.init()) return false;
    Orvex::Effect::useCompiledCache = 0;
    return true;
}

// Opens the headless device; on failure the benchmark is skipped with "no device".
inline bool openHeadlessDevice(benchmark::State& state, testsupport::HeadlessDevice& headless, unsigned width,
                               unsigned height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (headless.open(width, height)) return true;
    state.SkipWithError("no device");
    return false;
}

// The scene of a benchmark program, set up on first use (its init() says whether it is ready);
// null, with the benchmark skipped as "no device", when it could not be.
template <class Scene>
Scene* readyScene(benchmark::State& state) {
    static Scene scene;
    static bool const ready = scene.init();
    if (ready) return &scene;
    state.SkipWithError("no device");
    return nullptr;
}

}  // namespace bench
