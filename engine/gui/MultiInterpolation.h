// Keyframe tracks: a list of keys, each a value and the duration of the segment that leaves it
// (the last key's duration is not used), played through an inner interpolation that holds the
// value of the present segment.
//
// - MultiInterpolation<T, F> plays through an Interpolation<T, F>.
// - MultiInterpolationUser<T, F> plays through an InterpolationUser<T, F> and forwards its blend
//   signal as its own (track, start, goal, curve, value to write).
// The time runs in [0, total], total being the sum of the used durations. The segment of a time
// is the first whose [start, start + duration) holds it; zero-length segments are passed over;
// at or past the total the last segment at fraction 1. Stepping to an end places the value, then
// emits the overshoot signal (with total - raw or -raw, raw the unclamped time), the reached
// signal, then changed; resting at the end emits nothing. A track of zero length counts as
// being at its goal. With one key the value is that key; with none it stays as it was.
//
// Guarded inputs: durations that are negative or not finite count as 0 (no division by a
// zero-length segment can happen); a NaN time or step changes nothing; update ignores frame
// times that are not positive. A slot may destroy the track while it emits; a slot that
// re-targets it (keys or time) takes over, and the interrupted step emits nothing more.
//
// A MultiInterpolation copy notifies the same listeners; a MultiInterpolationUser copy starts
// without listeners. Assignment copies keys, times and the inner value and keeps the signals.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include "engine/gui/DestroyWatch.h"
#include "engine/gui/Interpolation.h"
#include "signals/sigslot.h"

namespace Orvex {

template <class T, class F>
struct MultiInterpolationKey {
    T value{};
    F duration = F(0);  // length of the segment from this key to the next
};

// What both tracks share; Inner is the interpolation the track plays through.
template <class Self, class Inner, class T, class F>
class KeyframeTrack {
public:
    using Key = MultiInterpolationKey<T, F>;

    sigslot::signal1<Self&> goalReachedSignal;
    sigslot::signal1<Self&> startReachedSignal;
    sigslot::signal2<Self&, F const&> goalOvershootSignal;
    sigslot::signal2<Self&, F const&> startOvershootSignal;
    sigslot::signal1<Self&> changedSignal;

    Inner interpolation;  // its current is the track's value
    bool running = false;
    F speed = F(1);

    virtual ~KeyframeTrack() = default;

    F getTotalTime() const { return total_; }
    F getTime() const { return time_; }
    std::size_t getKeyCount() const { return keys_.size(); }
    T const& getValue() const { return interpolation.current; }
    void getKeyframes(std::vector<Key>& out) const { out = keys_; }

    // Replaces the keys (their durations checked) and recomputes the total.
    void setKeyframes(std::vector<Key> const& keys) {
        keys_ = keys;
        for (Key& key : keys_) key.duration = usableDuration(key.duration);
        ++generation_;
        updateTotalTime();
    }

    void clearKeys() {
        keys_.clear();
        ++generation_;
        updateTotalTime();
    }

    // append: the key (value, 0) goes to the end and duration becomes the length of the segment
    // that ends at it. Otherwise the key (value, duration) goes to the front.
    void addKey(T const& value, F const& duration, bool const& append) {
        F const length = usableDuration(duration);
        if (append) {
            keys_.push_back(Key{value, F(0)});
            if (keys_.size() >= 2) keys_[keys_.size() - 2].duration = length;
        } else {
            keys_.insert(keys_.begin(), Key{value, length});
        }
        ++generation_;
        updateTotalTime();
    }

    // The sum of the durations of all keys but the last; the time stays inside it.
    void updateTotalTime() {
        F sum = F(0);
        for (std::size_t i = 0; i + 1 < keys_.size(); ++i) sum += keys_[i].duration;
        total_ = sum;
        if (time_ > total_) time_ = total_;
    }

    // The segment index of a time and the fraction within it (0 with fewer than two keys).
    int findSegment(F& fraction, F const& time) const {
        fraction = F(0);
        int const count = keyCount();
        if (count < 2) return 0;
        F acc = F(0);
        for (int i = 0; i + 1 < count; ++i) {
            F const length = keys_[static_cast<std::size_t>(i)].duration;
            if (time >= acc && acc + length > time) {
                fraction = interp::unitClamp((time - acc) / length);
                return i;
            }
            acc += length;
        }
        fraction = F(1);
        return count - 2;
    }

    // Moves to a time (clamped to [0, total]; NaN keeps the present one) and places the value;
    // changed when the time moved. The next step recomputes even if the time stays.
    void setTime(F const& time) {
        F const old = time_;
        time_ = clampTime(std::isnan(time) ? old : time);
        dirty_ = true;
        unsigned const generation = ++generation_;
        DestroyWatch::Scope scope(watch_);
        if (keys_.size() == 1) {
            interpolation.set(keys_[0].value, keys_[0].value, F(1));
            return;
        }
        F fraction = F(0);
        int const i = findSegment(fraction, time_);
        if (i + 1 >= keyCount()) return;
        interpolation.set(key(i).value, key(i + 1).value, fraction);
        if (scope.destroyed() || generation != generation_ || time_ == old) return;
        changedSignal.emit(self());
    }

