// The four control points of a wandering story track and its place t (0..1) on the segment
// between the middle two. advance moves t on by speed x dt; at 1 or more the segment shifts one
// point on (a new last point from next()) and t restarts at 0, the surplus dropped, so a long
// frame passes one segment only. A negative or NaN step never runs t below 0.
#pragma once

namespace Solitaire {

template <class T>
struct StoryCatmullPoints {
    T p0{}, p1{}, p2{}, p3{};
    float t = 0.0f;

    template <class Next>
    void advance(float speed, float dt, Next next) {
        t += speed * dt;
        if (t < 0.0f) t = 0.0f;
        if (t < 1.0f) return;  // NaN falls through and restarts too
        t = 0.0f;
        p0 = p1;
        p1 = p2;
        p2 = p3;
        p3 = next();
    }
};

}  // namespace Solitaire
