// One animated segment: a progress t in [0, 1] is advanced by time steps, bent by the curve
// pow(t, exponent), and the value between a start and a goal follows it.
//
// - Interpolation<T, F> blends componentwise and linearly (float, D3DXVECTOR2, D3DXCOLOR,
//   D3DXVECTOR4: anything with +, - and * by a scalar).
// - InterpolationUser<T, F> has the same timing for values it cannot blend: it emits blendSignal
//   (object, start, goal, curve, current) and the listener writes current.
// Signals, each with the object first: goalReachedSignal when t arrives at 1, startReachedSignal
// when t arrives at 0 (once per arrival, never while resting there), changedSignal after every
// change of the value. Owners set running, speed (negative plays backwards) and exponent
// directly; nothing here changes running.
//
// Guarded inputs: a NaN step or time changes nothing; update ignores frame times that are not
// positive (speed gives the direction); an exponent that is not positive and finite bends as 1
// (pow(0, e <= 0) would put the value at the goal or at infinity); t is clamped before the curve
// (pow of a negative t is NaN). A slot may call back into the object or destroy it while it
// emits: after each emit the operation checks and stops touching a destroyed object.
//
// A copy notifies the same listeners (signals are copied with their connections); assignment
// copies values and timing and keeps the target's own signals.
#pragma once

#include <cmath>
#include <type_traits>

#include "engine/gui/DestroyWatch.h"
#include "signals/sigslot.h"

namespace Orvex {

namespace interp {

// clamp(x, 0, 1) with NaN taken as 0.
template <class F>
F unitClamp(F x) {
    return !(x > F(0)) ? F(0) : (x < F(1) ? x : F(1));
}

// pow(t, exponent) for t in [0, 1], in double precision; an unusable exponent bends as 1.
template <class F>
F curve(F t, F exponent) {
    // Exact shortcuts for the common cases (pow(t, 1) is t; pow(0, e > 0) is 0; pow(1, e) is 1):
    // thousands of tracks are placed per frame, most of them straight lines.
    if (exponent == F(1) || t == F(0) || t == F(1)) return unitClamp(t);
    double const e = (exponent > F(0) && std::isfinite(exponent)) ? static_cast<double>(exponent) : 1.0;
    return unitClamp(static_cast<F>(std::pow(static_cast<double>(t), e)));
}

// The progress a running object makes in a frame of dt: nothing for a frame time that is not
// positive (NaN included), otherwise speed x dt (NaN when speed is NaN, or 0 x infinity; the
// step then ignores it).
template <class F>
F frameDelta(F speed, F dt) {
    return dt > F(0) ? speed * dt : F(0);
}

}  // namespace interp

// The timing shared by Interpolation and InterpolationUser; Self supplies applyCurve(c), which
// puts current at curve c between start and goal.
template <class Self, class T, class F>
class InterpolationBase {
    static_assert(std::is_floating_point_v<F>, "progress and time are floating point");

public:
    sigslot::signal1<Self&> goalReachedSignal;
    sigslot::signal1<Self&> startReachedSignal;
    sigslot::signal1<Self&> changedSignal;

    T start{};
    T goal{};
    T current{};
    F t = F(0);
    F exponent = F(1);
    bool running = false;
    F speed = F(1);

    virtual ~InterpolationBase() = default;

    // When running: step(speed x dt).
    virtual int update(F const& dt) {
        if (!running) return 0;
        return step(interp::frameDelta(speed, dt));
    }

    // Moves t by delta. Returns 0 when t did not move (delta 0, NaN, or t already at the end it
    // is moving towards), 1 when the value changed, 3 when it changed and t arrived at an end.
    int step(F const& delta) {
        if (delta == F(0) || std::isnan(delta)) return 0;
        F const old = t;
        F const now = interp::unitClamp(old + delta);
        if (now == old) return 0;
        t = now;
        DestroyWatch::Scope scope(watch_);
        self().applyCurve(interp::curve(now, exponent));
        if (scope.destroyed()) return 1;
        bool const atStart = now <= F(0) && old > F(0);
        bool const atGoal = now >= F(1) && old < F(1);
        announce(scope, atStart, atGoal);
        return atStart || atGoal ? 3 : 1;
    }

