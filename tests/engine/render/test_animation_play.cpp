// Frame animations without textures: play types and the frame index, timing, the signals,
// passing-frame events, state round trips, clones and reloads, and the bounds on positions
// (no frames, endless loops, values that are not numbers).
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <limits>

#include "engine/core/PerfTimer.h"
#include "engine/core/Random.h"
#include "tests/engine/render/AnimationSupport.h"

using Orvex::Texture2DAnimation;
using namespace rendertest;

namespace {

// The frame index after each of count updates of dt.
std::vector<int> indexes(Texture2DAnimation& animation, int count, double dt = 1.0) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) {
        animation.update(dt);
        out.push_back(animation.getCurrentFrameIndex());
    }
    return out;
}

}  // namespace

TEST(AnimationPlay, PlayTypesGiveTheirFrameSequences) {
    struct Case {
        int frames;
        wchar_t const* attributes;
        std::vector<int> sequence;
    };
    Case const cases[] = {
        {4, L"ANIMSPEED=\"1\" PLAY=\"1\"", {1, 2, 3, 0, 1, 2, 3, 0, 1}},
        {4, L"ANIMSPEED=\"1\" PLAY=\"1\" PLAY_TYPE=\"FORWARD_BACKWARD\"", {1, 2, 3, 3, 2, 1, 0, 0, 1, 2}},
        {4, L"ANIMSPEED=\"-1\" PLAY=\"1\"", {3, 2, 1, 0, 3, 2, 1, 0}},
        {3, L"ANIMSPEED=\"1\" PLAY=\"1\" PLAY_TYPE=\"ONCE FORWARD_BACKWARD\"", {1, 2, 2, 1, 0, 0, 0, 0}},
    };
    for (Case const& c : cases) {
        auto a = make(frames(c.frames, c.attributes));
        EXPECT_EQ(indexes(*a, static_cast<int>(c.sequence.size())), c.sequence)
            << std::string(c.attributes, c.attributes + wcslen(c.attributes));
    }
    auto loop = make(frames(4, L"ANIMSPEED=\"1\" PLAY=\"1\""));
    Counter ended;
    loop->ended.connect(&ended, &Counter::onSignal);
    indexes(*loop, 9);
    EXPECT_EQ(ended.count, 2) << "once per pass";
    EXPECT_EQ(loop->getCurrentFrame()->width, 2.0f);
    EXPECT_EQ(make(frames(2, L"PLAY_TYPE=\"FORWARD_BACKWARD\""))->getPlayType(), Texture2DAnimation::kForwardBackward);
}

TEST(AnimationPlay, OnceKeepsTheLastFrameAndEndsEachTimeThePositionRunsOut) {
    // Quarter-frame steps (exact in binary): the end comes after 16 updates, then the position
    // is set back to the last frame and runs out again every fourth update.
    auto a = make(frames(4, L"ANIMSPEED=\"16\" PLAY=\"1\" PLAY_TYPE=\"ONCE\""));
    Counter ended;
    a->ended.connect(&ended, &Counter::onSignal);
    std::vector<int> endsAt;
    for (int i = 1; i <= 64; ++i) {
        int const before = ended.count;
        a->update(1.0 / 64.0);
        if (ended.count != before) endsAt.push_back(i);
        if (!endsAt.empty()) {
            EXPECT_EQ(a->getCurrentFrameIndex(), 3);
        }
        EXPECT_LT(a->getPosition(), 4.0f);
    }
    ASSERT_EQ(endsAt.size(), 13u);
    for (std::size_t k = 0; k < endsAt.size(); ++k) EXPECT_EQ(endsAt[k], 16 + 4 * static_cast<int>(k));
}

