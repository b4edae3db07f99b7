// Interpolations and keyframe tracks: values along the curve for every value type, the end
// signals once per arrival, keyed segments, assignment, and the inputs that would give NaN,
// infinity or a use after free (bad steps and exponents, slots that destroy or re-target).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/gui/Interpolation.h"
#include "engine/gui/MultiInterpolation.h"
#include "port/d3dx9/d3dx9math.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

using Value = Orvex::Interpolation<float, float>;
using Track = Orvex::MultiInterpolation<float, float>;

// One letter per signal in arrival order: G/S reached, C changed, g/s overshoot; an inner
// object writes r (either end) and c.
template <class Obj>
struct Log : sigslot::has_slots<> {
    std::string& out;
    bool inner;
    Log(std::string& events, Obj& object, bool innerObject = false) : out(events), inner(innerObject) {
        object.goalReachedSignal.connect(this, &Log::goal);
        object.startReachedSignal.connect(this, &Log::start);
        object.changedSignal.connect(this, &Log::changed);
        if constexpr (requires { object.goalOvershootSignal; }) {
            object.goalOvershootSignal.connect(this, &Log::overGoal);
            object.startOvershootSignal.connect(this, &Log::overStart);
        }
    }
    void goal(Obj&) { out += inner ? 'r' : 'G'; }
    void start(Obj&) { out += inner ? 'r' : 'S'; }
    void changed(Obj&) { out += inner ? 'c' : 'C'; }
    void overGoal(Obj&, float const&) { out += 'g'; }
    void overStart(Obj&, float const&) { out += 's'; }
};

// A value the templates cannot blend, with a listener that blends x and switches the name at
// the curve's half, as the window's goal states will.
struct Pose {
    float x = 0;
    std::string name;
};
using PoseTrack = Orvex::MultiInterpolationUser<Pose, float>;
template <class Obj>
struct PoseBlender : sigslot::has_slots<> {
    std::vector<float> curves;
    explicit PoseBlender(Obj& object) { object.blendSignal.connect(this, &PoseBlender::blend); }
    void blend(Obj&, Pose const& from, Pose const& to, float const& c, Pose& out) {
        curves.push_back(c);
        out.x = from.x + (to.x - from.x) * c;
        out.name = c < 0.5f ? from.name : to.name;
    }
};

// Slots that destroy, re-target or read the object they listen to.
struct Saboteur : sigslot::has_slots<> {
    Value* value = nullptr;
    Track* track = nullptr;
    PoseTrack* poses = nullptr;
    float seen = 0, overshoot = 0;
    void destroyValue(Value&) { delete value; }
    void destroyTrackOver(Track&, float const&) { delete track; }
    void destroyTrackInner(Value&) { delete track; }
    void destroyPoses(PoseTrack&, Pose const&, Pose const&, float const&, Pose&) { delete poses; }
    void retargetTrack(Track&) {
        track->clearKeys();
        track->addKey(-1, 0, true);
        track->addKey(-2, 1, true);
        track->setTime(0.5f);
    }
    void read(Track& t) { seen = t.getValue(); }
    void readOver(Track&, float const& by) { overshoot = by; }
};

std::vector<float> durations(Track const& track) {
    std::vector<Track::Key> keys;
    track.getKeyframes(keys);
    std::vector<float> out;
    for (auto const& key : keys) out.push_back(key.duration);
    return out;
}

}  // namespace

template <class T>
class InterpolationValuesTest : public ::testing::Test {};
using ValueTypes = ::testing::Types<float, D3DXVECTOR2, D3DXCOLOR, D3DXVECTOR4>;
TYPED_TEST_SUITE(InterpolationValuesTest, ValueTypes);

