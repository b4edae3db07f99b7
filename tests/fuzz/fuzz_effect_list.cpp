// Fuzzes effect lists without a device: pools, bundles and effects are read and their sources
// compiled (the repository's data folder is searched, so "data\FX\sprite.fx" is found); creating
// the effects then fails for want of a device. The compiled-effect cache is off, so nothing is
// written.
#include <cstddef>
#include <cstdint>

#include "engine/core/GOBManager.h"
#include "engine/render/Effect.h"
#include "engine/render/EffectManager.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    static bool const ready = [] {
        fuzz::quietLog();
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        Orvex::Effect::useCompiledCache = 0;
        Orvex::Effect::writeCompiledCache = 0;
        return true;
    }();
    (void)ready;
    Orvex::XMLNode list;
    if (!fuzz::readTree(data, size, list)) return 0;
    Orvex::EffectManager& effects = Orvex::EffectManager::getInstance();
    effects.loadEffects(list);
    effects.clear();
    return 0;
}