    // Starts a segment from `from` to `to` at progress `at` (clamped; NaN keeps the present t).
    // Judged on `at` before clamping: goal-reached when >= 1, start-reached when <= 0; then
    // changed, always.
    void set(T const& from, T const& to, F const& at) {
        F const target = std::isnan(at) ? t : at;
        assignEnds(from, to);
        t = interp::unitClamp(target);
        DestroyWatch::Scope scope(watch_);
        self().applyCurve(interp::curve(t, exponent));
        if (!scope.destroyed()) announce(scope, target <= F(0), target >= F(1));
    }

    // Recomputes current at progress `at` (clamped; NaN keeps the present t). Signals only when
    // t moved: the end it arrived at, then changed. Owners that wrote start, goal or t directly
    // call it to bring current up to date.
    void setTime(F const& at) {
        F const old = t;
        F const now = interp::unitClamp(std::isnan(at) ? old : at);
        t = now;
        DestroyWatch::Scope scope(watch_);
        self().applyCurve(interp::curve(now, exponent));
        if (scope.destroyed() || now == old) return;
        announce(scope, now <= F(0) && old > F(0), now >= F(1) && old < F(1));
    }

    // Stores the values as given, without the curve (t clamped to [0, 1]); with notify, emits
    // goal-reached at t 1, start-reached at t 0, then changed.
    void setAll(T const& from, T const& to, T const& value, F const& at, bool const& notify) {
        F const target = interp::unitClamp(at);
        T const keep = value;
        assignEnds(from, to);
        current = keep;
        t = target;
        if (!notify) return;
        DestroyWatch::Scope scope(watch_);
        announce(scope, target <= F(0), target >= F(1));
    }

protected:
    InterpolationBase() = default;
    explicit InterpolationBase(T const& value) : start(value), goal(value), current(value) {}
    InterpolationBase(InterpolationBase const&) = default;

    // Values and timing; the signals stay as they are.
    InterpolationBase& operator=(InterpolationBase const& other) {
        if (this == &other) return *this;
        start = other.start;
        goal = other.goal;
        current = other.current;
        t = other.t;
        exponent = other.exponent;
        running = other.running;
        speed = other.speed;
        return *this;
    }

private:
    Self& self() { return static_cast<Self&>(*this); }

    // The end signals asked for, then changed; nothing once a slot destroyed the object (no
    // member may even be called then).
    void announce(DestroyWatch::Scope const& scope, bool atStart, bool atGoal) {
        if (atStart) startReachedSignal.emit(self());
        if (scope.destroyed()) return;
        if (atGoal) goalReachedSignal.emit(self());
        if (scope.destroyed()) return;
        changedSignal.emit(self());
    }

    // Safe when the arguments are this object's own start and goal (a swap).
    void assignEnds(T const& from, T const& to) {
        if (&to == &start) {
            T const keep = to;
            start = from;
            goal = keep;
        } else {
            start = from;
            goal = to;
        }
    }

    DestroyWatch watch_;
};

template <class T, class F>
class Interpolation : public InterpolationBase<Interpolation<T, F>, T, F> {
    using Base = InterpolationBase<Interpolation<T, F>, T, F>;

public:
    Interpolation() = default;
    explicit Interpolation(T const& value) : Base(value) {}
    Interpolation(Interpolation const&) = default;
    Interpolation& operator=(Interpolation const&) = default;

private:
    friend Base;
    void applyCurve(F c) { this->current = this->start + (this->goal - this->start) * c; }
};

template <class T, class F>
class InterpolationUser : public InterpolationBase<InterpolationUser<T, F>, T, F> {
    using Base = InterpolationBase<InterpolationUser<T, F>, T, F>;

public:
    // (object, start, goal, curve, current to write). Emitted before the end and changed signals.
    sigslot::signal5<InterpolationUser&, T const&, T const&, F const&, T&> blendSignal;

    InterpolationUser() = default;
    explicit InterpolationUser(T const& value) : Base(value) {}
    InterpolationUser(InterpolationUser const&) = default;
    InterpolationUser& operator=(InterpolationUser const& other) {
        Base::operator=(other);
        return *this;
    }

private:
    friend Base;
    void applyCurve(F c) { blendSignal.emit(*this, this->start, this->goal, c, this->current); }
};

}  // namespace Orvex
