// Card flights: the fly-spline reader and its refusals, a card's flight step, the end-of-game
// fly-out over the shipped fly splines (duration, one flight sound per 14 cards, every card
// landing in time), constant end times that no wait can break, and the deal gliding every card to
// its place in time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/render/TextureSettings.h"
#include "game/cards/CardFlight.h"
#include "game/cards/FlySpline.h"
#include "game/look/GameStyle.h"
#include "game/look/Style.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/CardTestSupport.h"
#include "tests/game/cards/PlayTable.h"
#include "tests/game/look/StyleFiles.h"

namespace Solitaire {
namespace {

// One fly spline from the text of its element.
std::unique_ptr<FlySpline, void (*)(FlySpline*)> readSpline(std::wstring const& text) {
    Orvex::XMLNode node = styletest::tree(text);
    return {new FlySpline(node, L"test.fsp"), [](FlySpline* s) { s->release(); }};
}

std::wstring repeat(int count, std::wstring const& text) {
    std::wstring out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

constexpr wchar_t kPoint[] = L"<CONTROL_POINT X=\"0.5\" Y=\"0.5\"/>";

// A fly step with the given attributes and one control point.
std::wstring step(std::wstring const& attributes) {
    return L"<KARTEN_FLY_SPLINE " + attributes + L">" + kPoint + L"</KARTEN_FLY_SPLINE>";
}

TEST(FlySplineRead, KeysDefaultsAndRefusals) {
    int const kPos = kFlyUsePosition;
    struct Case {
        std::wstring body;       // inside FLY_SPLINE
        wchar_t const* refused;  // what the one log line names, or null for none
        std::size_t steps;
        float along, to, wait;  // of the first step
        int params;
        bool constant;
    } const cases[] = {
        {step(L""), nullptr, 1, 1.0f, 1.0f, 0.0f, kPos, false},
        {step(L"PARAMS=\"USE_ROT MULT_SCALE\" CONSTANT_END_TIME=\"0.5\""), nullptr, 1, 1, 1, 0, 2 | 512, true},
        {step(L"PARAMS=\"OTHER\" CONSTANT_END_TIME=\"0.0\""), nullptr, 1, 1.0f, 1.0f, 0.0f, 0, false},
        // A speed that is not positive would ask for an endless or backward flight.
        {step(L"ALONG_SPEED=\"0\""), L"ALONG_SPEED", 1, 1.0f, 1.0f, 0.0f, kPos, false},
        {step(L"ALONG_SPEED=\"-2\" TO_SPEED=\"3\""), L"ALONG_SPEED", 1, 1.0f, 3.0f, 0.0f, kPos, false},
        {step(L"TO_SPEED=\"nan\""), L"TO_SPEED", 1, 1.0f, 1.0f, 0.0f, kPos, false},
        {step(L"WAIT_TIMER_MAX=\"inf\" ALONG_SPEED=\"2\""), L"WAIT_TIMER_MAX", 1, 2.0f, 1.0f, 0.0f, kPos, false},
        // No path to follow: the step goes.
        {L"<KARTEN_FLY_SPLINE/>" + step(L"ALONG_SPEED=\"2\""), L"without control points", 1, 2, 1, 0, kPos, false},
        {repeat(FlySpline::kMaxSteps + 40, step(L"")), L"steps", FlySpline::kMaxSteps, 1, 1, 0, kPos, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(std::string(c.body.begin(), c.body.begin() + std::min<std::size_t>(c.body.size(), 90)));
        logtest::LogWatch const watch;
        auto const spline = readSpline(L"<FLY_SPLINE NAME=\"S\">\n" + c.body + L"</FLY_SPLINE>");
        auto const errors = watch.errors();
        if (c.refused) {
            ASSERT_EQ(errors.size(), 1u);
            EXPECT_TRUE(logtest::contains(errors[0], L"test.fsp") && logtest::contains(errors[0], L"line 2") &&
                        logtest::contains(errors[0], c.refused))
                << std::string(errors[0].begin(), errors[0].end());
        } else {
            EXPECT_TRUE(errors.empty());
        }
        ASSERT_EQ(spline->steps.size(), c.steps);
        FlyStep const& first = spline->steps.front();
        EXPECT_EQ(first.alongSpeed, c.along);
        EXPECT_EQ(first.toSpeed, c.to);
        EXPECT_EQ(first.waitTimerMax, c.wait);
        EXPECT_EQ(first.params, c.params);
        EXPECT_EQ(first.constantEndTime, c.constant);
    }
    logtest::LogWatch const watch;
    auto const many = readSpline(L"<FLY_SPLINE><KARTEN_FLY_SPLINE>" + repeat(FlySpline::kMaxControlPoints + 1, kPoint) +
                                 L"</KARTEN_FLY_SPLINE></FLY_SPLINE>");
    EXPECT_EQ(many->steps.front().points.size(), FlySpline::kMaxControlPoints);
    EXPECT_EQ(watch.errors().size(), 1u);
}

// A straight path from (100, 0) to (300, 0), turning by 90 and growing to 3 on the way.
Orvex::Spline* straightPath() {
    auto* path = new Orvex::Spline();
    for (float x : {100.0f, 300.0f}) {
        Orvex::SplinePoint point;
        point.position[0] = x;
        point.userData[0] = x < 200.0f ? 0.0f : 90.0f;
        point.userData[1] = x < 200.0f ? 1.0f : 3.0f;
        path->getControlPoints().push_back(point);
    }
    path->rebuildTables();
    return path;
}

TEST(CardFlightStep, WaitsApproachesTravelsAndAppliesItsParams) {
    // The card starts at (0, 100), turned 10 degrees, at scale 2; speed along 1 (a 1 s path).
    struct Case {
        int params;
        float toSpeed;
        float delay;
        D3DXVECTOR2 end;  // where the card lands
        float rotation, scale;
    } const cases[] = {
        {kFlyUsePosition, 1.0f, 0.0f, {300.0f, 0.0f}, 10.0f, 2.0f},
        {kFlyUsePosition, 1.0f, 0.5f, {300.0f, 0.0f}, 10.0f, 2.0f},
        // Approaching at half the speed: halfway between the start and the path's end.
        {kFlyUsePosition, 0.5f, 0.0f, {150.0f, 50.0f}, 10.0f, 2.0f},
        {kFlyUseRotation | kFlyUseScale, 1.0f, 0.0f, {0.0f, 100.0f}, 90.0f, 3.0f},
        {kFlyAddRotation | kFlyMultScale, 1.0f, 0.0f, {0.0f, 100.0f}, 100.0f, 6.0f},
        {0, 1.0f, 0.0f, {0.0f, 100.0f}, 10.0f, 2.0f},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.params);
        auto card = cardtest::makeCard();
        card->moveTo({0.0f, 100.0f}, 0.0f, 0.0f);
        card->rotateTo(10.0f, 0.0f, 0.0f, false);
        card->setScale(2.0f, 0.0f, 0.0f);
        Orvex::Spline* path = straightPath();
        auto flight = std::make_unique<CardFlight>(path);
        flight->delay = c.delay;
        flight->towardSpeed = c.toSpeed;
        flight->params = c.params;
        card->setFlight(std::move(flight));
        EXPECT_EQ(path->getRefCount(), 2);
        float const step = 1.0f / 64.0f;  // exact in binary: no drift over the frames
        float seconds = 0.0f;
        for (; seconds + step <= c.delay; seconds += step) {
            card->stepFlight(step);
            ASSERT_EQ(card->position.current.x, 0.0f) << "nothing moves while the flight waits";
        }
        while (card->isFlying() && seconds < 10.0f) {
            card->stepFlight(step);
            seconds += step;
        }
        EXPECT_FALSE(card->isFlying());
        EXPECT_EQ(card->flightTime, -1.0f);
        EXPECT_NEAR(seconds, 1.0f + c.delay, 1e-4f);
        EXPECT_NEAR(card->position.current.x, c.end.x, 1e-2f);
        EXPECT_NEAR(card->position.current.y, c.end.y, 1e-2f);
        EXPECT_NEAR(card->rotation.current, c.rotation, 1e-3f);
        EXPECT_NEAR(card->scale.current, c.scale, 1e-3f);
        EXPECT_EQ(path->getRefCount(), 1) << "the ended flight gave its path back";
        path->release();
    }
}

TEST(CardFlightStep, ASpeedThatIsNoPositiveNumberStillEndsAndARestoredCardFliesNoMore) {
    for (float speed : {0.0f, -1.0f, std::nanf("")}) {
        auto card = cardtest::makeCard();
        auto flight = std::make_unique<CardFlight>(nullptr);
        flight->alongSpeed = speed;
        card->setFlight(std::move(flight));
        ASSERT_TRUE(card->isFlying());
        for (int i = 0; i < 2000 && card->isFlying(); ++i) card->stepFlight(1.0f);
        EXPECT_FALSE(card->isFlying()) << speed;
    }
    auto card = cardtest::makeCard();
    card->saveUndoState();
    Orvex::Spline* path = straightPath();
    card->setFlight(std::make_unique<CardFlight>(path));
    card->stepFlight(0.25f);
    card->stepHistory(0);
    EXPECT_FALSE(card->isFlying());
    EXPECT_EQ(path->getRefCount(), 1);
    path->release();
}

// A dealt table with the shipped styles and fly splines.
class FlightTable : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        styletest::addSourceSearchPath();
        Orvex::TextureModuleSettings::get().suspendOnLoad = true;
        Orvex::XMLNode styles;
        ASSERT_TRUE(styles.load(L"data\\Styles.sty"));
        StyleSettings::instance().load(styles, L"data\\Styles.sty");
        FlySpline::clearList();
        ASSERT_TRUE(FlySpline::loadFile());
    }
    void TearDown() override {
        FlySpline::clearList();
        PlayTable::TearDown();
        styletest::resetSettings();
        Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
    }

