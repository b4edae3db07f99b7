// The particle manager of the table: the particle and emitter templates of the particle files and
// every live particle and emitter. Effects start by naming an emitter template; the live objects
// are advanced and drawn by layer (0 the table, others the screen; -1 all).
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

class RenderObjekt;
class RenderQueue;
struct RenderContext;

class SolPartikel;
class SolPartikelEmitter;

class SolPartikelManager {
public:
    // Live particles and emitters together at most: an effect that emits itself (or a very
    // long-lived one) stops creating new objects here instead of growing without bound.
    static constexpr std::size_t kMaxLive = 4096;
    // Templates per manager at most, so a hostile file cannot take all memory.
    static constexpr std::size_t kMaxTemplates = 4096;

    static SolPartikelManager& instance();
    ~SolPartikelManager();

    // Reads a particle file's tree; appends to the templates (earlier names win on lookup). A
    // "VORLAGE" finds its template wherever it stands in the file; one naming no template, or
    // a chain of them leading back to itself, is named in the template's log line.
    void loadTemplates(Orvex::XMLNode& root, std::wstring const& sourceName);
    // "data\Level\Partikel.par" then "data\Partikel.par"; a missing file loads nothing.
    void loadFiles();
    // Releases every live object and template.
    void clear();

    // A named effect at a point, on an object (spawnAt: a card or pile that exists), or flying
    // from start to end along a wave of `amplitude` (times the distance) and `frequency` half
    // waves; null when the emitter template is unknown or the live list is full.
    SolPartikel* spawn(std::wstring const& name, D3DXVECTOR2 const& position);
    SolPartikel* spawnOnObject(std::wstring const& name, RenderObjekt* object);
    SolPartikel* spawnAt(std::wstring const& name, RenderObjekt& object);
    SolPartikel* spawnFlying(std::wstring const& name, D3DXVECTOR2 const& start, D3DXVECTOR2 const& end,
                             float const& amplitude, int const& frequency);
    // Takes over one reference of a started particle or emitter.
    void add(SolPartikel* object);
    bool hasRoom() const { return particles_.size() + emitters_.size() < kMaxLive; }

    // Advances the live emitters, then particles, of that layer (-1 all, kScreenParticleLayers
    // all but 0) and removes the finished.
    void update(float const& dt, int layer);
    void queueRender(RenderContext const& context, RenderQueue& queue);
    void render(RenderContext const& context);

    SolPartikel const* findTemplate(std::wstring const& name) const;
    SolPartikel const* findParticleTemplate(std::wstring const& name) const;
    SolPartikelEmitter const* findEmitterTemplate(std::wstring const& name) const;

    std::vector<SolPartikel*> const& liveParticles() const { return particles_; }
    std::vector<SolPartikel*> const& liveEmitters() const { return emitters_; }

private:
    // A template of the file being read: made and named, its fields still to read.
    struct PendingTemplate {
        SolPartikel* object;
        Orvex::XMLNode* node;
        bool emitter;
    };

    SolPartikelManager() = default;
    // The templates of the file being read that entry's "VORLAGE" copies (a particle template,
    // and for an emitter also an emitter template), as indexes into the pending list.
    using PendingIndex = std::unordered_map<SolPartikel const*, std::size_t>;
    std::vector<std::size_t> basesOf(PendingTemplate const& entry, PendingIndex const& indexOf) const;
    // Reads the fields of every pending template, each after the templates it copies; copies that
    // lead back to themselves are named in the template's log line and read as they stand.
    void readPendingTemplates(std::vector<PendingTemplate>& pending, std::wstring const& sourceName);
    // An "ANIMATIONEN" element: its "FILE" goes to the animation registry.
    void loadAnimations(Orvex::XMLNode const& node, std::wstring const& sourceName);
    SolPartikelEmitter* startEmitter(std::wstring const& name, D3DXVECTOR2 const& position);

    std::vector<SolPartikel*> particleTemplates_;
    std::vector<SolPartikel*> particles_;
    std::vector<SolPartikelEmitter*> emitterTemplates_;
    std::vector<SolPartikel*> emitters_;
};

}  // namespace Solitaire
