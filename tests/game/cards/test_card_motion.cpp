// Card motion: glide times by distance and speed, the tolerance that keeps a running glide, the
// turn with and without wrap, the deferred start frame by frame, and isMoving.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/look/Style.h"
#include "tests/game/cards/CardTestSupport.h"

namespace {

using Solitaire::Karte;
using cardtest::makeCard;

TEST(CardGlide, TimesByDistanceAndSpeed) {
    // The default style: "ANORDNENSPEED_SPEED_MULT" 100, "ANORDNENSPEED_MAX_LIN_DIST" 100.
    struct Case {
        float distance;
        float speed;
        float seconds;
    };
    Case const cases[] = {
        {50.0f, 1.0f, 0.5f}, {100.0f, 1.0f, 1.0f}, {400.0f, 1.0f, 1.0f}, {50.0f, 2.0f, 0.25f}, {400.0f, 4.0f, 0.25f},
    };
    for (Case const& c : cases) {
        auto card = makeCard();
        card->moveTo({0.6f * c.distance, 0.8f * c.distance}, c.speed, 0.0f);
        EXPECT_NEAR(cardtest::secondsToArrive(card->position), c.seconds, 0.002f) << c.distance << " at " << c.speed;
        EXPECT_NEAR(card->position.current.y, 0.8f * c.distance, 1e-3f);
    }
}

TEST(CardGlide, ZeroLinearDistanceJumpsInsteadOfDividingByZero) {
    auto card = makeCard();
    Solitaire::Style look(L"NO_LINEAR");
    look.arrangeMaxLinDist = 0.0f;
    card->onStyleChanged(&look);
    card->moveTo({30.0f, 40.0f}, 1.0f, 0.0f);
    EXPECT_EQ(card->position.t, 1.0f);
    EXPECT_EQ(card->position.current.x, 30.0f);
    EXPECT_TRUE(std::isfinite(card->position.speed));
    card->onStyleChanged(Solitaire::StyleSettings::instance().getStyle());
}

TEST(CardGlide, AGoalWithinTheToleranceKeepsTheRunningGlide) {
    auto card = makeCard();
    card->moveTo({100.0f, 0.0f}, 1.0f, 0.0f);
    card->position.update(0.25f);
    float const t = card->position.t;
    card->moveTo({100.05f, -0.05f}, 5.0f, 0.0f);
    EXPECT_EQ(card->position.t, t);
    EXPECT_EQ(card->position.goal.x, 100.0f);
    EXPECT_EQ(card->pending.position.x, 100.05f) << "the stored goal still follows";
    card->moveTo({100.2f, 0.0f}, 1.0f, 0.0f);
    EXPECT_EQ(card->position.t, 0.0f) << "beyond the tolerance a new glide starts";
}

TEST(CardTurn, WrapBringsAnglesIntoPlusMinus90) {
    // A huge angle ends within the range at once instead of stepping by 180 for ever.
    constexpr float kAnyWithin90 = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float angle;
        bool wrap;
        float goal;
    };
    Case const cases[] = {
        {270.0f, true, 90.0f}, {-200.0f, true, -20.0f}, {450.0f, true, 90.0f}, {180.0f, true, 0.0f},
        {-90.0f, true, -90.0f}, {270.0f, false, 270.0f}, {1.0e30f, true, kAnyWithin90},
    };
    for (Case const& c : cases) {
        auto card = makeCard();
        card->rotateTo(c.angle, 0.0f, 0.0f, c.wrap);
        if (!std::isnan(c.goal)) {
            EXPECT_FLOAT_EQ(card->rotation.goal, c.goal) << c.angle;
        }
        EXPECT_LE(std::fabs(card->rotation.goal), c.wrap ? 90.0f : 360.0f);
    }
    auto card = makeCard();
    card->rotateTo(40.0f, 2.0f, 0.0f, true);
    EXPECT_EQ(card->rotation.exponent, 0.5f);
    EXPECT_TRUE(card->rotation.running);
    EXPECT_NEAR(cardtest::secondsToArrive(card->rotation), 0.5f, 0.002f);
}

TEST(CardWait, DeferredGlideStartsInTheFrameItsDelayRunsOut) {
    auto card = makeCard();
    card->moveTo({80.0f, 0.0f}, 1.0f, 0.5f);
    card->rotateTo(45.0f, 1.0f, 0.5f, true);
    card->setFaceUp(true, 1.0f, 0.5f);
    float const dt = 0.2f;
    int frame = 0;
    for (; frame < 5 && card->position.goal.x == 0.0f; ++frame) card->setWaitTimer(card->waitTime - dt, 0);
    EXPECT_EQ(frame, 3) << "0.5 s in frames of 0.2 s: the third frame reaches 0 or below";
    EXPECT_EQ(card->rotation.goal, 45.0f);
    EXPECT_EQ(card->face.goal, 1.0f);
    EXPECT_EQ(card->pendingMask, 0);
    D3DXVECTOR2 where;
    card->getPosition(where, false, true);
    EXPECT_EQ(where.x, 80.0f);
}

TEST(CardWait, PendingGoalIsWhatGetPositionReportsWhileWaiting) {
    auto card = makeCard();
    card->moveTo({10.0f, 0.0f}, 0.0f, 0.0f);
    card->moveTo({50.0f, 5.0f}, 1.0f, 1.0f);
    struct Case {
        bool current;
        bool pending;
        float x;
    };
    Case const cases[] = {{false, true, 50.0f}, {true, true, 50.0f}, {false, false, 10.0f}, {true, false, 10.0f}};
    for (Case const& c : cases) {
        D3DXVECTOR2 where;
        card->getPosition(where, c.current, c.pending);
        EXPECT_EQ(where.x, c.x) << c.current << c.pending;
    }
}

TEST(CardMoving, RunningGlideOrFlight) {
    auto card = makeCard();
    EXPECT_FALSE(card->isMoving());
    card->moveTo({100.0f, 0.0f}, 1.0f, 0.0f);
    EXPECT_TRUE(card->isMoving());
    cardtest::secondsToArrive(card->position);
    EXPECT_FALSE(card->isMoving());
    card->flightTime = 0.5f;
    EXPECT_TRUE(card->isMoving());
}

}  // namespace
