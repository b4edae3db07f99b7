// The ring game on the shipped data ("MINIGAME_19": a disc and a ring that turn, a fixed outer
// ring, upright within 5 degrees), played by drags around the playfield's centre; its rules on
// small definitions of its own.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/gui/GUIWindow.h"
#include "port/d3dx9/d3dx9math.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Ring.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Ring;

class RingTest : public minigametest::MinigameFixture {
protected:
    D3DXVECTOR2 centre(Ring const& game) const { return middleOf(game.getPlayfield()->getScreenRect()); }

    // The screen point at the distance from the centre where the pointer angle is a (degrees): the
    // angle is measured from the centre to the pointer's opposite side.
    D3DXVECTOR2 pointAt(Ring const& game, float a, float distance) const {
        return centre(game) - D3DXVECTOR2(std::cos(D3DXToRadian(a)), std::sin(D3DXToRadian(a))) * distance;
    }

    // Turns the ring upright by dragging around the centre in steps of at most 10 degrees, at the
    // middle of its screen radii.
    void turnUpright(Ring& game, Ring::Objekt& ring) {
        float const distance = (game.screenRadius(ring.innerRadius) + game.screenRadius(ring.outerRadius)) / 2.0f;
        float turn = -std::fmod(ring.angle, 360.0f);
        if (turn < -180.0f) turn += 360.0f;
        if (turn > 180.0f) turn -= 360.0f;
        float const start = 30.0f;
        moveTo(pointAt(game, start, distance));
        press(pointAt(game, start, distance));
        int const steps = static_cast<int>(std::ceil(std::fabs(turn) / 10.0f)) + 1;
        for (int i = 1; i <= steps && !game.isFinished(false); ++i)
            moveTo(pointAt(game, start + turn * static_cast<float>(i) / static_cast<float>(steps), distance));
        release(pointAt(game, start + turn, distance));
    }

    void win(Ring& game) {
        for (Ring::Objekt* ring : game.getRings())
            if (ring->rotierbar && !game.isUpright(ring->angle) && !game.isFinished(false)) turnUpright(game, *ring);
    }

    Ring* defineAndPlay(std::wstring const& keys, std::wstring const& rings) {
        define(L"<MINISPIEL TYPE=\"RING\" NAME=\"R\" LSG_TIME=\"60\" " + keys + L">" + rings + L"</MINISPIEL>");
        return play<Ring>(L"R");
    }
};

wchar_t const* const kThreeRings =
    L"<OBJEKT RADIUS=\"0 48\" ANIMATION=\"MG_RING_1\"/>"
    L"<OBJEKT RADIUS=\"48 88\" ANIMATION=\"MG_RING_2\"/>"
    L"<OBJEKT RADIUS=\"88 128\" ANIMATION=\"MG_RING_3\" ROTIERBAR=\"0\"/>";

