// A particle of the table's effects and the emitter that spawns them (a particle that emits).
// Both are read from named templates of the particle file and cloned when an effect starts.
// Split over SolPartikel.cpp (start, motion, paths), SolPartikel_draw.cpp (animation, drawing),
// SolPartikel_read.cpp (templates), SolPartikelEmitter.cpp (emission) and
// SolPartikelEmitter_place.cpp (where an emitted particle starts).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/gui/MultiInterpolation.h"
#include "engine/render/Spline.h"
#include "game/look/RenderObjekt.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}

namespace Solitaire {

// The game's code names the engine's counted reference unqualified.
using Orvex::CountedRef;

class ReadProblems;

// A path from start to end with `frequency` half waves of `amplitude` times the distance that
// shrink to nothing at the end (no frequency: the straight line): eight points per half wave and
// the end point, joined by straight lines. Kept as plain points (a particle on a path carries no
// full spline) and shared, unchanged, by the particles that follow it.
class WavePath {
public:
    std::vector<D3DXVECTOR2> const& points() const { return points_; }
    // The point at that fraction of the length (of the point count when the length overflows).
    D3DXVECTOR2 pointAt(float fraction) const;

private:
    friend std::shared_ptr<WavePath const> makeWaveSpline(D3DXVECTOR2 const& start, D3DXVECTOR2 const& end,
                                                          float amplitude, int frequency);
    std::vector<D3DXVECTOR2> points_;
    std::vector<float> lengths_;  // from the start to each point
};

// The wave path from start to end; null when an end is not a finite point.
std::shared_ptr<WavePath const> makeWaveSpline(D3DXVECTOR2 const& start, D3DXVECTOR2 const& end, float amplitude,
                                               int frequency);

// An owned animation clone; copies clone it again.
class OwnedAnimation {
public:
    OwnedAnimation() = default;
    OwnedAnimation(OwnedAnimation const& other);
    OwnedAnimation& operator=(OwnedAnimation const& other);
    ~OwnedAnimation();
    // Takes over one reference (null allowed), releasing the one held.
    void reset(Orvex::Texture2DAnimation* animation);
    Orvex::Texture2DAnimation* get() const { return animation_; }

private:
    Orvex::Texture2DAnimation* animation_ = nullptr;
};

class SolPartikel : public RenderObjekt {
public:
    // Keys of a colour or scale curve at most.
    static constexpr std::size_t kMaxCurveKeys = 256;
    // Half waves of a path at most (each makes eight path points).
    static constexpr int kMaxWaveFrequency = 64;
    // How a path moves the particle: its point is the position (from the start offset), the
    // velocity (added to the start velocity) or the gravitation (added to the start gravitation).
    enum SplineMode : int { kPathPosition = 0, kPathVelocity = 1, kPathGravitation = 2 };

    SolPartikel();
    SolPartikel(SolPartikel const& other) = default;
    SolPartikel& operator=(SolPartikel const& other) = default;
    ~SolPartikel() override = default;

    // Reads a template; problems go to the list, the fields keep their values.
    void readTemplate(Orvex::XMLNode& node, ReadProblems& problems);
    virtual SolPartikel* clone() const { return new SolPartikel(*this); }
    virtual void update(float const& dt);
    virtual void start(D3DXVECTOR2 const& position, D3DXVECTOR2 const* direction);
    // Emitters take effects on GUI windows; a plain particle has no source window.
    virtual void setRelativeWindow(Orvex::GUIWindow* window) { (void)window; }
    virtual bool isEmitter() const { return false; }

