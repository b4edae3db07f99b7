// Shared by the game application's fuzz targets: the source tree on the search path and the shipped
// catalogue loaded once, so inputs are read against the real variants; the profiles saved and read
// back.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>

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

// Saves the profiles into their file, which must read back whole, and loads them again: the same
// number of profiles (as many as are read of a longer list), or the process ends.
inline void saveAndLoadAgain(std::filesystem::path const& file) {
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    std::size_t const count = static_cast<std::size_t>(profiles.getProfileCount());
    if (!profiles.saveProfiles()) std::abort();
    Orvex::XMLNode written;
    if (written.loadChecked(port::windowsPath(file.string()), 1, Solitaire::ProfilManager::kMaxFileBytes) !=
        Orvex::XMLNode::ReadResult::kComplete)
        std::abort();
    profiles.loadProfiles();
    if (static_cast<std::size_t>(profiles.getProfileCount()) != std::min(count, Solitaire::ProfilManager::kMaxProfiles))
        std::abort();
}

}  // namespace fuzz