    std::vector<Karte*> flying() const {
        std::vector<Karte*> out;
        for (Karte* card : manager().cards)
            if (card->isFlying()) out.push_back(card);
        return out;
    }
    // Each flying card's landing time: its wait plus the path at its speed.
    static float landing(Karte const& card) { return card.flight->delay + 1.0f / card.flight->alongSpeed; }
};

TEST_F(FlightTable, TheDealGlidesEveryCardToItsPlaceWithinItsWaitAndGlideTime) {
    Style const& look = *StyleSettings::instance().getStyle();
    float const dt = 1.0f / 60.0f;
    for (std::wstring const& file : {cardtest::variantFile(L"Goldrausch"), cardtest::variantFile(L"Spinne")}) {
        SCOPED_TRACE(cardtest::narrow(file));
        start(file, L"4711", false);
        struct Arrival {
            Karte* card;
            D3DXVECTOR2 place;
            float due;
        };
        std::vector<Arrival> arrivals;
        float last = 0.0f;
        for (Karte* card : manager().cards) {
            D3DXVECTOR2 place;
            card->getPosition(place, false, true);
            D3DXVECTOR2 const from = card->position.current;
            float const distance = std::hypot(place.x - from.x, place.y - from.y);
            float const glide =
                std::min(distance, look.arrangeMaxLinDist) / (look.arrangeSpeed * look.arrangeSpeedMult);
            float const due = std::max(card->waitTime, 0.0f) + glide;
            ASSERT_GT(distance, 100.0f) << "every card comes in from outside the table";
            arrivals.push_back({card, place, due});
            last = std::max(last, due);
        }
        for (float time = 0.0f; time < last + 2.0f * dt; time += dt) {
            frames(1, dt);
            for (Arrival const& a : arrivals) {
                if (time < a.due + dt) continue;
                ASSERT_NEAR(a.card->position.current.x, a.place.x, 0.5f) << time << " s, due at " << a.due;
                ASSERT_NEAR(a.card->position.current.y, a.place.y, 0.5f) << time << " s, due at " << a.due;
            }
        }
    }
}

TEST_F(FlightTable, AWinningFlyOutLastsAsComputedWithOneSoundPer14Cards) {
    start(cardtest::variantFile(L"Goldrausch"), L"4711", true);
    int const total = static_cast<int>(manager().cards.size());
    // "KARTEN_FLY_WIN": two steps side by side, each (1 / 0.5 + a wait of 2.0) x 1.0 seconds; the
    // time given back is that over the two steps, the cards fly the whole four seconds.
    float const duration = manager().startEndFlyOut(L"KARTEN_FLY_WIN");
    EXPECT_FLOAT_EQ(duration, 2.0f);
    float const flightTime = 2.0f * duration;
    ASSERT_EQ(flying().size(), manager().cards.size());
    for (Kartenstapel const* pile : manager().piles) EXPECT_TRUE(pile->getCardsWithLinked().empty());

    std::wstring const sound = manager().getGameStyle()->getSoundName(GameStyle::kSoundFlyStart);
    ASSERT_FALSE(sound.empty());
    int const n = total / FlySpline::kCardsPerSound;
    ASSERT_EQ(manager().getDelayedSounds().size(), static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) {
        EXPECT_FLOAT_EQ(manager().getDelayedSounds()[j].delay, static_cast<float>(j) / static_cast<float>(n) * duration);
        EXPECT_EQ(manager().getDelayedSounds()[j].name, sound);
    }

    float latest = 0.0f;
    for (Karte const* card : flying()) latest = std::max(latest, landing(*card));
    EXPECT_LE(latest, flightTime);
    EXPECT_GT(latest, flightTime - 0.25f) << "the flight is not over long before its steps";
    float const dt = 1.0f / 60.0f;
    frames(static_cast<int>(flightTime / dt) + 2, dt);
    EXPECT_TRUE(flying().empty());
    EXPECT_TRUE(manager().getDelayedSounds().empty()) << "every flight sound played";
    for (Karte const* card : manager().cards) {
        EXPECT_TRUE(std::isfinite(card->position.current.x) && std::isfinite(card->rotation.current));
        EXPECT_LT(card->position.current.y, manager().getTableRect().top) << "the win throws the cards out over the top";
    }
}

TEST_F(FlightTable, ALostGameFliesEveryCardInAtOnceAndAnUnknownOrEmptySplineNone) {
    start(cardtest::variantFile(L"Goldrausch"), L"4711", true);
    std::string const before = signature();
    EXPECT_EQ(manager().startEndFlyOut(L"NO_SUCH_FLIGHT"), 0.0f);
    auto const empty = readSpline(L"<FLY_SPLINE NAME=\"EMPTY\"><KARTEN_FLY_SPLINE/></FLY_SPLINE>");
    EXPECT_EQ(empty->startFlight(manager().piles, manager()), 0.0f);
    EXPECT_TRUE(flying().empty());
    EXPECT_EQ(signature(), before);
    EXPECT_TRUE(manager().getDelayedSounds().empty());
    // "KARTEN_FLY_LOSE": one step with a constant end time, a path of 1 / 0.4 seconds.
    EXPECT_FLOAT_EQ(manager().startEndFlyOut(L"KARTEN_FLY_LOSE"), 2.5f);
    ASSERT_EQ(flying().size(), manager().cards.size());
    for (Karte const* card : flying()) EXPECT_NEAR(landing(*card), 2.5f, 1e-4f);
}

TEST_F(FlightTable, ConstantEndTimesHoldWhateverTheWaits) {
    // Waits beyond the path time, and a second step that starts after the first: the plain formula
    // 1 / (1 / speed - delay) divides by zero or turns negative for both.
    start(cardtest::variantFile(L"Goldrausch"), L"4711", true);
    auto const spline = readSpline(
        L"<FLY_SPLINE NAME=\"HARD\">"
        L"<KARTEN_FLY_SPLINE CONSTANT_END_TIME=\"1\" WAIT_TIMER_MAX=\"5\" ALONG_SPEED=\"1\">" + std::wstring(kPoint) +
        L"</KARTEN_FLY_SPLINE>"
        L"<KARTEN_FLY_SPLINE CONSTANT_END_TIME=\"1\" WAIT_TIMER_MAX=\"1\" ALONG_SPEED=\"0.5\">" + std::wstring(kPoint) +
        L"</KARTEN_FLY_SPLINE></FLY_SPLINE>");
    EXPECT_FLOAT_EQ(spline->startFlight(manager().piles, manager()), 3.0f);
    int first = 0, second = 0;
    for (Karte const* card : flying()) {
        float const speed = card->flight->alongSpeed;
        ASSERT_TRUE(std::isfinite(speed) && speed > 0.0f);
        float const land = landing(*card);
        if (std::fabs(land - 1.0f) < 1e-4f) ++first;
        else if (std::fabs(land - 3.0f) < 1e-4f) ++second;
        else ADD_FAILURE() << "lands at " << land;
        EXPECT_GE(1.0f / speed, FlySpline::kMinTravelShare / (land < 2.0f ? 1.0f : 0.5f) - 1e-5f);
    }
    EXPECT_GT(first, 0);
    EXPECT_GT(second, 0);
    frames(200, 1.0 / 60.0);
    EXPECT_TRUE(flying().empty());
}

// A control point's place is a share of the view and its scale multiplies the card: 1e37 drew the
// cards past a float, 3e38 and 1e7 were taken with no line. Past Orvex::kMaxMeasure a number
// is refused with its line and keeps its default (0); every card flies and is drawn finitely.
TEST_F(FlightTable, ControlPointNumbersPastTheBoundAreRefusedAndEveryCardFliesFinitely) {
    struct Row {
        wchar_t const* point;  // the keys of the second control point, on line 4
        wchar_t const* refused;
        float FlyControlPoint::* field;
    } const rows[] = {
        {L"X=\"3e38\" Y=\"0.5\"", L"\"X\" \"3e38\" is not a number within -1e+06..1e+06", &FlyControlPoint::x},
        {L"X=\"0.5\" Y=\"-3e38\"", L"\"Y\" \"-3e38\" is not a number within -1e+06..1e+06", &FlyControlPoint::y},
        {L"X=\"0.5\" Y=\"1e7\"", L"\"Y\" \"1e7\" is not a number within -1e+06..1e+06", &FlyControlPoint::y},
        {L"X=\"0.5\" Y=\"0.5\" SCALE=\"3e38\"", L"\"SCALE\" \"3e38\" is not a number within", &FlyControlPoint::scale},
        // Finite on the way, but the card a hundred times larger: past a float.
        {L"X=\"0.5\" Y=\"0.5\" SCALE=\"1e37\"", L"\"SCALE\" \"1e37\" is not a number within", &FlyControlPoint::scale},
        {L"X=\"0.5\" Y=\"0.5\" SCALE=\"-1e7\"", L"\"SCALE\" \"-1e7\" is not a number within", &FlyControlPoint::scale},
        {L"X=\"0.5\" Y=\"0.5\" ROT=\"-3e38\"", L"\"ROT\" \"-3e38\" is not a number within", &FlyControlPoint::rotation},
    };
    auto finite = [](Karte* card) {
        Orvex::SpriteRect const q = card->getScreenQuad();
        return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.w) && std::isfinite(q.h) &&
               std::isfinite(q.rotation);
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(cardtest::narrow(row.point));
        start(cardtest::variantFile(L"Goldrausch"), L"4711", true);
        logtest::LogWatch const watch;
        auto const spline = readSpline(std::wstring(L"<FLY_SPLINE NAME=\"S\">\n") +
                                       L"<KARTEN_FLY_SPLINE PARAMS=\"USE_POS USE_ROT USE_SCALE\" ALONG_SPEED=\"2\">\n" +
                                       L"<CONTROL_POINT X=\"0.5\" Y=\"0.5\" SCALE=\"1\"/>\n<CONTROL_POINT " + row.point +
                                       L"/></KARTEN_FLY_SPLINE></FLY_SPLINE>");
        auto const errors = watch.errors();
        EXPECT_TRUE(errors.size() == 1 && logtest::contains(errors[0], L"\"test.fsp\" at line 4") &&
                    logtest::contains(errors[0], row.refused))
            << errors.size() << " lines" << (errors.empty() ? std::string() : ", the first: " + cardtest::narrow(errors[0]));
        ASSERT_EQ(spline->steps.size(), 1u);
        ASSERT_EQ(spline->steps[0].points.size(), 2u);
        EXPECT_EQ(spline->steps[0].points[1].*row.field, 0.0f);
        spline->startFlight(manager().piles, manager());
        ASSERT_FALSE(flying().empty());
        bool allFinite = true;
        for (int frame = 0; frame < 40 && allFinite; ++frame) {
            frames(1, 1.0 / 60.0);
            for (Karte* card : manager().cards) allFinite = allFinite && finite(card);
        }
        EXPECT_TRUE(allFinite);
    }
}

}  // namespace
}  // namespace Solitaire