// Curves by hand: 0.5^2 = 0.25, 0.25^0.5 = 0.5, 0.5^0.5 = 0.7071068. Components run from
// 10, 20, 30, 40 to 10, 0, 60, -40 (one resting, one falling, one rising).
TYPED_TEST(InterpolationValuesTest, FollowTheCurveComponentwise) {
    struct Case {
        float exponent, t, curve;
    };
    Case const cases[] = {{1, 0, 0},    {1, 0.25f, 0.25f}, {1, 1, 1},           {2, 0.5f, 0.25f},
                          {2, 1, 1},    {0.5f, 0.25f, 0.5f}, {0.5f, 0.5f, 0.7071068f}};
    constexpr int n = sizeof(TypeParam) / sizeof(float);
    float const from[] = {10, 20, 30, 40}, to[] = {10, 0, 60, -40};
    TypeParam a{}, b{};
    std::copy(from, from + n, reinterpret_cast<float*>(&a));
    std::copy(to, to + n, reinterpret_cast<float*>(&b));
    for (Case const& c : cases) {
        Orvex::Interpolation<TypeParam, float> value(a);
        value.exponent = c.exponent;
        value.set(a, b, c.t);
        float const* got = reinterpret_cast<float const*>(&value.current);
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(got[i], from[i] + (to[i] - from[i]) * c.curve, 1e-4f) << c.exponent << " at " << c.t;
    }
}

TEST(Interpolation, EndSignalsOncePerArrivalAndBadFramesDoNothing) {
    struct Frame {
        float speed, dt;
        int result;
    };
    struct Case {
        float t;
        std::vector<Frame> frames;
        std::string events;
    };
    Case const cases[] = {
        {0.9f, {{1, 0.5f, 3}, {1, 0.5f, 0}}, "GC"},                             // arrives, then rests
        {0.2f, {{-1, 0.5f, 3}, {-1, 0.5f, 0}}, "SC"},                           // backwards
        {0, {{1, 1, 3}, {-1, 0.5f, 1}, {-1, 1, 3}, {1, 0.25f, 1}}, "GCCSCC"},  // reversing
        {0.5f, {{1, 0, 0}, {0, 1, 0}, {1, -0.5f, 0}, {1, kNaN, 0}, {kNaN, 1, 0}, {0, kInf, 0}}, ""},
        {0.5f, {{1, kInf, 3}}, "GC"},                                          // an endless frame ends it
    };
    for (Case const& c : cases) {
        Value value(0.0f);
        value.goal = 10;
        value.t = c.t;
        value.running = true;
        std::string events;
        Log<Value> log(events, value);
        for (Frame const& f : c.frames) {
            value.speed = f.speed;
            EXPECT_EQ(value.update(f.dt), f.result) << c.events << " dt " << f.dt;
        }
        EXPECT_EQ(events, c.events);
        EXPECT_FALSE(std::isnan(value.current));
    }
}

TEST(Interpolation, SetAndSetTimeJudgeTheirEnds) {
    Value value(0.0f);
    std::string events;
    Log<Value> log(events, value);
    value.set(0, 10, 1.5f);
    EXPECT_EQ(value.current, 10.0f);
    value.set(value.goal, value.start, 0);  // its own ends, swapped
    EXPECT_EQ(value.goal, 0.0f);
    value.set(0, 10, kNaN);  // keeps t 0
    EXPECT_EQ(value.current, 0.0f);
    value.goal = 20;  // written directly, brought up to date without a signal
    value.t = 0.5f;
    value.setTime(0.5f);
    EXPECT_EQ(value.current, 10.0f);
    value.exponent = 0.5f;
    value.setTime(-0.5f);  // clamped before the curve: pow(-0.5, 0.5) is NaN
    EXPECT_EQ(value.current, 0.0f);
    value.setTime(kNaN);
    value.setTime(1);
    EXPECT_EQ(events, "GCSCSCSCGC");
}

TEST(Interpolation, UnusableExponentsBendLinearly) {
    for (float exponent : {0.0f, -2.0f, kNaN, kInf}) {
        Value value(0.0f);
        value.exponent = exponent;
        value.set(0, 10, 0);
        EXPECT_EQ(value.current, 0.0f) << exponent;  // pow(0, e <= 0) is 1 or infinite
        value.step(0.5f);
        EXPECT_FLOAT_EQ(value.current, 5.0f) << exponent;

        Orvex::InterpolationUser<Pose, float> user;
        user.exponent = exponent;
        PoseBlender<Orvex::InterpolationUser<Pose, float>> blender(user);
        user.set(Pose{0, "a"}, Pose{10, "b"}, 0);
        user.step(0.25f);
        EXPECT_EQ(blender.curves, (std::vector<float>{0, 0.25f})) << exponent;
    }
}

