// The particle manager without templates: spawns find nothing.
#include "game/cards/SolPartikelManager.h"

namespace Solitaire {

SolPartikelManager& SolPartikelManager::instance() {
    static SolPartikelManager manager;
    return manager;
}

SolPartikel* SolPartikelManager::spawn(std::wstring const&, D3DXVECTOR2 const&) { return nullptr; }

SolPartikel* SolPartikelManager::spawnAt(std::wstring const&, KartenObjekt&) { return nullptr; }

SolPartikel* SolPartikelManager::spawnFlying(std::wstring const&, D3DXVECTOR2 const&, D3DXVECTOR2 const&,
                                             float const&, int const&) {
    return nullptr;
}

void SolPartikelManager::update(float const&, int) {}

void SolPartikelManager::queueRender(RenderContext const&, RenderQueue&) {}

}  // namespace Solitaire