    // Virtual, so an effect of its own kind may end or move itself otherwise; the manager asks
    // isFinished after every update.
    virtual void setFinished(bool const& finished) { finished_ = finished; }
    virtual bool isFinished() const { return endedNow(); }
    // 1 finished now, -1 never finished, 0 by its own rule.
    void setForceEnd(std::int8_t state) { forcedEnd_ = state; }
    virtual void setPosition(D3DXVECTOR2 const& position) { position_ = position; }
    D3DXVECTOR2 const& getPosition() const { return position_; }
    D3DXVECTOR2 const& getVelocity() const { return velocity_; }
    float getAge() const { return age_; }
    float getLifetime() const { return lifetime_; }
    int getLayer() const { return layer_; }
    D3DXCOLOR const& getColour() const { return colour_; }
    void setDrawOrder(float order) { drawOrder_ = order; }
    // The path the particle follows (null: none) and how it moves it (a mode outside 0..2 counts
    // as 0); shared, never changed, by the particle's copies. setSpline takes over one reference.
    // A particle follows one path: a spline replaces a wave and a wave a spline.
    void setSpline(Orvex::Spline* spline, int const& mode);
    void setWave(std::shared_ptr<WavePath const> wave, int const& mode);
    // The fraction of life passed: 0 before the start, 1 for a lifetime of 0, 0 for a particle
    // that lives until it is ended (negative lifetime).
    float lifeFraction() const;
    Orvex::Texture2DAnimation* getAnimation() const { return animation_.get(); }
    // The draw colour (colour times the colour curve) packed as A, R, G, B bytes.
    std::uint32_t packedColour() const;
    // The size times the scale curve.
    D3DXVECTOR2 drawSize() const;

    void queueRender(RenderQueue& queue, RenderContext const& context) override;
    void render(RenderContext const& context) override;
    Orvex::SpriteRect getScreenQuad() override;
    Orvex::Texture2D* getShapeTexture() override { return nullptr; }
    float getRenderOrder() override { return drawOrder_; }

protected:
    // The forced end decides, else the finished flag: what isFinished gives unless overridden.
    bool endedNow() const { return forcedEnd_ != 0 ? forcedEnd_ > 0 : finished_; }

    // State of a started particle, first and together: it is what every frame reads and
    // writes for thousands of particles.
    D3DXVECTOR2 position_{0.0f, 0.0f};
    D3DXVECTOR2 velocity_{0.0f, 0.0f};
    D3DXVECTOR2 gravity_{0.0f, 0.0f};
    D3DXVECTOR2 size_{0.0f, 0.0f};
    float rotation_ = 0.0f;
    float rotationSpeed_ = 0.0f;
    float age_ = 0.0f;
    float lifetime_ = 0.0f;
    D3DXVECTOR2 centre_{0.5f, 0.5f};
    bool finished_ = false;
    std::int8_t forcedEnd_ = 0;
    int splineMode_ = kPathPosition;
    float drawOrder_ = kLastOrder;
    D3DXCOLOR colour_{1.0f, 1.0f, 1.0f, 1.0f};
    // The curves' present values, kept here so drawing does not reach into the curves.
    D3DXCOLOR curveColour_{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXVECTOR2 curveScale_{1.0f, 1.0f};
    OwnedAnimation animation_;
    CountedRef<Orvex::Spline> spline_;
    std::shared_ptr<WavePath const> wave_;
    D3DXVECTOR2 startOffset_{0.0f, 0.0f};
    D3DXVECTOR2 startVelocity_{0.0f, 0.0f};
    D3DXVECTOR2 startGravity_{0.0f, 0.0f};

    // Fields set by the template file.
    int layer_ = 0;
    std::vector<std::wstring> animations_;
    bool syncWithAnimation_ = true;
    bool endIfAnimationFinished_ = false;
    std::wstring sound_;
    D3DXVECTOR2 positionArea_[2]{{0.0f, 0.0f}, {0.0f, 0.0f}};
    float speed_[2]{0.0f, 0.0f};
    float direction_[2]{0.0f, 0.0f};
    D3DXVECTOR2 sizeRange_[2]{{0.0f, 0.0f}, {0.0f, 0.0f}};
    bool uniformSize_ = true;
    D3DXCOLOR colourRange_[2]{{1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}};
    bool colourPerChannel_ = true;
    D3DXVECTOR2 gravitation_[2]{{0.0f, 0.0f}, {0.0f, 0.0f}};
    float rotationRange_[2]{0.0f, 0.0f};
    float rotationSpeedRange_[2]{0.0f, 0.0f};
    D3DXVECTOR2 rotationCentre_[2]{{0.5f, 0.5f}, {0.5f, 0.5f}};
    float lifetimeRange_[2]{0.0f, 0.0f};
    // Over the fraction of life: a key's value is reached when the fraction is the sum of the
    // delta times up to it.
    Orvex::MultiInterpolation<D3DXCOLOR, float> colourCurve_;
    Orvex::MultiInterpolation<D3DXVECTOR2, float> scaleCurve_;


private:
    // Velocity by gravitation, position by velocity.
    void move(float dt);
    // The point of the path at the fraction of life moves the particle by the path mode.
    void followPath(float dt);
    // The template's own "SPLINE" element: a path followed from the start offset.
    void readSpline(Orvex::XMLNode& node, ReadProblems& problems);
    void startAnimation();
    // Copies the curves' values after they were placed.
    void takeCurveValues() {
        curveColour_ = colourCurve_.getValue();
        curveScale_ = scaleCurve_.getValue();
    }
    void onAnimationEnded(Orvex::Texture2DAnimation& animation);
};

class SolPartikelEmitter : public SolPartikel {
public:
    // Emission steps per update at most, so a huge rate or time step cannot stall a frame.
    static constexpr int kMaxStepsPerUpdate = 100;
    // Pixels at least this opaque (of 255) are where particles start on an object or window.
    static constexpr short kOpaqueAlpha = 16;
    // Random picks of a window's pixel that must land inside its image rectangle, at most.
    static constexpr int kMaxWindowPixelTries = 1000;
    // Draw order of particles started on a window: above the table.
    static constexpr float kWindowDrawOrder = 10000.0f;

