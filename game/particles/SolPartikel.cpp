// A particle's start, motion and paths (its own spline or a wave from a start to an end point).
#include "game/particles/SolPartikel.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Random.h"
#include "engine/core/Utils.h"
#include "engine/render/Spline.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/look/GameStyle.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

namespace {


float draw(float const range[2]) { return Orvex::randomFloat(range[0], range[1]); }

bool finite(D3DXVECTOR2 const& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

// Places a curve at a fraction of life unless it already stands at the time that fraction
// clamps to (its value then is the same): a particle that lives until it is ended, or is past
// its curve's end, keeps its value without a new evaluation each frame.
template <class Track>
void placeCurve(Track& curve, float fraction) {
    float const time = !(fraction > 0.0f) ? 0.0f : std::min(fraction, curve.getTotalTime());
    if (time != curve.getTime()) curve.setTime(fraction);
}

}  // namespace

std::shared_ptr<WavePath const> makeWaveSpline(D3DXVECTOR2 const& start, D3DXVECTOR2 const& end, float amplitude,
                                               int frequency) {
    if (!finite(start) || !finite(end)) return nullptr;
    int const halfWaves = std::clamp(frequency, 0, SolPartikel::kMaxWaveFrequency);
    D3DXVECTOR2 const delta = end - start;
    float const length = std::sqrt(delta.x * delta.x + delta.y * delta.y);
    bool const usable = length > 0.0f && std::isfinite(length);
    D3DXVECTOR2 const d = usable ? delta / length : D3DXVECTOR2{0.0f, 0.0f};
    D3DXVECTOR2 const n{d.y, -d.x};
    float const swing = std::isfinite(amplitude) ? amplitude * length : 0.0f;
    auto path = std::make_shared<WavePath>();
    int const steps = 8 * halfWaves;
    if (steps == 0) path->points_.push_back(start);
    for (int i = 0; i < steps; ++i) {
        float const t = static_cast<float>(i) / static_cast<float>(steps);
        D3DXVECTOR2 p = start + d * (length * t);
        D3DXVECTOR2 const waved = p + n * (std::sin(D3DX_PI * static_cast<float>(halfWaves) * t) * (1.0f - t) * swing);
        if (finite(waved)) p = waved;  // a swing too wide for a float keeps to the straight line
        path->points_.push_back(finite(p) ? p : start);
    }
    path->points_.push_back(end);
    float running = 0.0f;
    path->lengths_.push_back(running);
    for (std::size_t i = 1; i < path->points_.size(); ++i) {
        D3DXVECTOR2 const step = path->points_[i] - path->points_[i - 1];
        running += std::sqrt(step.x * step.x + step.y * step.y);
        path->lengths_.push_back(running);
    }
    return path;
}

D3DXVECTOR2 WavePath::pointAt(float fraction) const {
    float const f = std::isnan(fraction) ? 0.0f : std::clamp(fraction, 0.0f, 1.0f);
    float const total = lengths_.back();
    std::size_t i = 0;
    float within = 0.0f;
    if (std::isfinite(total) && total > 0.0f) {
        float const distance = total * f;
        i = static_cast<std::size_t>(std::upper_bound(lengths_.begin(), lengths_.end(), distance) - lengths_.begin());
        i = std::clamp<std::size_t>(i, 1, points_.size() - 1) - 1;
        float const segment = lengths_[i + 1] - lengths_[i];
        within = segment > 0.0f ? std::fmin((distance - lengths_[i]) / segment, 1.0f) : 0.0f;
    } else if (points_.size() > 1) {
        float const at = f * static_cast<float>(points_.size() - 1);
        i = std::min(static_cast<std::size_t>(at), points_.size() - 2);
        within = at - static_cast<float>(i);
    }
    if (i + 1 >= points_.size()) return points_[i];
    return points_[i] * (1.0f - within) + points_[i + 1] * within;  // no difference that could overflow
}

SolPartikel::SolPartikel() {
    colourCurve_.addKey(D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f), 0.0f, true);
    colourCurve_.setTime(0.0f);
    scaleCurve_.addKey(D3DXVECTOR2(1.0f, 1.0f), 0.0f, true);
    scaleCurve_.setTime(0.0f);
}

float SolPartikel::lifeFraction() const {
    if (lifetime_ < 0.0f) return 0.0f;
    if (!(lifetime_ > 0.0f)) return 1.0f;  // a lifetime of 0 is over at once; no division by it
    return age_ / lifetime_;
}