    // When running: step(speed x dt).
    int update(F const& dt) {
        if (!running) return 0;
        return step(interp::frameDelta(speed, dt));
    }

    // Moves the time by delta. Returns 0 when nothing moved, 1 when the value changed, 3 when it
    // changed and the track arrived at an end.
    int step(F const& delta) {
        if (std::isnan(delta)) return 0;
        F const old = time_;
        F const raw = old + delta;
        time_ = clampTime(raw);
        if (time_ == old && !dirty_) return 0;
        dirty_ = false;
        F fraction = F(0);
        int const i = findSegment(fraction, time_);
        if (i + 1 >= keyCount()) return 0;
        unsigned const generation = ++generation_;
        DestroyWatch::Scope scope(watch_);
        auto const interrupted = [&] { return scope.destroyed() || generation != generation_; };

        // The value first, so that listeners of the end signals read the value arrived at.
        interpolation.set(key(i).value, key(i + 1).value, fraction);
        if (interrupted()) return 1;
        int result = 1;
        if (total_ > F(0) && time_ <= F(0)) {
            result = 3;
            startOvershootSignal.emit(self(), -raw);
            if (interrupted()) return result;
            startReachedSignal.emit(self());
        } else if (time_ >= total_) {
            result = 3;
            goalOvershootSignal.emit(self(), total_ - raw);
            if (interrupted()) return result;
            goalReachedSignal.emit(self());
        }
        if (interrupted()) return result;
        changedSignal.emit(self());
        return result;
    }

protected:
    struct WithoutListeners {};

    KeyframeTrack() = default;
    explicit KeyframeTrack(T const& first) : interpolation(first) {}
    KeyframeTrack(KeyframeTrack const&) = default;
    // Copies everything but the track's own signals (the inner object is copied as it is).
    KeyframeTrack(KeyframeTrack const& other, WithoutListeners)
        : interpolation(other.interpolation),
          running(other.running),
          speed(other.speed),
          keys_(other.keys_),
          total_(other.total_),
          time_(other.time_),
          dirty_(other.dirty_) {}

    KeyframeTrack& operator=(KeyframeTrack const& other) {
        if (this == &other) return *this;
        interpolation = other.interpolation;
        running = other.running;
        speed = other.speed;
        keys_ = other.keys_;
        total_ = other.total_;
        time_ = other.time_;
        dirty_ = other.dirty_;
        ++generation_;
        return *this;
    }

private:
    static F usableDuration(F duration) { return duration > F(0) && std::isfinite(duration) ? duration : F(0); }

    Self& self() { return static_cast<Self&>(*this); }
    int keyCount() const { return static_cast<int>(keys_.size()); }
    Key const& key(int i) const { return keys_[static_cast<std::size_t>(i)]; }
    F clampTime(F time) const { return !(time > F(0)) ? F(0) : (time < total_ ? time : total_); }

    std::vector<Key> keys_;
    F total_ = F(0);
    F time_ = F(0);
    bool dirty_ = true;            // the next step recomputes even when the time stays
    unsigned generation_ = 0;      // counts changes of keys and time, to notice re-targeting slots
    DestroyWatch watch_;
};

template <class T, class F>
class MultiInterpolation : public KeyframeTrack<MultiInterpolation<T, F>, Interpolation<T, F>, T, F> {
    using Base = KeyframeTrack<MultiInterpolation<T, F>, Interpolation<T, F>, T, F>;

public:
    MultiInterpolation() = default;

    // Keys (from, duration) and (to, 0), at time 0.
    MultiInterpolation(T const& from, T const& to, F const& duration) : Base(from) {
        this->addKey(from, F(0), true);
        this->addKey(to, duration, true);
        this->setTime(F(0));
    }

    MultiInterpolation(MultiInterpolation const&) = default;
    MultiInterpolation& operator=(MultiInterpolation const&) = default;
};

template <class T, class F>
class MultiInterpolationUser : public sigslot::has_slots<>,
                               public KeyframeTrack<MultiInterpolationUser<T, F>, InterpolationUser<T, F>, T, F> {
    using Base = KeyframeTrack<MultiInterpolationUser<T, F>, InterpolationUser<T, F>, T, F>;

public:
    // (track, start, goal, curve, value to write), forwarded from the inner object.
    sigslot::signal5<MultiInterpolationUser&, T const&, T const&, F const&, T&> blendSignal;

    MultiInterpolationUser() { connectInner(); }

    // No listener is copied; the inner object's blend goes to the copy's own forwarder.
    MultiInterpolationUser(MultiInterpolationUser const& other)
        : sigslot::has_slots<>(), Base(other, typename Base::WithoutListeners{}) {
        this->interpolation.blendSignal.disconnect_all();
        connectInner();
    }

    MultiInterpolationUser& operator=(MultiInterpolationUser const& other) {
        Base::operator=(other);
        return *this;
    }

private:
    void connectInner() { this->interpolation.blendSignal.connect(this, &MultiInterpolationUser::forwardBlend); }

    void forwardBlend(InterpolationUser<T, F>&, T const& from, T const& to, F const& curve, T& out) {
        blendSignal.emit(*this, from, to, curve, out);
    }
};

}  // namespace Orvex