TEST_F(RingTest, WonByTurningEveryRingUpright) {
    auto* game = dynamic_cast<Ring*>(begin(L"MINIGAME_19"));
    ASSERT_NE(game, nullptr);
    keep("ring_hilfe");
    closeHelp();
    keep("ring_start");
    ASSERT_EQ(game->getRings().size(), 3u);
    // Sorted by outer radius; the outer ring stands still.
    EXPECT_FALSE(game->getRings()[2]->rotierbar);
    EXPECT_EQ(game->getRings()[2]->angle, 0.0f);
    turnUpright(*game, *game->getRings()[0]);
    keep("ring_mitte");
    win(*game);
    EXPECT_TRUE(game->isFinished(false));
    tick();
    keep("ring_geloest");
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(RingTest, LostWhenTheTimeRunsOutOrClosedByCancel) {
    ASSERT_NE(play<Ring>(L"MINIGAME_19"), nullptr);
    loseByTime();
    expectSkipped();
    ASSERT_NE(play<Ring>(L"MINIGAME_19"), nullptr);
    clickPart(L"RING_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(RingTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    auto const winIt = [this](Solitaire::Minispiel& game) { win(dynamic_cast<Ring&>(game)); };
    SeededRun const first = playFromSeed(77, L"MINIGAME_19", winIt);
    SeededRun const second = playFromSeed(77, L"MINIGAME_19", winIt);
    ASSERT_FALSE(first.signals.empty());
    EXPECT_EQ(first.signals, second.signals);
    EXPECT_TRUE(first.picture == second.picture);
    expectWon();
}

TEST_F(RingTest, ADragTurnsTheGrabbedRingByThePointerAngle) {
    Ring* game = play<Ring>(L"MINIGAME_19");
    ASSERT_NE(game, nullptr);
    Ring::Objekt& disc = *game->getRings()[0];
    disc.angle = 100.0f;
    float const distance = game->screenRadius(24.0f);
    moveTo(pointAt(*game, 0.0f, distance));
    press(pointAt(*game, 0.0f, distance));
    EXPECT_EQ(game->getGrabbed(), &disc);
    moveTo(pointAt(*game, -20.0f, distance));
    EXPECT_NEAR(disc.angle, 80.0f, 1.0f);
    release(pointAt(*game, -20.0f, distance));
    EXPECT_EQ(game->getGrabbed(), nullptr);
    // The fixed outer ring is never grabbed.
    float const outer = game->screenRadius(108.0f);
    press(pointAt(*game, 0.0f, outer));
    EXPECT_EQ(game->getGrabbed(), nullptr);
    release(pointAt(*game, 0.0f, outer));
}

TEST_F(RingTest, TurningAcrossTheJumpBelowTheCentreKeepsTheRingWhereItWas) {
    Ring* game = play<Ring>(L"MINIGAME_19");
    ASSERT_NE(game, nullptr);
    Ring::Objekt& disc = *game->getRings()[0];
    disc.angle = 100.0f;
    float const distance = game->screenRadius(24.0f);
    // From just left of straight below (-85 degrees) to just right of it (265 degrees).
    press(pointAt(*game, -85.0f, distance));
    moveTo(pointAt(*game, -95.0f, distance));
    release(pointAt(*game, -95.0f, distance));
    float const turned = disc.angle - 100.0f;
    EXPECT_NEAR(std::fabs(turned), 350.0f, 1.0f);
    EXPECT_NEAR(std::fmod(disc.angle + 720.0f, 360.0f), 90.0f, 1.0f);
}

struct AngleCase {
    D3DXVECTOR2 offset;  // pointer - centre
    float degrees;
};

class RingPointerAngleTest : public ::testing::TestWithParam<AngleCase> {};

TEST_P(RingPointerAngleTest, MeasuresTowardsThePointersOppositeSide) {
    Orvex::FRect const field(100.0f, 100.0f, 300.0f, 300.0f);
    D3DXVECTOR2 const pointer = D3DXVECTOR2(200.0f, 200.0f) + GetParam().offset;
    EXPECT_NEAR(Ring::pointerAngle(field, pointer), GetParam().degrees, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Cases, RingPointerAngleTest,
                         ::testing::Values(AngleCase{{-10.0f, 0.0f}, 0.0f}, AngleCase{{0.0f, -10.0f}, 90.0f},
                                           AngleCase{{10.0f, 0.0f}, 180.0f}, AngleCase{{0.0f, 10.0f}, 270.0f},
                                           AngleCase{{-10.0f, 10.0f}, -45.0f}, AngleCase{{10.0f, 10.0f}, 225.0f},
                                           AngleCase{{0.0f, 0.0f}, 90.0f}));

struct UprightCase {
    float deltaWinkel;
    float angle;
    bool upright;
};

class RingUprightTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<UprightCase> {};

TEST_P(RingUprightTest, IsUprightWithinDeltaWinkelOfEveryFullTurn) {
    define(L"<MINISPIEL TYPE=\"RING\" NAME=\"R\" DELTA_WINKEL=\"" + std::to_wstring(GetParam().deltaWinkel) +
           L"\"><OBJEKT RADIUS=\"0 10\"/></MINISPIEL>");
    auto* game = dynamic_cast<Ring*>(manager().findMinispiel(L"R"));
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->isUpright(GetParam().angle), GetParam().upright) << GetParam().angle;
    game->getRings()[0]->angle = GetParam().angle;
    EXPECT_EQ(game->isSolved(), GetParam().upright);
}

float const kInf = std::numeric_limits<float>::infinity();
float const kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, RingUprightTest,
    ::testing::Values(UprightCase{2.0f, 358.5f, true}, UprightCase{2.0f, 1.5f, true}, UprightCase{2.0f, 2.0f, false},
                      UprightCase{2.0f, 358.0f, false}, UprightCase{2.0f, -1.5f, true}, UprightCase{2.0f, 721.0f, true},
                      UprightCase{2.0f, -362.5f, false}, UprightCase{5.0f, 4.0f, true}, UprightCase{2.0f, 0.0f, true},
                      // Not finite: not upright, and no endless normalising.
                      UprightCase{2.0f, kInf, false}, UprightCase{2.0f, -kInf, false}, UprightCase{2.0f, kNaN, false}));

TEST_F(RingTest, APressGrabsOnlyStrictlyBetweenARingsRadii) {
    Ring* game = defineAndPlay(L"", kThreeRings);
    ASSERT_NE(game, nullptr);
    D3DXVECTOR2 const c = centre(*game);
    float const border = game->screenRadius(48.0f);
    ASSERT_EQ(border, std::floor(border));
    ASSERT_EQ(c.x, std::floor(c.x));
    struct Press {
        float distance;
        Ring::Objekt* grabbed;
    } const presses[] = {{border - 1.0f, game->getRings()[0]},
                         {border, nullptr},
                         {border + 1.0f, game->getRings()[1]},
                         // The disc's inner radius is 0: the very centre grabs nothing either.
                         {0.0f, nullptr}};
    for (Press const& p : presses) {
        press(D3DXVECTOR2(c.x - p.distance, c.y));
        EXPECT_EQ(game->getGrabbed(), p.grabbed) << p.distance;
        release(D3DXVECTOR2(c.x - p.distance, c.y));
    }
}

TEST_F(RingTest, ARadiusMaxOfZeroIsRefusedAndRingsWithoutRadiusGrabNothing) {
    logtest::LogWatch watch;
    Ring* game = defineAndPlay(L"RADIUS_MAX=\"0\"", kThreeRings);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getRadiusMax(), 128.0f);
    bool logged = false;
    for (std::wstring const& line : watch.lines()) logged = logged || logtest::contains(line, L"RADIUS_MAX");
    EXPECT_TRUE(logged);

    game = defineAndPlay(L"", L"<OBJEKT/><OBJEKT RADIUS=\"0\"/>");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getRadiusMax(), 0.0f);
    D3DXVECTOR2 const c = centre(*game);
    press(c + D3DXVECTOR2(5.0f, 0.0f));
    moveTo(c + D3DXVECTOR2(0.0f, 5.0f));
    release(c + D3DXVECTOR2(0.0f, 5.0f));
    EXPECT_EQ(game->getGrabbed(), nullptr);
    EXPECT_FALSE(game->isFinished(false));
}

