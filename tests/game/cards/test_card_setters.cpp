// The card's animated setters as one matrix over every property: a delay only stores the goal
// behind the single wait, a change waiting on its own bit takes the new goal and speed without
// starting, a change of another property starts at once, a speed not above 0 jumps, and
// non-finite goals are refused. Also face and lock queries, marking colours and slots.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "game/look/Style.h"
#include "tests/game/cards/CardTestSupport.h"

namespace {

using Solitaire::Karte;
using cardtest::makeCard;

using cardtest::kNaN;

// One property: how to set it to goal number g (0 or 1 picks one of two distinct goals), where
// its interpolation's goal, current value and progress are, and its pending bit.
struct Property {
    char const* name;
    int bit;
    std::function<void(Karte&, int g, float speed, float delay)> set;
    std::function<float(Karte const&)> goal;     // a scalar view of the goal
    std::function<float(Karte const&)> current;  // the same view of the current value
    std::function<float(Karte const&)> t;
    std::function<float(Karte const&)> pendingSpeed;
};

D3DXVECTOR4 vec4(int g) { return g ? D3DXVECTOR4(1.0f, 0.0f, 1.0f, 0.0f) : D3DXVECTOR4(0.0f, 1.0f, 0.0f, 0.0f); }
float sum(D3DXVECTOR4 const& v) { return v.x * 1 + v.y * 2 + v.z * 4 + v.w * 8; }

std::vector<Property> const& properties() {
    static std::vector<Property> const list = {
        {"opacity", Karte::kPendingOpacity, [](Karte& c, int g, float s, float d) { c.setOpacity(g ? 0.25f : 0.75f, s, d); },
         [](Karte const& c) { return c.opacity.goal; }, [](Karte const& c) { return c.opacity.current; },
         [](Karte const& c) { return c.opacity.t; }, [](Karte const& c) { return c.pending.opacitySpeed; }},
        {"scale", Karte::kPendingScale, [](Karte& c, int g, float s, float d) { c.setScale(g ? 3.0f : 2.0f, s, d); },
         [](Karte const& c) { return c.scale.goal; }, [](Karte const& c) { return c.scale.current; },
         [](Karte const& c) { return c.scale.t; }, [](Karte const& c) { return c.pending.scaleSpeed; }},
        {"face", Karte::kPendingFace, [](Karte& c, int g, float s, float d) { c.setFaceUp(g == 0, s, d); },
         [](Karte const& c) { return c.face.goal; }, [](Karte const& c) { return c.face.current; },
         [](Karte const& c) { return c.face.t; }, [](Karte const& c) { return c.pending.faceSpeed; }},
        {"locks", Karte::kPendingLocks, [](Karte& c, int g, float s, float d) { c.setLocks(vec4(g), s, d); },
         [](Karte const& c) { return sum(c.locks.goal); }, [](Karte const& c) { return sum(c.locks.current); },
         [](Karte const& c) { return c.locks.t; }, [](Karte const& c) { return c.pending.locksSpeed; }},
        {"keys", Karte::kPendingKeys, [](Karte& c, int g, float s, float d) { c.setKeys(vec4(g), s, d); },
         [](Karte const& c) { return sum(c.keys.goal); }, [](Karte const& c) { return sum(c.keys.current); },
         [](Karte const& c) { return c.keys.t; }, [](Karte const& c) { return c.pending.keysSpeed; }},
        {"position", Karte::kPendingPosition,
         [](Karte& c, int g, float s, float d) { c.moveTo(D3DXVECTOR2(g ? 40.0f : 20.0f, 5.0f), s, d); },
         [](Karte const& c) { return c.position.goal.x; }, [](Karte const& c) { return c.position.current.x; },
         [](Karte const& c) { return c.position.t; }, [](Karte const& c) { return c.pending.positionSpeed; }},
        {"rotation", Karte::kPendingRotation,
         [](Karte& c, int g, float s, float d) { c.rotateTo(g ? 30.0f : 60.0f, s, d, false); },
         [](Karte const& c) { return c.rotation.goal; }, [](Karte const& c) { return c.rotation.current; },
         [](Karte const& c) { return c.rotation.t; }, [](Karte const& c) { return c.pending.rotationSpeed; }},
    };
    return list;
}

class CardSetters : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CardSetters, Matrix) {
    Property const& p = properties()[GetParam()];
    SCOPED_TRACE(p.name);
    Property const& other = properties()[(GetParam() + 1) % properties().size()];

