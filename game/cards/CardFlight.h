// The flight record of a card: the path it follows (one reference, released with the record),
// its start delay, the speeds along and towards the path, the "PARAMS" bits (FlySpline.h), and
// where the card stood when the flight began. Karte::setFlight fills the start; Karte::stepFlight
// advances it.
#pragma once

#include "engine/render/Spline.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

struct CardFlight {
    explicit CardFlight(Orvex::Spline* flightPath) : path(flightPath) {
        if (path) path->addRef();
    }
    ~CardFlight() {
        if (path) path->release();
    }
    CardFlight(CardFlight const&) = delete;
    CardFlight& operator=(CardFlight const&) = delete;

    Orvex::Spline* path = nullptr;
    float delay = 0.0f;        // seconds before the card starts
    float alongSpeed = 1.0f;   // path lengths per second
    float towardSpeed = 1.0f;  // the approach from the start to the path, per second
    int params = 1;            // kFlyUsePosition
    // Filled by Karte::setFlight.
    D3DXVECTOR2 startPosition{0.0f, 0.0f};
    float startRotation = 0.0f;
    float startScale = 1.0f;
    float progress = 0.0f;  // along the path, 0 .. 1
    float approach = 0.0f;  // from the start onto the path, 0 .. 1
};

}  // namespace Solitaire