TEST_F(RingTest, RingsThatCannotTurnStayAtZeroAndAreNotJudged) {
    Ring* game = defineAndPlay(L"",
                               L"<OBJEKT RADIUS=\"0 50\" ROTIERBAR=\"0\"/><OBJEKT RADIUS=\"50 100\" "
                               L"ROTIERBAR=\"0\"/>");
    ASSERT_NE(game, nullptr);
    for (Ring::Objekt* ring : game->getRings()) EXPECT_EQ(ring->angle, 0.0f);
    game->getRings()[0]->angle = 90.0f;
    EXPECT_TRUE(game->isSolved());
    D3DXVECTOR2 const c = centre(*game);
    press(c + D3DXVECTOR2(10.0f, 0.0f));
    release(c + D3DXVECTOR2(10.0f, 0.0f));
    // Nothing was grabbed, so nothing was judged: the game ends only by its time.
    EXPECT_FALSE(game->isFinished(false));
}

TEST_F(RingTest, TheSolvedCheckStartsTheMarkedAnimationsUprightOrNot) {
    Ring* game = defineAndPlay(L"DELTA_WINKEL=\"5\"",
                               L"<OBJEKT RADIUS=\"0 50\" ANIMATION=\"MG_RING_1\" START_ANI=\"1\"/>"
                               L"<OBJEKT RADIUS=\"50 100\" ANIMATION=\"MG_RING_2\"/>");
    ASSERT_NE(game, nullptr);
    Ring::Objekt& marked = *game->getRings()[0];
    Ring::Objekt& plain = *game->getRings()[1];
    // A new attempt stops them (the click that closed the help may have judged already).
    game->start();
    EXPECT_FALSE(marked.animation->isPlaying());
    EXPECT_FALSE(plain.animation->isPlaying());
    marked.angle = 90.0f;
    plain.angle = 0.0f;
    EXPECT_FALSE(game->isSolved());
    EXPECT_TRUE(marked.animation->isPlaying());
    EXPECT_FALSE(plain.animation->isPlaying());
}

}  // namespace
