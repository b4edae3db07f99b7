// Fuzzes the settings file "config.cfg" as the engine object reads it (no device is made): every
// init section is read into the engine's records, and what was read is written out and read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "engine/core/engine/OrvexEngine.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    // One folder for the run, removed at exit.
    struct Folder {
        std::filesystem::path path;
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static Folder const folder{std::filesystem::temp_directory_path() / ("orvex-fuzz-config-" + std::to_string(getpid()))};
    fuzz::quietLog();
    std::error_code ec;
    std::filesystem::create_directories(folder.path, ec);
    std::filesystem::path const file = folder.path / "config.cfg";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<char const*>(data), static_cast<std::streamsize>(size));
    }
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    std::wstring const path = port::windowsPath(file.string());
    if (engine->loadConfig(path)) {
        if (!engine->saveConfig(path) || !engine->loadConfig(path)) std::abort();
    }
    return 0;
}
