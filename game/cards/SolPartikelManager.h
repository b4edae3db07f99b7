// The particle manager of the table. The particle templates and their drawing come later: until
// then no template is found, every spawn returns null and callers go on without an effect.
#pragma once

#include <string>

#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class KartenObjekt;
class RenderQueue;
struct RenderContext;

class SolPartikel;

class SolPartikelManager {
public:
    static SolPartikelManager& instance();

    // A named effect at a point, at an object, or flying from start to end; null when the
    // template is unknown.
    SolPartikel* spawn(std::wstring const& name, D3DXVECTOR2 const& position);
    SolPartikel* spawnAt(std::wstring const& name, KartenObjekt& object);
    SolPartikel* spawnFlying(std::wstring const& name, D3DXVECTOR2 const& start, D3DXVECTOR2 const& end,
                             float const& duration, int const& value);
    void update(float const& dt, int group);
    void queueRender(RenderContext const& context, RenderQueue& queue);

private:
    SolPartikelManager() = default;
};

}  // namespace Solitaire