    struct SpawnEntry {
        std::wstring name;
        float windowStart = 0.0f;
        float windowEnd = 1.0f;
        std::int32_t limit = -1;
        std::int32_t spawned = 0;
        std::wstring sound;
        bool circle = false;
        bool removeOthers = false;
        bool hasPath = false;
        float pathStart[4]{0.0f, 0.0f, 0.0f, 0.0f};
        float pathEnd[4]{0.0f, 0.0f, 0.0f, 0.0f};
        float amplitude = 1.0f;
        int frequency = 1;
        int pathMode = 0;
        float weight = 1.0f;
        float cumulative = 1.0f;
    };

    SolPartikelEmitter();
    SolPartikelEmitter(SolPartikelEmitter const& other);
    SolPartikelEmitter& operator=(SolPartikelEmitter const& other);
    ~SolPartikelEmitter() override;

    void readEmitterTemplate(Orvex::XMLNode& node, ReadProblems& problems);
    SolPartikel* clone() const override;
    void update(float const& dt) override;
    void start(D3DXVECTOR2 const& position, D3DXVECTOR2 const* direction) override;
    // Particles start on the window's drawn pixels (held with a reference; null: none).
    void setRelativeWindow(Orvex::GUIWindow* window) override;
    bool isEmitter() const override { return true; }

    void setEnabled(bool enabled) { enabled_ = enabled; }
    void setSpawnMultiplier(float multiplier);
    // Held with a reference while attached; null detaches.
    void setAttachedObject(RenderObjekt* object);
    std::uint32_t getEmittedCount() const { return emitted_; }
    std::vector<SpawnEntry> const& getEntries() const { return entries_; }

private:
    void rebuildActiveEntries();
    void emitOne(bool reallySpawn);
    void placeChild(SolPartikel& child, SpawnEntry const& entry);

    std::vector<SpawnEntry> entries_;
    // Indices into entries_ (so copies stay valid).
    std::vector<std::size_t> active_;
    std::int32_t limitRange_[2]{-1, -1};
    std::int32_t limit_ = -1;
    std::uint32_t emitted_ = 0;
    float rateRange_[2]{1.0f, 1.0f};
    float rate_ = 1.0f;
    bool enabled_ = true;
    float emissionClock_ = 0.0f;
    float multiplierClock_ = 0.0f;
    CountedRef<RenderObjekt> attached_;
    CountedRef<Orvex::GUIWindow> sourceWindow_;
    float spawnMultiplier_ = 1.0f;
};

}  // namespace Solitaire
