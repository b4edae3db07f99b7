// A card's flight along a path: it waits out the flight's delay, then approaches the path from
// where it stood (approach 0 .. 1 at the speed towards it) while the point it heads for travels
// along the path (progress 0 .. 1 at the speed along it). The "PARAMS" bits say which of
// position, rotation and scale the path drives; the flight ends when the progress reaches 1.
#include <algorithm>
#include <cmath>

#include "engine/core/ReadProblems.h"
#include "engine/core/Utils.h"
#include "engine/render/Spline.h"
#include "game/cards/CardFlight.h"
#include "game/cards/FlySpline.h"
#include "game/cards/Karte.h"

namespace Solitaire {

namespace {

// Records built in code are held to the reader's limits too: a speed that is not a positive
// number would never end the flight.
float sanePositive(float speed) {
    if (!(speed >= FlySpline::kMinSpeed)) return FlySpline::kMinSpeed;
    return std::min(speed, Orvex::kMaxMeasure);
}

}  // namespace

void Karte::setFlight(std::unique_ptr<CardFlight> newFlight) {
    flight = std::move(newFlight);  // the previous record releases its path
    if (!flight) {
        flightTime = -1.0f;
        return;
    }
    CardFlight& f = *flight;
    f.alongSpeed = sanePositive(f.alongSpeed);
    f.towardSpeed = sanePositive(f.towardSpeed);
    if (!(f.delay >= 0.0f) || !std::isfinite(f.delay)) f.delay = 0.0f;
    f.startPosition = position.current;
    f.startRotation = rotation.current;
    f.startScale = scale.current;
    f.progress = 0.0f;
    f.approach = 0.0f;
    flightTime = f.delay + 1.0f / f.alongSpeed;
}

void Karte::stepFlight(float dt) {
    if (!flight || !(dt > 0.0f)) return;
    CardFlight& f = *flight;
    float time = dt;
    if (f.delay > 0.0f) {
        float const waited = std::min(f.delay, time);
        f.delay -= waited;
        time -= waited;
        if (f.delay > 0.0f) {
            flightTime = f.delay + 1.0f / f.alongSpeed;
            return;
        }
    }
    f.approach = std::min(1.0f, f.approach + f.towardSpeed * time);
    f.progress = std::min(1.0f, f.progress + f.alongSpeed * time);
    flightTime = std::max((1.0f - f.progress) / f.alongSpeed, 0.0f);

    // Without a path the card keeps its place and only the time runs.
    std::size_t const count = f.path ? f.path->getControlPoints().size() : 0;
    if (count > 0) applyFlightPose(f.path->getPointAt(f.progress * static_cast<float>(count - 1)));
    if (f.progress >= 1.0f) setFlight(nullptr);
}

void Karte::applyFlightPose(Orvex::SplinePoint const& target) {
    CardFlight const& f = *flight;
    float const pathRotation = target.userData[0];
    float const pathScale = target.userData[1];

    if (f.params & kFlyUsePosition) {
        D3DXVECTOR2 const at(Orvex::lerp(f.startPosition.x, target.position[0], f.approach),
                             Orvex::lerp(f.startPosition.y, target.position[1], f.approach));
        if (std::isfinite(at.x) && std::isfinite(at.y)) position.setAll(at, at, at, 1.0f, false);
    }
    if (f.params & (kFlyUseRotation | kFlyAddRotation)) {
        float const goal = (f.params & kFlyAddRotation) ? f.startRotation + pathRotation : pathRotation;
        float const now = Orvex::lerp(f.startRotation, goal, f.approach);
        if (std::isfinite(now)) rotation.setAll(now, now, now, 1.0f, false);
    }
    if (f.params & (kFlyUseScale | kFlyMultScale)) {
        float const goal = (f.params & kFlyMultScale) ? f.startScale * pathScale : pathScale;
        float const now = Orvex::lerp(f.startScale, goal, f.approach);
        if (std::isfinite(now)) scale.setAll(now, now, now, 1.0f, false);
    }
}

}  // namespace Solitaire