// The address and leak checks of the sanitizer build fail this if a destroyed object is
// touched again or a slot did not run.
TEST(Interpolation, SlotsMayDestroyTheObjectWhileItEmits) {
    Saboteur s;
    s.value = new Value(0.0f);
    s.value->goalReachedSignal.connect(&s, &Saboteur::destroyValue);
    EXPECT_EQ(s.value->step(2), 3);
    s.value = new Value(0.0f);
    s.value->startReachedSignal.connect(&s, &Saboteur::destroyValue);
    s.value->set(0, 10, 0);

    for (bool inner : {false, true}) {
        s.track = new Track(0, 10, 1);
        if (inner) s.track->interpolation.changedSignal.connect(&s, &Saboteur::destroyTrackInner);
        else s.track->goalOvershootSignal.connect(&s, &Saboteur::destroyTrackOver);
        EXPECT_EQ(s.track->step(5), inner ? 1 : 3);
    }
    s.poses = new PoseTrack;
    s.poses->addKey(Pose{}, 0, true);
    s.poses->addKey(Pose{}, 1, true);
    s.poses->blendSignal.connect(&s, &Saboteur::destroyPoses);
    s.poses->step(0.5f);
}

TEST(MultiInterpolation, ASlotThatRetargetsTakesOver) {
    Saboteur s;
    Track track(0, 10, 1);
    track.addKey(20, 1, true);
    track.addKey(40, 1, true);  // four keys: the old segment index is past the new ones
    std::string events;
    Log<Track> log(events, track);
    s.track = &track;
    track.goalReachedSignal.connect(&s, &Saboteur::retargetTrack);
    EXPECT_EQ(track.step(5), 3);
    EXPECT_EQ(events, "gGC");  // the C is the slot's own setTime; the step emits nothing more
    EXPECT_EQ(track.getValue(), -1.5f);
}

// 0 -(1)-> 10 -(0)-> 20 -(2)-> 30: the zero-length segment is a jump at time 1.
TEST(MultiInterpolation, SegmentsPassOverZeroLengthsAndEndAtTheLastKey) {
    struct Case {
        float time;
        int segment;
        float fraction, value;
    };
    Case const cases[] = {
        {0.5f, 0, 0.5f, 5}, {1, 2, 0, 20},  {2, 2, 0.5f, 25},  // on a key: the segment from it
        {3, 2, 1, 30},      {7, 2, 1, 30},  {-1, 0, 0, 0},     // clamped to [0, total]
        {kNaN, 0, 0, 0},                                      // keeps the time it had
    };
    Track track;
    for (auto [value, length] : {std::pair{0, 0}, {10, 1}, {20, 0}, {30, 2}}) track.addKey(value, length, true);
    EXPECT_EQ(track.getTotalTime(), 3.0f);
    for (Case const& c : cases) {
        float fraction = -1;
        if (c.time >= 0 && c.time <= 3) {
            EXPECT_EQ(track.findSegment(fraction, c.time), c.segment) << c.time;
            EXPECT_FLOAT_EQ(fraction, c.fraction) << c.time;
        }
        track.setTime(c.time);
        EXPECT_FLOAT_EQ(track.getValue(), c.value) << c.time;
    }
}

TEST(MultiInterpolation, StepsPlaceTheValueBeforeAnnouncingEitherEnd) {
    Track track(0, 10, 1);
    track.addKey(20, 1, true);
    std::string events;
    Log<Track> log(events, track);
    Log<Value> inner(events, track.interpolation, true);
    Saboteur reader;
    track.goalReachedSignal.connect(&reader, &Saboteur::read);
    track.goalOvershootSignal.connect(&reader, &Saboteur::readOver);
    struct Step {
        float delta;
        int result;
        std::string events;
        float seen, overshoot;
    };
    Step const steps[] = {
        {0.5f, 1, "cC", 0, 0},      {2, 3, "rcgGC", 20, -0.5f}, {1, 0, "", 20, -0.5f},  // rests
        {-0.5f, 1, "cC", 20, -0.5f}, {-9, 3, "rcsSC", 20, -0.5f}, {-1, 0, "", 20, -0.5f},
        {kNaN, 0, "", 20, -0.5f},
    };
    for (Step const& s : steps) {
        events.clear();
        EXPECT_EQ(track.step(s.delta), s.result) << s.delta;
        EXPECT_EQ(events, s.events) << s.delta;
        EXPECT_EQ(reader.seen, s.seen) << s.delta;
        EXPECT_EQ(reader.overshoot, s.overshoot) << s.delta;
    }
}

