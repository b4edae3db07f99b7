// Fuzzes the settings file "config.cfg" as the engine object reads it (no device is made): every
// init section is read into the engine's records, and what was read is written out and read back.
// Each input starts in an empty folder: the copies kept aside of damaged files do not pile up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/engine/OrvexEngine.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    std::filesystem::path const file = fuzz::writeInput(fuzz::emptyInputFolder("config"), "config.cfg", data, size);
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    std::wstring const path = port::windowsPath(file.string());
    if (engine->loadConfig(path)) {
        if (!engine->saveConfig(path) || !engine->loadConfig(path)) std::abort();
    }
    return 0;
}