TEST(AnimationPlay, PassingFrameEventFiresWhenTheFrameIsLeft) {
    auto a = make(frames(4, L"ANIMSPEED=\"1\" PLAY=\"1\"",
                         L"<PASSING_FRAME_EVENT NAME=\"two\" FRAME_NR=\"2\"/>"
                         L"<PASSING_FRAME_EVENT NAME=\"nameless\"/>"
                         L"<PASSING_FRAME_EVENT NAME=\"zero\" FRAME_NR=\"0\"/>"));
    ASSERT_EQ(a->getEvents().size(), 2u);
    Counter events;
    a->framePassed.connect(&events, &Counter::onEvent);
    a->update(1.0);  // 0 -> 1
    EXPECT_EQ(events.names, (std::vector<std::wstring>{L"zero"}));
    a->update(1.5);  // 1 -> 2.5: entering 2 fires nothing
    EXPECT_EQ(events.names.size(), 1u);
    a->update(0.5);  // 2 -> 3
    EXPECT_EQ(events.names, (std::vector<std::wstring>{L"zero", L"two"}));
}

TEST(AnimationPlay, PlayStopRewindSignals) {
    auto a = make(frames(4, L"ANIMSPEED=\"1\""));
    Counter started, stopped, rewound;
    a->started.connect(&started, &Counter::onSignal);
    a->stopped.connect(&stopped, &Counter::onSignal);
    a->rewound.connect(&rewound, &Counter::onSignal);
    a->update(1.0);
    EXPECT_EQ(a->getPosition(), 0.0f);  // stopped animations stand still
    a->stop();
    EXPECT_EQ(stopped.count, 0);
    a->play();
    a->play();
    EXPECT_EQ(started.count, 1);
    a->update(2.0);
    a->rewind();
    a->rewind();
    EXPECT_EQ(rewound.count, 1);
    a->update(1.0);
    a->stop();
    EXPECT_EQ(stopped.count, 1);
    EXPECT_FALSE(a->isPlaying());
    EXPECT_EQ(a->getPosition(), 0.0f);
}

