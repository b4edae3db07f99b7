// The emitter: counts emission steps at its rate, picks an entry by weight among those whose
// window covers the current fraction of its life, and starts a clone of the entry's template.
#include <algorithm>
#include <cmath>

#include "engine/core/Random.h"
#include "engine/gui/GUIWindow.h"
#include "game/look/GameStyle.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "port/crt/crt.h"

namespace Solitaire {

SolPartikelEmitter::SolPartikelEmitter() = default;
SolPartikelEmitter::SolPartikelEmitter(SolPartikelEmitter const& other) = default;
SolPartikelEmitter& SolPartikelEmitter::operator=(SolPartikelEmitter const& other) = default;
SolPartikelEmitter::~SolPartikelEmitter() = default;

SolPartikel* SolPartikelEmitter::clone() const { return new SolPartikelEmitter(*this); }

void SolPartikelEmitter::setSpawnMultiplier(float multiplier) {
    spawnMultiplier_ = multiplier > 0.0f ? std::fmin(multiplier, 1.0f) : 0.0f;  // NaN gives 0
}

void SolPartikelEmitter::setAttachedObject(RenderObjekt* object) { attached_.hold(object); }

void SolPartikelEmitter::setRelativeWindow(Orvex::GUIWindow* window) { sourceWindow_.hold(window); }

void SolPartikelEmitter::start(D3DXVECTOR2 const& position, D3DXVECTOR2 const* direction) {
    SolPartikel::start(position, direction);
    emitted_ = 0;
    emissionClock_ = 0.0f;
    multiplierClock_ = 0.0f;
    float const limit = Orvex::randomFloat(static_cast<float>(limitRange_[0]), static_cast<float>(limitRange_[1]));
    limit_ = static_cast<std::int32_t>(limit);  // both ends are integers, so the draw lies between them
    rate_ = Orvex::randomFloat(rateRange_[0], rateRange_[1]);
    for (SpawnEntry& entry : entries_) entry.spawned = 0;
}

void SolPartikelEmitter::update(float const& dt) {
    if (!enabled_) return;
    SolPartikel::update(dt);
    if (isFinished()) return;
    rebuildActiveEntries();
    // A rate that is not positive emits nothing (1 / rate would never be reached).
    if (!(rate_ > 0.0f) || !std::isfinite(rate_)) return;
    emissionClock_ += dt;
    multiplierClock_ += dt;
    float const interval = 1.0f / rate_;
    int steps = 0;
    while (emissionClock_ > interval) {
        if (limit_ != -1 && emitted_ >= static_cast<std::uint32_t>(limit_)) break;
        if (++steps > kMaxStepsPerUpdate) {
            emissionClock_ = 0.0f;  // drop the backlog of a huge step
            break;
        }
        emissionClock_ -= interval;
        bool reallySpawn = false;
        if (spawnMultiplier_ > 0.0f) {
            float const thinned = 1.0f / (spawnMultiplier_ * rate_);
            if (multiplierClock_ > thinned) {
                multiplierClock_ -= thinned;
                reallySpawn = true;
            }
        }
        emitOne(reallySpawn);
        ++emitted_;
    }
    if (limit_ != -1 && emitted_ >= static_cast<std::uint32_t>(limit_)) finished_ = true;
}

void SolPartikelEmitter::rebuildActiveEntries() {
    active_.clear();
    float const f = lifeFraction();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        SpawnEntry const& entry = entries_[i];
        bool const removesOthers = entry.removeOthers && entry.spawned > 0;
        if (removesOthers) active_.clear();
        if (entry.windowStart <= f && f <= entry.windowEnd &&
            static_cast<std::uint32_t>(entry.spawned) < static_cast<std::uint32_t>(entry.limit))
            active_.push_back(i);
        if (removesOthers) break;
    }
    float total = 0.0f;
    for (std::size_t i : active_) total += entries_[i].weight;
    float running = 0.0f;
    for (std::size_t i : active_) {
        running += entries_[i].weight;
        entries_[i].cumulative = total > 0.0f ? running / total : 1.0f;
    }
}

void SolPartikelEmitter::emitOne(bool reallySpawn) {
    if (active_.empty()) {
        rebuildActiveEntries();
        return;
    }
    SolPartikelManager& manager = SolPartikelManager::instance();
    if (reallySpawn && !manager.hasRoom()) return;  // full: nothing is made, nothing counted
    float const r = Orvex::randomFloat(0.0f, 1.0f);
    auto const first = std::find_if(active_.begin(), active_.end(),
                                    [&](std::size_t i) { return entries_[i].cumulative >= r; });
    std::size_t const chosen =
        first != active_.end()
            ? *first
            : active_[static_cast<std::size_t>(msvc::rand()) % active_.size()];
    SpawnEntry& entry = entries_[chosen];
    SolPartikel const* found = manager.findTemplate(entry.name);
    if (!found) return;
    ++entry.spawned;
    // The entry may have reached its limit, or now removes the others (from this step on, not
    // only from the next update).
    if (entry.limit != -1 || (entry.removeOthers && entry.spawned == 1)) rebuildActiveEntries();
    if (!reallySpawn) return;
    playSound(entry.sound);
    SolPartikel* child = found->clone();
    placeChild(*child, entry);
    if (entry.hasPath) {
        D3DXVECTOR2 const start{Orvex::randomFloat(entry.pathStart[0], entry.pathStart[2]),
                                Orvex::randomFloat(entry.pathStart[1], entry.pathStart[3])};
        D3DXVECTOR2 const end{Orvex::randomFloat(entry.pathEnd[0], entry.pathEnd[2]),
                              Orvex::randomFloat(entry.pathEnd[1], entry.pathEnd[3])};
        child->setWave(makeWaveSpline(start, end, entry.amplitude, entry.frequency), entry.pathMode);
    }
    if (child->isEmitter()) static_cast<SolPartikelEmitter*>(child)->setSpawnMultiplier(spawnMultiplier_);
    manager.add(child);
}

}  // namespace Solitaire