TEST(MultiInterpolation, AddKeyAppendsOrInsertsAndSumsTheTotal) {
    Track track(1, 2, 2);
    track.addKey(0, 3, false);
    EXPECT_EQ(durations(track), (std::vector<float>{3, 2, 0}));
    EXPECT_EQ(track.getTotalTime(), 5.0f);
    for (float bad : {-1.0f, kNaN, kInf}) track.addKey(9, bad, true);  // count as zero lengths
    track.addKey(9, kNaN, false);
    EXPECT_EQ(durations(track), (std::vector<float>{0, 3, 2, 0, 0, 0, 0}));
    EXPECT_EQ(track.getTotalTime(), 5.0f);

    track.setTime(5);
    track.clearKeys();
    EXPECT_EQ(track.getTime(), 0.0f);
    track.addKey(4, 7, false);  // a lone key's duration is not counted
    EXPECT_EQ(track.getTotalTime(), 0.0f);
    track.addKey(5, 1, true);
    EXPECT_EQ(durations(track), (std::vector<float>{1, 0}));
}

TEST(MultiInterpolation, ShortTracksNeverFailAndZeroLengthArrivesOnce) {
    Track none, one, zero;
    none.setTime(1);
    EXPECT_EQ(none.step(1), 0);
    one.addKey(7, 1, true);
    one.setTime(0);
    EXPECT_EQ(one.getValue(), 7.0f);  // the lone key, not what was there before
    EXPECT_EQ(one.step(1), 0);

    zero.addKey(1, 0, true);
    zero.addKey(2, 0, true);
    std::string events;
    Log<Track> log(events, zero);
    EXPECT_EQ(zero.step(1), 3);
    EXPECT_EQ(zero.step(1) + zero.step(-1), 0);
    EXPECT_EQ(events, "gGC");  // at its goal, not its start
    EXPECT_EQ(zero.getValue(), 2.0f);
}

TEST(Interpolation, AssignmentCopiesValuesAndTimingButNotSignals) {
    std::string mine, theirs;
    Value a(0.0f), b(0.0f);
    Log<Value> logA(mine, a), logB(theirs, b);
    b.setAll(0, 10, 2.5f, 0.5f, false);
    b.exponent = 2;
    b.speed = -1;
    b.running = true;
    a = b;
    EXPECT_EQ(a.update(0.25f), 1);  // t 0.25 at exponent 2
    EXPECT_FLOAT_EQ(a.current, 0.625f);
    EXPECT_EQ(mine + "|" + theirs, "C|");
    Value copy(b);  // a copy notifies the same listeners
    copy.step(1);
    EXPECT_EQ(theirs, "GC");

    Track t1(0, 10, 1), t2(5, 15, 2);
    Log<Track> logT1(mine = "", t1), logT2(theirs = "", t2);
    t2.step(1);
    t1 = t2;
    EXPECT_EQ(t1.getValue(), 10.0f);
    EXPECT_EQ(t1.step(1), 3);
    EXPECT_EQ(mine + "|" + theirs, "gGC|C");
}

TEST(MultiInterpolationUser, BlendsThroughItsListenerAndCopiesStartWithout) {
    PoseTrack track;
    PoseBlender<PoseTrack> blender(track);
    track.addKey(Pose{0, "AUS"}, 0, true);
    track.addKey(Pose{100, "AN"}, 1, true);
    track.running = true;
    std::string events;
    Log<PoseTrack> log(events, track);
    track.update(0.25f);
    EXPECT_EQ(track.getValue().x, 25.0f);

    PoseTrack copy(track);
    EXPECT_EQ(copy.update(1), 3);
    EXPECT_EQ(blender.curves.size(), 1u);  // the original's listener heard nothing of the copy
    PoseBlender<PoseTrack> own(copy);
    copy.setTime(0.5f);
    EXPECT_EQ(own.curves, (std::vector<float>{0.5f}));
    EXPECT_EQ(copy.getValue().name, "AN");

    track.update(1);
    EXPECT_EQ(track.update(1), 0);
    EXPECT_EQ(events, "CgGC");
    track = copy;  // keeps its own listeners
    track.setTime(0);
    EXPECT_EQ(blender.curves.back(), 0.0f);
    EXPECT_EQ(own.curves.size(), 1u);
}
