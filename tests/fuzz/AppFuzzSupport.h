// Shared by the game application's fuzz targets: the source tree on the search path and the shipped
// catalogue loaded once, so inputs are read against the real variants.
#pragma once

#include "engine/core/GOBManager.h"
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

}  // namespace fuzz