TEST(AnimationPlay, SetPositionEndsOutsideAndClampsInOnceMode) {
    auto once = make(frames(4, L"PLAY_TYPE=\"ONCE\""));
    Counter ended;
    once->ended.connect(&ended, &Counter::onSignal);
    once->setPosition(2.5f);
    EXPECT_EQ(ended.count, 0);
    EXPECT_EQ(once->getCurrentFrameIndex(), 2);
    once->setPosition(9.0f);
    EXPECT_EQ(ended.count, 1);
    EXPECT_EQ(once->getPosition(), 3.0f);
    once->setPosition(-9.0f);
    EXPECT_EQ(once->getPosition(), -3.0f);
    once->setPosition(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(once->getPosition(), 0.0f);

    auto loop = make(frames(4, L""));
    loop->setPosition(1.0e9f + 2.0f);
    EXPECT_LT(loop->getPosition(), 4.0f);
    EXPECT_EQ(loop->getCurrentFrameIndex(), static_cast<int>(std::fmod(1.0e9f + 2.0f, 4.0f)));
}

TEST(AnimationPlay, LoopPositionStaysBoundedOverLongRuns) {
    // Unbounded, the position would lose the frame steps to float rounding after a few hours
    // and report `ended` on every update.
    auto a = make(frames(4, L"PLAY=\"1\""));
    Counter ended;
    a->ended.connect(&ended, &Counter::onSignal);
    int changes = 0;
    for (int i = 0; i < 200000; ++i) {
        int const before = a->getCurrentFrameIndex();
        a->update(0.1);  // two frames per update
        if (a->getCurrentFrameIndex() != before) ++changes;
        ASSERT_GE(a->getPosition(), 0.0f);
        ASSERT_LT(a->getPosition(), 4.0f);
    }
    EXPECT_EQ(changes, 200000);
    EXPECT_NEAR(ended.count, 100000, 2);

    // A position far out (from a saved state) animates again after one update.
    Orvex::XMLNode state = parse(L"<STATE PLAY=\"1\" FRAME=\"3e9\"/>");
    a->readState(state);
    a->update(0.05);
    EXPECT_LT(std::fabs(a->getPosition()), 4.0f);
    int const before = a->getCurrentFrameIndex();
    a->update(0.05);
    EXPECT_NE(a->getCurrentFrameIndex(), before);
}

TEST(AnimationPlay, NoFramesKeepsPositionZeroInEveryMode) {
    for (std::wstring type : {L"", L"ONCE", L"FORWARD_BACKWARD", L"ONCE FORWARD_BACKWARD"}) {
        auto a = make(L"<ANIMATION_2D PLAY=\"1\" PLAY_TYPE=\"" + type + L"\"/>");
        Counter ended;
        a->ended.connect(&ended, &Counter::onSignal);
        for (int i = 0; i < 5; ++i) {
            a->update(0.1);
            EXPECT_EQ(a->getPosition(), 0.0f);
            EXPECT_EQ(a->getCurrentFrameIndex(), 0);
        }
        EXPECT_EQ(ended.count, 5);
        a->setPosition(3.0f);
        EXPECT_EQ(a->getPosition(), 0.0f);
        EXPECT_EQ(a->getFrame(0), nullptr);
        ASSERT_NE(a->getCurrentFrame(), nullptr) << "an empty frame, not a null one";
        EXPECT_TRUE(a->getCurrentFrame()->parts.empty());
    }
}

TEST(AnimationPlay, SpeedFormulaScalesTheSpeed) {
    auto a = make(frames(8, L"ANIMSPEED=\"3\" ANIMSPEED_TERM=\"2\" PLAY=\"1\""));
    ASSERT_NE(a->getSpeedTerm(), nullptr);
    a->update(0.5);
    EXPECT_FLOAT_EQ(a->getPosition(), 3.0f);

    // A formula of the game time follows the engine's frame timer.
    Orvex::PerfTimer* timer = &Orvex::PerfTimer::frameTimer();
    timer->advance(0.0);
    double const t0 = timer->getGameTime();
    auto timed = make(frames(8, L"ANIMSPEED=\"1\" ANIMSPEED_TERM=\"D_TIME * 10\" PLAY=\"1\""));
    timer->advance(0.25);
    // The game time goes on from the tests before: the difference is exact only to its magnitude.
    EXPECT_NEAR(timer->getGameTime() - t0, 0.25, 1e-9);
    timed->update(0.2);
    EXPECT_FLOAT_EQ(timed->getPosition(), 0.5f);

    // Division by zero holds the animation instead of sending it to infinity.
    auto broken = make(frames(8, L"ANIMSPEED=\"1\" ANIMSPEED_TERM=\"1 / 0\" PLAY=\"1\""));
    broken->update(1.0);
    EXPECT_EQ(broken->getPosition(), 0.0f);
    EXPECT_EQ(broken->getCurrentFrameIndex(), 0);
}

TEST(AnimationPlay, StateRoundTrip) {
    auto a = make(frames(5, L"ANIMSPEED=\"2.5\" PLAY=\"1\" PLAY_TYPE=\"ONCE\""));
    a->update(1.0);
    Orvex::XMLNode state(L"STATE");
    a->writeState(state);
    EXPECT_EQ(state.getAttributeString(L"PLAY", L""), L"1");
    EXPECT_EQ(state.getAttributeString(L"PLAYTYPE", L""), L"2");
    EXPECT_EQ(state.getAttributeString(L"FRAME", L""), L"2.5");

    auto b = make(frames(5, L""));
    Counter started;
    b->started.connect(&started, &Counter::onSignal);
    b->readState(state);
    EXPECT_EQ(started.count, 0);
    EXPECT_TRUE(b->isPlaying());
    EXPECT_EQ(b->getSpeed(), 2.5f);
    EXPECT_EQ(b->getPlayType(), 2u);
    EXPECT_EQ(b->getPosition(), 2.5f);

    Orvex::XMLNode bad = parse(L"<STATE SPEED=\"nan\" FRAME=\"inf\"/>");
    b->readState(bad);
    EXPECT_EQ(b->getSpeed(), 2.5f);
    EXPECT_EQ(b->getPosition(), 0.0f);
}

TEST(AnimationPlay, LoadingKeys) {
    Orvex::seedRandom(7);
    auto a = make(frames(6, L"NAME=\"keys\" ANIMSPEED=\"10 20\" REVERSE=\"1\" DESIRED_SIZE=\"40\" START_FRAME=\"2 4\""));
    EXPECT_GE(a->getSpeed(), 10.0f);
    EXPECT_LE(a->getSpeed(), 20.0f);
    EXPECT_TRUE(a->isReversed());
    EXPECT_EQ(frameIds(*a), (std::vector<int>{5, 4, 3, 2, 1, 0}));
    // Explicit frames have no part, so no rectangle: the size comes from DESIRED_SIZE alone.
    EXPECT_EQ(a->getFrameSize().x, 40.0f);
    EXPECT_EQ(a->getFrameSize().y, 0.0f);
    EXPECT_GE(a->getPosition(), 2.0f);
    EXPECT_LE(a->getPosition(), 4.0f);

    auto clamped = make(frames(3, L"START_FRAME=\"9\" DESIRED_SIZE=\"8 6\""));
    EXPECT_EQ(clamped->getPosition(), 3.0f);
    EXPECT_EQ(clamped->getFrameSize().y, 6.0f);

    a->setReversed(false);
    EXPECT_EQ(frameIds(*a), (std::vector<int>{0, 1, 2, 3, 4, 5}));

    // A speed that is no number keeps the default.
    EXPECT_EQ(make(frames(1, L"ANIMSPEED=\"nan\""))->getSpeed(), 20.0f);
    EXPECT_EQ(make(frames(1, L"ANIMSPEED=\"1 inf\""))->getSpeed(), 20.0f);
}

TEST(AnimationPlay, CloneCopiesPlayStateWithoutConnections) {
    Orvex::seedRandom(3);
    auto a = make(frames(4, L"NAME=\"src\" ANIMSPEED=\"2\" ANIMSPEED_TERM=\"rand[ 1 , 5 ]\" PLAY=\"1\""));
    Counter ended;
    a->ended.connect(&ended, &Counter::onSignal);
    a->update(0.75);
    Held<Texture2DAnimation> c(a->clone());
    EXPECT_NE(c->getId(), a->getId());
    EXPECT_EQ(c->getPosition(), a->getPosition());
    EXPECT_TRUE(c->isPlaying());
    EXPECT_EQ(frameIds(*c), frameIds(*a));
    // The formula is shared with its random values, and so are the frames.
    ASSERT_NE(c->getSpeedTerm(), nullptr);
    EXPECT_EQ(c->getSpeedTerm(), a->getSpeedTerm());
    EXPECT_EQ(&c->getFrames(), &a->getFrames());
    for (int i = 0; i < 10; ++i) c->update(1.0);
    EXPECT_EQ(ended.count, 0);
}

TEST(AnimationPlay, ReloadOnCloneRollsNewRandomValuesAndKeepsReverse) {
    Orvex::seedRandom(11);
    auto a = make(frames(5, L"RELOAD_ON_CLONE=\"1\" ANIMSPEED=\"1 1000\" REVERSE=\"1\" "
                             L"ANIMSPEED_TERM=\"rand[ 1 , 2 ]\""));
    EXPECT_FALSE(a->getDefinition().isEmpty());
    ASSERT_NE(a->getOwnTextures(), nullptr);
    Held<Texture2DAnimation> c(a->clone());
    EXPECT_NE(c->getSpeed(), a->getSpeed());
    EXPECT_NE(c->getSpeedTerm()->random, a->getSpeedTerm()->random);
    EXPECT_EQ(c->getOwnTextures(), a->getOwnTextures());
    // Rebuilt frames are reversed again (a stale reversed flag would leave them forward).
    EXPECT_TRUE(c->isReversed());
    EXPECT_EQ(frameIds(*c), (std::vector<int>{4, 3, 2, 1, 0}));

    // Without the key the definition and the own texture list are dropped after loading.
    auto plain = make(frames(2, L"ANIMSPEED=\"1 1000\""));
    EXPECT_TRUE(plain->getDefinition().isEmpty());
    EXPECT_EQ(plain->getOwnTextures(), nullptr);
    Held<Texture2DAnimation> plainClone(plain->clone());
    EXPECT_EQ(plainClone->getSpeed(), plain->getSpeed());
}
