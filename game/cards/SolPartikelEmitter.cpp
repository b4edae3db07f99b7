// The emitter: counts emission steps at its rate, picks an entry by weight among those whose
// window covers the current fraction of its life, and starts a clone of the entry's template.
#include <cmath>

#include "engine/core/Random.h"
#include "game/cards/GameStyle.h"
#include "game/cards/SolPartikel.h"
#include "game/cards/SolPartikelManager.h"

namespace Solitaire {

SolPartikelEmitter::SolPartikelEmitter(SolPartikelEmitter const& other)
    : SolPartikel(other),
      entries_(other.entries_),
      limitRange_{other.limitRange_[0], other.limitRange_[1]},
      limit_(other.limit_),
      emitted_(other.emitted_),
      rateRange_{other.rateRange_[0], other.rateRange_[1]},
      rate_(other.rate_),
      enabled_(other.enabled_),
      sourceWindow_(other.sourceWindow_),
      spawnMultiplier_(other.spawnMultiplier_) {
    setAttachedObject(other.attached_);
}

SolPartikelEmitter::~SolPartikelEmitter() { setAttachedObject(nullptr); }

SolPartikelEmitter& SolPartikelEmitter::operator=(SolPartikelEmitter const& other) {
    if (this == &other) return *this;
    SolPartikel::operator=(other);
    entries_ = other.entries_;
    active_.clear();
    limitRange_[0] = other.limitRange_[0];
    limitRange_[1] = other.limitRange_[1];
    limit_ = other.limit_;
    emitted_ = other.emitted_;
    rateRange_[0] = other.rateRange_[0];
    rateRange_[1] = other.rateRange_[1];
    rate_ = other.rate_;
    enabled_ = other.enabled_;
    sourceWindow_ = other.sourceWindow_;
    spawnMultiplier_ = other.spawnMultiplier_;
    setAttachedObject(other.attached_);
    return *this;
}

void SolPartikelEmitter::setSpawnMultiplier(float multiplier) {
    spawnMultiplier_ = multiplier > 0.0f ? std::fmin(multiplier, 1.0f) : 0.0f;  // NaN gives 0
}

void SolPartikelEmitter::setAttachedObject(RenderObjekt* object) {
    if (object == attached_) return;
    if (object) object->addRef();
    if (attached_) attached_->release();
    attached_ = object;
}

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
    for (SpawnEntry& entry : entries_) {
        bool const removesOthers = entry.removeOthers && entry.spawned > 0;
        if (removesOthers) active_.clear();
        if (entry.windowStart <= f && f <= entry.windowEnd &&
            static_cast<std::uint32_t>(entry.spawned) < static_cast<std::uint32_t>(entry.limit))
            active_.push_back(&entry);
        if (removesOthers) break;
    }
    float total = 0.0f;
    for (SpawnEntry const* entry : active_) total += entry->weight;
    float running = 0.0f;
    for (SpawnEntry* entry : active_) {
        running += entry->weight;
        entry->cumulative = total > 0.0f ? running / total : 1.0f;
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
    SpawnEntry* chosen = nullptr;
    for (SpawnEntry* entry : active_) {
        if (entry->cumulative >= r) {
            chosen = entry;
            break;
        }
    }
    if (!chosen) chosen = active_[static_cast<std::size_t>(Orvex::randomInt(0, static_cast<int>(active_.size())))];
    SolPartikel const* found = manager.findTemplate(chosen->name);
    if (!found) return;
    SpawnEntry& entry = *chosen;
    ++entry.spawned;
    if (entry.limit != -1) rebuildActiveEntries();  // the entry may have reached its limit
    if (!reallySpawn) return;
    playSound(entry.sound);
    SolPartikel* child = found->clone();
    placeChild(*child, entry);
    if (child->isEmitter()) static_cast<SolPartikelEmitter*>(child)->setSpawnMultiplier(spawnMultiplier_);
    manager.add(child);
}

void SolPartikelEmitter::placeChild(SolPartikel& child, SpawnEntry const& entry) {
    D3DXVECTOR2 circle{1.0f, 0.0f};
    if (entry.circle && entry.limit > 0) {
        // A limit of 0 or none spreads nothing: every particle takes the first direction.
        float const angle = static_cast<float>(entry.spawned) * 360.0f / static_cast<float>(entry.limit) *
                            3.14159265358979f / 180.0f;
        circle = {std::cos(angle), std::sin(angle)};
    }
    if (attached_) {
        Orvex::SpriteRect const quad = attached_->getScreenQuad();
        D3DXVECTOR2 const none{0.0f, 0.0f};
        child.start(D3DXVECTOR2{quad.x, quad.y}, entry.circle ? &circle : &none);
        child.setDrawOrder(attached_->getRenderOrder() + 1.0f);
    } else {
        child.start(position_, entry.circle ? &circle : nullptr);
    }
    if (entry.hasPath) {
        WavePath wave;
        wave.start = {Orvex::randomFloat(entry.pathStart[0], entry.pathStart[2]),
                      Orvex::randomFloat(entry.pathStart[1], entry.pathStart[3])};
        wave.end = {Orvex::randomFloat(entry.pathEnd[0], entry.pathEnd[2]),
                    Orvex::randomFloat(entry.pathEnd[1], entry.pathEnd[3])};
        wave.amplitude = entry.amplitude;
        wave.frequency = entry.frequency;
        child.setWave(wave);
    }
}

}  // namespace Solitaire
