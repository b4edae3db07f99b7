// Shared by the game application's fuzz targets: the source tree on the search path and the shipped
// catalogue loaded once, so inputs are read against the real variants; an input written as a file
// of a folder of this process; the profiles saved and read back.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireManager.h"
#include "port/win32/win32_paths.h"

namespace fuzz {

inline Solitaire::SolitaireManager& shippedCatalogue() {
    static bool const loaded = [] {
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        return Solitaire::SolitaireManager::instance().loadCatalogueFile();
    }();
    (void)loaded;
    return Solitaire::SolitaireManager::instance();
}

// The folder "<target>_<process id>" in the temporary folder, made once.
inline std::filesystem::path const& inputFolder(std::string const& target) {
    static std::filesystem::path const folder = [&] {
        std::filesystem::path made = std::filesystem::temp_directory_path() / (target + "_" + std::to_string(getpid()));
        std::filesystem::create_directories(made);
        return made;
    }();
    return folder;
}

// The input written as the file of that name in the folder, replacing it; its path.
inline std::filesystem::path writeInput(std::filesystem::path const& folder, char const* name, uint8_t const* data,
                                        std::size_t size) {
    std::filesystem::path const file = folder / name;
    std::filesystem::remove(file);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<char const*>(data), static_cast<std::streamsize>(size));
    return file;
}

// Saves the profiles into their file, which must read back whole, and loads them again: the same
// number of profiles, or the process ends.
inline void saveAndLoadAgain(std::filesystem::path const& file) {
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    int const count = profiles.getProfileCount();
    if (!profiles.saveProfiles()) std::abort();
    Orvex::XMLNode written;
    if (written.loadChecked(port::windowsPath(file.string()), 1, Solitaire::ProfilManager::kMaxFileBytes) !=
        Orvex::XMLNode::ReadResult::kComplete)
        std::abort();
    profiles.loadProfiles();
    if (profiles.getProfileCount() != count) std::abort();
}

// Lets the profiles go and empties the folder.
inline void clearProfiles(std::filesystem::path const& folder) {
    Solitaire::ProfilManager::instance().clear();
    for (auto const& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove(entry.path());
}

}  // namespace fuzz