    {  // A delay stores the goal behind the wait and starts nothing.
        auto card = makeCard();
        float const before = p.goal(*card);
        p.set(*card, 1, 2.0f, 0.5f);
        EXPECT_EQ(p.goal(*card), before);
        EXPECT_EQ(card->pendingMask, p.bit);
        EXPECT_FLOAT_EQ(card->waitTime, 0.5f);
    }
    {  // Waiting on its own bit: the new goal and speed replace the waiting ones, nothing starts;
       // when the wait ends the change runs with them.
        auto card = makeCard();
        float const before = p.goal(*card);
        p.set(*card, 1, 2.0f, 0.5f);
        p.set(*card, 0, 3.0f, 0.0f);
        EXPECT_EQ(p.goal(*card), before);
        EXPECT_EQ(p.pendingSpeed(*card), 3.0f);
        card->setWaitTimer(0.0f, 0);
        EXPECT_EQ(card->pendingMask, 0);
        auto reference = makeCard();
        p.set(*reference, 0, 3.0f, 0.0f);
        EXPECT_EQ(p.goal(*card), p.goal(*reference));
    }
    {  // Another property waits: this one starts at once and leaves the other pending.
        auto card = makeCard();
        other.set(*card, 1, 2.0f, 0.5f);
        auto reference = makeCard();
        p.set(*reference, 1, 2.0f, 0.0f);
        p.set(*card, 1, 2.0f, 0.0f);
        EXPECT_EQ(p.goal(*card), p.goal(*reference));
        EXPECT_EQ(card->pendingMask, other.bit);
    }
    for (float jumpSpeed : {0.0f, -1.0f, kNaN}) {  // Speeds not above 0 jump to the goal.
        auto card = makeCard();
        p.set(*card, 1, jumpSpeed, 0.0f);
        EXPECT_EQ(p.t(*card), 1.0f) << jumpSpeed;
        EXPECT_EQ(p.current(*card), p.goal(*card)) << jumpSpeed;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryProperty, CardSetters, ::testing::Range<std::size_t>(0, 7));

TEST(CardSetters, LaterDelayReplacesTheWaitOfAllPendingChanges) {
    auto card = makeCard();
    card->setOpacity(0.5f, 1.0f, 2.0f);
    card->setScale(2.0f, 1.0f, 0.25f);
    EXPECT_FLOAT_EQ(card->waitTime, 0.25f);
    card->setWaitTimer(0.0f, 0);
    EXPECT_EQ(card->opacity.goal, 0.5f);
    EXPECT_EQ(card->scale.goal, 2.0f);
}

TEST(CardSetters, FaceUpWithSpeedZero) {
    auto up = makeCard();
    up->setFaceUp(true, 0.0f, 0.0f);
    ASSERT_EQ(up->face.current, 1.0f);
    int changes = 0;
    struct Counter : sigslot::has_slots<> {
        int& n;
        explicit Counter(int& count) : n(count) {}
        void changed(Karte::FloatInterp&) { ++n; }
    } counter(changes);
    up->face.changedSignal.connect(&counter, &Counter::changed);
    up->setFaceUp(true, 0.0f, 0.0f);
    EXPECT_EQ(changes, 0) << "a face-up card turned up again changes nothing";
    EXPECT_TRUE(up->isFaceUp());
}

TEST(CardSetters, NonFiniteGoalsAreRefused) {
    auto card = makeCard();
    card->moveTo({kNaN, 1.0f}, 1.0f, 0.0f);
    card->setOpacity(kNaN, 1.0f, 0.0f);
    card->setScale(std::numeric_limits<float>::infinity(), 1.0f, 0.0f);
    card->rotateTo(kNaN, 1.0f, 0.0f, true);
    card->setLocks({kNaN, 0, 0, 0}, 1.0f, 0.0f);
    EXPECT_EQ(card->position.goal.x, 0.0f);
    EXPECT_EQ(card->opacity.goal, 1.0f);
    EXPECT_EQ(card->scale.goal, 1.0f);
    EXPECT_EQ(card->rotation.goal, 0.0f);
    EXPECT_FALSE(card->isLocked());
    EXPECT_EQ(card->pendingMask, 0);
}

TEST(CardQueries, FaceAndLocksFollowPendingGoalsFirst) {
    struct Case {
        bool faceGoal;
        float faceDelay;
        D3DXVECTOR4 locks;
        float lockDelay;
        bool faceUp;
        bool locked;
    };
    Case const cases[] = {
        {true, 0.0f, {0, 0, 0, 0}, 0.0f, true, false},
        {true, 1.0f, {0, 0, 0, 0}, 0.0f, true, false},   // pending face counts before the turn
        {false, 0.0f, {0, 0.5f, 0, 0}, 0.0f, false, true},
        {false, 0.0f, {0, 0, 0, 1}, 1.0f, false, true},  // pending locks count
    };
    for (Case const& c : cases) {
        auto card = makeCard();
        card->setFaceUp(c.faceGoal, 1.0f, c.faceDelay);
        card->setLocks(c.locks, 1.0f, c.lockDelay);
        EXPECT_EQ(card->isFaceUp(), c.faceUp);
        EXPECT_EQ(card->isLocked(), c.locked);
    }
}

TEST(CardMarks, TipFlagsTakeTheCardSetsTipColours) {
    Solitaire::Kartenset& set = cardtest::cardSet();
    auto card = makeCard();
    struct Case {
        int flags;
        D3DXCOLOR colour;
    };
    Case const cases[] = {
        {64, set.tipColour1}, {128, set.tipColour2}, {2, {0, 0, 0, 0}}, {64 | 128, {0, 0, 0, 0}}, {0, {0, 0, 0, 0}}};
    for (Case const& c : cases) {
        card->setMarkState(c.flags, 4.0f);
        EXPECT_EQ(card->markColour.r, c.colour.r) << c.flags;
        EXPECT_EQ(card->markColour.g, c.colour.g) << c.flags;
        EXPECT_EQ(card->markColour.b, c.colour.b) << c.flags;
        EXPECT_EQ(card->markColour.a, c.colour.a) << c.flags;
    }
}

TEST(CardMarks, SwingsAlternateWhileMarkedAndSettleWhenCleared) {
    auto card = makeCard();
    Solitaire::Style look(L"SWING");
    look.wobbles[Solitaire::Style::kSelectMoveable] = {{0.0f, 3.0f}, 6.0f, 2.0f};
    card->onStyleChanged(&look);
    card->setMarkState(Solitaire::kMarkMovable, 1.0f);
    float const firstY = card->markOffset.goal.y;
    float const firstAngle = card->markRotation.goal;
    EXPECT_EQ(std::fabs(firstY), 3.0f);
    EXPECT_EQ(std::fabs(firstAngle), 6.0f);
    cardtest::arriveOnce(card->markOffset);
    cardtest::arriveOnce(card->markRotation);
    EXPECT_EQ(card->markOffset.goal.y, -firstY) << "the swing turns back at its end";
    EXPECT_EQ(card->markRotation.goal, -firstAngle);
    // Both axes swinging: a new sign pair differs from the current one.
    look.wobbles[Solitaire::Style::kSelectMoveable].offset = {2.0f, 3.0f};
    for (int swing = 0; swing < 8; ++swing) {
        float const x = card->markOffset.goal.x;
        float const y = card->markOffset.goal.y;
        cardtest::arriveOnce(card->markOffset);
        EXPECT_TRUE(card->markOffset.goal.x != x || card->markOffset.goal.y != y);
        EXPECT_EQ(std::fabs(card->markOffset.goal.x), 2.0f);
        EXPECT_EQ(std::fabs(card->markOffset.goal.y), 3.0f);
    }
    card->setMarkState(0, -10.0f);
    EXPECT_EQ(card->markOffset.goal.y, 0.0f);
    EXPECT_EQ(card->markRotation.goal, 0.0f);
    card->onStyleChanged(Solitaire::StyleSettings::instance().getStyle());
}

TEST(CardSlots, CardSetGivesTheCellSizeAndNullIsIgnored) {
    auto card = makeCard();
    EXPECT_EQ(card->cardSize.x, cardtest::kCellWidth);
    EXPECT_EQ(card->cardSize.y, cardtest::kCellHeight);
    card->onKartensetChanged(nullptr);
    card->onStyleChanged(nullptr);
    EXPECT_EQ(card->cardSet, &cardtest::cardSet());
    EXPECT_NE(card->style, nullptr);
    EXPECT_EQ(card->getName(), L"KREUZ ASS");
    EXPECT_EQ(makeCard(12, 3)->getName(), L"HERZ KÖNIG");
}

}  // namespace