void SolPartikel::start(D3DXVECTOR2 const& position, D3DXVECTOR2 const* direction) {
    age_ = 0.0f;
    finished_ = false;
    startOffset_ = {Orvex::randomFloat(positionArea_[1].x, positionArea_[0].x),
                    Orvex::randomFloat(positionArea_[1].y, positionArea_[0].y)};
    position_ = startOffset_ + position;
    D3DXVECTOR2 heading{1.0f, 0.0f};
    if (direction == nullptr) {
        float const angle = D3DXToRadian(draw(direction_));
        heading = {std::cos(angle), std::sin(angle)};
    } else {
        float const length = std::sqrt(direction->x * direction->x + direction->y * direction->y);
        heading = length > 0.0f ? *direction / length : D3DXVECTOR2{0.0f, 0.0f};
    }
    velocity_ = heading * draw(speed_);
    startVelocity_ = velocity_;
    gravity_ = Orvex::lerp(gravitation_[0], gravitation_[1], Orvex::randomFloat(0.0f, 1.0f));
    startGravity_ = gravity_;
    if (uniformSize_) {
        size_ = Orvex::lerp(sizeRange_[0], sizeRange_[1], Orvex::randomFloat(0.0f, 1.0f));
    } else {
        size_ = {Orvex::randomFloat(sizeRange_[0].x, sizeRange_[1].x),
                 Orvex::randomFloat(sizeRange_[0].y, sizeRange_[1].y)};
    }
    D3DXCOLOR const& a = colourRange_[0];
    D3DXCOLOR const& b = colourRange_[1];
    if (colourPerChannel_) {
        colour_ = {Orvex::randomFloat(a.r, b.r), Orvex::randomFloat(a.g, b.g), Orvex::randomFloat(a.b, b.b),
                   Orvex::randomFloat(a.a, b.a)};
    } else {
        colour_ = Orvex::lerp(a, b, Orvex::randomFloat(0.0f, 1.0f));
    }
    lifetime_ = draw(lifetimeRange_);
    rotation_ = draw(rotationRange_);
    rotationSpeed_ = draw(rotationSpeedRange_);
    centre_ = Orvex::lerp(rotationCentre_[0], rotationCentre_[1], Orvex::randomFloat(0.0f, 1.0f));
    startAnimation();
    colourCurve_.setTime(0.0f);
    scaleCurve_.setTime(0.0f);
    takeCurveValues();
    playSound(sound_);
}

namespace {

int usableMode(int mode) {
    return mode == SolPartikel::kPathVelocity || mode == SolPartikel::kPathGravitation ? mode : SolPartikel::kPathPosition;
}

}  // namespace

void SolPartikel::setSpline(Orvex::Spline* spline, int const& mode) {
    spline_.adopt(spline);
    wave_.reset();
    splineMode_ = usableMode(mode);
}

void SolPartikel::setWave(std::shared_ptr<WavePath const> wave, int const& mode) {
    wave_ = std::move(wave);
    spline_.adopt(nullptr);
    splineMode_ = usableMode(mode);
}

void SolPartikel::move(float dt) {
    velocity_ += gravity_ * dt;
    position_ += velocity_ * dt;
}

void SolPartikel::followPath(float dt) {
    D3DXVECTOR2 p;
    if (WavePath const* wave = wave_.get()) {
        p = wave->pointAt(lifeFraction());
    } else {
        Orvex::Spline const& spline = *spline_.get();
        Orvex::SplinePoint const point =
            spline.getPointAt(spline.parameterAtDistance(spline.getLength() * lifeFraction()));
        p = {point.position[0], point.position[1]};
    }
    switch (splineMode_) {
        case kPathVelocity:
            velocity_ = startVelocity_ + p;
            move(dt);
            break;
        case kPathGravitation:
            gravity_ = startGravity_ + p;
            move(dt);
            break;
        default:
            position_ = startOffset_ + p;
    }
}

void SolPartikel::update(float const& dt) {
    // Its own rule, without the virtual call per particle: the manager asks isFinished after.
    if (endedNow()) return;
    if (Orvex::Texture2DAnimation* animation = animation_.get()) animation->update(static_cast<double>(dt));
    if (wave_ || spline_.get())
        followPath(dt);
    else
        move(dt);
    rotation_ += rotationSpeed_ * dt;
    age_ += dt;
    // A particle that lives until it is ended stays at fraction 0, where start placed the curves.
    if (!(lifetime_ < 0.0f)) {
        float const fraction = lifeFraction();
        placeCurve(colourCurve_, fraction);
        placeCurve(scaleCurve_, fraction);
        takeCurveValues();
    }
    if (lifetime_ >= 0.0f && age_ >= lifetime_) finished_ = true;
}

Orvex::SpriteRect SolPartikel::getScreenQuad() {
    return Orvex::SpriteRect(position_, size_, rotation_, centre_, Orvex::SpriteRect::kCentreRelative);
}

}  // namespace Solitaire
