// Opens the engine's device object for a benchmark: windowed at the benchmark's size on the
// offscreen video driver (unless another is set), effects compiled from source (no cache).
#pragma once

#include <cstdlib>

#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"

namespace bench {

inline bool openEngineDevice(unsigned width, unsigned height) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.getInitParams().displayMode = D3DDISPLAYMODE{width, height, 60, D3DFMT_X8R8G8B8};
    d3d.getInitParams().setWindowed(true);
    if (!d3d.init()) return false;
    Orvex::Effect::useCompiledCache = 0;
    return true;
}

}  // namespace bench
