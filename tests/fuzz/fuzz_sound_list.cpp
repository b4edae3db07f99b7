// Fuzzes sound lists without playing: entries and their sample names are read (samples are
// looked for in the repository, so "data\Sounds\klick.wav" is found and decoded), then dropped.
#include <cstddef>
#include <cstdint>

#include "engine/core/GOBManager.h"
#include "engine/platform/SoundManager.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    static bool const ready = [] {
        fuzz::quietLog();
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        return true;
    }();
    (void)ready;
    Orvex::XMLNode root;
    if (!fuzz::readTree(data, size, root)) return 0;
    Orvex::SoundManager& sounds = Orvex::SoundManager::getInstance();
    if (Orvex::XMLNode const* list = root.getChild(L"SOUND")) sounds.loadSounds(*list);
    sounds.clear();
    return 0;
}
